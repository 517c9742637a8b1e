#include "platform/memory/path_map.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitParts(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

// Appends each part, taking an existing entry of another case where there is one.
std::string Join(std::string base, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      base = fs::path(base).parent_path().string();
      continue;
    }
    std::string next = base + "/" + part;
    std::error_code ec;
    if (!fs::exists(next, ec)) {
      for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (EqualsNoCase(name, part)) {
          next = base + "/" + name;
          break;
        }
      }
    }
    base = next;
  }
  return base;
}

}  // namespace

PathMap::PathMap(std::string windowsDir, std::string driveRoot)
    : windowsDir_(std::move(windowsDir)), driveRoot_(std::move(driveRoot)) {}

std::string PathMap::ToNative(const std::string& p) const {
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(p[0]))));
    return Join(driveRoot_ + "/" + drive, SplitParts(p.substr(2)));
  }
  if (p.size() >= 2 && (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/')) {
    return Join(driveRoot_ + "/unc", SplitParts(p));
  }
  if (!p.empty() && (p[0] == '\\' || p[0] == '/')) return Join(driveRoot_ + "/c", SplitParts(p));
  return Join(windowsDir_, SplitParts(p));
}

}  // namespace wdx::platform
