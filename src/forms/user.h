// What a user does to a form, in model terms: click, type, pick, press Enter or Esc, close.
// The scripted runner's tests call these; the Windows view calls the same functions when the
// native controls report real input, so both run one set of rules:
//
// - Nothing happens (and false comes back) unless the form is up and accepting input and the
//   control is usable (showing and enabled, with its containers).
// - Clicking a button sets the form's ModalResult to the button's own (when it has one), then
//   runs its onClick; a check box toggles, a radio button becomes checked (onClick only when
//   it was not checked already); controls that take the focus get it first.
// - Handlers run through Form::Dispatch: a close they ask for happens after they return.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/draw_list.h"
#include "forms/form.h"
#include "forms/grid.h"
#include "forms/menu.h"

namespace wdx::forms::user {

bool Click(Control& control);
bool DoubleClick(Control& control);
// A click of the right mouse button on a speed button (onRightClick).
bool RightClick(SpeedButton& button);
// A click of the right mouse button on row `index` of an owner-drawn list (onRightClick).
bool RightClickRow(DrawListBox& list, int index);
// Replaces the text of an edit, memo or drop-down combo box as if typed: the control gets the
// focus, the text is cut to its maximum length, and onChange runs when the text changed.
// Read-only fields refuse.
bool EnterText(Control& control, std::string_view text);
// The view's report that the user changed a native field's text (no length limit applied).
bool TextChanged(Control& control, std::string text);
// Picks an entry: a list box row (onClick), a combo box item (onClick, then onChange when
// the text changed), a page of a page control (onChange).
bool Select(Control& control, int index);
bool Focus(Control& control);
// Moves the focus to the next (previous) control that Tab stops at.
bool Tab(Form& form, bool backwards = false);
// Enter: presses the focused button, or else the default button; a memo that wants returns
// keeps the key. False when no button was pressed.
bool PressEnter(Form& form);
// Esc: presses the cancel button; false when there is none.
bool PressEscape(Form& form);
// Chooses the item of that name from the form's menu bar (onClick); false when the item
// cannot be chosen (missing, hidden or disabled, or inside a hidden or disabled menu).
bool ChooseMenu(Form& form, std::string_view itemName);
// A key that may be a menu shortcut: runs the item of the form's menu bar that it chooses;
// false when it chooses none.
bool PressShortcut(Form& form, const Shortcut& key);
// Alt and a character: the first page of a usable page control whose tab caption carries the
// character as its accelerator ("&Properties" and P) becomes the active page (onChange); false
// when no tab has it, or when a menu of the form's menu bar has it (the menu opens instead).
bool PressPageAccelerator(Form& form, char ch);
// The close box of the caption (or Alt+F4): Form::Close.
bool CloseBox(Form& form);
bool SpinUp(SpinButton& spin);
bool SpinDown(SpinButton& spin);
// One tick of a running timer of a form that is up.
bool FireTimer(Timer& timer);
// With the form's keyPreview the key or character goes to onKeyDown / onKeyPress first;
// returns what is left of it for the focused control (0 when the handler swallowed it).
std::uint8_t KeyDown(Form& form, std::uint8_t vk);
char KeyPress(Form& form, char ch);

// A grid: the user ends dragging a column border at `width` (only a width above 1 counts: the
// column takes it, then onColumnSized runs).
bool SizeColumn(DrawGrid& grid, int col, int width);
// A mouse button goes down and up in a cell: a left click on a data row chooses it first;
// then onCellClick runs.
bool ClickCell(DrawGrid& grid, MouseButton button, int col, int row);
// Keys typed into a grid that has the focus: onKeyPress / onKeyDown; returns what is left of
// the key for the grid itself (0: swallowed).
char KeyPress(DrawGrid& grid, char ch);
std::uint8_t KeyDown(DrawGrid& grid, std::uint8_t vk);

}  // namespace wdx::forms::user
