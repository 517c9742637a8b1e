#include "editor/direct/mod_hot_keys.h"

#include <filesystem>

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "editor/dialogs/sched.h"
#include "editor/dialogs/window_pickers.h"
#include "editor/direct/direct_text.h"
#include "editor/direct/macro_info.h"
#include "editor/shell/icon_choice.h"
#include "forms/user.h"
#include "platform/virtual_keys.h"
#include "shared/date_time.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr int kClientWidth = 634;
constexpr int kClientHeight = 416;
constexpr int kValueLeft = 100;

std::string ActivationText(std::int32_t type, const TMacroRec& r) {
  switch (type) {
    case activation::kTimed:
      return "Timed Macro";
    case activation::kAbbrekey:
      return "Abbrekey: " + r.Abbrekey();
    case activation::kNone:
      return "None";
    case activation::kWindowTitle:
      return "Window Title Macro";
    case activation::kMouseClick:
      return "Mouse Click";
    default:
      return "Hot Key: " + std::string(HotKeyName(r.ActivationCode()));
  }
}

// Checking a radio button by code runs its click handler, as the user's click would.
void Check(forms::RadioButton& b) {
  b.SetChecked(true);
  if (b.onClick) b.onClick();
}

forms::Shortcut Ctrl(char key) { return forms::Shortcut{static_cast<std::uint8_t>(key), true, false, false}; }

}  // namespace

