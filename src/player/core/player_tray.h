// The player's notification-area icons and what they do: the main icon (a left click brings up
// the editor, a right click opens the tray menu, or aborts the macro that plays), the recording
// icon (a right click ends the recording), one icon for each popup-menu macro flagged for the
// tray (a right click opens its menu), the tray menu and the About box.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/run_frame.h"
#include "player/core/task_icon.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

inline constexpr int kMenuIconsMax = 15;
inline constexpr char kRecordingTip[] = "Macro Is Recording";
inline constexpr char kLocatorProgram[] = "POINTSEEK.EXE";
inline constexpr char kLocatorToken[] = "QOW";
inline constexpr char kHelpFileName[] = "WENDRIX.HLP";
inline constexpr char kProductName[] = "Wendrix 2000";
inline constexpr char kProductVersion[] = "Version 1.0";

// The About box: the product's picture, name and version, and Ok.
class TAboutBox : public forms::Form {
 public:
  TAboutBox();
  forms::Panel ProgramIcon{this, "ProgramIcon", "W"};
  forms::Label ProductName{this, "ProductName", kProductName};
  forms::Label Version{this, "Version", kProductVersion};
  forms::Button Button1{this, "Button1", "&Ok"};
};

class PlayerTray final : public TrayIcons {
 public:
  // What the icons and the menu do to the rest of the player.
  struct Actions {
    std::function<void()> openEditor;          // ActivateMe, not minimized
    std::function<void()> terminate;           // close the player at the user's request
    std::function<void()> restoreHooks;        // re-install the keyboard and mouse hooks
    std::function<void(int macro)> endRecording;  // as the recording's end message does
    std::function<void(int macro)> menuIcon;   // open popup-menu macro `macro` (its hot-key road)
  };
  PlayerTray(platform::Platform& platform, RunFrame& frame, MacroLibrary& library, TGlobData& block,
             TSettingsRec& settings, std::string programFolder, Actions actions);
  ~PlayerTray() override;

  // TrayIcons
  void Create() override;
  void LoadMenuIcons() override;
  void ClearMenuIcons() override;
  void SetRecording(bool on) override;
  void SetRunningImage(bool running) override;
  void SetTip(const std::string& tip) override;
  void SetActive(bool active) override;

  // The tray menu as it opens (items named as their handlers).
  forms::MenuItem& Menu() { return menu_; }
  TTaskIcon* MainIcon() { return main_.get(); }
  TTaskIcon* RecordingIcon() { return recording_.get(); }
  const std::vector<std::unique_ptr<TTaskIcon>>& MenuIcons() const { return menuIcons_; }
  bool AboutOpen() const { return aboutOpen_; }

 private:
  std::unique_ptr<TTaskIcon> MakeIcon();
  bool CanDoMenu() const;
  void TaskIcon1Click();
  void TaskIcon1RightClick(platform::Point at);
  void MenuTaskIconRightClick(int macro, platform::Point at);
  void MenuAboutClick();
  void PopHelpClick();
  void MenuLaunchClick();

  platform::Platform& platform_;
  RunFrame& frame_;
  MacroLibrary& library_;
  TGlobData& block_;
  TSettingsRec& settings_;
  std::string programFolder_;
  Actions actions_;
  std::unique_ptr<TTaskIcon> main_;
  std::unique_ptr<TTaskIcon> recording_;
  std::vector<std::unique_ptr<TTaskIcon>> menuIcons_;
  forms::MenuItem menu_;
  bool aboutOpen_ = false;
};

}  // namespace wdx::player
