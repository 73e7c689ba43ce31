#include <QComboBox>
#include <QPushButton>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "bridge/Z_Tv5Gen6.h"
#include "core/deformation/ReinfArrange.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgramDir.h"
#include "stage/output/CadOutputDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/cad/DxfDump.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSlideN = 7;
constexpr int kGrid = 11;

class CadOutputDlgTest : public SampleCaseTest {
 protected:
  CadOutputDlgTest() {
    // In the test's own data folder, so that no other test program running at the same time
    // shares it.
    folder_ = DataDir() / "cad";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~CadOutputDlgTest() override { fs::remove_all(folder_); }

  // The entities the control holds on one layer.
  template <typename T>
  static std::vector<T> On(const CCadOutputDlg& dlg, int layer) {
    std::vector<T> found;
    for (const CadEntity& e : dlg.Control().Drawing().Entities()) {
      if (const T* item = std::get_if<T>(&e); item != nullptr && item->layer == layer) {
        found.push_back(*item);
      }
    }
    return found;
  }
  static std::size_t CountOn(const CCadOutputDlg& dlg, int layer) {
    return On<CadPolyline>(dlg, layer).size() + On<CadArc>(dlg, layer).size() +
           On<CadText>(dlg, layer).size();
  }

  // 出力 answered with the path; the boxes the test expects are queued before.
  static void PressOutput(CCadOutputDlg& dlg, const fs::path& path) {
    TestUi().ExpectFileDialog(path);
    QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  }

  fs::path folder_;
};

TEST_F(CadOutputDlgTest, OpensWithTheDefaultLayersOnA1At1To100) {
  CCadOutputDlg dlg(Case(), false);
  dlg.show();
  const CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, 3080);
  for (int row = 1; row <= 12; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(grid.Value(1, row), row == 3 || row == 6 ? "0" : "1");
    EXPECT_FALSE(grid.Lock(1, row));
  }
  EXPECT_EQ(grid.Text(2, 1), "地形");
  EXPECT_EQ(grid.Text(3, 12), "GRID");
  EXPECT_EQ(Ctl<QComboBox>(dlg, 3082)->currentText(), "A1  841 × 594");
  EXPECT_EQ(Ctl<QComboBox>(dlg, 3083)->currentText(), "1:100");
  const CadDrawing& drawing = dlg.Control().Drawing();
  EXPECT_EQ(drawing.Layers().size(), 12U);
  EXPECT_EQ(drawing.Paper(), 1);
  EXPECT_EQ(drawing.Scale(), 100);
  EXPECT_EQ(CountOn(dlg, 2), 0U);
  EXPECT_EQ(CountOn(dlg, 5), 0U);
  EXPECT_EQ(CountOn(dlg, 9), 0U);  // the water layer carries nothing
  EXPECT_EQ(On<CadPolyline>(dlg, 0).size(), 1U);
  EXPECT_GT(On<CadArc>(dlg, kSlideN).size(), 0U) << "the normal case's top arc";
  SaveShot(dlg, "CCadOutputDlg");
  dlg.close();
}

TEST_F(CadOutputDlgTest, TheDataLinkageLocksAndLeavesOutTerrainStrataAndBolts) {
  CCadOutputDlg dlg(Case(), true);
  const CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, 3080);
  for (const int row : {1, 2, 3, 11}) {
    SCOPED_TRACE(row);
    EXPECT_TRUE(grid.Lock(1, row));
    EXPECT_EQ(grid.Value(1, row), "0");
    EXPECT_EQ(dlg.LayerFlags()[static_cast<std::size_t>(row - 1)], 0);
    EXPECT_EQ(CountOn(dlg, row - 1), 0U);
  }
  EXPECT_FALSE(grid.Lock(1, 4));
  EXPECT_GT(CountOn(dlg, kSlideN), 0U);
  // A click on a locked box changes nothing.
  dlg.show();
  ClickCell(*Ctl<CSheetGrid>(dlg, 3080), 1, 1);
  EXPECT_EQ(grid.Value(1, 1), "0");
  EXPECT_EQ(CountOn(dlg, 0), 0U);
  dlg.close();
}

TEST_F(CadOutputDlgTest, TheHeaderAndTheSwitchesTurnEveryRowOnOrOff) {
  CCadOutputDlg dlg(Case(), false);
  CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, 3080);
  const auto flags = [&dlg] {
    int on = 0;
    for (const int f : dlg.LayerFlags()) on += f;
    return on;
  };
  emit grid.Click(1, 0);  // two rows off: all on
  EXPECT_EQ(flags(), 12);
  EXPECT_GT(CountOn(dlg, 2), 0U) << "stratum polygons";
  emit grid.Click(1, 0);  // all on: all off
  EXPECT_EQ(flags(), 0);
  EXPECT_TRUE(dlg.Control().Drawing().Entities().empty());
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3003), Qt::LeftButton);
  EXPECT_EQ(flags(), 12);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3004), Qt::LeftButton);
  EXPECT_EQ(flags(), 0);
  // Nothing on: 出力 refuses and stays open.
  dlg.show();
  TestUi().ExpectMessageBox(MsgResult::Ok, "出力する項目が全てOFFになっています。");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  EXPECT_TRUE(dlg.isVisible());
  dlg.close();
}

