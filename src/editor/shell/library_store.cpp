#include "editor/shell/library_store.h"

#include <algorithm>

namespace wdx::editor {

LibraryStore::LibraryStore(TSettingsRec& settings, PlayerLink& link, platform::Files& files,
                           platform::MessageBoxes& boxes, platform::Clock& clock)
    : settings_(settings),
      link_(link),
      library_(settings, link.Glob(), files, boxes, clock, *this, LibraryOptions::Editor()) {}

int LibraryStore::Count() const { return std::clamp(link_.Glob().MacroCount(), 0, kMaxMacros); }

void LibraryStore::SwitchTo(const std::string& path, bool notify) {
  settings_.currentLibrary = path;
  library_.LoadMacroLibrary(path, notify);
}

void LibraryStore::DoLastFiles(const std::string& oldName, const std::string& newName) {
  auto& last = settings_.lastFiles;
  if (auto it = std::find(last.begin(), last.end(), newName); it != last.end() && !newName.empty()) {
    std::move(it + 1, last.end(), it);
    last.back().clear();
  }
  std::move_backward(last.begin(), last.end() - 1, last.end());
  last.front() = oldName;
}

std::string LibraryStore::RecentCaption(int k) const {
  if (k < 1 || k > static_cast<int>(settings_.lastFiles.size())) return {};
  const std::string& entry = settings_.lastFiles[static_cast<std::size_t>(k - 1)];
  return entry.empty() ? std::string() : "&" + std::to_string(k) + "   " + entry;
}

bool LibraryStore::AnyRecent() const {
  return std::any_of(settings_.lastFiles.begin(), settings_.lastFiles.end(),
                     [](const std::string& e) { return !e.empty(); });
}

std::string LibraryStore::LibraryTitle() const {
  const std::string& path = settings_.currentLibrary;
  const std::size_t slash = path.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

void LibraryStore::MacroEntriesChanged(int number) { link_.Hook().WdxUpItem(link_.Glob(), number); }

void LibraryStore::MacroCountChanged() { link_.Hook().WdxUpNumKeys(link_.Glob()); }

void LibraryStore::TellPeer(int code, int argument) { link_.Tell(code, argument); }

std::string EditorCaption(const std::string& libraryTitle, bool showDate, const std::string& dateAndTime) {
  std::string caption = "Wendrix Editor (" + libraryTitle + ")";
  if (showDate) caption += "     " + dateAndTime;
  return caption;
}

}  // namespace wdx::editor
