// The popup and floating menus of macros (TDoAMenu): a popup-menu macro's modal menu, the menu
// of the macros scoped to the window in front, and the floating menus of the active
// floating-menu macros, whose places the settings keep.
//
// A floating menu's form may be running a handler (a chosen entry plays its macro, which pumps
// messages) when a message closes the menus: such a form is hidden and kept until no menu
// handler runs, and only then freed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/protocol.h"
#include "player/core/run_frame.h"
#include "player/core/window_titles.h"
#include "player/prompts/do_a_menu.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

inline constexpr char kNoTopWindowMacrosText[] =
    "There are no macros defined with a specific window title or program name that match the current top most "
    "active window.";

class MenuWindows final : public MacroMenus {
 public:
  // `run` plays a macro chosen from a menu as the menus' road does (a popup menu opens, system
  // macro "4" the top-window menu, any other runs); `deactivate` is asked when the user closes
  // a floating menu.
  struct Actions {
    std::function<void(int macro)> run;
    std::function<void(int macro)> deactivate;
  };
  MenuWindows(platform::Platform& platform, MacroLibrary& library, TGlobData& block, TSettingsRec& settings,
              Configs& configs, RunFrame& frame, WindowTitles& titles, WindowActivation& activation,
              std::string programFolder);
  void SetActions(Actions actions) { actions_ = std::move(actions); }

  int ShowPopup(int macro, int position) override;
  void ShowTopWindowMenu() override;
  // Every active floating-menu macro opens; the first 15 floating-menu macros (active or not,
  // in macro order) have a stored place each.
  void OpenFloaters() override;
  // Every floating menu closes; the places of the first 15 are stored and written.
  void CloseFloaters() override;
  void OpenFloater(int macro) override;
  void CloseFloater(int macro) override;

  // The open floating menus, in the order they were opened.
  struct Floater {
    int macro = 0;
    int slot = 0;  // 1..15: its stored place; 0: none
    std::unique_ptr<MenuModel> model;
    std::unique_ptr<TDoAMenu> form;
  };
  const std::vector<Floater>& Floaters() const { return floaters_; }

 private:
  MenuModel ModelOf(const MenuSpec& spec);
  int ShowModal(MenuModel& model);
  // The rank of floating-menu macro `macro` among all of them (1-based), 0 when not one.
  int SlotOf(int macro) const;
  void Open(int macro, int position);
  void StorePlace(const Floater& f);
  void Retire(Floater& f);
  void FreeRetired();
  void FloatChoice(int macro);

  platform::Platform& platform_;
  MacroLibrary& library_;
  TGlobData& block_;
  TSettingsRec& settings_;
  Configs& configs_;
  RunFrame& frame_;
  WindowTitles& titles_;
  WindowActivation& activation_;
  std::string programFolder_;
  Actions actions_;
  std::vector<Floater> floaters_;
  std::vector<Floater> retired_;
  int handlersRunning_ = 0;
};

}  // namespace wdx::player
