// Command descriptions: the typed field list of every tag, written once and read by both
// programs. The player's interpreter decodes a tag's fields through them; the editor's command
// dialogs, script serializer and wizard encode a command's values through them. The tag table
// (tag_table.h) says which keyword a tag has and how far it reaches; this file says what stands
// between its keyword and its end.
//
// A field has a name, an offset, a width and a kind. Offsets count from the tag's "<" (offset 0),
// except in the date and time tags, whose keywords differ in length and whose offsets count from
// the end of the keyword. A few tags have shorter forms that leave their last fields out; the
// form is told by where a ">" stands, as the interpreter tells it.
//
// Each command family adds its rows when it is built; a tag without a description has no
// layout (FindCommandLayout gives nullptr), and a tag that is its keyword alone has an empty one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/tag_table.h"
#include "shared/text_util.h"

namespace wdx {

enum class FieldKind : std::uint8_t {
  kDigits,     // whole number of at least 0, zero-padded to the width: "0005"
  kSigned,     // whole number, a minus first and zeros after it: "0640", "-005"
  kReal,       // real number with `decimals` decimals, zero-padded (zeros after a minus): "05.00"
  kLetter,     // one option character: "Y" or "N", "1", "F" or "P"
  kNumberOrN,  // a number as kDigits, or "N" + the zero-padded number of an integer variable: "003", "N05"
  kNumberN,    // a number as kSigned, or an integer variable's zero-padded number + "N": "-005", "005N"
  // The text kinds, last: their end is found, not counted.
  kText,       // text up to the next ">", which ends the tag; the field cannot hold ">"
  kText01,     // text ended by the byte 0x01 (may hold ">" and line breaks)
  kText02,     // text ended by the byte 0x02 (the command inside a disabled command)
  kOptions,    // option letters ended by ":" (the letters present say which options are on)
  kTextSemi,   // text ended by ";" (the first of two paths; the field cannot hold ";")
  kTextLt,     // text ended by "<" (a launch command's window title)
  kLaunchTarget,  // program or document, "<PARAM>" and the parameters, show mode: up to ">", the
                  // marker's own ">" included (LaunchFieldClose)
};

// The byte that ends a field of a text kind.
constexpr char ClosingByte(FieldKind kind) {
  switch (kind) {
    case FieldKind::kText01:
      return '\x01';
    case FieldKind::kText02:
      return '\x02';
    case FieldKind::kOptions:
      return ':';
    case FieldKind::kTextSemi:
      return ';';
    case FieldKind::kTextLt:
      return '<';
    default:
      return '>';
  }
}

// The position of the byte that closes a field of a text kind starting at `start` (npos: none).
std::size_t TextFieldClose(FieldKind kind, std::string_view text, std::size_t start);

// The field starts where the previous one ended (after its closing byte).
inline constexpr std::uint8_t kFollows = 0xFF;

struct FieldSpec {
  std::string_view name;
  std::uint8_t offset;  // see the file comment; kFollows
  // Characters of a fixed field; for the text kinds the most characters that are used (0: all).
  std::uint8_t width;
  FieldKind kind;
  // The separator the editor writes just before the field (":" or ","); never read.
  char lead = '\0';
  std::uint8_t decimals = 0;  // kReal
  // Fixed text between a following field (kFollows) and the field before it ("<PASS:"):
  // written before the field, and passed over by its length, without a test, when reading.
  std::string_view prefix = {};
};

// One form of a tag: its first fieldCount fields (kAllFields: all of them), then `closing`.
inline constexpr std::uint8_t kAllFields = 0xFF;
struct CommandForm {
  std::uint8_t fieldCount;
  // A reader takes this form when ">" stands at this offset; 0: when no earlier form was taken.
  std::uint8_t gtAt;
  // Written after the last field ("" when the last field's own closing byte ends the tag).
  std::string_view closing;
};

struct CommandLayout {
  bool fromKeywordEnd;  // offsets count from the end of the keyword, not from "<"
  std::span<const FieldSpec> fields;
  std::span<const CommandForm> forms;  // in reading order; at least one
};

namespace detail {
// The layouts of the described tags by id (nullptr where none is written), and the empty layout
// of the tags that are their keyword alone.
extern const std::array<const CommandLayout*, static_cast<std::size_t>(TagId::kCount)> kDescribedLayouts;
const CommandLayout* KeywordOnlyLayout(TagId id);
}  // namespace detail

// The description of a tag; nullptr while its family has none.
inline const CommandLayout* FindCommandLayout(TagId id) {
  const auto i = static_cast<std::size_t>(id);
  if (i >= detail::kDescribedLayouts.size()) return nullptr;
  const CommandLayout* layout = detail::kDescribedLayouts[i];
  return layout != nullptr ? layout : detail::KeywordOnlyLayout(id);
}

// The value of one field, as an editor holds it. Which member counts follows the field's kind:
// number (and variable) for the whole-number kinds, real for kReal, letter for kLetter, text for
// the text kinds. A field that a short form leaves out reads back as the empty value.
struct FieldValue {
  std::int32_t number = 0;  // for a variable: its number
  bool variable = false;    // kNumberOrN, kNumberN: names an integer variable
  double real = 0.0;
  char letter = '\0';
  std::string text;

