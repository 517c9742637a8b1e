// The macro library file: a plain sequence of 5165-byte macro records, record n being macro
// number n, at most 500 of them. Both programs keep a few fields of every record in per-macro
// tables (the settings record and the hook-globals block) so that lists, hot keys and the hook
// library work without reading the file; every load and every write keeps them in step.
//
// The file is opened, used and closed within each call: loads and reads open it read-only,
// writes, deletes and enables open it for reading and writing without truncating it. Callers in
// network mode take the library lock around these calls themselves.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "shared/glob_data.h"
#include "shared/macro_record.h"
#include "shared/protocol_messages.h"
#include "shared/settings.h"

namespace wdx {

// The built-in macros: scope kind 5, the digit in the scope text says which action they run.
struct SystemMacro {
  char digit;
  std::string nickname;
  std::uint16_t preferredHotKey;  // Ctrl+Alt+Shift+V .. Z
};

// What a library change must reach besides the file and the tables.
class LibraryListener {
 public:
  virtual ~LibraryListener() = default;
  // The table entries of macro `number` changed in the block (the hook library's WdxUpItem).
  virtual void MacroEntriesChanged(int number) = 0;
  // The macro count changed in the block (WdxUpNumKeys).
  virtual void MacroCountChanged() = 0;
  // Tell the other program UM_CONTROL (code, argument): one of editor_notice, whose codes the
  // editor sends the player alike. The player looks for the editor's window when it has not
  // yet and posts only when found; the editor posts to the player.
  virtual void TellPeer(int code, int argument) = 0;
};

struct LibraryOptions {
  // In the order they are re-created: "5", "1", "2", "3", "4".
  std::array<SystemMacro, 5> systemMacros;
  // The player's load puts the default case mode of the settings in place of a stored case
  // mode outside 1..3.
  bool repairCaseMode = true;

  static LibraryOptions Player();
  static LibraryOptions Editor();
};

inline constexpr char kSaveFailedText[] = "Saving of keystrokes failed.";
inline constexpr char kCreateFailedText[] = "New file could not be created.";
inline constexpr char kErrorCaption[] = "Error";

class MacroLibrary {
 public:
  // `files` says where stored library and icon paths lie, `boxes` shows the errors and `clock`
  // stamps the system macros it adds.
  MacroLibrary(TSettingsRec& settings, TGlobData& glob, platform::Files& files, platform::MessageBoxes& boxes,
               platform::Clock& clock, LibraryListener& listener, LibraryOptions options = LibraryOptions::Player());

  // Writes the record at position `number`, or appends it when number is -1 (the caller has
  // already raised the macro count; the count becomes the number). The icon name is resolved
  // first and a missing icon file's name is replaced in what is written. Only after the write
  // succeeded are the tables refreshed, the hook library told and (with notify) the peer told
  // code 20. False when nothing was written (a message box said so).
  bool WriteMacroRecord(std::int32_t number, TMacroRec record, bool notify = true);

  // Makes the library at `path` the loaded one: count, tables, icons; a missing file is created
  // empty; then RestoreSystemMacros. At most 500 records are loaded; more are reported and left
  // in the file untouched. A partial record at the end of the file is neither read nor removed.
  void LoadMacroLibrary(const std::string& path, bool notify = true);
  // LoadMacroLibrary of the current library ("Current File").
  void ReloadMacroLibrary(bool notify = true);
  // Appends whichever of the five system macros is missing, in the order "5", "1", "2", "3", "4".
  void RestoreSystemMacros();
  // The first hot key index at or below `start` (wrapping from 0 to 720) no macro uses.
  std::int32_t FindFreeHotKey(std::int32_t start) const;

  // Reads record `number` into `record`; false (record untouched) when the file cannot be
  // opened or holds no such record.
  bool ReadMacroRecord(std::int32_t number, TMacroRec& record) const;
  // Reads record `number` of the current library into the tables (its icon resolved in memory
  // only), as after the other program rewrote it; nothing is pushed or told. False when the
  // number is outside the loaded macros or the record cannot be read.
  bool RefreshFromFile(std::int32_t number);
  // Removes record `number`, moving later records down; false when nothing changed.
  bool DeleteMacroRecord(std::int32_t number);
  // Rewrites the active byte of record `number`; false when nothing changed.
  bool SetMacroEnabled(std::int32_t number, std::uint8_t value);
  // True when any loaded macro is an Abbrekey macro.
  bool ThereAreAbbrekeys() const;

  // Icon of a record: "MENU", "MAIN", or a file in the Icons folder of the program folder;
  // a name whose file is missing is replaced in `record` by "MENU" (menus) or "MAIN".
  MacroIcon ResolveIcon(TMacroRec& record) const;

  const LibraryOptions& Options() const { return options_; }

 private:
  void RefreshTables(int number, const TMacroRec& record, const MacroIcon& icon, bool repairCaseMode);
  // Empties every macro's table entries (no activation, no scope, inactive).
  void ClearTables();
  std::filesystem::path NativePath(const std::string& stored) const;
  std::filesystem::path CurrentFile() const;
  void ShowError(const std::string& text) const;

  TSettingsRec& settings_;
  TGlobData& glob_;
  platform::Files& files_;
  platform::MessageBoxes& boxes_;
  platform::Clock& clock_;
  LibraryListener& listener_;
  LibraryOptions options_;
};

// True when some macro 1..count of the block has the Abbrekey activation.
bool ThereAreAbbrekeys(const TGlobData& glob);
// The hot key map from the block's tables: the hot key index of every active macro whose
// activation is one (other codes have no place in the map), and the Abbrekey byte. Nothing is
// pushed here.
void RebuildHotKeyMap(TGlobData& glob);

// A single-macro file (.WRM): the whole file is the macro text; a last byte 0x1A (Ctrl+Z) is
// dropped, and the text ends at a NUL as the player has always read it. std::nullopt when the
// file cannot be opened or is larger than kMaxSingleMacroFileBytes.
constexpr std::uintmax_t kMaxSingleMacroFileBytes = 16u * 1024u * 1024u;
std::optional<std::string> ReadSingleMacroFile(const std::filesystem::path& nativePath);

}  // namespace wdx
