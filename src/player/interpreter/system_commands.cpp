// System and shell commands: the display mode, the keyboard, screen-saver and border settings,
// the wallpaper, the default printer, the Control Panel, the arrangement of the desktop's
// windows, the end of the session and the shell's own functions (minimise all, the find and
// run dialogs, special folders). Their failures are reported and the macro goes on.
#include <cstdint>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

using platform::SystemParameter;

constexpr const char* kExecutionError = "Macro Execution Error";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

enum class WallpaperStyle : std::uint8_t { kTile, kCentre, kStretch, kPosition };

// One shell function: its tag, the call, the special folder it opens, and the names its two
// messages use.
struct ShellTag {
  TagId id;
  platform::ShellFunction function;
  std::int32_t folder;
  const char* failureName;       // when the shell's object fails
  const char* requirementsName;  // when the system has no shell automation
};

using SF = platform::ShellFunction;
constexpr ShellTag kShellTags[] = {
    {TagId::kMinidesk, SF::kMinimizeAll, 0, "Minimize All", "Minimize All"},
    {TagId::kRestdesk, SF::kUndoMinimizeAll, 0, "Undo Minimize All", "Undo Minimize All"},
    {TagId::kSuspend, SF::kSuspend, 0, "Suspend", "Suspend"},
    {TagId::kUndock, SF::kEjectPc, 0, "Eject PC", "Eject PC"},
    {TagId::kRundt, SF::kSetTime, 0, "Dialog Run", "Run Set Time"},
    {TagId::kRunfc, SF::kFindComputer, 0, "Dialog Run", "Run Find Computer"},
    {TagId::kRunff, SF::kFindFiles, 0, "Dialog Run", "Run Find Files"},
    {TagId::kRunrp, SF::kFileRun, 0, "Dialog Run", "Run File Run"},
    {TagId::kExpcp, SF::kExplore, 3, "Open Explorer", "Open Explorer"},
    {TagId::kExpdt, SF::kExplore, 0, "Open Explorer", "Open Explorer"},
    {TagId::kExpdp, SF::kExplore, 16, "Open Explorer", "Open Explorer"},
    {TagId::kExpfv, SF::kExplore, 6, "Open Explorer", "Open Explorer"},
    {TagId::kExpft, SF::kExplore, 20, "Open Explorer", "Open Explorer"},
    {TagId::kExpmc, SF::kExplore, 17, "Open Explorer", "Open Explorer"},
    {TagId::kExpnw, SF::kExplore, 18, "Open Explorer", "Open Explorer"},
    {TagId::kExppr, SF::kExplore, 4, "Open Explorer", "Open Explorer"},
    {TagId::kExppf, SF::kExplore, 2, "Open Explorer", "Open Explorer"},
    {TagId::kExprd, SF::kExplore, 8, "Open Explorer", "Open Explorer"},
    {TagId::kExprb, SF::kExplore, 10, "Open Explorer", "Open Explorer"},
    {TagId::kExpsm, SF::kExplore, 11, "Open Explorer", "Open Explorer"},
    {TagId::kExpsu, SF::kExplore, 7, "Open Explorer", "Open Explorer"},
    {TagId::kExpud, SF::kExplore, 5, "Open Explorer", "Open Explorer"},
};

// The applet part of the Control Panel's command line: a known applet as it stands; another
// name only when it is a plain applet file name (letters, digits, blanks, "_", "-", "."; ending
// in ".cpl"), and then in quotes, so no text of a macro reaches the command line as more than
// one applet's name. Empty when the name is refused.
std::string AppletArgument(const std::string& applet) {
  for (const cmd::cprun::Applet& a : cmd::cprun::kApplets) {
    if (EqualsNoCase(applet, a.file)) return std::string(a.file);
  }
  constexpr std::string_view kExtension = ".cpl";
  if (applet.size() <= kExtension.size() || applet.size() > kShortStringMax || applet.front() == '.' ||
      !EqualsNoCase(std::string_view(applet).substr(applet.size() - kExtension.size()), kExtension)) {
    return {};
  }
  for (const char c : applet) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                       c == '_' || c == '-' || c == '.';
    if (!plain) return {};
  }
  return "\"" + applet + "\"";
}

class SystemFamily final : public CommandFamily {
 public:
  explicit SystemFamily(Interpreter& in) {
    in.Claim<&SystemFamily::Settings>(TagFamily::kSystemSettings, *this);
    in.Claim<&SystemFamily::ControlPanel>(TagFamily::kControlPanel, *this);
    in.Claim<&SystemFamily::DefaultPrinter>(TagFamily::kPrinter, *this);
    in.Claim<&SystemFamily::Desktop>(TagFamily::kShutdownDesktop, *this);
    in.Claim<&SystemFamily::Desktop>(TagFamily::kShellDialogs, *this);
  }

