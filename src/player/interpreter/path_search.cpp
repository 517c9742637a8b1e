#include "player/interpreter/path_search.h"

#include <filesystem>
#include <system_error>

namespace wdx::player {

bool FileExists(platform::Files& files, const std::string& name) {
  std::error_code ec;
  return !name.empty() && std::filesystem::is_regular_file(files.NativePath(name), ec);
}

std::string FindOnPath(platform::Platform& p, const std::string& name, std::size_t pathLimit, bool colonEndsFolder) {
  if (p.files == nullptr || p.environment == nullptr || name.empty()) return {};
  std::string path = p.environment->GetVariable("PATH").value_or("");
  if (path.size() > pathLimit) path.resize(pathLimit);
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t to = path.find(';', from);
    if (to == std::string::npos) to = path.size();
    std::string folder = path.substr(from, to - from);
    if (!folder.empty()) {
      if (folder.back() != '\\' && !(colonEndsFolder && folder.back() == ':')) folder += '\\';
      if (FileExists(*p.files, folder + name)) return folder + name;
    }
    from = to + 1;
  }
  return {};
}

}  // namespace wdx::player
