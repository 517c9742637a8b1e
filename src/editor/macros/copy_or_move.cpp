#include "editor/macros/copy_or_move.h"

#include "editor/dialogs/dialog_layout.h"
#include "editor/dialogs/sched.h"
#include "editor/direct/direct_text.h"
#include "editor/direct/mod_hot_keys.h"
#include "shared/date_time.h"
#include "shared/hot_keys.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr int kClientWidth = 440;
constexpr int kAreaTop = 100;
constexpr std::size_t kAbbrekeyMax = 10;
constexpr std::size_t kTitleMax = 20;
constexpr int kButtonHeight = 23;

bool IsMenuScope(std::int16_t kind) { return kind == scope::kPopupMenu || kind == scope::kFloatingMenu; }

}  // namespace

std::string ActivationHeading(const std::string& verb, const TMacroRec& record) {
  const std::uint16_t code = record.ActivationCode();
  std::string what;
  if (code == wdx::activation::kTimed) {
    what = "Timed Macro";
  } else if (code == wdx::activation::kFloatingMenu) {
    what = "Floating Menu";
  } else if (code == wdx::activation::kAbbrekey) {
    what = record.Abbrekey();
  } else if (IsHotKeyIndex(code)) {
    what = std::string(HotKeyName(code));
  } else {
    what = "Macro";
  }
  return verb + " " + what + " TO";
}

std::optional<forms::Fault> CopyMoveModel::Store(TMacroRec& record, const HotKeyUse& use) const {
  const bool menu = IsMenuScope(record.ScopeKind());
  switch (kind) {
    case Kind::kTimed:
      record.SetActivationCode(wdx::activation::kTimed);
      return std::nullopt;
    case Kind::kAbbrekey: {
      const std::string trimmed(TrimView(name));
      if (trimmed.empty()) return forms::Fault{"AbbrekeyEntry", "No Abbrekey name was entered."};
      if (!ValidAbbrekey(trimmed)) return forms::Fault{"AbbrekeyEntry", kInvalidAbbrekeyText};
      record.SetActivationCode(wdx::activation::kAbbrekey);
      record.SetAbbrekey(trimmed.substr(0, kAbbrekeyMax));
      return std::nullopt;
    }
    case Kind::kHotKey:
      if (menu && noHotKey) {
        record.SetActivationCode(wdx::activation::kNone);
      } else {
        if (!IsHotKeyIndex(hotKey)) return forms::Fault{"HotKeyEntry", "No hot key selected.  Please select one."};
        if (record.ScopeKind() == scope::kGlobal && use.taken.test(static_cast<std::size_t>(hotKey))) {
          return forms::Fault{"HotKeyEntry", std::string("A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this "
                                                         "selection. The \"") +
                                                 (changeActivation ? "MOVE" : "COPY") + "\" did not take place."};
        }
        record.SetActivationCode(static_cast<std::uint16_t>(hotKey));
      }
      // A floating menu given a hot key (or none on this kind) becomes a popup menu.
      if (menu) record.SetScopeKind(scope::kPopupMenu);
      return std::nullopt;
    case Kind::kNone:
      if (menu) {
        record.SetActivationCode(wdx::activation::kFloatingMenu);
        record.SetScopeKind(scope::kFloatingMenu);
      } else {
        record.SetActivationCode(wdx::activation::kNone);
      }
      return std::nullopt;
    case Kind::kWindowTitle: {
      const std::string trimmed(TrimView(name));
      if (trimmed.empty()) return forms::Fault{"AbbrekeyEntry", "No Window Title was entered."};
      record.SetActivationCode(wdx::activation::kWindowTitle);
      record.SetScopeText(trimmed);
      return std::nullopt;
    }
    case Kind::kMouseClick:
      if (std::optional<forms::Fault> fault = StoreMouseChoice(mouse, record)) return fault;
      record.SetActivationCode(wdx::activation::kMouseClick);
      return std::nullopt;
  }
  return std::nullopt;
}

