#include "player/core/library_sync.h"

namespace wdx::player {

void LibrarySync::ReadStamp(const std::string& library) {
  ReadSyncStamp(nativePath_(SyncStampFileName(library)), stamp_);
  knownCounter_ = stamp_.counter;
}

bool LibrarySync::ChangedOnDisk(const std::string& library) {
  ReadSyncStamp(nativePath_(SyncStampFileName(library)), stamp_);
  if (stamp_.counter == knownCounter_) return false;
  knownCounter_ = stamp_.counter;
  return true;
}

bool LibrarySync::MinutePassed(int minutes) {
  if (++minutes_ < minutes) return false;
  minutes_ = 0;
  return true;
}

}  // namespace wdx::player
