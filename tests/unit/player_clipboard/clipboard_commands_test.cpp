// The clipboard commands over the stand-in clipboard and real files: text in and out, a
// picture through JPEG and bitmap files and back, the save dialogs, and broken input.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "files_fixture.h"
#include "jpeg_fixture.h"
#include "player/interpreter/picture_files.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::FilesTest;
using testing::LargestDifference;

constexpr char kNoGraphic[] =
    "There is no recognizable graphic in the clipboard. Saving clipboard graphic to a file will abort.";
constexpr char kNoText[] = "There is no text in the clipboard.  Saving clipboard text to a file will abort.";

class ClipboardTest : public FilesTest {
 protected:
  std::vector<Box> Boxes() const { return host.boxes; }
  // The keys sent, as (virtual key, up) pairs.
  std::vector<std::pair<int, bool>> KeyEvents() const {
    std::vector<std::pair<int, bool>> out;
    for (const auto& k : mem.input.keys) out.push_back({k.vk, (k.flags & 2u) != 0});
    return out;
  }
};

TEST_F(ClipboardTest, TextGoesOntoTheClipboardFromFilesAndTheMacro) {
  Write("C:\\notes\\a.txt", std::string("line one\r\nline two\x1A"));
  EXPECT_EQ(Play("<CLIPF:C:\\notes\\a.txt>x"), "x");
  EXPECT_EQ(mem.clipboard.text, "line one\r\nline two");  // without its Ctrl+Z
  EXPECT_EQ(host.pauses, std::vector<double>{0.05});
  // The file named by a variable; a NUL ends the text.
  T(1) = "b";
  Write("C:\\notes\\b.txt", std::string("up to\0here", 10));
  Play("<CLIPF:C:\\notes\\%T1%.txt>");
  EXPECT_EQ(mem.clipboard.text, "up to");
  // A file that is not there changes nothing and says nothing.
  Play("<CLIPF:C:\\notes\\missing.txt>");
  EXPECT_EQ(mem.clipboard.text, "up to");
  EXPECT_TRUE(Captions().empty());

  T(1) = "Ann";
  EXPECT_EQ(Play("a<BEGCLIP>Dear %T1%<ENDCLIP>b"), "ab");
  EXPECT_EQ(mem.clipboard.text, "Dear Ann");
  // Tags inside the block are text, not commands.
  EXPECT_EQ(Play("<BEGCLIP><ENTER> and <CLIPE><ENDCLIP>"), "");
  EXPECT_EQ(mem.clipboard.text, "<ENTER> and <CLIPE>");
  EXPECT_EQ(Play("<BEGCLIP><ENDCLIP>c"), "c");
  EXPECT_EQ(mem.clipboard.text, std::nullopt);
  // An unfinished block puts nothing on the clipboard and is not typed.
  mem.clipboard.text = "kept";
  EXPECT_EQ(Play("a<BEGCLIP>never ends"), "a");
  EXPECT_EQ(mem.clipboard.text, "kept");
  EXPECT_FALSE(st.abortMacro);

  Play("<CLIPE>");
  EXPECT_EQ(mem.clipboard.text, std::nullopt);
}

