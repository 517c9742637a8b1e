// What the macro control commands ("<MACRUN:", "<MACDEL:", "<MACACT:", "<MACDEACT:", "<SWAP:")
// need of the player: the library's macros as its tables know them, the library lock, and the
// changes of the library that the player carries out with everything that derives from it.
// The host hands one out (InterpreterHost::Library); without one those commands fail with a
// clear message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wdx::player {

// Macros that run each other by "<MACRUN:" nest at most this deep: a chain that runs itself
// without end stops with a message instead of exhausting the stack.
inline constexpr int kMacroRunDepthMax = 100;

class LibraryControl {
 public:
  virtual ~LibraryControl() = default;

  // The macros of the loaded library, numbered 1..MacroCount(), as the tables know them.
  virtual int MacroCount() = 0;
  virtual std::string Nickname(int macro) = 0;
  virtual bool Active(int macro) = 0;
  virtual std::int16_t ScopeKind(int macro) = 0;
  virtual std::string ScopeText(int macro) = 0;
  // The macro's text read from the library file; nullopt when its record cannot be read.
  virtual std::optional<std::string> MacroText(int macro) = 0;

  // The library lock of network mode: false when this player may change the library now (it
  // holds the lock, or there is no network mode); ReleaseSyncFile gives it back, counting
  // `changes` in the sync stamp.
  virtual bool FileInUse() = 0;
  virtual void ReleaseSyncFile(int changes) = 0;

  // Deletes macro `macro`: the menus that list it lose it and are renumbered, the record goes,
  // everything derived from the library is rebuilt and the editor reloads.
  virtual void DeleteMacro(int macro) = 0;
  // Sets the active flag of `macro` in the tables, the hook library and the file, and tells
  // whoever follows it.
  virtual void SetMacroActive(int macro, bool active) = 0;
  // Makes `path` the current library; the error text, and nothing changed, when it cannot be
  // opened.
  virtual std::optional<std::string> SwitchLibrary(const std::string& path) = 0;
  // Brings up the editor (system macro "1").
  virtual void OpenEditor() = 0;
  // Tells the editor UM_CONTROL (code, argument) when one runs.
  virtual void TellEditor(int code, int argument) = 0;
};

}  // namespace wdx::player
