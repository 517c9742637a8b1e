#include "editor/builders/build_menu.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "editor/dialogs/dialog_layout.h"
#include "editor/dialogs/sched.h"
#include "editor/shell/icon_choice.h"
#include "editor/shell/macro_list.h"
#include "shared/hot_keys.h"
#include "shared/macro_library.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr char kIconSizes[][8] = {"16 x 16", "24 x 24", "32 x 32", "48 x 48", "64 x 64"};
constexpr forms::Color kRuleColor = forms::Rgb(128, 128, 128);

std::size_t At(int macro) { return static_cast<std::size_t>(macro); }

}  // namespace

// --- The library as the lists see it

MenuLibraryView MenuLibraryView::Of(EditorContext& context) {
  const TGlobData& glob = *context.glob;
  const TSettingsRec& settings = *context.settings;
  MenuLibraryView v;
  v.count = std::clamp(glob.MacroCount(), 0, kGlobMaxMacros);
  const std::size_t slots = At(v.count) + 1;
  v.codes.resize(slots);
  v.scopes.resize(slots);
  v.nicknames.resize(slots);
  v.abbrekeys.resize(slots);
  v.scopeTexts.resize(slots);
  v.popupItems.resize(slots);
  for (int i = 1; i <= v.count; ++i) {
    v.codes[At(i)] = glob.ActivationCode(i);
    v.scopes[At(i)] = glob.ScopeKind(i);
    v.nicknames[At(i)] = settings.nicknames[At(i)];
    v.abbrekeys[At(i)] = settings.abbrekeys[At(i)];
    v.scopeTexts[At(i)] = glob.ScopeText(i);
    TMacroRec record;
    if (v.scopes[At(i)] != scope::kPopupMenu || !context.store->Library().ReadMacroRecord(i, record)) continue;
    const int n = std::clamp<int>(record.MenuItemCount(), 0, macro_rec::kMaxMenuItems);
    for (int k = 1; k <= n; ++k) v.popupItems[At(i)].push_back(record.MenuItem(k));
  }
  return v;
}

std::string MenuLibraryView::ActivationName(int macro) const {
  if (macro < 1 || macro > count) return {};
  return ActivationText(codes[At(macro)], abbrekeys[At(macro)]);
}

std::string MenuLibraryView::ScopeName(int macro) const {
  if (macro < 1 || macro > count) return {};
  switch (scopes[At(macro)]) {
    case scope::kGlobal: return "GLOBAL";
    case scope::kPopupMenu: return "Popup Menu";
    case scope::kFloatingMenu: return "Floating Menu";
    default: return scopeTexts[At(macro)];
  }
}

bool MenuLibraryView::Shows(int macro, int self) const {
  // Through popup menus only: they are the menus a menu opens.
  std::set<int> seen;
  std::vector<int> todo{macro};
  while (!todo.empty()) {
    const int m = todo.back();
    todo.pop_back();
    if (m == self) return true;
    if (m < 1 || m > count || scopes[At(m)] != scope::kPopupMenu || !seen.insert(m).second) continue;
    todo.insert(todo.end(), popupItems[At(m)].begin(), popupItems[At(m)].end());
  }
  return false;
}

// --- The two lists

MenuItemsModel::MenuItemsModel(const MenuLibraryView& library, const TMacroRec& record, int self)
    : library_(library) {
  const int stored = std::max<int>(record.MenuItemCount(), 0);
  const int n = std::min(stored, kMenuItemsMax);
  dropped_ = stored - n;
  for (int k = 1; k <= n; ++k) {
    const int m = record.MenuItem(k);
    if (m < 1 || m > library.count || library.Shows(m, self)) {
      ++dropped_;
      continue;
    }
    items_.push_back(m);
  }
  for (int i = 1; i <= library.count; ++i) {
    const std::int16_t kind = library.scopes[At(i)];
    if (kind == scope::kSystem || kind == scope::kFloatingMenu) continue;
    if (std::find(items_.begin(), items_.end(), i) != items_.end() || library.Shows(i, self)) continue;
    available_.push_back(i);
  }
  std::stable_sort(available_.begin(), available_.end(), [&library](int a, int b) {
    return UpperAscii(library.ActivationName(a)) < UpperAscii(library.ActivationName(b));
  });
}

bool MenuItemsModel::CanAdd() const {
  return availableRow >= 0 && availableRow < static_cast<int>(available_.size()) &&
         static_cast<int>(items_.size()) < kMenuItemsMax;
}

