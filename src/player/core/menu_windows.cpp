#include "player/core/menu_windows.h"

#include <filesystem>

#include "player/core/run_coordinator.h"
#include "shared/text_util.h"

namespace wdx::player {

MenuWindows::MenuWindows(platform::Platform& platform, MacroLibrary& library, TGlobData& block, TSettingsRec& settings,
                         Configs& configs, RunFrame& frame, WindowTitles& titles, WindowActivation& activation,
                         std::string programFolder)
    : platform_(platform),
      library_(library),
      block_(block),
      settings_(settings),
      configs_(configs),
      frame_(frame),
      titles_(titles),
      activation_(activation),
      programFolder_(std::move(programFolder)) {}

MenuModel MenuWindows::ModelOf(const MenuSpec& spec) {
  MenuModel m;
  m.style = spec.style;
  m.iconSize = spec.iconSize;
  m.perRow = spec.perRow;
  m.vertical = spec.vertical;
  if (platform_.input) {
    const platform::Point size = platform_.input->ScreenSize();
    m.screen = {0, 0, size.x, size.y};
  }
  TMacroRec r;
  for (const int n : spec.entries) {
    if (!library_.ReadMacroRecord(n, r)) continue;
    MenuEntry e;
    e.macro = n;
    e.text = EntryText(r);
    e.name = EntryName(r);
    e.scope = EntryScope(r);
    const std::string icon = UpperAscii(Trim(r.IconName()));
    const bool menu = r.ScopeKind() == scope::kPopupMenu || r.ScopeKind() == scope::kFloatingMenu;
    const std::string file = programFolder_ + "\\Icons\\" + Trim(r.IconName());
    if (icon == "MAIN") {
      e.picture.kind = forms::Picture::Kind::kMacro;
    } else if (icon == "MENU") {
      e.picture.kind = forms::Picture::Kind::kMenu;
    } else if (!icon.empty() && platform_.files &&
               std::filesystem::is_regular_file(platform_.files->NativePath(file))) {
      e.picture = {forms::Picture::Kind::kFile, platform_.files->NativePath(file)};
    } else {
      e.picture.kind = menu ? forms::Picture::Kind::kMenu : forms::Picture::Kind::kMacro;
    }
    m.entries.push_back(std::move(e));
  }
  return m;
}

int MenuWindows::ShowModal(MenuModel& model) {
  forms::FormRunner* runner = frame_.Forms();
  if (!runner) return -1;
  FreeRetired();
  const platform::WindowHandle before = platform_.windows ? platform_.windows->GetForegroundWindow() : 0;
  TDoAMenu form(model, nullptr, nullptr);
  form.afterShow = [this, &form] { frame_.SetMainWin(form.Handle()); };
  runner->ShowModal(form);
  // The chosen macro plays into the window the user was in, not wherever the focus fell.
  if (model.chosen > 0 && before != platform::kNoWindow) frame_.SetMainWin(before);
  return model.chosen;
}

int MenuWindows::ShowPopup(int macro, int position) {
  TMacroRec r;
  if (!library_.ReadMacroRecord(macro, r)) return -1;
  MenuModel model = ModelOf(MenuSpecOf(r, macro, MacroLimit(block_)));
  model.position = position;
  return ShowModal(model);
}

void MenuWindows::ShowTopWindowMenu() {
  const std::string program = UpperAscii(activation_.GetTopProgram());
  const platform::WindowHandle front = platform_.windows ? platform_.windows->GetForegroundWindow() : 0;
  const std::string title = front != platform::kNoWindow ? activation_.UpperTitle(front) : std::string();
  MenuSpec spec;
  spec.iconSize = 32;
  spec.style = settings_.systemMenu == 1   ? MenuStyle::kText
               : settings_.systemMenu == 2 ? MenuStyle::kIcons
                                           : MenuStyle::kNameAndScope;
  const int limit = MacroLimit(block_);
  for (int i = 1; i <= limit && static_cast<int>(spec.entries.size()) < kMenuMaxEntries; ++i) {
    const std::string scopeText = UpperAscii(block_.ScopeText(i));
    if (scopeText.empty()) continue;
    const std::int16_t kind = block_.ScopeKind(i);
    if ((kind == scope::kWindow && title.find(scopeText) != std::string::npos) ||
        (kind == scope::kProgram && program.find(scopeText) != std::string::npos))
      spec.entries.push_back(i);
  }
  if (spec.entries.empty()) {
    frame_.DoAMessage(kWarningCaption, kNoTopWindowMacrosText);
    return;
  }
  MenuModel model = ModelOf(spec);
  model.position = kMenuCentred;
  RunState& state = frame_.State();
  state.popupShowing = true;
  const int chosen = ShowModal(model);
  state.popupShowing = false;
  if (chosen > 0 && actions_.run) actions_.run(chosen);
}

int MenuWindows::SlotOf(int macro) const {
  int k = 0;
  const int limit = MacroLimit(block_);
  for (int i = 1; i <= limit; ++i) {
    if (block_.ScopeKind(i) != scope::kFloatingMenu) continue;
    ++k;
    if (i == macro) return k;
  }
  return 0;
}

void MenuWindows::OpenFloaters() {
  FreeRetired();
  const int limit = MacroLimit(block_);
  for (int i = 1; i <= limit; ++i) {
    if (block_.ScopeKind(i) != scope::kFloatingMenu || !block_.MacroActive(i)) continue;
    const int slot = SlotOf(i);
    Open(i, slot >= 1 && slot <= kFloatingMenuCount ? kMenuAtPlace : kMenuCentred);
  }
}

void MenuWindows::OpenFloater(int macro) {
  if (macro < 1 || macro > MacroLimit(block_)) return;
  if (block_.ScopeKind(macro) != scope::kFloatingMenu || !block_.MacroActive(macro)) return;
  FreeRetired();
  Open(macro, kMenuCentred);
}

void MenuWindows::Open(int macro, int position) {
  forms::FormRunner* runner = frame_.Forms();
  if (!runner) return;
  // One window per menu: opening an open one again changes nothing.
  for (const Floater& f : floaters_)
    if (f.macro == macro) return;
  TMacroRec r;
  if (!library_.ReadMacroRecord(macro, r)) return;
  Floater f;
  f.macro = macro;
  f.slot = SlotOf(macro);
  f.model = std::make_unique<MenuModel>(ModelOf(MenuSpecOf(r, macro, MacroLimit(block_))));
  f.model->floating = true;
  f.model->caption = r.Nickname();
  f.model->position = position;
  if (position == kMenuAtPlace && f.slot >= 1 && f.slot <= kFloatingMenuCount) {
    const auto k = static_cast<std::size_t>(f.slot - 1);
    f.model->place = {settings_.floatingLeft[k], settings_.floatingTop[k]};
    f.model->minimised = settings_.floatingMinimised[k];
  }
  f.form = std::make_unique<TDoAMenu>(
      *f.model, [this](int chosen) { FloatChoice(chosen); },
      [this, macro] {
        if (actions_.deactivate) actions_.deactivate(macro);
      });
  TDoAMenu& form = *f.form;
  floaters_.push_back(std::move(f));
  runner->Show(form, false);
}

void MenuWindows::FloatChoice(int macro) {
  // The window the user worked in gets the focus back before the macro plays into it.
  frame_.SetMainWin(titles_.LastOtherForeground());
  ++handlersRunning_;
  if (actions_.run) actions_.run(macro);
  --handlersRunning_;
}

void MenuWindows::StorePlace(const Floater& f) {
  if (f.slot < 1 || f.slot > kFloatingMenuCount || !f.form) return;
  const auto k = static_cast<std::size_t>(f.slot - 1);
  const bool minimised = f.form->windowState() == forms::WindowState::kMinimized;
  // A minimised window's place is the system's parking place: the last real one stays.
  if (!minimised) {
    settings_.floatingLeft[k] = f.form->left();
    settings_.floatingTop[k] = f.form->top();
  }
  settings_.floatingMinimised[k] = minimised;
}

void MenuWindows::CloseFloaters() {
  for (Floater& f : floaters_) {
    StorePlace(f);
    Retire(f);
  }
  floaters_.clear();
  configs_.WriteFloatingMenuPlaces();
  FreeRetired();
}

void MenuWindows::CloseFloater(int macro) {
  for (auto it = floaters_.begin(); it != floaters_.end(); ++it) {
    if (it->macro != macro) continue;
    StorePlace(*it);
    Retire(*it);
    floaters_.erase(it);
    FreeRetired();
    return;
  }
}

void MenuWindows::Retire(Floater& f) {
  if (f.form) f.form->Hide();
  retired_.push_back(std::move(f));
}

void MenuWindows::FreeRetired() {
  if (handlersRunning_ == 0) retired_.clear();
}

}  // namespace wdx::player
