// The form runner of native tests: it shows forms in model terms and lets the test play the
// user. When a form is shown modally, the runner runs the form's own show sequence (onCreate,
// onResize, onShow, first focus, onActivate) and then the next script the test queued; the
// script sets fields and clicks through forms/user.h, and whatever the handlers do (close, show
// a message box, move the focus) happens as it would on Windows. A script that leaves the
// form open makes the runner use the close box, and the record says so.
//
// Given the in-memory desktop, every shown form is also a window of it (title = caption, so
// code that looks for the window or brings it to the front finds it), and the form's timers
// are the desktop's timers: they fire while the test pumps that message loop. Declare the
// desktop before the runner (the runner's windows go when it does), and the runner before the
// forms it shows or after them, as convenient: either may go first.
//
//   platform::MemoryPlatform mem;
//   forms::ScriptedRunner runner(mem.desktop, mem.desktop);
//   runner.Then([&](forms::Form& f) {
//     forms::user::EnterText(*f.FindAs<forms::Edit>("Value"), "12");
//     forms::user::Click(*f.Find("OkButton"));
//   });
//   code_under_test.AskForValue();        // shows the dialog through the runner
//   EXPECT_EQ(runner.shown.back().result, forms::ModalResult::kOk);
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "forms/runner.h"
#include "platform/message_loop.h"
#include "platform/window_system.h"

namespace wdx::forms {

class ScriptedRunner : public FormRunner {
 public:
  using Script = std::function<void(Form& form)>;
  using Measure = std::function<int(const Font& font, std::string_view text)>;

  // One show of a form, as the test sees it afterwards.
  struct Shown {
    std::string name;
    std::string caption;  // when the user got it (after onShow)
    bool modal = false;
    platform::WindowHandle handle = platform::kNoWindow;
    std::string focusAtShow;   // name of the focused control when the user got the form
    std::string focusAtClose;  // ... and when it closed (modal shows)
    ModalResult result = ModalResult::kNone;
    bool scripted = false;  // a script of the test played this show
    bool leftOpen = false;  // the script ended with the form still open
  };

  ScriptedRunner();
  ScriptedRunner(platform::WindowSystem& windows, platform::MessageLoop& loop);
  ~ScriptedRunner() override;

  // Queues the script for the next modal show (scripts are used in order).
  void Then(Script script);
  std::size_t pendingScripts() const { return scripts_.size(); }
  // The user's choice in the next pop-up menu (by item name; empty: dismiss it). Without a
  // queued choice a pop-up menu is dismissed.
  void ThenPick(std::string itemName) { picks_.push_back(std::move(itemName)); }
  void SetMeasure(Measure measure) { measure_ = std::move(measure); }
  // The user's answer to the next file or folder dialog (std::nullopt: Cancel), and to the next
  // font dialog. A dialog without a queued answer is cancelled.
  void AnswerFile(std::optional<std::string> answer) { fileAnswers_.push_back(std::move(answer)); }
  void AnswerFont(std::optional<Font> answer) { fontAnswers_.push_back(std::move(answer)); }

  ModalResult ShowModal(Form& form) override;
  void Show(Form& form, bool activate = true) override;
  int TextWidth(const Font& font, std::string_view text) override;
  int TextHeight(const Font& font, std::string_view text) override;
  std::string Popup(MenuItem& menu, platform::Point at, platform::WindowHandle owner = platform::kNoWindow) override;
  std::optional<std::string> OpenFileDialog(const FileDialog& dialog, platform::WindowHandle owner) override;
  std::optional<std::string> SaveFileDialog(const FileDialog& dialog, platform::WindowHandle owner) override;
  std::optional<Font> FontDialog(const Font& initial, platform::WindowHandle owner) override;
  std::optional<std::string> FolderDialog(const std::string& title, platform::WindowHandle owner) override;

  // Forms up now, in the order they were shown.
  std::vector<Form*> OpenForms() const;
  // The open form with this caption (the last shown one when several), or nullptr.
  Form* FindOpen(std::string_view caption) const;

  // Every show, in order.
  std::vector<Shown> shown;

  // One pop-up menu, as the user saw it.
  struct PoppedUp {
    std::vector<std::string> captions;  // the visible items of its first level
    platform::Point at;
    platform::WindowHandle owner = platform::kNoWindow;
    std::string picked;  // what was chosen (empty: dismissed or not choosable)
  };
  std::vector<PoppedUp> popups;

  // One common dialog, as the user saw it.
  struct Asked {
    std::string kind;  // "open", "save", "font", "folder"
    std::string title;
    std::string filter;
    platform::WindowHandle owner = platform::kNoWindow;
  };
  std::vector<Asked> dialogs;

 private:
  class View;
  friend class View;
  View& ViewFor(Form& form);
  void DropView(Form& form);
  void StartShow(Form& form, bool modal, bool activate);

  platform::WindowSystem* windows_ = nullptr;
  platform::MessageLoop* loop_ = nullptr;
  std::deque<Script> scripts_;
  std::deque<std::string> picks_;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::deque<std::optional<Font>> fontAnswers_;
  Measure measure_;
  std::map<Form*, std::unique_ptr<View>> views_;
  std::vector<Form*> order_;
  platform::WindowHandle nextHandle_ = 0x00C00010;
};

}  // namespace wdx::forms
