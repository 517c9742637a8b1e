#include "editor/shell/companion_files.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "shared/remap_keys.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

bool NameBefore(const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); }

}  // namespace

void CategoryList::Init() {
  entries_ = {{kAllCategoriesName, 0}, {kUnassignedName, 0}};
  std::sort(entries_.begin(), entries_.end(), [](const Category& a, const Category& b) { return NameBefore(a.name, b.name); });
  maxId_ = 1;
}

int CategoryList::Add(std::string name, std::int32_t id) {
  // After the entries of the same name, as a sorted list adds them.
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), name,
                                   [](const std::string& n, const Category& c) { return NameBefore(n, c.name); });
  const auto placed = entries_.insert(at, Category{std::move(name), id});
  maxId_ = std::max(maxId_, id);
  return static_cast<int>(placed - entries_.begin());
}

void CategoryList::Load(const std::filesystem::path& file) {
  Init();
  std::ifstream in(file, std::ios::binary);
  if (!in) return;
  std::string name, id;
  const auto readLine = [&in](std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  while (readLine(name) && readLine(id)) {
    const std::int32_t value = DecimalOrZero(id);
    if (value > 0) Add(CutShort(name), value);
  }
}

bool CategoryList::Save(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const Category& c : entries_) {
    if (c.id > 0) out << c.name << "\r\n" << c.id << "\r\n";
  }
  return static_cast<bool>(out);
}

std::vector<std::string> CategoryList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const Category& c : entries_) names.push_back(c.name);
  return names;
}

std::int32_t DecimalOrZero(std::string_view text) {
  const std::string_view t = TrimView(text);
  std::int32_t value = 0;
  const char* first = t.data();
  if (!t.empty() && t.front() == '+') ++first;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
  return ec == std::errc() && end == t.data() + t.size() && first != end ? value : 0;
}

std::string CategoriesFileName(std::string_view libraryPath) { return CompanionFileName(libraryPath, ".WDC"); }

void GetSwapFile(platform::KernelObjects& kernel, const std::string& libraryPath,
                 const std::function<std::filesystem::path(const std::string&)>& nativePath) {
  // A file that cannot be used gives the neutral table (the player says why when it loads it);
  // without the player's mutex or block nothing is copied.
  SwapTable table = NeutralSwapTable();
  wdx::GetSwapFile(libraryPath, nativePath, table);
  SharedSwapTable(kernel).WriteTable(table);
}

}  // namespace wdx::editor
