#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/model/RefData.h"
#include "platform/Text.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdSlidElementDlg.h"
#include "stage/dialogs/RefInfomationDlg.h"
#include "stage/dialogs/RefReinfFsaDlg.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "stage/dialogs/RefReinfTaucQXDlg.h"
#include "stage/dialogs/RefShearTaupDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTauP1 = 7214;
constexpr int kTauP2 = 7216;
constexpr int kFsa = 7217;
constexpr int kTauc = 7218;
constexpr int kBarGrid = 6358;

void Press(QWidget& d, int id) { QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton); }

// The step-3 and step-4 results of the sample case, as far as they exist.
struct Results {
  bool slide;
  bool shear;
  bool ropeNet;
  bool operator==(const Results&) const = default;
};

class SlidElementTest : public SampleCaseTest {
 protected:
  SlidElementTest() {
    opened_.Copy(Case().GetPrmReinf());
    EXPECT_EQ(Now(), (Results{true, true, true}));
  }

  // Runs the dialog on the sample case with the script.
  bool Edit(std::function<void(CCmdSlidElementDlg&)> script) {
    ExpectModal<CCmdSlidElementDlg>([&script](CCmdSlidElementDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      script(d);
    });
    return CCmdSlidElementDlg::Run(core_, Case(), nullptr);
  }
  Results Now() {
    return {Case().GetResSlide().IsResult(), Case().GetResShear().IsResult(),
            Case().GetResFocus().IsResult()};
  }
  static CSheetGrid& BarGrid(CCmdSlidElementDlg& d) { return *Ctl<CSheetGrid>(d, kBarGrid); }

  CPrmReinf opened_;
};

TEST_F(SlidElementTest, ShowsTheSpecificationsAndChangesNothingWithoutEdits) {
  EXPECT_TRUE(Edit([](CCmdSlidElementDlg& d) {
    EXPECT_EQ(d.windowTitle(), "対策工諸元");
    EXPECT_EQ(Ctl<CExpEdit>(d, kTauP1)->text(), "0.100");
    EXPECT_EQ(Ctl<CExpEdit>(d, kTauP2)->text(), "0.400");
    EXPECT_EQ(Ctl<CExpEdit>(d, kFsa)->GetDouble(), 1.5);  // the seismic factor
    EXPECT_EQ(Ctl<CExpEdit>(d, kTauc)->text(), "2.4");    // the seismic bond stress
    CSheetGrid& bar = BarGrid(d);
    EXPECT_EQ(bar.Text(1, 1), "ネジ節棒鋼");
    EXPECT_EQ(bar.Text(2, 1), "D22");
    EXPECT_EQ(bar.Text(3, 1), "3.0400");
    EXPECT_EQ(bar.Text(5, 1), "3.8710");
    EXPECT_EQ(bar.Text(7, 1), "300.0000");
    EXPECT_EQ(bar.Text(7, CSheetGrid::kHeaderRow), "引張応力度\nσsa\n(N/mm2)");
    const CExpStatic* note = Ctl<CExpStatic>(d, 7362);
    EXPECT_EQ(note->text(), "※腐食代を考慮した値を入力してください");
    EXPECT_EQ(note->m_clrText, Color::Rgb(255, 0, 0));
    SaveShot(d, "CCmdSlidElementDlg");
    Press(d, 1);
  }));
  EXPECT_TRUE(Case().GetPrmReinf().IsSame(opened_));
  EXPECT_FALSE(Case().IsModified());
}

