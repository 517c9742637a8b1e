// The clipboard on Windows' own functions: text, bitmaps (as device-independent bitmaps),
// metafile pictures, and the whole contents kept and put back.
#pragma once

#include "platform/clipboard.h"

namespace wdx::platform {

class Win32Clipboard : public Clipboard {
 public:
  Win32Clipboard() = default;
  Win32Clipboard(const Win32Clipboard&) = delete;
  Win32Clipboard& operator=(const Win32Clipboard&) = delete;
  ~Win32Clipboard() override;

  bool SetText(const std::string& text) override;
  std::optional<std::string> GetText() override;
  bool Clear() override;
  bool SetBitmap(const std::string& dib) override;
  std::optional<std::string> GetBitmap() override;
  bool SetMetafile(const MetafilePicture& picture) override;
  std::optional<ClipboardSnapshot> Save() override;
  bool Restore(const ClipboardSnapshot& snapshot) override;

 private:
  bool Open();
  // A hidden window of our own owns what we put on the clipboard (a clipboard opened without
  // a window cannot be given data).
  void* owner_ = nullptr;
};

}  // namespace wdx::platform
