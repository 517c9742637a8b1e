#include "platform/win32/win32_sound.h"

#include <windows.h>
#include <mmsystem.h>

namespace wdx::platform {

Win32Sound::~Win32Sound() { Stop(); }

void Win32Sound::Stop() {
  if (!player_.joinable()) return;
  // A NULL sound stops what this program plays, the other thread's synchronous sound too.
  PlaySoundA(nullptr, nullptr, 0);
  player_.join();
}

bool Win32Sound::PlayWave(const std::string& path) {
  Stop();
  // The file is looked at first: PlaySound on a missing file would quietly play nothing.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  playing_ = std::make_shared<std::atomic<bool>>(true);
  player_ = std::thread([playing = playing_, path] {
    PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
    *playing = false;
  });
  return true;
}

bool Win32Sound::Playing() { return playing_ && *playing_; }

void Win32Sound::Beep() { MessageBeep(0); }

}  // namespace wdx::platform
