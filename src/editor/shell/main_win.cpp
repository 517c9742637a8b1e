#include "editor/shell/main_win.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "editor/shell/library_sync.h"
#include "editor/shell/network_dialog.h"
#include "forms/canvas.h"
#include "shared/cipher.h"
#include "shared/date_pictures.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

// The named actions of the main window: the menu item and, where there is one, the speed button
// and the letter button that do the same.
struct Action {
  const char* name;
  const char* menu;
  const char* speed;
  const char* letter;
};
constexpr Action kActions[] = {
    {"AddMacro", "MenuAddHot", "AddSpeed", "AddHotKey"},
    {"DuplicateMacro", "MenuCopyHot", "CopySpeed", "CopyHotKey"},
    {"ScriptingEditor", "MenuScripting", "ScriptSpeed", "DoScript"},
    {"ModifyDirectly", "MenuEnterKey", "EditSpeed", "EnterKeyButton"},
    {"RecaptureMacro", "MenuCaptureKey", "RecaptureSpeed", "CaptureKeyButton"},
    {"ChangeActivation", "MenuMoveHot", "RenameSpeed", "MoveHotKey"},
    {"ActivateMacro", "MenuActivate", "ActivateSpeed", "ButtonActivate"},
    {"RemoveMacro", "MenuClearHot", "DeleteSpeed", "ClearHotKey"},
    {"OpenLibrary", "OpenFile1", "OpenSpeed", nullptr},
    {"NewLibrary", "NewFile1", "NewSpeed", nullptr},
    {"PrintList", "MenuPrintList", "PrintSpeed", nullptr},
    {"ImportMacros", "MenuImport", "ImportSpeed", nullptr},
    {"ExportMacros", "MenuExport", "ExportSpeed", nullptr},
    {"Appearance", "MenuAppearance", "AppearSpeed", nullptr},
    {"SortOrder", "MenuSort", "SortSpeed", nullptr},
    {"HelpContents", "MenuContents", "HelpSpeed", nullptr},
};

// The commands that need a macro in the list.
constexpr const char* kPerMacroMenus[] = {"MenuEnterKey", "MenuCaptureKey", "MenuClearHot", "MenuCopyHot",
                                          "MenuMoveHot",  "MenuActivate",   "MenuScripting", "MenuQuickOver",
                                          "MenuOnDesktop", "MenuAddCat"};

struct Wizard {
  const char* name;
  const char* lines[3];
};
constexpr Wizard kWizards[kWizardCount] = {
    {"WizText", {"Type Text", "and", "Keystrokes"}},   {"WizClip", {"Paste Text", "or", "Graphics"}},
    {"WizSymbol", {"Type", "A", "Symbol"}},            {"WizLaunch", {"Launch or", "Activate", "Programs"}},
    {"WizEMail", {"Send", "E-Mail", ""}},              {"WizWeb", {"Go To", "a", "Web Site"}},
    {"WizTime", {"Type a", "Date", "or Time"}},        {"WizCapture", {"Capture", "A", "Macro"}},
    {"WizNetwork", {"Connect", "Network", ""}},        {"WizReboot", {"Reboot", "or", "Shut Down"}},
    {"WizRemind", {"Create", "a", "Reminder"}},        {"WizFile", {"Copy,", "Delete,", "Rename"}},
    {"WizPause", {"Dial-Up", "Network", ""}},          {"WizScreen", {"Set", "Display", "Resolution"}},
    {"WizPrinter", {"Choose", "A", "Printer"}},        {"WizCDRom", {"Play", "Audio", "CD-Rom"}},
    {"WizAVI", {"Play a", "Video", "Clip"}},           {"WizSound", {"Sounds", "and", "Volume"}},
    {"WizSweeps", {"Web", "Sweep-", "stakes"}},        {"WizWall", {"Change", "Desktop", "Wallpaper"}},
    {"WizSize", {"Move or", "Size", "a Window"}},      {"WizMax", {"Maximize,", "Minimize", "Windows"}},
    {"WizExplore", {"Open an", "Explorer", "Folder"}}, {"WizDesktop", {"Desktop", "Goodies", ""}},
    {"WizSaver", {"Screen", "Saver", "Options"}},      {"WizMenu", {"Create", "Menu", "of Macros"}},
    {"WizBuild", {"Build", "From Other", "Macros"}},   {"WizBlocks", {"Single", "Macro", "Command"}},
    {"WizCPanel", {"Run", "Control", "Panel"}},
};

// A settings font as the toolkit draws it (sizes are points; the screen has 96 pixels an inch).
forms::Font ToFont(const FontSpec& spec) {
  forms::Font f;
  f.name = spec.name.empty() ? "Arial" : spec.name;
  f.height = static_cast<int>(std::lround(spec.size * 96.0 / 72.0));
  f.bold = spec.bold;
  f.italic = spec.italic;
  f.underline = spec.underline;
  f.color = static_cast<forms::Color>(spec.color) & 0x00FFFFFFu;
  return f;
}

void ForEachItem(forms::MenuItem& item, const std::function<void(forms::MenuItem&)>& f) {
  f(item);
  for (forms::MenuItem& sub : item.items) ForEachItem(sub, f);
}

}  // namespace

