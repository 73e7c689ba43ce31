#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/base/AppIdentity.h"
#include "stage/StageManage.h"
#include "stage/output/PrnWordDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

class PrnWordDlgTest : public SampleCaseTest {
 protected:
  PrnWordDlgTest() { core_.SetModify(false); }
  CPrnInfo& Prn() { return core_.GetPrnInfo(); }
};

template <typename T>
T* Item(QWidget& dialog, int id) {
  return Ctl<T>(dialog, id);
}

TEST_F(PrnWordDlgTest, ShowsTheSettingsAndEnablesByTheCasesSwitches) {
  Prn().SetPrnMultiNQ(0, 0);
  Case().GetPrmStab().normalOn = 0;
  CPrnWordMultiDlg dialog(core_, 1);
  dialog.show();
  SaveShot(dialog, "CPrnWordMultiDlg");
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Word出力選択"));
  EXPECT_FALSE(Item<QCheckBox>(dialog, 3088)->isEnabled());
  EXPECT_FALSE(Item<QLabel>(dialog, 3125)->isEnabled());
  EXPECT_TRUE(Item<QCheckBox>(dialog, 3089)->isEnabled());
  EXPECT_TRUE(Item<QCheckBox>(dialog, 3089)->isChecked());
  EXPECT_TRUE(Item<QRadioButton>(dialog, 3129)->isChecked());
  EXPECT_TRUE(Item<QCheckBox>(dialog, 3091)->isEnabled());
  EXPECT_EQ(Item<QPushButton>(dialog, 3090)->isEnabled(),
            CManageStage::IsAvailable(StageCommand::PrintExcel));
  // Only the seismic case checked is a valid choice.
  QTest::mouseClick(Item<QPushButton>(dialog, 3070), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Prn().GetPrnStage(), 1);
  EXPECT_EQ(Prn().GetPrnFromDlg(), 1);
}

// A radio click saves at once and marks the document modified; Cancel keeps the choice.
TEST_F(PrnWordDlgTest, RadioClickSavesMarksModifiedAndSurvivesCancel) {
  CPrnWordMultiDlg dialog(core_, 1);
  dialog.show();
  QTest::mouseClick(Item<QRadioButton>(dialog, 3128), Qt::LeftButton);
  EXPECT_FALSE(Item<QCheckBox>(dialog, 3091)->isEnabled());
  EXPECT_EQ(Prn().GetPrnMode(1), 1);
  EXPECT_TRUE(core_.IsModify());
  QTest::mouseClick(Item<QPushButton>(dialog, 2), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(Prn().GetPrnMode(1), 1);
}

TEST_F(PrnWordDlgTest, SameChoiceLeavesTheDocumentUnmodified) {
  CPrnWordMultiDlg dialog(core_, 1);
  dialog.show();
  QTest::mouseClick(Item<QRadioButton>(dialog, 3129), Qt::LeftButton);
  Prn().SetPrnStage(1);
  Prn().SetPrnFromDlg(1);
  core_.SetModify(false);
  QTest::mouseClick(Item<QRadioButton>(dialog, 3129), Qt::LeftButton);
  EXPECT_FALSE(core_.IsModify());
}

TEST_F(PrnWordDlgTest, DocxWithoutAChosenCaseStaysOpen) {
  CPrnWordMultiDlg dialog(core_, 1);
  dialog.show();
  Item<QCheckBox>(dialog, 3088)->setChecked(false);
  Item<QCheckBox>(dialog, 3089)->setChecked(false);
  TestUi().ExpectMessageBox(MsgResult::Ok, "出力する項目が一つも選択されていません。");
  QTest::mouseClick(Item<QPushButton>(dialog, 3070), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Prn().GetPrnMultiNQ(0), 1) << "nothing saved";
  dialog.reject();
}

TEST_F(PrnWordDlgTest, XlsxAsksTheFrameAndStaysOpen) {
  CPrnWordMultiDlg dialog(core_, 1);
  dialog.show();
  Item<QCheckBox>(dialog, 3088)->setChecked(false);
  Item<QCheckBox>(dialog, 3089)->setChecked(false);
  dialog.OnXlsx();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_FALSE(TestUi().FrameMessages().empty());
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_PRINT_EXCEL, 0, 0}));
  dialog.reject();
}

TEST_F(PrnWordDlgTest, SummaryDialogSavesTheReportType) {
  CPrnWordSummaryDlg dialog(core_, 2);
  dialog.show();
  SaveShot(dialog, "CPrnWordSummaryDlg");
  EXPECT_TRUE(Item<QRadioButton>(dialog, 3121)->isChecked());
  QTest::mouseClick(Item<QRadioButton>(dialog, 3123), Qt::LeftButton);
  EXPECT_EQ(Prn().GetPrnMode(2), 0) << "saved only on output";
  QTest::mouseClick(Item<QPushButton>(dialog, 1), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Prn().GetPrnMode(2), 1);
  EXPECT_EQ(Prn().GetPrnStage(), 2);
  EXPECT_TRUE(core_.IsModify());
}

}  // namespace
