#include "forms/form.h"

#include <algorithm>

#include "forms/controls.h"

namespace wdx::forms {

namespace {
constexpr int kDefaultClientWidth = 300;
constexpr int kDefaultClientHeight = 200;
}  // namespace

Form::Form(std::string name, std::string caption)
    : name_(std::move(name)),
      caption_(std::move(caption)),
      frame_(DefaultFrame(BorderStyle::kDialog)),
      borderStyle_(BorderStyle::kDialog) {
  width_ = kDefaultClientWidth + frame_.horizontal;
  height_ = kDefaultClientHeight + frame_.vertical;
}

Form::~Form() {
  // The controls (members of the derived class) are gone by now; the view goes with the form.
  if (view_) {
    FormView* v = view_;
    view_ = nullptr;
    showing_ = false;
    v->FormDestroyed();
  }
}

FrameExtent Form::DefaultFrame(BorderStyle style) {
  // Classic Windows metrics: a 3-pixel dialog frame (4 when sizeable), a 19-pixel caption
  // (16 for tool windows) including its border line.
  switch (style) {
    case BorderStyle::kDialog:
    case BorderStyle::kSingle:
      return {6, 25};
    case BorderStyle::kSizeable:
      return {8, 27};
    case BorderStyle::kToolWindow:
      return {6, 22};
    case BorderStyle::kSizeToolWindow:
      return {8, 24};
    case BorderStyle::kNone:
      return {0, 0};
  }
  return {0, 0};
}

void Form::NotifyForm(unsigned props) {
  if (view_) view_->FormChanged(props);
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  NotifyForm(prop::kText);
}

void Form::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  NotifyForm(prop::kBounds);
  if (resized && showing_) Dispatch(onResize);
}

void Form::ViewMoved(int left, int top, int width, int height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized && showing_) Dispatch(onResize);
}

void Form::SetFrameExtent(FrameExtent frame) {
  if (frame == frame_) return;
  const int cw = clientWidth();
  const int ch = clientHeight();
  frame_ = frame;
  SetBounds(left_, top_, cw + frame_.horizontal, ch + frame_.vertical);
}

void Form::SetBorderStyle(BorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  NotifyForm(prop::kOptions);
  FrameExtent frame = DefaultFrame(style);
  if (mainMenu_) frame.vertical += kMenuBarHeight;
  SetFrameExtent(frame);
}

void Form::SetMainMenu(MenuItem* menu) {
  if (menu == mainMenu_) return;
  const bool hadBar = mainMenu_ != nullptr;
  mainMenu_ = menu;
  NotifyForm(prop::kItems);
  if (hadBar != (menu != nullptr)) {
    FrameExtent frame = frame_;
    frame.vertical += menu ? kMenuBarHeight : -kMenuBarHeight;
    SetFrameExtent(frame);
  }
}

void Form::SetStayOnTop(bool v) {
  if (v == stayOnTop_) return;
  stayOnTop_ = v;
  NotifyForm(prop::kOptions);
}

void Form::SetToolWindow(bool v) {
  if (v == toolWindow_) return;
  toolWindow_ = v;
  NotifyForm(prop::kOptions);
}

void Form::SetFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  NotifyForm(prop::kFont);
}

Control* Form::Find(std::string_view name) const {
  for (Control* c : controls_) {
    if (c->name() == name) return c;
  }
  return nullptr;
}

Timer* Form::FindTimer(std::string_view name) const {
  for (Timer* t : timers_) {
    if (t->name() == name) return t;
  }
  return nullptr;
}

Button* Form::DefaultButton() const {
  for (Control* c : controls_) {
    if (c->kind() == ControlKind::kButton && static_cast<Button*>(c)->isDefault() && c->Usable()) {
      return static_cast<Button*>(c);
    }
  }
  return nullptr;
}

Button* Form::CancelButton() const {
  for (Control* c : controls_) {
    if (c->kind() == ControlKind::kButton && static_cast<Button*>(c)->isCancel() && c->Usable()) {
      return static_cast<Button*>(c);
    }
  }
  return nullptr;
}

platform::WindowHandle Form::Handle() const { return view_ ? view_->Handle() : platform::kNoWindow; }

// --- Showing and closing

void Form::Dispatch(const std::function<void()>& handler) {
  if (handler) {
    ++depth_;
    handler();
    --depth_;
  }
  if (depth_ == 0) FinishPendingClose();
}

