#include "player/prompts/email_prompt.h"

#include <algorithm>

#include "player/prompts/message_windows.h"
#include "shared/email_tag.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr int kPanelHeight = 284;
constexpr int kColumnWidth = 167;

std::string NameOf(const std::string& line) { return SplitRecipient(line).name; }
std::string AddressOf(const std::string& line) { return SplitRecipient(line).address; }


}  // namespace

// --- The model

std::vector<std::string> EmailPromptModel::Rows(bool addresses) const {
  std::vector<std::string> rows;
  rows.reserve(recipientLines.size());
  for (const std::string& line : recipientLines) rows.push_back(addresses ? AddressOf(line) : NameOf(line));
  return rows;
}

std::optional<forms::Fault> EmailPromptModel::Check() const {
  if (mode != EmailPromptMode::kRecipients) return std::nullopt;
  for (int i = 0; i < kColumns; ++i) {
    const Column& c = columns[static_cast<std::size_t>(i)];
    const std::string prefix = i == 0 ? "To" : i == 1 ? "cc" : "Blind";
    if (TrimView(c.address).empty()) continue;
    if (c.name.find_first_of("|;") != std::string::npos) {
      return forms::Fault{prefix + "NameEdit", "A name cannot hold \"|\" or \";\".  Please correct."};
    }
    if (c.address.find(';') != std::string::npos) {
      return forms::Fault{prefix + "AddressEdit", "An address cannot hold \";\".  Please correct."};
    }
  }
  return std::nullopt;
}

EmailPromptAnswer EmailPromptModel::Answer() const {
  EmailPromptAnswer a;
  a.proceed = true;
  switch (mode) {
    case EmailPromptMode::kRecipients: {
      std::string* out[] = {&a.first, &a.second, &a.third};
      for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        std::string& list = *out[i];
        const std::string address(TrimView(c.address));
        if (!address.empty()) list += std::string(TrimView(c.name)) + "|" + address + ";";
        for (std::size_t row = 0; row < recipientLines.size() && row < c.selected.size(); ++row) {
          if (c.selected[row]) list += recipientLines[row] + ";";
        }
        list += kEmailFieldEnd;
      }
      break;
    }
    case EmailPromptMode::kText: {
      a.first = text;
      const std::string trimmed(TrimView(subject));
      a.second = trimmed.empty() ? "No Subject" : trimmed;
      a.third = receipt ? "YES" : "NO";
      break;
    }
    case EmailPromptMode::kAttachments:
      a.first = JoinEmailPaths(attachments);
      break;
  }
  return a;
}

// --- The prompt

TDoTheEmail::ColumnControls::ColumnControls(forms::Control* parent, const std::string& prefix, const std::string& title)
    : Box(parent, prefix + "Box"),
      Title(&Box, prefix + "Title", title),
      NameLabel(&Box, prefix + "NameLabel", "Name"),
      NameEdit(&Box, prefix + "NameEdit"),
      AddressLabel(&Box, prefix + "AddressLabel", "Address"),
      AddressEdit(&Box, prefix + "AddressEdit"),
      ListLabel(&Box, prefix + "ListLabel", "Select from Recipient List"),
      List(&Box, prefix + "List"),
      ShowName(&Box, prefix + "Name", "Name"),
      ShowAddress(&Box, prefix + "Add", "Address") {
  forms::Font bold = Title.font();
  bold.bold = true;
  Title.SetFont(bold);
  Title.SetBounds(6, 4, 155, 16);
  Title.SetAlignment(forms::Alignment::kCenter);
  NameLabel.SetBounds(6, 24, 155, 16);
  NameEdit.SetBounds(6, 40, 155, 21);
  AddressLabel.SetBounds(6, 66, 155, 16);
  AddressEdit.SetBounds(6, 82, 155, 21);
  ListLabel.SetBounds(6, 108, 155, 16);
  List.SetBounds(6, 124, 155, 98);
  List.SetMultiSelect(true);
  ShowName.SetBounds(6, 226, 70, 20);
  ShowAddress.SetBounds(80, 226, 78, 20);
}

TDoTheEmail::TDoTheEmail(EmailPromptModel& model, platform::MessageBoxes& boxes,
                         std::function<std::optional<std::string>(const forms::FileDialog&)> pickFile,
                         int screenWidth, int screenHeight)
    : PromptForm("DoTheEmail", kCaption),
      model_(model),
      boxes_(boxes),
      pickFile_(std::move(pickFile)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kClientHeight);
  forms::Font titleFont = font();
  titleFont.bold = true;

  RecipientPanel.SetBounds(0, 0, kClientWidth, kPanelHeight);
  RecipientPanel.SetBevel(false);
  RecipientTitle.SetBounds(8, 6, kClientWidth - 16, 16);
  RecipientTitle.SetFont(titleFont);
  RecipientTitle.SetAlignment(forms::Alignment::kCenter);
  for (int i = 0; i < EmailPromptModel::kColumns; ++i) {
    ColumnControls& c = Column(i);
    c.Box.SetBounds(8 + i * (kColumnWidth + 6), 28, kColumnWidth, 252);
    c.ShowName.onClick = [this, i] { ShowRows(i, false); };
    c.ShowAddress.onClick = [this, i] { ShowRows(i, true); };
  }

  TextPanel.SetBounds(0, 0, kClientWidth, kPanelHeight);
  TextPanel.SetBevel(false);
  TextTitle.SetBounds(8, 6, kClientWidth - 16, 16);
  TextTitle.SetFont(titleFont);
  TextTitle.SetAlignment(forms::Alignment::kCenter);
  SubjectLabel.SetBounds(8, 32, 100, 16);
  Subject.SetBounds(8, 48, 310, 21);
  Receipt.SetBounds(330, 48, 191, 21);
  MessageLabel.SetBounds(8, 76, 100, 16);
  MessageText.SetBounds(8, 92, kClientWidth - 16, 186);
  MessageText.SetScrollBars(forms::ScrollBars::kVertical);

  AttachPanel.SetBounds(0, 0, kClientWidth, kPanelHeight);
  AttachPanel.SetBevel(false);
  AttachTitle.SetBounds(8, 6, kClientWidth - 16, 16);
  AttachTitle.SetFont(titleFont);
  AttachTitle.SetAlignment(forms::Alignment::kCenter);
  AttachLabel.SetBounds(8, 32, 200, 16);
  AttachList.SetBounds(8, 48, 410, 228);
  AddAttach.SetBounds(428, 48, 93, 25);
  DeleteAttach.SetBounds(428, 80, 93, 25);
  AddAttach.onClick = [this] { AddAttachClick(); };
  DeleteAttach.onClick = [this] { DeleteAttachClick(); };

  OkButton.SetBounds(kClientWidth / 2 - 98, 292, 93, 25);
  OkButton.SetDefault(true);
  OkButton.onClick = [this] { OkButtonClick(); };
  CancelButton.SetBounds(kClientWidth / 2 + 5, 292, 93, 25);
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  onShow = [this] { FormShow(); };
}

