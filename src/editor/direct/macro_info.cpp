#include "editor/direct/macro_info.h"

#include <filesystem>
#include <fstream>

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "editor/dialogs/sched.h"
#include "editor/direct/direct_text.h"
#include "shared/date_pictures.h"
#include "shared/date_time.h"
#include "shared/hot_keys.h"

namespace wdx::editor {

namespace {

constexpr const char* kPartNames[] = {"Maximize Button", "Minimize Button", "System Menu", "Vertical Scroll Bar",
                                      "Horizontal Scroll Bar", "Title Bar", "Menu Bar", "Window Border"};

std::string OnTopText(const TMacroRec& r, const char* onTop, const char* running) {
  return r.WindowMatch() != 0 ? onTop : running;
}

// What a listed macro's activation is called in the output file.
std::string OutputActivation(const TMacroRec& r) {
  switch (r.ActivationCode()) {
    case activation::kNoneCode:
      return "None";
    case activation::kFloatingMenuCode:
      return "Floating Menu";
    case activation::kMouseCode:
      return "Mouse Click";
    case activation::kWindowTitleCode:
      return "Window Title";
    case activation::kTimedCode:
      return "Timed Macro";
    case activation::kAbbrekeyCode:
      return "Abbrekey: " + r.Abbrekey();
    default:
      return "Hot Key: " + std::string(HotKeyName(r.ActivationCode()));
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Password

std::optional<std::string> EncipheredPassword(std::string_view text) {
  const std::size_t at = text.find("<PASSP");
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = std::min(at + 7, text.size());
  const std::size_t end = text.find('>', start);
  return std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

bool PasswordProtected(std::string_view text) { return text.find("<PASSP") != std::string_view::npos; }

TDoPassSecurity::TDoPassSecurity(const DialogServices& services) : Form("DoPassSecurity", "Security Alert"), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(layout::kMargin * 3 + 300 + layout::kButtonWidth, 120);
  Label1.SetBounds(layout::kMargin, layout::kMargin, 300, 56);
  Label1.SetWordWrap(true);
  Label2.SetBounds(layout::kMargin, 72, 300, 16);
  Password.SetBounds(layout::kMargin, 90, 300, layout::kEditHeight);
  Password.SetMaxLength(static_cast<int>(kShortText));
  Password.SetPasswordChar('*');
  layout::ButtonColumn(*this, OkButton, CancelButton, &HelpButton);
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  HelpButton.onClick = [this] {
    if (services_.help != nullptr) services_.help->ShowKeyword(Handle(), services_.HelpFile(), "Password Security");
  };
  onShow = [this] { FormShow(); };
}

void TDoPassSecurity::FormShow() {
  services_.Centre(*this);
  PasswordOk = 0;
  Password.SetFocus();
  const char* verb = Mode == PasswordMode::kExport ? "export" : Mode == PasswordMode::kOutput ? "output" : "edit";
  Label1.SetCaption(std::string("This macro contains Password Protection.  You can ONLY ") + verb +
                    " the macro if you know the password.  Please enter it below.");
  if (Mode == PasswordMode::kOutput) SetCaption("Macro: " + MacroNickname);
}

void TDoPassSecurity::OkButtonClick() {
  if (FieldText(Password.text()) != StoredPassword) {
    forms::Accept(*this, forms::Fault{"Password", "Incorrect Password Entered."}, *services_.boxes);
    return;
  }
  PasswordOk = 1;
  SetModalResult(forms::ModalResult::kOk);
}

bool AskPasswordIfProtected(std::string_view text, PasswordMode mode, const std::string& nickname, TMainWin& main,
                            EditorContext& context, const DialogServices& services) {
  const std::optional<std::string> enciphered = EncipheredPassword(text);
  if (!enciphered) return true;
  TDoPassSecurity prompt(services);
  prompt.Mode = mode;
  prompt.StoredPassword = main.DecryptIt(*enciphered);
  prompt.MacroNickname = nickname;
  context.forms->ShowModal(prompt);
  return prompt.PasswordOk == 1;
}

// ---------------------------------------------------------------------------------------------
// Quick Info

std::string MouseDescription(const TMacroRec& r) {
  static const char* const kButtons[] = {" (Left Button)", " (Middle Button)", " (Right Button)"};
  const int b = r.MouseButton();
  const std::string button = b >= 1 && b <= 3 ? kButtons[b - 1] : "";
  if (r.WindowPartFlag() != 0) {
    const int part = r.WindowPart();
    return "Window Part: " + std::string(part >= 1 && part <= 8 ? kPartNames[part - 1] : "") + button;
  }
  return "Top: " + std::to_string(r.MouseTop()) + " Left: " + std::to_string(r.MouseLeft()) +
         " Bottom: " + std::to_string(r.MouseBottom()) + " Right: " + std::to_string(r.MouseRight()) + button;
}

QuickInfoText QuickInfoOf(const TMacroRec& r) {
  QuickInfoText q;
  switch (r.ActivationCode()) {
    case activation::kNoneCode:
      q.activationCaption = "None";
      break;
    case activation::kFloatingMenuCode:
      q.activationCaption = "Floating Menu";
      break;
    case activation::kWindowTitleCode:
      q.activationCaption = "Window Title:";
      q.activation = r.ScopeText();
      break;
    case activation::kMouseCode:
      q.activationCaption = "Mouse Click:";
      q.activation = MouseDescription(r);
      break;
    case activation::kTimedCode:
      q.activationCaption = "Timed Macro:";
      q.activation = ScheduleDescription(r);
      break;
    case activation::kAbbrekeyCode:
      q.activationCaption = "Abbrekey:";
      q.activation = r.Abbrekey();
      break;
    default:
      q.activationCaption = "Hot Key:";
      q.activation = std::string(HotKeyName(r.ActivationCode()));
  }
  q.nickname = r.Nickname();
  switch (r.ScopeKind()) {
    case 1:
      q.scope = "GLOBAL";
      break;
    case 4:
      q.scope = "Popup Menu";
      break;
    case 5:
      q.scope = "SYSTEM";
      break;
    case 9:
      q.scope = "Floating Menu";
      break;
    case 2:
      q.scope = r.ScopeText() + " \"Window\" " + OnTopText(r, "(Topmost Only)", "(If Running)");
      break;
    default:
      q.scope = r.ScopeText() + " \"Program\" " + OnTopText(r, "(Topmost Only)", "(If Running)");
  }
  q.active = r.Active() != 0 ? "Yes" : "No";
  const int scope = r.ScopeKind();
  q.showText = scope != 4 && scope != 5 && scope != 9;
  // A protected macro's text (and its enciphered password) is shown only behind its password.
  if (q.showText) q.text = PasswordProtected(r.Text()) ? kProtectedText : r.Text();
  return q;
}

TQuickInfo::TQuickInfo(const TMacroRec& record, EditorContext& context, const DialogServices& services)
    : Form("QuickInfo", "Quick Info"), record_(record), context_(context), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetKeyPreview(true);
  SetClientSize(440, 300);
  constexpr int kCaptionWidth = 84;
  constexpr int kValueLeft = layout::kMargin + kCaptionWidth + 8;
  const int valueWidth = 440 - kValueLeft - layout::kMargin;
  forms::Label* const captions[] = {&Label2, &Lab1, &Lab2, &Lab3, &Lab4};
  forms::Label* const values[] = {nullptr, &Line1, &Line2, &Line3, &Line4};
  for (int i = 0; i < 5; ++i) {
    captions[i]->SetBounds(layout::kMargin, layout::kMargin + i * 22, kCaptionWidth, 16);
    captions[i]->SetAlignment(forms::Alignment::kRight);
    if (values[i] != nullptr) values[i]->SetBounds(kValueLeft, layout::kMargin + i * 22, valueWidth, 16);
  }
  MySpeed.SetBounds(kValueLeft, layout::kMargin - 2, 20, 20);
  LastMod.SetBounds(layout::kMargin, 118, 420, 16);
  Lab6.SetBounds(layout::kMargin, 140, kCaptionWidth, 16);
  Lab6.SetAlignment(forms::Alignment::kRight);
  Line6.SetBounds(kValueLeft, 140, valueWidth, 300 - 140 - 2 * layout::kMargin - layout::kButtonHeight);
  Line6.SetReadOnly(true);
  Line6.SetScrollBars(forms::ScrollBars::kVertical);
  layout::ButtonRow(*this, {&OkButton});
  OkButton.SetDefault(true);
  OkButton.SetCancel(true);
  OkButton.SetModalResult(forms::ModalResult::kOk);
  onShow = [this] { FormShow(); };
}

void TQuickInfo::FormShow() {
  services_.Centre(*this);
  const platform::Platform& p = context_.platform;
  const platform::DateTimeFormats formats = p.regional ? p.regional->DateTime() : platform::DateTimeFormats{};
  LastMod.SetCaption("Last Modified On " + FormatPicture(DecodeDateTime(record_.LastChange()), formats.shortDate, formats));
  const std::string icon = record_.IconName();
  const std::string file = context_.programFolder + "\\Icons\\" + icon;
  std::error_code ec;
  if (icon == "MENU") {
    MySpeed.SetPicture({forms::Picture::Kind::kMenu, {}});
  } else if (icon != "MAIN" && std::filesystem::exists(p.files->NativePath(file), ec)) {
    MySpeed.SetPicture({forms::Picture::Kind::kFile, file});
  }
  const QuickInfoText q = QuickInfoOf(record_);
  Lab1.SetCaption(q.activationCaption);
  Line1.SetCaption(q.activation);
  Line2.SetCaption(q.nickname);
  Line3.SetCaption(q.scope);
  Line4.SetCaption(q.active);
  if (!q.showText) {
    Lab6.SetCaption("");
    Line6.SetVisible(false);
    Line6.SetEnabled(false);
  }
  Line6.SetText(q.text);
}

// ---------------------------------------------------------------------------------------------
// Output

std::string OutputBlock(const TMacroRec& r, const OutputChoice& c, const std::string& text) {
  std::string out;
  auto line = [&out](const std::string& s) { out += s + "\r\n"; };
  const int scope = r.ScopeKind();
  if (c.icon) {
    const std::string icon = r.IconName();
    line(scope == 5        ? "Icon: (None)"
         : icon == "MAIN" ? "Icon: (Default Icon)"
         : icon == "MENU" ? "Icon: (Default Menu Icon)"
                          : "Icon: " + icon);
  }
  if (c.hotKey) line(OutputActivation(r));
  if (c.name) line("Name: " + r.Nickname());
  if (c.window) {
    const std::string onTop = OnTopText(r, ", Topmost Only", ", If Active");
    switch (scope) {
      case 1:
        line("Scope: GLOBAL");
        break;
      case 5:
        line("Scope: SYSTEM");
        break;
      case 4:
        line("Scope: Popup Menu");
        break;
      case 9:
        line("Scope: Floating Menu");
        break;
      case 2:
        line("Window: " + r.ScopeText() + onTop);
        break;
      case 3:
        line("Program: " + r.ScopeText() + onTop);
        break;
      default:
        break;
    }
  }
  if (c.schedule && r.ActivationCode() == activation::kTimedCode) line("Schedule: " + ScheduleDescription(r));
  if (c.text && scope != 4 && scope != 5 && scope != 9) line("Text: " + text);
  line("");
  return out;
}

TDoOutput::TDoOutput(TMainWin& main, EditorContext& context, const DialogServices& services)
    : Form("DoOutput", "Output Macros To File"), main_(main), context_(context), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(layout::kMargin * 3 + 200 + layout::kButtonWidth, 112);
  Label1.SetBounds(layout::kMargin, layout::kMargin, 200, 16);
  forms::CheckBox* const boxes[] = {&MacroKeys, &MacroName, &MacroWindow, &MacroText, &MacroSched, &MacroIcon};
  for (int i = 0; i < 6; ++i) boxes[i]->SetBounds(layout::kMargin + 4 + (i / 3) * 100, 30 + (i % 3) * 24, 96, 20);
  layout::ButtonColumn(*this, OkButton, CancelButton, nullptr);
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  onShow = [this] { FormShow(); };
}

void TDoOutput::FormShow() {
  services_.Centre(*this);
  for (forms::CheckBox* b : {&MacroKeys, &MacroName, &MacroWindow, &MacroText, &MacroSched, &MacroIcon}) b->SetChecked(true);
  MacroKeys.SetFocus();
}

void TDoOutput::OkButtonClick() {
  if (!MacroKeys.checked() && !MacroName.checked() && !MacroWindow.checked() && !MacroText.checked()) {
    forms::Accept(*this, forms::Fault{"MacroKeys", "Nothing has been checked for printing.  Please Correct."},
                  *services_.boxes);
    return;
  }
  DoIt();
  SetModalResult(forms::ModalResult::kOk);
}

void TDoOutput::DoIt() {
  forms::FileDialog dialog;
  dialog.title = "Write Hot Key Definitions to File";
  dialog.filter = "Text File (*.TXT)|*.TXT";
  dialog.defaultExt = "TXT";
  dialog.overwritePrompt = true;
  dialog.hideReadOnly = true;
  dialog.pathMustExist = true;
  const std::optional<std::string> path = context_.forms->SaveFileDialog(dialog, Handle());
  if (!path) return;
  std::ofstream out(context_.platform.files->NativePath(*path), std::ios::binary | std::ios::trunc);
  if (!out) {
    services_.boxes->Show(Handle(), "Unable to create text file.", "Error", platform::mb::kOk);
    return;
  }
  const OutputChoice choice{MacroKeys.checked(), MacroName.checked(), MacroWindow.checked(),
                            MacroText.checked(), MacroSched.checked(), MacroIcon.checked()};
  const MacroList& list = main_.List();
  TMacroRec r;
  for (int row = 1; row <= list.count(); ++row) {
    const int n = list.MacroAt(row);
    if (n < 1 || !context_.store->Library().ReadMacroRecord(n, r)) continue;
    std::string text = r.Text();
    const int scope = r.ScopeKind();
    if (choice.text && scope != 4 && scope != 5 && scope != 9 && PasswordProtected(text)) {
      const std::string question = "Macro \"" + r.Nickname() +
                                   "\" is a password protected macro. Would you like to output the text of this "
                                   "macro?  You will need to enter the password to do so.";
      const bool allowed = services_.boxes->Show(Handle(), question, "Warning", platform::mb::kYesNo) == platform::mb::kIdYes &&
                           AskPasswordIfProtected(text, PasswordMode::kOutput, r.Nickname(), main_, context_, services_);
      if (!allowed) text = kProtectedText;
    }
    out << OutputBlock(r, choice, text);
  }
}

void ShowQuickInfo(TMainWin& main, EditorContext& context, const DialogServices& services) {
  const int n = main.SelectedMacro();
  if (n < 1 || !context.store->Library().ReadMacroRecord(n, main.CurMacro)) return;
  TQuickInfo info(main.CurMacro, context, services);
  context.forms->ShowModal(info);
}

void OutputMacroInformation(TMainWin& main, EditorContext& context, const DialogServices& services) {
  if (main.ListEmpty()) {
    main.Box("No hot keys have been added yet.  Please add one first.", "Error", platform::mb::kOk);
    return;
  }
  TDoOutput output(main, context, services);
  context.forms->ShowModal(output);
}

}  // namespace wdx::editor
