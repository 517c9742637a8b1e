// Labels and the plain containers: group boxes and panels.
#include "forms/controls.h"
#include "forms/user.h"
#include "forms/win32/adapters.h"

namespace wdx::forms::win32 {

namespace {

class LabelKind : public ControlAdapter {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    const auto& l = static_cast<const Label&>(c);
    NativeClass n{"STATIC", SS_NOTIFY};
    if (l.alignment() == Alignment::kCenter) {
      n.style |= SS_CENTER;
    } else if (l.alignment() == Alignment::kRight) {
      n.style |= SS_RIGHT;
    } else {
      n.style |= l.wordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
    }
    return n;
  }
  bool RecreateForOptions() const override { return true; }
  void Command(Native& n, int code) const override {
    if (code == STN_CLICKED) {
      user::Click(*n.control);
    } else if (code == STN_DBLCLK) {
      user::DoubleClick(*n.control);
    }
  }
};

class GroupBoxKind : public ControlAdapter {
 public:
  NativeClass Class(const Control&, const Control*) const override {
    return {"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS};
  }
};

// A bevelled panel is an etched frame without text; a flat one shows its caption centred.
class PanelKind : public ControlAdapter {
 public:
  NativeClass Class(const Control& c, const Control*) const override {
    if (static_cast<const Panel&>(c).bevel()) return {"STATIC", WS_CLIPSIBLINGS | SS_ETCHEDFRAME, 0, false};
    return {"STATIC", WS_CLIPSIBLINGS | SS_CENTER | SS_CENTERIMAGE};
  }
  bool RecreateForOptions() const override { return true; }
  void Apply(ViewAccess&, Native& n, unsigned props) const override {
    if ((props & prop::kText) && !static_cast<const Panel&>(*n.control).bevel()) ApplyText(n);
  }
};

}  // namespace

const ControlAdapter& LabelAdapter() { return The<LabelKind>(); }
const ControlAdapter& GroupBoxAdapter() { return The<GroupBoxKind>(); }
const ControlAdapter& PanelAdapter() { return The<PanelKind>(); }

}  // namespace wdx::forms::win32
