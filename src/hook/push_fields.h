// Which fields of the hook-globals block each push export of the hook library takes from the
// caller's block into the library's own copy. Both the real library and the in-process
// stand-in copy through this one table; a field's push group (shared/glob_data.h) is the export
// that carries it.
#pragma once

#include <vector>

#include "shared/glob_data.h"

namespace wdx::hook {

// The ranges a push copies; for kItem the macro number picks the entries (none outside 1..500).
//   kInit: the whole block         kWindow: 0             kWindow2: 753..762
//   kKeyHook, kMouseHook: 745..752 kKeys: 17..737, 14322  kNumKeys: 14316
//   kCapture: 739..799             kCaptureOn: 738        kInUse: 783
//   kIdle: 14579, 14580, 14585     kProg: 14323           kProgs: 14574, 14589..19788
//   kWaits: 14581..14584           kMouseClk: 19789..19791
std::vector<ByteRange> PushRanges(PushGroup push, int macro = 0);

// The library's export that carries a push group ("WdxUpInit", ...).
const char* PushExportName(PushGroup push);

}  // namespace wdx::hook
