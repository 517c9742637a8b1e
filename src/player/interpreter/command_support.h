// Small helpers of the command families built here: reading a fixed field of the tag under the
// cursor, and reaching a platform facility the command needs.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {

// The width characters at offset from the tag's "<" (cut short at the end of the text, where
// the conversions then stop).
inline std::string_view FieldAt(const Level& level, std::size_t offset, std::size_t width) {
  const std::size_t from = level.cursor + offset;
  return from < level.text.size() ? level.text.substr(from, width) : std::string_view{};
}

// A field read by the whole-number conversion (what was read of it; 0 when nothing was).
inline std::int32_t WholeAt(const Level& level, std::size_t offset, std::size_t width) {
  return ParseWholeNumber(FieldAt(level, offset, width)).value;
}

// A text field from offset up to the next ">" (or the end of the text), as a short string of
// at most 255 characters.
inline std::string TextFieldAt(const Level& level, std::size_t offset) {
  const std::string_view rest = FieldAt(level, offset, std::string_view::npos);
  return std::string(rest.substr(0, std::min<std::size_t>(rest.find('>'), 255)));
}

// The host's facility, or a failed run with a clear message when the host has none (a build
// or test host without that part of the platform).
template <class F>
F* Facility(Interpreter& in, F* platform::Platform::*member, const char* caption, const char* what) {
  platform::Platform* p = in.Host().GetPlatform();
  if (p != nullptr && p->*member != nullptr) return p->*member;
  in.Fail(caption, std::string("The ") + what + " is not available in this build. Macro will abort.");
  return nullptr;
}

}  // namespace wdx::player
