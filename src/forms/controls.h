// The controls dialogs are built from, and the form timer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/canvas.h"
#include "forms/control.h"

namespace wdx::forms {

class Label : public Control {
 public:
  Label(Parent parent, std::string name, std::string caption = {});
  bool wordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  Alignment alignment() const { return alignment_; }
  void SetAlignment(Alignment a);

 private:
  bool wordWrap_ = false;
  Alignment alignment_ = Alignment::kLeft;
};

// A push button. Clicking it first sets the form's ModalResult to its own (when it has one),
// then runs onClick; the form closes after the handler unless the handler reset the result.
class Button : public Control {
 public:
  Button(Parent parent, std::string name, std::string caption = {});
  // Enter anywhere outside a multi-line field presses the default button.
  bool isDefault() const { return isDefault_; }
  void SetDefault(bool v);
  // Esc presses the cancel button.
  bool isCancel() const { return isCancel_; }
  void SetCancel(bool v);
  ModalResult modalResult() const { return modalResult_; }
  void SetModalResult(ModalResult r) { modalResult_ = r; }
  // The caption wraps, and "\n" starts a new line.
  bool multiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  void UserClick() override;

 private:
  bool multiLine_ = false;
  bool isDefault_ = false;
  bool isCancel_ = false;
  ModalResult modalResult_ = ModalResult::kNone;
};

// A range of characters inside the text of an edit or a memo.
struct TextSelection {
  int start = 0;
  int length = 0;
  bool operator==(const TextSelection&) const = default;
};

// What an edit and a memo share: the selection inside their text. The user moves it without
// any notice, so while the control is shown its view answers for it; otherwise (and under the
// scripted runner) it is the model's own.
class TextBox : public Control {
 public:
  TextSelection selection() const;
  // Selects `length` characters from `start` (both kept within the text) and brings them into
  // view.
  void SetSelection(int start, int length);
  // The selection code set last, which the view pushes into the shown control.
  const TextSelection& selectionSet() const { return selection_; }
  // The view's: where the shown control's selection is read from (nullptr: the model's own).
  void SetSelectionSource(std::function<TextSelection()> source) { source_ = std::move(source); }

 protected:
  using Control::Control;

 private:
  TextSelection selection_;
  std::function<TextSelection()> source_;
};

// A one-line text field. maxLength limits what the user types (0: no limit); text set by code
// is taken whole, as Windows does.
class Edit : public TextBox {
 public:
  Edit(Parent parent, std::string name, std::string text = {});
  int maxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  // '\0' shows the text; any other character masks every typed character.
  char passwordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  bool readOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool TakesTyping() const override { return !readOnly_; }
  int typingLimit() const override { return maxLength_; }

 private:
  int maxLength_ = 0;
  char passwordChar_ = '\0';
  bool readOnly_ = false;
};

// A multi-line text field. Its text keeps CR LF line breaks.
class Memo : public TextBox {
 public:
  Memo(Parent parent, std::string name, std::string text = {});
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  int maxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  bool readOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool wordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  ScrollBars scrollBars() const { return scrollBars_; }
  void SetScrollBars(ScrollBars s);
  // Enter makes a new line (true) or presses the default button (false).
  bool wantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v);
  bool TakesTyping() const override { return !readOnly_; }
  int typingLimit() const override { return maxLength_; }

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool wordWrap_ = true;
  ScrollBars scrollBars_ = ScrollBars::kNone;
  bool wantReturns_ = true;
};

class CheckBox : public Control {
 public:
  CheckBox(Parent parent, std::string name, std::string caption = {});
  bool checked() const { return checked_; }
  void SetChecked(bool v);
  // Toggles the box, then runs onClick.
  void UserClick() override;

 private:
  bool checked_ = false;
};

// Radio buttons exclude each other within the same parent (form, group box, panel or page).
class RadioButton : public Control {
 public:
  RadioButton(Parent parent, std::string name, std::string caption = {});
  bool checked() const { return checked_; }
  // Checking one unchecks the others of its group.
  void SetChecked(bool v);
  bool TabTarget() const override;
  // Checks the button; onClick runs only when it was not checked already.
  void UserClick() override;

 private:
  bool checked_ = false;
};

// Items, the selected item and sorting, shared by list and combo boxes. A sorted list keeps
// its items in case-insensitive order as they are added.
class ListControl : public Control {
 public:
  const std::vector<std::string>& items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }
  const std::string& item(int index) const;
  void SetItems(std::vector<std::string> items);
  // Returns the index the item went to.
  int AddItem(std::string item);
  void InsertItem(int index, std::string item);
  void DeleteItem(int index);
  void Clear();
  int IndexOf(const std::string& item) const;
  bool sorted() const { return sorted_; }
  void SetSorted(bool v);
  // -1: nothing selected. An index outside the items selects nothing.
  int itemIndex() const { return itemIndex_; }
  virtual void SetItemIndex(int index);

 protected:
  ListControl(Parent parent, ControlKind kind, std::string name, int width, int height);
  virtual void ItemsReplaced() {}
  virtual void ItemInserted(int /*index*/) {}
  virtual void ItemDeleted(int /*index*/) {}

 private:
  void SortItems();
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  bool sorted_ = false;
};

class ListBox : public ListControl {
 public:
  ListBox(Parent parent, std::string name);
  // Several rows may be selected; itemIndex is then the row with the focus rectangle.
  bool multiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool selected(int index) const;
  void SetSelected(int index, bool v);
  int selectedCount() const;
  // Single selection: selects the row; multi-selection: moves the focus row only.
  void SetItemIndex(int index) override;
  // Selects that row alone (onClick).
  bool UserPick(int index) override;

