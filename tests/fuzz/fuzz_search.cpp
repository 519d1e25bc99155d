// Opens arbitrary bytes as a dictionary package and runs every search on it: wild offsets inside
// the sections must give empty answers, never a read outside the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"

namespace {

const std::filesystem::path& Scratch() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("fuzz_search_" + std::to_string(getpid()) + "_common.dic");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlavent;
  {
    std::ofstream out(Scratch(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  Appl app;
  SetAppl(&app);
  {
    const auto dic = OpenPackageDic(app, Scratch());
    if (dic) {
      dic->SetEnabled(false);
      std::vector<std::u16string> words{u"a", u"Haus", u"дом", u"ab"};
      for (std::int32_t id = 1; id <= 3; ++id) words.push_back(app.ReadWordRec(id, *dic).Text);
      for (const auto& word : words) {
        std::vector<WordRec> recs;
        app.FindWord(word, recs, *dic, false, false, true);
        app.FindWord(word, recs, *dic, true, false, false);
        app.FindWord(word, recs, *dic, false, true, false);
        std::vector<TransRec> trans;
        app.GetTransRecs(word, trans, *dic, true, false, true, 0);
        app.GetTransRecs(word, trans, *dic, false, true, false, 2);
        std::int32_t count = 0;
        std::vector<WordRec> list;
        app.FindSorted(word.substr(0, 1), list, 0, true, dic, false, 0, true, count);
        app.FindSorted(word.substr(0, 1), list, 51, true, dic, false, 0, true, count);
        app.FindSorted(word.substr(0, 1), list, 30, true, dic, true, 2, true, count);
        app.GetTranscript(word);
        app.GetWordTrans(word, dic, true);
        app.GetSimpleTrans(word);
      }
    }
  }
  app.CloseByteFile();
  SetAppl(nullptr);
  return 0;
}
