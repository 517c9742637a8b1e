// Maps the Windows paths the system stores (drive letters, backslashes, names compared
// without case) onto a native folder tree chosen by the test:
//   "C:\DATA\X.INI"       -> <driveRoot>/c/DATA/X.INI
//   "\\server\share\x"    -> <driveRoot>/unc/server/share/x
//   "\DATA\X.INI"         -> <driveRoot>/c/DATA/X.INI
//   "X.INI", "sub\X.INI"  -> <windowsDir>/X.INI, <windowsDir>/sub/X.INI
// Each part that already exists under another case is used as it is on disk, as Windows finds
// "wendx.ini" when asked for "WENDX.INI".
#pragma once

#include <string>

namespace wdx::platform {

class PathMap {
 public:
  PathMap(std::string windowsDir, std::string driveRoot);
  std::string ToNative(const std::string& windowsPath) const;
  const std::string& WindowsDir() const { return windowsDir_; }
  const std::string& DriveRoot() const { return driveRoot_; }

 private:
  std::string windowsDir_;
  std::string driveRoot_;
};

}  // namespace wdx::platform
