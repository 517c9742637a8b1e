#include "player/prompts/message_lines.h"

#include <string>

namespace wdx::player {

namespace {

// Moves the blanks at the end of line, then its last word, to the front of rest; false when
// nothing of line is left.
bool MoveLastWord(std::string& line, std::string& rest) {
  if (line.empty()) return false;
  std::size_t cut = line.size();
  while (cut > 0 && line[cut - 1] == ' ') --cut;
  while (cut > 0 && line[cut - 1] != ' ') --cut;
  rest.insert(0, line, cut, std::string::npos);
  line.resize(cut);
  return !line.empty();
}

}  // namespace

int MessageLineCount(std::string_view message, int limit, const std::function<int(std::string_view)>& width) {
  if (message.empty()) return 0;
  std::string line(message);
  std::string rest;
  int lines = 1;
  for (;;) {
    if (width(line) > limit) {
      if (!MoveLastWord(line, rest)) break;
    } else if (!rest.empty()) {
      line.swap(rest);
      rest.clear();
      ++lines;
    } else {
      break;
    }
  }
  return lines;
}

}  // namespace wdx::player
