// The control model on its own: lists, memos, radio groups, pages, fonts, sizes, focus rules.
#include <gtest/gtest.h>

#include "forms/forms.h"

namespace wdx::forms {
namespace {

TEST(FormsListTest, SortedListInsertsCaseInsensitivelyAndKeepsTheSelectionOnItsItem) {
  Form form("F");
  ListBox list{&form, "List"};
  list.SetSorted(true);
  EXPECT_EQ(list.AddItem("delta"), 0);
  EXPECT_EQ(list.AddItem("Bravo"), 0);
  EXPECT_EQ(list.AddItem("charlie"), 1);
  EXPECT_EQ(list.AddItem("alpha"), 0);
  EXPECT_EQ(list.items(), (std::vector<std::string>{"alpha", "Bravo", "charlie", "delta"}));

  list.SetItemIndex(2);  // charlie
  list.InsertItem(0, "zulu");
  EXPECT_EQ(list.item(list.itemIndex()), "charlie");
  list.DeleteItem(0);
  EXPECT_EQ(list.item(list.itemIndex()), "charlie");
  list.DeleteItem(list.itemIndex());
  EXPECT_EQ(list.itemIndex(), -1);
  EXPECT_EQ(list.item(7), "");
  list.SetItemIndex(99);
  EXPECT_EQ(list.itemIndex(), -1);
}

TEST(FormsListTest, MultiSelectionKeepsRowsApartFromTheFocusRow) {
  Form form("F");
  ListBox list{&form, "List"};
  list.SetItems({"a", "b", "c", "d"});
  list.SetSelected(1, true);
  EXPECT_EQ(list.itemIndex(), 1);  // single selection: selecting is choosing
  list.SetSelected(2, true);
  EXPECT_EQ(list.selectedCount(), 1);

  list.SetMultiSelect(true);
  list.SetSelected(0, true);
  list.SetSelected(3, true);
  list.SetItemIndex(1);
  EXPECT_EQ(list.selectedCount(), 2);
  list.DeleteItem(0);
  EXPECT_FALSE(list.selected(0));
  EXPECT_TRUE(list.selected(2));
}

TEST(FormsListTest, ComboTextFollowsTheChosenItem) {
  Form form("F");
  ComboBox pick{&form, "Pick", ComboStyle::kDropDownList};
  pick.SetItems({"Red", "Green", "Blue"});
  pick.SetItemIndex(1);
  EXPECT_EQ(pick.text(), "Green");
  pick.SetComboText("Blue");
  EXPECT_EQ(pick.itemIndex(), 2);
  pick.SetComboText("Purple");  // not an item: nothing chosen
  EXPECT_EQ(pick.itemIndex(), -1);
  EXPECT_EQ(pick.text(), "");

  ComboBox typed{&form, "Typed"};
  typed.SetItems({"Red", "Green"});
  typed.SetItemIndex(0);
  typed.SetComboText("Reddish");
  EXPECT_EQ(typed.itemIndex(), -1);
  EXPECT_EQ(typed.text(), "Reddish");
  typed.SetItems({"x"});
  EXPECT_EQ(typed.text(), "Reddish");  // a drop-down keeps what was typed
}

TEST(FormsMemoTest, LinesSplitAtEveryKindOfLineBreak) {
  Form form("F");
  Memo memo{&form, "Memo"};
  EXPECT_TRUE(memo.Lines().empty());
  memo.SetText("one\r\ntwo\nthree\r\r\n");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"one", "two", "three", ""}));
  memo.SetLines({"a", "", "b"});
  EXPECT_EQ(memo.text(), "a\r\n\r\nb");
}

// The selection stays inside the text; while a view shows the control, the view answers for it.
TEST(FormsMemoTest, TheSelectionStaysInsideTheTextAndFollowsItsView) {
  Form f("F", "F");
  Memo m(&f, "M", "banana");
  m.SetSelection(4, 10);
  EXPECT_EQ(m.selection(), (TextSelection{4, 2}));
  m.SetSelection(-3, 2);
  EXPECT_EQ(m.selection(), (TextSelection{0, 2}));
  m.SetText("ba");
  m.SetSelection(1, 1);
  m.SetSelectionSource([] { return TextSelection{1, 5}; });
  EXPECT_EQ(m.selection(), (TextSelection{1, 1}));
  EXPECT_EQ(m.selectionSet(), (TextSelection{1, 1}));
  m.SetSelectionSource(nullptr);
  EXPECT_EQ(m.selection(), (TextSelection{1, 1}));
}

