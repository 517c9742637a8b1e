// Small text helpers of the mail code; the case, trimming and hexadecimal helpers are the
// shared ones (shared/text_util.h).
#pragma once

#include <string>
#include <string_view>

#include "shared/text_util.h"

namespace wdx::mail {

// The last component of a path (after the last "\\", "/" or ":").
std::string LastPathComponent(std::string_view path);

}  // namespace wdx::mail
