#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdCmnJobsiteDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

class JobsiteDlgTest : public SampleCaseTest {
 protected:
  // Types into the field and leaves it with Tab, which runs the field's check.
  static void TypeField(CExpEdit* field, const char* text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }
  // Clicks a check box or radio button on its indicator: the widget may be wider than its text.
  static void Tick(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
  }
  static void Press(QWidget& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
};

constexpr int kRangeControls[] = {4204, 4205, 4244, 4207, 4208, 4245, 4236, 4237,
                                  4238, 4239, 4240, 4241, 4242, 4243, 4246, 4247};

TEST_F(JobsiteDlgTest, TwoXValuesGiveTheRange) {
  ExpectModal<CCmdCmnJobsiteDlg>([](CCmdCmnJobsiteDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    EXPECT_EQ(d.windowTitle(), "現場の設定");
    Tick(Ctl<QCheckBox>(d, 4248));  // range by hand
    TypeField(Ctl<CExpEdit>(d, 4204), "50");
    TypeField(Ctl<CExpEdit>(d, 4205), "10");
    EXPECT_EQ(Ctl<CExpEdit>(d, 4244)->text(), "40.0");
    SaveShot(d, "CCmdCmnJobsiteDlg");
    Press(d, 1);
  });
  ASSERT_TRUE(CCmdCmnJobsiteDlg::Run(Case(), nullptr));
  EXPECT_EQ(Case().GetPrmGrid().x1, 10.0);
  EXPECT_EQ(Case().GetPrmGrid().x2, 50.0);
  EXPECT_EQ(Case().GetPrmGrid().autoArea, 0);
  EXPECT_TRUE(Case().IsModified());
  EXPECT_TRUE(core_.IsModify());
}

// Only the slope direction enters a calculation, so only its change clears the results.
TEST_F(JobsiteDlgTest, OkClearsResultsOnlyForADirectionChange) {
  const struct {
    const char* what;
    std::function<void(CCmdCmnJobsiteDlg&)> edit;
    bool modified;
    bool resultsKept;
  } cases[] = {
      {"nothing", [](CCmdCmnJobsiteDlg&) {}, false, true},
      {"the site name",
       [](CCmdCmnJobsiteDlg& d) { TypeIntoCell(*Ctl<CSheetGrid>(d, 4201), 1, 1, "別の現場"); },
       true, true},
      {"a comment",
       [](CCmdCmnJobsiteDlg& d) { TypeIntoCell(*Ctl<CSheetGrid>(d, 4202), 1, 10, "memo"); }, true,
       true},
      {"the direction", [](CCmdCmnJobsiteDlg& d) { Tick(Ctl<QRadioButton>(d, 4213)); }, true,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Case().Init();
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    ASSERT_TRUE(Case().IsResStab());
    CCmdCmnJobsiteDlg d(Case());
    ASSERT_TRUE(ShowActive(d));
    c.edit(d);
    Press(d, 1);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Case().IsModified(), c.modified);
    EXPECT_EQ(Case().IsResStab(), c.resultsKept);
  }
  EXPECT_EQ(Case().GetPrmJobsite().direction, 2);
}

TEST_F(JobsiteDlgTest, TheAutomaticRangeSwitchesEveryRangeControlAtOnce) {
  Case().GetPrmGrid().autoArea = 0;
  CCmdCmnJobsiteDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  for (int id : kRangeControls)
    EXPECT_TRUE(d.findChild<QWidget*>(QString::number(id))->isEnabled());
  Tick(Ctl<QCheckBox>(d, 4248));
  for (int id : kRangeControls) {
    EXPECT_FALSE(d.findChild<QWidget*>(QString::number(id))->isEnabled()) << id;
  }
  Press(d, 2);
  EXPECT_EQ(Case().GetPrmGrid().autoArea, 0);
  EXPECT_FALSE(Case().IsModified());
}

TEST_F(JobsiteDlgTest, TheDirectionPictureFollowsTheRadioAndSurvivesARepaint) {
  CCmdCmnJobsiteDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  auto* picture = Ctl<QLabel>(d, 4230);
  const auto shows = [picture](int direction) {
    return picture->pixmap().toImage() == SlopePicture(direction).toImage();
  };
  EXPECT_TRUE(shows(Case().GetPrmJobsite().direction));
  Tick(Ctl<QRadioButton>(d, 4213));
  EXPECT_TRUE(shows(2));
  d.hide();
  ASSERT_TRUE(ShowActive(d));
  EXPECT_TRUE(shows(2));
  EXPECT_FALSE(shows(1));
  Press(d, 2);
}

// The grid dialog edits the site dialog's copy: its OK reaches the case only with the site
// dialog's OK, its Cancel changes nothing, and its check takes effect at OK only.
TEST_F(JobsiteDlgTest, TheGridDialogEditsTheSiteDialogsCopy) {
  const CPrmGrid before = Case().GetPrmGrid();
  CCmdCmnJobsiteDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  ExpectModal<CCmdCmnGridDlg>([](CCmdCmnGridDlg& g) {
    ASSERT_TRUE(ShowActive(g));
    TypeField(Ctl<CExpEdit>(g, 4252), "5");
    Press(g, 2);
  });
  Press(d, 4210);
  ExpectModal<CCmdCmnGridDlg>([](CCmdCmnGridDlg& g) {
    ASSERT_TRUE(ShowActive(g));
    EXPECT_EQ(Ctl<CExpEdit>(g, 4252)->text(), "10.0");
    const bool rangeOn = Ctl<CExpEdit>(g, 4204)->isEnabled();
    Tick(Ctl<QCheckBox>(g, 4248));
    EXPECT_EQ(Ctl<CExpEdit>(g, 4204)->isEnabled(), rangeOn);
    TypeField(Ctl<CExpEdit>(g, 4254), "2.5");
    Tick(Ctl<QRadioButton>(g, 4250));
    SaveShot(g, "CCmdCmnGridDlg");
    Press(g, 1);
  });
  Press(d, 4210);
  EXPECT_TRUE(Case().GetPrmGrid().IsSame(before));
  Press(d, 1);
  EXPECT_EQ(Case().GetPrmGrid().xLabelPitch, 2.5);
  EXPECT_EQ(Case().GetPrmGrid().gridShown, 1);
  EXPECT_EQ(Case().GetPrmGrid().xLinePitch, 10.0);
}

TEST_F(JobsiteDlgTest, DeleteEmptiesTheSelectedCommentsUnlessACellIsEdited) {
  CCmdCmnJobsiteDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  CSheetGrid& comments = *Ctl<CSheetGrid>(d, 4202);
  TypeIntoCell(comments, 1, 2, "second");
  comments.SetSelection(1, 1, 1, 2);
  QTest::keyClick(&comments, Qt::Key_Delete);
  EXPECT_EQ(comments.Text(1, 1), "");
  EXPECT_EQ(comments.Text(1, 2), "");

  comments.SetActiveCell(1, 3);
  QTest::keyClicks(&comments, "a");  // opens the cell's editor
  ASSERT_TRUE(comments.EditMode());
  QTest::keyClicks(QApplication::focusWidget(), "bc");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(comments.Text(1, 3), "ab");
  Press(d, 1);
  EXPECT_EQ(Case().GetPrmJobsite().comments[0], "");
  EXPECT_EQ(Case().GetPrmJobsite().comments[2], "ab");
}

TEST_F(JobsiteDlgTest, EnterMovesThroughTheFieldsAndPressesOk) {
  Case().GetPrmGrid().autoArea = 0;
  CCmdCmnJobsiteDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  Ctl<CExpEdit>(d, 4204)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Ctl<CExpEdit>(d, 4205));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Ctl<CExpEdit>(d, 4207));
  Ctl<QPushButton>(d, 1)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace
