#include "shared/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/memory/memory_platform.h"
#include "shared/text_util.h"

namespace wdx {
namespace {

constexpr char kProgramFolder[] = "C:\\WENDRIX";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : configs(mem.profile, rec, kProgramFolder, mem.files) {
    configs.SetScreenSize({1024, 768});
    std::filesystem::create_directories(mem.NativePath(kProgramFolder));
  }

  std::string IniPath() { return mem.NativePath("WENDX.INI"); }
  void WriteIni(const std::string& text) { std::ofstream(IniPath(), std::ios::binary) << text; }
  std::string ReadIni() {
    std::ifstream in(IniPath(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string Value(const std::string& section, const std::string& key) {
    return mem.profile.GetString("WENDX.INI", section, key, "<missing>", 2000);
  }

  platform::MemoryPlatform mem;
  TSettingsRec rec;
  Configs configs;
};

TEST_F(SettingsTest, EmptyFileGivesEveryDefault) {
  rec.timerSeconds = 33;  // something a reader must overwrite
  configs.LoadAllSettings();
  configs.ReadFloatingMenuPlaces();

  EXPECT_EQ(rec.emailPath, "C:\\WENDRIX\\WENDMAIL.TXT");
  EXPECT_EQ(rec.emailLogPath, "C:\\WENDRIX\\MAILLOG.TXT");
  EXPECT_EQ(rec.errorLogPath, "C:\\WENDRIX\\ERRORLOG.TXT");
  EXPECT_EQ(rec.currentLibrary, "C:\\WENDRIX\\WENDX.WDX");
  EXPECT_EQ(rec.programFolder, "C:\\WENDRIX");
  EXPECT_EQ(rec.systemMenu, 1);
  EXPECT_EQ(rec.primarySort, "123");
  EXPECT_EQ(rec.activationSort, "1234567");
  EXPECT_EQ(rec.scopeSort, "123456");
  EXPECT_EQ(rec.dateFormat, 0);
  EXPECT_EQ(rec.timeFormat, 0);
  // Misc flags in record order.
  const bool miscFlags[] = {rec.suppressZerosInDate, rec.suppressZerosInTime, rec.showDate,       rec.useTray,
                            rec.showRunningIcon,     rec.showRecordingIcon,   rec.startEditor,    rec.minimizeEditor,
                            rec.soundOff,            rec.autoHooks,           rec.defaultEditor,  rec.disableScreenSaver,
                            rec.firstUse,            rec.firstTime};
  const bool expectedMisc[] = {true, true, false, true, true, true, true, false, false, false, false, true, true, true};
  for (std::size_t i = 0; i < std::size(miscFlags); ++i) EXPECT_EQ(miscFlags[i], expectedMisc[i]) << "flag " << i;
  EXPECT_FALSE(rec.associationCreated);
  EXPECT_FALSE(rec.bypassWizard);
  EXPECT_TRUE(rec.sortHeader);
  for (const std::string& f : rec.lastFiles) EXPECT_EQ(f, "");
  EXPECT_EQ(rec.browserServer, "");
  EXPECT_EQ(rec.browserVersion, "");
  // Capture
  EXPECT_TRUE(rec.captureDoubleAlt && rec.captureKeys && rec.captureMouse && rec.captureTime && rec.capturePrompt &&
              rec.captureClicksOnly && rec.captureWindowSize && rec.captureGlobal);
  EXPECT_EQ(rec.captureRelative, 1);
  EXPECT_EQ(rec.captureSpeed, 1);
  // Abbrekeys
  EXPECT_FALSE(rec.solitaryUsage || rec.noRemove || rec.usePunctuation || rec.useSuffix);
  EXPECT_TRUE(rec.retypeSuffix);
  EXPECT_EQ(rec.defaultCaseMode, 3);
  EXPECT_EQ(rec.prefixKeys, "");
  // Main Window
  EXPECT_EQ(rec.mainWindow, (WindowPlace{620, 460, 0, 0}));
  EXPECT_FALSE(rec.mainWindowMaximized);
  EXPECT_EQ(rec.columnWidths, (std::array<std::int32_t, 4>{155, 155, 239, 138}));
  EXPECT_TRUE(rec.useSpeed && rec.showIcons);
  EXPECT_FALSE(rec.showCategory);
  // Fonts
  EXPECT_EQ(rec.gridTitleFont, (FontSpec{"Arial", 12, 0}));
  EXPECT_EQ(rec.gridFont, (FontSpec{"Arial", 10, 0}));
  EXPECT_EQ(rec.printListFont, (FontSpec{"Arial", 10, 0}));
  EXPECT_FALSE(rec.gridTitleBold || rec.gridBold || rec.printListBold || rec.printListItalic);
  // Script Page
  EXPECT_EQ(rec.scriptPage, (WindowPlace{606, 460, 0, 0}));
  EXPECT_EQ(rec.commandWizardLeft, 0);
  EXPECT_EQ(rec.insertMethod, 3);
  EXPECT_TRUE(rec.checkSyntax && rec.showAllCommands && rec.promptInCommandWizard);
  EXPECT_FALSE(rec.scriptPageMaximized || rec.testWindow);
  for (bool selected : rec.selectedCommands) EXPECT_TRUE(selected);
  // Network, Scheduler, EMail, Floating Menu
  EXPECT_FALSE(rec.networkMode);
  EXPECT_TRUE(rec.autoSync);
  EXPECT_EQ(rec.syncMinutes, 10);
  EXPECT_FALSE(rec.useWaveFile || rec.waveFileWait);
  EXPECT_EQ(rec.waveFile, "");
  EXPECT_EQ(rec.timerSeconds, 10);
  EXPECT_EQ(rec.smtpHost, "");
  EXPECT_EQ(rec.smtpPort, 25);
  EXPECT_EQ(rec.attachmentEncoding, 0);
  EXPECT_FALSE(rec.keepLog);
  for (int i = 0; i < kFloatingMenuCount; ++i) {
    EXPECT_EQ(rec.floatingLeft[static_cast<std::size_t>(i)], 0);
    EXPECT_FALSE(rec.floatingMinimised[static_cast<std::size_t>(i)]);
  }
  // Reading creates nothing.
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

// Every section written and read back alone gives exactly the values that were written: a field
// the writer forgets, a key spelt differently on the two sides, or a reader that touches
// another section's fields shows up as a difference.
struct SectionCase {
  const char* name;
  std::function<void(TSettingsRec&)> change;
  void (Configs::*write)();
  void (Configs::*read)();
};

TEST_F(SettingsTest, EverySectionRoundTripsAlone) {
  const std::string existingLibrary = std::string(kProgramFolder) + "\\OTHER.WDX";
  std::ofstream(mem.NativePath(existingLibrary)) << "";

  const SectionCase cases[] = {
      {"Misc",
       [](TSettingsRec& r) {
         r.emailPath = "D:\\MAIL\\LIST.TXT";
         r.emailLogPath = "D:\\MAIL\\LOG.TXT";
         r.errorLogPath = "D:\\ERR.TXT";
         r.systemMenu = 3;
         r.associationCreated = true;
         r.bypassWizard = true;
         r.sortHeader = false;
         r.primarySort = "321";
         r.activationSort = "7654321";
         r.scopeSort = "654321";
         r.dateFormat = 50;
         r.timeFormat = -2;
         r.suppressZerosInDate = false;
         r.showDate = true;
         r.useTray = false;
         r.minimizeEditor = true;
         r.soundOff = true;
         r.autoHooks = true;
         r.defaultEditor = true;
         r.firstTime = false;
         r.lastFiles = {"C:\\A.WDX", "", "C:\\C D\\E.WDX", "x", "C:\\Z.WDX"};
         r.browserServer = "srv";
         r.browserTypeLib = "{00000000-1111}";
         r.browserVersion = "5.00.2919.6307";
       },
       &Configs::WriteMiscSection, &Configs::ReadMiscSection},
      {"Current File", [&](TSettingsRec& r) { r.currentLibrary = existingLibrary; }, &Configs::WriteCurrentFile,
       &Configs::ReadCurrentFile},
      {"Capture",
       [](TSettingsRec& r) {
         r.captureDoubleAlt = false;
         r.captureMouse = false;
         r.capturePrompt = false;
         r.captureGlobal = false;
         r.captureRelative = 3;
         r.captureSpeed = 4;
       },
       &Configs::WriteCaptureSection, &Configs::ReadCaptureSection},
      {"Abbrekeys",
       [](TSettingsRec& r) {
         r.solitaryUsage = true;
         r.defaultCaseMode = 1;
         r.usePunctuation = true;
         r.retypeSuffix = false;
         r.noRemove = true;
         r.useSuffix = true;
         r.prefixKeys = ";;";
       },
       &Configs::WriteAbbrekeysSection, &Configs::ReadAbbrekeysSection},
      {"Main Window",
       [](TSettingsRec& r) {
         r.mainWindow = {800, 600, -300, 20};
         r.mainWindowMaximized = true;
         r.columnWidths = {1, 2, 3, 4};
         r.useSpeed = false;
         r.showIcons = false;
         r.showCategory = true;
       },
       &Configs::WriteMainWindowSection, &Configs::ReadMainWindowSection},
      {"Grid Title Font",
       [](TSettingsRec& r) {
         r.gridTitleFont = {"Courier New", 9, 0xFF00FF, true, false, true, false};
         r.gridTitleBold = r.gridTitleUnderline = true;
       },
       &Configs::WriteGridTitleFontSection, &Configs::ReadGridTitleFontSection},
      {"Grid Font",
       [](TSettingsRec& r) {
         r.gridFont = {"Tahoma", 14, -1, false, true, false, true};
         r.gridItalic = r.gridStrikeout = true;
       },
       &Configs::WriteGridFontSection, &Configs::ReadGridFontSection},
      {"Script Page",
       [](TSettingsRec& r) {
         r.scriptPage = {700, 500, 10, -100};
         r.scriptPageMaximized = true;
         r.insertMethod = 1;
         r.showAllCommands = false;
         r.promptInCommandWizard = false;
         r.commandWizardLeft = -199;
         r.commandWizardTop = 700;
         r.checkSyntax = false;
         r.testWindow = true;
         r.selectedCommands.fill(false);
         r.selectedCommands[0] = r.selectedCommands[99] = r.selectedCommands[162] = true;
       },
       &Configs::WriteScriptPageSection, &Configs::ReadScriptPageSection},
      {"Network",
       [](TSettingsRec& r) {
         r.networkMode = true;
         r.autoSync = false;
         r.syncMinutes = 98;
       },
       &Configs::WriteNetworkSection, &Configs::ReadNetworkSection},
      {"Print List Font",
       [](TSettingsRec& r) {
         r.printListFont = {"Times New Roman", 8, 255, true, true, false, false};
         r.printListBold = r.printListItalic = true;
       },
       &Configs::WritePrintListFontSection, &Configs::ReadPrintListFontSection},
      {"Scheduler",
       [](TSettingsRec& r) {
         r.useWaveFile = true;
         r.waveFileWait = true;
         r.waveFile = "C:\\WINDOWS\\MEDIA\\DING.WAV";
         r.timerSeconds = 60;
       },
       &Configs::WriteSchedulerSection, &Configs::ReadSchedulerSection},
      {"EMail",
       [](TSettingsRec& r) {
         r.smtpHost = "mail.example.org";
         r.smtpPort = 2525;
         r.emailName = "A. User";
         r.emailAddress = "a.user@example.org";
         r.attachmentEncoding = 1;
         r.keepLog = true;
       },
       &Configs::WriteEMailSection, &Configs::ReadEMailSection},
      {"Floating Menu",
       [](TSettingsRec& r) {
         for (std::size_t i = 0; i < kFloatingMenuCount; ++i) {
           r.floatingLeft[i] = static_cast<std::int32_t>(i * 10);
           r.floatingTop[i] = static_cast<std::int32_t>(700 - i);
           r.floatingMinimised[i] = i % 2 == 1;
         }
       },
       &Configs::WriteFloatingMenuPlaces, &Configs::ReadFloatingMenuPlaces},
  };

  for (const SectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(IniPath());
    TSettingsRec written;
    written.programFolder = kProgramFolder;
    c.change(written);
    Configs writer(mem.profile, written, kProgramFolder, mem.files);
    (writer.*c.write)();
    ASSERT_TRUE(std::filesystem::exists(IniPath()));

    TSettingsRec read;
    read.programFolder = kProgramFolder;
    Configs reader(mem.profile, read, kProgramFolder, mem.files);
    reader.SetScreenSize({1024, 768});
    (reader.*c.read)();
    EXPECT_TRUE(read == written);
  }
}

TEST_F(SettingsTest, SaveAllThenLoadAllGivesTheSameRecord) {
  rec.programFolder = kProgramFolder;
  rec.currentLibrary = "C:\\WENDRIX\\WENDX.WDX";
  rec.emailPath = "C:\\M.TXT";
  rec.emailLogPath = "C:\\L.TXT";
  rec.errorLogPath = "C:\\E.TXT";
  rec.timerSeconds = 5;
  rec.gridFont.bold = true;  // the writer takes the flag from the style
  configs.SaveAllSettings();
  EXPECT_TRUE(rec.gridBold);
  EXPECT_EQ(Value("Misc", "Prog Dir"), "C:\\WENDRIX");

  TSettingsRec back;
  Configs reader(mem.profile, back, kProgramFolder, mem.files);
  reader.LoadAllSettings();
  EXPECT_TRUE(back == rec);
}

// Values as the file may hold them, written by hand in Windows' format.
struct OddValue {
  const char* section;
  const char* key;
  const char* value;
  std::function<std::string(const TSettingsRec&)> field;
  const char* expected;
};

std::string S(std::int64_t v) { return std::to_string(v); }
std::string B(bool v) { return v ? "true" : "false"; }

TEST_F(SettingsTest, OddValuesFollowTheReadingRules) {
  static const std::string kLongHost(60, 'h');
  const OddValue cases[] = {
      {"Scheduler", "Timer Seconds", "0", [](auto& r) { return S(r.timerSeconds); }, "10"},
      {"Scheduler", "Timer Seconds", "75", [](auto& r) { return S(r.timerSeconds); }, "10"},
      {"Scheduler", "Timer Seconds", "60", [](auto& r) { return S(r.timerSeconds); }, "60"},
      {"Scheduler", "Timer Seconds", "1", [](auto& r) { return S(r.timerSeconds); }, "1"},
      {"Scheduler", "Timer Seconds", "-5", [](auto& r) { return S(r.timerSeconds); }, "10"},
      {"Scheduler", "Timer Seconds", "ten", [](auto& r) { return S(r.timerSeconds); }, "10"},
      {"Scheduler", "Timer Seconds", "99999", [](auto& r) { return S(r.timerSeconds); }, "10"},
      {"Misc", "Use Tray", "yes", [](auto& r) { return B(r.useTray); }, "true"},
      {"Misc", "Use Tray", "1", [](auto& r) { return B(r.useTray); }, "false"},
      {"Misc", "Use Tray", "", [](auto& r) { return B(r.useTray); }, "false"},
      {"Misc", "Show Date", "YES ", [](auto& r) { return B(r.showDate); }, "true"},
      {"Misc", "Activation Sort", "3214", [](auto& r) { return r.activationSort; }, "3214567"},
      {"Misc", "Activation Sort", "123", [](auto& r) { return r.activationSort; }, "1234567"},
      {"Misc", "Activation Sort", "123456", [](auto& r) { return r.activationSort; }, "1234567"},
      {"Misc", "Activation Sort", "1123456", [](auto& r) { return r.activationSort; }, "1723456"},
      {"Misc", "Activation Sort", "1112345", [](auto& r) { return r.activationSort; }, "1762345"},
      {"Misc", "Activation Sort", "12", [](auto& r) { return r.activationSort; }, "1234567"},
      {"Misc", "Activation Sort", "12x4567", [](auto& r) { return r.activationSort; }, "1234567"},
      {"Misc", "Activation Sort", "765432199", [](auto& r) { return r.activationSort; }, "7654321"},
      {"Misc", "Scope Sort", "54321", [](auto& r) { return r.scopeSort; }, "543216"},
      {"Misc", "Scope Sort", "", [](auto& r) { return r.scopeSort; }, "123456"},
      {"Misc", "Scope Sort", "223456", [](auto& r) { return r.scopeSort; }, "213456"},
      {"Misc", "Primary Sort", "98765", [](auto& r) { return r.primarySort; }, "987"},
      {"Misc", "System Menu", "$10", [](auto& r) { return S(r.systemMenu); }, "16"},
      {"Misc", "System Menu", "0x1F", [](auto& r) { return S(r.systemMenu); }, "31"},
      {"Misc", "System Menu", "  42abc", [](auto& r) { return S(r.systemMenu); }, "42"},
      {"Misc", "System Menu", "-7", [](auto& r) { return S(r.systemMenu); }, "-7"},
      {"Misc", "System Menu", "99999999999", [](auto& r) { return S(r.systemMenu); }, "2147483647"},
      {"Misc", "Current File", "C:\\NOWHERE\\GONE.WDX", [](auto& r) { return r.currentLibrary; },
       "C:\\WENDRIX\\WENDX.WDX"},
      {"Misc", "IE5 Version", "123456789012345678901234", [](auto& r) { return r.browserVersion; },
       "1234567890123456789"},
      {"Abbrekeys", "Case Sensative", "Yes", [](auto& r) { return S(r.defaultCaseMode); }, "2"},
      {"Abbrekeys", "Case Sensative", "yes", [](auto& r) { return S(r.defaultCaseMode); }, "3"},
      {"Abbrekeys", "Case Sensative", "No", [](auto& r) { return S(r.defaultCaseMode); }, "3"},
      {"Abbrekeys", "Case Sensative", "1", [](auto& r) { return S(r.defaultCaseMode); }, "1"},
      {"Abbrekeys", "Case Sensative", "0", [](auto& r) { return S(r.defaultCaseMode); }, "3"},
      {"Abbrekeys", "Prefix Keys", "abc", [](auto& r) { return r.prefixKeys; }, "ab"},
      {"Main Window", "Left", "-700", [](auto& r) { return S(r.mainWindow.left); }, "0"},
      {"Main Window", "Left", "-300", [](auto& r) { return S(r.mainWindow.left); }, "-300"},
      {"Main Window", "Left", "-620", [](auto& r) { return S(r.mainWindow.left); }, "0"},
      {"Main Window", "Left", "1024", [](auto& r) { return S(r.mainWindow.left); }, "0"},
      {"Main Window", "Left", "1023", [](auto& r) { return S(r.mainWindow.left); }, "1023"},
      {"Main Window", "Top", "-460", [](auto& r) { return S(r.mainWindow.top); }, "0"},
      {"Main Window", "Top", "768", [](auto& r) { return S(r.mainWindow.top); }, "0"},
      {"Main Window", "Width", "100", [](auto& r) { return S(r.mainWindow.width); }, "150"},
      {"Main Window", "Height", "-3", [](auto& r) { return S(r.mainWindow.height); }, "150"},
      {"Script Page", "Command Wizard Left", "-200", [](auto& r) { return S(r.commandWizardLeft); }, "0"},
      {"Script Page", "Command Wizard Left", "-199", [](auto& r) { return S(r.commandWizardLeft); }, "-199"},
      {"Script Page", "Command Wizard Top", "768", [](auto& r) { return S(r.commandWizardTop); }, "0"},
      {"Script Page", "Width", "149", [](auto& r) { return S(r.scriptPage.width); }, "150"},
      {"Script Page", "Selected Commands", "5,12,abc,170,",
       [](auto& r) {
         std::string on;
         for (std::size_t j = 0; j < r.selectedCommands.size(); ++j)
           if (r.selectedCommands[j]) on += S(static_cast<std::int64_t>(j + 1)) + ",";
         return on;
       },
       "5,12,"},
      {"Script Page", "Selected Commands", "7,8", [](auto& r) { return S(r.selectedCommands[6]) + S(r.selectedCommands[7]); },
       "10"},
      {"EMail", "SMTP Host", kLongHost.c_str(), [](auto& r) { return S(static_cast<std::int64_t>(r.smtpHost.size())); },
       "50"},
      {"Floating Menu", "Left 3", "-1", [](auto& r) { return S(r.floatingLeft[2]); }, "0"},
      {"Floating Menu", "Left 3", "1025", [](auto& r) { return S(r.floatingLeft[2]); }, "0"},
      {"Floating Menu", "Left 3", "1024", [](auto& r) { return S(r.floatingLeft[2]); }, "1024"},
      {"Floating Menu", "Top 15", "769", [](auto& r) { return S(r.floatingTop[14]); }, "0"},
  };
  for (const OddValue& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " / " + c.key + " = '" + c.value + "'");
    WriteIni("[" + std::string(c.section) + "]\r\n" + c.key + "=" + c.value + "\r\n");
    TSettingsRec r;
    Configs reader(mem.profile, r, kProgramFolder, mem.files);
    reader.SetScreenSize({1024, 768});
    reader.LoadAllSettings();
    reader.ReadFloatingMenuPlaces();
    EXPECT_EQ(c.field(r), c.expected);
  }
}

TEST_F(SettingsTest, FontStyleFollowsTheFileOnReread) {
  WriteIni("[Grid Font]\r\nBold=Yes\r\nItalic=Yes\r\n[Print List Font]\r\nBold=Yes\r\nUnderline=Yes\r\n");
  configs.ReadGridFontSection();
  configs.ReadPrintListFontSection();
  EXPECT_TRUE(rec.gridFont.bold && rec.gridFont.italic && rec.gridBold);
  // The print list font knows only bold and italic.
  EXPECT_TRUE(rec.printListFont.bold);
  EXPECT_FALSE(rec.printListFont.underline);

  WriteIni("[Grid Font]\r\nBold=No\r\nItalic=Yes\r\n");
  configs.ReadGridFontSection();
  EXPECT_FALSE(rec.gridFont.bold);
  EXPECT_FALSE(rec.gridBold);
  EXPECT_TRUE(rec.gridFont.italic);
}

TEST_F(SettingsTest, NoIniLeavesTheFileAlone) {
  WriteIni("[Misc]\r\nUse Tray=No\r\n");
  const std::string before = ReadIni();
  configs.SetWritingAllowed(false);
  configs.LoadAllSettings();  // readers still read
  EXPECT_FALSE(rec.useTray);
  rec.useTray = true;
  configs.SaveAllSettings();
  configs.WriteFloatingMenuPlaces();
  EXPECT_EQ(ReadIni(), before);
}

TEST_F(SettingsTest, KeysAreWrittenWithTheirOwnSpellingAndPlainNumbers) {
  rec.defaultCaseMode = 2;
  rec.gridTitleFont.color = -16777201;
  rec.selectedCommands.fill(false);
  configs.WriteAbbrekeysSection();
  configs.WriteGridTitleFontSection();
  configs.WriteScriptPageSection();
  EXPECT_EQ(Value("Abbrekeys", "Case Sensative"), "2");
  EXPECT_EQ(Value("Abbrekeys", "Retype Suffix"), "Yes");
  EXPECT_EQ(Value("Abbrekeys", "No Remove"), "No");
  EXPECT_EQ(Value("Grid Title Font", "Color"), "-16777201");
  EXPECT_EQ(Value("Grid Title Font", "Strikeout"), "No");
  EXPECT_EQ(Value("Script Page", "Selected Commands"), "");
}

TEST(SettingsHelpers, UpperValueIsYesYesNoText) {
  EXPECT_EQ(UpperValue("yes please", 3), "YES");
  EXPECT_TRUE(IsYes("YES"));
  EXPECT_FALSE(IsYes("Yes"));
  EXPECT_FALSE(IsYes("YES "));
  EXPECT_STREQ(YesNoText(true), "Yes");
  EXPECT_STREQ(YesNoText(false), "No");
  EXPECT_EQ(ProfileNumber(""), 0);
  EXPECT_EQ(ProfileNumber("-$10"), -16);
  EXPECT_EQ(ProfileNumber("$FFFFFFFF"), -1);
  EXPECT_EQ(ProfileNumber("-99999999999"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ProfileNumber("+12-3"), 12);
}

}  // namespace
}  // namespace wdx
