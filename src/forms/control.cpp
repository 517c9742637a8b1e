#include "forms/control.h"

#include "forms/controls.h"
#include "forms/form.h"

namespace wdx::forms {

Parent::Parent(Form* form) : form_(form), control_(nullptr) {}

Parent::Parent(Control* container) : form_(&container->form()), control_(container) {
  // Only containers hold controls; anything else hands its child on to its own parent.
  while (control_ && !control_->IsContainer()) control_ = control_->parent();
}

Control::Control(Parent parent, ControlKind kind, std::string name, std::string text, int width, int height)
    : form_(parent.form()),
      parent_(parent.control()),
      kind_(kind),
      name_(std::move(name)),
      text_(std::move(text)),
      width_(width),
      height_(height) {
  form_->AddControl(this);
}

Control::~Control() { form_->RemoveControl(this); }

bool Control::IsContainer() const {
  return kind_ == ControlKind::kGroupBox || kind_ == ControlKind::kPanel || kind_ == ControlKind::kPageControl ||
         kind_ == ControlKind::kTabSheet;
}

void Control::Changed(unsigned props) { form_->ControlChanged(*this, props); }

void Control::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(prop::kBounds);
}

void Control::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(prop::kText);
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(prop::kVisible);
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(prop::kEnabled);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (c->kind_ == ControlKind::kTabSheet) {
      const auto* sheet = static_cast<const TabSheet*>(c);
      if (sheet->pageControl().activePage() != sheet) return false;
    }
  }
  return true;
}

bool Control::Usable() const {
  if (!Showing()) return false;
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

const Font& Control::font() const {
  if (font_) return *font_;
  return parent_ ? parent_->font() : form_->font();
}

void Control::SetFont(const Font& font) {
  font_ = font;
  Changed(prop::kFont);
}

void Control::SetFontColor(Color color) {
  Font f = font();
  f.color = color;
  SetFont(f);
}

bool Control::TabTarget() const { return focusable_; }

bool Control::CanFocus() const { return focusable_ && Usable(); }

bool Control::Focused() const { return form_->activeControl() == this; }

bool Control::SetFocus() { return form_->SetFocus(this); }

void Control::FocusByUser() {
  if (CanFocus() && !Focused()) form_->SetFocus(this);
}

void Control::UserClick() {
  if (onClick) onClick();
}

bool Control::UserPick(int /*index*/) { return false; }

}  // namespace wdx::forms
