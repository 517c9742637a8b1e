// Forms shown by the scripted runner: the show sequence, handlers, validation that keeps a
// dialog open, Enter and Esc, closing rules, timers on the in-memory desktop, forms shown
// without waiting.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "platform/memory/memory_platform.h"

namespace wdx::forms {
namespace {

using platform::MemoryPlatform;

// A dialog in the system's one style: a model with its check and result, and a form over it
// that shows the message, one field and Ok.
struct NumberModel {
  std::string typed;
  std::string result;  // the number once Ok took it

  std::optional<Fault> Check() const {
    bool digits = !typed.empty();
    for (char c : typed) digits = digits && c >= '0' && c <= '9';
    if (!digits) return Fault{"Value", "Invalid integer value entered.  Please correct."};
    return std::nullopt;
  }
};

class NumberDialog : public Form {
 public:
  NumberDialog(NumberModel& model, platform::MessageBoxes& boxes)
      : Form("NumberDialog", "Input Integer"), model_(model), boxes_(boxes) {
    SetClientSize(204, 94);
    SetStayOnTop(true);
    Value.SetMaxLength(6);
    OkButton.SetDefault(true);
    CancelButton.SetCancel(true);
    CancelButton.SetModalResult(ModalResult::kCancel);
    onShow = [this] { FormShow(); };
    OkButton.onClick = [this] { OkButtonClick(); };
  }

  Label TheMessage{this, "TheMessage", "Enter a number"};
  Edit Value{this, "Value"};
  Edit Note{this, "Note"};
  Button OkButton{this, "OkButton", "&Ok"};
  Button CancelButton{this, "CancelButton", "&Cancel"};

  std::vector<std::string> events;

 private:
  void FormShow() {
    events.push_back("show");
    SetLeft((800 - width()) / 2);
    SetTop((600 - height()) / 2);
    Value.SetText(model_.typed);
    Value.SetFocus();
  }

  void OkButtonClick() {
    model_.typed = Value.text();
    if (Accept(*this, model_.Check(), boxes_)) model_.result = model_.typed;
  }

  NumberModel& model_;
  platform::MessageBoxes& boxes_;
};

class FormsRunnerTest : public ::testing::Test {
 protected:
  MemoryPlatform mem;
  ScriptedRunner runner{mem.desktop, mem.desktop};
};

TEST_F(FormsRunnerTest, AFailedCheckKeepsTheDialogOpenWithTheFocusOnTheField) {
  NumberModel model;
  NumberDialog dlg(model, mem.boxes);
  runner.Then([&](Form&) {
    EXPECT_EQ(dlg.activeControl(), &dlg.Value);
    EXPECT_TRUE(user::EnterText(dlg.Value, "12a"));
    EXPECT_TRUE(user::Click(dlg.OkButton));
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
    EXPECT_EQ(mem.boxes.shown[0].text, "Invalid integer value entered.  Please correct.");
    EXPECT_EQ(mem.boxes.shown[0].owner, dlg.Handle());
    EXPECT_TRUE(dlg.AcceptsInput());
    EXPECT_EQ(dlg.activeControl(), &dlg.Value);
    EXPECT_TRUE(user::EnterText(dlg.Value, "1234567"));  // typing stops at the maximum length
    EXPECT_TRUE(user::Click(dlg.OkButton));
    EXPECT_FALSE(dlg.AcceptsInput());
    EXPECT_FALSE(user::Click(dlg.OkButton));  // closed: nothing reaches it any more
  });
  EXPECT_EQ(runner.ShowModal(dlg), ModalResult::kOk);
  EXPECT_EQ(model.result, "123456");
  ASSERT_EQ(runner.shown.size(), 1u);
  const auto& shown = runner.shown[0];
  EXPECT_EQ(shown.caption, "Input Integer");
  EXPECT_EQ(shown.focusAtShow, "Value");
  EXPECT_EQ(shown.focusAtClose, "OkButton");
  EXPECT_TRUE(shown.scripted);
  EXPECT_FALSE(shown.leftOpen);
  EXPECT_FALSE(dlg.Showing());
  EXPECT_EQ(dlg.Handle(), platform::kNoWindow);
}

TEST_F(FormsRunnerTest, AcceptClosesAFormShownWithoutWaitingAndLeavesTheFocusForAFaultWithoutField) {
  Form form("Box", "Box");
  Edit field{&form, "Field"};
  Button ok{&form, "OkButton", "&Ok"};
  runner.Show(form);
  form.SetFocus(&ok);
  EXPECT_FALSE(Accept(form, Fault{"", "Nothing to point at.", "Warning"}, mem.boxes));
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].caption, "Warning");
  EXPECT_EQ(form.activeControl(), &ok);
  EXPECT_TRUE(form.Showing());
  EXPECT_TRUE(Accept(form, std::nullopt, mem.boxes));
  EXPECT_FALSE(form.Showing());
}

