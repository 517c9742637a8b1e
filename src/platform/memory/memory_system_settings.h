// The stand-in system settings: a list of display modes and printers the test sets, and every
// change asked for recorded as one readable line ("parameter keyboard-delay 3"), so a test
// compares what a command did with a table. Nothing ends the session: the request is recorded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/system_settings.h"

namespace wdx::platform {

class MemorySystemSettings : public SystemSettings {
 public:
  std::optional<DisplayMode> DisplayModeAt(std::uint32_t index) override {
    if (index >= modes.size()) return std::nullopt;
    return modes[index];
  }
  std::int32_t ChangeDisplayMode(const DisplayMode& mode, bool test) override {
    calls.push_back(std::string(test ? "test display " : "display ") + Describe(mode));
    if (test) return testResult;
    if (changeResult == display_change::kSuccessful) current = mode;
    return changeResult;
  }
  void SetParameter(SystemParameter parameter, std::uint32_t value) override {
    calls.push_back("parameter " + std::string(Name(parameter)) + " " + std::to_string(value));
    if (parameter == SystemParameter::kScreenSaveActive) screenSaverActive = value != 0;
  }
  std::optional<bool> ScreenSaverActive() override { return screenSaverActive; }
  void StartScreenSaver() override { calls.push_back("start screen saver"); }
  void ApplyWallpaper() override { calls.push_back("apply wallpaper"); }
  std::vector<PrinterEntry> Printers() override { return printers; }
  void BroadcastSettingChange(const std::string& section) override { calls.push_back("broadcast " + section); }
  void ArrangeDesktop(DesktopArrangement how) override {
    calls.push_back(how == DesktopArrangement::kCascade          ? "cascade"
                    : how == DesktopArrangement::kTileHorizontal ? "tile horizontally"
                                                                 : "tile vertically");
  }
  bool EndSession(SessionEnd how, bool privilege) override {
    static constexpr const char* kNames[] = {"log off", "reboot", "shut down", "power off"};
    if (privilege && !shutdownRight) {
      calls.push_back("no shutdown right");
      return false;
    }
    calls.push_back(std::string(kNames[static_cast<int>(how)]) + (privilege ? " with the shutdown right" : ""));
    return true;
  }

  static std::string Describe(const DisplayMode& m) {
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "x" + std::to_string(m.bitsPerPixel) + "@" +
           std::to_string(m.frequency);
  }
  static const char* Name(SystemParameter p) {
    switch (p) {
      case SystemParameter::kKeyboardDelay: return "keyboard-delay";
      case SystemParameter::kKeyboardSpeed: return "keyboard-speed";
      case SystemParameter::kScreenSaveTimeout: return "screen-saver-timeout";
      case SystemParameter::kBorder: return "border";
      case SystemParameter::kScreenSaveActive: return "screen-saver-active";
    }
    return "?";
  }

  std::vector<DisplayMode> modes = {{640, 480, 16, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}};
  std::optional<DisplayMode> current;
  std::int32_t testResult = display_change::kSuccessful;
  std::int32_t changeResult = display_change::kSuccessful;
  std::optional<bool> screenSaverActive = true;
  std::vector<PrinterEntry> printers;
  bool shutdownRight = true;
  std::vector<std::string> calls;
};

}  // namespace wdx::platform
