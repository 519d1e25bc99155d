#pragma once
// A dictionary built from a list of words, loaded as the current one, with the main window in
// memory and numbered interface texts ("t127" for entry 127): the setting of the word-list,
// alphabet and scanner tests.
#include <string>
#include <vector>

#include "app/application.h"
#include "foundation/settings_object.h"
#include "support/fake_system.h"
#include "support/fake_view_host.h"
#include "native/search_fixture.h"

namespace parlavent::testing {

class ListTest : public SearchTest {
 protected:
  ListTest() {
    CreateSettings(app);
    app.Sett->Gray = 808080;
    app.Views = host;
    for (int n = 0; n < 400; ++n) app.State.gLangTable.push_back(u"t" + NumberText(n));
  }

  /// Source lines for words of one side.
  static std::string Words(const std::vector<std::string>& words, int side = 1) {
    std::string source;
    for (const auto& w : words) source += "W\t" + std::to_string(side) + "\t" + w + "\n";
    return source;
  }
  /// count words prefix000, prefix001, ... and a last word "zz".
  static std::string Numbered(const std::string& prefix, int count) {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
      std::string n = std::to_string(i);
      words.push_back(prefix + std::string(4 - n.size(), '0') + n);
    }
    words.push_back("zz");
    return Words(words);
  }
  /// Builds the dictionary, makes it current and lists it in ColDics.
  std::shared_ptr<clsDic> Load(const std::string& source) {
    auto dic = Build(source);
    app.ColDics.Add(u"k1", dic);
    return dic;
  }
  std::vector<std::string> OutputLines() const {
    std::vector<std::string> lines;
    for (const auto& l : SplitText(host->output->text, u"\r\n")) lines.push_back(ToUtf8(l));
    return lines;
  }

  std::shared_ptr<FakeViewHost> host = std::make_shared<FakeViewHost>();
  ScopedPump pump{std::make_shared<FakePump>()};
};

}  // namespace parlavent::testing
