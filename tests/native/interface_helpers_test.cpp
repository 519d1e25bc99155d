// The shared interface helpers: the main toolbar, fades and rounded windows, the chunked file
// reader, the line under the caret and the pending clipboard text.
#include <gtest/gtest.h>

#include "foundation/interface_helpers.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "platform/window_effects.h"
#include "support/app_fixture.h"
#include "support/fake_input.h"
#include "support/fake_system.h"
#include "support/fake_view_host.h"

namespace parlavent {
namespace {

class FakeToolbar : public Toolbar {
 public:
  struct Button {
    std::string key, tip;
    ToolbarStyle style;
    bool visible = true;
  };
  std::vector<Button> buttons;
  std::int32_t width = -1;
  bool imageList = false;
  void UseMainImageList() override { imageList = true; }
  std::int32_t AddButton(std::u16string_view key, std::u16string_view tip, ToolbarStyle style) override {
    buttons.push_back({ToUtf8(key), ToUtf8(tip), style});
    return ButtonCount();
  }
  std::int32_t ButtonCount() override { return static_cast<std::int32_t>(buttons.size()); }
  bool ButtonVisible(std::int32_t i) override { return buttons.at(static_cast<std::size_t>(i - 1)).visible; }
  void SetButtonVisible(std::int32_t i, bool v) override { buttons.at(static_cast<std::size_t>(i - 1)).visible = v; }
  std::int32_t ButtonWidth(std::int32_t i) override { return 20 + i; }
  void SetWidth(std::int32_t w) override { width = w; }
};

class FakeEffects : public WindowEffects {
 public:
  std::vector<std::int32_t> levels;
  std::vector<Rect> region;
  std::uintptr_t cursor = 0;
  std::function<void()> onLevel;
  bool WindowSize(WindowHandle, long& w, long& h) override {
    w = 100;
    h = 40;
    return true;
  }
  void SetTransparency(WindowHandle, std::int32_t level) override {
    levels.push_back(level);
    if (onLevel) onLevel();
  }
  void SetRegion(WindowHandle, const std::vector<Rect>& rects) override { region = rects; }
  void Repaint(WindowHandle) override {}
  void SetCursor(std::uintptr_t c) override { cursor = c; }
};

using ScopedEffects = testing::ScopedService<WindowEffects, &SetEffects>;

class InterfaceHelpers : public testing::AppTest {
 protected:
  InterfaceHelpers() {
    CreateSettings(app);
    app.Views = host;
  }
  std::shared_ptr<testing::FakeViewHost> host = std::make_shared<testing::FakeViewHost>();
  std::shared_ptr<FakeEffects> effects = std::make_shared<FakeEffects>();
  ScopedEffects scopedEffects{effects};
  testing::ScopedPump pump{std::make_shared<testing::FakePump>()};
};

TEST_F(InterfaceHelpers, ToolbarButtonsMaskAndWidth) {
  FakeToolbar bar;
  app.SAPIEnabled = true;
  mdlPublic::CreateToolbar(bar);
  ASSERT_EQ(bar.buttons.size(), 8u);
  EXPECT_TRUE(bar.imageList);
  std::vector<std::string> keys;
  for (const auto& b : bar.buttons) keys.push_back(b.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"Trans", "Speak", "Back", "Redo", "Paste", "Copy", "Mode", "Menu"}));
  EXPECT_EQ(bar.buttons[1].style, ToolbarStyle::Check);
  EXPECT_EQ(bar.buttons[6].style, ToolbarStyle::Check);
  EXPECT_EQ(bar.buttons[6].tip, "");
  EXPECT_EQ(bar.buttons[1].tip, ToUtf8(mdlPublic::GetLangStr(283)));  // speech without voices

  app.Sett->Buttons = 1 + 2 + 4;
  mdlPublic::ApplyToolbarMask(bar);
  mdlPublic::GetToolbarWidth(bar);
  EXPECT_TRUE(bar.buttons[0].visible && bar.buttons[1].visible);
  EXPECT_FALSE(bar.buttons[2].visible || bar.buttons[7].visible);
  EXPECT_EQ(bar.width, 21 + 22);
  app.Sett->Buttons = -1;
  mdlPublic::ApplyToolbarMask(bar);
  EXPECT_TRUE(bar.buttons[7].visible);
}

TEST_F(InterfaceHelpers, FadeRoundsHalvesToEvenAndStopsWhenTheTokenChanges) {
  std::int32_t token = 7;
  mdlPublic::FadeWindow(1, 0, 255, 10, token);
  EXPECT_EQ(effects->levels, (std::vector<std::int32_t>{26, 51, 76, 102, 128, 153, 178, 204, 230, 255}));
  effects->levels.clear();
  effects->onLevel = [&] { token = 8; };  // a newer fade takes over during the first step
  mdlPublic::FadeWindow(1, 255, 0, 5, token);
  EXPECT_EQ(effects->levels, (std::vector<std::int32_t>{204}));
}

