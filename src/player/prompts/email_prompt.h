// TDoTheEmail, the "Send E-Mail" prompt of the e-mail command, and TEMailStatus, the one-line
// status window of the e-mail and dial-up commands.
//
// The prompt shows one of three panels: the recipients (three columns, To, CC and Blind CC,
// each with a typed name and address and a choice from the recipient list file), the subject
// and text, or the attachments. Its answers are texts in the list layout of the "<EMAIL:" tag,
// so the command reads typed and stored values alike.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "platform/message_boxes.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

// What the prompt edits and answers.
struct EmailPromptModel {
  static constexpr int kColumns = 3;  // To, CC, Blind CC
  struct Column {
    std::string name, address;      // typed
    std::vector<bool> selected;     // rows of the recipient list chosen
    bool showAddresses = false;     // the list shows addresses (else names)
  };

  EmailPromptMode mode = EmailPromptMode::kRecipients;
  std::vector<std::string> recipientLines;  // the recipient list file, one recipient a line
  std::array<Column, kColumns> columns;
  std::string subject, text;
  bool receipt = false;
  std::vector<std::string> attachments;

  // What a column's list shows of each line: the name (before the first "|") or the address
  // (after it; a line without "|" is an address).
  std::vector<std::string> Rows(bool addresses) const;
  // A typed name or address that would split its list item is refused.
  std::optional<forms::Fault> Check() const;
  // The prompt's texts for its mode (the user chose "&Continue").
  EmailPromptAnswer Answer() const;
};

class TDoTheEmail : public PromptForm {
 public:
  static constexpr int kClientWidth = 529;
  static constexpr int kClientHeight = 324;
  static constexpr const char* kCaption = "Send E-Mail";

  // `pickFile` runs the open-file dialog for an attachment (nullopt: none chosen).
  TDoTheEmail(EmailPromptModel& model, platform::MessageBoxes& boxes,
              std::function<std::optional<std::string>(const forms::FileDialog&)> pickFile, int screenWidth,
              int screenHeight);

  // Recipients.
  forms::Panel RecipientPanel{this, "RecipientPanel"};
  forms::Label RecipientTitle{&RecipientPanel, "RecipientTitle", "Select Recipients For Your E-Mail"};
  struct ColumnControls {
    ColumnControls(forms::Control* parent, const std::string& prefix, const std::string& title);
    forms::Panel Box;
    forms::Label Title;
    forms::Label NameLabel;
    forms::Edit NameEdit;
    forms::Label AddressLabel;
    forms::Edit AddressEdit;
    forms::Label ListLabel;
    forms::ListBox List;
    forms::RadioButton ShowName;
    forms::RadioButton ShowAddress;
  };
  ColumnControls ToColumn{&RecipientPanel, "To", "To"};
  ColumnControls ccColumn{&RecipientPanel, "cc", "CC"};
  ColumnControls BlindColumn{&RecipientPanel, "Blind", "Blind CC"};

  // Subject and text.
  forms::Panel TextPanel{this, "TextPanel"};
  forms::Label TextTitle{&TextPanel, "TextTitle", "Enter Your Subject And Message To Send In Your E-Mail"};
  forms::Label SubjectLabel{&TextPanel, "SubjectLabel", "Subject"};
  forms::Edit Subject{&TextPanel, "Subject"};
  forms::CheckBox Receipt{&TextPanel, "Receipt", "&Request Return Receipt"};
  forms::Label MessageLabel{&TextPanel, "MessageLabel", "Text"};
  forms::Memo MessageText{&TextPanel, "MessageText"};

  // Attachments.
  forms::Panel AttachPanel{this, "AttachPanel"};
  forms::Label AttachTitle{&AttachPanel, "AttachTitle", "Choose Your File Attachments To Send WIth Your E-Mail"};
  forms::Label AttachLabel{&AttachPanel, "AttachLabel", "Attachment List"};
  forms::ListBox AttachList{&AttachPanel, "AttachList"};
  forms::Button AddAttach{&AttachPanel, "AddAttach", "A&dd"};
  forms::Button DeleteAttach{&AttachPanel, "DeleteAttach", "&Delete"};

  forms::Button OkButton{this, "OkButton", "&Continue"};
  forms::Button CancelButton{this, "CancelButton", "&Abort Macro"};

  // Closed by "&Continue" (the model then holds the answers).
  bool accepted = false;

 private:
  ColumnControls& Column(int i);
  void FormShow();
  void OkButtonClick();
  // The column's list shows names or addresses; the chosen rows stay chosen.
  void ShowRows(int column, bool addresses);
  void AddAttachClick();
  void DeleteAttachClick();

  EmailPromptModel& model_;
  platform::MessageBoxes& boxes_;
  std::function<std::optional<std::string>(const forms::FileDialog&)> pickFile_;
  int screenWidth_;
  int screenHeight_;
};

// The status window: a caption and one centred line.
class TEMailStatus : public PromptForm {
 public:
  static constexpr int kClientWidth = 367;
  static constexpr int kClientHeight = 31;

  TEMailStatus(const std::string& caption, int screenWidth, int screenHeight);
  forms::Label Mess{this, "Mess"};

 private:
  int screenWidth_;
  int screenHeight_;
};

}  // namespace wdx::player
