#include "shared/byte_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace wdx {
namespace {

// A hand-made 24-byte layout: u8 @0, u16 @1, i32 @3, short string[5] @7, double @13, u16 @21, pad.
constexpr std::array<std::uint8_t, 24> kFixture = {
    0xAB,                                // u8
    0x34, 0x12,                          // u16 0x1234
    0xFE, 0xFF, 0xFF, 0xFF,              // i32 -2
    0x03, 'a', 'b', 'c', 0x00, 0x00,     // short string "abc", room for 5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,  // double 1.5
    0x10, 0x27,                          // u16 10000
    0x00};

TEST(ByteCodec, ReadsHandMadeFixture) {
  ConstBytes b(kFixture);
  EXPECT_EQ(ReadU8(b, 0), 0xAB);
  EXPECT_EQ(ReadU16(b, 1), 0x1234);
  EXPECT_EQ(ReadI32(b, 3), -2);
  EXPECT_EQ(ReadShortString(b, 7, 5), "abc");
  EXPECT_DOUBLE_EQ(ReadDouble(b, 13), 1.5);
  EXPECT_EQ(ReadU16(b, 21), 10000);
}

TEST(ByteCodec, WritesTheSameBytes) {
  ByteRecord r(24);
  r.SetU8(0, 0xAB);
  r.SetU16(1, 0x1234);
  r.SetI32(3, -2);
  r.SetShortString(7, 5, "abc");
  r.SetDouble(13, 1.5);
  r.SetU16(21, 10000);
  EXPECT_TRUE(std::equal(kFixture.begin(), kFixture.end(), r.data()));
}

TEST(ByteCodec, ShortStringClampsAndZeroes) {
  std::array<std::uint8_t, 6> raw = {9, 'x', 'y', 'z', 'w', 'v'};  // length byte lies: 9 > room 5
  EXPECT_EQ(ReadShortString(raw, 0, 5), "xyzwv");
  raw = {2, 'h', 'i', 'G', 'G', 'G'};  // bytes past the length are ignored
  EXPECT_EQ(ReadShortString(raw, 0, 5), "hi");
  WriteShortString(raw, 0, 5, "q");
  EXPECT_EQ(raw, (std::array<std::uint8_t, 6>{1, 'q', 0, 0, 0, 0}));
  WriteShortString(raw, 0, 5, "too long text");
  EXPECT_EQ(raw, (std::array<std::uint8_t, 6>{5, 't', 'o', 'o', ' ', 'l'}));
}

TEST(ByteCodec, ZStringKeepsRoomForTerminator) {
  std::array<std::uint8_t, 4> raw{};
  WriteZString(raw, 0, 4, "abcdef");
  EXPECT_EQ(raw, (std::array<std::uint8_t, 4>{'a', 'b', 'c', 0}));
  EXPECT_EQ(ReadZString(raw, 0, 4), "abc");
  raw = {'w', 'x', 'y', 'z'};  // no terminator: stops at the field's end
  EXPECT_EQ(ReadZString(raw, 0, 4), "wxyz");
}

TEST(ByteCodec, OutOfRangeAccessThrows) {
  std::array<std::uint8_t, 4> raw{};
  EXPECT_THROW(ReadU32(raw, 1), std::out_of_range);
  EXPECT_THROW(WriteShortString(raw, 0, 4, "x"), std::out_of_range);
  EXPECT_THROW(ReadU8(raw, static_cast<std::size_t>(-1)), std::out_of_range);
  EXPECT_NO_THROW(ReadU32(raw, 0));
}

}  // namespace
}  // namespace wdx

namespace wdx {
namespace {
TEST(ByteCodec, EmptyViewsWriteNothingButZeroes) {
  std::array<std::uint8_t, 4> raw = {7, 7, 7, 7};
  WriteShortString(raw, 0, 3, std::string_view{});
  EXPECT_EQ(raw, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  raw = {7, 7, 7, 7};
  WriteZString(raw, 0, 4, std::string_view{});
  EXPECT_EQ(raw, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  WriteChars(raw, 0, 4, std::string_view{}, ' ');
  EXPECT_EQ(raw, (std::array<std::uint8_t, 4>{' ', ' ', ' ', ' '}));
}
}  // namespace
}  // namespace wdx