forms::Picture PictureOf(const MacroIcon& icon) {
  switch (icon.kind) {
    case MacroIcon::Kind::Menu:
      return {forms::Picture::Kind::kMenu, {}};
    case MacroIcon::Kind::File:
      return {forms::Picture::Kind::kFile, icon.file};
    default:
      return {forms::Picture::Kind::kMacro, {}};
  }
}

TMainWin::TMainWin(EditorContext& context)
    : Form("MainWin", "Wendrix Editor"), context_(context), list_(*context.settings, *context.glob) {
  SetBorderStyle(forms::BorderStyle::kSizeable);
  SetClientSize(612, 426);
  MyGrid.SetColCount(column::kCount);
  MyGrid.SetFixedCols(2);
  MyPage.SetActivePage(&PageMacro);
  SpeedPanel.SetBevel(false);
  LetterPanel.SetBevel(false);
  CatPanel.SetBevel(false);
  BuildMenu();
  BuildWizardPage();
  SetMainMenu(&MacroMenu);
  WireHandlers();
}

TMainWin::~TMainWin() = default;

// ---------------------------------------------------------------------------------------------
// The menu, the wizard page and the wiring

void TMainWin::BuildMenu() {
  forms::MenuItem& file = MacroMenu.Add("MenuFile", "&File");
  file.Add("NewFile1", "&New Macro File");
  file.Add("OpenFile1", "&Open Macro File");
  file.AddSeparator();
  file.Add("MenuImportText", "&Import Text File");
  file.AddSeparator();
  file.Add("MenuOutputInfo", "O&utput Macro Information");
  file.Add("MenuPrintList", "&Print Macro List");
  file.Add("MenuPrinterFont", "Printer &Font");
  file.Add("MenuPrinterSetup", "Printer &Setup");
  file.AddSeparator();
  file.Add("MenuTerminate", "&Terminate");
  file.Add("MenuTerminateBoth", "T&erminate Wendrix Editor and Player");
  file.Add("MenuLastSeparator", "-");
  for (int k = 1; k <= 5; ++k) file.Add("MenuLastFile" + std::to_string(k), "&" + std::to_string(k));

  forms::MenuItem& macros = MacroMenu.Add("MenuMacros", "&Macros");
  macros.Add("MenuAddHot", "&Add Macro");
  macros.Add("MenuCopyHot", "&Duplicate Macro");
  macros.Add("MenuScripting", "&Scripting Editor");
  macros.Add("MenuEnterKey", "Modif&y Directly");
  macros.Add("MenuCaptureKey", "Re&capture Macro");
  macros.Add("MenuMoveHot", "Change &Macro Activation");
  macros.Add("MenuActivate", "Acti&vate Macro");
  macros.Add("MenuClearHot", "&Remove Macro").shortcut = forms::Shortcut{0x2E};  // Delete
  macros.AddSeparator();
  macros.Add("MenuOnDesktop", "&Place On Desktop");
  macros.Add("MenuAddCat", "Add &To Category");
  macros.Add("MenuQuickOver", "&Quick Info");
  macros.AddSeparator();
  macros.Add("MenuImport", "&Import Macros");
  macros.Add("MenuExport", "E&xport Macros");
  macros.Add("MenuImportPlayable", "Import A Playa&ble Macro");
  macros.Add("MenuExportPlayable", "&Export As Playable Macro");
  macros.AddSeparator();
  macros.Add("MenuSort", "S&ort Macros");

  forms::MenuItem& wizards = MacroMenu.Add("MenuWizards", "&Wizards");
  forms::MenuItem& text = wizards.Add("MenuWizText", "&Text and Clipboard");
  text.Add("MenuWizText1", "&Type Text and Keystrokes");
  text.Add("MenuWizClip", "&Paste Text or Graphics");
  text.Add("MenuWizSymbol", "Type A &Symbol");
  text.Add("MenuWizTime", "Type A &Date or Time");
  forms::MenuItem& system = wizards.Add("MenuWizSystem", "&System");
  system.Add("MenuWizReboot", "&Reboot or Shut Down");
  system.Add("MenuWizScreen", "&Set Display Resolution");
  system.Add("MenuWizPrinter", "Choose A Pri&nter");
  system.Add("MenuWizSound", "Sounds and &Volume");
  system.Add("MenuWizWall", "Change Desktop &Wallpaper");
  system.Add("MenuWizSaver", "Screen Saver &Options");
  system.Add("MenuWizCPanel", "Op&en or Run Control Panel");
  forms::MenuItem& programs = wizards.Add("MenuWizPrograms", "&Programs, Windows and Files");
  programs.Add("MenuWizLaunch", "&Launch or Activate Programs");
  programs.Add("MenuWizFile", "&Copy, Delete, Rename");
  programs.Add("MenuWizSize", "&Move or Size a Window");
  programs.Add("MenuWizMax", "Ma&ximize, Minimize Windows");
  programs.Add("MenuWizExplore", "&Open an Explorer Folder");
  programs.Add("MenuWizDesktop", "&Desktop Goodies");
  forms::MenuItem& web = wizards.Add("MenuWizWeb", "&Web and Miscellaneous");
  web.Add("MenuWizWeb1", "&Go To A Web Site");
  web.Add("MenuWizEMail", "&Send E-Mail");
  web.Add("MenuWizNetwork", "&Connect Network");
  web.Add("MenuWizPause", "&Dial-Up Networking");
  web.Add("MenuWizCDRom", "&Play Audio CD-Rom");
  web.Add("MenuWizAVI", "Pla&y A Video Clip");
  web.Add("MenuWizSweeps", "&Web Sweepstakes");
  web.Add("MenuWizRemind", "&Create A Reminder");
  forms::MenuItem& functions = wizards.Add("MenuWizFunctions", "&Macro Functions");
  functions.Add("MenuWizCapture", "&Capture A Macro");
  functions.Add("MenuWizMenu", "Create &Menu of Macros");
  functions.Add("MenuWizBuild", "&Build Macros From Other Macros");

  MacroMenu.Add("MenuRemap", "&Remap");

  forms::MenuItem& options = MacroMenu.Add("MenuOptions", "&Options");
  options.Add("MenuAppearance", "&Appearance");
  options.Add("MenuCaptureOptions", "&Capture");
  options.Add("MenuEMailDefaults", "&E-Mail Defaults");
  options.Add("MenuEMailRecipients", "E-Mail &Recipients");
  options.Add("MenuNetwork", "&Network");
  forms::MenuItem& scheduler = options.Add("MenuScheduler", "&Scheduler");
  scheduler.Add("MenuShowDate", "&Show Date && Time");
  scheduler.Add("MenuAlarm", "&Alarm");
  scheduler.Add("MenuTimerInterval", "&Timer Interval");
  forms::MenuItem& saver = options.Add("MenuScreenSaver", "Screen Sa&ver");
  saver.Add("MenuDisableSaver", "&Disable if using Timed Macros");
  options.Add("MenuSettings", "Se&ttings");
  options.Add("MenuAbbrekeys", "Abbre&keys");

  forms::MenuItem& tools = MacroMenu.Add("MenuTools", "&Tools");
  tools.Add("MenuMouseLoc", "Mouse &Locator");
  tools.AddSeparator();
  tools.Add("MenuRestoreAssociations", "Restore &File Associations");
  tools.Add("MenuRestoreKeyHooks", "Restore &Keyboard Hooks");
  tools.Add("MenuRestoreMouseHooks", "Restore &Mouse Hooks");
  forms::MenuItem& fix = tools.Add("MenuIE5Fix", "&Internet Explorer 5.0 Fix");
  fix.Add("MenuApplyFix", "&Apply Fix To Windows Registry");
  fix.Add("MenuRestoreFix", "&Restore Windows Registry Prior To Fix");

  forms::MenuItem& help = MacroMenu.Add("MenuHelp", "&Help");
  help.Add("MenuContents", "&Contents");
  help.Add("MenuTutorial", "&Tutorial / User Guide");
  help.Add("MenuWebPage", "&Wendrix Web Page");
  help.Add("FirstTimeSetup1", "&First Time Setup");
  help.AddSeparator();
  help.Add("MenuAbout", "&About");

  // Every command is there from the start; what no feature has filled yet says so.
  ForEachItem(MacroMenu, [this](forms::MenuItem& item) {
    if (item.items.empty() && !item.IsSeparator() && &item != &MacroMenu) item.onClick = [this] { NotAvailable(); };
  });
}

