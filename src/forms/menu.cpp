#include "forms/menu.h"

namespace wdx::forms {

MenuItem::MenuItem(std::string itemName, std::string itemCaption, std::function<void()> handler)
    : name(std::move(itemName)), caption(std::move(itemCaption)), onClick(std::move(handler)) {}

MenuItem& MenuItem::Add(std::string itemName, std::string itemCaption, std::function<void()> handler) {
  items.emplace_back(std::move(itemName), std::move(itemCaption), std::move(handler));
  return items.back();
}

MenuItem& MenuItem::AddSeparator() { return Add({}, "-"); }

MenuItem* MenuItem::Find(std::string_view itemName) {
  return const_cast<MenuItem*>(static_cast<const MenuItem*>(this)->Find(itemName));
}

const MenuItem* MenuItem::Find(std::string_view itemName) const {
  for (const MenuItem& item : items) {
    if (item.name == itemName) return &item;
    if (const MenuItem* found = item.Find(itemName)) return found;
  }
  return nullptr;
}

namespace {
bool Choosable(const MenuItem& menu, std::string_view name) {
  for (const MenuItem& item : menu.items) {
    if (!item.visible || !item.enabled || item.IsSeparator()) continue;
    if (item.name == name) return item.items.empty();
    if (Choosable(item, name)) return true;
  }
  return false;
}
}  // namespace

bool MenuItem::CanChoose(std::string_view itemName) const { return Choosable(*this, itemName); }

const MenuItem* MenuItem::FindShortcut(const Shortcut& key) const {
  if (key.key == 0) return nullptr;
  for (const MenuItem& item : items) {
    if (!item.visible || !item.enabled || item.IsSeparator()) continue;
    if (item.items.empty() && item.shortcut == key) return &item;
    if (const MenuItem* found = item.FindShortcut(key)) return found;
  }
  return nullptr;
}

std::string ShortcutText(const Shortcut& s) {
  std::string name;
  if (s.key >= 'A' && s.key <= 'Z') {
    name = std::string(1, static_cast<char>(s.key));
  } else if (s.key >= '0' && s.key <= '9') {
    name = std::string(1, static_cast<char>(s.key));
  } else if (s.key >= 0x70 && s.key <= 0x7B) {
    name = "F" + std::to_string(s.key - 0x70 + 1);
  } else {
    switch (s.key) {
      case 0x2E:
        name = "Del";
        break;
      case 0x2D:
        name = "Ins";
        break;
      case 0x0D:
        name = "Enter";
        break;
      case 0x1B:
        name = "Esc";
        break;
      case 0x08:
        name = "BkSp";
        break;
      default:
        return {};
    }
  }
  std::string text;
  if (s.ctrl) text += "Ctrl+";
  if (s.shift) text += "Shift+";
  if (s.alt) text += "Alt+";
  return text + name;
}

}  // namespace wdx::forms
