// Each push export copies exactly its fields into the library's block, and nothing else.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "hook/in_process_hook.h"
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
  const char* name;
  std::function<void(HookLibrary&, const TGlobData&)> call;
  std::set<std::size_t> fields;
};

std::vector<ExportCase> Cases() {
  using L = HookLibrary;
  using B = const TGlobData&;
  return {
      {"WdxUpWindow", [](L& l, B b) { l.WdxUpWindow(b); }, Bytes({{0, 3}})},
      {"WdxUpWindow2", [](L& l, B b) { l.WdxUpWindow2(b); }, Bytes({{753, 762}})},
      {"WdxUpKeyHook", [](L& l, B b) { l.WdxUpKeyHook(b); }, Bytes({{745, 752}})},
      {"WdxUpMouseHook", [](L& l, B b) { l.WdxUpMouseHook(b); }, Bytes({{745, 752}})},
      {"WdxUpKeys", [](L& l, B b) { l.WdxUpKeys(b); }, Bytes({{17, 737}, {14322, 14322}})},
      {"WdxUpNumKeys", [](L& l, B b) { l.WdxUpNumKeys(b); }, Bytes({{14316, 14319}})},
      {"WdxUpItem 7", [](L& l, B b) { l.WdxUpItem(b, 7); },
       Bytes({{828, 829}, {1942, 1962}, {12322, 12322}, {12828, 12829}, {13822, 13822}})},
      {"WdxUpItem 0", [](L& l, B b) { l.WdxUpItem(b, 0); }, {}},
      {"WdxUpItem 501", [](L& l, B b) { l.WdxUpItem(b, 501); }, {}},
      {"WdxUpCapture", [](L& l, B b) { l.WdxUpCapture(b); }, Bytes({{739, 799}})},
      {"WdxUpCaptureOn", [](L& l, B b) { l.WdxUpCaptureOn(b); }, Bytes({{738, 738}})},
      {"WdxUpInUse", [](L& l, B b) { l.WdxUpInUse(b); }, Bytes({{783, 783}})},
      {"WdxUpIdle", [](L& l, B b) { l.WdxUpIdle(b); }, Bytes({{14579, 14580}, {14585, 14588}})},
      {"WdxUpProg", [](L& l, B b) { l.WdxUpProg(b); }, Bytes({{14323, 14573}})},
      {"WdxUpProgs", [](L& l, B b) { l.WdxUpProgs(b); }, Bytes({{14574, 14577}, {14589, 19788}})},
      {"WdxUpWaits", [](L& l, B b) { l.WdxUpWaits(b); }, Bytes({{14581, 14584}})},
      {"WdxUpMouseClk", [](L& l, B b) { l.WdxUpMouseClk(b); }, Bytes({{19789, 19791}})},
      {"WdxUpInit", [](L& l, B b) { l.WdxUpInit(b); }, Bytes({{0, 19792}})},
  };
}

void ExpectExactFields(HookLibrary& library) {
  TGlobData pattern;
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern.data()[i] = static_cast<std::uint8_t>(i % 251 + 1);
  const TGlobData zero;

  for (const ExportCase& c : Cases()) {
    library.WdxUpInit(zero);
    c.call(library, pattern);
    std::vector<std::uint8_t> seen(kGlobDataSize, 0xEE);
    library.WdxGetGlob(seen);
    for (std::size_t i = 0; i < seen.size(); ++i) {
      const std::uint8_t expected = c.fields.count(i) ? pattern.data()[i] : 0;
      ASSERT_EQ(seen[i], expected) << c.name << " at offset " << i;
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

TEST(HookExports, GetGlobNeedsAWholeBlockAndGetGlobDataItemCopiesOneGroup) {
  platform::MemoryPlatform mem;
  InProcessHookLibrary library(mem.desktop);
  TGlobData editorBlock;
  editorBlock.SetInUse(true);
  editorBlock.SetCaptureOn(true);
  library.WdxUpInUse(editorBlock);
  library.WdxUpCaptureOn(editorBlock);

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
