#include "hook/capture_recorder.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "hook/hot_key_lookup.h"
#include "platform/virtual_keys.h"

namespace wdx::hook {
namespace {

// Delays of at least this many milliseconds are kept; shorter gaps are the rhythm of typing
// noise, not pauses the user meant.
constexpr std::uint32_t kMinDelayMs = 20;

bool IsAlt(std::uint8_t k) { return k == vk::kMenu || k == vk::kLMenu || k == vk::kRMenu; }
bool IsWin(std::uint8_t k) { return k == vk::kLWin || k == vk::kRWin; }

// The key tag of a key that types no plain character (or is typed with Ctrl or Alt).
std::string_view KeyTag(std::uint8_t k) {
  switch (k) {
    case vk::kTab: return "<TAB>";
    case vk::kReturn: return "<ENTER>";
    case vk::kBack: return "<BACKSPACE>";
    case vk::kEscape: return "<ESC>";
    case vk::kSpace: return "<SPACE>";
    case vk::kLeft: return "<LEFT ARROW>";
    case vk::kRight: return "<RIGHT ARROW>";
    case vk::kUp: return "<UP ARROW>";
    case vk::kDown: return "<DOWN ARROW>";
    case vk::kHome: return "<HOME>";
    case vk::kEnd: return "<END>";
    case vk::kInsert: return "<INSERT>";
    case vk::kDelete: return "<DELETE>";
    case vk::kNext: return "<PAGE DOWN>";
    case vk::kPrior: return "<PAGE UP>";
    case vk::kSnapshot: return "<PRTSCR>";
    case vk::kScroll: return "<SCRLOCK>";
    case vk::kPause: return "<PAUSEKEY>";
    case vk::kCapital: return "<CAPLOCK>";
    case vk::kNumLock: return "<NUMLOCK>";
    case vk::kApps: return "<APP>";
    case vk::kDecimal: return "<KEYP.>";
    case vk::kDivide: return "<KEYP/>";
    case vk::kMultiply: return "<KEYP*>";
    case vk::kSubtract: return "<KEYP->";
    case vk::kAdd: return "<KEYP+>";
    default: return {};
  }
}

std::string FunctionOrKeypadTag(std::uint8_t k) {
  char buf[16];
  if (k >= vk::kF1 && k <= vk::kF24) {
    std::snprintf(buf, sizeof buf, "<F%d>", k - vk::kF1 + 1);
    return buf;
  }
  if (k >= vk::kNumpad0 && k <= vk::kNumpad0 + 9) {
    std::snprintf(buf, sizeof buf, "<KEYP%d>", k - vk::kNumpad0);
    return buf;
  }
  return std::string(KeyTag(k));
}

// A five-character coordinate field of the mouse-move tags.
std::string Field(std::int32_t v) {
  v = std::clamp(v, -9999, 99999);
  char buf[16];
  if (v < 0) {
    std::snprintf(buf, sizeof buf, "-%04d", -v);
  } else {
    std::snprintf(buf, sizeof buf, "%05d", v);
  }
  return buf;
}

}  // namespace

void CaptureRecorder::Start() { *this = CaptureRecorder(); }

std::string CaptureRecorder::Delay(std::uint32_t time, const CaptureOptions& options) {
  std::string out;
  if (options.time && started_) {
    std::uint32_t gap = time - lastTime_;
    while (gap >= kMinDelayMs) {
      char buf[24];
      if (gap < 10000) {
        std::snprintf(buf, sizeof buf, "<MSD:%04u>", gap);
        gap = 0;
      } else {
        // Whole seconds up to 99 per tag; the rest in further tags.
        const std::uint32_t seconds = std::min<std::uint32_t>(gap / 1000, 99);
        std::snprintf(buf, sizeof buf, "<DELAY:%02u.00>", seconds);
        gap -= seconds * 1000;
      }
      out += buf;
    }
  }
  started_ = true;
  lastTime_ = time;
  return out;
}

std::string CaptureRecorder::KeyDown(std::uint8_t k, std::uint8_t modifiers, char typed, char plain,
                                     std::uint32_t time, const CaptureOptions& options) {
  if (IsModifierKey(k)) {
    altAlone_ = IsAlt(k) || (altAlone_ && !IsWin(k));
    winAlone_ = IsWin(k) || (winAlone_ && !IsAlt(k));
    return {};
  }
  altAlone_ = winAlone_ = false;
  if (!options.keys) return {};
  const bool ctrl = modifiers & kModCtrl;
  const bool alt = modifiers & kModAlt;
  const bool shift = modifiers & kModShift;
  const bool win = modifiers & kModWin;

  std::string text;
  if (!ctrl && !alt && typed != 0 && k != vk::kReturn && k != vk::kTab && k != vk::kBack && k != vk::kEscape) {
    text.assign(1, typed);  // Shift and Caps Lock are already in the character
  } else {
    std::string tag = FunctionOrKeypadTag(k);
    if (tag.empty() && plain != 0) tag.assign(1, plain);
    if (tag.empty()) return {};  // a key the macro language cannot press
    if (ctrl) text += "<CTRL>";
    if (alt) text += "<ALT>";
    if (shift) text += "<SHIFT>";
    text += tag;
  }
  if (win) text = "<WIND>" + text + "<WINU>";
  return Delay(time, options) + text;
}

std::string CaptureRecorder::KeyUp(std::uint8_t k, std::uint32_t time, const CaptureOptions& options) {
  std::string text;
  if (IsAlt(k) && altAlone_ && options.keys && options.doubleAlt) text = Delay(time, options) + "<ALT><ALT>";
  if (IsWin(k) && winAlone_ && options.keys) text = Delay(time, options) + "<LEFTWIN>";
  if (IsAlt(k)) altAlone_ = false;
  if (IsWin(k)) winAlone_ = false;
  return text;
}

std::string CaptureRecorder::Position(platform::Point p, const platform::Rect& window,
                                      const CaptureOptions& options) {
  std::string tag;
  if (options.relative == 2) {
    tag = "<MMW:" + Field(p.x - window.left) + "," + Field(p.y - window.top) + ">";
  } else if (options.relative == 3 && havePoint_) {
    tag = "<MMP:" + Field(p.x - lastPoint_.x) + "," + Field(p.y - lastPoint_.y) + ">";
  } else {
    tag = "<MMS:" + Field(p.x) + "," + Field(p.y) + ">";
  }
  lastPoint_ = p;
  havePoint_ = true;
  return tag;
}

std::string CaptureRecorder::MouseButton(int button, bool down, platform::Point p, const platform::Rect& window,
                                         std::uint32_t time, const CaptureOptions& options) {
  altAlone_ = winAlone_ = false;
  if (!options.mouse || button < 1 || button > 3) return {};
  static constexpr const char* kDown[] = {"", "<LDN>", "<RDN>", "<MDN>"};
  static constexpr const char* kUp[] = {"", "<LUP>", "<RUP>", "<MUP>"};
  static constexpr const char* kClick[] = {"", "<LCLK>", "<RCLK>", "<MCLK>"};
  if (options.clicksOnly) return down ? std::string() : Delay(time, options) + kClick[button];
  std::string text = Delay(time, options);
  if (down) {
    downPoint_ = p;
    return text + Position(p, window, options) + kDown[button];
  }
  if (!(p == downPoint_)) text += Position(p, window, options);  // a drag ends elsewhere
  return text + kUp[button];
}

}  // namespace wdx::hook