TEST_F(FormsRunnerTest, TheFormIsAWindowOfTheDesktopWhileItShows) {
  NumberModel model;
  NumberDialog dlg(model, mem.boxes);
  platform::WindowHandle seen = platform::kNoWindow;
  runner.Then([&](Form& f) {
    seen = mem.desktop.FindWindow("", "Input Integer");
    EXPECT_EQ(seen, f.Handle());
    EXPECT_EQ(mem.desktop.GetForegroundWindow(), seen);
    EXPECT_TRUE(mem.desktop.IsVisible(seen));
    // FormShow centred it on an 800 x 600 screen.
    EXPECT_EQ(mem.desktop.GetWindowRect(seen), (platform::Rect{295, 240, 505, 359}));
    f.SetCaption("Renamed");
    EXPECT_EQ(mem.desktop.GetTitle(seen), "Renamed");
    user::PressEscape(f);
  });
  runner.ShowModal(dlg);
  EXPECT_NE(seen, platform::kNoWindow);
  EXPECT_FALSE(mem.desktop.IsWindow(seen));
}

TEST_F(FormsRunnerTest, EnterAndEscPressTheRightButtons) {
  struct Case {
    const char* name;
    std::function<void(NumberDialog&)> act;
    ModalResult result;
    const char* value;
  };
  const std::vector<Case> cases = {
      {"Enter in a field presses the default button",
       [](NumberDialog& d) {
         user::EnterText(d.Value, "7");
         EXPECT_TRUE(user::PressEnter(d));
       },
       ModalResult::kOk, "7"},
      {"Enter on a focused button presses that button",
       [](NumberDialog& d) {
         user::EnterText(d.Value, "7");
         user::Focus(d.CancelButton);
         EXPECT_TRUE(user::PressEnter(d));
       },
       ModalResult::kCancel, ""},
      {"Esc presses the cancel button",
       [](NumberDialog& d) { EXPECT_TRUE(user::PressEscape(d)); }, ModalResult::kCancel, ""},
      {"a disabled default button is not pressed",
       [](NumberDialog& d) {
         user::EnterText(d.Value, "7");
         d.OkButton.SetEnabled(false);
         EXPECT_FALSE(user::PressEnter(d));
         EXPECT_TRUE(d.AcceptsInput());
         d.OkButton.SetEnabled(true);
         EXPECT_TRUE(user::PressEnter(d));
       },
       ModalResult::kOk, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NumberModel model;
    NumberDialog dlg(model, mem.boxes);
    runner.Then([&](Form&) { c.act(dlg); });
    EXPECT_EQ(runner.ShowModal(dlg), c.result);
    EXPECT_EQ(model.result, c.value);
    EXPECT_FALSE(runner.shown.back().leftOpen);
  }
}

TEST_F(FormsRunnerTest, EscWithoutACancelButtonAndEnterInAMemoDoNothing) {
  Form form("Plain", "Plain");
  Memo memo{&form, "Memo"};
  Button ok{&form, "Ok", "&Ok"};
  ok.SetDefault(true);
  ok.SetModalResult(ModalResult::kOk);
  runner.Then([&](Form& f) {
    EXPECT_EQ(f.activeControl(), &memo);
    EXPECT_FALSE(user::PressEscape(f));
    EXPECT_FALSE(user::PressEnter(f));
    memo.SetWantReturns(false);
    EXPECT_TRUE(user::PressEnter(f));
  });
  EXPECT_EQ(runner.ShowModal(form), ModalResult::kOk);
}

TEST_F(FormsRunnerTest, AButtonsResultClosesTheFormUnlessItsHandlerTakesItBack) {
  Form form("F", "F");
  Button ok{&form, "Ok", "&Ok"};
  ok.SetModalResult(ModalResult::kOk);
  int clicks = 0;
  ok.onClick = [&] {
    if (++clicks == 1) form.SetModalResult(ModalResult::kNone);
  };
  runner.Then([&](Form& f) {
    user::Click(ok);
    EXPECT_TRUE(f.AcceptsInput());
    user::Click(ok);
    EXPECT_FALSE(f.AcceptsInput());
  });
  EXPECT_EQ(runner.ShowModal(form), ModalResult::kOk);
  EXPECT_EQ(clicks, 2);
}

TEST_F(FormsRunnerTest, CloseHandlersCanKeepTheFormOpen) {
  Form form("F", "F");
  Button ok{&form, "Ok", "&Ok"};
  ok.SetModalResult(ModalResult::kOk);
  bool allow = false;
  std::vector<std::string> log;
  form.onCloseQuery = [&](bool& can) {
    log.push_back("query");
    can = allow;
  };
  form.onClose = [&](CloseAction&) { log.push_back("close"); };
  runner.Then([&](Form& f) {
    user::Click(ok);
    EXPECT_TRUE(f.AcceptsInput());
    EXPECT_EQ(f.modalResult(), ModalResult::kNone);
    allow = true;
    user::CloseBox(f);
  });
  EXPECT_EQ(runner.ShowModal(form), ModalResult::kCancel);
  EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close"}));
}

TEST_F(FormsRunnerTest, AScriptThatLeavesTheFormOpenIsRecordedAndTheRunnerStillReturns) {
  Form stubborn("Stubborn", "Stubborn");
  stubborn.onCloseQuery = [](bool& can) { can = false; };
  runner.Then([](Form&) {});
  EXPECT_EQ(runner.ShowModal(stubborn), ModalResult::kCancel);
  EXPECT_TRUE(runner.shown.back().leftOpen);

  // Without a script (and no fallback) the close box answers.
  Form plain("Plain", "Plain");
  EXPECT_EQ(runner.ShowModal(plain), ModalResult::kCancel);
  EXPECT_FALSE(runner.shown.back().scripted);
  EXPECT_FALSE(runner.shown.back().leftOpen);
}

TEST_F(FormsRunnerTest, ShowSequenceRunsInOrderAndCreateOnlyOnce) {
  Form form("F", "F");
  Edit first{&form, "First"};
  std::vector<std::string> log;
  form.onCreate = [&] { log.push_back("create"); };
  form.onResize = [&] { log.push_back("resize"); };
  form.onShow = [&] { log.push_back("show"); };
  form.onActivate = [&] { log.push_back("activate " + (form.activeControl() ? form.activeControl()->name() : "")); };
  form.onClose = [&](CloseAction&) { log.push_back("close"); };
  runner.Then([&](Form& f) {
    log.push_back("user");
    f.SetClientSize(100, 50);  // a size change while showing resizes
    user::CloseBox(f);
  });
  runner.ShowModal(form);
  runner.ShowModal(form);
  EXPECT_EQ(log, (std::vector<std::string>{"create", "resize", "show", "activate First", "user", "resize", "close",
                                           "resize", "show", "activate First", "close"}));
}

TEST_F(FormsRunnerTest, TheFirstFocusSkipsWhatCannotTakeIt) {
  Form form("F", "F");
  Label label{&form, "Label"};
  Edit hidden{&form, "Hidden"};
  Panel off{&form, "Off"};
  Edit inOff{&off, "InOff"};
  RadioButton r1{&form, "R1"}, r2{&form, "R2"};
  Button button{&form, "Button"};
  hidden.SetVisible(false);
  off.SetEnabled(false);
  r2.SetChecked(true);
  runner.Then([&](Form& f) {
    EXPECT_EQ(f.activeControl(), &r2);
    EXPECT_FALSE(f.SetFocus(&hidden));
    EXPECT_FALSE(f.SetFocus(&inOff));
    EXPECT_TRUE(user::Tab(f));
    EXPECT_EQ(f.activeControl(), &button);
    EXPECT_TRUE(user::Tab(f));
    EXPECT_EQ(f.activeControl(), &r2);
    EXPECT_TRUE(user::Tab(f, true));
    EXPECT_EQ(f.activeControl(), &button);
    EXPECT_FALSE(user::Click(inOff));
    EXPECT_FALSE(user::Click(hidden));
    EXPECT_TRUE(user::Click(r1));  // clicking a radio button focuses and checks it
    EXPECT_EQ(f.activeControl(), &r1);
    EXPECT_TRUE(r1.checked());
    EXPECT_FALSE(r2.checked());
    f.Close();
  });
  runner.ShowModal(form);
}

TEST_F(FormsRunnerTest, ClickHandlersSeeTheNewState) {
  Form form("F", "F");
  CheckBox box{&form, "Box"};
  RadioButton a{&form, "A"}, b{&form, "B"};
  std::vector<std::string> log;
  box.onClick = [&] { log.push_back(box.checked() ? "box on" : "box off"); };
  a.onClick = [&] { log.push_back("a"); };
  b.onClick = [&] { log.push_back("b"); };
  runner.Then([&](Form& f) {
    user::Click(box);
    user::Click(box);
    user::Click(a);
    user::Click(a);  // already checked: no click event
    user::Click(b);
    f.Close();
  });
  runner.ShowModal(form);
  EXPECT_EQ(log, (std::vector<std::string>{"box on", "box off", "a", "b"}));
  // Code that ticks boxes runs no handler.
  box.SetChecked(true);
  a.SetChecked(true);
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(FormsRunnerTest, TextAndSelectionEvents) {
  Form form("F", "F");
  Edit edit{&form, "Edit"};
  Edit locked{&form, "Locked"};
  ComboBox pick{&form, "Pick", ComboStyle::kDropDownList};
  ListBox list{&form, "List"};
  PageControl pages{&form, "Pages"};
  TabSheet one{&pages, "One"}, two{&pages, "Two"};
  Edit onOne{&one, "OnOne"};
  locked.SetReadOnly(true);
  pick.SetItems({"Red", "Green"});
  list.SetItems({"x", "y"});
  std::vector<std::string> log;
  edit.onChange = [&] { log.push_back("edit " + edit.text()); };
  pick.onClick = [&] { log.push_back("pick click"); };
  pick.onChange = [&] { log.push_back("pick " + pick.text()); };
  list.onClick = [&] { log.push_back("list " + std::to_string(list.itemIndex())); };
  pages.onChange = [&] { log.push_back("page " + std::to_string(pages.activePageIndex())); };
  runner.Then([&](Form& f) {
    user::EnterText(edit, "a");
    user::EnterText(edit, "a");  // unchanged: no event
    EXPECT_FALSE(user::EnterText(locked, "b"));
    EXPECT_FALSE(user::EnterText(pick, "Blue"));  // a drop-down list takes no typing
    user::Select(pick, 1);
    user::Select(pick, 1);
    EXPECT_FALSE(user::Select(pick, 2));
    user::Select(list, 1);
    user::Focus(onOne);
    user::Select(pages, 1);
    EXPECT_EQ(f.activeControl(), &pages);  // the focus left the page that went away
    f.Close();
  });
  runner.ShowModal(form);
  EXPECT_EQ(log, (std::vector<std::string>{"edit a", "pick click", "pick Green", "pick click", "list 1", "page 1"}));
}

TEST_F(FormsRunnerTest, SpinButtonsAndKeyPreview) {
  Form form("F", "F");
  Edit days{&form, "Days", "5"};
  SpinButton spin{&form, "Spin"};
  spin.onUpClick = [&] { days.SetText(std::to_string(std::stoi(days.text()) + 1)); };
  spin.onDownClick = [&] { days.SetText(std::to_string(std::stoi(days.text()) - 1)); };
  std::string typed;
  form.onKeyPress = [&](char& ch) {
    typed += ch;
    if (ch == 'x') ch = '\0';
  };
  runner.Then([&](Form& f) {
    user::SpinUp(spin);
    user::SpinUp(spin);
    user::SpinDown(spin);
    EXPECT_EQ(user::KeyPress(f, 'x'), 'x');  // no key preview: the control gets it
    f.SetKeyPreview(true);
    EXPECT_EQ(user::KeyPress(f, 'x'), '\0');
    EXPECT_EQ(user::KeyPress(f, 'y'), 'y');
    f.Close();
  });
  runner.ShowModal(form);
  EXPECT_EQ(days.text(), "6");
  EXPECT_EQ(typed, "xy");
}

TEST_F(FormsRunnerTest, NestedDialogsTakeTheNextScript) {
  NumberModel model;
  NumberDialog inner(model, mem.boxes);
  Form outer("Outer", "Outer");
  Button ask{&outer, "Ask", "&Ask"};
  Label answer{&outer, "Answer"};
  ask.onClick = [&] {
    if (runner.ShowModal(inner) != ModalResult::kNone) answer.SetCaption(model.result);
  };
  runner.Then([&](Form& f) {
    user::Click(ask);
    f.Close();
  });
  runner.Then([&](Form&) {
    user::EnterText(inner.Value, "42");
    user::PressEnter(inner);
  });
  runner.ShowModal(outer);
  EXPECT_EQ(answer.caption(), "42");
  ASSERT_EQ(runner.shown.size(), 2u);
  EXPECT_EQ(runner.shown[1].name, "NumberDialog");
  EXPECT_EQ(runner.pendingScripts(), 0u);
}

// A pause-like window: a timer closes it, or code outside its handlers does (as a hot key
// handled by the main window during the modal loop would).
class TickWindow : public Form {
 public:
  TickWindow() : Form("TickWindow", "Pause") {
    SetStayOnTop(true);
    SetToolWindow(true);
    Ticker.onTimer = [this] {
      if (++ticks == limit) Close();
    };
  }
  Timer Ticker{this, "Ticker", 100, true};
  int ticks = 0;
  int limit = 3;
};

TEST_F(FormsRunnerTest, TimersTickWhileTheDesktopLoopIsPumped) {
  TickWindow win;
  runner.Then([&](Form& f) {
    EXPECT_TRUE(mem.desktop.HasTimer(f.Handle(), win.Ticker.id()));
    mem.desktop.WaitAndPump(1000);
    EXPECT_EQ(win.ticks, 1);
    for (int i = 0; i < 10 && f.AcceptsInput(); ++i) mem.desktop.WaitAndPump(1000);
  });
  const platform::WindowHandle before = mem.desktop.FindWindow("", "Pause");
  EXPECT_EQ(before, platform::kNoWindow);
  EXPECT_EQ(runner.ShowModal(win), ModalResult::kCancel);
  EXPECT_EQ(win.ticks, 3);
  EXPECT_EQ(mem.clock.Monotonic(), 300u);
}

TEST_F(FormsRunnerTest, AStoppedOrZeroIntervalTimerDoesNotTick) {
  TickWindow win;
  runner.Then([&](Form& f) {
    win.Ticker.SetEnabled(false);
    EXPECT_FALSE(mem.desktop.HasTimer(f.Handle(), win.Ticker.id()));
    win.Ticker.SetInterval(0);
    win.Ticker.SetEnabled(true);
    EXPECT_FALSE(mem.desktop.HasTimer(f.Handle(), win.Ticker.id()));
    mem.desktop.WaitAndPump(500);
    EXPECT_FALSE(user::FireTimer(win.Ticker));
    win.Ticker.SetInterval(50);
    EXPECT_TRUE(mem.desktop.HasTimer(f.Handle(), win.Ticker.id()));
    f.Close();
  });
  runner.ShowModal(win);
  EXPECT_EQ(win.ticks, 0);
}

TEST_F(FormsRunnerTest, CodeOutsideTheFormsHandlersCanEndTheModalShow) {
  TickWindow win;
  bool resumed = false;
  runner.Then([&](Form& f) {
    // What a hot-key handler of another window does while the pause window is up.
    resumed = true;
    f.Close();
    EXPECT_FALSE(f.AcceptsInput());
  });
  EXPECT_EQ(runner.ShowModal(win), ModalResult::kCancel);
  EXPECT_TRUE(resumed);
  EXPECT_EQ(win.ticks, 0);
}

TEST_F(FormsRunnerTest, FormsShownWithoutWaitingCloseAndHide) {
  auto box = std::make_unique<TickWindow>();
  box->limit = 2;
  std::vector<std::string> log;
  box->onActivate = [&] { log.push_back("activate"); };
  box->onClose = [&](CloseAction&) { log.push_back("close"); };
  const platform::WindowHandle front = mem.desktop.AddForeignWindow("Editor", "Edit", 7);
  mem.desktop.SetForeground(front);

  runner.Show(*box, false);
  EXPECT_TRUE(box->Showing());
  EXPECT_FALSE(box->IsModal());
  const platform::WindowHandle h = box->Handle();
  EXPECT_TRUE(mem.desktop.IsVisible(h));
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), front);  // not activated
  EXPECT_EQ(runner.FindOpen("Pause"), box.get());

  mem.desktop.WaitAndPump(1000);
  mem.desktop.WaitAndPump(1000);
  EXPECT_EQ(box->ticks, 2);
  EXPECT_FALSE(box->Showing());
  EXPECT_FALSE(mem.desktop.IsVisible(h));  // hidden, not yet freed
  EXPECT_TRUE(mem.desktop.IsWindow(h));
  EXPECT_FALSE(mem.desktop.HasTimer(h, box->Ticker.id()));
  EXPECT_TRUE(runner.OpenForms().empty());
  EXPECT_EQ(log, (std::vector<std::string>{"close"}));

  box.reset();  // freeing the form takes its window away
  EXPECT_FALSE(mem.desktop.IsWindow(h));
}

