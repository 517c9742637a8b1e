// Find and replace in an editor's text: the prompt "Search and Replace" (TDoSearch) and the
// search rules both text editors follow. Letters a to z match their upper-case forms; nothing
// else folds case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace wdx::editor {

// Where `find` first stands in `text` at or after `from`; nothing for an empty find text.
std::optional<std::size_t> FindInText(std::string_view text, std::string_view find, std::size_t from = 0);

// Every occurrence of `find` in `text` replaced, left to right, never looked for inside a
// replacement and never overlapping.
struct Replacement {
  std::string text;
  int count = 0;
};
Replacement ReplaceAllInText(std::string_view text, std::string_view find, std::string_view replace);

// The messages of a search: `"x" was not found.` and `"x" was replaced 3 times.`
std::string NotFoundText(std::string_view find);
std::string ReplacedText(std::string_view find, int count);

// Find Again's memory of an editor: where the next search begins and what was found last.
struct TextSearch {
  int SearchStart = 0;
  std::string LastFind;

  // DoSearchFor: looks for `find` from SearchStart; selects it in the box and moves on past
  // it, or says it was not found (caption "Warning") and starts at the top next time.
  void DoSearchFor(forms::TextBox& box, std::string_view find, platform::MessageBoxes& boxes,
                   platform::WindowHandle owner);
};

// The prompt for a find text and (FindOnly 0) its replacement.
class TDoSearch : public forms::Form {
 public:
  explicit TDoSearch(const DialogServices& services);

  // 1: find only (caption "Find", the replacement field disabled).
  std::uint8_t FindOnly = 0;
  // The fields as typed (at most 255 characters, not trimmed).
  std::string FindText;
  std::string ReplaceText;
  // 1 when Ok was pressed with a find text.
  std::uint8_t SearchOk = 0;

  forms::Label FindLabel{this, "FindLabel", "Find"};
  forms::Edit FindEdit{this, "FindEdit"};
  forms::Label ReplaceLabel{this, "ReplaceLabel", "Replace With"};
  forms::Edit ReplaceEdit{this, "ReplaceEdit"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

 private:
  void FormShow();
  void OkButtonClick();

  const DialogServices& services_;
};

}  // namespace wdx::editor
