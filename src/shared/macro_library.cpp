#include "shared/macro_library.h"

#include <algorithm>
#include <system_error>

#include "shared/binary_file.h"

namespace wdx {

namespace {

constexpr std::int64_t kRecordBytes = static_cast<std::int64_t>(kMacroRecSize);

std::int64_t RecordOffset(std::int32_t number) { return (std::int64_t{number} - 1) * kRecordBytes; }

// Whole records in an open file (a partial record at the end does not count).
std::int64_t WholeRecords(BinaryFile& file) {
  const std::int64_t size = file.Size();
  if (size < 0) return 0;
  return size / kRecordBytes;
}

bool ReadRecordAt(BinaryFile& file, std::int32_t number, TMacroRec& record) {
  return file.ReadAt(RecordOffset(number), record.data(), kMacroRecSize);
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "\"" : ", \"") + n + "\"";
  return out;
}

}  // namespace

LibraryOptions LibraryOptions::Player() {
  LibraryOptions o;
  o.systemMacros = {{{'5', "Terminate Wendrix", 261},
                     {'1', "Run Wendrix Editor", 262},
                     {'2', "Start / Stop Capture", 263},
                     {'3', "Resume Pause", 264},
                     {'4', "Menu of Macros for Top Most Window", 265}}};
  o.repairCaseMode = true;
  return o;
}

LibraryOptions LibraryOptions::Editor() {
  LibraryOptions o = Player();
  o.systemMacros[4].nickname = "Menu of Macros for Topmost Window";
  o.repairCaseMode = false;
  return o;
}

MacroLibrary::MacroLibrary(TSettingsRec& settings, TGlobData& glob, platform::Files& files,
                           platform::MessageBoxes& boxes, platform::Clock& clock, LibraryListener& listener,
                           LibraryOptions options)
    : settings_(settings),
      glob_(glob),
      files_(files),
      boxes_(boxes),
      clock_(clock),
      listener_(listener),
      options_(std::move(options)) {}

// Library paths are file paths: a bare name lies in the current folder, not in the Windows
// folder where a bare INI name would.
std::filesystem::path MacroLibrary::NativePath(const std::string& stored) const {
  return std::filesystem::path(files_.NativePath(stored));
}

std::filesystem::path MacroLibrary::CurrentFile() const { return NativePath(settings_.currentLibrary); }

void MacroLibrary::ShowError(const std::string& text) const {
  boxes_.Show(platform::kNoWindow, text, kErrorCaption, platform::mb::kOk);
}

MacroIcon MacroLibrary::ResolveIcon(TMacroRec& record) const {
  const std::string name = record.IconName();
  if (name == "MENU") return {MacroIcon::Kind::Menu, {}};
  if (name == "MAIN") return {MacroIcon::Kind::Main, {}};
  const std::string file = settings_.programFolder + "\\Icons\\" + name;
  std::error_code ec;
  if (!name.empty() && std::filesystem::is_regular_file(NativePath(file), ec))
    return {MacroIcon::Kind::File, file};
  const std::int16_t kind = record.ScopeKind();
  if (kind == scope::kPopupMenu || kind == scope::kFloatingMenu) {
    record.SetIconName("MENU");
    return {MacroIcon::Kind::Menu, {}};
  }
  record.SetIconName("MAIN");
  return {MacroIcon::Kind::Main, {}};
}

void MacroLibrary::RefreshTables(int number, const TMacroRec& record, const MacroIcon& icon, bool repairCaseMode) {
  const auto n = static_cast<std::size_t>(number);
  settings_.nicknames[n] = record.Nickname();
  settings_.abbrekeys[n] = record.Abbrekey();
  settings_.icons[n] = icon;
  settings_.categories[n] = record.Category();
  std::int16_t caseMode = record.CaseMode();
  if (repairCaseMode && (caseMode < 1 || caseMode > 3))
    caseMode = static_cast<std::int16_t>(settings_.defaultCaseMode & 0xFFFF);
  settings_.caseModes[n] = caseMode;
  settings_.removals[n] = record.Removal();
  glob_.SetScopeKind(number, record.ScopeKind());
  glob_.SetScopeText(number, record.ScopeText());
  // The byte is copied as stored, as the hook library has always seen it.
  glob_.SetMacroActiveByte(number, record.Active());
  glob_.SetActivationCode(number, record.ActivationCode());
  glob_.SetWindowMatch(number, record.WindowMatch());
}

