// The log commands, enciphered text and text files played as macro text.
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"
#include "shared/cipher.h"
#include "shared/date_time.h"

namespace wdx::player {
namespace {

using testing::FilesTest;

class LogsTest : public FilesTest {
 protected:
  LogsTest() {
    // 31 December 1999, 22:15:00.
    mem.clock.SetNow(EncodeDateTime({1999, 12, 31, 22, 15, 0, 0}));
    st.currentMacroName = "Totals";
  }
};

TEST_F(LogsTest, LogErrTurnsTheLogOnAndTheBoxesOffOnlyWithY) {
  Play("<LOGERR:N>");
  EXPECT_TRUE(st.logErrors);
  EXPECT_TRUE(st.showErrors);
  EXPECT_EQ(host.log, std::vector<std::string>{"Start of Macro \"Totals\""});
  Play("<LOGERR:Y>");
  EXPECT_FALSE(st.showErrors);
  // "N" afterwards leaves the boxes off.
  Play("<LOGERR:N><ACTIVATE:No Such Window>");
  EXPECT_FALSE(st.showErrors);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_GE(host.log.size(), 4u);  // three starts and the failure
}

TEST_F(LogsTest, LogFileAppendsLinesWithOrWithoutTheStamp) {
  T(1) = "42";
  // A file that does not exist yet is made, in a folder that exists.
  Write("C:\\logs\\keep.txt", "");
  Play("<LOGFILE:NY:C:\\logs\\run.log\x01Total %T1%\x01>");
  Play("<LOGFILE:NN:C:\\logs\\run.log\x01" "Done\x01>");
  EXPECT_EQ(Read("C:\\logs\\run.log"), "12/31/1999 10:15:00 PM Total 42\r\nDone\r\n");
  // The user's own formats.
  mem.regional.formats.shortDate = "dd.MM.yyyy";
  mem.regional.formats.longTime = "HH:mm:ss";
  Play("<LOGFILE:NY:C:\\logs\\run.log\x01later\x01>");
  EXPECT_EQ(Read("C:\\logs\\run.log"), "12/31/1999 10:15:00 PM Total 42\r\nDone\r\n31.12.1999 22:15:00 later\r\n");
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(LogsTest, LogFileToTheErrorLogAndItsFailures) {
  Play("<LOGFILE:YN:\x01" "Done\x01>");
  EXPECT_EQ(host.log, std::vector<std::string>{"Done"});
  // A folder that does not exist: reported, and the macro goes on.
  EXPECT_EQ(Play("<LOGFILE:NN:C:\\none\\x.log\x01" "a\x01>go"), "go");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Log Message To File");
  EXPECT_EQ(host.boxes[0].text, "Could not add message to C:\\none\\x.log.  Most likely due to an anvalid file name.");
  EXPECT_FALSE(st.abortMacro);
  // With the boxes off it is only logged (when logging is on).
  host.log.clear();
  Play("<LOGERR:Y><LOGFILE:NN:\x01" "a\x01>");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(host.log.back(), "Could not add message to .  Most likely due to an anvalid file name.");
}

class FileTextTest : public FilesTest {};

TEST_F(FileTextTest, EncipheredTextPlaysOrFillsAVariable) {
  EXPECT_EQ(Play("<ETEXT:" + EncipherText("abc<ENTER>", kMacroTextKey, 0x5A) + ">!"), "abc\r!");
  EXPECT_EQ(Play("<ETEXT2:07:" + EncipherText("two words", kMacroTextKey, 0xC3) + ">"), "");
  EXPECT_EQ(T(7), "two words");
  // Every start byte gives the text back.
  for (int start = 0; start < 256; start += 51) {
    EXPECT_EQ(Play("<ETEXT:" + EncipherText("Hi %N1%", kMacroTextKey, static_cast<std::uint8_t>(start)) + ">"), "Hi 0");
  }
  EXPECT_EQ(Play("<ETEXT:>x"), "x");
  EXPECT_TRUE(Captions().empty());
}

TEST_F(FileTextTest, CipherThatCannotBeReadFailsTheRun) {
  for (const std::string macro : {"<ETEXT:5G12>x", "<ETEXT2:03:A>x", "<ETEXT2:00:ZZZZ>x"}) {
    SCOPED_TRACE(macro);
    EXPECT_EQ(Play(macro), "");
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Encrypted Text Error");
  }
  EXPECT_EQ(Play("<ETEXT2:-1:" + EncipherText("x", kMacroTextKey, 1) + ">"), "");
  EXPECT_EQ(host.boxes.at(0).caption, "Variable Error");
}

TEST_F(FileTextTest, TextFilesPlayWhole) {
  std::string longText;
  for (int i = 0; i < 1200; ++i) longText += "abcdefghi ";
  Write("C:\\macros\\long.txt", longText);
  EXPECT_EQ(Play("<TFILE:C:\\macros\\long.txt>"), longText);
  // A last Ctrl+Z is no text; tags in the file run.
  Write("C:\\macros\\eof.txt", "ab<ENTER>\x1A");
  EXPECT_EQ(Play("<TFILE:C:\\macros\\eof.txt>"), "ab\r");
  T(1) = "C:\\macros\\eof.txt";
  EXPECT_EQ(Play("<TFILE:%T1%>!"), "ab\r!");
  // A missing file, a folder and an empty name are passed over silently.
  T(1) = "C:\\macros\\none.txt";
  EXPECT_EQ(Play("<TFILE:%T1%>go"), "go");
  EXPECT_EQ(Play("<TFILE:C:\\macros>go"), "go");
  EXPECT_EQ(Play("<TFILE:>go"), "go");
  EXPECT_TRUE(Captions().empty());
  EXPECT_FALSE(st.abortMacro);
}

}  // namespace
}  // namespace wdx::player
