// Any bytes as the settings file WENDX.INI: both programs load every section from it (the
// stand-in's INI reading stands in for the system's) and saves what it read back.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "rooted_files.h"
#include "platform/memory/memory_platform.h"
#include "shared/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  platform::MemoryPlatform mem;
  fuzz::WriteBytes(mem.profile.ResolvePath(kSettingsFileName), fuzz::AsText(data, size));
  TSettingsRec settings;
  // Paths the settings name must stay inside the stand-in's root.
  fuzz::RootedFiles files(mem);
  fuzz::RootedProfiles profiles(mem);
  Configs configs(profiles, settings, "C:\\WENDRIX", files);
  configs.LoadAllSettings();
  configs.ReadFloatingMenuPlaces();
  configs.SaveAllSettings();
  configs.WriteFloatingMenuPlaces();
  return 0;
}
