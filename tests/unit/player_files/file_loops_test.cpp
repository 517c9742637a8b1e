// File loops over delimited files and text files: what the block types for each record, where
// a loop starts and stops, the records' edge cases, and the failures that end the run.
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"
#include "player/interpreter/delimited_records.h"

namespace wdx::player {
namespace {

using testing::FilesTest;

// The delimited loop over C:\data\in.csv from record `start`, `count` records (0: all), each
// typing its first two fields.
std::string Delimited(const std::string& start = "000001", const std::string& count = "000000") {
  return "<ADFBEG:001:" + start + ":" + count + ":C:\\data\\in.csv>%T1%-%T2%;<ADFEND>.";
}

class FileLoopsTest : public FilesTest {};

TEST_F(FileLoopsTest, DelimitedRecordsPlayTheBlockWithTheirFields) {
  struct Case {
    const char* what;
    std::string file;
    std::string macro;
    std::string typed;
  };
  const Case cases[] = {
      {"CR LF endings", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n", Delimited(), "a-b;c-d;."},
      {"LF endings", "\"a\",\"b\"\n\"c\",\"d\"\n", Delimited(), "a-b;c-d;."},
      {"no final line break", "\"a\",\"b\"\r\n\"c\",\"d\"", Delimited(), "a-b;c-d;."},
      {"start 2 count 1", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n\"e\",\"f\"\r\n", Delimited("000002", "000001"), "c-d;."},
      {"count beyond the end", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n", Delimited("000001", "000005"), "a-b;c-d;."},
      {"start beyond the end", "\"a\",\"b\"\r\n", Delimited("000004"), "."},
      {"blank lines are no records", "\r\n\"a\",\"b\"\r\n\r\n  \r\n\"c\",\"d\"\r\n\r\n", Delimited("000002"), "c-d;."},
      {"fewer fields empty the rest", "\"a\",\"b\"\r\n\"c\"\r\n", Delimited(), "a-b;c-;."},
      {"more fields are not a record of their own", "\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n", Delimited(), "a-b;c-d;."},
      {"a doubled quote is one quote", "\"say \"\"hi\"\"\",\"x\"\r\n", Delimited(), "say \"hi\"-x;."},
      {"a comma inside quotes", "\"1,5\",\"x\"\r\n", Delimited(), "1,5-x;."},
      {"blanks after the closing quote", "\"a\" ,\"b\"  \r\n", Delimited(), "a-b;."},
      {"an empty file plays nothing", "", Delimited(), "."},
      {"only a Ctrl+Z", "\x1A", Delimited(), "."},
      {"text after Ctrl+Z is not read", "\"a\",\"b\"\r\n\x1A\"c\",\"d\"\r\n", Delimited(), "a-b;."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write("C:\\data\\in.csv", c.file);
    EXPECT_EQ(Play(c.macro), c.typed);
    EXPECT_TRUE(Captions().empty());
    EXPECT_FALSE(st.abortMacro);
  }
}

TEST_F(FileLoopsTest, SkippedRecordsPassThroughTheVariablesAndTheLastStays) {
  Write("C:\\data\\in.csv", "\"a\",\"b\",\"c\"\r\n\"d\",\"e\",\"f\"\r\n");
  // Fields from T5 on; the block reads T7 only.
  EXPECT_EQ(Play("<ADFBEG:005:000002:000001:C:\\data\\in.csv>%T7%<ADFEND>"), "f");
  EXPECT_EQ(T(5), "d");
  EXPECT_EQ(T(6), "e");
  // Fields beyond T99 are not stored.
  Play("<ADFBEG:098:000001:000001:C:\\data\\in.csv><ADFEND>");
  EXPECT_EQ(T(98), "a");
  EXPECT_EQ(T(99), "b");
}

TEST_F(FileLoopsTest, StartCountAndFileMayComeFromVariables) {
  Write("C:\\data\\lines.txt", "one\r\ntwo\r\nthree\r\n");
  st.vars.integer[3] = 2;
  st.vars.integer[4] = 1;
  T(1) = "C:\\data\\lines.txt";
  EXPECT_EQ(Play("<BTFBEG:005:N00003:N00004:%T1%>[%T5%]<BTFEND>"), "[two]");
}

TEST_F(FileLoopsTest, TextLinesPlayTheBlock) {
  struct Case {
    const char* what;
    std::string file;
    std::string counts;
    std::string typed;
  };
  const Case cases[] = {
      {"three lines, all", "one\r\ntwo\r\nthree\r\n", "000001:000000", "[one][two][three]."},
      {"count 5 of three", "one\r\ntwo\r\nthree", "000001:000005", "[one][two][three]."},
      {"start 2 count 1", "one\ntwo\nthree\n", "000002:000001", "[two]."},
      {"empty lines are lines", "a\r\n\r\nb\r\n", "000001:000000", "[a][][b]."},
      {"a lone CR ends a line", "a\rb", "000001:000000", "[a][b]."},
      {"an empty file", "", "000001:000000", "."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write("C:\\data\\lines.txt", c.file);
    EXPECT_EQ(Play("<BTFBEG:002:" + c.counts + ":C:\\data\\lines.txt>[%T2%]<BTFEND>."), c.typed);
    EXPECT_TRUE(Captions().empty());
  }
}

TEST_F(FileLoopsTest, LongLinesAndBinaryFilesAreReadWhole) {
  const std::string longLine(100000, 'x');
  Write("C:\\data\\lines.txt", longLine + "\r\nend");
  Play("<BTFBEG:002:000001:000001:C:\\data\\lines.txt><BTFEND>");
  EXPECT_EQ(T(2), longLine);
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7) % 256);
  Write("C:\\data\\lines.txt", binary);
  // Every line of the bytes up to the first Ctrl+Z plays once.
  const std::string typed = Play("<BTFBEG:002:000001:000000:C:\\data\\lines.txt>.<BTFEND>");
  EXPECT_GE(typed.size(), 2u);
  EXPECT_FALSE(st.abortMacro);
  EXPECT_TRUE(Captions().empty());
}

TEST_F(FileLoopsTest, AnEndTagOnlyCountsWhereThePlayerWouldMeetIt) {
  Write("C:\\data\\in.csv", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  EXPECT_EQ(Play("<ADFBEG:001:000001:000000:C:\\data\\in.csv>%T1%<DIS:<ADFEND>\x02<ADFEND>."), "ac.");
  // A repeat block inside the loop.
  EXPECT_EQ(Play("<ADFBEG:001:000001:000000:C:\\data\\in.csv><REPEAT:0002>%T2%<ENDREP><ADFEND>"), "bbdd");
}

TEST_F(FileLoopsTest, FailuresEndTheRun) {
  struct Case {
    const char* what;
    std::string file;  // written to C:\data\in.csv unless empty
    std::string macro;
    std::string caption;
    std::string message;
    std::string typed;
  };
  const std::string bad =
      "The specified file of \"C:\\data\\in.csv\" does not appear to be a properly formatted ASCII delimited file. An "
      "ASCII delimited file requires a unique format of each field being surrounded by double quotes and seperated "
      "by a comma.  Macro will abort. (Macro Name: Prompted)";
  const Case cases[] = {
      {"a missing file", "", "x<ADFBEG:001:000001:000000:C:\\data\\none.csv>%T1%<ADFEND>y",
       "Process ASCII Delimited File Failed",
       "Specified file of \"C:\\data\\none.csv\" could not be found on your computer. Macro will abort. (Macro Name: "
       "Prompted)",
       "x"},
      {"an unquoted first line", "a,b\r\n", "x" + Delimited(), "Process ASCII Delimited File Failed", bad, "x"},
      {"an unquoted last field", "\"Smith\",\"John\",42\r\n", "x" + Delimited(), "Process ASCII Delimited File Failed",
       bad, "x"},
      {"a field of 256 characters", "\"" + std::string(256, 'f') + "\"\r\n", Delimited(),
       "Process ASCII Delimited File Failed", bad, ""},
      {"a bad later record after the good ones",
       "\"a\",\"b\"\r\n\"c\",\"" + std::string(300, 'g') + "\"\r\n\"e\",\"f\"\r\n", Delimited(),
       "Process ASCII Delimited File Failed", bad, "a-b;"},
      {"no end of the delimited loop", "\"a\"\r\n", "x<ADFBEG:001:000001:000000:C:\\data\\in.csv>%T1%y",
       "Process ASCII Delimited File Failed",
       "No \"Ending Statement\" specified for ending the processing of the ASCII Delimited File.  Place the \"ASCII "
       "File Process End\" command in your macro. This macro will abort. (Macro Name: Prompted)",
       "x"},
      {"a missing text file", "", "<BTFBEG:001:000001:000000:C:\\data\\none.txt>%T1%<BTFEND>",
       "Process Text File Failed",
       "Specified file of \"C:\\data\\none.txt\" could not be found on your computer. Macro will abort. (Macro Name: "
       "Prompted)",
       ""},
      {"no end of the text loop", "a\r\n", "<BTFBEG:001:000001:000000:C:\\data\\in.csv>%T1%", "Process Text File Failed",
       "No \"Ending Statement\" specified for ending the processing of the Text File.  Place the \"Text File Process "
       "End\" command in your macro. This macro will abort. (Macro Name: Prompted)",
       ""},
      {"a variable outside the table", "\"a\"\r\n", "<ADFBEG:100:000001:000000:C:\\data\\in.csv><ADFEND>",
       "Variable Error",
       "There is no text variable T100 (text variables are T1 to T99). Macro will abort. (Macro Name: Prompted)", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(mem.NativePath("C:\\data"));
    if (!c.file.empty()) Write("C:\\data\\in.csv", c.file);
    host.longTexts.clear();
    EXPECT_EQ(Play(c.macro), c.typed);
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(Captions().size(), 1u);
    EXPECT_EQ(Captions()[0], c.caption);
    // The long-text window of the test host shows the text as it comes.
    const std::string shown = host.boxes.empty() ? host.longTexts[0].text + " (Macro Name: Prompted)" : host.boxes[0].text;
    EXPECT_EQ(shown, c.message);
  }
}

TEST_F(FileLoopsTest, ABlockThatAbortsEndsTheLoopSilently) {
  Write("C:\\data\\lines.txt", "one\r\ntwo\r\nthree\r\n");
  int pumps = 0;
  host.onPump = [&](int) {
    if (++pumps == 3) st.abortMacro = true;
  };
  const std::string typed = Play("<BTFBEG:001:000001:000000:C:\\data\\lines.txt>%T1%<BTFEND>after");
  EXPECT_LT(typed.size(), std::string("onetwothree").size());
  EXPECT_EQ(typed.find("after"), std::string::npos);
  // The file is closed: it can go at once.
  host.onPump = nullptr;
  EXPECT_TRUE(std::filesystem::remove(mem.NativePath("C:\\data\\lines.txt")));
}

TEST(DelimitedRecords, FieldsOfOneLine) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;
    bool wellFormed;
  };
  const Case cases[] = {
      {"\"Smith\",\"John\",\"42\"", {"Smith", "John", "42"}, true},
      {"\"Smith\",\"John\",42", {"Smith", "John", "42"}, false},
      {"\"a\",,\"c\"", {"a", ",c"}, true},
      {"x\"a\",\"b\"", {"xa", "b"}, true},
      {"\"5\" wide\",\"b\"", {"5\" wide", "b"}, true},
      {"\"\"", {""}, true},
      {"\"tab\there\"", {"tabhere"}, true},
      {"\"\xE9t\xE9\"", {"\xE9t\xE9"}, true},
      {"\"open", {"open"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const DelimitedRecord r = ParseDelimitedLine(c.line);
    EXPECT_EQ(r.fields, c.fields);
    EXPECT_EQ(r.wellFormed, c.wellFormed);
  }
}

}  // namespace
}  // namespace wdx::player
