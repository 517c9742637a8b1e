// The stand-in's one mapping of the Windows paths the system stores (drive letters,
// backslashes, names compared without case) onto a native folder tree chosen by the test:
//   "C:\DATA\X.INI"       -> <root>/c/DATA/X.INI
//   "\\server\share\x"    -> <root>/unc/server/share/x
//   "\DATA\X.INI"         -> <root>/c/DATA/X.INI
//   "X.INI", "sub\X.INI"  -> <root>/c/windows/X.INI, <root>/c/windows/sub/X.INI
// A relative path lies in the Windows folder C:\windows (the stand-in has no current folder of
// its own). As on Windows, ".." stops at the drive or share root: no path leaves the root.
// Each part that already exists under another case is used as it is on disk, as Windows finds
// "wendx.ini" when asked for "WENDX.INI".
#pragma once

#include <string>

namespace wdx::platform {

class PathMap {
 public:
  explicit PathMap(std::string root) : root_(std::move(root)) {}
  std::string ToNative(const std::string& windowsPath) const;
  const std::string& Root() const { return root_; }

  // The stand-in's Windows folder, where bare file names lie.
  static constexpr const char* kWindowsFolder = "C:\\windows";

 private:
  std::string root_;
};

}  // namespace wdx::platform