// OK marks the case for any stored change and clears the results that read what changed: the
// shear deformation and the rope-net check read the specifications, the slide deformation does
// not.
TEST_F(SlidElementTest, OkMarksTheCaseAndClearsTheResultsThatReadTheChange) {
  const struct {
    const char* what;
    std::function<void(CCmdSlidElementDlg&)> edit;
    bool modified;
    Results left;
  } cases[] = {
      {"unchanged", [](CCmdSlidElementDlg&) {}, false, {true, true, true}},
      {"bar name, read by no calculation",
       [](CCmdSlidElementDlg& d) { TypeIntoCell(BarGrid(d), 1, 1, "ibou"); },
       true,
       {true, true, true}},
      {"normal-case factor, read by no calculation",
       [](CCmdSlidElementDlg& d) {
         ExpectModal<CRefReinfFsaDlg>([](CRefReinfFsaDlg& p) { Press(p, 1); });
         Press(d, 7206);  // 2.0 for the normal case, the seismic 1.5 as before
       },
       true,
       {true, true, true}},
      {"skin friction, read by the shear calculation",
       [](CCmdSlidElementDlg& d) { TypeField(Ctl<CExpEdit>(d, kTauP1), "0.2"); },
       true,
       {true, false, false}},
      {"seismic bar stress, read by the calculations",
       [](CCmdSlidElementDlg& d) { TypeIntoCell(BarGrid(d), 7, 1, "250"); },
       true,
       {true, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    Case().SetInUse(2);
    EXPECT_TRUE(Edit([&c](CCmdSlidElementDlg& d) {
      c.edit(d);
      Press(d, 1);
    }));
    EXPECT_EQ(Case().IsModified(), c.modified);
    EXPECT_EQ(Case().GetInUse(), c.modified ? 1 : 2);
    EXPECT_EQ(Now(), c.left);
  }
  EXPECT_EQ(Case().GetPrmReinf().stdBar.sigmaSaQ, 250.0);
}

TEST_F(SlidElementTest, AnEmptiedBarCellStoresTheUnsetValue) {
  EXPECT_TRUE(Edit([](CCmdSlidElementDlg& d) {
    TypeIntoCell(BarGrid(d), 7, 1, "");
    TypeField(Ctl<CExpEdit>(d, kTauP2), "");
    Press(d, 1);
  }));
  EXPECT_EQ(Case().GetPrmReinf().stdBar.sigmaSaQ, kNoValue);
  EXPECT_EQ(Case().GetPrmReinf().tauP2, kNoValue);
  EXPECT_EQ(Case().GetPrmReinf().stdBar.sigmaSaN, 200.0);  // not shown, kept
}

// Every picker writes its values; the bar comes from the program's table without its remark.
// キャンセル afterwards puts every value back.
TEST_F(SlidElementTest, PickersFillTheSpecificationsAndCancelPutsThemBack) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "キャンセル");
    Case().GetPrmReinf().Copy(opened_);
    Case().SetModify(false);
    core_.GetRefData().reinf.rows.front().remark = "表の備考";
    EXPECT_EQ(Edit([ok](CCmdSlidElementDlg& d) {
                ExpectModal<CRefShearTaupDlg>([](CRefShearTaupDlg& p) {
                  ClickCell(*Ctl<CSheetGrid>(p, 7366), 2, 3);  // 風化岩
                  Press(p, 1);
                });
                Press(d, 6398);
                EXPECT_EQ(Ctl<CExpEdit>(d, kTauP1)->text(), "0.480");
                ExpectModal<CRefShearTaupDlg>([](CRefShearTaupDlg& p) {
                  ClickCell(*Ctl<CSheetGrid>(p, 7366), 4, 6);  // 砂礫 N値 20
                  Press(p, 1);
                });
                Press(d, 6399);
                EXPECT_EQ(Ctl<CExpEdit>(d, kTauP2)->text(), "0.140");
                ExpectModal<CRefReinfFsaDlg>([](CRefReinfFsaDlg& p) { Press(p, 1); });
                Press(d, 7206);
                ExpectModal<CRefReinfTaucQXDlg>([](CRefReinfTaucQXDlg& p) {
                  ClickCell(*Ctl<CSheetGrid>(p, 7341), 1, 3);  // 30以上
                  Press(p, 1);
                });
                Press(d, 7220);
                EXPECT_EQ(Ctl<CExpEdit>(d, kTauc)->text(), "1.8");
                ExpectModal<CRefReinfStdBarDlg>([](CRefReinfStdBarDlg& p) { Press(p, 1); });
                Press(d, 7203);
                EXPECT_EQ(BarGrid(d).Text(4, 1), "21.2000");
                Press(d, ok ? 1 : 2);
              }),
              ok);
    const CPrmReinf& prm = Case().GetPrmReinf();
    if (!ok) {
      EXPECT_TRUE(prm.IsSame(opened_));
      EXPECT_FALSE(Case().IsModified());
      continue;
    }
    EXPECT_EQ(prm.tauP1, 0.48);
    EXPECT_EQ(prm.tauP2, 0.14);
    EXPECT_EQ(prm.fsa, 2.0);
    EXPECT_EQ(prm.fsaQ, 1.5);
    EXPECT_EQ(prm.tauC, 1.8);
    EXPECT_EQ(prm.tauCQ, 1.8);
    EXPECT_EQ(prm.stdBar.d, 21.2);
    EXPECT_EQ(prm.stdBar.sigmaSaN, 200.0);
    EXPECT_EQ(prm.stdBar.remark, "SD345");  // the case's own remark stays
    EXPECT_TRUE(Case().IsModified());
  }
}

