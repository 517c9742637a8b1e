// TTaskIcon: one icon in the notification area with the window the shell reports the mouse
// on it to. The icon shows only while Active; its image, tip and id may change at any time
// and an active icon follows at once. A click, double click or right click (the button going
// up) on it calls the handler set for it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace wdx::player {

// The message the shell reports the mouse on an icon with (to the icon's own window).
inline constexpr std::uint32_t kTaskIconMessage = 0x400;
// The mouse messages it reports.
inline constexpr std::int64_t kLeftButtonUp = 0x202;
inline constexpr std::int64_t kLeftButtonDoubleClick = 0x203;
inline constexpr std::int64_t kRightButtonUp = 0x205;
inline constexpr char kTaskIconClass[] = "TTaskIcon";

class TTaskIcon {
 public:
  // The icon's own window is made here; the icon starts inactive, with no image, tip or id.
  TTaskIcon(platform::WindowSystem& windows, platform::ShellIcons& shell, platform::Input* input);
  ~TTaskIcon();
  TTaskIcon(const TTaskIcon&) = delete;
  TTaskIcon& operator=(const TTaskIcon&) = delete;

  // Shows or removes the icon; Active changes only when the shell did as asked.
  void SetActive(bool active);
  bool Active() const { return active_; }
  // `owned`: the icon frees the image when it is replaced or the icon goes.
  void SetIcon(platform::IconHandle image, bool owned = false);
  // Cut to what the shell shows; an active icon is changed only when the text differs.
  void SetToolTip(const std::string& tip);
  void SetTaskIconID(std::uint32_t id);
  const std::string& ToolTip() const { return data_.tip; }
  std::uint32_t TaskIconID() const { return data_.id; }
  platform::IconHandle Icon() const { return data_.icon; }
  platform::WindowHandle Window() const { return data_.window; }

  std::function<void()> onClick;
  std::function<void()> onDblClick;
  // The cursor's place when the button went up.
  std::function<void(platform::Point)> onRightClick;

 private:
  std::int64_t HandleMessage(const platform::Message& m);
  void Modify();
  void FreeImage();

  platform::WindowSystem& windows_;
  platform::ShellIcons& shell_;
  platform::Input* input_;
  platform::NotifyIcon data_;
  bool active_ = false;
  bool ownsImage_ = false;
};

}  // namespace wdx::player
