// The settings record and its file, WENDX.INI. Both programs load and save it section by
// section through the platform's private-profile facility; the file is named bare, so it lies
// in the Windows folder. The record also carries the per-macro tables that the library loader
// fills (see macro_library.h).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/profile_files.h"

namespace wdx {

inline constexpr char kSettingsFileName[] = "WENDX.INI";
inline constexpr int kCommandTypeCount = 163;
inline constexpr int kFloatingMenuCount = 15;
inline constexpr int kMacroSlots = 500;  // per-macro tables hold macro numbers 1..500

// The picture of one macro, as resolved from its icon file name: a built-in picture or a file
// in the Icons folder of the program folder (which the program's view loads).
struct MacroIcon {
  enum class Kind : std::uint8_t { Main, Menu, File };
  Kind kind = Kind::Main;
  std::string file;  // the full path, for Kind::File
  bool operator==(const MacroIcon&) const = default;
};

struct FontSpec {
  std::string name = "Arial";
  std::int32_t size = 10;
  std::int32_t color = 0;
  bool bold = false, italic = false, underline = false, strikeout = false;
  bool operator==(const FontSpec&) const = default;
};

struct WindowPlace {
  std::int32_t width = 0, height = 0, left = 0, top = 0;
  bool operator==(const WindowPlace&) const = default;
};

struct TSettingsRec {
  // [Misc]
  std::int32_t dateFormat = 0;  // "Last Date Format"
  std::int32_t timeFormat = 0;  // "Last Time Format"
  bool suppressZerosInDate = true, suppressZerosInTime = true, showDate = false, useTray = true,
       showRunningIcon = true, showRecordingIcon = true, startEditor = true, minimizeEditor = false,
       soundOff = false, autoHooks = false, defaultEditor = false, disableScreenSaver = true, firstUse = true,
       firstTime = true;
  std::string emailPath, emailLogPath, errorLogPath;  // string[255]
  std::string programFolder;                          // string[255], written as "Prog Dir"
  bool keepLog = false;                               // [EMail] "Keep Log"
  bool associationCreated = false;                    // [Misc] "File Association Created"
  bool networkMode = false, autoSync = true;          // [Network]
  std::uint16_t syncMinutes = 10;                     // [Network]
  bool bypassWizard = false;                          // [Misc] "Bypass Wizard Screen"
  bool useWaveFile = false, waveFileWait = false;     // [Scheduler]
  std::string waveFile;                               // [Scheduler] string[255]
  std::int16_t timerSeconds = 10;                     // [Scheduler]
  std::string currentLibrary;                         // [Misc] "Current File"
  std::array<std::string, 5> lastFiles;               // [Misc] "Last File 1".."Last File 5"
  bool sortHeader = true;
  std::string primarySort = "123";                    // string[3]
  std::string activationSort = "1234567";             // string[7]
  std::string scopeSort = "123456";                   // string[6]
  FontSpec printListFont;                             // [Print List Font]
  bool printListBold = false, printListItalic = false;
  WindowPlace mainWindow{620, 460, 0, 0};             // [Main Window]
  bool mainWindowMaximized = false;
  std::array<std::int32_t, 4> columnWidths{155, 155, 239, 138};  // Category, Col 1..3
  bool useSpeed = true, showIcons = true, showCategory = false;
  WindowPlace scriptPage{606, 460, 0, 0};             // [Script Page]
  bool scriptPageMaximized = false;
  std::int32_t insertMethod = 3;
  bool showAllCommands = true, promptInCommandWizard = true;
  std::int32_t commandWizardLeft = 0, commandWizardTop = 0;
  bool checkSyntax = true, testWindow = false;

  // Per-macro tables, index = macro number (slot 0 unused); filled by the library loader.
  std::array<std::string, kMacroSlots + 1> nicknames;   // string[50]
  std::array<std::string, kMacroSlots + 1> abbrekeys;   // string[10]
  std::array<MacroIcon, kMacroSlots + 1> icons;
  std::array<std::int32_t, kMacroSlots + 1> categories{};
  std::array<std::int16_t, kMacroSlots + 1> caseModes{};
  std::array<std::int16_t, kMacroSlots + 1> removals{};

