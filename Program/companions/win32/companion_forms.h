#pragma once
// The companions' windows: frmStat (the statistics list), frmKeyb (the on-screen keyboard) and
// frmLearn (the learning card).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/companion_services.h"
#include "platform/win32/window_base.h"

namespace parlavent {

/// Answers WM_PAINT with paint(dc) between BeginPaint and EndPaint.
template <typename Paint>
LRESULT PaintWindow(HWND hwnd, const Paint& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  paint(dc);
  EndPaint(hwnd, &ps);
  return 0;
}

class frmStat final : public WindowBase, public StatWindow {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventStatistics";
  explicit frmStat(HINSTANCE instance) : instance_(instance) {}
  ~frmStat() override;
  bool Load();
  void ShowList(const std::vector<std::shared_ptr<clsStatItem>>& items) override;
  HWND List() const { return list_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout();
  void ChooseSelected();
  HINSTANCE instance_;
  HWND list_ = nullptr;
  std::vector<std::u16string> words_;
};

class frmKeyb final : public WindowBase, public KeyboardWindow {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventKeyboard";
  static constexpr int kKeySize = 28;
  explicit frmKeyb(HINSTANCE instance) : instance_(instance) {}
  ~frmKeyb() override;
  bool Load();
  // KeyboardForm
  void LoadLangLabel(std::int32_t k, std::u16string_view caption) override;
  void HideTemplateLabel() override;
  void SetLang(std::int32_t n) override;
  // KeyboardWindow
  void Show() override;
  void Hide() override;
  bool Visible() override;
  WindowHandle Handle() override;
  std::int32_t CurrentLayer() override { return layer_; }
  /// Where key (row, column) is drawn, in client pixels, for keys of key pixels.
  static RECT KeyRect(int row, std::size_t column, int key = kKeySize);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  bool PaintPicture(HDC dc);
  void Click(int x, int y);
  /// A new width gives the keys their size and the window the height they need.
  void FitHeight(WINDOWPOS& pos) const;
  void Resized();
  const struct KeyLayout* Layout() const;
  HINSTANCE instance_;
  std::vector<HWND> lblLang_;   // element 0: the hidden template
  std::vector<std::u16string> langs_;
  std::int32_t layer_ = 0;
  bool shift_ = false;
  int key_ = kKeySize;  // the keys' size
  HFONT font_ = nullptr;
};

class frmLearn final : public WindowBase, public LearnWindow {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventLearner";
  explicit frmLearn(HINSTANCE instance) : instance_(instance) {}
  ~frmLearn() override;
  bool Load();
  void ShowCard(const LearnCard& card) override;
  void Close() override;
  bool Visible() override;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  /// The card's parts top to bottom: the word, the transcription, the translation.
  std::vector<std::pair<HFONT, std::u16string>> Parts() const;
  /// Draws (or with DT_CALCRECT measures) the parts in a card of width; the bottom they reach.
  int Layout(HDC dc, int width, UINT flags);
  /// Moves the card above the tips and notices that came up where it stands, or back down.
  void MakeRoom();
  static constexpr UINT_PTR kMakeRoomTimer = 1;
  static constexpr UINT kMakeRoomMs = 300;
  HINSTANCE instance_;
  LearnCard card_;
  HFONT word_ = nullptr, trans_ = nullptr, text_ = nullptr;
  bool hover_ = false;
};

}  // namespace parlavent
