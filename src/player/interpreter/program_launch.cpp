// Starting programs and documents: the "<LAUNCH" forms (optionally waiting until the program's
// window can be brought to the front), Internet addresses and folders opened the way the shell
// opens them. A program the shell does not find is looked for once more along PATH; a shell
// failure or a window that never comes ends the whole macro with a message that says why.
#include <algorithm>
#include <cstdint>
#include <string>

#include "player/core/window_activation.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/path_search.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr std::size_t kShortText = 255;
constexpr std::size_t kTitleLength = 30;   // the launch window title the wait uses
constexpr std::size_t kPathLength = 300;   // PATH as far as the search reads it
constexpr std::size_t kFailedLength = 95;  // "... could not be found on your computer." cut here
constexpr std::int32_t kFileNotFound = 2;
constexpr std::int32_t kWindowTimeout = 12;
constexpr std::uint32_t kWaitStepMs = 50;
constexpr char kParam[] = "<PARAM>";

// The shell's reason for a failure code.
std::string ShellFailureReason(std::int32_t code) {
  switch (code) {
    case 0: return "the operating system is out of memory or resources.";
    case 2: return "the specified file was not found.";
    case 3: return "the specified path was not found.";
    case 5: return "the operating system denied access to the specified file.";
    case 8: return "there was not enough memory to complete the operation.";
    case 11: return "the .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    case 26: return "a sharing violation occurred.";
    case 27: return "the filename association is incomplete or invalid.";
    case 31: return "there is no application associated with the given filename extension.";
    default: return "of an unknown Error #" + std::to_string(code) + ".";
  }
}

// The program itself when it is a file, else the first folder of PATH that holds it.
std::string SearchPath(platform::Platform& p, const std::string& program) {
  if (p.files != nullptr && FileExists(*p.files, program)) return program;
  return FindOnPath(p, program, kPathLength, true);
}

std::string Quoted(const std::string& program) {
  return program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
}

class LaunchFamily final : public CommandFamily {
 public:
  explicit LaunchFamily(Interpreter& in) {
    for (TagId id : {TagId::kLaunch, TagId::kLaunchdel, TagId::kLaunchno, TagId::kLaunchyes, TagId::kLaunchno2,
                     TagId::kLaunchyes2}) {
      in.Claim<&LaunchFamily::Launch>(id, *this);
    }
    in.Claim<&LaunchFamily::OpenAddress>(TagId::kHttp, *this);
    in.Claim<&LaunchFamily::OpenAddress>(TagId::kFtp, *this);
    in.Claim<&LaunchFamily::OpenAddress>(TagId::kExplore, *this);
    in.Claim<&LaunchFamily::Rehook>(TagId::kDohook, *this);
  }
  void ResetForRun() override { title_.clear(); }

 private:
  struct Request {
    std::string field;
    std::int32_t delay = 0;
    std::int32_t timeout = kWindowTimeout;
    bool wait = false;
    bool activateFirst = false;
  };

  Flow Launch(Interpreter& in, Level& level, const TagInfo& tag) {
    Request r;
    const CommandLayout* layout = &cmd::kLaunch;
    // Where the delay, time-out, title and launch field stand in the tag's layout (no index:
    // the tag has none).
    constexpr std::size_t kNone = 0xFF;
    std::size_t delay = kNone, timeout = kNone, title = kNone, target = cmd::launch::kTarget;
    switch (tag.id) {
      case TagId::kLaunchdel:
        layout = &cmd::kLaunchdel;
        delay = cmd::launch_delayed::kDelay;
        target = cmd::launch_delayed::kTarget;
        break;
      case TagId::kLaunchno:
      case TagId::kLaunchyes:
        layout = tag.id == TagId::kLaunchno ? &cmd::kLaunchno : &cmd::kLaunchyes;
        delay = cmd::launch_waiting::kDelay;
        title = cmd::launch_waiting::kTitle;
        target = cmd::launch_waiting::kTarget;
        break;
      case TagId::kLaunchno2:
      case TagId::kLaunchyes2:
        layout = tag.id == TagId::kLaunchno2 ? &cmd::kLaunchno2 : &cmd::kLaunchyes2;
        delay = cmd::launch_timed::kDelay;
        timeout = cmd::launch_timed::kTimeout;
        title = cmd::launch_timed::kTitle;
        target = cmd::launch_timed::kTarget;
        break;
      default: break;
    }
    const CommandFields f = FieldsOf(level, tag, *layout);
    if (delay != kNone) r.delay = f.Whole(delay);
    if (timeout != kNone) r.timeout = f.Whole(timeout);
    if (title != kNone) {
      r.wait = true;
      r.activateFirst = tag.id == TagId::kLaunchyes || tag.id == TagId::kLaunchyes2;
      std::string shown(f.Raw(title));
      if (shown.find("%T") != std::string::npos) in.Host().ProcessStringVar(shown, kShortText);
      if (shown.size() > kTitleLength) shown.resize(kTitleLength);
      title_ = shown;
    }
    r.field = std::string(f.Raw(target));
    if (r.activateFirst && Activate(in, title_)) return Flow::GoOn();
    if (!LaunchProgram(in, r)) return Flow::LeaveLevel();
    return Flow::GoOn();
  }

