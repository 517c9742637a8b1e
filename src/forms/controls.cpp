#include "forms/controls.h"

#include <algorithm>

#include "forms/form.h"

namespace wdx::forms {

namespace {

// Upper case of a code page 1252 character, for the sort order of sorted lists.
unsigned char FoldForSort(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<unsigned char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<unsigned char>(u - 32);
  return u;
}

// Case-insensitive order; texts that differ only in case keep a fixed order among themselves.
bool SortsBefore(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = FoldForSort(a[i]);
    unsigned char y = FoldForSort(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

const std::string kNoItem;

}  // namespace

// --- Label

Label::Label(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kLabel, std::move(name), std::move(caption), 65, 13) {}

void Label::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  Changed(prop::kOptions);
}

void Label::SetAlignment(Alignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(prop::kOptions);
}

// --- Button

Button::Button(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kButton, std::move(name), std::move(caption), 75, 25) {
  focusable_ = true;
}

void Button::SetDefault(bool v) {
  if (v == isDefault_) return;
  isDefault_ = v;
  Changed(prop::kOptions);
}

void Button::SetCancel(bool v) { isCancel_ = v; }

void Button::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  Changed(prop::kOptions);
}

void Button::UserClick() {
  if (modalResult_ != ModalResult::kNone) form().SetModalResult(modalResult_);
  Control::UserClick();
}

// --- Edit

TextSelection TextBox::selection() const {
  TextSelection s = source_ ? source_() : selection_;
  const int size = static_cast<int>(text().size());
  s.start = std::clamp(s.start, 0, size);
  s.length = std::clamp(s.length, 0, size - s.start);
  return s;
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(text().size());
  selection_.start = std::clamp(start, 0, size);
  selection_.length = std::clamp(length, 0, size - selection_.start);
  Changed(prop::kSelection);
}

Edit::Edit(Parent parent, std::string name, std::string text)
    : TextBox(parent, ControlKind::kEdit, std::move(name), std::move(text), 121, 21) {
  focusable_ = true;
}

void Edit::SetMaxLength(int n) {
  n = std::max(n, 0);
  if (n == maxLength_) return;
  maxLength_ = n;
  Changed(prop::kOptions);
}

void Edit::SetPasswordChar(char c) {
  if (c == passwordChar_) return;
  passwordChar_ = c;
  Changed(prop::kOptions);
}

void Edit::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  Changed(prop::kOptions);
}

// --- Memo

Memo::Memo(Parent parent, std::string name, std::string text)
    : TextBox(parent, ControlKind::kMemo, std::move(name), std::move(text), 185, 89) {
  focusable_ = true;
}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& t = text();
  if (t.empty()) return lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' || t[i] == '\n') {
      lines.push_back(t.substr(start, i - start));
      if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  // A text that ends with a line break has no empty last line (as a memo counts them).
  if (start < t.size()) lines.push_back(t.substr(start));
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) t += "\r\n";
    t += lines[i];
  }
  SetText(std::move(t));
}

void Memo::SetMaxLength(int n) {
  n = std::max(n, 0);
  if (n == maxLength_) return;
  maxLength_ = n;
  Changed(prop::kOptions);
}

void Memo::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  Changed(prop::kOptions);
}

void Memo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  Changed(prop::kOptions);
}

void Memo::SetScrollBars(ScrollBars s) {
  if (s == scrollBars_) return;
  scrollBars_ = s;
  Changed(prop::kOptions);
}

void Memo::SetWantReturns(bool v) { wantReturns_ = v; }

// --- CheckBox and RadioButton

CheckBox::CheckBox(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kCheckBox, std::move(name), std::move(caption), 97, 17) {
  focusable_ = true;
}

void CheckBox::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(prop::kChecked);
}

void CheckBox::UserClick() {
  SetChecked(!checked_);
  Control::UserClick();
}

RadioButton::RadioButton(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kRadioButton, std::move(name), std::move(caption), 113, 17) {
  focusable_ = true;
}

void RadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(prop::kChecked);
  if (!v) return;
  for (Control* c : form().controls()) {
    if (c == this || c->kind() != ControlKind::kRadioButton || c->parent() != parent()) continue;
    static_cast<RadioButton*>(c)->SetChecked(false);
  }
}

bool RadioButton::TabTarget() const { return checked_; }

void RadioButton::UserClick() {
  if (checked_) return;
  SetChecked(true);
  Control::UserClick();
}

// --- ListControl

ListControl::ListControl(Parent parent, ControlKind kind, std::string name, int width, int height)
    : Control(parent, kind, std::move(name), {}, width, height) {
  focusable_ = true;
}

const std::string& ListControl::item(int index) const {
  if (index < 0 || index >= count()) return kNoItem;
  return items_[static_cast<std::size_t>(index)];
}

void ListControl::SortItems() { std::stable_sort(items_.begin(), items_.end(), SortsBefore); }

void ListControl::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (sorted_) SortItems();
  itemIndex_ = -1;
  ItemsReplaced();
  Changed(prop::kItems | prop::kSelection);
}

