// Link markup: the plain text, the positions and the fields of each tag's item.
#include <gtest/gtest.h>

#include "app/link_layer.h"
#include "text/text.h"

namespace parlavent {
namespace {

struct Parsed {
  std::u16string plain;
  std::vector<LinkItemPtr> links;
};

Parsed Parse(clsLink& link, std::u16string_view markup) {
  Parsed out;
  link.GetLinks(markup, out.plain, out.links);
  return out;
}

TEST(LinkMarkup, PlainTextAndPositionsAfterRemovedTags) {
  struct Case {
    const char16_t* markup;
    const char16_t* plain;
    std::vector<std::pair<int, int>> ranges;  // p1, p2 of each item
  };
  const Case cases[] = {
      {u"see <this=TransWord-this||B ||dir 1> now", u"see this now", {{5, 9}}},
      {u"<a=X-1> and <bb=Y-2||B >", u"a and bb", {{1, 2}, {7, 9}}},
      {u"a < b", u"a < b", {}},                          // a lone "<" stays
      {u"x <y=z> <w", u"x y <w", {{3, 4}}},              // so does one after the last tag
      {u"a <b> c <d=e>", u"a <b> c d", {{9, 10}}},       // "<...>" without "=" is shown as written
      {u"<=P-x>|<c=>", u"|c", {{1, 1}, {2, 3}}},         // empty caption, empty value
      {u"<a <b=c>d", u"a <bd", {{1, 5}}},                // no nesting: the first ">" closes
      {u"l1\r\n<w=TransWord-w>\r\n", u"l1\r\nw\r\n", {{5, 6}}},
      {u"", u"", {}},
      {u"<", u"<", {}},
      {u">", u">", {}},
  };
  for (const Case& c : cases) {
    clsLink link;
    const Parsed p = Parse(link, c.markup);
    EXPECT_EQ(p.plain, c.plain) << ToUtf8(c.markup);
    ASSERT_EQ(p.links.size(), c.ranges.size()) << ToUtf8(c.markup);
    for (std::size_t i = 0; i < c.ranges.size(); ++i) {
      EXPECT_EQ(p.links[i]->p1, c.ranges[i].first) << ToUtf8(c.markup) << " item " << i;
      EXPECT_EQ(p.links[i]->p2, c.ranges[i].second) << ToUtf8(c.markup) << " item " << i;
    }
  }
}

TEST(LinkMarkup, PrefixAndLinkFromTheAction) {
  struct Case {
    const char16_t* markup;
    const char16_t* prefix;
    const char16_t* link;
  };
  const Case cases[] = {
      {u"<Back=GoBack>", u"GoBack", u""},
      {u"<x=List-a-b>", u"List", u"a-b"},
      {u"<x=http://a-b.org/c-d||Std >", u"Link", u"http://a-b.org/c-d"},
      {u"<x=HTTPS://x-y.ru>", u"Link", u"HTTPS://x-y.ru"},
      {u"<x=MailTo:me-you@x.org>", u"Link", u"MailTo:me-you@x.org"},
      {u"<x=http:/not-web>", u"http:/not", u"web"},
      {u"<x=P-a=b||B >", u"P", u"a=b"},  // "=" after the first belongs to the value
      {u"<x=-lead>", u"", u"lead"},
      {u"<x=||C 5>", u"", u""},
  };
  for (const Case& c : cases) {
    clsLink link;
    const Parsed p = Parse(link, c.markup);
    ASSERT_EQ(p.links.size(), 1u) << ToUtf8(c.markup);
    EXPECT_EQ(p.links[0]->Prefix, c.prefix) << ToUtf8(c.markup);
    EXPECT_EQ(p.links[0]->Link, c.link) << ToUtf8(c.markup);
  }
}

// Blue, underlined, hand cursor and click sound; no other style.
void ExpectStandardStyle(const clsLinkItem& item) {
  EXPECT_TRUE(item.Underline);
  EXPECT_TRUE(item.LinkCursor);
  EXPECT_TRUE(item.ClickSound);
  EXPECT_FALSE(item.Italic);
  EXPECT_EQ(item.Color, 0xFF0000);
  EXPECT_EQ(item.Size, 0);
  EXPECT_EQ(item.Bullet, 0);
  EXPECT_EQ(item.Font, u"");
}

TEST(LinkMarkup, ActionLinkTakesAbsentOptionsFromDefLink) {
  clsLink link;
  const Parsed p = Parse(link, u"see <this=TransWord-this||B ||dir 1> now");
  const clsLinkItem& item = *p.links[0];
  EXPECT_EQ(item.Caption, u"this");
  EXPECT_TRUE(item.Bold);
  EXPECT_EQ(item.Dir, 1);
  ExpectStandardStyle(item);
  ASSERT_TRUE(item.Parent);
  EXPECT_EQ(*item.Parent, &link);

  // A writer's DefLink (the plain translation-link style) reaches every option left out.
  link.DefLink->LinkCursor = false;
  link.DefLink->Underline = false;
  link.DefLink->Color = -1;
  link.DefLink->Font = u"Tahoma";
  const Parsed q = Parse(link, u"<w=TransWord-w||U 1>");
  EXPECT_FALSE(q.links[0]->LinkCursor);
  EXPECT_TRUE(q.links[0]->Underline);
  EXPECT_EQ(q.links[0]->Color, kButtonTextColour);
  EXPECT_EQ(q.links[0]->Font, u"Tahoma");
}

TEST(LinkMarkup, PlainRunKeepsAbsentOptionsAtNothing) {
  clsLink link;
  const Parsed p = Parse(link, u"<red=||C 255><black=>");
  const clsLinkItem& red = *p.links[0];
  EXPECT_EQ(red.Color, 255);
  EXPECT_FALSE(red.Underline);
  EXPECT_FALSE(red.LinkCursor);
  EXPECT_FALSE(red.ClickSound);
  const clsLinkItem& black = *p.links[1];
  EXPECT_EQ(black.Color, 0);
  EXPECT_FALSE(black.Underline);
}

TEST(LinkMarkup, StandardStyleIgnoresOtherOptionsButDir) {
  clsLink link;
  link.DefLink->Color = 7;
  const Parsed p = Parse(link, u"<site=http://a-b.org||B ||C 9||Dir 2||Std >");
  const clsLinkItem& item = *p.links[0];
  EXPECT_EQ(item.Caption, u"");
  EXPECT_FALSE(item.Bold);
  ExpectStandardStyle(item);
  EXPECT_EQ(item.Dir, 2);
  EXPECT_EQ(item.p1, 1);
  EXPECT_EQ(item.p2, 5);
  // "||Std 0" is not the standard style; "||S " is not found inside "||Std ".
  const Parsed q = Parse(link, u"<x=P||Std 0||S 12>");
  EXPECT_EQ(q.links[0]->Color, 7);
  EXPECT_EQ(q.links[0]->Size, 12);
}

TEST(LinkMarkup, OptionValuesConvert) {
  struct Case {
    const char16_t* options;  // appended to a plain run "<x=" ... ">"
    bool (*check)(const clsLinkItem&);
  };
  const Case cases[] = {
      {u"||U 0", [](const clsLinkItem& i) { return !i.Underline; }},
      {u"||U ||B ", [](const clsLinkItem& i) { return i.Underline && i.Bold; }},
      {u"||u ", [](const clsLinkItem& i) { return i.Underline; }},
      {u"||U", [](const clsLinkItem& i) { return !i.Underline; }},  // no blank after the key
      {u"||Crsr 1", [](const clsLinkItem& i) { return i.LinkCursor && i.Color == 0; }},  // not "||C "
      {u"||B 0||B 1", [](const clsLinkItem& i) { return !i.Bold; }},  // the first occurrence
      {u"||I tRuE||Snd -3", [](const clsLinkItem& i) { return i.Italic && i.ClickSound; }},
      {u"||B maybe", [](const clsLinkItem& i) { return !i.Bold; }},
      {u"||S 10.5", [](const clsLinkItem& i) { return i.Size == 10; }},  // halves to even
      {u"||S 11.5", [](const clsLinkItem& i) { return i.Size == 12; }},
      {u"||S  14 ", [](const clsLinkItem& i) { return i.Size == 14; }},
      {u"||S 99999999999", [](const clsLinkItem& i) { return i.Size == 0; }},
      {u"||S 1e1", [](const clsLinkItem& i) { return i.Size == 10; }},
      {u"||C &HFF00", [](const clsLinkItem& i) { return i.Color == 0xFF00; }},
      {u"||C -1", [](const clsLinkItem& i) { return i.Color == kButtonTextColour; }},
      {u"||C ", [](const clsLinkItem& i) { return i.Color == kButtonTextColour; }},  // True is -1
      {u"||C red", [](const clsLinkItem& i) { return i.Color == 0; }},
      {u"||Blt ", [](const clsLinkItem& i) { return i.Bullet == -1; }},
      {u"||Blt 255||Crsr 1", [](const clsLinkItem& i) { return i.Bullet == 255 && i.LinkCursor; }},
      {u"||F Times New Roman||B 1", [](const clsLinkItem& i) { return i.Font == u"Times New Roman" && i.Bold; }},
      {u"||F ", [](const clsLinkItem& i) { return i.Font.empty(); }},
      {u"||Dir x", [](const clsLinkItem& i) { return i.Dir == 0; }},
      {u"||Nope 1||Dir 2", [](const clsLinkItem& i) { return i.Dir == 2; }},
  };
  for (const Case& c : cases) {
    clsLink link;
    const Parsed p = Parse(link, u"<x=" + std::u16string(c.options) + u">");
    ASSERT_EQ(p.links.size(), 1u) << ToUtf8(c.options);
    EXPECT_TRUE(c.check(*p.links[0])) << ToUtf8(c.options);
  }
}

}  // namespace
}  // namespace parlavent
