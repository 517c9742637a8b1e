#include "player/interpreter/block_scan.h"

#include <algorithm>

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

// Walks the tags of the text from `from` as the interpreter meets them, calling visit(tag, at)
// for each until it returns true; the position where it stopped, or npos.
template <class Visit>
std::size_t WalkTags(std::string_view text, std::size_t from, Visit visit) {
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
    if (visit(*tag, i)) return i;
    const std::size_t next = TagEnd(*tag, text, i);
    i = next > i ? next : i + 1;
  }
  return std::string_view::npos;
}

}  // namespace

BlockEnd ScanBlock(std::string_view text, std::size_t from, BlockKind kind) {
  BlockEnd result;
  const TagId close = kind == BlockKind::kRepeat ? TagId::kEndrep : TagId::kEndif;
  int depth = 0;
  const std::size_t end = WalkTags(text, from, [&](const TagInfo& tag, std::size_t at) {
    if (tag.id == close) {
      if (depth == 0) return true;
      --depth;
    } else if (kind == BlockKind::kRepeat ? OpensRepeat(tag.id) : OpensIf(tag.id)) {
      ++depth;
    } else if (kind == BlockKind::kIf && tag.id == TagId::kElse && depth == 0) {
      result.elseAt = at;
    }
    return false;
  });
  if (end == std::string_view::npos) {
    result.elseAt = BlockEnd::kNone;
    return result;
  }
  result.end = end;
  return result;
}

Flow PlayIfBlock(Interpreter& in, Level& level, const TagInfo& tag, bool condition) {
  if (in.State().abortMacro) return Flow::LeaveLevel();  // deciding the condition failed
  const std::size_t start = std::min(TagEnd(tag, level.text, level.cursor), level.text.size());
  const BlockEnd block = ScanBlock(level.text, start, BlockKind::kIf);
  if (!block.found()) {
    in.Fail("If / Then Error",
            "No \"EndIf\" statement that matches the initial if condition in the macro. Macro will abort.");
    return Flow::JumpTo(level.text.empty() ? 0 : level.text.size() - 1);
  }
  const bool hasElse = block.elseAt != BlockEnd::kNone;
  std::string_view part;
  if (condition) {
    part = level.text.substr(start, (hasElse ? block.elseAt : block.end) - start);
  } else if (hasElse) {
    const std::size_t from = block.elseAt + std::string_view("<ELSE>").size();
    part = level.text.substr(from, block.end - from);
  }
  if (!part.empty()) in.DoMacro(part, 1, 1, 1, false, false, 0);
  if (in.State().abortMacro) return Flow::LeaveLevel();
  return Flow::JumpTo(block.end + std::string_view("<ENDIF>").size());
}

std::size_t FindPlayedTag(std::string_view text, std::size_t from, TagId id) {
  const std::size_t at = WalkTags(text, from, [id](const TagInfo& tag, std::size_t) { return tag.id == id; });
  return at == std::string_view::npos ? BlockEnd::kNone : at;
}

platform::WindowHandle FrontBeforePrompt(Interpreter& in) {
  platform::Platform* p = in.Host().GetPlatform();
  return p != nullptr && p->windows != nullptr ? p->windows->GetForegroundWindow() : platform::kNoWindow;
}

void FrontAfterPrompt(Interpreter& in, platform::WindowHandle before) {
  if (before != platform::kNoWindow && !in.State().abortMacro) in.Host().SetMainWin(before);
}

}  // namespace wdx::player
