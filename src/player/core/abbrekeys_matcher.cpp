#include "player/core/abbrekeys_matcher.h"

#include <algorithm>

#include "shared/macro_record.h"
#include "shared/protocol_messages.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr std::string_view kWordPunctuation = "!@#$%^&_=<>?.;,*-/\\+)]`\"'";
constexpr std::string_view kPunctuationTriggers = ".,;?!-)]`\"'";

struct CharTable {
  std::array<bool, 256> word{};
  std::array<bool, 256> trigger{};
  CharTable() {
    for (int c = 'A'; c <= 'Z'; ++c) word[static_cast<std::size_t>(c)] = word[static_cast<std::size_t>(c + 32)] = true;
    for (int c = '0'; c <= '9'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (const char c : kWordPunctuation) word[static_cast<unsigned char>(c)] = true;
    for (const char c : kPunctuationTriggers) trigger[static_cast<unsigned char>(c)] = true;
  }
};
const CharTable kChars;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

bool IsAbbrekeyWordChar(std::uint8_t c) { return kChars.word[c]; }
bool IsAbbrekeyPunctuationTrigger(std::uint8_t c) { return kChars.trigger[c]; }

AbbrekeyOptions AbbrekeyOptions::From(const TSettingsRec& s) {
  AbbrekeyOptions o;
  o.useSuffix = s.useSuffix;
  o.usePunctuation = s.usePunctuation;
  o.retypeSuffix = s.retypeSuffix;
  o.solitary = s.solitaryUsage;
  o.prefix = s.prefixKeys.substr(0, 2);
  return o;
}

// ---------------------------------------------------------------------------------------------
// The index

std::uint32_t AbbrekeyIndex::Trie::Child(std::uint32_t node, char c) const {
  for (std::uint32_t k = nodes[node].firstChild; k != 0; k = nodes[k].nextSibling)
    if (nodes[k].c == c) return k;
  return 0;
}

void AbbrekeyIndex::Trie::Insert(std::string_view reversed, std::uint16_t macro,
                                 std::vector<std::vector<std::uint16_t>>& ends) {
  if (nodes.empty()) {
    nodes.emplace_back();  // the root
    ends.emplace_back();
  }
  std::uint32_t at = 0;
  for (const char c : reversed) {
    std::uint32_t next = Child(at, c);
    if (next == 0) {
      next = static_cast<std::uint32_t>(nodes.size());
      Node n;
      n.c = c;
      n.nextSibling = nodes[at].firstChild;
      nodes.push_back(n);
      ends.emplace_back();
      nodes[at].firstChild = next;
      if (at == 0) root[static_cast<unsigned char>(c)] = next;
    }
    at = next;
  }
  ends[at].push_back(macro);
}

void AbbrekeyIndex::Build(std::vector<AbbrekeyMacro> macros) {
  macros_.clear();
  exact_ = Trie();
  folded_ = Trie();
  std::vector<std::vector<std::uint16_t>> exactEnds;
  std::vector<std::vector<std::uint16_t>> foldedEnds;
  for (AbbrekeyMacro& m : macros) {
    if (m.abbrekey.empty() || macros_.size() > 0xFFFF) continue;
    if (m.abbrekey.size() > kAbbrekeyMaxLength) m.abbrekey.resize(kAbbrekeyMaxLength);
    const auto index = static_cast<std::uint16_t>(macros_.size());
    std::string reversed(m.abbrekey.rbegin(), m.abbrekey.rend());
    if (m.caseMode == kCaseExact) {
      exact_.Insert(reversed, index, exactEnds);
    } else {
      for (char& c : reversed) c = Upper(c);
      folded_.Insert(reversed, index, foldedEnds);
    }
    macros_.push_back(std::move(m));
  }
  // Each node's macros as one run of the flat list, in macro-number order.
  const auto flatten = [](Trie& t, std::vector<std::vector<std::uint16_t>>& ends) {
    for (std::size_t i = 0; i < ends.size(); ++i) {
      t.nodes[i].firstMacro = static_cast<std::uint32_t>(t.terminals.size());
      t.nodes[i].macroCount = static_cast<std::uint16_t>(ends[i].size());
      t.terminals.insert(t.terminals.end(), ends[i].begin(), ends[i].end());
    }
  };
  flatten(exact_, exactEnds);
  flatten(folded_, foldedEnds);
  scratch_.assign(macros_.size(), 0);
}

void AbbrekeyIndex::Walk(const Trie& t, std::string_view word, bool upper, const AbbrekeyOptions& o,
                         std::uint16_t* found, int& n) const {
  if (t.nodes.empty() || word.empty()) return;
  const std::string_view prefix = o.Prefix();
  const bool whole = o.solitary || o.useSuffix;
  const auto charAt = [&](std::size_t i) { return upper ? Upper(word[i]) : word[i]; };
  std::size_t i = word.size();
  std::uint32_t at = t.root[static_cast<unsigned char>(charAt(i - 1))];
  while (at != 0) {
    --i;  // the Abbrekeys of this node take word[i..]
    const Node& node = t.nodes[at];
    if (node.macroCount != 0 && i >= prefix.size() && (!whole || i == prefix.size()) &&
        word.substr(i - prefix.size(), prefix.size()) == prefix) {
      for (std::uint32_t k = 0; k < node.macroCount; ++k) found[n++] = t.terminals[node.firstMacro + k];
    }
    if (i == 0) break;
    at = t.Child(at, charAt(i - 1));
  }
}

AbbrekeyCandidates AbbrekeyIndex::Find(std::string_view word, const AbbrekeyOptions& o) const {
  AbbrekeyCandidates c;
  // Every macro sits at one node of one trie, so the scratch holds all the matches there are.
  std::vector<std::uint16_t>& found = scratch_;
  int n = 0;
  Walk(exact_, word, false, o, found.data(), n);
  Walk(folded_, word, true, o, found.data(), n);
  if (n == 0) return c;
  // Each walk finds the shorter Abbrekeys first; the candidates go by macro number.
  if (n > 1) std::sort(found.begin(), found.begin() + n);
  c.count = std::min(n, kAbbrekeyCandidatesMax);
  for (int k = 0; k < c.count; ++k) {
    c.items[static_cast<std::size_t>(k)] = found[static_cast<std::size_t>(k)];
    switch (macros_[found[static_cast<std::size_t>(k)]].scopeKind) {
      case scope::kGlobal: c.global = true; break;
      case scope::kWindow: c.window = true; break;
      case scope::kProgram: c.program = true; break;
      default: break;
    }
  }
  return c;
}

// ---------------------------------------------------------------------------------------------
// The typed word

void AbbrekeyWord::Typed(std::uint64_t flags, std::uint8_t c, const AbbrekeyOptions& o, const TestIt& test) {
  if (flags == kAbbrekeyReset) {
    buffer_.clear();
    return;
  }
  if (IsAbbrekeyWordChar(c)) {
    if (o.useSuffix && o.usePunctuation && IsAbbrekeyPunctuationTrigger(c)) {
      trigger_ = static_cast<char>(c);
      if (test()) return;
    }
    buffer_.push_back(static_cast<char>(c));
    const std::size_t limit = o.prefix.size() + kAbbrekeyMaxLength;
    if (buffer_.size() > limit) buffer_.erase(0, buffer_.size() - limit);
    if (!o.useSuffix) test();
    return;
  }
  if (c == '\b') {
    if (!buffer_.empty()) buffer_.pop_back();
    return;
  }
  if (o.useSuffix && (c == ' ' || c == '\r' || (o.usePunctuation && c == ':'))) {
    trigger_ = static_cast<char>(c);
    test();
  }
  buffer_.clear();
}

// ---------------------------------------------------------------------------------------------
// The choice and the text

int ChooseAbbrekeyCandidate(const AbbrekeyIndex& index, const AbbrekeyCandidates& c, bool hasWindow,
                            const std::function<std::string()>& upperTitle,
                            const std::function<std::string()>& upperProgram) {
  const auto first = [&](std::int16_t kind, const std::string* subject) {
    for (int k = 0; k < c.count; ++k) {
      const AbbrekeyMacro& m = index.Macro(c.items[static_cast<std::size_t>(k)]);
      if (m.scopeKind != kind) continue;
      if (!subject || subject->find(UpperAscii(m.scopeText)) != std::string::npos) return m.number;
    }
    return -1;
  };
  if (c.window && hasWindow) {
    const std::string title = upperTitle();
    const int n = first(scope::kWindow, &title);
    if (n > 0) return n;
  }
  if (c.program) {
    const std::string program = upperProgram();
    const int n = first(scope::kProgram, &program);
    if (n > 0) return n;
  }
  if (c.global) return first(scope::kGlobal, nullptr);
  return -1;
}

std::string AbbrekeyRunText(std::string text, bool capitalise, bool retype, char trigger) {
  if (capitalise && !text.empty()) {
    const auto first = static_cast<unsigned char>(text[0]);
    // The Latin-1 small letters: 224..254 without the division sign.
    if ((first >= 'a' && first <= 'z') || (first >= 224 && first <= 254 && first != 247))
      text[0] = static_cast<char>(first - 32);
  }
  if (retype) text.push_back(trigger);
  return text;
}

}  // namespace wdx::player
