// The key remapping of a macro library: for 93 character keys the character each should type
// instead of its own. The table lives in the remap block WDTT1KGR (where the hook library's
// remap hook reads it) and in the library's companion file (extension .WDS), one 93-byte
// record with no header. The player and the editor both read and write it through this file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel_objects.h"
#include "shared/shared_blocks.h"

namespace wdx {

// Entry k of the neutral table is the k-th key's own character: A..Z, a..z, 0..9, then the
// characters 32..47, 58..64, 91..96, 125 and 126 in ascending order.
const SwapTable& NeutralSwapTable();

// The entry of the key that types `c` in the neutral table; -1 for a character without one
// (control characters, '{', '|', codes above 126).
// (Inline: the hook library's remap hook asks it for every key.)
constexpr int SwapSlot(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return 26 + (c - 'a');
  if (c >= '0' && c <= '9') return 52 + (c - '0');
  if (c >= 32 && c <= 47) return 62 + (c - 32);
  if (c >= 58 && c <= 64) return 78 + (c - 58);
  if (c >= 91 && c <= 96) return 85 + (c - 91);
  if (c == 125 || c == 126) return 91 + (c - 125);
  return -1;
}

// True when some entry differs from the neutral table (a remap hook is then needed).
bool SwapsInUse(const SwapTable& table);

// A companion file of a library: ".WDX" at the end (any case) becomes `extension` (".WDS",
// ".WDC"). Any other name gets it in place of its extension (or appended when it has none), so
// the companion file is never the library itself.
std::string CompanionFileName(std::string_view libraryPath, std::string_view extension);
// The remap-keys file of a library (".WDS"). Loading and saving both name the file by this rule.
std::string SwapFileName(std::string_view libraryPath);

enum class SwapFileState {
  kLoaded,     // the file's table is in use
  kMissing,    // there is no file
  kUnreadable, // the file exists but cannot be opened
  kWrongSize,  // the file is not one 93-byte record: it is no remap table
};

// Reads the file's record into `table`; any other state leaves the table as it was.
SwapFileState LoadSwapKeys(const std::filesystem::path& file, SwapTable& table);
// Creates or truncates the file and writes the table; false (silently) when that fails.
bool SaveSwapKeys(const std::filesystem::path& file, const SwapTable& table);

// What GetSwapFile did.
struct SwapFileResult {
  SwapFileState state = SwapFileState::kLoaded;
  std::string file;  // the remap-keys file's stored name
  std::uintmax_t size = 0;  // the file's size, for kWrongSize
  // A message for the user when the library's file could not be used (empty otherwise).
  std::string Problem() const;
};

// Brings the table of the library at `libraryPath` into `table`: loaded from its remap-keys
// file when that exists, otherwise the neutral table, which is then written to a new file so
// that the library always has one. A file that exists but cannot be read, or is not one
// record, is left as it is and the neutral table is used: the table of the library loaded
// before never stays in force for this one. `nativePath` maps the stored path to one this
// machine opens.
SwapFileResult GetSwapFile(const std::string& libraryPath,
                           const std::function<std::filesystem::path(const std::string&)>& nativePath, SwapTable& table);

// How long an access waits for the remap block's mutex WDQJaveR.
inline constexpr std::uint32_t kSwapMutexWaitMs = 500;

// One access to the live table in WDTT1KGR, as the editor makes it while the player runs:
// the mutex WDQJaveR is opened and waited for (500 ms), the block opened and mapped, the
// access made, and everything closed again. When the mutex or the block cannot be had (no
// player runs, or the wait ran out) the access is skipped.
class SharedSwapTable {
 public:
  explicit SharedSwapTable(platform::KernelObjects& kernel) : kernel_(kernel) {}

  // Entry `slot` (0..92) of the live table; std::nullopt when the access was skipped or the
  // slot is outside the table.
  std::optional<std::uint8_t> Read(int slot);
  // Sets entry `slot`; false when the access was skipped.
  bool Write(int slot, std::uint8_t value);
  // The whole table, or std::nullopt when the access was skipped.
  std::optional<SwapTable> ReadTable();
  // Puts a whole table in; false when the access was skipped.
  bool WriteTable(const SwapTable& table);

 private:
  bool Access(const std::function<void(TSwapKeysShare&)>& use);
  platform::KernelObjects& kernel_;
};

// The mutex WDQJaveR held for the length of a scope (not held when it could not be had within
// the wait): the player takes it while it puts a whole table into its own block.
class SwapMutexLock {
 public:
  explicit SwapMutexLock(platform::KernelObjects& kernel, std::uint32_t waitMs = kSwapMutexWaitMs);
  ~SwapMutexLock();
  SwapMutexLock(const SwapMutexLock&) = delete;
  SwapMutexLock& operator=(const SwapMutexLock&) = delete;
  bool Held() const { return held_; }

 private:
  std::unique_ptr<platform::NamedMutex> mutex_;
  bool held_ = false;
};

}  // namespace wdx
