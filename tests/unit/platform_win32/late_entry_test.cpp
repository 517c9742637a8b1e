// A borrowed system library is loaded for its call and gone after it, unless something else
// holds it: what it frees is what the player at rest no longer keeps.
#include <gtest/gtest.h>

#include "platform/win32/late_entry.h"

namespace wdx::platform::win32 {
namespace {

// A system library the test program does not load on its own.
constexpr const char* kLibrary = "msacm32.dll";
using VersionFn = DWORD(WINAPI*)();

TEST(BorrowedLibraryTest, TheLibraryIsLoadedForTheCallOnlyAndOneHeldElsewhereStays) {
  ASSERT_EQ(GetModuleHandleA(kLibrary), nullptr) << "the test needs a library nothing else loaded";
  {
    const BorrowedLibrary borrowed(kLibrary);
    const auto version = borrowed.Entry<VersionFn>("acmGetVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_NE(version(), 0u);
    EXPECT_EQ(borrowed.Entry<VersionFn>("NoSuchEntry"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleA(kLibrary), nullptr);

  HMODULE held = LoadLibraryA(kLibrary);
  ASSERT_NE(held, nullptr);
  { const BorrowedLibrary borrowed(kLibrary); }
  EXPECT_EQ(GetModuleHandleA(kLibrary), held);
  FreeLibrary(held);
  EXPECT_EQ(GetModuleHandleA(kLibrary), nullptr);

  const BorrowedLibrary missing("wdx-no-such-library.dll");
  EXPECT_EQ(missing.Entry<VersionFn>("acmGetVersion"), nullptr);
}

}  // namespace
}  // namespace wdx::platform::win32