bool MenuItemsModel::Add(AddMode mode) {
  // A double click on the available list adds too: the limit holds there as well.
  if (!CanAdd()) return false;
  const int s = CanRemove() ? itemRow : 0;
  int target = static_cast<int>(items_.size());
  if (mode == AddMode::kInsertBefore) target = s;
  if (mode == AddMode::kInsertAfter) target = items_.empty() ? 0 : s + 1;
  const int macro = available_[At(availableRow)];
  items_.insert(items_.begin() + target, macro);
  itemRow = target;
  available_.erase(available_.begin() + availableRow);
  if (availableRow >= static_cast<int>(available_.size())) availableRow = static_cast<int>(available_.size()) - 1;
  return true;
}

int MenuItemsModel::AvailablePlace(int macro) const {
  const auto larger = std::find_if(available_.begin(), available_.end(), [macro](int m) { return m > macro; });
  return static_cast<int>(larger - available_.begin());
}

bool MenuItemsModel::Remove() {
  if (!CanRemove()) return false;
  const int macro = items_[At(itemRow)];
  const int place = AvailablePlace(macro);
  available_.insert(available_.begin() + place, macro);
  availableRow = place;
  items_.erase(items_.begin() + itemRow);
  if (itemRow >= static_cast<int>(items_.size())) itemRow = static_cast<int>(items_.size()) - 1;
  return true;
}

void MenuItemsModel::Up() {
  if (!CanUp()) return;
  std::swap(items_[At(itemRow)], items_[At(itemRow - 1)]);
  --itemRow;
}

void MenuItemsModel::Down() {
  if (!CanDown()) return;
  std::swap(items_[At(itemRow)], items_[At(itemRow + 1)]);
  ++itemRow;
}

std::string MenuQuickInfo(const TMacroRec& r) {
  const std::string gap = "\r\n\r\n";
  const std::uint16_t code = r.ActivationCode();
  std::string text;
  if (code < kHotKeyCount) {
    text = "Hot Key: " + std::string(HotKeyName(code));
  } else if (code == activation::kAbbrekey) {
    text = "Abbrekey: " + r.Abbrekey();
  } else {
    text = ActivationText(code, r.Abbrekey());
  }
  text += gap + "Name: " + r.Nickname() + gap;
  switch (r.ScopeKind()) {
    case scope::kGlobal: text += "Scope: GLOBAL"; break;
    case scope::kPopupMenu: text += "Scope: Popup Menu"; break;
    case scope::kFloatingMenu: text += "Scope: Floating Menu"; break;
    default:
      text += "Scope: " + r.ScopeText() + (r.WindowMatch() != 0 ? " \"Window\" (Topmost Only)" : " \"Window\" (If Active)");
  }
  text += gap + (r.Active() != 0 ? "Active: Yes" : "Active: No") + gap;
  if (code == activation::kTimed) text += "Schdedule: " + ScheduleDescription(r) + gap;
  return text + "Macro: " + r.Text().substr(0, 100);
}

std::string MenuOptionsText(bool tray, char style, int iconSizeIndex) {
  return std::string{tray ? 'Y' : 'N', style, static_cast<char>('0' + std::clamp(iconSizeIndex, 0, 4)), ' '};
}

