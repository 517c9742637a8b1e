// The stand-in sound device: records the wave files it was asked to play. A sound "plays" for
// `lengthMs` of the stand-in clock; a file the stand-in's disk lacks cannot be played.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/memory/path_map.h"
#include "platform/sound.h"

namespace wdx::platform {

class MemorySound : public Sound {
 public:
  MemorySound(const PathMap& paths, MemoryClock& clock) : paths_(paths), clock_(clock) {}
  bool PlayWave(const std::string& path) override;
  bool Playing() override { return playing_ && clock_.Monotonic() < endsAt_; }
  void Beep() override { ++beeps; }

  std::uint32_t lengthMs = 1000;
  std::vector<std::string> played;
  int beeps = 0;

 private:
  const PathMap& paths_;
  MemoryClock& clock_;
  bool playing_ = false;
  std::uint64_t endsAt_ = 0;
};

}  // namespace wdx::platform
