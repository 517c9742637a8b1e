#include "shared/macro_library.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"

namespace wdx {
namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<std::uint8_t>;

constexpr char kFolder[] = "C:\\WENDRIX";
constexpr char kLibrary[] = "C:\\WENDRIX\\WENDX.WDX";
constexpr double kNow = 45000.25;

struct RecordingListener : LibraryListener {
  void MacroEntriesChanged(int number) override {
    events.push_back("item " + std::to_string(number));
    if (onItem) onItem(number);
  }
  void MacroCountChanged() override { events.push_back("count"); }
  void TellPeer(int code, int argument) override {
    events.push_back("peer " + std::to_string(code) + " " + std::to_string(argument));
  }
  std::vector<std::string> events;
  std::function<void(int)> onItem;
};

// A record built byte by byte at its offsets.
Bytes8 HandRecord(const std::string& nickname, const std::string& scopeText, std::uint16_t code, std::uint8_t scopeKind,
                  const std::string& icon, double lastChange) {
  Bytes8 b(5165, 0);
  b[0] = static_cast<std::uint8_t>(nickname.size());
  std::memcpy(&b[1], nickname.data(), nickname.size());
  b[51] = static_cast<std::uint8_t>(scopeText.size());
  std::memcpy(&b[52], scopeText.data(), scopeText.size());
  b[93] = static_cast<std::uint8_t>(code & 0xFF);
  b[94] = static_cast<std::uint8_t>(code >> 8);
  b[95] = scopeKind;
  b[97] = 1;
  b[5101] = static_cast<std::uint8_t>(icon.size());
  std::memcpy(&b[5102], icon.data(), icon.size());
  const auto bits = std::bit_cast<std::uint64_t>(lastChange);
  for (int i = 0; i < 8; ++i) b[5135 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
  return b;
}

TMacroRec Plain(const std::string& nickname, std::uint16_t code, std::int16_t scopeKind = scope::kGlobal) {
  TMacroRec r;
  r.SetNickname(nickname);
  r.SetActivationCode(code);
  r.SetScopeKind(scopeKind);
  r.SetActive(1);
  r.SetText("text of " + nickname);
  r.SetIconName("MAIN");
  return r;
}

Bytes8 ToBytes(const TMacroRec& r) { return Bytes8(r.data(), r.data() + kMacroRecSize); }

class LibraryTest : public ::testing::Test {
 protected:
  LibraryTest() : lib(settings, glob, mem.files, mem.boxes, mem.clock, listener) {
    settings.programFolder = kFolder;
    settings.currentLibrary = kLibrary;
    fs::create_directories(Native(kFolder));
    mem.clock.SetNow(kNow);
  }

  std::string Native(const std::string& p) { return mem.NativePath(p); }
  Bytes8 FileBytes(const std::string& p = kLibrary) {
    std::ifstream in(Native(p), std::ios::binary);
    return Bytes8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  Bytes8 Record(int n) {
    Bytes8 all = FileBytes();
    auto from = all.begin() + (n - 1) * 5165;
    return Bytes8(from, from + 5165);
  }
  std::size_t RecordCount() { return FileBytes().size() / 5165; }
  void WriteRecords(const std::vector<TMacroRec>& recs, const Bytes8& tail = {}) {
    std::ofstream out(Native(kLibrary), std::ios::binary);
    for (const TMacroRec& r : recs) out.write(reinterpret_cast<const char*>(r.data()), 5165);
    out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
  }
  std::vector<TMacroRec> SystemRecords() {
    std::vector<TMacroRec> recs;
    const char digits[] = "51234";
    for (int i = 0; i < 5; ++i) {
      TMacroRec r = Plain("sys", static_cast<std::uint16_t>(261 + i), scope::kSystem);
      r.SetScopeText(std::string(1, digits[i]));
      recs.push_back(r);
    }
    return recs;
  }

  platform::MemoryPlatform mem;
  TSettingsRec settings;
  TGlobData glob;
  RecordingListener listener;
  MacroLibrary lib;
};

TEST_F(LibraryTest, MissingLibraryIsCreatedWithTheFiveSystemMacros) {
  lib.LoadMacroLibrary(kLibrary);

  ASSERT_EQ(FileBytes().size(), 5u * 5165);
  const struct {
    const char* name;
    const char* digit;
    std::uint16_t key;
  } expected[] = {{"Terminate Wendrix", "5", 261},
                  {"Run Wendrix Editor", "1", 262},
                  {"Start / Stop Capture", "2", 263},
                  {"Resume Pause", "3", 264},
                  {"Menu of Macros for Top Most Window", "4", 265}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(Record(i + 1), HandRecord(expected[i].name, expected[i].digit, expected[i].key, 5, "MAIN", kNow));
    EXPECT_EQ(settings.nicknames[static_cast<std::size_t>(i + 1)], expected[i].name);
    EXPECT_EQ(glob.ActivationCode(i + 1), expected[i].key);
    EXPECT_EQ(glob.ScopeText(i + 1), expected[i].digit);
    EXPECT_TRUE(glob.MacroActive(i + 1));
  }
  EXPECT_EQ(glob.MacroCount(), 5);
  // Each system macro: count raised and told, then written, then the hook library and the
  // editor hear of the record.
  const std::vector<std::string> first = {"count", "peer 6 8", "item 1", "peer 20 1", "count"};
  ASSERT_GE(listener.events.size(), first.size());
  EXPECT_EQ(std::vector<std::string>(listener.events.begin(), listener.events.begin() + 5), first);
  EXPECT_TRUE(mem.boxes.shown.empty());
}

TEST_F(LibraryTest, TakenPreferredHotKeysMoveDownToFreeOnes) {
  TMacroRec other = Plain("Other", 262);
  TMacroRec capture = Plain("My Capture", 263, scope::kSystem);
  capture.SetScopeText("2");
  WriteRecords({other, capture});

  lib.LoadMacroLibrary(kLibrary);

  ASSERT_EQ(glob.MacroCount(), 6);
  // "5" takes 261; "1" finds 262 and 261 taken and gets 260.
  EXPECT_EQ(glob.ActivationCode(3), 261);
  EXPECT_EQ(glob.ActivationCode(4), 260);
  EXPECT_EQ(glob.ActivationCode(5), 264);
  EXPECT_EQ(glob.ActivationCode(6), 265);
  EXPECT_EQ(Record(4), HandRecord("Run Wendrix Editor", "1", 260, 5, "MAIN", kNow));
  // The renamed system macro shows its built-in name; the file keeps the user's.
  EXPECT_EQ(settings.nicknames[2], "Start / Stop Capture");
  TMacroRec stored;
  ASSERT_TRUE(lib.ReadMacroRecord(2, stored));
  EXPECT_EQ(stored.Nickname(), "My Capture");
}

TEST_F(LibraryTest, FindFreeHotKeySearchesDownAndWraps) {
  glob.SetMacroCount(3);
  glob.SetActivationCode(1, 0);
  glob.SetActivationCode(2, 720);
  glob.SetActivationCode(3, 5);
  glob.SetMacroActive(3, false);  // inactive macros hold their key too
  EXPECT_EQ(lib.FindFreeHotKey(0), 719);
  EXPECT_EQ(lib.FindFreeHotKey(5), 4);
  EXPECT_EQ(lib.FindFreeHotKey(6), 6);
  glob.SetActivationCode(4, 6);  // beyond the count: not a macro
  EXPECT_EQ(lib.FindFreeHotKey(6), 6);
}

TEST_F(LibraryTest, AppendRewriteDeleteAndEnable) {
  lib.LoadMacroLibrary(kLibrary);
  auto append = [&](const TMacroRec& r) {
    glob.SetMacroCount(glob.MacroCount() + 1);
    return lib.WriteMacroRecord(-1, r);
  };
  TMacroRec a = Plain("A", activation::kAbbrekey), c = Plain("C", 30000), d = Plain("D", 30000);
  a.SetAbbrekey("zz");
  a.SetCaseMode(7);  // a write copies it as it is
  a.data()[5163] = 0xEE;
  ASSERT_TRUE(append(a));
  a.data()[5163] = 0;
  EXPECT_EQ(RecordCount(), 6u);
  EXPECT_EQ(Record(6), ToBytes(a));
  EXPECT_EQ(settings.abbrekeys[6], "zz");
  EXPECT_EQ(settings.caseModes[6], 7);
  EXPECT_TRUE(lib.ThereAreAbbrekeys());

  TMacroRec b = Plain("B", 100);
  ASSERT_TRUE(lib.WriteMacroRecord(6, b));
  EXPECT_EQ(RecordCount(), 6u);
  EXPECT_EQ(Record(6), ToBytes(b));
  EXPECT_EQ(settings.nicknames[6], "B");
  EXPECT_FALSE(lib.ThereAreAbbrekeys());
  ASSERT_TRUE(append(c));
  ASSERT_TRUE(append(d));

  // Deleting 6 of 8 moves 7 and 8 down; deleting the last only shortens the file.
  auto first5 = [&] {
    const Bytes8 all = FileBytes();
    return Bytes8(all.begin(), all.begin() + 5 * 5165);
  };
  const Bytes8 systemBefore = first5();
  ASSERT_TRUE(lib.DeleteMacroRecord(6));
  EXPECT_EQ(RecordCount(), 7u);
  EXPECT_EQ(Record(6), ToBytes(c));
  EXPECT_EQ(Record(7), ToBytes(d));
  EXPECT_EQ(first5(), systemBefore);
  ASSERT_TRUE(lib.DeleteMacroRecord(7));
  EXPECT_EQ(FileBytes().size(), 6u * 5165);
  EXPECT_EQ(Record(6), ToBytes(c));
  EXPECT_FALSE(lib.DeleteMacroRecord(7));
  EXPECT_FALSE(lib.DeleteMacroRecord(0));
  EXPECT_EQ(RecordCount(), 6u);

  const Bytes8 before = FileBytes();
  ASSERT_TRUE(lib.SetMacroEnabled(3, 0));
  Bytes8 expected = before;
  expected[2 * 5165 + 97] = 0;
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_FALSE(lib.SetMacroEnabled(7, 0));
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(LibraryTest, WriteTellsOthersOnlyOnceTheRecordIsOnDisk) {
  lib.LoadMacroLibrary(kLibrary);
  listener.events.clear();
  TMacroRec r = Plain("Later", 30000);
  listener.onItem = [&](int n) {
    ASSERT_EQ(n, 6);
    EXPECT_EQ(RecordCount(), 6u);
    EXPECT_EQ(Record(6), ToBytes(r));
    EXPECT_EQ(settings.nicknames[6], "Later");
  };
  glob.SetMacroCount(6);
  ASSERT_TRUE(lib.WriteMacroRecord(-1, r));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"item 6", "peer 20 6"}));

  // Without notify the editor's writes tell the hook library but not the player.
  listener.events.clear();
  listener.onItem = nullptr;
  ASSERT_TRUE(lib.WriteMacroRecord(6, r, false));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"item 6"}));
}

