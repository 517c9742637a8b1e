// Variables set from a source: "<TVAR:" a text variable, "<IVAR:" an integer and "<DVAR:" a
// decimal one, from a literal value, the value prompt, the clipboard, a file, an INI file, a
// dialog, the environment, the window or program in front, the mouse, the screen or the clock.
// Only a variable number outside the table is reported; every other failure gives the
// source's empty value (an empty text or 0) or, for a cancelled dialog, leaves the variable.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <system_error>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "shared/date_time.h"
#include "shared/globals.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Set Variable";
constexpr std::size_t kTitleMax = 254;

enum class Kind { kText, kInteger, kDecimal };

// "T5 is not a valid variable name."; the message names the variable's own kind.
bool ValidNumber(Interpreter& in, Kind kind, std::int32_t n) {
  const int last = kind == Kind::kText ? VariableSet::kTextSlots - 1 : VariableSet::kNumberSlots - 1;
  if (n >= 1 && n <= last) return true;
  const char letter = kind == Kind::kText ? 'T' : kind == Kind::kInteger ? 'I' : 'D';
  const std::string message = letter + FormatNumber(1, 0, n) + " is not a valid variable name.";
  RunState& st = in.State();
  // A report of its own: the macro's name is not appended.
  if (st.logErrors) in.Host().LogError(message);
  if (st.showErrors) in.Host().DoAMessage(kCaption, message);
  st.abortMacro = true;
  return false;
}

// A text longer than a text variable holds fails the run; nothing is stored.
bool FitsVariable(Interpreter& in, std::int32_t n, std::size_t size) {
  if (size <= VariableSet::kMaxTextLength) return true;
  in.Fail(kCaption, "The text for T" + std::to_string(n) + " is longer than a text variable holds (" +
                        std::to_string(VariableSet::kMaxTextLength) + " characters). Macro will abort.");
  return false;
}

platform::Platform* PlatformOf(Interpreter& in) { return in.Host().GetPlatform(); }

// --- Sources shared by the three commands

// The value prompt's answer; nullopt (the run failed) when no prompt can be shown.
std::optional<std::string> Prompted(Interpreter& in, ValueKind kind, std::string_view message) {
  MacroPrompts* prompts = in.Host().Prompts();
  std::optional<std::string> answer;
  if (prompts != nullptr) {
    const platform::WindowHandle front = FrontBeforePrompt(in);
    answer = prompts->Value(kind, std::string(message.substr(0, kShortStringMax)));
    FrontAfterPrompt(in, front);
  }
  if (!answer) in.Fail(kCaption, "The value prompt is not available in this build. Macro will abort.");
  return answer;
}

std::optional<std::string> ClipboardText(Interpreter& in) {
  auto* clipboard = Facility(in, &platform::Platform::clipboard, kCaption, "clipboard");
  if (clipboard == nullptr) return std::nullopt;
  return clipboard->GetText().value_or("");
}

// The clipboard's text as a number: trimmed, cut to a short text, without line breaks.
std::optional<std::string> ClipboardNumber(Interpreter& in) {
  std::optional<std::string> text = ClipboardText(in);
  if (!text) return std::nullopt;
  std::string s = CutShort(TrimView(*text));
  std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
  return s;
}

// The file opened for reading only: a read-only file, or one another program has open for
// reading, is read as well. nullopt when it cannot be opened.
std::optional<std::uintmax_t> FileSize(platform::Files& files, const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::string path = files.NativePath(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  return ec ? std::nullopt : std::optional<std::uintmax_t>(size);
}

// --- "<TVAR:"

// The file's text: a last Ctrl+Z dropped, ending at the first NUL. Empty when the file cannot
// be read; nullopt (the run failed) when the text is longer than a variable holds.
std::optional<std::string> FileText(Interpreter& in, std::int32_t n, const std::string& name) {
  auto* files = Facility(in, &platform::Platform::files, kCaption, "file system");
  if (files == nullptr) return std::nullopt;
  const std::optional<std::uintmax_t> size = FileSize(*files, name);
  if (!size) return std::string();
  // Only as much as a variable can hold is read, and one byte more (which a NUL may yet cut).
  const std::uintmax_t wanted = std::min<std::uintmax_t>(*size, VariableSet::kMaxTextLength + 1);
  std::string text(static_cast<std::size_t>(wanted), '\0');
  std::ifstream file(files->NativePath(name), std::ios::binary);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  if (wanted == *size && !text.empty() && text.back() == '\x1A') text.pop_back();
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  if (!FitsVariable(in, n, text.size())) return std::nullopt;
  return text;
}

std::string ForegroundTitle(platform::Platform* p) {
  if (p == nullptr || p->windows == nullptr) return {};
  const platform::WindowHandle w = p->windows->GetForegroundWindow();
  if (w == platform::kNoWindow) return {};
  std::string title = p->windows->GetTitle(w);
  if (title.size() > kTitleMax) title.resize(kTitleMax);
  return title;
}

// "<TVAR:" 08: file name, section and key, separated by the byte 0x01. Without both
// separators there is no key to read: an empty text.
std::string IniValue(platform::ProfileFiles& profile, const std::string& text) {
  const std::size_t first = text.find('\x01');
  const std::size_t second = first == std::string::npos ? first : text.find('\x01', first + 1);
  if (second == std::string::npos) return {};
  return profile.GetString(text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1),
                           "", kTitleMax + 1);
}

