#include "player/prompts/cap_complete.h"

#include <algorithm>

#include "shared/hot_key_use.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr char kHelpKeyword[] = "Capture Complete";
constexpr std::size_t kNicknameMax = 50;
constexpr std::size_t kAbbrekeyMax = 10;
constexpr std::size_t kProgramScopeMax = 30;

// Layout: the three heights of the dialog by the kind of activation (where the buttons stand,
// and the client height below them).
constexpr int kHotKeyButtonsTop = 420, kHotKeyHeight = 443;
constexpr int kAbbrekeyButtonsTop = 181, kAbbrekeyHeight = 204;
constexpr int kNoneButtonsTop = 155, kNoneHeight = 178;
constexpr int kButtonWidth = 75, kButtonHeight = 23;

}  // namespace

CaptureCompleteModel CaptureCompleteModel::ForLibrary(const TGlobData& block, bool global) {
  CaptureCompleteModel m;
  m.global = global;
  const HotKeyUse use = CountHotKeyUse(block, {scope::kGlobal, scope::kPopupMenu, scope::kSystem});
  m.macrosUsing = use.macros;
  m.usedGlobally = use.taken;
  return m;
}

std::optional<forms::Fault> CaptureCompleteModel::Check() const {
  switch (activation) {
    case Activation::kHotKey:
      if (!IsHotKeyIndex(hotKey)) return forms::Fault{"HotKeyEntry", "No hot key selected.  Please select one."};
      if (global && usedGlobally.test(static_cast<std::size_t>(hotKey)))
        return forms::Fault{"HotKeyEntry",
                            "A Global Hot Key is already in use for the selected hot key.  Please select a different "
                            "one or choose the Program specific option."};
      break;
    case Activation::kAbbrekey:
      if (TrimView(abbrekey).empty()) return forms::Fault{"AbbrekeyName", "No Abbrekey name entered."};
      break;
    case Activation::kNone:
      break;
  }
  return std::nullopt;
}

std::string CaptureCompleteModel::Warning() const {
  return activation == Activation::kHotKey ? ReservedHotKeyQuestion(hotKey) : std::string();
}

void CaptureCompleteModel::ApplyTo(TMacroRec& record, const std::string& program) const {
  switch (activation) {
    case Activation::kHotKey:
      record.SetActivationCode(static_cast<std::uint16_t>(hotKey));
      break;
    case Activation::kAbbrekey:
      record.SetAbbrekey(std::string(TrimView(abbrekey)).substr(0, kAbbrekeyMax));
      record.SetActivationCode(activation::kAbbrekey);
      break;
    case Activation::kNone:
      record.SetActivationCode(activation::kNone);
      break;
  }
  record.SetNickname(std::string(TrimView(nickname)).substr(0, kNicknameMax));
  if (!global) {
    record.SetScopeKind(scope::kProgram);
    record.SetScopeText(program.substr(0, kProgramScopeMax));
    record.SetWindowMatch(1);
  }
}

