// Network mode in the player: the library lock (shared/network_lock.h) with its 30-second
// heartbeat timer, the sync stamp's counter the hot-key road looks at, and the auto-sync timer
// that reloads everything every "Sync Minutes" minutes. Outside network mode nothing of it
// touches a file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "shared/network_lock.h"
#include "shared/settings.h"

namespace wdx::player {

inline constexpr std::uint32_t kSyncTimerId = 3;  // 60 s: network auto sync
inline constexpr std::uint32_t kNetTimerId = 4;   // 30 s: the heartbeat while holding the lock
inline constexpr std::uint32_t kSyncTimerMs = 60000;

inline constexpr char kLockProblemCaption[] = "Warning";

class LibrarySync : private LockHost {
 public:
  // What it needs of the main window.
  struct MainWindow {
    // Rebuilds the library and everything derived from it.
    std::function<void()> reloadEverything;
    // The window that owns the timers (known once it is created).
    std::function<platform::WindowHandle()> handle;
    // Shows a problem with the lock file to the user.
    std::function<void(const std::string& caption, const std::string& text)> message;
  };

  // Needs the platform's files, clock and file locks; its loop runs the timers.
  LibrarySync(const TSettingsRec& settings, const platform::Platform& platform, MainWindow main);

  // At start and after a library switch, in network mode: reads the stamp of the current
  // library and takes its counter as known, without reloading.
  void ReadStamp();
  // In network mode: re-reads the stamp; true when its counter moved since it was last taken
  // into account (the new counter is known now, the caller reloads).
  bool ChangedOnDisk();
  std::int32_t KnownCounter() const { return lock_.KnownCounter(); }

  // The lock around a change of the library: FileInUse false → change, then ReleaseSyncFile
  // with the number of changes; true → the library may not be changed now (another user holds
  // it, or it changed and has just been reloaded).
  bool FileInUse() { return lock_.FileInUse(); }
  void ReleaseSyncFile(std::int32_t changes) { lock_.ReleaseSyncFile(changes); }
  const NetworkLock& Lock() const { return lock_; }

  // At start: with "Network Mode" and "Auto Sync" on, the minute timer runs from 0.
  void StartAutoSync();
  // The minute timer: every "Sync Minutes" ticks (every tick for 0 or 1) everything is reloaded.
  void SyncTimerTimer();
  // The heartbeat timer.
  void NetTimerTimer() { lock_.NetTimerTimer(); }
  // At close: a lock still held goes back without a change counted, so that the others need
  // not wait a minute for it.
  void Close();

 private:
  // LockHost
  void ReloadEverything() override { main_.reloadEverything(); }
  void SetHeartbeat(bool on) override;
  void LockProblem(const std::string& text) override { main_.message(kLockProblemCaption, text); }

  const TSettingsRec& settings_;
  platform::MessageLoop* loop_;
  MainWindow main_;
  NetworkLock lock_;
  int syncTicks_ = 0;
};

}  // namespace wdx::player
