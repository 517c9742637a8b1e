// The sound card's mixer: one device opened at a time, its lines (destinations and their
// sources) and the controls on them, read and set channel by channel. Results are the system's
// multimedia error codes (0 success, 1..20 system errors, 1024..1026 mixer errors).
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace wdx::platform {

// Component types and control types (the system's values).
namespace mixer_type {
constexpr std::uint32_t kDestinationSpeakers = 4;
constexpr std::uint32_t kSourceSynthesizer = 0x1004;
constexpr std::uint32_t kVolume = 0x50030001;
constexpr std::uint32_t kMute = 0x20010002;
constexpr std::uint32_t kTreble = 0x50030003;
constexpr std::uint32_t kBass = 0x50030002;
constexpr std::uint32_t kUniform = 0x1;  // control flag: one value for all channels
}  // namespace mixer_type

namespace mixer_error {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kBadDeviceId = 2;
constexpr std::uint32_t kInvalidHandle = 5;
constexpr std::uint32_t kInvalidLine = 1024;
constexpr std::uint32_t kInvalidControl = 1025;
constexpr std::uint32_t kInvalidValue = 1026;
}  // namespace mixer_error

struct MixerLine {
  std::uint32_t lineId = 0;
  std::uint32_t componentType = 0;
  std::uint32_t channels = 1;
  std::uint32_t connections = 0;  // a destination's sources
};

struct MixerControl {
  std::uint32_t controlId = 0;
  std::uint32_t controlType = 0;
  std::uint32_t flags = 0;
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
};

using MixerValues = std::array<std::int32_t, 2>;

class Mixer {
 public:
  virtual ~Mixer() = default;
  // Opens mixer device 0 (midiDevice below 0) or the mixer of that MIDI output device. Changes
  // that other programs make to a control are reported with its id on the program's own thread.
  virtual std::uint32_t Open(std::int32_t midiDevice, std::function<void(std::uint32_t controlId)> onChange) = 0;
  virtual void Close() = 0;
  virtual std::uint32_t DestinationCount() = 0;
  virtual std::uint32_t Destination(std::uint32_t index, MixerLine& line) = 0;
  virtual std::uint32_t Source(std::uint32_t destination, std::uint32_t index, MixerLine& line) = 0;
  virtual std::uint32_t ControlByType(std::uint32_t lineId, std::uint32_t controlType, MixerControl& control) = 0;
  // The first `channels` values (1 or 2) of a control.
  virtual std::uint32_t GetValues(std::uint32_t controlId, std::uint32_t channels, MixerValues& values) = 0;
  virtual std::uint32_t SetValues(std::uint32_t controlId, std::uint32_t channels, const MixerValues& values) = 0;
};

}  // namespace wdx::platform
