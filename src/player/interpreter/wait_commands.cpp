// Wait commands: hold the macro until a window comes to the front or leaves it, a program ends,
// a mouse button is clicked, a key is pressed, a text is typed, the keys sent so far have come
// through, or a number of seconds has passed. Every wait lets the message queue run between two
// looks at its condition, so the hook library's reports and the abort key reach the player;
// an abort ends any wait at once. The time-outs count on the tick count, so a wait that spans
// midnight ends when it should.
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/virtual_keys.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr std::size_t kShortText = 255;
constexpr std::uint32_t kPollMs = 50;
constexpr std::uint64_t kMsPerMinute = 60000;
constexpr std::uint64_t kKeySyncLimitMs = 30000;  // the marker key may never come through
constexpr double kAfterClickSeconds = 0.5;
constexpr double kBeforeMarkerSeconds = 0.1;
constexpr char kAbortTail[] = " minutes.  Macro will abort.";

enum class End { kDone, kTimedOut, kAborted };

// Lets the message queue run and looks at `done` until it holds, `limitMs` has passed (0: no
// limit) or the run is aborted. The first look comes after one pump without sleeping, so a
// condition that already holds ends the wait at once.
template <class Done>
End Poll(Interpreter& in, std::uint64_t limitMs, Done done) {
  InterpreterHost& host = in.Host();
  std::uint32_t last = host.TickCount();
  std::uint64_t elapsed = 0;
  for (bool first = true;; first = false) {
    if (first) {
      host.PumpMessages();
    } else {
      host.WaitForMessage(kPollMs);
    }
    if (done()) return End::kDone;
    if (in.State().abortMacro) return End::kAborted;
    // Summed step by step, so neither the tick count's wrap nor a long wait can confuse it.
    const std::uint32_t now = host.TickCount();
    elapsed += static_cast<std::uint32_t>(now - last);
    last = now;
    if (limitMs > 0 && elapsed > limitMs) return End::kTimedOut;
  }
}

std::uint64_t LimitOf(std::int32_t minutes) {
  return minutes > 0 ? static_cast<std::uint64_t>(minutes) * kMsPerMinute : 0;
}

// The key a "<WAITKEY:" number stands for: its virtual key and the name its message gives.
struct WaitKey {
  std::uint8_t vk = 0;
  std::string name;
};
bool KeyOfNumber(std::int32_t n, WaitKey& key) {
  if (n >= 0 && n <= 25) {
    key = {static_cast<std::uint8_t>('A' + n), std::string(1, static_cast<char>('A' + n))};
  } else if (n >= 26 && n <= 35) {
    key = {static_cast<std::uint8_t>('0' + n - 26), std::string(1, static_cast<char>('0' + n - 26))};
  } else if (n >= 36 && n <= 47) {
    key = {static_cast<std::uint8_t>(0x70 + n - 36), "F" + std::to_string(n - 35)};
  } else {
    static const WaitKey kOthers[] = {{0x1B, "ESC"},  {0x09, "TAB"}, {0x0D, "ENTER"},
                                      {0x11, "CTRL"}, {0x12, "ALT"}, {0x10, "SHIFT"}};
    if (n < 48 || n > 53) return false;
    key = kOthers[n - 48];
  }
  return true;
}

class WaitFamily final : public CommandFamily {
 public:
  explicit WaitFamily(Interpreter& in) {
    in.Claim<&WaitFamily::WindowWait>(TagId::kWaitwin, *this);
    in.Claim<&WaitFamily::WindowWait>(TagId::kWaitwlf, *this);
    in.Claim<&WaitFamily::ProgramWait>(TagId::kWaitprog, *this);
    in.Claim<&WaitFamily::TextWait>(TagId::kWaittxty, *this);
    in.Claim<&WaitFamily::TextWait>(TagId::kWaittxtn, *this);
    in.Claim<&WaitFamily::KeyWait>(TagId::kWaitkey, *this);
    for (TagId id : {TagId::kWaitlm, TagId::kWaitrm, TagId::kWaitmm}) in.Claim<&WaitFamily::ClickWait>(id, *this);
    in.Claim<&WaitFamily::KeySync>(TagId::kWaitpb, *this);
    in.Claim<&WaitFamily::TimeWait>(TagId::kWaittime, *this);
  }