void TMainWin::BuildWizardPage() {
  for (const Wizard& w : kWizards) {
    std::string caption = w.lines[0];
    for (int i = 1; i < 3; ++i) {
      if (*w.lines[i]) caption += std::string("\n") + w.lines[i];
    }
    auto button = std::make_unique<forms::Button>(&PageWiz, w.name, caption);
    button->SetMultiLine(true);
    button->onClick = [this] { NotAvailable(); };
    WizardButtons.push_back(std::move(button));
  }
}

void TMainWin::WireHandlers() {
  for (const Action& a : kActions) {
    for (const char* control : {a.speed, a.letter}) {
      if (control) Find(control)->onClick = [this] { NotAvailable(); };
    }
  }
  for (forms::Button* b : {&CatRename, &CatNew, &CatRemove}) b->onClick = [this] { NotAvailable(); };
  for (forms::Label* heading : {&ChangeHeading, &CreateHeading, &DeleteHeading}) {
    forms::Font bold = heading->font();
    bold.bold = true;
    heading->SetFont(bold);
  }

  Bind("OpenLibrary", [this] { DoOpen(); });
  Bind("NewLibrary", [this] { DoNew(); });
  for (int k = 1; k <= 5; ++k) {
    Bind("MenuLastFile" + std::to_string(k), [this, k] {
      OpenSaveFile(context_.settings->lastFiles[static_cast<std::size_t>(k - 1)]);
    });
  }
  Bind("MenuTerminate", [this] { MenuTerminateClick(); });
  Bind("MenuMouseLoc", [this] { MenuMouseLocClick(); });
  Bind("MenuNetwork", [this] { MenuNetworkClick(); });

  MyGrid.onDrawCell = [this](int col, int row, const platform::Rect& rect, forms::CellState state,
                             forms::Canvas& canvas) { MyGridDrawCell(col, row, rect, state, canvas); };
  MyGrid.onColumnSized = [this](int col, int width) { MyGridColumnSized(col, width); };
  MyGrid.onCellClick = [this](forms::MouseButton button, int col, int row) { MyGridCellClick(button, col, row); };
  MyGrid.onKeyPress = [this](char& key) { MyGridKeyPress(key); };
  MyGrid.onKeyDown = [this](std::uint8_t& vk) { MyGridKeyDown(vk); };
  MyGrid.onEnter = [this] { list_.ResetSearch(); };
  MyGrid.onExit = [this] { list_.ResetSearch(); };

  onShow = [this] { FormShow(); };
  onResize = [this] { Arrange(); };
  onClose = [this](forms::CloseAction& action) { FormClose(action); };
  onMessage = [this](std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
    return FormMessage(message, wparam, lparam);
  };
}

