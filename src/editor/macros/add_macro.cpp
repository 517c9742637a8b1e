#include "editor/macros/add_macro.h"

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "editor/direct/direct_text.h"
#include "shared/hot_keys.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr int kClientWidth = 520;
constexpr int kAreaTop = 94;
constexpr std::size_t kAbbrekeyMax = 10;
constexpr std::size_t kTitleMax = 20;

// The client height by kind: the tall list, one field, the mouse panels, nothing.
constexpr int kListHeight = 419;
constexpr int kNameHeight = 180;
constexpr int kMouseHeight = 280;
constexpr int kPlainHeight = 149;

}  // namespace

// ---------------------------------------------------------------------------------------------
// The model

std::optional<forms::Fault> AddMacroModel::Store(TMacroRec& record) const {
  switch (kind) {
    case Kind::kHotKeys:
      if (!IsHotKeyIndex(hotKey)) return forms::Fault{"HotKeyEntry", kNoHotKeySelectedText};
      record.SetActivationCode(static_cast<std::uint16_t>(hotKey));
      return std::nullopt;
    case Kind::kAbbrekeys: {
      const std::string trimmed(TrimView(name));
      if (trimmed.empty()) return forms::Fault{"AbbrekeyName", "No Abbrekey name entered."};
      // A recording stores the name as it is: a character no Abbrekey may hold is refused here.
      if (!ValidAbbrekey(trimmed)) return forms::Fault{"AbbrekeyName", kInvalidAbbrekeyText};
      record.SetAbbrekey(trimmed.substr(0, kAbbrekeyMax));
      record.SetActivationCode(wdx::activation::kAbbrekey);
      return std::nullopt;
    }
    case Kind::kWindowTitle: {
      const std::string trimmed(TrimView(name));
      if (trimmed.empty()) return forms::Fault{"AbbrekeyName", "No Window title has been entered."};
      record.SetScopeText(trimmed);
      record.SetActivationCode(wdx::activation::kWindowTitle);
      return std::nullopt;
    }
    case Kind::kMouseClick:
      if (std::optional<forms::Fault> fault = StoreMouseChoice(mouse, record)) return fault;
      record.SetActivationCode(wdx::activation::kMouseClick);
      return std::nullopt;
    case Kind::kTimed:
      record.SetActivationCode(wdx::activation::kTimed);
      return std::nullopt;
    case Kind::kNone:
      record.SetActivationCode(wdx::activation::kNone);
      return std::nullopt;
    case Kind::kPopupMenu:
    case Kind::kFloatingMenu:
      break;
  }
  return forms::Fault{"", "A menu is made in the menu builder."};
}

std::optional<forms::Fault> AddMacroModel::StoreMenu(TMacroRec& record, bool hasUserMacros, const HotKeyUse& use) const {
  if (!hasUserMacros) return forms::Fault{"", kNoMacrosForMenuText};
  if (kind == Kind::kFloatingMenu) {
    record.SetActivationCode(wdx::activation::kFloatingMenu);
    return std::nullopt;
  }
  if (noHotKey) {
    record.SetActivationCode(wdx::activation::kNone);
    return std::nullopt;
  }
  if (!IsHotKeyIndex(hotKey)) return forms::Fault{"HotKeyEntry", kNoHotKeySelectedText};
  if (use.taken.test(static_cast<std::size_t>(hotKey))) return forms::Fault{"HotKeyEntry", kMenuKeyTakenText};
  record.SetActivationCode(static_cast<std::uint16_t>(hotKey));
  return std::nullopt;
}

std::int32_t AddMacroModel::EditorType() const {
  switch (kind) {
    case Kind::kAbbrekeys:
      return activation::kAbbrekey;
    case Kind::kTimed:
      return activation::kTimed;
    case Kind::kWindowTitle:
      return activation::kWindowTitle;
    case Kind::kMouseClick:
      return activation::kMouseClick;
    case Kind::kNone:
      return activation::kNone;
    default:
      return activation::kHotKey;
  }
}

// ---------------------------------------------------------------------------------------------
// The form

