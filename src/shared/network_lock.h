// The library lock of network mode, as both programs run it. Several users share one macro
// library on a network folder; a program that changes the library first takes the lock and
// afterwards gives it back with the number of changes it made. Lock and change counter live in
// the library's sync stamp file (.WDY, see sync_stamp.h). A program that finds the counter moved
// reloads what it derived from the library; a holder rewrites its heartbeat every 30 seconds,
// and a heartbeat that stood still for a minute is a dead holder whose lock is taken over.
//
// The stamp is checked and changed as one step under the operating system's lock on the stamp
// file (platform FileLocks), held only for that step, so two programs that look at the same
// moment cannot both take the library lock. Older copies that do not ask for that lock still
// read and write the same 14 bytes and follow the same protocol.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/file_locks.h"
#include "platform/files.h"
#include "shared/settings.h"
#include "shared/sync_stamp.h"

namespace wdx {

// What the lock needs of its program.
class LockHost {
 public:
  virtual ~LockHost() = default;
  // Another program changed the library: reload everything derived from it.
  virtual void ReloadEverything() = 0;
  // The heartbeat timer (every kHeartbeatMs, calling NetworkLock::NetTimerTimer) runs while
  // this program holds the lock.
  virtual void SetHeartbeat(bool on) = 0;
  // The stamp file cannot be used, so no lock can be taken, kept or given back. Said once, until
  // the file works again.
  virtual void LockProblem(const std::string& text) = 0;
};

enum class LockAnswer {
  kOff,         // network mode is off: no lock is used
  kTaken,       // this program holds the lock now
  kHeld,        // another program holds a live lock, or this one already holds it
  kChanged,     // another program changed the library, which has just been reloaded
  kUnavailable  // the stamp file cannot be read or written (reported to the host)
};
// The answer of FileInUse: true when the caller may not change the library now.
inline bool InUse(LockAnswer a) { return a != LockAnswer::kOff && a != LockAnswer::kTaken; }

inline constexpr std::uint32_t kHeartbeatMs = 30000;
// A holder whose heartbeat did not move for this long is gone.
inline constexpr std::int64_t kStaleLockMs = 60000;
// How long one step waits for another program's step on the stamp file, and how often it
// looks again meanwhile.
inline constexpr std::uint32_t kStampStepWaitMs = 5000;
inline constexpr std::uint32_t kStampStepPollMs = 5;

class NetworkLock {
 public:
  // `files` says where the stamp file lies. Network mode and the library are read from
  // `settings` at each call.
  NetworkLock(const TSettingsRec& settings, platform::Files& files, platform::Clock& clock,
              platform::FileLocks& locks, LockHost& host);

  // The stored name of the current library's stamp file.
  std::string StampFile() const;

  // Reads the current library's stamp into memory (a missing file is created free with
  // counter 1). False when it cannot be read; what was in memory stays.
  bool ReadSyncStamp();
  // Writes the stamp in memory to the current library's stamp file; false when that fails.
  bool WriteSyncStamp();
  // At start and after a library switch: reads the stamp and takes its counter as known.
  void ReadKnownCounter();
  // Re-reads the stamp; when its counter moved since last known, takes it as known and answers
  // true (the caller reloads).
  bool CounterMoved();

  // Asks for the lock (see LockAnswer). A changed library is reloaded through the host before
  // the answer.
  LockAnswer Acquire();
  bool FileInUse() { return InUse(Acquire()); }
  // Gives back a lock this program holds, adding `changes` to the counter. Nothing happens
  // when it holds none (network mode off, or the caller's FileInUse answered true).
  void ReleaseSyncFile(std::int32_t changes);
  // The heartbeat: rewrites the holder's time into the stamp.
  void NetTimerTimer();

  const TSyncRec& Stamp() const { return stamp_; }
  std::int32_t KnownCounter() const { return knownCounter_; }
  bool Holding() const { return holding_; }
  // How often a step found the stamp file locked by another program's step and waited.
  std::uint64_t StepWaits() const { return stepWaits_; }

 private:
  // Takes the operating system's lock on the stamp file, waiting for another program's step
  // at most kStampStepWaitMs. Null when busy all that time or when the file cannot be opened
  // (`cannotOpen` says which).
  std::unique_ptr<platform::LockedFile> BeginStep(const std::filesystem::path& file, bool* cannotOpen);
  bool ShowsOurLock(const TSyncRec& onDisk) const;
  std::filesystem::path NativePath(const std::string& stored) const;
  void Report(const std::string& text);
  static std::string Problem(const std::string& name, const char* what);

  const TSettingsRec& settings_;
  platform::Clock& clock_;
  platform::FileLocks& locks_;
  platform::Files& files_;
  LockHost& host_;

  TSyncRec stamp_;  // the last one read or written
  std::int32_t knownCounter_ = 0;
  // Another holder's heartbeat as last seen, and the time this program first saw it.
  bool seenAny_ = false;
  double seenHeartbeat_ = 0.0;
  double seenHeartbeatSince_ = 0.0;
  // The lock this program holds: on which stamp file, with which heartbeat last written.
  bool holding_ = false;
  std::filesystem::path heldFile_;
  std::string heldName_;
  double heldHeartbeat_ = 0.0;
  bool reported_ = false;
  std::uint64_t stepWaits_ = 0;
};

}  // namespace wdx
