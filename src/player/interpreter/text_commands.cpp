// Tags that only move the cursor: remarks, disabled commands and block ends met on their own.
#include "player/interpreter/families.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {

namespace {

// "<REM:" runs to the next ">", "<DIS:" to the byte 0x02 that ends the disabled command, a
// block end is its keyword; without its closing character a tag skips the rest of the text.
class SkippedTagFamily final : public CommandFamily {
 public:
  explicit SkippedTagFamily(Interpreter& in) {
    in.Claim<&Skip>(TagFamily::kRemark, *this);
    in.Claim<&Skip>(TagFamily::kBlockEnd, *this);
  }
  static void Skip(Interpreter& /*in*/, Level& /*level*/, const TagInfo& /*tag*/) {}
};

}  // namespace

std::unique_ptr<CommandFamily> MakeSkippedTagFamily(Interpreter& in) { return std::make_unique<SkippedTagFamily>(in); }

}  // namespace wdx::player
