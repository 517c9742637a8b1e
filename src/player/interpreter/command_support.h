// Small helpers of the command families built here: reading the fields of the tag under the
// cursor, and reaching a platform facility the command needs.
#pragma once

#include <string>

#include "platform/platform.h"
#include "player/interpreter/interpreter.h"
#include "shared/command_fields.h"
#include "shared/command_layouts.h"

namespace wdx::player {

// The fields of the tag under the level's cursor, where the tag's description puts them.
inline CommandFields FieldsOf(const Level& level, const TagInfo& tag) {
  return CommandFields(tag, level.text, level.cursor);
}
// The same through the tag's own layout, which the compiler then reads at constant places.
inline CommandFields FieldsOf(const Level& level, const TagInfo& tag, const CommandLayout& layout) {
  return CommandFields(&layout, tag.keyword.size(), level.text, level.cursor);
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

// A failure that lets the run go on: written to the error log when logging is on (as
// `logLine` when one is given), shown with `caption` when error boxes are on.
inline void ReportOnly(Interpreter& in, const std::string& caption, const std::string& message,
                       const std::string& logLine = {}) {
  if (in.State().logErrors) in.Host().LogError(logLine.empty() ? message : logLine);
  if (in.State().showErrors) in.Host().DoAMessage(caption, message);
}

}  // namespace wdx::player
