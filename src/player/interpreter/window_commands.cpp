// Window commands: bring another program's window to the front, hide, show, quit, minimise,
// maximise, restore or close it, give it a size or put it at a place (in pixels, by a share of
// its size or of the screen, or at one of nine screen anchors). The window is named by its
// title, a part of it, or "CURRENT" (the window in front). Except "<ACTIVATE:", a command whose
// window is not there does nothing and the macro goes on.
#include <cstdint>
#include <string>

#include "player/core/window_activation.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/variables.h"
#include "shared/globals.h"

namespace wdx::player {

namespace {

constexpr std::size_t kShortText = 255;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint64_t kScMinimize = 0xF020;
constexpr std::uint64_t kScMaximize = 0xF030;
constexpr std::uint64_t kScClose = 0xF060;
constexpr std::uint64_t kScRestore = 0xF120;
constexpr char kCurrent[] = "\"CURRENT\"";

// A number field: a variable's value for N1..N50, else the number written (a variable number
// outside 1..50 is taken as the value itself).
std::int32_t NumberOf(Interpreter& in, const CommandFields& f, std::size_t i) {
  const NumberOrVariable field = f.NumberOrVar(i);
  if (field.variable && field.number >= 1 && field.number < VariableSet::kNumberSlots) {
    return in.State().vars.integer[static_cast<std::size_t>(field.number)];
  }
  return field.number;
}

std::string WindowText(Interpreter& in, const CommandFields& f, std::size_t i) {
  std::string title(f.Raw(i));
  if (title.find("%T") != std::string::npos) in.Host().ProcessStringVar(title, kShortText);
  return title;
}

// Whole-number arithmetic beyond 32 bits, kept in the range a window coordinate may take.
std::int32_t Clamp(std::int64_t v) {
  constexpr std::int64_t kLimit = 0x3FFFFFFF;
  return static_cast<std::int32_t>(v < -kLimit ? -kLimit : v > kLimit ? kLimit : v);
}

class WindowFamily final : public CommandFamily {
 public:
  explicit WindowFamily(Interpreter& in) {
    in.Claim<&WindowFamily::Activate>(TagId::kActivate, *this);
    for (TagId id : {TagId::kWshut, TagId::kWhide, TagId::kWshow}) in.Claim<&WindowFamily::ShowOrQuit>(id, *this);
    for (TagId id : {TagId::kWmax, TagId::kWmin, TagId::kWcls, TagId::kWres}) {
      in.Claim<&WindowFamily::SysCommand>(id, *this);
    }
    for (TagId id : {TagId::kWsize, TagId::kWsizepix, TagId::kWsizeper}) in.Claim<&WindowFamily::Size>(id, *this);
    for (TagId id : {TagId::kWpos, TagId::kWpos2, TagId::kWpos2pix, TagId::kWpos2per}) {
      in.Claim<&WindowFamily::Place>(id, *this);
    }
    for (TagId id : {TagId::kWpos2tl, TagId::kWpos2tc, TagId::kWpos2tr, TagId::kWpos2lc, TagId::kWpos2cc,
                     TagId::kWpos2rc, TagId::kWpos2bl, TagId::kWpos2bc, TagId::kWpos2br}) {
      in.Claim<&WindowFamily::Anchor>(id, *this);
    }
  }

 private:
  static platform::WindowSystem* Windows(Interpreter& in) {
    return Facility(in, &platform::Platform::windows, "Window Command Failed", "window system");
  }

  // The window a field names: the one in front for "CURRENT", else the one the title finds.
  // An empty field names none (the walk would otherwise take any window).
  static platform::WindowHandle Target(Interpreter& in, platform::WindowSystem& windows, const std::string& title) {
    if (title == kCurrent) return windows.GetForegroundWindow();
    if (title.empty()) return platform::kNoWindow;
    WindowActivation activation(*in.Host().GetPlatform(), !in.State().windows98Flag);
    return activation.GetWinHandle(title);
  }
  // The window that the tag's only field names.
  static platform::WindowHandle Named(Interpreter& in, platform::WindowSystem& windows, const Level& level,
                                      const TagInfo& tag, const CommandLayout& layout) {
    return Target(in, windows, WindowText(in, FieldsOf(level, tag, layout), cmd::window_only::kWindow));
  }

  Flow Activate(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return Flow::LeaveLevel();
    const std::string title = WindowText(in, FieldsOf(level, tag, cmd::kWindowAt10), cmd::window_only::kWindow);
    WindowActivation activation(*in.Host().GetPlatform(), !in.State().windows98Flag);
    platform::WindowHandle found = platform::kNoWindow;
    if (!title.empty() && activation.ActivateIt(title, found)) {
      in.State().targetWindow = found;
      return Flow::GoOn();
    }
    // The message says the macro will abort, and so it does: enclosing blocks and calling
    // macros stop too.
    in.Fail("Activate Command Failed", "Specified window title of \"" + title +
                                           "\" could not be found on your computer. Macro will abort.");
    return Flow::LeaveLevel();
  }

