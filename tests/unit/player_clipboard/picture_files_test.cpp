// The picture files: device-independent bitmaps of every depth the clipboard and .BMP files
// use, JPEG through libjpeg (fixtures made by libjpeg itself), metafiles, and what each reader
// makes of broken input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jpeg_fixture.h"
#include "player/interpreter/picture_files.h"
#include "shared/byte_codec.h"

namespace wdx::player {
namespace {

using testing::GradientRgb;
using testing::LargestDifference;
using testing::MakeJpeg;
using testing::ReadJpeg;

// Little-endian bytes of a hand-made header.
struct Bytes {
  std::string s;
  Bytes& U8(std::uint8_t v) { s.push_back(static_cast<char>(v)); return *this; }
  Bytes& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Raw(const std::string& r) { s += r; return *this; }
};

// A BITMAPINFOHEADER.
Bytes InfoHeader(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                 std::uint32_t colorsUsed = 0) {
  Bytes b;
  b.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(
      static_cast<std::uint16_t>(bits));
  b.U32(compression).U32(0).U32(0).U32(0).U32(colorsUsed).U32(0);
  return b;
}

std::vector<std::uint8_t> Bgr(std::initializer_list<std::uint8_t> v) { return v; }

TEST(PictureFiles, DibsOfEveryDepthReadToTheSamePixels) {
  // Two by two: red, green on the top row; blue, white below (as blue, green, red bytes).
  const std::vector<std::uint8_t> expected = Bgr({0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255});
  const std::string palette = Bytes().U32(0x00FF0000).U32(0x0000FF00).U32(0x000000FF).U32(0x00FFFFFF).s;
  struct Case {
    const char* what;
    std::string dib;
  };
  const Case cases[] = {
      // Bottom-up rows: the bottom row first, each padded to four bytes.
      {"24 bits", InfoHeader(2, 2, 24).Raw(std::string("\xFF\0\0\xFF\xFF\xFF\0\0", 8)).Raw(std::string("\0\0\xFF\0\xFF\0\0\0", 8)).s},
      {"24 bits top-down", InfoHeader(2, -2, 24).Raw(std::string("\0\0\xFF\0\xFF\0\0\0", 8)).Raw(std::string("\xFF\0\0\xFF\xFF\xFF\0\0", 8)).s},
      {"8 bits", InfoHeader(2, 2, 8, 0, 4).Raw(palette).Raw(std::string("\x02\x03\0\0\x00\x01\0\0", 8)).s},
      {"4 bits", InfoHeader(2, 2, 4, 0, 4).Raw(palette).Raw(std::string("\x23\0\0\0\x01\0\0\0", 8)).s},
      {"16 bits 5-5-5", InfoHeader(2, 2, 16).Raw(Bytes().U16(0x001F).U16(0x7FFF).U16(0x7C00).U16(0x03E0).s).s},
      {"32 bits", InfoHeader(2, 2, 32).Raw(Bytes().U32(0xFF).U32(0xFFFFFF).U32(0xFF0000).U32(0xFF00).s).s},
      {"32 bits with masks", InfoHeader(2, 2, 32, 3)
                                 .U32(0x000000FF).U32(0x0000FF00).U32(0x00FF0000)  // red low, blue high
                                 .Raw(Bytes().U32(0xFF0000).U32(0xFFFFFF).U32(0xFF).U32(0xFF00).s).s},
      {"core header", Bytes().U32(12).U16(2).U16(2).U16(1).U16(24)
                          .Raw(std::string("\xFF\0\0\xFF\xFF\xFF\0\0", 8)).Raw(std::string("\0\0\xFF\0\xFF\0\0\0", 8)).s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<Picture> p = ReadDib(c.dib);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 2);
    EXPECT_EQ(p->height, 2);
    EXPECT_EQ(p->bgr, expected);
  }
  // A 1-bit DIB: its two colours by bit, high bit first.
  const std::string mono = InfoHeader(3, 1, 1).U32(0).U32(0xFFFFFF).Raw(std::string("\xA0\0\0\0", 4)).s;
  const std::optional<Picture> m = ReadDib(mono);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->bgr, Bgr({255, 255, 255, 0, 0, 0, 255, 255, 255}));
}

TEST(PictureFiles, BmpFilesAndDibsRoundTrip) {
  Picture p{3, 2, {}};
  for (int i = 0; i < 18; ++i) p.bgr.push_back(static_cast<std::uint8_t>(i * 13));
  const std::string file = WriteBmpFile(p);
  // The file header: "BM", the file's size, the pixels after 14 + 40 bytes; rows of 12 bytes.
  ASSERT_EQ(file.size(), 14u + 40u + 2u * 12u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  const ConstBytes b{reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
  EXPECT_EQ(ReadU32(b, 2), file.size());
  EXPECT_EQ(ReadU32(b, 10), 54u);
  EXPECT_EQ(ReadU16(b, 14 + 14), 24);
  EXPECT_EQ(ReadBmpFile(file), p);
  EXPECT_EQ(ReadDib(WriteDib(p)), p);
  // A file whose pixels lie further on than the colours end says so in its header.
  std::string gap = file.substr(0, 54) + "pad!" + file.substr(54);
  gap[10] = 58;
  EXPECT_EQ(ReadBmpFile(gap), p);
}

TEST(PictureFiles, JpegMadeByLibjpegDecodesAndEncodesBack) {
  const std::string file = MakeJpeg(40, 24);
  const std::optional<Picture> p = DecodeJpeg(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 40);
  EXPECT_EQ(p->height, 24);
  // Our pixels are blue, green, red; the gradient was made red, green, blue.
  std::vector<std::uint8_t> rgb(p->bgr.size());
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = p->bgr[i + 2];
    rgb[i + 1] = p->bgr[i + 1];
    rgb[i + 2] = p->bgr[i];
  }
  EXPECT_LE(LargestDifference(rgb, GradientRgb(40, 24)), 24);
  const std::optional<std::string> again = EncodeJpeg(*p, 100);
  ASSERT_TRUE(again);
  const testing::DecodedJpeg back = ReadJpeg(*again);
  EXPECT_EQ(back.width, 40);
  EXPECT_EQ(back.height, 24);
  EXPECT_LE(LargestDifference(back.rgb, rgb), 8);
  // A grey JPEG comes out in colour.
  Picture grey{8, 8, std::vector<std::uint8_t>(8 * 8 * 3, 128)};
  const std::optional<Picture> g = DecodeJpeg(*EncodeJpeg(grey, 75));
  ASSERT_TRUE(g);
  EXPECT_LE(LargestDifference(g->bgr, grey.bgr), 2);
}

TEST(PictureFiles, BrokenInputIsRefusedWhole) {
  const std::string jpeg = MakeJpeg(32, 32);
  const std::string bmp = WriteBmpFile(Picture{4, 4, std::vector<std::uint8_t>(48, 7)});
  std::string hugeJpeg = jpeg;
  // The start-of-frame's height and width made 60000 each.
  const std::size_t sof = hugeJpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  hugeJpeg[sof + 5] = '\xEA';
  hugeJpeg[sof + 6] = '\x60';
  hugeJpeg[sof + 7] = '\xEA';
  hugeJpeg[sof + 8] = '\x60';
  std::string hugeBmp = bmp;
  hugeBmp[22] = '\xE8';
  hugeBmp[23] = '\x03';  // 1000 rows in a file of four
  std::string negativeWidth = bmp;
  negativeWidth[21] = '\xFF';
  std::string rle = bmp;
  rle[30] = 1;
  std::string tooManyColours = WriteBmpFile(Picture{1, 1, {1, 2, 3}});
  tooManyColours[28] = 8;
  tooManyColours[46] = '\x01';
  tooManyColours[47] = '\x01';  // 257 colours for 8 bits
  struct Case {
    const char* what;
    bool jpegFile;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty JPEG", true, ""},
      {"JPEG cut in its middle", true, jpeg.substr(0, jpeg.size() / 2)},
      {"JPEG cut after its header", true, jpeg.substr(0, 200)},
      {"text named .jpg", true, "just some text, no picture"},
      {"a bitmap named .jpg", true, bmp},
      {"JPEG beyond the largest picture", true, hugeJpeg},
      {"empty bitmap", false, ""},
      {"no BM", false, "XY" + bmp.substr(2)},
      {"bitmap cut in its rows", false, bmp.substr(0, bmp.size() - 1)},
      {"bitmap cut in its header", false, bmp.substr(0, 30)},
      {"bitmap claiming more rows than it has", false, hugeBmp},
      {"negative width", false, negativeWidth},
      {"run-length rows", false, rle},
      {"more colours than its depth", false, tooManyColours},
      {"a JPEG named .bmp", false, jpeg},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.jpegFile ? DecodeJpeg(c.bytes) : ReadBmpFile(c.bytes), std::nullopt);
  }
  EXPECT_EQ(ReadDib(""), std::nullopt);
  EXPECT_EQ(ReadDib(std::string(40, '\0')), std::nullopt);
  EXPECT_EQ(EncodeJpeg(Picture{2, 2, {1, 2, 3}}, 100), std::nullopt);  // fewer pixels than its size
}

// A metafile of a header and the end record; `placeable` puts the 22-byte header in front,
// 1440 units per inch over 2880 by 1440 units.
std::string Metafile(bool placeable, std::uint32_t sizeWords = 12) {
  Bytes m;
  if (placeable) m.U32(0x9AC6CDD7).U16(0).U16(0).U16(0).U16(2880).U16(1440).U16(1440).U32(0).U16(0);
  m.U16(1).U16(9).U16(0x300).U32(sizeWords).U16(0).U32(3).U16(0);
  m.U32(3).U16(0);  // the end record
  return m.s;
}

TEST(PictureFiles, MetafilesKeepTheirRecordsAndSize) {
  const std::optional<platform::MetafilePicture> placed = ReadMetafileFile(Metafile(true));
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->bits, Metafile(false));
  EXPECT_EQ(placed->widthHimetric, 5080);  // two inches
  EXPECT_EQ(placed->heightHimetric, 2540);
  const std::optional<platform::MetafilePicture> bare = ReadMetafileFile(Metafile(false) + "trailing");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->bits, Metafile(false));
  EXPECT_EQ(bare->widthHimetric, 0);
  EXPECT_EQ(ReadMetafileFile(Metafile(false, 400)), std::nullopt);  // a size beyond the file
  EXPECT_EQ(ReadMetafileFile(Metafile(false).substr(0, 20)), std::nullopt);
  std::string noEnd = Metafile(false);
  noEnd[18] = 2;  // a record of two words
  EXPECT_EQ(ReadMetafileFile(noEnd), std::nullopt);
  EXPECT_EQ(ReadMetafileFile(WriteBmpFile(Picture{1, 1, {1, 2, 3}})), std::nullopt);
}

}  // namespace
}  // namespace wdx::player
