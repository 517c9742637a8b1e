// The clipboard, the environment and file paths on Windows' own functions.
#pragma once

#include "platform/clipboard.h"
#include "platform/environment.h"
#include "platform/files.h"

namespace wdx::platform {

class Win32Clipboard : public Clipboard {
 public:
  Win32Clipboard() = default;
  Win32Clipboard(const Win32Clipboard&) = delete;
  Win32Clipboard& operator=(const Win32Clipboard&) = delete;
  ~Win32Clipboard() override;
  bool SetText(const std::string& text) override;
  std::optional<std::string> GetText() override;

 private:
  bool Open();
  // A hidden window of our own owns what we put on the clipboard (a clipboard opened without
  // a window cannot be given data).
  void* owner_ = nullptr;
};

class Win32Environment : public Environment {
 public:
  bool SetVariable(const std::string& name, const std::string& value) override;
  std::optional<std::string> GetVariable(const std::string& name) override;
};

class Win32Files : public Files {
 public:
  std::string NativePath(const std::string& path) override { return path; }
};

}  // namespace wdx::platform
