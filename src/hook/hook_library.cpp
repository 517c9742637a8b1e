#include "hook/hook_library.h"

#include <vector>

namespace wdx::hook {

void HookLibrary::Flush(TGlobData& block) {
  const PendingPushes pending = block.TakePending();
  for (std::size_t g = 0; g < kPushGroupCount; ++g) {
    if (!pending.groups.test(g)) continue;
    const auto group = static_cast<PushGroup>(g);
    if (group != PushGroup::kItem) {
      Push(group, block);
      continue;
    }
    for (int macro = 1; macro <= kGlobMaxMacros; ++macro)
      if (pending.items.test(static_cast<std::size_t>(macro))) Push(group, block, macro);
  }
}

bool GetGlobDataItem(HookLibrary& library, TGlobData& block, int group, int macro) {
  std::vector<std::uint8_t> buffer(kGlobDataSize, 0);
  library.WdxGetGlob(buffer);
  return block.CopyDataGroup(buffer, group, macro);
}

}  // namespace wdx::hook
