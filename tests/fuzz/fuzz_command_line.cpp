// Command lines and the text channels between programs.
//
// The input is read once as a whole command line (split into parameters, read into options
// and variable presets) and then, line by line, sent to a running player on the stand-in: a
// line's first character picks the channel ("C" a second player's forwarded command line,
// "N" a nickname, "F" a single-macro file name, "V" variable presets, each character one
// message and a 0 to end; "M" one raw message of the protocol, its code, wParam and lParam
// taken from the bytes that follow), and the player handles what was posted before the next
// line. Findings besides crashes and the sanitizers' reports: a key left down, a file or INI
// path outside the stand-in's root folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "rooted_files.h"
#include "player/core/command_line.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace {

using namespace wdx;
using namespace wdx::player;
using Player = wdx::player::testing::StandAlonePlayer;

volatile std::size_t sink;

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) v |= std::uint32_t{static_cast<std::uint8_t>(bytes[at + i])} << (8 * i);
  return v;
}

void ReadAsCommandLine(std::string_view text) {
  const CommandLineOptions options = ParseCommandLine(text);
  std::size_t n = SplitCommandLine(text).size() + options.library.value_or("").size() +
                  options.startupNickname.value_or("").size() + options.startupFile.value_or("").size();
  std::string value;
  for (const char* s : {"/A", "/F", "/WRM", "/V"}) {
    if (SwitchValue(text, s, value)) n += value.size();
  }
  VariableSet saved;
  SetCommandVariables(text, saved);
  for (const std::string& t : saved.text) n += t.size();
  sink = n;
}

void SendLine(Player& player, std::string_view line) {
  if (line.empty()) return;
  const std::string_view rest = line.substr(1);
  const platform::WindowHandle w = player.main->MainWindow();
  auto& desktop = player.mem.desktop;
  std::uint32_t channel = 0;
  switch (line[0]) {
    case 'C':
      // The forwarded command line carries its byte in lParam; only 0 ends it.
      for (const char c : rest) desktop.PostMessage(w, UM_COMMANDLINECHAR, 0, static_cast<std::uint8_t>(c));
      desktop.PostMessage(w, UM_COMMANDLINECHAR, 0, 0);
      return;
    case 'N': channel = UM_NICKNAMECHAR; break;
    case 'F': channel = UM_FILENAMECHAR; break;
    case 'V': channel = UM_VARIABLESCHAR; break;
    case 'M': {
      const std::uint8_t code = rest.empty() ? 0 : static_cast<std::uint8_t>(rest[0]);
      desktop.PostMessage(w, 0x400u + (code & 0x1Fu), Le32(rest, 1), Le32(rest, 5));
      return;
    }
    default: return;
  }
  for (const char c : rest) desktop.PostMessage(w, channel, static_cast<std::uint8_t>(c), 0);
  desktop.PostMessage(w, channel, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  ReadAsCommandLine(input);

  Player p({{"Hello", 30000, scope::kGlobal, "", "hi<ENTER>"},
            {"Held", wdx::player::testing::kCtrlA, scope::kGlobal, "", "<CTRLD>a<SHIFT>"}});
  fuzz::RootedPlatform rooted(p.mem);
  rooted.Into(p.p);
  p.Start();
  if (!p.main) return 0;
  p.Front("Untitled - Notepad");
  fuzz::ForEachPiece(input, "\n", [&p](std::string_view line) {
    SendLine(p, line);
    p.Pump();
  });
  if (!p.mem.input.KeysDown().empty()) fuzz::Finding("a key is still down after the messages");
  return 0;
}
