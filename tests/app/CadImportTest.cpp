// CAD import through the program's real main window: File → CADデータ形式 → 読み込み, the import
// dialog scripted, the case filled, saved and opened again.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/panes/PaneCase.h"
#include "app/view/BrixoView.h"
#include "bridge/CadImportDlg.h"
#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/geometry/DPoly.h"
#include "stage/StageManage.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

namespace fs = std::filesystem;

fs::path TestFolder() { return fs::path(std::getenv("BRIXO_HOME")); }
const fs::path kCadData = fs::path(BRIXO_TEST_DATA) / "cad";

// The ground of the fixture as make_fixtures.py wrote it.
const std::vector<std::pair<double, double>> kGround{
    {0.0, 20.0}, {10.0005, 20.0}, {25.25, 14.5}, {40.0, 8.0}, {60.0, 8.0}};

// Scripts the dialog: opens the file, chooses the layers of the terrain and strata rows, OK.
void ExpectImport(const fs::path& file, const char* terrain, const char* strata,
                  bool fitMinimum = false) {
  ExpectModal<CCadImportDlg>([=](CCadImportDlg& dlg) {
    ASSERT_TRUE(ShowActive(dlg));
    TestUi().ExpectFileDialog(file);
    QTest::mouseClick(dlg.OpenButton(), Qt::LeftButton);
    dlg.LayerCombo(0)->setCurrentText(QString::fromUtf8(terrain));
    dlg.LayerCombo(1)->setCurrentText(QString::fromUtf8(strata));
    if (fitMinimum) QTest::mouseClick(dlg.FitMinimumCheck(), Qt::LeftButton);
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
  });
}

void ExpectGround(const CDPoly& ground, const std::vector<std::pair<double, double>>& points) {
  ASSERT_EQ(ground.GetSize(), static_cast<int>(points.size()));
  for (int i = 0; i < ground.GetSize(); ++i) {
    const auto [x, y] = points[static_cast<std::size_t>(i)];
    EXPECT_EQ(ground.GetAt(i)->x, RoundClickCoordinate(x)) << i;
    EXPECT_EQ(ground.GetAt(i)->y, RoundClickCoordinate(y)) << i;
  }
}

TEST(CadImport, TheFileMenuImportsAnEzdxfDrawingThatSavesAndReopensEqual) {
  TestProgram p;
  p.Frame().Documents().OnFileNew();
  CCase& active = *p.Core().GetActiveCase();
  ASSERT_EQ(active.GetInUse(), 0);
  const QImage empty = p.Frame().View().grab().toImage();

  ExpectModal<CCadImportDlg>([](CCadImportDlg& dlg) {
    ASSERT_TRUE(ShowActive(dlg));
    TestUi().ExpectFileDialog(kCadData / "section-r2000-cp932.dxf");
    QTest::mouseClick(dlg.OpenButton(), Qt::LeftButton);
    EXPECT_EQ(TestUi().FileDialogs().back().request.defaultExtension, "dxf");
    QStringList items;
    for (int i = 0; i < dlg.LayerCombo(0)->count(); ++i) items << dlg.LayerCombo(0)->itemText(i);
    EXPECT_EQ(items, (QStringList{"(未設定)", "地形", "地層1", "地層2", "水位"}));
    dlg.LayerCombo(0)->setCurrentText(QStringLiteral("地形"));
    dlg.LayerCombo(1)->setCurrentText(QStringLiteral("地層1"));
    SaveShot(dlg, "CCadImportDlg-program");
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
  });
  // A case not in use is not asked about.
  p.Command(CMainFrame::kImportCad)->trigger();
  TestUi().VerifyAllAnswered();

  // 10.0005 rounds half up to 10.001.
  ExpectGround(active.GetGround(), kGround);
  EXPECT_DOUBLE_EQ(active.GetGround().GetAt(1)->x, 10.001);
  ASSERT_EQ(active.GetStratum().GetSize(), 1);
  EXPECT_EQ(active.GetStratum().GetAt(0)->GetName(), "No.1");
  EXPECT_EQ(active.GetStratum().GetAt(0)->GetSize(), 3);
  EXPECT_EQ(active.GetInUse(), 1);
  EXPECT_TRUE(active.IsModified());
  EXPECT_TRUE(p.Core().IsModify());
  EXPECT_NE(p.Frame().View().grab().toImage(), empty);
  QCoreApplication::sendPostedEvents();
  SaveShot(p.Frame(), "MainFrame-cad-import");

  const fs::path path = TestFolder() / "cad-import.qxmd";
  TestUi().ExpectFileDialog(path);
  p.Command(CMainFrame::kFileSaveAs)->trigger();
  CCase saved;
  saved.Copy(&active);
  p.Command(CMainFrame::kFileNew)->trigger();
  TestUi().ExpectFileDialog(path);
  p.Command(CMainFrame::kFileOpen)->trigger();
  EXPECT_TRUE(p.Core().GetActiveCase()->IsSame(&saved));
}

TEST(CadImport, TheUtf8DrawingImportsTheSame) {
  TestProgram p;
  CCase& active = *p.Core().GetActiveCase();
  ExpectImport(kCadData / "section-r2018.dxf", "地形", "地層2");
  p.Command(CMainFrame::kImportCad)->trigger();
  ExpectGround(active.GetGround(), kGround);
  ASSERT_EQ(active.GetStratum().GetSize(), 1);
  EXPECT_EQ(active.GetStratum().GetAt(0)->GetSize(), 2);
}

