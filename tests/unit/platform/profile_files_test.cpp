#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ini_cases.h"
#include "platform/memory/memory_platform.h"

namespace wdx::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST(ProfileFilesTest, TableOfWindowsRules) {
  MemoryPlatform mem;
  int n = 0;
  for (const test::IniCase& c : test::IniCases()) {
    SCOPED_TRACE(c.name);
    const std::string file = "case" + std::to_string(n++) + ".ini";
    if (c.initial) WriteAll(mem.profile.ResolvePath(file), c.initial);
    for (const test::IniWrite& w : c.writes) EXPECT_TRUE(mem.profile.WriteString(file, w.section, w.key, w.value));
    for (const test::IniRead& r : c.reads) {
      SCOPED_TRACE(std::string(r.section) + "/" + r.key);
      EXPECT_EQ(mem.profile.GetString(file, r.section, r.key, r.defaultValue, r.bufferSize), r.expected);
    }
  }
}

TEST(ProfileFilesTest, AccentedNamesCompareWithoutCase) {
  // Windows folds accented letters of code page 1252 in section and key names. Wine's profile
  // functions fold ASCII only, so this case stays out of the table the Windows test shares.
  MemoryPlatform mem;
  WriteAll(mem.profile.ResolvePath("a.ini"), "[\xC4rger]\r\n\xDC" "ber=1\r\n");
  EXPECT_EQ(mem.profile.GetString("a.ini", "\xE4rger", "\xFC" "ber", ""), "1");
}

TEST(ProfileFilesTest, WritesKeepTheFileAsItIsAroundTheChangeWithCrLf) {
  MemoryPlatform mem;
  ProfileFiles& ini = mem.profile;
  const std::string path = ini.ResolvePath("WENDX.INI");
  EXPECT_EQ(path, mem.Root() + "/c/windows/WENDX.INI");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(ini.WriteString("WENDX.INI", "Main", "Speed", "5"));
  EXPECT_EQ(ReadAll(path), "[Main]\r\nSpeed=5\r\n");
  EXPECT_TRUE(ini.WriteString("wendx.ini", "Main", "Path", "C:\\X"));
  EXPECT_TRUE(ini.WriteString("WENDX.INI", "Mail", "Host", "smtp"));
  EXPECT_TRUE(ini.WriteString("WENDX.INI", "MAIN", "SPEED", "7"));
  EXPECT_EQ(ReadAll(path), "[Main]\r\nSpeed=7\r\nPath=C:\\X\r\n\r\n[Mail]\r\nHost=smtp\r\n");
}

TEST(ProfileFilesTest, DrivePathsMapUnderTheRootAndFailuresAreSilent) {
  MemoryPlatform mem;
  fs::create_directories(mem.Root() + "/c/Data");
  // An existing folder is found whatever the case of the stored path.
  EXPECT_EQ(mem.profile.ResolvePath("C:\\DATA\\my.ini"), mem.Root() + "/c/Data/my.ini");
  EXPECT_EQ(mem.profile.ResolvePath("\\\\server\\share\\x.ini"), mem.Root() + "/unc/server/share/x.ini");
  EXPECT_TRUE(mem.profile.WriteString("c:\\data\\MY.INI", "S", "K", "V"));
  EXPECT_EQ(mem.profile.GetString("C:\\Data\\my.ini", "S", "K", ""), "V");
  // No such folder: the write fails quietly and the read gives the default.
  EXPECT_FALSE(mem.profile.WriteString("D:\\Nowhere\\x.ini", "S", "K", "V"));
  EXPECT_EQ(mem.profile.GetString("D:\\Nowhere\\x.ini", "S", "K", "dflt"), "dflt");
  EXPECT_EQ(mem.profile.GetString("C:\\Data\\my.ini", "S", "K", "dflt", 0), "");
}

// ".." stops at the drive or share root, as on Windows: no stored path reaches outside the
// stand-in's root folder (a macro once wrote "..\\..\\..\\..\\ESCAPE.TXT" beside the test's folder).
TEST(PathMapTest, ParentFoldersStopAtTheDriveOrShareRoot) {
  MemoryPlatform mem;
  const std::string& r = mem.Root();
  const struct {
    const char* path;
    std::string native;
  } cases[] = {
      {"..\\..\\..\\..\\ESCAPE.TXT", r + "/c/ESCAPE.TXT"},
      {"C:\\..\\..\\x.txt", r + "/c/x.txt"},
      {"C:..\\x.txt", r + "/c/x.txt"},
      {"\\..\\..\\x.txt", r + "/c/x.txt"},
      {"D:\\A\\..\\..\\B\\.\\x.txt", r + "/d/B/x.txt"},
      {"\\\\server\\share\\..\\..\\x.txt", r + "/unc/server/share/x.txt"},
      {"\\\\..\\..\\..\\x.txt", r + "/unc/x.txt"},
      {"sub\\..\\WENDX.INI", r + "/c/windows/WENDX.INI"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(mem.files.NativePath(c.path), c.native);
    EXPECT_EQ(mem.profile.ResolvePath(c.path), c.native);
  }
}

}  // namespace
}  // namespace wdx::platform
