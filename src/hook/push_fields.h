// Which fields of the hook-globals block each push export of the hook library takes from the
// caller's block into the library's own copy. Both the real library and the in-process
// stand-in copy through this one table.
#pragma once

#include <vector>

#include "shared/glob_data.h"

namespace wdx::hook {

enum class Push {
  kInit,       // WdxUpInit: the whole block as prepared at start
  kWindow,     // WdxUpWindow: 0
  kWindow2,    // WdxUpWindow2: 753..762
  kKeyHook,    // WdxUpKeyHook: 749, 745
  kMouseHook,  // WdxUpMouseHook: 749, 745
  kKeys,       // WdxUpKeys: 17..737, 14322
  kNumKeys,    // WdxUpNumKeys: 14316
  kItem,       // WdxUpItem: one macro's table entries
  kCapture,    // WdxUpCapture: 739..799
  kCaptureOn,  // WdxUpCaptureOn: 738
  kInUse,      // WdxUpInUse: 783
  kIdle,       // WdxUpIdle: 14579, 14580, 14585
  kProg,       // WdxUpProg: 14323
  kProgs,      // WdxUpProgs: 14574, 14589..19788
  kWaits,      // WdxUpWaits: 14581..14584
  kMouseClk,   // WdxUpMouseClk: 19789..19791
};

// The ranges a push copies; for kItem the macro number picks the entries (none outside 1..500).
std::vector<ByteRange> PushRanges(Push push, int macro = 0);

}  // namespace wdx::hook
