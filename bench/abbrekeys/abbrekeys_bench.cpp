// What one typed key costs the player's Abbrekey matcher: the word kept, and the test against
// 500 Abbrekeys that share their beginnings and endings, the way a user's list does ("sig",
// "sig1", "xsig", ...). The text typed is ordinary prose with a few Abbrekeys in it.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "player/core/abbrekeys_matcher.h"

namespace {

using wdx::player::AbbrekeyCandidates;
using wdx::player::AbbrekeyIndex;
using wdx::player::AbbrekeyMacro;
using wdx::player::AbbrekeyOptions;
using wdx::player::AbbrekeyWord;

std::vector<AbbrekeyMacro> FiveHundred() {
  std::vector<AbbrekeyMacro> macros;
  const std::vector<std::string> stems = {"sig", "addr", "tel", "re", "thx", "btw", "e.g.", "asap", "fyi", "ok"};
  int n = 0;
  for (const std::string& stem : stems) {
    for (int k = 0; k < 50; ++k) {
      // Shared beginnings (sig0, sig1, ...) and shared endings (0sig, 1sig, ...), some exact.
      const std::string key = k % 2 ? stem + std::to_string(k / 2) : std::to_string(k / 2) + stem;
      macros.push_back({++n, key, k % 5 == 0 ? wdx::player::kCaseExact : wdx::player::kCaseIgnore, 1, ""});
    }
  }
  return macros;
}

std::string Prose() {
  const std::vector<std::string> words = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "signal",
                                          "address", "telephone", "regards", "e.g.", "okay", "35sig", "retype"};
  std::mt19937 rng(7);
  std::string text;
  while (text.size() < 20000) text += words[rng() % words.size()] + (rng() % 9 ? " " : ". ");
  return text;
}

void TypeProse(benchmark::State& bs, AbbrekeyOptions o) {
  AbbrekeyIndex index;
  index.Build(FiveHundred());
  const std::string text = Prose();
  AbbrekeyWord word;
  std::size_t matches = 0;
  const AbbrekeyWord::TestIt test = [&] {
    const AbbrekeyCandidates c = index.Find(word.Buffer(), o);
    matches += static_cast<std::size_t>(c.count);
    return false;
  };
  for (auto _ : bs) {
    for (const char c : text) word.Typed(0, static_cast<std::uint8_t>(c), o, test);
  }
  benchmark::DoNotOptimize(matches);
  bs.SetItemsProcessed(static_cast<std::int64_t>(bs.iterations()) * static_cast<std::int64_t>(text.size()));
  bs.counters["ns_per_key"] = benchmark::Counter(static_cast<double>(text.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

// Every word character tests the word (no suffix): the most the matcher is asked.
void BM_PerKeyEveryCharacterTests(benchmark::State& bs) { TypeProse(bs, {}); }
BENCHMARK(BM_PerKeyEveryCharacterTests);

void BM_PerKeySuffixAndPunctuation(benchmark::State& bs) {
  AbbrekeyOptions o;
  o.useSuffix = true;
  o.usePunctuation = true;
  TypeProse(bs, o);
}
BENCHMARK(BM_PerKeySuffixAndPunctuation);

void BM_BuildIndexOf500(benchmark::State& bs) {
  const std::vector<AbbrekeyMacro> macros = FiveHundred();
  for (auto _ : bs) {
    AbbrekeyIndex index;
    index.Build(macros);
    benchmark::DoNotOptimize(index.Size());
  }
}
BENCHMARK(BM_BuildIndexOf500);

}  // namespace
