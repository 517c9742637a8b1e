// The editor's side of the macro library file: the shared MacroLibrary (one implementation of
// load, read, write, delete, enable and the built-in macros for both programs) with the
// editor's options, its hook-library pushes and player notices, the switch to another library
// and the recent-files list.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/shell/player_link.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::editor {

class LibraryStore final : private LibraryListener {
 public:
  LibraryStore(TSettingsRec& settings, PlayerLink& link, platform::Files& files, platform::MessageBoxes& boxes,
               platform::Clock& clock);

  MacroLibrary& Library() { return library_; }
  const std::string& CurrentFile() const { return settings_.currentLibrary; }
  int Count() const;

  // Makes `path` the current library and loads it. The current file is set first, so built-in
  // macros that a library lacks are appended to that library, never to the one open before.
  void SwitchTo(const std::string& path, bool notify);
  // LoadMacroLibrary of the current file.
  void Reload(bool notify) { library_.ReloadMacroLibrary(notify); }

  // DoLastFiles: `newName` leaves the recent list (exact comparison), the entries move down one
  // place and `oldName` becomes entry 1.
  void DoLastFiles(const std::string& oldName, const std::string& newName);
  // The caption of recent-file item k (1..5): "&k" and three blanks before the entry; empty when
  // the entry holds no file (the item is hidden).
  std::string RecentCaption(int k) const;
  bool AnyRecent() const;

  // LibraryTitle: the library's file name without folder and without its last four characters.
  std::string LibraryTitle() const;

 private:
  void MacroEntriesChanged(int number) override;
  void MacroCountChanged() override;
  void TellPeer(int code, int argument) override;

  TSettingsRec& settings_;
  PlayerLink& link_;
  MacroLibrary library_;
};

// "Wendrix Editor (<title>)", and with "Show Date" the date and time after five blanks.
std::string EditorCaption(const std::string& libraryTitle, bool showDate, const std::string& dateAndTime);

}  // namespace wdx::editor