std::optional<std::uint16_t> IconsPerRow(const std::string& text) {
  const std::string t = TrimBlanks(text);
  if (t.empty() || t.size() > 2 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int n = std::stoi(t);
  if (n < 1 || n > 20) return std::nullopt;
  return static_cast<std::uint16_t>(n);
}

// --- The form

TDoBuildMenu::TDoBuildMenu(TMainWin& main, EditorContext& context, const DialogServices& services, bool floating,
                           bool modify, int self)
    : Form("DoBuildMenu", "Build Macro Menu"),
      ModifyMenu(modify),
      FloatingMenu(floating),
      main_(main),
      context_(context),
      services_(services),
      self_(self),
      library_(MenuLibraryView::Of(context)) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(560, 470);
  const int m = layout::kMargin;
  MainPage.SetBounds(m, m, 544, 414);

  // Editor page: the available macros above, the menu below; the buttons beside the lists.
  AvailableLabel.SetBounds(8, 6, 96, 17);
  OptionBox.SetBounds(8, 24, 440, 162);
  InsertBefore.SetBounds(456, 24, 72, layout::kButtonHeight);
  InsertAfter.SetBounds(456, 55, 72, layout::kButtonHeight);
  AddButton.SetBounds(456, 86, 72, layout::kButtonHeight);
  MenuLabel.SetBounds(8, 194, 88, 17);
  Script.SetBounds(8, 212, 440, 162);
  RemoveIt.SetBounds(456, 212, 72, layout::kButtonHeight);
  DoUp.SetBounds(456, 243, 72, layout::kButtonHeight);
  DoDown.SetBounds(456, 274, 72, layout::kButtonHeight);
  for (forms::DrawListBox* list : {&OptionBox, &Script}) list->SetItemHeight(16);

  // Properties page.
  MenuType.SetBounds(16, 12, 100, 17);
  forms::Font bold = MenuType.font();
  bold.bold = true;
  MenuType.SetFont(bold);
  NickLabel.SetBounds(16, 42, 58, 17);
  NickName.SetBounds(90, 39, 300, layout::kEditHeight);
  NickName.SetMaxLength(50);
  IconLabel.SetBounds(16, 80, 32, 17);
  MySpeed.SetBounds(90, 78, 22, 22);
  MySpeed2.SetBounds(120, 68, 38, 38);
  SysTray.SetBounds(16, 116, 150, 20);
  ShowGroup.SetBounds(16, 146, 220, 96);
  ShowIcon.SetBounds(14, 20, 150, 20);
  ShowText.SetBounds(14, 44, 150, 20);
  ShowNick.SetBounds(14, 68, 150, 20);
  IconPanel.SetBounds(252, 146, 270, 130);
  SizeLabel.SetBounds(10, 10, 100, 17);
  IconSize.SetBounds(10, 28, 100, layout::kEditHeight);
  for (const char* size : kIconSizes) IconSize.AddItem(size);
  PerRowLabel.SetBounds(10, 58, 250, 17);
  NumPerRow.SetBounds(10, 76, 30, layout::kEditHeight);
  NumPerRow.SetMaxLength(2);
  Horz.SetBounds(10, 104, 100, 20);
  Vert.SetBounds(120, 104, 100, 20);

  OkButton.SetDefault(true);
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  layout::ButtonRow(*this, {&OkButton, &CancelButton, &HelpButton});

  forms::MenuItem file{"File1", "&File"};
  file.items.push_back(forms::MenuItem{"Save1", "&Save"});
  file.items.back().onClick = [this] { OkButtonClick(); };
  MainMenu.items.push_back(std::move(file));
  MainMenu.items.push_back(forms::MenuItem{"Help1", "&Help"});
  MainMenu.items.back().onClick = [this] { HelpButtonClick(); };
  SetMainMenu(&MainMenu);

  OptionBox.onDrawItem = [this](int index, const platform::Rect& rect, bool, forms::Canvas& canvas) {
    DrawRow(model_->available(), index, rect, canvas);
  };
  Script.onDrawItem = [this](int index, const platform::Rect& rect, bool, forms::Canvas& canvas) {
    DrawRow(model_->items(), index, rect, canvas);
  };
  OptionBox.onClick = [this] {
    model_->availableRow = OptionBox.itemIndex();
    EnableDisable();
  };
  Script.onClick = [this] {
    model_->itemRow = Script.itemIndex();
    EnableDisable();
  };
  OptionBox.onRightClick = [this](int row) { QuickInfo(model_->available()[At(row)]); };
  Script.onRightClick = [this](int row) { QuickInfo(model_->items()[At(row)]); };
  OptionBox.onDblClick = [this] { AddALine(MenuItemsModel::AddMode::kAdd); };
  AddButton.onClick = [this] { AddALine(MenuItemsModel::AddMode::kAdd); };
  InsertBefore.onClick = [this] { AddALine(MenuItemsModel::AddMode::kInsertBefore); };
  InsertAfter.onClick = [this] { AddALine(MenuItemsModel::AddMode::kInsertAfter); };
  RemoveIt.onClick = [this] { RemoveItClick(); };
  DoUp.onClick = [this] { Move(true); };
  DoDown.onClick = [this] { Move(false); };
  for (forms::RadioButton* r : {&ShowIcon, &ShowText, &ShowNick}) r->onClick = [this] { ShowStyle(); };
  MySpeed.onClick = [this] { MySpeedClick(); };
  MySpeed2.onClick = [this] { MySpeedClick(); };
  MySpeed.onRightClick = [this] { ResetIcon(); };
  MySpeed2.onRightClick = [this] { ResetIcon(); };
  OkButton.onClick = [this] { OkButtonClick(); };
  HelpButton.onClick = [this] { HelpButtonClick(); };
  onShow = [this] { FormShow(); };
}