bool MacroLibrary::WriteMacroRecord(std::int32_t number, TMacroRec record, bool notify) {
  BinaryFile file(CurrentFile(), BinaryFile::Mode::kReadWrite);
  if (!file.IsOpen()) {
    ShowError(kSaveFailedText);
    return false;
  }
  const std::int64_t records = WholeRecords(file);
  std::int64_t position;
  if (number == -1) {
    position = records * kRecordBytes;
    number = glob_.MacroCount();
  } else {
    position = RecordOffset(number);
  }
  // The tables hold macros 1..500, and a record may not leave a gap in the file.
  if (number < 1 || number > kMaxMacros) {
    ShowError(std::string(kSaveFailedText) + " The macro file holds at most " + std::to_string(kMaxMacros) +
              " macros.");
    return false;
  }
  if (position < 0 || position > records * kRecordBytes) {
    ShowError(kSaveFailedText);
    return false;
  }

  const MacroIcon icon = ResolveIcon(record);
  record.ZeroReservedTail();
  const bool written = file.WriteAt(position, record.data(), kMacroRecSize) && file.Close();
  if (!written) {
    ShowError(kSaveFailedText);
    return false;
  }

  // Only a record that is on disk reaches the tables, the hook library and the peer.
  RefreshTables(number, record, icon, false);
  listener_.MacroEntriesChanged(number);
  if (notify) listener_.TellPeer(editor_notice::kRecordWritten, number);
  return true;
}

void MacroLibrary::ClearTables() {
  for (std::int32_t number = 1; number <= kMaxMacros; ++number) {
    const auto n = static_cast<std::size_t>(number);
    settings_.nicknames[n].clear();
    settings_.abbrekeys[n].clear();
    settings_.icons[n] = MacroIcon{};
    settings_.categories[n] = 0;
    settings_.caseModes[n] = 0;
    settings_.removals[n] = 0;
  }
  glob_.ClearMacroTables();
}

void MacroLibrary::LoadMacroLibrary(const std::string& path, bool notify) {
  // What a longer library left above the new count would count as this library's: the
  // built-in macros added to a new library looked for free hot keys among the old entries.
  ClearTables();
  const std::filesystem::path nativePath = NativePath(path);
  std::error_code ec;
  const bool exists = std::filesystem::exists(nativePath, ec);
  // A folder opens for reading on POSIX systems and then fails every read.
  const bool readable = !exists || std::filesystem::is_regular_file(nativePath, ec);
  BinaryFile file(readable ? nativePath : std::filesystem::path(), BinaryFile::Mode::kRead);
  if (!file.IsOpen()) {
    glob_.SetMacroCount(0);
    if (exists) {
      // Creating it anew would empty a library that is only unreadable just now.
      listener_.MacroCountChanged();
      ShowError("The macro file " + path + " could not be opened.");
      return;
    }
    BinaryFile created(nativePath, BinaryFile::Mode::kCreate);
    if (!created.IsOpen() || !created.Close()) {
      listener_.MacroCountChanged();
      ShowError(kCreateFailedText);
      return;
    }
    RestoreSystemMacros();
    return;
  }

  const std::int64_t records = WholeRecords(file);
  const std::int64_t toLoad = std::min<std::int64_t>(records, kMaxMacros);
  TMacroRec record;
  std::int32_t loaded = 0;
  for (std::int32_t n = 1; n <= toLoad; ++n) {
    if (!ReadRecordAt(file, n, record)) break;
    loaded = n;
    const MacroIcon icon = ResolveIcon(record);  // the replaced name stays in memory only
    RefreshTables(n, record, icon, options_.repairCaseMode);
    listener_.MacroEntriesChanged(n);
    if (notify) listener_.TellPeer(editor_notice::kMacroEntries, n);
  }
  file.Close();
  glob_.SetMacroCount(loaded);
  listener_.MacroCountChanged();
  if (notify) listener_.TellPeer(editor_notice::kDataGroup, data_group::kMacroCount);
  if (records > kMaxMacros) {
    ShowError("The macro file " + path + " holds " + std::to_string(records) + " macros; only the first " +
              std::to_string(kMaxMacros) + " were loaded. The file was not changed.");
  }
  RestoreSystemMacros();
}

