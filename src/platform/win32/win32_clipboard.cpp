#include "platform/win32/win32_clipboard.h"

#include "platform/win32/windows_api.h"

#include <cstring>

namespace wdx::platform {

namespace {

// A movable memory block holding the bytes; nullptr when none could be had.
HGLOBAL GlobalBytes(const void* bytes, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  if (size > 0) std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  return memory;
}

// The bytes of a memory block the clipboard holds; nullopt when it cannot be read.
std::optional<std::string> BlockBytes(HANDLE memory) {
  if (memory == nullptr) return std::nullopt;
  const SIZE_T size = GlobalSize(memory);
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return std::nullopt;
  std::string copy(static_cast<const char*>(bytes), size);
  GlobalUnlock(memory);
  return copy;
}

// Stores a memory block in the open clipboard; the clipboard owns it only once stored.
bool StoreBlock(UINT format, HGLOBAL memory) {
  if (memory == nullptr) return false;
  if (SetClipboardData(format, memory) != nullptr) return true;
  GlobalFree(memory);
  return false;
}

void PutWord(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint32_t Word(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
  return v;
}

// A metafile picture in the open clipboard (CF_METAFILEPICT): its mapping mode and extents
// (three words), then the metafile's bits.
std::optional<std::string> MetafilePictBytes(HANDLE memory) {
  if (memory == nullptr) return std::nullopt;
  const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(memory));
  if (pict == nullptr) return std::nullopt;
  std::optional<std::string> bytes;
  const UINT size = GetMetaFileBitsEx(pict->hMF, 0, nullptr);
  if (size > 0) {
    std::string out;
    PutWord(out, static_cast<std::uint32_t>(pict->mm));
    PutWord(out, static_cast<std::uint32_t>(pict->xExt));
    PutWord(out, static_cast<std::uint32_t>(pict->yExt));
    std::string bits(size, '\0');
    if (GetMetaFileBitsEx(pict->hMF, size, bits.data()) == size) bytes = out + bits;
  }
  GlobalUnlock(memory);
  return bytes;
}

// Places a metafile picture made from its mapping mode, extents and bits.
bool StoreMetafilePict(LONG mm, LONG xExt, LONG yExt, const char* bits, std::size_t size) {
  HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(size), reinterpret_cast<const BYTE*>(bits));
  if (metafile == nullptr) return false;
  METAFILEPICT pict{};
  pict.mm = mm;
  pict.xExt = xExt;
  pict.yExt = yExt;
  pict.hMF = metafile;
  if (StoreBlock(CF_METAFILEPICT, GlobalBytes(&pict, sizeof pict))) return true;
  DeleteMetaFile(metafile);
  return false;
}

// An enhanced metafile in the open clipboard as its bits.
std::optional<std::string> EnhMetafileBytes(HANDLE handle) {
  const auto metafile = static_cast<HENHMETAFILE>(handle);
  const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
  if (size == 0) return std::nullopt;
  std::string bits(size, '\0');
  if (GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bits.data())) != size) return std::nullopt;
  return bits;
}

bool StoreEnhMetafile(const std::string& bits) {
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bits.size()), reinterpret_cast<const BYTE*>(bits.data()));
  if (metafile == nullptr) return false;
  if (SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr) return true;
  DeleteEnhMetaFile(metafile);
  return false;
}

// Formats that are no memory block and are kept some other way (the metafiles), or not at all:
// a device bitmap and its palette come back through CF_DIB, which the system lists beside
// them and makes from them; what another program draws itself, and private handles, cannot be
// kept.
enum class Keep { kBlock, kMetafilePict, kEnhMetafile, kNot };

Keep HowToKeep(UINT format) {
  switch (format) {
    case CF_METAFILEPICT: return Keep::kMetafilePict;
    case CF_ENHMETAFILE: return Keep::kEnhMetafile;
    case CF_BITMAP:
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return Keep::kNot;
    default:
      return format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST ? Keep::kNot : Keep::kBlock;
  }
}

}  // namespace