void TDoBuildMenu::FormShow() {
  services_.Centre(*this);
  TMacroRec& r = main_.CurMacro;
  if (ModifyMenu) {
    NickName.SetText(r.Nickname());
    SysTray.SetChecked(r.MenuOption(1) == 'Y');
    const char style = r.MenuOption(2);
    ShowText.SetChecked(style == '1');
    ShowIcon.SetChecked(style == '2');
    ShowNick.SetChecked(style != '1' && style != '2');
    const char size = r.MenuOption(3);
    IconSize.SetItemIndex(size >= '0' && size <= '4' ? size - '0' : 0);
    NumPerRow.SetText(std::to_string(r.MenuIconsPerRow()));
    Vert.SetChecked(r.MenuVertical() != 0);
    Horz.SetChecked(r.MenuVertical() == 0);
    IconName = r.IconName();
    std::error_code ec;
    if (!EqualsNoCase(IconName, "MENU") &&
        !std::filesystem::exists(context_.platform.files->NativePath(IconFolder(context_) + "\\" + IconName), ec))
      IconName = "MENU";
  } else {
    NickName.SetText("");
    SysTray.SetChecked(false);
    ShowNick.SetChecked(true);
    r.SetMenuItemCount(0);
    IconName = "MENU";
    IconSize.SetItemIndex(0);
    Horz.SetChecked(true);
    NumPerRow.SetText("9");
  }
  ShowMenuIcon();
  if (FloatingMenu) {
    SysTray.SetChecked(false);
    SysTray.SetVisible(false);
    SysTray.SetEnabled(false);
  }
  MenuType.SetCaption(FloatingMenu ? "Floating Menu" : "Popup Menu");
  ShowStyle();
  FillIt();
  oldNickname_ = NickName.text();
  oldTray_ = SysTray.checked();
  EnableDisable();
}

void TDoBuildMenu::FillIt() {
  model_.emplace(library_, main_.CurMacro, self_);
  if (model_->dropped() > 0) {
    main_.Box(std::to_string(model_->dropped()) +
                  " item(s) of this menu were left out: they name no macro of this library, would show the menu "
                  "inside itself, or go beyond 36 items.",
              "Notice", platform::mb::kOk);
  }
}

void TDoBuildMenu::EnableDisable() {
  MenuItemsModel& m = *model_;
  // The lists show the model: one row per macro (the text is what the available list sorts by).
  std::vector<std::string> available;
  for (const int macro : m.available()) available.push_back(library_.ActivationName(macro));
  OptionBox.SetItems(std::move(available));
  OptionBox.SetItemIndex(m.availableRow);
  Script.SetItems(std::vector<std::string>(m.items().size(), "item"));
  Script.SetItemIndex(m.itemRow);
  RemoveIt.SetEnabled(m.CanRemove());
  DoUp.SetEnabled(m.CanUp());
  DoDown.SetEnabled(m.CanDown());
  for (forms::Button* b : {&AddButton, &InsertBefore, &InsertAfter}) b->SetEnabled(m.CanAdd());
}

void TDoBuildMenu::AddALine(MenuItemsModel::AddMode mode) {
  if (model_->availableRow < 0 || model_->availableRow >= static_cast<int>(model_->available().size())) {
    main_.Box(kNoMacroSelectedText, "Error", platform::mb::kOk);
    return;
  }
  model_->Add(mode);
  EnableDisable();
}

void TDoBuildMenu::RemoveItClick() {
  if (!model_->Remove()) {
    main_.Box(kNoMacroSelectedText, "Error", platform::mb::kOk);
    return;
  }
  EnableDisable();
}

void TDoBuildMenu::Move(bool up) {
  if (up) {
    model_->Up();
  } else {
    model_->Down();
  }
  EnableDisable();
}

void TDoBuildMenu::DrawRow(const std::vector<int>& macros, int index, const platform::Rect& rect,
                           forms::Canvas& canvas) {
  if (index < 0 || index >= static_cast<int>(macros.size())) return;
  const int macro = macros[At(index)];
  const int left = rect.left;
  const int u = (rect.right - rect.left - 16) / 7;
  canvas.WriteText(left + 18, rect.top, forms::FitText(canvas, library_.ActivationName(macro), 2 * u), rect);
  canvas.WriteText(left + 18 + 2 * u, rect.top, forms::FitText(canvas, library_.nicknames[At(macro)], 3 * u), rect);
  canvas.WriteText(left + 18 + 5 * u, rect.top, library_.ScopeName(macro), rect);
  canvas.Draw({left, rect.top, left + 15, rect.bottom}, PictureOf(context_.settings->icons[At(macro)]));
  canvas.brushColor = kRuleColor;
  for (const int x : {left + 16, left + 16 + 2 * u, left + 16 + 5 * u}) canvas.FillRect({x, rect.top, x + 1, rect.bottom});
  canvas.FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom});
}