void TMainWin::Bind(std::string_view action, std::function<void()> handler) {
  for (const Action& a : kActions) {
    if (action != a.name) continue;
    if (forms::MenuItem* item = MacroMenu.Find(a.menu)) item->onClick = handler;
    for (const char* control : {a.speed, a.letter}) {
      if (control) Find(control)->onClick = handler;
    }
    return;
  }
  if (forms::MenuItem* item = MacroMenu.Find(action)) item->onClick = handler;
  if (forms::Control* control = Find(action)) control->onClick = handler;
}

void TMainWin::NotAvailable() { Box(kNotAvailableText, kNoticeCaption, platform::mb::kOk | platform::mb::kIconInformation); }

int TMainWin::Box(const std::string& text, const std::string& caption, unsigned flags) {
  return context_.platform.boxes->Show(Handle(), text, caption, flags);
}

// ---------------------------------------------------------------------------------------------
// Start, show, close

void TMainWin::ProcessParam(std::string_view arg) {
  const std::string upper = UpperAscii(arg);
  if (upper.rfind("/RH", 0) != 0 || upper.size() == 3) return;
  // Only a whole decimal number names a window; anything else leaves the player unknown.
  const std::string digits = upper.substr(3);
  if (digits.size() > 10 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return;
  const unsigned long long value = std::stoull(digits);
  if (value == 0 || value > 0xFFFFFFFFull) return;
  context_.link->SetPlayerWnd(static_cast<platform::WindowHandle>(value));
}

void TMainWin::FormCreate(const std::vector<std::string>& args) {
  TSettingsRec& settings = *context_.settings;
  context_.configs->SetWritingAllowed(true);
  firstShowDone_ = false;
  // The player's window first: the load below may add built-in macros and tell the player.
  for (std::size_t i = 1; i < args.size(); ++i) ProcessParam(args[i]);
  AttachLock();
  context_.store->Reload(false);
  MyPage.SetActivePage(&PageMacro);
  categoryFilter_ = kAllCategories;
  GetCatFile();
  GetSwapFile();
  context_.link->CopyAllGroups();
  SetMenuLastFiles();

  MacroMenu.Find("MenuShowDate")->checked = settings.showDate;
  MacroMenu.Find("MenuDisableSaver")->checked = settings.disableScreenSaver;
  const bool fixApplied = !settings.browserServer.empty() || !settings.browserTypeLib.empty() ||
                          !settings.browserVersion.empty();
  MacroMenu.Find("MenuApplyFix")->enabled = !fixApplied;
  MacroMenu.Find("MenuRestoreFix")->enabled = fixApplied;

  const WindowPlace& place = settings.mainWindow;
  SetBounds(place.left, place.top, std::max(place.width, 150), std::max(place.height, 150));
  if (settings.mainWindowMaximized) SetWindowState(forms::WindowState::kMaximized);

  SpeedPanel.SetVisible(settings.useSpeed);
  SpeedPanel.SetEnabled(settings.useSpeed);
  LetterPanel.SetVisible(!settings.useSpeed);
  LetterPanel.SetEnabled(!settings.useSpeed);
  Arrange();
  if (context_.sync->SyncWanted()) {
    context_.sync->RestartSyncCount();
    SyncTimer.SetEnabled(true);
  }
  SetButtons(context_.store->Count() > 0);
}

void TMainWin::AttachLock() {
  LibrarySync& sync = *context_.sync;
  sync.Attach(LibrarySync::MainWindow{
      [this](bool tellPlayer) { ReloadChangedLibrary(tellPlayer); },
      [this](const std::string& text, const std::string& caption) { Box(text, caption, platform::mb::kOk); },
      [this](bool on) { NetTimer.SetEnabled(on); }});
  NetTimer.onTimer = [&sync] { sync.NetTimerTimer(); };
  SyncTimer.onTimer = [this, &sync] {
    if (!sync.SyncTimerTimer()) SyncTimer.SetEnabled(false);
  };
}

void TMainWin::FormShow() {
  for (forms::Label* heading : {&ChangeHeading, &CreateHeading, &DeleteHeading}) {
    heading->SetFontColor(forms::kColorWindowText);
  }
  DoCaption();
  MacroMenu.Find("MenuTerminate")->caption = kTerminateCaption;
  const TSettingsRec& settings = *context_.settings;
  CatPanel.SetVisible(settings.showCategory);
  CatPanel.SetEnabled(settings.showCategory);
  MyGrid.SetColWidth(column::kNumber, 30);
  for (int c = column::kActivation; c <= column::kScope; ++c)
    MyGrid.SetColWidth(c, std::max(settings.columnWidths[static_cast<std::size_t>(c - 1)], 0));
  AdjustGridSpacing();
  MyGrid.SetColWidth(column::kIcon, settings.showIcons ? MyGrid.defaultRowHeight() : 0);
  Arrange();
  FillList();
  firstShowDone_ = true;
}

void TMainWin::FormClose(forms::CloseAction& action) {
  closing_ = true;
  SyncTimer.SetEnabled(false);
  context_.sync->Close();
  SaveStretchDim();
  context_.configs->SaveAllSettings();
  action = forms::CloseAction::kHide;
  context_.platform.loop->Quit(0);
}

void TMainWin::SaveStretchDim() {
  TSettingsRec& settings = *context_.settings;
  if (windowState() == forms::WindowState::kMaximized) {
    settings.mainWindowMaximized = true;
    return;
  }
  settings.mainWindowMaximized = false;
  settings.mainWindow = WindowPlace{width(), height(), left(), top()};
}

void TMainWin::MenuTerminateClick() { Close(); }

void TMainWin::MenuMouseLocClick() {
  if (context_.platform.shell)
    context_.platform.shell->Execute(Handle(), "open", context_.programFolder + "\\Pointseek.EXE", "QOW", std::string(),
                                     platform::ShowMode::kShowNormal);
}

std::string TMainWin::DateAndTimeNow() {
  const platform::DateTimeFormats formats =
      context_.platform.regional ? context_.platform.regional->DateTime() : platform::DateTimeFormats{};
  const CivilDateTime now = DecodeDateTime(context_.platform.clock->Now());
  return FormatPicture(now, formats.shortDate, formats) + "  " + FormatPicture(now, formats.longTime, formats);
}

void TMainWin::DoCaption() {
  const bool showDate = context_.settings->showDate;
  SetCaption(EditorCaption(context_.store->LibraryTitle(), showDate, showDate ? DateAndTimeNow() : std::string()));
}

void TMainWin::SetButtons(bool enable) {
  const bool on = enable && !list_.empty();
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &ClearHotKey, &CopyHotKey, &MoveHotKey, &ButtonActivate, &EnterKeyButton, &CaptureKeyButton, &DoScript,
           &EditSpeed, &RecaptureSpeed, &DeleteSpeed, &CopySpeed, &RenameSpeed, &ActivateSpeed, &ScriptSpeed}) {
    c->SetEnabled(on);
  }
  for (const char* name : kPerMacroMenus) MacroMenu.Find(name)->enabled = on;
}

