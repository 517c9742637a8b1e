// The stand-in media control interface: a scripted audio CD (its track lengths, the position,
// whether it plays) in the drives the test names, and clip files of a given size. Every command
// is recorded as one readable line ("seek 2 2:05"), so a test compares them with a table.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/media_control.h"

namespace wdx::platform {

class MemoryMedia : public MediaControl {
 public:
  static constexpr std::uint32_t kCdDevice = 1;
  static constexpr std::uint32_t kClipDevice = 2;
  // The interface's codes the stand-in gives.
  static constexpr std::uint32_t kDeviceNotReady = 276;
  static constexpr std::uint32_t kFileNotFound = 275;
  static constexpr std::uint32_t kInvalidDevice = 263;

  std::string FirstCdDrive() override { return cdDrives.empty() ? std::string() : cdDrives.front(); }
  std::uint32_t OpenCd(const std::string& drive, bool shareable, std::uint32_t& device) override;
  std::uint32_t OpenClip(const std::string& file, WindowHandle parent, std::uint32_t& device) override;
  std::uint32_t Close(std::uint32_t device) override;
  std::uint32_t SetTimeFormat(std::uint32_t device, std::uint32_t format) override;
  std::uint32_t Play(std::uint32_t device, std::optional<std::uint32_t> from, bool wait) override;
  std::uint32_t Stop(std::uint32_t device) override;
  std::uint32_t Pause(std::uint32_t device) override;
  std::uint32_t Resume(std::uint32_t device) override;
  std::uint32_t Seek(std::uint32_t device, std::uint32_t to) override;
  std::uint32_t Status(std::uint32_t device, std::uint32_t item, std::optional<std::uint32_t> track,
                       std::uint32_t& value) override;
  std::uint32_t SetDoor(std::uint32_t device, bool open) override;
  std::uint32_t ClipSize(std::uint32_t device, std::int32_t& width, std::int32_t& height) override;
  std::uint32_t PutClip(std::uint32_t device, const Rect& where) override;
  std::string ErrorText(std::uint32_t error) override;

  // A TMSF position as "track minutes:seconds".
  static std::string Tmsf(std::uint32_t position);

  // The disc: track lengths in seconds; the position (track, seconds into it).
  std::vector<std::string> cdDrives = {"E:"};
  std::vector<std::uint32_t> tracks = {200, 270, 185, 240};
  bool discIn = true;
  std::uint32_t track = 1;
  std::uint32_t second = 0;
  std::uint32_t mode = media_mode::kStopped;
  std::optional<std::string> openCd;  // the drive while the CD device is open

  struct Clip {
    std::int32_t width = 160;
    std::int32_t height = 120;
  };
  std::map<std::string, Clip> clips;
  std::optional<std::string> openClip;
  bool clipPlaying = false;
  Rect clipPlace;

  std::vector<std::string> calls;

 private:
  std::uint32_t CheckCd(std::uint32_t device) const;
  // Stop, pause and resume: the command recorded, the disc's mode changed.
  std::uint32_t Transport(std::uint32_t device, const char* name, std::uint32_t newMode);
  std::uint32_t timeFormat_ = media_time::kMilliseconds;
};

}  // namespace wdx::platform
