// Look-ups and word lists of long texts on the de-ru sample (PARLAVENT_BENCH_SAMPLE, as
// scripts/bench.sh sets it): what a paste into the input box or a long selection costs. Each text
// kind is measured at 1,000, 10,000 and 100,000 characters, and Google Benchmark fits the growth
// (the "_BigO" line): it must stay linear.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "loaded_package.h"
#include "dictionary/lookup.h"
#include "text/text.h"

namespace parlavent {
namespace {

// A text of n characters: unit repeated, the last repeat cut.
std::u16string Repeat(std::u16string_view unit, std::int64_t n) {
  std::u16string text;
  text.reserve(static_cast<std::size_t>(n));
  while (static_cast<std::int64_t>(text.size()) < n) text += unit;
  text.resize(static_cast<std::size_t>(n));
  return text;
}

// The kinds of text that used to keep the program busy for minutes.
std::u16string LongText(const char* kind, std::int64_t n) {
  const std::string k = kind;
  if (k == "OneWord") return Repeat(u"donaudampfschiff", n);           // a word without a break
  if (k == "MixedCase") return Repeat(u"QUJDQUJD", n);                // a base64 block
  if (k == "Words") return Repeat(u"Haus ", n);                       // many words
  if (k == "Phrase") return Repeat(u"guten Tag ", n);                 // one long phrase
  if (k == "Hyphens") return Repeat(u"Haus-", n);                     // words joined by hyphens
  if (k == "Dashes") return Repeat(u"-", n);                          // a line of hyphens
  if (k == "Control") return Repeat(u"Haus\x01", n);                  // control characters
  if (k == "List") return Repeat(u"Haus, ", n);                       // a list of words
  return Repeat(u"a1", n);                                            // digits against letters
}

// mode: 'p' the passes over phrases, 'f' full text, 'c' the common-translation list.
void LookupLong(benchmark::State& state, const char* kind, char mode) {
  LoadedPackage package(std::getenv("PARLAVENT_BENCH_SAMPLE"));
  if (!package.ok()) {
    state.SkipWithError("package not given");
    return;
  }
  const std::u16string text = LongText(kind, state.range(0));
  TranslateArgs args;
  args.ClrBuffer = true;
  args.FullText = mode == 'f';
  args.Tochno = mode == 'c';
  std::u16string rendered;
  for (auto _ : state) {
    benchmark::DoNotOptimize(package.app().GetTranslate(text, rendered, args, {}));
  }
  state.SetComplexityN(state.range(0));
}

// What FillWordList searches: the words that begin with the text, else the phrase search.
void WordListLong(benchmark::State& state, const char* kind) {
  LoadedPackage package(std::getenv("PARLAVENT_BENCH_SAMPLE"));
  if (!package.ok()) {
    state.SkipWithError("package not given");
    return;
  }
  const std::u16string text = LongText(kind, state.range(0));
  for (auto _ : state) {
    package.app().ListCache = {};  // every round searches
    auto list = package.app().GetList(text, 50, false, 2);
    if (list.empty()) list = package.app().GetListExt(text);
    benchmark::DoNotOptimize(list);
  }
  state.SetComplexityN(state.range(0));
}

// Each kind of text at 1,000, 10,000 and 100,000 characters, with the growth fitted.
benchmark::internal::Benchmark* Sizes(benchmark::internal::Benchmark* b) {
  return b->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
}

const int kRegistered = [] {
  // name, text kind, mode of LookupLong ('p' passes, 'f' full text, 'c' common list)
  const char* const lookups[][3] = {{"OneWord", "OneWord", "p"}, {"MixedCase", "MixedCase", "p"},
                                    {"Words", "Words", "p"},     {"Hyphens", "Hyphens", "p"},
                                    {"Dashes", "Dashes", "p"},   {"Control", "Control", "p"},
                                    {"Digits", "Digits", "p"},   {"FullText", "Phrase", "f"},
                                    {"CommonList", "List", "c"}};
  for (const auto& l : lookups) {
    Sizes(benchmark::RegisterBenchmark((std::string("LookupLong/") + l[0]).c_str(), LookupLong, l[1], l[2][0]));
  }
  for (const char* kind : {"OneWord", "Words", "Phrase", "Hyphens", "Control"}) {
    Sizes(benchmark::RegisterBenchmark((std::string("WordListLong/") + kind).c_str(), WordListLong, kind));
  }
  return 0;
}();

}  // namespace
}  // namespace parlavent