TDoTheEmail::ColumnControls& TDoTheEmail::Column(int i) {
  return i == 0 ? ToColumn : i == 1 ? ccColumn : BlindColumn;
}

void TDoTheEmail::FormShow() {
  accepted = false;
  SetClientSize(kClientWidth, kClientHeight);
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  const EmailPromptMode mode = model_.mode;
  forms::Panel* panels[] = {&RecipientPanel, &TextPanel, &AttachPanel};
  for (int i = 0; i < 3; ++i) {
    const bool shown = static_cast<int>(mode) == i + 1;
    panels[i]->SetVisible(shown);
    panels[i]->SetEnabled(shown);
  }
  if (mode == EmailPromptMode::kRecipients) {
    for (int i = 0; i < EmailPromptModel::kColumns; ++i) {
      auto& column = model_.columns[static_cast<std::size_t>(i)];
      column.selected.assign(model_.recipientLines.size(), false);
      Column(i).ShowName.SetChecked(true);
      ShowRows(i, false);
    }
    SetFocus(&ToColumn.NameEdit);
  } else if (mode == EmailPromptMode::kText) {
    MessageText.SetText("");
    SetFocus(&Subject);
  } else {
    SetFocus(&AddAttach);
  }
  Shown();
}

void TDoTheEmail::ShowRows(int i, bool addresses) {
  ColumnControls& c = Column(i);
  auto& column = model_.columns[static_cast<std::size_t>(i)];
  // What the user chose so far comes from the list shown now.
  if (c.List.count() == static_cast<int>(model_.recipientLines.size())) {
    for (int row = 0; row < c.List.count(); ++row) column.selected[static_cast<std::size_t>(row)] = c.List.selected(row);
  }
  column.showAddresses = addresses;
  c.List.SetItems(model_.Rows(addresses));
  for (int row = 0; row < c.List.count(); ++row) c.List.SetSelected(row, column.selected[static_cast<std::size_t>(row)]);
}

void TDoTheEmail::AddAttachClick() {
  forms::FileDialog dialog;
  dialog.title = "Select File For Attachment";
  dialog.filter = "All Files (*.*)|*.*|Zip Files (*.ZIP)|*.ZIP|Text Files (*.TXT)|*.TXT|Word Files (*.DOC)|*.DOC";
  dialog.hideReadOnly = true;
  dialog.fileMustExist = true;
  // The dialog must be able to come above the prompt.
  SetStayOnTop(false);
  const std::optional<std::string> chosen = pickFile_ ? pickFile_(dialog) : std::nullopt;
  SetStayOnTop(true);
  if (chosen && !chosen->empty()) AttachList.AddItem(*chosen);
}

void TDoTheEmail::DeleteAttachClick() {
  const int index = AttachList.itemIndex();
  if (index < 0) return;
  AttachList.DeleteItem(index);
  AttachList.SetItemIndex(std::min(index, AttachList.count() - 1));
}

void TDoTheEmail::OkButtonClick() {
  for (int i = 0; i < EmailPromptModel::kColumns; ++i) {
    ColumnControls& c = Column(i);
    auto& column = model_.columns[static_cast<std::size_t>(i)];
    column.name = c.NameEdit.text();
    column.address = c.AddressEdit.text();
    if (c.List.count() == static_cast<int>(model_.recipientLines.size())) {
      for (int row = 0; row < c.List.count(); ++row) column.selected[static_cast<std::size_t>(row)] = c.List.selected(row);
    }
  }
  model_.subject = Subject.text();
  model_.text = MessageText.text();
  model_.receipt = Receipt.checked();
  model_.attachments = AttachList.items();
  accepted = forms::Accept(*this, model_.Check(), boxes_);
}

// --- The status window

TEMailStatus::TEMailStatus(const std::string& caption, int screenWidth, int screenHeight)
    : PromptForm("EMailStatus", caption), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetToolWindow(true);
  SetStayOnTop(true);
  SetClientSize(kClientWidth, kClientHeight);
  Mess.SetBounds(4, 8, kClientWidth - 8, 16);
  Mess.SetAlignment(forms::Alignment::kCenter);
  onShow = [this] {
    CentreOnScreen(*this, screenWidth_, screenHeight_);
    Shown();
  };
}

}  // namespace wdx::player
