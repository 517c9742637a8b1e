#include "forms/win32/menus.h"

#include <string>

namespace wdx::forms::win32 {

namespace {
// Menu item ids come after every control id a form can have.
constexpr UINT kFirstMenuId = 0xA000;
}  // namespace

const MenuItem* ItemAt(const MenuItem* root, const MenuPath& path) {
  const MenuItem* item = root;
  for (int i : path) {
    if (!item || i < 0 || i >= static_cast<int>(item->items.size())) return nullptr;
    item = &item->items[static_cast<std::size_t>(i)];
  }
  return item;
}

UINT MenuIds::IdFor(const MenuPath& path) {
  auto it = ids_.find(path);
  if (it != ids_.end()) return it->second;
  const UINT id = kFirstMenuId + static_cast<UINT>(paths_.size());
  ids_[path] = id;
  paths_.push_back(path);
  return id;
}

const MenuPath* MenuIds::PathOf(UINT id) const {
  if (id < kFirstMenuId || id - kFirstMenuId >= paths_.size()) return nullptr;
  return &paths_[id - kFirstMenuId];
}

void MenuIds::Fill(HMENU h, const MenuItem& menu, const MenuPath& path) {
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItem& item = menu.items[i];
    if (!item.visible) continue;
    MenuPath sub = path;
    sub.push_back(static_cast<int>(i));
    if (item.IsSeparator()) {
      AppendMenuA(h, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = item.caption;
    if (const std::string key = ShortcutText(item.shortcut); !key.empty()) caption += "\t" + key;
    UINT flags = MF_STRING | (item.enabled ? 0u : MF_GRAYED) | (item.checked ? MF_CHECKED : 0u);
    if (!item.items.empty()) {
      HMENU child = CreatePopupMenu();
      Fill(child, item, sub);
      submenus_[child] = sub;
      AppendMenuA(h, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(child), item.caption.c_str());
    } else {
      AppendMenuA(h, flags, IdFor(sub), caption.c_str());
    }
  }
}

bool MenuIds::Refresh(HMENU h, const MenuItem* root) {
  auto it = submenus_.find(h);
  if (it == submenus_.end()) return false;
  const MenuPath path = it->second;
  const MenuItem* menu = ItemAt(root, path);
  if (!menu) return false;
  while (GetMenuItemCount(h) > 0) DeleteMenu(h, 0, MF_BYPOSITION);
  Fill(h, *menu, path);
  return true;
}

}  // namespace wdx::forms::win32
