#include "player/interpreter/picture_files.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "shared/byte_codec.h"

// libjpeg's header wants <cstdio> first and declares C functions.
extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace wdx::player {

namespace {

ConstBytes BytesOf(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }
bool Fits(std::string_view s, std::size_t offset, std::size_t width) {
  return offset <= s.size() && width <= s.size() - offset;
}

// --- Device-independent bitmaps

constexpr std::uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER

// One colour channel of a bit-field pixel: where its bits are and how many.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  std::uint8_t Of(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t v = (pixel & mask) >> shift;
    const std::uint32_t top = bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << bits) - 1;
    return static_cast<std::uint8_t>((std::uint64_t{v} * 255 + top / 2) / top);
  }
};

Channel ChannelOf(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  while (((mask >> c.shift) & 1u) == 0) ++c.shift;
  while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1u) != 0) ++c.bits;
  return c;
}

std::size_t RowStride(std::int64_t width, int bitCount) {
  return static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
}

// A DIB whose pixels start at `pixelOffset` of `dib` when given (a file says where), else
// right after the header, its masks and its colours.
std::optional<Picture> ReadDibAt(std::string_view dib, std::optional<std::size_t> pixelOffset) {
  const ConstBytes b = BytesOf(dib);
  if (!Fits(dib, 0, 4)) return std::nullopt;
  const std::uint32_t headerSize = ReadU32(b, 0);
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::size_t entrySize = 4;
  std::size_t afterHeader = headerSize;
  Channel red, green, blue;
  if (headerSize == kCoreHeaderSize) {
    if (!Fits(dib, 0, kCoreHeaderSize)) return std::nullopt;
    width = ReadU16(b, 4);
    height = ReadU16(b, 6);
    if (ReadU16(b, 8) != 1) return std::nullopt;
    bitCount = ReadU16(b, 10);
    entrySize = 3;
  } else if (headerSize >= kInfoHeaderSize) {
    if (!Fits(dib, 0, headerSize)) return std::nullopt;
    width = ReadI32(b, 4);
    height = ReadI32(b, 8);
    if (ReadU16(b, 12) != 1) return std::nullopt;
    bitCount = ReadU16(b, 14);
    compression = ReadU32(b, 16);
    colorsUsed = ReadU32(b, 32);
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      // The masks follow a plain info header; later headers hold them.
      std::size_t masksAt = kInfoHeaderSize;
      if (headerSize == kInfoHeaderSize) afterHeader += compression == kBiAlphaBitfields ? 16 : 12;
      if (!Fits(dib, masksAt, 12)) return std::nullopt;
      red = ChannelOf(ReadU32(b, masksAt));
      green = ChannelOf(ReadU32(b, masksAt + 4));
      blue = ChannelOf(ReadU32(b, masksAt + 8));
      if (bitCount != 16 && bitCount != 32) return std::nullopt;
    } else if (compression != kBiRgb) {
      return std::nullopt;  // run-length or embedded JPEG/PNG rows
    }
  } else {
    return std::nullopt;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return std::nullopt;
  }
  if (compression == kBiRgb && bitCount == 16) {
    red = ChannelOf(0x7C00);
    green = ChannelOf(0x03E0);
    blue = ChannelOf(0x001F);
  } else if (compression == kBiRgb && bitCount == 32) {
    red = ChannelOf(0x00FF0000);
    green = ChannelOf(0x0000FF00);
    blue = ChannelOf(0x000000FF);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width * height > kPictureMaxPixels) return std::nullopt;

  // The colours: for up to 8 bits the palette the pixels index; beyond, an optional table the
  // pixels do not use.
  const std::size_t paletteMax = bitCount <= 8 ? std::size_t{1} << bitCount : 256;
  std::size_t colors = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? paletteMax : 0);
  if (colors > paletteMax) return std::nullopt;
  if (!Fits(dib, afterHeader, colors * entrySize)) return std::nullopt;
  std::vector<std::uint8_t> palette(paletteMax * 3, 0);
  if (bitCount <= 8) {
    for (std::size_t i = 0; i < colors; ++i) {
      for (std::size_t c = 0; c < 3; ++c) palette[i * 3 + c] = ReadU8(b, afterHeader + i * entrySize + c);
    }
  }
  const std::size_t pixels = pixelOffset.value_or(afterHeader + colors * entrySize);
  const std::size_t stride = RowStride(width, bitCount);
  if (!Fits(dib, pixels, 0) || stride == 0 || (dib.size() - pixels) / stride < static_cast<std::size_t>(height)) {
    return std::nullopt;
  }

  Picture picture;
  picture.width = static_cast<std::int32_t>(width);
  picture.height = static_cast<std::int32_t>(height);
  picture.bgr.resize(static_cast<std::size_t>(width * height) * 3);
  for (std::int64_t y = 0; y < height; ++y) {
    const std::size_t row = pixels + static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
    std::uint8_t* out = picture.bgr.data() + static_cast<std::size_t>(y * width) * 3;
    for (std::int64_t x = 0; x < width; ++x, out += 3) {
      if (bitCount <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount);
        const std::uint8_t byte = ReadU8(b, row + bit / 8);
        const int shift = 8 - bitCount - static_cast<int>(bit % 8);
        const std::size_t index = (byte >> shift) & ((1u << bitCount) - 1u);
        std::copy_n(palette.data() + index * 3, 3, out);
      } else if (bitCount == 24) {
        for (std::size_t c = 0; c < 3; ++c) out[c] = ReadU8(b, row + static_cast<std::size_t>(x) * 3 + c);
      } else {
        const std::uint32_t v = bitCount == 16 ? ReadU16(b, row + static_cast<std::size_t>(x) * 2)
                                               : ReadU32(b, row + static_cast<std::size_t>(x) * 4);
        out[0] = blue.Of(v);
        out[1] = green.Of(v);
        out[2] = red.Of(v);
      }
    }
  }
  return picture;
}

