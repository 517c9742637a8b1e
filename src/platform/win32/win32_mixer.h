// The mixer on Windows (the multimedia library's mixer functions). Change notices come to a
// message-only window of the adapter's own and are handed on from there.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/mixer.h"

namespace wdx::platform {

class Win32Mixer : public Mixer {
 public:
  Win32Mixer() = default;
  ~Win32Mixer() override;
  Win32Mixer(const Win32Mixer&) = delete;
  Win32Mixer& operator=(const Win32Mixer&) = delete;

  std::uint32_t Open(std::int32_t midiDevice, std::function<void(std::uint32_t)> onChange) override;
  void Close() override;
  std::uint32_t DestinationCount() override;
  std::uint32_t Destination(std::uint32_t index, MixerLine& line) override;
  std::uint32_t Source(std::uint32_t destination, std::uint32_t index, MixerLine& line) override;
  std::uint32_t ControlByType(std::uint32_t lineId, std::uint32_t controlType, MixerControl& control) override;
  std::uint32_t GetValues(std::uint32_t controlId, std::uint32_t channels, MixerValues& values) override;
  std::uint32_t SetValues(std::uint32_t controlId, std::uint32_t channels, const MixerValues& values) override;

  // For the notification window.
  void Notify(std::uint32_t controlId) {
    if (onChange_) onChange_(controlId);
  }

 private:
  void* mixer_ = nullptr;  // HMIXER
  void* window_ = nullptr;  // HWND
  std::function<void(std::uint32_t)> onChange_;
};

}  // namespace wdx::platform
