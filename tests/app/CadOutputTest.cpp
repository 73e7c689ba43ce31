// CAD output through the program's real main window: File → CADデータ形式 → 保存 and the data
// linkage of the stability dialog, with the saved drawing read back by ezdxf.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "app/frame/MainFrame.h"
#include "bridge/Z_Tv5Gen6.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/stability/ResStab2.h"
#include "platform/cad/DxfReader.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/output/CadOutputDlg.h"
#include "stage/output/ExportSelectDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/cad/DxfDump.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSlideN = 7;

fs::path TestFolder() { return fs::path(std::getenv("BRIXO_HOME")); }

std::size_t ArcsOn(const CCadOutputDlg& dlg, int layer) {
  std::size_t count = 0;
  for (const CadEntity& e : dlg.Control().Drawing().Entities()) {
    if (const auto* arc = std::get_if<CadArc>(&e); arc != nullptr && arc->layer == layer) ++count;
  }
  return count;
}

// LibreCAD's dxf2pdf draws the file with its own reader; the page goes to the screenshots as a
// picture. Its PDF states a page 1000 times too large, so the picture is made by size.
void DrawWithLibreCad(const fs::path& file, const std::string& name) {
  const char* shots = std::getenv("BRIXO_SCREENSHOTS");
  const fs::path folder = shots != nullptr && *shots != '\0' ? fs::path(shots) : TestFolder();
  fs::create_directories(folder);
  // dxf2pdf writes the PDF beside the drawing, under the drawing's name.
  fs::path pdfPath = file;
  pdfPath.replace_extension(".pdf");
  const QString pdf = QString::fromStdString(pdfPath.string());
  QProcess librecad;
  librecad.start(QStringLiteral(BRIXO_LIBRECAD), {QStringLiteral("dxf2pdf"), QStringLiteral("-a"),
                                                  QString::fromStdString(file.string())});
  ASSERT_TRUE(librecad.waitForFinished(60000));
  ASSERT_EQ(librecad.exitCode(), 0) << librecad.readAllStandardError().toStdString();
  QProcess pdftoppm;
  pdftoppm.start(
      QFileInfo(QStringLiteral(BRIXO_PDFINFO)).dir().filePath(QStringLiteral("pdftoppm")),
      {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-scale-to"),
       QStringLiteral("900"), pdf, QString::fromStdString((folder / name).string())});
  ASSERT_TRUE(pdftoppm.waitForFinished(60000));
  ASSERT_EQ(pdftoppm.exitCode(), 0) << pdftoppm.readAllStandardError().toStdString();
  EXPECT_TRUE(fs::is_regular_file(folder / (name + ".png")));
}

// The output dialog's 12 layers.
constexpr const char* kOutputLayers[] = {"GROUND",
                                         "STRATUM_LINE",
                                         "STRATUM_POLYGON",
                                         "GROUND_BLOCK",
                                         "STRATUM_LINE_BLOCK",
                                         "STRATUM_POLYGON_BLOCK",
                                         "BLOCK_CUT_LINE",
                                         "SLIDE_N",
                                         "SLIDE_L1",
                                         "WATER",
                                         "REINFORCEMENT",
                                         "GRID"};

// Our DXF reader, the one the CAD import uses, reads the drawing back: the 12 layers and, layer by
// layer, the same polylines (a closed one ends on its first point) in the same order.
void ExpectOurReaderReadsWhatEzdxfReads(const fs::path& file, const DxfDump& dump) {
  const DxfReadResult result = ReadDxfFile(file);
  const auto* error = std::get_if<DxfReadError>(&result);
  ASSERT_EQ(error, nullptr) << DxfReadErrorText(*error);
  const DxfContent& content = std::get<DxfContent>(result);
  std::map<std::string, std::vector<const DxfEntity*>> polylinesOf;
  for (const DxfLayerContent& layer : content.layers) {
    auto& polylines = polylinesOf[layer.name];
    for (const DxfEntity& e : layer.entities) {
      if (e.kind == DxfEntity::kPolyline) polylines.push_back(&e);
    }
  }
  for (const char* name : kOutputLayers) EXPECT_EQ(polylinesOf.count(name), 1U) << name;
  std::map<std::string, std::size_t> taken;
  for (const DxfRecord& expected : dump.Of("LWPOLYLINE")) {
    const std::size_t index = taken[expected.Layer()]++;
    const auto& polylines = polylinesOf[expected.Layer()];
    ASSERT_LT(index, polylines.size()) << expected.Layer();
    const std::vector<CadPoint>& points = polylines[index]->points;
    const auto count = static_cast<std::size_t>(std::stoi(expected.fields.at(3)));
    const bool closed = expected.fields.at(1) == "1";
    ASSERT_EQ(points.size(), count + (closed ? 1 : 0)) << expected.Layer() << " #" << index;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const std::size_t k = i % count;
      EXPECT_DOUBLE_EQ(points[i].x, expected.Number(4 + 2 * k)) << expected.Layer() << " " << i;
      EXPECT_DOUBLE_EQ(points[i].y, expected.Number(5 + 2 * k)) << expected.Layer() << " " << i;
    }
  }
  for (const auto& [layer, polylines] : polylinesOf) {
    EXPECT_EQ(taken[layer], polylines.size()) << layer << ": polylines ezdxf does not see";
  }
}

