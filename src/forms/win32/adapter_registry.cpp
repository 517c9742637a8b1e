// The registry: which adapter serves which control kind.
#include <array>
#include <cstddef>
#include <utility>

#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

using AdapterGetter = const ControlAdapter& (*)();

constexpr std::pair<ControlKind, AdapterGetter> kRegistry[] = {
    {ControlKind::kLabel, &LabelAdapter},
    {ControlKind::kButton, &ButtonAdapter},
    {ControlKind::kEdit, &EditAdapter},
    {ControlKind::kMemo, &MemoAdapter},
    {ControlKind::kCheckBox, &CheckBoxAdapter},
    {ControlKind::kRadioButton, &RadioButtonAdapter},
    {ControlKind::kListBox, &ListBoxAdapter},
    {ControlKind::kComboBox, &ComboBoxAdapter},
    {ControlKind::kGroupBox, &GroupBoxAdapter},
    {ControlKind::kPanel, &PanelAdapter},
    {ControlKind::kPageControl, &PageControlAdapter},
    {ControlKind::kTabSheet, &TabSheetAdapter},
    {ControlKind::kSpinButton, &SpinButtonAdapter},
    {ControlKind::kDrawGrid, &DrawGridAdapter},
    {ControlKind::kSpeedButton, &SpeedButtonAdapter},
    {ControlKind::kDrawListBox, &DrawListBoxAdapter},
};

// A kind without an adapter gets no window, so a forgotten entry shows as a missing control
// rather than a crash.
class NoWindowAdapter : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override { return {}; }
};

}  // namespace

const ControlAdapter& AdapterFor(ControlKind kind) {
  for (const auto& [k, get] : kRegistry) {
    if (k == kind) return get();
  }
  static const NoWindowAdapter none;
  return none;
}

}  // namespace wdx::forms::win32
