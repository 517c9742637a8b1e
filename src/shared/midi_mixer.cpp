#include "shared/midi_mixer.h"

#include <cstdio>

namespace wdx {

namespace {

namespace mt = platform::mixer_type;
namespace me = platform::mixer_error;

const char* Category(std::uint32_t code) {
  if (code >= 1 && code <= 20) return "System";
  if (code >= 1024 && code <= 1026) return "Mixer";
  return "Unknown";
}

std::string Message(std::uint32_t code, const std::string& function) {
  return std::string("Multimedia ") + Category(code) + " Error " + std::to_string(code) + " - " +
         MultimediaErrorText(code) + " in " + function;
}

}  // namespace

std::string MultimediaErrorText(std::uint32_t code) {
  static constexpr const char* kSystem[] = {
      "Unspecified error",
      "Device ID out of range",
      "Driver failed enable",
      "Device already allocated",
      "Device handle is invalid",
      "No device driver present",
      "Memory allocation error",
      "Function isn't supported",
      "Error value out of range",
      "Invalid flag passed",
      "Invalid parameter passed",
      "Handle being used simultaneously on another thread (eg callback)",
      "Specified alias not found",
      "Bad registry database",
      "Registry key not found",
      "Registry read error",
      "Registry write error",
      "Registry delete error",
      "Registry value not found",
      "Driver does not call DriverCallback",
  };
  static constexpr const char* kMixer[] = {"Invalid Mixer Line", "Invalid Mixer Control", "Invalid Mixer Value"};
  if (code >= 1 && code <= 20) return kSystem[code - 1];
  if (code >= 1024 && code <= 1026) return kMixer[code - 1024];
  return "Unknown error";
}

EMMError::EMMError(std::uint32_t code, const std::string& function)
    : std::runtime_error(Message(code, function)), code_(code) {}

TMidiMixer::~TMidiMixer() {
  destroying_ = true;
  Close();
}

void TMidiMixer::SetActive(bool on) {
  wanted_ = on;
  if (on == active_) return;
  Close();
  if (on) Open();
}

void TMidiMixer::SetMidiDeviceID(std::int32_t id) {
  if (id == deviceId_) return;
  Close();
  deviceId_ = id;
  if (wanted_) Open();
}

std::uint32_t TMidiMixer::Channels(int index) const {
  if ((controls_[index].flags & mt::kUniform) != 0) return 1;
  const bool synth = index == kSynthVolume || index == kSynthMute;
  return synth ? synthLine_.channels : speakersLine_.channels;
}

void TMidiMixer::Open() {
  found_.fill(false);
  values_ = {};
  const std::uint32_t opened =
      mixer_.Open(deviceId_ == kMixerDeviceZero ? -1 : deviceId_, [this](std::uint32_t id) { ControlChanged(id); });
  if (opened != me::kNone) return;
  open_ = true;
  bool speakersFound = false;
  std::uint32_t speakersIndex = 0;
  const std::uint32_t destinations = mixer_.DestinationCount();
  for (std::uint32_t i = 0; i < destinations; ++i) {
    platform::MixerLine line;
    if (mixer_.Destination(i, line) == me::kNone && line.componentType == mt::kDestinationSpeakers) {
      speakersLine_ = line;
      speakersIndex = i;
      speakersFound = true;
      break;
    }
  }
  if (!speakersFound) return;
  for (int index : {kMasterVolume, kMasterMute, kTreble, kBass}) LookUp(index, speakersLine_);
  for (int index : {kMasterVolume, kMasterMute, kTreble, kBass}) RefreshControl(index);
  for (std::uint32_t i = 0; i < speakersLine_.connections; ++i) {
    platform::MixerLine line;
    if (mixer_.Source(speakersIndex, i, line) == me::kNone && line.componentType == mt::kSourceSynthesizer) {
      synthLine_ = line;
      for (int index : {kSynthVolume, kSynthMute}) LookUp(index, synthLine_);
      for (int index : {kSynthVolume, kSynthMute}) RefreshControl(index);
      active_ = true;
      return;
    }
  }
}

void TMidiMixer::Close() {
  // The device is closed also when the synthesizer was missing and it stayed inactive.
  if (open_) mixer_.Close();
  open_ = false;
  active_ = false;
}

void TMidiMixer::LookUp(int index, const platform::MixerLine& line) {
  static constexpr std::uint32_t kTypes[kControls] = {mt::kVolume, mt::kVolume, mt::kMute, mt::kMute, mt::kTreble, mt::kBass};
  const std::uint32_t r = mixer_.ControlByType(line.lineId, kTypes[index], controls_[index]);
  if (r == me::kNone) {
    found_[index] = true;
  } else if (r == me::kInvalidLine || r == me::kInvalidControl) {
    found_[index] = false;
  } else {
    throw EMMError(r, "mixerGetLineControls");
  }
}

void TMidiMixer::RefreshControl(int index) {
  if (!found_[index]) {
    values_[index] = {0, 0};
    return;
  }
  const std::uint32_t channels = Channels(index);
  platform::MixerValues read{};
  const std::uint32_t r = mixer_.GetValues(controls_[index].controlId, channels, read);
  if (r != me::kNone) throw EMMError(r, "mixerGetControlDetails");
  values_[index] = {read[0], channels == 1 ? read[0] : read[1]};
}

void TMidiMixer::ApplyControl(int index) {
  // A control that was not found has nothing on the device to set.
  if (!found_[index] || !open_) return;
  const std::uint32_t r = mixer_.SetValues(controls_[index].controlId, Channels(index), values_[index]);
  if (r != me::kNone) throw EMMError(r, "mixerSetControlDetails");
}

void TMidiMixer::SetControlValue(int index, int channel, std::int32_t value) {
  if (!Valid(index) || (channel != 0 && channel != 1)) return;
  if (values_[index][channel] == value) return;
  values_[index][channel] = value;
  ApplyControl(index);
}

void TMidiMixer::SetControlValues(int index, const platform::MixerValues& pair) {
  if (!Valid(index)) return;
  values_[index] = pair;
  ApplyControl(index);
}

void TMidiMixer::ControlChanged(std::int64_t controlId) {
  if (controlId < 0) return;
  for (int index = 0; index < kControls; ++index) {
    if (found_[index] && controls_[index].controlId == static_cast<std::uint64_t>(controlId)) {
      RefreshControl(index);
      if (OnControlChange && !destroying_) OnControlChange(*this, index);
      return;
    }
  }
}

}  // namespace wdx