Win32Clipboard::~Win32Clipboard() {
  if (owner_ != nullptr) DestroyWindow(static_cast<HWND>(owner_));
}

bool Win32Clipboard::Open() {
  if (owner_ == nullptr) {
    owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  }
  // Another program may hold the clipboard for a moment: a few tries, as the edit controls do.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(static_cast<HWND>(owner_))) return true;
    Sleep(10);
  }
  return false;
}

bool Win32Clipboard::SetText(const std::string& text) {
  const std::size_t length = std::strlen(text.c_str());  // CF_TEXT ends at the first NUL
  if (!Open()) return false;
  EmptyClipboard();
  const bool stored = StoreBlock(CF_TEXT, GlobalBytes(text.c_str(), length + 1));
  CloseClipboard();
  return stored;
}

std::optional<std::string> Win32Clipboard::GetText() {
  if (!Open()) return std::nullopt;
  std::optional<std::string> result = BlockBytes(GetClipboardData(CF_TEXT));
  CloseClipboard();
  // Bounded by the block's size: a block without its NUL is not read past its end.
  if (result) result->resize(strnlen(result->c_str(), result->size()));
  return result;
}

bool Win32Clipboard::Clear() {
  if (!Open()) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

bool Win32Clipboard::SetBitmap(const std::string& dib) {
  if (!Open()) return false;
  EmptyClipboard();
  const bool stored = StoreBlock(CF_DIB, GlobalBytes(dib.data(), dib.size()));
  CloseClipboard();
  return stored;
}

std::optional<std::string> Win32Clipboard::GetBitmap() {
  if (!Open()) return std::nullopt;
  std::optional<std::string> dib;
  if (IsClipboardFormatAvailable(CF_DIB)) dib = BlockBytes(GetClipboardData(CF_DIB));
  CloseClipboard();
  return dib;
}

bool Win32Clipboard::SetMetafile(const MetafilePicture& picture) {
  if (!Open()) return false;
  EmptyClipboard();
  // Without a size the picture is drawn at the size its records give.
  const bool sized = picture.widthHimetric > 0 && picture.heightHimetric > 0;
  const bool stored = StoreMetafilePict(MM_ANISOTROPIC, sized ? picture.widthHimetric : 0,
                                        sized ? picture.heightHimetric : 0, picture.bits.data(), picture.bits.size());
  CloseClipboard();
  return stored;
}

std::optional<ClipboardSnapshot> Win32Clipboard::Save() {
  if (!Open()) return std::nullopt;
  ClipboardSnapshot snapshot;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    std::optional<std::string> bytes;
    switch (HowToKeep(format)) {
      case Keep::kBlock: bytes = BlockBytes(GetClipboardData(format)); break;
      case Keep::kMetafilePict: bytes = MetafilePictBytes(GetClipboardData(format)); break;
      case Keep::kEnhMetafile: {
        if (HANDLE h = GetClipboardData(format)) bytes = EnhMetafileBytes(h);
        break;
      }
      case Keep::kNot: break;
    }
    if (bytes) snapshot.formats.push_back({format, std::move(*bytes)});
  }
  CloseClipboard();
  return snapshot;
}

bool Win32Clipboard::Restore(const ClipboardSnapshot& snapshot) {
  if (!Open()) return false;
  EmptyClipboard();
  for (const auto& [format, bytes] : snapshot.formats) {
    switch (HowToKeep(format)) {
      case Keep::kBlock: StoreBlock(format, GlobalBytes(bytes.data(), bytes.size())); break;
      case Keep::kMetafilePict:
        if (bytes.size() > 12) {
          StoreMetafilePict(static_cast<LONG>(Word(bytes, 0)), static_cast<LONG>(Word(bytes, 4)),
                            static_cast<LONG>(Word(bytes, 8)), bytes.data() + 12, bytes.size() - 12);
        }
        break;
      case Keep::kEnhMetafile: StoreEnhMetafile(bytes); break;
      case Keep::kNot: break;
    }
  }
  CloseClipboard();
  return true;
}

}  // namespace wdx::platform
