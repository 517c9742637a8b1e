// The player's command line: split into parameters as the system's run-time library does, read
// into one struct of options (what the main window applies at start-up), and the variable
// presets "/V" that the command line and the text channels carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "player/interpreter/interpreter_host.h"
#include "shared/text_util.h"

namespace wdx::player {

// What a command line asks of the player. Each switch is a parameter compared without regard
// to case, the first matching test deciding: "/B" or "/BA" exactly, "/S" exactly, "/F", "/A",
// "/WRM", "/N" exactly, "/SM", "/NOINI", "/T", "/H", "/EN", "/EY", "/NSE" at its start.
struct CommandLineOptions {
  bool browseMode = false;  // "/B", "/BA": the editor cannot be opened, recording is refused
  bool autoSync = false;    // "/S" in any case
  // "/S" written in upper case: the program block switches "Use Tray" on for it alone.
  bool trayFromExactS = false;
  // "/F": a library file; it is taken only when it exists.
  std::optional<std::string> library;
  // "/A": the nickname of a macro to run shortly after start (upper-cased, at most 50
  // characters); "/WRM": a single-macro file to play then.
  std::optional<std::string> startupNickname;
  std::optional<std::string> startupFile;
  bool networkMode = false;                  // "/N"
  std::optional<std::uint16_t> syncMinutes;  // "/SM" + 1..98; other numbers are ignored
  bool iniWritingOff = false;                // "/NOINI": nothing is written to the settings file
  std::optional<bool> useTray;               // "/T" on, "/H" off: the last one counts
  std::optional<bool> startEditor;           // "/EY" on, "/EN" off: the last one counts
  bool editorNotThisStart = false;           // "/NSE": no editor at this start-up
};

// The options of a whole command line (GetCommandLine's text, program first). The values of
// "/F", "/A" and "/WRM" are read from the line as the system gave it (its first 255
// characters, case kept) by SwitchValue.
CommandLineOptions ParseCommandLine(std::string_view commandLine);

// Splitting a command line into parameters is shared with the editor (shared/text_util.h).
using wdx::SplitCommandLine;

// The value of a switch in a command line: the text after the first occurrence of `switchText`
// (found without regard to case), up to the next "/" or the end, blanks trimmed on both sides.
// False when the switch does not occur.
bool SwitchValue(std::string_view line, std::string_view switchText, std::string& value);

// Variable presets "/V" + T, N or D + number + ":" + value, any number of them, into the SAVED
// set: T1..T99 take the value (trimmed, case kept), N1..N50 a whole number, D1..D50 a decimal
// number. A value that is no number, another letter, a number out of range or a preset
// without ":" sets nothing.
void SetCommandVariables(std::string_view text, VariableSet& saved);

}  // namespace wdx::player
