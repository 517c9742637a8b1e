#include "hook/push_fields.h"

namespace wdx::hook {

std::vector<ByteRange> PushRanges(PushGroup push, int macro) {
  using namespace glob;
  switch (push) {
    case PushGroup::kInit:
      return {{0, kGlobDataSize}};
    case PushGroup::kWindow:
      return {{kPlayerWindow, 4}};
    case PushGroup::kWindow2:
      return {{kSecondaryWindow, 10}};
    case PushGroup::kKeyHook:
    case PushGroup::kMouseHook:
      return {{kMouseHook, 8}};
    case PushGroup::kKeys:
      return {{kHotKeyMap, kGlobHotKeyCount}, {kAbbrekeysPresent, 1}};
    case PushGroup::kNumKeys:
      return {{kMacroCount, 4}};
    case PushGroup::kItem:
      return MacroEntryRanges(macro);
    case PushGroup::kCapture:
      return {{kCaptureMacro, kWindowRelativeMouse2 - kCaptureMacro + 1}};
    case PushGroup::kCaptureOn:
      return {{kCaptureOn, 1}};
    case PushGroup::kInUse:
      return {{kInUse, 1}};
    case PushGroup::kIdle:
      return {{kIdleTracking, 2}, {kIdleSeconds, 4}};
    case PushGroup::kProg:
      return {{kForegroundProgram, kGlobForegroundProgramMax + 1}};
    case PushGroup::kProgs:
      return {{kRunningCount, 4},
              {kRunningPrograms, (kGlobRunningProgramMax + 1) * static_cast<std::size_t>(kGlobMaxRunningPrograms)}};
    case PushGroup::kWaits:
      return {{kWaitClick, 4}};
    case PushGroup::kMouseClk:
      return {{kMouseClickLeft, 3}};
  }
  return {};
}

const char* PushExportName(PushGroup push) {
  switch (push) {
    case PushGroup::kCapture: return "WdxUpCapture";
    case PushGroup::kInit: return "WdxUpInit";
    case PushGroup::kIdle: return "WdxUpIdle";
    case PushGroup::kWindow: return "WdxUpWindow";
    case PushGroup::kWindow2: return "WdxUpWindow2";
    case PushGroup::kProg: return "WdxUpProg";
    case PushGroup::kCaptureOn: return "WdxUpCaptureOn";
    case PushGroup::kWaits: return "WdxUpWaits";
    case PushGroup::kMouseClk: return "WdxUpMouseClk";
    case PushGroup::kProgs: return "WdxUpProgs";
    case PushGroup::kKeys: return "WdxUpKeys";
    case PushGroup::kKeyHook: return "WdxUpKeyHook";
    case PushGroup::kMouseHook: return "WdxUpMouseHook";
    case PushGroup::kItem: return "WdxUpItem";
    case PushGroup::kNumKeys: return "WdxUpNumKeys";
    case PushGroup::kInUse: return "WdxUpInUse";
  }
  return "";
}

}  // namespace wdx::hook