TCopyOrMove::TCopyOrMove(TMainWin& main, EditorContext& context, const DialogServices& services)
    : Form("CopyOrMove", "Copy Hot Key"),
      Keys(*this, [&context](platform::WindowHandle w, bool on) { context.link->SetSecWind(w, on); }),
      Mouse(*this, *context.platform.boxes, [this] { EnableDisable(); }),
      main_(main),
      context_(context),
      services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(kClientWidth, 420);
  const int inner = kClientWidth - 2 * layout::kMargin;
  HeadPanel.SetBounds(layout::kMargin, 6, inner, 24);
  HotKeyLabel.SetBounds(6, 4, inner - 12, 16);
  forms::Font bold = HotKeyLabel.font();
  bold.bold = true;
  HotKeyLabel.SetFont(bold);
  KindGroup.SetBounds(layout::kMargin, 34, inner, 62);
  forms::RadioButton* const kinds[] = {&UseHotKey, &UseAbbrekey, &TimedMacro, &UseTitle, &UseMouse, &UseNone};
  // Two rows of three, in tab order.
  for (int i = 0; i < 6; ++i) kinds[i]->SetBounds(12 + (i % 3) * (inner / 3), 16 + (i / 3) * 22, inner / 3 - 14, 20);
  for (forms::RadioButton* k : kinds) k->onClick = [this] { ChooseKind(); };
  Keys.HotKeyEntry.SetBounds(layout::kMargin, kAreaTop, 200, layout::kEditHeight);
  HotKeyLab.SetBounds(216, kAreaTop + 3, 160, 16);
  SetNone.SetBounds(layout::kMargin, kAreaTop + 26, 200, 20);
  AbbrekeyLabel.SetBounds(layout::kMargin, kAreaTop + 4, 100, 16);
  AbbrekeyEntry.SetBounds(110, kAreaTop, 200, layout::kEditHeight);
  Mouse.Place(layout::kMargin, kAreaTop - 2, inner);

  Keys.onChoose = [this] { TimedMacro.SetChecked(false); };
  SetNone.onClick = [this] { EnableDisable(); };
  OkButton.SetDefault(true);
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  OkButton.onClick = [this] { OkButtonClick(); };
  HelpButton.onClick = [this] {
    if (services_.help != nullptr)
      services_.help->ShowKeyword(Handle(), services_.HelpFile(), ChangeActivation == 1 ? "Move Macro" : "Copy Macro");
  };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { Keys.Register(false); };
  onMessage = [this](std::uint32_t message, std::uint64_t wparam, std::int64_t) { return Keys.Message(message, wparam); };
}

bool TCopyOrMove::IsMenu() const { return IsMenuScope(main_.CurMacro.ScopeKind()); }

void TCopyOrMove::FormShow() {
  SetCaption(ChangeActivation == 1 ? "Change Macro Activation" : "Copy Hot Key");
  if (IsMenu()) {
    UseHotKey.SetCaption("&Popup Menu");
    UseNone.SetCaption("&Floating Menu");
    UseNone.SetBounds(UseAbbrekey.left(), UseAbbrekey.top(), UseAbbrekey.width(), UseAbbrekey.height());
    for (forms::RadioButton* k : {&UseAbbrekey, &TimedMacro, &UseTitle, &UseMouse}) {
      k->SetVisible(false);
      k->SetEnabled(false);
    }
  }
  // Global and popup-menu macros take their keys; a macro never stands in its own way.
  Taken = CountHotKeyUse(*context_.glob, {scope::kGlobal, scope::kPopupMenu}, ChangeActivation == 1 ? MacroNumber : 0);
  Keys.Fill(Taken);
  UseHotKey.SetChecked(true);
  Mouse.Reset();
  EnableDisable();
  services_.Centre(*this);
  Keys.HotKeyEntry.SetFocus();
}

CopyMoveModel TCopyOrMove::Read() const {
  CopyMoveModel m;
  using Kind = CopyMoveModel::Kind;
  const std::pair<const forms::RadioButton*, Kind> kinds[] = {
      {&UseHotKey, Kind::kHotKey}, {&UseAbbrekey, Kind::kAbbrekey}, {&TimedMacro, Kind::kTimed},
      {&UseTitle, Kind::kWindowTitle}, {&UseMouse, Kind::kMouseClick}, {&UseNone, Kind::kNone}};
  for (const auto& [button, kind] : kinds) {
    if (button->checked()) m.kind = kind;
  }
  m.hotKey = Keys.Selected();
  m.noHotKey = IsMenu() && SetNone.checked();
  m.name = AbbrekeyEntry.text();
  m.mouse = Mouse.Read();
  m.changeActivation = ChangeActivation == 1;
  return m;
}

