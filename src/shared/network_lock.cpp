#include "shared/network_lock.h"

#include <array>
#include <cmath>
#include <limits>

namespace wdx {

namespace {

constexpr double kMsPerDay = 86400000.0;

std::array<std::uint8_t, kSyncRecSize> Encoded(const TSyncRec& stamp) {
  std::array<std::uint8_t, kSyncRecSize> bytes{};
  stamp.Encode(bytes);
  return bytes;
}

// Milliseconds from `since` to `now`, whole date-times (a wait of a day and a minute is more
// than a minute). A heartbeat from a damaged stamp may be no number at all: never elapsed.
std::int64_t ElapsedMs(double since, double now) {
  const double ms = (now - since) * kMsPerDay;
  if (!std::isfinite(ms)) return 0;
  if (ms >= static_cast<double>(std::numeric_limits<std::int64_t>::max())) return std::numeric_limits<std::int64_t>::max();
  if (ms <= static_cast<double>(std::numeric_limits<std::int64_t>::min())) return std::numeric_limits<std::int64_t>::min();
  return std::llround(ms);
}

// The counter wraps as the 32-bit field it is stored in.
std::int32_t AddChanges(std::int32_t counter, std::int32_t changes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + static_cast<std::uint32_t>(changes));
}

}  // namespace

NetworkLock::NetworkLock(const TSettingsRec& settings, platform::Files& files, platform::Clock& clock,
                         platform::FileLocks& locks, LockHost& host)
    : settings_(settings), clock_(clock), locks_(locks), files_(files), host_(host) {}

std::filesystem::path NetworkLock::NativePath(const std::string& stored) const {
  return std::filesystem::path(files_.NativePath(stored));
}

std::string NetworkLock::StampFile() const { return SyncStampFileName(settings_.currentLibrary); }

bool NetworkLock::ReadSyncStamp() { return wdx::ReadSyncStamp(NativePath(StampFile()), stamp_); }

bool NetworkLock::WriteSyncStamp() { return wdx::WriteSyncStamp(NativePath(StampFile()), stamp_); }

void NetworkLock::ReadKnownCounter() {
  if (ReadSyncStamp()) knownCounter_ = stamp_.counter;
}

bool NetworkLock::CounterMoved() {
  if (!ReadSyncStamp() || stamp_.counter == knownCounter_) return false;
  knownCounter_ = stamp_.counter;
  return true;
}

std::unique_ptr<platform::LockedFile> NetworkLock::BeginStep(const std::filesystem::path& file, bool* cannotOpen) {
  *cannotOpen = false;
  for (std::uint32_t waited = 0;; waited += kStampStepPollMs) {
    platform::LockAttempt attempt = locks_.TryLock(file.string());
    if (attempt.status == platform::LockStatus::kLocked) return std::move(attempt.file);
    if (attempt.status == platform::LockStatus::kCannotOpen) {
      *cannotOpen = true;
      return nullptr;
    }
    if (waited >= kStampStepWaitMs) return nullptr;
    ++stepWaits_;
    clock_.Sleep(kStampStepPollMs);
  }
}

bool NetworkLock::ShowsOurLock(const TSyncRec& onDisk) const {
  return onDisk.state == sync_state::kInUse && SameHeartbeat(onDisk.heartbeat, heldHeartbeat_);
}

std::string NetworkLock::Problem(const std::string& name, const char* what) {
  return "The network lock file " + name + " " + what;
}

void NetworkLock::Report(const std::string& text) {
  if (reported_) return;
  // Set first: the host may show a box whose message loop runs the heartbeat again.
  reported_ = true;
  host_.LockProblem(text);
}

