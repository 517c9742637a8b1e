// The stand-in clipboard: a text slot, a bitmap slot and a metafile slot that tests read and
// fill (putting one thing on the clipboard empties the others, as on the system), and a switch
// that makes it busy (held by another program).
#pragma once

#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace wdx::platform {

class MemoryClipboard : public Clipboard {
 public:
  bool SetText(const std::string& text) override;
  std::optional<std::string> GetText() override;
  bool Clear() override;
  bool SetBitmap(const std::string& dib) override;
  std::optional<std::string> GetBitmap() override;
  bool SetMetafile(const MetafilePicture& picture) override;
  std::optional<ClipboardSnapshot> Save() override;
  bool Restore(const ClipboardSnapshot& snapshot) override;

  // While busy, every call fails and changes nothing.
  void SetBusy(bool busy) { busy_ = busy; }
  // What the clipboard holds now (nullopt: nothing of that kind).
  std::optional<std::string> text;
  std::optional<std::string> bitmap;  // a packed device-independent bitmap
  std::optional<MetafilePicture> metafile;

 private:
  bool busy_ = false;
};

}  // namespace wdx::platform