void MacroLibrary::ReloadMacroLibrary(bool notify) { LoadMacroLibrary(settings_.currentLibrary, notify); }

void MacroLibrary::RestoreSystemMacros() {
  std::array<bool, 5> present{};
  const std::int32_t count = std::clamp(glob_.MacroCount(), 0, kMaxMacros);
  for (std::int32_t i = 1; i <= count; ++i) {
    if (glob_.ScopeKind(i) != scope::kSystem) continue;
    const std::string text = glob_.ScopeText(i);
    if (text.empty()) continue;
    for (std::size_t s = 0; s < options_.systemMacros.size(); ++s) {
      const SystemMacro& sys = options_.systemMacros[s];
      if (text[0] != sys.digit) continue;
      present[s] = true;
      // The built-in name comes back in memory; the file keeps what the user wrote.
      if (settings_.nicknames[static_cast<std::size_t>(i)] != sys.nickname)
        settings_.nicknames[static_cast<std::size_t>(i)] = sys.nickname;
    }
  }

  std::vector<std::string> noRoom;
  for (std::size_t s = 0; s < options_.systemMacros.size(); ++s) {
    if (present[s]) continue;
    const SystemMacro& sys = options_.systemMacros[s];
    const std::int32_t number = glob_.MacroCount() + 1;
    if (number > kMaxMacros) {
      noRoom.push_back(sys.nickname);
      continue;
    }
    glob_.SetMacroCount(number);
    listener_.MacroCountChanged();
    listener_.TellPeer(editor_notice::kDataGroup, data_group::kMacroCount);

    TMacroRec record;
    record.SetNickname(sys.nickname);
    record.SetScopeText(std::string(1, sys.digit));
    record.SetActivationCode(static_cast<std::uint16_t>(FindFreeHotKey(sys.preferredHotKey)));
    record.SetScopeKind(scope::kSystem);
    record.SetActive(1);
    record.SetLastChange(clock_.Now());
    if (!WriteMacroRecord(number, record, true)) {
      // Nothing was written: the count goes back so that it matches the file.
      glob_.SetMacroCount(number - 1);
      listener_.MacroCountChanged();
      listener_.TellPeer(editor_notice::kDataGroup, data_group::kMacroCount);
      return;
    }
  }
  if (!noRoom.empty()) {
    ShowError("The macro file already holds " + std::to_string(kMaxMacros) + " macros: the built-in macros " +
              JoinNames(noRoom) + " could not be added.");
  }
}

std::int32_t MacroLibrary::FindFreeHotKey(std::int32_t start) const {
  const std::int32_t count = std::clamp(glob_.MacroCount(), 0, kMaxMacros);
  std::int32_t n = std::clamp<std::int32_t>(start, 0, activation::kMaxHotKey);
  // At most 500 macros against 721 indexes: a free one is found within one round.
  for (int step = 0; step <= activation::kMaxHotKey; ++step) {
    bool used = false;
    for (std::int32_t i = 1; i <= count && !used; ++i) used = glob_.ActivationCode(i) == n;
    if (!used) return n;
    n = n == 0 ? activation::kMaxHotKey : n - 1;
  }
  return n;
}

bool MacroLibrary::ReadMacroRecord(std::int32_t number, TMacroRec& record) const {
  BinaryFile file(CurrentFile(), BinaryFile::Mode::kRead);
  if (!file.IsOpen() || number < 1 || number > WholeRecords(file)) return false;
  TMacroRec buffer;
  if (!ReadRecordAt(file, number, buffer)) return false;
  record = buffer;
  return true;
}