LockAnswer NetworkLock::Acquire() {
  if (!settings_.networkMode) return LockAnswer::kOff;
  // A holder asking again is refused, as a program that cannot tell its own lock always was.
  if (holding_) return LockAnswer::kHeld;

  const std::string name = StampFile();
  const std::filesystem::path file = NativePath(name);
  bool cannotOpen = false;
  std::unique_ptr<platform::LockedFile> step = BeginStep(file, &cannotOpen);
  if (!step) {
    if (cannotOpen) Report(Problem(name, "cannot be written."));
    return cannotOpen ? LockAnswer::kUnavailable : LockAnswer::kHeld;
  }
  const auto bytes = step->Read(kSyncRecSize);
  if (!bytes) {
    Report(Problem(name, "cannot be read."));
    return LockAnswer::kUnavailable;
  }
  TSyncRec onDisk;
  if (bytes->empty()) {
    // A new stamp file (the lock just created it, or the library is new on the share).
    onDisk = TSyncRec{1, sync_state::kFree, stamp_.heartbeat};
    if (!step->Replace(Encoded(onDisk))) {
      Report(Problem(name, "cannot be written."));
      return LockAnswer::kUnavailable;
    }
  } else if (bytes->size() < kSyncRecSize) {
    // Nothing in it can be trusted, and taking the lock over it could take a live holder's.
    Report(Problem(name, "is damaged: delete it once no other program uses the macro file."));
    return LockAnswer::kUnavailable;
  } else {
    onDisk.Decode(*bytes);
  }
  stamp_ = onDisk;

  const double now = clock_.Now();
  bool stale = false;
  if (onDisk.state == sync_state::kInUse) {
    if (!seenAny_ || !SameHeartbeat(onDisk.heartbeat, seenHeartbeat_)) {
      seenAny_ = true;
      seenHeartbeat_ = onDisk.heartbeat;
      seenHeartbeatSince_ = now;
      return LockAnswer::kHeld;
    }
    const std::int64_t elapsed = ElapsedMs(seenHeartbeatSince_, now);
    // The clock was set back: start the minute again rather than wait for the old time.
    if (elapsed < 0) seenHeartbeatSince_ = now;
    if (elapsed < kStaleLockMs) return LockAnswer::kHeld;
    stale = true;  // the holder is gone
  }
  if (onDisk.counter != knownCounter_) {
    // Changes by others are reloaded before this program changes anything, also when it
    // finds a dead holder's lock: that lock is freed and taken at the next request.
    if (stale) {
      TSyncRec freed = onDisk;
      freed.state = sync_state::kFree;
      if (!step->Replace(Encoded(freed))) {
        Report(Problem(name, "cannot be written."));
        return LockAnswer::kUnavailable;
      }
      stamp_ = freed;
    }
    knownCounter_ = onDisk.counter;
    step.reset();  // reloading takes long: the stamp is free for others meanwhile
    host_.ReloadEverything();
    return LockAnswer::kChanged;
  }

  TSyncRec taken = onDisk;
  taken.state = sync_state::kInUse;
  taken.heartbeat = now;
  if (!step->Replace(Encoded(taken))) {
    Report(Problem(name, "cannot be written."));
    return LockAnswer::kUnavailable;
  }
  reported_ = false;
  stamp_ = taken;
  holding_ = true;
  heldFile_ = file;
  heldName_ = name;
  heldHeartbeat_ = now;
  host_.SetHeartbeat(true);
  return LockAnswer::kTaken;
}

void NetworkLock::ReleaseSyncFile(std::int32_t changes) {
  if (!holding_) return;
  host_.SetHeartbeat(false);
  bool cannotOpen = false;
  std::unique_ptr<platform::LockedFile> step = BeginStep(heldFile_, &cannotOpen);
  // Without the step the lock stays in the file; its heartbeat has stopped, so the others
  // take it over after a minute.
  if (!step) {
    Report(Problem(heldName_, cannotOpen ? "cannot be written." : "stays locked by another program."));
    holding_ = false;
    return;
  }
  // The counter on disk is the one to raise: after a take-over another holder may have counted
  // changes of its own since this program took the lock.
  TSyncRec base = stamp_;
  bool ours = true;
  if (const auto bytes = step->Read(kSyncRecSize); bytes && bytes->size() == kSyncRecSize) {
    base.Decode(*bytes);
    ours = ShowsOurLock(base);
  }
  TSyncRec released = base;
  released.counter = AddChanges(base.counter, changes);
  // A lock taken over by another program stays that program's.
  if (ours) {
    released.state = sync_state::kFree;
    released.heartbeat = heldHeartbeat_;
  }
  holding_ = false;
  if (!step->Replace(Encoded(released))) {
    Report(Problem(heldName_, "cannot be written."));
    return;
  }
  reported_ = false;
  // Changes counted by others meanwhile are still to be reloaded.
  if (base.counter == stamp_.counter) knownCounter_ = released.counter;
  stamp_ = released;
}

void NetworkLock::NetTimerTimer() {
  if (!holding_) {
    host_.SetHeartbeat(false);
    return;
  }
  bool cannotOpen = false;
  std::unique_ptr<platform::LockedFile> step = BeginStep(heldFile_, &cannotOpen);
  if (!step) {
    // Busy: another program is in its step; the next beat comes in 30 seconds.
    if (cannotOpen) Report(Problem(heldName_, "cannot be written."));
    return;
  }
  if (const auto bytes = step->Read(kSyncRecSize); bytes && bytes->size() == kSyncRecSize) {
    TSyncRec onDisk;
    onDisk.Decode(*bytes);
    // Taken over (this program was silent for a minute): its new holder's heartbeat stays.
    if (!ShowsOurLock(onDisk)) return;
    stamp_ = onDisk;
  }
  TSyncRec beat = stamp_;
  beat.state = sync_state::kInUse;
  beat.heartbeat = clock_.Now();
  if (!step->Replace(Encoded(beat))) {
    Report(Problem(heldName_, "cannot be written."));
    return;
  }
  reported_ = false;
  stamp_ = beat;
  heldHeartbeat_ = beat.heartbeat;
}

}  // namespace wdx
