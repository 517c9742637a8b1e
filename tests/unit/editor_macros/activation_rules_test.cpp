// The rules both activation dialogs share: which keys are taken, the reserved keys, the mouse
// area and window part.
#include <gtest/gtest.h>

#include "editor/macros/activation_controls.h"
#include "editor/macros/add_macro.h"
#include "editor/macros/copy_or_move.h"
#include "platform/memory/memory_message_boxes.h"
#include "shared/mouse_buttons.h"

namespace wdx::editor {
namespace {

constexpr int kKey = 151;  // Ctrl+Alt+H

// A block whose macro 1 has the key, with this scope kind and active flag.
TGlobData OneMacro(std::int16_t scopeKind, bool active) {
  TGlobData block;
  block.SetMacroCount(2);
  block.SetActivationCode(1, kKey);
  block.SetScopeKind(1, scopeKind);
  block.SetMacroActive(1, active);
  block.SetActivationCode(2, wdx::activation::kTimed);
  block.SetScopeKind(2, scope::kGlobal);
  return block;
}

TEST(TakenRuleTest, WhichScopesTakeAKeyInEachDialog) {
  const struct {
    std::int16_t scope;
    bool active;
    bool takenForAdd;   // global, popup-menu and system macros
    bool takenForCopy;  // global and popup-menu macros
  } cases[] = {
      {scope::kGlobal, true, true, true},     {scope::kGlobal, false, true, true},
      {scope::kWindow, true, false, false},   {scope::kProgram, true, false, false},
      {scope::kPopupMenu, true, true, true},  {scope::kSystem, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "scope " << c.scope << " active " << c.active);
    const TGlobData block = OneMacro(c.scope, c.active);
    const HotKeyUse add = CountHotKeyUse(block, {scope::kGlobal, scope::kPopupMenu, scope::kSystem});
    const HotKeyUse copy = CountHotKeyUse(block, {scope::kGlobal, scope::kPopupMenu});
    EXPECT_EQ(add.taken.test(kKey), c.takenForAdd);
    EXPECT_EQ(copy.taken.test(kKey), c.takenForCopy);
    // In use whatever the scope; the timed macro is no key's.
    EXPECT_EQ(add.Rows()[kKey], std::string(HotKeyName(kKey)) + "  (1 macro in use)");
    EXPECT_EQ(add.taken.count(), c.takenForAdd ? 1u : 0u);
    // The macro itself never takes its own key.
    EXPECT_FALSE(CountHotKeyUse(block, {scope::kGlobal, scope::kPopupMenu}, 1).taken.test(kKey));
    EXPECT_EQ(CountHotKeyUse(block, {scope::kGlobal}, 1).macros[kKey], 1);
  }
}

TEST(ReservedKeysTest, TheTenKeysAskAndOnlyYesTakesThem) {
  const std::pair<int, const char*> reserved[] = {{89, "Alt+F6"},  {185, "Ctrl+Alt+F6"}, {233, "Alt+Shift+F6"},
                                                  {590, "Win+F1"}, {557, "Win+D"},       {558, "Win+E"},
                                                  {559, "Win+F"},  {566, "Win+M"},       {571, "Win+R"},
                                                  {607, "Win+Ctrl+F"}};
  for (const auto& [index, name] : reserved) {
    SCOPED_TRACE(name);
    EXPECT_EQ(HotKeyName(index), name);
    platform::MemoryMessageBoxes boxes;
    boxes.QueueAnswer(platform::mb::kIdNo);
    boxes.QueueAnswer(platform::mb::kIdYes);
    EXPECT_FALSE(AcceptReservedKey(index, boxes, 0));
    EXPECT_TRUE(AcceptReservedKey(index, boxes, 0));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(boxes.shown[0].flags, platform::mb::kYesNo);
    EXPECT_EQ(boxes.shown[0].text, std::string(name) +
                                       " may be used internally by Windows 95, 98 or NT.  This may cause the hot key not "
                                       "to function correctly. Would you still like to use " + name + "?");
  }
  int reservedCount = 0;
  for (int i = 0; i < kHotKeyCount; ++i) reservedCount += IsReservedHotKey(i) ? 1 : 0;
  EXPECT_EQ(reservedCount, 10);
  platform::MemoryMessageBoxes boxes;
  EXPECT_TRUE(AcceptReservedKey(kKey, boxes, 0));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(MouseChoiceTest, AreaFieldsAreCheckedInOrderAndCornersPutRight) {
  const struct {
    const char *top, *left, *bottom, *right;
    const char* field;  // the refused field, or empty
    std::int16_t t, l, b, r;
  } cases[] = {
      {"100", "", "50", "20", "MLeft", 0, 0, 0, 0},
      {"x", "", "50", "20", "MTop", 0, 0, 0, 0},
      {"1", "2", "12abc", "4", "MBottom", 0, 0, 0, 0},
      {"1", "2", "3", "40000", "MRight", 0, 0, 0, 0},
      {"100", "300", "50", "20", "", 50, 20, 100, 300},
      {" 10 ", "20", "300", "400", "", 10, 20, 300, 400},
      {"-5", "0", "-10", "0", "", -10, 0, -5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.top << "/" << c.left << "/" << c.bottom << "/" << c.right);
    MouseChoice choice;
    choice.top = c.top;
    choice.left = c.left;
    choice.bottom = c.bottom;
    choice.right = c.right;
    choice.button = 3;
    TMacroRec r;
    const std::optional<forms::Fault> fault = StoreMouseChoice(choice, r);
    if (*c.field) {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->field, c.field);
      const std::string what = std::string(c.field) == "MTop"      ? "top"
                               : std::string(c.field) == "MLeft"   ? "left"
                               : std::string(c.field) == "MBottom" ? "bottom"
                                                                   : "right";
      EXPECT_EQ(fault->message, "Invalid " + what + " position entered.  Please correct.");
      EXPECT_EQ(r.MouseButton(), 0);  // nothing stored
      continue;
    }
    ASSERT_FALSE(fault);
    EXPECT_EQ(r.MouseTop(), c.t);
    EXPECT_EQ(r.MouseLeft(), c.l);
    EXPECT_EQ(r.MouseBottom(), c.b);
    EXPECT_EQ(r.MouseRight(), c.r);
    EXPECT_EQ(r.WindowPartFlag(), 0);
    // The record numbers the right button 3; the hook library's flags call it 2.
    EXPECT_EQ(r.MouseButton(), 3);
    EXPECT_EQ(SwapButtonNumbering(r.MouseButton()), static_cast<int>(MouseButtonKind::kRight));
  }
  MouseChoice part;
  part.windowPart = true;
  part.part = MouseChoice::kBorder;
  part.button = 2;
  part.top = "junk";  // not read for a window part
  TMacroRec r;
  ASSERT_FALSE(StoreMouseChoice(part, r));
  EXPECT_EQ(r.WindowPartFlag(), 1);
  EXPECT_EQ(r.WindowPart(), 8);
  EXPECT_EQ(r.MouseButton(), 2);
  EXPECT_EQ(SwapButtonNumbering(r.MouseButton()), static_cast<int>(MouseButtonKind::kMiddle));
}

TEST(AddMacroModelTest, NamesAndTitlesAreTrimmedAndBlanksRefused) {
  using Kind = AddMacroModel::Kind;
  const struct {
    Kind kind;
    const char* typed;
    const char* fault;  // empty: stored
    const char* stored;
    std::uint16_t code;
  } cases[] = {
      {Kind::kAbbrekeys, "   ", "No Abbrekey name entered.", "", 0},
      {Kind::kAbbrekeys, "", "No Abbrekey name entered.", "", 0},
      {Kind::kAbbrekeys, "  sig  ", "", "sig", wdx::activation::kAbbrekey},
      {Kind::kAbbrekeys, "a b", kInvalidAbbrekeyText, "", 0},
      {Kind::kWindowTitle, "  ", "No Window title has been entered.", "", 0},
      {Kind::kWindowTitle, " Notepad ", "", "Notepad", wdx::activation::kWindowTitle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    AddMacroModel m;
    m.kind = c.kind;
    m.name = c.typed;
    TMacroRec r;
    const std::optional<forms::Fault> fault = m.Store(r);
    if (*c.fault) {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->message, c.fault);
      EXPECT_EQ(fault->field, "AbbrekeyName");
      EXPECT_EQ(r.ActivationCode(), 0);
      continue;
    }
    ASSERT_FALSE(fault);
    EXPECT_EQ(r.ActivationCode(), c.code);
    EXPECT_EQ(c.kind == Kind::kAbbrekeys ? r.Abbrekey() : r.ScopeText(), c.stored);
  }
}

TEST(AddMacroModelTest, EveryKindWritesItsOwnCode) {
  using Kind = AddMacroModel::Kind;
  const struct {
    Kind kind;
    std::uint16_t code;
    std::int32_t editorType;
  } cases[] = {
      {Kind::kHotKeys, kKey, 1},
      {Kind::kTimed, wdx::activation::kTimed, 2},
      {Kind::kNone, wdx::activation::kNone, 6},
      {Kind::kMouseClick, wdx::activation::kMouseClick, 8},
      {Kind::kWindowTitle, wdx::activation::kWindowTitle, 7},
      {Kind::kAbbrekeys, wdx::activation::kAbbrekey, 3},
  };
  for (const auto& c : cases) {
    AddMacroModel m;
    m.kind = c.kind;
    m.hotKey = kKey;
    m.name = "ab";
    m.mouse.top = m.mouse.left = m.mouse.bottom = m.mouse.right = "1";
    TMacroRec r;
    r.SetActivationCode(kKey + 1);  // whatever the record held before
    ASSERT_FALSE(m.Store(r));
    EXPECT_EQ(r.ActivationCode(), c.code);
    EXPECT_EQ(m.EditorType(), c.editorType);
  }
  AddMacroModel none;
  TMacroRec r;
  EXPECT_EQ(none.Store(r)->message, "No hot key selected.  Please select one.");
}

TEST(AddMacroModelTest, MenusNeedMacrosAndAFreeKey) {
  using Kind = AddMacroModel::Kind;
  HotKeyUse use;
  use.taken.set(kKey);
  const struct {
    Kind kind;
    int key;
    bool noKey;
    bool userMacros;
    const char* fault;
    std::uint16_t code;
  } cases[] = {
      {Kind::kPopupMenu, kKey + 1, false, false, kNoMacrosForMenuText, 0},
      {Kind::kFloatingMenu, -1, false, false, kNoMacrosForMenuText, 0},
      {Kind::kPopupMenu, -1, false, true, kNoHotKeySelectedText, 0},
      {Kind::kPopupMenu, kKey, false, true, kMenuKeyTakenText, 0},
      {Kind::kPopupMenu, kKey + 1, false, true, "", kKey + 1},
      {Kind::kPopupMenu, kKey, true, true, "", wdx::activation::kNone},
      {Kind::kFloatingMenu, -1, false, true, "", wdx::activation::kFloatingMenu},
  };
  for (const auto& c : cases) {
    AddMacroModel m;
    m.kind = c.kind;
    m.hotKey = c.key;
    m.noHotKey = c.noKey;
    TMacroRec r;
    const std::optional<forms::Fault> fault = m.StoreMenu(r, c.userMacros, use);
    if (*c.fault) {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->message, c.fault);
    } else {
      ASSERT_FALSE(fault);
      EXPECT_EQ(r.ActivationCode(), c.code);
    }
  }
}

TEST(CopyMoveModelTest, TheTakenCheckAppliesToGlobalMacrosOnly) {
  HotKeyUse use;
  use.taken.set(kKey);
  const std::string refusedCopy =
      "A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this selection. The \"COPY\" did not take place.";
  const std::string refusedMove =
      "A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this selection. The \"MOVE\" did not take place.";
  const struct {
    std::int16_t scope;
    bool move;
    const std::string* refusal;  // null: accepted
    std::int16_t scopeAfter;
  } cases[] = {
      {scope::kGlobal, false, &refusedCopy, 0},
      {scope::kGlobal, true, &refusedMove, 0},
      {scope::kWindow, false, nullptr, scope::kWindow},
      {scope::kProgram, true, nullptr, scope::kProgram},
      {scope::kPopupMenu, true, nullptr, scope::kPopupMenu},
      {scope::kFloatingMenu, true, nullptr, scope::kPopupMenu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "scope " << c.scope << (c.move ? " move" : " copy"));
    CopyMoveModel m;
    m.hotKey = kKey;
    m.changeActivation = c.move;
    TMacroRec r;
    r.SetScopeKind(c.scope);
    r.SetActivationCode(wdx::activation::kNone);
    const std::optional<forms::Fault> fault = m.Store(r, use);
    if (c.refusal) {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->message, *c.refusal);
      EXPECT_EQ(fault->field, "HotKeyEntry");
      continue;
    }
    ASSERT_FALSE(fault);
    EXPECT_EQ(r.ActivationCode(), kKey);
    EXPECT_EQ(r.ScopeKind(), c.scopeAfter);
  }
}

