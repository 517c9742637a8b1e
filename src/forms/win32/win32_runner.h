// The form runner of the Windows programs: each shown form becomes a native top-level window
// with native controls (STATIC, BUTTON, EDIT, LISTBOX, COMBOBOX, the common tab and up-down
// controls), kept in step with the model both ways: model changes are pushed at once, and
// what the user does natively (typing, clicking, picking, moving the focus) is read back into
// the model before the handlers run (they run through forms/user.h, the same rules as in the
// native tests).
//
// ShowModal disables the thread's other windows, brings the form to the front (above every
// window when it stays on top), and runs a modal message loop with the dialog keys (Tab,
// Enter for the default button, Esc for the cancel button, Alt+letter) until the form has
// closed. Forms shown without waiting get the dialog keys too, through a message hook of the
// thread. Form::Handle() is the native window, for callers that force it to the foreground
// or attach thread input.
//
// Windows only; <windows.h> stays inside the .cpp.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "forms/runner.h"

namespace wdx::forms {

class Win32Runner : public FormRunner {
 public:
  Win32Runner();
  ~Win32Runner() override;
  Win32Runner(const Win32Runner&) = delete;
  Win32Runner& operator=(const Win32Runner&) = delete;

  ModalResult ShowModal(Form& form) override;
  void Show(Form& form, bool activate = true) override;
  int TextWidth(const Font& font, std::string_view text) override;
  int TextHeight(const Font& font, std::string_view text) override;
  std::string Popup(MenuItem& menu, platform::Point at, platform::WindowHandle owner = platform::kNoWindow) override;
  std::optional<std::string> OpenFileDialog(const FileDialog& dialog, platform::WindowHandle owner) override;
  std::optional<std::string> SaveFileDialog(const FileDialog& dialog, platform::WindowHandle owner) override;
  std::optional<Font> FontDialog(const Font& initial, platform::WindowHandle owner) override;
  std::optional<std::string> FolderDialog(const std::string& title, platform::WindowHandle owner) override;

  class View;
  class Fonts;

 private:
  friend class View;
  View& ViewFor(Form& form);
  void DropView(Form& form);
  void StartShow(Form& form, View& view, bool modal, bool activate);
  View* ViewOfWindow(void* hwnd) const;
  // Key preview and dialog keys for a message (a Windows MSG) to a form of this runner that is
  // shown modally (or not): true when the message was handled and must not be dispatched.
  bool PreTranslate(void* msg, bool modal);
  // The message hook that serves forms shown without waiting.
  friend bool PreTranslateModeless(Win32Runner& runner, void* msg);
  void InstallHook();

  std::map<Form*, std::unique_ptr<View>> views_;
  std::unique_ptr<Fonts> fonts_;
  void* hook_ = nullptr;
  void* menuOwner_ = nullptr;
};

}  // namespace wdx::forms
