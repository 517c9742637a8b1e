#include "editor/dialogs/dialog_fields.h"

#include <limits>

#include "shared/text_util.h"

namespace wdx::editor {

std::string FieldText(std::string_view typed) { return Trim(typed.substr(0, kShortText)); }

std::optional<std::int32_t> WholeNumber(std::string_view typed) {
  const std::string text = FieldText(typed);
  std::string_view digits = text;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  std::int32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

CheckedNumber CheckNumber(const NumberField& f) {
  const std::optional<std::int32_t> n = WholeNumber(f.typed);
  if (!n || *n < f.low || *n > f.high) return {0, forms::Fault{f.field, std::string(f.message)}};
  return {*n, std::nullopt};
}

std::string SpinStep(std::string_view typed, int step, std::int32_t low, std::int32_t high) {
  const std::string text = FieldText(typed);
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > std::numeric_limits<std::int32_t>::max() / 10) break;
    value = value * 10 + (c - '0');
  }
  const std::int64_t next = value + step;
  // Each direction stops only at its own bound.
  if (step > 0 ? next <= high : next >= low) value = next;
  return std::to_string(value);
}

}  // namespace wdx::editor
