#include "player/core/mouse_areas.h"

#include <algorithm>

#include "player/core/run_coordinator.h"
#include "shared/mouse_buttons.h"
#include "shared/text_util.h"

namespace wdx::player {

int WindowPartOfHitTest(std::int64_t hitTest) {
  switch (hitTest) {
    case 9: return window_part::kMaximize;          // HTMAXBUTTON
    case 8: return window_part::kMinimize;          // HTMINBUTTON
    case 3: return window_part::kSystemMenu;        // HTSYSMENU
    case 7: return window_part::kVerticalScroll;    // HTVSCROLL
    case 6: return window_part::kHorizontalScroll;  // HTHSCROLL
    case 2: return window_part::kTitleBar;          // HTCAPTION
    case 5: return window_part::kMenu;              // HTMENU
    default:
      // HTLEFT .. HTBOTTOMRIGHT and HTBORDER
      return hitTest >= 10 && hitTest <= 18 ? window_part::kBorder : 0;
  }
}

bool AreaHit(const MouseArea& area, std::int64_t hitTest, std::int16_t low, std::int16_t high) {
  if (area.kind == 1) {
    const int part = WindowPartOfHitTest(hitTest);
    return part != 0 && part == area.top;
  }
  const auto [top, bottom] = std::minmax(area.top, area.bottom);
  const auto [left, right] = std::minmax(area.left, area.right);
  return low >= top && low <= bottom && high >= left && high <= right;
}

MouseClickAreas::MouseClickAreas(platform::Platform& platform, hook::HookLibrary& hook, MacroLibrary& library,
                                 TGlobData& block, RunFrame& frame, WindowActivation& activation)
    : platform_(platform), hook_(hook), library_(library), block_(block), frame_(frame), activation_(activation) {}

void MouseClickAreas::Load() {
  areas_.clear();
  for (int button = 1; button <= 3; ++button) block_.SetMouseClickFlag(button, false);
  const int limit = MacroLimit(block_);
  TMacroRec r;
  for (int i = 1; i <= limit; ++i) {
    if (block_.ActivationCode(i) != activation::kMouseClick || !library_.ReadMacroRecord(i, r)) continue;
    if (const int flag = SwapButtonNumbering(r.MouseButton())) block_.SetMouseClickFlag(flag, true);
    areas_.push_back({r.MouseTop(), r.MouseLeft(), r.MouseBottom(), r.MouseRight(), r.MouseButton(),
                      r.WindowPartFlag(), i});
  }
  hook_.WdxUpMouseClk(block_);
}

void MouseClickAreas::Clear() { areas_.clear(); }

void MouseClickAreas::Clicked(int button, std::uint64_t hitTest, std::int64_t point) {
  const int recordButton = SwapButtonNumbering(button);
  if (recordButton == 0) return;
  const auto hit = static_cast<std::int64_t>(static_cast<std::int32_t>(hitTest));
  const auto low = static_cast<std::int16_t>(point & 0xFFFF);
  const auto high = static_cast<std::int16_t>((point >> 16) & 0xFFFF);
  int found = -1;
  for (int pass = 1; pass <= 3 && found < 0; ++pass) found = Find(pass, recordButton, hit, low, high);
  if (found < 0 || frame_.State().macroPlaying) return;
  TMacroRec r;
  if (!library_.ReadMacroRecord(found, r)) return;
  frame_.State().currentMacroNumber = found;
  frame_.StartRun({r.Text(), r.Nickname(), r.ActivationCode(), true, false});
}

int MouseClickAreas::Find(int pass, int recordButton, std::int64_t hitTest, std::int16_t low, std::int16_t high) {
  for (const MouseArea& a : areas_) {
    if (!block_.MacroActive(a.macro)) continue;
    const bool global = block_.ScopeKind(a.macro) == scope::kGlobal;
    const bool mustBeInFront = block_.WindowMatch(a.macro) != 0;
    if (pass == 1 && (global || !mustBeInFront)) continue;
    if (pass == 2 && (global || mustBeInFront)) continue;
    if (pass == 3 && !global) continue;
    if (a.button != recordButton || !AreaHit(a, hitTest, low, high)) continue;
    if (pass == 3 || ScopeMatches(a.macro, pass)) return a.macro;
  }
  return -1;
}

bool MouseClickAreas::ScopeMatches(int macro, int pass) {
  const std::string scopeText = UpperAscii(block_.ScopeText(macro));
  if (scopeText.empty()) return false;
  if (block_.ScopeKind(macro) == scope::kWindow) {
    if (pass == 1) {
      const platform::WindowHandle front = platform_.windows->GetForegroundWindow();
      if (front == platform::kNoWindow) return false;
      const std::string title = activation_.UpperTitle(front);
      return !title.empty() && title.find(scopeText) != std::string::npos;
    }
    platform::WindowHandle target = platform::kNoWindow;
    return activation_.ActivateIt(block_.ScopeText(macro), target);
  }
  if (pass == 1) return UpperAscii(block_.ForegroundProgram()).find(scopeText) != std::string::npos;
  return BringUpRunningProgram(scopeText);
}

bool MouseClickAreas::BringUpRunningProgram(const std::string& program) {
  const int count = std::clamp(block_.RunningCount(), 0, kGlobMaxRunningPrograms);
  for (int i = 1; i <= count; ++i) {
    if (UpperAscii(block_.RunningProgram(i)).find(program) == std::string::npos) continue;
    platform::WindowHandle target = platform::kNoWindow;
    activation_.ActivateProg(program, target);
    return true;
  }
  return false;
}

}  // namespace wdx::player
