#pragma once
// The main window and the neighbours as the views see them, in memory: two fake boxes, the
// output box's link layer, and a record of every other call.
#include <memory>
#include <string>
#include <vector>

#include "app/link_layer.h"
#include "app/view_host.h"
#include "support/fake_rich_text_box.h"
#include "text/text.h"

namespace parlavent::testing {

class FakeProgress : public ProgressForm {
 public:
  std::vector<std::string> log;  // "Caption x", "Text x", "Val a b c", "Show", "Refresh"
  void SetCaption(std::u16string_view t) override { log.push_back("Caption " + ToUtf8(t)); }
  void SetText(std::u16string_view t) override { log.push_back("Text " + ToUtf8(t)); }
  void SetVal(double a, double b, double c) override {
    log.push_back("Val " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
  }
  void Show() override { log.push_back("Show"); }
  void Refresh() override { log.push_back("Refresh"); }
  void Unload() override { log.push_back("Unload"); }
};

class FakeViewHost : public ViewHost {
 public:
  std::shared_ptr<FakeRichTextBox> input = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<FakeRichTextBox> output = std::make_shared<FakeRichTextBox>();
  clsLink links;
  std::int32_t boxWidth = 250, boxHeight = 100;
  std::vector<std::string> info;           // every Info text, "" for InfoClear
  std::vector<std::string> calls;          // "Back 1", "ShowTrans <text> <flags>", "Wait 1", ...
  std::vector<std::pair<std::string, ShowTransArgs>> trans;
  std::u16string folder;                   // what BrowseForFolder answers
  FakeProgress progress;

  std::shared_ptr<RichTextBox> InputBox() override { return input; }
  std::shared_ptr<RichTextBox> OutputBox() override { return output; }
  clsLink* OutputLinks() override { return &links; }
  void OutputBoxPixels(std::int32_t& w, std::int32_t& h) override {
    w = boxWidth;
    h = boxHeight;
  }
  void HideOutputCaret() override { calls.push_back("HideCaret"); }
  void Info(std::u16string_view text, bool) override { info.push_back(ToUtf8(text)); }
  void InfoClear() override { info.push_back(""); }
  void Wait(bool on) override { calls.push_back(on ? "Wait 1" : "Wait 0"); }
  void ShowBackTrans(std::u16string_view text, bool caption) override {
    calls.push_back("BackTrans " + ToUtf8(text) + (caption ? " 1" : " 0"));
  }
  void EnableToolbarButton(std::u16string_view key, bool enabled) override {
    calls.push_back(ToUtf8(key) + (enabled ? " 1" : " 0"));
  }
  void StartBackTransTimer(std::u16string_view text) override { calls.push_back("BackTransTimer " + ToUtf8(text)); }
  void StartEscUsedClearTimer() override { calls.push_back("EscUsedTimer"); }
  void ShowTrans(std::u16string_view text, const ShowTransArgs& args) override {
    trans.emplace_back(ToUtf8(text), args);
  }
  void StopSpeak() override { calls.push_back("StopSpeak"); }
  void CopyText(std::u16string_view text, bool show) override {
    calls.push_back("CopyText " + ToUtf8(text) + (show ? " 1" : " 0"));
  }
  std::u16string BrowseForFolder(std::u16string_view title) override {
    calls.push_back("Browse " + ToUtf8(title));
    return folder;
  }
  ProgressForm& Progress() override { return progress; }

  /// The calls whose text begins with prefix.
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) found.push_back(c);
    }
    return found;
  }
};

}  // namespace parlavent::testing
