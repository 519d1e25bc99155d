// clsUndo: recording (duplicates, the redo part, the limit, replays), the toolbar buttons, and
// the replay of each kind of record.
#include <gtest/gtest.h>

#include "app/view_history.h"
#include "support/app_fixture.h"
#include "support/fake_view_host.h"

namespace parlavent {
namespace {

class ViewHistory : public testing::AppTest {
 protected:
  ViewHistory() { app.Views = host; }
  std::vector<std::string> Modes() {
    std::vector<std::string> modes;
    for (const auto& item : undo.UndoCol) modes.push_back(ToUtf8(item->Mode + u":" + item->Data));
    return modes;
  }
  std::shared_ptr<testing::FakeViewHost> host = std::make_shared<testing::FakeViewHost>();
  clsUndo& undo = app.History();
};

TEST_F(ViewHistory, RecordingKeepsNewestFirstAndDropsTheRedoPart) {
  undo.AddUndo(u"List", u"a");
  undo.AddUndo(u"List", u"b");
  undo.AddUndo(u"LIST", u"B");  // the view shown now, in another case: nothing changes
  undo.AddUndo(u"ABC", u"");
  EXPECT_EQ(Modes(), (std::vector<std::string>{"ABC:", "List:b", "List:a"}));
  undo.UndoPos = 3;
  undo.AddUndo(u"list", u"A");  // the view shown now again: the redo part stays
  EXPECT_EQ(undo.UndoCol.size(), 3u);
  undo.AddUndo(u"ShowLit", u"x");
  EXPECT_EQ(Modes(), (std::vector<std::string>{"ShowLit:x", "List:a"}));
  EXPECT_EQ(undo.UndoPos, 1);
}

TEST_F(ViewHistory, HoldsAtMostAHundredViews) {
  for (int i = 0; i <= clsUndo::kMaxViews; ++i) undo.AddUndo(u"List", NumberText(i));
  ASSERT_EQ(undo.UndoCol.size(), 100u);
  EXPECT_EQ(undo.UndoCol.front()->Data, u"100");
  EXPECT_EQ(undo.UndoCol.back()->Data, u"1");
}

TEST_F(ViewHistory, NothingIsRecordedDuringAReplay) {
  app.State.gUndoReplay = true;
  undo.AddUndo(u"List", u"a");
  EXPECT_TRUE(undo.UndoCol.empty());
}

TEST_F(ViewHistory, ButtonsFollowThePosition) {
  undo.AddUndo(u"ShowLit", u"a");
  EXPECT_EQ(host->calls, (std::vector<std::string>{"Redo 0", "Back 0"}));
  undo.AddUndo(u"ShowLit", u"b");
  host->calls.clear();
  undo.Back();  // replays "a", recording nothing
  EXPECT_EQ(undo.UndoPos, 2);
  EXPECT_EQ(host->calls, (std::vector<std::string>{"Redo 1", "Back 0", "StopSpeak"}));
  EXPECT_EQ(host->output->text, u"\r\n\r\nA a");
  host->calls.clear();
  undo.Back();  // at the oldest view: it is shown again
  EXPECT_EQ(undo.UndoPos, 2);
  EXPECT_EQ(host->output->text, u"\r\n\r\nA a");
  undo.Redo();
  EXPECT_EQ(undo.UndoPos, 1);
  EXPECT_EQ(host->output->text, u"\r\n\r\nB b");
  EXPECT_EQ(undo.UndoCol.size(), 2u);
  EXPECT_FALSE(app.State.gUndoReplay);
}

TEST_F(ViewHistory, TransReplaysWithItsRecordedFlags) {
  undo.AddUndo(u"Trans", u"big dog\tTrue\tFalse\ttrue\tFalse");
  undo.AddUndo(u"Trans", u"cat");  // flags missing: False
  undo.Back();
  undo.Redo();
  ASSERT_EQ(host->trans.size(), 2u);
  const auto& [text, args] = host->trans[0];
  EXPECT_EQ(text, "big dog");
  EXPECT_TRUE(args.OnForm && args.RepeatTrans && args.OneWord && args.ClrBuffer && args.AddStat);
  EXPECT_FALSE(args.FullText || args.Tochno || args.Typed || args.SamePos);
  EXPECT_EQ(host->trans[1].first, "cat");
  EXPECT_FALSE(host->trans[1].second.RepeatTrans || host->trans[1].second.OneWord);
  EXPECT_EQ(host->input->text, u"cat");
  EXPECT_TRUE(app.State.gUserTyped);
}

TEST_F(ViewHistory, ListClickRestoresTheSelection) {
  // No dictionary: the list comes out empty, and the selection is placed in what the box holds.
  host->output->SetText(u"one \r\ntwo \r\n");
  undo.AddUndo(u"ListClick", u"ab\tAllList\t6\t3");
  undo.AddUndo(u"ListClick", u"ab\tnone\t1\t1");
  undo.Back();
  EXPECT_EQ(host->output->selStart, 6);
  EXPECT_EQ(host->output->selLength, 3);
  host->output->SetSelStart(0);
  undo.Redo();  // an unknown kind replays nothing
  EXPECT_EQ(host->output->selStart, 0);
}

}  // namespace
}  // namespace parlavent
