// The variable commands: save and restore of the live set ("<VARSR:") and the modify commands
// of the decimal, integer and text variables ("<DMVAR:", "<NMVAR:", "<TMVAR:").
#include "player/interpreter/variables.h"

#include <cmath>
#include <filesystem>
#include <string_view>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/file_io.h"
#include "shared/globals.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Variable Error";

template <class T, std::size_t N>
T* Slot(Interpreter& in, std::array<T, N>& table, std::int64_t number, char letter, const char* kind, int last) {
  if (number >= 0 && number < static_cast<std::int64_t>(N)) return &table[static_cast<std::size_t>(number)];
  in.Fail(kCaption, std::string("There is no ") + kind + " variable " + letter + std::to_string(number) + " (" +
                        kind + " variables are " + letter + "1 to " + letter + std::to_string(last) +
                        "). Macro will abort.");
  return nullptr;
}

// The variable number that a real-number field carries: its whole part. Values far outside
// every table keep a size that still names no variable.
std::int64_t TruncNumber(double x) {
  if (!(std::fabs(x) < 1e9)) return x < 0 ? -1000000000 : 1000000000;
  return static_cast<std::int64_t>(std::trunc(x));
}

// --- "<NMVAR:": 32-bit integer arithmetic that wraps on overflow.

std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

std::int32_t IntegerOperation(std::int32_t op, std::int32_t a, std::int32_t b) {
  switch (op) {
    case 1: return Wrap(std::int64_t{a} + b);
    case 2: return Wrap(std::int64_t{a} - b);
    case 3: return Wrap(std::int64_t{a} * b);
    default:
      // Quotient truncated toward zero; the one quotient beyond 32 bits wraps like the rest.
      return b == 0 ? 0 : Wrap(std::int64_t{a} / b);
  }
}

void ModifyIntegerVar(Interpreter& in, const Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kNmvar);
  namespace f = cmd::nmvar;
  const std::int32_t op = fields.Whole(f::kOperation);
  const std::int32_t v = fields.Whole(f::kVariable);
  const bool flagA = fields.Letter(f::kFlagA) == '1';
  const std::int32_t valueA = fields.Whole(f::kValueA);
  const bool flagB = fields.Letter(f::kFlagB) == '1';
  const std::int32_t valueB = fields.Whole(f::kValueB);
  if (op >= 1 && op <= 4) {
    std::int32_t* target = IntegerVariable(in, v);
    if (target == nullptr) return;
    std::int32_t a = valueA, b = valueB;
    if (flagA) {
      const std::int32_t* p = IntegerVariable(in, valueA);
      if (p == nullptr) return;
      a = *p;
    }
    if (flagB) {
      const std::int32_t* p = IntegerVariable(in, valueB);
      if (p == nullptr) return;
      b = *p;
    }
    *target = IntegerOperation(op, a, b);
    return;
  }
  if (op < 5 || op > 7) return;
  const std::int32_t* source = IntegerVariable(in, v);
  if (source == nullptr) return;
  const std::int32_t value = *source;
  if (op == 5) {
    if (std::string* t = TextVariable(in, valueA)) *t = FormatNumber(1, 0, value);
  } else if (op == 6) {
    if (double* d = DecimalVariable(in, valueA)) *d = value;
  } else if (std::int32_t* n = IntegerVariable(in, valueA)) {
    *n = value;
  }
}

// --- "<DMVAR:": double arithmetic.

