// If blocks: "<IFVAR:" tests a variable, "<IFOTH:" the world outside (files, folders, windows,
// programs, the clipboard, the library's macros), "<IFMESS:" asks the user. The condition is
// decided first; then the block's "<ELSE>" and "<ENDIF>" are found and the chosen part plays as
// a nested level.
#include <filesystem>
#include <string>
#include <system_error>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "player/interpreter/path_search.h"
#include "player/interpreter/variables.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "If / Then Error";
constexpr std::size_t kShortText = 255;

// Whether `needle` occurs in `text`; an empty needle never does.
bool Occurs(std::string_view text, std::string_view needle) {
  return !needle.empty() && text.find(needle) != std::string_view::npos;
}

// Texts also have comparison 7: contains, without regard to the case of a..z.
bool CompareTexts(std::int32_t comparison, const std::string& left, const std::string& right) {
  if (comparison == 7) return Occurs(UpperAscii(left), UpperAscii(right));
  return ComparisonHolds(comparison, left, right);
}

// "<IFVAR:" type, variable, comparison, value. Types 1..3 compare T, N or D with the value;
// 4..6 with a second variable of the same kind, named in the value ("T12": the letter skipped).
bool IfVariableHolds(Interpreter& in, const Level& level, const TagInfo& tag) {
  namespace f = cmd::ifvar;
  const CommandFields fields = FieldsOf(level, tag, cmd::kIfvar);
  const std::int32_t type = fields.Whole(f::kType);
  const std::int32_t v = fields.Whole(f::kVariable);
  const std::int32_t comparison = fields.Whole(f::kComparison);
  const std::string value(fields.Raw(f::kValue));
  const std::int32_t other = ParseWholeNumber(value.size() > 1 ? std::string_view(value).substr(1, 5) : "").value;
  switch (type) {
    case 1:
    case 4: {
      const std::string* left = TextVariable(in, v);
      if (left == nullptr) return false;
      if (type == 1) return CompareTexts(comparison, *left, value);
      const std::string* right = TextVariable(in, other);
      return right != nullptr && CompareTexts(comparison, *left, *right);
    }
    case 2:
    case 5: {
      const std::int32_t* left = IntegerVariable(in, v);
      if (left == nullptr) return false;
      if (type == 2) return ComparisonHolds(comparison, *left, ParseWholeNumber(value).value);
      const std::int32_t* right = IntegerVariable(in, other);
      return right != nullptr && ComparisonHolds(comparison, *left, *right);
    }
    case 3:
    case 6: {
      const double* left = DecimalVariable(in, v);
      if (left == nullptr) return false;
      if (type == 3) return ComparisonHolds(comparison, *left, ParseRealNumber(value).value);
      const double* right = DecimalVariable(in, other);
      return right != nullptr && ComparisonHolds(comparison, *left, *right);
    }
    default:
      return false;
  }
}

Flow IfVariable(Interpreter& in, Level& level, const TagInfo& tag) {
  const bool condition = IfVariableHolds(in, level, tag);
  return PlayIfBlock(in, level, tag, condition);
}

// --- "<IFOTH:": the world outside, through the platform.

bool FolderExists(platform::Files& files, const std::string& name) {
  std::error_code ec;
  return !name.empty() && std::filesystem::is_directory(files.NativePath(name), ec);
}

// The file, or (withPath) the file in one of the folders of PATH.
bool FileFound(platform::Platform& p, const std::string& name, bool withPath) {
  if (p.files == nullptr) return false;
  if (FileExists(*p.files, name)) return true;
  return withPath && !FindOnPath(p, name, std::string::npos, false).empty();
}

// The foreground window's title, read as far as 254 characters.
std::string ForegroundTitle(platform::Platform& p) {
  if (p.windows == nullptr) return {};
  const platform::WindowHandle w = p.windows->GetForegroundWindow();
  if (w == platform::kNoWindow) return {};
  std::string title = p.windows->GetTitle(w);
  if (title.size() > 254) title.resize(254);
  return title;
}

// Some titled top-level window whose upper-cased title equals (exact) or contains the text.
bool SomeWindowTitled(platform::Platform& p, const std::string& upperText, bool exact) {
  if (p.windows == nullptr) return false;
  for (const platform::WindowHandle w : p.windows->EnumTopLevelWindows()) {
    std::string title = p.windows->GetTitle(w);
    if (title.empty()) continue;
    if (title.size() > 255) title.resize(255);
    const std::string upper = UpperAscii(title);
    if (exact ? upper == upperText : Occurs(upper, upperText)) return true;
  }
  return false;
}

std::string ForegroundProgram(platform::Platform& p) {
  if (p.windows == nullptr || p.processes == nullptr) return {};
  const platform::WindowHandle w = p.windows->GetForegroundWindow();
  if (w == platform::kNoWindow) return {};
  const std::uint32_t pid = p.windows->GetWindowProcessId(w);
  return pid == 0 ? std::string() : UpperAscii(p.processes->ExeName(pid));
}

