// Text boxes: what a box shows and where, its three types, closing by header, the ids of the
// on-top list, and the player's side (the message a closed box posts, the end of a run).
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"
#include "forms/user.h"
#include "hook/in_process_hook.h"
#include "player/core/run_frame.h"
#include "player/prompts/text_boxes.h"
#include "shared/protocol_messages.h"

namespace wdx::player {
namespace {

using testing::FilesTest;

// "<TBOX2:" with every field; header and body ended by 0x01.
std::string Box(const std::string& type, const std::string& header, const std::string& body,
                const std::string& place = "N:00050:00060:300:150", const std::string& seconds = "000") {
  return "<TBOX2:" + place + ":" + type + ":" + seconds + ":" + header + "\x01" + body + "\x01>";
}

class TextBoxesTest : public FilesTest {
 protected:
  OnTopBoxes& boxes = host.prompts.TextBoxes();
  std::vector<std::string> OpenCaptions() {
    std::vector<std::string> out;
    for (const TDoMyMess3* b : boxes.OpenBoxes()) out.push_back(b->caption());
    return out;
  }
  // The boxes the scripted user sees up.
  std::size_t Showing() const { return host.runner.OpenForms().size(); }
};

TEST_F(TextBoxesTest, AFloatingBoxShowsItsTextsAndClosesByItsHeader) {
  T(3) = "three";
  const platform::WindowHandle editor = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 42);
  mem.desktop.BringToFront(editor);
  EXPECT_EQ(Play(Box("03", "Status %T3%", "Line one\nvalue %T3%") + "go"), "go");
  ASSERT_EQ(OpenCaptions(), std::vector<std::string>{"Status three"});
  const TDoMyMess3& box = *boxes.OpenBoxes()[0];
  EXPECT_EQ(box.TheMessage.text(), "Line one\r\nvalue three");
  EXPECT_TRUE(box.TheMessage.readOnly());
  EXPECT_FALSE(box.OkButton.visible());
  EXPECT_TRUE(box.stayOnTop());
  EXPECT_EQ(box.left(), 60);
  EXPECT_EQ(box.top(), 50);
  EXPECT_EQ(box.width(), 300);
  EXPECT_EQ(box.height(), 150);
  // Shown without waiting and without taking the front from the window the macro types in.
  ASSERT_FALSE(host.runner.shown.empty());
  EXPECT_FALSE(host.runner.shown.back().modal);
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), editor);
  EXPECT_EQ(Showing(), 1u);
  // A header that matches no box does nothing; the box's own header closes it.
  Play("<TBCLOSE:status three\x01><TBCLOSE:Other\x01>");
  EXPECT_EQ(OpenCaptions().size(), 1u);
  T(3) = "three";
  Play("<TBCLOSE:Status %T3%\x01>");
  EXPECT_TRUE(OpenCaptions().empty());
  EXPECT_EQ(Showing(), 0u);
  EXPECT_TRUE(Captions().empty());
}

TEST_F(TextBoxesTest, TwoBoxesWithOneHeaderCloseInTheOrderTheyOpened) {
  Play(Box("03", "Same", "first") + Box("03", "Same", "second"));
  ASSERT_EQ(boxes.OpenBoxes().size(), 2u);
  Play("<TBCLOSE:Same\x01>");
  ASSERT_EQ(boxes.OpenBoxes().size(), 1u);
  EXPECT_EQ(boxes.OpenBoxes()[0]->TheMessage.text(), "second");
  Play("<TBCLOSE:Same\x01>");
  EXPECT_TRUE(boxes.OpenBoxes().empty());
}

TEST_F(TextBoxesTest, TypeOneWaitsForOkWithTheButtonCentredUnderTheText) {
  int left = -1, top = -1, memoHeight = -1, clientWidth = 0, clientHeight = 0;
  bool okShown = false;
  Then<TDoMyMess3>([&](TDoMyMess3& box) {
    okShown = box.OkButton.visible() && box.OkButton.enabled();
    left = box.OkButton.left();
    top = box.OkButton.top();
    memoHeight = box.TheMessage.height();
    clientWidth = box.clientWidth();
    clientHeight = box.clientHeight();
    forms::user::Click(box.OkButton);
  });
  EXPECT_EQ(Play("a" + Box("01", "Read me", "Please read") + "b"), "ab");
  EXPECT_TRUE(okShown);
  EXPECT_EQ(left, (clientWidth - 41) / 2);
  EXPECT_EQ(top, clientHeight - 25);
  EXPECT_EQ(memoHeight, clientHeight - 33);
  ASSERT_FALSE(host.runner.shown.empty());
  EXPECT_TRUE(host.runner.shown.back().modal);
  EXPECT_EQ(host.runner.shown.back().caption, "Read me");
  EXPECT_TRUE(boxes.OpenBoxes().empty());
  EXPECT_EQ(Showing(), 0u);
}

TEST_F(TextBoxesTest, ATimedBoxClosesAfterItsSecondsAndZeroSecondsNever) {
  Play(Box("02", "Timed", "soon", "N:00000:00000:200:100", "002") + Box("02", "Stays", "never", "N:00000:00000:200:100", "000"));
  EXPECT_EQ(OpenCaptions(), (std::vector<std::string>{"Timed", "Stays"}));
  // Time passes while the macro types on: half a second each character.
  host.pumpMs = 500;
  Play("x");
  EXPECT_EQ(OpenCaptions().size(), 2u);
  Play("xxxx");
  EXPECT_EQ(OpenCaptions(), std::vector<std::string>{"Stays"});
  EXPECT_EQ(Showing(), 1u);
}

