#include "editor/shell/macro_list.h"

#include <algorithm>

#include "shared/hot_keys.h"
#include "shared/macro_record.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

// The activation kinds as the "Activation Sort" digits number them.
char ActivationKindDigit(std::uint16_t code) {
  switch (code) {
    case activation::kAbbrekey:
      return '2';
    case activation::kTimed:
      return '3';
    case activation::kNone:
      return '4';
    case activation::kWindowTitle:
      return '5';
    case activation::kMouseClick:
      return '6';
    case activation::kFloatingMenu:
      return '7';
    default:
      return '1';  // a hot key (a stray code sorts with them, with no name)
  }
}

// The place (1-based) of a digit within the first `within` characters of a sort string; 0
// when it is not there.
int PlaceOf(const std::string& order, char digit, std::size_t within) {
  const std::size_t at = order.substr(0, within).find(digit);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

// Earlier places get prefixes that compare smaller.
std::string ActivationPart(const ListEntry& e, const SortOrder& order) {
  static const char* const kPrefix[] = {"AAAAAAA", "AAAAAAz", "AAAAAz", "AAAAz", "AAAz", "AAz", "Az"};
  const int place = PlaceOf(order.activation, ActivationKindDigit(e.code), 7);
  std::string part = kPrefix[place >= 1 ? place - 1 : 6];
  if (IsHotKeyIndex(e.code)) part += std::string(HotKeyName(e.code));
  if (e.code == activation::kAbbrekey) part += e.abbrekey;
  return part;
}

std::string ScopePart(const ListEntry& e, const SortOrder& order) {
  static const char* const kPrefix[] = {"AAAAAA", "AAAAAz", "AAAAz", "AAAz", "AAz"};
  char digit = '0';
  if (e.scopeKind >= scope::kGlobal && e.scopeKind <= scope::kSystem) digit = static_cast<char>('0' + e.scopeKind);
  // Only the first five places count: the kind in the sixth sorts after all others.
  const int place = digit == '0' ? 0 : PlaceOf(order.scope, digit, 5);
  std::string part = place >= 1 ? kPrefix[place - 1] : "Az";
  if (e.scopeKind == scope::kWindow || e.scopeKind == scope::kProgram) part += e.scopeText;
  return part;
}

}  // namespace

std::string ActivationText(std::uint16_t code, const std::string& abbrekey) {
  switch (code) {
    case activation::kTimed:
      return "Timed Macro";
    case activation::kAbbrekey:
      return abbrekey;
    case activation::kNone:
      return "None";
    case activation::kFloatingMenu:
      return "Floating Menu";
    case activation::kMouseClick:
      return "Mouse Click";
    case activation::kWindowTitle:
      return "Window Title";
    default:
      return std::string(HotKeyName(code));
  }
}

std::string ScopeColumnText(std::int16_t kind, const std::string& text) {
  switch (kind) {
    case scope::kGlobal:
      return "GLOBAL";
    case scope::kProgram:
      return "Program: " + text.substr(0, kGlobScopeTextMax);
    case scope::kPopupMenu:
      return "Popup Menu";
    case scope::kSystem:
      return "SYSTEM";
    case scope::kFloatingMenu:
      return "Floating Menu";
    default:
      return "Window: " + text;
  }
}

std::string SortKey(const ListEntry& e, const SortOrder& order) {
  const std::string act = ActivationPart(e, order);
  const std::string scp = ScopePart(e, order);
  const char first = order.primary.empty() ? '1' : order.primary[0];
  const char second = order.primary.size() > 1 ? order.primary[1] : '2';
  switch (first) {
    case '1':
      return second == '2' ? act + e.nickname + scp : act + scp + e.nickname;
    case '2':
      return second == '1' ? e.nickname + act + scp : e.nickname + scp + act;
    default:
      return second == '2' ? scp + e.nickname + act : scp + act + e.nickname;
  }
}

std::string TitleClickSort(int col) {
  switch (col) {
    case column::kActivation:
      return "132";
    case column::kNickname:
      return "213";
    case column::kScope:
      return "321";
    default:
      return {};
  }
}

ListEntry MacroList::EntryOf(int macro) const {
  const auto m = static_cast<std::size_t>(macro);
  ListEntry e;
  e.macro = macro;
  e.code = glob_.ActivationCode(macro);
  e.nickname = UpperAscii(settings_.nicknames[m]);
  e.abbrekey = UpperAscii(settings_.abbrekeys[m]);
  e.scopeText = UpperAscii(glob_.ScopeText(macro));
  e.scopeKind = glob_.ScopeKind(macro);
  return e;
}

void MacroList::Fill(int categoryFilter, const SortOrder& order) {
  categoryFilter_ = categoryFilter;
  rows_.clear();
  // The tables hold macros 1..500 whatever count a block or a file claims.
  const int count = std::clamp(glob_.MacroCount(), 0, kMaxMacros);
  struct Keyed {
    std::string key;
    int macro;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(static_cast<std::size_t>(count));
  for (int m = 1; m <= count; ++m) {
    if (categoryFilter != kAllCategories && settings_.categories[static_cast<std::size_t>(m)] != categoryFilter)
      continue;
    keyed.push_back({SortKey(EntryOf(m), order), m});
  }
  // Equal keys keep the library's order.
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  rows_.reserve(keyed.size());
  for (const Keyed& k : keyed) rows_.push_back(k.macro);
}

int MacroList::MacroAt(int row) const {
  if (row < 1 || row > count()) return -1;
  return rows_[static_cast<std::size_t>(row - 1)];
}

int MacroList::RowOf(int macro) const {
  for (int r = 1; r <= count(); ++r) {
    if (rows_[static_cast<std::size_t>(r - 1)] == macro) return r;
  }
  return -1;
}

std::string MacroList::CellText(int col, int row) const {
  const int m = MacroAt(row);
  if (m < 1) return {};
  switch (col) {
    case column::kNumber:
      return std::to_string(row);
    case column::kActivation:
      return ActivationText(glob_.ActivationCode(m), settings_.abbrekeys[static_cast<std::size_t>(m)]);
    case column::kNickname:
      return settings_.nicknames[static_cast<std::size_t>(m)];
    case column::kScope:
      return ScopeColumnText(glob_.ScopeKind(m), glob_.ScopeText(m));
    default:
      return {};
  }
}

bool MacroList::RowActive(int row) const {
  const int m = MacroAt(row);
  return m >= 1 && glob_.MacroActive(m);
}

int MacroList::FindByActivation(const std::string& text) const {
  if (text.empty()) return 0;
  for (int r = 1; r <= count(); ++r) {
    if (UpperAscii(CellText(column::kActivation, r)).rfind(text, 0) == 0) return r;
  }
  return 0;
}

int MacroList::TypeAhead(char ch) {
  switch (ch) {
    case '\b':
      if (search_.empty()) return 0;
      search_.pop_back();
      break;
    case '\t':
    case '\n':
    case '\r':
    case '\x1b':
      search_.clear();
      return 0;
    default:
      if (search_.size() >= kShortStringMax) return 0;
      search_.push_back(UpperAscii(ch));
      break;
  }
  return FindByActivation(search_);
}

}  // namespace wdx::editor
