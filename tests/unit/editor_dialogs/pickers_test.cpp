// The window, program and nickname pickers and the installed-program list, on the stand-in's
// windows, processes, registry and shortcut files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dialog_fixture.h"
#include "editor/dialogs/all_prog.h"
#include "editor/dialogs/window_pickers.h"
#include "forms/draw_list.h"

namespace wdx::editor {
namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class PickersTest : public testing::DialogTest, public ::testing::Test {
 protected:
  PickersTest() {
    sources.windows = &mem.desktop;
    sources.processes = &mem.processes;
    sources.installed = &installed;
    sources.scan = {&mem.registry, &mem.files, &mem.shellLinks};
    mem.processes.Bind();  // as the editor's main window does at its start
  }
  // A program file on the stand-in's disk.
  void Program(const std::string& path) {
    mem.shellLinks.Write(path + ".lnk", "");  // makes the folder
    std::filesystem::remove(mem.NativePath(path + ".lnk"));
    std::ofstream(mem.NativePath(path)) << "MZ";
  }
  void StartMenus() {
    mem.registry.SetString(platform::RegistryRoot::kCurrentUser, kShellFolders, "Start Menu", "C:\\Users\\Me\\Start");
    mem.registry.SetString(platform::RegistryRoot::kLocalMachine, kShellFolders, "Common Start Menu",
                           "C:\\All\\Start");
  }

  InstalledPrograms installed;
  PickerSources sources;
};

TEST_F(PickersTest, RunningWindowsAndProgramsAreListedAsTheSystemGivesThem) {
  mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 10);
  mem.desktop.AddForeignWindow("   ", "Blank", 11);
  const platform::WindowHandle hidden = mem.desktop.AddForeignWindow("Hidden Tool", "Tool", 12);
  mem.desktop.ShowWindow(hidden, platform::ShowMode::kHide);
  mem.desktop.AddForeignWindow("Calculator", "Calc", 13);
  EXPECT_EQ(VisibleWindowTitles(mem.desktop), (std::vector<std::string>{"Calculator", "Untitled - Notepad"}));

  mem.processes.Add(1, "notepad.exe");
  mem.processes.Add(2, "[System Process]");
  mem.processes.Add(3, "?broken.exe");
  mem.processes.Add(4, "Notepad.EXE");
  mem.processes.Add(5, "winword.exe.bak");
  EXPECT_EQ(RunningProgramNames(mem.processes),
            (std::vector<std::string>{"notepad.exe", "Notepad.EXE", "winword.exe.bak"}));

  const MacroName macros[] = {{"Greeting", 1}, {"Exit", 5}, {"  ", 1}, {"Menu", 4}};
  EXPECT_EQ(MacroNicknames(macros), (std::vector<std::string>{"Greeting", "Menu"}));
}

TEST_F(PickersTest, SetTitleTakesTheTypedTitleOrAsksAboutTheHighlightedOne) {
  mem.desktop.AddForeignWindow("A window title longer than twenty", "X", 10);
  mem.desktop.AddForeignWindow("Calculator", "Calc", 11);

  // A double click takes the first 20 characters.
  TDoSpecWind dbl(sources, runner, services);
  dbl.TitleText = "Old";
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(Get<forms::Edit>(f, "TheTitle").text(), "Old");
    auto& list = Get<forms::ListBox>(f, "ProgList");
    forms::user::Select(list, 0);
    forms::user::DoubleClick(list);
    Click(f, "Running");
    Click(f, "OkButton");
  });
  runner.ShowModal(dbl);
  EXPECT_EQ(dbl.TitleText, "A window title longe");
  EXPECT_EQ(dbl.OnTopOnly, 0);

  // Empty with a highlighted entry: Yes takes it whole.
  TDoSpecWind yes(sources, runner, services);
  mem.boxes.QueueAnswer(platform::mb::kIdYes);
  runner.Then([](forms::Form& f) {
    forms::user::Select(Get<forms::ListBox>(f, "ProgList"), 0);
    Click(f, "OkButton");
  });
  runner.ShowModal(yes);
  EXPECT_EQ(yes.TitleText, "A window title longer than twenty");
  EXPECT_EQ(yes.OnTopOnly, 1);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text,
            "No window title has been entered.  \"A window title longer than twenty\" is currently highlighted.  "
            "Would you like to use it?");
  EXPECT_EQ(mem.boxes.shown[0].flags, platform::mb::kYesNo);

  // Empty without one: refused; then Cancel gives nothing.
  mem.boxes.shown.clear();
  TDoSpecWind none(sources, runner, services);
  none.WindowMode = 0;
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Set Program");
    Click(f, "OkButton");
    EXPECT_EQ(f.activeControl()->name(), "TheTitle");
    forms::user::PressEscape(f);
  });
  runner.ShowModal(none);
  EXPECT_EQ(none.TitleText, "");
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "No program name has been entered.  Please correct.");
}

