// Picture files and the clipboard's bitmap: Windows bitmap files, JPEG files (through libjpeg)
// and Windows metafiles, read into and written from one plain picture of 24-bit pixels, and
// the packed device-independent bitmap (DIB) the clipboard holds.
//
// Everything read here comes from outside (a file, another program's clipboard): a reader
// checks every size against the bytes it has before it trusts it, and answers nullopt for
// anything it cannot read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clipboard.h"

namespace wdx::player {

// Rows top to bottom, each width × 3 bytes blue, green, red, without padding.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> bgr;
  bool operator==(const Picture&) const = default;
};

// The largest picture read or written: far beyond any screen, and small enough that a file of
// a few bytes claiming more can never make the player allocate without bound.
inline constexpr std::int64_t kPictureMaxPixels = std::int64_t{1} << 25;

// A packed DIB (BITMAPINFOHEADER or a later or the old core header, its colours, its rows):
// 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit-field masks, bottom-up or
// top-down. Compressed rows (RLE, embedded JPEG or PNG) are not read.
std::optional<Picture> ReadDib(std::string_view dib);
// A packed 24-bit DIB, bottom-up, rows padded to four bytes.
std::string WriteDib(const Picture& picture);

// A .BMP file: the 14-byte file header ("BM", the pixel offset) and a DIB.
std::optional<Picture> ReadBmpFile(std::string_view file);
std::string WriteBmpFile(const Picture& picture);

// A JPEG file decoded by libjpeg (grey or colour); nullopt for a file libjpeg refuses or that
// ends before its picture does.
std::optional<Picture> DecodeJpeg(std::string_view file);
// The picture encoded by libjpeg at the quality (1..100); nullopt when it cannot be.
std::optional<std::string> EncodeJpeg(const Picture& picture, int quality);

// A .WMF file: an optional placeable header (its bounds and units per inch give the size),
// then the metafile itself, whose header must hold and whose size must fit the file.
std::optional<platform::MetafilePicture> ReadMetafileFile(std::string_view file);

}  // namespace wdx::player
