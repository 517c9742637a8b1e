// The case of the text selected in the program in front: "<UPPBLOCK>", "<LOWBLOCK>" and
// "<TOGBLOCK>" copy the selection through the clipboard, change the case of its letters "a" to
// "z" and paste it back over the selection.
//
// The user's clipboard is kept and put back afterwards, and it is emptied before the copy, so
// that text left on it from before is never taken for the selection: when nothing is selected
// the rest of the level is not played, as the command has always done. The whole selection is
// converted, however long.
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Block Case";

std::string Converted(TagId id, std::string text) {
  for (char& c : text) {
    const char upper = UpperAscii(c);
    const char lower = LowerAscii(c);
    if (id == TagId::kUppblock) {
      c = upper;
    } else if (id == TagId::kLowblock) {
      c = lower;
    } else if (upper != lower) {
      c = c == upper ? lower : upper;
    }
  }
  return text;
}

Flow ChangeCase(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
  in.Host().PauseForNoSpeed(0.05);
  auto* selection = Facility(in, &platform::Platform::selection, kCaption, "selected text");
  auto* clipboard = selection != nullptr ? Facility(in, &platform::Platform::clipboard, kCaption, "clipboard") : nullptr;
  if (clipboard == nullptr) return Flow::GoOn();
  // A clipboard that cannot be kept (another program holds it) is not touched: emptying it
  // would lose the user's contents.
  const std::optional<platform::ClipboardSnapshot> kept = clipboard->Save();
  if (!kept || !clipboard->Clear()) return Flow::GoOn();
  // No window in front, or none of its controls has the focus: nothing to change.
  if (!selection->SendEdit(platform::EditCommand::kCopy)) {
    clipboard->Restore(*kept);
    return Flow::GoOn();
  }
  const std::optional<std::string> selected = clipboard->GetText();
  if (!selected || selected->empty()) {
    clipboard->Restore(*kept);
    return Flow::LeaveLevel();
  }
  if (clipboard->SetText(Converted(tag.id, *selected))) selection->SendEdit(platform::EditCommand::kPaste);
  clipboard->Restore(*kept);
  return Flow::GoOn();
}

class BlockCaseFamily final : public CommandFamily {
 public:
  explicit BlockCaseFamily(Interpreter& in) { in.Claim<&ChangeCase>(TagFamily::kBlockCase, *this); }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeBlockCaseFamily(Interpreter& in) { return std::make_unique<BlockCaseFamily>(in); }

}  // namespace wdx::player
