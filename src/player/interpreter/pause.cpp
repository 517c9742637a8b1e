// The pause of a macro: "<PAUSE>" and "<PAUSE:" open the pause window and wait until the user
// chooses Resume (the macro goes on) or Abort (the current level ends, without a message;
// enclosing levels go on).
#include <algorithm>
#include <string>

#include "platform/virtual_keys.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "shared/globals.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Pause Error";
constexpr std::size_t kShortText = 255;

// "<PAUSE>" in the middle of the screen; "<PAUSE:" + top + "," + left + message + ">" at the
// place given, kept on the screen at the right and bottom.
Flow PauseTag(Interpreter& in, Level& level, const TagInfo& tag) {
  platform::Input* input = Facility(in, &platform::Platform::input, kCaption, "screen");
  if (input == nullptr) return Flow::GoOn();
  ScreenFactors screen;
  GetScreenFactors(*input, screen);
  int top = 0;
  int left = 0;
  std::string message;
  if (tag.id == TagId::kPause) {
    top = (screen.ScreenHeight - PauseWindowSize::kHeight) / 2;
    left = (screen.ScreenWidth - PauseWindowSize::kWidth) / 2;
  } else {
    const CommandFields f = FieldsOf(level, tag, cmd::kPauseAt);
    top = f.Whole(cmd::pause_at::kTop);
    left = f.Whole(cmd::pause_at::kLeft);
    message = f.Raw(cmd::pause_at::kMessage);
    if (message.find("%T") != std::string::npos) in.Host().ProcessStringVar(message, kShortText);
    top = std::min(top, screen.ScreenHeight - (PauseWindowSize::kHeight + PauseWindowSize::MessageHeight(message.size())));
    left = std::min(left, screen.ScreenWidth - PauseWindowSize::kWidth);
  }
  MacroPrompts* prompts = in.Host().Prompts();
  const std::optional<bool> resumed = prompts != nullptr ? prompts->Pause(top, left, message) : std::nullopt;
  if (!resumed.has_value()) {
    in.Fail(kCaption, "The pause window is not available in this build. Macro will abort.");
    return Flow::GoOn();
  }
  if (*resumed) return Flow::GoOn();
  // Abort: Caps Lock goes back on when the run turned it off, and this level ends here.
  if (in.State().capsWasOn) in.PressKey(vk::kCapital);
  return Flow::LeaveLevel();
}

class PauseFamily final : public CommandFamily {
 public:
  explicit PauseFamily(Interpreter& in) { in.Claim<&PauseTag>(TagFamily::kPause, *this); }
};

}  // namespace

std::unique_ptr<CommandFamily> MakePauseFamily(Interpreter& in) { return std::make_unique<PauseFamily>(in); }

}  // namespace wdx::player
