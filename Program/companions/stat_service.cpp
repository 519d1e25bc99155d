// The statistics as the rest of the program meets them: look-ups shown with AddStat count their
// words, and the statistics window lists them; a double-click there translates the word.
#include "app/application.h"
#include "app/companion_services.h"
#include "app/statistics.h"
#include "app/view_host.h"
#include "dictionary/result_tree.h"
#include "text/text.h"

namespace parlavent {

clsStat& Appl::Stat() {
  if (!stat) stat = std::make_shared<clsStat>();
  return *stat;
}

void Appl::LookupShown(std::u16string_view Text, const ShowTransArgs& Args) {
  // A look-up that found nothing leaves the last result in place; it is not this one.
  if (!WordSet || !WordSet->IsTrans || !EqualsNoCase(WordSet->InString, Text)) return;
  if (Args.AddStat) {
    for (const auto& entry : WordSet->Words) {
      if (entry && entry->IsTranslated) Stat().AddItem(entry->Word);
    }
  }
  ArmAutoSpeak(2);
}

void Appl::ShowStat(bool MostFrequently) {
  StatWindow* window = Companion ? Companion->Stat() : nullptr;
  if (!window) return;
  window->OnChoose = [this](std::u16string_view word) {
    ShowTransArgs args;
    args.OnForm = true;
    args.Typed = true;
    args.ClrBuffer = true;
    args.AddStat = true;
    SetInput(word, true);
    ShowMe(true);
    ShowTrans(word, args);
  };
  window->ShowList(MostFrequently ? Stat().MostFrequent() : Stat().Last());
}

}  // namespace parlavent
