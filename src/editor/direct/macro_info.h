// Three small forms beside the direct text editor: Quick Info of one macro, the password prompt
// of a password-protected macro, and the output of the listed macros' facts to a text file.
// What they show and write is built by plain functions, tested without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/dialogs/command_dialog.h"
#include "editor/shell/editor_context.h"
#include "editor/shell/main_win.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "shared/macro_record.h"

namespace wdx::editor {

inline constexpr char kProtectedText[] = "***THE TEXT OF THIS MACRO IS PASSWORD PROTECTED***";

// --- Password protection

enum class PasswordMode : std::int32_t { kEdit = 1, kExport = 2, kOutput = 3 };

// The enciphered password of a protected macro's text: after the first "<PASSP:" up to the next
// ">" (or the end); nothing when the text holds no "<PASSP".
std::optional<std::string> EncipheredPassword(std::string_view text);
bool PasswordProtected(std::string_view text);

class TDoPassSecurity : public forms::Form {
 public:
  explicit TDoPassSecurity(const DialogServices& services);

  PasswordMode Mode = PasswordMode::kEdit;
  std::string StoredPassword;
  std::string MacroNickname;
  // 1 when Ok found the typed password equal to StoredPassword.
  std::uint8_t PasswordOk = 0;

  forms::Label Label1{this, "Label1"};
  forms::Label Label2{this, "Label2", "Password"};
  forms::Edit Password{this, "Password"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void FormShow();
  void OkButtonClick();

  const DialogServices& services_;
};

// The opening protocol of the prompt: true when the text is not protected or the user gave its
// password.
bool AskPasswordIfProtected(std::string_view text, PasswordMode mode, const std::string& nickname, TMainWin& main,
                            EditorContext& context, const DialogServices& services);

// --- Quick Info

// What Quick Info shows of a macro.
struct QuickInfoText {
  std::string activationCaption;  // Lab1
  std::string activation;         // Line1
  std::string nickname;           // Line2
  std::string scope;              // Line3
  std::string active;             // Line4
  bool showText = true;           // the text area (not for menus and system macros)
  std::string text;               // Line6: the macro text, or that it is protected
};
QuickInfoText QuickInfoOf(const TMacroRec& r);
// "Window Part: Maximize Button (Right Button)", "Top: 10 Left: 20 Bottom: 300 Right: 400 (Left Button)".
std::string MouseDescription(const TMacroRec& r);

class TQuickInfo : public forms::Form {
 public:
  TQuickInfo(const TMacroRec& record, EditorContext& context, const DialogServices& services);

  forms::Label Label2{this, "Label2", "Icon:"};
  forms::SpeedButton MySpeed{this, "MySpeed", forms::Picture{forms::Picture::Kind::kMacro, {}}, 16, "Icon"};
  forms::Label Lab1{this, "Lab1"};
  forms::Label Line1{this, "Line1"};
  forms::Label Lab2{this, "Lab2", "NickName:"};
  forms::Label Line2{this, "Line2"};
  forms::Label Lab3{this, "Lab3", "Scope:"};
  forms::Label Line3{this, "Line3"};
  forms::Label Lab4{this, "Lab4", "Active:"};
  forms::Label Line4{this, "Line4"};
  forms::Label LastMod{this, "LastMod", "Last Modified On "};
  forms::Label Lab6{this, "Lab6", "Macro Text:"};
  forms::Memo Line6{this, "Line6"};
  forms::Button OkButton{this, "OkButton", "&Ok"};

 private:
  void FormShow();

  const TMacroRec& record_;
  EditorContext& context_;
  const DialogServices& services_;
};

// --- Output to a text file

struct OutputChoice {
  bool hotKey = true, name = true, window = true, text = true, schedule = true, icon = true;
};
// The block of lines of one macro, each ended by CR LF, and the empty line after it. `text` is
// what the "Text: " line carries (the macro's text, or the protected notice).
std::string OutputBlock(const TMacroRec& r, const OutputChoice& choice, const std::string& text);

class TDoOutput : public forms::Form {
 public:
  TDoOutput(TMainWin& main, EditorContext& context, const DialogServices& services);

  forms::Label Label1{this, "Label1", "Macro Information To Output"};
  forms::CheckBox MacroKeys{this, "MacroKeys", "&Hot Key"};
  forms::CheckBox MacroName{this, "MacroName", "&Name"};
  forms::CheckBox MacroWindow{this, "MacroWindow", "&Window"};
  forms::CheckBox MacroText{this, "MacroText", "&Text"};
  forms::CheckBox MacroSched{this, "MacroSched", "&Schedule"};
  forms::CheckBox MacroIcon{this, "MacroIcon", "&Icon"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

 private:
  void FormShow();
  void OkButtonClick();
  void DoIt();

  TMainWin& main_;
  EditorContext& context_;
  const DialogServices& services_;
};

// DoInfo: Quick Info of the selected row's macro; the output of the listed macros.
void ShowQuickInfo(TMainWin& main, EditorContext& context, const DialogServices& services);
void OutputMacroInformation(TMainWin& main, EditorContext& context, const DialogServices& services);

}  // namespace wdx::editor