TModHotKeys::TModHotKeys(TMainWin& main, EditorContext& context, DirectEditorServices& services)
    : Form("ModHotKeys", "Modify Hot Key"), main_(main), context_(context), services_(services) {
  // A fixed border without minimize and maximize buttons.
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetKeyPreview(true);
  BuildMenu();
  SetMainMenu(&MainMenu);
  SetClientSize(kClientWidth, kClientHeight);

  const int pageWidth = kClientWidth - 2 * layout::kMargin;
  const int pageHeight = kClientHeight - 3 * layout::kMargin - layout::kButtonHeight;
  MainPage.SetBounds(layout::kMargin, layout::kMargin, pageWidth, pageHeight);
  const int inner = pageWidth - 2 * forms::PageControl::kPageLeft;
  const int innerHeight = pageHeight - forms::PageControl::kPageTop - forms::PageControl::kPageLeft;
  EditorHeading.SetBounds(layout::kMargin, layout::kMargin, inner - 2 * layout::kMargin, 16);
  NewFormat.SetBounds(layout::kMargin, 28, inner - 2 * layout::kMargin, innerHeight - 28 - layout::kMargin);
  NewFormat.SetScrollBars(forms::ScrollBars::kVertical);

  NormalPanel.SetBounds(0, 0, inner, innerHeight);
  NormalPanel.SetBevel(false);
  const int valueWidth = inner - kValueLeft - layout::kMargin;
  Label5.SetBounds(layout::kMargin, 10, 86, 16);
  TypeLabel.SetBounds(kValueLeft, 10, valueWidth, 16);
  NickLabel.SetBounds(layout::kMargin, 35, 86, 16);
  NickName.SetBounds(kValueLeft, 32, 260, layout::kEditHeight);
  NickName.SetMaxLength(50);
  ActLabel.SetBounds(layout::kMargin, 62, 86, 16);
  HotKeyLabel.SetBounds(kValueLeft, 62, valueWidth, 16);
  AbbrekeyName.SetBounds(kValueLeft, 59, 160, layout::kEditHeight);
  AbbrekeyName.SetMaxLength(10);
  IconLabel.SetBounds(layout::kMargin, 96, 86, 16);
  MySpeed.SetBounds(kValueLeft, 93, 20, 20);
  MySpeed3.SetBounds(kValueLeft + 28, 86, 36, 36);
  Label6.SetBounds(layout::kMargin, 134, 86, 16);
  ScopePanel.SetBounds(kValueLeft - 4, 128, 260, 26);
  ScopePanel.SetBevel(false);
  Global.SetBounds(4, 4, 70, 20);
  Specific.SetBounds(84, 4, 76, 20);
  ProgExe.SetBounds(170, 4, 86, 20);
  ChooseWinProg.SetBounds(kValueLeft + 266, 128, layout::kButtonWidth, layout::kButtonHeight);
  WinProgSelect.SetBounds(kValueLeft, 160, valueWidth, 16);
  SetSchedule.SetBounds(kValueLeft, 182, 110, layout::kButtonHeight);
  ChangeType.SetBounds(kValueLeft + 118, 182, 130, layout::kButtonHeight);

  const int optionsTop = 216;
  const int optionsHeight = innerHeight - optionsTop - layout::kMargin;
  ShortPanel.SetBounds(layout::kMargin, optionsTop, inner - 2 * layout::kMargin, optionsHeight);
  CaseGroup.SetBounds(layout::kMargin, 20, 380, 96);
  CaseMatch.SetBounds(12, 20, 360, 20);
  CaseSense.SetBounds(12, 44, 360, 20);
  CaseNone.SetBounds(12, 68, 360, 20);
  OtherGroup.SetBounds(396, 20, inner - 2 * layout::kMargin - 404, 96);
  NoRemove.SetBounds(12, 20, 190, 36);

  MousePanel.SetBounds(layout::kMargin, optionsTop, inner - 2 * layout::kMargin, optionsHeight);
  ButtonLabel.SetBounds(12, 20, 150, 16);
  ButtonPanel.SetBounds(8, 36, 170, 26);
  ButtonPanel.SetBevel(false);
  LeftMButton.SetBounds(4, 4, 50, 20);
  MiddleButton.SetBounds(58, 4, 60, 20);
  RightMButton.SetBounds(120, 4, 50, 20);
  ClickLabel.SetBounds(12, 70, 150, 16);
  ClickPanel.SetBounds(8, 86, 170, 50);
  ClickPanel.SetBevel(false);
  ScreenArea.SetBounds(4, 4, 150, 20);
  WindowPart.SetBounds(4, 26, 150, 20);
  ClickPanel2.SetBounds(190, 16, 390, 120);
  ClickPanel2.SetBevel(false);
  AreaText.SetBounds(4, 4, 380, 16);
  forms::Label* const coordinateLabels[] = {&TopLabel, &LeftLabel, &BottomLabel, &RightLabel};
  forms::Edit* const coordinates[] = {&MTop, &MLeft, &MBottom, &MRight};
  for (int i = 0; i < 4; ++i) {
    coordinateLabels[i]->SetBounds(4 + i * 90, 30, 60, 16);
    coordinates[i]->SetBounds(4 + i * 90, 48, 60, layout::kEditHeight);
    coordinates[i]->SetMaxLength(5);
  }
  ClickPanel3.SetBounds(190, 16, 390, 120);
  ClickPanel3.SetBevel(false);
  forms::RadioButton* const parts[] = {&MaxButt, &MinButt, &SysButt, &VertButt, &HorzButt, &TitleButt, &MenuButt, &BordButt};
  layout::RadioGrid(parts, 2, 150);

  layout::ButtonRow(*this, {&btnSaveClose, &SaveButton, &CancelButton, &HelpButton});
  btnSaveClose.SetDefault(true);
  CancelButton.SetCancel(true);

  btnSaveClose.onClick = [this] { btnSaveCloseClick(); };
  SaveButton.onClick = [this] { SaveButtonClick(); };
  CancelButton.onClick = [this] { CancelButtonClick(); };
  HelpButton.onClick = [this] { HelpButtonClick(); };
  NewFormat.onChange = [this] { Modified = 1; };
  Global.onClick = [this] { GlobalClick(); };
  Specific.onClick = [this] { SpecificClick(); };
  ProgExe.onClick = [this] { SpecificClick(); };
  ChooseWinProg.onClick = [this] { ChooseWinProgClick(); };
  SetSchedule.onClick = [this] { SetScheduleClick(); };
  ChangeType.onClick = [this] { ChangeTypeClick(); };
  MySpeed.onClick = [this] { MySpeedClick(); };
  MySpeed3.onClick = [this] { MySpeedClick(); };
  MySpeed.onRightClick = [this] { ResetIcon(); };
  MySpeed3.onRightClick = [this] { ResetIcon(); };
  ScreenArea.onClick = [this] { EnableDisableMouse(); };
  WindowPart.onClick = [this] { WindowPartClick(); };
  LeftMButton.onClick = [this] { LeftMButtonClick(); };
  MiddleButton.onClick = [this] { SetLeftButtonStuff(); };
  RightMButton.onClick = [this] { RightMButtonClick(); };
  MainPage.onChange = [this] { MainPageChange(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction& action) { FormClose(action); };
  onKeyPress = [this](char& key) { FormKeyPress(key); };
  onKeyDown = [this](std::uint8_t& vk) { FormKeyDown(vk); };
}

void TModHotKeys::BuildMenu() {
  forms::MenuItem& file = MainMenu.Add("MenuFile", "&File");
  file.Add("MenuUpdate", "&Update and Exit", [this] { SaveButtonClick(); });
  file.AddSeparator();
  file.Add("MenuImport", "&Import From Text File", [this] { MenuImportClick(); });
  file.Add("MenuExport", "&Export To Text File", [this] { MenuExportClick(); });
  file.AddSeparator();
  file.Add("MenuExit", "E&xit", [this] { CancelButtonClick(); });
  forms::MenuItem& edit = MainMenu.Add("MenuEdit", "&Edit");
  edit.Add("MenuCut", "Cu&t", [this] { MenuCut(false); }).shortcut = Ctrl('X');
  edit.Add("MenuCopy", "&Copy", [this] { MenuCut(true); }).shortcut = Ctrl('C');
  edit.Add("MenuPaste", "&Paste", [this] { MenuPaste(); }).shortcut = Ctrl('V');
  edit.Add("MenuDelete", "&Delete", [this] { MenuDelete(); });
  edit.AddSeparator();
  edit.Add("MenuFind", "&Find", [this] { MenuFindClick(); }).shortcut = Ctrl('F');
  edit.Add("MenuFindAgain", "F&ind Again", [this] { MenuFindAgainClick(); }).shortcut =
      forms::Shortcut{static_cast<std::uint8_t>(vk::kF1 + 2), false, false, false};
  edit.Add("SearchandReplace1", "&Search and Replace", [this] { SearchandReplace1Click(); }).shortcut = Ctrl('S');
  // The key and command inserts come with the command dialogs; until then their menus are shown
  // but cannot be chosen.
  for (auto [name, caption] : {std::pair{"MenuKeys", "&Keys"}, std::pair{"MenuFKeys", "FKe&ys"},
                               std::pair{"MenuActionsAJ", "Actions (A - &J)"}, std::pair{"MenuActionsKR", "&Actions (K - R)"},
                               std::pair{"MenuActionsSZ", "Actions (S - &Z)"}}) {
    forms::MenuItem& inserts = MainMenu.Add(name, caption);
    inserts.Add(std::string(name) + "None", "(not available in this build)").enabled = false;
    inserts.enabled = false;
  }
}

// ---------------------------------------------------------------------------------------------
// Showing

void TModHotKeys::FormShow() {
  TMacroRec& r = main_.CurMacro;
  const TSettingsRec& settings = *context_.settings;
  search.SearchStart = 0;
  services_.dialogs.Centre(*this);
  if (ExistingMacro == 1) {
    NickName.SetText(r.Nickname());
    NewFormat.SetText(r.Text());
    Check(r.ScopeKind() == 1 ? Global : r.ScopeKind() == 2 ? Specific : ProgExe);
    IconName = r.IconName();
    const std::string file = context_.programFolder + "\\Icons\\" + IconName;
    std::error_code ec;
    if (IconName != "MAIN" && std::filesystem::exists(context_.platform.files->NativePath(file), ec)) {
      ShowIcon({forms::Picture::Kind::kFile, file});
    } else {
      IconName = "MAIN";
      ShowIcon({forms::Picture::Kind::kMacro, {}});
    }
    if (r.CaseMode() < 1 || r.CaseMode() > 3) r.SetCaseMode(static_cast<std::int16_t>(settings.defaultCaseMode));
    if (r.Removal() != 1 && r.Removal() != 2) r.SetRemoval(settings.noRemove ? 2 : 1);
  } else {
    NickName.SetText("");
    NewFormat.SetText("");
    Check(Global);
    if (ActivationType != activation::kWindowTitle) r.SetScopeText("");
    r.SetWindowMatch(1);
    DefaultTimer(r, DecodeDateTime(context_.platform.clock->Now()));
    r.SetCaseMode(static_cast<std::int16_t>(settings.defaultCaseMode));
    r.SetRemoval(settings.noRemove ? 2 : 1);
    IconName = "MAIN";
    ShowIcon({forms::Picture::Kind::kMacro, {}});
  }
  if (HotKeyTaken == 1) {
    if (Global.checked()) Check(Specific);
    Global.SetEnabled(false);
  }
  NewFormat.SetFocus();
  DoSetup();
  MainPage.SetActivePage(&ScriptEditor);
  MainPageChange();
  DoCaption();
  Modified = 0;
}

void TModHotKeys::ShowScopeRule(bool windowAllowed) {
  Specific.SetEnabled(windowAllowed);
  ProgExe.SetEnabled(true);
  ChooseWinProg.SetEnabled(!Global.checked());
}

void TModHotKeys::DoSetup() {
  const TMacroRec& r = main_.CurMacro;
  const std::int32_t type = ActivationType;
  const bool abbrekey = type == activation::kAbbrekey;
  const bool mouse = type == activation::kMouseClick;
  const bool timed = type == activation::kTimed;
  const bool title = type == activation::kWindowTitle;
  ShortPanel.SetVisible(abbrekey);
  ShortPanel.SetEnabled(abbrekey);
  MousePanel.SetVisible(mouse);
  MousePanel.SetEnabled(mouse);
  SetSchedule.SetVisible(timed);
  SetSchedule.SetEnabled(timed);
  TypeLabel.SetCaption(timed      ? "Timed Macro"
                       : abbrekey ? "Abbrekey"
                       : type == activation::kNone ? "None"
                       : title    ? "Window Title"
                       : mouse    ? "Mouse Click"
                                  : "Hot Key");
  ActLabel.SetCaption(timed ? "Schedule:" : "Activation:");
  ActLabel.SetVisible(!mouse);
  const bool label = !abbrekey && !title && !mouse;
  HotKeyLabel.SetVisible(label);
  AbbrekeyName.SetVisible(abbrekey || title);
  AbbrekeyName.SetEnabled(abbrekey || title);
  if (timed) HotKeyLabel.SetCaption(ScheduleDescription(r));
  if (abbrekey) {
    AbbrekeyName.SetText(r.Abbrekey());
    NoRemove.SetChecked(r.Removal() == 2);
    (r.CaseMode() == 1 ? CaseMatch : r.CaseMode() == 2 ? CaseSense : CaseNone).SetChecked(true);
  }
  if (title) {
    // Raised for a window title and never lowered again (see the save's checks).
    AbbrekeyName.SetMaxLength(20);
    AbbrekeyName.SetText(r.ScopeText());
  }
  ShowScopeRule(!title);
  if (mouse) {
    if (r.WindowPartFlag() != 0) {
      Check(WindowPart);
      forms::RadioButton* const parts[] = {&MaxButt, &MinButt, &SysButt, &VertButt,
                                           &HorzButt, &TitleButt, &MenuButt, &BordButt};
      const int part = r.WindowPart();
      for (forms::RadioButton* b : parts) b->SetChecked(false);
      if (part >= 1 && part <= 8) parts[part - 1]->SetChecked(true);
    } else {
      Check(ScreenArea);
      MTop.SetText(std::to_string(r.MouseTop()));
      MLeft.SetText(std::to_string(r.MouseLeft()));
      MBottom.SetText(std::to_string(r.MouseBottom()));
      MRight.SetText(std::to_string(r.MouseRight()));
    }
    const int button = r.MouseButton();
    if (button == 1) Check(LeftMButton);
    if (button == 2) Check(MiddleButton);
    if (button == 3) Check(RightMButton);
  }
  SetWinProgSelect();
}

void TModHotKeys::DoCaption() {
  SetCaption("Modify Directly Editor  (" + ActivationText(ActivationType, main_.CurMacro) + ")");
}

std::string TModHotKeys::ProgramName() const {
  const TMacroRec& r = main_.CurMacro;
  return ActivationType == activation::kWindowTitle ? r.ProgramName() : r.ScopeText();
}

void TModHotKeys::SetWinProgSelect() {
  WinProgSelect.SetVisible(!Global.checked());
  if (Global.checked()) return;
  WinProgSelect.SetCaption(Specific.checked() ? "Window Title: " + main_.CurMacro.ScopeText()
                                              : "Program Name: " + ProgramName());
}

void TModHotKeys::GlobalClick() {
  ChooseWinProg.SetEnabled(false);
  SetWinProgSelect();
}

void TModHotKeys::SpecificClick() {
  ChooseWinProg.SetEnabled(true);
  SetWinProgSelect();
}

void TModHotKeys::MainPageChange() {
  const bool editorPage = MainPage.activePage() == &ScriptEditor;
  for (const char* name : {"MenuFind", "MenuFindAgain", "SearchandReplace1"}) MainMenu.Find(name)->enabled = editorPage;
}

// ---------------------------------------------------------------------------------------------
// The Properties page

void TModHotKeys::ChooseWinProgClick() {
  TMacroRec& r = main_.CurMacro;
  const platform::Platform& p = context_.platform;
  PickerSources sources;
  sources.windows = p.windows;
  sources.processes = p.processes;
  sources.installed = &services_.installed;
  sources.scan = {p.registry, p.files, p.shellLinks};
  TDoSpecWind picker(sources, *context_.forms, services_.dialogs);
  picker.TitleText = ProgramName();
  picker.OnTopOnly = r.WindowMatch();
  picker.WindowMode = ProgExe.checked() ? 0 : 1;
  context_.forms->ShowModal(picker);
  if (!picker.TitleText.empty()) {
    if (ActivationType == activation::kWindowTitle) {
      r.SetProgramName(picker.TitleText);
    } else {
      r.SetScopeText(picker.TitleText.substr(0, 30));
    }
    r.SetWindowMatch(picker.OnTopOnly);
    DoCaption();
  }
  SetWinProgSelect();
}

void TModHotKeys::SetScheduleClick() {
  TDoSchedule schedule(main_.CurMacro, *context_.platform.clock, services_.dialogs);
  context_.forms->ShowModal(schedule);
}

void TModHotKeys::ChangeTypeClick() {
  // The change-activation dialog is not in this build.
  main_.Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
}

void TModHotKeys::ShowIcon(const forms::Picture& picture) {
  MySpeed.SetPicture(picture);
  MySpeed3.SetPicture(picture);
}

void TModHotKeys::MySpeedClick() {
  const std::optional<std::string> name = ChooseIconFile(main_, context_, Handle());
  if (!name) return;
  IconName = *name;
  ShowIcon({forms::Picture::Kind::kFile, IconFolder(context_) + "\\" + *name});
}

void TModHotKeys::ResetIcon() {
  if (main_.Box("Reset icon to program default?", "", platform::mb::kYesNo) != platform::mb::kIdYes) return;
  IconName = "MAIN";
  ShowIcon({forms::Picture::Kind::kMacro, {}});
}

void TModHotKeys::EnableDisableMouse() {
  const bool area = ScreenArea.checked();
  ClickPanel2.SetVisible(area);
  ClickPanel2.SetEnabled(area);
  ClickPanel3.SetVisible(!area);
  ClickPanel3.SetEnabled(!area);
}

void TModHotKeys::SetLeftButtonStuff() {
  if (!WindowPart.checked()) return;
  MaxButt.SetEnabled(!LeftMButton.checked());
  MinButt.SetEnabled(!LeftMButton.checked());
  TitleButt.SetEnabled(!RightMButton.checked());
}

void TModHotKeys::WindowPartClick() {
  EnableDisableMouse();
  if (LeftMButton.checked() && (MaxButt.checked() || MinButt.checked())) {
    main_.Box("Minimize and maximize buttons are unavailable with the left mouse click.", "Warning", platform::mb::kOk);
    TitleButt.SetFocus();
  }
  SetLeftButtonStuff();
}

void TModHotKeys::LeftMButtonClick() {
  if (!WindowPart.checked()) return;
  if (MaxButt.checked() || MinButt.checked()) {
    main_.Box("Minimize and maximize buttons are unavailable with the left mouse click.", "Warning", platform::mb::kOk);
    SetLeftButtonStuff();
    TitleButt.SetFocus();
    return;
  }
  SetLeftButtonStuff();
}

void TModHotKeys::RightMButtonClick() {
  if (!WindowPart.checked()) return;
  if (TitleButt.checked()) {
    main_.Box("The title button is unavailable with the right mouse click.", "Warning", platform::mb::kOk);
    SetLeftButtonStuff();
    MaxButt.SetFocus();
    return;
  }
  SetLeftButtonStuff();
}

// ---------------------------------------------------------------------------------------------
// Save and closing

void TModHotKeys::Refuse(forms::Control& field, const std::string& message) {
  main_.Box(message, "Error", platform::mb::kOk);
  MainPage.SetActivePage(&ScriptProperties);
  MainPageChange();
  field.SetFocus();
}

bool TModHotKeys::SaveButtonClick() {
  TMacroRec& r = main_.CurMacro;
  const std::int32_t type = ActivationType;
  std::string name;
  if (type == activation::kAbbrekey || type == activation::kWindowTitle) name = FieldText(AbbrekeyName.text());
  if (type == activation::kAbbrekey) {
    if (name.empty()) {
      Refuse(AbbrekeyName, "No Abbrekey name was entered.");
      return false;
    }
    if (!ValidAbbrekey(name)) {
      Refuse(AbbrekeyName, kInvalidAbbrekeyText);
      return false;
    }
    r.SetCaseMode(CaseSense.checked() ? 2 : CaseMatch.checked() ? 1 : 3);
    r.SetRemoval(NoRemove.checked() ? 2 : 1);
  }
  if (type == activation::kWindowTitle && name.empty()) {
    Refuse(AbbrekeyName, "No Window title has been entered.");
    return false;
  }
  if (type == activation::kMouseClick) {
    MouseChoice choice;
    choice.button = LeftMButton.checked() ? 1 : MiddleButton.checked() ? 2 : 3;
    choice.windowPart = !ScreenArea.checked();
    const std::pair<forms::RadioButton*, MouseChoice::Part> parts[] = {
        {&MaxButt, MouseChoice::kMaximize}, {&MinButt, MouseChoice::kMinimize}, {&SysButt, MouseChoice::kSystemMenu},
        {&VertButt, MouseChoice::kVertical}, {&HorzButt, MouseChoice::kHorizontal}, {&BordButt, MouseChoice::kBorder},
        {&TitleButt, MouseChoice::kTitle},   {&MenuButt, MouseChoice::kMenu}};
    choice.part = r.WindowPart();
    for (const auto& [button, part] : parts) {
      if (button->checked()) {
        choice.part = part;
        break;
      }
    }
    choice.top = MTop.text();
    choice.left = MLeft.text();
    choice.bottom = MBottom.text();
    choice.right = MRight.text();
    if (const std::optional<forms::Fault> fault = StoreMouseChoice(choice, r)) {
      Refuse(*Find(fault->field), fault->message);
      return false;
    }
  }
  std::string text = StoredMacroText(NewFormat.text());
  r.SetNickname(NickName.text().substr(0, 50));
  r.SetIconName(IconName);
  r.SetScopeKind(Global.checked() ? 1 : Specific.checked() ? 2 : 3);
  if (type == activation::kAbbrekey) {
    r.SetAbbrekey(name.substr(0, 10));
  } else if (type == activation::kWindowTitle) {
    r.SetScopeText(name.substr(0, 30));
  } else {
    r.SetAbbrekey("");
  }
  if (text.size() > kMacroTextLimit) {
    if (main_.Box(kTooLongQuestion, "Warning", platform::mb::kYesNo) != platform::mb::kIdYes) return false;
    text.resize(kMacroTextLimit);
  }
  r.SetText(text);
  r.SetLastChange(context_.platform.clock->Now());

  MacroLibrary& library = context_.store->Library();
  TGlobData& glob = *context_.glob;
  if (ExistingMacro == 1) {
    if (!library.WriteMacroRecord(MacroNumber, r, true)) return false;
  } else {
    const std::int32_t count = glob.MacroCount();
    glob.SetMacroCount(count + 1);
    context_.link->UpNumKeys();
    r.SetActive(1);
    r.SetCategory(std::max(main_.CategoryFilter(), 0));
    if (!library.WriteMacroRecord(-1, r, true)) {
      // Nothing was appended: the count goes back, so the tables match the file.
      glob.SetMacroCount(count);
      context_.link->UpNumKeys();
      return false;
    }
    ExistingMacro = 1;
    MacroNumber = count + 1;
    main_.FillList();
    main_.SetButtons(true);
    context_.link->SetHotKeys();
    if (r.ActivationCode() == activation::kTimedCode) context_.link->Tell(control::kSchedulesChanged, 0);
    if (r.ActivationCode() == activation::kMouseCode) context_.link->Tell(control::kReloadMouse, 0);
    main_.SelectMacro(MacroNumber);
  }
  Saved = 1;
  Modified = 0;
  anySave_ = true;
  return true;
}

void TModHotKeys::btnSaveCloseClick() {
  if (SaveButtonClick()) Close();
}

void TModHotKeys::CancelButtonClick() {
  if (Modified == 1) {
    const int answer = main_.Box(kModifiedQuestion, "Wendrix 2000", platform::mb::kYesNo | platform::mb::kIconInformation);
    if (answer == platform::mb::kIdYes && !SaveButtonClick()) return;
  }
  Close();
}

void TModHotKeys::FormKeyPress(char& key) {
  // Esc typed in the memo leaves at once, without the question.
  if (key == '\x1b' && activeControl() == &NewFormat) {
    key = 0;
    Close();
  }
}

void TModHotKeys::FormKeyDown(std::uint8_t& vk) {
  platform::Input& input = *context_.platform.input;
  auto down = [&input](std::uint8_t k) { return (input.GetKeyState(k) & 0x8000) != 0; };
  // Ctrl+V pastes once, as the menu's Paste; the field itself must not paste a second time.
  if (vk == 'V' && down(vk::kControl) && !down(vk::kShift) && !down(vk::kMenu)) {
    vk = 0;
    MenuPaste();
    return;
  }
  if (vk == vk::kEscape && activeControl() == &NewFormat) {
    vk = 0;
    Close();
  }
}

void TModHotKeys::FormClose(forms::CloseAction&) {
  Saved = 0;
  context_.link->SetHotKeys();
}

void TModHotKeys::HelpButtonClick() {
  if (services_.dialogs.help != nullptr) {
    services_.dialogs.help->ShowKeyword(Handle(), services_.dialogs.HelpFile(), "Modify Hot Key");
  }
}

// ---------------------------------------------------------------------------------------------
// Text tools

forms::TextBox* TModHotKeys::FocusedText() {
  forms::Control* c = activeControl();
  for (forms::TextBox* box : std::initializer_list<forms::TextBox*>{&NewFormat, &NickName, &AbbrekeyName, &MTop,
                                                                    &MLeft, &MBottom, &MRight}) {
    if (c == box) return box;
  }
  return nullptr;
}

void TModHotKeys::MenuCut(bool keep) {
  forms::TextBox* box = FocusedText();
  if (box == nullptr) return;
  const forms::TextSelection s = box->selection();
  if (s.length == 0) return;
  context_.platform.clipboard->SetText(box->text().substr(static_cast<std::size_t>(s.start), static_cast<std::size_t>(s.length)));
  if (!keep) MenuDelete();
}

void TModHotKeys::MenuDelete() {
  forms::TextBox* box = FocusedText();
  if (box == nullptr) return;
  const forms::TextSelection s = box->selection();
  std::string text = box->text();
  text.erase(static_cast<std::size_t>(s.start), static_cast<std::size_t>(s.length));
  forms::user::TextChanged(*box, text);
  box->SetSelection(s.start, 0);
}

void TModHotKeys::MenuPaste() {
  forms::TextBox* box = FocusedText();
  if (box == nullptr) return;
  const std::optional<std::string> clip = context_.platform.clipboard->GetText();
  if (!clip) return;
  const forms::TextSelection s = box->selection();
  std::string text = box->text();
  text.replace(static_cast<std::size_t>(s.start), static_cast<std::size_t>(s.length), *clip);
  forms::user::TextChanged(*box, text);
  box->SetSelection(s.start + static_cast<int>(clip->size()), 0);
}

void TModHotKeys::MenuFindClick() {
  TDoSearch prompt(services_.dialogs);
  prompt.FindOnly = 1;
  context_.forms->ShowModal(prompt);
  if (prompt.SearchOk != 1) return;
  search.SearchStart = 0;
  search.LastFind = prompt.FindText;
  search.DoSearchFor(NewFormat, search.LastFind, *context_.platform.boxes, Handle());
}

void TModHotKeys::MenuFindAgainClick() {
  search.DoSearchFor(NewFormat, search.LastFind, *context_.platform.boxes, Handle());
}

void TModHotKeys::SearchandReplace1Click() {
  TDoSearch prompt(services_.dialogs);
  prompt.FindOnly = 0;
  context_.forms->ShowModal(prompt);
  if (prompt.SearchOk != 1) return;
  const Replacement r = ReplaceAllInText(NewFormat.text(), prompt.FindText, prompt.ReplaceText);
  if (r.count == 0) {
    main_.Box(NotFoundText(prompt.FindText), "Warning", platform::mb::kOk);
    return;
  }
  NewFormat.SetText(r.text);
  Modified = 1;
  main_.Box(ReplacedText(prompt.FindText, r.count), "Replaced", platform::mb::kOk);
}

void TModHotKeys::MenuImportClick() {
  forms::FileDialog dialog;
  dialog.title = "Load From Text File";
  dialog.filter = "Text Files (*.TXT)|*.TXT";
  dialog.defaultExt = "TXT";
  dialog.hideReadOnly = true;
  const std::optional<std::string> path = context_.forms->OpenFileDialog(dialog, Handle());
  if (!path) return;
  std::optional<TextFile> file = ReadTextFile(*context_.platform.files, *path, kMacroTextLimit);
  if (!file) return;
  if (file->size > kMacroTextLimit &&
      main_.Box("This text file contains more than 5000 characters.  Only the first 5000 characters will be "
                "imported.  Continue?",
                "Warning", platform::mb::kYesNo) != platform::mb::kIdYes) {
    return;
  }
  NewFormat.SetText(file->text);
  Modified = 1;
}

void TModHotKeys::MenuExportClick() {
  forms::FileDialog dialog;
  dialog.title = "Save To Text File";
  dialog.filter = "Text File (*.TXT)|*.TXT";
  dialog.defaultExt = "TXT";
  dialog.hideReadOnly = true;
  // A new file may be named too: the memo is often saved to a file that does not exist yet.
  dialog.overwritePrompt = true;
  const std::optional<std::string> path = context_.forms->SaveFileDialog(dialog, Handle());
  if (!path) return;
  WriteTextFile(*context_.platform.files, *path, NewFormat.text());
}

// ---------------------------------------------------------------------------------------------
// The opener

bool ModifyDirectly(TMainWin& main, EditorContext& context, DirectEditorServices& services) {
  if (main.ListEmpty()) {
    main.Box("No hot keys have been added yet.  Please add one first.", "Error", platform::mb::kOk);
    return false;
  }
  const int n = main.SelectedMacro();
  if (n < 1) {
    main.Box("No hot key selected.  Please select one.", "Error", platform::mb::kOk);
    return false;
  }
  if (context.lock->FileInUse()) return false;
  TMacroRec& r = main.CurMacro;
  MacroLibrary& library = context.store->Library();
  // Menus and system macros have editors of their own, not in this build.
  if (!library.ReadMacroRecord(n, r) || r.ScopeKind() == 4 || r.ScopeKind() == 5 || r.ScopeKind() == 9) {
    if (r.ScopeKind() >= 4) main.Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    context.lock->ReleaseSyncFile(0);
    return false;
  }
  if (!AskPasswordIfProtected(r.Text(), PasswordMode::kEdit, r.Nickname(), main, context, services.dialogs)) {
    context.lock->ReleaseSyncFile(0);
    return false;
  }
  TModHotKeys editor(main, context, services);
  const std::uint16_t code = r.ActivationCode();
  editor.ActivationType = ActivationTypeOf(code);
  editor.ExistingMacro = 1;
  editor.MacroNumber = n;
  editor.Saved = 0;
  if (editor.ActivationType == activation::kNone) editor.HotKeyLabel.SetCaption("None");
  if (editor.ActivationType == activation::kHotKey) {
    editor.HotKeyLabel.SetCaption(std::string(HotKeyName(code)));
    // Another global, popup-menu, system or floating-menu macro with this hot key.
    TMacroRec other;
    for (int m = 1; m <= context.glob->MacroCount(); ++m) {
      if (m == n || !library.ReadMacroRecord(m, other) || other.ActivationCode() != code) continue;
      const int scope = other.ScopeKind();
      if (scope == 1 || scope == 4 || scope == 5 || scope == 9) editor.HotKeyTaken = 1;
    }
  }
  context.forms->ShowModal(editor);
  context.lock->ReleaseSyncFile(editor.anySave() ? 1 : 0);
  if (editor.anySave()) {
    main.FillList();
    main.SelectMacro(n);
  }
  return editor.anySave();
}

void InstallDirectEditor(TMainWin& main, EditorContext& context) {
  auto services = std::make_shared<DirectEditorServices>();
  services->dialogs = DialogServices::Of(context.platform, context.programFolder);
  InstallDirectEditor(main, context, std::move(services));
}

void InstallDirectEditor(TMainWin& main, EditorContext& context, std::shared_ptr<DirectEditorServices> services) {
  main.Bind("ModifyDirectly", [&main, &context, services] { ModifyDirectly(main, context, *services); });
  main.Bind("MenuQuickOver", [&main, &context, services] { ShowQuickInfo(main, context, services->dialogs); });
  main.Bind("MenuOutputInfo", [&main, &context, services] { OutputMacroInformation(main, context, services->dialogs); });
}

}  // namespace wdx::editor
