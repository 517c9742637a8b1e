// File loops: "<ADFBEG:" plays its block once for every record of an ASCII delimited file, with
// the record's fields in consecutive text variables; "<BTFBEG:" once for every line of a text
// file, with the line in one text variable. Both may start at a later record and stop after a
// number of them. The block ends at the first "<ADFEND>" or "<BTFEND>" the interpreter would
// meet; it is played as a nested level per record, and the file is read forward once.
//
// Lines holding only blanks are no records of a delimited file: a final line break or an empty
// line between records plays nothing and counts for nothing. Every record is checked as the
// first one is: a field longer than 255 characters or a last field without its closing quote
// ends the loop with the failure of a badly formatted file, never with a cut record.
#include <algorithm>
#include <optional>
#include <string>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/delimited_records.h"
#include "player/interpreter/families.h"
#include "player/interpreter/path_search.h"
#include "player/interpreter/variables.h"

namespace wdx::player {

namespace {

constexpr char kDq = '"';
constexpr char kDelimitedCaption[] = "Process ASCII Delimited File Failed";
constexpr char kTextCaption[] = "Process Text File Failed";
constexpr std::int32_t kMaxFields = 99;

struct Opener {
  std::int32_t variable = 0;
  std::int32_t start = 1;
  std::int32_t count = 0;  // 0: every record
  std::string file;
  bool ok = false;
};

// A number field, or the value of the integer variable it names.
std::optional<std::int32_t> NumberOf(Interpreter& in, const CommandFields& fields, std::size_t i) {
  const NumberOrVariable n = fields.NumberOrVar(i);
  if (!n.variable) return n.number;
  const std::int32_t* v = IntegerVariable(in, n.number);
  if (v == nullptr) return std::nullopt;
  return *v;
}

Opener ReadOpener(Interpreter& in, const Level& level, const TagInfo& tag) {
  namespace f = cmd::file_loop;
  const CommandFields fields = FieldsOf(level, tag, cmd::kAdfbeg);
  Opener o;
  o.variable = fields.Whole(f::kVariable);
  if (TextVariable(in, o.variable) == nullptr) return o;
  const std::optional<std::int32_t> start = NumberOf(in, fields, f::kStart);
  const std::optional<std::int32_t> count = start ? NumberOf(in, fields, f::kCount) : std::nullopt;
  if (!count) return o;
  o.start = *start;
  o.count = *count;
  o.file = std::string(fields.Raw(f::kFile));
  if (o.file.find("%T") != std::string::npos) in.Host().ProcessStringVar(o.file, kShortStringMax);
  o.ok = true;
  return o;
}

std::string Quoted(const std::string& s) { return kDq + s + kDq; }

// The file's native path when it exists; otherwise the run failed and the level goes to its end.
std::optional<std::string> ExistingFile(Interpreter& in, const std::string& file, const char* caption) {
  auto* files = Facility(in, &platform::Platform::files, caption, "file system");
  if (files == nullptr) return std::nullopt;
  if (!FileExists(*files, file)) {
    in.Fail(caption, "Specified file of " + Quoted(file) + " could not be found on your computer. Macro will abort.");
    return std::nullopt;
  }
  return files->NativePath(file);
}

void MissingEnd(Interpreter& in, const char* caption, const char* what, const char* endName) {
  in.Fail(caption, std::string("No ") + kDq + "Ending Statement" + kDq +
                           " specified for ending the processing of the " + what + ".  Place the " + kDq + endName +
                           kDq + " command in your macro. This macro will abort.", true);
}

void CannotRead(Interpreter& in, const char* caption, const std::string& file) {
  in.Fail(caption, "The file " + Quoted(file) + " could not be read to its end. Macro will abort.", true);
}

// Where the block of the opener under the cursor starts and where its end tag stands.
struct Block {
  std::string_view body;
  std::size_t end = BlockEnd::kNone;
};

Block FindBlock(const Level& level, const TagInfo& tag, TagId endTag) {
  const std::size_t from = std::min(TagEnd(tag, level.text, level.cursor), level.text.size());
  const std::size_t end = FindPlayedTag(level.text, from, endTag);
  if (end == BlockEnd::kNone) return {};
  return {level.text.substr(from, end - from), end};
}

// The loop over the records that `next` reads (nullopt at the end), after the first start - 1
// of them went into the variables unplayed. `store` puts one record into the variables and says
// whether the loop may go on. The flow after the loop.
template <class Next, class Store>
Flow PlayRecords(Interpreter& in, const Opener& o, const Block& block, Next next, Store store) {
  for (std::int32_t skipped = 1; skipped < o.start; ++skipped) {
    auto record = next();
    if (!record) break;
    if (!store(*record)) return Flow::LeaveLevel();
  }
  for (std::int32_t played = 0; o.count == 0 || played < o.count; ++played) {
    auto record = next();
    if (!record) break;
    if (!store(*record)) return Flow::LeaveLevel();
    in.DoMacro(block.body, 1, 1, 1, false, false, 0);
    // A block that aborted ends the loop and this level without another message.
    if (in.State().abortMacro) return Flow::LeaveLevel();
  }
  return Flow::JumpTo(block.end);
}

std::string BadFormat(const std::string& file) {
  return "The specified file of " + Quoted(file) +
         " does not appear to be a properly formatted ASCII delimited file." +
         " An ASCII delimited file requires a unique format of each field being" +
         " surrounded by double quotes and seperated by a comma. " + " Macro will abort.";
}

// The next record line of the file that is not blank; nullopt at the end of its text.
std::optional<DelimitedRecord> NextRecord(TextLineReader& reader) {
  while (std::optional<std::string> line = reader.NextLine()) {
    if (!IsBlankRecordLine(*line)) return ParseDelimitedLine(*line);
  }
  return std::nullopt;
}

Flow DelimitedLoop(Interpreter& in, Level& level, const TagInfo& tag) {
  const Opener o = ReadOpener(in, level, tag);
  const Flow toEnd = Flow::JumpTo(level.text.size());
  if (!o.ok) return toEnd;
  const std::optional<std::string> path = ExistingFile(in, o.file, kDelimitedCaption);
  if (!path) return toEnd;
  TextLineReader reader(*path);
  if (!reader.IsOpen()) {
    CannotRead(in, kDelimitedCaption, o.file);
    return toEnd;
  }
  // The first record says how many fields every record has.
  std::optional<DelimitedRecord> first = NextRecord(reader);
  if (reader.Failed()) {
    CannotRead(in, kDelimitedCaption, o.file);
    return toEnd;
  }
  if (first && !first->wellFormed) {
    in.Fail(kDelimitedCaption, BadFormat(o.file), true);
    return toEnd;
  }
  const Block block = FindBlock(level, tag, TagId::kAdfend);
  if (block.end == BlockEnd::kNone) {
    MissingEnd(in, kDelimitedCaption, "ASCII Delimited File", "ASCII File Process End");
    return Flow::LeaveLevel();
  }
  const std::size_t fieldCount = first ? std::min<std::size_t>(first->fields.size(), kMaxFields) : 0;
  auto next = [&]() -> std::optional<DelimitedRecord> {
    if (first) {
      std::optional<DelimitedRecord> r = std::move(first);
      first.reset();
      return r;
    }
    std::optional<DelimitedRecord> r = NextRecord(reader);
    if (!r && reader.Failed()) CannotRead(in, kDelimitedCaption, o.file);
    return r;
  };
  auto store = [&](const DelimitedRecord& r) {
    if (!r.wellFormed) {
      in.Fail(kDelimitedCaption, BadFormat(o.file), true);
      return false;
    }
    // Fields beyond the first record's count are not read; missing ones are emptied.
    for (std::size_t f = 0; f < fieldCount; ++f) {
      const std::size_t n = static_cast<std::size_t>(o.variable) + f;
      if (n >= VariableSet::kTextSlots) break;
      in.State().vars.text[n] = f < r.fields.size() ? r.fields[f] : std::string();
    }
    return true;
  };
  const Flow flow = PlayRecords(in, o, block, next, store);
  return in.State().abortMacro ? Flow::LeaveLevel() : flow;
}

Flow TextLoop(Interpreter& in, Level& level, const TagInfo& tag) {
  const Opener o = ReadOpener(in, level, tag);
  const Flow toEnd = Flow::JumpTo(level.text.size());
  if (!o.ok) return toEnd;
  const std::optional<std::string> path = ExistingFile(in, o.file, kTextCaption);
  if (!path) return toEnd;
  const Block block = FindBlock(level, tag, TagId::kBtfend);
  if (block.end == BlockEnd::kNone) {
    MissingEnd(in, kTextCaption, "Text File", "Text File Process End");
    return Flow::LeaveLevel();
  }
  TextLineReader reader(*path);
  if (!reader.IsOpen()) {
    CannotRead(in, kTextCaption, o.file);
    return toEnd;
  }
  auto next = [&]() -> std::optional<std::string> {
    std::optional<std::string> line = reader.NextLine();
    if (!line && reader.Failed()) CannotRead(in, kTextCaption, o.file);
    return line;
  };
  auto store = [&](std::string& line) {
    if (line.size() > VariableSet::kMaxTextLength) {
      in.Fail(kTextCaption, "A line of the file " + Quoted(o.file) +
                                    " is longer than a text variable holds. Macro will abort.", true);
      return false;
    }
    in.State().vars.text[static_cast<std::size_t>(o.variable)] = std::move(line);
    return true;
  };
  const Flow flow = PlayRecords(in, o, block, next, store);
  return in.State().abortMacro ? Flow::LeaveLevel() : flow;
}

class FileLoopFamily final : public CommandFamily {
 public:
  explicit FileLoopFamily(Interpreter& in) {
    in.Claim<&DelimitedLoop>(TagId::kAdfbeg, *this);
    in.Claim<&TextLoop>(TagId::kBtfbeg, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeFileLoopFamily(Interpreter& in) { return std::make_unique<FileLoopFamily>(in); }

}  // namespace wdx::player
