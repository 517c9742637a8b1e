#include "editor/dialogs/block.h"

#include "editor/dialogs/dialog_layout.h"
#include "shared/command_fields.h"

namespace wdx::editor {

TfrmBlock::TfrmBlock(const DialogServices& services) : Form("frmBlock", "Manipulate Block"), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(layout::kMargin * 3 + 180 + layout::kButtonWidth, 112);
  Commands.SetBounds(layout::kMargin, layout::kMargin, 180, 96);
  forms::RadioButton* const cases[] = {&rbtnLowercase, &rbtnUppercase, &rbtnToggle};
  layout::RadioGrid(cases, 1, 156);
  rbtnLowercase.SetChecked(true);
  layout::ButtonColumn(*this, btnOk, btnCancel, &btnHelp);
  btnOk.SetDefault(true);
  btnOk.SetModalResult(forms::ModalResult::kOk);
  btnCancel.SetCancel(true);
  btnCancel.SetModalResult(forms::ModalResult::kCancel);
  btnHelp.onClick = [this] { btnHelpClick(); };
  // The form's own place is the middle of the screen.
  onShow = [this] { services_.Centre(*this); };
  onClose = [this](forms::CloseAction&) { FormClose(); };
}

void TfrmBlock::FormClose() {
  ResultText.clear();
  if (modalResult() != forms::ModalResult::kOk) return;
  cmd::block_case::Kind kind = cmd::block_case::kLower;
  if (rbtnUppercase.checked()) kind = cmd::block_case::kUpper;
  if (rbtnToggle.checked()) kind = cmd::block_case::kToggle;
  ResultText = EncodeCommand(Command{cmd::block_case::kTags[kind], {}}).value_or("");
}

void TfrmBlock::btnHelpClick() {
  if (services_.help != nullptr) services_.help->ShowKeyword(Handle(), services_.HelpFile(), "Text Commands");
}

}  // namespace wdx::editor
