#include "platform/memory/memory_profile_files.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One line of an INI file as Windows reads it.
struct Parsed {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string_view name;
  std::string_view value;
  bool hasValue = false;
};

Parsed ParseLine(std::string_view line) {
  Parsed p;
  std::string_view t = Trim(line);
  if (t.empty()) return p;
  if (t.front() == '[') {
    std::size_t close = t.rfind(']');
    if (close == std::string_view::npos) return p;
    p.kind = Parsed::kSection;
    p.name = Trim(t.substr(1, close - 1));
    return p;
  }
  p.kind = Parsed::kKey;
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) {
    p.name = t;
    return p;
  }
  p.name = TrimRight(t.substr(0, eq));
  p.value = Trim(t.substr(eq + 1));
  p.hasValue = true;
  return p;
}

// The file's lines without their line ends (CR LF or LF); false when it cannot be read.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines->push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

// Index of the section's header line, or -1.
int FindSection(const std::vector<std::string>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Parsed p = ParseLine(lines[i]);
    if (p.kind == Parsed::kSection && EqualsNoCase(p.name, section)) return static_cast<int>(i);
  }
  return -1;
}

// One past the section's last line (the next header or the end of the file).
std::size_t SectionEnd(const std::vector<std::string>& lines, int header) {
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines.size() && ParseLine(lines[i]).kind != Parsed::kSection) ++i;
  return i;
}

int FindKey(const std::vector<std::string>& lines, int header, std::string_view key) {
  const std::size_t end = SectionEnd(lines, header);
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
    Parsed p = ParseLine(lines[i]);
    if (p.kind == Parsed::kKey && EqualsNoCase(p.name, key)) return static_cast<int>(i);
  }
  return -1;
}

std::string Cut(std::string_view s, std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  return std::string(s.substr(0, bufferSize - 1));
}

// A value in matching single or double quotes is read without them.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

std::string MemoryProfileFiles::GetString(const std::string& file, const std::string& section, const std::string& key,
                                          const std::string& defaultValue, std::size_t bufferSize) {
  // The default loses its trailing blanks, as Windows returns it.
  const std::string fallback = Cut(TrimRight(defaultValue), bufferSize);
  std::vector<std::string> lines;
  if (!ReadLines(ResolvePath(file), &lines)) return fallback;
  const int header = FindSection(lines, Trim(section));
  if (header < 0) return fallback;
  const int at = FindKey(lines, header, Trim(key));
  if (at < 0) return fallback;
  Parsed p = ParseLine(lines[static_cast<std::size_t>(at)]);
  if (!p.hasValue) return fallback;
  return Cut(Unquote(p.value), bufferSize);
}

bool MemoryProfileFiles::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                     const std::string& value) {
  const std::string path = ResolvePath(file);
  std::vector<std::string> lines;
  ReadLines(path, &lines);  // a missing file is created
  const std::string_view sec = Trim(section);
  const std::string_view k = Trim(key);
  const std::string entry = std::string(k) + "=" + std::string(value);
  const int header = FindSection(lines, sec);
  if (header < 0) {
    // A new section goes at the end, after a blank line when the file has content.
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + std::string(sec) + "]");
    lines.push_back(entry);
  } else if (int at = FindKey(lines, header, k); at >= 0) {
    // The key keeps its place and the spelling it has in the file.
    Parsed p = ParseLine(lines[static_cast<std::size_t>(at)]);
    lines[static_cast<std::size_t>(at)] = std::string(p.name) + "=" + value;
  } else {
    // A new key goes after the section's last entry, before any blank lines.
    std::size_t pos = SectionEnd(lines, header);
    while (pos > static_cast<std::size_t>(header) + 1 && Trim(lines[pos - 1]).empty()) --pos;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), entry);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace wdx::platform