TEST(FormsRadioTest, RadioButtonsExcludeEachOtherOnlyWithinTheirParent) {
  Form form("F");
  Panel left{&form, "Left"};
  Panel right{&form, "Right"};
  RadioButton a{&left, "A"}, b{&left, "B"};
  RadioButton c{&right, "C"}, d{&right, "D"};
  a.SetChecked(true);
  c.SetChecked(true);
  b.SetChecked(true);
  EXPECT_FALSE(a.checked());
  EXPECT_TRUE(b.checked());
  EXPECT_TRUE(c.checked());
  EXPECT_FALSE(d.checked());
  // Tab reaches only the checked button of a group.
  EXPECT_FALSE(a.TabTarget());
  EXPECT_TRUE(b.TabTarget());
}

TEST(FormsControlTest, ChildOfANonContainerSitsInThatControlsParent) {
  Form form("F");
  GroupBox box{&form, "Box"};
  Edit edit{&box, "Edit"};
  Label label{&edit, "Label"};
  EXPECT_EQ(label.parent(), &box);
  Label top{&label, "Top"};
  EXPECT_EQ(top.parent(), &box);
}

TEST(FormsControlTest, ShowingAndUsableFollowContainersAndTheActivePage) {
  Form form("F");
  PageControl pages{&form, "Pages"};
  TabSheet first{&pages, "First", "&One"};
  TabSheet second{&pages, "Second", "&Two"};
  GroupBox box{&second, "Box"};
  Edit edit{&box, "Edit"};
  EXPECT_EQ(pages.activePage(), &first);
  EXPECT_FALSE(edit.Showing());
  pages.SetActivePage(&second);
  EXPECT_TRUE(edit.Showing());
  EXPECT_TRUE(edit.Usable());
  box.SetEnabled(false);
  EXPECT_TRUE(edit.Showing());
  EXPECT_FALSE(edit.Usable());
  box.SetEnabled(true);
  box.SetVisible(false);
  EXPECT_FALSE(edit.Showing());
  EXPECT_EQ(first.pageIndex(), 0);
  EXPECT_EQ(second.pageIndex(), 1);
  // Tab sheets fill the page area below the tabs.
  EXPECT_EQ(first.left(), PageControl::kPageLeft);
  EXPECT_EQ(first.top(), PageControl::kPageTop);
  EXPECT_EQ(first.width(), pages.width() - PageControl::kPageLeft - PageControl::kPageRightMargin);
}

TEST(FormsControlTest, RemovingTheActivePageLeavesAValidOne) {
  Form form("F");
  PageControl pages{&form, "Pages"};
  TabSheet a{&pages, "A"};
  TabSheet b{&pages, "B"};
  {
    TabSheet c{&pages, "C"};
    pages.SetActivePageIndex(2);
  }
  EXPECT_EQ(pages.activePage(), &b);
  pages.SetActivePageIndex(5);
  EXPECT_EQ(pages.activePage(), &b);
}

TEST(FormsControlTest, FontsInheritUntilAControlHasItsOwn) {
  Form form("F");
  Panel panel{&form, "Panel"};
  Label label{&panel, "Label"};
  EXPECT_EQ(label.font().name, "Arial");
  EXPECT_EQ(label.font().height, 13);
  Font big = form.font();
  big.height = 16;
  form.SetFont(big);
  EXPECT_EQ(label.font().height, 16);
  label.SetFontColor(kColorRed);
  EXPECT_EQ(label.font().color, kColorRed);
  EXPECT_EQ(label.font().height, 16);
  EXPECT_EQ(panel.font().color, kColorWindowText);
}

TEST(FormsFormTest, ClientSizeSurvivesAMeasuredFrame) {
  Form form("F");
  form.SetClientSize(204, 94);
  EXPECT_EQ(form.width(), 204 + 6);
  EXPECT_EQ(form.height(), 94 + 25);
  form.SetFrameExtent({8, 30});
  EXPECT_EQ(form.clientWidth(), 204);
  EXPECT_EQ(form.clientHeight(), 94);
  form.SetHeight(94);  // an outer size set later is taken as it is
  EXPECT_EQ(form.clientHeight(), 64);
  form.SetBorderStyle(BorderStyle::kToolWindow);
  EXPECT_EQ(form.frameExtent(), Form::DefaultFrame(BorderStyle::kToolWindow));
  EXPECT_EQ(form.clientHeight(), 64);
}

