// Opens arbitrary bytes as a dictionary package and runs every search on it: wild offsets inside
// the sections must give empty answers, never a read outside the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/engine.h"

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
  DictionaryEngine engine;
  Searches& search = engine.Search;
  {
    const auto dic = engine.OpenCurrent(Scratch());
    if (dic) {
      std::vector<std::u16string> words{u"a", u"Haus", u"дом", u"ab"};
      for (std::int32_t id = 1; id <= 3; ++id) words.push_back(search.ReadWordRec(id, *dic).Text);
      for (const auto& word : words) {
        std::vector<WordRec> recs;
        search.FindWord(word, recs, *dic, false, false, true);
        search.FindWord(word, recs, *dic, true, false, false);
        search.FindWord(word, recs, *dic, false, true, false);
        std::vector<TransRec> trans;
        search.GetTransRecs(word, trans, *dic, true, false, true, 0);
        search.GetTransRecs(word, trans, *dic, false, true, false, 2);
        std::int32_t count = 0;
        std::vector<WordRec> list;
        search.FindSorted(word.substr(0, 1), list, 0, true, dic, false, 0, true, count);
        search.FindSorted(word.substr(0, 1), list, 51, true, dic, false, 0, true, count);
        search.FindSorted(word.substr(0, 1), list, 30, true, dic, true, 2, true, count);
        search.GetTranscript(word, dic);
        search.GetWordTrans(word, dic, true);
        search.GetSimpleTrans(word, dic);
      }
    }
  }
  engine.Files.CloseByteFile();
  return 0;
}
