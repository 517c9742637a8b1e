#include "editor/dialogs/search.h"

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"
#include "shared/text_util.h"

namespace wdx::editor {

std::optional<std::size_t> FindInText(std::string_view text, std::string_view find, std::size_t from) {
  if (find.empty() || from > text.size()) return std::nullopt;
  const std::size_t at = FindNoCase(text, find, from);
  if (at == std::string_view::npos) return std::nullopt;
  return at;
}

Replacement ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replace) {
  Replacement r;
  std::size_t rest = 0;
  while (std::optional<std::size_t> at = FindInText(text, find, rest)) {
    r.text.append(text.substr(rest, *at - rest));
    r.text.append(replace);
    rest = *at + find.size();
    ++r.count;
  }
  r.text.append(text.substr(rest));
  return r;
}

std::string NotFoundText(std::string_view find) { return "\"" + std::string(find) + "\" was not found."; }

std::string ReplacedText(std::string_view find, int count) {
  return "\"" + std::string(find) + "\" was replaced " + std::to_string(count) + " times.";
}

void TextSearch::DoSearchFor(forms::TextBox& box, std::string_view find, platform::MessageBoxes& boxes,
                             platform::WindowHandle owner) {
  // The text is read anew for every search, so edits between two searches count.
  const std::string& text = box.text();
  const std::size_t from = static_cast<std::size_t>(std::max(SearchStart, 0));
  const std::optional<std::size_t> at = FindInText(text, find, from);
  if (!at) {
    boxes.Show(owner, NotFoundText(find), "Warning", platform::mb::kOk);
    SearchStart = 0;
    return;
  }
  box.SetSelection(static_cast<int>(*at), static_cast<int>(find.size()));
  SearchStart = static_cast<int>(*at + find.size());
}

TDoSearch::TDoSearch(const DialogServices& services) : Form("DoSearch", "Search and Replace"), services_(services) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(layout::kMargin * 3 + 260 + layout::kButtonWidth, 104);
  FindLabel.SetBounds(layout::kMargin, layout::kMargin + 4, 260, 16);
  FindEdit.SetBounds(layout::kMargin, layout::kMargin + 22, 260, layout::kEditHeight);
  ReplaceLabel.SetBounds(layout::kMargin, layout::kMargin + 50, 260, 16);
  ReplaceEdit.SetBounds(layout::kMargin, layout::kMargin + 68, 260, layout::kEditHeight);
  for (forms::Edit* e : {&FindEdit, &ReplaceEdit}) e->SetMaxLength(static_cast<int>(kShortText));
  layout::ButtonColumn(*this, OkButton, CancelButton, nullptr);
  UseOkCancel(OkButton, CancelButton, [this] { OkButtonClick(); });
  onShow = [this] { FormShow(); };
}

void TDoSearch::FormShow() {
  services_.Centre(*this);
  SearchOk = 0;
  const bool replacing = FindOnly != 1;
  SetCaption(replacing ? "Search and Replace" : "Find");
  ReplaceLabel.SetEnabled(replacing);
  ReplaceEdit.SetEnabled(replacing);
  FindEdit.SetFocus();
}

void TDoSearch::OkButtonClick() {
  FindText = FindEdit.text().substr(0, kShortText);
  ReplaceText = ReplaceEdit.text().substr(0, kShortText);
  SearchOk = FindText.empty() ? 0 : 1;
  SetModalResult(forms::ModalResult::kOk);
}

}  // namespace wdx::editor
