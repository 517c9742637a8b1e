// Text widths without a screen: the advance widths of Arial, so that layouts computed in
// native tests (word wrapping of prompt messages, widths of menu items) come out as they do on
// Windows for plain text. The Windows runner measures with the real font instead.
#pragma once

#include <string_view>

#include "forms/types.h"

namespace wdx::forms {

// Width in pixels of `text` in `font`, from Arial's widths scaled to the font's height (bold
// text a tenth wider). Characters outside printable ASCII count as wide as "n".
int EstimateTextWidth(const Font& font, std::string_view text);

}  // namespace wdx::forms
