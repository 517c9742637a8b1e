#include "player/core/library_sync.h"

namespace wdx::player {

LibrarySync::LibrarySync(const TSettingsRec& settings, const platform::Platform& platform, MainWindow main)
    : settings_(settings),
      loop_(platform.loop),
      main_(std::move(main)),
      lock_(settings, *platform.files, *platform.clock, *platform.fileLocks, *this) {}

void LibrarySync::ReadStamp() { lock_.ReadKnownCounter(); }

bool LibrarySync::ChangedOnDisk() { return settings_.networkMode && lock_.CounterMoved(); }

void LibrarySync::StartAutoSync() {
  if (!settings_.networkMode || !settings_.autoSync || !loop_) return;
  syncTicks_ = 0;
  loop_->SetTimer(main_.handle(), kSyncTimerId, kSyncTimerMs);
}

void LibrarySync::SyncTimerTimer() {
  // Network mode or auto sync switched off since the start: the timer ends.
  if (!settings_.networkMode || !settings_.autoSync) {
    if (loop_) loop_->KillTimer(main_.handle(), kSyncTimerId);
    return;
  }
  if (++syncTicks_ < settings_.syncMinutes) return;
  main_.reloadEverything();
  syncTicks_ = 0;
}

void LibrarySync::SetHeartbeat(bool on) {
  if (!loop_) return;
  if (on) {
    loop_->SetTimer(main_.handle(), kNetTimerId, kHeartbeatMs);
  } else {
    loop_->KillTimer(main_.handle(), kNetTimerId);
  }
}

void LibrarySync::Close() { lock_.ReleaseSyncFile(0); }

}  // namespace wdx::player
