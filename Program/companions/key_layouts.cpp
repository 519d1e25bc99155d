#include "companions/key_layouts.h"

namespace parlavent {
namespace {

// The rows run from the digit row down; the keys of one column are the same physical key in
// every layout (the German "#" sits where the US "\" does).
constexpr KeyLayout kLayouts[] = {
    {1033,
     {u"`1234567890-=", u"qwertyuiop[]\\", u"asdfghjkl;'", u"zxcvbnm,./"},
     {u"~!@#$%^&*()_+", u"QWERTYUIOP{}|", u"ASDFGHJKL:\"", u"ZXCVBNM<>?"}},
    {1049,
     {u"\u04511234567890-=", u"\u0439\u0446\u0443\u043a\u0435\u043d\u0433\u0448\u0449\u0437\u0445\u044a\\",
      u"\u0444\u044b\u0432\u0430\u043f\u0440\u043e\u043b\u0434\u0436\u044d",
      u"\u044f\u0447\u0441\u043c\u0438\u0442\u044c\u0431\u044e."},
     {u"\u0401!\"\u2116;%:?*()_+", u"\u0419\u0426\u0423\u041a\u0415\u041d\u0413\u0428\u0429\u0417\u0425\u042a/",
      u"\u0424\u042b\u0412\u0410\u041f\u0420\u041e\u041b\u0414\u0416\u042d",
      u"\u042f\u0427\u0421\u041c\u0418\u0422\u042c\u0411\u042e,"}},
    {1031,
     {u"^1234567890\u00df\u00b4", u"qwertzuiop\u00fc+#", u"asdfghjkl\u00f6\u00e4", u"yxcvbnm,.-"},
     {u"\u00b0!\"\u00a7$%&/()=?`", u"QWERTZUIOP\u00dc*'", u"ASDFGHJKL\u00d6\u00c4", u"YXCVBNM;:_"}},
};

struct KeyPlace {
  int row = -1;
  std::size_t column = 0;
  bool shift = false;
};

KeyPlace FindKey(const KeyLayout& layout, char16_t ch) {
  for (int r = 0; r < 4; ++r) {
    if (const std::size_t c = layout.Rows[r].find(ch); c != std::u16string_view::npos) return {r, c, false};
  }
  for (int r = 0; r < 4; ++r) {
    if (const std::size_t c = layout.ShiftRows[r].find(ch); c != std::u16string_view::npos) return {r, c, true};
  }
  return {};
}

}  // namespace

const KeyLayout* FindKeyLayout(std::int64_t layout) {
  const std::int64_t language = layout & 0xFFFF;
  for (const KeyLayout& l : kLayouts) {
    if (l.Id == language) return &l;
  }
  return nullptr;
}

const KeyLayout* KeyLayoutForLang(std::u16string_view lang) {
  if (lang == u"en") return FindKeyLayout(1033);
  if (lang == u"ru") return FindKeyLayout(1049);
  if (lang == u"de") return FindKeyLayout(1031);
  return nullptr;
}

std::u16string Retype(std::u16string_view text, std::int64_t from, std::int64_t to) {
  const KeyLayout* a = FindKeyLayout(from);
  const KeyLayout* b = FindKeyLayout(to);
  if (!a || !b) return {};
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t ch : text) {
    const KeyPlace place = FindKey(*a, ch);
    const std::u16string_view row = place.row < 0 ? std::u16string_view()
                                    : place.shift ? b->ShiftRows[place.row]
                                                  : b->Rows[place.row];
    out.push_back(place.row >= 0 && place.column < row.size() ? row[place.column] : ch);
  }
  return out;
}

}  // namespace parlavent