TEST(CadAxisRun, FollowsThePitchAndEndsAtOnceOnAPitchItCannotDraw) {
  const struct {
    double start, end, pitch;
    std::vector<double> run;
  } cases[] = {
      {0, 30, 10, {0, 10, 20, 30}},
      {-7, 30, 10, {0, 10, 20, 30}},
      {1, 10, 2.5, {2.5, 5, 7.5, 10}},
      {-12, -2, 5, {-10, -5}},
      {0, 30, 0, {}},
      {0, 30, -1, {}},
      {0, 30, 1e-6, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end << " by " << c.pitch);
    EXPECT_EQ(CCadOutputDlg::AxisRun(c.start, c.end, c.pitch), c.run);
  }
}

TEST_F(CadOutputDlgTest, GridLabelsTakeDecimalsOnlyForAPitchThatIsNotWhole) {
  CPrmGrid& grid = Case().GetPrmGrid();
  grid.x1 = 0;
  grid.x2 = 10;
  grid.y1 = 0;
  grid.y2 = 5;
  const struct {
    double pitch;
    std::vector<std::string> xLabels;
  } cases[] = {{5, {"0", "5", "10"}}, {2.5, {"0.0", "2.5", "5.0", "7.5", "10.0"}}};
  for (const auto& c : cases) {
    grid.xLabelPitch = grid.yLabelPitch = c.pitch;
    CCadOutputDlg dlg(Case(), false);
    std::vector<std::string> xLabels;
    for (const CadText& text : On<CadText>(dlg, kGrid)) {
      EXPECT_DOUBLE_EQ(text.height, 4.0);  // 0.4 m at 1:100
      if (text.angle != 0) xLabels.push_back(text.text);
    }
    EXPECT_EQ(xLabels, c.xLabels);
  }
  // A pitch of 0 draws no ticks and no labels and ends at once.
  grid.xLinePitch = grid.yLinePitch = grid.xLabelPitch = grid.yLabelPitch = 0;
  CCadOutputDlg dlg(Case(), false);
  EXPECT_EQ(CountOn(dlg, kGrid), 1U) << "the frame only";
}

TEST_F(CadOutputDlgTest, APointNamingBlocksBeyondTheListDrawsNoSlipSurface) {
  CMltPoint* point = Case().GetResStab2().GetSelectRepPt(0);
  ASSERT_NE(point, nullptr);
  point->endBlock = Case().GetBlockList().GetBlockSize() + 3;
  CCadOutputDlg dlg(Case(), false);
  EXPECT_EQ(CountOn(dlg, kSlideN), 0U);
  EXPECT_GT(CountOn(dlg, kGrid), 0U) << "the other layers are drawn";
}

TEST_F(CadOutputDlgTest, ACaseWithoutBlocksWritesNothingOnTheDividedLayers) {
  Case().GetBlockList().DeleteBlockArray();
  CCadOutputDlg dlg(Case(), false);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3003), Qt::LeftButton);  // every layer
  for (int layer = 3; layer <= 8; ++layer) EXPECT_EQ(CountOn(dlg, layer), 0U) << layer;
  EXPECT_EQ(On<CadPolyline>(dlg, 0).size(), 1U);
}

// The names the save dialog may answer with: only DXF is written, a name without extension
// becomes one, and a failed write says so with the path and leaves the dialog open.
TEST_F(CadOutputDlgTest, SavesOnlyDxfAndSaysWhenTheWriteFailed) {
  CCadOutputDlg dlg(Case(), false);
  dlg.show();
  TestUi().ExpectMessageBox(MsgResult::Ok);
  PressOutput(dlg, folder_ / "x.dwg");
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_NE(TestUi().MessageBoxes().back().text.find("DXF"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder_ / "x.dwg"));

  const fs::path missing = folder_ / "missing" / "x.dxf";
  TestUi().ExpectMessageBox(MsgResult::Ok, "CAD出力に失敗しました。\n" + missing.string());
  PressOutput(dlg, missing);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);

  TestUi().ExpectMessageBox(MsgResult::Ok, "CAD出力が完了しました。");
  PressOutput(dlg, folder_ / "x");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(fs::exists(folder_ / "x.dxf"));
  const FileDialogCall& asked = TestUi().FileDialogs().back();
  EXPECT_EQ(asked.request.filter, "DXF ﾌｧｲﾙ (*.dxf)|*.dxf||");
  EXPECT_EQ(asked.request.defaultExtension, "dxf");
}

