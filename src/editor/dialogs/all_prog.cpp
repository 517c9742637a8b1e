#include "editor/dialogs/all_prog.h"

#include <algorithm>
#include <filesystem>

#include "editor/dialogs/dialog_layout.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool Contains(std::string_view text, std::string_view upperNeedle) {
  return UpperAscii(text).find(upperNeedle) != std::string::npos;
}

void Scan(const std::string& folder, const ProgramScan& scan, InstalledPrograms& list) {
  std::error_code ec;
  std::filesystem::directory_iterator it(scan.files->NativePath(folder), ec);
  if (ec) return;
  std::vector<std::filesystem::directory_entry> items(it, std::filesystem::directory_iterator());
  // One order on every system, so that the first of two alike entries is always the same.
  std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.path() < b.path(); });
  for (const auto& item : items) {
    const std::string name = item.path().filename().string();
    const std::string path = folder + "\\" + name;
    if (item.is_directory(ec)) {
      Scan(path, scan, list);
      continue;
    }
    if (!Contains(name, ".LNK")) continue;
    const std::optional<std::string> target = scan.links->Target(path);
    if (!target || !Contains(*target, ".EXE") || Contains(*target, "WINHELP.EXE")) continue;
    if (!std::filesystem::exists(scan.files->NativePath(*target), ec)) continue;
    const std::string entry = name + FileNameOf(*target);
    const bool known = std::any_of(list.entries.begin(), list.entries.end(),
                                   [&](const std::string& e) { return EqualsNoCase(e, entry); });
    if (!known) list.entries.push_back(entry);
  }
}

}  // namespace

void LoadInstalledPrograms(InstalledPrograms& list, const ProgramScan& scan) {
  if (list.built) return;
  if (scan.registry != nullptr && scan.files != nullptr && scan.links != nullptr) {
    const std::optional<std::string> folders[] = {
        scan.registry->ReadString(platform::RegistryRoot::kCurrentUser, kShellFolders, "Start Menu"),
        scan.registry->ReadString(platform::RegistryRoot::kLocalMachine, kShellFolders, "Common Start Menu")};
    for (const auto& folder : folders) {
      if (folder && !folder->empty()) Scan(*folder, scan, list);
    }
  }
  list.built = true;
}

std::string ProgramNameOf(std::string_view entry) {
  const std::size_t at = UpperAscii(entry).find(".LNK");
  return at == std::string::npos ? std::string() : std::string(entry.substr(at + 4));
}

std::string ShortcutNameOf(std::string_view entry) {
  const std::size_t at = UpperAscii(entry).find(".LNK");
  return std::string(entry.substr(0, at));
}

TDoAllProgs::TDoAllProgs(InstalledPrograms& list, const ProgramScan& scan, const DialogServices& services)
    : Form("DoAllProgs", "List of Installed Programs"), list_(list), scan_(scan), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(420, 300);
  forms::Font bold;
  bold.bold = true;
  NameHead.SetFont(bold);
  ExeHead.SetFont(bold);
  NameHead.SetBounds(layout::kMargin + 2, layout::kMargin, 200, 16);
  ExeHead.SetBounds(layout::kMargin + 2 + 404 * 3 / 5, layout::kMargin, 150, 16);
  ProgBox.SetBounds(layout::kMargin, layout::kMargin + 20, 404, 230);
  layout::ButtonRow(*this, {&OkButton, &CancelButton});
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  ProgBox.onDblClick = [this] { OkButtonClick(); };
  ProgBox.onDrawItem = [this](int index, const platform::Rect& r, bool selected, forms::Canvas& canvas) {
    ProgBoxDrawItem(index, r, selected, canvas);
  };
  onShow = [this] { FormShow(); };
}

void TDoAllProgs::FormShow() {
  services_.Centre(*this);
  LoadProgName();
  Chosen = 0;
}

void TDoAllProgs::LoadProgName() {
  LoadInstalledPrograms(list_, scan_);
  shown_ = list_.entries;
  std::stable_sort(shown_.begin(), shown_.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
  ProgBox.SetItems(shown_);
}

void TDoAllProgs::ProgBoxDrawItem(int index, const platform::Rect& r, bool selected, forms::Canvas& canvas) {
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  const std::string& entry = shown_[index];
  const int split = r.left + (r.right - r.left) * 3 / 5;
  canvas.font.color = selected ? forms::kColorHighlightText : forms::kColorWindowText;
  canvas.font.bold = false;
  canvas.WriteText(r.left + 2, r.top, ShortcutNameOf(entry), {r.left, r.top, split, r.bottom});
  canvas.WriteText(split + 2, r.top, ProgramNameOf(entry), {split, r.top, r.right, r.bottom});
  canvas.brushColor = forms::Rgb(128, 128, 128);
  canvas.FillRect({split, r.top, split + 1, r.bottom});
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
}

void TDoAllProgs::OkButtonClick() {
  const int row = ProgBox.itemIndex();
  if (row < 0 || row >= static_cast<int>(shown_.size())) {
    forms::Accept(*this, forms::Fault{"ProgBox", "No program selected.  Please select one."}, *services_.boxes);
    return;
  }
  Chosen = 1;
  ProgramName = ProgramNameOf(shown_[row]);
  forms::Accept(*this, std::nullopt, *services_.boxes);
}

}  // namespace wdx::editor
