#include "editor/dialogs/command_dialog.h"

namespace wdx::editor {

DialogServices DialogServices::Of(const platform::Platform& p, std::string programFolder) {
  DialogServices s;
  s.boxes = p.boxes;
  s.help = p.help;
  if (p.input != nullptr) s.screen = p.input->ScreenSize();
  s.programFolder = std::move(programFolder);
  return s;
}

std::string DialogServices::HelpFile() const {
  std::string folder = programFolder;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder + "\\WENDRIX.HLP";
}

void DialogServices::Centre(forms::Form& form) const {
  form.SetBounds((screen.x - form.width()) / 2, (screen.y - form.height()) / 2, form.width(), form.height());
}

CommandDialog::CommandDialog(std::string name, std::string caption, std::string helpKeyword,
                             const DialogServices& services)
    : Form(std::move(name), std::move(caption)), helpKeyword_(std::move(helpKeyword)), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  onShow = [this] { FormShow(); };
}

void UseOkCancel(forms::Button& ok, forms::Button& cancel, std::function<void()> onOk) {
  ok.SetDefault(true);
  ok.onClick = std::move(onOk);
  cancel.SetCancel(true);
  cancel.SetModalResult(forms::ModalResult::kCancel);
}

void CommandDialog::UseButtons(forms::Button& ok, forms::Button& cancel, forms::Button* help) {
  UseOkCancel(ok, cancel, [this] { OkButtonClick(); });
  cancel.onClick = [this] { CancelButtonClick(); };
  if (help != nullptr) help->onClick = [this] { HelpButtonClick(); };
}

void CommandDialog::FormShow() {
  services_.Centre(*this);
  ResultText.clear();
  ShowFields();
}

void CommandDialog::OkButtonClick() {
  const std::optional<forms::Fault> fault = TakeFields();
  if (fault) ResultText.clear();
  forms::Accept(*this, fault, *services_.boxes);
}

void CommandDialog::CancelButtonClick() {
  ResultText.clear();
  Close();
}

void CommandDialog::HelpButtonClick() {
  if (services_.help != nullptr) services_.help->ShowKeyword(Handle(), services_.HelpFile(), helpKeyword_);
}

}  // namespace wdx::editor
