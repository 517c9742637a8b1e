// The Abbrekey road through the whole player: keys typed as the hook library sees them, its
// UM_ABBREKEYCHAR reports, the choice of the macro, the Backspaces that erase the Abbrekey and
// the macro's text, read back from the stand-in's recorded key events.
#include <gtest/gtest.h>

#include <functional>

#include "hook/in_process_hook.h"
#include "player/core/protocol.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

struct Abbrekey {
  std::string abbrekey;
  std::string text;
  std::int16_t kind = scope::kGlobal;
  std::string scopeText;
  int caseMode = 3;
  int removal = 1;
  bool active = true;
};

struct AbbrekeySettings {
  bool suffix = false, punctuation = false, retype = true, solitary = false;
  std::string prefix;
};

// A player whose library holds the given Abbrekey macros (numbered from 1).
struct AbbrekeyPlayer : StandAlonePlayer {
  AbbrekeyPlayer(const AbbrekeySettings& s, const std::vector<Abbrekey>& macros) {
    const auto yes = [](bool on) { return on ? "Yes" : "No"; };
    mem.profile.WriteString(kSettingsFileName, "Abbrekeys", "Use Suffix", yes(s.suffix));
    mem.profile.WriteString(kSettingsFileName, "Abbrekeys", "Use Punctuation", yes(s.punctuation));
    mem.profile.WriteString(kSettingsFileName, "Abbrekeys", "Retype Suffix", yes(s.retype));
    mem.profile.WriteString(kSettingsFileName, "Abbrekeys", "Solitary Usage", yes(s.solitary));
    mem.profile.WriteString(kSettingsFileName, "Abbrekeys", "Prefix Keys", s.prefix);
    std::filesystem::create_directories(Native(kLibrary).parent_path());
    std::ofstream out(Native(kLibrary), std::ios::binary | std::ios::app);
    int n = 0;
    for (const Abbrekey& a : macros) {
      TMacroRec r = MakeRecord({"abbrekey " + std::to_string(++n), activation::kAbbrekey, a.kind, a.scopeText, a.text,
                                a.active});
      r.SetAbbrekey(a.abbrekey);
      r.SetCaseMode(static_cast<std::int16_t>(a.caseMode));
      r.SetRemoval(static_cast<std::int16_t>(a.removal));
      out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    }
  }

  // Types the characters as the user would: Shift for capitals and shifted punctuation.
  void Type(const std::string& keys) {
    for (const char c : keys) {
      const std::int16_t scan = platform::UsVkKeyScan(c);
      ASSERT_NE(scan, -1) << c;
      const bool shift = (scan & 0x100) != 0;
      if (shift) hook->FeedKey(vk::kShift, false);
      hook->FeedKeyPress(static_cast<std::uint8_t>(scan & 0xFF));
      if (shift) hook->FeedKey(vk::kShift, true);
      Pump();
    }
  }

  // What the player typed, as characters: "<" for a Backspace.
  std::string Output() const {
    std::string s;
    bool shift = false;
    for (const platform::KeyEventRecord& k : mem.input.keys) {
      const bool up = (k.flags & platform::keyflag::kKeyUp) != 0;
      if (k.vk == vk::kShift || k.vk == vk::kLShift) shift = !up;
      if (up) continue;
      if (k.vk == vk::kBack) {
        s.push_back('<');
      } else if (const char c = hook::UsKeyChar(k.vk, shift, false); c != 0 && c != '\n') {
        s.push_back(c);
      }
    }
    return s;
  }
};

