// The case of the selected text: what each command makes of the selection, and the user's
// clipboard kept through it.
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"

namespace wdx::player {
namespace {

using platform::EditCommand;
using testing::FilesTest;

class BlockCaseTest : public FilesTest {
 protected:
  // The focused edit holds `text` with [start, start + length) selected.
  void Select(const std::string& text, std::size_t start, std::size_t length) {
    mem.selection.focused = platform::MemoryEdit{text, start, length};
  }
  std::string EditText() const { return mem.selection.focused->text; }
};

TEST_F(BlockCaseTest, EachCommandChangesTheSelectionAndTheClipboardStays) {
  struct Case {
    std::string tag, text, result;
  };
  const Case cases[] = {
      {"<UPPBLOCK>", "Hello, World", "HELLO, WORLD"},
      {"<LOWBLOCK>", "Hello, World", "hello, world"},
      {"<TOGBLOCK>", "aBc1", "AbC1"},
      {"<UPPBLOCK>", "caf\xE9 1\r\nx", "CAF\xE9 1\r\nX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag + c.text);
    Select("[" + c.text + "]", 1, c.text.size());
    mem.clipboard.text = "the user's";
    EXPECT_EQ(Play("a" + c.tag + "b"), "ab");
    EXPECT_EQ(EditText(), "[" + c.result + "]");
    EXPECT_EQ(mem.clipboard.text, "the user's");
  }
  // A clipboard that held no text is left empty.
  Select("x", 0, 1);
  mem.clipboard.text.reset();
  Play("<UPPBLOCK>");
  EXPECT_EQ(EditText(), "X");
  EXPECT_EQ(mem.clipboard.text, std::nullopt);
}

// The user's picture is kept as well as text; a clipboard that cannot be kept (another
// program holds it) is not touched at all.
TEST_F(BlockCaseTest, AUsersPictureIsKeptAndABusyClipboardIsNotEmptied) {
  Select("abc", 0, 3);
  mem.clipboard.SetBitmap("a DIB of the user's");
  mem.clipboard.metafile = platform::MetafilePicture{"a metafile", 100, 50};
  Play("<UPPBLOCK>");
  EXPECT_EQ(EditText(), "ABC");
  EXPECT_EQ(mem.clipboard.bitmap, "a DIB of the user's");
  EXPECT_EQ(mem.clipboard.metafile, (platform::MetafilePicture{"a metafile", 100, 50}));
  EXPECT_EQ(mem.clipboard.text, std::nullopt);

  Select("abc", 0, 3);
  mem.clipboard.SetText("the user's");
  mem.clipboard.SetBusy(true);
  EXPECT_EQ(Play("<UPPBLOCK>x"), "x");
  EXPECT_EQ(EditText(), "abc");
  mem.clipboard.SetBusy(false);
  EXPECT_EQ(mem.clipboard.text, "the user's");
}

TEST_F(BlockCaseTest, ALongSelectionIsConvertedWhole) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += (i % 2 == 0 ? 'a' : 'B');
  Select(text, 0, text.size());
  Play("<TOGBLOCK>");
  std::string toggled;
  for (int i = 0; i < 300; ++i) toggled += (i % 2 == 0 ? 'A' : 'b');
  EXPECT_EQ(EditText(), toggled);
}

TEST_F(BlockCaseTest, NothingSelectedEndsTheLevelWithoutTakingStaleClipboardText) {
  Select("untouched", 3, 0);
  mem.clipboard.text = "stale text";
  EXPECT_EQ(Play("a<LOWBLOCK>b"), "a");
  EXPECT_EQ(EditText(), "untouched");
  EXPECT_EQ(mem.clipboard.text, "stale text");
  EXPECT_EQ(mem.selection.sent, std::vector<EditCommand>{EditCommand::kCopy});
  EXPECT_FALSE(st.abortMacro);
  EXPECT_TRUE(Captions().empty());
  // Only the level of the command ends: the repeat around it goes on.
  EXPECT_EQ(Play("<REPEAT:0002>a<IFVAR:2:01:1:0><UPPBLOCK>b<ENDIF>c<ENDREP>"), "acac");
}

TEST_F(BlockCaseTest, NoFocusedControlLeavesTheCommandAndTheMacroGoesOn) {
  mem.selection.focused.reset();
  mem.clipboard.text = "kept";
  EXPECT_EQ(Play("a<TOGBLOCK>b"), "ab");
  EXPECT_EQ(mem.clipboard.text, "kept");
  EXPECT_TRUE(mem.selection.sent.empty());
}

}  // namespace
}  // namespace wdx::player