void TDoBuildMenu::QuickInfo(int macro) {
  TMacroRec record;
  if (!context_.store->Library().ReadMacroRecord(macro, record)) return;
  main_.Box(MenuQuickInfo(record), "Quick Info", platform::mb::kOk);
}

void TDoBuildMenu::ShowStyle() {
  const bool icons = ShowIcon.checked();
  IconPanel.SetVisible(icons);
  IconPanel.SetEnabled(icons);
}

void TDoBuildMenu::ShowMenuIcon() {
  const forms::Picture picture = EqualsNoCase(IconName, "MENU")
                                     ? forms::Picture{forms::Picture::Kind::kMenu, {}}
                                     : forms::Picture{forms::Picture::Kind::kFile, IconFolder(context_) + "\\" + IconName};
  MySpeed.SetPicture(picture);
  MySpeed2.SetPicture(picture);
}

void TDoBuildMenu::MySpeedClick() {
  const std::optional<std::string> name = ChooseIconFile(main_, context_, Handle());
  if (!name) return;
  IconName = *name;
  TrayChanged = true;
  ShowMenuIcon();
}

void TDoBuildMenu::ResetIcon() {
  if (main_.Box("Reset icon to program default?", "", platform::mb::kYesNo) != platform::mb::kIdYes) return;
  IconName = "MENU";
  TrayChanged = true;
  ShowMenuIcon();
}

void TDoBuildMenu::OkButtonClick() {
  TMacroRec& r = main_.CurMacro;
  if (ShowIcon.checked()) {
    const std::optional<std::uint16_t> perRow = IconsPerRow(NumPerRow.text());
    if (!perRow) {
      MainPage.SetActivePage(&MenuProperties);
      forms::Accept(*this, forms::Fault{"NumPerRow", kPerRowText}, *context_.platform.boxes);
      return;
    }
    r.SetMenuIconsPerRow(*perRow);
    r.SetMenuVertical(Vert.checked() ? 1 : 0);
  }
  MenuSaved = true;
  if (!ModifyMenu) {
    TGlobData& glob = *context_.glob;
    glob.SetMacroCount(glob.MacroCount() + 1);
    context_.link->UpNumKeys();
    r.SetActive(1);
    if (SysTray.checked()) TrayChanged = true;
  }
  r.SetNickname(NickName.text().substr(0, 50));
  r.SetIconName(IconName);
  r.SetScopeKind(FloatingMenu ? scope::kFloatingMenu : scope::kPopupMenu);
  const char style = ShowText.checked() ? '1' : ShowIcon.checked() ? '2' : '3';
  r.SetMenuOptions(MenuOptionsText(SysTray.checked(), style, std::max(IconSize.itemIndex(), 0)));
  const std::vector<int>& items = model_->items();
  r.SetMenuItemCount(static_cast<std::int16_t>(items.size()));
  for (std::size_t k = 0; k < items.size(); ++k) r.SetMenuItem(static_cast<int>(k) + 1, static_cast<std::int16_t>(items[k]));
  if (NickName.text() != oldNickname_ || SysTray.checked() != oldTray_) TrayChanged = true;
  SetModalResult(forms::ModalResult::kOk);
}

void TDoBuildMenu::HelpButtonClick() {
  if (services_.help != nullptr) services_.help->ShowKeyword(Handle(), services_.HelpFile(), "Build Macro Menu");
}

// --- The entries

BuildMenuResult BuildMenu(TMainWin& main, EditorContext& context, const BuildMenuRequest& request) {
  const DialogServices services = DialogServices::Of(context.platform, context.programFolder);
  const int self = request.macro > 0 ? request.macro : std::clamp(context.glob->MacroCount(), 0, kGlobMaxMacros) + 1;
  TDoBuildMenu dialog(main, context, services, request.floating, request.modify, self);
  dialog.SetOwner(main.Handle());
  context.forms->ShowModal(dialog);
  return {dialog.MenuSaved, dialog.TrayChanged};
}

}  // namespace wdx::editor
