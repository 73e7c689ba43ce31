#include <gtest/gtest.h>

#include "core/model/ProgressInfo.h"
#include "platform/HeadlessUi.h"
#include "tests/support/ScriptedUi.h"

namespace {

// The window of the dialog the test made last.
const ProgressState& Window() { return TestUi().Progress(TestUi().ProgressWindowCount() - 1); }

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
