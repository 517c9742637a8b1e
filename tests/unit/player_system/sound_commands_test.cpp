// The mixer component over a scripted mixer (controls found or missing, uniform controls, values
// kept, changes by other programs, its error texts) and the sound and volume commands over it:
// the scaling tables, the mute toggles, the missing-control messages, and the wave files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"
#include "shared/midi_mixer.h"

namespace wdx::player {
namespace {

using platform::MemoryMixer;
using platform::MixerValues;
using testing::Box;
using testing::ClockHost;
constexpr std::uint32_t kMasterVolumeId = 101;
constexpr std::uint32_t kMasterMuteId = 102;
constexpr std::uint32_t kTrebleId = 103;
constexpr std::uint32_t kSynthVolumeId = 201;

// Removes one control type from the card's lines.
void RemoveControl(MemoryMixer& m, std::uint32_t type, bool synth) {
  auto& controls = synth ? m.destinations[0].sources[0].controls : m.destinations[0].controls;
  std::erase_if(controls, [&](const platform::MixerControl& c) { return c.controlType == type; });
}

TEST(MidiMixer, FindsTheSixControlsAndKeepsTheirValues) {
  MemoryMixer device;
  device.AddTypicalCard();
  device.values[kMasterVolumeId] = {1000, 2000};
  device.values[kMasterMuteId] = {1, 0};
  TMidiMixer mixer(device);
  EXPECT_FALSE(device.open);
  mixer.SetMidiDeviceID(TMidiMixer::kMixerDeviceZero);
  EXPECT_TRUE(device.open);
  EXPECT_EQ(device.openedDevice, -1);
  EXPECT_TRUE(mixer.Active());
  for (int c = 0; c < TMidiMixer::kControls; ++c) EXPECT_TRUE(mixer.HasControl(c)) << c;
  EXPECT_EQ(mixer.GetControlValue(TMidiMixer::kMasterVolume, 1), 2000);
  // A uniform control reads one channel and keeps it in both.
  EXPECT_EQ(mixer.GetControlValue(TMidiMixer::kMasterMute, 1), 1);
  EXPECT_EQ(mixer.GetControlMax(TMidiMixer::kMasterVolume), 65535);

  // The value kept already changes nothing on the device.
  mixer.SetControlValue(TMidiMixer::kMasterVolume, 0, 1000);
  EXPECT_TRUE(device.sets.empty());
  mixer.SetControlValue(TMidiMixer::kMasterVolume, 0, 1500);
  EXPECT_EQ(device.sets, (std::vector<MemoryMixer::SetCall>{{kMasterVolumeId, 2, {1500, 2000}}}));

  // Another program's change is read again and told.
  int told = -1;
  mixer.OnControlChange = [&](TMidiMixer&, int control) { told = control; };
  device.ChangeByOthers(kTrebleId, {7, 8});
  EXPECT_EQ(told, TMidiMixer::kTreble);
  EXPECT_EQ(mixer.GetControlValue(TMidiMixer::kTreble, 1), 8);
  told = -1;
  mixer.ControlChanged(-5);
  mixer.ControlChanged(999);
  EXPECT_EQ(told, -1);
}

TEST(MidiMixer, MissingControlsAndDevices) {
  MemoryMixer device;
  device.AddTypicalCard();
  RemoveControl(device, platform::mixer_type::kTreble, false);
  device.destinations[0].sources[0].line.componentType = 0x1003;  // no synthesizer
  {
    TMidiMixer mixer(device);
    mixer.SetMidiDeviceID(TMidiMixer::kMixerDeviceZero);
    EXPECT_FALSE(mixer.HasControl(TMidiMixer::kTreble));
    EXPECT_EQ(mixer.GetControlValue(TMidiMixer::kTreble, 0), 0);
    EXPECT_EQ(mixer.GetControlValue(TMidiMixer::kTreble, 1), 0);
    // Without a synthesizer the mixer is not active, and its master controls still work.
    EXPECT_FALSE(mixer.Active());
    EXPECT_FALSE(mixer.HasControl(TMidiMixer::kSynthVolume));
    EXPECT_FALSE(mixer.HasControl(TMidiMixer::kSynthMute));
    mixer.SetControlValues(TMidiMixer::kMasterVolume, {5, 6});
    EXPECT_EQ(device.values[kMasterVolumeId], (MixerValues{5, 6}));
  }
  // The device opened without its synthesizer is closed all the same.
  EXPECT_FALSE(device.open);

  MemoryMixer none;
  none.openResult = platform::mixer_error::kBadDeviceId;
  TMidiMixer mixer(none);
  mixer.SetMidiDeviceID(TMidiMixer::kMixerDeviceZero);
  for (int c = 0; c < TMidiMixer::kControls; ++c) EXPECT_FALSE(mixer.HasControl(c));
}

TEST(MidiMixer, ErrorTexts) {
  EXPECT_STREQ(EMMError(5, "mixerSetControlDetails").what(),
               "Multimedia System Error 5 - Device handle is invalid in mixerSetControlDetails");
  EXPECT_STREQ(EMMError(1026, "mixerSetControlDetails").what(),
               "Multimedia Mixer Error 1026 - Invalid Mixer Value in mixerSetControlDetails");
  EXPECT_STREQ(EMMError(12, "mixerGetControlDetails").what(),
               "Multimedia System Error 12 - Handle being used simultaneously on another thread (eg callback) in "
               "mixerGetControlDetails");
  EXPECT_STREQ(EMMError(77, "mixerGetLineControls").what(),
               "Multimedia Unknown Error 77 - Unknown error in mixerGetLineControls");
  MemoryMixer device;
  device.AddTypicalCard();
  device.controlResult = 11;
  TMidiMixer mixer(device);
  EXPECT_THROW(mixer.SetMidiDeviceID(TMidiMixer::kMixerDeviceZero), EMMError);
}

class SoundCommandsTest : public ::testing::Test {
 protected:
  SoundCommandsTest() { mem.mixer.AddTypicalCard(); }
  MixerValues Master() { return mem.mixer.values[kMasterVolumeId]; }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

TEST_F(SoundCommandsTest, VolumeBalanceAndToneScaleByATwentiethOfTheRange) {
  struct Case {
    std::string macro;
    std::uint32_t control;
    MixerValues before, after;
  };
  const std::vector<Case> cases = {
      {"<AUDUP>", kMasterVolumeId, {30000, 30000}, {33276, 33276}},
      {"<AUDUP>", kMasterVolumeId, {65535, 20000}, {65535, 20000}},  // one channel at the top
      {"<AUDUP>", kMasterVolumeId, {64000, 60000}, {65535, 63276}},
      {"<AUDDOWN>", kMasterVolumeId, {30000, 2000}, {26724, 0}},
      {"<AUDDOWN>", kMasterVolumeId, {0, 2000}, {0, 2000}},
      {"<AUDOFF>", kMasterVolumeId, {30000, 100}, {0, 0}},
      {"<AUDON>", kMasterVolumeId, {30000, 100}, {65535, 65535}},
      {"<AUDLEFT>", kMasterVolumeId, {40000, 20000}, {40000, 16724}},
      {"<AUDRIGHT>", kMasterVolumeId, {40000, 20000}, {40000, 23276}},
      {"<AUDCENTER>", kMasterVolumeId, {40000, 20000}, {40000, 40000}},
      {"<AUDLEFT>", kMasterVolumeId, {20000, 40000}, {23276, 40000}},
      {"<AUDLEFT>", kMasterVolumeId, {39000, 40000}, {40000, 40000}},  // no further than the louder side
      {"<AUDRIGHT>", kMasterVolumeId, {20000, 40000}, {16724, 40000}},
      {"<AUDRIGHT>", kMasterVolumeId, {1000, 1000}, {0, 1000}},
      {"<MIDIUP>", kSynthVolumeId, {30000, 30000}, {33276, 33276}},
      {"<MIDILEFT>", kSynthVolumeId, {40000, 20000}, {40000, 16724}},
      {"<TREBUP>", kTrebleId, {30000, 10}, {33276, 33276}},
      {"<TREBUP>", kTrebleId, {65535, 10}, {65535, 10}},
      {"<TREBDOWN>", kTrebleId, {2000, 10}, {0, 0}},
      {"<BASSDOWN>", 104, {30000, 30000}, {26724, 26724}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macro);
    mem.mixer.values[c.control] = c.before;
    // The mixer reads the values when the component is made; a change by others keeps it in step.
    mem.mixer.ChangeByOthers(c.control, c.before);
    interpreter.DoMacro(c.macro);
    EXPECT_EQ(mem.mixer.values[c.control], c.after);
  }
  EXPECT_EQ(mem.mixer.opens, 1);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SoundCommandsTest, ASmallRangeStepsByOne) {
  mem.mixer.destinations[0].controls[0].maximum = 10;
  mem.mixer.values[kMasterVolumeId] = {4, 4};
  interpreter.DoMacro("<AUDUP>");
  EXPECT_EQ(Master(), (MixerValues{5, 5}));
}

TEST_F(SoundCommandsTest, MuteTogglesMuteFirst) {
  interpreter.DoMacro("<AUDMUTE>");
  EXPECT_EQ(mem.mixer.values[kMasterMuteId], (MixerValues{1, 1}));
  interpreter.DoMacro("<AUDMUTE>");
  EXPECT_EQ(mem.mixer.values[kMasterMuteId], (MixerValues{0, 0}));
  interpreter.DoMacro("<MIDIMUTE>");
  EXPECT_EQ(mem.mixer.values[202], (MixerValues{1, 1}));
}

TEST_F(SoundCommandsTest, AMissingControlIsReportedAndTheMacroGoesOn) {
  RemoveControl(mem.mixer, platform::mixer_type::kTreble, false);
  RemoveControl(mem.mixer, platform::mixer_type::kBass, false);
  interpreter.DoMacro("<TREBUP>a<BASSDOWN>b");
  EXPECT_EQ(testing::TypedText(mem.input.keys), "ab");
  EXPECT_EQ(host.boxes,
            (std::vector<Box>{{"Macro Error", "Treble volume control is not supported by your Audio Device."},
                              {"Macro Error", "Bass volume control is not supported by your Audio Device."}}));
  EXPECT_FALSE(host.state.abortMacro);
}

TEST_F(SoundCommandsTest, WithoutAMixerEveryVolumeCommandSaysSo) {
  mem.mixer.openResult = platform::mixer_error::kBadDeviceId;
  interpreter.DoMacro("<AUDUP><MIDICENTER><AUDMUTE>x");
  EXPECT_EQ(host.boxes,
            (std::vector<Box>{{"Macro Error", "Audio volume control is not supported by your Audio Device."},
                              {"Macro Error", "MIDI volume control is not supported by your Audio Device."}}));
  EXPECT_EQ(testing::TypedText(mem.input.keys), "x");
}

TEST_F(SoundCommandsTest, AValueTheMixerRefusesIsReportedWithoutACrash) {
  mem.mixer.setResult = platform::mixer_error::kInvalidValue;
  interpreter.DoMacro("<AUDON>x");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Macro Error", "Multimedia Mixer Error 1026 - Invalid Mixer Value in "
                                                          "mixerSetControlDetails"}}));
  EXPECT_EQ(testing::TypedText(mem.input.keys), "x");
  EXPECT_FALSE(host.state.abortMacro);
}

TEST_F(SoundCommandsTest, WaveFilesAndTheBeep) {
  const std::string wave = "C:\\sounds\\ding.wav";
  std::filesystem::create_directories(std::filesystem::path(mem.NativePath(wave)).parent_path());
  std::ofstream(mem.NativePath(wave)) << "RIFF....WAVE";
  mem.sound.lengthMs = 400;
  host.state.vars.text[1] = wave;
  host.expand = [&](std::string& text, std::size_t) {
    if (text == "%T1%") text = host.state.vars.text[1];
  };
  const std::uint64_t start = host.Now();
  interpreter.DoMacro("<WAV1:%T1%>");
  EXPECT_GE(host.Now() - start, 400u);  // waited for the end
  const std::uint64_t second = host.Now();
  interpreter.DoMacro("<WAV2:" + wave + "><BEEP><WAV1:C:\\missing.wav>x");
  EXPECT_LT(host.Now() - second, 100u);
  EXPECT_EQ(mem.sound.played, (std::vector<std::string>{wave, wave}));
  EXPECT_EQ(mem.sound.beeps, 1);
  EXPECT_EQ(testing::TypedText(mem.input.keys), "x");
  EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace wdx::player
