// Repeat blocks and their counters. An opener finds its matching "<ENDREP>" once and plays the
// body as a nested level: the passes of a counted block are that level's passes (so the body
// is never searched again, however often it repeats), and "<I>".."<IIII>" type the counter of
// the level they stand in. "<REP3:" also repeats until a variable compares with a value, or
// once for every file or folder of a folder.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "player/interpreter/variables.h"
#include "shared/globals.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Repeat Error";
constexpr char kFolderCaption[] = "Repeat With Folder Error";
constexpr std::size_t kShortText = 255;
constexpr char kDq = '"';

// The body of the block whose opener is under the cursor, or a failed run: the cursor then goes
// to the last character, whose step reports the abort.
struct Body {
  std::string_view text;
  std::size_t end = 0;  // the "<ENDREP>"
  bool found = false;
};

Body FindBody(Interpreter& in, const Level& level, const TagInfo& tag) {
  const std::size_t start = std::min(TagEnd(tag, level.text, level.cursor), level.text.size());
  const BlockEnd end = ScanBlock(level.text, start, BlockKind::kRepeat);
  if (!end.found()) {
    in.Fail(kCaption, std::string("No ") + kDq + "End Repeat" + kDq +
                          " that matches the initial repeat specified in the macro. Macro will abort.");
    return {};
  }
  return {level.text.substr(start, end.end - start), end.end, true};
}

Flow AfterBlock(Interpreter& in, const Level& level, const Body& body) {
  if (!body.found) return Flow::JumpTo(level.text.empty() ? 0 : level.text.size() - 1);
  // A body that ended the run ends this level without a second message.
  if (in.State().abortMacro) return Flow::LeaveLevel();
  return Flow::JumpTo(body.end + std::string_view("<ENDREP>").size());
}

// A counted block: `count` passes (none when below 1).
void PlayCounted(Interpreter& in, const Body& body, std::int32_t count, std::int32_t start, std::int32_t step,
                 bool storeCounter, std::int32_t varIndex) {
  if (count < 1) return;
  if (storeCounter && IntegerVariable(in, varIndex) == nullptr) return;
  if (body.text.empty()) {
    // Nothing to play: only the pass number ends where the passes would have left it.
    if (storeCounter) *IntegerVariable(in, varIndex) = count;
    return;
  }
  in.DoMacro(body.text, count, start, step, false, storeCounter, varIndex);
}

std::optional<std::int32_t> PromptedCount(Interpreter& in) {
  MacroPrompts* prompts = in.Host().Prompts();
  const platform::WindowHandle front = FrontBeforePrompt(in);
  const std::optional<std::int32_t> count = prompts != nullptr ? prompts->RepeatCount() : std::nullopt;
  if (count.has_value()) FrontAfterPrompt(in, front);
  if (!count.has_value() && !in.State().abortMacro) {
    in.Fail(kCaption, "The repeat prompt is not available in this build. Macro will abort.");
  }
  return count;
}

// "<PROMPTREP>", "<REPEAT:", "<REP:": the older openers, start and step 1 unless written.
Flow OlderRepeat(Interpreter& in, Level& level, const TagInfo& tag) {
  std::int32_t count = 0, start = 1, step = 1;
  if (tag.id == TagId::kPromptrep) {
    // Asked before the block is looked for, as the prompt has always come first.
    const std::optional<std::int32_t> asked = PromptedCount(in);
    if (!asked) return Flow::LeaveLevel();
    count = *asked;
  } else if (tag.id == TagId::kRepeat) {
    count = FieldsOf(level, tag, cmd::kRepeat).Whole(cmd::repeat::kCount);
  } else {
    const CommandFields f = FieldsOf(level, tag, cmd::kRep);
    count = f.Whole(cmd::rep::kCount);
    start = f.Whole(cmd::rep::kStart);
    step = f.Whole(cmd::rep::kStep);
  }
  const Body body = FindBody(in, level, tag);
  if (body.found) PlayCounted(in, body, count, start, step, false, 0);
  return AfterBlock(in, level, body);
}

