#include "player/core/library_commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "player/core/run_coordinator.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

LibraryCommands::LibraryCommands(platform::Platform& platform, hook::HookLibrary& hook, MacroLibrary& library,
                                 TGlobData& block, TSettingsRec& settings, LibrarySync& sync, EditorPeer& editor,
                                 MainWindowActions& main, std::function<platform::WindowHandle()> mainWindow,
                                 Rebuild rebuild)
    : platform_(platform),
      hook_(hook),
      library_(library),
      block_(block),
      settings_(settings),
      sync_(sync),
      editor_(editor),
      main_(main),
      mainWindow_(std::move(mainWindow)),
      rebuild_(std::move(rebuild)) {}

int LibraryCommands::MacroCount() { return MacroLimit(block_); }
bool LibraryCommands::Known(int macro) { return macro >= 1 && macro <= MacroCount(); }

std::string LibraryCommands::Nickname(int macro) {
  return Known(macro) ? settings_.nicknames[static_cast<std::size_t>(macro)] : std::string();
}
bool LibraryCommands::Active(int macro) { return Known(macro) && block_.MacroActive(macro); }
std::int16_t LibraryCommands::ScopeKind(int macro) { return Known(macro) ? block_.ScopeKind(macro) : 0; }
std::string LibraryCommands::ScopeText(int macro) { return Known(macro) ? block_.ScopeText(macro) : std::string(); }

std::optional<std::string> LibraryCommands::MacroText(int macro) {
  if (!Known(macro)) return std::nullopt;
  // Records are large; a chain of macros running each other keeps one per level.
  auto record = std::make_unique<TMacroRec>();
  if (!library_.ReadMacroRecord(macro, *record)) return std::nullopt;
  return record->Text();
}

void LibraryCommands::DeleteMacro(int macro) {
  if (!Known(macro)) return;
  const bool wasTimed = block_.ActivationCode(macro) == activation::kTimed;
  const std::int16_t kind = block_.ScopeKind(macro);
  const bool wasMenu = kind == scope::kPopupMenu || kind == scope::kFloatingMenu;
  auto record = std::make_unique<TMacroRec>();
  const int count = MacroCount();
  for (int m = 1; m <= count; ++m) {
    const std::int16_t k = block_.ScopeKind(m);
    if (k != scope::kPopupMenu && k != scope::kFloatingMenu) continue;
    if (!library_.ReadMacroRecord(m, *record)) continue;
    if (RemoveFromMenu(*record, macro)) library_.WriteMacroRecord(m, *record);
  }
  library_.DeleteMacroRecord(macro);
  rebuild_.afterDelete(wasMenu, wasTimed);
}

void LibraryCommands::SetMacroActive(int macro, bool active) {
  if (!Known(macro)) return;
  block_.SetMacroActive(macro, active);
  hook_.WdxUpItem(block_, macro);
  library_.SetMacroEnabled(macro, active ? 1 : 0);
  editor_.Tell(editor_notice::kMacroEntries, macro);
  rebuild_.afterActivation(block_.ActivationCode(macro) == activation::kTimed);
  editor_.Tell(editor_notice::kRepaint, 0);
  // Posted: a floating menu may be what runs this macro.
  platform_.windows->PostMessage(mainWindow_(), UM_CONTROL, control::kReopenFloaters, macro);
}

std::optional<std::string> LibraryCommands::SwitchLibrary(const std::string& path) {
  const std::string error = "Cannot switch to macro file " + path + " because the file cannot be opened.";
  if (path.empty()) return error;
  // The switch creates a missing library; one that cannot be read or made would leave the
  // player with no macros, so the current one stays.
  const std::filesystem::path native(platform_.files->NativePath(path));
  std::error_code ec;
  if (std::filesystem::exists(native, ec)) {
    if (!std::filesystem::is_regular_file(native, ec) || !std::ifstream(native, std::ios::binary).is_open())
      return error;
  } else if (!std::ofstream(native, std::ios::binary | std::ios::app).is_open()) {
    return error;
  }
  main_.SwitchLibrary(path);
  return std::nullopt;
}

}  // namespace wdx::player
