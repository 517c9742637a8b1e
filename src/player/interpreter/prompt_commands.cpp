// The run-time prompts of the macro language: "<PASSP:" lets the macro go on only when the
// user enters its password; "<MENU:" asks for a choice among up to ten items and keeps the
// chosen items' letters in a text variable.
#include <string>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "player/interpreter/variables.h"
#include "shared/cipher.h"

namespace wdx::player {

namespace {

constexpr char kPasswordCaption[] = "Password Protection";
constexpr char kMenuCaption[] = "Choice Menu";

// The prompts of the host, or a failed run that says why.
MacroPrompts* PromptsOf(Interpreter& in, const char* caption, const char* what) {
  MacroPrompts* prompts = in.Host().Prompts();
  if (prompts == nullptr) in.Fail(caption, std::string("The ") + what + " is not available in this build. Macro will abort.");
  return prompts;
}

Flow Password(Interpreter& in, Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kPassp);
  // The field is cipher text: it is never expanded. One that cannot be read is no password at
  // all; taking it as an empty one would let any empty entry through.
  const std::optional<std::string> password = DecipherText(fields.Raw(cmd::passp::kPassword), kMacroTextKey);
  if (!password) {
    in.Fail(kPasswordCaption, "The password of this macro cannot be read. Macro will abort.");
    return Flow::JumpTo(level.text.size());
  }
  MacroPrompts* prompts = PromptsOf(in, kPasswordCaption, "password prompt");
  if (prompts == nullptr) return Flow::JumpTo(level.text.size());
  const platform::WindowHandle front = FrontBeforePrompt(in);
  const std::optional<bool> entered = prompts->Password(*password);
  FrontAfterPrompt(in, front);
  if (!entered) {
    in.Fail(kPasswordCaption, "The password prompt could not be shown. Macro will abort.");
    return Flow::JumpTo(level.text.size());
  }
  if (*entered) return Flow::GoOn();
  in.Fail(kPasswordCaption, "Password input aborted. Macro will abort.");
  // The level ends here, without a report of its own; enclosing levels report the abort.
  return Flow::JumpTo(level.text.size());
}

void ChoiceMenu(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::menu;
  const CommandFields fields = FieldsOf(level, tag, cmd::kMenu);
  // The choice has nowhere to go outside the text variables: such a menu is not shown.
  std::string* target = TextVariable(in, fields.Whole(f::kVariable));
  if (target == nullptr) return;
  ChoiceMenuText menu;
  menu.kind = fields.Whole(f::kKind);
  menu.title = std::string(fields.Raw(f::kTitle));
  menu.message = std::string(fields.Raw(f::kMessage));
  menu.items = std::string(fields.Raw(f::kItems));
  InterpreterHost& host = in.Host();
  if (menu.title.find("%T") != std::string::npos) host.ProcessStringVar(menu.title, kShortStringMax);
  if (menu.message.find("%T") != std::string::npos) host.ProcessStringVar(menu.message, kShortStringMax);
  if (menu.items.find("%T") != std::string::npos) host.ProcessAnsiStringVar(menu.items);
  menu.current = *target;
  MacroPrompts* prompts = PromptsOf(in, kMenuCaption, "choice menu");
  if (prompts == nullptr) return;
  const platform::WindowHandle front = FrontBeforePrompt(in);
  const std::optional<std::string> chosen = prompts->ChoiceMenu(menu);
  FrontAfterPrompt(in, front);
  if (!chosen) {
    in.Fail(kMenuCaption, "The choice menu could not be shown. Macro will abort.");
    return;
  }
  *target = *chosen;
}

class PromptFamily final : public CommandFamily {
 public:
  explicit PromptFamily(Interpreter& in) {
    in.Claim<&Password>(TagId::kPassp, *this);
    in.Claim<&ChoiceMenu>(TagId::kMenu, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakePromptFamily(Interpreter& in) { return std::make_unique<PromptFamily>(in); }

}  // namespace wdx::player
