#include "player/core/protocol.h"

#include "shared/tag_table.h"

namespace wdx::player {

void AppendChannelChar(std::string& buffer, std::uint8_t c) {
  if (buffer.size() < kReceiveBufferMax) buffer.push_back(static_cast<char>(c));
}

std::string UpperCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

bool SwitchValue(std::string_view line, std::string_view switchText, std::string& value) {
  const std::string upperLine = UpperCase(line);
  const std::size_t at = upperLine.find(UpperCase(switchText));
  if (at == std::string::npos) return false;
  const std::size_t begin = at + switchText.size();
  std::size_t end = line.find('/', begin);
  if (end == std::string_view::npos) end = line.size();
  value = TrimBlanks(line.substr(begin, end - begin));
  return true;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> params;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    if (i >= line.size()) break;
    std::string p;
    bool quoted = false;
    while (i < line.size() && (quoted || static_cast<unsigned char>(line[i]) > ' ')) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        p.push_back(line[i]);
      }
      ++i;
    }
    params.push_back(std::move(p));
  }
  return params;
}

void SetCommandVariables(std::string_view text, VariableSet& saved) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t v = text.find("/V", pos);
    if (v == std::string_view::npos) return;
    const std::size_t letterAt = v + 2;
    if (letterAt >= text.size()) return;
    const char letter = text[letterAt];
    const std::size_t colon = text.find(':', letterAt + 1);
    const std::size_t slash = text.find('/', letterAt + 1);
    if (colon == std::string_view::npos || slash < colon) {
      // A preset without its ":" sets nothing; the next one may still be whole.
      if (slash == std::string_view::npos) return;
      pos = slash;
      continue;
    }
    const WholeNumber number = ParseWholeNumber(text.substr(letterAt + 1, colon - letterAt - 1));
    std::size_t end = text.find('/', colon + 1);
    if (end == std::string_view::npos) end = text.size();
    const std::string value = TrimBlanks(text.substr(colon + 1, end - colon - 1));
    pos = end;
    if (!number.ok) continue;
    const int n = number.value;
    if (letter == 'T' && n >= 1 && n <= 99) {
      saved.text[static_cast<std::size_t>(n)] = value;
    } else if (letter == 'N' && n >= 1 && n <= 50) {
      const WholeNumber w = ParseWholeNumber(value);
      if (w.ok) saved.integer[static_cast<std::size_t>(n)] = w.value;
    } else if (letter == 'D' && n >= 1 && n <= 50) {
      const RealNumber r = ParseRealNumber(value);
      if (r.ok) saved.decimal[static_cast<std::size_t>(n)] = r.value;
    }
  }
}

}  // namespace wdx::player
