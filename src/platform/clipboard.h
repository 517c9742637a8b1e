// The system clipboard: text (CF_TEXT: single-byte characters ending at the first NUL),
// pictures (a device-independent bitmap, a Windows metafile), and the whole contents kept and
// put back by the commands that borrow it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wdx::platform {

// A Windows metafile picture: the metafile's own bytes (its header and records, as a .WMF file
// holds them after its placeable header) and its size in 0.01 mm (0: not known).
struct MetafilePicture {
  std::string bits;
  std::int32_t widthHimetric = 0;
  std::int32_t heightHimetric = 0;
  bool operator==(const MetafilePicture&) const = default;
};

// What the clipboard held, format by format (the system's format numbers and the bytes that
// stand for each; a picture handle is kept as the bytes it can be made again from).
// Empty: the clipboard held nothing, or nothing that can be kept.
struct ClipboardSnapshot {
  std::vector<std::pair<std::uint32_t, std::string>> formats;
  bool operator==(const ClipboardSnapshot&) const = default;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and puts the text on it; false when the clipboard could not be
  // opened (another program holds it) or the text not stored. A NUL ends the text.
  virtual bool SetText(const std::string& text) = 0;
  // The clipboard's text; nullopt when it holds none or cannot be opened.
  virtual std::optional<std::string> GetText() = 0;

  // Empties the clipboard; false when it could not be opened.
  virtual bool Clear() = 0;
  // Empties the clipboard and puts a bitmap on it: a packed device-independent bitmap (the
  // BITMAPINFOHEADER, its colours, its rows). False when it could not be placed.
  virtual bool SetBitmap(const std::string& dib) = 0;
  // The clipboard's bitmap as a packed device-independent bitmap (the system converts a
  // device bitmap); nullopt when it holds none or cannot be opened.
  virtual std::optional<std::string> GetBitmap() = 0;
  // Empties the clipboard and puts a metafile picture on it. False when it could not be placed.
  virtual bool SetMetafile(const MetafilePicture& picture) = 0;

  // Everything the clipboard holds now; nullopt when it cannot be opened, so that a caller
  // never takes "could not look" for "empty" and clears what it could not keep.
  virtual std::optional<ClipboardSnapshot> Save() = 0;
  // Empties the clipboard and puts the snapshot's formats back (an empty snapshot leaves it
  // empty); false when it could not be opened.
  virtual bool Restore(const ClipboardSnapshot& snapshot) = 0;
};

}  // namespace wdx::platform
