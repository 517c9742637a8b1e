#include "platform/memory/memory_mixer.h"

namespace wdx::platform {

void MemoryMixer::AddTypicalCard() {
  namespace mt = mixer_type;
  Line speakers{{1, mt::kDestinationSpeakers, 2, 1},
                {{101, mt::kVolume, 0, 0, 65535},
                 {102, mt::kMute, mt::kUniform, 0, 1},
                 {103, mt::kTreble, 0, 0, 65535},
                 {104, mt::kBass, 0, 0, 65535}},
                {}};
  Line synth{{2, mt::kSourceSynthesizer, 2, 0}, {{201, mt::kVolume, 0, 0, 65535}, {202, mt::kMute, mt::kUniform, 0, 1}}, {}};
  speakers.sources.push_back(synth);
  destinations.push_back(speakers);
  for (std::uint32_t id : {101u, 103u, 104u, 201u}) values[id] = {32768, 32768};
  for (std::uint32_t id : {102u, 202u}) values[id] = {0, 0};
}

std::uint32_t MemoryMixer::Open(std::int32_t midiDevice, std::function<void(std::uint32_t)> onChange) {
  if (openResult != mixer_error::kNone) return openResult;
  open = true;
  ++opens;
  openedDevice = midiDevice;
  onChange_ = std::move(onChange);
  return mixer_error::kNone;
}

void MemoryMixer::Close() {
  open = false;
  onChange_ = nullptr;
}

std::uint32_t MemoryMixer::Destination(std::uint32_t index, MixerLine& line) {
  if (!open) return mixer_error::kInvalidHandle;
  if (index >= destinations.size()) return mixer_error::kInvalidLine;
  line = destinations[index].line;
  return mixer_error::kNone;
}

std::uint32_t MemoryMixer::Source(std::uint32_t destination, std::uint32_t index, MixerLine& line) {
  if (!open) return mixer_error::kInvalidHandle;
  if (destination >= destinations.size() || index >= destinations[destination].sources.size()) {
    return mixer_error::kInvalidLine;
  }
  line = destinations[destination].sources[index].line;
  return mixer_error::kNone;
}

const MemoryMixer::Line* MemoryMixer::FindLine(std::uint32_t lineId) const {
  for (const Line& d : destinations) {
    if (d.line.lineId == lineId) return &d;
    for (const Line& s : d.sources) {
      if (s.line.lineId == lineId) return &s;
    }
  }
  return nullptr;
}

std::uint32_t MemoryMixer::ControlByType(std::uint32_t lineId, std::uint32_t controlType, MixerControl& control) {
  if (!open) return mixer_error::kInvalidHandle;
  if (controlResult != mixer_error::kNone) return controlResult;
  const Line* line = FindLine(lineId);
  if (line == nullptr) return mixer_error::kInvalidLine;
  for (const MixerControl& c : line->controls) {
    if (c.controlType == controlType) {
      control = c;
      return mixer_error::kNone;
    }
  }
  return mixer_error::kInvalidControl;
}

std::uint32_t MemoryMixer::GetValues(std::uint32_t controlId, std::uint32_t channels, MixerValues& out) {
  if (!open) return mixer_error::kInvalidHandle;
  if (getResult != mixer_error::kNone) return getResult;
  const auto it = values.find(controlId);
  if (it == values.end()) return mixer_error::kInvalidControl;
  out = it->second;
  if (channels < 2) out[1] = 0;
  return mixer_error::kNone;
}

std::uint32_t MemoryMixer::SetValues(std::uint32_t controlId, std::uint32_t channels, const MixerValues& in) {
  if (!open) return mixer_error::kInvalidHandle;
  if (setResult != mixer_error::kNone) return setResult;
  sets.push_back({controlId, channels, in});
  MixerValues& v = values[controlId];
  v[0] = in[0];
  v[1] = channels < 2 ? in[0] : in[1];
  return mixer_error::kNone;
}

void MemoryMixer::ChangeByOthers(std::uint32_t controlId, const MixerValues& v) {
  values[controlId] = v;
  if (onChange_) onChange_(controlId);
}

}  // namespace wdx::platform
