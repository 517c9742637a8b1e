// The command line: its parameters, the options they ask for, the values of the switches that
// take one, the variable presets, and what the start-up does with them.
#include "player/core/command_line.h"

#include <gtest/gtest.h>

#include "player_fixture.h"

namespace wdx::player::testing {
namespace {

TEST(CommandLineTest, SplitsLikeTheRunTimeLibrary) {
  const struct {
    const char* line;
    std::vector<std::string> params;
  } cases[] = {
      {"C:\\W\\WENDPLAY.EXE", {"C:\\W\\WENDPLAY.EXE"}},
      {"\"C:\\Program Files\\W\\Wendplay.exe\"  /F C:\\a.wdx\t/NSE", {"C:\\Program Files\\W\\Wendplay.exe", "/F", "C:\\a.wdx", "/NSE"}},
      {"x /A\"my macro\" /S", {"x", "/Amy macro", "/S"}},
      {"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.params) << c.line;
}

TEST(CommandLineTest, SwitchValuesRunToTheNextSlash) {
  const struct {
    const char* line;
    const char* sw;
    bool found;
    const char* value;
  } cases[] = {
      {"P.EXE /f C:\\Lib\\Big One.wdx /A Hello ", "/F", true, "C:\\Lib\\Big One.wdx"},
      {"P.EXE /f C:\\Lib\\Big One.wdx /A Hello ", "/A", true, "Hello"},
      {"P.EXE /WRMC:\\x.wrm", "/WRM", true, "C:\\x.wrm"},
      {"P.EXE /WRMC:\\x.wrm", "/A", false, ""},
      {"P.EXE /A", "/A", true, ""},
  };
  for (const auto& c : cases) {
    std::string v;
    EXPECT_EQ(SwitchValue(c.line, c.sw, v), c.found) << c.line << " " << c.sw;
    if (c.found) {
      EXPECT_EQ(v, c.value) << c.line << " " << c.sw;
    }
  }
}

TEST(CommandLineTest, VariablePresetsGoToTheSavedSet) {
  VariableSet saved;
  saved.integer[3] = 33;
  SetCommandVariables("WENDPLAY.EXE /VT5: Two Words /VN2:42 /VD1:2.5 /VN3:abc /VT100:x /VX1:y /vt6:lower /VT7 /VT8:ok",
                      saved);
  EXPECT_EQ(saved.text[5], "Two Words");
  EXPECT_EQ(saved.integer[2], 42);
  EXPECT_DOUBLE_EQ(saved.decimal[1], 2.5);
  EXPECT_EQ(saved.integer[3], 33);  // not a number: left as it was
  EXPECT_EQ(saved.text[6], "");     // "/v" in lower case is no preset
  EXPECT_EQ(saved.text[7], "");     // no ":"
  EXPECT_EQ(saved.text[8], "ok");   // the preset after one without ":" still counts
}

TEST(CommandLineTest, OptionsOfTheSwitches) {
  const auto parse = [](const std::string& args) { return ParseCommandLine("C:\\WENDRIX\\WENDPLAY.EXE " + args); };
  EXPECT_TRUE(parse("/B").browseMode);
  EXPECT_TRUE(parse("/ba").browseMode);
  EXPECT_FALSE(parse("/BAD").browseMode);  // neither "/B" nor "/BA"
  // "/S" in any case is auto sync; only in upper case does it turn the tray on at start.
  EXPECT_TRUE(parse("/s").autoSync);
  EXPECT_FALSE(parse("/s").trayFromExactS);
  EXPECT_TRUE(parse("/S").trayFromExactS);
  EXPECT_EQ(parse("/SM30").syncMinutes, 30);
  EXPECT_FALSE(parse("/SM99").syncMinutes);
  EXPECT_FALSE(parse("/sm0").syncMinutes);
  EXPECT_FALSE(parse("/SM").syncMinutes);
  EXPECT_TRUE(parse("/nse").editorNotThisStart);
  EXPECT_TRUE(parse("/N").networkMode);
  EXPECT_FALSE(parse("/NOINI").networkMode);
  EXPECT_TRUE(parse("/noini").iniWritingOff);
  EXPECT_EQ(parse("/T").useTray, true);
  EXPECT_EQ(parse("/T /H").useTray, false);  // the last one counts
  EXPECT_EQ(parse("/EN").startEditor, false);
  EXPECT_EQ(parse("/EN /EY").startEditor, true);
  EXPECT_EQ(parse("").useTray, std::nullopt);

  // The values of "/F", "/A" and "/WRM" are read from the line as given, up to the next "/".
  const CommandLineOptions o = parse("/f c:\\other\\b.wdx /A my macro /WRM c:\\x\\One.wrm");
  EXPECT_EQ(o.library, "c:\\other\\b.wdx");
  EXPECT_EQ(o.startupNickname, "MY MACRO");
  EXPECT_EQ(o.startupFile, "c:\\x\\One.wrm");
  EXPECT_EQ(parse("/A" + std::string(60, 'n')).startupNickname, std::string(50, 'N'));
  EXPECT_EQ(parse("/A").startupNickname, "");  // given, without a name
  EXPECT_FALSE(parse("/NSE").startupNickname);
}

class CommandLineStartTest : public PlayerFixture {};

// At start-up the options change the settings; a library that exists replaces the one loaded,
// one that does not is ignored.
TEST_F(CommandLineStartTest, StartUpAppliesTheOptions) {
  AppendRecords(Native("C:\\OTHER\\B.WDX"), {{"b", kCtrlB, scope::kGlobal, "", "b"}});
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /s /SM30 /EN /NOINI /f c:\\other\\b.wdx /VT3:Kept Case";
  Start();
  EXPECT_TRUE(settings.autoSync);
  EXPECT_EQ(settings.syncMinutes, 30);
  EXPECT_FALSE(settings.startEditor);
  EXPECT_FALSE(main->Settings().WritingAllowed());
  EXPECT_EQ(settings.currentLibrary, "c:\\other\\b.wdx");
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_EQ(main->State().saved.text[3], "Kept Case");
  main->DestroyWindow();

  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /F C:\\NOWHERE\\X.WDX";
  configs->LoadAllSettings();
  settings.currentLibrary = kLibrary;
  Start();
  EXPECT_EQ(settings.currentLibrary, kLibrary);
  EXPECT_TRUE(main->Settings().WritingAllowed());
}

}  // namespace
}  // namespace wdx::player::testing
