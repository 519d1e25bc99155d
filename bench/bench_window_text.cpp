// What two windows do with a long list or a long text, without the window: the settings dialog's
// per-application list (the rows of 3,000 to 30,000 programs, and the details of the rows one
// screen shows), and Appl::SetOutPut writing 1,000 to 10,000 characters into a box that keeps its
// positions as the Win32 rich-edit box does (its text with breaks as one CR, the position map
// between the two made again whenever the text changed). Google Benchmark fits the growth (the
// "_BigO" line): it must stay linear.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/view_host.h"
#include "foundation/settings_object.h"
#include "foundation/white_list.h"
#include "platform/rich_text_box.h"
#include "platform/rich_text_positions.h"
#include "settings_dialog/settings_model.h"
#include "text/text.h"

namespace parlavent {
namespace {

// An application object with its settings, installed for as long as the benchmark runs.
class Installed {
 public:
  Installed() : previous_(HasAppl() ? &gAppl() : nullptr) {
    SetAppl(&app_);
    CreateSettings(app_);
  }
  ~Installed() { SetAppl(previous_); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;
  Appl& app() { return app_; }

 private:
  Appl* previous_;
  Appl app_;
};

void BM_SettingsProgramList(benchmark::State& state) {
  Installed installed;
  std::u16string text;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    const std::u16string n = NumberText(i);
    text += u"C:\\Programs\\app" + n + u"\\app" + n + u".exe\tApp " + n + u"\t\tAppClass" + n + u"\t" +
            NumberText(i % 2) + u"\r\n";
  }
  G().WhiteCol = ParseWhiteList(text);
  SettingsModel model(installed.app());
  for (auto _ : state) {
    model.RefreshWhiteList();
    // One screen of rows asks for its programs' details.
    for (std::size_t row = 0; row < 20; ++row) benchmark::DoNotOptimize(model.Details(row).size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SettingsProgramList)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The rich-edit box's bookkeeping: the control holds a break as one CR; every position asked for
// goes through the map, remade only when the control's text changed.
class ControlLikeBox final : public RichTextBox {
 public:
  std::u16string Text() override { return Positions(), plain_; }
  void SetText(std::u16string_view text) override {
    control_ = ReplaceAll(ReplaceAll(text, u"\r\n", u"\r"), u"\n", u"\r");
    plain_ = std::u16string(text);
    positions_ = RichTextPositions(plain_, control_);
    madeFor_ = control_;
    SetSelStart(static_cast<std::int32_t>(plain_.size()));
  }
  std::int32_t SelStart() override { return Positions().ToPlain(selStart_); }
  void SetSelStart(std::int32_t position) override {
    if (position < 0) return;
    selStart_ = Positions().ToControl(position);
    selEnd_ = selStart_;
  }
  std::int32_t SelLength() override { return Positions().ToPlain(selEnd_) - Positions().ToPlain(selStart_); }
  void SetSelLength(std::int32_t length) override {
    if (length >= 0) selEnd_ = Positions().ToControl(SelStart() + length);
  }
  void SetSelColor(Colour) override {}
  void SetSelBold(bool) override {}
  void SetSelItalic(bool) override {}
  void SetSelUnderline(bool) override {}
  void SetSelFontName(std::u16string_view) override {}
  void SetSelFontSize(double) override {}
  void SetSelBullet(bool) override {}
  bool Visible() override { return true; }
  void SetVisible(bool) override {}
  bool Enabled() override { return true; }
  void SetEnabled(bool) override {}
  bool HasFocus() override { return false; }
  void SetFocus() override {}
  std::int32_t CharIndexAtCursor() override { return 0; }

 private:
  const RichTextPositions& Positions() {
    // As the Win32 box, which reads the control's text to see whether the user changed it.
    if (control_ != madeFor_) {
      plain_ = ExpandBreaks(control_);
      positions_ = RichTextPositions(plain_, control_);
      madeFor_ = control_;
    }
    return positions_;
  }
  std::u16string plain_, control_, madeFor_;
  RichTextPositions positions_;
  std::int32_t selStart_ = 0, selEnd_ = 0;
};

class OutputOnly final : public ViewHost {
 public:
  std::shared_ptr<ControlLikeBox> box = std::make_shared<ControlLikeBox>();
  std::shared_ptr<RichTextBox> OutputBox() override { return box; }
};

void BM_SetOutPutText(benchmark::State& state) {
  Installed installed;
  auto host = std::make_shared<OutputOnly>();
  installed.app().Views = host;
  // A client's translation: lines of words.
  std::u16string text;
  for (int i = 0; static_cast<std::int64_t>(text.size()) < state.range(0); ++i) {
    text += i % 8 == 7 ? u"Haus\r\n" : u"Haus ";
  }
  text.resize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    installed.app().SetOutPut(text, 0);
    benchmark::DoNotOptimize(host->box->SelStart());
  }
  installed.app().Views = nullptr;
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SetOutPutText)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace parlavent
