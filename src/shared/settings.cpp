#include "shared/settings.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "shared/text_util.h"

namespace wdx {

namespace {

// Sections.
constexpr char kMisc[] = "Misc";
constexpr char kCapture[] = "Capture";
constexpr char kAbbrekeys[] = "Abbrekeys";
constexpr char kMainWindow[] = "Main Window";
constexpr char kGridTitleFont[] = "Grid Title Font";
constexpr char kGridFont[] = "Grid Font";
constexpr char kScriptPage[] = "Script Page";
constexpr char kNetwork[] = "Network";
constexpr char kPrintListFont[] = "Print List Font";
constexpr char kScheduler[] = "Scheduler";
constexpr char kEMail[] = "EMail";
constexpr char kFloatingMenu[] = "Floating Menu";

// Read buffer sizes: a value is cut to one character less.
constexpr std::size_t kFlagBuffer = 15;
constexpr std::size_t kPathBuffer = 250;
constexpr std::size_t kLongBuffer = 255;
constexpr std::size_t kFontBuffer = 150;
constexpr std::size_t kCommandsBuffer = 1500;

constexpr std::int32_t kMinWindowSize = 150;

std::string Cut(std::string s, std::size_t maxLen) {
  if (s.size() > maxLen) s.resize(maxLen);
  return s;
}

std::string AllCommandsList() {
  std::string list;
  for (int j = 1; j <= kCommandTypeCount; ++j) list += std::to_string(j) + ",";
  return list;
}

// The [Misc] Yes/No flags in the record's order, with their defaults.
struct MiscFlag {
  const char* key;
  bool TSettingsRec::*field;
  bool def;
};
constexpr MiscFlag kMiscFlags[] = {
    {"Suppress Zeros In Date", &TSettingsRec::suppressZerosInDate, true},
    {"Suppress Zeros In Time", &TSettingsRec::suppressZerosInTime, true},
    {"Show Date", &TSettingsRec::showDate, false},
    {"Use Tray", &TSettingsRec::useTray, true},
    {"Show Running Icon", &TSettingsRec::showRunningIcon, true},
    {"Show Recording Icon", &TSettingsRec::showRecordingIcon, true},
    {"Start Editor", &TSettingsRec::startEditor, true},
    {"Minimize Editor", &TSettingsRec::minimizeEditor, false},
    {"Default Editor", &TSettingsRec::defaultEditor, false},
    {"Auto Hooks", &TSettingsRec::autoHooks, false},
    {"Sound Off", &TSettingsRec::soundOff, false},
    {"Disable Screen Saver", &TSettingsRec::disableScreenSaver, true},
    {"First Use", &TSettingsRec::firstUse, true},
    {"First Time", &TSettingsRec::firstTime, true},
};

constexpr MiscFlag kCaptureFlags[] = {
    {"Double Alt", &TSettingsRec::captureDoubleAlt, true}, {"Keys", &TSettingsRec::captureKeys, true},
    {"Mouse", &TSettingsRec::captureMouse, true},          {"Time", &TSettingsRec::captureTime, true},
    {"Clicks Only", &TSettingsRec::captureClicksOnly, true}, {"Prompt", &TSettingsRec::capturePrompt, true},
    {"Window Size", &TSettingsRec::captureWindowSize, true}, {"Global", &TSettingsRec::captureGlobal, true},
};

}  // namespace

TSettingsRec::TSettingsRec() { selectedCommands.fill(true); }

std::string UpperValue(std::string_view text, std::size_t maxLen) {
  // Single-byte text: upper-case the ASCII letters, as the file's readers always have.
  return UpperAscii(text.substr(0, std::min(maxLen, text.size())));
}

bool IsYes(std::string_view text) { return text == "YES"; }

const char* YesNoText(bool value) { return value ? "Yes" : "No"; }

std::string RepairSortOrder(std::string_view key, int n) {
  static const std::string kDigits = "123456789";
  const std::string full = kDigits.substr(0, static_cast<std::size_t>(n));
  std::string s(key.substr(0, std::min(key.size(), full.size())));
  // A key a few digits short is completed from the default's tail.
  if (s.size() + 4 >= full.size() && s.size() < full.size()) s += full.substr(s.size());
  if (s.size() != full.size()) return full;
  auto count = [&](char d) { return std::count(s.begin(), s.end(), d); };
  for (char missing : full) {
    if (count(missing) > 0) continue;
    // Prefer a character that is no digit of the order at all, then the smallest repeated
    // digit; its later occurrence yields, so the user's first choice keeps its place.
    std::size_t at = s.find_first_not_of(full);
    if (at == std::string::npos) {
      for (char d : full) {
        if (count(d) > 1) {
          at = s.rfind(d);
          break;
        }
      }
    }
    if (at == std::string::npos) return full;
    s[at] = missing;
  }
  return s;
}

Configs::Configs(platform::ProfileFiles& files, TSettingsRec& rec, std::string programFolder,
                 platform::Files& filePaths)
    : files_(files), filePaths_(filePaths), rec_(rec), programFolder_(std::move(programFolder)) {}

std::string Configs::Text(const char* section, const std::string& key, const std::string& def, std::size_t buffer) {
  return files_.GetString(kSettingsFileName, section, key, def, buffer);
}

bool Configs::YesNo(const char* section, const std::string& key, bool def) {
  return IsYes(UpperValue(Text(section, key, YesNoText(def), kFlagBuffer), 255));
}

std::int32_t Configs::Number(const char* section, const std::string& key, std::int32_t def) {
  return ProfileNumber(Text(section, key, std::to_string(def), kFlagBuffer));
}

void Configs::Put(const char* section, const std::string& key, const std::string& value) {
  files_.WriteString(kSettingsFileName, section, key, value);
}

void Configs::PutYesNo(const char* section, const std::string& key, bool value) {
  Put(section, key, YesNoText(value));
}

void Configs::PutNumber(const char* section, const std::string& key, std::int64_t value) {
  Put(section, key, std::to_string(value));
}

// ---- readers ----

void Configs::ReadMiscSection() {
  auto pathOr = [&](const char* key, const char* fileName) {
    std::string v = Text(kMisc, key, "", kPathBuffer);
    return v.empty() ? programFolder_ + "\\" + fileName : v;
  };
  rec_.emailPath = pathOr("EMail Path", "WENDMAIL.TXT");
  rec_.emailLogPath = pathOr("EMail Log Path", "MAILLOG.TXT");
  rec_.errorLogPath = pathOr("Error Log Path", "ERRORLOG.TXT");
  rec_.systemMenu = Number(kMisc, "System Menu", 1);
  rec_.associationCreated = YesNo(kMisc, "File Association Created", false);
  rec_.bypassWizard = YesNo(kMisc, "Bypass Wizard Screen", false);
  rec_.sortHeader = YesNo(kMisc, "Sort Header", true);
  rec_.primarySort = Cut(Text(kMisc, "Primary Sort", "123", kFlagBuffer), 3);
  rec_.activationSort = RepairSortOrder(Text(kMisc, "Activation Sort", "12345", kFlagBuffer), 7);
  rec_.scopeSort = RepairSortOrder(Text(kMisc, "Scope Sort", "123456", kFlagBuffer), 6);
  rec_.dateFormat = Number(kMisc, "Last Date Format", 0);
  rec_.timeFormat = Number(kMisc, "Last Time Format", 0);
  for (const MiscFlag& f : kMiscFlags) rec_.*f.field = YesNo(kMisc, f.key, f.def);
  for (std::size_t k = 0; k < rec_.lastFiles.size(); ++k)
    rec_.lastFiles[k] = Text(kMisc, "Last File " + std::to_string(k + 1), "", kLongBuffer);
  rec_.browserServer = Text(kMisc, "IE5 Server", "", kLongBuffer);
  rec_.browserTypeLib = Text(kMisc, "IE5 TypeLib", "", kLongBuffer);
  rec_.browserVersion = Text(kMisc, "IE5 Version", "", 20);
}

void Configs::ReadCurrentFile() {
  std::string v = Text(kMisc, "Current File", "", kPathBuffer);
  std::error_code ec;
  const bool exists = !v.empty() && std::filesystem::is_regular_file(filePaths_.NativePath(v), ec);
  rec_.currentLibrary = exists ? v : programFolder_ + "\\WENDX.WDX";
  rec_.programFolder = programFolder_;
}

void Configs::ReadCaptureSection() {
  for (const MiscFlag& f : kCaptureFlags) rec_.*f.field = YesNo(kCapture, f.key, f.def);
  rec_.captureRelative = Number(kCapture, "Relative To Screen", 1);
  rec_.captureSpeed = Number(kCapture, "Speed", 1);
}

void Configs::ReadAbbrekeysSection() {
  rec_.solitaryUsage = YesNo(kAbbrekeys, "Solitary Usage", false);
  std::string caseText = Text(kAbbrekeys, "Case Sensative", "3", kFlagBuffer);
  if (caseText == "Yes") {
    rec_.defaultCaseMode = 2;
  } else {
    std::int32_t v = ProfileNumber(caseText);
    rec_.defaultCaseMode = v == 0 ? 3 : v;
  }
  rec_.noRemove = YesNo(kAbbrekeys, "No Remove", false);
  rec_.usePunctuation = YesNo(kAbbrekeys, "Use Punctuation", false);
  rec_.retypeSuffix = YesNo(kAbbrekeys, "Retype Suffix", true);
  rec_.useSuffix = YesNo(kAbbrekeys, "Use Suffix", false);
  rec_.prefixKeys = Cut(Text(kAbbrekeys, "Prefix Keys", "", kPathBuffer), 2);
}

void Configs::ReadPlace(const char* section, WindowPlace& place, std::int32_t defWidth, std::int32_t defHeight) {
  place.width = std::max(Number(section, "Width", defWidth), kMinWindowSize);
  place.height = std::max(Number(section, "Height", defHeight), kMinWindowSize);
  // A window wholly off the left or top edge, or beyond the screen, comes back to 0.
  place.left = Number(section, "Left", 0);
  if (std::int64_t{place.left} + place.width <= 0 || place.left >= screen_.width) place.left = 0;
  place.top = Number(section, "Top", 0);
  if (std::int64_t{place.top} + place.height <= 0 || place.top >= screen_.height) place.top = 0;
}

void Configs::ReadMainWindowSection() {
  ReadPlace(kMainWindow, rec_.mainWindow, 620, 460);
  rec_.mainWindowMaximized = YesNo(kMainWindow, "Maximized", false);
  rec_.columnWidths[0] = Number(kMainWindow, "Category Width", 155);
  rec_.columnWidths[1] = Number(kMainWindow, "Col 1 Width", 155);
  rec_.columnWidths[2] = Number(kMainWindow, "Col 2 Width", 239);
  rec_.columnWidths[3] = Number(kMainWindow, "Col 3 Width", 138);
  rec_.useSpeed = YesNo(kMainWindow, "Use Speed", true);
  rec_.showIcons = YesNo(kMainWindow, "Show Icons", true);
  rec_.showCategory = YesNo(kMainWindow, "Show Category", false);
}

// The style becomes exactly the flags read, so a flag turned off in the file clears it.
void Configs::ReadFont(const char* section, std::int32_t defSize, FontSpec& font, bool* styleFlags[],
                       int flagCount) {
  static const char* const kStyleKeys[] = {"Bold", "Italic", "Underline", "Strikeout"};
  font.color = ProfileNumber(Text(section, "Color", "0", kFontBuffer));
  font.name = Text(section, "Font Name", "Arial", kFontBuffer);
  font.size = ProfileNumber(Text(section, "Size", std::to_string(defSize), kFontBuffer));
  bool* styles[] = {&font.bold, &font.italic, &font.underline, &font.strikeout};
  for (int k = 0; k < 4; ++k) *styles[k] = false;
  for (int k = 0; k < flagCount; ++k) {
    *styleFlags[k] = YesNo(section, kStyleKeys[k], false);
    *styles[k] = *styleFlags[k];
  }
}

void Configs::ReadGridTitleFontSection() {
  bool* flags[] = {&rec_.gridTitleBold, &rec_.gridTitleItalic, &rec_.gridTitleUnderline, &rec_.gridTitleStrikeout};
  ReadFont(kGridTitleFont, 12, rec_.gridTitleFont, flags, 4);
}

void Configs::ReadGridFontSection() {
  bool* flags[] = {&rec_.gridBold, &rec_.gridItalic, &rec_.gridUnderline, &rec_.gridStrikeout};
  ReadFont(kGridFont, 10, rec_.gridFont, flags, 4);
}

void Configs::ReadScriptPageSection() {
  ReadPlace(kScriptPage, rec_.scriptPage, 606, 460);
  auto wizardPlace = [&](const char* key, std::int32_t screenSize) {
    std::int32_t v = Number(kScriptPage, key, 0);
    return (v <= -200 || v >= screenSize) ? 0 : v;
  };
  rec_.commandWizardLeft = wizardPlace("Command Wizard Left", screen_.width);
  rec_.commandWizardTop = wizardPlace("Command Wizard Top", screen_.height);
  rec_.scriptPageMaximized = YesNo(kScriptPage, "Maximized", false);
  rec_.testWindow = YesNo(kScriptPage, "Test Window", false);
  rec_.checkSyntax = YesNo(kScriptPage, "Check Syntax", true);
  rec_.insertMethod = Number(kScriptPage, "Insert Method", 3);
  rec_.showAllCommands = YesNo(kScriptPage, "Show All Commands", true);
  rec_.promptInCommandWizard = YesNo(kScriptPage, "Prompt In Command Wizard", true);

  rec_.selectedCommands.fill(false);
  std::string list = Text(kScriptPage, "Selected Commands", AllCommandsList(), kCommandsBuffer);
  for (std::size_t comma; (comma = list.find(',')) != std::string::npos; list.erase(0, comma + 1)) {
    std::int32_t j = ProfileNumber(std::string_view(list).substr(0, comma));
    if (j >= 1 && j <= kCommandTypeCount) rec_.selectedCommands[static_cast<std::size_t>(j - 1)] = true;
  }
}

void Configs::ReadNetworkSection() {
  rec_.networkMode = YesNo(kNetwork, "Network Mode", false);
  rec_.autoSync = YesNo(kNetwork, "Auto Sync", true);
  rec_.syncMinutes = static_cast<std::uint16_t>(Number(kNetwork, "Sync Minutes", 10));
}

void Configs::ReadPrintListFontSection() {
  bool* flags[] = {&rec_.printListBold, &rec_.printListItalic};
  ReadFont(kPrintListFont, 10, rec_.printListFont, flags, 2);
}

void Configs::ReadSchedulerSection() {
  rec_.useWaveFile = YesNo(kScheduler, "Use Wave File", false);
  rec_.waveFileWait = YesNo(kScheduler, "Wave File Wait", false);
  rec_.waveFile = Text(kScheduler, "Wave File", "", kPathBuffer);
  // The scheduler's tick: a value of no seconds, negative or beyond a minute gets the default.
  std::int32_t seconds = Number(kScheduler, "Timer Seconds", 10);
  rec_.timerSeconds = static_cast<std::int16_t>(seconds <= 0 || seconds > 60 ? 10 : seconds);
}

void Configs::ReadEMailSection() {
  rec_.smtpHost = Cut(Text(kEMail, "SMTP Host", "", kPathBuffer), 50);
  rec_.emailName = Cut(Text(kEMail, "EMail Name", "", kPathBuffer), 50);
  rec_.emailAddress = Cut(Text(kEMail, "EMail Address", "", kPathBuffer), 50);
  rec_.smtpPort = Number(kEMail, "SMTP Port", 25);
  rec_.attachmentEncoding = Number(kEMail, "Attachment Encoding", 0);
  rec_.keepLog = YesNo(kEMail, "Keep Log", false);
}

void Configs::ReadFloatingMenuPlaces() {
  for (int i = 0; i < kFloatingMenuCount; ++i) {
    std::string n = std::to_string(i + 1);
    std::int32_t left = Number(kFloatingMenu, "Left " + n, 0);
    std::int32_t top = Number(kFloatingMenu, "Top " + n, 0);
    rec_.floatingLeft[static_cast<std::size_t>(i)] = (left < 0 || left > screen_.width) ? 0 : left;
    rec_.floatingTop[static_cast<std::size_t>(i)] = (top < 0 || top > screen_.height) ? 0 : top;
    rec_.floatingMinimised[static_cast<std::size_t>(i)] = YesNo(kFloatingMenu, "Min " + n, false);
  }
}

// ---- writers ----

void Configs::WriteMiscSection() {
  if (!writingAllowed_) return;
  Put(kMisc, "EMail Path", rec_.emailPath);
  Put(kMisc, "EMail Log Path", rec_.emailLogPath);
  Put(kMisc, "Error Log Path", rec_.errorLogPath);
  PutNumber(kMisc, "System Menu", rec_.systemMenu);
  PutYesNo(kMisc, "File Association Created", rec_.associationCreated);
  PutYesNo(kMisc, "Bypass Wizard Screen", rec_.bypassWizard);
  PutYesNo(kMisc, "Sort Header", rec_.sortHeader);
  Put(kMisc, "Primary Sort", rec_.primarySort);
  Put(kMisc, "Activation Sort", rec_.activationSort);
  Put(kMisc, "Scope Sort", rec_.scopeSort);
  PutNumber(kMisc, "Last Date Format", rec_.dateFormat);
  PutNumber(kMisc, "Last Time Format", rec_.timeFormat);
  for (const MiscFlag& f : kMiscFlags) PutYesNo(kMisc, f.key, rec_.*f.field);
  for (std::size_t k = 0; k < rec_.lastFiles.size(); ++k)
    Put(kMisc, "Last File " + std::to_string(k + 1), rec_.lastFiles[k]);
  Put(kMisc, "IE5 Server", rec_.browserServer);
  Put(kMisc, "IE5 TypeLib", rec_.browserTypeLib);
  Put(kMisc, "IE5 Version", rec_.browserVersion);
}

void Configs::WriteCurrentFile() {
  if (!writingAllowed_) return;
  Put(kMisc, "Current File", rec_.currentLibrary);
  Put(kMisc, "Prog Dir", rec_.programFolder);
}

void Configs::WriteCaptureSection() {
  if (!writingAllowed_) return;
  for (const MiscFlag& f : kCaptureFlags) PutYesNo(kCapture, f.key, rec_.*f.field);
  PutNumber(kCapture, "Relative To Screen", rec_.captureRelative);
  PutNumber(kCapture, "Speed", rec_.captureSpeed);
}

void Configs::WriteAbbrekeysSection() {
  if (!writingAllowed_) return;
  PutYesNo(kAbbrekeys, "Solitary Usage", rec_.solitaryUsage);
  PutNumber(kAbbrekeys, "Case Sensative", rec_.defaultCaseMode);
  PutYesNo(kAbbrekeys, "No Remove", rec_.noRemove);
  PutYesNo(kAbbrekeys, "Use Punctuation", rec_.usePunctuation);
  PutYesNo(kAbbrekeys, "Retype Suffix", rec_.retypeSuffix);
  PutYesNo(kAbbrekeys, "Use Suffix", rec_.useSuffix);
  Put(kAbbrekeys, "Prefix Keys", rec_.prefixKeys);
}

// The flags are taken from the font's style first: the style is what the user last set.
void Configs::WriteFont(const char* section, const FontSpec& font, bool* styleFlags[], int flagCount) {
  static const char* const kStyleKeys[] = {"Bold", "Italic", "Underline", "Strikeout"};
  const bool styles[] = {font.bold, font.italic, font.underline, font.strikeout};
  for (int k = 0; k < flagCount; ++k) *styleFlags[k] = styles[k];
  PutNumber(section, "Color", font.color);
  Put(section, "Font Name", font.name);
  PutNumber(section, "Size", font.size);
  for (int k = 0; k < flagCount; ++k) PutYesNo(section, kStyleKeys[k], *styleFlags[k]);
}

void Configs::WriteGridTitleFontSection() {
  if (!writingAllowed_) return;
  bool* flags[] = {&rec_.gridTitleBold, &rec_.gridTitleItalic, &rec_.gridTitleUnderline, &rec_.gridTitleStrikeout};
  WriteFont(kGridTitleFont, rec_.gridTitleFont, flags, 4);
}

void Configs::WriteGridFontSection() {
  if (!writingAllowed_) return;
  bool* flags[] = {&rec_.gridBold, &rec_.gridItalic, &rec_.gridUnderline, &rec_.gridStrikeout};
  WriteFont(kGridFont, rec_.gridFont, flags, 4);
}

void Configs::WritePlace(const char* section, const WindowPlace& place) {
  PutNumber(section, "Width", place.width);
  PutNumber(section, "Height", place.height);
  PutNumber(section, "Left", place.left);
  PutNumber(section, "Top", place.top);
}

void Configs::WriteMainWindowSection() {
  if (!writingAllowed_) return;
  WritePlace(kMainWindow, rec_.mainWindow);
  PutYesNo(kMainWindow, "Maximized", rec_.mainWindowMaximized);
  PutNumber(kMainWindow, "Category Width", rec_.columnWidths[0]);
  PutNumber(kMainWindow, "Col 1 Width", rec_.columnWidths[1]);
  PutNumber(kMainWindow, "Col 2 Width", rec_.columnWidths[2]);
  PutNumber(kMainWindow, "Col 3 Width", rec_.columnWidths[3]);
  PutYesNo(kMainWindow, "Use Speed", rec_.useSpeed);
  PutYesNo(kMainWindow, "Show Icons", rec_.showIcons);
  PutYesNo(kMainWindow, "Show Category", rec_.showCategory);
}

void Configs::WriteScriptPageSection() {
  if (!writingAllowed_) return;
  WritePlace(kScriptPage, rec_.scriptPage);
  PutNumber(kScriptPage, "Command Wizard Left", rec_.commandWizardLeft);
  PutNumber(kScriptPage, "Command Wizard Top", rec_.commandWizardTop);
  PutYesNo(kScriptPage, "Maximized", rec_.scriptPageMaximized);
  PutYesNo(kScriptPage, "Test Window", rec_.testWindow);
  PutYesNo(kScriptPage, "Check Syntax", rec_.checkSyntax);
  PutNumber(kScriptPage, "Insert Method", rec_.insertMethod);
  PutYesNo(kScriptPage, "Show All Commands", rec_.showAllCommands);
  PutYesNo(kScriptPage, "Prompt In Command Wizard", rec_.promptInCommandWizard);
  std::string list;
  for (int j = 1; j <= kCommandTypeCount; ++j)
    if (rec_.selectedCommands[static_cast<std::size_t>(j - 1)]) list += std::to_string(j) + ",";
  Put(kScriptPage, "Selected Commands", list);
}

void Configs::WriteNetworkSection() {
  if (!writingAllowed_) return;
  PutYesNo(kNetwork, "Network Mode", rec_.networkMode);
  PutYesNo(kNetwork, "Auto Sync", rec_.autoSync);
  PutNumber(kNetwork, "Sync Minutes", rec_.syncMinutes);
}

void Configs::WritePrintListFontSection() {
  if (!writingAllowed_) return;
  bool* flags[] = {&rec_.printListBold, &rec_.printListItalic};
  WriteFont(kPrintListFont, rec_.printListFont, flags, 2);
}

void Configs::WriteSchedulerSection() {
  if (!writingAllowed_) return;
  PutYesNo(kScheduler, "Use Wave File", rec_.useWaveFile);
  PutYesNo(kScheduler, "Wave File Wait", rec_.waveFileWait);
  Put(kScheduler, "Wave File", rec_.waveFile);
  PutNumber(kScheduler, "Timer Seconds", rec_.timerSeconds);
}

void Configs::WriteEMailSection() {
  if (!writingAllowed_) return;
  Put(kEMail, "SMTP Host", rec_.smtpHost);
  Put(kEMail, "EMail Name", rec_.emailName);
  Put(kEMail, "EMail Address", rec_.emailAddress);
  PutNumber(kEMail, "SMTP Port", rec_.smtpPort);
  PutNumber(kEMail, "Attachment Encoding", rec_.attachmentEncoding);
  PutYesNo(kEMail, "Keep Log", rec_.keepLog);
}

void Configs::WriteFloatingMenuPlaces() {
  if (!writingAllowed_) return;
  for (int i = 0; i < kFloatingMenuCount; ++i) {
    std::string n = std::to_string(i + 1);
    auto k = static_cast<std::size_t>(i);
    PutNumber(kFloatingMenu, "Left " + n, rec_.floatingLeft[k]);
    PutNumber(kFloatingMenu, "Top " + n, rec_.floatingTop[k]);
    PutYesNo(kFloatingMenu, "Min " + n, rec_.floatingMinimised[k]);
  }
}

void Configs::LoadAllSettings() {
  ReadMiscSection();
  ReadCurrentFile();
  ReadCaptureSection();
  ReadAbbrekeysSection();
  ReadMainWindowSection();
  ReadGridTitleFontSection();
  ReadGridFontSection();
  ReadScriptPageSection();
  ReadNetworkSection();
  ReadPrintListFontSection();
  ReadSchedulerSection();
  ReadEMailSection();
}

void Configs::SaveAllSettings() {
  WriteMiscSection();
  WriteCurrentFile();
  WriteCaptureSection();
  WriteAbbrekeysSection();
  WriteGridTitleFontSection();
  WriteGridFontSection();
  WriteMainWindowSection();
  WriteScriptPageSection();
  WriteNetworkSection();
  WritePrintListFontSection();
  WriteSchedulerSection();
  WriteEMailSection();
}

}  // namespace wdx