// The open-file or folder dialog; the window that was in front comes back to the front after
// it. False when the dialog could not be shown (the run failed).
bool AskPath(Interpreter& in, bool folder, const std::string& text, std::string& target) {
  MacroPrompts* prompts = in.Host().Prompts();
  const platform::WindowHandle before = FrontBeforePrompt(in);
  DialogChoice choice;
  if (prompts != nullptr) choice = folder ? prompts->Folder(text) : prompts->OpenFile(text);
  if (!choice.shown) {
    in.Fail(kCaption, std::string("The ") + (folder ? "folder" : "open-file") +
                          " dialog is not available in this build. Macro will abort.");
    return false;
  }
  if (choice.path) target = *choice.path;
  FrontAfterPrompt(in, before);
  return true;
}

std::string SystemPath(Interpreter& in, const std::string& name) {
  const bool folderName = name == "System Path" || name == "Temporary Path" || name == "Windows Path";
  if (folderName) {
    auto* folders = Facility(in, &platform::Platform::folders, kCaption, "system folder lookup");
    if (folders == nullptr) return {};
    if (name == "System Path") return folders->SystemFolder();
    if (name == "Temporary Path") return folders->TempFolder();
    return folders->WindowsFolder();
  }
  auto* environment = Facility(in, &platform::Platform::environment, kCaption, "environment");
  if (environment == nullptr || name.empty()) return {};
  return environment->GetVariable(name).value_or("");
}

void SetTextVar(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::var_source;
  const CommandFields fields = FieldsOf(level, tag, cmd::kTvar);
  const std::int32_t n = fields.Whole(f::kVariable);
  if (!ValidNumber(in, Kind::kText, n)) return;
  std::string& t = in.State().vars.text[static_cast<std::size_t>(n)];
  std::string text(fields.Raw(f::kText));
  platform::Platform* p = PlatformOf(in);
  switch (fields.Whole(f::kSource)) {
    case 1:
      if (text.find("%T") != std::string::npos && !in.Host().ProcessAnsiStringVar(text)) {
        FitsVariable(in, n, VariableSet::kMaxTextLength + 1);
        return;
      }
      t = std::move(text);
      break;
    case 2:
      if (std::optional<std::string> answer = Prompted(in, ValueKind::kText, text)) t = std::move(*answer);
      break;
    case 3:
      if (std::optional<std::string> clip = ClipboardText(in); clip && FitsVariable(in, n, clip->size())) {
        t = std::move(*clip);
      }
      break;
    case 4:
      if (std::optional<std::string> contents = FileText(in, n, text)) t = std::move(*contents);
      break;
    case 5:
      t = in.Host().ForegroundProgram();
      break;
    case 6:
      t = ForegroundTitle(p);
      break;
    case 7:
      if (auto* folders = Facility(in, &platform::Platform::folders, kCaption, "system folder lookup")) {
        std::string folder = folders->CurrentFolder();
        // "C:\" is kept as "C:"; no other folder ends in "\".
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        t = std::move(folder);
      }
      break;
    case 8:
      if (auto* profile = Facility(in, &platform::Platform::profile, kCaption, "INI file access")) {
        t = IniValue(*profile, text);
      }
      break;
    case 9:
      AskPath(in, false, text, t);
      break;
    case 10:
      AskPath(in, true, text, t);
      break;
    case 11:
      if (std::string value = SystemPath(in, text); !value.empty() && FitsVariable(in, n, value.size())) {
        t = std::move(value);
      }
      break;
    default:
      break;
  }
}

// --- "<IVAR:"

// The number a file size gives, held at the largest one a variable holds.
std::int32_t SizeNumber(std::uintmax_t size) {
  return static_cast<std::int32_t>(std::min<std::uintmax_t>(size, std::numeric_limits<std::int32_t>::max()));
}

