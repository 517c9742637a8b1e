// The owner-drawn grid, the canvas it draws on, menu shortcuts, the common dialogs of the
// scripted runner, the window state and the form's own messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "platform/memory/memory_platform.h"

namespace wdx::forms {
namespace {

using platform::MemoryPlatform;

class GridForm : public Form {
 public:
  GridForm() : Form("GridForm", "Grid") {
    Grid.SetColCount(3);
    Grid.SetFixedCols(1);
    Grid.SetRowCount(4);
    Grid.onDrawCell = [this](int col, int row, const platform::Rect& r, CellState state, Canvas& canvas) {
      canvas.FillRect(r);
      std::string text = row == 0 ? "Title" + std::to_string(col) : names[static_cast<std::size_t>(row - 1)];
      if (col == 0 && row > 0) text = std::to_string(row);
      if (state.selected && col == 2) text += "*";
      canvas.WriteText(r.left + 2, r.top, FitText(canvas, text, r.right - r.left - 2), r);
    };
  }
  DrawGrid Grid{this, "Grid"};
  Edit Field{this, "Field"};
  std::vector<std::string> names{"alpha", "beta", "gamma"};
};

class FormsGridTest : public ::testing::Test {
 protected:
  MemoryPlatform mem;
  ScriptedRunner runner{mem.desktop, mem.desktop};
};

TEST_F(FormsGridTest, CellsShowWhatTheirHandlerDrawsWithTheBrushOfTheirState) {
  GridForm f;
  EXPECT_EQ(CellText(f.Grid, 1, 0), "Title1");
  EXPECT_EQ(CellText(f.Grid, 0, 2), "2");
  EXPECT_EQ(CellText(f.Grid, 2, 1), "alpha*");  // row 1 is chosen at first
  EXPECT_EQ(CellText(f.Grid, 2, 3), "gamma");
  struct Case {
    int col, row;
    Color brush;
  };
  for (const Case& c : {Case{1, 0, kColorButtonFace}, Case{0, 2, kColorButtonFace}, Case{1, 1, kColorHighlight},
                        Case{1, 2, kColorWindow}}) {
    RecordingCanvas canvas;
    f.Grid.DrawCell(c.col, c.row, {0, 0, 50, 20}, canvas);
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].color, c.brush) << c.col << "," << c.row;
  }
}

TEST_F(FormsGridTest, TextIsCutFromItsEndUntilItFits) {
  RecordingCanvas canvas;
  canvas.font.height = 13;
  const int w = canvas.TextWidth("Nickname");
  EXPECT_EQ(FitText(canvas, "Nickname", w), "Nickname");
  EXPECT_EQ(FitText(canvas, "Nickname", w - 1), "Nicknam");
  EXPECT_EQ(FitText(canvas, "Nickname", 0), "");
}

TEST_F(FormsGridTest, TheUserPicksRowsSizesColumnsAndClicksTitles) {
  GridForm f;
  std::vector<std::string> events;
  f.Grid.onClick = [&] { events.push_back("click " + std::to_string(f.Grid.row())); };
  f.Grid.onColumnSized = [&](int col, int w) { events.push_back("sized " + std::to_string(col) + "=" + std::to_string(w)); };
  f.Grid.onCellClick = [&](MouseButton b, int col, int row) {
    events.push_back(std::string(b == MouseButton::kRight ? "right " : "left ") + std::to_string(col) + "," +
                     std::to_string(row));
  };
  runner.Show(f);
  EXPECT_TRUE(user::Select(f.Grid, 3));
  EXPECT_FALSE(user::Select(f.Grid, 0));  // the title row is no row to choose
  EXPECT_FALSE(user::Select(f.Grid, 4));
  EXPECT_TRUE(user::SizeColumn(f.Grid, 2, 90));
  EXPECT_FALSE(user::SizeColumn(f.Grid, 2, 1));  // a column dragged shut counts for nothing
  EXPECT_EQ(f.Grid.colWidth(2), 90);
  EXPECT_TRUE(user::ClickCell(f.Grid, MouseButton::kRight, 1, 0));
  EXPECT_TRUE(user::ClickCell(f.Grid, MouseButton::kLeft, 1, 2));
  EXPECT_EQ(events, (std::vector<std::string>{"click 3", "sized 2=90", "right 1,0", "click 2", "left 1,2"}));
  EXPECT_EQ(f.activeControl(), &f.Grid);
}

TEST_F(FormsGridTest, RowsStayInsideTheDataRowsWhenTheCountShrinks) {
  GridForm f;
  f.Grid.SetRow(3);
  f.Grid.SetRowCount(2);
  EXPECT_EQ(f.Grid.row(), 1);
  f.Grid.SetRowCount(0);  // one data row always remains
  EXPECT_EQ(f.Grid.rowCount(), 2);
}

