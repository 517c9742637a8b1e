#include "platform/memory/memory_sound.h"

#include <filesystem>

namespace wdx::platform {

bool MemorySound::PlayWave(const std::string& path) {
  std::error_code ec;
  playing_ = false;
  if (!std::filesystem::is_regular_file(paths_.ToNative(path), ec)) return false;
  played.push_back(path);
  playing_ = true;
  endsAt_ = clock_.Monotonic() + lengthMs;
  return true;
}

}  // namespace wdx::platform
