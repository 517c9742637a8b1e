// A remark ("Remark"): a comment inside the macro that does nothing when it plays.
#pragma once

#include <optional>
#include <string>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"

namespace wdx::editor {

// The comment, trimmed. The player skips a remark up to its first ">", so a comment holding
// ">" would type the rest of itself into the user's program: it is refused, as is a comment
// too long for the tag to keep its closing ">".
struct RemarkModel {
  std::string Comments;
  std::optional<forms::Fault> Check() const;
  std::optional<std::string> Tag() const;
};

class TDoRemark : public CommandDialogOf<RemarkModel> {
 public:
  explicit TDoRemark(const DialogServices& services);

  forms::Label CommentLabel{this, "CommentLabel", "Comment"};
  forms::Edit Comments{this, "Comments"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void ShowModel(const RemarkModel& m) override;
  RemarkModel ReadModel() const override;
};

}  // namespace wdx::editor
