// Each push export copies exactly its fields into the library's block, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "hook/in_process_hook.h"
#include "hook/push_fields.h"
#include "platform/memory/memory_platform.h"
#ifdef _WIN32
#include "hook/win32/dll_hook_library.h"
#endif

namespace wdx::hook {
namespace {

std::set<std::size_t> Bytes(std::initializer_list<std::pair<std::size_t, std::size_t>> ranges) {
  std::set<std::size_t> s;
  for (auto [from, to] : ranges)
    for (std::size_t i = from; i <= to; ++i) s.insert(i);
  return s;
}

struct ExportCase {
  PushGroup group;
  int macro;
  std::set<std::size_t> fields;
};

std::vector<ExportCase> Cases() {
  using G = PushGroup;
  return {
      {G::kWindow, 0, Bytes({{0, 3}})},
      {G::kWindow2, 0, Bytes({{753, 762}})},
      {G::kKeyHook, 0, Bytes({{745, 752}})},
      {G::kMouseHook, 0, Bytes({{745, 752}})},
      {G::kKeys, 0, Bytes({{17, 737}, {14322, 14322}})},
      {G::kNumKeys, 0, Bytes({{14316, 14319}})},
      {G::kItem, 7, Bytes({{828, 829}, {1942, 1962}, {12322, 12322}, {12828, 12829}, {13822, 13822}})},
      {G::kItem, 0, {}},
      {G::kItem, 501, {}},
      {G::kCapture, 0, Bytes({{739, 799}})},
      {G::kCaptureOn, 0, Bytes({{738, 738}})},
      {G::kInUse, 0, Bytes({{783, 783}})},
      {G::kIdle, 0, Bytes({{14579, 14580}, {14585, 14588}})},
      {G::kProg, 0, Bytes({{14323, 14573}})},
      {G::kProgs, 0, Bytes({{14574, 14577}, {14589, 19788}})},
      {G::kWaits, 0, Bytes({{14581, 14584}})},
      {G::kMouseClk, 0, Bytes({{19789, 19791}})},
      {G::kInit, 0, Bytes({{0, 19792}})},
  };
}

void ExpectExactFields(HookLibrary& library) {
  std::vector<std::uint8_t> bytes(kGlobDataSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
  const TGlobData pattern(bytes);
  const TGlobData zero;

  for (const ExportCase& c : Cases()) {
    const std::string name = std::string(PushExportName(c.group)) + " " + std::to_string(c.macro);
    library.Push(PushGroup::kInit, zero);
    library.Push(c.group, pattern, c.macro);
    std::vector<std::uint8_t> seen(kGlobDataSize, 0xEE);
    library.WdxGetGlob(seen);
    for (std::size_t i = 0; i < seen.size(); ++i) {
      const std::uint8_t expected = c.fields.count(i) ? bytes[i] : 0;
      ASSERT_EQ(seen[i], expected) << name << " at offset " << i;
    }
  }
}

TEST(HookExports, EachPushCopiesExactlyItsFields) {
  platform::MemoryPlatform mem;
  InProcessHookLibrary library(mem.desktop, &mem.kernel);
  ExpectExactFields(library);
}

#ifdef _WIN32
// The same table against the real library (its block is the named mapping WDBA1KGR).
TEST(HookExports, TheRealLibraryCopiesExactlyTheSameFields) {
  DllHookLibrary library;
  ASSERT_TRUE(library.Loaded());
  ExpectExactFields(library);
}
#endif

// The bytes one call of a push export copies.
std::size_t OneCall(PushGroup group) {
  std::size_t bytes = 0;
  for (const ByteRange& r : PushRanges(group, 1)) bytes += r.width;
  return bytes;
}

// Every field of the block belongs to exactly one push group, the one its setters mark: the
// fields do not share a byte, the group's export is the narrowest that carries the field, no
// export carries part of a field, and kInit (the whole block) has only the fields no other
// export carries. (Some
// exports carry more than their own fields: WdxUpCapture the whole range 739..799, the two
// hook-handle exports both handles.)
TEST(HookExports, EveryFieldBelongsToExactlyOnePushGroup) {
  std::vector<std::set<std::size_t>> carried(kPushGroupCount);
  for (std::size_t g = 0; g < kPushGroupCount; ++g) {
    const auto group = static_cast<PushGroup>(g);
    if (group == PushGroup::kInit) continue;
    for (int macro = 0; macro <= (group == PushGroup::kItem ? kGlobMaxMacros : 0); ++macro)
      for (const ByteRange& r : PushRanges(group, macro))
        for (std::size_t i = r.offset; i < r.offset + r.width; ++i) carried[g].insert(i);
  }
  std::vector<int> owners(kGlobDataSize, 0);
  for (const GlobField& f : GlobFields()) {
    for (std::size_t n = 0; n < f.count; ++n) {
      const std::size_t at = f.offset + n * f.stride;
      SCOPED_TRACE(std::string(f.name) + " at " + std::to_string(at));
      ASSERT_LE(at + f.width, kGlobDataSize);
      for (std::size_t i = at; i < at + f.width; ++i) EXPECT_EQ(++owners[i], 1) << "byte " << i << " of two fields";
      std::vector<PushGroup> carriers;
      for (std::size_t g = 0; g < kPushGroupCount; ++g) {
        std::size_t bytes = 0;
        for (std::size_t i = at; i < at + f.width; ++i) bytes += carried[g].count(i);
        if (bytes == 0) continue;
        EXPECT_EQ(bytes, f.width) << PushExportName(static_cast<PushGroup>(g)) << " carries part of the field";
        carriers.push_back(static_cast<PushGroup>(g));
      }
      if (f.group == PushGroup::kInit) {
        EXPECT_TRUE(carriers.empty()) << PushExportName(carriers.front()) << " carries a field of WdxUpInit";
      } else {
        EXPECT_NE(std::find(carriers.begin(), carriers.end(), f.group), carriers.end())
            << PushExportName(f.group) << " does not carry its own field";
        // ... and no export that carries less in one call carries it too.
        for (PushGroup other : carriers)
          EXPECT_GE(OneCall(other), OneCall(f.group)) << PushExportName(other) << " is the narrower export";
      }
      // The item export of this very macro carries a per-macro entry.
      if (f.group == PushGroup::kItem) {
        const auto mine = PushRanges(PushGroup::kItem, static_cast<int>(n) + 1);
        EXPECT_TRUE(std::any_of(mine.begin(), mine.end(),
                                [&](const ByteRange& r) { return r.offset == at && r.width == f.width; }));
      }
    }
  }
}

// The pushes a flush makes, by export name (with the macro number for WdxUpItem).
class LoggingLibrary : public HookLibrary {
 public:
  std::uint32_t WdxHookKeyboard() override { return 0; }
  std::uint32_t WdxHookMouse() override { return 0; }
  std::uint32_t WdxHookCBT() override { return 0; }
  std::uint32_t WdxHookSwap() override { return 0; }
  bool WdxUnHook(std::uint32_t) override { return false; }
  void Push(PushGroup group, const TGlobData&, int macro) override {
    log.push_back(std::string(PushExportName(group)) + (group == PushGroup::kItem ? " " + std::to_string(macro) : ""));
  }
  void WdxGetGlob(wdx::Bytes) override {}
  std::vector<std::string> log;
};

TEST(HookExports, SettersMarkTheirPushGroupAndOneFlushSendsWhatChanged) {
  using Log = std::vector<std::string>;
  const struct {
    const char* name;
    std::function<void(TGlobData&)> change;
    Log pushes;
  } cases[] = {
      {"nothing", [](TGlobData&) {}, {}},
      {"in use", [](TGlobData& b) { b.SetInUse(true); }, {"WdxUpInUse"}},
      {"same value again", [](TGlobData& b) { b.SetInUse(false); }, {"WdxUpInUse"}},
      {"start fields", [](TGlobData& b) {
         b.ClearStartFields();
         b.SetNtFlag(true);
         b.SetMouseButtonsSwapped(false);
       }, {"WdxUpCapture", "WdxUpInit"}},
      {"hook handles", [](TGlobData& b) {
         b.SetMouseHook(2);
         b.SetKeyboardHook(1);
       }, {"WdxUpKeyHook", "WdxUpMouseHook"}},
      {"hot keys", [](TGlobData& b) {
         b.ClearHotKeyMap();
         b.SetHotKeyMapped(5, true);
         b.SetAbbrekeysPresent(true);
       }, {"WdxUpKeys"}},
      {"macro entries", [](TGlobData& b) {
         b.SetScopeText(7, "X");
         b.SetActivationCode(3, 1);
         b.SetWindowMatch(7, 1);
         b.SetMacroActive(500, true);
         b.SetScopeKind(0, 1);  // no macro 0: nothing
         b.SetMacroCount(7);
       }, {"WdxUpItem 3", "WdxUpItem 7", "WdxUpItem 500", "WdxUpNumKeys"}},
      {"windows", [](TGlobData& b) {
         b.SetCaptureWindow(9, false);
         b.SetPlayerWindow(9);
       }, {"WdxUpWindow", "WdxUpWindow2"}},
      {"programs and idle", [](TGlobData& b) {
         b.ClearRunningPrograms();
         b.SetForegroundProgram("X.EXE");
         b.SetIdle(true, false, 0);
       }, {"WdxUpIdle", "WdxUpProg", "WdxUpProgs"}},
      {"recording", [](TGlobData& b) {
         b.SetCaptureOn(true);
         b.WriteStopKey(2, {});
         b.WriteCaptureOptions({});
         b.SetDoubleAlt(true);
         b.SetSecondStopKeyOn(true);
       }, {"WdxUpCapture", "WdxUpCaptureOn"}},
      {"waits and clicks", [](TGlobData& b) {
         b.SetMouseClickFlag(3, true);
         b.SetWaitFlag(glob::kWaitKeySync, true);
         b.SetWaitFlag(glob::kInUse, true);  // not a wait flag: nothing
       }, {"WdxUpWaits", "WdxUpMouseClk"}},
      {"taken from the library", [](TGlobData& b) {
         const std::vector<std::uint8_t> library(kGlobDataSize, 1);
         b.CopyDataGroup(library, 11);
         b.CopyDataGroup(library, 7, 4);
       }, {}},
      {"pushed by the other program", [](TGlobData& b) {
         b.SetScopeKind(4, 1);
         b.MarkInStep();
       }, {}},
      {"one macro pushed by the other program", [](TGlobData& b) {
         b.SetScopeKind(4, 1);
         b.SetScopeKind(5, 1);
         b.SetInUse(true);
         b.MarkPushed(PushGroup::kItem, 4);
         b.MarkPushed(PushGroup::kInUse);
       }, {"WdxUpItem 5"}},
      {"tables emptied for a load", [](TGlobData& b) { b.ClearMacroTables(); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoggingLibrary library;
    TGlobData block;
    c.change(block);
    library.Flush(block);
    EXPECT_EQ(library.log, c.pushes);
    library.log.clear();
    library.Flush(block);
    EXPECT_TRUE(library.log.empty());
  }
}

TEST(HookExports, GetGlobNeedsAWholeBlockAndGetGlobDataItemCopiesOneGroup) {
  platform::MemoryPlatform mem;
  InProcessHookLibrary library(mem.desktop);
  TGlobData editorBlock;
  editorBlock.SetInUse(true);
  editorBlock.SetCaptureOn(true);
  library.Flush(editorBlock);

  std::vector<std::uint8_t> tooShort(100, 7);
  library.WdxGetGlob(tooShort);
  EXPECT_EQ(tooShort, std::vector<std::uint8_t>(100, 7));

  TGlobData player;
  EXPECT_TRUE(GetGlobDataItem(library, player, 2));
  EXPECT_TRUE(player.InUse());
  EXPECT_FALSE(player.CaptureOn());  // group 1 was not asked for
  EXPECT_FALSE(GetGlobDataItem(library, player, 15));
}

TEST(HookExports, InstallersHandOutHandlesThatUnHookTakesBack) {
  platform::MemoryPlatform mem;
  InProcessHookLibrary library(mem.desktop, &mem.kernel);
  const std::uint32_t k = library.WdxHookKeyboard();
  const std::uint32_t m = library.WdxHookMouse();
  const std::uint32_t c = library.WdxHookCBT();
  EXPECT_NE(k, 0u);
  EXPECT_NE(m, k);
  EXPECT_NE(c, m);
  EXPECT_EQ(library.WdxHookSwap(), 0u);  // no remap block to read: nothing installed
  EXPECT_TRUE(library.WdxUnHook(k));
  EXPECT_FALSE(library.KeyboardInstalled());
  EXPECT_FALSE(library.WdxUnHook(k));
  EXPECT_FALSE(library.WdxUnHook(0));
  EXPECT_TRUE(library.MouseInstalled());
}

}  // namespace
}  // namespace wdx::hook
