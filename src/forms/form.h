// A form: a window with a caption, a place on the screen, styles, named controls, timers and
// the form's own events. A dialog is a class derived from Form over a small model (the one
// dialog style, forms/dialog.h): its controls are members named as in its design, and its
// handlers are member functions wired in its constructor:
//
//   class TDoRemark : public forms::Form {
//    public:
//     TDoRemark(RemarkModel& model, platform::MessageBoxes& boxes) : Form("DoRemark", "Remark") {
//       OkButton.onClick = [this] { OkButtonClick(); };
//     }
//     forms::Edit RemarkText{this, "RemarkText"};
//     forms::Button OkButton{this, "OkButton", "&Ok"};
//     ...
//   };
//
// The constructor is the place of the form's creation work; onCreate runs once its window
// exists. The events belong to the form class itself: code that shows a form talks to it
// through its model and its constructor. A FormRunner (forms/runner.h) shows the form; the
// form itself knows nothing of Windows. Everything runs on the thread of the message loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/menu.h"
#include "forms/types.h"
#include "platform/types.h"

namespace wdx::forms {

class Button;
class Timer;

// What a runner puts behind a shown form. The form tells it every change at once, so the
// native window and controls follow the model.
class FormView {
 public:
  virtual ~FormView() = default;
  virtual platform::WindowHandle Handle() const = 0;
  // Form properties: prop::kText (caption), kBounds, kOptions (styles), kFont.
  virtual void FormChanged(unsigned props) = 0;
  virtual void ControlChanged(Control& control, unsigned props) = 0;
  virtual void ControlRemoved(Control& control) = 0;
  virtual void FocusChanged(Control* control) = 0;
  virtual void TimerChanged(Timer& timer) = 0;
  // A form shown without waiting was closed or hidden.
  virtual void Hide() = 0;
  // The form is being destroyed: drop the native window and every reference to the form
  // (the view may delete itself).
  virtual void FormDestroyed() = 0;
};

class Form {
 public:
  explicit Form(std::string name, std::string caption = {});
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);

  // Outer bounds on the screen, frame included.
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // The client area: the outer size less the frame.
  int clientWidth() const { return width_ - frame_.horizontal; }
  int clientHeight() const { return height_ - frame_.vertical; }
  void SetClientSize(int w, int h) { SetBounds(left_, top_, w + frame_.horizontal, h + frame_.vertical); }
  // An estimate from the border style until a view measures the real frame; a new frame
  // keeps the client size.
  FrameExtent frameExtent() const { return frame_; }
  void SetFrameExtent(FrameExtent frame);
  static FrameExtent DefaultFrame(BorderStyle style);

