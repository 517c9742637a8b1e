// Tags that only move the cursor: remarks, disabled commands and block ends met on their own.
#include "player/interpreter/interpreter.h"

namespace wdx::player {

namespace {

// "<REM:" runs to the next ">", "<DIS:" to the byte 0x02 that ends the disabled command, a
// block end is its keyword; without its closing character a tag skips the rest of the text.
void SkipTag(Interpreter& /*in*/, Level& level, const TagInfo& tag) {
  level.cursor = TagEnd(tag, level.text, level.cursor);
}

}  // namespace

void RegisterTextHandlers(Interpreter& in) {
  in.SetFamilyHandler(TagFamily::kRemark, &SkipTag);
  in.SetFamilyHandler(TagFamily::kBlockEnd, &SkipTag);
}

}  // namespace wdx::player