TCapComplete::TCapComplete(CaptureCompleteModel& model, platform::MessageBoxes& boxes, platform::HelpFiles* help,
                           std::string helpFile, int screenWidth, int screenHeight,
                           std::function<void(platform::WindowHandle, bool)> setSecWind)
    : PromptForm("CapComplete", "Capture Complete"),
      model_(model),
      boxes_(boxes),
      help_(help),
      helpFile_(std::move(helpFile)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight),
      setSecWind_(std::move(setSecWind)) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kHotKeyHeight);
  forms::Font heading = font();
  heading.bold = true;
  Label1.SetBounds(8, 8, 344, 16);
  Label1.SetFont(heading);
  Label1.SetAlignment(forms::Alignment::kCenter);
  Label2.SetBounds(8, 26, 344, 16);
  Label2.SetAlignment(forms::Alignment::kCenter);
  NickNameLabel.SetBounds(8, 55, 64, 16);
  NickName.SetBounds(76, 51, 276, 21);
  NickName.SetMaxLength(static_cast<int>(kNicknameMax));
  MacroType.SetBounds(8, 78, 164, 72);
  UseHotKey.SetBounds(10, 16, 140, 17);
  UseAbbrekeys.SetBounds(10, 33, 140, 17);
  UseNone.SetBounds(10, 50, 140, 17);
  Scope.SetBounds(180, 78, 172, 72);
  GlobalButton.SetBounds(10, 16, 120, 17);
  ProgramButton.SetBounds(10, 33, 120, 17);
  AbbrekeyLabel.SetBounds(8, 159, 90, 16);
  AbbrekeyName.SetBounds(104, 155, 120, 21);
  AbbrekeyName.SetMaxLength(static_cast<int>(kAbbrekeyMax));
  HotKeyLabel.SetBounds(8, 158, 344, 16);
  SetHotKeyLabel.SetBounds(8, 183, 90, 16);
  HotKeyEntry.SetBounds(104, 179, 248, 21);
  HotKeyEntry.SetReadOnly(true);
  // Whole rows only: eleven of them and the border.
  KeyList.SetBounds(8, 208, 344, 11 * kRowHeight + 4);
  KeyList.SetItemHeight(kRowHeight);
  OkButton.SetDefault(true);

  UseHotKey.onClick = [this] { DisableEnable(); };
  UseAbbrekeys.onClick = [this] { DisableEnable(); };
  UseNone.onClick = [this] { DisableEnable(); };
  KeyList.onDrawItem = [this](int index, const platform::Rect& rect, bool selected, forms::Canvas& canvas) {
    KeyListDrawItem(index, rect, selected, canvas);
  };
  KeyList.onClick = [this] { KeyListClick(); };
  HotKeyEntry.onEnter = [this] { HotKeyEntryEnter(); };
  HotKeyEntry.onExit = [this] { HotKeyEntryExit(); };
  OkButton.onClick = [this] { OkButtonClick(); };
  HelpButton.onClick = [this] { HelpButtonClick(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { FormClose(); };
  onMessage = [this](std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
    return FormMessage(message, wparam, lparam);
  };
}

TCapComplete::~TCapComplete() { SetSecWind(false); }

void TCapComplete::FormShow() {
  accepted = false;
  FillList();
  NickName.SetText(model_.nickname);
  AbbrekeyName.SetText(model_.abbrekey);
  UseHotKey.SetChecked(model_.activation == CaptureCompleteModel::Activation::kHotKey);
  UseAbbrekeys.SetChecked(model_.activation == CaptureCompleteModel::Activation::kAbbrekey);
  UseNone.SetChecked(model_.activation == CaptureCompleteModel::Activation::kNone);
  GlobalButton.SetChecked(model_.global);
  ProgramButton.SetChecked(!model_.global);
  if (IsHotKeyIndex(model_.hotKey)) ChooseRow(model_.hotKey);
  DisableEnable();
  SetBounds((screenWidth_ - width()) / 2, (screenHeight_ - height()) / 2, width(), height());
  if (model_.activation == CaptureCompleteModel::Activation::kHotKey) SetFocus(&HotKeyEntry);
  Shown();
}

void TCapComplete::FillList() {
  HotKeyUse use;
  use.macros = model_.macrosUsing;
  KeyList.SetItems(use.Rows());
}

void TCapComplete::KeyListDrawItem(int index, const platform::Rect& rect, bool /*selected*/, forms::Canvas& canvas) {
  // The key's name at the left, how many macros use it from three fifths of the row.
  const HotKeyRowColumns row = SplitHotKeyListRow(KeyList.item(index));
  canvas.WriteText(rect.left + 2, rect.top + 2, row.name, rect);
  canvas.WriteText(rect.left + (rect.right - rect.left) * 3 / 5, rect.top + 2, row.use, rect);
}

void TCapComplete::ChooseRow(int index) {
  if (index < 0 || index >= KeyList.count()) return;
  KeyList.SetItemIndex(index);
  HotKeyEntry.SetText(std::string(HotKeyName(index)));
}

void TCapComplete::KeyListClick() { ChooseRow(KeyList.itemIndex()); }

void TCapComplete::SetSecWind(bool on) {
  if (on == secWindOn_ || !setSecWind_) return;
  secWindOn_ = on;
  setSecWind_(on ? Handle() : platform::kNoWindow, on);
}

void TCapComplete::HotKeyEntryEnter() { SetSecWind(true); }
void TCapComplete::HotKeyEntryExit() { SetSecWind(false); }

bool TCapComplete::FormMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t /*lparam*/) {
  if (message != UM_HOTKEYINDEX) return false;
  if (wparam < static_cast<std::uint64_t>(KeyList.count())) ChooseRow(static_cast<int>(wparam));
  return true;
}

void TCapComplete::DisableEnable() {
  const bool hotKeys = UseHotKey.checked();
  const bool abbrekeys = UseAbbrekeys.checked();
  AbbrekeyLabel.SetVisible(abbrekeys);
  AbbrekeyName.SetVisible(abbrekeys);
  HotKeyLabel.SetVisible(hotKeys);
  SetHotKeyLabel.SetVisible(hotKeys);
  HotKeyEntry.SetVisible(hotKeys);
  KeyList.SetVisible(hotKeys);
  const int buttonsTop = hotKeys ? kHotKeyButtonsTop : abbrekeys ? kAbbrekeyButtonsTop : kNoneButtonsTop;
  const int height = hotKeys ? kHotKeyHeight : abbrekeys ? kAbbrekeyHeight : kNoneHeight;
  OkButton.SetBounds(kClientWidth / 2 - kButtonWidth - 6, buttonsTop, kButtonWidth, kButtonHeight);
  HelpButton.SetBounds(kClientWidth / 2 + 6, buttonsTop, kButtonWidth, kButtonHeight);
  SetClientSize(kClientWidth, height);
}

void TCapComplete::OkButtonClick() {
  CaptureCompleteModel draft = model_;
  draft.nickname = NickName.text();
  draft.abbrekey = AbbrekeyName.text();
  draft.activation = UseHotKey.checked()      ? CaptureCompleteModel::Activation::kHotKey
                     : UseAbbrekeys.checked() ? CaptureCompleteModel::Activation::kAbbrekey
                                              : CaptureCompleteModel::Activation::kNone;
  draft.hotKey = KeyList.itemIndex();
  draft.global = GlobalButton.checked();
  const std::optional<forms::Fault> fault = draft.Check();
  if (!fault && !draft.Warning().empty()) {
    if (boxes_.Show(Handle(), draft.Warning(), "Warning", platform::mb::kYesNo) != platform::mb::kIdYes) return;
  }
  if (!fault) model_ = draft;
  accepted = forms::Accept(*this, fault, boxes_);
}

void TCapComplete::FormClose() { SetSecWind(false); }

void TCapComplete::HelpButtonClick() {
  if (help_ != nullptr) help_->ShowKeyword(Handle(), helpFile_, kHelpKeyword);
}

}  // namespace wdx::player
