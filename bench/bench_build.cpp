// The dictd importer and the package builder on the German-Russian FreeDict database the de-ru
// sample is made from (or the one PARLAVENT_BENCH_DICTD names: its path without ".index" and
// ".dict.dz"). The comparison with Debian's own indexer on the large English-German database is
// `scripts/bench.sh build`.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "dictd_import.h"
#include "dictionary_source.h"
#include "package_builder.h"

namespace parlavent::dictool {
namespace {

std::string Database() {
  const char* env = std::getenv("PARLAVENT_BENCH_DICTD");
  return env ? env : "/usr/share/dictd/freedict-deu-rus";
}

bool Import(std::ostream& out, ImportReport& report, std::string& err) {
  ImportOptions options;
  options.explanations = true;
  return ImportDictd(Database() + ".index", Database() + ".dict.dz", options, out, report, err);
}

void BM_ImportDictd(benchmark::State& state) {
  ImportReport report;
  for (auto _ : state) {
    std::ostringstream out;
    std::string err;
    if (!Import(out, report, err)) return state.SkipWithError(err.c_str());
    benchmark::DoNotOptimize(out.tellp());
  }
  state.counters["links"] = static_cast<double>(report.links);
}
BENCHMARK(BM_ImportDictd)->Unit(benchmark::kMillisecond);

void BM_BuildPackage(benchmark::State& state) {
  std::ostringstream text;
  ImportReport imported;
  std::string err;
  if (!Import(text, imported, err)) return state.SkipWithError(err.c_str());
  DictionarySource source;
  if (!ParseSource("@member Info\n[Main]\nSupportRech=1\n@end\n" + text.str(), "source", ".", source, err)) {
    return state.SkipWithError(err.c_str());
  }
  std::vector<std::uint8_t> bytes;
  BuildReport report;
  for (auto _ : state) {
    if (!BuildPackage(source, {}, bytes, report, err)) return state.SkipWithError(err.c_str());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["words"] = static_cast<double>(source.WordCount());
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_BuildPackage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace parlavent::dictool
