// GetTranslate on the de-ru sample and on the large en-de package: one word, an eight-word
// sentence whose words need the ending rules, and a compound that gets split. Every look-up
// clears the reuse buffer, so each iteration searches. The packages come from the environment as
// scripts/bench.sh sets it (PARLAVENT_BENCH_SAMPLE, PARLAVENT_BENCH_LARGE); a package that is
// not given is not measured.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "loaded_package.h"
#include "dictionary/lookup.h"
#include "text/text.h"

namespace parlavent {
namespace {

void Translate(benchmark::State& state, const char* variable, const char* utf8) {
  LoadedPackage package(std::getenv(variable));
  if (!package.ok()) {
    state.SkipWithError("package not given");
    return;
  }
  const std::u16string text = FromUtf8(utf8);
  TranslateArgs args;
  args.ClrBuffer = true;
  std::u16string rendered;
  std::int32_t score = 0;
  for (auto _ : state) {
    score = package.app().GetTranslate(text, rendered, args, {});
    benchmark::DoNotOptimize(score);
  }
  if (score <= 0) state.SkipWithError("nothing translated");
}

BENCHMARK_CAPTURE(Translate, Sample_OneWord, "PARLAVENT_BENCH_SAMPLE", "Hund");
BENCHMARK_CAPTURE(Translate, Sample_Sentence, "PARLAVENT_BENCH_SAMPLE", "Die Hunde der Nachbarn bellten laut im Garten");
BENCHMARK_CAPTURE(Translate, Sample_Compound, "PARLAVENT_BENCH_SAMPLE", "Gartenhund");
BENCHMARK_CAPTURE(Translate, Large_OneWord, "PARLAVENT_BENCH_LARGE", "house");
BENCHMARK_CAPTURE(Translate, Large_Sentence, "PARLAVENT_BENCH_LARGE", "the dogs of my neighbours barked loudly at cats");
BENCHMARK_CAPTURE(Translate, Large_Compound, "PARLAVENT_BENCH_LARGE", "bluehouse");

}  // namespace
}  // namespace parlavent
