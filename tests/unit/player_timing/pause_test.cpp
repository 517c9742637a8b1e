// The pause window: where it opens, how it looks, Resume, Abort, and the hot-key resume.
#include <gtest/gtest.h>

#include <string>

#include "clock_host.h"
#include "forms/user.h"
#include "player/interpreter/interpreter.h"
#include "player/prompts/pause_window.h"
#include "shared/hot_keys.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

class PauseTest : public ::testing::Test {
 protected:
  PauseTest() { mem.input.SetScreenSize({800, 600}); }

  void Play(const std::string& text, bool restoreCaps = false) {
    interpreter.DoMacro(text, 1, 1, 1, restoreCaps, false, 0);
  }
  // The user's answer to the next pause window; `seen` gets the window as the user saw it.
  void Answer(const char* button, TPauseMacro** seen = nullptr) {
    host.runner.Then([button, seen](forms::Form& form) {
      auto& pause = dynamic_cast<TPauseMacro&>(form);
      if (seen) *seen = &pause;
      forms::user::Click(*form.Find(button));
    });
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

TEST_F(PauseTest, ResumeGoesOnAndAbortEndsTheLevel) {
  Answer("ResumeButton");
  Play("a<PAUSE>b");
  EXPECT_EQ(TypedText(mem.input.keys), "ab");

  mem.input.keys.clear();
  Answer("AbortButton");
  Play("a<PAUSE>b");
  EXPECT_EQ(TypedText(mem.input.keys), "a");
  // No message and no abort of the run.
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(host.state.abortMacro);

  // Closing the window by its close box counts as Abort (no script: the runner closes it).
  mem.input.keys.clear();
  Play("a<PAUSE:100,100Note>b");
  EXPECT_EQ(TypedText(mem.input.keys), "a");
  ASSERT_EQ(host.runner.shown.size(), 3u);
  EXPECT_FALSE(host.runner.shown[2].scripted);
}

TEST_F(PauseTest, AbortEndsOnlyTheLevelOfThePause) {
  // The pause stands in a variable's value: its level ends, the macro around it goes on and
  // ends normally.
  host.state.vars.text[1] = "x<PAUSE>y";
  Answer("AbortButton");
  Play("a%T1%b");
  EXPECT_EQ(TypedText(mem.input.keys), "axb");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PauseTest, AbortGivesCapsLockBackAndSkipsTheEndOfRunRestoration) {
  host.state.capsWasOn = true;
  mem.input.SetToggled(vk::kCapital, false);
  Answer("AbortButton");
  Play("<PAUSE>x", true);
  // Caps Lock pressed once by the abort, not again by the end of the run.
  int capsPresses = 0;
  for (const auto& k : mem.input.keys) {
    if (k.vk == vk::kCapital && !(k.flags & platform::keyflag::kKeyUp)) ++capsPresses;
  }
  EXPECT_EQ(capsPresses, 1);
  EXPECT_TRUE(mem.input.GetKeyState(vk::kCapital) & 1);
}

TEST_F(PauseTest, PlaceAndSizeOnTheScreen) {
  struct Case {
    std::string text;
    int top, left, height;
    bool messageVisible;
  };
  const Case cases[] = {
      // Centred: (600 - 94) div 2, (800 - 224) div 2.
      {"<PAUSE>", 253, 288, 94, false},
      {"<PAUSE:050,060>", 50, 60, 94, false},
      // Kept on the screen: 600 - (19 + 94), 800 - 224.
      {"<PAUSE:900,900Done>", 487, 576, 113, true},
      {"<PAUSE:900,900" + std::string(29, 'm') + ">", 487, 576, 113, true},
      {"<PAUSE:900,900" + std::string(30, 'm') + ">", 468, 576, 132, true},
      {"<PAUSE:010,010" + std::string(60, 'm') + ">", 10, 10, 151, true},
      // The message is a short string: 255 characters at most, 255 div 30 x 19 + 19 pixels.
      {"<PAUSE:999,999" + std::string(300, 'm') + ">", 600 - (171 + 94), 576, 171 + 94, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    int top = -1, left = -1, height = -1, buttons = -1;
    bool visible = false;
    host.runner.Then([&](forms::Form& form) {
      auto& pause = dynamic_cast<TPauseMacro&>(form);
      top = form.top();
      left = form.left();
      height = form.height();
      visible = pause.MessageLabel.visible();
      buttons = pause.ResumeButton.top();
      EXPECT_EQ(pause.AbortButton.top(), buttons);
      EXPECT_EQ(form.width(), 224);
      forms::user::Click(pause.ResumeButton);
    });
    mem.input.keys.clear();
    Play(c.text + "z");
    EXPECT_EQ(top, c.top);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(buttons, c.height - 52);
    EXPECT_EQ(visible, c.messageVisible);
    EXPECT_EQ(TypedText(mem.input.keys), "z");
  }
}

TEST_F(PauseTest, CaptionLabelsAndTheWayItOpens) {
  host.state.currentMacroName = "Daily report";
  host.state.currentActivation = 0;  // the first hot key index
  host.state.vars.text[3] = "the printer";
  host.expand = [&](std::string& text, std::size_t) { text = "Check " + host.state.vars.text[3]; };
  TPauseMacro* seen = nullptr;
  std::string caption, title, message;
  bool showing = false, onTop = false;
  platform::WindowHandle found = platform::kNoWindow;
  host.runner.Then([&](forms::Form& form) {
    auto& pause = dynamic_cast<TPauseMacro&>(form);
    seen = &pause;
    caption = form.caption();
    title = pause.MacroTitleLabel.caption();
    message = pause.MessageLabel.caption();
    showing = host.state.pauseShowing;
    onTop = form.stayOnTop() && form.toolWindow();
    found = mem.desktop.FindWindow("", caption);
    forms::user::Click(pause.ResumeButton);
  });
  Play("<PAUSE:100,100Check %T3%>");
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(caption, "Pause (" + std::string(HotKeyName(0)) + ")");
  EXPECT_EQ(title, "Daily report");
  EXPECT_EQ(message, "Check the printer");
  EXPECT_EQ(host.expanded, (std::vector<std::string>{"Check %T3%"}));
  EXPECT_TRUE(showing);
  EXPECT_TRUE(onTop);
  // A window of the desktop, found by its caption, forced to the foreground.
  EXPECT_NE(found, platform::kNoWindow);
  EXPECT_EQ(host.foreground, (std::vector<platform::WindowHandle>{found}));
  EXPECT_EQ(host.application, (std::vector<bool>{true, false}));
  EXPECT_FALSE(host.state.pauseShowing);
  EXPECT_FALSE(host.prompts.ResumePause());
  // The 0.3-second pause before every prompt.
  EXPECT_EQ(host.pauses, (std::vector<double>{0.3}));

  // Started otherwise than by a hot key: the plain caption; no "%T": no expansion.
  host.state.currentActivation = 20000;
  host.expanded.clear();
  host.runner.Then([&](forms::Form& form) {
    caption = form.caption();
    forms::user::Click(*form.Find("ResumeButton"));
  });
  Play("<PAUSE:100,100Plain text>");
  EXPECT_EQ(caption, "Pause");
  EXPECT_TRUE(host.expanded.empty());
}

TEST_F(PauseTest, TheFocusGoesToTheTargetWindowWhileThePauseStaysUp) {
  const platform::WindowHandle target = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 42);
  host.state.targetWindow = target;
  Answer("ResumeButton");
  Play("<PAUSE>");
  ASSERT_FALSE(mem.desktop.bringToFrontCalls.empty());
  EXPECT_EQ(mem.desktop.bringToFrontCalls.back(), target);
}

TEST_F(PauseTest, AHotKeyResumesThePause) {
  EXPECT_FALSE(host.prompts.ResumePause());
  bool resumed = false;
  host.runner.Then([&](forms::Form&) { resumed = host.prompts.ResumePause(); });
  Play("a<PAUSE>b");
  EXPECT_TRUE(resumed);
  EXPECT_EQ(TypedText(mem.input.keys), "ab");
  EXPECT_TRUE(host.runner.shown[0].scripted);
  EXPECT_FALSE(host.runner.shown[0].leftOpen);
}

TEST_F(PauseTest, WithoutFormsThePauseFailsClearly) {
  host.withForms = false;
  Play("a<PAUSE>b");
  EXPECT_EQ(TypedText(mem.input.keys), "a");
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].caption, "Pause Error");
  EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
}

}  // namespace
}  // namespace wdx::player
