// TMidiMixer: the sound card's mixer as the volume commands see it. It opens one mixer device,
// finds six controls on it (synthesizer volume and mute, master volume and mute, treble, bass),
// keeps the two channel values of each, lets the caller read and set them, and follows the
// changes other programs make. Failures of the mixer's read and set functions raise EMMError.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/mixer.h"

namespace wdx {

// A failed mixer function: "Multimedia <category> Error <code> - <text> in <function>".
class EMMError : public std::runtime_error {
 public:
  EMMError(std::uint32_t code, const std::string& function);
  std::uint32_t code() const { return code_; }

 private:
  std::uint32_t code_;
};

// The text of a multimedia error code ("Unknown error" for codes the mixer does not know).
std::string MultimediaErrorText(std::uint32_t code);

class TMidiMixer {
 public:
  enum Control : int {
    kSynthVolume = 0,
    kMasterVolume = 1,
    kSynthMute = 2,
    kMasterMute = 3,
    kTreble = 4,
    kBass = 5,
  };
  static constexpr int kControls = 6;
  // The MIDI device id that opens mixer device 0 itself.
  static constexpr std::int32_t kMixerDeviceZero = -2;

  using ControlChangeEvent = std::function<void(TMidiMixer& sender, int control)>;

  // Created wanting to be active, with no device chosen yet: setting MidiDeviceID opens it.
  explicit TMidiMixer(platform::Mixer& mixer) : mixer_(mixer) {}
  ~TMidiMixer();
  TMidiMixer(const TMidiMixer&) = delete;
  TMidiMixer& operator=(const TMidiMixer&) = delete;

  // True: all six controls were looked for (a missing synthesizer leaves it false, the master
  // controls usable all the same).
  bool Active() const { return active_; }
  void SetActive(bool on);
  std::int32_t MidiDeviceID() const { return deviceId_; }
  void SetMidiDeviceID(std::int32_t id);
  ControlChangeEvent OnControlChange;

  bool HasControl(int index) const { return Valid(index) && found_[index]; }
  std::int32_t GetControlMin(int index) const { return Valid(index) ? controls_[index].minimum : 0; }
  std::int32_t GetControlMax(int index) const { return Valid(index) ? controls_[index].maximum : 0; }
  std::int32_t GetControlValue(int index, int channel) const {
    return Valid(index) && (channel == 0 || channel == 1) ? values_[index][channel] : 0;
  }
  // Stores the value and applies the control; nothing when it is the value kept already.
  void SetControlValue(int index, int channel, std::int32_t value);
  void SetControlValues(int index, const platform::MixerValues& pair);

  // What another program changed (the control's id): that control is read again and
  // OnControlChange told. A negative id matches nothing.
  void ControlChanged(std::int64_t controlId);

 private:
  static bool Valid(int index) { return index >= 0 && index < kControls; }
  void Open();
  void Close();
  void LookUp(int index, const platform::MixerLine& line);
  void RefreshControl(int index);
  void ApplyControl(int index);
  std::uint32_t Channels(int index) const;

  platform::Mixer& mixer_;
  bool open_ = false;
  bool active_ = false;
  std::int32_t deviceId_ = -1;
  bool destroying_ = false;
  // Active as the owner asked for it (true from the start): a new device is opened when set.
  bool wanted_ = true;
  platform::MixerLine synthLine_;
  platform::MixerLine speakersLine_;
  std::array<platform::MixerControl, kControls> controls_{};
  std::array<bool, kControls> found_{};
  std::array<platform::MixerValues, kControls> values_{};
};

}  // namespace wdx
