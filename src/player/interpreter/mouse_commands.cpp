// Mouse commands: the three buttons pressed, released, clicked and double-clicked, the wheel,
// pointer moves to a screen point, by an offset from the pointer, to a point of the window in
// front, and to the text caret. Events go out as synthesised input, so they reach whatever
// window is under the pointer. With the mouse-action delay on, each command waits once first.
#include <cmath>
#include <cstdint>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/globals.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

namespace mf = platform::mouseflag;
constexpr std::int32_t kWheelDelta = 120;
constexpr std::size_t kCoordinateWidth = 5;

class MouseFamily final : public CommandFamily {
 public:
  explicit MouseFamily(Interpreter& in) : in_(in) {
    in.Claim<&MouseFamily::Buttons>(TagFamily::kMouseButtons, *this);
    in.Claim<&MouseFamily::Moves>(TagFamily::kMouseMoves, *this);
  }
  // The screen is measured once per run: a display change during a run is not seen by its
  // later moves.
  void ResetForRun() override {
    screen_ = ScreenFactors{};
    platform::Platform* p = in_.Host().GetPlatform();
    if (p != nullptr && p->input != nullptr) GetScreenFactors(*p->input, screen_);
  }

 private:
  static platform::Input* Input(Interpreter& in) {
    return Facility(in, &platform::Platform::input, "Mouse Command Failed", "mouse input");
  }
  static void Delay(Interpreter& in) {
    if (in.State().mouseDelayOn) in.WaitScaledMs(in.State().mouseDelay);
  }

  void Buttons(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
    platform::Input* input = Input(in);
    if (input == nullptr) return;
    struct Button {
      std::uint32_t down, up;
      int presses;  // 0: down only, -1: up only, 1: click, 2: double click
    };
    Button b{};
    switch (tag.id) {
      case TagId::kLdn: b = {mf::kLeftDown, 0, 0}; break;
      case TagId::kLup: b = {0, mf::kLeftUp, -1}; break;
      case TagId::kLclk: b = {mf::kLeftDown, mf::kLeftUp, 1}; break;
      case TagId::kLdclk: b = {mf::kLeftDown, mf::kLeftUp, 2}; break;
      case TagId::kRdn: b = {mf::kRightDown, 0, 0}; break;
      case TagId::kRup: b = {0, mf::kRightUp, -1}; break;
      case TagId::kRclk: b = {mf::kRightDown, mf::kRightUp, 1}; break;
      case TagId::kRdclk: b = {mf::kRightDown, mf::kRightUp, 2}; break;
      case TagId::kMdn: b = {mf::kMiddleDown, 0, 0}; break;
      case TagId::kMup: b = {0, mf::kMiddleUp, -1}; break;
      case TagId::kMclk: b = {mf::kMiddleDown, mf::kMiddleUp, 1}; break;
      case TagId::kMdclk: b = {mf::kMiddleDown, mf::kMiddleUp, 2}; break;
      default: return;
    }
    Delay(in);
    if (b.presses == 0) {
      in.MouseButton(*input, b.down);
    } else if (b.presses < 0) {
      in.MouseButton(*input, b.up);
    } else {
      for (int i = 0; i < b.presses; ++i) {
        in.MouseButton(*input, b.down);
        in.MouseButton(*input, b.up);
      }
    }
  }

  // A coordinate: a number with sign and fraction, or with "N" last the integer variable its
  // first four characters name (1..50; another number is the value itself).
  static double Coordinate(Interpreter& in, const CommandFields& f, std::size_t i) {
    const std::string_view field = f.Raw(i);
    if (field.size() == kCoordinateWidth && field.back() == 'N') {
      const double k = ParseRealNumber(field.substr(0, kCoordinateWidth - 1)).value;
      if (k > 0 && k <= 50) return in.State().vars.integer[static_cast<std::size_t>(std::trunc(k))];
      return k;
    }
    return ParseRealNumber(field).value;
  }

  void Moves(Interpreter& in, Level& level, const TagInfo& tag) {
    platform::Input* input = Input(in);
    if (input == nullptr) return;
    if (tag.id == TagId::kWfw || tag.id == TagId::kWbw) {
      const std::int64_t data = std::int64_t{FieldsOf(level, tag, cmd::kWheel).Whole(cmd::kOnly)} *
                                (tag.id == TagId::kWfw ? kWheelDelta : -kWheelDelta);
      Delay(in);
      input->MouseEvent(mf::kWheel, 0, 0, static_cast<std::int32_t>(data));
      return;
    }
    if (tag.id == TagId::kMmc) {
      MoveToCaret(in, *input);
      return;
    }
    double originX = 0;
    double originY = 0;
    if (tag.id == TagId::kMmp) {
      const platform::Point p = input->GetCursorPos();
      originX = p.x;
      originY = p.y;
    } else if (tag.id == TagId::kMmw) {
      platform::Platform* p = in.Host().GetPlatform();
      if (p != nullptr && p->windows != nullptr) {
        const platform::Rect r = p->windows->GetWindowRect(p->windows->GetForegroundWindow());
        originX = r.left;
        originY = r.top;
      }
    }
    const CommandFields f = FieldsOf(level, tag, cmd::kMouseMove);
    const double x = originX + Coordinate(in, f, cmd::mouse_move::kX);
    const double y = originY + Coordinate(in, f, cmd::mouse_move::kY);
    const std::int32_t ax = Absolute(x * screen_.MouseXFactor);
    const std::int32_t ay = Absolute(y * screen_.MouseYFactor);
    Delay(in);
    input->MouseEvent(mf::kMove | mf::kAbsolute, ax, ay, 0);
  }

  static std::int32_t Absolute(double v) {
    if (!(v > -2e9 && v < 2e9)) return v > 0 ? 2000000000 : -2000000000;  // far off the screen, and not a number
    return static_cast<std::int32_t>(std::trunc(v));
  }

  static void MoveToCaret(Interpreter& in, platform::Input& input) {
    Delay(in);
    platform::Platform* p = in.Host().GetPlatform();
    platform::Point caret{};
    if (p != nullptr && p->windows != nullptr && p->windows->ForegroundCaret(caret)) {
      input.SetCursorPos(caret);
      return;
    }
    const std::string message = "Could not move the mouse to the location of the caret.";
    if (in.State().logErrors) in.Host().LogError(message);
    if (in.State().showErrors) in.Host().DoAMessage("Error", message);
  }

  Interpreter& in_;
  ScreenFactors screen_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeMouseFamily(Interpreter& in) { return std::make_unique<MouseFamily>(in); }

}  // namespace wdx::player
