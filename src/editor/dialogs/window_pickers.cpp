#include "editor/dialogs/window_pickers.h"

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "platform/message_boxes.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr int kClientWidth = 330;
// What a double click copies into the title field, which holds no more.
constexpr std::size_t kTitleLength = 20;

std::vector<std::string> ProgramsOrWindows(PickerSources& s, bool windows) {
  if (windows) return s.windows != nullptr ? VisibleWindowTitles(*s.windows) : std::vector<std::string>{};
  return s.processes != nullptr ? RunningProgramNames(*s.processes) : std::vector<std::string>{};
}

// Opens the installed-program list; the chosen program's file name, or "" when none was chosen.
std::string PickInstalled(PickerSources& s, forms::FormRunner& runner, const DialogServices& services) {
  if (s.installed == nullptr) return {};
  TDoAllProgs all(*s.installed, s.scan, services);
  runner.ShowModal(all);
  return all.Chosen == 1 ? all.ProgramName : std::string();
}

}  // namespace

std::vector<std::string> VisibleWindowTitles(platform::WindowSystem& windows) {
  std::vector<std::string> titles;
  for (platform::WindowHandle w : windows.EnumTopLevelWindows()) {
    if (!windows.IsVisible(w)) continue;
    std::string title = windows.GetTitle(w);
    if (!TrimView(title).empty()) titles.push_back(std::move(title));
  }
  return titles;
}

std::vector<std::string> RunningProgramNames(platform::Processes& processes) {
  std::vector<std::string> names;
  for (const platform::ProcessEntry& p : processes.List()) {
    const std::string upper = UpperAscii(p.exeName);
    if (upper.find(".EXE") != std::string::npos && upper.front() != '?') names.push_back(p.exeName);
  }
  return names;
}

std::vector<std::string> MacroNicknames(std::span<const MacroName> macros) {
  constexpr std::int16_t kSystemScope = 5;
  std::vector<std::string> names;
  for (const MacroName& m : macros) {
    if (m.scopeKind != kSystemScope && !TrimView(m.nickname).empty()) names.push_back(m.nickname);
  }
  return names;
}

// --- Set Title / Set Program

TDoSpecWind::TDoSpecWind(PickerSources& sources, forms::FormRunner& runner, const DialogServices& services)
    : Form("DoSpecWind", "Set Title"), sources_(sources), runner_(runner), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(kClientWidth, 320);
  const int w = kClientWidth - 2 * layout::kMargin;
  TopLabel.SetBounds(layout::kMargin, layout::kMargin, w, 16);
  TheTitle.SetBounds(layout::kMargin, 26, 200, 21);
  TheTitle.SetMaxLength(static_cast<int>(kTitleLength));
  OnTop.SetBounds(layout::kMargin, 54, w, 20);
  Running.SetBounds(layout::kMargin, 76, w, 20);
  Label2.SetBounds(layout::kMargin, 104, w, 16);
  ProgList.SetBounds(layout::kMargin, 122, w, 97);
  ProgList.SetSorted(true);
  Label3.SetBounds(layout::kMargin, 222, w, 16);
  ListProgs.SetBounds(layout::kMargin, 244, 250, layout::kButtonHeight);
  layout::ButtonRow(*this, {&OkButton, &CancelButton, &HelpButton});
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  HelpButton.onClick = [this] { HelpButtonClick(); };
  ProgList.onDblClick = [this] { ProgListDblClick(); };
  ListProgs.onClick = [this] { ListProgsClick(); };
  onShow = [this] { FormShow(); };
}

void TDoSpecWind::FormShow() {
  const bool windows = WindowMode == 1;
  SetCaption(windows ? "Set Title" : "Set Program");
  TopLabel.SetCaption(windows ? "Window Title (may be partial title)" : "Program Name (may be partial name)");
  Label2.SetCaption(windows ? "List of Windows currently running" : "List of Programs currently running");
  OnTop.SetCaption(windows ? "&Run Macro If Window On Top" : "&Run Macro If Program On Top");
  Running.SetCaption(windows ? "R&un Macro If Window Running" : "R&un Macro If Program Running");
  ProgList.SetHeight(windows ? 97 : 77);
  Label3.SetTop(ProgList.bottom() + 2);
  ListProgs.SetTop(Label3.bottom() + 4);
  ListProgs.SetVisible(!windows);
  ListProgs.SetEnabled(!windows);
  (OnTopOnly == 1 ? OnTop : Running).SetChecked(true);
  TheTitle.SetText(TitleText);
  TheTitle.SetFocus();
  TitleText.clear();
  GetProgs();
  services_.Centre(*this);
}