TEST_F(InterfaceHelpers, RoundedRegionAndHandCursor) {
  mdlPublic::SetFormRegion(1);
  ASSERT_EQ(effects->region.size(), 5u);
  EXPECT_EQ(effects->region[2].right, 100);
  EXPECT_EQ(effects->region[4].top, 39);
  EXPECT_EQ(effects->region[4].right, 98);
  app.State.gHandCursor = 42;
  mdlPublic::SetHandCursor();
  EXPECT_EQ(effects->cursor, 42u);
  // Without a hand cursor the pointer stays as it is: a null cursor would make it vanish.
  effects->cursor = 7;
  app.State.gHandCursor = 0;
  mdlPublic::SetHandCursor();
  EXPECT_EQ(effects->cursor, 7u);
}

TEST_F(InterfaceHelpers, LineBounds) {
  const std::u16string text = u"one\r\ntwo words\r\nthree";
  struct Case {
    std::int32_t position, start, end;
  } cases[] = {{0, 0, 3}, {2, 0, 3}, {5, 5, 14}, {9, 5, 14}, {14, 5, 14}, {16, 16, 21}, {21, 16, 21}, {99, 16, 21}};
  for (const auto& c : cases) {
    std::int32_t p = c.position, s = -1, e = -1;
    EXPECT_EQ(mdlPublic::GetLineBounds(text, p, u"\r\n", s, e), c.end - c.start) << c.position;
    EXPECT_EQ(s, c.start) << c.position;
    EXPECT_EQ(e, c.end) << c.position;
  }
  std::int32_t zero = 0, s = 0, e = 0;
  mdlPublic::GetLineBounds(u"", zero, u"\r\n", s, e);
  EXPECT_EQ(zero, 1);
  EXPECT_EQ(e, 0);
}

TEST_F(InterfaceHelpers, SelectCurrentLineHandsItToTheBackTranslation) {
  testing::FakeRichTextBox box;
  box.SetText(u"one\r\ntwo words\r\nthree");
  box.SetSelStart(8);
  mdlPublic::SelectCurrentLine(box);
  EXPECT_EQ(box.selStart, 5);
  EXPECT_EQ(box.selLength, 9);
  EXPECT_TRUE(host->Calls("BackTransTimer").empty());
  app.Sett->BackTransOpen = true;
  mdlPublic::SelectCurrentLine(box);
  EXPECT_EQ(host->Calls("BackTransTimer"), (std::vector<std::string>{"BackTransTimer two words"}));
}

TEST_F(InterfaceHelpers, FlushPendingCopy) {
  mdlPublic::FlushPendingCopy();
  EXPECT_TRUE(host->calls.empty());
  app.State.gPendingCopy = u"word";
  mdlPublic::FlushPendingCopy();
  EXPECT_EQ(host->calls, (std::vector<std::string>{"CopyText word 1"}));
  EXPECT_TRUE(app.State.gPendingCopy.empty());
}

class ReadFileLineTest : public InterfaceHelpers {
 protected:
  std::vector<std::string> Pieces(std::string_view bytes, std::u16string_view delimiter, std::int32_t chunk,
                                  std::int64_t* lastPosition = nullptr) {
    const auto path = dir.path() / "t.txt";
    testing::WriteBytes(path, bytes);
    std::u16string text;
    std::int64_t position = 0, length = 0;
    EXPECT_FALSE(mdlPublic::ReadFileLine(text, position, length, dir.Text(u"t.txt"), false, delimiter, chunk));
    std::vector<std::string> pieces;
    while (mdlPublic::ReadFileLine(text, position, length)) pieces.push_back(ToUtf8(text));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(length, static_cast<std::int64_t>(bytes.size()));
    if (lastPosition) *lastPosition = position;
    return pieces;
  }
  testing::TempDir dir;
};

TEST_F(ReadFileLineTest, OnePiecePerDelimiter) {
  std::int64_t end = 0;
  EXPECT_EQ(Pieces("one two  three x", u" ", 1024, &end), (std::vector<std::string>{"one", "two", "", "three", "x"}));
  EXPECT_EQ(end, 17);
  // Case-blind delimiter; a NUL ends a piece too.
  EXPECT_EQ(Pieces(std::string("aXbxc\0d", 7), u"x", 1024), (std::vector<std::string>{"a", "b", "c", "d"}));
  // A chunk without delimiter is handed out whole and the reading goes on.
  EXPECT_EQ(Pieces("abcdefg hi", u" ", 4), (std::vector<std::string>{"abcd", "efg", "hi"}));
  EXPECT_TRUE(Pieces("", u" ", 1024).empty());
}

TEST_F(ReadFileLineTest, UnicodeFilesAreToldByTheirMark) {
  const std::string bytes("\xFF\xFE" "a\0b\0 \0\x16\x04\0\0", 12);  // "ab Ж" and a NUL
  EXPECT_EQ(Pieces(bytes, u" ", 1024), (std::vector<std::string>{"ab", "Ж"}));
  EXPECT_EQ(Pieces("\xE0\xE1 \xE2", u" ", 1024), (std::vector<std::string>{"аб", "в"}));  // windows-1251
}

}  // namespace
}  // namespace parlavent
