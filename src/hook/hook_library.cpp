#include "hook/hook_library.h"

#include <vector>

namespace wdx::hook {

bool GetGlobDataItem(HookLibrary& library, TGlobData& block, int group, int macro) {
  std::vector<std::uint8_t> buffer(kGlobDataSize, 0);
  library.WdxGetGlob(buffer);
  return block.CopyDataGroup(buffer, group, macro);
}

}  // namespace wdx::hook