  BorderStyle borderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  // Above every window that is not itself on top.
  bool stayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool v);
  // A tool window: small caption, no task bar button.
  bool toolWindow() const { return toolWindow_; }
  void SetToolWindow(bool v);
  // The window that owns the form (kNoWindow: none, the desktop); read when the form's
  // window is made, at its show.
  platform::WindowHandle owner() const { return owner_; }
  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }
  // The font of every control that has none of its own.
  const Font& font() const { return font_; }
  void SetFont(const Font& font);
  // The form sees keys (onKeyDown, onKeyPress) before the focused control.
  bool keyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }

  // The menu bar (nullptr: none). The form does not own it; it must outlive its use here.
  // Its frame grows by the bar, keeping the client size.
  MenuItem* mainMenu() const { return mainMenu_; }
  void SetMainMenu(MenuItem* menu);
  // The menu bar's height in the frame estimate.
  static constexpr int kMenuBarHeight = 19;

  // Controls in creation (and tab) order.
  const std::vector<Control*>& controls() const { return controls_; }
  Control* Find(std::string_view name) const;
  template <class T>
  T* FindAs(std::string_view name) const {
    return dynamic_cast<T*>(Find(name));
  }
  const std::vector<Timer*>& timers() const { return timers_; }
  Timer* FindTimer(std::string_view name) const;
  // The first usable default (cancel) button, or nullptr.
  Button* DefaultButton() const;
  Button* CancelButton() const;

  ModalResult modalResult() const { return modalResult_; }
  // A result other than kNone ends a modal show once the running handler returns.
  void SetModalResult(ModalResult r);
  // Closes the form: a modal one ends with kCancel unless a result is set already; one shown
  // without waiting asks onCloseQuery and onClose and hides.
  void Close();
  // Takes the form off the screen without asking its handlers (a modal show ends kCancel).
  void Hide();

  // Moves the focus. Before the form shows this only chooses the first focus; while it shows,
  // a control that cannot take the focus (hidden, disabled) is refused.
  bool SetFocus(Control* control);
  Control* activeControl() const { return active_; }

  // Normal, minimized (an icon on the task bar) or filling the screen; kept while hidden and
  // applied when the form shows.
  WindowState windowState() const { return windowState_; }
  void SetWindowState(WindowState state);

  // Up on the screen (shown and not yet closed).
  bool Showing() const { return showing_; }
  bool IsModal() const { return showing_ && modal_; }
  // The user can act on it: showing, and a modal show not yet over.
  bool AcceptsInput() const { return showing_ && !modalDone_; }
  // The native window while shown (and afterwards while a view keeps it); kNoWindow otherwise.
  platform::WindowHandle Handle() const;

  std::function<void()> onCreate;
  std::function<void()> onShow;
  std::function<void()> onActivate;
  std::function<void()> onResize;
  std::function<void(bool& canClose)> onCloseQuery;
  std::function<void(CloseAction& action)> onClose;
  // With keyPreview: a key going down (virtual key; set it to 0 to swallow the key).
  std::function<void(std::uint8_t& vk)> onKeyDown;
  // With keyPreview: a typed character (set it to '\0' to swallow it).
  std::function<void(char& ch)> onKeyPress;
  // A message for the form's window that the toolkit does not handle itself (the programs'
  // own messages, WM_USER and above): true when the handler took it.
  std::function<bool(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam)> onMessage;

  // --- Runner and view side (dialog code does not call these)

  // Runs a handler of this form or its controls as the message loop does: handlers may nest,
  // and a close that any of them asks for takes effect when the outermost one returns.
  void Dispatch(const std::function<void()>& handler);
  void AttachView(FormView* view);
  void DetachView();
  FormView* view() const { return view_; }
  // The show sequence: BeginShowing, FireCreate (once per form), FireResize, FireShow,
  // SetInitialFocus, FireActivate; then wait for ModalDone (modal) and EndShowing.
  void BeginShowing(bool modal);
  void FireCreate();
  void FireResize() { Dispatch(onResize); }
  void FireShow() { Dispatch(onShow); }
  void FireActivate() { Dispatch(onActivate); }
  void SetInitialFocus();
  bool ModalDone() const { return modalDone_; }
  // Ends a modal show whatever the handlers say (the program is quitting).
  void ForceModalEnd(ModalResult r);
  void EndShowing();
  // The view reports what the user did to the native window; nothing is sent back.
  void ViewMoved(int left, int top, int width, int height);
  void ViewFocused(Control* control) { MoveFocus(control); }
  void ViewStateChanged(WindowState state) { windowState_ = state; }
  // A message for the form's window (the runner's window procedure): runs onMessage.
  bool HandleMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam);

  // --- Control and timer side
  void AddControl(Control* c);
  void RemoveControl(Control* c);
  void ControlChanged(Control& c, unsigned props);
  std::uint32_t AddTimer(Timer* t);
  void RemoveTimer(Timer* t);
  void TimerChanged(Timer& t);

 private:
  void NotifyForm(unsigned props);
  void FinishPendingClose();
  void RunClosingHandler(const std::function<void()>& handler);
  // Makes `control` the active one; while the form shows, onExit and onEnter run.
  void MoveFocus(Control* control);

  std::string name_;
  std::string caption_;
  int left_ = 0;
  int top_ = 0;
  int width_;
  int height_;
  FrameExtent frame_;
  BorderStyle borderStyle_ = BorderStyle::kDialog;
  bool stayOnTop_ = false;
  bool toolWindow_ = false;
  platform::WindowHandle owner_ = platform::kNoWindow;
  MenuItem* mainMenu_ = nullptr;
  Font font_;
  bool keyPreview_ = false;
  WindowState windowState_ = WindowState::kNormal;

  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  std::uint32_t nextTimerId_ = 1;
  Control* active_ = nullptr;
  FormView* view_ = nullptr;

  ModalResult modalResult_ = ModalResult::kNone;
  bool showing_ = false;
  bool modal_ = false;
  bool modalDone_ = false;
  bool closing_ = false;
  bool created_ = false;
  int depth_ = 0;
};

}  // namespace wdx::forms