  static bool Activate(Interpreter& in, const std::string& title) {
    platform::Platform* p = in.Host().GetPlatform();
    if (p == nullptr || p->windows == nullptr || title.empty()) return false;
    WindowActivation activation(*p, !in.State().windows98Flag);
    platform::WindowHandle found = platform::kNoWindow;
    if (!activation.ActivateIt(title, found)) return false;
    in.State().targetWindow = found;
    return true;
  }

  bool LaunchProgram(Interpreter& in, const Request& r) {
    platform::Shell* shell = Facility(in, &platform::Platform::shell, "Launch Error", "program launch");
    if (shell == nullptr) return false;
    std::string field = r.field;
    if (field.find("%T") != std::string::npos) in.Host().ProcessStringVar(field, kShortText);
    platform::ShowMode show = platform::ShowMode::kShowNormal;
    if (field.size() >= 2 && field.back() == '\x01') {
      const char mode = field[field.size() - 2];
      if (mode == '1') show = platform::ShowMode::kShowMinimized;
      if (mode == '2') show = platform::ShowMode::kMaximize;
      field.resize(field.size() - 2);
    }
    std::string name = field;
    std::string program = field;
    std::string parameters;
    if (const std::size_t p = field.find(kParam); p != std::string::npos) {
      name = field.substr(0, p);
      parameters = field.substr(p + sizeof(kParam) - 1);
      program = Quoted(name);
    }
    std::int32_t result = shell->Execute(in.Host().OwnerWindow(), "open", program, parameters, "", show);
    if (result == kFileNotFound) {
      const std::string found = SearchPath(*in.Host().GetPlatform(), name);
      if (!found.empty()) result = shell->Execute(in.Host().OwnerWindow(), "open", Quoted(found), parameters, "", show);
    }
    if (result >= 0 && result <= 32) {
      in.Fail("Launch Error", "\"" + program + "\" failed to launch because " + ShellFailureReason(result) +
                                  " Macro will abort.");
      return false;
    }
    if (r.wait) {
      if (!WaitForWindowTitle(in, title_, r.timeout)) {
        if (in.State().abortMacro) return false;
        std::string message = "Specified window title of \"" + title_ + "\" could not be found on your computer.";
        if (message.size() > kFailedLength) message.resize(kFailedLength);
        in.Fail("Launch Failed", message + " Macro will abort.");
        return false;
      }
      in.Host().PauseForNoSpeed(r.delay);
    } else if (r.delay > 0) {
      in.Host().PauseForNoSpeed(r.delay);
    }
    return !in.State().abortMacro;
  }

  // Tries to bring the window up until it comes, the time-out passes or the run is aborted.
  // Measured on the tick count, so a wait across midnight ends when it should.
  static bool WaitForWindowTitle(Interpreter& in, const std::string& title, std::int32_t timeoutSeconds) {
    const std::uint32_t start = in.Host().TickCount();
    const std::uint64_t limit = static_cast<std::uint64_t>(timeoutSeconds < 0 ? 0 : timeoutSeconds) * 1000;
    for (;;) {
      if (Activate(in, title)) return true;
      in.WaitMs(static_cast<std::int32_t>(kWaitStepMs));
      if (in.State().abortMacro) return false;
      if (static_cast<std::uint32_t>(in.Host().TickCount() - start) > limit) return false;
    }
  }

  // "<HTTP:" and "<FTP:" open the address with its program, "<EXPLORE:" the folder in the
  // explorer view; a failing shell says nothing.
  static void OpenAddress(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::Platform* p = in.Host().GetPlatform();
    if (p == nullptr || p->shell == nullptr) return;
    const CommandLayout& layout =
        tag.id == TagId::kHttp ? cmd::kHttp : tag.id == TagId::kFtp ? cmd::kFtp : cmd::kExplore;
    std::string target(FieldsOf(level, tag, layout).Raw(cmd::kOnly));
    if (target.find("%T") != std::string::npos) in.Host().ProcessStringVar(target, kShortText);
    // The addresses open with the player's window as owner; the explorer view has none.
    const platform::WindowHandle owner = tag.id == TagId::kExplore ? platform::kNoWindow : in.Host().OwnerWindow();
    p->shell->Execute(owner, tag.id == TagId::kExplore ? "explore" : "", target, "", "",
                      platform::ShowMode::kShowNormal);
  }

  // "<DOHOOK>": the keyboard and mouse hooks installed afresh (another program's hook may have
  // taken their place).
  static void Rehook(Interpreter& in, Level& /*level*/, const TagInfo& /*tag*/) { in.Host().ReinstallHooks(); }

  std::string title_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeLaunchFamily(Interpreter& in) { return std::make_unique<LaunchFamily>(in); }

}  // namespace wdx::player
