// Appl.ShowTrans: the look-up shown in the output box, or handed to the capture side's popup, and
// recorded in the view history either way.
#include "app/application.h"
#include "app/neighbour_services.h"
#include "app/view_history.h"
#include "dictionary/lookup.h"

namespace parlavent {

namespace {

std::u16string BoolText(bool b) { return b ? u"True" : u"False"; }

}  // namespace

TranslateArgs LookupArgsOf(const ShowTransArgs& args, bool onForm) {
  TranslateArgs look;
  look.OneWord = args.OneWord;
  look.FullText = args.FullText;
  look.ClrBuffer = args.ClrBuffer;
  look.OnForm = onForm;
  look.Tochno = args.Tochno;
  look.RepeatTrans = args.RepeatTrans;
  look.CheckDir = !args.NoDirection;
  look.CheckCursorShift = args.CheckShift;
  return look;
}

void Appl::ShowTrans(std::u16string_view Text, const ShowTransArgs& Args) {
  // A new translation abandons a word-list search or fill still running.
  State.gListAbort = true;
  State.gFillAbort = true;
  if (Args.OnForm) {
    const TranslateArgs look = LookupArgsOf(Args, true);
    // The input box gets the part of the text the result covers ("Häuser," shows as "Häuser"); an
    // empty or abandoned look-up writes none, and TransOnForm then leaves both boxes as they are.
    std::u16string rettext, covered;
    TranslateOut out;
    out.RetInText = &covered;
    const std::int32_t score = GetTranslate(Text, rettext, look, out);
    // The common-translation list covers no text of its own: its one entry is headed by the whole
    // input, which stays in the input box so that the list can be edited.
    if (Args.Tochno && covered.empty() && !rettext.empty()) covered = std::u16string(Text);
    // A reused result scores -1: it was translated all the same.
    TransOnForm(covered, rettext, score != 0, Args.RepeatTrans);
  } else {
    CaptureSide().ShowPopupTrans(Text, Args);
  }
  LookupShown(Text, Args);
  // Either road is a view the history can replay, in the order its fields are replayed.
  History().AddUndo(u"Trans", std::u16string(Text) + u"\t" + BoolText(Args.RepeatTrans) + u"\t" +
                                  BoolText(Args.FullText) + u"\t" + BoolText(Args.OneWord) + u"\t" +
                                  BoolText(Args.Tochno));
}

}  // namespace parlavent
