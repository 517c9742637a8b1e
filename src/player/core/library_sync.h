// Network mode's view of the library on disk: the sync stamp file beside it (its change
// counter), the counter last taken into account, and the minutes of the auto-sync timer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "shared/sync_stamp.h"

namespace wdx::player {

class LibrarySync {
 public:
  using NativePathOf = std::function<std::filesystem::path(const std::string&)>;
  explicit LibrarySync(NativePathOf nativePath) : nativePath_(std::move(nativePath)) {}

  // Reads the stamp of `library` and takes its counter as known (a missing stamp is created).
  void ReadStamp(const std::string& library);
  // Reads the stamp again: true when its counter differs from the known one (which it becomes).
  bool ChangedOnDisk(const std::string& library);
  std::int32_t KnownCounter() const { return knownCounter_; }

  // The auto-sync timer's minute: true once `minutes` of them have passed since the last true.
  bool MinutePassed(int minutes);
  void RestartMinutes() { minutes_ = 0; }

 private:
  NativePathOf nativePath_;
  TSyncRec stamp_;
  std::int32_t knownCounter_ = 0;
  int minutes_ = 0;
};

}  // namespace wdx::player