void ModifyDecimalVar(Interpreter& in, const Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kDmvar);
  namespace f = cmd::dmvar;
  const std::int32_t op = fields.Whole(f::kOperation);
  const std::int32_t v = fields.Whole(f::kVariable);
  const bool flagA = fields.Letter(f::kFlagA) == '1';
  // A field that is no real number counts as 0.
  const double valueA = fields.Real(f::kValueA);
  const bool flagB = fields.Letter(f::kFlagB) == '1';
  const double valueB = fields.Real(f::kValueB);
  if (op >= 1 && op <= 4) {
    double* target = DecimalVariable(in, v);
    if (target == nullptr) return;
    double a = valueA, b = valueB;
    if (flagA) {
      const double* p = DecimalVariable(in, TruncNumber(valueA));
      if (p == nullptr) return;
      a = *p;
    }
    if (flagB) {
      const double* p = DecimalVariable(in, TruncNumber(valueB));
      if (p == nullptr) return;
      b = *p;
    }
    switch (op) {
      case 1: *target = a + b; break;
      case 2: *target = a - b; break;
      case 3: *target = a * b; break;
      default: *target = b == 0.0 ? 0.0 : a / b; break;
    }
    return;
  }
  if (op < 5 || op > 7) return;
  const double* source = DecimalVariable(in, v);
  if (source == nullptr) return;
  const double value = *source;
  const std::int64_t targetNumber = TruncNumber(valueA);
  if (op == 5) {
    // The decimals are a byte: a count below zero gives none, one above 255 the most.
    const std::int64_t decimals = TruncNumber(valueB);
    const auto places = static_cast<std::uint8_t>(decimals < 0 ? 0 : decimals > 255 ? 255 : decimals);
    if (std::string* t = TextVariable(in, targetNumber)) *t = FormatNumber(1, places, value);
  } else if (op == 6) {
    std::int32_t* n = IntegerVariable(in, targetNumber);
    if (n == nullptr) return;
    const double whole = std::trunc(value);
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) {
      in.Fail(kCaption, "The decimal variable D" + std::to_string(v) + " holds " + FormatNumber(1, 4, value) +
                            ", which does not fit an integer variable (-2147483648 to 2147483647). Macro will abort.");
      return;
    }
    *n = static_cast<std::int32_t>(whole);
  } else if (double* d = DecimalVariable(in, targetNumber)) {
    *d = value;
  }
}

// --- "<TMVAR:": text operations.

bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

void TrimLeft(std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && Blank(s[i])) ++i;
  s.erase(0, i);
}

void TrimRight(std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && Blank(s[n - 1])) --n;
  s.resize(n);
}

// A number field, or the value of the integer variable it names.
bool Resolve(Interpreter& in, NumberOrVariable field, std::int32_t& value) {
  if (field.variable) {
    const std::int32_t* n = IntegerVariable(in, field.number);
    if (n == nullptr) return false;
    value = *n;
    return true;
  }
  value = field.number;
  return true;
}

// Whether T<number> may grow to `size` characters; when not, the run fails and the variable
// keeps its value.
bool Fits(Interpreter& in, std::int64_t number, std::size_t size) {
  if (size <= VariableSet::kMaxTextLength) return true;
  in.Fail(kCaption, "The text variable T" + std::to_string(number) + " would grow to " + std::to_string(size) +
                        " characters; a text variable holds at most " + std::to_string(VariableSet::kMaxTextLength) +
                        ". Macro will abort.");
  return false;
}

void ModifyTextVar(Interpreter& in, const Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kTmvar);
  namespace f = cmd::tmvar;
  const std::int32_t op = fields.Whole(f::kOperation);
  if (op < 1 || op > 20) return;
  const std::int32_t w = fields.Whole(f::kOther);
  const std::string text(fields.Raw(f::kText));
  const std::int32_t v = fields.Whole(f::kVariable);
  std::string* t = TextVariable(in, v);
  if (t == nullptr) return;
  switch (op) {
    case 1: TrimLeft(*t); TrimRight(*t); break;
    case 2: TrimLeft(*t); break;
    case 3: TrimRight(*t); break;
    case 4: std::erase_if(*t, [](char c) { return c == '\r' || c == '\n'; }); break;
    case 5:
      if (std::int32_t* n = IntegerVariable(in, w)) *n = ParseWholeNumber(*t).value;
      break;
    case 6:
      if (double* d = DecimalVariable(in, w)) *d = ParseRealNumber(*t).value;
      break;
    case 7:
      if (Fits(in, v, t->size() + text.size())) *t += text;
      break;
    case 8:
      if (const std::string* other = TextVariable(in, w); other != nullptr && Fits(in, v, t->size() + other->size())) {
        *t += *other;
      }
      break;
    case 9:
      if (const std::string* other = TextVariable(in, w)) *t = *other;
      break;
    case 10: {
      const std::string* other = TextVariable(in, w);
      std::int32_t p = 0, q = 0;
      if (other == nullptr || !Resolve(in, fields.NumberOrVar(f::kStart), p) ||
          !Resolve(in, fields.NumberOrVar(f::kCount), q)) {
        return;
      }
      const std::size_t start = p < 1 ? 0 : static_cast<std::size_t>(p) - 1;
      *t = start >= other->size() || q <= 0 ? std::string() : other->substr(start, static_cast<std::size_t>(q));
      break;
    }
    case 11: {
      std::int32_t p = 0, q = 0;
      if (!Resolve(in, fields.NumberOrVar(f::kStart), p) || !Resolve(in, fields.NumberOrVar(f::kCount), q)) return;
      if (p >= 1 && static_cast<std::size_t>(p) <= t->size() && q > 0) {
        t->erase(static_cast<std::size_t>(p) - 1, static_cast<std::size_t>(q));
      }
      break;
    }
    case 12:
      for (char& c : *t) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      break;
    case 13:
      for (char& c : *t) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
      break;
    case 14:
    case 15: {
      // The length is taken literally: the variable form reads as no number and pads nothing.
      const std::int32_t length = fields.Whole(f::kStart);
      if (length > 0 && t->size() < static_cast<std::size_t>(length)) {
        const std::size_t pad = static_cast<std::size_t>(length) - t->size();
        if (op == 14) {
          t->insert(0, pad, ' ');
        } else {
          t->append(pad, ' ');
        }
      }
      break;
    }
    case 16:
      if (auto* clipboard = Facility(in, &platform::Platform::clipboard, kCaption, "clipboard")) {
        clipboard->SetText(*t);
      }
      break;
    case 17:
    case 20:
      if (auto* files = Facility(in, &platform::Platform::files, kCaption, "file system")) {
        const std::string path = files->NativePath(text);
        std::error_code ec;
        // Appending needs an existing file; writing creates or empties it.
        if (op == 17 || std::filesystem::is_regular_file(path, ec)) WriteLine(path, *t, op == 20);
      }
      break;
    case 18:
      if (auto* profile = Facility(in, &platform::Platform::profile, kCaption, "INI file access")) {
        // File name, section and key, separated by the byte 0x01; without both separators
        // there is nothing to write to.
        const std::size_t first = text.find('\x01');
        const std::size_t second = first == std::string::npos ? first : text.find('\x01', first + 1);
        if (second != std::string::npos) {
          profile->WriteString(text.substr(0, first), text.substr(first + 1, second - first - 1),
                                  text.substr(second + 1), *t);
        }
      }
      break;
    case 19:
      if (auto* environment = Facility(in, &platform::Platform::environment, kCaption, "environment")) {
        environment->SetVariable(text, *t);
      }
      break;
    default:
      break;
  }
}

