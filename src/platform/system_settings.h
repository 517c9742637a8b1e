// The desktop's own settings a macro may change: display modes, the system parameters, the
// wallpaper, the printers, the screen saver, the arrangement of the desktop's windows, and the
// end of the session.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wdx::platform {

struct DisplayMode {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t frequency = 0;
  bool operator==(const DisplayMode&) const = default;
};

// Results of a display change (the system's values).
namespace display_change {
constexpr std::int32_t kSuccessful = 0;
constexpr std::int32_t kRestart = 1;
constexpr std::int32_t kFailed = -1;
constexpr std::int32_t kBadMode = -2;
constexpr std::int32_t kBadFlags = -4;
}  // namespace display_change

// The system parameters the macro commands set, each for the rest of the session (the user's
// profile is not updated).
enum class SystemParameter : std::uint8_t {
  kKeyboardDelay,      // 0 (shortest) .. 3
  kKeyboardSpeed,      // 0 .. 31 (fastest)
  kScreenSaveTimeout,  // seconds
  kBorder,             // the sizing border's width multiplier
  kScreenSaveActive,   // 0 off, 1 on
};

enum class DesktopArrangement : std::uint8_t { kCascade, kTileHorizontal, kTileVertical };

enum class SessionEnd : std::uint8_t { kLogOff, kReboot, kShutdown, kPowerOff };

struct PrinterEntry {
  std::string name;
  std::string driver;
  std::string port;
  bool operator==(const PrinterEntry&) const = default;
};

class SystemSettings {
 public:
  virtual ~SystemSettings() = default;

  // The display mode at this place of the primary display's list; nullopt past its end.
  virtual std::optional<DisplayMode> DisplayModeAt(std::uint32_t index) = 0;
  // Tests the mode (test) or switches to it and keeps it in the user's profile; the system's
  // result (display_change).
  virtual std::int32_t ChangeDisplayMode(const DisplayMode& mode, bool test) = 0;

  virtual void SetParameter(SystemParameter parameter, std::uint32_t value) = 0;
  // Whether a screen saver is chosen and active; nullopt when the system does not say.
  virtual std::optional<bool> ScreenSaverActive() = 0;
  // Asks the desktop to start the screen saver now.
  virtual void StartScreenSaver() = 0;
  // Makes the system apply the wallpaper values of the user's desktop key and tells every
  // program.
  virtual void ApplyWallpaper() = 0;

  // The printers installed, by name.
  virtual std::vector<PrinterEntry> Printers() = 0;
  // Tells every top-level window that a section of the system's settings changed.
  virtual void BroadcastSettingChange(const std::string& section) = 0;

  virtual void ArrangeDesktop(DesktopArrangement how) = 0;
  // Ends the session. With `privilege` the shutdown right is taken for the call (and given back
  // after it); false when it could not be had, and nothing happens then.
  virtual bool EndSession(SessionEnd how, bool privilege) = 0;
};

}  // namespace wdx::platform
