#include "shared/macro_record.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace wdx {

std::size_t TMacroRec::CheckedIndex(int i, int count) {
  // A wrong index is a programming error; it must not land in a neighbouring field.
  if (i < 0 || i >= count) throw std::out_of_range("macro record index " + std::to_string(i));
  return static_cast<std::size_t>(i);
}

void TMacroRec::ZeroReservedTail() {
  for (std::size_t k = 0; k < 3; ++k) bytes_.SetU8(macro_rec::kReserved3 + k, 0);
}

char TMacroRec::MenuOption(int index) const {
  std::string opts = MenuOptions();
  if (index < 1 || static_cast<std::size_t>(index) > opts.size()) return 0;
  return opts[static_cast<std::size_t>(index) - 1];
}

std::int16_t TMacroRec::MenuItem(int item) const {
  return bytes_.I16(macro_rec::kMenuItems + 2 * CheckedIndex(item - 1, macro_rec::kMaxMenuItems));
}

void TMacroRec::SetMenuItem(int item, std::int16_t macroNumber) {
  bytes_.SetI16(macro_rec::kMenuItems + 2 * CheckedIndex(item - 1, macro_rec::kMaxMenuItems), macroNumber);
}

std::string TMacroRec::ProgramName() const {
  return Abbrekey() + bytes_.ShortString(macro_rec::kProgramNameTail, 9);
}

void TMacroRec::SetProgramName(std::string_view name) {
  SetAbbrekey(name.substr(0, 10));
  bytes_.SetShortString(macro_rec::kProgramNameTail, 9, name.size() > 10 ? name.substr(10) : std::string_view(""));
}

bool RemoveFromMenu(TMacroRec& menu, int deleted) {
  const int count = std::clamp<int>(menu.MenuItemCount(), 0, macro_rec::kMaxMenuItems);
  std::vector<std::int16_t> kept;
  bool changed = false;
  for (int item = 1; item <= count; ++item) {
    const std::int16_t n = menu.MenuItem(item);
    if (n == deleted) {
      changed = true;
    } else if (n > deleted) {
      kept.push_back(static_cast<std::int16_t>(n - 1));
      changed = true;
    } else {
      kept.push_back(n);
    }
  }
  if (!changed) return false;
  for (int item = 1; item <= count; ++item)
    menu.SetMenuItem(item, item <= static_cast<int>(kept.size()) ? kept[static_cast<std::size_t>(item - 1)] : 0);
  menu.SetMenuItemCount(static_cast<std::int16_t>(kept.size()));
  return true;
}

}  // namespace wdx
