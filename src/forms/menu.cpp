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

}  // namespace wdx::forms