 protected:
  void ItemsReplaced() override;
  void ItemInserted(int index) override;
  void ItemDeleted(int index) override;

 private:
  bool multiSelect_ = false;
  std::vector<bool> selected_;
};

// A combo box. Drop-down lists show the selected item as their text; drop-downs have a text
// of their own that the user types, and selecting an item copies it into the text.
class ComboBox : public ListControl {
 public:
  ComboBox(Parent parent, std::string name, ComboStyle style = ComboStyle::kDropDown);
  ComboStyle style() const { return style_; }
  void SetStyle(ComboStyle s);
  int maxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  void SetItemIndex(int index) override;
  // The text changes: a drop-down list selects the item of that text, if any; a drop-down
  // keeps the selection only when the text is still the selected item's.
  void SetComboText(std::string text);
  // Selects the item (onClick, then onChange when the text changed).
  bool UserPick(int index) override;
  bool TakesTyping() const override { return style_ == ComboStyle::kDropDown; }
  int typingLimit() const override { return maxLength_; }
  void UserText(std::string text) override { SetComboText(std::move(text)); }

 protected:
  void ItemsReplaced() override;
  void ItemDeleted(int index) override;

 private:
  ComboStyle style_;
  int maxLength_ = 0;
};

class GroupBox : public Control {
 public:
  GroupBox(Parent parent, std::string name, std::string caption = {});
};

class Panel : public Control {
 public:
  Panel(Parent parent, std::string name, std::string caption = {});
  // A raised edge around the panel.
  bool bevel() const { return bevel_; }
  void SetBevel(bool v);

 private:
  bool bevel_ = true;
};

class TabSheet;

// Pages with tabs; each page is a TabSheet created with the page control as its parent.
// Only the controls of the active page show.
class PageControl : public Control {
 public:
  PageControl(Parent parent, std::string name);
  std::vector<TabSheet*> pages() const;
  int activePageIndex() const { return activePage_; }
  TabSheet* activePage() const;
  void SetActivePageIndex(int index);
  void SetActivePage(const TabSheet* page);
  // Turns to that page (onChange); the focus leaves a page that went away.
  bool UserPick(int index) override;

  // The page area inside the control (below the tabs), relative to it.
  static constexpr int kPageLeft = 4;
  static constexpr int kPageTop = 24;
  static constexpr int kPageRightMargin = 4;
  static constexpr int kPageBottomMargin = 4;

 private:
  friend class TabSheet;
  void PageAdded(TabSheet* page);
  void PageRemoved(TabSheet* page);
  int activePage_ = -1;
};

class TabSheet : public Control {
 public:
  TabSheet(PageControl* pages, std::string name, std::string caption = {});
  ~TabSheet() override;
  PageControl& pageControl() const { return *pages_; }
  int pageIndex() const;

 private:
  PageControl* pages_;
};

// The pictures a speed button can show (the system's standard small toolbar pictures).
enum class Glyph {
  kCut,
  kCopy,
  kPaste,
  kUndo,
  kRedo,
  kDelete,
  kNew,
  kOpen,
  kSave,
  kPrintPreview,
  kProperties,
  kHelp,
  kFind,
  kReplace,
  kPrint,
};

// A small flat button that shows a picture and, while the mouse rests on it, its hint. It
// never takes the keyboard focus.
class SpeedButton : public Control {
 public:
  SpeedButton(Parent parent, std::string name, Glyph glyph, std::string hint);
  // A button that shows an icon (built in or from a file) stretched to `pictureSize` pixels.
  SpeedButton(Parent parent, std::string name, Picture picture, int pictureSize, std::string hint);
  Glyph glyph() const { return glyph_; }
  const Picture& picture() const { return picture_; }
  void SetPicture(Picture picture);
  int pictureSize() const { return pictureSize_; }
  const std::string& hint() const { return hint_; }
  void SetHint(std::string hint);
  // A click with the right mouse button (press and release on the button).
  std::function<void()> onRightClick;

 private:
  Glyph glyph_;
  Picture picture_;
  int pictureSize_ = 16;
  std::string hint_;
};

// Two arrow buttons that step a number in a field beside them (the handlers do the stepping).
class SpinButton : public Control {
 public:
  SpinButton(Parent parent, std::string name);
  std::function<void()> onUpClick;
  std::function<void()> onDownClick;
};

// A form timer: while its form is up and it is enabled with an interval above 0, onTimer runs
// every interval milliseconds, from the message loop.
class Timer {
 public:
  Timer(Form* form, std::string name, std::uint32_t intervalMs = 1000, bool enabled = false);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  Form& form() const { return *form_; }
  const std::string& name() const { return name_; }
  // Unique within its form (the native timer id).
  std::uint32_t id() const { return id_; }
  std::uint32_t interval() const { return interval_; }
  // Changing the interval of a running timer restarts it.
  void SetInterval(std::uint32_t ms);
  bool enabled() const { return enabled_; }
  // Enabling starts a fresh interval.
  void SetEnabled(bool v);
  bool Running() const { return enabled_ && interval_ > 0; }

  std::function<void()> onTimer;

 private:
  Form* form_;
  std::string name_;
  std::uint32_t id_;
  std::uint32_t interval_;
  bool enabled_;
};

}  // namespace wdx::forms
