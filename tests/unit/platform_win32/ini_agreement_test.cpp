// THE agreement test: the stand-in's INI code and Windows' private-profile functions, each
// writing files the other reads, over the native tests' table of cases.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ini_cases.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/path_map.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace wdx::platform {
namespace {

class IniAgreementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "wdx-ini-" + std::to_string(GetCurrentProcessId());
    paths_ = PathMap(dir_);
    std::filesystem::create_directories(paths_.ToNative(PathMap::kWindowsFolder));
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string dir_;
  PathMap paths_{""};
};

TEST_F(IniAgreementTest, StandInAndWindowsWriteAndReadTheSameValues) {
  Win32ProfileFiles real;
  MemoryProfileFiles mem(paths_);
  struct Side {
    const char* name;
    ProfileFiles* ini;
    bool bare;  // the stand-in takes bare names in its Windows folder; Windows takes full paths
  };
  const Side sides[] = {{"windows", &real, false}, {"stand-in", &mem, true}};
  int n = 0;
  for (const test::IniCase& c : test::IniCases()) {
    for (const Side& writer : sides) {
      for (const Side& reader : sides) {
        SCOPED_TRACE(std::string(c.name) + ": " + writer.name + " writes, " + reader.name + " reads");
        const std::string bare = "case" + std::to_string(n++) + ".ini";
        const std::string full = paths_.ToNative(bare);
        if (c.initial) std::ofstream(full, std::ios::binary) << c.initial;
        for (const test::IniWrite& w : c.writes) {
          EXPECT_TRUE(writer.ini->WriteString(writer.bare ? bare : full, w.section, w.key, w.value));
        }
        for (const test::IniRead& r : c.reads) {
          SCOPED_TRACE(std::string(r.section) + "/" + r.key + " buffer " + std::to_string(r.bufferSize));
          EXPECT_EQ(reader.ini->GetString(reader.bare ? bare : full, r.section, r.key, r.defaultValue, r.bufferSize),
                    r.expected);
        }
      }
    }
  }
}

TEST_F(IniAgreementTest, WriteToAMissingFolderFailsQuietlyOnBothSides) {
  Win32ProfileFiles real;
  MemoryProfileFiles mem(paths_);
  const std::string missing = paths_.ToNative("no\\such\\x.ini");
  EXPECT_FALSE(real.WriteString(missing, "S", "K", "V"));
  EXPECT_FALSE(mem.WriteString("no\\such\\x.ini", "S", "K", "V"));
  EXPECT_EQ(real.GetString(missing, "S", "K", "dflt"), "dflt");
  EXPECT_EQ(mem.GetString("no\\such\\x.ini", "S", "K", "dflt"), "dflt");
}

}  // namespace
}  // namespace wdx::platform
