// Files and folders on a temporary tree of the stand-in: folders made with their parents, the
// single-file commands, the shell's operations with their flags, and paths that must never be
// deleted or moved.
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"

namespace wdx::player {
namespace {

using testing::FilesTest;
using platform::ShellFileOp;

class FilesFoldersTest : public FilesTest {
 protected:
  platform::MemoryFileOperations& ops = mem.fileOps;
};

TEST_F(FilesFoldersTest, MkdirMakesEveryMissingFolderFromTheRootDown) {
  Write("C:\\base\\keep.txt", "");
  Play("<MKDIR:C:\\base\\one\\two\\three>");
  EXPECT_TRUE(IsFolder("C:\\base\\one\\two\\three"));
  EXPECT_EQ(ops.created, (std::vector<std::string>{"C:\\base\\one\\", "C:\\base\\one\\two\\",
                                                   "C:\\base\\one\\two\\three"}));
  // An existing folder, written with a trailing "\" or as a drive root: nothing to do.
  ops.created.clear();
  Play("<MKDIR:C:\\base\\one\\><MKDIR:C:\\><MKDIR:C:><DOFILE:02:NN:C:\\base>>");
  EXPECT_TRUE(ops.created.empty());
  // From a variable, with a name of spaces and accents.
  T(1) = "C:\\base\\My Files \xE9t\xE9";
  Play("<MKDIR:%T1%\\sub>");
  EXPECT_TRUE(IsFolder("C:\\base\\My Files \xE9t\xE9\\sub"));
  EXPECT_TRUE(Captions().empty());
}

TEST_F(FilesFoldersTest, AFolderThatCannotBeMadeIsReportedAndTheRunGoesOn) {
  Write("C:\\base\\file", "x");
  EXPECT_EQ(Play("<MKDIR:C:\\base\\file\\sub>go"), "go");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0], (testing::Box{"Create Folder Failed", "Folder \"C:\\base\\file\\\" could not be created."}));
  EXPECT_FALSE(st.abortMacro);
  // Logged too when logging is on; not shown with the boxes off.
  EXPECT_EQ(Play("<LOGERR:Y><MKDIR:C:\\base\\file\\sub>go"), "go");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(host.log.back(), "Folder \"C:\\base\\file\\\" could not be created.");
}

TEST_F(FilesFoldersTest, SingleFileCommandsCopyRenameAndDeleteSilently) {
  Write("C:\\tree\\a.txt", "alpha");
  Write("C:\\tree\\old b.txt", "beta");
  Write("C:\\tree\\c.txt", "gamma");
  T(2) = "C:\\tree\\copy of a.txt";
  Play("<COPYFILE:C:\\tree\\a.txt;%T2%><RENFILE:C:\\tree\\old b.txt;C:\\tree\\new b.txt><DELFILE:C:\\tree\\c.txt>");
  EXPECT_EQ(Read("C:\\tree\\copy of a.txt"), "alpha");
  EXPECT_EQ(Read("C:\\tree\\new b.txt"), "beta");
  EXPECT_FALSE(Exists("C:\\tree\\old b.txt"));
  EXPECT_FALSE(Exists("C:\\tree\\c.txt"));
  // A copy replaces an existing destination; a rename does not.
  Write("C:\\tree\\d.txt", "delta");
  Play("<COPYFILE:C:\\tree\\d.txt;C:\\tree\\a.txt><RENFILE:C:\\tree\\d.txt;C:\\tree\\new b.txt>");
  EXPECT_EQ(Read("C:\\tree\\a.txt"), "delta");
  EXPECT_EQ(Read("C:\\tree\\new b.txt"), "beta");
  // Missing sources, an empty name and a copy without a second path: nothing, silently.
  EXPECT_EQ(Play("<COPYFILE:C:\\tree\\none.txt;C:\\tree\\x.txt><DELFILE:><DELFILE:C:\\tree><COPYFILE:C:\\tree\\a.txt>"
                 "<RENFILE:C:\\tree\\none;C:\\tree\\y>go;"),
            "go;");
  EXPECT_FALSE(Exists("C:\\tree\\x.txt"));
  EXPECT_TRUE(IsFolder("C:\\tree"));
  EXPECT_TRUE(Captions().empty());
}

