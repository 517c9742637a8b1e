// Wave files played through the system's sound device, and the system's default beep.
#pragma once

#include <string>

namespace wdx::platform {

class Sound {
 public:
  virtual ~Sound() = default;
  // Starts playing the wave file and returns at once; a sound still playing stops. False when
  // the file cannot be played (missing, not a wave file, no sound device).
  virtual bool PlayWave(const std::string& path) = 0;
  // True while the last sound started still plays. A caller that waits for its end keeps
  // handling messages meanwhile.
  virtual bool Playing() = 0;
  // The system's default sound (the simple beep).
  virtual void Beep() = 0;
};

}  // namespace wdx::platform
