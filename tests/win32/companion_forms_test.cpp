// The companions' real windows in this process: the keyboard's labels and keys, the statistics
// list and its double-click, the learning card.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "companions/win32/companion_forms.h"
#include "dictionary/keyboard_layers.h"
#include "dictionary/stat_item.h"
#include "platform/picture.h"
#include "support/app_fixture.h"

namespace parlavent {
namespace {

class CompanionFormsTest : public testing::AppTest {
 protected:
  CompanionFormsTest() {
    app.State.gLangTable.assign(400, u"x");
    for (auto [lang, layout] : {std::pair{u"de", 1031}, std::pair{u"ru", 1049}, std::pair{u"en", 1033}}) {
      auto layer = std::make_shared<clsLayer>();
      layer->Lang = lang;
      layer->Layout = layout;
      app.State.gLayers.Add(lang, layer);
    }
  }
  static RECT ChildRect(HWND parent, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(parent, id), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
};

TEST_F(CompanionFormsTest, KeyboardLabelsStandLeftOfTheTemplateAndKeysTypeTheChosenLayer) {
  frmKeyb keyb(instance);
  ASSERT_TRUE(keyb.Load());
  HWND w = reinterpret_cast<HWND>(keyb.Handle());
  const RECT templ = ChildRect(w, 200);
  keyb.LoadLangLabel(1, u"de");
  keyb.LoadLangLabel(2, u"ru");
  keyb.LoadLangLabel(3, u"en");
  keyb.HideTemplateLabel();
  const int width = templ.right - templ.left;
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(ChildRect(w, 200 + k).left, templ.left - (k - 1) * width) << "label " << k;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, 200 + k)) || !IsWindowVisible(w));
  }
  wchar_t caption[8] = {};
  GetWindowTextW(GetDlgItem(w, 202), caption, 8);
  EXPECT_STREQ(caption, L"ru");

  std::u16string typed;
  keyb.OnKey = [&typed](char16_t c) { typed += c; };
  const auto click = [w](RECT r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  };
  keyb.SetLang(2);
  EXPECT_EQ(keyb.CurrentLayer(), 2);
  click(frmKeyb::KeyRect(1, 0));
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(203, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, 203)));
  EXPECT_EQ(keyb.CurrentLayer(), 3) << "a click on a label chooses its layer";
  click(frmKeyb::KeyRect(1, 0));
  keyb.SetLang(7);
  EXPECT_EQ(keyb.CurrentLayer(), 3) << "a layer that is not there changes nothing";
  EXPECT_EQ(typed, u"йq");

  keyb.Show();
  EXPECT_TRUE(keyb.Visible());
  keyb.Hide();
  EXPECT_FALSE(keyb.Visible());
}

// A 24-bit bitmap file of one colour (blue, green, red).
std::string SolidBitmap(int size, unsigned char b, unsigned char g, unsigned char r) {
  const int row = (size * 3 + 3) / 4 * 4;
  const int pixels = row * size;
  std::string f(54 + pixels, '\0');
  const auto put32 = [&f](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<std::uint32_t>(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(size));
  put32(22, static_cast<std::uint32_t>(size));
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int at = 54 + y * row + x * 3;
      f[at] = static_cast<char>(b);
      f[at + 1] = static_cast<char>(g);
      f[at + 2] = static_cast<char>(r);
    }
  }
  return f;
}

TEST_F(CompanionFormsTest, ALayerWithoutKeyTableShowsItsPicture) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"parlavent_layer.bmp";
  const std::string bytes = SolidBitmap(8, 0, 0, 255);
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  auto layer = std::make_shared<clsLayer>();
  layer->Lang = u"fr";
  layer->Layout = 1036;
  auto picture = Pictures().LoadPicture(std::filesystem::path(file));
  DeleteFileW(file.c_str());
  ASSERT_TRUE(picture);
  layer->Layers.Add(u"fr1", picture);
  app.State.gLayers.Add(u"fr", layer);

  frmKeyb keyb(instance);
  ASSERT_TRUE(keyb.Load());
  HWND w = reinterpret_cast<HWND>(keyb.Handle());
  keyb.SetLang(4);
  keyb.Show();
  UpdateWindow(w);
  const RECT key = frmKeyb::KeyRect(1, 3);
  HDC dc = GetDC(w);
  const COLORREF seen = GetPixel(dc, (key.left + key.right) / 2, (key.top + key.bottom) / 2);
  ReleaseDC(w, dc);
  keyb.Hide();
  EXPECT_EQ(seen, RGB(255, 0, 0)) << "the layer's picture fills the keys";
}

TEST_F(CompanionFormsTest, StatisticsListWordsAndCountsAndADoubleClickChoosesOne) {
  frmStat stat(instance);
  ASSERT_TRUE(stat.Load());
  std::vector<std::shared_ptr<clsStatItem>> items;
  for (auto [word, mass] : {std::pair{u"Haus", 3}, std::pair{u"дом", 1}}) {
    auto item = std::make_shared<clsStatItem>();
    item->Word = word;
    item->Mass = mass;
    items.push_back(item);
  }
  stat.ShowList(items);
  HWND list = stat.List();
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  wchar_t text[64] = {};
  LVITEMW cell{};
  cell.iSubItem = 1;
  cell.pszText = text;
  cell.cchTextMax = 64;
  SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&cell));
  EXPECT_STREQ(text, L"3");

  std::u16string chosen;
  stat.OnChoose = [&chosen](std::u16string_view w) { chosen = std::u16string(w); };
  LVITEMW select{};
  select.stateMask = LVIS_SELECTED;
  select.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
  NMHDR header{list, 101, static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(GetParent(list), WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(chosen, u"дом");
  stat.ShowList({});
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(CompanionFormsTest, TheLearningCardShowsItsWordAndClosesWithItsCross) {
  frmLearn card(instance);
  ASSERT_TRUE(card.Load());
  LearnCard c;
  c.Word = u"Weltwunder";
  c.Transcription = u"ˈvɛltˌvʊndɐ";
  c.Translation = u"чудо света";
  c.Transparency = 20;
  card.ShowCard(c);
  EXPECT_TRUE(card.Visible());
  wchar_t text[64] = {};
  GetWindowTextW(card.hwnd(), text, 64);
  EXPECT_STREQ(text, L"Weltwunder");
  RECT r{};
  GetClientRect(card.hwnd(), &r);
  EXPECT_GT(r.bottom, 3 * 12) << "room for the word, the transcription and the translation";
  bool closed = false;
  card.OnClosed = [&closed] { closed = true; };
  card.Close();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(card.Visible());
}

}  // namespace
}  // namespace parlavent