// Each row: the settings, the library, the window in front, the keys typed → what the player
// typed ("<" a Backspace) and which macro ran.
TEST(AbbrekeyRoadTest, TypedAbbrekeysAreErasedAndReplacedByTheirMacro) {
  const AbbrekeySettings anywhere;
  const AbbrekeySettings solitary{false, false, true, true, ""};
  const AbbrekeySettings suffix{true, false, true, false, ""};
  const AbbrekeySettings suffixNoRetype{true, false, false, false, ""};
  const AbbrekeySettings punctuation{true, true, true, false, ""};
  const AbbrekeySettings prefix{false, false, true, false, ";;"};
  const std::vector<Abbrekey> sig{{"sig", "best"}};
  const std::vector<Abbrekey> eg{{"e.g.", "for example"}};
  const std::vector<Abbrekey> sigCase1{{"sig", "best", scope::kGlobal, "", 1}};
  const std::vector<Abbrekey> sigCase2{{"sig", "best", scope::kGlobal, "", 2}};
  const std::vector<Abbrekey> scoped{{"sig", "global"}, {"sig", "pad", scope::kWindow, "notepad"}};
  const std::vector<Abbrekey> byProgram{{"sig", "global"}, {"sig", "word", scope::kProgram, "winword"}};
  struct Row {
    const char* what;
    const AbbrekeySettings* s;
    const std::vector<Abbrekey>* macros;
    std::string front;  // title of the window in front; "" a window without title
    std::string typed;
    std::string output;
    int macro;  // the macro that ran, 0 for none
  } rows[] = {
      {"inside a word", &anywhere, &sig, "Notepad", "mysig", "<<<best", 1},
      {"not at the caret", &anywhere, &sig, "Notepad", "si", "", 0},
      {"solitary inside a word", &solitary, &sig, "Notepad", "mysig", "", 0},
      {"solitary after a blank", &solitary, &sig, "Notepad", "my sig", "<<<best", 1},
      {"suffix", &suffix, &sig, "Notepad", "sig ", "<<<<best ", 1},
      {"suffix Enter", &suffix, &sig, "Notepad", "sig\r", "<<<<best\r", 1},
      {"suffix not retyped", &suffixNoRetype, &sig, "Notepad", "sig ", "<<<<best", 1},
      {"suffix needs the suffix", &suffix, &sig, "Notepad", "sig", "", 0},
      {"punctuation in the word", &punctuation, &eg, "Notepad", "e.g. ", "<<<<<for example ", 1},
      {"punctuation ends the word", &punctuation, &sig, "Notepad", "sig.", "<<<<best.", 1},
      {"case 1 capital", &suffix, &sigCase1, "Notepad", "Sig ", "<<<<Best ", 1},
      {"case 1 small", &suffix, &sigCase1, "Notepad", "sig ", "<<<<best ", 1},
      {"case 2 differs", &suffix, &sigCase2, "Notepad", "Sig ", "", 0},
      {"case 1 inside a word", &anywhere, &sigCase1, "Notepad", "xSig", "<<<best", 1},
      {"prefix keys", &prefix, &sig, "Notepad", ";;sig", "<<<<<best", 1},
      {"prefix keys missing", &prefix, &sig, "Notepad", "sig", "", 0},
      {"backspace in the word", &anywhere, &sig, "Notepad", "sx\big", "<<<best", 1},
      {"break in the word", &anywhere, &sig, "Notepad", "si g", "", 0},
      {"window scope", &anywhere, &scoped, "Untitled - Notepad", "sig", "<<<pad", 2},
      {"window scope elsewhere", &anywhere, &scoped, "Calculator", "sig", "<<<global", 1},
      {"window without title", &anywhere, &scoped, "", "sig", "<<<global", 1},
      {"program scope", &anywhere, &byProgram, "Document1", "sig", "<<<word", 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    AbbrekeyPlayer player(*r.s, *r.macros);
    player.Start();
    player.Front(r.front, 0x300, "WINWORD.EXE");
    player.Type(r.typed);
    EXPECT_EQ(player.Output(), r.output);
    EXPECT_EQ(player.main->State().currentMacroNumber, r.macro);
    EXPECT_TRUE(player.mem.input.KeysDown().empty());
    EXPECT_EQ(player.RunEndMarkers(), r.macro ? 1 : 0);
  }
}

// An Abbrekey that cannot run now erases nothing: a popup menu, a recording or a PAUSE say why;
// a macro that plays (a scheduled one) just leaves the typed text alone. Typing on afterwards
// does not run it with Backspaces that would erase the wrong characters.
TEST(AbbrekeyRoadTest, AbbrekeyThatCannotRunLeavesTheTypedTextAlone) {
  struct Row {
    const char* what;
    std::function<void(AbbrekeyPlayer&, bool)> set;
    std::string box;
  } rows[] = {
      {"popup", [](AbbrekeyPlayer& p, bool on) { p.main->State().popupShowing = on; },
       std::string("Warning: ") + kPopupShowingText},
      {"recording", [](AbbrekeyPlayer& p, bool on) { p.block.SetCaptureOn(on); },
       std::string("Warning: ") + kRecordingText},
      {"pause", [](AbbrekeyPlayer& p, bool on) { p.main->State().pauseShowing = on; },
       std::string("Warning: ") + kPauseText},
      {"playing", [](AbbrekeyPlayer& p, bool on) { p.main->State().macroPlaying = on; }, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    AbbrekeyPlayer player({}, {{"sig", "best"}});
    player.Start();
    player.Front("Notepad");
    r.set(player, true);
    player.Type("sig");
    r.set(player, false);
    player.Type("n");
    EXPECT_EQ(player.Output(), "");
    EXPECT_EQ(player.RunEndMarkers(), 0);
    EXPECT_EQ(player.BoxTexts(), r.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.box});
    player.Type(" sig");  // the next word runs as usual
    EXPECT_EQ(player.Output(), "<<<best");
  }
}

// The editor changes the library: the Abbrekeys follow the reloaded tables.
TEST(AbbrekeyRoadTest, ReloadedLibraryBringsItsAbbrekeys) {
  AbbrekeyPlayer player({}, {{"sig", "best"}});
  player.Start();
  player.Front("Notepad");
  std::filesystem::remove(player.Native(kLibrary));
  {
    TMacroRec r = MakeRecord({"renamed", activation::kAbbrekey, scope::kGlobal, "", "done"});
    r.SetAbbrekey("sag");
    std::ofstream out(player.Native(kLibrary), std::ios::binary);
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  player.mem.desktop.PostMessage(player.main->MainWindow(), UM_CONTROL, control::kReload, 0);
  player.Pump();
  player.Type("sig sag");
  EXPECT_EQ(player.Output(), "<<<done");
}

// The Wait For Text buffer keeps the last characters typed, up to its limit.
TEST(AbbrekeyRoadTest, TypedCharactersFillTheWaitForTextBuffer) {
  AbbrekeyPlayer player({}, {});
  player.Start();
  RunState& state = player.main->State();
  state.waitTextLimit = 5;
  const auto send = [&](std::uint64_t w, char c) {
    player.mem.desktop.PostMessage(player.main->MainWindow(), UM_TYPEDCHAR, w, static_cast<unsigned char>(c));
    player.Pump();
  };
  for (const char c : std::string("abcdefg")) send(0, c);
  EXPECT_EQ(state.waitTextBuffer, "cdefg");
  send(0, '\b');
  EXPECT_EQ(state.waitTextBuffer, "cdef");
  send(1, 'x');
  EXPECT_EQ(state.waitTextBuffer, "");
  send(0, '\b');
  EXPECT_EQ(state.waitTextBuffer, "");
}

}  // namespace
}  // namespace wdx::player::testing
