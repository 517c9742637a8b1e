#include "shared/command_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace wdx {

namespace {

using K = FieldKind;

// --- The descriptions, family by family ---------------------------------------------------

constexpr CommandForm kOneForm[] = {{kAllFields, 0, ">"}};
// Tags whose last field is a text (its closing byte ends the tag), and tags without fields.
constexpr CommandForm kTextEnds[] = {{kAllFields, 0, ""}};

// Keystrokes: Alt + keypad codes and the lock keys.
constexpr FieldSpec kAlt[] = {{"code", 5, 3, K::kDigits}};
constexpr FieldSpec kAlt4[] = {{"code", 6, 4, K::kDigits}};
constexpr FieldSpec kTog[] = {{"kind", 5, 1, K::kDigits}};

// Delays and speed.
constexpr FieldSpec kTdelay[] = {{"seconds", 8, 2, K::kDigits}};
constexpr FieldSpec kItdelay[] = {{"seconds", 9, 2, K::kDigits}};
constexpr FieldSpec kDelay[] = {{"seconds", 7, 5, K::kReal, '\0', 2}};
constexpr FieldSpec kIdelay[] = {{"seconds", 8, 5, K::kReal, '\0', 2}};
constexpr FieldSpec kSpeed[] = {{"factor", 7, 5, K::kReal, '\0', 2}};
constexpr FieldSpec kMsd[] = {{"milliseconds", 5, 4, K::kDigits}};
constexpr FieldSpec kImsd[] = {{"milliseconds", 6, 4, K::kDigits}};
constexpr FieldSpec kSpkeySpmse[] = {{"milliseconds", 7, 4, K::kDigits}};

// Pause.
constexpr FieldSpec kPauseAt[] = {
    {"top", 7, 3, K::kDigits}, {"left", 11, 3, K::kDigits, ','}, {"message", 14, 255, K::kText}};

// Remarks and disabled commands.
constexpr FieldSpec kRem[] = {{"text", 5, 0, K::kText}};
constexpr FieldSpec kDis[] = {{"command", 5, 0, K::kText02}};

// Variables.
constexpr FieldSpec kVarsr[] = {{"code", 7, 2, K::kDigits}};
constexpr FieldSpec kNmvar[] = {
    {"operation", 7, 2, K::kDigits},   {"variable", 10, 2, K::kDigits, ':'}, {"flag A", 13, 1, K::kLetter, ':'},
    {"value A", 15, 7, K::kSigned, ':'}, {"flag B", 23, 1, K::kLetter, ':'},   {"value B", 25, 7, K::kSigned, ':'}};
constexpr FieldSpec kDmvar[] = {{"operation", 7, 2, K::kDigits},
                                {"variable", 10, 2, K::kDigits, ':'},
                                {"flag A", 13, 1, K::kLetter, ':'},
                                {"value A", 15, 20, K::kReal, ':', 6},
                                {"flag B", 36, 1, K::kLetter, ':'},
                                {"value B", 38, 20, K::kReal, ':', 6}};
constexpr FieldSpec kTmvar[] = {{"operation", 7, 2, K::kDigits},      {"variable", 10, 2, K::kDigits, ':'},
                                {"other variable", 13, 2, K::kDigits, ':'}, {"start", 16, 3, K::kNumberOrN, ':'},
                                {"count", 20, 3, K::kNumberOrN, ':'},   {"text", 24, 255, K::kText, ':'}};

// Date and time tags ("<" + format name + "{" is the keyword): leading zeros, then for a date
// the direction ("F" later, "P" earlier) and the days, then the text variable that receives the
// result. The short forms end after the zeros or the days.
constexpr FieldSpec kDateTag[] = {{"zeros", 0, 1, K::kLetter},
                                  {"direction", 1, 1, K::kLetter},
                                  {"days", 2, 3, K::kDigits},
                                  {"variable", 6, 2, K::kDigits, '}'}};
constexpr CommandForm kDateForms[] = {{1, 2, "}>"}, {3, 6, "}>"}, {4, 0, ">"}};
constexpr FieldSpec kTimeTag[] = {{"zeros", 0, 1, K::kLetter}, {"variable", 2, 2, K::kDigits, '}'}};
constexpr CommandForm kTimeForms[] = {{1, 2, "}>"}, {2, 0, ">"}};

struct Described {
  TagId id;
  CommandLayout layout;
};

constexpr CommandLayout Fixed(std::span<const FieldSpec> fields) { return {false, fields, kOneForm}; }
constexpr CommandLayout EndsWithText(std::span<const FieldSpec> fields) { return {false, fields, kTextEnds}; }

constexpr Described kDescribed[] = {
    {TagId::kAlt, Fixed(kAlt)},
    {TagId::kAlt4, Fixed(kAlt4)},
    {TagId::kTog, Fixed(kTog)},
    {TagId::kTdelay, Fixed(kTdelay)},
    {TagId::kItdelay, Fixed(kItdelay)},
    {TagId::kDelay, Fixed(kDelay)},
    {TagId::kIdelay, Fixed(kIdelay)},
    {TagId::kSpeed, Fixed(kSpeed)},
    {TagId::kMsd, Fixed(kMsd)},
    {TagId::kImsd, Fixed(kImsd)},
    {TagId::kSpkey, Fixed(kSpkeySpmse)},
    {TagId::kSpmse, Fixed(kSpkeySpmse)},
    {TagId::kPauseAt, EndsWithText(kPauseAt)},
    {TagId::kRem, EndsWithText(kRem)},
    {TagId::kDis, EndsWithText(kDis)},
    {TagId::kVarsr, Fixed(kVarsr)},
    {TagId::kNmvar, Fixed(kNmvar)},
    {TagId::kDmvar, Fixed(kDmvar)},
    {TagId::kTmvar, EndsWithText(kTmvar)},
    {TagId::kDateTag, {true, kDateTag, kDateForms}},
    {TagId::kTimeTag, {true, kTimeTag, kTimeForms}},
};

constexpr CommandLayout kKeywordOnly{false, {}, kTextEnds};

constexpr bool WithinFieldLimit() {
  for (const Described& d : kDescribed) {
    if (d.layout.fields.size() > CommandFields::kMaxFields) return false;
  }
  return true;
}
static_assert(WithinFieldLimit(), "a reader keeps the places of at most kMaxFields fields");

struct LayoutIndex {
  std::array<const CommandLayout*, static_cast<std::size_t>(TagId::kCount)> byId{};
  LayoutIndex() {
    for (const TagInfo& row : TagTable()) {
      if (row.extent == TagExtent::kKeyword) byId[static_cast<std::size_t>(row.id)] = &kKeywordOnly;
    }
    for (const Described& d : kDescribed) byId[static_cast<std::size_t>(d.id)] = &d.layout;
  }
};

bool IsText(FieldKind kind) { return kind == K::kText || kind == K::kText01 || kind == K::kText02; }

char Closer(FieldKind kind) {
  switch (kind) {
    case K::kText: return '>';
    case K::kText01: return '\x01';
    default: return '\x02';
  }
}

// --- Encoding of one value -----------------------------------------------------------------

// Digits of |n| with zeros in front up to width, after a minus when negative; nullopt when
// they do not fit.
std::optional<std::string> Padded(std::string digits, bool negative, std::size_t width) {
  const std::size_t used = digits.size() + (negative ? 1 : 0);
  if (used > width) return std::nullopt;
  return std::string(negative ? "-" : "") + std::string(width - used, '0') + digits;
}

std::optional<std::string> WholeText(std::int64_t n, std::size_t width, bool signedField) {
  if (n < 0 && !signedField) return std::nullopt;
  return Padded(std::to_string(n < 0 ? -n : n), n < 0, width);
}

std::optional<std::string> RealText(double x, std::size_t width, int decimals) {
  if (!std::isfinite(x)) return std::nullopt;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(x));
  // A value that rounds to zero is written without a minus.
  const bool negative = std::signbit(x) && std::strtod(buf, nullptr) != 0.0;
  return Padded(buf, negative, width);
}

