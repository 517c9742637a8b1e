#include "forms/user.h"

#include <vector>

namespace wdx::forms::user {

namespace {

bool CanAct(const Control& c) { return c.form().AcceptsInput() && c.Usable(); }

void Run(Form& form, const std::function<void()>& handler) { form.Dispatch(handler); }

}  // namespace

bool Click(Control& c) {
  if (!CanAct(c)) return false;
  c.FocusByUser();
  Run(c.form(), [&] { c.UserClick(); });
  return true;
}

bool RightClick(SpeedButton& b) {
  if (!CanAct(b)) return false;
  Run(b.form(), b.onRightClick);
  return true;
}

bool RightClickRow(DrawListBox& list, int index) {
  if (!CanAct(list) || index < 0 || index >= list.count() || !list.onRightClick) return false;
  list.form().Dispatch([&list, index] { list.onRightClick(index); });
  return true;
}

bool DoubleClick(Control& c) {
  if (!CanAct(c)) return false;
  c.FocusByUser();
  Run(c.form(), c.onDblClick);
  return true;
}

bool TextChanged(Control& c, std::string text) {
  if (!c.form().AcceptsInput()) return false;
  if (text == c.text()) return true;
  c.UserText(std::move(text));
  Run(c.form(), c.onChange);
  return true;
}

bool EnterText(Control& c, std::string_view text) {
  if (!CanAct(c) || !c.TakesTyping()) return false;
  c.FocusByUser();
  const int limit = c.typingLimit();
  if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) text = text.substr(0, static_cast<std::size_t>(limit));
  return TextChanged(c, std::string(text));
}

bool Select(Control& c, int index) { return CanAct(c) && c.UserPick(index); }

bool Focus(Control& c) {
  if (!CanAct(c) || !c.CanFocus()) return false;
  return c.form().SetFocus(&c);
}

bool Tab(Form& form, bool backwards) {
  if (!form.AcceptsInput()) return false;
  std::vector<Control*> stops;
  for (Control* c : form.controls()) {
    if ((c->TabTarget() || c == form.activeControl()) && c->CanFocus()) stops.push_back(c);
  }
  if (stops.empty()) return false;
  std::size_t at = stops.size();
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == form.activeControl()) at = i;
  }
  std::size_t next;
  if (at == stops.size()) {
    next = backwards ? stops.size() - 1 : 0;
  } else {
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  return form.SetFocus(stops[next]);
}

bool PressEnter(Form& form) {
  if (!form.AcceptsInput()) return false;
  Control* focused = form.activeControl();
  if (focused && focused->kind() == ControlKind::kButton && focused->Usable()) return Click(*focused);
  if (focused && focused->kind() == ControlKind::kMemo && static_cast<Memo*>(focused)->wantReturns()) return false;
  Button* button = form.DefaultButton();
  return button && Click(*button);
}

bool PressEscape(Form& form) {
  if (!form.AcceptsInput()) return false;
  Button* button = form.CancelButton();
  return button && Click(*button);
}

bool ChooseMenu(Form& form, std::string_view itemName) {
  MenuItem* bar = form.mainMenu();
  if (!form.AcceptsInput() || !bar || !bar->CanChoose(itemName)) return false;
  Run(form, bar->Find(itemName)->onClick);
  return true;
}

bool PressShortcut(Form& form, const Shortcut& key) {
  MenuItem* bar = form.mainMenu();
  if (!form.AcceptsInput() || !bar) return false;
  const MenuItem* item = bar->FindShortcut(key);
  if (!item) return false;
  auto handler = item->onClick;  // the handler may rebuild the menu
  Run(form, handler);
  return true;
}

namespace {
// The accelerator character of a caption ("&&" is a plain "&"), or NUL.
char AcceleratorOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return caption[i + 1];
    ++i;
  }
  return '\0';
}
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool PressPageAccelerator(Form& form, char ch) {
  if (!form.AcceptsInput() || ch == '\0') return false;
  if (const MenuItem* bar = form.mainMenu()) {
    for (const MenuItem& m : bar->items) {
      if (m.visible && Lower(AcceleratorOf(m.caption)) == Lower(ch)) return false;
    }
  }
  for (Control* c : form.controls()) {
    if (c->kind() != ControlKind::kPageControl || !c->Usable()) continue;
    auto* pages = static_cast<PageControl*>(c);
    const std::vector<TabSheet*> sheets = pages->pages();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      if (Lower(AcceleratorOf(sheets[i]->caption())) == Lower(ch)) return Select(*pages, static_cast<int>(i));
    }
  }
  return false;
}

bool CloseBox(Form& form) {
  if (!form.AcceptsInput()) return false;
  form.Close();
  return true;
}

bool SpinUp(SpinButton& spin) {
  if (!CanAct(spin)) return false;
  Run(spin.form(), spin.onUpClick);
  return true;
}

bool SpinDown(SpinButton& spin) {
  if (!CanAct(spin)) return false;
  Run(spin.form(), spin.onDownClick);
  return true;
}

bool FireTimer(Timer& timer) {
  Form& form = timer.form();
  if (!form.AcceptsInput() || !timer.Running()) return false;
  Run(form, timer.onTimer);
  return true;
}

bool SizeColumn(DrawGrid& grid, int col, int width) {
  if (!CanAct(grid) || col < 0 || col >= grid.colCount() || width <= 1) return false;
  grid.SetColWidth(col, width);
  Run(grid.form(), [&] {
    if (grid.onColumnSized) grid.onColumnSized(col, width);
  });
  return true;
}

bool ClickCell(DrawGrid& grid, MouseButton button, int col, int row) {
  if (!CanAct(grid) || col < 0 || col >= grid.colCount() || row < 0 || row >= grid.rowCount()) return false;
  grid.FocusByUser();
  if (button == MouseButton::kLeft && row > 0) grid.UserPick(row);
  Run(grid.form(), [&] {
    if (grid.onCellClick) grid.onCellClick(button, col, row);
  });
  return true;
}

char KeyPress(DrawGrid& grid, char ch) {
  if (!CanAct(grid) || !grid.onKeyPress) return ch;
  Run(grid.form(), [&] { grid.onKeyPress(ch); });
  return ch;
}

std::uint8_t KeyDown(DrawGrid& grid, std::uint8_t vk) {
  if (!CanAct(grid) || !grid.onKeyDown) return vk;
  Run(grid.form(), [&] { grid.onKeyDown(vk); });
  return vk;
}

std::uint8_t KeyDown(Form& form, std::uint8_t vk) {
  if (!form.AcceptsInput() || !form.keyPreview() || !form.onKeyDown) return vk;
  Run(form, [&] { form.onKeyDown(vk); });
  return vk;
}

char KeyPress(Form& form, char ch) {
  if (!form.AcceptsInput() || !form.keyPreview() || !form.onKeyPress) return ch;
  Run(form, [&] { form.onKeyPress(ch); });
  return ch;
}

}  // namespace wdx::forms::user