TEST_F(FormsRunnerTest, ACloseHandlerCanRefuseToHideAModelessForm) {
  Form form("F", "Floating");
  form.onClose = [](CloseAction& a) { a = CloseAction::kNone; };
  runner.Show(form);
  EXPECT_TRUE(user::CloseBox(form));
  EXPECT_TRUE(form.Showing());
  form.Hide();  // hiding asks nobody
  EXPECT_FALSE(form.Showing());
  runner.Show(form);
  EXPECT_TRUE(form.Showing());
  EXPECT_EQ(runner.shown.size(), 2u);
}

TEST_F(FormsRunnerTest, TextWidthComesFromTheMeasureOrTheArialEstimate) {
  Font font;
  EXPECT_EQ(runner.TextWidth(font, "iii"), 9);
  runner.SetMeasure([](const Font&, std::string_view text) { return static_cast<int>(text.size()) * 7; });
  EXPECT_EQ(runner.TextWidth(font, "iii"), 21);
}

TEST_F(FormsRunnerTest, MenuBarItemsRunTheirHandlersWhenTheyCanBeChosen) {
  Form form("F", "Editor");
  MenuItem bar;
  std::vector<std::string> log;
  MenuItem& file = bar.Add("FileMenu", "&File");
  file.Add("Save", "&Save", [&] { log.push_back("save"); });
  file.Add("Exit", "E&xit", [&] {
    log.push_back("exit");
    form.Close();
  });
  bar.Add("HelpMenu", "&Help").Add("About", "&About", [&] { log.push_back("about"); });
  form.SetMainMenu(&bar);
  EXPECT_FALSE(user::ChooseMenu(form, "Save"));  // not up yet
  runner.Then([&](Form& f) {
    EXPECT_TRUE(user::ChooseMenu(f, "Save"));
    bar.Find("Save")->enabled = false;
    EXPECT_FALSE(user::ChooseMenu(f, "Save"));
    bar.Find("HelpMenu")->visible = false;
    EXPECT_FALSE(user::ChooseMenu(f, "About"));
    EXPECT_FALSE(user::ChooseMenu(f, "FileMenu"));
    EXPECT_TRUE(user::ChooseMenu(f, "Exit"));
    EXPECT_FALSE(f.AcceptsInput());
  });
  EXPECT_EQ(runner.ShowModal(form), ModalResult::kCancel);
  EXPECT_EQ(log, (std::vector<std::string>{"save", "exit"}));
}

