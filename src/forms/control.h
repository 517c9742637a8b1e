// The base of every control of a form: a name, a place inside its parent, a caption or text,
// visibility, enabling, a font and the click and change handlers.
//
// Controls are members of their dialog class and register with their form (or with a
// container control) when constructed, in declaration order: that order is the creation and
// tab order. Positions are relative to the parent's client area, in pixels.
//
// Setters never run event handlers (a dialog that ticks a box from code calls its own
// EnableDisable); only what the user does (forms/user.h, or the view reporting real input)
// runs them. Every setter tells the form's view at once, so the native controls follow.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "forms/types.h"

namespace wdx::forms {

class Form;
class Control;

enum class ControlKind {
  kLabel,
  kButton,
  kEdit,
  kMemo,
  kCheckBox,
  kRadioButton,
  kListBox,
  kComboBox,
  kGroupBox,
  kPanel,
  kPageControl,
  kTabSheet,
  kSpinButton,
  kDrawGrid,
  kSpeedButton,
  kDrawListBox,
};

// Which properties a change touched (bit set handed to the view).
namespace prop {
constexpr unsigned kBounds = 1u << 0;
constexpr unsigned kVisible = 1u << 1;
constexpr unsigned kEnabled = 1u << 2;
constexpr unsigned kText = 1u << 3;
constexpr unsigned kFont = 1u << 4;
constexpr unsigned kChecked = 1u << 5;
constexpr unsigned kItems = 1u << 6;
constexpr unsigned kSelection = 1u << 7;
constexpr unsigned kOptions = 1u << 8;  // kind-specific settings: max length, read-only, default...
}  // namespace prop

// Where a control lives: directly on a form, or inside a container control (group box,
// panel, tab sheet). Built implicitly from `this` of a dialog or from a container's address.
class Parent {
 public:
  Parent(Form* form);          // NOLINT(google-explicit-constructor): the point is `{this, ...}`
  Parent(Control* container);  // NOLINT(google-explicit-constructor)
  Form* form() const { return form_; }
  Control* control() const { return control_; }

 private:
  Form* form_;
  Control* control_;
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Form& form() const { return *form_; }
  // The container this control sits in; nullptr when it sits directly on the form.
  Control* parent() const { return parent_; }
  bool IsContainer() const;

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int right() const { return left_ + width_; }
  int bottom() const { return top_ + height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  // The caption of labels, buttons, boxes and pages; the text of edits, memos and combo boxes.
  const std::string& text() const { return text_; }
  void SetText(std::string text);
  const std::string& caption() const { return text_; }
  void SetCaption(std::string text) { SetText(std::move(text)); }

  bool visible() const { return visible_; }
  void SetVisible(bool v);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Visible, inside visible containers, and (inside a page control) on the active page.
  bool Showing() const;
  // Showing, and enabled together with every container it sits in.
  bool Usable() const;

  // Its own font, else its container's, else the form's.
  const Font& font() const;
  void SetFont(const Font& font);
  void SetFontColor(Color color);

  // Whether Tab stops here (radio buttons: only the checked one of a group).
  virtual bool TabTarget() const;
  // A control that takes the keyboard focus and is usable now.
  bool CanFocus() const;
  bool Focused() const;
  // Puts the focus here (see Form::SetFocus).
  bool SetFocus();

  std::function<void()> onClick;
  std::function<void()> onDblClick;
  std::function<void()> onChange;
  // The keyboard focus came here, or left for another control of the form.
  std::function<void()> onEnter;
  std::function<void()> onExit;

  // --- What the user's actions do to a control of this kind. forms/user.h calls these once it
  // has found that the control takes input; dialog code does not.

  // Clicking into a control that takes the focus gives it the focus first.
  void FocusByUser();
  // A click (inside Form::Dispatch): runs onClick; buttons and boxes do more first.
  virtual void UserClick();
  // Picks entry `index` (a row, an item, a page) and runs the handlers; false when the kind
  // has no entries or there is no such entry.
  virtual bool UserPick(int index);
  // Whether the user can type this control's text, and at most how many characters (0: any).
  virtual bool TakesTyping() const { return false; }
  virtual int typingLimit() const { return 0; }
  // What the user typed becomes the control's text (no handler runs here).
  virtual void UserText(std::string text) { SetText(std::move(text)); }

 protected:
  Control(Parent parent, ControlKind kind, std::string name, std::string text, int width, int height);
  // Tells the form's view which properties changed.
  void Changed(unsigned props);
  // Sets the text without telling anyone (for controls whose text follows another property).
  void StoreText(std::string text) { text_ = std::move(text); }
  bool focusable_ = false;

 private:
  Form* form_;
  Control* parent_;
  ControlKind kind_;
  std::string name_;
  std::string text_;
  int left_ = 0;
  int top_ = 0;
  int width_;
  int height_;
  bool visible_ = true;
  bool enabled_ = true;
  std::optional<Font> font_;
};

}  // namespace wdx::forms