// A cancelled save dialog ends the dialog and writes nothing.
TEST_F(CadOutputDlgTest, ACancelledSaveEndsWithoutAFile) {
  CCadOutputDlg dlg(Case(), false);
  dlg.show();
  TestUi().ExpectFileDialog(std::nullopt);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(fs::is_empty(folder_));
}

// The saved file as ezdxf reads it: the section's lines, one polyline per stratum line, the slip
// surfaces' arcs on the working surfaces, one line and number per bolt, the strata's colours and
// names, every text 0.4 m high.
TEST_F(CadOutputDlgTest, EzdxfReadsTheCaseBack) {
  CCadOutputDlg dlg(Case(), false);
  dlg.show();
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3003), Qt::LeftButton);  // every layer
  const fs::path file = folder_ / "case.dxf";
  TestUi().ExpectMessageBox(MsgResult::Ok, "CAD出力が完了しました。");
  PressOutput(dlg, file);
  const DxfDump dump = ReadDxfWithEzdxf(file);
  ASSERT_NE(dump.First("AUDIT"), nullptr);
  EXPECT_EQ(dump.First("AUDIT")->fields.at(0), "0");

  const auto ground = dump.Of("LWPOLYLINE", "GROUND");
  ASSERT_EQ(ground.size(), 1U);
  const CDPoly& caseGround = Case().GetGround();
  ASSERT_EQ(ground[0].Number(3), caseGround.GetSize());
  for (int i = 0; i < caseGround.GetSize(); ++i) {
    EXPECT_EQ(ground[0].Number(4 + 2 * static_cast<std::size_t>(i)), caseGround.GetAt(i)->x);
    EXPECT_EQ(ground[0].Number(5 + 2 * static_cast<std::size_t>(i)), caseGround.GetAt(i)->y);
  }
  EXPECT_EQ(dump.Of("LWPOLYLINE", "STRATUM_LINE").size(),
            static_cast<std::size_t>(Case().GetStratum().GetSize()));

  for (int resultCase = 0; resultCase < 2; ++resultCase) {
    const char* layer = resultCase == 0 ? "SLIDE_N" : "SLIDE_L1";
    SCOPED_TRACE(layer);
    const CMltPoint* point = Case().GetResStab2().GetSelectRepPt(resultCase);
    ASSERT_NE(point, nullptr);
    const auto slide = Case().GetBlockList().CreateSlideLine(
        point->startBlock, point->endBlock, Case().GetResStab2().IsSlideTopArc(resultCase));
    const auto work = slide->CreateDrawObj();
    const auto arcs = dump.Of("ARC", layer);
    EXPECT_EQ(arcs.size(), static_cast<std::size_t>(work->GetArcCount()));
    for (const DxfRecord& arc : arcs) {
      const double mx = arc.Number(6);
      const double my = arc.Number(7);
      bool onSurface = false;
      for (int k = 0; k < work->GetArcCount(); ++k) {
        const CDArc& piece = *work->GetArcAt(k);
        const double r = std::hypot(mx - piece.centre.x, my - piece.centre.y);
        double sweep = std::fmod(piece.end - piece.start, 2 * std::numbers::pi);
        if (sweep <= 0) sweep += 2 * std::numbers::pi;
        double at = std::fmod(std::atan2(my - piece.centre.y, mx - piece.centre.x) - piece.start,
                              2 * std::numbers::pi);
        if (at < 0) at += 2 * std::numbers::pi;
        if (std::fabs(r - piece.R) < 1e-6 && at <= sweep) onSurface = true;
      }
      EXPECT_TRUE(onSurface) << mx << ", " << my;
    }
  }

  const int bolts = Case().GetReinfArrange().GetSize();
  EXPECT_GT(bolts, 0);
  EXPECT_EQ(dump.Of("LWPOLYLINE", "REINFORCEMENT").size(), static_cast<std::size_t>(bolts));
  EXPECT_EQ(dump.Of("TEXT", "REINFORCEMENT").size(), static_cast<std::size_t>(bolts));

  const CDPolyArray& strata = *Case().GetDanmen().GetTisoBlockArray();
  const auto hatches = dump.Of("HATCH", "STRATUM_POLYGON");
  const auto names = dump.Of("TEXT", "STRATUM_POLYGON");
  ASSERT_EQ(hatches.size(), static_cast<std::size_t>(strata.GetSize()));
  ASSERT_EQ(names.size(), hatches.size());
  for (int i = 0; i < strata.GetSize(); ++i) {
    const auto& block = dynamic_cast<const CSpStratumBlock&>(*strata.GetAt(i));
    EXPECT_EQ(hatches[static_cast<std::size_t>(i)].fields.at(1),
              std::to_string(RgbOfColorref(block.GetPropColor().ref)));
    EXPECT_EQ(names[static_cast<std::size_t>(i)].fields.at(8), block.GetPropPtr()->GetName());
  }
  for (const DxfRecord& text : dump.Of("TEXT")) EXPECT_NEAR(text.Number(1), 0.4, 1e-12);
}

}  // namespace