// A ground far longer than the old 10,000-point buffers arrives whole.
TEST(CadImport, AGroundOf12000PointsImportsWhole) {
  const fs::path file = TestFolder() / "long-ground.dxf";
  {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nG\n90\n12000\n";
    for (int i = 0; i < 12000; ++i) out << "10\n" << i * 0.5 << "\n20\n" << (i % 7) << "\n";
    out << "0\nENDSEC\n0\nEOF\n";
  }
  TestProgram p;
  ExpectImport(file, "G", "(未設定)");
  p.Command(CMainFrame::kImportCad)->trigger();
  const CDPoly& ground = p.Core().GetActiveCase()->GetGround();
  ASSERT_EQ(ground.GetSize(), 12000);
  EXPECT_EQ(ground.GetAt(11999)->x, 5999.5);
  EXPECT_EQ(ground.GetAt(11999)->y, 11999 % 7);
}

// The active case holds the sample, in use and saved, as in an engineer's open document.
CCase& SavedSampleCaseInUse(TestProgram& p) {
  CCase& active = *p.Core().GetActiveCase();
  FillSampleCase(active, 0);
  active.SetInUse(1);
  p.Core().ResetModify();
  return active;
}

// Surveyed coordinates beyond the section's limits are refused unless shifted to the offsets.
TEST(CadImport, AFarDrawingIsRefusedAndImportsWhenShifted) {
  const fs::path file = TestFolder() / "far-ground.dxf";
  std::ofstream(file) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nG\n10\n45000\n20\n120\n11\n45030\n"
                         "21\n110\n0\nENDSEC\n0\nEOF\n";
  TestProgram p;
  CCase& active = SavedSampleCaseInUse(p);
  CCase before;
  before.Copy(&active);

  ExpectImport(file, "G", "(未設定)");
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "CADデータの座標が ±9999.999 の範囲を超えています。\n"
                            "「地形座標の最小値を指定」で座標をずらして読み込んでください。");
  p.Command(CMainFrame::kImportCad)->trigger();
  TestUi().VerifyAllAnswered();
  EXPECT_TRUE(active.IsSame(&before));
  EXPECT_FALSE(p.Core().IsModify());

  ExpectImport(file, "G", "(未設定)", true);
  TestUi().ExpectMessageBox(MsgResult::Ok);  // the case in use is asked about once
  p.Command(CMainFrame::kImportCad)->trigger();
  TestUi().VerifyAllAnswered();
  ExpectGround(active.GetGround(), {{0, 10}, {30, 0}});
}

// An import that does not happen leaves the case as it was and unmodified.
TEST(CadImport, ACancelledImportChangesNothing) {
  struct Row {
    const char* what;
    bool dialogOk;
    std::optional<MsgResult> question;
  };
  const Row rows[] = {
      {"the dialog cancelled", false, std::nullopt},
      {"the question cancelled", true, MsgResult::Cancel},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TestProgram p;
    CCase& active = SavedSampleCaseInUse(p);
    CCase before;
    before.Copy(&active);
    if (row.dialogOk) {
      ExpectImport(kCadData / "section-r2018.dxf", "地形", "地層1");
    } else {
      ExpectModal<CCadImportDlg>(
          [](CCadImportDlg& dlg) { QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton); });
    }
    if (row.question) {
      TestUi().ExpectMessageBox(*row.question,
                                "編集中のケース「" + active.GetPrmJobsite().names[1] +
                                    "」の計算結果が消去されます。\nよろしいですか？");
    }
    p.Command(CMainFrame::kImportCad)->trigger();
    TestUi().VerifyAllAnswered();
    EXPECT_TRUE(active.IsSame(&before));
    EXPECT_FALSE(p.Core().IsModify());
  }
}

// Only the first terrain shape and at most 400 stratum lines are taken.
TEST(CadImport, TakesOneGroundAndAtMost400StratumLines) {
  const fs::path file = TestFolder() / "many-lines.dxf";
  {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 401; ++i) {
      out << "0\nLINE\n8\nS\n10\n0\n20\n" << -i * 0.01 << "\n11\n50\n21\n" << -i * 0.01 << "\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
  }
  TestProgram p;
  ExpectImport(file, "S", "S");
  p.Command(CMainFrame::kImportCad)->trigger();
  const CCase& active = *p.Core().GetActiveCase();
  EXPECT_EQ(active.GetGround().GetSize(), 2);
  ASSERT_EQ(active.GetStratum().GetSize(), 400);
  EXPECT_EQ(active.GetStratum().GetAt(399)->GetName(), "No.400");
}

// Half up at the third decimal, negative halves toward zero, 0 unchanged.
TEST(CadImport, RoundsHalfUpAtTheThirdDecimal) {
  EXPECT_DOUBLE_EQ(RoundClickCoordinate(1.2345), 1.235);
  EXPECT_DOUBLE_EQ(RoundClickCoordinate(-1.2345), -1.234);
  EXPECT_EQ(RoundClickCoordinate(0.0), 0.0);
}

// Like the XML import, 読み込み waits while a modeless dialog holds the case.
TEST(CadImport, WaitsWhileAModelessDialogHoldsTheCase) {
  TestProgram p;
  FillSampleCase(*p.Core().GetActiveCase(), 0);
  QPointer<QDialog> dialog = new QDialog(&p.Frame());
  p.Stage().Attach(ModelessDialog::Shape, dialog, {});
  p.Command(CMainFrame::kImportCad)->trigger();  // no script: a dialog would fail the test
  EXPECT_FALSE(p.Command(CMainFrame::kImportCad)->isEnabled());
  p.Send(FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 0);
  EXPECT_TRUE(p.Command(CMainFrame::kImportCad)->isEnabled());
}

}  // namespace
