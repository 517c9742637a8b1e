#include "player/interpreter/block_scan.h"

#include "platform/platform.h"
#include "player/interpreter/interpreter.h"
#include "shared/tag_table.h"

namespace wdx::player {

namespace {

bool OpensRepeat(TagId id) {
  return id == TagId::kRepeat || id == TagId::kRep || id == TagId::kRep3 || id == TagId::kPromptrep;
}

bool OpensIf(TagId id) {
  return id == TagId::kIfvar || id == TagId::kIfoth || id == TagId::kIfmess || id == TagId::kDial2;
}

}  // namespace

BlockEnd ScanBlock(std::string_view text, std::size_t from, BlockKind kind) {
  BlockEnd result;
  const TagId close = kind == BlockKind::kRepeat ? TagId::kEndrep : TagId::kEndif;
  int depth = 0;
  std::size_t i = from;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '%') {
      const char v = TextAt(text, i + 1);
      if (v != 'T' && v != 'N' && v != 'D') {
        ++i;
        continue;
      }
      const std::size_t closing = text.find('%', i + 2);
      if (closing == std::string_view::npos) break;
      i = closing + 1;
      continue;
    }
    if (c != '<') {
      ++i;
      continue;
    }
    const TagInfo* tag = MatchTag(text, i);
    if (tag == nullptr) {
      ++i;
      continue;
    }
    if (tag->id == close) {
      if (depth == 0) {
        result.end = i;
        return result;
      }
      --depth;
    } else if (kind == BlockKind::kRepeat ? OpensRepeat(tag->id) : OpensIf(tag->id)) {
      ++depth;
    } else if (kind == BlockKind::kIf && tag->id == TagId::kElse && depth == 0) {
      result.elseAt = i;
    }
    const std::size_t next = TagEnd(*tag, text, i);
    i = next > i ? next : i + 1;
  }
  result.elseAt = BlockEnd::kNone;
  return result;
}

platform::WindowHandle FrontBeforePrompt(Interpreter& in) {
  platform::Platform* p = in.Host().GetPlatform();
  return p != nullptr && p->windows != nullptr ? p->windows->GetForegroundWindow() : platform::kNoWindow;
}

void FrontAfterPrompt(Interpreter& in, platform::WindowHandle before) {
  if (before != platform::kNoWindow && !in.State().abortMacro) in.Host().SetMainWin(before);
}

}  // namespace wdx::player
