#include "shared/hot_key_use.h"

#include <algorithm>

namespace wdx {

std::vector<std::string> HotKeyUse::Rows() const {
  std::vector<std::string> rows;
  rows.reserve(kHotKeyCount);
  for (int i = 0; i < kHotKeyCount; ++i) rows.push_back(HotKeyListRow(i, macros[static_cast<std::size_t>(i)]));
  return rows;
}

HotKeyUse CountHotKeyUse(const TGlobData& block, std::initializer_list<std::int16_t> takers, int except) {
  HotKeyUse use;
  const int count = std::clamp(block.MacroCount(), 0, kGlobMaxMacros);
  for (int i = 1; i <= count; ++i) {
    const int code = block.ActivationCode(i);
    if (!IsHotKeyIndex(code)) continue;
    ++use.macros[static_cast<std::size_t>(code)];
    if (i == except) continue;
    if (std::find(takers.begin(), takers.end(), block.ScopeKind(i)) != takers.end())
      use.taken.set(static_cast<std::size_t>(code));
  }
  return use;
}

}  // namespace wdx
