#include "platform/win32/win32_media.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <mmsystem.h>
#include <digitalv.h>

#include <string>

namespace wdx::platform {

namespace {

// The sound library is loaded by the first media command only; without it there is no driver.
std::uint32_t Send(std::uint32_t device, UINT message, DWORD_PTR flags, void* params) {
  using SendFn = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
  const auto send = win32::LateEntry<SendFn>("winmm.dll", "mciSendCommandA");
  return send ? send(device, message, flags, reinterpret_cast<DWORD_PTR>(params)) : MMSYSERR_NODRIVER;
}

}  // namespace

std::string Win32Media::FirstCdDrive() {
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'B'; letter <= 'Z'; ++letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) continue;
    const char root[] = {letter, ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_CDROM) return std::string{letter, ':'};
  }
  return {};
}

std::uint32_t Win32Media::OpenCd(const std::string& drive, bool shareable, std::uint32_t& device) {
  MCI_OPEN_PARMSA open{};
  open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(MCI_DEVTYPE_CD_AUDIO));
  open.lpstrElementName = drive.c_str();
  const DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT | (shareable ? MCI_OPEN_SHAREABLE : 0) | MCI_WAIT;
  const std::uint32_t r = Send(0, MCI_OPEN, flags, &open);
  if (r == 0) device = open.wDeviceID;
  return r;
}

std::uint32_t Win32Media::OpenClip(const std::string& file, WindowHandle parent, std::uint32_t& device) {
  MCI_DGV_OPEN_PARMSA open{};
  std::string element = file;  // the structure's field is not const
  open.lpstrElementName = element.data();
  DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT;
  if (parent != kNoWindow) {
    open.hWndParent = win32::ToHwnd(parent);
    open.dwStyle = WS_CHILD | WS_VISIBLE;
    flags |= MCI_DGV_OPEN_PARENT | MCI_DGV_OPEN_WS;
  }
  const std::uint32_t r = Send(0, MCI_OPEN, flags, &open);
  if (r == 0) device = open.wDeviceID;
  return r;
}

std::uint32_t Win32Media::Close(std::uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return Send(device, MCI_CLOSE, MCI_WAIT, &p);
}

std::uint32_t Win32Media::SetTimeFormat(std::uint32_t device, std::uint32_t format) {
  MCI_SET_PARMS set{};
  set.dwTimeFormat = format;
  return Send(device, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
}

std::uint32_t Win32Media::Play(std::uint32_t device, std::optional<std::uint32_t> from, bool wait) {
  MCI_PLAY_PARMS play{};
  DWORD flags = wait ? MCI_WAIT : 0;
  if (from) {
    play.dwFrom = *from;
    flags |= MCI_FROM;
  }
  return Send(device, MCI_PLAY, flags, &play);
}

std::uint32_t Win32Media::Stop(std::uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return Send(device, MCI_STOP, MCI_WAIT, &p);
}

std::uint32_t Win32Media::Pause(std::uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return Send(device, MCI_PAUSE, MCI_WAIT, &p);
}

std::uint32_t Win32Media::Resume(std::uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return Send(device, MCI_RESUME, MCI_WAIT, &p);
}

std::uint32_t Win32Media::Seek(std::uint32_t device, std::uint32_t to) {
  MCI_SEEK_PARMS seek{};
  seek.dwTo = to;
  return Send(device, MCI_SEEK, MCI_TO | MCI_WAIT, &seek);
}

std::uint32_t Win32Media::Status(std::uint32_t device, std::uint32_t item, std::optional<std::uint32_t> track,
                                 std::uint32_t& value) {
  MCI_STATUS_PARMS status{};
  status.dwItem = item;
  DWORD flags = MCI_STATUS_ITEM | MCI_WAIT;
  if (track) {
    status.dwTrack = *track;
    flags |= MCI_TRACK;
  }
  const std::uint32_t r = Send(device, MCI_STATUS, flags, &status);
  value = static_cast<std::uint32_t>(status.dwReturn);
  return r;
}

std::uint32_t Win32Media::SetDoor(std::uint32_t device, bool open) {
  MCI_SET_PARMS set{};
  return Send(device, MCI_SET, (open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED) | MCI_WAIT, &set);
}

std::uint32_t Win32Media::ClipSize(std::uint32_t device, std::int32_t& width, std::int32_t& height) {
  MCI_DGV_RECT_PARMS where{};
  const std::uint32_t r = Send(device, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where);
  // The rectangle's right and bottom hold its width and height.
  width = where.rc.right;
  height = where.rc.bottom;
  return r;
}

std::uint32_t Win32Media::PutClip(std::uint32_t device, const Rect& at) {
  MCI_DGV_PUT_PARMS put{};
  put.rc = {at.left, at.top, at.right - at.left, at.bottom - at.top};
  return Send(device, MCI_PUT, MCI_DGV_PUT_WINDOW | MCI_DGV_RECT | MCI_WAIT, &put);
}

std::string Win32Media::ErrorText(std::uint32_t error) {
  char text[256] = {};
  using TextFn = BOOL(WINAPI*)(MCIERROR, LPSTR, UINT);
  const auto describe = win32::LateEntry<TextFn>("winmm.dll", "mciGetErrorStringA");
  if (!describe || !describe(error, text, sizeof text)) return "Media error " + std::to_string(error) + ".";
  return text;
}

}  // namespace wdx::platform
