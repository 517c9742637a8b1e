// Any bytes as the library's companion files: the remap-keys file (.WDS) and the sync stamp
// of network mode; and any text as the library path both names derive from.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fuzz_support.h"
#include "shared/remap_keys.h"
#include "shared/sync_stamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("wdx-fuzz-" + std::to_string(::getpid()));
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::filesystem::path file = folder / "COMPANION";
  fuzz::WriteBytes(file, bytes);

  SwapTable table = NeutralSwapTable();
  if ((LoadSwapKeys(file, table) == SwapFileState::kLoaded) != (size == table.size()))
    fuzz::Finding("a remap table of the wrong size was taken");
  static_cast<void>(SwapsInUse(table));

  TSyncRec stamp;
  if (ReadSyncStamp(file, stamp) != (size >= kSyncRecSize)) fuzz::Finding("a cut-off sync stamp was taken");

  const std::string path(bytes);
  static_cast<void>(SwapFileName(path));
  static_cast<void>(SyncStampFileName(path));
  return 0;
}
