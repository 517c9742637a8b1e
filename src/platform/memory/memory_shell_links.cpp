#include "platform/memory/memory_shell_links.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace wdx::platform {

namespace {

bool EndsWithLnk(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".lnk";
}

}  // namespace

std::optional<std::string> MemoryShellLinks::Target(const std::string& linkPath) {
  if (!EndsWithLnk(linkPath)) return std::nullopt;
  std::ifstream in(paths_.ToNative(linkPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) return std::nullopt;
  return text;
}

void MemoryShellLinks::Write(const std::string& linkPath, const std::string& target) const {
  const std::filesystem::path native(paths_.ToNative(linkPath));
  std::error_code ec;
  std::filesystem::create_directories(native.parent_path(), ec);
  std::ofstream(native, std::ios::binary) << target;
}

}  // namespace wdx::platform
