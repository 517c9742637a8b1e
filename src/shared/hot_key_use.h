// Which hot keys the library's macros use: every dialog that lets the user choose a hot key lists
// the 721 keys with how many macros have each, and refuses or warns about the keys a macro holds
// for all windows. What "holds" means differs by dialog (system macros count in some, not in
// others), so the scope kinds that take a key are the caller's.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "shared/glob_data.h"
#include "shared/hot_keys.h"

namespace wdx {

struct HotKeyUse {
  // Per index: how many macros have it as their activation (any scope, active or not).
  std::array<int, kHotKeyCount> macros{};
  // Per index: a macro of one of the taking scope kinds has it.
  std::bitset<kHotKeyCount> taken;

  // The 721 rows of the lists, in index order (HotKeyListRow).
  std::vector<std::string> Rows() const;
};

// The use by macros 1..count of the block. `takers` are the scope kinds whose macros take their
// key; the macro `except` (0: none) is counted in the rows but takes nothing, so a macro never
// stands in its own way.
HotKeyUse CountHotKeyUse(const TGlobData& block, std::initializer_list<std::int16_t> takers, int except = 0);

}  // namespace wdx