// "<IVAR:" 13: "m:text", the position of text in T[m] (1-based), 0 when it is not there.
std::int32_t PositionInVariable(const VariableSet& vars, const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return 0;
  const std::int32_t m = ParseWholeNumber(std::string_view(text).substr(0, colon)).value;
  const std::string_view needle = std::string_view(text).substr(colon + 1);
  if (m < 1 || m >= VariableSet::kTextSlots || needle.empty()) return 0;
  const std::size_t at = vars.text[static_cast<std::size_t>(m)].find(needle);
  return at == std::string::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

class VariableSourceFamily final : public CommandFamily {
 public:
  explicit VariableSourceFamily(Interpreter& in) : random_(std::random_device{}()) {
    in.Claim<&SetTextVar>(TagId::kTvar, *this);
    in.Claim<&VariableSourceFamily::SetIntegerVar>(TagId::kIvar, *this);
    in.Claim<&SetDecimalVar>(TagId::kDvar, *this);
  }

 private:
  // 0..range-1; a range below 1 counts as 1.
  std::int32_t Random(std::int32_t range) {
    if (range <= 1) return 0;
    return std::uniform_int_distribution<std::int32_t>(0, range - 1)(random_);
  }

  void SetIntegerVar(Interpreter& in, Level& level, const TagInfo& tag) {
    namespace f = cmd::var_source;
    const CommandFields fields = FieldsOf(level, tag, cmd::kIvar);
    const std::int32_t n = fields.Whole(f::kVariable);
    if (!ValidNumber(in, Kind::kInteger, n)) return;
    std::int32_t& v = in.State().vars.integer[static_cast<std::size_t>(n)];
    const std::string text(fields.Raw(f::kText));
    const std::int32_t source = fields.Whole(f::kSource);
    switch (source) {
      case 1:
        v = ParseWholeNumber(text).value;
        return;
      case 2:
        if (std::optional<std::string> answer = Prompted(in, ValueKind::kInteger, text)) {
          v = answer->empty() ? 0 : ParseWholeNumber(*answer).value;
        }
        return;
      case 3:
      case 4:
        if (auto* input = Facility(in, &platform::Platform::input, kCaption, "mouse position")) {
          const platform::Point at = input->GetCursorPos();
          v = source == 3 ? at.x : at.y;
        }
        return;
      case 5:
        if (auto* files = Facility(in, &platform::Platform::files, kCaption, "file system")) {
          v = SizeNumber(FileSize(*files, text).value_or(0));
        }
        return;
      case 6:
        v = Random(ParseWholeNumber(text).value);
        return;
      case 7:
      case 8:
      case 9:
      case 10:
        if (auto* windows = Facility(in, &platform::Platform::windows, kCaption, "window list")) {
          const platform::WindowHandle w = windows->GetForegroundWindow();
          const platform::Rect r = w != platform::kNoWindow ? windows->GetWindowRect(w) : platform::Rect{};
          v = source == 7 ? r.top : source == 8 ? r.left : source == 9 ? r.right - r.left : r.bottom - r.top;
        }
        return;
      case 11:
        if (std::optional<std::string> clip = ClipboardNumber(in)) v = clip->empty() ? 0 : ParseWholeNumber(*clip).value;
        return;
      case 12: {
        const std::int32_t m = ParseWholeNumber(text).value;
        v = m >= 1 && m < VariableSet::kTextSlots
                ? static_cast<std::int32_t>(std::min<std::size_t>(in.State().vars.text[static_cast<std::size_t>(m)].size(),
                                                                  std::numeric_limits<std::int32_t>::max()))
                : 0;
        return;
      }
      case 13:
        v = PositionInVariable(in.State().vars, text);
        return;
      case 14:
      case 15:
        if (auto* input = Facility(in, &platform::Platform::input, kCaption, "screen size")) {
          const platform::Point size = input->ScreenSize();
          v = source == 14 ? size.x : size.y;
        }
        return;
      default:
        break;
    }
    if (source < 16 || source > 22) return;
    auto* clock = Facility(in, &platform::Platform::clock, kCaption, "clock");
    if (clock == nullptr) return;
    const double now = clock->Now();
    const CivilDateTime c = DecodeDateTime(now);
    const std::int32_t parts[] = {c.day, c.month, c.year, DayOfWeek(now), c.hour, c.minute, c.second};
    v = parts[source - 16];
  }

  static void SetDecimalVar(Interpreter& in, Level& level, const TagInfo& tag) {
    namespace f = cmd::var_source;
    const CommandFields fields = FieldsOf(level, tag, cmd::kDvar);
    const std::int32_t n = fields.Whole(f::kVariable);
    if (!ValidNumber(in, Kind::kDecimal, n)) return;
    double& d = in.State().vars.decimal[static_cast<std::size_t>(n)];
    const std::string_view text = fields.Raw(f::kText);
    switch (fields.Whole(f::kSource)) {
      case 1:
        d = ParseRealNumber(text).value;
        break;
      case 2:
        if (std::optional<std::string> answer = Prompted(in, ValueKind::kDecimal, text)) {
          d = answer->empty() ? 0.0 : ParseRealNumber(*answer).value;
        }
        break;
      case 3:
        if (std::optional<std::string> clip = ClipboardNumber(in)) d = clip->empty() ? 0.0 : ParseRealNumber(*clip).value;
        break;
      default:
        break;
    }
  }

  std::mt19937 random_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeVariableSourceFamily(Interpreter& in) {
  return std::make_unique<VariableSourceFamily>(in);
}

}  // namespace wdx::player