TEST_F(FormsRunnerTest, PopupMenusTakeTheQueuedPicks) {
  MenuItem menu;
  int reloads = 0;
  menu.Add("Reload", "&Reload", [&] {
    ++reloads;
    menu.items.clear();  // a handler may rebuild the menu it came from
  });
  menu.Add("Hidden", "&Hidden").visible = false;
  menu.Add("Off", "&Off").enabled = false;
  runner.ThenPick("Off");
  runner.ThenPick("Reload");
  EXPECT_EQ(runner.Popup(menu, {10, 20}), "");  // disabled: nothing happens
  EXPECT_EQ(runner.Popup(menu, {30, 40}, 0x1234), "Reload");
  EXPECT_EQ(runner.Popup(menu, {0, 0}), "");  // nothing queued: dismissed
  EXPECT_EQ(reloads, 1);
  ASSERT_EQ(runner.popups.size(), 3u);
  EXPECT_EQ(runner.popups[0].captions, (std::vector<std::string>{"&Reload", "&Off"}));
  EXPECT_EQ(runner.popups[1].picked, "Reload");
  EXPECT_EQ(runner.popups[1].owner, 0x1234u);
  EXPECT_EQ(runner.popups[1].at, (platform::Point{30, 40}));
  EXPECT_TRUE(runner.popups[2].captions.empty());
}

