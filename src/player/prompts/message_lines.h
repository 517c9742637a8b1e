// How many lines a prompt's message takes when its label wraps it at a width: the line count
// the question box and the value prompt size their labels and move their controls by.
#pragma once

#include <functional>
#include <string_view>

namespace wdx::player {

// Lines of `message` wrapped at `limit` pixels, words measured by `width`: 0 for an empty
// message. A line too wide moves its last word (with the blanks after it) to the next line;
// a word that is wider than the limit by itself ends the count there.
int MessageLineCount(std::string_view message, int limit, const std::function<int(std::string_view)>& width);

}  // namespace wdx::player
