// The stand-in mixer: a device the test scripts (its lines, their controls and values), or none
// at all (openResult). Every value set is recorded; a test can refuse the next reads or writes
// with an error code and report a change as another program would.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/mixer.h"

namespace wdx::platform {

class MemoryMixer : public Mixer {
 public:
  struct Line {
    MixerLine line;
    std::vector<MixerControl> controls;
    std::vector<Line> sources;
  };
  struct SetCall {
    std::uint32_t controlId;
    std::uint32_t channels;
    MixerValues values;
    bool operator==(const SetCall&) const = default;
  };

  // A sound card with a speakers destination (two channels: volume, mute, treble and bass, all
  // 0..65535, mute 0..1 and uniform) and a synthesizer source on it (volume and mute).
  void AddTypicalCard();

  std::uint32_t Open(std::int32_t midiDevice, std::function<void(std::uint32_t)> onChange) override;
  void Close() override;
  std::uint32_t DestinationCount() override { return static_cast<std::uint32_t>(destinations.size()); }
  std::uint32_t Destination(std::uint32_t index, MixerLine& line) override;
  std::uint32_t Source(std::uint32_t destination, std::uint32_t index, MixerLine& line) override;
  std::uint32_t ControlByType(std::uint32_t lineId, std::uint32_t controlType, MixerControl& control) override;
  std::uint32_t GetValues(std::uint32_t controlId, std::uint32_t channels, MixerValues& values) override;
  std::uint32_t SetValues(std::uint32_t controlId, std::uint32_t channels, const MixerValues& values) override;

  // Another program changed the control: its values change and the owner is told.
  void ChangeByOthers(std::uint32_t controlId, const MixerValues& values);

  std::vector<Line> destinations;
  std::map<std::uint32_t, MixerValues> values;  // by control id
  std::uint32_t openResult = mixer_error::kNone;
  std::uint32_t getResult = mixer_error::kNone;
  std::uint32_t setResult = mixer_error::kNone;
  std::uint32_t controlResult = mixer_error::kNone;  // other than "not found"
  bool open = false;
  int opens = 0;
  std::int32_t openedDevice = 0;
  std::vector<SetCall> sets;

 private:
  const Line* FindLine(std::uint32_t lineId) const;
  std::function<void(std::uint32_t)> onChange_;
};

}  // namespace wdx::platform
