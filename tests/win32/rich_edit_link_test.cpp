// Link markup in a real RichEdit control: every styled run lands on its caption although the
// control keeps a line break as one character, and links are found under the pointer.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <string>

#include "app/link_layer.h"
#include "platform/win32/rich_edit_box.h"
#include "support/app_fixture.h"
#include "test_window.h"

namespace parlavent {
namespace {

class RichEditLinkTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Open(60, 60, 520, 360));
    RichEditBox::CreateArgs args;
    args.parent = window.hwnd();
    args.width = 500;
    args.height = 340;
    args.fontName = u"Arial";
    args.fontSize = 10;
    box = RichEditBox::Create(args);
    ASSERT_NE(box, nullptr);
    app.LinkHandlerHook = [this](const LinkItemPtr& l, std::int16_t b, RichTextBox*, long, long) {
      handled.push_back({l, b});
    };
  }

  // The control's own text, read as the control keeps it (a break is one CR).
  std::wstring ControlText() {
    std::wstring buffer(4096, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT n = SendMessageW(box->hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
  }

  CHARFORMAT2W FormatAt(LONG index) {
    CHARRANGE one{index, index + 1};
    SendMessageW(box->hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(box->hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
  }

  bool BulletAt(LONG index) {
    CHARRANGE one{index, index};
    SendMessageW(box->hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    SendMessageW(box->hwnd(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.wNumbering == PFN_BULLET;
  }

  // The control index of word, found in the control's own text.
  LONG IndexOf(const wchar_t* word) {
    const std::size_t at = ControlText().find(word);
    EXPECT_NE(at, std::wstring::npos) << "missing word";
    return static_cast<LONG>(at);
  }

  testing::TestWindow window;
  std::shared_ptr<RichEditBox> box;
  clsLink link;
  std::vector<std::pair<LinkItemPtr, std::int16_t>> handled;
};

constexpr DWORD kBoldItalicUnderline = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;

TEST_F(RichEditLinkTest, RunsLandOnTheirCaptionsAcrossLineBreaks) {
  const std::u16string plain = link.SetLink(box,
      u"first <one=TransWord-one||B >\r\nsecond <two=||C 255||U 0>\r\n\r\nthird <three=Link-x||I 1||U 0> end");
  EXPECT_EQ(plain, u"first one\r\nsecond two\r\n\r\nthird three end");
  EXPECT_EQ(ControlText(), L"first one\rsecond two\r\rthird three end");
  EXPECT_EQ(box->Text(), plain);

  struct Run {
    const wchar_t* caption;
    DWORD effects;
    COLORREF colour;
  };
  const Run runs[] = {
      {L"one", CFE_BOLD | CFE_UNDERLINE, 0xFF0000},
      {L"two", 0, 255},
      {L"three", CFE_ITALIC, 0xFF0000},
  };
  for (const Run& run : runs) {
    const LONG start = IndexOf(run.caption);
    const LONG end = start + static_cast<LONG>(wcslen(run.caption));
    for (LONG i = start; i < end; ++i) {
      const CHARFORMAT2W f = FormatAt(i);
      EXPECT_EQ(f.dwEffects & kBoldItalicUnderline, run.effects) << "char " << i;
      EXPECT_EQ(f.crTextColor, run.colour) << "char " << i;
      EXPECT_EQ(std::wstring(f.szFaceName), L"Arial");
    }
    // The neighbours on both sides are plain.
    for (const LONG i : {start - 1, end}) {
      const CHARFORMAT2W f = FormatAt(i);
      EXPECT_EQ(f.dwEffects & kBoldItalicUnderline, 0u) << "char " << i;
      EXPECT_TRUE((f.dwEffects & CFE_AUTOCOLOR) || f.crTextColor == 0) << "char " << i;
    }
  }
}

TEST_F(RichEditLinkTest, BulletTurnsOnForTheRunsParagraphAndColoursItsBreak) {
  link.SetLink(box, u"<item=TransWord-item||Blt 255>\r\nnext\r\n<other=P-o>");
  const LONG item = IndexOf(L"item");
  const LONG next = IndexOf(L"next");
  EXPECT_TRUE(BulletAt(item));
  EXPECT_FALSE(BulletAt(next));
  EXPECT_FALSE(BulletAt(IndexOf(L"other")));
  const CHARFORMAT2W lineBreak = FormatAt(next - 1);
  EXPECT_EQ(lineBreak.crTextColor, 255u);
  EXPECT_EQ(lineBreak.yHeight, 140);  // 0.7 x 10 points, in twips
  const CHARFORMAT2W afterBreak = FormatAt(next);
  EXPECT_NE(afterBreak.crTextColor, 255u);
  EXPECT_EQ(afterBreak.yHeight, 200);
}

TEST_F(RichEditLinkTest, NewTextForgetsTheRunsOfTheOldOne) {
  link.SetLink(box, u"<bold=P-b||B ||Blt 1>\r\nx");
  link.SetLink(box, u"plain words");
  const CHARFORMAT2W f = FormatAt(0);
  EXPECT_EQ(f.dwEffects & kBoldItalicUnderline, 0u);
  EXPECT_FALSE(BulletAt(0));
}

// A paragraph longer than Wine's layout takes at once reads back as written, breaks into lines at
// the box's width and leaves the box drawing itself.
TEST_F(RichEditLinkTest, ALongParagraphReadsBackWholeAndBreaksIntoLines) {
  ASSERT_TRUE(IsWindowVisible(box->hwnd()));
  std::u16string text;
  while (text.size() < 3000) text += u"Haus ";
  text += u"\r\nEnde";
  box->SetText(text);
  EXPECT_EQ(box->Text(), text);
  EXPECT_GT(SendMessageW(box->hwnd(), EM_GETLINECOUNT, 0, 0), 20);
  EXPECT_TRUE(IsWindowVisible(box->hwnd())) << "drawing is on again";
  box->SetSelStart(3002);
  EXPECT_EQ(box->SelStart(), 3002);
  EXPECT_EQ(FormatAt(2999).dwEffects & kBoldItalicUnderline, 0u);
  ShowWindow(box->hwnd(), SW_HIDE);
  box->SetText(text + u" ");
  EXPECT_FALSE(IsWindowVisible(box->hwnd())) << "a hidden box stays hidden";
  EXPECT_EQ(box->Text(), text + u" ");
}

TEST_F(RichEditLinkTest, SelectionPositionsCountBreaksAsTwoCharacters) {
  link.SetLink(box, u"a\r\nb\r\n<cd=P-cd>");
  link.Links[0]->SelectMe();  // p1 7: plain position 6, control position 4
  CHARRANGE range{};
  SendMessageW(box->hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.cpMin, 4);
  EXPECT_EQ(range.cpMax, 6);
  EXPECT_EQ(box->SelStart(), 6);
  EXPECT_EQ(box->SelLength(), 2);
  EXPECT_EQ(link.GetSelLink(), link.Links[0]);
}

TEST_F(RichEditLinkTest, ClickUnderThePointerReachesTheDispatcher) {
  link.SetLink(box, u"line one\r\nline two\r\n<target=TransWord-target||S 14>");
  const LONG target = IndexOf(L"target") + 2;
  POINTL corner{};
  SendMessageW(box->hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&corner), target);
  const POINT client{corner.x + 2, corner.y + 4};
  POINT screen = client;
  ClientToScreen(box->hwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  testing::TestWindow::Pump(100);
  EXPECT_EQ(box->CharIndexAtCursor(), 22);  // plain position: two breaks of two characters before it

  SendMessageW(box->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  ASSERT_FALSE(handled.empty());
  EXPECT_EQ(handled.back().first, link.Links[0]);
  EXPECT_EQ(handled.back().second, 1);

  handled.clear();
  box->SetSelStart(23);
  SendMessageW(box->hwnd(), WM_KEYUP, VK_RETURN, 0);
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(handled[0].first->Link, u"target");
  EXPECT_EQ(handled[0].second, 13);
}


// The main window widens a collapsed selection to its line while a word list shows; the program's
// own selections, made while it writes and formats a text, must not reach that handler.
TEST_F(RichEditLinkTest, OnlyTheUsersSelectionChangesAreReported) {
  SendMessageW(box->hwnd(), EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  int reported = 0;
  window.notify = [&reported](const NMHDR& header) { reported += header.code == EN_SELCHANGE; };
  link.SetLink(box, u"line one\r\n <-A-=abc-A>  <-B-=abc-B> \r\n<other=P-o>");
  box->SetSelStart(12);
  box->SetSelLength(3);
  EXPECT_EQ(reported, 0);
  EXPECT_EQ(box->SelStart(), 12);
  EXPECT_EQ(box->SelLength(), 3);

  const LONG other = IndexOf(L"other");
  POINTL corner{};
  SendMessageW(box->hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&corner), other);
  SendMessageW(box->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(corner.x + 2, corner.y + 4));
  SendMessageW(box->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(corner.x + 2, corner.y + 4));
  EXPECT_GT(reported, 0) << "a click moves the caret and is reported";
  EXPECT_EQ(SendMessageW(box->hwnd(), EM_GETEVENTMASK, 0, 0), ENM_CHANGE | ENM_SELCHANGE);
  window.notify = nullptr;
}

}  // namespace
}  // namespace parlavent
