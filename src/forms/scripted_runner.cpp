#include "forms/scripted_runner.h"

#include <algorithm>

#include "forms/canvas.h"
#include "forms/controls.h"
#include "forms/text_metrics.h"
#include "forms/user.h"

namespace wdx::forms {

// The stand-in of a native window: a window of the in-memory desktop when there is one, a
// bare handle otherwise.
class ScriptedRunner::View : public FormView {
 public:
  View(ScriptedRunner& runner, Form& form) : runner_(runner), form_(form) {
    if (runner_.windows_) {
      handle_ = runner_.windows_->CreateOwnWindow("WdxForm", form_.caption(),
                                                  [this](const platform::Message& m) { return OnMessage(m); });
      Place();
    } else {
      handle_ = runner_.nextHandle_;
      runner_.nextHandle_ += 4;
    }
  }

  ~View() override {
    StopTimers();
    if (runner_.windows_) runner_.windows_->DestroyOwnWindow(handle_);
  }

  void MakeVisible(bool activate) {
    if (runner_.windows_) {
      runner_.windows_->ShowWindow(handle_, activate ? platform::ShowMode::kShow : platform::ShowMode::kShowNoActivate);
    }
    StartTimers();
  }

  platform::WindowHandle Handle() const override { return handle_; }

  void FormChanged(unsigned props) override {
    if (!runner_.windows_) return;
    if (props & prop::kText) runner_.windows_->SetTitle(handle_, form_.caption());
    if (props & prop::kBounds) Place();
    if ((props & prop::kSelection) && form_.Showing()) {
      const WindowState state = form_.windowState();
      runner_.windows_->ShowWindow(handle_, state == WindowState::kMaximized   ? platform::ShowMode::kMaximize
                                            : state == WindowState::kMinimized ? platform::ShowMode::kMinimize
                                                                               : platform::ShowMode::kRestore);
    }
  }
  void ControlChanged(Control&, unsigned) override {}
  void ControlRemoved(Control&) override {}
  void FocusChanged(Control*) override {}

  void TimerChanged(Timer& t) override {
    if (!runner_.loop_ || !form_.Showing()) return;
    if (t.Running()) {
      runner_.loop_->SetTimer(handle_, t.id(), t.interval());
    } else {
      runner_.loop_->KillTimer(handle_, t.id());
    }
  }

  void Hide() override {
    StopTimers();
    if (runner_.windows_) runner_.windows_->ShowWindow(handle_, platform::ShowMode::kHide);
  }

  void FormDestroyed() override {
    form_.DetachView();
    runner_.order_.erase(std::remove(runner_.order_.begin(), runner_.order_.end(), &form_), runner_.order_.end());
    runner_.views_.erase(&form_);  // deletes this view; nothing of it is touched afterwards
  }

 private:
  std::int64_t OnMessage(const platform::Message& m) {
    if (m.message == platform::msg::kTimer) {
      for (Timer* t : form_.timers()) {
        if (t->id() == m.wparam) user::FireTimer(*t);
      }
    } else if (m.message == platform::msg::kClose) {
      user::CloseBox(form_);
    } else if (m.message >= platform::msg::kUser) {
      form_.HandleMessage(m.message, m.wparam, m.lparam);
    }
    return 0;
  }

  void Place() {
    runner_.windows_->MoveWindow(handle_, {form_.left(), form_.top(), form_.left() + form_.width(),
                                           form_.top() + form_.height()});
  }

  void StartTimers() {
    if (!runner_.loop_) return;
    for (Timer* t : form_.timers()) {
      if (t->Running()) runner_.loop_->SetTimer(handle_, t->id(), t->interval());
    }
  }

  void StopTimers() {
    if (!runner_.loop_) return;
    for (Timer* t : form_.timers()) runner_.loop_->KillTimer(handle_, t->id());
  }