bool SomeProgramNamed(platform::Platform& p, const std::string& upperText) {
  if (p.processes == nullptr) return false;
  for (const platform::ProcessEntry& e : p.processes->List()) {
    if (Occurs(UpperAscii(e.exeName), upperText)) return true;
  }
  return false;
}

// The clipboard tests: its text equals (exact) or contains the text, case-sensitively or not;
// an empty text also equals a clipboard without text.
bool ClipboardMatches(platform::Platform& p, const std::string& text, bool exact, bool withCase) {
  const std::optional<std::string> clip = p.clipboard != nullptr ? p.clipboard->GetText() : std::nullopt;
  if (!clip) return exact && text.empty();
  const std::string a = withCase ? *clip : UpperAscii(*clip);
  const std::string b = withCase ? text : UpperAscii(text);
  return exact ? a == b : Occurs(a, b);
}

bool WorldTestHolds(Interpreter& in, std::int32_t test, bool flag, const std::string& text) {
  if (test < 1 || test > 18) return false;
  if (test == 17 || test == 18) {
    const std::optional<bool> active = in.Host().MacroActiveByNickname(text);
    return test == 17 ? active.value_or(false) : active.has_value() && !*active;
  }
  platform::Platform* p = in.Host().GetPlatform();
  if (p == nullptr) {
    in.Fail(kCaption, "The test of the desktop is not available in this build. Macro will abort.");
    return false;
  }
  const std::string upper = UpperAscii(text);
  // 09..14 are the negations of 01..06.
  const bool negated = test >= 9 && test <= 14;
  const std::int32_t base = negated ? test - 8 : test;
  bool holds = false;
  switch (base) {
    case 1: holds = FileFound(*p, text, flag); break;
    case 2: holds = p->files != nullptr && FolderExists(*p->files, text); break;
    case 3: {
      const std::string title = ForegroundTitle(*p);
      if (title.empty()) return false;  // neither test holds without a titled window in front
      holds = flag ? UpperAscii(title) == upper : Occurs(UpperAscii(title), upper);
      break;
    }
    case 4: holds = SomeWindowTitled(*p, upper, flag); break;
    case 5: holds = Occurs(ForegroundProgram(*p), upper); break;
    case 6: holds = SomeProgramNamed(*p, upper); break;
    case 7: return ClipboardMatches(*p, text, true, false);
    case 8: return ClipboardMatches(*p, text, false, false);
    case 15: return ClipboardMatches(*p, text, true, true);
    case 16: return ClipboardMatches(*p, text, false, true);
    default: return false;
  }
  return negated ? !holds : holds;
}

Flow IfOther(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::ifoth;
  const CommandFields fields = FieldsOf(level, tag, cmd::kIfoth);
  std::string text(fields.Raw(f::kText));
  if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, VariableSet::kMaxTextLength);
  const bool condition = WorldTestHolds(in, fields.Whole(f::kTest), fields.Letter(f::kFlag) == '1', text);
  return PlayIfBlock(in, level, tag, condition);
}

// --- "<IFMESS:": the question box; the first button makes the condition true.

Flow IfMessage(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::ifmess;
  const CommandFields fields = FieldsOf(level, tag, cmd::kIfmess);
  auto field = [&](std::size_t i) {
    std::string s(fields.Raw(i));
    if (s.find("%T") != std::string::npos) in.Host().ProcessStringVar(s, kShortText);
    return s;
  };
  QuestionText q{field(f::kCaption), field(f::kQuestion), "&Ok", "&Cancel"};
  switch (fields.Whole(f::kButtons)) {
    case 1: q.first = "&Yes"; q.second = "&No"; break;
    case 3: q.first = "&True"; q.second = "&False"; break;
    case 4: q.first = field(f::kFirst); q.second = field(f::kSecond); break;
    default: break;
  }
  MacroPrompts* prompts = in.Host().Prompts();
  const platform::WindowHandle front = FrontBeforePrompt(in);
  const std::optional<bool> answer = prompts != nullptr ? prompts->Question(q) : std::nullopt;
  if (answer.has_value()) FrontAfterPrompt(in, front);
  if (!answer.has_value()) {
    if (!in.State().abortMacro) {
      in.Fail(kCaption, "The question box is not available in this build. Macro will abort.");
    }
    return Flow::LeaveLevel();
  }
  return PlayIfBlock(in, level, tag, *answer);
}

class IfFamily final : public CommandFamily {
 public:
  explicit IfFamily(Interpreter& in) {
    in.Claim<&IfVariable>(TagId::kIfvar, *this);
    in.Claim<&IfOther>(TagId::kIfoth, *this);
    in.Claim<&IfMessage>(TagId::kIfmess, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeIfFamily(Interpreter& in) { return std::make_unique<IfFamily>(in); }

}  // namespace wdx::player
