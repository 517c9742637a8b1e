#include "shared/globals.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shared/text_util.h"

namespace wdx {

namespace {

// The fixed-point digits of x without padding.
std::string FixedText(std::uint8_t decimals, double x) {
  if (std::isnan(x)) return "Nan";
  if (std::isinf(x)) return x < 0 ? "-Inf" : "+Inf";
  // Round half away from zero at the requested decimal; printf alone would round an exact
  // half to even (123456.5 -> 123456).
  const double scale = std::pow(10.0, decimals);
  const double scaled = x * scale;
  double value = x;
  if (std::isfinite(scaled) && std::fabs(scaled) < 1e15) value = std::round(scaled) / scale;
  if (value == 0.0) value = 0.0;  // no "-0"
  char buf[400];
  int n = std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(decimals), value);
  if (n < 0) return std::string();
  return std::string(buf, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
}
}  // namespace

void GetScreenFactors(platform::Input& input, ScreenFactors& factors) {
  const platform::Point size = input.ScreenSize();
  factors.ScreenWidth = size.x;
  factors.ScreenHeight = size.y;
  factors.MouseXFactor = size.x > 0 ? 65535.0 / size.x : 0.0;
  factors.MouseYFactor = size.y > 0 ? 65535.0 / size.y : 0.0;
}

void SplitMsfLength(std::int16_t value, std::int32_t& minutes, std::int32_t& seconds) {
  const auto v = static_cast<std::uint16_t>(value);
  minutes = v & 0xFF;
  seconds = v >> 8;
}

void SplitTmsfPosition(std::int32_t value, std::int32_t& track, std::int32_t& minutes, std::int32_t& seconds,
                       std::int32_t& frames) {
  const auto v = static_cast<std::uint32_t>(value);
  track = v & 0xFF;
  minutes = (v >> 8) & 0xFF;
  seconds = (v >> 16) & 0xFF;
  frames = (v >> 24) & 0xFF;
}

std::int32_t MakeTmsfPosition(std::uint8_t track, std::uint8_t minutes, std::uint8_t seconds, std::uint8_t) {
  return track + minutes * 256 + seconds * 65536;
}

std::string PadLeft(std::string_view text, std::uint8_t width) {
  std::string s(text);
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return CutShort(s);
}

std::string FormatNumber(std::uint8_t width, std::uint8_t decimals, double x) {
  return PadLeft(CutShort(FixedText(decimals, x)), width);
}

std::string FormatThousands(std::uint8_t width, std::uint8_t decimals, double x) {
  std::string t = FormatNumber(width, decimals, x);
  t.erase(0, t.find_first_not_of(' ') == std::string::npos ? t.size() : t.find_first_not_of(' '));
  std::size_t p = decimals > 0 ? decimals + 4u : 3u;
  while (p < t.size()) {
    t.insert(t.size() - p, 1, ',');
    p += 4;
  }
  if (x < 0 && t.size() > 1 && t[1] == ',') t.erase(1, 1);
  return PadLeft(t, width);
}

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
  std::string s(name);
  if (s.size() >= 3) s.resize(s.size() - 3);
  s.append(extension);
  return CutShort(s);
}

bool FolderExists(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path remembered = fs::current_path(ec);
  if (ec || path.empty()) return false;
  fs::current_path(fs::path(path), ec);
  if (ec) return false;
  fs::current_path(remembered, ec);  // a failure here is not the caller's business
  return true;
}

}  // namespace wdx
