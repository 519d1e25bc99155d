// What a look-up in a process of its own costs beside the look-up itself: the dictionary folder
// loaded as the program loads it at start-up (InitDics, with the package alone in its folder),
// then one word looked up and printed as `dictool translate FOLDER WORD --plain` does it. Neither
// may grow with the package: opening reads the directory, the describing members and a few
// values of each section, never a section whole. The packages come from the environment as
// scripts/bench.sh sets it (PARLAVENT_BENCH_SAMPLE, PARLAVENT_BENCH_LARGE, and PARLAVENT_BENCH_SMALL:
// the large package's members with its source's first entries); a package that is not given is not
// measured.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "load_command.h"
#include "translate_command.h"

namespace parlavent {
namespace {

// A program folder whose "Dictionaries" holds only the package (a link to it); gone at exit.
class PackageFolder {
 public:
  explicit PackageFolder(const std::filesystem::path& package) {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("parlavent-bench-open-" + std::to_string(random()));
    folder_ = root_ / "Dictionaries";
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    std::filesystem::create_symlink(std::filesystem::absolute(package), folder_ / package.filename(), ec);
    ok_ = !ec;
  }
  ~PackageFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  bool ok() const { return ok_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path folder_;
  bool ok_ = false;
};

const PackageFolder* FolderOf(const char* variable) {
  static std::map<std::string, std::unique_ptr<PackageFolder>> made;
  auto& slot = made[variable];
  const char* path = std::getenv(variable);
  if (!slot && path) slot = std::make_unique<PackageFolder>(path);
  return slot && slot->ok() ? slot.get() : nullptr;
}

void Open(benchmark::State& state, const char* variable) {
  const PackageFolder* folder = FolderOf(variable);
  if (!folder) return state.SkipWithError("package not given");
  std::int32_t words = 0;
  for (auto _ : state) {
    dictool::WithLoadedFolder(folder->folder(), [&words](Appl& app) {
      words = app.Dic ? app.Dic->Words : 0;
      return 0;
    });
  }
  if (words < 1) return state.SkipWithError("no dictionary loaded");
  state.counters["words_in_package"] = words;
}

void OpenAndTranslate(benchmark::State& state, const char* variable, const char* word) {
  const PackageFolder* folder = FolderOf(variable);
  if (!folder) return state.SkipWithError("package not given");
  std::ostringstream out;
  for (auto _ : state) {
    out.str({});
    benchmark::DoNotOptimize(dictool::RunTranslate({folder->folder().string(), word, "--plain"}, out));
  }
  if (out.str().rfind("0\n", 0) == 0) state.SkipWithError("nothing translated");
}

BENCHMARK_CAPTURE(Open, sample_de_ru, "PARLAVENT_BENCH_SAMPLE");
BENCHMARK_CAPTURE(Open, large_en_de, "PARLAVENT_BENCH_LARGE");
BENCHMARK_CAPTURE(Open, small_en_de, "PARLAVENT_BENCH_SMALL");
BENCHMARK_CAPTURE(OpenAndTranslate, sample_de_ru, "PARLAVENT_BENCH_SAMPLE", "Hund");
BENCHMARK_CAPTURE(OpenAndTranslate, large_en_de, "PARLAVENT_BENCH_LARGE", "house");

}  // namespace
}  // namespace parlavent
