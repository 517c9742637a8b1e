// The common dialogs of the Win32 runner: open and save file, font and folder.
#include "forms/win32/native.h"
// After <windows.h>, which they need.
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "forms/win32/win32_runner.h"
#include "platform/win32/late_entry.h"

namespace wdx::forms {

namespace {

// The dialog library and what it pulls in take about 9 MB under Wine: loaded on first use.
template <class Fn>
Fn Comdlg(const char* name) {
  return platform::win32::LateEntry<Fn>("comdlg32.dll", name);
}

// "Text (*.TXT)|*.TXT" to the double-NUL list the file dialogs take.
std::vector<char> FilterList(const std::string& filter) {
  std::vector<char> list(filter.begin(), filter.end());
  for (char& c : list) {
    if (c == '|') c = '\0';
  }
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

std::optional<std::string> RunFileDialog(const FileDialog& d, platform::WindowHandle owner, bool save) {
  std::vector<char> filter = FilterList(d.filter);
  std::vector<char> name(MAX_PATH * 4, '\0');
  std::strncpy(name.data(), d.fileName.c_str(), name.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = win32::ToHwnd(owner);
  ofn.lpstrFilter = d.filter.empty() ? nullptr : filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = d.initialDir.empty() ? nullptr : d.initialDir.c_str();
  ofn.lpstrTitle = d.title.empty() ? nullptr : d.title.c_str();
  ofn.lpstrDefExt = d.defaultExt.empty() ? nullptr : d.defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (d.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (d.pathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (d.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (d.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  using FileFn = BOOL(WINAPI*)(OPENFILENAMEA*);
  const FileFn run = Comdlg<FileFn>(save ? "GetSaveFileNameA" : "GetOpenFileNameA");
  const BOOL ok = run ? run(&ofn) : FALSE;
  if (!ok) return std::nullopt;
  return std::string(name.data());
}

}  // namespace

std::optional<std::string> Win32Runner::OpenFileDialog(const FileDialog& dialog, platform::WindowHandle owner) {
  return RunFileDialog(dialog, owner, false);
}

std::optional<std::string> Win32Runner::SaveFileDialog(const FileDialog& dialog, platform::WindowHandle owner) {
  return RunFileDialog(dialog, owner, true);
}

std::optional<Font> Win32Runner::FontDialog(const Font& initial, platform::WindowHandle owner) {
  LOGFONTA lf{};
  lf.lfHeight = -initial.height;
  lf.lfWeight = initial.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = initial.italic;
  lf.lfUnderline = initial.underline;
  lf.lfCharSet = ANSI_CHARSET;
  std::strncpy(lf.lfFaceName, initial.name.c_str(), LF_FACESIZE - 1);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = win32::ToHwnd(owner);
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = win32::ColorRef(initial.color);
  using FontFn = BOOL(WINAPI*)(CHOOSEFONTA*);
  const FontFn choose = Comdlg<FontFn>("ChooseFontA");
  if (!choose || !choose(&cf)) return std::nullopt;
  Font chosen;
  chosen.name = lf.lfFaceName;
  chosen.height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
  chosen.bold = lf.lfWeight >= FW_BOLD;
  chosen.italic = lf.lfItalic != 0;
  chosen.underline = lf.lfUnderline != 0;
  chosen.color = static_cast<Color>(cf.rgbColors);
  return chosen;
}

std::optional<std::string> Win32Runner::FolderDialog(const std::string& title, platform::WindowHandle owner) {
  char display[MAX_PATH] = {};
  BROWSEINFOA bi{};
  bi.hwndOwner = win32::ToHwnd(owner);
  bi.pszDisplayName = display;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  const auto browse = platform::win32::LateEntry<PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOA*)>("shell32.dll", "SHBrowseForFolderA");
  const auto pathOf = platform::win32::LateEntry<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR)>("shell32.dll", "SHGetPathFromIDListA");
  const auto freeMemory = platform::win32::LateEntry<void(WINAPI*)(LPVOID)>("ole32.dll", "CoTaskMemFree");
  if (!browse || !pathOf || !freeMemory) return std::nullopt;
  // The folder browser is a COM client.
  platform::win32::EnsureOle();
  PIDLIST_ABSOLUTE pidl = browse(&bi);
  if (!pidl) return std::nullopt;
  char path[MAX_PATH] = {};
  const BOOL ok = pathOf(pidl, path);
  freeMemory(pidl);
  if (!ok) return std::nullopt;
  return std::string(path);
}

}  // namespace wdx::forms