  FontSpec gridTitleFont{"Arial", 12};                 // [Grid Title Font]
  bool gridTitleBold = false, gridTitleItalic = false, gridTitleUnderline = false, gridTitleStrikeout = false;
  FontSpec gridFont{"Arial", 10};                      // [Grid Font]
  bool gridBold = false, gridItalic = false, gridUnderline = false, gridStrikeout = false;
  // [Capture]
  bool captureDoubleAlt = true, captureKeys = true, captureMouse = true, captureTime = true, capturePrompt = true;
  std::int32_t captureRelative = 1;
  bool captureClicksOnly = true, captureWindowSize = true, captureGlobal = true;
  std::int32_t captureSpeed = 1;
  // [EMail]
  std::string smtpHost;  // string[50]
  std::int32_t smtpPort = 25;
  std::string emailName, emailAddress;  // string[50]
  std::int32_t attachmentEncoding = 0;
  std::int32_t systemMenu = 1;  // [Misc] "System Menu"
  // [Abbrekeys]
  bool solitaryUsage = false;
  std::int32_t defaultCaseMode = 3;  // "Case Sensative"
  bool usePunctuation = false, retypeSuffix = true, noRemove = false, useSuffix = false;
  std::string prefixKeys;  // string[2]
  // [Misc] browser values saved before the browser fix
  std::string browserServer, browserTypeLib;  // string[255]
  std::string browserVersion;                 // string[20]
  // [Floating Menu], player only
  std::array<std::int32_t, kFloatingMenuCount> floatingLeft{}, floatingTop{};
  std::array<bool, kFloatingMenuCount> floatingMinimised{};
  // [Script Page] "Selected Commands": index j - 1 for command type j
  std::array<bool, kCommandTypeCount> selectedCommands{};

  TSettingsRec();
  bool operator==(const TSettingsRec&) const = default;
};

// The text helpers of the settings file.
// Copies at most maxLen characters of text and upper-cases them.
std::string UpperValue(std::string_view text, std::size_t maxLen);
// True exactly when the text is "YES".
bool IsYes(std::string_view text);
const char* YesNoText(bool value);
// Completes a sort-order key to length n (only keys n - 4 .. n - 1 long) and makes it a
// permutation of the digits 1..n. A key that cannot be completed gets the full default.
std::string RepairSortOrder(std::string_view key, int n);

class Configs {
 public:
  struct ScreenSize {
    std::int32_t width = 1024;
    std::int32_t height = 768;
  };

  // programFolder: the folder of the program, without a trailing "\". `filePaths` tells where
  // the stored file paths lie ("Current File"), as the library opens them.
  Configs(platform::ProfileFiles& files, TSettingsRec& rec, std::string programFolder, platform::Files& filePaths);

  void SetScreenSize(ScreenSize size) { screen_ = size; }
  // The /NOINI switch: every writer returns without writing; readers still read.
  void SetWritingAllowed(bool allowed) { writingAllowed_ = allowed; }
  bool WritingAllowed() const { return writingAllowed_; }
  const std::string& ProgramFolder() const { return programFolder_; }

  void ReadMiscSection();
  void ReadCurrentFile();
  void ReadCaptureSection();
  void ReadAbbrekeysSection();
  void ReadMainWindowSection();
  void ReadGridTitleFontSection();
  void ReadGridFontSection();
  void ReadScriptPageSection();
  void ReadNetworkSection();
  void ReadPrintListFontSection();
  void ReadSchedulerSection();
  void ReadEMailSection();
  void ReadFloatingMenuPlaces();

  void WriteMiscSection();
  void WriteCurrentFile();
  void WriteCaptureSection();
  void WriteAbbrekeysSection();
  void WriteGridTitleFontSection();
  void WriteGridFontSection();
  void WriteMainWindowSection();
  void WriteScriptPageSection();
  void WriteNetworkSection();
  void WritePrintListFontSection();
  void WriteSchedulerSection();
  void WriteEMailSection();
  void WriteFloatingMenuPlaces();

  void LoadAllSettings();
  void SaveAllSettings();

 private:
  std::string Text(const char* section, const std::string& key, const std::string& def, std::size_t buffer);
  bool YesNo(const char* section, const std::string& key, bool def);
  std::int32_t Number(const char* section, const std::string& key, std::int32_t def);
  void Put(const char* section, const std::string& key, const std::string& value);
  void PutYesNo(const char* section, const std::string& key, bool value);
  void PutNumber(const char* section, const std::string& key, std::int64_t value);
  void ReadFont(const char* section, std::int32_t defSize, FontSpec& font, bool* styleFlags[], int flagCount);
  void WriteFont(const char* section, const FontSpec& font, bool* styleFlags[], int flagCount);
  void ReadPlace(const char* section, WindowPlace& place, std::int32_t defWidth, std::int32_t defHeight);
  void WritePlace(const char* section, const WindowPlace& place);

  platform::ProfileFiles& files_;
  platform::Files& filePaths_;
  TSettingsRec& rec_;
  std::string programFolder_;
  ScreenSize screen_;
  bool writingAllowed_ = true;
};

}  // namespace wdx