// --- Repeat until: the variable compared with the value after each pass.

enum class Compared { kText = 1, kInteger = 2, kDecimal = 3 };

void RepeatUntil(Interpreter& in, const Body& body, std::int32_t comparison, std::int32_t variableKind,
                 std::int32_t variable, const std::string& value) {
  if (variableKind < 1 || variableKind > 3) {
    in.Fail(kCaption, "The repeat until names a variable of kind " + std::to_string(variableKind) +
                          ", which this player does not know (1 text, 2 integer, 3 decimal). Macro will abort.");
    return;
  }
  if (comparison < 1 || comparison > 6) {
    in.Fail(kCaption, "The repeat until has the comparison " + std::to_string(comparison) +
                          ", which this player does not know (1 to 6). Macro will abort.");
    return;
  }
  const auto kind = static_cast<Compared>(variableKind);
  std::string* text = nullptr;
  std::int32_t* integer = nullptr;
  double* decimal = nullptr;
  if (kind == Compared::kText && (text = TextVariable(in, variable)) == nullptr) return;
  if (kind == Compared::kInteger && (integer = IntegerVariable(in, variable)) == nullptr) return;
  if (kind == Compared::kDecimal && (decimal = DecimalVariable(in, variable)) == nullptr) return;
  const std::int32_t wholeValue = ParseWholeNumber(value).value;
  const double realValue = ParseRealNumber(value).value;
  RunState& st = in.State();
  while (!st.abortMacro) {
    in.DoMacro(body.text, 1, 1, 1, false, false, 0);
    if (st.abortMacro) return;
    bool done = false;
    switch (kind) {
      case Compared::kText: done = ComparisonHolds(comparison, *text, value); break;
      case Compared::kInteger: done = ComparisonHolds(comparison, *integer, wholeValue); break;
      case Compared::kDecimal: done = ComparisonHolds(comparison, *decimal, realValue); break;
    }
    if (done) return;
    // An empty body pumps nothing itself: the abort key must still be heard.
    in.Host().PumpMessages();
  }
}

// --- Repeat with folder: the body once for each file or folder, its name in a text variable.

struct FolderWalk {
  Interpreter& in;
  std::string_view body;
  std::string* target;
  bool fullPath;
  bool folders;
  bool subfolders;

  // false when the walk must stop (the run was aborted).
  bool RunOnce(const std::string& folder, const std::string& name) {
    std::string value = fullPath ? folder + "\\" + name : name;
    if (value.size() > kShortText) value.resize(kShortText);
    *target = value;
    in.DoMacro(body, 1, 1, 1, false, false, 0);
    return !in.State().abortMacro;
  }

