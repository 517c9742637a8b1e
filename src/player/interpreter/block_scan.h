// Finding where a repeat or if block ends. The scan walks the text the way the interpreter
// plays it: a tag is passed over whole (its fields, a disabled command up to its 0x02, a text
// up to its ">"), and so is a "%T"/"%N"/"%D" reference, so a block end that stands inside them
// is no block end, exactly as the interpreter would never meet it there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/types.h"
#include "player/interpreter/command_family.h"
#include "shared/tag_table.h"

namespace wdx::player {

class Interpreter;

enum class BlockKind { kRepeat, kIf };

struct BlockEnd {
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t end = kNone;     // where the matching "<ENDREP>" or "<ENDIF>" starts
  std::size_t elseAt = kNone;  // if blocks: the last "<ELSE>" of this block's own depth
  bool found() const { return end != kNone; }
};

// The end of the block whose body starts at `from` (just after its opener's tag). Openers of
// the same kind met on the way nest; a "<DIAL2:" dial-up block counts as an if opener.
BlockEnd ScanBlock(std::string_view text, std::size_t from, BlockKind kind);
// The first tag `id` from `from` on, met the same way, with no nesting (the file loops end at
// their first end tag); BlockEnd::kNone when there is none.
std::size_t FindPlayedTag(std::string_view text, std::size_t from, TagId id);

// An if block whose condition was decided (the if openers and "<DIAL2:"): the part the
// condition chose plays as a nested level, and the dispatcher goes on after the "<ENDIF>". A
// block without its "<ENDIF>" fails the run.
Flow PlayIfBlock(Interpreter& in, Level& level, const TagInfo& tag, bool condition);

// The block commands that ask the user (the repeat count, a question) play on into the window
// that was in front before the prompt. When a prompt closes, the system hands the activation
// back in its own time, and under some desktops only after the block has begun to type: its
// first keys went to the player's hidden window. The window in front before the prompt
// (kNoWindow when none is known):
platform::WindowHandle FrontBeforePrompt(Interpreter& in);
// After the prompt: that window in front again, unless the run is over.
void FrontAfterPrompt(Interpreter& in, platform::WindowHandle before);

// The comparisons of the block conditions (left side, comparison, right side): 1 =, 2 <>, 3 <,
// 4 >, 5 >=, 6 <=; any other number holds never. Texts compare byte by byte.
template <class T>
bool ComparisonHolds(std::int32_t comparison, const T& left, const T& right) {
  switch (comparison) {
    case 1: return left == right;
    case 2: return left != right;
    case 3: return left < right;
    case 4: return right < left;
    case 5: return !(left < right);
    case 6: return !(right < left);
    default: return false;
  }
}

}  // namespace wdx::player
