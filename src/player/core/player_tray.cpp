#include "player/core/player_tray.h"

#include <filesystem>
#include <system_error>

#include "forms/runner.h"
#include "shared/text_util.h"

namespace wdx::player {

TAboutBox::TAboutBox() : forms::Form("AboutBox", "About") {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(232, 124);
  // The product's mark: the tray icon's "W" in its blue, large.
  ProgramIcon.SetBounds(16, 16, 48, 48);
  ProgramIcon.SetBevel(false);
  ProgramIcon.SetFont(forms::Font{"Arial", 40, true, false, false, forms::Rgb(0x1F, 0x4E, 0x9A)});
  ProductName.SetBounds(76, 22, 140, 16);
  ProductName.SetAlignment(forms::Alignment::kCenter);
  Version.SetBounds(76, 44, 140, 16);
  Version.SetAlignment(forms::Alignment::kCenter);
  Button1.SetBounds(78, 84, 75, 25);
  Button1.SetDefault(true);
  Button1.SetCancel(true);
  Button1.SetModalResult(forms::ModalResult::kOk);
}

PlayerTray::PlayerTray(platform::Platform& platform, RunFrame& frame, MacroLibrary& library, TGlobData& block,
                       TSettingsRec& settings, std::string programFolder, Actions actions)
    : platform_(platform),
      frame_(frame),
      library_(library),
      block_(block),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      actions_(std::move(actions)) {
  menu_.Add("PopOpenClick", "&Open Editor", [this] { actions_.openEditor(); });
  forms::MenuItem& tools = menu_.Add("Tools", "&Tools");
  tools.Add("MenuHooksClick", "&Restore Keyboard and Mouse Hooks", [this] { actions_.restoreHooks(); });
  tools.Add("MenuLaunchClick", "&Launch Mouse Locator", [this] { MenuLaunchClick(); });
  menu_.Add("PopHelpClick", "&Help", [this] { PopHelpClick(); });
  menu_.Add("MenuAboutClick", "&About", [this] { MenuAboutClick(); });
  menu_.AddSeparator();
  menu_.Add("PopTermClick", "&Terminate Wendrix", [this] { actions_.terminate(); });
}

PlayerTray::~PlayerTray() = default;

std::unique_ptr<TTaskIcon> PlayerTray::MakeIcon() {
  if (!platform_.windows || !platform_.shellIcons) return nullptr;
  return std::make_unique<TTaskIcon>(*platform_.windows, *platform_.shellIcons, platform_.input);
}

void PlayerTray::Create() {
  main_ = MakeIcon();
  recording_ = MakeIcon();
  if (!main_) return;
  main_->SetIcon(platform_.shellIcons->ProgramIcon(platform::ProgramImage::kIdle));
  main_->SetToolTip(kIdleTip);
  main_->onClick = [this] { TaskIcon1Click(); };
  main_->onRightClick = [this](platform::Point at) { TaskIcon1RightClick(at); };
  recording_->SetIcon(platform_.shellIcons->ProgramIcon(platform::ProgramImage::kRecording));
  recording_->SetToolTip(kRecordingTip);
  recording_->onRightClick = [this](platform::Point) { actions_.endRecording(block_.CaptureMacro()); };
}

void PlayerTray::SetRunningImage(bool running) {
  if (main_)
    main_->SetIcon(platform_.shellIcons->ProgramIcon(running ? platform::ProgramImage::kRunning
                                                             : platform::ProgramImage::kIdle));
}
void PlayerTray::SetTip(const std::string& tip) {
  if (main_) main_->SetToolTip(tip);
}
void PlayerTray::SetActive(bool active) {
  if (main_) main_->SetActive(active);
}
void PlayerTray::SetRecording(bool on) {
  if (recording_) recording_->SetActive(on);
}

void PlayerTray::LoadMenuIcons() {
  ClearMenuIcons();
  const int count = std::clamp(block_.MacroCount(), 0, kGlobMaxMacros);
  auto record = std::make_unique<TMacroRec>();
  for (int i = 1; i <= count && static_cast<int>(menuIcons_.size()) < kMenuIconsMax; ++i) {
    if (block_.ScopeKind(i) != scope::kPopupMenu || !block_.MacroActive(i)) continue;
    if (settings_.abbrekeys[static_cast<std::size_t>(i)].rfind('Y', 0) != 0) continue;
    if (!library_.ReadMacroRecord(i, *record)) continue;
    std::unique_ptr<TTaskIcon> icon = MakeIcon();
    if (!icon) return;
    // The macro's own icon file from the Icons folder, else the menu image.
    const std::string name = record->IconName();
    const std::string file = programFolder_ + "\\Icons\\" + name;
    std::error_code ec;
    platform::IconHandle image = platform::kNoIcon;
    if (UpperAscii(name) != "MENU" && !name.empty() && platform_.files &&
        std::filesystem::is_regular_file(platform_.files->NativePath(file), ec))
      image = platform_.shellIcons->LoadIconFile(file);
    if (image != platform::kNoIcon) {
      icon->SetIcon(image, true);
    } else {
      icon->SetIcon(platform_.shellIcons->ProgramIcon(platform::ProgramImage::kMenu));
    }
    icon->SetToolTip(settings_.nicknames[static_cast<std::size_t>(i)]);
    icon->SetTaskIconID(static_cast<std::uint32_t>(i));
    icon->onRightClick = [this, i](platform::Point at) { MenuTaskIconRightClick(i, at); };
    icon->SetActive(true);
    menuIcons_.push_back(std::move(icon));
  }
}

void PlayerTray::ClearMenuIcons() { menuIcons_.clear(); }

bool PlayerTray::CanDoMenu() const {
  const RunState& st = frame_.State();
  return !block_.CaptureOn() && !st.pauseShowing && !st.popupShowing;
}

void PlayerTray::TaskIcon1Click() {
  if (!frame_.State().macroPlaying && CanDoMenu()) actions_.openEditor();
}

void PlayerTray::TaskIcon1RightClick(platform::Point at) {
  RunState& st = frame_.State();
  if (st.macroPlaying) {
    st.abortMacro = true;
    return;
  }
  if (!CanDoMenu() || !frame_.Forms()) return;
  frame_.Forms()->Popup(menu_, at, frame_.MainWindow());
}

void PlayerTray::MenuTaskIconRightClick(int macro, platform::Point at) {
  RunState& st = frame_.State();
  if (st.popupShowing) return;
  st.targetWindow = frame_.MainWindow();
  // The menu opens above the task bar, where the icon was clicked.
  st.menuPosition = at.x;
  actions_.menuIcon(macro);
}

void PlayerTray::MenuAboutClick() {
  if (aboutOpen_ || !frame_.Forms()) return;
  aboutOpen_ = true;
  TAboutBox box;
  box.SetOwner(frame_.MainWindow());
  if (platform_.input) {
    const platform::Point screen = platform_.input->ScreenSize();
    box.SetBounds((screen.x - box.width()) / 2, (screen.y - box.height()) / 2, box.width(), box.height());
  }
  frame_.Forms()->ShowModal(box);
  aboutOpen_ = false;
}

void PlayerTray::PopHelpClick() {
  if (platform_.help) platform_.help->ShowContents(frame_.MainWindow(), programFolder_ + "\\" + kHelpFileName);
}

void PlayerTray::MenuLaunchClick() {
  if (platform_.shell)
    platform_.shell->Execute(frame_.MainWindow(), "open", programFolder_ + "\\" + kLocatorProgram, kLocatorToken, "",
                             platform::ShowMode::kShowNormal);
}

}  // namespace wdx::player
