// The user's own files as start-up reads them, at sizes only damage gives them: statistics.dat
// of one word repeated, trl.dat with one prefix listing ever more layouts, learner.txt of one
// endless line. Each is measured at a tenth of its size and at its size, and Google Benchmark fits
// the growth (the "_BigO" line): it must stay linear, and the full size must load within a second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/companion_state.h"
#include "app/statistics.h"
#include "companions/layout_switch.h"
#include "companions/learner.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/settings_object.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int64_t kMB = 1 << 20;

// A scratch folder of its own, and an application object with its settings installed for as
// long as the benchmark runs.
class Scratch {
 public:
  Scratch() : previous_(HasAppl() ? &gAppl() : nullptr) {
    const std::string name = "parlavent_bench_" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder_);
    SetAppl(&app_);
    CreateSettings(app_);
    app_.Sett->AppFolder = folder_.u16string();
  }
  ~Scratch() {
    SetAppl(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  void Write(const char* name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::u16string Folder() const { return folder_.u16string(); }
  Appl& app() { return app_; }

 private:
  Appl* previous_;
  Appl app_;
  std::filesystem::path folder_;
};

std::string Utf16(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

void BM_StatisticsOfOneWordRepeated(benchmark::State& state) {
  Scratch scratch;
  std::u16string text;
  const std::size_t units = static_cast<std::size_t>(state.range(0)) / 2;
  for (int i = 0; text.size() < units; ++i) text += (i % 2 ? u"Haus\t3\r\n" : u"haus\t1\r\n");
  text.resize(units);
  scratch.Write("statistics.dat", Utf16(text));
  clsStat stat;
  stat.Folder = scratch.Folder();
  for (auto _ : state) {
    stat.LoadStat();
    benchmark::DoNotOptimize(stat.Items().size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StatisticsOfOneWordRepeated)
    ->Arg(5 * kMB)
    ->Arg(50 * kMB)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_UserSwitchOfOnePrefixsPairs(benchmark::State& state) {
  Scratch scratch;
  std::u16string pairs;
  for (std::int64_t layout = 1; static_cast<std::int64_t>(pairs.size()) < state.range(0); ++layout) {
    pairs += (pairs.empty() ? u"" : u",") + NumberText(layout) + u":7";
  }
  const std::u16string table = u"ghb\t" + pairs + u"\t40\r\n";
  for (auto _ : state) {
    state.PauseTiming();
    G().gPrefixes.Clear();
    state.ResumeTiming();
    MergeUserSwitch(table);
    benchmark::DoNotOptimize(G().gPrefixes.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UserSwitchOfOnePrefixsPairs)
    ->Arg(170 * 1024)
    ->Arg(1700 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_LearningCardOfOneEndlessLine(benchmark::State& state) {
  Scratch scratch;
  scratch.Write("learner.txt", std::string(static_cast<std::size_t>(state.range(0)), 'w'));
  Setting& s = *scratch.app().Sett;
  s.LrnSource = 1;
  s.LrnRandom = false;
  for (auto _ : state) {
    scratch.app().CompanionData().learnWords = LearnSourceWords(scratch.app(), 1);
    LearnCard card;
    benchmark::DoNotOptimize(NextLearnCard(scratch.app(), card));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LearningCardOfOneEndlessLine)
    ->Arg(5 * kMB)
    ->Arg(50 * kMB)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Parlavent.ini grown to tens of megabytes (sections added by hand or by other programs), saved
// by the settings dialog's OK: unchanged (range(1) 0) and with one setting changed (1).
void BM_SettingsSaveOfALargeFile(benchmark::State& state) {
  Scratch scratch;
  std::string text = "[Main]\r\nTopMost=True\r\n";
  for (int i = 0; static_cast<std::int64_t>(text.size()) < state.range(0); ++i) {
    text += "[Section" + std::to_string(i) + "]\r\nkey=some value of the section\r\nother=1\r\n";
  }
  // The per-user folder is %AppData%\Parlavent.
  setenv("AppData", ToUtf8(scratch.Folder()).c_str(), 1);
  const std::filesystem::path folder = std::filesystem::path(scratch.Folder()) / "Parlavent";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Parlavent.ini", std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  Setting& s = *scratch.app().Sett;
  s.SaveSett();  // the first save adds the keys the file lacks
  for (auto _ : state) {
    if (state.range(1) != 0) s.TopMost = !s.TopMost;
    benchmark::DoNotOptimize(s.SaveSett());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SettingsSaveOfALargeFile)
    ->Args({5 * kMB, 0})
    ->Args({55 * kMB, 0})
    ->Args({5 * kMB, 1})
    ->Args({55 * kMB, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace parlavent
