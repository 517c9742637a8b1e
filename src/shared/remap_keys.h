// The key remapping of a macro library: for 93 character keys the character each should type
// instead of its own. The table lives in the remap block WDTT1KGR (where the hook library's
// remap hook reads it) and in the library's companion file (extension .WDS), one 93-byte
// record with no header.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "shared/shared_blocks.h"

namespace wdx {

// Entry k of the neutral table is the k-th key's own character: A..Z, a..z, 0..9, then the
// characters 32..47, 58..64, 91..96, 125 and 126 in ascending order.
const SwapTable& NeutralSwapTable();

// True when some entry differs from the neutral table (a remap hook is then needed).
bool SwapsInUse(const SwapTable& table);

// The remap-keys file of a library: ".WDX" at the end (any case) becomes ".WDS". Any other
// name gets ".WDS" in place of its extension (or appended when it has none), so the companion
// file is never the library itself.
std::string SwapFileName(std::string_view libraryPath);

// Reads one record into `table`. A file that cannot be opened or holds less than a whole
// record leaves the table as it was (false).
bool LoadSwapKeys(const std::filesystem::path& file, SwapTable& table);
// Creates or truncates the file and writes the table; false (silently) when that fails.
bool SaveSwapKeys(const std::filesystem::path& file, const SwapTable& table);

// Brings the table of the library at `libraryPath` into `table`: loaded from its remap-keys
// file when that exists, otherwise the neutral table, which is then written to a new file so
// that the library always has one. `nativePath` maps the stored path to one this machine opens.
void GetSwapFile(const std::string& libraryPath, const std::function<std::filesystem::path(const std::string&)>& nativePath,
                 SwapTable& table);

}  // namespace wdx
