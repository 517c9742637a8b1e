#include "editor/dialogs/remark.h"

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "shared/command_fields.h"
#include "shared/command_layouts.h"

namespace wdx::editor {

std::optional<forms::Fault> RemarkModel::Check() const {
  if (Comments.find('>') != std::string::npos) {
    return forms::Fault{"Comments", "A remark cannot hold the character \">\".  Please correct."};
  }
  if (Comments.size() > cmd::kRemarkMaxLength) {
    return forms::Fault{"Comments", "A remark can hold at most " + std::to_string(cmd::kRemarkMaxLength) +
                                        " characters.  Please correct."};
  }
  return std::nullopt;
}

std::optional<std::string> RemarkModel::Tag() const {
  return EncodeCommand(Command{TagId::kRem, {FieldValue::Text(Comments)}});
}

TDoRemark::TDoRemark(const DialogServices& services) : CommandDialogOf("DoRemark", "Remark", "Remarks", services) {
  SetClientSize(layout::kMargin * 3 + 360 + layout::kButtonWidth, 104);
  CommentLabel.SetBounds(layout::kMargin, layout::kMargin + 6, 360, 16);
  Comments.SetBounds(layout::kMargin, layout::kMargin + 24, 360, 21);
  Comments.SetMaxLength(static_cast<int>(cmd::kRemarkMaxLength));
  layout::ButtonColumn(*this, OkButton, CancelButton, &HelpButton);
  UseButtons(OkButton, CancelButton, &HelpButton);
}

void TDoRemark::ShowModel(const RemarkModel& m) {
  Comments.SetText(m.Comments);
  Comments.SetFocus();
}

RemarkModel TDoRemark::ReadModel() const { return {FieldText(Comments.text())}; }

}  // namespace wdx::editor
