// Any bytes through the picture readers of the clipboard commands: as a .BMP file, as the
// clipboard's bitmap, as a JPEG file (libjpeg) and as a .WMF file. A picture read must be
// whole (as many pixels as its size says, within the largest picture), must write and read
// back unchanged as a bitmap, and a small one must encode as JPEG and decode to its size.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "player/interpreter/picture_files.h"

namespace {

constexpr std::int64_t kRoundTripMaxPixels = 1 << 20;
constexpr std::int64_t kEncodeMaxPixels = 64 * 64;

void Check(const std::optional<wdx::player::Picture>& p) {
  using namespace wdx::player;
  if (!p) return;
  if (p->width <= 0 || p->height <= 0 || std::int64_t{p->width} * p->height > kPictureMaxPixels ||
      p->bgr.size() != static_cast<std::size_t>(p->width) * static_cast<std::size_t>(p->height) * 3) {
    wdx::fuzz::Finding("a picture was read with a size its pixels do not have");
  }
  if (std::int64_t{p->width} * p->height > kRoundTripMaxPixels) return;
  if (ReadDib(WriteDib(*p)) != p) wdx::fuzz::Finding("a picture did not read back as the bitmap it was written as");
  if (ReadBmpFile(WriteBmpFile(*p)) != p) wdx::fuzz::Finding("a picture did not read back from its bitmap file");
  if (std::int64_t{p->width} * p->height <= kEncodeMaxPixels) {
    const std::optional<std::string> jpeg = EncodeJpeg(*p, 100);
    if (!jpeg) wdx::fuzz::Finding("a picture could not be encoded as JPEG");
    const std::optional<Picture> back = jpeg ? DecodeJpeg(*jpeg) : std::nullopt;
    if (!back || back->width != p->width || back->height != p->height) {
      wdx::fuzz::Finding("an encoded JPEG did not decode to its picture's size");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx::player;
  const std::string_view input = wdx::fuzz::AsText(data, size);
  Check(ReadBmpFile(input));
  Check(ReadDib(input));
  Check(DecodeJpeg(input));
  if (const std::optional<wdx::platform::MetafilePicture> m = ReadMetafileFile(input)) {
    if (m->bits.size() > input.size()) wdx::fuzz::Finding("a metafile grew beyond its file");
  }
  return 0;
}
