#include "platform/win32/win32_mixer.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <mmsystem.h>

namespace wdx::platform {

namespace {

constexpr const char* kWindowClass = "WdxMixerNotify";

LRESULT CALLBACK NotifyProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == MM_MIXM_CONTROL_CHANGE) {
    auto* self = reinterpret_cast<Win32Mixer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr) self->Notify(static_cast<std::uint32_t>(lparam));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

HMIXER Handle(void* h) { return static_cast<HMIXER>(h); }

// The sound library is loaded by the first volume command only; without it there is no driver.
template <class Fn>
Fn Winmm(const char* name) {
  return win32::LateEntry<Fn>("winmm.dll", name);
}
using OpenFn = MMRESULT(WINAPI*)(LPHMIXER, UINT, DWORD_PTR, DWORD_PTR, DWORD);
using CloseFn = MMRESULT(WINAPI*)(HMIXER);
using CapsFn = MMRESULT(WINAPI*)(UINT_PTR, LPMIXERCAPSA, UINT);
using LineInfoFn = MMRESULT(WINAPI*)(HMIXEROBJ, LPMIXERLINEA, DWORD);
using LineControlsFn = MMRESULT(WINAPI*)(HMIXEROBJ, LPMIXERLINECONTROLSA, DWORD);
using DetailsFn = MMRESULT(WINAPI*)(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD);
constexpr MMRESULT kNoDriver = MMSYSERR_NODRIVER;

void Copy(const MIXERLINEA& from, MixerLine& to) {
  to.lineId = from.dwLineID;
  to.componentType = from.dwComponentType;
  to.channels = from.cChannels;
  to.connections = from.cConnections;
}

}  // namespace

Win32Mixer::~Win32Mixer() {
  Close();
  if (window_ != nullptr) DestroyWindow(static_cast<HWND>(window_));
}

std::uint32_t Win32Mixer::Open(std::int32_t midiDevice, std::function<void(std::uint32_t)> onChange) {
  Close();
  if (window_ == nullptr) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    HWND w = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (w != nullptr) SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = w;
  }
  HMIXER mixer = nullptr;
  const DWORD flags = (midiDevice < 0 ? MIXER_OBJECTF_MIXER : MIXER_OBJECTF_MIDIOUT) |
                      (window_ != nullptr ? CALLBACK_WINDOW : 0);
  const UINT id = midiDevice < 0 ? 0 : static_cast<UINT>(midiDevice);
  const auto open = Winmm<OpenFn>("mixerOpen");
  if (!open) return kNoDriver;
  const MMRESULT r = open(&mixer, id, reinterpret_cast<DWORD_PTR>(window_), 0, flags);
  if (r != MMSYSERR_NOERROR) return r;
  mixer_ = mixer;
  onChange_ = std::move(onChange);
  return 0;
}

void Win32Mixer::Close() {
  if (mixer_ != nullptr) {
    if (const auto close = Winmm<CloseFn>("mixerClose")) close(Handle(mixer_));
  }
  mixer_ = nullptr;
  onChange_ = nullptr;
}

std::uint32_t Win32Mixer::DestinationCount() {
  MIXERCAPSA caps{};
  const auto capsOf = Winmm<CapsFn>("mixerGetDevCapsA");
  if (mixer_ == nullptr || !capsOf ||
      capsOf(reinterpret_cast<UINT_PTR>(mixer_), &caps, sizeof caps) != MMSYSERR_NOERROR) {
    return 0;
  }
  return caps.cDestinations;
}

std::uint32_t Win32Mixer::Destination(std::uint32_t index, MixerLine& line) {
  MIXERLINEA ml{};
  ml.cbStruct = sizeof ml;
  ml.dwDestination = index;
  const auto info = Winmm<LineInfoFn>("mixerGetLineInfoA");
  if (!info) return kNoDriver;
  const MMRESULT r = info(reinterpret_cast<HMIXEROBJ>(mixer_), &ml, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION);
  if (r == MMSYSERR_NOERROR) Copy(ml, line);
  return r;
}

std::uint32_t Win32Mixer::Source(std::uint32_t destination, std::uint32_t index, MixerLine& line) {
  MIXERLINEA ml{};
  ml.cbStruct = sizeof ml;
  ml.dwDestination = destination;
  ml.dwSource = index;
  const auto info = Winmm<LineInfoFn>("mixerGetLineInfoA");
  if (!info) return kNoDriver;
  const MMRESULT r = info(reinterpret_cast<HMIXEROBJ>(mixer_), &ml, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE);
  if (r == MMSYSERR_NOERROR) Copy(ml, line);
  return r;
}

std::uint32_t Win32Mixer::ControlByType(std::uint32_t lineId, std::uint32_t controlType, MixerControl& control) {
  MIXERCONTROLA mc{};
  mc.cbStruct = sizeof mc;
  MIXERLINECONTROLSA lc{};
  lc.cbStruct = sizeof lc;
  lc.dwLineID = lineId;
  lc.dwControlType = controlType;
  lc.cControls = 1;
  lc.cbmxctrl = sizeof mc;
  lc.pamxctrl = &mc;
  const auto controls = Winmm<LineControlsFn>("mixerGetLineControlsA");
  if (!controls) return kNoDriver;
  const MMRESULT r =
      controls(reinterpret_cast<HMIXEROBJ>(mixer_), &lc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
  if (r == MMSYSERR_NOERROR) {
    control.controlId = mc.dwControlID;
    control.controlType = mc.dwControlType;
    control.flags = mc.fdwControl;
    control.minimum = static_cast<std::int32_t>(mc.Bounds.dwMinimum);
    control.maximum = static_cast<std::int32_t>(mc.Bounds.dwMaximum);
  }
  return r;
}

std::uint32_t Win32Mixer::GetValues(std::uint32_t controlId, std::uint32_t channels, MixerValues& values) {
  MIXERCONTROLDETAILS_SIGNED read[2] = {};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = controlId;
  d.cChannels = channels < 2 ? 1 : 2;
  d.cbDetails = sizeof read[0];
  d.paDetails = read;
  const auto get = Winmm<DetailsFn>("mixerGetControlDetailsA");
  if (!get) return kNoDriver;
  const MMRESULT r = get(reinterpret_cast<HMIXEROBJ>(mixer_), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
  values = {read[0].lValue, read[1].lValue};
  return r;
}

std::uint32_t Win32Mixer::SetValues(std::uint32_t controlId, std::uint32_t channels, const MixerValues& values) {
  MIXERCONTROLDETAILS_SIGNED write[2] = {{values[0]}, {values[1]}};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = controlId;
  d.cChannels = channels < 2 ? 1 : 2;
  d.cbDetails = sizeof write[0];
  d.paDetails = write;
  const auto set = Winmm<DetailsFn>("mixerSetControlDetails");
  if (!set) return kNoDriver;
  return set(reinterpret_cast<HMIXEROBJ>(mixer_), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

}  // namespace wdx::platform