TEST(CadOutput, TheFileMenuSavesTheSampleCaseAsDxf) {
  TestProgram p;
  FillSampleCase(*p.Core().GetActiveCase(), 0);
  const fs::path file = TestFolder() / "section.dxf";
  ASSERT_TRUE(p.Command(CMainFrame::kExportCad)->isEnabled());
  ExpectModal<CCadOutputDlg>([&file](CCadOutputDlg& dlg) {
    const CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, 3080);
    for (int row = 1; row <= CCadOutputDlg::kLayerCount; ++row) {
      EXPECT_EQ(grid.Value(1, row), row == 3 || row == 6 ? "0" : "1") << row;
    }
    EXPECT_EQ(Ctl<QComboBox>(dlg, 3082)->currentIndex(), 1);
    EXPECT_EQ(Ctl<QComboBox>(dlg, 3083)->currentText(), "1:100");
    SaveShot(dlg, "CCadOutputDlg_file_menu");
    TestUi().ExpectFileDialog(file);
    TestUi().ExpectMessageBox(MsgResult::Ok, "CAD出力が完了しました。");
    QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  });
  p.Command(CMainFrame::kExportCad)->trigger();
  TestUi().VerifyAllAnswered();

  const DxfDump dump = ReadDxfWithEzdxf(file);
  ASSERT_NE(dump.First("AUDIT"), nullptr);
  EXPECT_EQ(dump.First("AUDIT")->fields.at(0), "0");
  std::set<std::string> layers;
  for (const DxfRecord& r : dump.Of("LAYER")) layers.insert(r.fields.at(0));
  for (const char* name : kOutputLayers) EXPECT_EQ(layers.count(name), 1U) << name;
  EXPECT_TRUE(dump.Of("HATCH").empty()) << "the polygon layers start off";
  EXPECT_FALSE(dump.Of("ARC", "SLIDE_N").empty());
  EXPECT_FALSE(dump.Of("LWPOLYLINE", "GROUND").empty());
  ExpectOurReaderReadsWhatEzdxfReads(file, dump);
  DrawWithLibreCad(file, "CadOutput_librecad");
}

// データ連携 → CAD 出力 stores the checks before the CAD dialog builds the slip surfaces, and the
// CAD dialog opens for the linkage.
TEST(CadOutput, TheDataLinkageOpensTheCadDialogWithTheChecksStored) {
  TestProgram p;
  CCase& active = *p.Core().GetActiveCase();
  FillSampleCase(active, 0);
  active.GetResStab2().slideTopArc = {0, 0};
  ExpectModal<CCmdStabMultiFsDlg>([](CCmdStabMultiFsDlg& dlg) {
    QTest::mouseClick(Ctl<QPushButton>(dlg, 5437), Qt::LeftButton);
    QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
  });
  ExpectModal<CExportSelectDlg>([](CExportSelectDlg& dlg) {
    EXPECT_FALSE(Ctl<QCheckBox>(dlg, 3122)->isChecked());
    Ctl<QCheckBox>(dlg, 3122)->setChecked(true);
    QTest::mouseClick(Ctl<QPushButton>(dlg, 3120), Qt::LeftButton);
  });
  ExpectModal<CCadOutputDlg>([](CCadOutputDlg& dlg) {
    const CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, 3080);
    for (const int row : {1, 2, 3, 11}) {
      EXPECT_TRUE(grid.Lock(1, row)) << row;
      EXPECT_EQ(grid.Value(1, row), "0") << row;
    }
    EXPECT_GT(ArcsOn(dlg, kSlideN), 0U) << "the checked top arc";
    SaveShot(dlg, "CCadOutputDlg_linkage");
    QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
  });
  p.Send(FrameMsg::WM_CMD_STAB_STABILITY);
  TestUi().VerifyAllAnswered();
  EXPECT_EQ(active.GetResStab2().slideTopArc, (std::array<int, 2>{1, 0}));
}

}  // namespace