TEST(CopyMoveModelTest, RefusalsAndWhatMenusBecome) {
  using Kind = CopyMoveModel::Kind;
  const struct {
    Kind kind;
    std::int16_t scope;
    const char* typed;
    bool noKey;
    const char* fault;
    std::uint16_t code;
    std::int16_t scopeAfter;
  } cases[] = {
      {Kind::kAbbrekey, scope::kGlobal, "  ", false, "No Abbrekey name was entered.", 0, 0},
      {Kind::kAbbrekey, scope::kGlobal, "a\"b", false, kInvalidAbbrekeyText, 0, 0},
      {Kind::kAbbrekey, scope::kGlobal, " xyz ", false, "", wdx::activation::kAbbrekey, scope::kGlobal},
      {Kind::kWindowTitle, scope::kGlobal, " ", false, "No Window Title was entered.", 0, 0},
      {Kind::kWindowTitle, scope::kGlobal, "Calc", false, "", wdx::activation::kWindowTitle, scope::kGlobal},
      {Kind::kHotKey, scope::kGlobal, "", false, "No hot key selected.  Please select one.", 0, 0},
      {Kind::kNone, scope::kGlobal, "", false, "", wdx::activation::kNone, scope::kGlobal},
      {Kind::kNone, scope::kPopupMenu, "", false, "", wdx::activation::kFloatingMenu, scope::kFloatingMenu},
      {Kind::kHotKey, scope::kFloatingMenu, "", true, "", wdx::activation::kNone, scope::kPopupMenu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    CopyMoveModel m;
    m.kind = c.kind;
    m.name = c.typed;
    m.noHotKey = c.noKey;
    TMacroRec r;
    r.SetScopeKind(c.scope);
    const std::optional<forms::Fault> fault = m.Store(r, HotKeyUse{});
    if (*c.fault) {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->message, c.fault);
      EXPECT_EQ(r.ActivationCode(), 0);
      continue;
    }
    ASSERT_FALSE(fault);
    EXPECT_EQ(r.ActivationCode(), c.code);
    EXPECT_EQ(r.ScopeKind(), c.scopeAfter);
  }
}

TEST(ActivationHeadingTest, TheOpenersHeadings) {
  TMacroRec r;
  const std::pair<std::uint16_t, const char*> cases[] = {{wdx::activation::kTimed, "COPY Timed Macro TO"},
                                                         {wdx::activation::kMouseClick, "COPY Macro TO"},
                                                         {wdx::activation::kWindowTitle, "COPY Macro TO"},
                                                         {wdx::activation::kNone, "COPY Macro TO"},
                                                         {wdx::activation::kFloatingMenu, "COPY Floating Menu TO"},
                                                         {wdx::activation::kAbbrekey, "COPY sig TO"},
                                                         {0, "COPY Ctrl+A TO"}};
  r.SetAbbrekey("sig");
  for (const auto& [code, heading] : cases) {
    r.SetActivationCode(code);
    EXPECT_EQ(ActivationHeading("COPY", r), heading);
  }
  EXPECT_EQ(ActivationHeading("MOVE", r), "MOVE Ctrl+A TO");
}

}  // namespace
}  // namespace wdx::editor