std::string TMainWin::EncryptIt(const std::string& text) {
  TKestEncryption cipher;
  cipher.SetInput(text);
  cipher.SetKey(kMacroTextKey);
  cipher.SetAction(TActionType::atEncryption);
  cipher.Execute();
  return cipher.Output();
}

std::string TMainWin::DecryptIt(const std::string& text) {
  TKestEncryption cipher;
  cipher.SetInput(text);
  cipher.SetKey(kMacroTextKey);
  cipher.SetAction(TActionType::atDecryption);
  cipher.Execute();
  return cipher.Output();
}

// ---------------------------------------------------------------------------------------------
// Layout

void TMainWin::Arrange() {
  if (closing_) return;
  const int w = std::max(clientWidth(), 200);
  const int h = std::max(clientHeight(), 150);
  MyPage.SetBounds(4, 4, w - 8, h - 8);
  const int sheetWidth = MyPage.width() - forms::PageControl::kPageLeft - forms::PageControl::kPageRightMargin;
  const int sheetHeight = MyPage.height() - forms::PageControl::kPageTop - forms::PageControl::kPageBottomMargin;
  for (forms::TabSheet* sheet : MyPage.pages())
    sheet->SetBounds(forms::PageControl::kPageLeft, forms::PageControl::kPageTop, sheetWidth, sheetHeight);

  constexpr int kGap = 4;
  int top = kGap;
  int left = kGap;
  if (SpeedPanel.visible()) {
    SpeedPanel.SetBounds(kGap, kGap, sheetWidth - 2 * kGap, 28);
    int x = 0;
    int index = 0;
    for (forms::Control* c : SpeedPanel.form().controls()) {
      if (c->parent() != &SpeedPanel) continue;
      // Gaps between the groups: macro commands, file commands, the rest.
      if (index == 9 || index == 13) x += 8;
      c->SetBounds(x, 1, 26, 26);
      x += 27;
      ++index;
    }
    top = SpeedPanel.bottom() + kGap;
  }
  if (LetterPanel.visible()) {
    LetterPanel.SetBounds(kGap, top, 132, sheetHeight - top - kGap);
    int y = 0;
    for (forms::Control* c : LetterPanel.form().controls()) {
      if (c->parent() != &LetterPanel) continue;
      const bool heading = c->kind() == forms::ControlKind::kLabel;
      if (heading && y > 0) y += 6;
      c->SetBounds(0, y, 128, heading ? 18 : 25);
      y += heading ? 20 : 28;
    }
    left = LetterPanel.right() + kGap;
  }
  if (CatPanel.visible()) {
    const int cw = std::max(context_.settings->columnWidths[0], 130);
    CatPanel.SetBounds(left, top, cw, sheetHeight - top - kGap);
    CatHeading.SetBounds(0, 0, cw, 18);
    CatList.SetBounds(0, 20, cw, std::max(CatPanel.height() - 52, 20));
    const int buttonsLeft = (cw - 121) / 2;
    CatRename.SetBounds(buttonsLeft, CatPanel.height() - 28, 58, 25);
    CatNew.SetBounds(buttonsLeft, CatPanel.height() - 28, 58, 25);
    CatRemove.SetBounds(buttonsLeft + 60, CatPanel.height() - 28, 58, 25);
    CatRename.SetVisible(false);
    left = CatPanel.right() + kGap;
  }
  MyGrid.SetBounds(left, top, std::max(sheetWidth - left - kGap, 40), std::max(sheetHeight - top - kGap, 40));

  // The wizard buttons: as many columns as fit, rows below each other.
  constexpr int kButtonWidth = 96;
  constexpr int kButtonHeight = 58;
  const int columns = std::max(1, (sheetWidth - kGap) / (kButtonWidth + kGap));
  const int used = columns * (kButtonWidth + kGap) - kGap;
  const int x0 = std::max(kGap, (sheetWidth - used) / 2);
  for (std::size_t i = 0; i < WizardButtons.size(); ++i) {
    const int col = static_cast<int>(i) % columns;
    const int row = static_cast<int>(i) / columns;
    WizardButtons[i]->SetBounds(x0 + col * (kButtonWidth + kGap), kGap + row * (kButtonHeight + kGap), kButtonWidth,
                                kButtonHeight);
  }
}