void Form::RunClosingHandler(const std::function<void()>& handler) {
  // Close handlers run nested so that a Close they call does not start another round.
  ++depth_;
  handler();
  --depth_;
}

void Form::SetModalResult(ModalResult r) {
  modalResult_ = r;
  if (depth_ == 0) FinishPendingClose();
}

void Form::Close() {
  if (!showing_) return;
  if (modal_) {
    if (modalResult_ == ModalResult::kNone) modalResult_ = ModalResult::kCancel;
    if (depth_ == 0) FinishPendingClose();
    return;
  }
  if (closing_) return;
  closing_ = true;
  bool canClose = true;
  if (onCloseQuery) RunClosingHandler([&] { onCloseQuery(canClose); });
  CloseAction action = CloseAction::kHide;
  if (canClose && onClose) RunClosingHandler([&] { onClose(action); });
  closing_ = false;
  if (canClose && action != CloseAction::kNone) Hide();
}

void Form::FinishPendingClose() {
  if (!showing_ || !modal_ || modalDone_ || closing_ || depth_ > 0 || modalResult_ == ModalResult::kNone) return;
  closing_ = true;
  bool canClose = true;
  if (onCloseQuery) RunClosingHandler([&] { onCloseQuery(canClose); });
  CloseAction action = CloseAction::kHide;
  if (canClose && onClose) RunClosingHandler([&] { onClose(action); });
  closing_ = false;
  if (!canClose || action == CloseAction::kNone) {
    modalResult_ = ModalResult::kNone;
    return;
  }
  modalDone_ = true;
}

void Form::Hide() {
  if (!showing_) return;
  if (modal_) {
    ForceModalEnd(ModalResult::kCancel);
    return;
  }
  showing_ = false;
  if (view_) view_->Hide();
}

void Form::ForceModalEnd(ModalResult r) {
  if (!showing_ || !modal_) return;
  if (modalResult_ == ModalResult::kNone) modalResult_ = r;
  modalDone_ = true;
}

void Form::AttachView(FormView* view) { view_ = view; }

void Form::DetachView() { view_ = nullptr; }

void Form::BeginShowing(bool modal) {
  showing_ = true;
  modal_ = modal;
  modalDone_ = false;
  closing_ = false;
  modalResult_ = ModalResult::kNone;
}

void Form::FireCreate() {
  if (created_) return;
  created_ = true;
  Dispatch(onCreate);
}

void Form::EndShowing() {
  showing_ = false;
  modal_ = false;
  modalDone_ = false;
}

bool Form::SetFocus(Control* control) {
  if (control && &control->form() != this) return false;
  if (!showing_) {
    active_ = control;
    return true;
  }
  if (control && !control->CanFocus()) return false;
  MoveFocus(control);
  if (view_) view_->FocusChanged(control);
  return true;
}

void Form::MoveFocus(Control* control) {
  if (control == active_) return;
  Control* left = active_;
  active_ = control;
  if (!showing_) return;
  if (left && left->onExit) Dispatch(left->onExit);
  if (control && control == active_ && control->onEnter) Dispatch(control->onEnter);
}

void Form::SetWindowState(WindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  NotifyForm(prop::kSelection);
}

bool Form::HandleMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  if (!onMessage) return false;
  bool handled = false;
  Dispatch([&] { handled = onMessage(message, wparam, lparam); });
  return handled;
}

void Form::SetInitialFocus() {
  if (!active_ || !active_->CanFocus()) {
    active_ = nullptr;
    for (Control* c : controls_) {
      if (c->TabTarget() && c->CanFocus()) {
        active_ = c;
        break;
      }
    }
  }
  if (view_) view_->FocusChanged(active_);
}

// --- Controls and timers

void Form::AddControl(Control* c) { controls_.push_back(c); }

void Form::RemoveControl(Control* c) {
  if (active_ == c) active_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (view_) view_->ControlRemoved(*c);
}

void Form::ControlChanged(Control& c, unsigned props) {
  if (view_) view_->ControlChanged(c, props);
}

std::uint32_t Form::AddTimer(Timer* t) {
  timers_.push_back(t);
  return nextTimerId_++;
}

void Form::RemoveTimer(Timer* t) {
  if (view_ && t->Running()) {
    t->SetEnabled(false);
  }
  timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void Form::TimerChanged(Timer& t) {
  if (view_) view_->TimerChanged(t);
}

}  // namespace wdx::forms