std::optional<std::string> FieldText(const FieldSpec& f, const FieldValue& v) {
  switch (f.kind) {
    case K::kDigits:
      return WholeText(v.number, f.width, false);
    case K::kSigned:
      return WholeText(v.number, f.width, true);
    case K::kReal:
      return RealText(v.real, f.width, f.decimals);
    case K::kLetter:
      if (v.letter == '\0') return std::nullopt;
      return std::string(1, v.letter);
    case K::kNumberOrN: {
      if (!v.variable) return WholeText(v.number, f.width, false);
      auto n = WholeText(v.number, f.width - 1u, false);
      return n ? "N" + *n : n;
    }
    case K::kNumberN: {
      if (!v.variable) return WholeText(v.number, f.width, true);
      auto n = WholeText(v.number, f.width - 1u, false);
      return n ? *n + "N" : n;
    }
    case K::kText:
    case K::kText01:
    case K::kText02:
      if (v.text.find(Closer(f.kind)) != std::string::npos) return std::nullopt;
      if (f.width != 0 && v.text.size() > f.width) return std::nullopt;
      return v.text + Closer(f.kind);
  }
  return std::nullopt;
}

bool Empty(const FieldValue& v) { return v == FieldValue{}; }

}  // namespace

const CommandLayout* FindCommandLayout(TagId id) {
  static const LayoutIndex index;
  const auto i = static_cast<std::size_t>(id);
  return i < index.byId.size() ? index.byId[i] : nullptr;
}