TEST_F(ClipboardTest, TextIsSavedAndAppendedWithALineBreak) {
  mem.clipboard.text = "no final break";
  Play("<CLIPST:C:\\out\\t.txt>");
  EXPECT_EQ(Read("C:\\out\\t.txt"), "");  // the folder is not there: nothing written
  Write("C:\\out\\keep.txt", "old\r\n");
  Play("<CLIPST:C:\\out\\t.txt><CLIPAT:C:\\out\\keep.txt><CLIPAT:C:\\out\\new.txt>");
  EXPECT_EQ(Read("C:\\out\\t.txt"), "no final break\r\n");
  EXPECT_EQ(Read("C:\\out\\keep.txt"), "old\r\nno final break\r\n");
  EXPECT_FALSE(Exists("C:\\out\\new.txt"));  // appending never makes a file
  mem.clipboard.text = "second";
  Play("<CLIPST:C:\\out\\t.txt>");
  EXPECT_EQ(Read("C:\\out\\t.txt"), "second\r\n");

  // Without text: the message with the macro's name, nothing written, the macro goes on.
  mem.clipboard.text.reset();
  EXPECT_EQ(Play("<CLIPST:C:\\out\\t.txt><CLIPAT:C:\\out\\keep.txt>z"), "z");
  EXPECT_EQ(Boxes(), (std::vector<Box>{{"Error", std::string(kNoText) + " (Macro Name: Prompted)"},
                                       {"Error", std::string(kNoText) + " (Macro Name: Prompted)"}}));
  EXPECT_EQ(Read("C:\\out\\t.txt"), "second\r\n");
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(ClipboardTest, PromptAsksForTheFileAndACancelWritesNothing) {
  mem.clipboard.text = "asked";
  Write("C:\\out\\log.txt", "");
  host.runner.AnswerFile("C:\\out\\log.txt");
  host.runner.AnswerFile(std::nullopt);
  host.runner.AnswerFile("C:\\out\\saved.txt");
  Play("<CLIPAT::PROMPT:><CLIPST::PROMPT:><CLIPST::PROMPT:>");
  ASSERT_EQ(host.runner.dialogs.size(), 3u);
  EXPECT_EQ(host.runner.dialogs[0].kind, "save");
  EXPECT_EQ(host.runner.dialogs[0].title, "Append Clipboard Text To File");
  EXPECT_EQ(host.runner.dialogs[1].title, "Save Clipboard Text To File");
  EXPECT_EQ(host.runner.dialogs[1].filter, "Text Files (*.TXT)|*.TXT");
  EXPECT_EQ(Read("C:\\out\\log.txt"), "asked\r\n");
  EXPECT_EQ(Read("C:\\out\\saved.txt"), "asked\r\n");
  EXPECT_FALSE(Exists("C:\\windows\\:PROMPT:"));

  // The picture save asks only when there is a picture.
  mem.clipboard.bitmap = WriteDib(Picture{2, 1, {1, 2, 3, 4, 5, 6}});
  host.runner.AnswerFile(std::nullopt);
  Play("<CLIPSG::PROMPT:>");
  ASSERT_EQ(host.runner.dialogs.size(), 4u);
  EXPECT_EQ(host.runner.dialogs[3].title, "Save Clipboard Graphic to Graphic File");
  EXPECT_EQ(host.runner.dialogs[3].filter, "Bitmap (*.BMP)|*.BMP|JPeg (*.JPG)|*.JPG");
  EXPECT_TRUE(Captions().empty());
}

TEST_F(ClipboardTest, AJpegGoesOntoTheClipboardAsAPictureAndBackToAJpegFile) {
  const std::string fixture = testing::MakeJpeg(48, 32);
  Write("C:\\pics\\photo.Jpg", fixture);
  mem.clipboard.text = "replaced";
  Play("<CLIPB:C:\\pics\\photo.Jpg>");
  ASSERT_TRUE(mem.clipboard.bitmap);
  EXPECT_EQ(mem.clipboard.text, std::nullopt);
  const std::optional<Picture> placed = ReadDib(*mem.clipboard.bitmap);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->width, 48);
  EXPECT_EQ(placed->height, 32);

  Play("<CLIPSG:C:\\pics\\back.jpg>");
  const std::string saved = Read("C:\\pics\\back.jpg");
  ASSERT_FALSE(saved.empty());
  const testing::DecodedJpeg original = testing::ReadJpeg(fixture);
  const testing::DecodedJpeg back = testing::ReadJpeg(saved);
  EXPECT_EQ(back.width, 48);
  EXPECT_EQ(back.height, 32);
  EXPECT_LE(LargestDifference(back.rgb, original.rgb), 8);  // saved at quality 100

  // Any other name is saved as a bitmap file, with ".BMP" added unless it ends so.
  Play("<CLIPSG:C:\\pics\\picture.png><CLIPSG:C:\\pics\\plain.bmp>");
  EXPECT_FALSE(Exists("C:\\pics\\picture.png"));
  EXPECT_EQ(ReadBmpFile(Read("C:\\pics\\picture.png.BMP")), placed);
  EXPECT_EQ(ReadBmpFile(Read("C:\\pics\\plain.bmp")), placed);
  // A bitmap file goes onto the clipboard as it is; ".JPEG" is read as a bitmap.
  mem.clipboard.Clear();
  Play("<CLIPB:C:\\pics\\plain.bmp>");
  EXPECT_EQ(ReadDib(mem.clipboard.bitmap.value_or("")), placed);
  EXPECT_TRUE(Captions().empty());
}

