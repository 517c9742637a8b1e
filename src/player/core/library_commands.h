// The player's side of the macro control commands (player/interpreter/macro_control.h): the
// library's macros as the settings' nickname table and the hook-globals block know them, the
// network lock, and the library changes a macro makes, carried out in the file, the tables, the
// hook library and everything the main window derives from the library.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/editor_link.h"
#include "player/core/library_sync.h"
#include "player/interpreter/macro_control.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

class LibraryCommands final : public LibraryControl {
 public:
  // What the main window rebuilds after a change: after a delete (the menu icons too when the
  // deleted macro was a menu, the schedules when it was timed), and after an activation.
  struct Rebuild {
    std::function<void(bool wasMenu, bool wasTimed)> afterDelete;
    std::function<void(bool timed)> afterActivation;
  };
  LibraryCommands(platform::Platform& platform, hook::HookLibrary& hook, MacroLibrary& library, TGlobData& block,
                  TSettingsRec& settings, LibrarySync& sync, EditorPeer& editor, MainWindowActions& main,
                  std::function<platform::WindowHandle()> mainWindow, Rebuild rebuild);

  int MacroCount() override;
  std::string Nickname(int macro) override;
  bool Active(int macro) override;
  std::int16_t ScopeKind(int macro) override;
  std::string ScopeText(int macro) override;
  std::optional<std::string> MacroText(int macro) override;
  bool FileInUse() override { return sync_.FileInUse(); }
  void ReleaseSyncFile(int changes) override { sync_.ReleaseSyncFile(changes); }
  void DeleteMacro(int macro) override;
  void SetMacroActive(int macro, bool active) override;
  std::optional<std::string> SwitchLibrary(const std::string& path) override;
  void OpenEditor() override { main_.OpenEditor(false); }
  void TellEditor(int code, int argument) override { editor_.Tell(static_cast<std::uint32_t>(code), argument); }

 private:
  bool Known(int macro);

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  MacroLibrary& library_;
  TGlobData& block_;
  TSettingsRec& settings_;
  LibrarySync& sync_;
  EditorPeer& editor_;
  MainWindowActions& main_;
  std::function<platform::WindowHandle()> mainWindow_;
  Rebuild rebuild_;
};

}  // namespace wdx::player