int ListControl::AddItem(std::string item) {
  int index = count();
  if (sorted_) {
    auto at = std::upper_bound(items_.begin(), items_.end(), item, SortsBefore);
    index = static_cast<int>(at - items_.begin());
  }
  InsertItem(index, std::move(item));
  return index;
}

void ListControl::InsertItem(int index, std::string item) {
  index = std::clamp(index, 0, count());
  items_.insert(items_.begin() + index, std::move(item));
  if (itemIndex_ >= index) ++itemIndex_;
  ItemInserted(index);
  Changed(prop::kItems | prop::kSelection);
}

void ListControl::DeleteItem(int index) {
  if (index < 0 || index >= count()) return;
  items_.erase(items_.begin() + index);
  if (itemIndex_ == index) {
    itemIndex_ = -1;
  } else if (itemIndex_ > index) {
    --itemIndex_;
  }
  ItemDeleted(index);
  Changed(prop::kItems | prop::kSelection);
}

void ListControl::Clear() { SetItems({}); }

int ListControl::IndexOf(const std::string& item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ListControl::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  if (!v || items_.empty()) return;
  SortItems();
  itemIndex_ = -1;
  ItemsReplaced();
  Changed(prop::kItems | prop::kSelection);
}

void ListControl::SetItemIndex(int index) {
  if (index < 0 || index >= count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(prop::kSelection);
}

// --- ListBox

ListBox::ListBox(Parent parent, std::string name)
    : ListControl(parent, ControlKind::kListBox, std::move(name), 121, 97) {}

void ListBox::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  selected_.assign(items().size(), false);
  if (!v && itemIndex() >= 0) selected_[static_cast<std::size_t>(itemIndex())] = true;
  Changed(prop::kOptions | prop::kSelection);
}

bool ListBox::selected(int index) const {
  if (index < 0 || index >= count()) return false;
  return selected_[static_cast<std::size_t>(index)];
}

void ListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= count()) return;
  if (!multiSelect_) {
    // One row at most: selecting is choosing it, unselecting the chosen one leaves none.
    if (v) {
      SetItemIndex(index);
    } else if (itemIndex() == index) {
      SetItemIndex(-1);
    }
    return;
  }
  if (selected_[static_cast<std::size_t>(index)] == v) return;
  selected_[static_cast<std::size_t>(index)] = v;
  Changed(prop::kSelection);
}

int ListBox::selectedCount() const { return static_cast<int>(std::count(selected_.begin(), selected_.end(), true)); }

void ListBox::SetItemIndex(int index) {
  if (!multiSelect_) {
    selected_.assign(items().size(), false);
    if (index >= 0 && index < count()) selected_[static_cast<std::size_t>(index)] = true;
  }
  ListControl::SetItemIndex(index);
}

bool ListBox::UserPick(int index) {
  if (index < 0 || index >= count()) return false;
  FocusByUser();
  if (multiSelect_) {
    for (int i = 0; i < count(); ++i) SetSelected(i, i == index);
  }
  SetItemIndex(index);
  form().Dispatch(onClick);
  return true;
}

void ListBox::ItemsReplaced() { selected_.assign(items().size(), false); }

void ListBox::ItemInserted(int index) { selected_.insert(selected_.begin() + index, false); }

void ListBox::ItemDeleted(int index) { selected_.erase(selected_.begin() + index); }

// --- ComboBox

ComboBox::ComboBox(Parent parent, std::string name, ComboStyle style)
    : ListControl(parent, ControlKind::kComboBox, std::move(name), 145, 21), style_(style) {}

void ComboBox::SetStyle(ComboStyle s) {
  if (s == style_) return;
  style_ = s;
  if (s == ComboStyle::kDropDownList) StoreText(item(itemIndex()));
  Changed(prop::kOptions | prop::kText);
}

void ComboBox::SetMaxLength(int n) {
  n = std::max(n, 0);
  if (n == maxLength_) return;
  maxLength_ = n;
  Changed(prop::kOptions);
}

void ComboBox::SetItemIndex(int index) {
  ListControl::SetItemIndex(index);
  // Choosing an item (or none) shows its text, as the native box does.
  if (text() != item(itemIndex())) {
    StoreText(item(itemIndex()));
    Changed(prop::kText);
  }
}

void ComboBox::SetComboText(std::string text) {
  if (style_ == ComboStyle::kDropDownList) {
    SetItemIndex(IndexOf(text));
    return;
  }
  if (itemIndex() >= 0 && item(itemIndex()) != text) ListControl::SetItemIndex(-1);
  SetText(std::move(text));
}

bool ComboBox::UserPick(int index) {
  if (index < 0 || index >= count()) return false;
  FocusByUser();
  const std::string before = text();
  SetItemIndex(index);
  form().Dispatch([&] {
    if (onClick) onClick();
    if (text() != before && onChange) onChange();
  });
  return true;
}

