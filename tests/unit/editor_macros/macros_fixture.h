// The editor over the in-memory desktop with the macro operations installed, a lock that counts
// what it is asked, and helpers to write records and play the user in the dialogs the
// operations open.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../editor_shell/editor_fixture.h"
#include "editor/macros/macro_operations.h"
#include "forms/user.h"

namespace wdx::editor::testing {

using Notices = std::vector<std::pair<int, std::int64_t>>;

class MacrosFixture : public EditorFixture {
 public:
  void StartWith(const std::vector<TMacroRec>& records) {
    WriteRecords(records);
    Start();
    ops = InstallMacroOperations(Main(), editor->Context(), SubEditors{});
    editor->Context().lock = &lock;
    TakeNotices();
  }
  void WriteRecords(const std::vector<TMacroRec>& records) {
    const std::filesystem::path native = mem.NativePath(kLibrary);
    std::filesystem::create_directories(native.parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    for (const TMacroRec& r : records) out.write(reinterpret_cast<const char*>(r.data()), kMacroRecSize);
    mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
  }
  TMacroRec Stored(int n) { return ReadLibrary().at(static_cast<std::size_t>(n - 1)); }
  // Plays `script` in the next form shown, cast to its class.
  template <typename F>
  void Next(std::function<void(F&)> script) {
    runner.Then([script](forms::Form& f) { script(dynamic_cast<F&>(f)); });
  }
  // Clicks macro `n`'s row and chooses a menu item of the main window.
  void Choose(int n, const char* item) {
    if (n > 0) forms::user::ClickCell(Main().MyGrid, forms::MouseButton::kLeft, 3, Main().List().RowOf(n));
    forms::user::ChooseMenu(Main(), item);
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> out;
    for (const auto& b : mem.boxes.shown) out.push_back(b.text);
    mem.boxes.shown.clear();
    return out;
  }

  CountingLock lock;
  std::shared_ptr<MacroOperations> ops;
};

// A record with a menu of the given items.
inline TMacroRec MenuRecord(const std::string& name, std::uint16_t code, std::int16_t kind, const std::vector<int>& items) {
  TMacroRec r = MakeRecord({name, code, kind});
  r.SetMenuOptions("N3  ");
  r.SetMenuItemCount(static_cast<std::int16_t>(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i) r.SetMenuItem(static_cast<int>(i) + 1, static_cast<std::int16_t>(items[i]));
  return r;
}

inline std::vector<int> MenuItems(const TMacroRec& r) {
  std::vector<int> items;
  for (int i = 1; i <= r.MenuItemCount(); ++i) items.push_back(r.MenuItem(i));
  return items;
}

}  // namespace wdx::editor::testing