TEST_F(TextBoxesTest, TooSmallBoxesGrowAndCentredBoxesSitInTheMiddle) {
  Play(Box("03", "Small", "x", "N:00010:00020:030:010"));
  const TDoMyMess3& small = *boxes.OpenBoxes().back();
  EXPECT_EQ(small.width(), 100);
  EXPECT_EQ(small.height(), 100);
  Play(Box("03", "Centred", "x", "Y:00010:00020:200:100"));
  const TDoMyMess3& centred = *boxes.OpenBoxes().back();
  EXPECT_EQ(centred.left(), (800 - 200) / 2);
  EXPECT_EQ(centred.top(), (600 - 100) / 2);
  // Fields that are no numbers read as the conversion gives them: no failure.
  Play("<TBOX2:N:xxxxx:00000:abc:100:zz:000:Odd\x01text\x01>");
  EXPECT_FALSE(st.abortMacro);
  EXPECT_EQ(boxes.OpenBoxes().back()->width(), 100);
  boxes.CloseAll();
  EXPECT_TRUE(boxes.OpenBoxes().empty());
  EXPECT_EQ(Showing(), 0u);
}

TEST_F(TextBoxesTest, TheOlderBoxIsTheLongTextWindow) {
  T(1) = "42";
  EXPECT_EQ(Play("<TBOX:<HEAD:Result>Total %T1%>go"), "go");
  ASSERT_EQ(host.longTexts.size(), 1u);
  EXPECT_EQ(host.longTexts[0], (testing::Box{"Result", "Total 42"}));
}

TEST_F(TextBoxesTest, WithoutFormsTheBoxFailsTheRunClearly) {
  host.withForms = false;
  EXPECT_EQ(Play(Box("03", "H", "b") + "x"), "");
  EXPECT_TRUE(st.abortMacro);
  EXPECT_EQ(host.boxes.at(0).caption, "Text Box");
}

TEST_F(TextBoxesTest, IdsAreNeverHandedOutTwice) {
  TextBoxText text;
  text.header = "A";
  const std::uint32_t first = boxes.Add(text, 800, 600).id();
  EXPECT_EQ(first, 2u);
  boxes.CloseAll();
  text.header = "B";
  const std::uint32_t second = boxes.Add(text, 800, 600).id();
  EXPECT_GT(second, first);
  // A late close message of the box of the earlier run closes nothing.
  boxes.Closed(first);
  EXPECT_EQ(boxes.OpenBoxes().size(), 1u);
  boxes.Closed(second);
  EXPECT_TRUE(boxes.OpenBoxes().empty());
}

// The player's side: a box the user closes posts its id to the main window, which frees it;
// the end of a run closes every box.
class TextBoxPlayerTest : public ::testing::Test {
 protected:
  TextBoxPlayerTest()
      : p(mem.Get()),
        hook(mem.desktop, &mem.kernel),
        activation(p, true),
        editor(mem.desktop, &mem.shell, activation, "C:\\WENDRIX"),
        frame(p, hook, block, settings, editor, activation),
        runner(mem.desktop, mem.desktop) {
    mem.input.SetScreenSize({800, 600});
    mainWindow = mem.desktop.CreateOwnWindow("TMainWin", "Wendrix Player", [this](const platform::Message& m) {
      if (m.message == UM_TEXTBOXCLOSED) closedIds.push_back(static_cast<std::uint32_t>(m.lparam));
      frame.HandleRunFrameMessage(m);
      return 0;
    });
    frame.SetMainWindow(mainWindow);
    frame.SetFormRunner(&runner);
    block.SetPlayerWindow(mainWindow);
    hook.WdxUpInit(block);
  }
  void Run(const std::string& text) {
    RunRequest r;
    r.text = text;
    r.name = "Boxes";
    frame.StartRun(r);
  }
  platform::MemoryPlatform mem;
  platform::Platform p;
  hook::InProcessHookLibrary hook;
  TGlobData block;
  TSettingsRec settings;
  WindowActivation activation;
  EditorLink editor;
  RunFrame frame;
  forms::ScriptedRunner runner;
  platform::WindowHandle mainWindow = platform::kNoWindow;
  std::vector<std::uint32_t> closedIds;
};

TEST_F(TextBoxPlayerTest, AClosedBoxIsFreedByItsMessageAndTheRunsEndClosesTheRest) {
  Run(Box("03", "One", "1") + Box("02", "Two", "2", "Y:00000:00000:200:100", "009"));
  EXPECT_TRUE(frame.PromptWindows().TextBoxes().OpenBoxes().empty());
  EXPECT_TRUE(runner.OpenForms().empty());
  // The user closes a box with its close box while the run waits.
  bool closed = false;
  mem.clock.SetAdvanceHook([&](platform::MemoryClock&) {
    if (closed) return;
    if (forms::Form* f = runner.FindOpen("Mine")) {
      closed = true;
      f->Close();
    }
  });
  Run(Box("03", "Mine", "1") + "<DELAY:00.50>" + Box("03", "Later", "2"));
  ASSERT_TRUE(closed);
  ASSERT_EQ(closedIds.size(), 1u);
  // Its id was the first of the run's boxes after the two of the first run: never reused.
  EXPECT_EQ(closedIds[0], 4u);
  EXPECT_TRUE(runner.OpenForms().empty());
}

}  // namespace
}  // namespace wdx::player
