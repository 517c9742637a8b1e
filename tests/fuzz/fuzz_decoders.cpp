// Any text through the small decoders: the cipher of stored passwords and encrypted macro text
// (against a fixed key and against the text itself), the character shift, the hot key names and
// indexes, and the keywords of the date and time tags. Each line of the input is one text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "shared/cipher.h"
#include "shared/date_time_formats.h"
#include "shared/hot_keys.h"

namespace {

volatile std::size_t sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::ForEachPiece(input, "\n", [](std::string_view line) {
    std::size_t n = 0;
    for (const std::string_view key : {std::string_view("Wendrix"), line, std::string_view()}) {
      const std::optional<std::string> plain = DecipherText(line, key);
      if (plain) n += plain->size();
    }
    n += ShiftText(line).size() + EncipherText(line, line, 0x5A).size();
    const int index = FindHotKeyByName(line);
    if (index != -1 && !IsHotKeyIndex(index)) fuzz::Finding("a hot key name gave no hot key index");
    n += static_cast<std::size_t>(MatchDateTagKeyword(line) + MatchTimeTagKeyword(line));
    sink = n;
  });
  // The first two bytes as an activation code, as a library record carries it.
  const int code = size >= 2 ? data[0] | (data[1] << 8) : 0;
  const HotKey key = DecipherKey(code);
  sink = HotKeyName(code).size() + key.virtualKey + static_cast<std::size_t>(IsReservedHotKey(code)) +
         HotKeyListRow(code, code).size();
  return 0;
}
