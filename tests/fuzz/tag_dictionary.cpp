// Prints the macro language's tag keywords as a libFuzzer dictionary: the fuzzer then builds
// texts out of real commands instead of guessing their keywords byte by byte.
#include <cstdio>
#include <string>

#include "shared/date_time_formats.h"
#include "shared/tag_table.h"

namespace {

void Entry(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || u < 0x20 || u >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      escaped += hex;
    } else {
      escaped += c;
    }
  }
  std::printf("\"%s\"\n", escaped.c_str());
}

}  // namespace

int main() {
  for (const wdx::TagInfo& tag : wdx::TagTable()) Entry(std::string(tag.keyword));
  for (int n = 1; n <= wdx::kDateFormatCount; ++n) Entry("<" + std::string(wdx::DateFormatName(n)) + "{");
  for (int n = 1; n <= wdx::kTimeFormatCount; ++n) Entry("<" + std::string(wdx::TimeFormatName(n)) + "{");
  // Variable references and the separators of the text fields.
  for (const char* extra : {"%T1%", "%T9%", "%N1%", "%D1%", ">", "\x01", "\r\n", "000", "N01"}) Entry(extra);
  return 0;
}
