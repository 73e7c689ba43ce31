#include <gtest/gtest.h>

#include "core/model/ProgressInfo.h"
#include "platform/HeadlessUi.h"
#include "tests/support/ScriptedUi.h"

namespace {

// The window of the dialog the test made last.
const ProgressState& Window() { return TestUi().Progress(TestUi().ProgressWindowCount() - 1); }

TEST(ProgressInfoTest, TheBarTakesTheFractionOfItsRangeThatThePositionIsOfTheMaximum) {
  const struct {
    int max;  // the bar's range is 0..max
    int maximum;
    int position;
    int bar;
  } cases[] = {
      {100, 200, 50, 25}, {100, 200, 0, 0},          {100, 200, 200, 100}, {100, 3, 1, 33},
      {100, 3, 2, 66},    {1000, 45150, 45149, 999}, {100, 7, 9, 100},  // past the maximum the bar
                                                                        // stays full
  };
  for (const auto& c : cases) {
    CProgressInfoDlg dialog;
    dialog.SetControl();
    dialog.SetMax(c.max);
    CProgressInfo& info = *dialog.GetInfo();
    info.SetMaximum(c.maximum);
    info.SetPosition(c.position);
    info.UpdateProgress();
    EXPECT_EQ(Window().position, c.bar) << c.position << " of " << c.maximum;
  }
}

TEST(ProgressInfoTest, MaximumZeroNeverMovesTheBar) {
  CProgressInfoDlg dialog;
  dialog.SetControl();
  dialog.SetValue(7);
  dialog.GetInfo()->SetPosition(50);
  dialog.GetInfo()->UpdateProgress();
  EXPECT_EQ(Window().position, 7);
}

TEST(ProgressInfoTest, AnUpdateShowsTheLinesOfTheInfo) {
  CProgressInfoDlg dialog;
  dialog.SetControl();
  dialog.Show();
  CProgressInfo& info = *dialog.GetInfo();
  info.SetText("多平面安定解析", "ブロック 1 - 2 を計算中...(1/6)");
  EXPECT_EQ(Window().line1, "");  // shown only by the update
  info.UpdateProgress();
  EXPECT_EQ(Window().line1, "多平面安定解析");
  EXPECT_EQ(Window().line2, "ブロック 1 - 2 を計算中...(1/6)");
  EXPECT_FALSE(info.IsCancelled());
}

TEST(ProgressInfoTest, SetTextShowsBothLinesAtOnce) {
  CProgressInfoDlg dialog;
  dialog.SetText("計算準備中", "しばらくお待ちください...");
  EXPECT_EQ(Window().line1, "計算準備中");
  EXPECT_EQ(Window().line2, "しばらくお待ちください...");
  EXPECT_EQ(dialog.GetInfo()->GetLine1(), "計算準備中");
  EXPECT_EQ(dialog.GetInfo()->GetLine2(), "しばらくお待ちください...");
}

TEST(ProgressInfoTest, TheDialogStartsHiddenOnAFullRangeAndHidesWhenItGoes) {
  {
    CProgressInfoDlg dialog;
    EXPECT_TRUE(dialog.IsCancel());  // before the window shows
    EXPECT_FALSE(Window().visible);
    EXPECT_EQ(Window().rangeLow, 0);
    EXPECT_EQ(Window().rangeHigh, 100);
    EXPECT_EQ(Window().position, 0);
    dialog.Show();
    EXPECT_FALSE(dialog.IsCancel());
  }
  EXPECT_FALSE(Window().visible);
}

TEST(ProgressInfoTest, SetValueAndIncValueMoveTheBar) {
  CProgressInfoDlg dialog;
  dialog.SetMax(10);
  EXPECT_EQ(Window().rangeHigh, 10);
  dialog.SetValue(3);
  dialog.IncValue();
  EXPECT_EQ(Window().position, 4);
}

TEST(ProgressInfoTest, CancellingTwiceKeepsTheFlagAndTheWindowHidden) {
  CProgressInfoDlg dialog;
  dialog.Show();
  dialog.OnCancel();
  dialog.OnCancel();
  EXPECT_TRUE(dialog.GetInfo()->IsCancelled());
  EXPECT_TRUE(dialog.IsCancel());
  EXPECT_FALSE(Window().visible);
}

TEST(ProgressInfoTest, EnableShowCancelDisablesTheCancelButton) {
  CProgressInfoDlg dialog;
  EXPECT_TRUE(Window().cancelEnabled);
  dialog.EnableShowCancel();
  EXPECT_FALSE(Window().cancelEnabled);
}

}  // namespace
