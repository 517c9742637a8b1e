#include "platform/memory/memory_media.h"

#include <algorithm>

namespace wdx::platform {

namespace {

std::string TwoDigits(std::uint32_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string MemoryMedia::Tmsf(std::uint32_t position) {
  return std::to_string(position & 0xFF) + " " + std::to_string((position >> 8) & 0xFF) + ":" +
         TwoDigits((position >> 16) & 0xFF);
}

std::uint32_t MemoryMedia::CheckCd(std::uint32_t device) const {
  if (device != kCdDevice || !openCd) return kInvalidDevice;
  return discIn ? 0 : kDeviceNotReady;
}

std::uint32_t MemoryMedia::OpenCd(const std::string& drive, bool shareable, std::uint32_t& device) {
  calls.push_back("open cd " + drive + (shareable ? " shareable" : ""));
  if (std::find(cdDrives.begin(), cdDrives.end(), drive) == cdDrives.end()) return kInvalidDevice;
  openCd = drive;
  device = kCdDevice;
  return 0;
}

std::uint32_t MemoryMedia::OpenClip(const std::string& file, WindowHandle /*parent*/, std::uint32_t& device) {
  calls.push_back("open clip " + file);
  if (clips.find(file) == clips.end()) return kFileNotFound;
  openClip = file;
  device = kClipDevice;
  return 0;
}

std::uint32_t MemoryMedia::Close(std::uint32_t device) {
  calls.push_back("close");
  if (device == kCdDevice) openCd.reset();
  if (device == kClipDevice) openClip.reset();
  if (device == kCdDevice) mode = media_mode::kStopped;
  return 0;
}

std::uint32_t MemoryMedia::SetTimeFormat(std::uint32_t device, std::uint32_t format) {
  calls.push_back("time format " + std::to_string(format));
  if (device == kCdDevice) timeFormat_ = format;
  return 0;
}

std::uint32_t MemoryMedia::Play(std::uint32_t device, std::optional<std::uint32_t> from, bool wait) {
  if (device == kClipDevice) {
    calls.push_back(std::string("play clip") + (wait ? " and wait" : ""));
    if (!openClip) return kInvalidDevice;
    clipPlaying = true;
    return 0;
  }
  calls.push_back(from ? "play from " + Tmsf(*from) : "play");
  if (const std::uint32_t r = CheckCd(device)) return r;
  if (from) {
    track = *from & 0xFF;
    second = ((*from >> 8) & 0xFF) * 60 + ((*from >> 16) & 0xFF);
  }
  mode = media_mode::kPlaying;
  return 0;
}

std::uint32_t MemoryMedia::Transport(std::uint32_t device, const char* name, std::uint32_t newMode) {
  calls.push_back(name);
  if (const std::uint32_t r = CheckCd(device)) return r;
  mode = newMode;
  return 0;
}

std::uint32_t MemoryMedia::Stop(std::uint32_t device) { return Transport(device, "stop", media_mode::kStopped); }
std::uint32_t MemoryMedia::Pause(std::uint32_t device) { return Transport(device, "pause", media_mode::kPaused); }
std::uint32_t MemoryMedia::Resume(std::uint32_t device) { return Transport(device, "resume", media_mode::kPlaying); }

std::uint32_t MemoryMedia::Seek(std::uint32_t device, std::uint32_t to) {
  calls.push_back("seek " + Tmsf(to));
  if (const std::uint32_t r = CheckCd(device)) return r;
  track = to & 0xFF;
  second = ((to >> 8) & 0xFF) * 60 + ((to >> 16) & 0xFF);
  // A seek stops a playing disc.
  mode = media_mode::kStopped;
  return 0;
}

std::uint32_t MemoryMedia::Status(std::uint32_t device, std::uint32_t item, std::optional<std::uint32_t> t,
                                  std::uint32_t& value) {
  if (item == media_status::kMode && device == kClipDevice && openClip) {
    value = clipPlaying ? media_mode::kPlaying : media_mode::kStopped;
    return 0;
  }
  if (item == media_status::kMode && device == kCdDevice && openCd) {
    value = discIn ? mode : media_mode::kNotReady;
    return 0;
  }
  if (const std::uint32_t r = CheckCd(device)) return r;
  auto tmsf = [](std::uint32_t tr, std::uint32_t s) { return tr | (s / 60) << 8 | (s % 60) << 16; };
  switch (item) {
    case media_status::kNumberOfTracks: value = static_cast<std::uint32_t>(tracks.size()); return 0;
    case media_status::kPosition: value = t ? tmsf(*t, 0) : tmsf(track, second); return 0;
    case media_status::kLength:
      if (!t || *t < 1 || *t > tracks.size()) return kInvalidDevice;
      // A track's length is minutes in the low byte, seconds in the next.
      value = (tracks[*t - 1] / 60) | (tracks[*t - 1] % 60) << 8;
      return 0;
    default: return kInvalidDevice;
  }
}

std::uint32_t MemoryMedia::SetDoor(std::uint32_t device, bool open) {
  calls.push_back(open ? "door open" : "door closed");
  return device == kCdDevice && openCd ? 0 : kInvalidDevice;
}

std::uint32_t MemoryMedia::ClipSize(std::uint32_t device, std::int32_t& width, std::int32_t& height) {
  if (device != kClipDevice || !openClip) return kInvalidDevice;
  width = clips[*openClip].width;
  height = clips[*openClip].height;
  return 0;
}

std::uint32_t MemoryMedia::PutClip(std::uint32_t device, const Rect& where) {
  if (device != kClipDevice || !openClip) return kInvalidDevice;
  clipPlace = where;
  return 0;
}

std::string MemoryMedia::ErrorText(std::uint32_t error) {
  switch (error) {
    case kDeviceNotReady: return "The device is not ready.";
    case kFileNotFound: return "The specified file cannot be found.";
    case kInvalidDevice: return "Invalid MCI device ID.";
    default: return "Unknown error " + std::to_string(error) + ".";
  }
}

}  // namespace wdx::platform
