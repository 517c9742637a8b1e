// The media control interface: devices (an audio CD on a drive, a clip file) opened by name and
// driven by its commands. Results are the interface's error codes (0 success); ErrorText says
// what one means.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"
#include "platform/window_system.h"

namespace wdx::platform {

namespace media_status {
constexpr std::uint32_t kLength = 1;
constexpr std::uint32_t kPosition = 2;
constexpr std::uint32_t kNumberOfTracks = 3;
constexpr std::uint32_t kMode = 4;
}  // namespace media_status

namespace media_mode {
constexpr std::uint32_t kNotReady = 524;
constexpr std::uint32_t kStopped = 525;
constexpr std::uint32_t kPlaying = 526;
constexpr std::uint32_t kPaused = 529;
constexpr std::uint32_t kOpen = 530;
}  // namespace media_mode

// Time formats: milliseconds, and track, minutes, seconds, frames (one byte each, track lowest).
namespace media_time {
constexpr std::uint32_t kMilliseconds = 0;
constexpr std::uint32_t kTmsf = 10;
}  // namespace media_time

class MediaControl {
 public:
  virtual ~MediaControl() = default;

  // The first CD drive ("E:"), from B: on; empty when there is none.
  virtual std::string FirstCdDrive() = 0;

  // Opens the audio CD in a drive ("E:"), shareable or not.
  virtual std::uint32_t OpenCd(const std::string& drive, bool shareable, std::uint32_t& device) = 0;
  // Opens a clip file (the device follows its kind) to be shown in `parent` (kNoWindow: a window
  // of its own).
  virtual std::uint32_t OpenClip(const std::string& file, WindowHandle parent, std::uint32_t& device) = 0;
  virtual std::uint32_t Close(std::uint32_t device) = 0;
  virtual std::uint32_t SetTimeFormat(std::uint32_t device, std::uint32_t format) = 0;
  // Plays from `from` (nullopt: the current position) to the end; with `wait` returns when it ended.
  virtual std::uint32_t Play(std::uint32_t device, std::optional<std::uint32_t> from, bool wait) = 0;
  virtual std::uint32_t Stop(std::uint32_t device) = 0;
  virtual std::uint32_t Pause(std::uint32_t device) = 0;
  virtual std::uint32_t Resume(std::uint32_t device) = 0;
  virtual std::uint32_t Seek(std::uint32_t device, std::uint32_t to) = 0;
  // A status item (media_status) of the device, or of one track.
  virtual std::uint32_t Status(std::uint32_t device, std::uint32_t item, std::optional<std::uint32_t> track,
                               std::uint32_t& value) = 0;
  virtual std::uint32_t SetDoor(std::uint32_t device, bool open) = 0;
  // A clip's own size, and the part of its window it is drawn in.
  virtual std::uint32_t ClipSize(std::uint32_t device, std::int32_t& width, std::int32_t& height) = 0;
  virtual std::uint32_t PutClip(std::uint32_t device, const Rect& where) = 0;
  virtual std::string ErrorText(std::uint32_t error) = 0;
};

}  // namespace wdx::platform
