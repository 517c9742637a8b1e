// Mouse-click macros (activation 15000): a click of a given button inside a screen rectangle or
// on a part of a window's frame runs the macro. The areas of the library are kept in macro
// order with everything the hit test needs, so a click that matches nothing reads no record.
#pragma once

#include <cstdint>
#include <vector>

#include "hook/hook_library.h"
#include "platform/platform.h"
#include "player/core/collaborators.h"
#include "player/core/run_frame.h"
#include "player/core/window_activation.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"

namespace wdx::player {

// One mouse-click macro's area, as its record has it.
struct MouseArea {
  std::int16_t top = 0;  // the window part, for a window-part area
  std::int16_t left = 0;
  std::int16_t bottom = 0;
  std::int16_t right = 0;
  std::uint8_t button = 0;  // the record's numbering: 1 left, 2 middle, 3 right
  std::uint8_t kind = 0;    // 1 a window part, anything else a screen rectangle
  int macro = 0;
};

// The window part (1 maximise .. 8 border) a hit-test code lands on; 0 for none.
int WindowPartOfHitTest(std::int64_t hitTest);
// Whether a click (its hit-test code; the point's low half against top..bottom and its high
// half against left..right, bounds included) lands in the area. A rectangle stored with its
// corners swapped still covers the screen between them.
bool AreaHit(const MouseArea& area, std::int64_t hitTest, std::int16_t low, std::int16_t high);

class MouseClickAreas final : public MouseAreas {
 public:
  MouseClickAreas(platform::Platform& platform, hook::HookLibrary& hook, MacroLibrary& library, TGlobData& block,
                  RunFrame& frame, WindowActivation& activation);

  // Every mouse-click macro of the library, active or not, sets the hook library's flag for
  // its button; the flags are pushed.
  void Load() override;
  void Clear() override;
  // `button` in the click messages' numbering (1 left, 2 right, 3 middle). Three passes:
  // scoped macros whose window or program must be in front, scoped macros whose window or
  // program is brought to the front, then global ones; the first found runs.
  void Clicked(int button, std::uint64_t hitTest, std::int64_t point) override;

  const std::vector<MouseArea>& Areas() const { return areas_; }

 private:
  int Find(int pass, int recordButton, std::int64_t hitTest, std::int16_t low, std::int16_t high);
  bool ScopeMatches(int macro, int pass);
  bool BringUpRunningProgram(const std::string& program);

  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  MacroLibrary& library_;
  TGlobData& block_;
  RunFrame& frame_;
  WindowActivation& activation_;
  std::vector<MouseArea> areas_;
};

}  // namespace wdx::player
