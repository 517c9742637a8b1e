// Menus: the menu bar of a form and pop-up menus. A menu is a tree of items held by value;
// the program may change captions, enabling and check marks and rebuild the tree at any time:
// a menu, the bar included, shows the state it has when the user opens it. A caption "-" makes
// a separator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wdx::forms {

// A key that chooses a menu item from anywhere in its form (an accelerator), shown after the
// item's caption.
struct Shortcut {
  std::uint8_t key = 0;  // virtual key; 0: none
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  bool operator==(const Shortcut&) const = default;
};

// "Del", "Ctrl+S", "F5": the text a menu shows for the shortcut (empty for none).
std::string ShortcutText(const Shortcut& shortcut);

class MenuItem {
 public:
  MenuItem() = default;
  MenuItem(std::string name, std::string caption, std::function<void()> onClick = {});

  std::string name;
  std::string caption;
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  Shortcut shortcut;
  std::function<void()> onClick;
  // A submenu when not empty.
  std::vector<MenuItem> items;

  bool IsSeparator() const { return caption == "-"; }
  // Appends an item and returns it (valid until the next change of `items`).
  MenuItem& Add(std::string itemName, std::string itemCaption, std::function<void()> handler = {});
  MenuItem& AddSeparator();
  // The item of that name anywhere below this one (depth first), or nullptr.
  MenuItem* Find(std::string_view itemName);
  const MenuItem* Find(std::string_view itemName) const;
  // Whether the user can choose the item of that name now: it and every menu above it are
  // visible and enabled, and it opens no submenu.
  bool CanChoose(std::string_view itemName) const;
  // The item below this one that the shortcut chooses now (as CanChoose), or nullptr.
  const MenuItem* FindShortcut(const Shortcut& key) const;
};

}  // namespace wdx::forms