void TCopyOrMove::ChooseKind() {
  EnableDisable();
  if (UseAbbrekey.checked() || UseTitle.checked()) AbbrekeyEntry.SetFocus();
  if (UseHotKey.checked() && !SetNone.checked()) Keys.HotKeyEntry.SetFocus();
}

void TCopyOrMove::EnableDisable() {
  const bool hotKey = UseHotKey.checked();
  const bool named = UseAbbrekey.checked() || UseTitle.checked();
  const bool mouse = UseMouse.checked();
  const bool menu = IsMenu();
  const bool keysUsable = hotKey && !(menu && SetNone.checked());
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Keys.HotKeyEntry, &HotKeyLab, &Keys.KeyList}) {
    c->SetVisible(hotKey);
    c->SetEnabled(keysUsable);
  }
  SetNone.SetVisible(hotKey && menu);
  SetNone.SetEnabled(hotKey && menu);
  // Whole rows only, down to just above the buttons.
  const int listTop = kAreaTop + (menu ? 50 : 28);
  Keys.KeyList.SetBounds(layout::kMargin, listTop, kClientWidth - 2 * layout::kMargin,
                         (menu ? 13 : 14) * HotKeyChooser::kRowHeight + 4);
  AbbrekeyLabel.SetVisible(named);
  AbbrekeyEntry.SetVisible(named);
  AbbrekeyEntry.SetEnabled(named);
  if (named) {
    AbbrekeyLabel.SetCaption(UseTitle.checked() ? "Window Title" : "Abbrekey Name");
    AbbrekeyEntry.SetMaxLength(static_cast<int>(UseTitle.checked() ? kTitleMax : kAbbrekeyMax));
  }
  Mouse.Show(mouse);

  const int buttonsTop = hotKey ? 396 : named ? 127 : mouse ? 235 : 99;
  SetClientSize(kClientWidth, buttonsTop + kButtonHeight + 1);
  int left = (kClientWidth - 3 * layout::kButtonWidth - 2 * layout::kMargin) / 2;
  for (forms::Button* b : {&OkButton, &CancelButton, &HelpButton}) {
    b->SetBounds(left, buttonsTop, layout::kButtonWidth, kButtonHeight);
    left += layout::kButtonWidth + layout::kMargin;
  }
}

void TCopyOrMove::OkButtonClick() {
  const CopyMoveModel choice = Read();
  TMacroRec& record = main_.CurMacro;
  TMacroRec draft = record;
  if (choice.kind == CopyMoveModel::Kind::kTimed) {
    if (draft.ActivationCode() != wdx::activation::kTimed)
      DefaultTimer(draft, DecodeDateTime(context_.platform.clock->Now()));
    choice.Store(draft, Taken);
    record = draft;
    // Whatever closes the schedule dialog, the macro is timed now (with the default schedule
    // when the dialog was cancelled).
    TDoSchedule schedule(record, *context_.platform.clock, services_);
    context_.forms->ShowModal(schedule);
  } else {
    if (const std::optional<forms::Fault> fault = choice.Store(draft, Taken)) {
      context_.platform.boxes->Show(Handle(), fault->message, fault->caption, platform::mb::kOk);
      if (forms::Control* field = Find(fault->field)) field->SetFocus();
      return;
    }
    if (choice.kind == CopyMoveModel::Kind::kHotKey && !choice.noHotKey &&
        !AcceptReservedKey(choice.hotKey, *context_.platform.boxes, Handle()))
      return;
    record = draft;
  }
  if (ChangeActivation == 0) {
    context_.glob->SetMacroCount(context_.glob->MacroCount() + 1);
    context_.link->UpNumKeys();
  }
  Accepted = 1;
  Keys.Register(false);
  SetModalResult(forms::ModalResult::kOk);
  Close();
}

}  // namespace wdx::editor
