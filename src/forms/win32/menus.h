// Native menus built from the model's item tree (menu bars and pop-up menus). Items are known
// by their path (indexes from the root), never by pointer, since the program may rebuild the
// tree while a menu is up.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "forms/menu.h"

namespace wdx::forms::win32 {

using MenuPath = std::vector<int>;

// The item at `path` below `root`, or nullptr when the tree has no such item (any more).
const MenuItem* ItemAt(const MenuItem* root, const MenuPath& path);

// The command ids of the items of one native menu, and its submenus.
class MenuIds {
 public:
  UINT IdFor(const MenuPath& path);
  // The path of a command id, or nullptr when it is none of ours.
  const MenuPath* PathOf(UINT id) const;
  // Appends the items of `menu` (at `path`) to `h`; submenus are filled too and remembered.
  void Fill(HMENU h, const MenuItem& menu, const MenuPath& path);
  // Fills a submenu afresh from the model as it opens; false when it is none of ours.
  bool Refresh(HMENU h, const MenuItem* root);
  void ForgetSubmenus() { submenus_.clear(); }

 private:
  std::map<MenuPath, UINT> ids_;
  std::vector<MenuPath> paths_;
  std::map<HMENU, MenuPath> submenus_;
};

}  // namespace wdx::forms::win32
