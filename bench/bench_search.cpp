// The searches on real packages, read in place, beside the cost of the same look-ups in an
// in-memory std::unordered_map of the same words (the reference of the ratios in
// docs/performance.md). The packages come from the environment, as scripts/bench.sh sets it:
// PARLAVENT_BENCH_SAMPLE (the de-ru sample) and PARLAVENT_BENCH_LARGE (built from
// dict-freedict-eng-deu); a package that is not given is not measured.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kWords = 1000;  // words looked up per measured round

// One open package, the words the benchmarks look up in it, and its heap use.
struct Bench {
  DictionaryEngine engine;
  std::shared_ptr<clsDic> dic;
  std::vector<std::u16string> words;
  std::vector<std::u16string> prefixes;  // one to three letters of the words
  std::vector<std::u16string> letters;   // first letters, as the alphabet index asks
  std::size_t heapAfterOpen = 0;
};

std::size_t HeapInUse() { return mallinfo2().uordblks; }

Bench* Open(const char* variable) {
  static std::map<std::string, std::unique_ptr<Bench>> open;
  auto& slot = open[variable];
  if (slot) return slot.get();
  const char* path = std::getenv(variable);
  if (!path) return nullptr;
  slot = std::make_unique<Bench>();
  Bench& b = *slot;
  const std::size_t before = HeapInUse();
  b.dic = OpenPackageDic(b.engine.Files, path);
  if (!b.dic || b.dic->Words < 1) {
    slot.reset();
    return nullptr;
  }
  b.heapAfterOpen = HeapInUse() - before;
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> ids(1, b.dic->Words);
  while (static_cast<int>(b.words.size()) < kWords) {
    const WordRec r = b.engine.Search.ReadWordRec(ids(random), *b.dic);
    if (r.Text.empty()) continue;
    b.words.push_back(r.Text);
    b.prefixes.push_back(r.Text.substr(0, 1 + b.words.size() % 3));
    b.letters.push_back(r.Text.substr(0, 1));
  }
  return &b;
}

// Heap the search itself holds beyond the open package: it must not grow with the package.
void ReportHeap(benchmark::State& state, const Bench& b, std::size_t before) {
  state.counters["heap_open_bytes"] = static_cast<double>(b.heapAfterOpen);
  state.counters["heap_search_bytes"] = static_cast<double>(HeapInUse() > before ? HeapInUse() - before : 0);
  state.counters["words_in_package"] = b.dic->Words;
}

void FindWord(benchmark::State& state, const char* variable) {
  Bench* b = Open(variable);
  if (!b) return state.SkipWithError("package not given");
  std::vector<WordRec> ret;
  const std::size_t before = HeapInUse();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b->engine.Search.FindWord(b->words[i++ % b->words.size()], ret, *b->dic));
  }
  ReportHeap(state, *b, before);
}

// The reference: the same words in a hash map from lower-case text to their records, built
// outside the measurement; a look-up lower-cases the word and copies the records, as FindWord does.
void UnorderedMapLookup(benchmark::State& state, const char* variable) {
  Bench* b = Open(variable);
  if (!b) return state.SkipWithError("package not given");
  std::unordered_map<std::u16string, std::vector<WordRec>> map;
  const std::size_t before = HeapInUse();
  for (std::int32_t id = 1; id <= b->dic->Words; ++id) {
    WordRec r = b->engine.Search.ReadWordRec(id, *b->dic);
    map[LCase(r.Text)].push_back(std::move(r));
  }
  const std::size_t mapHeap = HeapInUse() - before;
  std::vector<WordRec> ret;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto it = map.find(LCase(b->words[i++ % b->words.size()]));
    if (it != map.end()) ret = it->second;
    benchmark::DoNotOptimize(ret);
  }
  state.counters["heap_map_bytes"] = static_cast<double>(mapHeap);
}

void GetTransRecs(benchmark::State& state, const char* variable) {
  Bench* b = Open(variable);
  if (!b) return state.SkipWithError("package not given");
  std::vector<TransRec> ret;
  const std::size_t before = HeapInUse();
  std::size_t i = 0, found = 0;
  for (auto _ : state) {
    b->engine.Search.GetTransRecs(b->words[i++ % b->words.size()], ret, *b->dic, false, false, true, 0);
    found += ret.size();
  }
  state.counters["links_per_word"] = static_cast<double>(found) / static_cast<double>(i ? i : 1);
  ReportHeap(state, *b, before);
}

void FindSorted(benchmark::State& state, const char* variable, bool asIndex) {
  Bench* b = Open(variable);
  if (!b) return state.SkipWithError("package not given");
  const auto& texts = asIndex ? b->letters : b->prefixes;
  std::vector<WordRec> ret;
  const std::size_t before = HeapInUse();
  std::size_t i = 0, listed = 0;
  for (auto _ : state) {
    std::int32_t count = 0;
    b->engine.Search.FindSorted(texts[i++ % texts.size()], ret, 51, true, b->dic, asIndex, asIndex ? 2 : 0, true, count);
    listed += static_cast<std::size_t>(count);
  }
  state.counters["words_per_list"] = static_cast<double>(listed) / static_cast<double>(i ? i : 1);
  ReportHeap(state, *b, before);
}

struct Package {
  const char* name;
  const char* variable;
};
constexpr Package kPackages[] = {{"sample_de_ru", "PARLAVENT_BENCH_SAMPLE"}, {"large_en_de", "PARLAVENT_BENCH_LARGE"}};

const bool registered = [] {
  for (const Package& p : kPackages) {
    const std::string n = p.name;
    const char* v = p.variable;
    benchmark::RegisterBenchmark(("FindWord/" + n).c_str(), [v](benchmark::State& s) { FindWord(s, v); });
    benchmark::RegisterBenchmark(("UnorderedMap/" + n).c_str(), [v](benchmark::State& s) { UnorderedMapLookup(s, v); });
    benchmark::RegisterBenchmark(("GetTransRecs/" + n).c_str(), [v](benchmark::State& s) { GetTransRecs(s, v); });
    benchmark::RegisterBenchmark(("FindSorted51/" + n).c_str(), [v](benchmark::State& s) { FindSorted(s, v, false); });
    benchmark::RegisterBenchmark(("FindSortedIndex51/" + n).c_str(), [v](benchmark::State& s) { FindSorted(s, v, true); });
  }
  return true;
}();

}  // namespace
}  // namespace parlavent
