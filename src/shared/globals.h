// Small number and text helpers that both programs compile in: number-to-text with a field
// width, thousands separators, padding, replacing a file name's extension, the folder test, the
// screen factors of absolute mouse positions and the byte splitting of the CD-audio positions.
// Texts are short strings: results are cut to 255 characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/input.h"

namespace wdx {

// The primary screen's size and the factors that turn a pixel position into the absolute
// coordinate (0..65535) that absolute mouse events expect.
struct ScreenFactors {
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  double MouseXFactor = 0.0;
  double MouseYFactor = 0.0;
};

// Reads the screen size and computes 65535 / width and 65535 / height. A size of 0 (no screen
// reported) gives a factor of 0 instead of a division by zero.
void GetScreenFactors(platform::Input& input, ScreenFactors& factors);

// minutes := low byte, seconds := high byte.
void SplitMsfLength(std::int16_t value, std::int32_t& minutes, std::int32_t& seconds);
// Bytes 0, 1, 2, 3 of value.
void SplitTmsfPosition(std::int32_t value, std::int32_t& track, std::int32_t& minutes, std::int32_t& seconds,
                       std::int32_t& frames);
// track + minutes * 256 + seconds * 65536; frames is ignored.
std::int32_t MakeTmsfPosition(std::uint8_t track, std::uint8_t minutes, std::uint8_t seconds, std::uint8_t frames);

// Fixed-point text of x with exactly `decimals` digits after a "." (none for 0), rounded half
// away from zero, "-" for negative values, right-aligned in `width` characters (never cut).
std::string FormatNumber(std::uint8_t width, std::uint8_t decimals, double x);
// Blanks in front until the text has `width` characters.
std::string PadLeft(std::string_view text, std::uint8_t width);
// FormatNumber with "," between groups of three digits; no separator straight after "-".
std::string FormatThousands(std::uint8_t width, std::uint8_t decimals, double x);
// The name without its last three characters, followed by the extension text (no point is
// looked for: callers pass names ending in a three-letter extension and "WDY", "WDS").
std::string ReplaceExtension(std::string_view name, std::string_view extension);
// True when the folder exists and can be entered: the process's current folder is moved there
// and back. Failing to move back is not reported (the answer stays true).
bool FolderExists(const std::string& path);

}  // namespace wdx
