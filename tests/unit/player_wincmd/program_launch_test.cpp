// Program launch over the stand-in shell: the calls the launch forms make (program, parameters,
// show mode), the PATH retry, the window wait and its time-out on the test clock, the failure
// texts, and the addresses and folders opened as the shell opens them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using platform::ShowMode;
using testing::ClockHost;
using testing::TypedText;

class LaunchTest : public ::testing::Test {
 protected:
  LaunchTest() { mem.input.SetScreenSize({800, 600}); }

  std::string Play(const std::string& text) {
    mem.input.keys.clear();
    host.boxes.clear();
    host.pauses.clear();
    mem.shell.calls.clear();
    st.abortMacro = false;
    interpreter.DoMacro(text);
    return TypedText(mem.input.keys);
  }
  void MakeFile(const std::string& windowsPath) {
    const std::filesystem::path p = mem.NativePath(windowsPath);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << "x";
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
};

TEST_F(LaunchTest, LaunchFormsCallTheShell) {
  struct Case {
    std::string text;
    std::string file, parameters;
    ShowMode show;
    std::vector<double> pauses;
  };
  const std::vector<Case> cases = {
      {"<LAUNCH:notepad.exe>ok", "notepad.exe", "", ShowMode::kShowNormal, {}},
      {"<LAUNCH:C:\\Program Files\\Editor\\ed.exe<PARAM>notes.txt>ok", "\"C:\\Program Files\\Editor\\ed.exe\"",
       "notes.txt", ShowMode::kShowNormal, {}},
      {"<LAUNCH:C:\\Program Files\\Editor\\ed.exe>ok", "C:\\Program Files\\Editor\\ed.exe", "", ShowMode::kShowNormal,
       {}},
      {"<LAUNCH:calc.exe1\x01>ok", "calc.exe", "", ShowMode::kShowMinimized, {}},
      {"<LAUNCH:calc.exe<PARAM>/x2\x01>ok", "calc.exe", "/x", ShowMode::kMaximize, {}},
      {"<LAUNCHDEL:05calc.exe>ok", "calc.exe", "", ShowMode::kShowNormal, {5.0}},
      {"<LAUNCHDEL:00calc.exe>ok", "calc.exe", "", ShowMode::kShowNormal, {}},
  };
  st.speedFactor = 3.0;  // the delay after a start is not scaled
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Play(c.text), "ok");
    ASSERT_EQ(mem.shell.calls.size(), 1u);
    EXPECT_EQ(mem.shell.calls[0].verb, "open");
    EXPECT_EQ(mem.shell.calls[0].file, c.file);
    EXPECT_EQ(mem.shell.calls[0].parameters, c.parameters);
    EXPECT_EQ(mem.shell.calls[0].show, c.show);
    EXPECT_EQ(host.pauses, c.pauses);
    EXPECT_TRUE(host.boxes.empty());
  }
}

TEST_F(LaunchTest, AProgramNotFoundIsLookedForAlongPath) {
  MakeFile("C:\\Tools\\tool.exe");
  mem.environment.SetVariable("PATH", "C:\\Nowhere;;C:\\Tools");
  mem.shell.onExecute = [&](const platform::ShellCall& call) {
    mem.shell.result = call.file == "C:\\Tools\\tool.exe" ? 42 : 2;
  };
  EXPECT_EQ(Play("<LAUNCH:tool.exe<PARAM>-v>ok"), "ok");
  ASSERT_EQ(mem.shell.calls.size(), 2u);
  EXPECT_EQ(mem.shell.calls[1].file, "C:\\Tools\\tool.exe");
  EXPECT_EQ(mem.shell.calls[1].parameters, "-v");
  EXPECT_TRUE(host.boxes.empty());
}

