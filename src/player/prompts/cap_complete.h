// "Capture Complete", TCapComplete: after a recording the user names the new macro and gives
// it a hot key, an Abbrekey or no activation yet, for all programs or for the program that was
// in front. The hot key is chosen from the list of all 721 or by pressing it while the entry
// field has the focus (the hook library then sends its index, UM_HOTKEYINDEX).
#pragma once

#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <string>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/draw_list.h"
#include "platform/help_files.h"
#include "platform/message_boxes.h"
#include "player/prompts/prompt_form.h"
#include "shared/glob_data.h"
#include "shared/hot_keys.h"
#include "shared/macro_record.h"

namespace wdx::player {

struct CaptureCompleteModel {
  enum class Activation { kHotKey, kAbbrekey, kNone };

  // What the library holds: per hot key index, how many macros have it (any scope, active or
  // not), and whether a global, popup-menu or system macro has it.
  std::array<int, kHotKeyCount> macrosUsing{};
  std::bitset<kHotKeyCount> usedGlobally;

  // What the user chooses.
  std::string nickname;
  Activation activation = Activation::kHotKey;
  int hotKey = -1;  // no row chosen
  std::string abbrekey;
  bool global = true;

  // The model of a library's macros 1..count; Global chosen when `global` (the [Capture]
  // "Global" option).
  static CaptureCompleteModel ForLibrary(const TGlobData& block, bool global);

  // The first refusal of Ok, on the field to correct.
  std::optional<forms::Fault> Check() const;
  // The question asked before a key the system may take is accepted; empty for other keys.
  std::string Warning() const;
  // The choices into the recorded macro's record; `program` is the program that was in front
  // (for Program scope).
  void ApplyTo(TMacroRec& record, const std::string& program) const;
};

class TCapComplete : public PromptForm {
 public:
  static constexpr int kClientWidth = 360;
  static constexpr int kRowHeight = 18;

  // `setSecWind` makes the dialog's window (or no window) the one that gets UM_HOTKEYINDEX;
  // `help` may be null; the screen size centres the dialog.
  TCapComplete(CaptureCompleteModel& model, platform::MessageBoxes& boxes, platform::HelpFiles* help,
               std::string helpFile, int screenWidth, int screenHeight,
               std::function<void(platform::WindowHandle, bool)> setSecWind);
  ~TCapComplete() override;

  forms::Label Label1{this, "Label1", "Macro Capture Complete"};
  forms::Label Label2{this, "Label2", "Please assign this macro to a hot key or abbrekey."};
  forms::Label NickNameLabel{this, "NickNameLabel", "NickName"};
  forms::Edit NickName{this, "NickName"};
  forms::GroupBox MacroType{this, "MacroType", "Macro Type"};
  forms::RadioButton UseHotKey{&MacroType, "UseHotKey", "&Hot Keys"};
  forms::RadioButton UseAbbrekeys{&MacroType, "UseAbbrekeys", "&Abbrekeys"};
  forms::RadioButton UseNone{&MacroType, "UseNone", "&None (use later)"};
  forms::GroupBox Scope{this, "Scope", "Scope"};
  forms::RadioButton GlobalButton{&Scope, "GlobalButton", "&Global"};
  forms::RadioButton ProgramButton{&Scope, "ProgramButton", "&Program"};
  forms::Label AbbrekeyLabel{this, "AbbrekeyLabel", "Abbrekey Name"};
  forms::Edit AbbrekeyName{this, "AbbrekeyName"};
  forms::Label HotKeyLabel{this, "HotKeyLabel", "Place cursor in field below and Press the Hot Key to select"};
  forms::Label SetHotKeyLabel{this, "SetHotKeyLabel", "Select Hot Key"};
  forms::Edit HotKeyEntry{this, "HotKeyEntry"};
  forms::DrawListBox KeyList{this, "KeyList"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

  // Closed by Ok with the choices in the model.
  bool accepted = false;

 private:
  void FormShow();
  void FillList();
  void KeyListDrawItem(int index, const platform::Rect& rect, bool selected, forms::Canvas& canvas);
  void KeyListClick();
  // A hot key index from the hook library or a click: that row chosen, its name in the field.
  void ChooseRow(int index);
  void HotKeyEntryEnter();
  void HotKeyEntryExit();
  bool FormMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam);
  void DisableEnable();
  void OkButtonClick();
  void FormClose();
  void HelpButtonClick();
  void SetSecWind(bool on);

  CaptureCompleteModel& model_;
  platform::MessageBoxes& boxes_;
  platform::HelpFiles* help_;
  std::string helpFile_;
  int screenWidth_;
  int screenHeight_;
  std::function<void(platform::WindowHandle, bool)> setSecWind_;
  bool secWindOn_ = false;
};

}  // namespace wdx::player
