#include "forms/text_metrics.h"

#include <cstdint>

namespace wdx::forms {

namespace {

// Advance widths of Arial's printable ASCII characters (space .. tilde) in units of 1/2048
// of the character height.
constexpr std::uint16_t kArialWidths[95] = {
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,   // ' '../
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,  // 0..?
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,  // @..O
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,  // P.._
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,  // `..o
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196,        // p..~
};
constexpr std::uint16_t kOtherWidth = 1139;

}  // namespace

int EstimateTextWidth(const Font& font, std::string_view text) {
  const std::uint32_t height = font.height > 0 ? static_cast<std::uint32_t>(font.height) : 0;
  int width = 0;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    std::uint32_t units = (u >= 32 && u <= 126) ? kArialWidths[u - 32] : kOtherWidth;
    if (font.bold) units = units * 11 / 10;
    // Windows rounds each character's advance to whole pixels.
    width += static_cast<int>((units * height + 1024) / 2048);
  }
  return width;
}

}  // namespace wdx::forms
