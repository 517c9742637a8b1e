#include "hook/push_fields.h"

namespace wdx::hook {

std::vector<ByteRange> PushRanges(Push push, int macro) {
  using namespace glob;
  switch (push) {
    case Push::kInit:
      return {{0, kGlobDataSize}};
    case Push::kWindow:
      return {{kPlayerWindow, 4}};
    case Push::kWindow2:
      return {{kSecondaryWindow, 10}};
    case Push::kKeyHook:
    case Push::kMouseHook:
      return {{kMouseHook, 8}};
    case Push::kKeys:
      return {{kHotKeyMap, kGlobHotKeyCount}, {kAbbrekeysPresent, 1}};
    case Push::kNumKeys:
      return {{kMacroCount, 4}};
    case Push::kItem:
      return MacroEntryRanges(macro);
    case Push::kCapture:
      return {{kCaptureMacro, 799 - kCaptureMacro + 1}};
    case Push::kCaptureOn:
      return {{kCaptureOn, 1}};
    case Push::kInUse:
      return {{kInUse, 1}};
    case Push::kIdle:
      return {{kIdleTracking, 2}, {kIdleSeconds, 4}};
    case Push::kProg:
      return {{kForegroundProgram, kGlobForegroundProgramMax + 1}};
    case Push::kProgs:
      return {{kRunningCount, 4},
              {kRunningPrograms, (kGlobRunningProgramMax + 1) * static_cast<std::size_t>(kGlobMaxRunningPrograms)}};
    case Push::kWaits:
      return {{kWaitClick, 4}};
    case Push::kMouseClk:
      return {{kMouseClickLeft, 3}};
  }
  return {};
}

}  // namespace wdx::hook
