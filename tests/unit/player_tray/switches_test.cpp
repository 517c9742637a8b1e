// The command line's bad input at start-up and from a second player: what is not a switch, a
// switch without its value, a very long line, presets of variables that do not exist. None of
// it may crash the player or cost it its library.
#include <gtest/gtest.h>

#include "hook/in_process_hook.h"
#include "player/core/command_line.h"
#include "player/core/protocol.h"
#include "player/core/startup.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

class SwitchesTest : public PlayerFixture {
 protected:
  void StartWith(const std::string& args) {
    mem.processes.commandLine = std::string(kFolder) + "\\WENDPLAY.EXE " + args;
    Start();
  }
  // A second player started with `args` hands them to this one.
  void SecondPlayer(const std::string& args) {
    platform::MemoryProcesses second;
    second.executablePath = std::string(kFolder) + "\\WENDPLAY.EXE";
    second.commandLine = second.executablePath + " " + args;
    platform::Platform p2 = p;
    p2.processes = &second;
    hook::InProcessHookLibrary hook2(mem.desktop, &mem.kernel);
    EXPECT_EQ(RunPlayer(p2, hook2), 0);
    Pump();
  }
};

// Command lines that hold nothing the player can use: at start-up and from a second player.
const std::string kBadLines[] = {
    "/Q /XYZ -A foo /",                             // not switches
    "/F /A /WRM /SM /V",                            // switches without their values
    "/SMabc /SM-5 /SM999999999999 /F   /A/F",       // values that are no numbers, or empty
    "/VT0:x /VT100:y /VN51:3 /VD0:1 /VQ1:z /VT:w",  // presets of variables that do not exist
    "/A" + std::string(10000, 'x'),                 // a very long line
    std::string(10000, '/'),
};

TEST_F(SwitchesTest, BadSwitchesChangeNothing) {
  AddMacros({{"hello", kCtrlB, scope::kGlobal, "", "hi"}});
  for (const std::string& args : kBadLines) {
    SCOPED_TRACE(args.substr(0, 60));
    StartWith(args);
    EXPECT_EQ(settings.currentLibrary, kLibrary);
    EXPECT_TRUE(mem.boxes.shown.empty());
    for (int i = 1; i < VariableSet::kTextSlots; ++i) EXPECT_EQ(main->State().saved.text[static_cast<std::size_t>(i)], "");
    main->DestroyWindow();
    main.reset();
  }
  EXPECT_EQ(ParseCommandLine("P.EXE /A" + std::string(10000, 'x')).startupNickname, std::string(50, 'X'));
}

// "/F" from a second player gets the check of the player's own command line: a library that
// does not exist is ignored, one that does is switched to, after the nickname ran from the old.
TEST_F(SwitchesTest, ASecondPlayersLibraryMustExist) {
  AddMacros({{"hello", 30000, scope::kGlobal, "", "old"}});
  AppendRecords(Native("C:\\OTHER\\B.WDX"), {{"hello", 30000, scope::kGlobal, "", "new"}});
  InstanceManager first;
  ASSERT_TRUE(first.TakeFirstPlace(mem.kernel));
  Start();
  Front("Untitled - Notepad");
  SecondPlayer("/F C:\\NOWHERE\\X.WDX /A hello");
  EXPECT_EQ(settings.currentLibrary, kLibrary);
  EXPECT_FALSE(std::filesystem::exists(Native("C:\\NOWHERE\\X.WDX")));
  SecondPlayer("/F C:\\OTHER\\B.WDX");
  SecondPlayer("/A hello /SM30 /Q /VT1:set");
  EXPECT_EQ(settings.currentLibrary, "C:\\OTHER\\B.WDX");
  EXPECT_EQ(Typed(), "OLDNEW");
  EXPECT_EQ(main->State().saved.text[1], "SET");
  EXPECT_TRUE(mem.boxes.shown.empty());
}

// A second player's line that holds nothing usable changes nothing (a single-macro file without
// its name is reported) and leaves the channel closed: the next second player's nickname runs
// alone.
TEST_F(SwitchesTest, ASecondPlayersBadLinesChangeNothing) {
  AddMacros({{"hello", 30000, scope::kGlobal, "", "hi"}});
  InstanceManager first;
  ASSERT_TRUE(first.TakeFirstPlace(mem.kernel));
  Start();
  Front("Untitled - Notepad");
  for (const std::string& args : kBadLines) {
    SCOPED_TRACE(args.substr(0, 60));
    SecondPlayer(args);
    EXPECT_EQ(settings.currentLibrary, kLibrary);
    // "/WRM" names no file: the first player says it cannot open it.
    const bool file = args.find("/WRM") != std::string::npos;
    EXPECT_EQ(BoxTexts(), file ? std::vector<std::string>{std::string("Error: ") + kSingleMacroOpenError}
                               : std::vector<std::string>{});
    mem.boxes.shown.clear();
    EXPECT_EQ(Typed(), "");
  }
  for (int i = 1; i < VariableSet::kTextSlots; ++i) EXPECT_EQ(main->State().saved.text[static_cast<std::size_t>(i)], "");
  SecondPlayer("/A hello");
  EXPECT_EQ(Typed(), "HI");
}

}  // namespace
}  // namespace wdx::player::testing
