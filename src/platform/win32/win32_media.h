// The media control interface on Windows (mciSendCommand of the multimedia library).
#pragma once

#include "platform/media_control.h"

namespace wdx::platform {

class Win32Media : public MediaControl {
 public:
  std::string FirstCdDrive() override;
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
};

}  // namespace wdx::platform
