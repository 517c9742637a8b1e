#include "platform/win32/win32_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/late_entry.h"

namespace wdx::platform {

namespace {
// The sound library (and COM, which it links) is loaded by the first sound only.
BOOL Play(LPCSTR sound, DWORD flags) {
  const auto play = win32::LateEntry<BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD)>("winmm.dll", "PlaySoundA");
  return play ? play(sound, nullptr, flags) : FALSE;
}
}  // namespace

Win32Sound::~Win32Sound() { Stop(); }

void Win32Sound::Stop() {
  if (!player_.joinable()) return;
  // A NULL sound stops what this program plays, the other thread's synchronous sound too.
  Play(nullptr, 0);
  player_.join();
}

bool Win32Sound::PlayWave(const std::string& path) {
  Stop();
  // The file is looked at first: PlaySound on a missing file would quietly play nothing.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  playing_ = std::make_shared<std::atomic<bool>>(true);
  player_ = std::thread([playing = playing_, path] {
    Play(path.c_str(), SND_FILENAME | SND_SYNC | SND_NODEFAULT);
    *playing = false;
  });
  return true;
}

bool Win32Sound::Playing() { return playing_ && *playing_; }

void Win32Sound::Beep() { MessageBeep(0); }

}  // namespace wdx::platform
