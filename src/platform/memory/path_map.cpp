#include "platform/memory/path_map.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitParts(std::string_view path) {
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

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The entry of `folder` named `part` without case: the one on disk, else `part` as given.
std::string EntryName(const std::string& folder, const std::string& part) {
  std::error_code ec;
  if (fs::exists(folder + "/" + part, ec)) return part;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (EqualsNoCase(name, part)) return name;
  }
  return part;
}

// Appends the parts below `top` (a drive's or a share's folder), which ".." never leaves.
std::string Join(const std::string& top, const std::vector<std::string>& parts) {
  std::vector<std::string> kept;
  for (const std::string& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::string out = top;
  for (const std::string& part : kept) out += "/" + EntryName(out, part);
  return out;
}

}  // namespace

std::string PathMap::ToNative(const std::string& p) const {
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    const std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(p[0]))));
    return Join(root_ + "/" + drive, SplitParts(std::string_view(p).substr(2)));
  }
  if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
    // \\server\share is the root of the rest.
    std::vector<std::string> parts = SplitParts(p);
    std::string share = root_ + "/unc";
    std::size_t next = 0;
    for (int named = 0; named < 2 && next < parts.size(); ++next) {
      if (parts[next] == "." || parts[next] == "..") continue;  // nothing above a server
      share += "/" + EntryName(share, parts[next]);
      ++named;
    }
    return Join(share, std::vector<std::string>(parts.begin() + static_cast<std::ptrdiff_t>(next), parts.end()));
  }
  if (!p.empty() && IsSeparator(p[0])) return Join(root_ + "/c", SplitParts(p));
  return ToNative(std::string(kWindowsFolder) + "\\" + p);
}

}  // namespace wdx::platform