template <class T, std::size_t N>
void CopyNumbered(std::array<T, N>& to, const std::array<T, N>& from) {
  // Slot 0 is no variable of the set.
  for (std::size_t i = 1; i < N; ++i) to[i] = from[i];
}

}  // namespace

std::string* TextVariable(Interpreter& in, std::int64_t number) {
  return Slot(in, in.State().vars.text, number, 'T', "text", VariableSet::kTextSlots - 1);
}

std::int32_t* IntegerVariable(Interpreter& in, std::int64_t number) {
  return Slot(in, in.State().vars.integer, number, 'N', "integer", VariableSet::kNumberSlots - 1);
}

double* DecimalVariable(Interpreter& in, std::int64_t number) {
  return Slot(in, in.State().vars.decimal, number, 'D', "decimal", VariableSet::kNumberSlots - 1);
}

void SaveRestoreVariables(RunState& st, std::int32_t code) {
  // 01..04 save, 05..08 restore: all variables, the text, the integer or the decimal ones.
  if (code < 1 || code > 8) return;
  const bool save = code <= 4;
  const int kinds = (code - 1) % 4;
  VariableSet& to = save ? st.saved : st.vars;
  const VariableSet& from = save ? st.vars : st.saved;
  if (kinds == 0 || kinds == 1) CopyNumbered(to.text, from.text);
  if (kinds == 0 || kinds == 2) CopyNumbered(to.integer, from.integer);
  if (kinds == 0 || kinds == 3) CopyNumbered(to.decimal, from.decimal);
}

namespace {

// The variables live in the run state, which the player fills and resets as well.
class VariableFamily final : public CommandFamily {
 public:
  explicit VariableFamily(Interpreter& in) {
    in.Claim<&SaveRestoreTag>(TagId::kVarsr, *this);
    in.Claim<&ModifyIntegerVar>(TagId::kNmvar, *this);
    in.Claim<&ModifyDecimalVar>(TagId::kDmvar, *this);
    in.Claim<&ModifyTextVar>(TagId::kTmvar, *this);
  }
  static void SaveRestoreTag(Interpreter& in, Level& level, const TagInfo& tag) {
    SaveRestoreVariables(in.State(), FieldsOf(level, tag, cmd::kVarsr).Whole(cmd::kOnly));
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeVariableFamily(Interpreter& in) { return std::make_unique<VariableFamily>(in); }

}  // namespace wdx::player