  bool Walk(platform::Files& files, const std::string& folder) {
    struct Entry {
      std::string name;
      bool isFolder;
      bool isLink;
    };
    // The folder's entries are read before the body runs: a body that adds files to the folder
    // it walks cannot make the walk endless. Sorted by name without case, as Windows lists a
    // folder, so the order does not depend on the disk.
    std::vector<Entry> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(files.NativePath(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
      std::error_code kindEc;
      entries.push_back({it->path().filename().string(), it->is_directory(kindEc), it->is_symlink(kindEc)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
      return UpperAscii(a.name) < UpperAscii(b.name);
    });
    for (const Entry& e : entries) {
      if (e.isFolder) {
        if (folders && !RunOnce(folder, e.name)) return false;
        // A link to a folder is not followed: it may lead back up the tree.
        if (subfolders && !e.isLink && !Walk(files, folder + "\\" + e.name)) return false;
      } else if (!folders && !RunOnce(folder, e.name)) {
        return false;
      }
    }
    return true;
  }
};

void RepeatWithFolder(Interpreter& in, const Body& body, std::int32_t mode, std::int32_t variable,
                      std::string folder) {
  if (mode < 1 || mode > 6) {
    in.Fail(kFolderCaption, "The repeat with folder has the mode " + std::to_string(mode) +
                                ", which this player does not know (1 to 6). Macro will abort.");
    return;
  }
  std::string* target = TextVariable(in, variable);
  if (target == nullptr) return;
  platform::Files* files = Facility(in, &platform::Platform::files, kFolderCaption, "file system");
  if (files == nullptr) return;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::error_code ec;
  if (!std::filesystem::is_directory(files->NativePath(folder), ec)) {
    in.Fail(kFolderCaption, "Folder " + std::string(1, kDq) + folder + kDq + " specified in the " + kDq +
                                "Repeat With Folder" + kDq + " macro command could not be found. Macro will abort.");
    return;
  }
  FolderWalk walk{in, body.text, target, mode == 2 || mode == 4 || mode == 5 || mode == 6, mode >= 5,
                  mode == 3 || mode == 4 || mode == 6};
  walk.Walk(*files, folder);
}

// "<REP3:" kind, B, C, D, E, F, text.
Flow Repeat3(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::rep3;
  const CommandFields fields = FieldsOf(level, tag, cmd::kRep3);
  const std::int32_t kind = fields.Whole(f::kKind);
  const std::int32_t b = fields.Whole(f::kB);
  const std::int32_t c = fields.Whole(f::kC);
  const std::int32_t d = fields.Whole(f::kD);
  const bool storeCounter = fields.Letter(f::kE) == '1';
  const std::int32_t varIndex = fields.Whole(f::kF);
  std::string text(fields.Raw(f::kText));
  if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, kShortText);

  switch (kind) {
    case 1:
    case 5: {
      std::int32_t count = d;
      if (kind == 5) {
        const std::int32_t* n = IntegerVariable(in, d);
        if (n == nullptr) return Flow::LeaveLevel();
        count = *n;
      }
      const Body body = FindBody(in, level, tag);
      if (body.found) PlayCounted(in, body, count, kind == 1 ? b : 1, kind == 1 ? c : 1, storeCounter, varIndex);
      return AfterBlock(in, level, body);
    }
    case 2: {
      const std::optional<std::int32_t> count = PromptedCount(in);
      if (!count) return Flow::LeaveLevel();
      const Body body = FindBody(in, level, tag);
      if (body.found) PlayCounted(in, body, *count, 1, 1, storeCounter, varIndex);
      return AfterBlock(in, level, body);
    }
    case 6:
    case 7: {
      const Body body = FindBody(in, level, tag);
      if (body.found) {
        if (kind == 6) {
          RepeatUntil(in, body, b, c, d, text);
        } else {
          RepeatWithFolder(in, body, b, d, text);
        }
      }
      return AfterBlock(in, level, body);
    }
    default:
      in.Fail(kCaption, "The repeat command has the kind " + std::to_string(kind) +
                            ", which this player does not know. Macro will abort.");
      return Flow::LeaveLevel();
  }
}

// "<I>", "<II>", "<III>", "<IIII>": the counter of this level, zero-filled to 1..4 characters
// (a minus counts as one).
void Counter(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::int64_t value = (std::int64_t{level.pass} - 1) * level.step + level.start;
  std::string digits = FormatNumber(1, 0, static_cast<double>(value));
  const std::size_t width = tag.keyword.size() - 2;
  if (width > 1 && digits.size() < width) digits.insert(0, width - digits.size(), '0');
  in.DoMacro(digits, 1, 1, 1, false, false, 0);
}

class RepeatFamily final : public CommandFamily {
 public:
  explicit RepeatFamily(Interpreter& in) {
    in.Claim<&OlderRepeat>(TagId::kPromptrep, *this);
    in.Claim<&OlderRepeat>(TagId::kRepeat, *this);
    in.Claim<&OlderRepeat>(TagId::kRep, *this);
    in.Claim<&Repeat3>(TagId::kRep3, *this);
    in.Claim<&Counter>(TagFamily::kRepeatCounter, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeRepeatFamily(Interpreter& in) { return std::make_unique<RepeatFamily>(in); }

}  // namespace wdx::player
