// The settings file against Windows' own private-profile functions: what Configs writes is what
// GetPrivateProfileStringA reads, and a WENDX.INI written by hand in Windows' format loads.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text_services.h"
#include "shared/settings.h"

namespace wdx {
namespace {

constexpr char kProgramFolder[] = "C:\\WENDRIX";

class SettingsWin32Test : public ::testing::Test {
 protected:
  SettingsWin32Test() : iniPath_(files.ResolvePath(kSettingsFileName)) { std::remove(iniPath_.c_str()); }
  ~SettingsWin32Test() override { std::remove(iniPath_.c_str()); }

  static std::string Raw(const char* section, const char* key) {
    char buffer[2000] = {};
    DWORD n = GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, kSettingsFileName);
    return std::string(buffer, n);
  }

  platform::Win32ProfileFiles files;
  platform::Win32Files filePaths;
  std::string iniPath_;
};

TEST_F(SettingsWin32Test, TheFileLiesInTheWindowsFolder) {
  char dir[MAX_PATH] = {};
  UINT len = GetWindowsDirectoryA(dir, MAX_PATH);
  std::string expected(dir, len);
  EXPECT_EQ(iniPath_, expected + "\\" + kSettingsFileName);
}

TEST_F(SettingsWin32Test, WhatConfigsWritesWindowsReadsBack) {
  TSettingsRec rec;
  rec.programFolder = kProgramFolder;
  rec.currentLibrary = "C:\\WENDRIX\\WORK.WDX";
  rec.emailPath = "C:\\Mail Folder\\LIST.TXT";
  rec.emailLogPath = "C:\\WENDRIX\\MAILLOG.TXT";  // an empty path would read back as this default
  rec.errorLogPath = "C:\\WENDRIX\\ERRORLOG.TXT";
  rec.useTray = false;
  rec.lastFiles[2] = "D:\\X Y\\Z.WDX";
  rec.activationSort = "7654321";
  rec.defaultCaseMode = 2;
  rec.prefixKeys = ";;";
  rec.mainWindow = {800, 600, -300, 20};
  rec.gridTitleFont = {"Courier New", 9, -16777201, true, false, true, false};
  rec.printListFont.italic = true;
  rec.selectedCommands.fill(false);
  rec.selectedCommands[4] = rec.selectedCommands[162] = true;
  rec.syncMinutes = 98;
  rec.timerSeconds = 60;
  rec.smtpHost = "mail.example.org";
  rec.smtpPort = 2525;
  rec.floatingLeft[14] = 333;
  rec.floatingMinimised[0] = true;
  Configs configs(files, rec, kProgramFolder, filePaths);
  configs.SaveAllSettings();
  configs.WriteFloatingMenuPlaces();

  const struct {
    const char* section;
    const char* key;
    const char* value;
  } expected[] = {
      {"Misc", "Current File", "C:\\WENDRIX\\WORK.WDX"},
      {"Misc", "Prog Dir", "C:\\WENDRIX"},
      {"Misc", "EMail Path", "C:\\Mail Folder\\LIST.TXT"},
      {"Misc", "Use Tray", "No"},
      {"Misc", "Start Editor", "Yes"},
      {"Misc", "Last File 3", "D:\\X Y\\Z.WDX"},
      {"Misc", "Last File 1", ""},
      {"Misc", "Activation Sort", "7654321"},
      {"Abbrekeys", "Case Sensative", "2"},
      {"Abbrekeys", "Prefix Keys", ";;"},
      {"Main Window", "Left", "-300"},
      {"Main Window", "Col 2 Width", "239"},
      {"Grid Title Font", "Color", "-16777201"},
      {"Grid Title Font", "Font Name", "Courier New"},
      {"Grid Title Font", "Bold", "Yes"},
      {"Grid Title Font", "Underline", "Yes"},
      {"Grid Title Font", "Italic", "No"},
      {"Print List Font", "Italic", "Yes"},
      {"Script Page", "Selected Commands", "5,163,"},
      {"Network", "Sync Minutes", "98"},
      {"Scheduler", "Timer Seconds", "60"},
      {"EMail", "SMTP Host", "mail.example.org"},
      {"EMail", "SMTP Port", "2525"},
      {"Floating Menu", "Left 15", "333"},
      {"Floating Menu", "Min 1", "Yes"},
  };
  for (const auto& e : expected) EXPECT_EQ(Raw(e.section, e.key), e.value) << e.section << " / " << e.key;

  // And Configs reads back the same record through the real functions ("Current File" is kept
  // only when that file exists).
  CreateDirectoryA(kProgramFolder, nullptr);
  std::ofstream("C:\\WENDRIX\\WORK.WDX").put('x');
  TSettingsRec back;
  Configs reader(files, back, kProgramFolder, filePaths);
  reader.SetScreenSize({1024, 768});
  reader.LoadAllSettings();
  reader.ReadFloatingMenuPlaces();
  EXPECT_TRUE(back == rec);
  std::remove("C:\\WENDRIX\\WORK.WDX");
  RemoveDirectoryA(kProgramFolder);
}

TEST_F(SettingsWin32Test, HandWrittenFileInWindowsFormatLoads) {
  // Sections and keys in other cases, blanks around "=", CR LF line ends, a comment line.
  std::ofstream(iniPath_, std::ios::binary) << "; written by hand\r\n"
                                               "[misc]\r\n"
                                               "use tray = yes\r\n"
                                               "Activation Sort=3214\r\n"
                                               "Last File 1=C:\\OLD\\ONE.WDX\r\n"
                                               "EMail Path=\r\n"
                                               "\r\n"
                                               "[ABBREKEYS]\r\n"
                                               "Case Sensative=Yes\r\n"
                                               "Prefix Keys=,;x\r\n"
                                               "[Main Window]\r\n"
                                               "Left=-700\r\n"
                                               "Width=100\r\n"
                                               "[Scheduler]\r\n"
                                               "Timer Seconds=75\r\n"
                                               "[Script Page]\r\n"
                                               "Selected Commands=5,12,abc,170,\r\n"
                                               "[Grid Font]\r\n"
                                               "Font Name=Tahoma\r\n"
                                               "Size=$E\r\n"
                                               "Bold=YES\r\n";
  TSettingsRec rec;
  Configs configs(files, rec, kProgramFolder, filePaths);
  configs.SetScreenSize({1024, 768});
  configs.LoadAllSettings();

  EXPECT_TRUE(rec.useTray);
  EXPECT_EQ(rec.activationSort, "3214567");
  EXPECT_EQ(rec.lastFiles[0], "C:\\OLD\\ONE.WDX");
  EXPECT_EQ(rec.emailPath, "C:\\WENDRIX\\WENDMAIL.TXT");
  EXPECT_EQ(rec.defaultCaseMode, 2);
  EXPECT_EQ(rec.prefixKeys, ",;");
  EXPECT_EQ(rec.mainWindow.left, 0);
  EXPECT_EQ(rec.mainWindow.width, 150);
  EXPECT_EQ(rec.mainWindow.height, 460);
  EXPECT_EQ(rec.timerSeconds, 10);
  EXPECT_EQ(rec.gridFont, (FontSpec{"Tahoma", 14, 0, true, false, false, false}));
  EXPECT_TRUE(rec.gridBold);
  for (std::size_t j = 0; j < rec.selectedCommands.size(); ++j)
    EXPECT_EQ(rec.selectedCommands[j], j == 4 || j == 11) << "command " << j + 1;
  EXPECT_EQ(rec.currentLibrary, "C:\\WENDRIX\\WENDX.WDX");
  EXPECT_TRUE(rec.startEditor);  // missing keys keep their defaults
}

}  // namespace
}  // namespace wdx