  ScriptedRunner& runner_;
  Form& form_;
  platform::WindowHandle handle_ = platform::kNoWindow;
};

ScriptedRunner::ScriptedRunner() = default;

ScriptedRunner::ScriptedRunner(platform::WindowSystem& windows, platform::MessageLoop& loop)
    : windows_(&windows), loop_(&loop) {}

ScriptedRunner::~ScriptedRunner() {
  // Forms that outlive the runner keep no pointer into it.
  for (auto& [form, view] : views_) form->DetachView();
}

void ScriptedRunner::Then(Script script) { scripts_.push_back(std::move(script)); }

int ScriptedRunner::TextWidth(const Font& font, std::string_view text) {
  return measure_ ? measure_(font, text) : EstimateTextWidth(font, text);
}

int ScriptedRunner::TextHeight(const Font& font, std::string_view text) {
  RecordingCanvas canvas;
  canvas.font = font;
  return canvas.TextHeight(text);
}

ScriptedRunner::View& ScriptedRunner::ViewFor(Form& form) {
  auto it = views_.find(&form);
  if (it == views_.end()) {
    it = views_.emplace(&form, std::make_unique<View>(*this, form)).first;
    form.AttachView(it->second.get());
  }
  order_.erase(std::remove(order_.begin(), order_.end(), &form), order_.end());
  order_.push_back(&form);
  return *it->second;
}

void ScriptedRunner::DropView(Form& form) {
  form.DetachView();
  order_.erase(std::remove(order_.begin(), order_.end(), &form), order_.end());
  views_.erase(&form);
}

namespace {
std::string FocusName(const Form& form) { return form.activeControl() ? form.activeControl()->name() : std::string(); }
}  // namespace

void ScriptedRunner::StartShow(Form& form, bool modal, bool activate) {
  View& view = ViewFor(form);
  form.BeginShowing(modal);
  form.FireCreate();
  form.FireResize();
  form.FireShow();
  view.MakeVisible(activate);
  form.SetInitialFocus();
  if (activate) form.FireActivate();
}

ModalResult ScriptedRunner::ShowModal(Form& form) {
  if (form.Showing()) return ModalResult::kNone;
  StartShow(form, true, true);
  const std::size_t record = shown.size();
  shown.push_back({form.name(), form.caption(), true, form.Handle(), FocusName(form)});

  if (!form.ModalDone() && !scripts_.empty()) {
    Script script = std::move(scripts_.front());
    scripts_.pop_front();
    shown[record].scripted = true;
    if (script) script(form);
  }
  if (!form.ModalDone()) {
    shown[record].leftOpen = shown[record].scripted;
    form.Close();
    // Handlers that refuse even the close box cannot hold a test forever.
    form.ForceModalEnd(ModalResult::kCancel);
  }
  shown[record].result = form.modalResult();
  shown[record].focusAtClose = FocusName(form);
  form.EndShowing();
  DropView(form);
  return form.modalResult();
}

void ScriptedRunner::Show(Form& form, bool activate) {
  if (form.Showing()) {
    if (activate && windows_) windows_->BringToFront(form.Handle());
    return;
  }
  StartShow(form, false, activate);
  shown.push_back({form.name(), form.caption(), false, form.Handle(), FocusName(form)});
}

std::string ScriptedRunner::Popup(MenuItem& menu, platform::Point at, platform::WindowHandle owner) {
  PoppedUp record;
  for (const MenuItem& item : menu.items) {
    if (item.visible) record.captions.push_back(item.caption);
  }
  record.at = at;
  record.owner = owner;
  std::string pick;
  if (!picks_.empty()) {
    pick = std::move(picks_.front());
    picks_.pop_front();
  }
  if (pick.empty() || !menu.CanChoose(pick)) pick.clear();
  record.picked = pick;
  popups.push_back(record);
  if (!pick.empty()) {
    // Copied first: the handler may rebuild the menu.
    auto handler = menu.Find(pick)->onClick;
    if (handler) handler();
  }
  return pick;
}

namespace {
template <class T>
std::optional<T> NextAnswer(std::deque<std::optional<T>>& answers) {
  if (answers.empty()) return std::nullopt;
  std::optional<T> answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}
}  // namespace

std::optional<std::string> ScriptedRunner::OpenFileDialog(const FileDialog& dialog, platform::WindowHandle owner) {
  dialogs.push_back({"open", dialog.title, dialog.filter, owner});
  return NextAnswer(fileAnswers_);
}

std::optional<std::string> ScriptedRunner::SaveFileDialog(const FileDialog& dialog, platform::WindowHandle owner) {
  dialogs.push_back({"save", dialog.title, dialog.filter, owner});
  return NextAnswer(fileAnswers_);
}

std::optional<Font> ScriptedRunner::FontDialog(const Font& /*initial*/, platform::WindowHandle owner) {
  dialogs.push_back({"font", {}, {}, owner});
  return NextAnswer(fontAnswers_);
}

std::optional<std::string> ScriptedRunner::FolderDialog(const std::string& title, platform::WindowHandle owner) {
  dialogs.push_back({"folder", title, {}, owner});
  return NextAnswer(fileAnswers_);
}

std::vector<Form*> ScriptedRunner::OpenForms() const {
  std::vector<Form*> open;
  for (Form* f : order_) {
    if (f->Showing()) open.push_back(f);
  }
  return open;
}

Form* ScriptedRunner::FindOpen(std::string_view caption) const {
  Form* found = nullptr;
  for (Form* f : OpenForms()) {
    if (f->caption() == caption) found = f;
  }
  return found;
}

}  // namespace wdx::forms