  static FieldValue Number(std::int32_t n) { return {.number = n}; }
  static FieldValue Variable(std::int32_t n) { return {.number = n, .variable = true}; }
  static FieldValue Real(double x) { return {.real = x}; }
  static FieldValue Letter(char c) { return {.letter = c}; }
  static FieldValue Text(std::string s) { return {.text = std::move(s)}; }
  bool operator==(const FieldValue&) const = default;
};

// A number field that may name an integer variable instead.
struct NumberOrVariable {
  std::int32_t number = 0;
  bool variable = false;
};

// The fields of the tag that starts at pos, read where its description puts them. Reading is
// lazy (a field is found when it is asked for) and never fails: a field cut short by the end of
// the text holds what is there, a field the tag's form leaves out is empty, and the conversions
// are the language's standard ones.
class CommandFields {
 public:
  CommandFields(const TagInfo& tag, std::string_view text, std::size_t pos)
      : CommandFields(FindCommandLayout(tag.id), tag.keyword.size(), text, pos) {}
  // The same by a layout (nullptr: nothing described) for a keyword of that length. With one of
  // the layouts of command_layouts.h the compiler reads the fields at constant places.
  CommandFields(const CommandLayout* layout, std::size_t keywordLength, std::string_view text, std::size_t pos)
      : layout_(layout), text_(text) {
    if (layout_ == nullptr) return;
    base_ = pos + (layout_->fromKeywordEnd ? keywordLength : 0);
    // The first form whose ">" stands where it says; the last form otherwise.
    const CommandForm* form = &layout_->forms.back();
    for (const CommandForm& f : layout_->forms) {
      if (f.gtAt == 0 || TextAt(text, base_ + f.gtAt) == '>') {
        form = &f;
        break;
      }
    }
    count_ = form->fieldCount < layout_->fields.size() ? form->fieldCount : layout_->fields.size();
  }

  bool Described() const { return layout_ != nullptr; }
  // Fields present in the form read.
  std::size_t Count() const { return count_; }

  // The field's characters as they stand (for the text kinds without the closing byte, cut to
  // the field's width when it has one).
  std::string_view Raw(std::size_t i) const {
    if (i >= count_) return {};
    const FieldSpec& f = layout_->fields[i];
    if (f.offset == kFollows) return Span(*layout_, text_, base_, i).Of(text_);
    const std::size_t start = base_ + f.offset;
    if (start >= text_.size()) return {};
    if (f.kind < FieldKind::kText) return text_.substr(start, f.width);
    const std::size_t close = TextFieldClose(f.kind, text_, start);
    std::string_view rest = text_.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start);
    return f.width != 0 ? rest.substr(0, f.width) : rest;
  }
  // Whole-number conversion of Raw: what was read (0 when nothing was).
  std::int32_t Whole(std::size_t i) const { return ParseWholeNumber(Raw(i)).value; }
  // Real conversion of Raw: 0 when the field is no real number.
  double Real(std::size_t i) const { return ParseRealNumber(Raw(i)).value; }
  // The option character; NUL when absent.
  char Letter(std::size_t i) const {
    const std::string_view r = Raw(i);
    return r.empty() ? '\0' : r[0];
  }
  // A number, or (kNumberOrN with "N" in front, kNumberN with "N" behind) a variable's number.
  NumberOrVariable NumberOrVar(std::size_t i) const {
    std::string_view r = Raw(i);
    if (i < count_ && !r.empty()) {
      const FieldKind kind = layout_->fields[i].kind;
      if (kind == FieldKind::kNumberOrN && r.front() == 'N') return {ParseWholeNumber(r.substr(1)).value, true};
      if (kind == FieldKind::kNumberN && r.back() == 'N') return {ParseWholeNumber(r.substr(0, r.size() - 1)).value, true};
    }
    return {ParseWholeNumber(r).value, false};
  }
  // The field typed by its kind, as the editor reads it back.
  FieldValue Value(std::size_t i) const;
  std::vector<FieldValue> Values() const;

 private:
  // Where a field stands, and where the field after it would start.
  struct Place {
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t next = 0;
    std::string_view Of(std::string_view text) const {
      return start < text.size() ? text.substr(start, length) : std::string_view{};
    }
  };
  // Static, so that no reader's address escapes: the compiler then keeps a named layout's
  // fields at constant places across the calls between two reads.
  static Place Span(const CommandLayout& layout, std::string_view text, std::size_t base, std::size_t i);

  const CommandLayout* layout_ = nullptr;
  std::string_view text_;
  std::size_t base_ = 0;
  std::size_t count_ = 0;
};

// The tag text of a command: the keyword, then the values in layout order, in the shortest
// form that holds every value that is not empty (trailing values may be left out). nullopt when
// the tag has no description, when a value does not fit its field (too wide, negative where the
// field has no sign, a text holding its own closing byte or longer than the field allows), or
// when there are more values than the longest form has fields.
std::optional<std::string> EncodeCommand(const TagInfo& tag, std::span<const FieldValue> values);
// The same by a layout, after the given keyword.
std::optional<std::string> EncodeFields(const CommandLayout& layout, std::string_view keyword,
                                        std::span<const FieldValue> values);

// A command as the editor holds it: its tag and its field values in layout order (the values
// of EncodeCommand, the Values() of CommandFields). The date and time tags, whose keyword is
// their format's name, are written by their row (FindDateTimeRow) through EncodeCommand.
struct Command {
  TagId id = TagId::kCount;
  std::vector<FieldValue> values;
  bool operator==(const Command&) const = default;
};

// The tag text of a command; nullopt as EncodeCommand gives it.
std::optional<std::string> EncodeCommand(const Command& command);
// The described command whose tag starts at pos, read as the player reads it (the same tag
// found, its fields read through its description); nullopt when no tag with a description
// starts there. `end`, when given, receives the position after the tag.
std::optional<Command> DecodeCommand(std::string_view text, std::size_t pos = 0, std::size_t* end = nullptr);

}  // namespace wdx