  void ShowOrQuit(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return;
    const platform::WindowHandle w = Named(in, *windows, level, tag, cmd::kWindowAt7);
    if (w == platform::kNoWindow) return;
    if (tag.id == TagId::kWshut) {
      windows->PostMessage(w, platform::msg::kQuit, 0, 0);
    } else {
      windows->ShowWindow(w, tag.id == TagId::kWhide ? platform::ShowMode::kHide : platform::ShowMode::kShow);
    }
  }

  void SysCommand(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return;
    const platform::WindowHandle w = Named(in, *windows, level, tag, cmd::kWindowAt6);
    if (w == platform::kNoWindow) return;
    const std::uint64_t code = tag.id == TagId::kWmax   ? kScMaximize
                               : tag.id == TagId::kWmin ? kScMinimize
                               : tag.id == TagId::kWcls ? kScClose
                                                        : kScRestore;
    windows->SendMessage(w, kSysCommand, code, 0);
  }

  void Size(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return;
    const CommandFields f = FieldsOf(level, tag, tag.id == TagId::kWsize ? cmd::kWsize : cmd::kWsizeBy);
    namespace pair = cmd::window_pair;
    const std::int64_t a = NumberOf(in, f, pair::kFirst);
    const std::int64_t b = NumberOf(in, f, pair::kSecond);
    const platform::WindowHandle w = Target(in, *windows, WindowText(in, f, pair::kWindow));
    if (w == platform::kNoWindow) return;
    if (tag.id == TagId::kWsize) {
      windows->SetWindowSize(w, Clamp(a), Clamp(b));
      return;
    }
    const platform::Rect r = windows->GetWindowRect(w);
    const std::int64_t width = r.right - r.left;
    const std::int64_t height = r.bottom - r.top;
    if (tag.id == TagId::kWsizepix) {
      windows->SetWindowSize(w, Clamp(width + a), Clamp(height + b));
    } else {
      windows->SetWindowSize(w, Clamp(width + width * a / 100), Clamp(height + height * b / 100));
    }
  }

  void Place(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return;
    const bool relative = tag.id == TagId::kWpos2pix || tag.id == TagId::kWpos2per;
    const CommandFields f =
        FieldsOf(level, tag, tag.id == TagId::kWpos ? cmd::kWpos : relative ? cmd::kWpos2By : cmd::kWpos2);
    namespace pair = cmd::window_pair;
    const std::int64_t a = NumberOf(in, f, pair::kFirst);
    const std::int64_t b = NumberOf(in, f, pair::kSecond);
    const platform::WindowHandle w = Target(in, *windows, WindowText(in, f, pair::kWindow));
    if (w == platform::kNoWindow) return;
    if (!relative) {
      windows->SetWindowPosition(w, Clamp(a), Clamp(b));
      return;
    }
    const platform::Rect r = windows->GetWindowRect(w);
    if (tag.id == TagId::kWpos2pix) {
      windows->SetWindowPosition(w, Clamp(r.left + a), Clamp(r.top + b));
      return;
    }
    const ScreenFactors screen = Screen(in);
    windows->SetWindowPosition(w, Clamp(r.left + std::int64_t{screen.ScreenWidth} * a / 100),
                               Clamp(r.top + std::int64_t{screen.ScreenHeight} * b / 100));
  }

  void Anchor(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::WindowSystem* windows = Windows(in);
    if (windows == nullptr) return;
    const platform::WindowHandle w = Named(in, *windows, level, tag, cmd::kWindowAt9);
    if (w == platform::kNoWindow) return;
    const platform::Rect r = windows->GetWindowRect(w);
    const ScreenFactors screen = Screen(in);
    // Column and row of the anchor: 0 at the start, 1 in the middle, 2 at the end.
    int column = 0;
    int row = 0;
    switch (tag.id) {
      case TagId::kWpos2tc: column = 1; break;
      case TagId::kWpos2tr: column = 2; break;
      case TagId::kWpos2lc: row = 1; break;
      case TagId::kWpos2cc: column = 1; row = 1; break;
      case TagId::kWpos2rc: column = 2; row = 1; break;
      case TagId::kWpos2bl: row = 2; break;
      case TagId::kWpos2bc: column = 1; row = 2; break;
      case TagId::kWpos2br: column = 2; row = 2; break;
      default: break;
    }
    auto along = [](int where, std::int64_t screenSize, std::int64_t size) -> std::int64_t {
      return where == 0 ? 0 : where == 1 ? (screenSize - size) / 2 : screenSize - size;
    };
    windows->SetWindowPosition(w, Clamp(along(column, screen.ScreenWidth, r.right - r.left)),
                               Clamp(along(row, screen.ScreenHeight, r.bottom - r.top)));
  }

  // The screen as the player measured it; an unknown screen reads as 0 by 0.
  static ScreenFactors Screen(Interpreter& in) {
    ScreenFactors screen;
    platform::Platform* p = in.Host().GetPlatform();
    if (p != nullptr && p->input != nullptr) GetScreenFactors(*p->input, screen);
    return screen;
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeWindowFamily(Interpreter& in) { return std::make_unique<WindowFamily>(in); }

}  // namespace wdx::player