bool Valid(const Picture& p) {
  return p.width > 0 && p.height > 0 && std::int64_t{p.width} * p.height <= kPictureMaxPixels &&
         p.bgr.size() == static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3;
}

// --- JPEG through libjpeg
//
// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the setjmp of the function that started the work. Between the two only libjpeg's C frames
// lie, so no destructor is skipped; what the work produces lives in a struct the caller owns.

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFatal(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings are not printed (the player has no console); a file that ends before its picture
// does counts as broken, because libjpeg would otherwise make up the rest in grey.
void JpegMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) JpegFatal(info);
}
void JpegNoOutput(j_common_ptr /*info*/) {}

void UseErrors(JpegErrors& errors, jpeg_error_mgr*& slot) {
  slot = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegFatal;
  errors.manager.emit_message = JpegMessage;
  errors.manager.output_message = JpegNoOutput;
}

bool DecodeInto(std::string_view file, Picture* out) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  UseErrors(errors, info.err);
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (std::int64_t{info.image_width} * info.image_height > kPictureMaxPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  out->width = static_cast<std::int32_t>(info.output_width);
  out->height = static_cast<std::int32_t>(info.output_height);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
  out->bgr.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->bgr.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

struct Encoded {
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
};

bool EncodeInto(const Picture& picture, int quality, Encoded* out) {
  jpeg_compress_struct info{};
  JpegErrors errors{};
  UseErrors(errors, info.err);
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out->bytes, &out->size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
  while (info.next_scanline < info.image_height) {
    // libjpeg takes rows as writable pointers but only reads them.
    JSAMPROW row = const_cast<std::uint8_t*>(picture.bgr.data()) + stride * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

// --- Windows metafiles

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;
constexpr std::int64_t kHimetricPerInch = 2540;

// The metafile's records follow each other up to the end record, all inside its size.
bool RecordsHold(ConstBytes m, std::size_t size) {
  std::size_t at = kMetaHeaderSize;
  while (at + 6 <= size) {
    const std::uint64_t words = ReadU32(m, at);
    const std::uint16_t function = ReadU16(m, at + 4);
    if (words < 3 || words * 2 > size - at) return false;
    if (function == 0) return true;  // the end record
    at += static_cast<std::size_t>(words * 2);
  }
  return false;
}

}  // namespace

std::optional<Picture> ReadDib(std::string_view dib) { return ReadDibAt(dib, std::nullopt); }

std::string WriteDib(const Picture& picture) {
  if (!Valid(picture)) return {};
  const std::size_t stride = RowStride(picture.width, 24);
  const std::size_t height = static_cast<std::size_t>(picture.height);
  std::string dib(kInfoHeaderSize + stride * height, '\0');
  const Bytes b{reinterpret_cast<std::uint8_t*>(dib.data()), dib.size()};
  WriteU32(b, 0, kInfoHeaderSize);
  WriteI32(b, 4, picture.width);
  WriteI32(b, 8, picture.height);  // bottom-up
  WriteU16(b, 12, 1);
  WriteU16(b, 14, 24);
  WriteU32(b, 16, kBiRgb);
  WriteU32(b, 20, static_cast<std::uint32_t>(stride * height));
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
  for (std::size_t y = 0; y < height; ++y) {
    std::copy_n(picture.bgr.data() + y * rowBytes, rowBytes, b.data() + kInfoHeaderSize + (height - 1 - y) * stride);
  }
  return dib;
}

std::optional<Picture> ReadBmpFile(std::string_view file) {
  if (!Fits(file, 0, kFileHeaderSize) || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t offset = ReadU32(BytesOf(file), 10);
  const std::string_view dib = file.substr(kFileHeaderSize);
  // A pixel offset inside the headers is no offset at all: the pixels then follow the colours.
  std::optional<std::size_t> pixels;
  if (offset > kFileHeaderSize + kCoreHeaderSize) pixels = offset - kFileHeaderSize;
  return ReadDibAt(dib, pixels);
}

std::string WriteBmpFile(const Picture& picture) {
  const std::string dib = WriteDib(picture);
  if (dib.empty()) return {};
  std::string file(kFileHeaderSize, '\0');
  const Bytes b{reinterpret_cast<std::uint8_t*>(file.data()), file.size()};
  file[0] = 'B';
  file[1] = 'M';
  WriteU32(b, 2, static_cast<std::uint32_t>(kFileHeaderSize + dib.size()));
  WriteU32(b, 10, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize));
  return file + dib;
}

std::optional<Picture> DecodeJpeg(std::string_view file) {
  if (file.empty()) return std::nullopt;
  Picture picture;
  if (!DecodeInto(file, &picture)) return std::nullopt;
  return picture;
}

std::optional<std::string> EncodeJpeg(const Picture& picture, int quality) {
  if (!Valid(picture) || quality < 1 || quality > 100) return std::nullopt;
  // Owned here so that it is freed on every road, the failed one included.
  std::unique_ptr<Encoded, void (*)(Encoded*)> out(new Encoded{}, [](Encoded* e) {
    std::free(e->bytes);
    delete e;
  });
  if (!EncodeInto(picture, quality, out.get()) || out->bytes == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(out->bytes), out->size);
}

std::optional<platform::MetafilePicture> ReadMetafileFile(std::string_view file) {
  platform::MetafilePicture picture;
  std::string_view metafile = file;
  if (Fits(file, 0, kPlaceableSize) && ReadU32(BytesOf(file), 0) == kPlaceableKey) {
    const ConstBytes b = BytesOf(file);
    const std::int64_t width = std::int64_t{ReadI16(b, 10)} - ReadI16(b, 6);
    const std::int64_t height = std::int64_t{ReadI16(b, 12)} - ReadI16(b, 8);
    const std::int64_t inch = ReadU16(b, 14);
    if (inch > 0 && width > 0 && height > 0) {
      picture.widthHimetric = static_cast<std::int32_t>(width * kHimetricPerInch / inch);
      picture.heightHimetric = static_cast<std::int32_t>(height * kHimetricPerInch / inch);
    }
    metafile = file.substr(kPlaceableSize);
  }
  if (!Fits(metafile, 0, kMetaHeaderSize)) return std::nullopt;
  const ConstBytes m = BytesOf(metafile);
  const std::uint16_t type = ReadU16(m, 0);
  const std::uint16_t headerWords = ReadU16(m, 2);
  const std::uint64_t size = std::uint64_t{ReadU32(m, 6)} * 2;
  if ((type != 1 && type != 2) || headerWords * 2u != kMetaHeaderSize || size < kMetaHeaderSize ||
      size > metafile.size() || !RecordsHold(m, static_cast<std::size_t>(size))) {
    return std::nullopt;
  }
  picture.bits = std::string(metafile.substr(0, static_cast<std::size_t>(size)));
  return picture;
}

}  // namespace wdx::player
