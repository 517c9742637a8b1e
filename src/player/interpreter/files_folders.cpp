// Files and folders: the current folder ("<CHDIR:"), new folders with every missing parent
// ("<MKDIR:"), the single-file commands ("<DELFILE:", "<COPYFILE:", "<RENFILE:"), which stay
// silent whatever the system answers, and "<DOFILE:", the shell's file operation (wildcards,
// whole folders, the recycle bin). Everything reaches the disk through
// platform::FileOperations.
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"

namespace wdx::player {

namespace {

constexpr char kDq = '"';
constexpr char kCaption[] = "Files and Folders";

platform::FileOperations* Operations(Interpreter& in) {
  return Facility(in, &platform::Platform::fileOps, kCaption, "file operation");
}

std::string Path(Interpreter& in, const CommandFields& fields, std::size_t i) {
  std::string path(fields.Raw(i));
  if (path.find("%T") != std::string::npos) in.Host().ProcessStringVar(path, kShortStringMax);
  return path;
}

// A report that lets the run go on: logged when logging is on, shown when the boxes are on.
void Report(Interpreter& in, const char* caption, const std::string& message, bool longText) {
  RunState& st = in.State();
  if (st.logErrors) in.Host().LogError(message);
  if (!st.showErrors) return;
  if (longText) {
    in.Host().MyMessage(caption, message);
  } else {
    in.Host().DoAMessage(caption, message);
  }
}

// The folder test: the path's short form (which only an existing path has), without a
// trailing "\", names a folder.
bool FolderFound(platform::FileOperations& ops, const std::string& path) {
  std::optional<std::string> shortPath = ops.ShortPath(path);
  if (!shortPath) return false;
  if (!shortPath->empty() && shortPath->back() == '\\') shortPath->pop_back();
  return ops.FolderExists(*shortPath);
}

// Where the parts of a path begin that a folder can be made for: past "\\server\share\" of a
// network path and past a lone leading "\".
std::size_t FirstMadePart(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) {
    std::size_t at = 2;
    for (int part = 0; part < 2 && at != std::string::npos; ++part) {
      at = path.find('\\', at);
      if (at != std::string::npos) ++at;
    }
    return at == std::string::npos ? path.size() : at;
  }
  return path.rfind('\\', 0) == 0 ? 1 : 0;
}

// Each missing folder of the path from the root down; the first that cannot be made is
// reported (the run goes on).
void CreateFolderPath(Interpreter& in, platform::FileOperations& ops, const std::string& path) {
  std::vector<std::string> prefixes;
  const std::size_t first = FirstMadePart(path);
  for (std::size_t at = path.find('\\', first); at != std::string::npos; at = path.find('\\', at + 1)) {
    prefixes.push_back(path.substr(0, at + 1));
  }
  if (!path.empty() && path.back() != '\\') prefixes.push_back(path);
  for (const std::string& prefix : prefixes) {
    if (FolderFound(ops, prefix) || ops.CreateFolder(prefix)) continue;
    Report(in, "Create Folder Failed", "Folder " + std::string(1, kDq) + prefix + kDq + " could not be created.", false);
    return;
  }
}

void MakeFolder(Interpreter& in, platform::FileOperations& ops, const std::string& path) {
  if (!FolderFound(ops, path)) CreateFolderPath(in, ops, path);
}

void ChangeFolder(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string path = Path(in, FieldsOf(level, tag, cmd::kChdir), cmd::one_path::kPath);
  if (auto* ops = Operations(in)) ops->SetCurrentFolder(path);
}

void NewFolder(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string path = Path(in, FieldsOf(level, tag, cmd::kMkdir), cmd::one_path::kPath);
  if (auto* ops = Operations(in)) MakeFolder(in, *ops, path);
}

void DeleteOneFile(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string path = Path(in, FieldsOf(level, tag, cmd::kDelfile), cmd::one_path::kPath);
  if (auto* ops = Operations(in)) ops->RemoveFile(path);
}

// "<COPYFILE:" and "<RENFILE:": two paths with ";" between. Without a ";" before the tag's ">"
// there is no second path, and nothing is done.
void TwoPaths(Interpreter& in, Level& level, const TagInfo& tag, bool copy) {
  const CommandFields fields = FieldsOf(level, tag, copy ? cmd::kCopyfile : cmd::kRenfile);
  if (fields.Raw(cmd::two_paths::kFrom).find('>') != std::string_view::npos) return;
  const std::string from = Path(in, fields, cmd::two_paths::kFrom);
  const std::string to = Path(in, fields, cmd::two_paths::kTo);
  auto* ops = Operations(in);
  if (ops == nullptr) return;
  if (copy) {
    ops->CopyFileOver(from, to);
  } else {
    ops->RenameFile(from, to);
  }
}

void CopyOneFile(Interpreter& in, Level& level, const TagInfo& tag) { TwoPaths(in, level, tag, true); }
void RenameOneFile(Interpreter& in, Level& level, const TagInfo& tag) { TwoPaths(in, level, tag, false); }

// The folder part of a path, up to and with its last "\" (or the ":" of a drive); empty when
// it has none.
std::string FolderPart(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool IsAllWildcard(std::string_view name) {
  return !name.empty() && name.find_first_not_of("*?.") == std::string_view::npos;
}

// A path a delete or move must never act on: empty (a variable that held nothing), a drive's
// or share's root, or everything in such a root.
bool IsRootOrEmpty(const std::string& written) {
  std::string path(TrimView(written));
  const std::string name = path.substr(FolderPart(path).size());
  if (IsAllWildcard(name)) path.resize(path.size() - name.size());
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (path.empty()) return true;
  if (path.size() == 2 && path[1] == ':') return true;
  if (path.rfind("\\\\", 0) == 0) {
    // "\\server" or "\\server\share": no folder below the share.
    const std::size_t share = path.find('\\', 2);
    return share == std::string::npos || path.find('\\', share + 1) == std::string::npos;
  }
  return false;
}

void FileOperation(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::dofile;
  const CommandFields fields = FieldsOf(level, tag, cmd::kDofile);
  const std::int32_t operation = fields.Whole(f::kOperation);
  if (operation < f::kChangeFolder || operation > f::kDelete) return;
  const std::string first = Path(in, fields, f::kFirst);
  std::string second = Path(in, fields, f::kSecond);
  auto* ops = Operations(in);
  if (ops == nullptr) return;
  if (operation == f::kChangeFolder) {
    if (!ops->SetCurrentFolder(first)) {
      Report(in, "Change Directory Failed",
             "Could not change the default folder to " + std::string(1, kDq) + first + kDq + ".", true);
    }
    return;
  }
  if (operation == f::kCreateFolder) {
    MakeFolder(in, *ops, first);
    return;
  }
  const bool removes = operation == f::kDeleteFolder || operation == f::kMove || operation == f::kDelete;
  if (removes && IsRootOrEmpty(first)) {
    in.Fail("File Operation Failed", "The path " + std::string(1, kDq) + first + kDq +
                                         " is empty or a drive's root: nothing is deleted or moved. Macro will abort.");
    return;
  }
  // Renaming or copying within the same folder.
  const bool sameFolder = operation == f::kRenameFolder || operation == f::kCopy || operation == f::kRename;
  if (sameFolder && FolderPart(second).empty()) second = FolderPart(first) + second;
  platform::ShellFileOp op = platform::ShellFileOp::kRename;
  if (operation == f::kDeleteFolder || operation == f::kDelete) op = platform::ShellFileOp::kDelete;
  if (operation == f::kCopy) op = platform::ShellFileOp::kCopy;
  if (operation == f::kMove) op = platform::ShellFileOp::kMove;
  platform::ShellFileFlags flags;
  flags.allowUndo = true;
  flags.silent = fields.Letter(f::kProgress) != 'Y';
  flags.noRecursion = fields.Letter(f::kRecursion) != 'Y';
  ops->ShellOperation(op, first, second, flags);
}

class FilesFoldersFamily final : public CommandFamily {
 public:
  explicit FilesFoldersFamily(Interpreter& in) {
    in.Claim<&ChangeFolder>(TagId::kChdir, *this);
    in.Claim<&NewFolder>(TagId::kMkdir, *this);
    in.Claim<&DeleteOneFile>(TagId::kDelfile, *this);
    in.Claim<&CopyOneFile>(TagId::kCopyfile, *this);
    in.Claim<&RenameOneFile>(TagId::kRenfile, *this);
    in.Claim<&FileOperation>(TagId::kDofile, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeFilesFoldersFamily(Interpreter& in) {
  return std::make_unique<FilesFoldersFamily>(in);
}

}  // namespace wdx::player