TAddNewHotKey::TAddNewHotKey(TMainWin& main, EditorContext& context, DirectEditorServices& services,
                             const SubEditors& editors)
    : Form("AddNewHotKey", "Add Macro"),
      Keys(*this, [&context](platform::WindowHandle w, bool on) { context.link->SetSecWind(w, on); }),
      Mouse(*this, *context.platform.boxes, [this] { DisableEnable(); }),
      main_(main),
      context_(context),
      services_(services),
      editors_(editors) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(kClientWidth, kListHeight);
  const int inner = kClientWidth - 2 * layout::kMargin;

  KindGroup.SetBounds(layout::kMargin, 6, inner, 78);
  forms::RadioButton* const kinds[] = {&UseHotKey, &UseAbbrekeys, &TimedMacro, &UseTitle,
                                       &UsePopup,  &UseMouse,     &UseFloat,   &UseBuilding};
  // Two rows of four, in tab order.
  for (int i = 0; i < 8; ++i) kinds[i]->SetBounds(12 + (i % 4) * (inner / 4), 20 + (i / 4) * 26, inner / 4 - 8, 20);
  for (forms::RadioButton* k : kinds) k->onClick = [this] { ChooseKind(); };

  HotKeyLabel.SetBounds(layout::kMargin, kAreaTop, inner, 16);
  SetHotKeyLabel.SetBounds(layout::kMargin, kAreaTop + 25, 100, 16);
  Keys.HotKeyEntry.SetBounds(110, kAreaTop + 21, inner - 102, layout::kEditHeight);
  SetNone.SetBounds(layout::kMargin, kAreaTop + 48, 200, 20);
  AbbrekeyLabel.SetBounds(layout::kMargin, kAreaTop + 12, 100, 16);
  AbbrekeyName.SetBounds(110, kAreaTop + 8, 200, layout::kEditHeight);
  Mouse.Place(layout::kMargin, kAreaTop + 4, inner);

  Keys.onChoose = [this] { RefreshSelectedTaken(); };
  Keys.onFocus = [this](bool focused) { HotKeyFocus(focused); };
  SetNone.onClick = [this] { DisableEnable(); };
  ScriptButton.SetDefault(true);
  AbortButton.SetCancel(true);
  ScriptButton.onClick = [this] { DoTheScript(); };
  EnterKeyButton.onClick = [this] { DoModify(); };
  CaptureKeyButton.onClick = [this] { DoCapture(); };
  AbortButton.onClick = [this] { Close(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { Keys.Register(false); };
  onMessage = [this](std::uint32_t message, std::uint64_t wparam, std::int64_t) { return Keys.Message(message, wparam); };
}

int TAddNewHotKey::Box(const std::string& text, const std::string& caption, unsigned flags) {
  return context_.platform.boxes->Show(Handle(), text, caption, flags);
}

void TAddNewHotKey::FormShow() {
  const TGlobData& glob = *context_.glob;
  Taken = CountHotKeyUse(glob, {scope::kGlobal, scope::kPopupMenu, scope::kSystem});
  HasUserMacros = 0;
  for (int i = 1; i <= std::min(glob.MacroCount(), kGlobMaxMacros); ++i) {
    if (glob.ScopeKind(i) != scope::kSystem) HasUserMacros = 1;
  }
  SelectedTaken = 0;
  MenuMade = 0;
  FloatMade = 0;
  Keys.Fill(Taken);
  UseHotKey.SetChecked(true);
  Mouse.Reset();
  DisableEnable();
  services_.dialogs.Centre(*this);
  Keys.HotKeyEntry.SetFocus();
}

AddMacroModel TAddNewHotKey::Read() const {
  AddMacroModel m;
  using Kind = AddMacroModel::Kind;
  const std::pair<const forms::RadioButton*, Kind> kinds[] = {
      {&UseHotKey, Kind::kHotKeys}, {&UseAbbrekeys, Kind::kAbbrekeys}, {&TimedMacro, Kind::kTimed},
      {&UseTitle, Kind::kWindowTitle}, {&UsePopup, Kind::kPopupMenu}, {&UseMouse, Kind::kMouseClick},
      {&UseFloat, Kind::kFloatingMenu}, {&UseBuilding, Kind::kNone}};
  for (const auto& [button, kind] : kinds) {
    if (button->checked()) m.kind = kind;
  }
  m.hotKey = Keys.Selected();
  m.noHotKey = SetNone.checked();
  m.name = AbbrekeyName.text();
  m.mouse = Mouse.Read();
  return m;
}

void TAddNewHotKey::ChooseKind() {
  DisableEnable();
  if (UseAbbrekeys.checked() || UseTitle.checked()) AbbrekeyName.SetFocus();
}

void TAddNewHotKey::DisableEnable() {
  const bool hotKeys = UseHotKey.checked();
  const bool popup = UsePopup.checked();
  const bool menu = popup || UseFloat.checked();
  const bool named = UseAbbrekeys.checked() || UseTitle.checked();
  const bool mouse = UseMouse.checked();
  const bool list = hotKeys || popup;
  const bool keysUsable = hotKeys || (popup && !SetNone.checked());

  for (forms::Control* c : std::initializer_list<forms::Control*>{&HotKeyLabel, &SetHotKeyLabel, &Keys.HotKeyEntry, &Keys.KeyList}) {
    c->SetVisible(list);
    c->SetEnabled(list && keysUsable);
  }
  // Whole rows only, down to just above the buttons.
  const int listTop = kAreaTop + (popup ? 72 : 50);
  const int rows = popup ? 11 : 12;
  Keys.KeyList.SetBounds(layout::kMargin, listTop, kClientWidth - 2 * layout::kMargin,
                         rows * HotKeyChooser::kRowHeight + 4);
  SetNone.SetVisible(popup);
  SetNone.SetEnabled(popup);
  AbbrekeyLabel.SetVisible(named);
  AbbrekeyName.SetVisible(named);
  AbbrekeyName.SetEnabled(named);
  if (named) {
    AbbrekeyLabel.SetCaption(UseTitle.checked() ? "Window Title" : "Abbrekey Name");
    AbbrekeyName.SetMaxLength(static_cast<int>(UseTitle.checked() ? kTitleMax : kAbbrekeyMax));
  }
  Mouse.Show(mouse);

  CaptureKeyButton.SetEnabled(!menu && !TimedMacro.checked() && !UseBuilding.checked());
  ScriptButton.SetEnabled(!menu);
  SetCaptions(activeControl() != &Keys.HotKeyEntry);

  const int height = list ? kListHeight : named ? kNameHeight : mouse ? kMouseHeight : kPlainHeight;
  SetClientSize(kClientWidth, height);
  constexpr int kWide = 106;
  const int top = height - layout::kMargin - layout::kButtonHeight;
  int left = (kClientWidth - 4 * kWide - 3 * layout::kMargin) / 2;
  for (forms::Button* b : {&ScriptButton, &EnterKeyButton, &CaptureKeyButton, &AbortButton}) {
    b->SetBounds(left, top, kWide, layout::kButtonHeight);
    left += kWide + layout::kMargin;
  }
}

void TAddNewHotKey::SetCaptions(bool withAccelerators) {
  // While a hot key is being pressed into the field, Alt with a letter must not work a control.
  const bool menu = UsePopup.checked() || UseFloat.checked();
  const std::pair<forms::Control*, const char*> captions[] = {
      {&UseHotKey, "&Hot Keys"},         {&UseAbbrekeys, "A&bbrekeys"},     {&TimedMacro, "&Timed Macro"},
      {&UseTitle, "&Window Title"},      {&UsePopup, "&Popup Menu"},        {&UseMouse, "&Mouse Click"},
      {&UseFloat, "&Floating Menu"},     {&UseBuilding, "&None (use later)"}, {&ScriptButton, "&Scripting Editor"},
      {&EnterKeyButton, menu ? "&Build Menu" : "&Enter Directly"},          {&CaptureKeyButton, "&Capture Macro"},
      {&AbortButton, "&Abort"}};
  for (const auto& [control, caption] : captions) {
    std::string text = caption;
    if (!withAccelerators) std::erase(text, '&');
    control->SetCaption(text);
  }
}

void TAddNewHotKey::HotKeyFocus(bool focused) { SetCaptions(!focused); }

void TAddNewHotKey::RefreshSelectedTaken() {
  const int index = Keys.Selected();
  SelectedTaken = IsHotKeyIndex(index) && Taken.taken.test(static_cast<std::size_t>(index)) ? 1 : 0;
}

bool TAddNewHotKey::Passed(const std::optional<forms::Fault>& fault) {
  if (!fault) return true;
  Box(fault->message, fault->caption, platform::mb::kOk);
  if (forms::Control* field = fault->field.empty() ? nullptr : Find(fault->field)) field->SetFocus();
  return false;
}

void TAddNewHotKey::DoTheScript() {
  // The script editor is not in this build: its button opens the direct text editor.
  DoDirect();
}

void TAddNewHotKey::DoModify() {
  if (UsePopup.checked() || UseFloat.checked()) {
    DoMenu();
  } else {
    DoDirect();
  }
}

bool TAddNewHotKey::TakeActivation(const AddMacroModel& choice) {
  TMacroRec draft = main_.CurMacro;
  if (!Passed(choice.Store(draft))) return false;
  if (choice.kind == AddMacroModel::Kind::kHotKeys && !AcceptReservedKey(choice.hotKey, *context_.platform.boxes, Handle()))
    return false;
  main_.CurMacro = draft;
  Keys.Register(false);
  return true;
}

void TAddNewHotKey::DoDirect() {
  const AddMacroModel choice = Read();
  if (!TakeActivation(choice)) return;
  TModHotKeys editor(main_, context_, services_);
  editor.ExistingMacro = 0;
  editor.Saved = 0;
  editor.ActivationType = choice.EditorType();
  if (choice.kind == AddMacroModel::Kind::kHotKeys) {
    editor.HotKeyLabel.SetCaption(std::string(HotKeyName(choice.hotKey)));
    editor.HotKeyTaken = Taken.taken.test(static_cast<std::size_t>(choice.hotKey)) ? 1 : 0;
  } else {
    editor.HotKeyTaken = 0;
    if (choice.kind == AddMacroModel::Kind::kNone) editor.HotKeyLabel.SetCaption("None");
  }
  context_.forms->ShowModal(editor);
  // The direct editor appends the new macro itself on its first save.
  Added = editor.Saved;
  StoredItself = editor.anySave();
  Finish();
}

void TAddNewHotKey::DoMenu() {
  const AddMacroModel choice = Read();
  TMacroRec& record = main_.CurMacro;
  TMacroRec draft = record;
  RefreshSelectedTaken();
  if (!Passed(choice.StoreMenu(draft, HasUserMacros != 0, Taken))) return;
  if (choice.kind == AddMacroModel::Kind::kPopupMenu && !choice.noHotKey &&
      !AcceptReservedKey(choice.hotKey, *context_.platform.boxes, Handle()))
    return;
  if (!editors_.buildMenu) {
    Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    return;
  }
  record = draft;
  Keys.Register(false);
  const bool floating = choice.kind == AddMacroModel::Kind::kFloatingMenu;
  const BuildMenuResult outcome = editors_.buildMenu(main_, context_, BuildMenuRequest{floating, false, NewNumber});
  Added = outcome.saved ? 1 : 0;
  MenuMade = outcome.trayChanged ? 1 : 0;
  FloatMade = floating ? 1 : 0;
  Finish();
}

void TAddNewHotKey::DoCapture() {
  if (!editors_.capture) {
    Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation);
    return;
  }
  const AddMacroModel choice = Read();
  if (!TakeActivation(choice)) return;
  const TMacroRec& record = main_.CurMacro;
  const std::uint16_t code = record.ActivationCode();
  // The hook library learns the new macro's activation before the recording starts, so the
  // macro's own key can end it.
  if (choice.kind == AddMacroModel::Kind::kHotKeys || choice.kind == AddMacroModel::Kind::kAbbrekeys) {
    TGlobData& glob = *context_.glob;
    glob.SetActivationCode(NewNumber, code);
    context_.hook->WdxUpItem(glob, NewNumber);
    context_.link->Tell(control::kMacroEntries, NewNumber);
  }
  CaptureRequest request;
  request.macro = NewNumber;
  request.recapture = false;
  request.forceProgramScope = choice.kind == AddMacroModel::Kind::kHotKeys && Taken.taken.test(code);
  LockHandedOver = true;
  Added = editors_.capture(main_, context_, request).macroAdded ? 1 : 0;
  Finish();
}

void TAddNewHotKey::Finish() {
  main_.FillList();
  main_.SelectMacro(NewNumber);
  SetModalResult(forms::ModalResult::kOk);
  Close();
}

}  // namespace wdx::editor
