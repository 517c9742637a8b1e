// The Abbrekey road of the player: the characters the hook library reports (UM_ABBREKEYCHAR)
// collected into the typed word, the word tested against the active Abbrekey macros
// (abbrekeys_matcher.h), the chosen macro run with the typed Abbrekey erased first; and the
// typed characters of the Wait For Text command (UM_TYPEDCHAR).
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "player/core/abbrekeys_matcher.h"
#include "player/core/collaborators.h"
#include "player/core/run_frame.h"
#include "player/core/window_activation.h"
#include "shared/glob_data.h"
#include "shared/macro_library.h"
#include "shared/settings.h"

namespace wdx::player {

// How long an Abbrekey run waits for the user to let go of Shift (a capital last letter).
inline constexpr std::uint32_t kAbbrekeyShiftWaitMs = 2000;

class AbbrekeyActivation final : public Abbrekeys {
 public:
  AbbrekeyActivation(platform::Platform& platform, TGlobData& block, TSettingsRec& settings, MacroLibrary& library,
                     RunFrame& frame, WindowActivation& activation);

  void Typed(std::uint64_t flags, std::uint8_t c) override;
  void TypedForWait(std::uint64_t flags, std::uint8_t c) override;

  const std::string& Word() const { return word_.Buffer(); }

 private:
  // TMainWin.TestIt: true when it ran a macro.
  bool TestIt(const AbbrekeyOptions& o);
  bool RunAbbrekeyMacro(int number, const AbbrekeyOptions& o);
  // The index follows the library's tables.
  void Refresh();
  void WaitForShiftUp();

  platform::Platform& platform_;
  TGlobData& block_;
  TSettingsRec& settings_;
  MacroLibrary& library_;
  RunFrame& frame_;
  WindowActivation& activation_;
  AbbrekeyIndex index_;
  AbbrekeyWord word_;
  bool built_ = false;
  std::uint32_t builtRevision_ = 0;
};

}  // namespace wdx::player