TEST_F(FilesFoldersTest, ChdirAndTheChangeFolderOperation) {
  Write("C:\\work\\keep.txt", "");
  Play("<CHDIR:C:\\work\\>");
  EXPECT_EQ(mem.folders.current, "C:\\work");
  Play("<CHDIR:C:\\none>");
  EXPECT_EQ(mem.folders.current, "C:\\work");
  EXPECT_TRUE(Captions().empty());
  Play("<DOFILE:01:NN:C:\\>>");
  EXPECT_EQ(mem.folders.current, "C:\\");
  EXPECT_EQ(Play("<DOFILE:01:NN:C:\\none>>go"), "go");
  ASSERT_EQ(host.longTexts.size(), 1u);
  EXPECT_EQ(host.longTexts[0], (testing::Box{"Change Directory Failed", "Could not change the default folder to \"C:\\none\"."}));
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(FilesFoldersTest, ShellOperationsWithTheirFlags) {
  Write("C:\\Data\\old.txt", "o");
  Write("C:\\Data\\a.tmp", "a");
  Write("C:\\Data\\b.tmp", "b");
  Write("C:\\Data\\keep.doc", "k");
  Write("C:\\Data\\sub.tmp\\inner.txt", "i");
  struct Case {
    std::string macro;
    ShellFileOp op;
    std::string from, to;
    platform::ShellFileFlags flags;
  };
  const Case cases[] = {
      // A second path without a folder renames or copies within the first one's folder.
      {"<DOFILE:06:NN:C:\\Data\\old.txt>new.txt>", ShellFileOp::kRename, "C:\\Data\\old.txt", "C:\\Data\\new.txt",
       {true, true, true}},
      {"<DOFILE:05:YY:C:\\Data\\new.txt>copy.txt>", ShellFileOp::kCopy, "C:\\Data\\new.txt", "C:\\Data\\copy.txt",
       {false, true, false}},
      {"<DOFILE:07:NY:C:\\Data\\copy.txt>C:\\Moved\\>", ShellFileOp::kMove, "C:\\Data\\copy.txt", "C:\\Moved\\",
       {true, true, false}},
      // A wildcard delete without recursion: the matching files only, to the recycle bin.
      {"<DOFILE:08:NN:C:\\Data\\*.tmp>>", ShellFileOp::kDelete, "C:\\Data\\*.tmp", "", {true, true, true}},
      {"<DOFILE:03:NN:C:\\Data\\sub.tmp>renamed>", ShellFileOp::kRename, "C:\\Data\\sub.tmp", "C:\\Data\\renamed",
       {true, true, true}},
      {"<DOFILE:04:NY:C:\\Data\\renamed>>", ShellFileOp::kDelete, "C:\\Data\\renamed", "", {true, true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macro);
    ops.shellCalls.clear();
    Play(c.macro);
    ASSERT_EQ(ops.shellCalls.size(), 1u);
    EXPECT_EQ(ops.shellCalls[0].op, c.op);
    EXPECT_EQ(ops.shellCalls[0].from, c.from);
    EXPECT_EQ(ops.shellCalls[0].to, c.to);
    EXPECT_EQ(ops.shellCalls[0].flags, c.flags);
  }
  EXPECT_EQ(Read("C:\\Data\\new.txt"), "o");
  EXPECT_EQ(Read("C:\\Moved\\copy.txt"), "o");
  EXPECT_FALSE(Exists("C:\\Data\\a.tmp"));
  EXPECT_FALSE(Exists("C:\\Data\\b.tmp"));
  EXPECT_TRUE(Exists("C:\\Data\\keep.doc"));
  EXPECT_FALSE(Exists("C:\\Data\\renamed"));
  EXPECT_EQ(ops.recycled, (std::vector<std::string>{"C:\\Data\\a.tmp", "C:\\Data\\b.tmp", "C:\\Data\\renamed"}));
  // Unknown operations do nothing.
  ops.shellCalls.clear();
  Play("<DOFILE:09:NN:C:\\Data\\keep.doc>>");
  EXPECT_TRUE(ops.shellCalls.empty());
  EXPECT_TRUE(Captions().empty());
}

TEST_F(FilesFoldersTest, DeleteAndMoveNeverActOnAnEmptyPathOrADriveRoot) {
  Write("C:\\Data\\a.txt", "a");
  for (const std::string first : {"%T1%", "%T1%\\*.*", "C:\\", "C:", " C:\\*.* ", "\\\\server\\share\\", "\\"}) {
    for (const std::string op : {"04", "07", "08"}) {
      const std::string macro = "<DOFILE:" + op + ":NY:" + first + ">C:\\Data\\>go";
      SCOPED_TRACE(macro);
      ops.shellCalls.clear();
      EXPECT_EQ(Play(macro), "");
      EXPECT_TRUE(ops.shellCalls.empty());
      EXPECT_TRUE(st.abortMacro);
      ASSERT_FALSE(host.boxes.empty());
      EXPECT_EQ(host.boxes[0].caption, "File Operation Failed");
    }
  }
  // A copy of a whole drive root is no danger to it, and a folder below a share is a folder.
  ops.shellCalls.clear();
  Play("<DOFILE:05:NN:C:\\Data\\a.txt>C:\\Copy\\><DOFILE:08:NN:\\\\server\\share\\dir\\*.*>>");
  EXPECT_EQ(ops.shellCalls.size(), 2u);
  EXPECT_EQ(Read("C:\\Copy\\a.txt"), "a");
}

TEST_F(FilesFoldersTest, NothingIsCopiedOrMovedIntoItselfOrOntoItself) {
  Write("C:\\Data\\sub\\f.txt", "f");
  for (const std::string macro : {
           "<DOFILE:05:NY:C:\\Data>C:\\Data\\sub\\>",       // a folder copied into its own subfolder
           "<DOFILE:05:NY:C:\\Data\\sub>C:\\Data\\sub>",    // onto itself
           "<DOFILE:07:NY:C:\\Data>C:\\Data\\sub\\>",       // moved into its own subfolder
           "<DOFILE:07:NY:C:\\Data\\sub>C:\\Data\\>",       // moved to where it is
           "<DOFILE:07:NY:C:\\Data\\sub\\f.txt>C:\\Data\\sub\\>",  // a file moved onto itself
       }) {
    SCOPED_TRACE(macro);
    ops.shellCalls.clear();
    EXPECT_EQ(Play(macro + "go"), "go");
    EXPECT_EQ(ops.shellCalls.size(), 1u);
    EXPECT_EQ(Read("C:\\Data\\sub\\f.txt"), "f");
    EXPECT_FALSE(Exists("C:\\Data\\sub\\Data"));
    EXPECT_FALSE(Exists("C:\\Data\\sub\\sub"));
  }
  // A file copied onto itself stays as it was.
  Play("<DOFILE:05:NY:C:\\Data\\sub\\f.txt>C:\\Data\\sub\\>");
  EXPECT_EQ(Read("C:\\Data\\sub\\f.txt"), "f");
}

}  // namespace
}  // namespace wdx::player
