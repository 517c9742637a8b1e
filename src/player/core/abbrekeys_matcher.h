// The Abbrekey decisions, free of the desktop: which typed characters make up a word, when a word
// is tested, and which Abbrekey macros a word matches. The player's Abbrekey collaborator
// (abbrekeys_activation.h) feeds them the characters the hook library reports and runs what
// they choose.
//
// A word matches an Abbrekey only when the Abbrekey (after the prefix keys) ends at the last
// typed character: the Backspaces that erase it count from the caret, so a match further back
// in the word would erase the wrong characters.
//
// Matching runs on every typed key, so the Abbrekeys are kept in two tries of their reversed
// texts (one as written for the case-sensitive mode, one upper-cased for the others): a key
// costs a walk of at most a few nodes from the end of the word, whatever the number of
// Abbrekeys.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/settings.h"

namespace wdx::player {

inline constexpr std::size_t kAbbrekeyMaxLength = 10;
// The most matches TestIt considers; later ones (by macro number) are dropped.
inline constexpr int kAbbrekeyCandidatesMax = 50;
// Case modes of an Abbrekey macro.
inline constexpr int kCaseFirstLetter = 1;  // the first typed letter's case decides the text's
inline constexpr int kCaseExact = 2;        // compared as typed
inline constexpr int kCaseIgnore = 3;       // compared without case
// Removal option: 2 leaves the typed Abbrekey in place.
inline constexpr int kRemovalKeep = 2;

// Letters, digits and 25 punctuation characters make up words; anything else breaks them.
bool IsAbbrekeyWordChar(std::uint8_t c);
// The punctuation that, with "Use Suffix" and "Use Punctuation", first tests the word.
bool IsAbbrekeyPunctuationTrigger(std::uint8_t c);

// The [Abbrekeys] settings that matching reads.
struct AbbrekeyOptions {
  bool useSuffix = false;
  bool usePunctuation = false;
  bool retypeSuffix = true;
  bool solitary = false;
  std::string prefix;  // "Prefix Keys", at most 2 characters
  static AbbrekeyOptions From(const TSettingsRec& s);
  // The prefix in force: none with "Use Suffix".
  std::string_view Prefix() const { return useSuffix ? std::string_view() : std::string_view(prefix); }
};

// One active Abbrekey macro.
struct AbbrekeyMacro {
  int number = 0;
  std::string abbrekey;
  int caseMode = kCaseIgnore;
  std::int16_t scopeKind = 1;
  std::string scopeText;
};

// The matches of one test, by macro number: indexes into the index's macros.
struct AbbrekeyCandidates {
  std::array<std::uint16_t, kAbbrekeyCandidatesMax> items{};
  int count = 0;
  bool global = false;
  bool window = false;
  bool program = false;
};

class AbbrekeyIndex {
 public:
  // `macros` in macro-number order. An empty Abbrekey is left out: it would match every key.
  void Build(std::vector<AbbrekeyMacro> macros);
  const AbbrekeyMacro& Macro(std::uint16_t index) const { return macros_[index]; }
  std::size_t Size() const { return macros_.size(); }

  // The macros whose prefix + Abbrekey the word ends with (equals, with "Solitary Usage" or
  // "Use Suffix"), in macro-number order, at most kAbbrekeyCandidatesMax. None when the prefix
  // keys do not occur in the word as typed.
  AbbrekeyCandidates Find(std::string_view word, const AbbrekeyOptions& o) const;

 private:
  struct Node {
    std::uint32_t firstChild = 0;  // 0: none (the root is never a child)
    std::uint32_t nextSibling = 0;
    std::uint32_t firstMacro = 0;  // into terminals_, a run ended by count
    std::uint16_t macroCount = 0;
    char c = 0;
  };
  struct Trie {
    std::vector<Node> nodes;
    std::array<std::uint32_t, 256> root{};  // the child of the root for each last character
    std::vector<std::uint16_t> terminals;
    void Insert(std::string_view reversed, std::uint16_t macro, std::vector<std::vector<std::uint16_t>>& ends);
    std::uint32_t Child(std::uint32_t node, char c) const;
  };
  void Walk(const Trie& t, std::string_view word, bool upper, const AbbrekeyOptions& o, std::uint16_t* found,
            int& n) const;

  std::vector<AbbrekeyMacro> macros_;
  mutable std::vector<std::uint16_t> scratch_;
  Trie exact_;
  Trie folded_;
};

// The typed word and the decisions of one UM_ABBREKEYCHAR: when the word is tested (TestIt),
// what joins it and what empties it.
class AbbrekeyWord {
 public:
  // TestIt with the word as it stands; true when it ran a macro (which empties the word).
  using TestIt = std::function<bool()>;

  // One report of the hook library: wParam `flags` (1 empties the word) and the character.
  void Typed(std::uint64_t flags, std::uint8_t c, const AbbrekeyOptions& o, const TestIt& test);
  const std::string& Buffer() const { return buffer_; }
  char Trigger() const { return trigger_; }
  void Clear() { buffer_.clear(); }

 private:
  std::string buffer_;
  char trigger_ = ' ';
};

// Which candidate runs: the first window-scoped one whose scope text occurs in the foreground
// window's title, else the first program-scoped one whose scope text occurs in the foreground
// program's name, else the first global one; -1 for none. The title and the program name are
// asked for only when a candidate of that scope needs them (upper-cased; empty when unknown).
// `hasWindow` false (no foreground window) skips the window pass.
int ChooseAbbrekeyCandidate(const AbbrekeyIndex& index, const AbbrekeyCandidates& c, bool hasWindow,
                            const std::function<std::string()>& upperTitle,
                            const std::function<std::string()>& upperProgram);

// The macro text an Abbrekey run types: the first letter upper-cased when the macro follows the
// first typed letter's case and that letter was a capital (a-z, and the Latin-1 letters
// 224..254), the suffix character typed again when asked.
std::string AbbrekeyRunText(std::string text, bool capitalise, bool retype, char trigger);

}  // namespace wdx::player
