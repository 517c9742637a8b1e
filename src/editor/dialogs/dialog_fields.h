// What the user typed into a dialog's fields, read the one way every dialog reads it: the text
// cut to a short text and without blanks at either end, and numbers that must be whole numbers
// in their range. A number that is refused never reaches a tag: a fixed-width field written
// from "12abc", from a blank or from a value wider than the field would hold something the
// user did not mean.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/dialog.h"

namespace wdx::editor {

// A short text: at most this many characters are taken from a field.
inline constexpr std::size_t kShortText = 255;

// The field's first 255 characters without the blanks at both ends.
std::string FieldText(std::string_view typed);

// The whole field (after FieldText) as a decimal whole number with an optional minus; nullopt
// for an empty field, any other character ("12abc", "1 2", "$10") or more than nine digits.
std::optional<std::int32_t> WholeNumber(std::string_view typed);

// A number field of a dialog: the control to correct, what the user typed, the range it must
// lie in and the message that refuses it.
struct NumberField {
  std::string field;
  std::string_view typed;
  std::int32_t low;
  std::int32_t high;
  std::string_view message;
};

// The field's value, or the fault that refuses it (not a whole number, or outside its range).
struct CheckedNumber {
  std::int32_t value = 0;
  std::optional<forms::Fault> fault;
};
CheckedNumber CheckNumber(const NumberField& f);

// A number stepped by a spin button: the value of the field's leading digits (0 when there
// are none) moved by `step` when that stays within [low, high]; a value already beyond a bound
// is not moved toward it from that side. Written back as plain digits.
std::string SpinStep(std::string_view typed, int step, std::int32_t low, std::int32_t high);

}  // namespace wdx::editor