 private:
  static std::int32_t Minutes(const CommandFields& f) { return f.Whole(cmd::wait_for::kMinutes); }
  static std::string What(Interpreter& in, const CommandFields& f) {
    std::string what(f.Raw(cmd::wait_for::kWhat));
    if (what.find("%T") != std::string::npos) in.Host().ProcessStringVar(what, kShortText);
    return what;
  }
  static void TimedOut(Interpreter& in, const char* caption, const std::string& message, std::int32_t minutes) {
    in.Fail(caption, message + "within the specified time of " + std::to_string(minutes) + kAbortTail);
  }
  // The hook library asked for a report, or the run failed because there is none.
  static bool Ask(Interpreter& in, WaitReport report) {
    if (in.Host().AskForReport(report, true)) return true;
    in.Fail("Wait Error", "The hook library is not available in this build. Macro will abort.");
    return false;
  }

  void WindowWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const CommandFields f = FieldsOf(level, tag, cmd::kWaitAt9);
    const std::int32_t minutes = Minutes(f);
    const std::string title = UpperAscii(What(in, f));
    platform::WindowSystem* windows =
        Facility(in, &platform::Platform::windows, "Wait For Window Error", "window system");
    if (windows == nullptr) return;
    const bool toFront = tag.id == TagId::kWaitwin;
    // The window in front becomes the macro's window while the wait watches it: always when it
    // waits for a window to lose the front, only without a time-out when it waits for one to
    // come (as the command has always done).
    const bool keepTarget = !toFront || minutes <= 0;
    const End end = Poll(in, LimitOf(minutes), [&] {
      const platform::WindowHandle w = windows->GetForegroundWindow();
      const std::string shown = w == platform::kNoWindow ? std::string() : windows->GetTitle(w);
      if (shown.empty()) return false;
      if (keepTarget) in.State().targetWindow = w;
      const bool holds = !title.empty() && UpperAscii(shown).find(title) != std::string::npos;
      return toFront ? holds : !holds;
    });
    if (end != End::kTimedOut) return;
    TimedOut(in, "Wait For Window Error",
             "The Window Title of \"" + title + (toFront ? "\" did not appear " : "\" did not lose focus "), minutes);
  }

  void ProgramWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const CommandFields f = FieldsOf(level, tag, cmd::kWaitAt10);
    const std::int32_t minutes = Minutes(f);
    const std::string name = UpperAscii(What(in, f));
    if (!in.Host().RunningPrograms(true)) {
      in.Fail("Wait For Program To Terminate Error",
              "The list of running programs is not available in this build. Macro will abort.");
      return;
    }
    // The list is made again every 2 seconds, as the program watch does.
    constexpr std::uint32_t kListEveryMs = 2000;
    std::uint32_t listed = in.Host().TickCount();
    const End end = Poll(in, LimitOf(minutes), [&] {
      const std::uint32_t now = in.Host().TickCount();
      const bool again = now - listed >= kListEveryMs;
      if (again) listed = now;
      const auto programs = in.Host().RunningPrograms(again);
      if (!programs) return true;
      return std::none_of(programs->begin(), programs->end(),
                          [&](const std::string& p) { return p.find(name) != std::string::npos; });
    });
    if (end != End::kTimedOut) return;
    TimedOut(in, "Wait For Program To Terminate Error", "The Program \"" + name + "\" did not terminate ", minutes);
  }

  void ClickWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const std::int32_t minutes = FieldsOf(level, tag, cmd::kWaitMouse).Whole(cmd::kOnly);
    const std::size_t button = tag.id == TagId::kWaitlm ? 0 : tag.id == TagId::kWaitrm ? 1 : 2;
    RunState& st = in.State();
    st.clickSeen = {};
    if (!Ask(in, WaitReport::kClick)) return;
    const End end = Poll(in, LimitOf(minutes), [&] { return st.clickSeen[button]; });
    in.Host().AskForReport(WaitReport::kClick, false);
    in.Host().PauseForNoSpeed(kAfterClickSeconds);
    if (end != End::kTimedOut) return;
    static const char* const kNames[] = {"Left", "Right", "Middle"};
    TimedOut(in, "Wait For Mouse Click Error", std::string(kNames[button]) + " click did not occur ", minutes);
  }

  void KeyWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const CommandFields f = FieldsOf(level, tag, cmd::kWaitKey);
    const std::int32_t minutes = Minutes(f);
    const std::string number(f.Raw(cmd::wait_for::kWhat));
    WaitKey key;
    if (!KeyOfNumber(ParseWholeNumber(number).value, key)) {
      // No key has that number: waiting for it could only end by its time-out or never.
      in.Fail("Wait For Key Press", "The key number " + number + " names no key. Macro will abort.");
      return;
    }
    RunState& st = in.State();
    st.keySeenCode = 0;
    if (!Ask(in, WaitReport::kKey)) return;
    const End end = Poll(in, LimitOf(minutes), [&] { return st.keySeenCode == key.vk; });
    in.Host().AskForReport(WaitReport::kKey, false);
    if (end != End::kTimedOut) return;
    TimedOut(in, "Wait For Key Press", "The \"" + key.name + "\" key was not pressed ", minutes);
  }

  void TextWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const CommandFields f = FieldsOf(level, tag, cmd::kWaitAt10);
    const std::int32_t minutes = Minutes(f);
    const std::string text = What(in, f);
    const bool exact = tag.id == TagId::kWaittxty;
    const std::string wanted = exact ? text : UpperAscii(text);
    RunState& st = in.State();
    st.waitTextLimit = static_cast<std::int32_t>(text.size());
    st.waitTextBuffer.clear();
    if (!Ask(in, WaitReport::kText)) return;
    const End end = Poll(in, LimitOf(minutes), [&] {
      return (exact ? st.waitTextBuffer : UpperAscii(st.waitTextBuffer)) == wanted;
    });
    in.Host().AskForReport(WaitReport::kText, false);
    if (end != End::kTimedOut) return;
    TimedOut(in, "Wait For Text Error", " Text \"" + text + "\" was not typed ", minutes);
  }

  // "<WAITPB>": the marker key goes out behind the keys already sent; the hook library reports
  // when it comes through. Bounded to 30 seconds, and ended by an abort too.
  static void KeySync(Interpreter& in, Level& /*level*/, const TagInfo& /*tag*/) {
    if (!Ask(in, WaitReport::kKeySync)) return;
    in.Host().PauseForNoSpeed(kBeforeMarkerSeconds);
    in.PressKey(vk::kExecute);
    Poll(in, kKeySyncLimitMs, [&] { return !in.Host().ReportAsked(WaitReport::kKeySync); });
    if (in.Host().ReportAsked(WaitReport::kKeySync)) in.Host().AskForReport(WaitReport::kKeySync, false);
  }

  // "<WAITTIME:": the exact time, whatever the playback speed, with the message queue running
  // so that the abort key can end it.
  static void TimeWait(Interpreter& in, Level& level, const TagInfo& tag) {
    const std::int32_t seconds = FieldsOf(level, tag, cmd::kWaittime).Whole(cmd::kOnly);
    if (seconds <= 0) return;
    Poll(in, static_cast<std::uint64_t>(seconds) * 1000, [] { return false; });
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeWaitFamily(Interpreter& in) { return std::make_unique<WaitFamily>(in); }

}  // namespace wdx::player
