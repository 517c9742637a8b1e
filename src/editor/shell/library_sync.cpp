#include "editor/shell/library_sync.h"

#include "shared/macro_library.h"

namespace wdx::editor {

LibrarySync::LibrarySync(const TSettingsRec& settings, const platform::Platform& platform)
    : settings_(settings), lock_(settings, *platform.files, *platform.clock, *platform.fileLocks, *this) {}

bool LibrarySync::FileInUse() {
  const LockAnswer answer = lock_.Acquire();
  if (answer == LockAnswer::kHeld && main_.message) main_.message(kInUseText, kErrorCaption);
  return InUse(answer);
}

void LibrarySync::ReadStamp() {
  if (settings_.networkMode) lock_.ReadKnownCounter();
}

bool LibrarySync::SyncTimerTimer() {
  if (!SyncWanted()) return false;
  if (++syncTicks_ < settings_.syncMinutes) return true;
  if (main_.reload) main_.reload(false);
  syncTicks_ = 0;
  return true;
}

void LibrarySync::ReloadEverything() {
  // The user hears of it first; the change asked for is abandoned and repeated on the new
  // library.
  if (main_.message) main_.message(kChangedText, kLockNoticeCaption);
  if (main_.reload) main_.reload(true);
}

void LibrarySync::SetHeartbeat(bool on) {
  if (main_.heartbeat) main_.heartbeat(on);
}

void LibrarySync::LockProblem(const std::string& text) {
  if (main_.message) main_.message(text, kLockProblemCaption);
}

}  // namespace wdx::editor
