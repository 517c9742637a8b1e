// The macro list of the editor's main window, as a model: which macros the grid lists in which
// order (all of them or one category's, sorted by a three-part key the user chooses), what each
// cell shows, where a macro's row is, and the type-ahead search over the activation column.
// It reads the in-memory tables the library store keeps (nicknames and categories in the
// settings record, scope and activation in the hook-globals block) and never the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/glob_data.h"
#include "shared/settings.h"

namespace wdx::editor {

// The grid's columns.
namespace column {
inline constexpr int kNumber = 0;
inline constexpr int kIcon = 1;
inline constexpr int kActivation = 2;
inline constexpr int kNickname = 3;
inline constexpr int kScope = 4;
inline constexpr int kCount = 5;
}  // namespace column

inline constexpr int kAllCategories = -1;

// What the activation column shows for a macro: "Timed Macro", the Abbrekey, "None", "Floating
// Menu", "Mouse Click", "Window Title" or the hot key's name (empty for a code that is neither).
std::string ActivationText(std::uint16_t code, const std::string& abbrekey);
// What the scope column shows: "GLOBAL", "Program: " + the program, "Popup Menu", "SYSTEM",
// "Floating Menu", else "Window: " + the window.
std::string ScopeColumnText(std::int16_t kind, const std::string& text);

// The sort settings ([Misc] "Primary Sort", "Activation Sort", "Scope Sort").
struct SortOrder {
  std::string primary = "123";
  std::string activation = "1234567";
  std::string scope = "123456";
};

// One listed macro's sort entries (texts upper-cased except the hot key name).
struct ListEntry {
  int macro = 0;
  std::uint16_t code = 0;
  std::string nickname;
  std::string abbrekey;
  std::string scopeText;
  std::int16_t scopeKind = 0;
};

// The whole sort key of an entry: its activation, nickname and scope parts in the order the
// sort settings give, joined without separators.
std::string SortKey(const ListEntry& entry, const SortOrder& order);
// The primary-sort digits a right click on a column title asks for ("132", "213", "321"), or
// empty for a column without one.
std::string TitleClickSort(int column);

class MacroList {
 public:
  MacroList(const TSettingsRec& settings, const TGlobData& glob) : settings_(settings), glob_(glob) {}

  // Rebuilds the rows: every macro (kAllCategories) or the macros of one category, sorted.
  void Fill(int categoryFilter, const SortOrder& order);
  // Listed rows (0 for an empty list; the grid still shows one empty row).
  int count() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  int categoryFilter() const { return categoryFilter_; }
  // The macro of grid row 1..count, or -1 (rows that show nothing).
  int MacroAt(int row) const;
  // ReverseSort: the first row showing the macro, or -1.
  int RowOf(int macro) const;

  // What a cell shows (the row number for column 0, empty for the icon column); empty for
  // rows that show no macro.
  std::string CellText(int col, int row) const;
  // The macro shown in the row is active (drawn plain, else italic and grey).
  bool RowActive(int row) const;

  // Type-ahead search. A typed character: the row to select, or 0 for none. Backspace drops
  // the last character; Tab, line feed, Enter and Esc empty the text and select nothing.
  int TypeAhead(char ch);
  // The search text starts afresh (the grid gained or lost the focus, a moving key went down).
  void ResetSearch() { search_.clear(); }
  const std::string& searchText() const { return search_; }
  // The first row whose activation text, upper-cased, begins with `text`; 0 when none or when
  // the text is empty.
  int FindByActivation(const std::string& text) const;

 private:
  ListEntry EntryOf(int macro) const;

  const TSettingsRec& settings_;
  const TGlobData& glob_;
  std::vector<int> rows_;
  int categoryFilter_ = kAllCategories;
  std::string search_;
};

}  // namespace wdx::editor
