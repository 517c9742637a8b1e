#include "platform/memory/memory_file_operations.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// "*" any run of characters, "?" one character; without case, as the system matches names.
// The last "*" is the only one ever taken back, so a pattern costs at most length × length.
bool Matches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && FoldCase(pattern[p]) == FoldCase(name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// The stored path split before its last name.
std::pair<std::string, std::string> SplitLast(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return {"", path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

struct Entry {
  std::string stored;  // the stored path of the entry
  fs::path native;
};

// What `from` names: the one entry, or the entries its wildcard name matches (only files when
// noRecursion).
std::vector<Entry> Sources(const PathMap& paths, const std::string& from, bool noRecursion) {
  std::vector<Entry> out;
  std::error_code ec;
  const auto [folder, name] = SplitLast(from);
  if (!HasWildcard(name)) {
    const fs::path p = paths.ToNative(from);
    if (!from.empty() && fs::exists(p, ec)) out.push_back({from, p});
    return out;
  }
  for (fs::directory_iterator it(paths.ToNative(folder.empty() ? "." : folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (!Matches(name, entry)) continue;
    if (noRecursion && it->is_directory(ec)) continue;
    out.push_back({folder + entry, it->path()});
  }
  std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.stored < b.stored; });
  return out;
}

// Whether `inner` is `outer` itself or lies below it, as the file system resolves both. The
// system refuses to copy or move a folder into itself (a copy would otherwise nest without end)
// and to move an entry onto itself.
bool SameOrBelow(const fs::path& outer, const fs::path& inner) {
  std::error_code ec;
  const fs::path a = fs::weakly_canonical(outer, ec).lexically_normal();
  if (ec) return false;
  const fs::path b = fs::weakly_canonical(inner, ec).lexically_normal();
  if (ec) return false;
  auto bi = b.begin();
  for (auto ai = a.begin(); ai != a.end(); ++ai, ++bi) {
    if (ai->empty() && std::next(ai) == a.end()) break;  // a trailing separator
    if (bi == b.end() || *ai != *bi) return false;
  }
  return true;
}

bool CopyEntry(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::is_directory(from, ec)) {
    fs::create_directories(to, ec);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return !ec;
  }
  // Replaced by removing it first: overwrite_existing is not honoured by every library's
  // copy_file on Windows.
  if (fs::equivalent(from, to, ec)) return true;
  if (fs::is_regular_file(to, ec)) fs::remove(to, ec);
  ec.clear();
  fs::copy_file(from, to, ec);
  return !ec;
}

}  // namespace

bool MemoryFileOperations::SetCurrentFolder(const std::string& path) {
  if (!FolderExists(path)) return false;
  std::string current = path;
  while (current.size() > 3 && (current.back() == '\\' || current.back() == '/')) current.pop_back();
  if (current.size() == 2 && current[1] == ':') current += '\\';
  folders_.current = current;
  return true;
}

bool MemoryFileOperations::CreateFolder(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::create_directory(paths_.ToNative(path), ec) || ec) return false;
  created.push_back(path);
  return true;
}

bool MemoryFileOperations::FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(paths_.ToNative(path), ec);
}

bool MemoryFileOperations::RemoveFile(const std::string& path) {
  std::error_code ec;
  const fs::path p = paths_.ToNative(path);
  return !path.empty() && fs::is_regular_file(p, ec) && fs::remove(p, ec);
}

bool MemoryFileOperations::CopyFileOver(const std::string& from, const std::string& to) {
  std::error_code ec;
  const fs::path source = paths_.ToNative(from);
  if (from.empty() || to.empty() || !fs::is_regular_file(source, ec)) return false;
  return CopyEntry(source, paths_.ToNative(to));
}

bool MemoryFileOperations::RenameFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  const fs::path source = paths_.ToNative(from);
  const fs::path target = paths_.ToNative(to);
  if (from.empty() || to.empty() || !fs::exists(source, ec) || fs::exists(target, ec)) return false;
  fs::rename(source, target, ec);
  return !ec;
}

std::optional<std::string> MemoryFileOperations::ShortPath(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::exists(paths_.ToNative(path), ec)) return std::nullopt;
  return path;
}

bool MemoryFileOperations::ShellOperation(ShellFileOp op, const std::string& from, const std::string& to,
                                          const ShellFileFlags& flags) {
  shellCalls.push_back({op, from, to, flags});
  const std::vector<Entry> sources = Sources(paths_, from, flags.noRecursion);
  if (sources.empty()) return false;
  std::error_code ec;
  bool ok = true;
  if (op == ShellFileOp::kDelete) {
    for (const Entry& e : sources) {
      if (flags.allowUndo) recycled.push_back(e.stored);
      fs::remove_all(e.native, ec);
      ok = ok && !ec;
    }
    return ok;
  }
  if (to.empty()) return false;
  const fs::path target = paths_.ToNative(to);
  if (op == ShellFileOp::kRename) {
    if (sources.size() != 1 || fs::exists(target, ec)) return false;
    fs::rename(sources[0].native, target, ec);
    return !ec;
  }
  // Copy and move: into the destination folder when it is one (or when several entries go),
  // else to the destination name; missing folders are made.
  const bool intoFolder = fs::is_directory(target, ec) || sources.size() > 1 || to.back() == '\\';
  fs::create_directories(intoFolder ? target : target.parent_path(), ec);
  for (const Entry& e : sources) {
    const fs::path dest = intoFolder ? target / e.native.filename() : target;
    // A folder into itself, or an entry moved onto itself (which would remove it first), is
    // refused; a file copied onto itself stays as it is.
    const bool folder = fs::is_directory(e.native, ec);
    if ((folder || op != ShellFileOp::kCopy) && SameOrBelow(e.native, dest)) {
      ok = false;
      continue;
    }
    if (op == ShellFileOp::kCopy) {
      ok = CopyEntry(e.native, dest) && ok;
    } else {
      fs::remove_all(dest, ec);
      fs::rename(e.native, dest, ec);
      ok = ok && !ec;
    }
  }
  return ok;
}

}  // namespace wdx::platform