TEST_F(LibraryTest, FailedWritesChangeNothingAndSaySo) {
  lib.LoadMacroLibrary(kLibrary);
  listener.events.clear();
  const Bytes8 before = FileBytes();
  const TSettingsRec tablesBefore = settings;

  struct Case {
    const char* what;
    std::int32_t number;
    std::int32_t count;
    std::string library;
  } cases[] = {
      {"library missing", 6, 6, "C:\\WENDRIX\\NONE.WDX"},
      {"beyond the tables", 501, 501, kLibrary},
      {"appending the 501st", -1, 501, kLibrary},
      {"a gap in the file", 8, 6, kLibrary},
      {"number zero", 0, 6, kLibrary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    mem.boxes.shown.clear();
    settings.currentLibrary = c.library;
    glob.SetMacroCount(c.count);
    EXPECT_FALSE(lib.WriteMacroRecord(c.number, Plain("X", 30000)));
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
    EXPECT_EQ(mem.boxes.shown[0].text.rfind("Saving of keystrokes failed.", 0), 0u);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(FileBytes(kLibrary), before);
    EXPECT_FALSE(fs::exists(Native("C:\\WENDRIX\\NONE.WDX")));
    settings.currentLibrary = kLibrary;
    EXPECT_TRUE(settings == tablesBefore);
  }
}

TEST_F(LibraryTest, IconNamesAreResolvedAndReplacedOnlyWhenWritten) {
  fs::create_directories(Native("C:\\WENDRIX\\Icons"));
  std::ofstream(Native("C:\\WENDRIX\\Icons\\HAPPY.ICO")) << "icon";
  lib.LoadMacroLibrary(kLibrary);

  struct Case {
    const char* icon;
    std::int16_t kind;
    const char* written;
    MacroIcon table;
  } cases[] = {
      {"HAPPY.ICO", scope::kGlobal, "HAPPY.ICO", {MacroIcon::Kind::File, "C:\\WENDRIX\\Icons\\HAPPY.ICO"}},
      {"GONE.ICO", scope::kPopupMenu, "MENU", {MacroIcon::Kind::Menu, ""}},
      {"GONE.ICO", scope::kFloatingMenu, "MENU", {MacroIcon::Kind::Menu, ""}},
      {"GONE.ICO", scope::kWindow, "MAIN", {MacroIcon::Kind::Main, ""}},
      {"", scope::kGlobal, "MAIN", {MacroIcon::Kind::Main, ""}},
      {"menu", scope::kGlobal, "MAIN", {MacroIcon::Kind::Main, ""}},  // names compare exactly
      {"MENU", scope::kGlobal, "MENU", {MacroIcon::Kind::Menu, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.icon) + " scope " + std::to_string(c.kind));
    TMacroRec r = Plain("Icon", 30000, c.kind);
    r.SetIconName(c.icon);
    ASSERT_TRUE(lib.WriteMacroRecord(5, r));
    TMacroRec back;
    ASSERT_TRUE(lib.ReadMacroRecord(5, back));
    EXPECT_EQ(back.IconName(), c.written);
    EXPECT_EQ(settings.icons[5], c.table);
  }

  // A load resolves the same way but writes nothing back.
  TMacroRec stale = Plain("Stale", 30000, scope::kPopupMenu);
  stale.SetIconName("GONE.ICO");
  std::vector<TMacroRec> recs = SystemRecords();
  recs.push_back(stale);
  WriteRecords(recs);
  const Bytes8 before = FileBytes();
  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(settings.icons[6], (MacroIcon{MacroIcon::Kind::Menu, ""}));
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(LibraryTest, LoadFillsTablesRepairsCaseModeAndTellsTheEditor) {
  settings.defaultCaseMode = 0x10002;  // the low 16 bits count
  std::vector<TMacroRec> recs = SystemRecords();
  TMacroRec odd = Plain("Odd", activation::kAbbrekey, scope::kWindow);
  odd.SetScopeText("A window title that is long");
  odd.SetAbbrekey("ab");
  odd.SetCaseMode(7);
  odd.SetRemoval(2);
  odd.SetCategory(42);
  odd.SetWindowMatch(1);
  odd.SetActive(0);
  TMacroRec fine = Plain("Fine", 30000);
  fine.SetCaseMode(1);
  recs.push_back(odd);
  recs.push_back(fine);
  WriteRecords(recs);

  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(glob.MacroCount(), 7);
  EXPECT_EQ(settings.caseModes[6], 2);
  EXPECT_EQ(settings.caseModes[7], 1);
  EXPECT_EQ(settings.removals[6], 2);
  EXPECT_EQ(settings.categories[6], 42);
  EXPECT_EQ(settings.abbrekeys[6], "ab");
  EXPECT_EQ(glob.ScopeText(6), "A window title that ");
  EXPECT_EQ(glob.ScopeKind(6), scope::kWindow);
  EXPECT_FALSE(glob.MacroActive(6));
  EXPECT_EQ(glob.WindowMatch(6), 1);
  EXPECT_TRUE(lib.ThereAreAbbrekeys());
  std::vector<std::string> expected;
  for (int n = 1; n <= 7; ++n) {
    expected.push_back("item " + std::to_string(n));
    expected.push_back("peer 8 " + std::to_string(n));
  }
  expected.push_back("count");
  expected.push_back("peer 6 8");
  EXPECT_EQ(listener.events, expected);

  // The editor keeps the stored case mode and, without notify, tells no one.
  RecordingListener quiet;
  MacroLibrary editor(settings, glob, mem.files, mem.boxes, mem.clock, quiet, LibraryOptions::Editor());
  editor.LoadMacroLibrary(kLibrary, false);
  EXPECT_EQ(settings.caseModes[6], 7);
  for (const std::string& e : quiet.events) EXPECT_EQ(e.rfind("peer", 0), std::string::npos) << e;
}

TEST_F(LibraryTest, PartialRecordAtTheEndIsIgnoredAndKept) {
  WriteRecords(SystemRecords(), Bytes8(100, 0xAB));
  const Bytes8 before = FileBytes();
  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(glob.MacroCount(), 5);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_TRUE(mem.boxes.shown.empty());
  TMacroRec r;
  EXPECT_FALSE(lib.ReadMacroRecord(6, r));
}

TEST_F(LibraryTest, MoreThanFiveHundredRecordsLoadTheFirstAndChangeNothing) {
  // 501 plain macros, then the system macros at 502..506: none of them is within the tables.
  std::vector<TMacroRec> recs;
  for (int i = 1; i <= 501; ++i) recs.push_back(Plain("M" + std::to_string(i), 30000));
  for (const TMacroRec& s : SystemRecords()) recs.push_back(s);
  WriteRecords(recs);
  const Bytes8 before = FileBytes();

  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(glob.MacroCount(), 500);
  EXPECT_EQ(settings.nicknames[500], "M500");
  EXPECT_EQ(FileBytes(), before);
  ASSERT_EQ(mem.boxes.shown.size(), 2u);
  EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
  EXPECT_NE(mem.boxes.shown[0].text.find("506"), std::string::npos);
  EXPECT_NE(mem.boxes.shown[0].text.find("500"), std::string::npos);
  EXPECT_EQ(mem.boxes.shown[1].caption, "Error");
  EXPECT_NE(mem.boxes.shown[1].text.find("\"Terminate Wendrix\""), std::string::npos);

  // With the system macros first, only the count is reported.
  recs.erase(recs.begin() + 501, recs.end());
  const std::vector<TMacroRec> sys = SystemRecords();
  recs.insert(recs.begin(), sys.begin(), sys.end());
  mem.boxes.shown.clear();
  WriteRecords(recs);
  const Bytes8 sysFirst = FileBytes();
  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(glob.MacroCount(), 500);
  EXPECT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(FileBytes(), sysFirst);
}

TEST_F(LibraryTest, UnopenableOrUncreatableLibraries) {
  // A folder where the library should be: not replaced by an empty file.
  fs::create_directories(Native(kLibrary));
  lib.LoadMacroLibrary(kLibrary);
  EXPECT_EQ(glob.MacroCount(), 0);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
  EXPECT_TRUE(fs::is_directory(Native(kLibrary)));

  mem.boxes.shown.clear();
  settings.currentLibrary = "C:\\NOFOLDER\\X.WDX";
  lib.LoadMacroLibrary(settings.currentLibrary);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "New file could not be created.");
  EXPECT_EQ(glob.MacroCount(), 0);
}

TEST_F(LibraryTest, ReadLeavesTheBufferAloneWhenThereIsNoRecord) {
  TMacroRec buffer = Plain("Keep", 1);
  EXPECT_FALSE(lib.ReadMacroRecord(1, buffer));  // no file yet
  lib.ReloadMacroLibrary();
  for (int n : {0, -1, 6}) EXPECT_FALSE(lib.ReadMacroRecord(n, buffer)) << n;
  EXPECT_EQ(buffer, Plain("Keep", 1));
  ASSERT_TRUE(lib.ReadMacroRecord(5, buffer));
  EXPECT_EQ(buffer.ScopeText(), "4");
}

TEST(SingleMacroFile, ReadsWholeFileAndDropsAFinalCtrlZ) {
  // A folder of this run's own (the stand-in makes a unique one and removes it).
  const platform::MemoryPlatform mem;
  const fs::path dir = mem.Root();
  struct Case {
    std::string content;
    std::string text;
  } cases[] = {
      {"Hello<ENTER>\x1A", "Hello<ENTER>"},
      {"Hello<ENTER>", "Hello<ENTER>"},
      {"\x1A", ""},
      {"", ""},
      {"A\x1A\x1A", "A\x1A"},         // only the last byte
      {"\x1A" "B", "\x1A" "B"},       // not a last byte
      {std::string(6000, 'w'), std::string(6000, 'w')},
      {std::string("ab\0cd", 5), "ab"},  // played up to its NUL
  };
  for (const Case& c : cases) {
    std::ofstream(dir / "M.WRM", std::ios::binary) << c.content;
    EXPECT_EQ(ReadSingleMacroFile(dir / "M.WRM"), c.text) << c.content.size();
  }
  EXPECT_EQ(ReadSingleMacroFile(dir / "NONE.WRM"), std::nullopt);
  // A folder opens on POSIX systems but is no file.
  EXPECT_EQ(ReadSingleMacroFile(dir), std::nullopt);
  // A file far beyond any macro is refused, not read into memory.
  std::ofstream(dir / "HUGE.WRM", std::ios::binary) << "x";
  fs::resize_file(dir / "HUGE.WRM", kMaxSingleMacroFileBytes + 1);
  EXPECT_EQ(ReadSingleMacroFile(dir / "HUGE.WRM"), std::nullopt);
  fs::resize_file(dir / "HUGE.WRM", 70000);
  EXPECT_EQ(ReadSingleMacroFile(dir / "HUGE.WRM"), "x");  // the zero fill ends the text
}

}  // namespace
}  // namespace wdx