TEST_F(FormsGridTest, KeysGoToTheGridsHandlersAndFocusMovesRunEnterAndExit) {
  GridForm f;
  std::string typed;
  std::vector<std::string> focus;
  f.Grid.onKeyPress = [&](char& k) {
    typed += k;
    if (k == 'x') k = 0;
  };
  f.Grid.onEnter = [&] { focus.push_back("enter grid"); };
  f.Grid.onExit = [&] { focus.push_back("exit grid"); };
  runner.Show(f);
  EXPECT_EQ(user::KeyPress(f.Grid, 'a'), 'a');
  EXPECT_EQ(user::KeyPress(f.Grid, 'x'), '\0');
  EXPECT_EQ(typed, "ax");
  user::Focus(f.Field);
  user::Focus(f.Grid);
  user::Focus(f.Field);
  EXPECT_EQ(focus, (std::vector<std::string>{"exit grid", "enter grid", "exit grid"}));
}

TEST_F(FormsGridTest, MenuShortcutsChooseTheirItemWhenItCanBeChosen) {
  Form f("Menus", "Menus");
  MenuItem bar;
  int removed = 0;
  MenuItem& macros = bar.Add("Macros", "&Macros");
  MenuItem& remove = macros.Add("Remove", "&Remove Macro", [&] { ++removed; });
  remove.shortcut = Shortcut{0x2E};
  f.SetMainMenu(&bar);
  runner.Show(f);
  EXPECT_EQ(ShortcutText(remove.shortcut), "Del");
  EXPECT_EQ(ShortcutText(Shortcut{'S', true}), "Ctrl+S");
  EXPECT_TRUE(user::PressShortcut(f, Shortcut{0x2E}));
  EXPECT_FALSE(user::PressShortcut(f, Shortcut{0x2E, true}));  // Ctrl+Del is another key
  bar.Find("Remove")->enabled = false;
  EXPECT_FALSE(user::PressShortcut(f, Shortcut{0x2E}));
  bar.Find("Remove")->enabled = true;
  bar.Find("Macros")->enabled = false;  // inside a disabled menu
  EXPECT_FALSE(user::PressShortcut(f, Shortcut{0x2E}));
  EXPECT_EQ(removed, 1);
}

TEST_F(FormsGridTest, CommonDialogsTakeTheQueuedAnswersAndCancelWithoutOne) {
  Form f("Owner", "Owner");
  runner.Show(f);
  runner.AnswerFile("C:\\LIB\\MINE.WDX");
  FileDialog open;
  open.title = "Open Wendrix File";
  open.filter = "Wendrix (*.WDX)|*.WDX";
  EXPECT_EQ(runner.OpenFileDialog(open, f.Handle()), std::optional<std::string>("C:\\LIB\\MINE.WDX"));
  EXPECT_EQ(runner.SaveFileDialog(open, f.Handle()), std::nullopt);
  Font big;
  big.height = 20;
  runner.AnswerFont(big);
  EXPECT_EQ(runner.FontDialog(Font{}, f.Handle()), std::optional<Font>(big));
  ASSERT_EQ(runner.dialogs.size(), 3u);
  EXPECT_EQ(runner.dialogs[0].kind, "open");
  EXPECT_EQ(runner.dialogs[0].title, "Open Wendrix File");
  EXPECT_EQ(runner.dialogs[0].filter, "Wendrix (*.WDX)|*.WDX");
  EXPECT_EQ(runner.dialogs[1].kind, "save");
  EXPECT_EQ(runner.dialogs[2].owner, f.Handle());
}

TEST_F(FormsGridTest, WindowStateAndTheFormsOwnMessagesReachTheDesktopAndBack) {
  Form f("Main", "Main");
  std::vector<std::uint64_t> got;
  f.onMessage = [&](std::uint32_t m, std::uint64_t w, std::int64_t) {
    if (m != platform::msg::kUser + 11) return false;
    got.push_back(w);
    return true;
  };
  runner.Show(f);
  f.SetWindowState(WindowState::kMinimized);
  EXPECT_TRUE(mem.desktop.IsMinimized(f.Handle()));
  f.SetWindowState(WindowState::kNormal);
  EXPECT_FALSE(mem.desktop.IsMinimized(f.Handle()));
  mem.desktop.PostMessage(f.Handle(), platform::msg::kUser + 11, 20, 3);
  mem.desktop.PumpPending();
  EXPECT_EQ(got, (std::vector<std::uint64_t>{20}));
}

}  // namespace
}  // namespace wdx::forms
