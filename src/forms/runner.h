// Showing forms. The program hands a FormRunner to whatever shows dialogs, next to the
// platform bundle (constructor injection; the toolkit sits above the platform, so the runner
// is not part of platform::Platform):
//
//   // Windows entry point                         // native tests
//   platform::Platform platform = ...;            platform::Platform platform = memory...;
//   forms::Win32Runner runner;                    forms::ScriptedRunner runner(desktop, desktop);
//   forms::Ui ui{&platform, &runner};             forms::Ui ui{&platform, &runner};
//   player::MainWindow main(ui);                  player::MainWindow main(ui);
//
// The Windows runner (forms/win32/win32_runner.h) turns the form into native controls and
// runs a modal message loop; the scripted runner (forms/scripted_runner.h) lets a test play
// the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/menu.h"
#include "forms/types.h"
#include "platform/platform.h"

namespace wdx::forms {

// A file dialog: what it shows and asks of the chosen name.
struct FileDialog {
  std::string title;
  // Pairs of a description and a pattern, separated by "|": "Wendrix (*.WDX)|*.WDX".
  std::string filter;
  std::string defaultExt;  // added to a name typed without one
  std::string fileName;    // proposed
  std::string initialDir;
  bool fileMustExist = false;
  bool pathMustExist = false;
  bool overwritePrompt = false;
  bool hideReadOnly = false;
};

class FormRunner {
 public:
  virtual ~FormRunner() = default;

  // Shows the form and returns when it has closed, with its ModalResult (kCancel when it was
  // closed by its close box, Esc without a cancel button's result, or the program quitting).
  // A form that is up already is left alone (kNone).
  virtual ModalResult ShowModal(Form& form) = 0;
  // Shows the form and returns at once; it stays up until it closes, is hidden or destroyed.
  // activate = false leaves the keyboard focus where it is.
  virtual void Show(Form& form, bool activate = true) = 0;
  // The width in pixels of `text` drawn in `font` (for dialogs that wrap text themselves).
  virtual int TextWidth(const Font& font, std::string_view text) = 0;
  // The height in pixels of a line of `text` in `font`.
  virtual int TextHeight(const Font& font, std::string_view text) = 0;
  // Opens `menu` as a pop-up menu at a screen point and waits for the user. The chosen item's
  // onClick runs; returns its name, or an empty text when the menu was dismissed. `owner` is
  // the window the menu belongs to (kNoWindow: the runner's own).
  virtual std::string Popup(MenuItem& menu, platform::Point at, platform::WindowHandle owner = platform::kNoWindow) = 0;

  // The common dialogs, modal to `owner`: the chosen file, font or folder, or std::nullopt when
  // the user cancelled.
  virtual std::optional<std::string> OpenFileDialog(const FileDialog& dialog, platform::WindowHandle owner) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialog& dialog, platform::WindowHandle owner) = 0;
  virtual std::optional<Font> FontDialog(const Font& initial, platform::WindowHandle owner) = 0;
  virtual std::optional<std::string> FolderDialog(const std::string& title, platform::WindowHandle owner) = 0;
};

// What code that shows dialogs is handed: the platform and the form runner.
struct Ui {
  platform::Platform* platform = nullptr;
  FormRunner* forms = nullptr;
};

}  // namespace wdx::forms