 private:
  static platform::SystemSettings* System(Interpreter& in) {
    return Facility(in, &platform::Platform::settings, kExecutionError, "system settings control");
  }
  static std::string Expanded(Interpreter& in, std::string_view field) {
    std::string text(field.substr(0, kShortStringMax));
    if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, kShortStringMax);
    return text;
  }

  void Settings(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::SystemSettings* system = System(in);
    if (system == nullptr) return;
    const CommandFields f = FieldsOf(level, tag);
    const std::int32_t value = f.Whole(0);
    const auto unsignedValue = static_cast<std::uint32_t>(value < 0 ? 0 : value);
    switch (tag.id) {
      case TagId::kScreen: SetDisplayMode(in, *system, value); break;
      case TagId::kKeydel:
      case TagId::kKeydelShort: system->SetParameter(SystemParameter::kKeyboardDelay, unsignedValue); break;
      case TagId::kKeyspd: system->SetParameter(SystemParameter::kKeyboardSpeed, unsignedValue); break;
      case TagId::kSstime: system->SetParameter(SystemParameter::kScreenSaveTimeout, unsignedValue * 60); break;
      case TagId::kWbsize: system->SetParameter(SystemParameter::kBorder, unsignedValue); break;
      case TagId::kWallt: SetWallpaper(in, *system, Expanded(in, f.Raw(0)), WallpaperStyle::kTile); break;
      case TagId::kWallc: SetWallpaper(in, *system, Expanded(in, f.Raw(0)), WallpaperStyle::kCentre); break;
      case TagId::kWalls: SetWallpaper(in, *system, Expanded(in, f.Raw(0)), WallpaperStyle::kStretch); break;
      case TagId::kWallp:
        SetWallpaper(in, *system, Expanded(in, f.Raw(cmd::wallp::kFile)), WallpaperStyle::kPosition,
                     f.Whole(cmd::wallp::kX), f.Whole(cmd::wallp::kY));
        break;
      default: break;
    }
  }

  static void SetDisplayMode(Interpreter& in, platform::SystemSettings& system, std::int32_t n) {
    const std::optional<platform::DisplayMode> mode =
        n < 0 ? std::nullopt : system.DisplayModeAt(static_cast<std::uint32_t>(n));
    if (!mode) {
      ReportOnly(in, kExecutionError, "The specified Screen Display Settings does not exist on this computer.");
      return;
    }
    const std::string failed = "The attempt to switch to the specified Screen Display Settings failed.";
    namespace dc = platform::display_change;
    const std::int32_t tested = system.ChangeDisplayMode(*mode, true);
    if (tested == dc::kBadFlags || tested == dc::kBadMode || tested == dc::kFailed) {
      ReportOnly(in, kExecutionError, failed);
      return;
    }
    const std::int32_t result = system.ChangeDisplayMode(*mode, false);
    if (result == dc::kRestart) {
      ReportOnly(in, "Warning", "System must be rebooted before new display settings take effect.");
    } else if (result != dc::kSuccessful) {
      ReportOnly(in, kExecutionError, failed);
    }
  }

  static void SetWallpaper(Interpreter& in, platform::SystemSettings& system, const std::string& file,
                           WallpaperStyle style, std::int32_t x = 0, std::int32_t y = 0) {
    platform::Registry* registry = Facility(in, &platform::Platform::registry, kExecutionError, "registry");
    if (registry == nullptr) return;
    const auto put = [&](const char* name, const std::string& value) {
      registry->WriteString(platform::RegistryRoot::kCurrentUser, kDesktopKey, name, value);
    };
    const bool position = style == WallpaperStyle::kPosition;
    put("Wallpaper", file);
    put("TileWallpaper", style == WallpaperStyle::kTile ? "1" : "0");
    put("WallpaperStyle", style == WallpaperStyle::kStretch ? "2" : "0");
    put("WallpaperOriginX", position ? std::to_string(x) : "0");
    put("WallpaperOriginY", position ? std::to_string(y) : "0");
    system.ApplyWallpaper();
  }

  static void DefaultPrinter(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::SystemSettings* system = System(in);
    platform::ProfileFiles* profile = Facility(in, &platform::Platform::profile, kExecutionError, "settings file");
    if (system == nullptr || profile == nullptr) return;
    const std::string name = Expanded(in, FieldsOf(level, tag, cmd::kDefprt).Raw(0));
    for (platform::PrinterEntry printer : system->Printers()) {
      if (printer.name != name) continue;
      // The system's own list names the driver and the port as "driver,port".
      if (printer.driver.empty() || printer.port.empty()) {
        const std::string devices = profile->GetString("WIN.INI", "Devices", printer.name, "");
        const std::size_t comma = devices.find(',');
        if (printer.driver.empty()) printer.driver = devices.substr(0, comma);
        if (printer.port.empty() && comma != std::string::npos) printer.port = devices.substr(comma + 1);
      }
      profile->WriteString("WIN.INI", "windows", "device", printer.name + "," + printer.driver + "," + printer.port);
      system->BroadcastSettingChange("windows");
      return;
    }
    ReportOnly(in, kExecutionError, "The specified Default Printer does not exist on this computer.");
  }

  static void ControlPanel(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::Shell* shell = Facility(in, &platform::Platform::shell, kExecutionError, "shell");
    if (shell == nullptr) return;
    std::string parameters = "shell32.dll,Control_RunDLL";
    if (tag.id == TagId::kCprun) {
      const CommandFields f = FieldsOf(level, tag, cmd::kCprun);
      const std::string applet = Expanded(in, f.Raw(cmd::cprun::kApplet));
      const char tab = f.Letter(cmd::cprun::kTab);
      const std::string argument = AppletArgument(applet);
      if (argument.empty() || tab < '0' || tab > '9') {
        ReportOnly(in, kExecutionError, "The Control Panel applet \"" + applet + "\" cannot be run: " +
                                            "an applet is a file name ending in .cpl followed by one digit.");
        return;
      }
      parameters += " " + argument + ",," + tab;
    }
    shell->Execute(in.Host().OwnerWindow(), "open", "rundll32.exe", parameters, "", platform::ShowMode::kShow);
  }

  static void Desktop(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
    using platform::DesktopArrangement;
    using platform::SessionEnd;
    if (tag.id == TagId::kEmptybin) return;  // accepted and passed over
    for (const ShellTag& s : kShellTags) {
      if (s.id == tag.id) return RunShellFunction(in, s);
    }
    platform::SystemSettings* system = System(in);
    if (system == nullptr) return;
    platform::Platform* p = in.Host().GetPlatform();
    // Only NT asks for the right to shut down.
    const bool nt = p->system != nullptr && p->system->Version().family == platform::OsFamily::kNt;
    switch (tag.id) {
      case TagId::kCascdesk: system->ArrangeDesktop(DesktopArrangement::kCascade); break;
      case TagId::kTilhdesk: system->ArrangeDesktop(DesktopArrangement::kTileHorizontal); break;
      case TagId::kTilvdesk: system->ArrangeDesktop(DesktopArrangement::kTileVertical); break;
      case TagId::kLogoff: system->EndSession(SessionEnd::kLogOff, false); break;
      case TagId::kReboot: system->EndSession(SessionEnd::kReboot, nt); break;
      case TagId::kShutdown: system->EndSession(SessionEnd::kShutdown, nt); break;
      case TagId::kPoweroff: system->EndSession(SessionEnd::kPowerOff, nt); break;
      case TagId::kSson:
        if (system->ScreenSaverActive().value_or(false)) system->StartScreenSaver();
        break;
      case TagId::kSsoff: system->SetParameter(SystemParameter::kScreenSaveActive, 0); break;
      default: break;
    }
  }

  // The shell's automation is there from browser version 4 on.
  static bool ShellAutomation(Interpreter& in) {
    platform::Platform* p = in.Host().GetPlatform();
    if (p == nullptr || p->registry == nullptr) return false;
    const std::optional<std::string> version = p->registry->ReadString(
        platform::RegistryRoot::kLocalMachine, "Software\\Microsoft\\Internet Explorer", "Version");
    if (!version) return false;
    return ParseWholeNumber(version->substr(0, version->find('.'))).value > 3;
  }

  static void RunShellFunction(Interpreter& in, const ShellTag& s) {
    if (!ShellAutomation(in)) {
      const std::string caption = std::string(s.requirementsName) + " Error";
      const std::string message =
          "This function requires Windows 98 or NT.  Wendrix requires Windows 95 that has Internet Explore 4.0 or "
          "greater installed. It appears that your system does not meet these requirements.";
      ReportOnly(in, caption, message, caption + ". " + message);
      return;
    }
    platform::Shell* shell = Facility(in, &platform::Platform::shell, "Error", "shell");
    if (shell == nullptr) return;
    if (shell->CallShellFunction(s.function, s.folder) == platform::ShellCallResult::kDone) return;
    // A function that fails on the object is reported as one whose object could not be had.
    const std::string message = std::string("Function could not be located. ") + s.failureName + " failed." +
                                " This error can be caused by an incomplete installation " +
                                " of Internet Explorer 5.0.  If you are running Internet Explorer 5.0," +
                                " then you can go and choose \"Tools | Internet Explorer 5.0 Fix\"" +
                                " from the main Menu of Wendrix which may allow this" + " function to work.";
    if (in.State().logErrors) in.Host().LogError(message);
    if (in.State().showErrors) in.Host().MyMessage("Error", message);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeSystemFamily(Interpreter& in) { return std::make_unique<SystemFamily>(in); }

}  // namespace wdx::player
