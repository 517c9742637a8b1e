// Any bytes as the macro library file: the player loads it (tables, hook-library block, the
// built-in macros put back), reads every record and every field of it as the program's parts
// do, and changes it (enable, append, delete) the way the editor and the player do.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "rooted_files.h"
#include "platform/memory/memory_platform.h"
#include "shared/glob_data.h"
#include "shared/hot_keys.h"
#include "shared/macro_library.h"
#include "shared/macro_record.h"
#include "shared/settings.h"

namespace {

constexpr char kLibrary[] = "C:\\WENDRIX\\WENDX.WDX";

struct QuietListener : wdx::LibraryListener {
  void MacroEntriesChanged(int /*number*/) override {}
  void MacroCountChanged() override {}
  void TellPeer(int /*code*/, int /*argument*/) override {}
};

volatile std::size_t sink;

// Every field, as the list, the activation code and the menus read them.
void ReadEveryField(const wdx::TMacroRec& r) {
  std::size_t n = r.Nickname().size() + r.ScopeText().size() + r.Abbrekey().size() + r.Text().size() +
                  r.IconName().size() + r.MenuOptions().size() + r.ProgramName().size();
  n += r.ActivationCode() + static_cast<std::size_t>(r.ScopeKind()) + r.Active() + static_cast<std::size_t>(r.TextLength());
  n += r.ScheduleKind() + r.Hour() + r.Minute() + r.Month() + r.Day() + r.MinutePastHour() + r.EveryMinutes() +
       r.Weekday() + r.Year() + r.Pm() + r.WindowMatch() + static_cast<std::size_t>(r.LastChange() != 0.0);
  n += static_cast<std::size_t>(r.Category()) + static_cast<std::size_t>(r.CaseMode()) +
       static_cast<std::size_t>(r.Removal());
  n += static_cast<std::size_t>(r.MouseTop() + r.MouseLeft() + r.MouseBottom() + r.MouseRight()) + r.MouseButton() +
       r.WindowPartFlag() + r.Reserved() + r.MenuVertical() + r.MenuIconsPerRow();
  for (int d = 0; d < 7; ++d) n += r.DayFlag(d);
  for (int i = 0; i <= 11; ++i) n += static_cast<std::size_t>(r.MenuOption(i));
  // A menu lists as many items as its count says, within what a record holds.
  const int items = std::clamp<int>(r.MenuItemCount(), 0, wdx::macro_rec::kMaxMenuItems);
  for (int i = 1; i <= items; ++i) n += static_cast<std::size_t>(r.MenuItem(i));
  n += wdx::HotKeyName(r.ActivationCode()).size();
  sink = n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  platform::MemoryPlatform mem;
  TSettingsRec settings;
  TGlobData glob;
  QuietListener listener;
  settings.programFolder = "C:\\WENDRIX";
  settings.currentLibrary = kLibrary;
  fuzz::WriteBytes(mem.NativePath(kLibrary), fuzz::AsText(data, size));
  // Library and icon paths from the file must stay inside the stand-in's root.
  fuzz::RootedFiles files(mem);
  MacroLibrary lib(settings, glob, files, mem.boxes, mem.clock, listener, LibraryOptions::Player());
  lib.LoadMacroLibrary(kLibrary, true);

  const std::int32_t count = glob.MacroCount();
  if (count < 0 || count > kMaxMacros) fuzz::Finding("the macro count left the tables: " + std::to_string(count));
  TMacroRec record;
  for (std::int32_t n = 1; n <= count; ++n) {
    if (lib.ReadMacroRecord(n, record)) ReadEveryField(record);
    sink = glob.ScopeText(n).size() + glob.ActivationCode(n) + static_cast<std::size_t>(glob.ScopeKind(n));
  }
  lib.ThereAreAbbrekeys();
  if (count >= 1) {
    lib.SetMacroEnabled(1, 0);
    if (lib.ReadMacroRecord(1, record)) lib.WriteMacroRecord(-1, record, true);
    lib.DeleteMacroRecord(count);
    lib.ReloadMacroLibrary(false);
  }
  return 0;
}
