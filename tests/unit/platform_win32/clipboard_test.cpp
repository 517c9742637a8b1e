// The real clipboard: a bitmap and a metafile picture placed and read back, the whole contents
// kept and put back with the user's picture, and a clipboard another window holds open never
// taken for an empty one.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_clipboard.h"
#include "platform/win32/windows_api.h"

namespace wdx::platform {
namespace {

// A packed 2 by 2 DIB of 24 bits: a BITMAPINFOHEADER and two rows of 8 bytes.
std::string SmallDib() {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = 2;
  h.biHeight = 2;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  std::string dib(reinterpret_cast<const char*>(&h), sizeof h);
  dib += std::string("\xFF\0\0\xFF\xFF\xFF\0\0\0\0\xFF\0\xFF\0\0\0", 16);
  return dib;
}

// A metafile of its header and the end record.
std::string SmallMetafile() {
  const std::uint16_t words[] = {1, 9, 0x300, 12, 0, 0, 3, 0, 0, 3, 0, 0};
  return std::string(reinterpret_cast<const char*>(words), sizeof words);
}

TEST(Win32ClipboardTest, PicturesArePlacedAndKeptThroughASaveAndRestore) {
  Win32Clipboard clipboard;
  ASSERT_TRUE(clipboard.SetBitmap(SmallDib()));
  const std::optional<std::string> dib = clipboard.GetBitmap();
  ASSERT_TRUE(dib);
  ASSERT_GE(dib->size(), sizeof(BITMAPINFOHEADER));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib->data());
  EXPECT_EQ(header->biWidth, 2);
  EXPECT_EQ(header->biHeight, 2);
  EXPECT_EQ(clipboard.GetText(), std::nullopt);

  // Borrowed and given back: the bitmap is there again.
  std::optional<ClipboardSnapshot> kept = clipboard.Save();
  ASSERT_TRUE(kept);
  ASSERT_TRUE(clipboard.SetText("borrowed"));
  EXPECT_EQ(clipboard.GetBitmap(), std::nullopt);
  ASSERT_TRUE(clipboard.Restore(*kept));
  EXPECT_EQ(clipboard.GetText(), std::nullopt);
  ASSERT_TRUE(clipboard.GetBitmap());

  // A metafile picture comes back with its records.
  ASSERT_TRUE(clipboard.SetMetafile({SmallMetafile(), 2540, 1270}));
  kept = clipboard.Save();
  ASSERT_TRUE(kept);
  ASSERT_TRUE(clipboard.Clear());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_METAFILEPICT));
  ASSERT_TRUE(clipboard.Restore(*kept));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_METAFILEPICT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(GetClipboardData(CF_METAFILEPICT)));
  ASSERT_NE(pict, nullptr);
  EXPECT_EQ(pict->xExt, 2540);
  EXPECT_EQ(pict->yExt, 1270);
  std::string bits(GetMetaFileBitsEx(pict->hMF, 0, nullptr), '\0');
  GetMetaFileBitsEx(pict->hMF, static_cast<UINT>(bits.size()), bits.data());
  EXPECT_EQ(bits, SmallMetafile());
  GlobalUnlock(GetClipboardData(CF_METAFILEPICT));
  CloseClipboard();
}

TEST(Win32ClipboardTest, AClipboardHeldOpenIsNeitherKeptNorEmptied) {
  Win32Clipboard clipboard;
  ASSERT_TRUE(clipboard.SetText("the user's"));
  const HWND other = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(OpenClipboard(other));
  EXPECT_EQ(clipboard.Save(), std::nullopt);
  EXPECT_FALSE(clipboard.Clear());
  CloseClipboard();
  DestroyWindow(other);
  EXPECT_EQ(clipboard.GetText(), "the user's");
}

}  // namespace
}  // namespace wdx::platform