TEST_F(PickersTest, InstalledProgramsComeFromStartMenuShortcutsToExistingPrograms) {
  StartMenus();
  Program("C:\\Windows\\NOTEPAD.EXE");
  Program("C:\\Tools\\Calc.exe");
  Program("C:\\Windows\\WINHELP.EXE");
  mem.shellLinks.Write("C:\\Users\\Me\\Start\\Notepad.lnk", "C:\\Windows\\NOTEPAD.EXE");
  mem.shellLinks.Write("C:\\All\\Start\\notepad.LNK", "C:\\Windows\\notepad.exe");    // alike: one entry
  mem.shellLinks.Write("C:\\All\\Start\\Editor.lnk", "C:\\Windows\\NOTEPAD.EXE");     // another name: its own
  mem.shellLinks.Write("C:\\All\\Start\\Sub\\Deep\\Calc.lnk", "C:\\Tools\\Calc.exe");  // sub-folders too
  mem.shellLinks.Write("C:\\All\\Start\\Gone.lnk", "C:\\Old\\GONE.EXE");
  mem.shellLinks.Write("C:\\All\\Start\\Help.lnk", "C:\\Windows\\WINHELP.EXE");
  mem.shellLinks.Write("C:\\All\\Start\\Readme.lnk", "C:\\Windows\\README.TXT");
  std::ofstream(mem.NativePath("C:\\All\\Start\\notes.txt")) << "C:\\Windows\\NOTEPAD.EXE";

  LoadInstalledPrograms(installed, sources.scan);
  EXPECT_TRUE(installed.built);
  EXPECT_EQ(installed.entries,
            (std::vector<std::string>{"Notepad.lnkNOTEPAD.EXE", "Editor.lnkNOTEPAD.EXE", "Calc.lnkCalc.exe"}));

  // Picked from the list: the bare file name arrives in the title field.
  TDoSpecWind picker(sources, runner, services);
  picker.WindowMode = 0;
  runner.Then([](forms::Form& f) { Click(f, "ListProgs"); });
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "List of Installed Programs");
    Click(f, "OkButton");  // nothing selected yet
    // Sorted by shortcut, each row in two columns: the shortcut's name and the program file.
    auto& box = Get<forms::DrawListBox>(f, "ProgBox");
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(forms::ItemText(box, 0), "Calc Calc.exe");
    EXPECT_EQ(forms::ItemText(box, 2), "Notepad NOTEPAD.EXE");
    forms::user::Select(box, 0);
    Click(f, "OkButton");
  });
  runner.ShowModal(picker);
  EXPECT_EQ(mem.boxes.shown.back().text, "No program selected.  Please select one.");
  EXPECT_EQ(Get<forms::Edit>(picker, "TheTitle").text(), "Calc.exe");
}

TEST_F(PickersTest, TheListIsBuiltOnceAndAnEmptyScanStaysEmpty) {
  LoadInstalledPrograms(installed, sources.scan);  // no Start-menu folders at all
  EXPECT_TRUE(installed.built);
  EXPECT_TRUE(installed.entries.empty());
  StartMenus();
  Program("C:\\Windows\\NOTEPAD.EXE");
  mem.shellLinks.Write("C:\\Users\\Me\\Start\\Notepad.lnk", "C:\\Windows\\NOTEPAD.EXE");
  TDoAllProgs all(installed, sources.scan, services);
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(Get<forms::DrawListBox>(f, "ProgBox").count(), 0);
    Click(f, "CancelButton");
  });
  runner.ShowModal(all);
  EXPECT_EQ(all.Chosen, 0);
}

TEST_F(PickersTest, ThePlainListPicksAnEntryAndItsInstalledListClosesItInEveryCase) {
  mem.processes.Add(1, "calc.exe");
  TDoSpecWind2 programs(sources, runner, services);
  programs.ListKind = 2;
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Set Program");
    Click(f, "OkButton");
    forms::user::Select(Get<forms::ListBox>(f, "ProgList"), 0);
    Click(f, "OkButton");
  });
  runner.ShowModal(programs);
  EXPECT_EQ(mem.boxes.shown.back().text, "No selection made.  Please correct or hit the cancel button.");
  EXPECT_EQ(programs.ChosenText, "calc.exe");

  sources.macros = {{"Zeta", 1}, {"System", 5}, {"Alpha", 2}};
  TDoSpecWind2 nicknames(sources, runner, services);
  nicknames.ListKind = 3;
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Get Nickname");
    EXPECT_EQ(Get<forms::ListBox>(f, "ProgList").items(), (std::vector<std::string>{"Alpha", "Zeta"}));
    EXPECT_FALSE(Get<forms::Button>(f, "ListProgs").visible());
    Click(f, "CancelButton");
  });
  runner.ShowModal(nicknames);
  EXPECT_EQ(nicknames.ChosenText, "");

  // Cancelling the installed-program list closes the picker too, with nothing chosen.
  TDoSpecWind2 cancelled(sources, runner, services);
  cancelled.ListKind = 2;
  runner.Then([](forms::Form& f) { Click(f, "ListProgs"); });
  runner.Then([](forms::Form& f) { Click(f, "CancelButton"); });
  runner.ShowModal(cancelled);
  EXPECT_FALSE(cancelled.Showing());
  EXPECT_EQ(cancelled.ChosenText, "");
}

}  // namespace
}  // namespace wdx::editor
