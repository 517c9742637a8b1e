#include "player/core/main_win.h"

#include <algorithm>

#include "shared/remap_keys.h"

namespace wdx::player {

OsFlags OsFlagsOf(const platform::OsVersion& v) {
  OsFlags f;
  const bool family95 = v.family == platform::OsFamily::kWindows95;
  f.nt = v.family == platform::OsFamily::kNt && v.major >= 4;
  f.shell = family95 || f.nt;
  f.win98 = family95 && v.minor != 0;
  return f;
}

TMainWin::TMainWin(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block, TSettingsRec& settings,
                   Configs& configs, std::string programFolder)
    : RunFrame(platform, hook, block, settings),
      configs_(configs),
      programFolder_(std::move(programFolder)),
      library_(settings, block, platform, *this, LibraryOptions::Player()),
      activation_(platform, true) {}

TMainWin::~TMainWin() = default;

void TMainWin::MacroEntriesChanged(int number) { hook_.WdxUpItem(block_, number); }
void TMainWin::MacroCountChanged() { hook_.WdxUpNumKeys(block_); }
void TMainWin::TellPeer(int code, int argument) { TellEditor(static_cast<std::uint32_t>(code), argument); }

int TMainWin::MacroLimit() const { return std::clamp(block_.MacroCount(), 0, kGlobMaxMacros); }

std::filesystem::path TMainWin::NativePath(const std::string& stored) const {
  // A bare file name lies in the current folder (a bare INI name would lie in the Windows one).
  if (platform_.files) return std::filesystem::path(platform_.files->NativePath(stored));
  if (platform_.profile) return std::filesystem::path(platform_.profile->ResolvePath(stored));
  return ToNativePath(stored);
}

void TMainWin::ReadStamp() {
  ReadSyncStamp(NativePath(SyncStampFileName(settings_.currentLibrary)), stamp);
  knownCounter = stamp.counter;
}

bool TMainWin::LibraryChangedOnDisk() {
  ReadSyncStamp(NativePath(SyncStampFileName(settings_.currentLibrary)), stamp);
  if (stamp.counter == knownCounter) return false;
  knownCounter = stamp.counter;
  return true;
}

void TMainWin::GetSwapFile() {
  if (!blocks_.HasSwap()) return;
  SwapTable table = blocks_.Swap().Table();
  wdx::GetSwapFile(settings_.currentLibrary, [this](const std::string& p) { return NativePath(p); }, table);
  blocks_.Swap().SetTable(table);
}

bool TMainWin::SwapsInUse() { return blocks_.HasSwap() && wdx::SwapsInUse(blocks_.Swap().Table()); }

void TMainWin::ReinstallRemapHook() {
  if (!blocks_.HasSwap()) return;
  if (remapHookInstalled) {
    hook_.WdxUnHook(blocks_.Swap().RemapHook());
    remapHookInstalled = false;
  }
  if (SwapsInUse()) {
    blocks_.Swap().SetRemapHook(hook_.WdxHookSwap());
    remapHookInstalled = true;
  }
}

void TMainWin::ReloadEverything() {
  ClearMenuTaskIcon();
  ClearMenuOnTop();
  ClearMouse();
  library_.ReloadMacroLibrary();
  GetSwapFile();
  SetHotKeys();
  CheckAndSetTime();
  DoMenuTaskIcon();
  LoadUpFloaters();
  LoadUpMouse();
}

}  // namespace wdx::player
