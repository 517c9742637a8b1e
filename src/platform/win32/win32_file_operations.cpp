#include "platform/win32/win32_file_operations.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "platform/win32/late_entry.h"

namespace wdx::platform {

bool Win32FileOperations::SetCurrentFolder(const std::string& path) {
  return !path.empty() && SetCurrentDirectoryA(path.c_str()) != 0;
}

bool Win32FileOperations::CreateFolder(const std::string& path) {
  return !path.empty() && CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileOperations::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileOperations::RemoveFile(const std::string& path) { return !path.empty() && DeleteFileA(path.c_str()) != 0; }

bool Win32FileOperations::CopyFileOver(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileOperations::RenameFile(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && MoveFileA(from.c_str(), to.c_str()) != 0;
}

std::optional<std::string> Win32FileOperations::ShortPath(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::nullopt;
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);  // n is the size needed, NUL included
  }
}

bool Win32FileOperations::ShellOperation(ShellFileOp op, const std::string& from, const std::string& to,
                                         const ShellFileFlags& flags) {
  using FileOperationFn = int(WINAPI*)(LPSHFILEOPSTRUCTA);
  const auto operation = win32::LateEntry<FileOperationFn>("shell32.dll", "SHFileOperationA");
  if (operation == nullptr || from.empty()) return false;
  win32::EnsureOle();
  // The shell's lists: one entry each, ended by two NULs.
  std::string source = from;
  source.append(2, '\0');
  std::string target = to;
  target.append(2, '\0');
  SHFILEOPSTRUCTA request{};
  request.hwnd = nullptr;
  request.wFunc = static_cast<UINT>(op);
  request.pFrom = source.c_str();
  request.pTo = to.empty() ? nullptr : target.c_str();
  FILEOP_FLAGS f = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
  if (flags.allowUndo) f |= FOF_ALLOWUNDO;
  if (flags.silent) f |= FOF_SILENT;
  if (flags.noRecursion) f |= FOF_NORECURSION;
  request.fFlags = f;
  return operation(&request) == 0 && !request.fAnyOperationsAborted;
}

}  // namespace wdx::platform
