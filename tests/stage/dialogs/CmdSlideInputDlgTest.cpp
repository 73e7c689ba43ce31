// The slide-deformation conditions on the sample case, driven through their widgets: the derived
// and the entered Δc, the two pickers, the keyboard, and what OK and キャンセル leave in the case
// (modified flag and slide result).

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <string>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "platform/NumberText.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/CmdSlideInputDlg.h"
#include "stage/dialogs/RefSlideHDlg.h"
#include "stage/dialogs/RefSlideLDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

enum Id {
  kOk = 1,
  kCancel = 2,
  kStart = 6338,
  kEnd = 6339,
  kS2 = 6341,
  kS3 = 6340,
  kL = 6239,
  kDeltaC = 6240,
  kH = 6241,
  kPitch = 6242,
  kKh = 6243,
  kDerived = 6344,
  kEntered = 6345,
  kPickL = 6347,
  kPickH = 6348,
};

class SlideInputDlgTest : public SampleCaseTest {
 protected:
  CCmdSlideInputDlg& Open() {
    dlg_ = std::make_unique<CCmdSlideInputDlg>(Case());
    EXPECT_TRUE(ShowActive(*dlg_));
    return *dlg_;
  }
  template <typename T>
  T* Control(int id) {
    return Ctl<T>(*dlg_, id);
  }
  CExpEdit* Field(int id) { return Control<CExpEdit>(id); }
  void Press(int id) { QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton); }
  // A click on the button's indicator.
  void Choose(int id) {
    QRadioButton* button = Control<QRadioButton>(id);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
  }
  CPrmSlide& Prm() { return Case().GetPrmSlide(); }

  std::unique_ptr<CCmdSlideInputDlg> dlg_;
};

TEST_F(SlideInputDlgTest, OpeningShowsTheConditionsTheSeismicRangeAndTheDesignKh) {
  const CMltPoint* quake = Case().GetQuakeSelectPoint();
  ASSERT_NE(quake, nullptr);
  CCmdSlideInputDlg& dlg = Open();
  EXPECT_EQ(dlg.windowTitle(), "計算条件");
  EXPECT_EQ(Field(kStart)->GetText(), std::to_string(quake->startBlock + 1));
  EXPECT_EQ(Field(kEnd)->GetText(), std::to_string(quake->endBlock + 1));
  EXPECT_TRUE(Field(kStart)->isReadOnly());
  EXPECT_TRUE(Field(kKh)->isReadOnly());
  EXPECT_EQ(Field(kKh)->GetText(), FormatFixed(Case().GetPrmStab().kh, 3));
  EXPECT_TRUE(Control<QRadioButton>(kEntered)->isChecked());
  EXPECT_EQ(Field(kDeltaC)->GetText(), "10.000");
  EXPECT_EQ(Field(kH)->GetText(), "2.000");
  EXPECT_FALSE(Field(kS2)->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(kPickL)->isEnabled());
  SaveShot(dlg, "CCmdSlideInputDlg");
  Press(kCancel);
}

// Mode 0 derives Δc from S2, S3 and l each time one of them is left; the Δc field is read-only
// there, and empty while l is.
TEST_F(SlideInputDlgTest, DerivedDeltaCFollowsS2S3AndL) {
  Open();
  Choose(kDerived);
  EXPECT_TRUE(Field(kDeltaC)->isReadOnly());
  EXPECT_TRUE(Field(kS2)->isEnabled());
  TypeField(Field(kS2), "10");
  TypeField(Field(kS3), "5");
  EXPECT_EQ(Field(kDeltaC)->GetText(), "");
  TypeField(Field(kL), "3");
  EXPECT_EQ(Field(kDeltaC)->GetText(), "5.000");
  TypeField(Field(kL), "");
  EXPECT_EQ(Field(kDeltaC)->GetText(), "");
  SaveShot(*dlg_, "CCmdSlideInputDlg_derived");
  Press(kCancel);
}

// The Δc typed in mode 1 stays the entered Δc across a switch to mode 0 and back; the derived
// value shown in mode 0 is never taken for it.
TEST_F(SlideInputDlgTest, SwitchingModesKeepsTheEnteredDeltaC) {
  Prm().s2 = 20;
  Prm().s3 = 10;
  Prm().l = 2;
  Open();
  TypeField(Field(kDeltaC), "7.5");
  Choose(kDerived);
  EXPECT_EQ(Prm().deltaCEntered, 7.5);
  EXPECT_EQ(Field(kDeltaC)->GetText(), "15.000");
  Choose(kEntered);
  EXPECT_EQ(Prm().deltaCEntered, 7.5);
  EXPECT_EQ(Field(kDeltaC)->GetText(), "7.500");
  Press(kCancel);
}

// A length or pitch of 0 is refused by the field with its range, and the text put back.
TEST_F(SlideInputDlgTest, ZeroLengthAndZeroPitchAreRefused) {
  Open();
  Choose(kDerived);
  struct Row {
    Id id;
    const char* range;
  };
  for (const Row& row : {Row{kL, "0.001 ～ 999.999"}, Row{kPitch, "0.001 ～ 9.999"}}) {
    SCOPED_TRACE(row.id);
    const std::string before = Field(row.id)->GetText();
    TestUi().ExpectMessageBox(MsgResult::Ok, "数値が範囲外です。\n\n（" + std::string(row.range) +
                                                 " までの範囲で入力してください。）");
    TypeField(Field(row.id), "0");
    EXPECT_EQ(Field(row.id)->GetText(), before);
  }
  Press(kCancel);
}

