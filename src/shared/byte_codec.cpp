#include "shared/byte_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace wdx {

void CheckRange(std::size_t bufferSize, std::size_t offset, std::size_t width) {
  if (offset > bufferSize || width > bufferSize - offset) {
    throw std::out_of_range("byte layout access at " + std::to_string(offset) + "+" + std::to_string(width) +
                            " outside a buffer of " + std::to_string(bufferSize));
  }
}

namespace {
template <typename T>
T ReadLE(ConstBytes buf, std::size_t off) {
  CheckRange(buf.size(), off, sizeof(T));
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t{buf[off + i]} << (8 * i);
  return static_cast<T>(v);
}
template <typename T>
void WriteLE(Bytes buf, std::size_t off, T value) {
  CheckRange(buf.size(), off, sizeof(T));
  auto v = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) buf[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

std::uint8_t ReadU8(ConstBytes buf, std::size_t off) { return ReadLE<std::uint8_t>(buf, off); }
std::uint16_t ReadU16(ConstBytes buf, std::size_t off) { return ReadLE<std::uint16_t>(buf, off); }
std::uint32_t ReadU32(ConstBytes buf, std::size_t off) { return ReadLE<std::uint32_t>(buf, off); }
std::int16_t ReadI16(ConstBytes buf, std::size_t off) { return static_cast<std::int16_t>(ReadU16(buf, off)); }
std::int32_t ReadI32(ConstBytes buf, std::size_t off) { return static_cast<std::int32_t>(ReadU32(buf, off)); }
double ReadDouble(ConstBytes buf, std::size_t off) {
  return std::bit_cast<double>(ReadLE<std::uint64_t>(buf, off));
}

void WriteU8(Bytes buf, std::size_t off, std::uint8_t v) { WriteLE(buf, off, v); }
void WriteU16(Bytes buf, std::size_t off, std::uint16_t v) { WriteLE(buf, off, v); }
void WriteU32(Bytes buf, std::size_t off, std::uint32_t v) { WriteLE(buf, off, v); }
void WriteI16(Bytes buf, std::size_t off, std::int16_t v) { WriteLE(buf, off, static_cast<std::uint16_t>(v)); }
void WriteI32(Bytes buf, std::size_t off, std::int32_t v) { WriteLE(buf, off, static_cast<std::uint32_t>(v)); }
void WriteDouble(Bytes buf, std::size_t off, double v) { WriteLE(buf, off, std::bit_cast<std::uint64_t>(v)); }

std::string ReadShortString(ConstBytes buf, std::size_t off, std::size_t maxLen) {
  CheckRange(buf.size(), off, maxLen + 1);
  std::size_t len = std::min<std::size_t>(buf[off], maxLen);
  return std::string(reinterpret_cast<const char*>(buf.data() + off + 1), len);
}

void WriteShortString(Bytes buf, std::size_t off, std::size_t maxLen, std::string_view s) {
  CheckRange(buf.size(), off, maxLen + 1);
  std::size_t len = std::min({s.size(), maxLen, std::size_t{255}});
  buf[off] = static_cast<std::uint8_t>(len);
  std::memset(buf.data() + off + 1, 0, maxLen);
  if (len > 0) std::memcpy(buf.data() + off + 1, s.data(), len);
}

std::string ReadZString(ConstBytes buf, std::size_t off, std::size_t width) {
  CheckRange(buf.size(), off, width);
  const auto* p = reinterpret_cast<const char*>(buf.data() + off);
  return std::string(p, strnlen(p, width));
}

void WriteZString(Bytes buf, std::size_t off, std::size_t width, std::string_view s) {
  CheckRange(buf.size(), off, width);
  if (width == 0) return;
  std::size_t len = std::min(s.size(), width - 1);
  std::memset(buf.data() + off, 0, width);
  if (len > 0) std::memcpy(buf.data() + off, s.data(), len);
}

std::string ReadChars(ConstBytes buf, std::size_t off, std::size_t width) {
  CheckRange(buf.size(), off, width);
  return std::string(reinterpret_cast<const char*>(buf.data() + off), width);
}

void WriteChars(Bytes buf, std::size_t off, std::size_t width, std::string_view s, std::uint8_t fill) {
  CheckRange(buf.size(), off, width);
  std::size_t len = std::min(s.size(), width);
  std::memset(buf.data() + off, fill, width);
  if (len > 0) std::memcpy(buf.data() + off, s.data(), len);
}

}  // namespace wdx