// ---------------------------------------------------------------------------------------------
// The grid

SortOrder TMainWin::CurrentSortOrder() const {
  const TSettingsRec& s = *context_.settings;
  return SortOrder{s.primarySort, s.activationSort, s.scopeSort};
}

void TMainWin::FillList() {
  list_.Fill(categoryFilter_, CurrentSortOrder());
  const int old = MyGrid.rowCount();
  MyGrid.SetRow(1);
  const int rows = std::max(list_.count() + 1, 2);
  if (rows == old) {
    MyGrid.Repaint();
  } else {
    MyGrid.SetRowCount(rows);
  }
  SetButtons(context_.store->Count() > 0);
}

bool TMainWin::SelectMacro(int macro) {
  const int row = list_.RowOf(macro);
  if (row < 1) return false;
  MyGrid.SetRow(row);
  return true;
}

int TMainWin::SelectedMacro() const { return list_.MacroAt(MyGrid.row()); }

void TMainWin::AdjustGridSpacing() {
  forms::FormRunner& runner = *context_.forms;
  const forms::Font gridFont = ToFont(context_.settings->gridFont);
  const forms::Font titleFont = ToFont(context_.settings->gridTitleFont);
  const int h = runner.TextHeight(gridFont, "ZZYyjkla");
  MyGrid.SetDefaultRowHeight(static_cast<int>(std::lround(h * 1.1)));
  MyGrid.SetTitleRowHeight(runner.TextHeight(titleFont, "ZZYyjkla"));
  MyGrid.SetColWidth(column::kNumber, std::max(runner.TextWidth(gridFont, "9999") + 6, 30));
  MyGrid.SetFont(gridFont);
}

void TMainWin::MyGridDrawCell(int col, int row, const platform::Rect& rect, forms::CellState state,
                              forms::Canvas& canvas) {
  static const char* const kTitles[column::kCount] = {"", "Icon", "Activation", "Nickname", "Scope"};
  const TSettingsRec& settings = *context_.settings;
  std::string text;
  if (row == 0) {
    canvas.font = ToFont(settings.gridTitleFont);
    canvas.font.color = forms::kColorWindowText;
    text = col >= 0 && col < column::kCount ? kTitles[col] : "";
  } else {
    canvas.font = ToFont(settings.gridFont);
    // The single empty row of an empty list shows no macro (and reads none).
    const int macro = list_.empty() ? -1 : list_.MacroAt(row);
    if (macro < 1) {
      canvas.FillRect(rect);
      return;
    }
    if (list_.RowActive(row) || col == column::kNumber) {
      // The fixed columns keep their face colour in the chosen row, so their text stays dark.
      canvas.font.color = state.selected && !state.fixed ? forms::kColorHighlightText : forms::kColorWindowText;
    } else {
      canvas.font.italic = true;
      canvas.font.color = forms::kColorGrayText;
    }
    if (col == column::kIcon) {
      canvas.FillRect(rect);
      if (settings.showIcons) canvas.Draw(rect, PictureOf(settings.icons[static_cast<std::size_t>(macro)]));
      return;
    }
    text = list_.CellText(col, row);
  }
  canvas.FillRect(rect);
  const std::string fitted = forms::FitText(canvas, text, rect.right - rect.left - 2);
  if (!fitted.empty()) canvas.WriteText(rect.left + 2, rect.top, fitted, rect);
}