bool MacroLibrary::RefreshFromFile(std::int32_t number) {
  if (number < 1 || number > std::min(glob_.MacroCount(), kMaxMacros)) return false;
  TMacroRec record;
  if (!ReadMacroRecord(number, record)) return false;
  const MacroIcon icon = ResolveIcon(record);
  RefreshTables(number, record, icon, options_.repairCaseMode);
  return true;
}

bool MacroLibrary::DeleteMacroRecord(std::int32_t number) {
  const std::filesystem::path path = CurrentFile();
  std::int64_t records;
  {
    BinaryFile file(path, BinaryFile::Mode::kReadWrite);
    if (!file.IsOpen()) return false;
    records = WholeRecords(file);
    if (number < 1 || number > records) return false;
    // Later records move down one place.
    if (number < records) {
      std::vector<char> later(static_cast<std::size_t>((records - number) * kRecordBytes));
      if (!file.ReadAt(RecordOffset(number + 1), later.data(), later.size())) return false;
      if (!file.WriteAt(RecordOffset(number), later.data(), later.size()) || !file.Close()) return false;
    }
  }
  std::error_code ec;
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>((records - 1) * kRecordBytes), ec);
  return !ec;
}

bool MacroLibrary::SetMacroEnabled(std::int32_t number, std::uint8_t value) {
  BinaryFile file(CurrentFile(), BinaryFile::Mode::kReadWrite);
  if (!file.IsOpen() || number < 1 || number > WholeRecords(file)) return false;
  const auto byte = static_cast<std::uint8_t>(value);
  return file.WriteAt(RecordOffset(number) + static_cast<std::int64_t>(macro_rec::kActive), &byte, 1) && file.Close();
}

bool MacroLibrary::ThereAreAbbrekeys() const { return wdx::ThereAreAbbrekeys(glob_); }

bool ThereAreAbbrekeys(const TGlobData& glob) {
  const std::int32_t count = std::clamp(glob.MacroCount(), 0, kMaxMacros);
  for (std::int32_t i = 1; i <= count; ++i)
    if (glob.ActivationCode(i) == activation::kAbbrekey) return true;
  return false;
}

void RebuildHotKeyMap(TGlobData& glob) {
  glob.ClearHotKeyMap();
  const std::int32_t count = std::clamp(glob.MacroCount(), 0, kMaxMacros);
  for (std::int32_t i = 1; i <= count; ++i) {
    const std::uint16_t code = glob.ActivationCode(i);
    if (TGlobData::ValidHotKey(code) && glob.MacroActive(i)) glob.SetHotKeyMapped(code, true);
  }
  glob.SetAbbrekeysPresent(ThereAreAbbrekeys(glob));
}

std::optional<std::string> ReadSingleMacroFile(const std::filesystem::path& nativePath) {
  // Only a plain file holds a macro. A folder opens for reading on POSIX systems and then fails
  // every read; a device may never end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(nativePath, ec)) return std::nullopt;
  BinaryFile file(nativePath, BinaryFile::Mode::kRead);
  if (!file.IsOpen()) return std::nullopt;
  // A macro text is a few thousand characters; a file far beyond any macro is refused like an
  // unreadable one instead of exhausting the 32-bit player's memory. The bound holds for the
  // bytes read too, whatever the size said.
  const std::uintmax_t size = std::filesystem::file_size(nativePath, ec);
  if (!ec && size > kMaxSingleMacroFileBytes) return std::nullopt;
  std::string text;
  char chunk[4096];
  for (std::size_t got; (got = file.ReadOn(chunk, sizeof chunk)) > 0;) {
    text.append(chunk, got);
    if (text.size() > kMaxSingleMacroFileBytes) return std::nullopt;
  }
  if (file.Failed()) return std::nullopt;
  if (!text.empty() && text.back() == '\x1A') text.pop_back();
  // The text has always been played up to its first NUL.
  if (std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace wdx