TEST_F(ClipboardTest, MetafilesGoOntoTheClipboard) {
  std::string wmf;
  for (const int v : {1, 9, 0x300, 12, 0, 0, 3, 0, 0, 3, 0, 0}) {
    wmf.push_back(static_cast<char>(v & 0xFF));
    wmf.push_back(static_cast<char>(v >> 8));
  }
  Write("C:\\pics\\logo.wmf", wmf);
  Play("<CLIPB:C:\\pics\\logo.wmf>");
  ASSERT_TRUE(mem.clipboard.metafile);
  EXPECT_EQ(mem.clipboard.metafile->bits, wmf);
}

TEST_F(ClipboardTest, BrokenPicturesAndAnEmptyClipboardAreReportedAndTheMacroGoesOn) {
  const std::string jpeg = testing::MakeJpeg(16, 16);
  Write("C:\\pics\\cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  Write("C:\\pics\\text.bmp", "no bitmap at all");
  Write("C:\\pics\\photo.jpeg", jpeg);  // named .JPEG: read as a bitmap, which it is not
  Write("C:\\pics\\bad.wmf", "no metafile");
  mem.clipboard.text = "the user's";
  EXPECT_EQ(Play("<CLIPB:C:\\pics\\cut.jpg>a<CLIPB:C:\\pics\\text.bmp>b<CLIPB:C:\\pics\\photo.jpeg>"
                 "<CLIPB:C:\\pics\\bad.wmf><CLIPB:C:\\pics\\none.jpg><CLIPB:C:\\pics\\none.wmf><CLIPB:>c"),
            "abc");
  EXPECT_EQ(Boxes(), (std::vector<Box>{{"JPEG Copy Error", "JPEG file could not be located."},
                                       {"Bitmap Copy Error", "Bitmap file could not be located."},
                                       {"Bitmap Copy Error", "Bitmap file could not be located."},
                                       {"MetaFile Copy Error", "Windows metafile file could not be located."},
                                       {"JPEG Copy Error", "JPEG file could not be located."},
                                       {"MetaFile Copy Error", "Windows metafile file could not be located."},
                                       {"Bitmap Copy Error", "Bitmap file could not be located."}}));
  EXPECT_EQ(mem.clipboard.text, "the user's");  // nothing half-placed
  EXPECT_FALSE(st.abortMacro);

  // No picture, or one that cannot be read: the message with the macro's name.
  for (const std::optional<std::string>& held : {std::optional<std::string>(), std::optional<std::string>("garbage")}) {
    mem.clipboard.Clear();
    mem.clipboard.bitmap = held;
    EXPECT_EQ(Play("<CLIPSG:C:\\pics\\out.jpg>d"), "d");
    EXPECT_EQ(Boxes(), (std::vector<Box>{{"Error", std::string(kNoGraphic) + " (Macro Name: Prompted)"}}));
    EXPECT_FALSE(Exists("C:\\pics\\out.jpg"));
  }
  // Logged too when logging is on, without a box when boxes are off.
  st.logErrors = true;
  st.showErrors = false;
  host.log.clear();
  Play("<CLIPB:C:\\pics\\none.jpg>");
  EXPECT_EQ(host.log, std::vector<std::string>{"JPEG file could not be located."});
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ClipboardTest, ClipboardTextPlaysAsMacroText) {
  mem.clipboard.text = "a<ENTER>b";
  const std::string typed = Play("<CLIPTYPE>");
  EXPECT_EQ(typed, "a\rb");  // Enter pressed, not typed as five characters
  mem.clipboard.text = "one\r\ntwo\r\n";
  EXPECT_EQ(Play("<CLIPTYPEI>!"), "onetwo!");
  mem.clipboard.text.reset();
  EXPECT_EQ(Play("<CLIPTYPE>x"), "x");
}

TEST_F(ClipboardTest, CopyAndPasteAreCtrlCAndCtrlV) {
  Play("<CLIPC><CLIPP>");
  const std::vector<std::pair<int, bool>> expected = {{0x11, false}, {'C', false}, {'C', true}, {0x11, true},
                                                      {0x11, false}, {'V', false}, {'V', true}, {0x11, true}};
  EXPECT_EQ(KeyEvents(), expected);
  EXPECT_EQ(host.pauses, std::vector<double>{0.1});  // only after the paste
}

}  // namespace
}  // namespace wdx::player
