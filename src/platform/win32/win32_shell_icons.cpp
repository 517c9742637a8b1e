#include "platform/win32/win32_shell_icons.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace wdx::platform {

namespace {

using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

HICON ToHicon(IconHandle h) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(h)); }
IconHandle FromHicon(HICON h) { return static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(h)); }

// The images: a rounded square in the image's colour with a light "W" on it, 16 × 16, so the
// program needs no resource file and each state is told apart at a glance.
constexpr COLORREF kColours[] = {RGB(0x1F, 0x4E, 0x9A), RGB(0x1E, 0x8C, 0x3A), RGB(0xC0, 0x20, 0x20),
                                 RGB(0xC8, 0x8A, 0x10)};
constexpr const char* kGlyph[] = {
    "................", "................", "................", "................",
    "..X..........X..", "..X..........X..", "...X...XX...X...", "...X...XX...X...",
    "...X..X..X..X...", "....X.X..X.X....", "....X.X..X.X....", ".....X....X.....",
    ".....X....X.....", "................", "................", "................"};

HICON DrawImage(COLORREF colour) {
  constexpr int kSize = 16;
  std::vector<std::uint32_t> pixels(kSize * kSize);
  const std::uint32_t fill = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool corner = (x == 0 || x == kSize - 1) && (y == 0 || y == kSize - 1);
      std::uint32_t p = corner ? 0 : fill;
      if (kGlyph[y][x] == 'X') p = 0xFFFFFFFFu;
      pixels[static_cast<std::size_t>(y * kSize + x)] = p;
    }
  }
  BITMAPV5HEADER h{};
  h.bV5Size = sizeof(h);
  h.bV5Width = kSize;
  h.bV5Height = -kSize;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC dc = GetDC(nullptr);
  HBITMAP colourBitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!colourBitmap || !bits) return nullptr;
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
  // The mask: the corners see through. Each row is two bytes, the leftmost pixel the high bit
  // of the first: 0x80 0x01 marks the first and the last pixel.
  std::vector<std::uint8_t> mask(kSize * 2, 0);
  for (const int y : {0, kSize - 1}) {
    mask[static_cast<std::size_t>(y * 2)] = 0x80;
    mask[static_cast<std::size_t>(y * 2 + 1)] = 0x01;
  }
  HBITMAP maskBitmap = CreateBitmap(kSize, kSize, 1, 1, mask.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colourBitmap;
  info.hbmMask = maskBitmap;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colourBitmap);
  if (maskBitmap) DeleteObject(maskBitmap);
  return icon;
}

}  // namespace

Win32ShellIcons::~Win32ShellIcons() {
  for (const IconHandle h : images_)
    if (h != kNoIcon) ::DestroyIcon(ToHicon(h));
}

bool Win32ShellIcons::Notify(NotifyCommand command, const NotifyIcon& icon) {
  // The icon changes a few times a run; the shell library and the two it pulls in would keep
  // nearly a megabyte resident in a player that is at rest most of its life.
  const win32::BorrowedLibrary shell("shell32.dll");
  const auto notify = shell.Entry<NotifyFn>("Shell_NotifyIconA");
  if (!notify) return false;
  NOTIFYICONDATAA data{};
  // The size every shell version knows: window, id, flags, message, icon and a 64-byte tip.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = win32::ToHwnd(icon.window);
  data.uID = icon.id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = icon.callbackMessage;
  data.hIcon = ToHicon(icon.icon);
  const std::size_t n = std::min(icon.tip.size(), kNotifyTipMax);
  std::memcpy(data.szTip, icon.tip.data(), n);
  data.szTip[n] = '\0';
  const DWORD message = command == NotifyCommand::kAdd      ? NIM_ADD
                        : command == NotifyCommand::kModify ? NIM_MODIFY
                                                            : NIM_DELETE;
  return notify(message, &data) != FALSE;
}

IconHandle Win32ShellIcons::ProgramIcon(ProgramImage image) {
  const auto i = static_cast<std::size_t>(image);
  if (i >= images_.size()) return kNoIcon;
  if (images_[i] == kNoIcon) images_[i] = FromHicon(DrawImage(kColours[i]));
  return images_[i];
}

IconHandle Win32ShellIcons::LoadIconFile(const std::string& path) {
  return FromHicon(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
}

void Win32ShellIcons::DestroyIcon(IconHandle icon) {
  if (icon != kNoIcon) ::DestroyIcon(ToHicon(icon));
}

}  // namespace wdx::platform