// キャンセル after picking l and h and typing puts every condition back.
TEST_F(SlideInputDlgTest, CancelAfterPickersRestoresTheConditions) {
  const CPrmSlide before = Prm();
  Open();
  Choose(kDerived);
  TypeField(Field(kS2), "10");
  TypeField(Field(kS3), "5");
  ExpectModal<CRefSlideLDlg>([](CRefSlideLDlg& d) {
    ASSERT_NE(d.Result(), kNoValue);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  Press(kPickL);
  EXPECT_NE(Prm().l, before.l);
  EXPECT_NE(Prm().deltaCDerived, kNoValue);
  ExpectModal<CRefSlideHDlg>([](CRefSlideHDlg& d) {
    ASSERT_NE(d.Result(), kNoValue);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  Press(kPickH);
  EXPECT_EQ(Field(kH)->GetText(), FormatFixed(Case().GetReinfArrange().GetMeanPlusDeviation(), 3));
  Press(kCancel);
  EXPECT_TRUE(Prm().IsSame(before));
  EXPECT_EQ(Prm().deltaCDerived, before.deltaCDerived);
}

// A picker left with キャンセル changes nothing.
TEST_F(SlideInputDlgTest, CancelledPickerChangesNothing) {
  Open();
  Choose(kDerived);
  const std::string l = Field(kL)->GetText();
  ExpectModal<CRefSlideLDlg>(
      [](CRefSlideLDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton); });
  Press(kPickL);
  EXPECT_EQ(Field(kL)->GetText(), l);
  Press(kCancel);
}

// Enter moves to the next control, Esc closes nothing, Enter on OK ends the dialog with OK.
TEST_F(SlideInputDlgTest, EnterMovesOnEscDoesNothing) {
  CCmdSlideInputDlg& dlg = Open();
  Field(kDeltaC)->setFocus();
  QTest::keyClick(Field(kDeltaC), Qt::Key_Return);
  EXPECT_NE(QApplication::focusWidget(), Field(kDeltaC));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QPushButton* ok = Control<QPushButton>(kOk);
  ok->setFocus();
  QTest::keyClick(ok, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

// OK against the conditions at opening: unchanged leaves the case as it was; a change no
// calculation reads marks the case modified and keeps the slide result; a change of the
// effective Δc, h or the pitch marks it and clears the slide result (and no other).
TEST_F(SlideInputDlgTest, OkMarksAndClearsByWhatTheCalculationReads) {
  struct Row {
    const char* edit;
    std::function<void(CPrmSlide&)> before;  // the conditions at opening
    std::function<void()> apply;
    bool modified;
    bool cleared;
  };
  const auto derivable = [](CPrmSlide& p) {
    p.s2 = 20;  // (20 + 10) / 3 = 10, the entered Δc
    p.s3 = 10;
    p.l = 3;
    p.CalcDeltaC();
  };
  const Row rows[] = {
      {"nothing", [](CPrmSlide&) {}, [] {}, false, false},
      {"h retyped as shown", [](CPrmSlide&) {}, [this] { TypeField(Field(kH), "2.000"); }, false,
       false},
      {"mode 1 to 0, same effective Δc", derivable, [this] { Choose(kDerived); }, true, false},
      {"mode 0 to 1, same effective Δc",
       [](CPrmSlide& p) {
         p.deltaCMode = CPrmSlide::kDeltaCDerived;
         p.s2 = 20;
         p.s3 = 10;
         p.l = 3;
         p.CalcDeltaC();
       },
       [this] {
         Choose(kEntered);
         TypeField(Field(kDeltaC), "10");
       },
       true, false},
      {"mode 1 to 0, other effective Δc",
       [](CPrmSlide& p) {
         p.s2 = 5;
         p.s3 = 1;
         p.l = 3;
         p.CalcDeltaC();
       },
       [this] { Choose(kDerived); }, true, true},
      {"entered Δc", [](CPrmSlide&) {}, [this] { TypeField(Field(kDeltaC), "12"); }, true, true},
      {"h", [](CPrmSlide&) {}, [this] { TypeField(Field(kH), "2.5"); }, true, true},
      {"pitch", [](CPrmSlide&) {}, [this] { TypeField(Field(kPitch), "0.1"); }, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edit);
    FillSampleCase(Case(), 0);
    row.before(Prm());
    Case().SetModify(false);
    ASSERT_TRUE(Case().GetResSlide().IsResult());
    ASSERT_TRUE(Case().IsResShear());
    Open();
    row.apply();
    Press(kOk);
    EXPECT_EQ(Case().IsModified(), row.modified);
    EXPECT_EQ(Case().GetResSlide().IsResult(), !row.cleared);
    EXPECT_TRUE(Case().IsResShear());
    dlg_.reset();
  }
}

}  // namespace
