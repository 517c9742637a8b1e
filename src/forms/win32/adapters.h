// The adapters of the toolkit's control kinds, one function each; the registry
// (adapter_registry.cpp) maps the kinds to them. A new control kind brings its adapter here.
#pragma once

#include "forms/win32/native.h"

namespace wdx::forms::win32 {

const ControlAdapter& LabelAdapter();
const ControlAdapter& GroupBoxAdapter();
const ControlAdapter& PanelAdapter();
const ControlAdapter& ButtonAdapter();
const ControlAdapter& CheckBoxAdapter();
const ControlAdapter& RadioButtonAdapter();
const ControlAdapter& SpinButtonAdapter();
const ControlAdapter& EditAdapter();
const ControlAdapter& MemoAdapter();
const ControlAdapter& ListBoxAdapter();
const ControlAdapter& ComboBoxAdapter();
const ControlAdapter& PageControlAdapter();
const ControlAdapter& TabSheetAdapter();
const ControlAdapter& DrawGridAdapter();
const ControlAdapter& SpeedButtonAdapter();
const ControlAdapter& DrawListBoxAdapter();

}  // namespace wdx::forms::win32
