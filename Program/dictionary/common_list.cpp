// Common-translation list mode: the translations that every item of a list of words shares, as
// one entry headed by the whole list.
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/lookup.h"
#include "dictionary/lookup_deps.h"
#include "dictionary/lookup_modes.h"
#include "dictionary/result_tree.h"
#include "dictionary/stat_item.h"
#include "foundation/api_strings.h"
#include "foundation/keyed_collection.h"
#include "text/text.h"

namespace parlavent {

void FillCommonList(Lookup& lookup, std::u16string_view Text, WordSet& words) {
  const std::shared_ptr<clsDic>& dic = lookup.Owner().Dic;
  Searches& search = lookup.Search();
  const std::vector<std::u16string> items =
      SplitText(Text, Text.find(u',') != std::u16string_view::npos ? u"," : u" ");
  std::vector<TransRec> recs;
  for (const std::u16string& item : items) {
    const std::u16string w = Trim(item);
    if (!dic) continue;
    if (dic->Dicx) lookup::GatherRecords(search, w, recs, *dic->Dicx, false, false);
    lookup::GatherRecords(search, w, recs, *dic, false, false);
  }

  // Per translation text: the first record that has it (Word) and how many records do (Mass).
  KeyedCollection<std::shared_ptr<clsStatItem>> counters;
  for (std::size_t r = 0; r < recs.size(); ++r) {
    const std::u16string key = API::MakeKey(recs[r].Trans.Text);
    auto* found = counters.Find(key);
    if (!found) {
      auto counter = std::make_shared<clsStatItem>();
      counter->Word = NumberText(static_cast<std::int64_t>(r));
      counters.Add(key, counter);
      found = counters.Find(key);
    }
    clsStatItem& counter = **found;
    if (!recs[r].Comment.empty()) {
      TransRec& first = recs[static_cast<std::size_t>(LeadingNumber(counter.Word))];
      if (first.Comment.empty() && EqualsNoCase(first.Word.Text, recs[r].Word.Text)) first.Comment = recs[r].Comment;
    }
    ++counter.Mass;
  }

  const auto entry = words.AddWord(Text);
  // The themes are keyed in the form of the package read last: the current dictionary's.
  const bool unicode = lookup.State().gUnicode;
  for (const auto& counter : counters) {
    if (counter->Mass < static_cast<std::int32_t>(items.size())) continue;
    const TransRec& r = recs[static_cast<std::size_t>(LeadingNumber(counter->Word))];
    entry->AddTranslation(Text, r.Trans.Text, r.Comment, r.Theme1.Short, r.Theme2.Short, r.Theme3.Short, r.Rech,
                          r.Word.Dir, r.Trans.Dir, unicode);
  }
}

}  // namespace parlavent
