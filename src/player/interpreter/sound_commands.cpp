// Sound and volume commands: wave files (waiting for their end or not), the beep, and the
// mixer's master ("audio") and synthesizer ("MIDI") volume, mute, balance, treble and bass.
// The mixer is opened by the first volume command and kept, with the mute toggles, for as long
// as the player runs.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/midi_mixer.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr std::uint32_t kWavePollMs = 50;
constexpr const char* kMixerCaption = "Macro Error";

enum class Action : std::uint8_t { kOff, kOn, kUp, kDown, kMute, kLeft, kRight, kCentre };

struct VolumeTag {
  TagId id;
  int control;
  Action action;
};

using M = TMidiMixer;
constexpr VolumeTag kVolumeTags[] = {
    {TagId::kAudoff, M::kMasterVolume, Action::kOff},     {TagId::kAudon, M::kMasterVolume, Action::kOn},
    {TagId::kAudup, M::kMasterVolume, Action::kUp},       {TagId::kAuddown, M::kMasterVolume, Action::kDown},
    {TagId::kAudmute, M::kMasterMute, Action::kMute},     {TagId::kAudleft, M::kMasterVolume, Action::kLeft},
    {TagId::kAudright, M::kMasterVolume, Action::kRight}, {TagId::kAudcenter, M::kMasterVolume, Action::kCentre},
    {TagId::kTrebup, M::kTreble, Action::kUp},            {TagId::kTrebdown, M::kTreble, Action::kDown},
    {TagId::kMidioff, M::kSynthVolume, Action::kOff},     {TagId::kMidion, M::kSynthVolume, Action::kOn},
    {TagId::kMidiup, M::kSynthVolume, Action::kUp},       {TagId::kMididown, M::kSynthVolume, Action::kDown},
    {TagId::kMidimute, M::kSynthMute, Action::kMute},     {TagId::kMidileft, M::kSynthVolume, Action::kLeft},
    {TagId::kMidiright, M::kSynthVolume, Action::kRight}, {TagId::kMidicenter, M::kSynthVolume, Action::kCentre},
    {TagId::kBassup, M::kBass, Action::kUp},              {TagId::kBassdown, M::kBass, Action::kDown},
};

const char* MissingControlMessage(int control) {
  switch (control) {
    case M::kMasterVolume: return "Audio volume control is not supported by your Audio Device.";
    case M::kSynthVolume: return "MIDI volume control is not supported by your Audio Device.";
    case M::kTreble: return "Treble volume control is not supported by your Audio Device.";
    default: return "Bass volume control is not supported by your Audio Device.";
  }
}

class SoundFamily final : public CommandFamily {
 public:
  explicit SoundFamily(Interpreter& in) {
    in.Claim<&SoundFamily::Volume>(TagFamily::kVolume, *this);
    in.Claim<&SoundFamily::Sound>(TagFamily::kSound, *this);
  }

  // The new values of a volume, balance or tone command from a control's bounds and its two
  // channel values; nullopt when the command leaves the control as it is.
  static std::optional<platform::MixerValues> Adjusted(Action action, bool tone, std::int32_t min, std::int32_t max,
                                                       platform::MixerValues v) {
    const std::int32_t step = std::max<std::int32_t>((max - min) / 20, 1);
    std::int32_t& l = v[0];
    std::int32_t& r = v[1];
    if (tone) {
      // Treble and bass follow the first channel; both channels get its new value.
      if (action == Action::kUp) {
        if (l == max) return std::nullopt;
        l = std::min(l + step, max);
      } else {
        if (l == min) return std::nullopt;
        l = std::max(l - step, min);
      }
      return platform::MixerValues{l, l};
    }
    const std::int32_t high = std::max(l, r);
    switch (action) {
      case Action::kOff: l = r = min; break;
      case Action::kOn: l = r = max; break;
      case Action::kUp:
        if (l == max || r == max) return std::nullopt;
        l = std::min(l + step, max);
        r = std::min(r + step, max);
        break;
      case Action::kDown:
        if (l == min || r == min) return std::nullopt;
        l = std::max(l - step, min);
        r = std::max(r - step, min);
        break;
      case Action::kLeft:
        if (r > l) {
          l = std::min(l + step, high);
        } else {
          r = std::max(r - step, min);
        }
        break;
      case Action::kRight:
        if (l > r) {
          r = std::min(r + step, high);
        } else {
          l = std::max(l - step, min);
        }
        break;
      case Action::kCentre: l = r = high; break;
      case Action::kMute: return std::nullopt;
    }
    return v;
  }

 private:
  // The main window's mixer: made and opened by the first command that needs it.
  TMidiMixer* OpenMixer(Interpreter& in) {
    if (mixer_) return mixer_.get();
    platform::Mixer* device = Facility(in, &platform::Platform::mixer, kMixerCaption, "sound mixer");
    if (device == nullptr) return nullptr;
    mixer_ = std::make_unique<TMidiMixer>(*device);
    mixer_->SetMidiDeviceID(TMidiMixer::kMixerDeviceZero);
    return mixer_.get();
  }

  void Volume(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
    const VolumeTag* command = nullptr;
    for (const VolumeTag& v : kVolumeTags) {
      if (v.id == tag.id) command = &v;
    }
    if (command == nullptr) return;
    try {
      TMidiMixer* mixer = OpenMixer(in);
      if (mixer == nullptr) return;
      const int c = command->control;
      if (command->action == Action::kMute) {
        // The first mute after start mutes; no check for the control: without it nothing
        // changes.
        bool& toggled = c == M::kMasterMute ? audioMuteToggled_ : midiMuteToggled_;
        mixer->SetControlValue(c, 0, toggled ? mixer->GetControlMin(c) : mixer->GetControlMax(c));
        toggled = !toggled;
        return;
      }
      if (!mixer->HasControl(c)) {
        ReportOnly(in, kMixerCaption, MissingControlMessage(c));
        return;
      }
      const bool tone = c == M::kTreble || c == M::kBass;
      const std::optional<platform::MixerValues> next =
          Adjusted(command->action, tone, mixer->GetControlMin(c), mixer->GetControlMax(c),
                   {mixer->GetControlValue(c, 0), mixer->GetControlValue(c, 1)});
      if (next) mixer->SetControlValues(c, *next);
    } catch (const EMMError& e) {
      // A mixer that fails while it is read or set is reported; the macro goes on.
      ReportOnly(in, kMixerCaption, e.what());
    }
  }

  void Sound(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::Sound* sound = Facility(in, &platform::Platform::sound, "Error", "sound device");
    if (sound == nullptr) return;
    if (tag.id == TagId::kBeep) {
      sound->Beep();
      return;
    }
    std::string file(FieldsOf(level, tag, cmd::kWav).Raw(cmd::media_file::kFile).substr(0, kShortStringMax));
    if (file.find("%T") != std::string::npos) in.Host().ProcessStringVar(file, kShortStringMax);
    // A file that cannot be played makes no sound and no message.
    if (!sound->PlayWave(file) || tag.id != TagId::kWav1) return;
    // Messages (the abort key among them) keep being handled while the sound plays.
    while (sound->Playing() && !in.State().abortMacro) in.Host().WaitForMessage(kWavePollMs);
  }

  std::unique_ptr<TMidiMixer> mixer_;
  bool audioMuteToggled_ = false;
  bool midiMuteToggled_ = false;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeSoundFamily(Interpreter& in) { return std::make_unique<SoundFamily>(in); }

}  // namespace wdx::player
