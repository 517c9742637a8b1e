// Fixed-offset little-endian access to the byte layouts that cross a file or a process:
// macro records, the hook-globals block, the named shared blocks, sync stamps and so on.
// Every layout is read and written through these functions by explicit offset; nothing casts
// a struct onto bytes, so the layout is the same for every compiler and both word sizes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wdx {

using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;

// An access outside the buffer is a programming error in a layout definition; it throws
// std::out_of_range rather than touching memory it does not own.
void CheckRange(std::size_t bufferSize, std::size_t offset, std::size_t width);

std::uint8_t ReadU8(ConstBytes buf, std::size_t off);
std::uint16_t ReadU16(ConstBytes buf, std::size_t off);
std::uint32_t ReadU32(ConstBytes buf, std::size_t off);
std::int16_t ReadI16(ConstBytes buf, std::size_t off);
std::int32_t ReadI32(ConstBytes buf, std::size_t off);
double ReadDouble(ConstBytes buf, std::size_t off);

void WriteU8(Bytes buf, std::size_t off, std::uint8_t v);
void WriteU16(Bytes buf, std::size_t off, std::uint16_t v);
void WriteU32(Bytes buf, std::size_t off, std::uint32_t v);
void WriteI16(Bytes buf, std::size_t off, std::int16_t v);
void WriteI32(Bytes buf, std::size_t off, std::int32_t v);
void WriteDouble(Bytes buf, std::size_t off, double v);

// Short string: one length byte followed by room for maxLen characters (maxLen + 1 bytes in
// all). On read a length byte larger than maxLen is clamped and bytes past the length are
// ignored; on write the text is cut to maxLen and the unused room is zeroed.
std::string ReadShortString(ConstBytes buf, std::size_t off, std::size_t maxLen);
void WriteShortString(Bytes buf, std::size_t off, std::size_t maxLen, std::string_view s);

// Zero-terminated text in a field of `width` bytes: read stops at the first NUL or the field's
// end; write cuts the text to leave room for the NUL and zeroes the rest of the field.
std::string ReadZString(ConstBytes buf, std::size_t off, std::size_t width);
void WriteZString(Bytes buf, std::size_t off, std::size_t width, std::string_view s);

// Raw characters without terminator or length (fixed-width text fields).
std::string ReadChars(ConstBytes buf, std::size_t off, std::size_t width);
void WriteChars(Bytes buf, std::size_t off, std::size_t width, std::string_view s, std::uint8_t fill = 0);

// The stored date-time is an 8-byte double counting days since 1899-12-30.
inline double ReadDateTime(ConstBytes buf, std::size_t off) { return ReadDouble(buf, off); }
inline void WriteDateTime(Bytes buf, std::size_t off, double v) { WriteDouble(buf, off, v); }

// A byte buffer of a fixed size with the codec's accessors as members, for records.
class ByteRecord {
 public:
  explicit ByteRecord(std::size_t size) : bytes_(size, 0) {}
  std::size_t size() const { return bytes_.size(); }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  Bytes span() { return bytes_; }
  ConstBytes span() const { return bytes_; }
  void Clear() { std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0}); }

  std::uint8_t U8(std::size_t off) const { return ReadU8(bytes_, off); }
  std::uint16_t U16(std::size_t off) const { return ReadU16(bytes_, off); }
  std::uint32_t U32(std::size_t off) const { return ReadU32(bytes_, off); }
  std::int16_t I16(std::size_t off) const { return ReadI16(bytes_, off); }
  std::int32_t I32(std::size_t off) const { return ReadI32(bytes_, off); }
  double Double(std::size_t off) const { return ReadDouble(bytes_, off); }
  std::string ShortString(std::size_t off, std::size_t maxLen) const { return ReadShortString(bytes_, off, maxLen); }
  std::string ZString(std::size_t off, std::size_t width) const { return ReadZString(bytes_, off, width); }

  void SetU8(std::size_t off, std::uint8_t v) { WriteU8(bytes_, off, v); }
  void SetU16(std::size_t off, std::uint16_t v) { WriteU16(bytes_, off, v); }
  void SetU32(std::size_t off, std::uint32_t v) { WriteU32(bytes_, off, v); }
  void SetI16(std::size_t off, std::int16_t v) { WriteI16(bytes_, off, v); }
  void SetI32(std::size_t off, std::int32_t v) { WriteI32(bytes_, off, v); }
  void SetDouble(std::size_t off, double v) { WriteDouble(bytes_, off, v); }
  void SetShortString(std::size_t off, std::size_t maxLen, std::string_view s) { WriteShortString(bytes_, off, maxLen, s); }
  void SetZString(std::size_t off, std::size_t width, std::string_view s) { WriteZString(bytes_, off, width, s); }

  bool operator==(const ByteRecord&) const = default;

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace wdx