void ComboBox::ItemsReplaced() {
  if (style_ == ComboStyle::kDropDownList && !text().empty()) {
    StoreText({});
    Changed(prop::kText);
  }
}

void ComboBox::ItemDeleted(int /*index*/) {
  if (style_ == ComboStyle::kDropDownList && text() != item(itemIndex())) {
    StoreText(item(itemIndex()));
    Changed(prop::kText);
  }
}

// --- Containers

GroupBox::GroupBox(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kGroupBox, std::move(name), std::move(caption), 185, 105) {}

Panel::Panel(Parent parent, std::string name, std::string caption)
    : Control(parent, ControlKind::kPanel, std::move(name), std::move(caption), 185, 41) {}

void Panel::SetBevel(bool v) {
  if (v == bevel_) return;
  bevel_ = v;
  Changed(prop::kOptions);
}

PageControl::PageControl(Parent parent, std::string name)
    : Control(parent, ControlKind::kPageControl, std::move(name), {}, 289, 193) {
  focusable_ = true;
}

std::vector<TabSheet*> PageControl::pages() const {
  std::vector<TabSheet*> result;
  for (Control* c : form().controls()) {
    if (c->kind() == ControlKind::kTabSheet && c->parent() == this) result.push_back(static_cast<TabSheet*>(c));
  }
  return result;
}

TabSheet* PageControl::activePage() const {
  auto all = pages();
  if (activePage_ < 0 || activePage_ >= static_cast<int>(all.size())) return nullptr;
  return all[static_cast<std::size_t>(activePage_)];
}

void PageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= static_cast<int>(pages().size())) return;
  if (index == activePage_) return;
  activePage_ = index;
  Changed(prop::kSelection);
}

void PageControl::SetActivePage(const TabSheet* page) {
  if (page && &page->pageControl() == this) SetActivePageIndex(page->pageIndex());
}

bool PageControl::UserPick(int index) {
  if (index < 0 || index >= static_cast<int>(pages().size())) return false;
  if (index == activePage_) return true;
  SetActivePageIndex(index);
  Form& f = form();
  if (f.activeControl() && !f.activeControl()->CanFocus()) f.SetFocus(this);
  f.Dispatch(onChange);
  return true;
}

void PageControl::PageAdded(TabSheet* /*page*/) {
  // The first page becomes the active one.
  if (activePage_ < 0) activePage_ = 0;
  Changed(prop::kItems | prop::kSelection);
}

void PageControl::PageRemoved(TabSheet* page) {
  auto all = pages();
  int removed = static_cast<int>(std::find(all.begin(), all.end(), page) - all.begin());
  int remaining = static_cast<int>(all.size()) - 1;
  if (activePage_ > removed || activePage_ >= remaining) --activePage_;
  if (activePage_ < 0 && remaining > 0) activePage_ = 0;
  Changed(prop::kItems | prop::kSelection);
}

TabSheet::TabSheet(PageControl* pages, std::string name, std::string caption)
    : Control(pages, ControlKind::kTabSheet, std::move(name), std::move(caption), 0, 0), pages_(pages) {
  SetBounds(PageControl::kPageLeft, PageControl::kPageTop,
            pages->width() - PageControl::kPageLeft - PageControl::kPageRightMargin,
            pages->height() - PageControl::kPageTop - PageControl::kPageBottomMargin);
  pages_->PageAdded(this);
}

TabSheet::~TabSheet() { pages_->PageRemoved(this); }

int TabSheet::pageIndex() const {
  auto all = pages_->pages();
  auto it = std::find(all.begin(), all.end(), this);
  return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}

SpeedButton::SpeedButton(Parent parent, std::string name, Glyph glyph, std::string hint)
    : Control(parent, ControlKind::kSpeedButton, std::move(name), {}, 25, 25), glyph_(glyph), hint_(std::move(hint)) {}

SpeedButton::SpeedButton(Parent parent, std::string name, Picture picture, int pictureSize, std::string hint)
    : Control(parent, ControlKind::kSpeedButton, std::move(name), {}, pictureSize + 4, pictureSize + 4),
      glyph_(Glyph::kNew),
      picture_(std::move(picture)),
      pictureSize_(pictureSize),
      hint_(std::move(hint)) {}

void SpeedButton::SetPicture(Picture picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Changed(prop::kOptions);
}

void SpeedButton::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  Changed(prop::kOptions);
}

SpinButton::SpinButton(Parent parent, std::string name)
    : Control(parent, ControlKind::kSpinButton, std::move(name), {}, 20, 25) {}

// --- Timer

Timer::Timer(Form* form, std::string name, std::uint32_t intervalMs, bool enabled)
    : form_(form), name_(std::move(name)), id_(form->AddTimer(this)), interval_(intervalMs), enabled_(enabled) {}

Timer::~Timer() { form_->RemoveTimer(this); }

void Timer::SetInterval(std::uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  form_->TimerChanged(*this);
}

void Timer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  form_->TimerChanged(*this);
}

}  // namespace wdx::forms
