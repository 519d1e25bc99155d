#pragma once
// The capture side in memory: a clipboard, windows described by tests, texts to capture, and a
// record of what was shown and sent.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/capture_services.h"
#include "text/text.h"

namespace parlavent::testing {

class FakeCapture : public CaptureServices {
 public:
  std::vector<std::string> log;          // "Popup x", "ToolTip x", "CloseToolTip", "Paste n", "Pointer n"
  std::vector<ShowTransArgs> popups;
  std::u16string clipboard;
  bool clipboardLocked = false;          // another program holds it open
  bool clipText = false;                 // what ClipboardHasFormat(.., 1) answers
  std::map<WindowHandle, WindowFacts> windows;
  std::map<WindowHandle, std::u16string> selections, words, captions;  // what TakeText answers
  // "Selection n" / "Quiet n" (by messages) / "Word n" / "Caption n" for every TakeText
  std::vector<std::string> taken;
  PollSnapshot snapshot;
  std::map<std::u16string, std::u16string> descriptions;
  std::u16string folder;                 // what ChooseFolder answers
  std::u16string folderStart;            // where it was asked to start
  int describeCalls = 0;
  std::function<void()> whileTaking;    // runs inside every TakeText (a wait that pumps messages)

  std::u16string ClipboardText() override { return clipboardLocked ? std::u16string() : clipboard; }
  bool SetClipboardText(std::u16string_view text) override {
    if (clipboardLocked) return false;
    clipboard = std::u16string(text);
    return true;
  }
  bool ClipboardHasFormat(WindowHandle, std::uint32_t format) override { return clipText && format == 1; }
  std::vector<std::uint8_t> ClipboardBytes(std::uint32_t) override { return {}; }
  bool SetClipboardBytes(std::uint32_t, const std::vector<std::uint8_t>&) override { return false; }
  std::vector<std::u16string> ClipboardFiles() override { return {}; }
  bool SetClipboardFiles(const std::vector<std::u16string>&) override { return false; }
  void ShowPopupTrans(std::u16string_view t, const ShowTransArgs& a) override {
    log.push_back("Popup " + ToUtf8(t));
    popups.push_back(a);
  }
  void SetPopupPointer(int pointer) override { log.push_back("Pointer " + std::to_string(pointer)); }
  void ShowToolTip(std::u16string_view text) override { log.push_back("ToolTip " + ToUtf8(text)); }
  void CloseToolTip() override { log.push_back("CloseToolTip"); }
  void PasteInto(WindowHandle w) override { log.push_back("Paste " + std::to_string(w)); }
  bool DescribeWindow(WindowHandle w, WindowFacts& facts) override {
    ++describeCalls;
    const auto it = windows.find(w);
    if (it == windows.end()) return false;
    facts = it->second;
    return true;
  }
  std::u16string FileDescription(std::u16string_view path) override {
    const auto it = descriptions.find(std::u16string(path));
    return it == descriptions.end() ? std::u16string() : it->second;
  }
  PollSnapshot Snapshot() override { return snapshot; }
  std::u16string TakeText(WindowHandle w, CaptureSource source, Point) override {
    if (whileTaking) whileTaking();
    static const char* const kNames[] = {"Selection ", "Quiet ", "Word ", "Caption "};
    taken.push_back(kNames[static_cast<int>(source)] + std::to_string(w));
    const auto& texts = source == CaptureSource::WordAtPointer      ? words
                        : source == CaptureSource::CaptionAtPointer ? captions
                                                                    : selections;
    const auto it = texts.find(w);
    return it == texts.end() ? std::u16string() : it->second;
  }
  std::u16string ChooseFolder(std::u16string_view, std::u16string_view start) override {
    folderStart = std::u16string(start);
    return folder;
  }
};

}  // namespace parlavent::testing