void TMainWin::MyGridColumnSized(int col, int width) {
  TSettingsRec& settings = *context_.settings;
  if (col >= column::kActivation && col <= column::kScope) settings.columnWidths[static_cast<std::size_t>(col - 1)] = width;
  context_.configs->WriteMainWindowSection();
  context_.link->Tell(control::kReadMainWindow, 0);
}

void TMainWin::MyGridCellClick(forms::MouseButton button, int col, int row) {
  if (button != forms::MouseButton::kRight || row != 0) return;
  TSettingsRec& settings = *context_.settings;
  if (!settings.sortHeader) return;
  const std::string sort = TitleClickSort(col);
  if (sort.empty() || (!settings.primarySort.empty() && settings.primarySort[0] == sort[0])) return;
  const int selected = SelectedMacro();
  settings.primarySort = sort;
  FillList();
  SelectMacro(selected);
  context_.configs->WriteMiscSection();
  context_.link->Tell(control::kReadMisc, 0);
}

void TMainWin::MyGridKeyPress(char& key) {
  const int row = list_.TypeAhead(key);
  if (row > 0) MyGrid.SetRow(row);
  key = '\0';
}

void TMainWin::MyGridKeyDown(std::uint8_t& vk) {
  if (vk == 17 || vk == 18 || (vk >= 33 && vk <= 40)) list_.ResetSearch();
}

// ---------------------------------------------------------------------------------------------
// Other libraries

void TMainWin::SetMenuLastFiles() {
  const LibraryStore& store = *context_.store;
  MacroMenu.Find("MenuLastSeparator")->visible = store.AnyRecent();
  for (int k = 1; k <= 5; ++k) {
    forms::MenuItem* item = MacroMenu.Find("MenuLastFile" + std::to_string(k));
    const std::string caption = store.RecentCaption(k);
    item->visible = !caption.empty();
    if (!caption.empty()) item->caption = caption;
  }
}

void TMainWin::AfterSwitch(const std::string& oldName, const std::string& newName) {
  context_.sync->ReadStamp();
  context_.link->SetHotKeys();
  DoCaption();
  FillList();
  GetSwapFile();
  GetCatFile();
  context_.store->DoLastFiles(oldName, newName);
  SetMenuLastFiles();
  context_.configs->WriteCurrentFile();
  context_.configs->WriteMiscSection();
}

namespace {
forms::FileDialog LibraryDialog(const char* title) {
  forms::FileDialog d;
  d.title = title;
  d.filter = "Wendrix (*.WDX)|*.WDX";
  d.defaultExt = "WDX";
  d.hideReadOnly = true;
  return d;
}

bool EndsWithWdx(const std::string& name) { return name.size() >= 4 && UpperAscii(name.substr(name.size() - 4)) == ".WDX"; }
}  // namespace

void TMainWin::DoOpen() {
  forms::FileDialog d = LibraryDialog("Open Wendrix File");
  d.fileMustExist = true;
  const std::optional<std::string> name = context_.forms->OpenFileDialog(d, Handle());
  if (!name) return;
  if (!EndsWithWdx(*name)) {
    Box(kInvalidFileTypeText, kErrorCaption, platform::mb::kOk);
    return;
  }
  const std::string old = context_.store->CurrentFile();
  context_.store->SwitchTo(*name, true);
  AfterSwitch(old, *name);
  context_.link->Tell(control::kLibraryReplaced, 0);
  context_.link->Tell(control::kSchedulesChanged, 0);
  context_.link->Tell(control::kReadMisc, 0);
}

void TMainWin::DoNew() {
  forms::FileDialog d = LibraryDialog("New Wendrix File");
  d.overwritePrompt = true;
  d.pathMustExist = true;
  const std::optional<std::string> name = context_.forms->SaveFileDialog(d, Handle());
  if (!name) return;
  if (!EndsWithWdx(*name)) {
    Box(kInvalidFileTypeText, kErrorCaption, platform::mb::kOk);
    return;
  }
  const std::string old = context_.store->CurrentFile();
  context_.store->SwitchTo(*name, true);
  AfterSwitch(old, *name);
  context_.link->Tell(control::kLibraryReplaced, 0);
  context_.link->Tell(control::kReadMisc, 0);
}

void TMainWin::OpenSaveFile(const std::string& fileName) {
  std::error_code ec;
  if (fileName.empty() ||
      !std::filesystem::is_regular_file(context_.platform.files->NativePath(fileName), ec)) {
    Box(kFileMissingText, kErrorCaption, platform::mb::kOk);
    return;
  }
  const std::string old = context_.store->CurrentFile();
  context_.store->SwitchTo(fileName, true);
  AfterSwitch(old, fileName);
  context_.link->Tell(control::kLibraryReplaced, 0);
  context_.link->Tell(control::kReadMisc, 0);
}

// ---------------------------------------------------------------------------------------------
// Messages from the player and the hook library

