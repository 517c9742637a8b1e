#include "shared/macro_record.h"

#include <stdexcept>

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

}  // namespace wdx
