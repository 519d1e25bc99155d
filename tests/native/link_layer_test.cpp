// The link layer over a box: writing and styling, finding links by position, auto-linking, and
// the actions the box's events hand to the dispatcher.
#include <gtest/gtest.h>

#include "app/link_layer.h"
#include "support/app_fixture.h"
#include "support/fake_input.h"
#include "support/fake_rich_text_box.h"

namespace parlavent {
namespace {

using testing::FakeCharFormat;
using testing::FakeRichTextBox;

class RecordingEnvironment : public LinkEnvironment {
 public:
  int cursors = 0;
  int sounds = 0;
  void SetHandCursor() override { ++cursors; }
  void PlayClickSound() override { ++sounds; }
  std::u16string FontName() override { return u"Verdana"; }
  double FontSize() override { return 12; }
};

struct HandlerCall {
  LinkItemPtr link;
  std::int16_t button;
  RichTextBox* sender;
  long x;
  long y;
};

class LinkLayerTest : public testing::AppTest {
 protected:
  LinkLayerTest() {
    app.LinkHandlerHook = [this](const LinkItemPtr& l, std::int16_t b, RichTextBox* s, long x, long y) {
      calls.push_back({l, b, s, x, y});
    };
  }

  std::shared_ptr<RecordingEnvironment> env = std::make_shared<RecordingEnvironment>();
  testing::ScopedService<LinkEnvironment, &SetLinkEnvironment> scopedEnv{env};
  std::shared_ptr<FakeRichTextBox> box = std::make_shared<FakeRichTextBox>();
  clsLink link;
  std::vector<HandlerCall> calls;
};

TEST_F(LinkLayerTest, SetLinkWritesPlainTextAndStylesEachCaption) {
  const std::u16string plain = link.SetLink(box, u"see <this=TransWord-this||B > and <red=||C 255||I 1> end");
  EXPECT_EQ(plain, u"see this and red end");
  EXPECT_EQ(box->text, plain);
  EXPECT_EQ(link.LinkRichText, box);
  EXPECT_TRUE(box->All(0, 20, [](const FakeCharFormat& f) { return f.font == u"Verdana" && f.size == 12; }));
  EXPECT_TRUE(box->All(4, 8, [](const FakeCharFormat& f) { return f.bold && f.underline && f.color == 0xFF0000; }));
  EXPECT_TRUE(box->All(13, 16, [](const FakeCharFormat& f) { return f.italic && f.color == 255 && !f.underline; }));
  EXPECT_TRUE(box->All(8, 13, [](const FakeCharFormat& f) { return !f.bold && !f.underline && f.color == 0; }));
  EXPECT_TRUE(box->All(0, 4, [](const FakeCharFormat& f) { return !f.bold && f.color == 0; }));
  EXPECT_EQ(box->selStart, 0);
  EXPECT_EQ(box->selLength, 0);
}

TEST_F(LinkLayerTest, ProgramFontReachesTextsLongerThanAThousandCharacters) {
  const std::u16string longText(1500, u'w');
  link.SetLink(box, longText + u"<x=P-x>");
  EXPECT_TRUE(box->All(0, 1501, [](const FakeCharFormat& f) { return f.font == u"Verdana"; }));
}

TEST_F(LinkLayerTest, FontAndSizeOptionsOverrideTheProgramFont) {
  link.SetLink(box, u"<big=||S 20||F Courier> <keep=||S 0||F >");
  EXPECT_TRUE(box->All(0, 3, [](const FakeCharFormat& f) { return f.font == u"Courier" && f.size == 20; }));
  EXPECT_TRUE(box->All(4, 8, [](const FakeCharFormat& f) { return f.font == u"Verdana" && f.size == 12; }));
}

TEST_F(LinkLayerTest, BulletColoursTheLineBreakAfterTheRun) {
  link.SetLink(box, u"<one=TransWord-one||Blt 255>\r\n<two=TransWord-two||Blt >\r\nthree");
  EXPECT_TRUE(box->All(0, 3, [](const FakeCharFormat& f) { return f.bullet && f.color == 0xFF0000; }));
  EXPECT_TRUE(box->All(3, 5, [](const FakeCharFormat& f) { return f.color == 255 && f.size == 12 * 0.7; }));
  // The next line's first character keeps its own format.
  EXPECT_TRUE(box->All(5, 6, [](const FakeCharFormat& f) { return f.color == 0xFF0000 && f.size == 12; }));
  // Bullet -1: bullets on, the break keeps its colour.
  EXPECT_TRUE(box->All(8, 10, [](const FakeCharFormat& f) { return f.bullet && f.color == 0 && f.size < 12; }));
  EXPECT_TRUE(box->All(10, 15, [](const FakeCharFormat& f) { return !f.bullet && f.size == 12; }));
}

TEST_F(LinkLayerTest, HideKeepsTheBoxHiddenAndDisabledWhileWriting) {
  box->visible = false;
  link.SetLink(box, u"<a=X-1>", false, u"", true);
  const std::vector<std::string> expected = {"Visible 0", "Enabled 0", "SetText a"};
  ASSERT_GE(box->log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(box->log.begin(), box->log.begin() + 3), expected);
  EXPECT_EQ(box->log[box->log.size() - 2], "Visible 0");  // as it was
  EXPECT_EQ(box->log.back(), "Enabled 1");
}

TEST_F(LinkLayerTest, EmptyMarkupClearsLinksButKeepsTheBoxText) {
  link.SetLink(box, u"<a=X-1> b");
  box->log.clear();
  EXPECT_EQ(link.SetLink(box, u""), u"");
  EXPECT_TRUE(link.Links.empty());
  EXPECT_EQ(box->text, u"a b");
  EXPECT_TRUE(box->log.empty());
  EXPECT_EQ(link.LinkRichText, box);
}

TEST_F(LinkLayerTest, GetLinkByPosCoversTheCaptionOnly) {
  link.SetLink(box, u"ab <cd=P-cd> ef");
  EXPECT_EQ(link.GetLinkByPos(2), nullptr);
  ASSERT_NE(link.GetLinkByPos(3), nullptr);
  EXPECT_EQ(link.GetLinkByPos(3)->Link, u"cd");
  EXPECT_EQ(link.GetLinkByPos(4), link.Links[0]);
  EXPECT_EQ(link.GetLinkByPos(5), nullptr);
  EXPECT_EQ(link.GetLinkByPos(-1), nullptr);
  link.Reset();
  EXPECT_EQ(link.GetLinkByPos(3), nullptr);
}

TEST_F(LinkLayerTest, AutoLinkYieldsTheTrimmedWordBetweenDelimiters) {
  link.DefLink->Prefix = u"TransWord";
  const std::u16string markup = u"<a=X-1>\r\n  hello world \r\nlast";
  link.SetLink(box, markup, true, u"\r\n");
  struct Case {
    std::int32_t pos;
    const char16_t* word;  // nullptr: no link
    std::int32_t p1, p2;
  };
  const Case cases[] = {
      {0, u"1", 1, 2},  // the tag's own item, even with auto-linking
      {7, u"hello world", 5, 17},
      {4, u"hello world", 5, 17},
      {16, u"hello world", 5, 17},  // the blank before the break
      {17, nullptr, 0, 0},          // the break itself
      {23, u"last", 20, 24},
      {24, nullptr, 0, 0},  // past the end
      {2, nullptr, 0, 0},   // between CR and LF: no word
  };
  for (const Case& c : cases) {
    const LinkItemPtr item = link.GetLinkByPos(c.pos);
    if (!c.word) {
      EXPECT_EQ(item, nullptr) << "pos " << c.pos;
      continue;
    }
    ASSERT_NE(item, nullptr) << "pos " << c.pos;
    EXPECT_EQ(item->Link, c.word) << "pos " << c.pos;
    if (c.pos == 0) continue;
    EXPECT_EQ(item, link.DefLink);
    EXPECT_EQ(item->Caption, c.word);
    EXPECT_EQ(item->Prefix, u"TransWord");
    EXPECT_EQ(item->p1, c.p1) << "pos " << c.pos;
    EXPECT_EQ(item->p2, c.p2) << "pos " << c.pos;
  }
}

TEST_F(LinkLayerTest, AutoLinkWithBlanksAndCommasAsDelimiters) {
  link.SetLink(box, u"one,two three,,", true, u" ,");
  EXPECT_EQ(link.GetLinkByPos(0)->Link, u"one");
  EXPECT_EQ(link.GetLinkByPos(3)->Link, u"one");  // on the delimiter: the word before it
  EXPECT_EQ(link.GetLinkByPos(5)->Link, u"two");
  EXPECT_EQ(link.GetLinkByPos(9)->Link, u"three");
  EXPECT_EQ(link.GetLinkByPos(14), nullptr);  // between two commas
  link.AutoLink = false;
  EXPECT_EQ(link.GetLinkByPos(5), nullptr);
}

TEST_F(LinkLayerTest, SelectionFindsAndSelectsLinks) {
  link.SetLink(box, u"ab <cdef=P-x> g");
  EXPECT_EQ(link.GetSelLink(), nullptr);
  box->SetSelStart(1);
  box->SetSelLength(6);  // middle at 4
  EXPECT_EQ(link.GetSelLink(), link.Links[0]);
  box->SetSelStart(0);
  link.Links[0]->SelectMe();
  EXPECT_EQ(box->selStart, 3);
  EXPECT_EQ(box->selLength, 4);
}

TEST_F(LinkLayerTest, SelectMeAfterItsLinkLayerIsGoneDoesNothing) {
  LinkItemPtr kept;
  {
    clsLink shortLived;
    shortLived.SetLink(box, u"<x=P-x>");
    kept = shortLived.Links[0];
  }
  box->SetSelStart(0);
  kept->SelectMe();
  EXPECT_EQ(box->selLength, 0);
}

TEST_F(LinkLayerTest, MouseActionsSetCursorAndSoundForCursorLinksOnly) {
  link.SetLink(box, u"<go=TransWord-go> <plain=TransWord-p||Crsr 0>");
  box->charAtCursor = 1;
  struct Case {
    int event;  // 0 move, 1 down, 2 up
    int button;
    std::int16_t action;
    int cursors;
    int sounds;
  };
  const Case cases[] = {{0, 0, 0, 1, 0}, {1, 1, 0, 1, 0}, {2, 1, 1, 1, 1}, {2, 2, 2, 1, 1}, {2, 4, 4, 0, 0}};
  for (const Case& c : cases) {
    env->cursors = env->sounds = 0;
    calls.clear();
    if (c.event == 0) box->RaiseMouseMove(0, 0, 30, 40);
    if (c.event == 1) box->RaiseMouseDown(c.button, 0, 30, 40);
    if (c.event == 2) box->RaiseMouseUp(c.button, 0, 30, 40);
    ASSERT_EQ(calls.size(), 1u) << "action " << c.action;
    EXPECT_EQ(calls[0].button, c.action);
    EXPECT_EQ(calls[0].link, link.Links[0]);
    EXPECT_EQ(calls[0].sender, box.get());
    EXPECT_EQ(calls[0].x, 30);
    EXPECT_EQ(calls[0].y, 40);
    EXPECT_EQ(env->cursors, c.cursors) << "action " << c.action;
    EXPECT_EQ(env->sounds, c.sounds) << "action " << c.action;
  }
  env->cursors = env->sounds = 0;
  box->charAtCursor = 4;
  box->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(calls.back().link, link.Links[1]);
  EXPECT_EQ(env->cursors + env->sounds, 0);
  calls.clear();
  box->charAtCursor = 2;  // the blank between the links
  box->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(LinkLayerTest, KeysMoveTheCaretAndActAtIt) {
  link.SetLink(box, u"<ab=P-ab> <cd=P-cd> <ef=P-ef>");
  struct Case {
    int key;
    std::int32_t caretBefore;
    std::int32_t caretAfter;
    std::int16_t action;  // -1: no call
    const char16_t* link;
  };
  const Case cases[] = {
      {37, 6, 3, 10, u"cd"},  // Left: three more to the left
      {37, 2, 2, -1, u""},    // not past the start; the caret stays on a blank
      {37, 1, 1, 10, u"ab"},
      {39, 4, 6, 10, u"ef"},  // Right: two more to the right
      {39, 7, 8, -1, u""},    // clamped at the end
      {38, 0, 0, 10, u"ab"},
      {40, 4, 4, 10, u"cd"},
      {13, 3, 3, 13, u"cd"},
      {65, 0, 0, -1, u""},
  };
  for (const Case& c : cases) {
    calls.clear();
    box->SetSelStart(c.caretBefore);
    box->RaiseKeyUp(c.key, 0);
    EXPECT_EQ(box->selStart, c.caretAfter) << "key " << c.key << " at " << c.caretBefore;
    if (c.action < 0) {
      EXPECT_TRUE(calls.empty()) << "key " << c.key << " at " << c.caretBefore;
      continue;
    }
    ASSERT_EQ(calls.size(), 1u) << "key " << c.key << " at " << c.caretBefore;
    EXPECT_EQ(calls[0].button, c.action);
    EXPECT_EQ(calls[0].link->Link, c.link);
  }
  EXPECT_EQ(env->cursors + env->sounds, 0);
}

TEST_F(LinkLayerTest, AnUnboundBoxReachesNobody) {
  link.SetLink(box, u"<ab=P-ab>");
  link.Reset();
  box->RaiseMouseUp(1, 0, 0, 0);
  box->RaiseKeyUp(13, 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(link.LinkRichText, nullptr);

  // Another box bound later takes over; the first one stays silent.
  auto other = std::make_shared<FakeRichTextBox>();
  link.SetLink(other, u"<ab=P-ab>");
  box->RaiseMouseUp(1, 0, 0, 0);
  other->RaiseMouseUp(1, 0, 0, 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].sender, other.get());
}

TEST_F(LinkLayerTest, AHandlerThatShowsNewMarkupRebindsSafely) {
  link.SetLink(box, u"<ab=P-ab>");
  app.LinkHandlerHook = [this](const LinkItemPtr& l, std::int16_t, RichTextBox*, long, long) {
    calls.push_back({l, 0, nullptr, 0, 0});
    link.SetLink(box, u"<next=P-next> word");
  };
  box->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(box->text, u"next word");
  EXPECT_EQ(link.Links[0]->Link, u"next");
}

TEST_F(LinkLayerTest, ResetRestoresTheStandardStyleButKeepsPrefixAndLink) {
  link.DefLink->Prefix = u"BackTrans";
  link.DefLink->Link = u"w";
  link.DefLink->Color = 5;
  link.DefLink->LinkCursor = false;
  link.Reset();
  EXPECT_EQ(link.DefLink->Prefix, u"BackTrans");
  EXPECT_EQ(link.DefLink->Link, u"w");
  EXPECT_EQ(link.DefLink->Color, 0xFF0000);
  EXPECT_TRUE(link.DefLink->LinkCursor);
}

}  // namespace
}  // namespace parlavent
