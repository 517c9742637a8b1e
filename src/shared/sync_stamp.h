// The sync stamp of a shared macro library: a 14-byte companion file (extension .WDY) that
// holds the library's change counter, whether some program holds the library lock, and the
// holder's heartbeat. Both programs read it to notice each other's changes in network mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "shared/byte_codec.h"

namespace wdx {

inline constexpr std::size_t kSyncRecSize = 14;

namespace sync_rec {
inline constexpr std::size_t kCounter = 0;    // int32
inline constexpr std::size_t kState = 4;      // int16
inline constexpr std::size_t kHeartbeat = 6;  // double, day count
}  // namespace sync_rec

namespace sync_state {
inline constexpr std::int16_t kInUse = 1;
inline constexpr std::int16_t kFree = 2;
}  // namespace sync_state

struct TSyncRec {
  std::int32_t counter = 0;
  std::int16_t state = 0;
  double heartbeat = 0.0;
  bool operator==(const TSyncRec&) const = default;

  void Decode(ConstBytes bytes);  // bytes: at least 14
  void Encode(Bytes bytes) const;
};

// The stamp file of a library: its name with the last three characters replaced by "WDY".
std::string SyncStampFileName(std::string_view libraryPath);

// Two heartbeats are the same when their stored bytes are: a heartbeat is compared, never
// computed with, and garbage in a damaged stamp (a NaN) still equals itself.
bool SameHeartbeat(double a, double b);

// Reads the stamp (the file opened read-only). A missing file is created with counter 1, state
// free and the heartbeat held in `stamp`. A file that cannot be opened, or is shorter than a
// stamp, leaves `stamp` as it was; false then (and when a missing file cannot be created).
bool ReadSyncStamp(const std::filesystem::path& file, TSyncRec& stamp);
// Writes the stamp over the start of the file (created when missing) and cuts the file to the
// stamp's size. The file is never emptied first: a reader on another machine sees the old
// stamp or the new one, not a cut-off one. False when that fails.
bool WriteSyncStamp(const std::filesystem::path& file, const TSyncRec& stamp);

}  // namespace wdx