CommandFields::CommandFields(const CommandLayout* layout, std::size_t keywordLength, std::string_view text,
                             std::size_t pos)
    : layout_(layout), text_(text) {
  if (layout_ == nullptr) return;
  const std::size_t base = pos + (layout_->fromKeywordEnd ? keywordLength : 0);
  const CommandForm* form = &layout_->forms.back();
  for (const CommandForm& f : layout_->forms) {
    if (f.gtAt == 0 || TextAt(text, base + f.gtAt) == '>') {
      form = &f;
      break;
    }
  }
  count_ = std::min<std::size_t>({form->fieldCount, layout_->fields.size(), kMaxFields});
  std::size_t next = base;  // where a following field starts
  for (std::size_t i = 0; i < count_; ++i) {
    const FieldSpec& f = layout_->fields[i];
    const std::size_t start = f.offset == kFollows ? next : base + f.offset;
    std::size_t length = 0;
    if (IsText(f.kind)) {
      const std::size_t close = start < text.size() ? text.find(Closer(f.kind), start) : std::string_view::npos;
      length = (close == std::string_view::npos ? std::max(text.size(), start) : close) - start;
      next = start + length + 1;
      if (f.width != 0 && length > f.width) length = f.width;
    } else {
      length = f.width;
      next = start + length;
    }
    // Cut at the end of the text: the conversions stop there, as they would at its NUL bytes.
    if (start >= text.size()) {
      length = 0;
    } else if (length > text.size() - start) {
      length = text.size() - start;
    }
    start_[i] = static_cast<std::uint32_t>(start);
    length_[i] = static_cast<std::uint32_t>(length);
  }
}

std::string_view CommandFields::Raw(std::size_t i) const {
  if (i >= count_ || length_[i] == 0) return {};
  return text_.substr(start_[i], length_[i]);
}

char CommandFields::Letter(std::size_t i) const {
  const std::string_view r = Raw(i);
  return r.empty() ? '\0' : r[0];
}

NumberOrVariable CommandFields::NumberOrVar(std::size_t i) const {
  std::string_view r = Raw(i);
  if (i < count_) {
    const FieldKind kind = layout_->fields[i].kind;
    if (kind == K::kNumberOrN && !r.empty() && r.front() == 'N') {
      return {ParseWholeNumber(r.substr(1)).value, true};
    }
    if (kind == K::kNumberN && !r.empty() && r.back() == 'N') {
      r.remove_suffix(1);
      return {ParseWholeNumber(r).value, true};
    }
  }
  return {ParseWholeNumber(r).value, false};
}

FieldValue CommandFields::Value(std::size_t i) const {
  if (i >= count_) return {};
  switch (layout_->fields[i].kind) {
    case K::kDigits:
    case K::kSigned:
      return FieldValue::Number(Whole(i));
    case K::kReal:
      return FieldValue::Real(Real(i));
    case K::kLetter:
      return FieldValue::Letter(Letter(i));
    case K::kNumberOrN:
    case K::kNumberN: {
      const NumberOrVariable n = NumberOrVar(i);
      return n.variable ? FieldValue::Variable(n.number) : FieldValue::Number(n.number);
    }
    case K::kText:
    case K::kText01:
    case K::kText02:
      return FieldValue::Text(std::string(Raw(i)));
  }
  return {};
}

std::vector<FieldValue> CommandFields::Values() const {
  std::vector<FieldValue> values;
  if (layout_ == nullptr) return values;
  for (std::size_t i = 0; i < layout_->fields.size(); ++i) values.push_back(Value(i));
  return values;
}

std::optional<std::string> EncodeCommand(const TagInfo& tag, std::span<const FieldValue> values) {
  const CommandLayout* layout = FindCommandLayout(tag.id);
  if (layout == nullptr) return std::nullopt;
  return EncodeFields(*layout, tag.keyword, values);
}

std::optional<std::string> EncodeFields(const CommandLayout& layout, std::string_view keyword,
                                        std::span<const FieldValue> values) {
  std::size_t needed = 0;  // one past the last value that is not empty
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!Empty(values[i])) needed = i + 1;
  }
  const CommandForm* form = nullptr;
  std::size_t count = 0;
  for (const CommandForm& f : layout.forms) {
    count = std::min<std::size_t>(f.fieldCount, layout.fields.size());
    if (count >= needed) {
      form = &f;
      break;
    }
  }
  if (form == nullptr || values.size() > layout.fields.size()) return std::nullopt;
  std::string out(keyword);
  const std::size_t base = layout.fromKeywordEnd ? out.size() : 0;
  static const FieldValue kEmpty;
  for (std::size_t i = 0; i < count; ++i) {
    const FieldSpec& f = layout.fields[i];
    if (f.offset != kFollows) {
      const std::size_t at = base + f.offset;
      if (out.size() > at) return std::nullopt;  // a description whose fields overlap
      out.append(at - out.size(), f.lead != '\0' ? f.lead : ':');
    }
    const std::optional<std::string> text = FieldText(f, i < values.size() ? values[i] : kEmpty);
    if (!text) return std::nullopt;
    out += *text;
  }
  out += form->closing;
  return out;
}

}  // namespace wdx
