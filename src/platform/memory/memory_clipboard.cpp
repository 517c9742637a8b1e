#include "platform/memory/memory_clipboard.h"


namespace wdx::platform {

namespace {

// The system's numbers of the formats the stand-in holds.
constexpr std::uint32_t kTextFormat = 1;      // CF_TEXT
constexpr std::uint32_t kMetafileFormat = 3;  // CF_METAFILEPICT
constexpr std::uint32_t kDibFormat = 8;       // CF_DIB

// A metafile picture kept as bytes: its two sizes (4 bytes each, little-endian), then its bits.
std::string MetafileBytes(const MetafilePicture& m) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(m.widthHimetric) >> (8 * i)) & 0xFF);
    bytes[static_cast<std::size_t>(4 + i)] =
        static_cast<char>((static_cast<std::uint32_t>(m.heightHimetric) >> (8 * i)) & 0xFF);
  }
  return bytes + m.bits;
}

std::optional<MetafilePicture> MetafileFromBytes(const std::string& bytes) {
  if (bytes.size() < 8) return std::nullopt;
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return static_cast<std::int32_t>(v);
  };
  return MetafilePicture{bytes.substr(8), word(0), word(4)};
}

}  // namespace

bool MemoryClipboard::SetText(const std::string& value) {
  if (!Clear()) return false;
  // CF_TEXT ends at the first NUL.
  text = value.substr(0, value.find('\0'));
  return true;
}

std::optional<std::string> MemoryClipboard::GetText() {
  if (busy_) return std::nullopt;
  return text;
}

bool MemoryClipboard::Clear() {
  if (busy_) return false;
  text.reset();
  bitmap.reset();
  metafile.reset();
  return true;
}

bool MemoryClipboard::SetBitmap(const std::string& dib) {
  if (!Clear()) return false;
  bitmap = dib;
  return true;
}

std::optional<std::string> MemoryClipboard::GetBitmap() {
  if (busy_) return std::nullopt;
  return bitmap;
}

bool MemoryClipboard::SetMetafile(const MetafilePicture& picture) {
  if (!Clear()) return false;
  metafile = picture;
  return true;
}

std::optional<ClipboardSnapshot> MemoryClipboard::Save() {
  if (busy_) return std::nullopt;
  ClipboardSnapshot snapshot;
  if (text) snapshot.formats.push_back({kTextFormat, *text});
  if (metafile) snapshot.formats.push_back({kMetafileFormat, MetafileBytes(*metafile)});
  if (bitmap) snapshot.formats.push_back({kDibFormat, *bitmap});
  return snapshot;
}

bool MemoryClipboard::Restore(const ClipboardSnapshot& snapshot) {
  if (!Clear()) return false;
  for (const auto& [format, bytes] : snapshot.formats) {
    if (format == kTextFormat) text = bytes.substr(0, bytes.find('\0'));
    if (format == kDibFormat) bitmap = bytes;
    if (format == kMetafileFormat) metafile = MetafileFromBytes(bytes);
  }
  return true;
}

}  // namespace wdx::platform
