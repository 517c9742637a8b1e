// Network mode in the editor: the library lock around every change of the library
// (shared/network_lock.h, the same lock as the player's) with its 30-second heartbeat, and the
// minute timer that reloads the library every "Sync Minutes" minutes. Outside network mode
// nothing of it touches a file. The two timers are the main window's (NetTimer, SyncTimer).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "editor/shell/editor_context.h"
#include "platform/platform.h"
#include "shared/network_lock.h"
#include "shared/settings.h"

namespace wdx::editor {

inline constexpr char kInUseText[] = "Macro File in use by another user.  Please try again later.";
inline constexpr char kChangedText[] =
    "Macro File has changed by another user.  Changed macro file will be reloaded after clicking \"ok\".";
inline constexpr char kLockNoticeCaption[] = "Notice";
inline constexpr char kLockProblemCaption[] = "Warning";
inline constexpr std::uint32_t kSyncTimerMs = 60000;

class LibrarySync final : public SyncLock, private LockHost {
 public:
  // What it needs of the main window.
  struct MainWindow {
    // The library changed on disk: reload it with its companion files, refill the list keeping
    // the chosen row, and (after a refused change) tell the player to switch and rebuild.
    std::function<void(bool tellPlayer)> reload;
    std::function<void(const std::string& text, const std::string& caption)> message;
    // The heartbeat timer (NetTimer) runs while the lock is held.
    std::function<void(bool on)> heartbeat;
  };

  LibrarySync(const TSettingsRec& settings, const platform::Platform& platform);
  void Attach(MainWindow main) { main_ = std::move(main); }

  // FileInUse: false when the caller may change the library now (in network mode this editor
  // then holds the lock); true when it must not: another user holds it ("in use"), or the
  // library changed and has just been reloaded ("changed"), or the lock file cannot be used.
  bool FileInUse() override;
  // ReleaseSyncFile: 1 after a change, 0 after a cancel. Only a lock this editor holds is given
  // back; outside network mode nothing happens.
  void ReleaseSyncFile(int changes) override { lock_.ReleaseSyncFile(changes); }
  // The heartbeat (NetTimer).
  void NetTimerTimer() { lock_.NetTimerTimer(); }

  // In network mode, at start and whenever another library becomes current: the stamp is read
  // and its counter taken as known, so the library just loaded is not taken for changed.
  void ReadStamp();
  // Whether the minute timer runs: network mode and "Auto Sync" both on (the player's rule).
  bool SyncWanted() const { return settings_.networkMode && settings_.autoSync; }
  // The minute count starts again (at start, and when auto sync is switched on).
  void RestartSyncCount() { syncTicks_ = 0; }
  // SyncTimer: every "Sync Minutes" ticks (every tick for 0 or 1) the library is reloaded; the
  // player is not told. False when the timer should stop (network mode or auto sync is off).
  bool SyncTimerTimer();
  // At close: a lock still held goes back without a change counted.
  void Close() { lock_.ReleaseSyncFile(0); }

  const NetworkLock& Lock() const { return lock_; }

 private:
  // LockHost
  void ReloadEverything() override;
  void SetHeartbeat(bool on) override;
  void LockProblem(const std::string& text) override;

  const TSettingsRec& settings_;
  MainWindow main_;
  NetworkLock lock_;
  int syncTicks_ = 0;
};

}  // namespace wdx::editor