TEST(FormsFormTest, FindsControlsAndTimersByName) {
  Form form("F");
  Edit edit{&form, "Value"};
  Button ok{&form, "OkButton", "&Ok"};
  Timer timer{&form, "MyTimer", 500};
  EXPECT_EQ(form.Find("Value"), &edit);
  EXPECT_EQ(form.FindAs<Button>("OkButton"), &ok);
  EXPECT_EQ(form.FindAs<Button>("Value"), nullptr);
  EXPECT_EQ(form.Find("Missing"), nullptr);
  EXPECT_EQ(form.FindTimer("MyTimer"), &timer);
  EXPECT_FALSE(timer.Running());  // timers start disabled
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Running());
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
}

TEST(FormsFormTest, ControlsLeaveTheirFormWhenDestroyed) {
  Form form("F");
  {
    Edit edit{&form, "Edit"};
    form.SetFocus(&edit);
    EXPECT_EQ(form.controls().size(), 1u);
  }
  EXPECT_TRUE(form.controls().empty());
  EXPECT_EQ(form.activeControl(), nullptr);
}

TEST(FormsMenuTest, OnlyVisibleEnabledLeavesCanBeChosen) {
  MenuItem bar;
  MenuItem& file = bar.Add("FileMenu", "&File");
  file.Add("Save", "&Save");
  file.AddSeparator();
  MenuItem& recent = file.Add("Recent", "&Recent");
  recent.Add("First", "&1 first");
  MenuItem& edit = bar.Add("EditMenu", "&Edit");
  edit.Add("Copy", "&Copy").enabled = false;
  edit.Add("Paste", "&Paste");

  EXPECT_TRUE(bar.CanChoose("Save"));
  EXPECT_TRUE(bar.CanChoose("First"));
  EXPECT_FALSE(bar.CanChoose("Recent"));  // opens a submenu
  EXPECT_FALSE(bar.CanChoose("Copy"));
  EXPECT_FALSE(bar.CanChoose("Missing"));
  EXPECT_FALSE(bar.CanChoose(""));  // separators have no name to choose
  bar.Find("EditMenu")->enabled = false;
  EXPECT_FALSE(bar.CanChoose("Paste"));
  bar.Find("FileMenu")->visible = false;
  EXPECT_FALSE(bar.CanChoose("First"));
  EXPECT_EQ(bar.Find("First")->caption, "&1 first");
  EXPECT_TRUE(bar.items[0].items[1].IsSeparator());
}

TEST(FormsMenuTest, AMenuBarGrowsTheFrameAndKeepsTheClientArea) {
  Form form("F");
  form.SetClientSize(200, 100);
  MenuItem bar;
  bar.Add("File", "&File");
  form.SetMainMenu(&bar);
  EXPECT_EQ(form.clientHeight(), 100);
  EXPECT_EQ(form.frameExtent().vertical, Form::DefaultFrame(BorderStyle::kDialog).vertical + Form::kMenuBarHeight);
  form.SetBorderStyle(BorderStyle::kSizeable);
  EXPECT_EQ(form.frameExtent().vertical, Form::DefaultFrame(BorderStyle::kSizeable).vertical + Form::kMenuBarHeight);
  form.SetMainMenu(nullptr);
  EXPECT_EQ(form.frameExtent(), Form::DefaultFrame(BorderStyle::kSizeable));
  EXPECT_EQ(form.clientHeight(), 100);
}

TEST(FormsTextMetricsTest, ArialWidthsScaleWithTheHeight) {
  Font font;  // Arial 13
  EXPECT_EQ(EstimateTextWidth(font, ""), 0);
  // Advances are rounded per character: "i" is 455/2048 of 13 pixels, 3 pixels.
  EXPECT_EQ(EstimateTextWidth(font, "i"), 3);
  EXPECT_EQ(EstimateTextWidth(font, "iii"), 9);
  EXPECT_EQ(EstimateTextWidth(font, "W"), 12);
  Font bold = font;
  bold.bold = true;
  EXPECT_GT(EstimateTextWidth(bold, "Wendrix"), EstimateTextWidth(font, "Wendrix"));
  Font big = font;
  big.height = 26;
  EXPECT_EQ(EstimateTextWidth(big, "m"), 22);
  EXPECT_EQ(EstimateTextWidth(font, "\xE9"), EstimateTextWidth(font, "n"));
}

}  // namespace
}  // namespace wdx::forms
