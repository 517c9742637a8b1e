#include "player/core/command_line.h"

#include "player/core/protocol.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {
constexpr std::size_t kStartupNicknameMax = 50;
constexpr int kSyncMinutesMax = 98;
}  // namespace

CommandLineOptions ParseCommandLine(std::string_view commandLine) {
  CommandLineOptions o;
  const std::string_view raw = commandLine.substr(0, kReceiveBufferMax);
  const std::vector<std::string> params = SplitCommandLine(commandLine);
  for (std::size_t i = 1; i < params.size(); ++i) {
    const std::string p = UpperAscii(params[i]);
    const auto starts = [&p](const char* s) { return p.rfind(s, 0) == 0; };
    std::string value;
    if (params[i] == "/S") o.trayFromExactS = true;
    if (p == "/B" || p == "/BA") {
      o.browseMode = true;
    } else if (p == "/S") {
      o.autoSync = true;
    } else if (starts("/F")) {
      if (SwitchValue(raw, "/F", value) && !value.empty()) o.library = value;
    } else if (starts("/A")) {
      SwitchValue(raw, "/A", value);
      o.startupNickname = UpperAscii(value).substr(0, kStartupNicknameMax);
    } else if (starts("/WRM")) {
      SwitchValue(raw, "/WRM", value);
      o.startupFile = value;
    } else if (p == "/N") {
      o.networkMode = true;
    } else if (starts("/SM")) {
      const WholeNumber n = p.size() > 3 ? ParseWholeNumber(p.substr(3)) : WholeNumber{};
      if (n.ok && n.value >= 1 && n.value <= kSyncMinutesMax) o.syncMinutes = static_cast<std::uint16_t>(n.value);
    } else if (starts("/NOINI")) {
      o.iniWritingOff = true;
    } else if (starts("/T")) {
      o.useTray = true;
    } else if (starts("/H")) {
      o.useTray = false;
    } else if (starts("/EN")) {
      o.startEditor = false;
    } else if (starts("/EY")) {
      o.startEditor = true;
    } else if (starts("/NSE")) {
      o.editorNotThisStart = true;
    }
  }
  return o;
}

bool SwitchValue(std::string_view line, std::string_view switchText, std::string& value) {
  const std::size_t at = FindNoCase(line, switchText);
  if (at == std::string::npos) return false;
  const std::size_t begin = at + switchText.size();
  std::size_t end = line.find('/', begin);
  if (end == std::string_view::npos) end = line.size();
  value = Trim(line.substr(begin, end - begin));
  return true;
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
    const std::string value = Trim(text.substr(colon + 1, end - colon - 1));
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