TEST(FormsScriptedRunnerTest, WorksWithoutADesktop) {
  ScriptedRunner runner;
  Form form("F", "F");
  Button ok{&form, "Ok"};
  ok.SetModalResult(ModalResult::kOk);
  runner.Then([&](Form& f) {
    EXPECT_NE(f.Handle(), platform::kNoWindow);
    user::Click(ok);
  });
  EXPECT_EQ(runner.ShowModal(form), ModalResult::kOk);
}

}  // namespace
}  // namespace wdx::forms

namespace wdx::forms {
namespace {

// Alt and the underlined letter of a tab chooses its page, as the tabs' captions promise.
TEST(FormsPageTest, AltAndATabsLetterChoosesItsPage) {
  platform::MemoryPlatform mem;
  ScriptedRunner runner{mem.desktop, mem.desktop};
  Form form("Pages", "Pages");
  PageControl pages{&form, "Pages"};
  TabSheet first{&pages, "First", "Edi&tor"};
  TabSheet second{&pages, "Second", "&Properties"};
  TabSheet plain{&pages, "Plain", "A && B"};
  TabSheet file{&pages, "FileTab", "&Files"};
  MenuItem bar;
  bar.Add("MenuFile", "&File");
  form.SetMainMenu(&bar);
  int changes = 0;
  pages.onChange = [&] { ++changes; };
  runner.Then([&](Form& f) {
    EXPECT_TRUE(user::PressPageAccelerator(f, 'p'));
    EXPECT_EQ(pages.activePage(), &second);
    EXPECT_TRUE(user::PressPageAccelerator(f, 'T'));
    EXPECT_EQ(pages.activePage(), &first);
    EXPECT_FALSE(user::PressPageAccelerator(f, 'b'));  // "&&" is a plain "&"
    EXPECT_FALSE(user::PressPageAccelerator(f, 'x'));
    EXPECT_FALSE(user::PressPageAccelerator(f, 'f'));  // the menu bar's letter
    f.Close();
  });
  runner.ShowModal(form);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace wdx::forms
