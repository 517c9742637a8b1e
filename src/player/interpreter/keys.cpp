// Typing: characters as key events, named keys, modifiers, Alt + keypad codes and lock keys.
#include <string>

#include "platform/virtual_keys.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"

namespace wdx::player {

namespace {

// Shift state bits of a key scan.
constexpr int kScanShift = 1, kScanCtrl = 2, kScanAlt = 4;

struct NamedKey {
  TagId id;
  std::uint8_t vk;
};

// Keys pressed down and up by their tag.
constexpr NamedKey kNamedKeys[] = {
    {TagId::kTab, vk::kTab},
    {TagId::kEnter, vk::kReturn},
    {TagId::kRightwin, vk::kRWin},
    {TagId::kLeftwin, vk::kLWin},
    {TagId::kApp, vk::kApps},
    {TagId::kBackspace, vk::kBack},
    {TagId::kEsc, vk::kEscape},
    {TagId::kSpace, vk::kSpace},
    {TagId::kLeftArrow, vk::kLeft},
    {TagId::kRightArrow, vk::kRight},
    {TagId::kUpArrow, vk::kUp},
    {TagId::kDownArrow, vk::kDown},
    {TagId::kHome, vk::kHome},
    {TagId::kEnd, vk::kEnd},
    {TagId::kInsert, vk::kInsert},
    {TagId::kDelete, vk::kDelete},
    {TagId::kPageDown, vk::kNext},
    {TagId::kPageUp, vk::kPrior},
    {TagId::kAttn, 246},
    {TagId::kCrsel, 247},
    {TagId::kExsel, 248},
    {TagId::kEreof, 249},
    {TagId::kPlay, 250},
    {TagId::kZoom, 251},
    {TagId::kPa1, 253},
    {TagId::kPrtscr, vk::kSnapshot},
    {TagId::kScrlock, vk::kScroll},
    {TagId::kPausekey, vk::kPause},
    {TagId::kCaplock, vk::kCapital},
    {TagId::kNumlock, vk::kNumLock},
    {TagId::kKeypDecimal, vk::kDecimal},
    {TagId::kKeypDivide, vk::kDivide},
    {TagId::kKeypMultiply, vk::kMultiply},
    {TagId::kKeypSubtract, vk::kSubtract},
    {TagId::kKeypAdd, vk::kAdd},
    // Key events of the mouse buttons' virtual keys (not mouse events).
    {TagId::kRightMouse, vk::kRButton},
    {TagId::kMiddleMouse, vk::kMButton},
};

// Tags that send one event: a key held down until its up tag, or let go.
struct HoldKey {
  TagId id;
  std::uint8_t vk;
  bool up;
};
constexpr HoldKey kHoldKeys[] = {
    {TagId::kCtld, vk::kControl, false}, {TagId::kCtrld, vk::kControl, false}, {TagId::kCtlu, vk::kControl, true},
    {TagId::kCtrlu, vk::kControl, true}, {TagId::kAltd, vk::kMenu, false},     {TagId::kAltu, vk::kMenu, true},
    {TagId::kShfd, vk::kShift, false},   {TagId::kShiftd, vk::kShift, false},  {TagId::kShfu, vk::kShift, true},
    {TagId::kShiftu, vk::kShift, true},  {TagId::kWind, vk::kLWin, false},     {TagId::kWinu, vk::kLWin, true},
};

std::uint8_t NamedKeyVk(TagId id) {
  const auto i = static_cast<int>(id);
  if (i >= static_cast<int>(TagId::kF1) && i <= static_cast<int>(TagId::kF24)) {
    return static_cast<std::uint8_t>(vk::kF1 + (i - static_cast<int>(TagId::kF1)));
  }
  if (i >= static_cast<int>(TagId::kKeyp0) && i <= static_cast<int>(TagId::kKeyp9)) {
    return static_cast<std::uint8_t>(vk::kNumpad0 + (i - static_cast<int>(TagId::kKeyp0)));
  }
  for (const NamedKey& k : kNamedKeys) {
    if (k.id == id) return k.vk;
  }
  return 0;
}

void NamedKeyTag(Interpreter& in, Level& level, const TagInfo& tag) {
  // The mouse-button keys take no key delay.
  if (tag.family != TagFamily::kMouseButtonKey) in.KeyDelay();
  in.PressKey(NamedKeyVk(tag.id));
  in.ReleaseModifiers(level);
}

void HoldKeyTag(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
  for (const HoldKey& k : kHoldKeys) {
    if (k.id == tag.id) in.PostKey(k.vk, k.up);
  }
}

void NextKeyModifierTag(Interpreter& in, Level& level, const TagInfo& tag) {
  switch (tag.id) {
    case TagId::kShiftNext:
      in.PostKey(vk::kShift, false);
      level.shiftPending = true;
      break;
    case TagId::kCtrlNext:
      in.PostKey(vk::kControl, false);
      level.ctrlPending = true;
      break;
    default:
      // A second "<ALT>" before any key lets Alt go again.
      in.PostKey(vk::kMenu, level.altPending);
      level.altPending = !level.altPending;
      break;
  }
}

void AltKeypadTag(Interpreter& in, const Level& level, const TagInfo& tag) {
  in.KeyDelay();
  in.TypeAltKeypad(FieldsOf(level, tag, tag.id == TagId::kAlt ? cmd::kAlt : cmd::kAlt4).Raw(cmd::kOnly));
}

void KeyTestTag(Interpreter& in, Level& /*level*/, const TagInfo& /*tag*/) {
  // Selects to the start of the line.
  in.PostKey(vk::kShift, false);
  in.PressKey(vk::kHome);
  in.PostKey(vk::kShift, true);
}

void SetLockKey(Interpreter& in, std::int32_t kind) {
  // The hook library's lock-key reports that arrive during the pause are the states tested.
  in.Host().PauseForNoSpeed(0.1);
  RunState& st = in.State();
  auto toggle = [&](bool isOn, bool wantOn, std::uint8_t key) {
    if (isOn != wantOn) in.PressKey(key);
  };
  switch (kind) {
    case 1:
    case 2:
      toggle(st.capsLockOn, kind == 1, vk::kCapital);
      // The end of the run keeps the state the command chose.
      st.capsWasOn = kind == 1;
      break;
    case 3:
    case 4:
      toggle(st.numLockOn, kind == 3, vk::kNumLock);
      break;
    case 5:
    case 6:
      toggle(st.scrollLockOn, kind == 5, vk::kScroll);
      break;
    default:
      break;
  }
}

void LockKeyTag(Interpreter& in, Level& level, const TagInfo& tag) {
  SetLockKey(in, FieldsOf(level, tag, cmd::kTog).Whole(cmd::kOnly));
}

// Typing: the named keys, modifiers, keypad codes, the key test and the lock keys. Pending
// modifiers belong to the level, held keys to the interpreter; the family keeps no state.
class KeyFamily final : public CommandFamily {
 public:
  explicit KeyFamily(Interpreter& in) {
    for (const TagFamily tags :
         {TagFamily::kNamedKey, TagFamily::kFunctionKey, TagFamily::kTerminalKey, TagFamily::kMouseButtonKey}) {
      in.Claim<&NamedKeyTag>(tags, *this);
    }
    in.Claim<&HoldKeyTag>(TagFamily::kModifierDownUp, *this);
    in.Claim<&NextKeyModifierTag>(TagFamily::kNextKeyModifier, *this);
    in.Claim<&AltKeypadTag>(TagFamily::kAltKeypad, *this);
    in.Claim<&KeyTestTag>(TagFamily::kKeyTest, *this);
    in.Claim<&LockKeyTag>(TagFamily::kLockKeys, *this);
  }
};

}  // namespace

void Interpreter::KeyDelay() {
  const RunState& st = State();
  if (st.keyDelayOn) WaitScaledMs(st.keyDelay);
}

void Interpreter::TypeCharacter(Level& level, char c) {
  KeyDelay();
  const auto code = static_cast<unsigned char>(c);
  if (code > 127) {
    // Characters above 127 go by their ANSI code on the keypad, whatever the layout.
    TypeAltKeypad("0" + std::to_string(code));
    return;
  }
  const std::int16_t scan = host_.VkKeyScan(c);
  const auto key = static_cast<std::uint8_t>(scan & 0xFF);
  const int shift = (scan >> 8) & 0xFF;
  if (shift == kScanShift || shift == (kScanShift | kScanCtrl | kScanAlt)) {
    PostKey(vk::kShift, false);
    level.shiftPending = true;
  }
  if (shift == kScanCtrl || shift == (kScanCtrl | kScanAlt) || shift == (kScanShift | kScanCtrl | kScanAlt)) {
    PostKey(vk::kControl, false);
    level.ctrlPending = true;
  }
  if (shift == (kScanCtrl | kScanAlt) || shift == (kScanShift | kScanCtrl | kScanAlt)) {
    PostKey(vk::kMenu, false);
    level.altPending = true;
  }
  PressKey(key);
  ReleaseModifiers(level);
}

void Interpreter::ReleaseModifiers(Level& level) {
  if (level.shiftPending) {
    level.shiftPending = false;
    PostKey(vk::kShift, true);
  }
  if (level.ctrlPending) {
    level.ctrlPending = false;
    PostKey(vk::kControl, true);
  }
  if (level.altPending) {
    level.altPending = false;
    PostKey(vk::kMenu, true);
  }
}

void Interpreter::TypeAltKeypad(std::string_view digits) {
  PostAltKey(vk::kMenu, false);
  for (const char d : digits) {
    // Only digits have a keypad key; anything else in the field sends nothing.
    if (d < '0' || d > '9') continue;
    const auto key = static_cast<std::uint8_t>(vk::kNumpad0 + (d - '0'));
    PostAltKey(key, false);
    PostAltKey(key, true);
  }
  PostAltKey(vk::kMenu, true);
}

std::unique_ptr<CommandFamily> MakeKeyFamily(Interpreter& in) { return std::make_unique<KeyFamily>(in); }

}  // namespace wdx::player
