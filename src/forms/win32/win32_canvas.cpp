#include "forms/win32/win32_canvas.h"

#include <map>
#include <string>

namespace wdx::forms::win32 {

namespace {

// Icon files are loaded once per path and kept for the program's life (a list repaints often).
HICON IconOf(const Picture& picture) {
  static std::map<std::string, HICON> files;
  switch (picture.kind) {
    case Picture::Kind::kNone:
      return nullptr;
    case Picture::Kind::kMacro:
      return LoadIcon(nullptr, IDI_APPLICATION);
    case Picture::Kind::kMenu:
      return LoadIcon(nullptr, IDI_INFORMATION);
    case Picture::Kind::kFile: {
      auto it = files.find(picture.file);
      if (it == files.end()) {
        auto icon = static_cast<HICON>(LoadImageA(nullptr, picture.file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        it = files.emplace(picture.file, icon).first;
      }
      return it->second;
    }
  }
  return nullptr;
}

}  // namespace

RECT ToRect(const platform::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

Win32Canvas::Win32Canvas(HDC dc, std::function<HFONT(const Font&)> fonts)
    : dc_(dc), fonts_(std::move(fonts)), oldFont_(GetCurrentObject(dc, OBJ_FONT)) {
  SetBkMode(dc_, TRANSPARENT);
}

Win32Canvas::~Win32Canvas() { SelectObject(dc_, oldFont_); }

void Win32Canvas::SelectFont() {
  SelectObject(dc_, fonts_(font));
  SetTextColor(dc_, ColorRef(font.color));
}

void Win32Canvas::FillRect(const platform::Rect& r) {
  RECT rc = ToRect(r);
  HBRUSH brush = CreateSolidBrush(ColorRef(brushColor));
  ::FillRect(dc_, &rc, brush);
  DeleteObject(brush);
}

void Win32Canvas::WriteText(int x, int y, std::string_view text, const platform::Rect& clip) {
  SelectFont();
  RECT rc = ToRect(clip);
  ExtTextOutA(dc_, x, y, ETO_CLIPPED, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int Win32Canvas::TextWidth(std::string_view text) {
  SelectFont();
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return static_cast<int>(size.cx);
}

int Win32Canvas::TextHeight(std::string_view text) {
  SelectFont();
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return static_cast<int>(size.cy);
}

void Win32Canvas::Draw(const platform::Rect& r, const Picture& picture) {
  if (HICON icon = IconOf(picture)) {
    DrawIconEx(dc_, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
  }
}

}  // namespace wdx::forms::win32
