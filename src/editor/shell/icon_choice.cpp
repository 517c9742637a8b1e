#include "editor/shell/icon_choice.h"

#include <filesystem>
#include <system_error>

#include "shared/text_util.h"

namespace wdx::editor {

std::string IconFolder(const EditorContext& context) { return context.programFolder + "\\Icons"; }

std::optional<std::string> ChooseIconFile(TMainWin& main, EditorContext& context, platform::WindowHandle owner) {
  platform::Files& files = *context.platform.files;
  const std::string folder = IconFolder(context);
  std::error_code ec;
  if (!std::filesystem::is_directory(files.NativePath(folder), ec)) {
    main.Box("The icon folder " + folder + " does not exist.", "Error", platform::mb::kOk);
    return std::nullopt;
  }
  forms::FileDialog dialog;
  dialog.title = "Load in Icon";
  dialog.filter = "Icons (*.ico)|*.ICO";
  dialog.defaultExt = "ICO";
  dialog.initialDir = folder;
  dialog.fileMustExist = true;
  dialog.hideReadOnly = true;
  const std::optional<std::string> chosen = context.forms->OpenFileDialog(dialog, owner);
  if (!chosen) return std::nullopt;
  if (chosen->size() < 4 || UpperAscii(chosen->substr(chosen->size() - 4)) != ".ICO") {
    main.Box(kInvalidFileTypeText, "Error", platform::mb::kOk);
    return std::nullopt;
  }
  const std::size_t slash = chosen->find_last_of("\\/");
  const std::string name = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
  const std::string target = folder + "\\" + name;
  if (UpperAscii(target) != UpperAscii(*chosen)) {
    const bool copied = std::filesystem::copy_file(files.NativePath(*chosen), files.NativePath(target),
                                                   std::filesystem::copy_options::skip_existing, ec);
    if (!copied) {
      main.Box("The selected icon could not be opened.  An icon of this name already exists in the default icon "
               "folder.  It will be opened instead.",
               "Error", platform::mb::kOk);
    }
  }
  // The record keeps an icon name of at most 12 characters: a longer one could not be found again.
  if (!std::filesystem::exists(files.NativePath(target), ec) || name.size() > 12) {
    main.Box("Icon could not be opened.", "Error", platform::mb::kOk);
    return std::nullopt;
  }
  return name;
}

}  // namespace wdx::editor
