// The searches on the installed sample dictionary under Windows: read in place through the
// Win32 file mapping, 8-bit text through the system's code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "app/application.h"
#include "app/engine_operations.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"

namespace parlavent {
namespace {

TEST(Win32Search, SampleDictionaryAnswersEverySearch) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const auto build = std::filesystem::path(exe).parent_path().parent_path();
  Appl app;
  SetAppl(&app);
  const auto dic = OpenPackageDic(app, build / "Parlavent" / "Dictionaries" / "de-ru_full.dic");
  ASSERT_TRUE(dic);
  std::vector<WordRec> words;
  EXPECT_EQ(app.FindWord(u"HAUS", words, *dic), 1);
  std::vector<TransRec> trans;
  app.GetTransRecs(u"дом", trans, *dic);
  bool haus = false;
  for (const auto& r : trans) haus = haus || r.Trans.Text == u"Haus";
  EXPECT_TRUE(haus);
  std::int32_t count = 0;
  std::vector<WordRec> list;
  app.FindSorted(u"hau", list, 51, true, dic, false, 0, true, count);
  ASSERT_GT(count, 0);
  EXPECT_EQ(list[0].Text.substr(0, 3), u"hau");
  app.CloseByteFile();
  SetAppl(nullptr);
}

}  // namespace
}  // namespace parlavent
