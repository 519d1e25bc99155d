// Link markup from arbitrary bytes: the parser, the styling of a box and the look-up of links by
// position must stay in bounds, and every caption must stand where its item says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/link_layer.h"
#include "support/fake_rich_text_box.h"
#include "text/text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A tag's caption stands at [p1, p2) exactly; an auto-linked word is that range, trimmed.
void CheckItem(const parlavent::clsLinkItem& item, const std::u16string& plain, bool trimmed) {
  const auto size = static_cast<std::int64_t>(plain.size());
  Check(item.p1 >= 1 && item.p1 <= item.p2 && item.p2 <= size + 1);
  const std::u16string range = plain.substr(item.p1 - 1, item.p2 - item.p1);
  if (!item.Caption.empty()) Check((trimmed ? parlavent::Trim(range) : range) == item.Caption);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlavent;
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::u16string markup = FromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  static const char16_t* const kDelimiters[] = {u"", u" ", u"\r\n", u" ,\r\n."};

  auto box = std::make_shared<testing::FakeRichTextBox>();
  clsLink link;
  if (flags & 0x10) link.DefLink->Color = -1;
  const std::u16string plain = link.SetLink(box, markup, (flags & 1) != 0, kDelimiters[(flags >> 1) & 3], (flags & 8) != 0);
  Check(markup.empty() || box->text == plain);
  for (const LinkItemPtr& item : link.Links) CheckItem(*item, plain, false);

  const auto last = static_cast<std::int32_t>(std::min<std::size_t>(plain.size() + 2, 300));
  for (std::int32_t pos = -1; pos <= last; ++pos) {
    const LinkItemPtr item = link.GetLinkByPos(pos);
    if (item == link.DefLink) {
      Check(!item->Link.empty());
      CheckItem(*item, plain, true);
    }
  }
  box->charAtCursor = static_cast<std::int32_t>(plain.size() / 2);
  box->RaiseMouseUp(1, 0, 0, 0);
  for (const int key : {37, 39, 38, 13}) {
    box->SetSelStart(static_cast<std::int32_t>(plain.size() / 3));
    box->RaiseKeyUp(key, 0);
  }
  if (auto selected = link.GetSelLink()) selected->SelectMe();
  link.Reset();
  return 0;
}