// A shell failure says why and ends the whole macro at once, whatever the window time-out.
TEST_F(LaunchTest, ShellFailuresSayWhyAndAbort) {
  struct Case {
    std::int32_t code;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {0, "the operating system is out of memory or resources."},
      {2, "the specified file was not found."},
      {3, "the specified path was not found."},
      {5, "the operating system denied access to the specified file."},
      {31, "there is no application associated with the given filename extension."},
      {17, "of an unknown Error #17."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    mem.shell.result = c.code;
    const std::uint64_t before = host.Now();
    EXPECT_EQ(Play("a<REPEAT:0002>b<LAUNCHNO2:0099Missing<LAUNCH:C:\\My Files\\none.exe<PARAM>x>c<ENDREP>d"), "ab");
    EXPECT_LT(host.Now() - before, 1000u);
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Launch Error");
    EXPECT_EQ(host.boxes[0].text, "\"\"C:\\My Files\\none.exe\"\" failed to launch because " + c.reason +
                                      " Macro will abort. (Macro Name: )");
  }
}

TEST_F(LaunchTest, TheWindowWaitEndsWhenTheWindowComes) {
  mem.shell.onExecute = [&](const platform::ShellCall&) { mem.desktop.AddForeignWindow("Untitled - Notepad", "N", 9); };
  EXPECT_EQ(Play("<LAUNCHNO2:0310Notepad<LAUNCH:notepad.exe>ok"), "ok");
  EXPECT_NE(mem.desktop.GetForegroundWindow(), platform::kNoWindow);
  EXPECT_EQ(mem.desktop.GetTitle(mem.desktop.GetForegroundWindow()), "Untitled - Notepad");
  EXPECT_EQ(host.pauses, std::vector<double>{3.0});
}

TEST_F(LaunchTest, TheWindowWaitTimesOutOnTheClock) {
  host.pumpMs = 10;
  const std::uint64_t before = host.Now();
  EXPECT_EQ(Play("<LAUNCHNO2:0005Some Window Title That Is Longer Than Thirty<LAUNCH:x.exe>ok"), "");
  const std::uint64_t waited = host.Now() - before;
  EXPECT_GE(waited, 5000u);
  EXPECT_LT(waited, 6000u);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Launch Failed");
  EXPECT_EQ(host.boxes[0].text,
            "Specified window title of \"Some Window Title That Is Long\" could not be found on your computer. "
            "Macro will abort. (Macro Name: )");
  EXPECT_TRUE(st.abortMacro);
}

TEST_F(LaunchTest, TheAbortKeyEndsTheWindowWait) {
  host.onPump = [&](int pump) {
    if (pump == 20) st.abortMacro = true;
  };
  const std::uint64_t before = host.Now();
  Play("<LAUNCHNO2:0099Never<LAUNCH:x.exe>ok");
  EXPECT_LT(host.Now() - before, 5000u);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(LaunchTest, LaunchYesActivatesAWindowThatIsThereInsteadOfStarting) {
  const platform::WindowHandle w = mem.desktop.AddForeignWindow("Untitled - Notepad", "N", 9);
  EXPECT_EQ(Play("<LAUNCHYES2:0512notepad<LAUNCH:notepad.exe>ok"), "ok");
  EXPECT_TRUE(mem.shell.calls.empty());
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), w);
  EXPECT_TRUE(host.pauses.empty());
  EXPECT_EQ(Play("<LAUNCHYES:05Calculator<LAUNCH:calc.exe>ok"), "");  // started, never came
  EXPECT_EQ(mem.shell.calls.size(), 1u);
}

TEST_F(LaunchTest, AddressesAndFoldersOpenAsTheShellOpensThem) {
  mem.shell.result = 2;  // never reported
  EXPECT_EQ(Play("<HTTP:http://example.test/a>a<FTP:ftp://example.test>b<EXPLORE:C:\\Temp>c"), "abc");
  ASSERT_EQ(mem.shell.calls.size(), 3u);
  EXPECT_EQ(mem.shell.calls[0].file, "http://example.test/a");
  EXPECT_EQ(mem.shell.calls[0].verb, "");
  EXPECT_EQ(mem.shell.calls[1].file, "ftp://example.test");
  EXPECT_EQ(mem.shell.calls[2].file, "C:\\Temp");
  EXPECT_EQ(mem.shell.calls[2].verb, "explore");
  EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace wdx::player