void TDoSpecWind::GetProgs() { ProgList.SetItems(ProgramsOrWindows(sources_, WindowMode == 1)); }

void TDoSpecWind::ProgListDblClick() {
  const int row = ProgList.itemIndex();
  if (row >= 0) TheTitle.SetText(ProgList.item(row).substr(0, kTitleLength));
}

void TDoSpecWind::ListProgsClick() {
  const std::string chosen = PickInstalled(sources_, runner_, services_);
  if (!chosen.empty()) TheTitle.SetText(chosen);
}

void TDoSpecWind::OkButtonClick() {
  std::string title = FieldText(TheTitle.text());
  if (title.empty()) {
    const std::string missing = WindowMode == 1 ? "No window title has been entered.  " : "No program name has been entered.  ";
    const int row = ProgList.itemIndex();
    if (row < 0) {
      forms::Accept(*this, forms::Fault{"TheTitle", missing + "Please correct."}, *services_.boxes);
      return;
    }
    const std::string& entry = ProgList.item(row);
    const std::string question = missing + "\"" + entry + "\" is currently highlighted.  Would you like to use it?";
    if (services_.boxes->Show(Handle(), question, "Error", platform::mb::kYesNo) != platform::mb::kIdYes) {
      TheTitle.SetFocus();
      return;
    }
    title = entry;
  }
  TitleText = title;
  OnTopOnly = OnTop.checked() ? 1 : 0;
  forms::Accept(*this, std::nullopt, *services_.boxes);
}

void TDoSpecWind::HelpButtonClick() {
  if (services_.help == nullptr) return;
  services_.help->ShowKeyword(Handle(), services_.HelpFile(), WindowMode == 1 ? "Set Window Title" : "Set Program Name");
}

// --- The plain list

TDoSpecWind2::TDoSpecWind2(PickerSources& sources, forms::FormRunner& runner, const DialogServices& services)
    : Form("DoSpecWind2", "Set Title"), sources_(sources), runner_(runner), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(kClientWidth, 260);
  const int w = kClientWidth - 2 * layout::kMargin;
  Label2.SetBounds(layout::kMargin, layout::kMargin, w, 16);
  ProgList.SetBounds(layout::kMargin, 26, w, 161);
  ProgList.SetSorted(true);
  ListProgs.SetBounds(layout::kMargin, 26 + 141 + 6, 250, layout::kButtonHeight);
  layout::ButtonRow(*this, {&OkButton, &CancelButton});
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  ProgList.onDblClick = [this] { OkButtonClick(); };
  ListProgs.onClick = [this] { ListProgsClick(); };
  onShow = [this] { FormShow(); };
}

void TDoSpecWind2::FormShow() {
  const bool programs = ListKind == 2;
  SetCaption(ListKind == 3 ? "Get Nickname" : programs ? "Set Program" : "Set Title");
  Label2.SetCaption(ListKind == 3  ? "List of Macro Nicknames"
                    : programs     ? "List of Programs currently running"
                                   : "List of Windows currently running");
  ProgList.SetHeight(programs ? 141 : 161);
  ListProgs.SetVisible(programs);
  ListProgs.SetEnabled(programs);
  ChosenText.clear();
  ProgList.SetItems(ListKind == 3 ? MacroNicknames(sources_.macros) : ProgramsOrWindows(sources_, !programs));
  ProgList.SetFocus();
  services_.Centre(*this);
}

void TDoSpecWind2::OkButtonClick() {
  const int row = ProgList.itemIndex();
  if (row < 0) {
    forms::Accept(*this, forms::Fault{"ProgList", "No selection made.  Please correct or hit the cancel button."},
                  *services_.boxes);
    return;
  }
  ChosenText = ProgList.item(row);
  forms::Accept(*this, std::nullopt, *services_.boxes);
}

void TDoSpecWind2::ListProgsClick() {
  ChosenText = PickInstalled(sources_, runner_, services_);
  if (!ChosenText.empty()) SetModalResult(forms::ModalResult::kOk);
  Close();
}

}  // namespace wdx::editor
