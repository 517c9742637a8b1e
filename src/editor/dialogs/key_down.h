// Keys held down or let go ("Keys Up Or Down") and the lock keys ("Toggle Keys"): each picks
// one fixed command with a radio button.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"

namespace wdx::editor {

// The key action 1..8: Ctrl down, Ctrl up, Alt down, Alt up, Shift down, Shift up, Win down,
// Win up; the tags "<CTRLD>" .. "<WINU>".
struct KeyUpDownModel {
  std::int32_t KeyAction = 1;
  std::optional<forms::Fault> Check() const;
  std::optional<std::string> Tag() const;
};

class TDoKeyUpDown : public CommandDialogOf<KeyUpDownModel> {
 public:
  explicit TDoKeyUpDown(const DialogServices& services);

  forms::GroupBox Options{this, "Options", "Options"};
  forms::RadioButton CtrlDown{&Options, "CtrlDown", "C&ontrol Key Down"};
  forms::RadioButton CtrlUp{&Options, "CtrlUp", "Co&ntrol Key Up"};
  forms::RadioButton AltDown{&Options, "AltDown", "&Alt Key Down"};
  forms::RadioButton AltUp{&Options, "AltUp", "A&lt Key Up"};
  forms::RadioButton ShiftDown{&Options, "ShiftDown", "&Shift Key Down"};
  forms::RadioButton ShiftUp{&Options, "ShiftUp", "S&hift Key Up"};
  forms::RadioButton WinDown{&Options, "WinDown", "&Win Key Down"};
  forms::RadioButton WinUp{&Options, "WinUp", "W&in Key Up"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void ShowModel(const KeyUpDownModel& m) override;
  KeyUpDownModel ReadModel() const override;
  forms::RadioButton* const buttons_[8] = {&CtrlDown, &CtrlUp, &AltDown, &AltUp, &ShiftDown, &ShiftUp, &WinDown, &WinUp};
};

// The lock-key kind 1..6: Caps Lock on, off, Num Lock on, off, Scroll Lock on, off; the tag
// "<TOG:" + the digit + ">".
struct ToggleKeysModel {
  std::uint32_t ToggleKind = 1;
  std::optional<forms::Fault> Check() const;
  std::optional<std::string> Tag() const;
};

class TDoToggleKeys : public CommandDialogOf<ToggleKeysModel> {
 public:
  explicit TDoToggleKeys(const DialogServices& services);

  forms::GroupBox Options{this, "Options", "Options"};
  forms::RadioButton CapsOn{&Options, "CapsOn", "C&aps Lock On"};
  forms::RadioButton CapsOff{&Options, "CapsOff", "Ca&ps Lock Off"};
  forms::RadioButton NumOn{&Options, "NumOn", "&Num Lock On"};
  forms::RadioButton NumOff{&Options, "NumOff", "N&um Lock Off"};
  forms::RadioButton ScrollOn{&Options, "ScrollOn", "&Scroll Lock On"};
  forms::RadioButton ScrollOff{&Options, "ScrollOff", "Sc&roll Lock Off"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void ShowModel(const ToggleKeysModel& m) override;
  ToggleKeysModel ReadModel() const override;
  forms::RadioButton* const buttons_[6] = {&CapsOn, &CapsOff, &NumOn, &NumOff, &ScrollOn, &ScrollOff};
};

}  // namespace wdx::editor
