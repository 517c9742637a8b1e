// Files as the commands look for them: a file by its name, or in one of the folders of PATH.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace wdx::player {

bool FileExists(platform::Files& files, const std::string& name);
// The first folder of PATH (read as far as pathLimit characters; empty entries skipped) that
// holds the file, joined to its name; "" when none does or the platform has no files or
// environment. A folder gets a "\" unless it ends in one (or, with colonEndsFolder, in ":").
std::string FindOnPath(platform::Platform& p, const std::string& name, std::size_t pathLimit, bool colonEndsFolder);

}  // namespace wdx::player