// A bolt list from a CSV file replaces the arrangement and the bolts' forces of the slide
// conditions: the notice follows; OK clears the slide result and the rope-net check that read
// them, キャンセル puts the arrangement and the conditions back.
TEST_F(SlidElementTest, ImportedBoltListIsShownAndUndoneByCancel) {
  const fs::path file = fs::path(std::getenv("BRIXO_HOME")) / "bolts.csv";
  WriteFileBytes(file, Utf8ToCp932("QX工法結果\r\n補強材一覧\r\nNo,X,Y,SH,α,L,余長,S2,S3\r\n"
                                   "1,12,21,2.0,30,5,0.5,10,1\r\n2,16,23,2.0,30,5,0.5,6,2\r\n"));
  CPrmSlide slide;
  slide.Copy(Case().GetPrmSlide());
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "キャンセル");
    EXPECT_EQ(Edit([&](CCmdSlidElementDlg& d) {
                TestUi().ExpectFileDialog(file);
                ExpectModal<CRefInfomationDlg>([](CRefInfomationDlg& n) {
                  EXPECT_EQ(n.windowTitle(), "補強土データ取込");
                  EXPECT_EQ(Ctl<CSheetGrid>(n, 6397)->Text(2, 1), "D22");
                  SaveShot(n, "CRefInfomationDlg");
                  Press(n, 2);
                });
                Press(d, 7219);
                EXPECT_EQ(Case().GetReinfArrange().GetSize(), 2);
                Press(d, ok ? 1 : 2);
              }),
              ok);
    if (!ok) {
      EXPECT_EQ(Case().GetReinfArrange().GetSize(), 3);
      EXPECT_TRUE(Case().GetPrmSlide().IsSame(slide));
      EXPECT_FALSE(Case().IsModified());
      EXPECT_EQ(Now(), (Results{true, true, true}));
    }
  }
  EXPECT_EQ(Case().GetReinfArrange().GetSize(), 2);
  EXPECT_EQ(Case().GetPrmSlide().s2, 16.0);
  EXPECT_TRUE(Case().IsModified());
  EXPECT_EQ(Now(), (Results{false, true, false}));
}

TEST_F(SlidElementTest, ACancelledImportShowsNoNotice) {
  EXPECT_FALSE(Edit([](CCmdSlidElementDlg& d) {
    TestUi().ExpectFileDialog(std::nullopt);
    Press(d, 7219);
    Press(d, 2);
  }));
  EXPECT_EQ(Case().GetReinfArrange().GetSize(), 3);
}

TEST_F(SlidElementTest, EnterMovesThroughTheFieldsEscapeStaysAndEnterOnOkCloses) {
  CCmdSlidElementDlg d(core_, Case());
  ASSERT_TRUE(ShowActive(d));
  Ctl<CExpEdit>(d, kTauP1)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Ctl<CExpEdit>(d, kTauP2));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(d.isVisible());
  Ctl<QPushButton>(d, 1)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace
