// Case-insensitive comparison of single-byte (code page 1252) text as Windows compares window
// titles, INI names and file names: ASCII letters and the accented Latin-1 letters.
#pragma once

#include <string>
#include <string_view>

namespace wdx::platform {

char FoldCase(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace wdx::platform