bool TMainWin::FormMessage(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  switch (message) {
    case UM_CONTROL:
      ControlFromPlayer(wparam, lparam);
      return true;
    case UM_CAPTURECHAR:
      CaptureChar(wparam, lparam);
      return true;
    case UM_CAPTUREDONE:
      CaptureDone(wparam);
      return true;
    default:
      return false;
  }
}

void TMainWin::ControlFromPlayer(std::uint64_t code, std::int64_t argument) {
  const int n = argument < 0 || argument > kMaxMacros ? -1 : static_cast<int>(argument);
  LibraryStore& store = *context_.store;
  PlayerLink& link = *context_.link;
  switch (code) {
    case editor_notice::kRepaint:
      MyGrid.Repaint();
      break;
    case editor_notice::kRefill:
      FillList();
      SelectMacro(n);
      break;
    case editor_notice::kLibrarySwitched: {
      const std::string old = store.CurrentFile();
      context_.configs->ReadCurrentFile();
      context_.sync->ReadStamp();
      store.Reload(false);
      DoCaption();
      FillList();
      store.DoLastFiles(old, store.CurrentFile());
      SetMenuLastFiles();
      GetSwapFile();
      GetCatFile();
      break;
    }
    case editor_notice::kMacroRemoved: {
      int row = list_.RowOf(n);
      GetCatFile();
      FillList();
      if (list_.empty()) {
        SetButtons(false);
      } else if (row >= 1) {
        MyGrid.SetRow(std::min(row, list_.count()));
      }
      break;
    }
    case editor_notice::kDataGroup:
      link.GetGlobDataItem(static_cast<int>(argument));
      break;
    case editor_notice::kMacroEntries:
      link.GetGlobDataItem(data_group::kMacroEntries, n);
      break;
    case editor_notice::kRecordWritten:
      if (store.Library().RefreshFromFile(n)) {
        FillList();
        SelectMacro(n);
      }
      break;
    case editor_notice::kReloadAll:
      store.Reload(false);
      GetSwapFile();
      GetCatFile();
      FillList();
      link.SetHotKeys();
      break;
    case editor_notice::kFloaterClosed: {
      if (n < 1 || n > store.Count()) break;
      if (context_.lock->FileInUse()) break;
      TGlobData& glob = *context_.glob;
      glob.SetMacroActive(n, false);
      link.Hook().WdxUpItem(glob, n);
      link.Tell(control::kMacroEntries, n);
      store.Library().SetMacroEnabled(n, 0);
      link.Tell(control::kReopenFloaters, 0);
      link.SetHotKeys();
      MyGrid.Repaint();
      context_.lock->ReleaseSyncFile(1);
      break;
    }
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Companion files and network mode

void TMainWin::GetCatFile() {
  const std::filesystem::path file =
      context_.platform.files->NativePath(CategoriesFileName(context_.store->CurrentFile()));
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    categories_.Load(file);
  } else {
    categories_.Init();
    categories_.Save(file);
  }
  CatList.SetItems(categories_.Names());
  categoryFilter_ = kAllCategories;
  CatList.SetItemIndex(0);
}

void TMainWin::GetSwapFile() {
  platform::Files& files = *context_.platform.files;
  editor::GetSwapFile(*context_.platform.kernel, context_.store->CurrentFile(),
                      [&files](const std::string& stored) { return files.NativePath(stored); });
}

void TMainWin::ReloadChangedLibrary(bool tellPlayer) {
  const int row = MyGrid.row();
  context_.store->Reload(false);
  GetSwapFile();
  GetCatFile();
  FillList();
  context_.link->SetHotKeys();
  if (!list_.empty()) MyGrid.SetRow(std::clamp(row, 1, list_.count()));
  SetButtons(context_.store->Count() > 0);
  if (tellPlayer) {
    context_.link->Tell(control::kLibraryReplaced, 0);
    context_.link->Tell(control::kSchedulesChanged, 0);
  }
}

void TMainWin::MenuNetworkClick() {
  TSettingsRec& settings = *context_.settings;
  LibrarySync& sync = *context_.sync;
  const bool syncRan = sync.SyncWanted();
  NetworkModel model = NetworkModel::From(settings);
  {
    TNetworkConsiderations dialog(model, context_.platform.input->ScreenSize());
    context_.forms->ShowModal(dialog);
  }
  model.Apply(settings);
  // The minute timer follows the player's rule: it runs in network mode with "Auto Sync" on.
  if (sync.SyncWanted() && !syncRan) sync.RestartSyncCount();
  if (SyncTimer.enabled() != sync.SyncWanted()) SyncTimer.SetEnabled(sync.SyncWanted());
  // Switched on: the library as loaded now is the one the stamp's counter stands for.
  if (settings.networkMode && !model.networkModeShown) sync.ReadStamp();
  context_.configs->WriteNetworkSection();
  context_.link->Tell(control::kReadNetwork, 0);
}

void TMainWin::RestoreAndShow() {
  if (windowState() == forms::WindowState::kMinimized) SetWindowState(forms::WindowState::kNormal);
  if (!Showing() && context_.forms) context_.forms->Show(*this);
}

}  // namespace wdx::editor
