// Any bytes as a single-macro file (a .WRM handed to the player, the editor's test-run file):
// the text the player would play, up to its first NUL and without a closing Ctrl+Z.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

#include "fuzz_support.h"
#include "shared/macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One file per process is enough: each input replaces it.
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("wdx-fuzz-" + std::to_string(::getpid()) + ".wrm");
  const std::string_view bytes = wdx::fuzz::AsText(data, size);
  wdx::fuzz::WriteBytes(file, bytes);
  const std::optional<std::string> text = wdx::ReadSingleMacroFile(file);
  if (!text) wdx::fuzz::Finding("a readable file was refused");
  if (text->size() > size || text->find('\0') != std::string::npos || bytes.substr(0, text->size()) != *text) {
    wdx::fuzz::Finding("the text is not the file's beginning up to its first NUL");
  }
  return 0;
}
