// Wave files through PlaySound. The sound plays on a thread of its own, so that "still
// playing" can be asked: the program's own thread keeps handling its messages (and the hooks
// it hosts) while a caller waits for the end.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "platform/sound.h"

namespace wdx::platform {

class Win32Sound : public Sound {
 public:
  Win32Sound() = default;
  ~Win32Sound() override;
  Win32Sound(const Win32Sound&) = delete;
  Win32Sound& operator=(const Win32Sound&) = delete;

  bool PlayWave(const std::string& path) override;
  bool Playing() override;
  void Beep() override;

 private:
  void Stop();

  std::thread player_;
  // Shared with the thread: whether its PlaySound is still under way.
  std::shared_ptr<std::atomic<bool>> playing_;
};

}  // namespace wdx::platform
