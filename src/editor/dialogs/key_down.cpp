#include "editor/dialogs/key_down.h"

#include "editor/dialogs/dialog_layout.h"
#include "shared/command_fields.h"
#include "shared/command_layouts.h"

namespace wdx::editor {

namespace {

// Two columns of options wide enough for "Control Key Down" in the dialogs' font.
constexpr int kOptionColumn = 140;
constexpr int kOptionsWidth = 14 + 2 * kOptionColumn;

// The checked button's place among `buttons` (1-based), 0 when none is checked.
template <std::size_t N>
int CheckedOf(forms::RadioButton* const (&buttons)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->checked()) return static_cast<int>(i) + 1;
  }
  return 0;
}

template <std::size_t N>
void CheckAt(forms::RadioButton* const (&buttons)[N], int place, bool focus) {
  if (place < 1 || place > static_cast<int>(N)) return;
  buttons[place - 1]->SetChecked(true);
  if (focus) buttons[place - 1]->SetFocus();
}

}  // namespace

// --- Keys up or down

std::optional<forms::Fault> KeyUpDownModel::Check() const {
  if (!cmd::key_action::TagOf(KeyAction)) return forms::Fault{"CtrlDown", "No key action selected.  Please select one."};
  return std::nullopt;
}

std::optional<std::string> KeyUpDownModel::Tag() const {
  const std::optional<TagId> id = cmd::key_action::TagOf(KeyAction);
  if (!id) return std::nullopt;
  return EncodeCommand(Command{*id, {}});
}

TDoKeyUpDown::TDoKeyUpDown(const DialogServices& services)
    : CommandDialogOf("DoKeyUpDown", "Keys Up Or Down", "Keys Up Or Down", services) {
  // Two columns: the keys going down on the left, the same keys going up on the right.
  SetClientSize(layout::kMargin * 3 + kOptionsWidth + layout::kButtonWidth, 150);
  Options.SetBounds(layout::kMargin, layout::kMargin, kOptionsWidth, 134);
  layout::RadioGrid(buttons_, 2, kOptionColumn);
  layout::ButtonColumn(*this, OkButton, CancelButton, &HelpButton);
  UseButtons(OkButton, CancelButton, &HelpButton);
}

void TDoKeyUpDown::ShowModel(const KeyUpDownModel& m) { CheckAt(buttons_, m.KeyAction, NewCommand == 1); }

KeyUpDownModel TDoKeyUpDown::ReadModel() const { return {CheckedOf(buttons_)}; }

// --- Toggle keys

std::optional<forms::Fault> ToggleKeysModel::Check() const {
  if (ToggleKind < cmd::lock_key::kFirst || ToggleKind > cmd::lock_key::kLast) {
    return forms::Fault{"CapsOn", "No lock key selected.  Please select one."};
  }
  return std::nullopt;
}

std::optional<std::string> ToggleKeysModel::Tag() const {
  return EncodeCommand(Command{TagId::kTog, {FieldValue::Number(static_cast<std::int32_t>(ToggleKind))}});
}

TDoToggleKeys::TDoToggleKeys(const DialogServices& services)
    : CommandDialogOf("DoToggleKeys", "Toggle Keys", "Toggle Keys", services) {
  SetClientSize(layout::kMargin * 3 + kOptionsWidth + layout::kButtonWidth, 124);
  Options.SetBounds(layout::kMargin, layout::kMargin, kOptionsWidth, 108);
  layout::RadioGrid(buttons_, 2, kOptionColumn);
  layout::ButtonColumn(*this, OkButton, CancelButton, &HelpButton);
  UseButtons(OkButton, CancelButton, &HelpButton);
}

void TDoToggleKeys::ShowModel(const ToggleKeysModel& m) {
  CheckAt(buttons_, static_cast<int>(m.ToggleKind), NewCommand == 1);
}

ToggleKeysModel TDoToggleKeys::ReadModel() const { return {static_cast<std::uint32_t>(CheckedOf(buttons_))}; }

}  // namespace wdx::editor
