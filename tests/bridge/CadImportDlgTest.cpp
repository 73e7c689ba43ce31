#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "bridge/CadImportDlg.h"
#include "bridge/Z_PtarvIn.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCadData = fs::path(BRIXO_TESTS_DIR) / "data" / "cad";

// Every test starts from an empty module state without a default extension and leaves an empty
// state behind.
class BridgeTest : public testing::Test {
 protected:
  BridgeTest() {
    Z_PtarvIn_Init();
    Z_PtarvIn_SetDefaultExt("");
  }
  ~BridgeTest() override { Z_PtarvIn_Exit(); }
};

std::vector<CadPoint> ShapePoints(int kind, int n) {
  const int count = Z_PtarvIn_GetCoordinats(kind, n, nullptr, nullptr, nullptr);
  if (count <= 0) return {};
  std::vector<double> xs(static_cast<std::size_t>(count));
  std::vector<double> ys(static_cast<std::size_t>(count));
  EXPECT_EQ(Z_PtarvIn_GetCoordinats(kind, n, xs.data(), ys.data(), nullptr), count);
  std::vector<CadPoint> points;
  for (std::size_t i = 0; i < xs.size(); ++i) points.push_back({xs[i], ys[i]});
  return points;
}

void ExpectPoints(const std::vector<CadPoint>& actual, const std::vector<CadPoint>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << "point " << i;
    EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << "point " << i;
  }
}

TEST_F(BridgeTest, QueriesRefuseUntilACaseIsSelectedAndOutsideTheirKinds) {
  for (const int kind : {0, 1, 2, 3, 6}) {
    EXPECT_EQ(Z_PtarvIn_GetShapeCount(kind), -1) << kind;
    EXPECT_EQ(Z_PtarvIn_GetCoordinats(kind, 0, nullptr, nullptr, nullptr), -1) << kind;
    char name[8] = "x";
    EXPECT_EQ(Z_PtarvIn_GetShapeName(kind, 0, name, sizeof name), -1) << kind;
  }
  EXPECT_EQ(Z_PtarvIn_GetSlidePointsCount(), 0);

  const double xs[] = {0, 10, 20};
  const double ys[] = {5, 4, 3};
  EXPECT_EQ(Z_PtarvIn_AddShape(6, 3, xs, ys), -1);
  EXPECT_EQ(Z_PtarvIn_AddShape(1, 3, xs, ys), 0);  // creates the case
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(1), 1);
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(6), 0);
  for (const int kind : {-1, 4, 5, 7}) EXPECT_EQ(Z_PtarvIn_GetShapeCount(kind), -1) << kind;
  char name[32] = {};
  EXPECT_EQ(Z_PtarvIn_GetShapeName(1, 0, name, sizeof name), static_cast<int>(strlen("地層境界")));
  EXPECT_STREQ(name, "地層境界");

  // n equal to the count writes nothing.
  double x[3] = {-1, -1, -1};
  double y[3] = {-1, -1, -1};
  EXPECT_EQ(Z_PtarvIn_GetCoordinats(1, 1, x, y, nullptr), -1);
  EXPECT_EQ(x[0], -1);
  ExpectPoints(ShapePoints(1, 0), {{0, 5}, {10, 4}, {20, 3}});

  Z_PtarvIn_Exit();
  Z_PtarvIn_Exit();  // twice is harmless
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(1), -1);
}

TEST_F(BridgeTest, SelfTestAndSlipSurfaceDrawingObject) {
  char buffer[64];
  EXPECT_EQ(Z_PtarvIn_Test(buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Z_PtarvIn.dll Test");
  char tiny[4];
  Z_PtarvIn_Test(tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "Z_P");

  const double xs[] = {0, 1, 2, 3, 4};
  const double ys[] = {0, 0, 1, 0, 0};
  const int styles[] = {0, 1, 0, 0, 0};
  EXPECT_EQ(Z_PtarvIn_SetSlideShape(5, xs, ys, styles), 5);
  ASSERT_EQ(Z_PtarvIn_GetSlidePointsCount(), 5);
  double x = 0;
  double y = 0;
  int onArc = -1;
  ZPtarvInArc arc{};
  EXPECT_EQ(Z_PtarvIn_GetSlidePoint(0, &x, &y, &onArc, &arc), 1);
  EXPECT_EQ(onArc, 0);
  EXPECT_EQ(Z_PtarvIn_GetSlidePoint(2, &x, &y, &onArc, &arc), 1);
  EXPECT_EQ(onArc, 1);
  EXPECT_EQ(arc.x[0], 1);
  EXPECT_EQ(arc.y[1], 1);
  EXPECT_EQ(arc.x[2], 3);
  EXPECT_EQ(Z_PtarvIn_GetSlidePoint(5, &x, &y, &onArc, &arc), 0);

  // The arc is traced through its middle: (1,0), (2,1), (3,0) is the upper half of a circle.
  const std::vector<CadPoint> traced = TraceArc({{CadPoint{1, 0}, {2, 1}, {3, 0}}});
  ASSERT_EQ(traced.size(), 5u);
  EXPECT_NEAR(traced[1].x, 2 - std::cos(2 * std::numbers::pi * 0.2), 1e-9);
  EXPECT_GT(traced[1].y, 0.9);
  EXPECT_NEAR(traced.back().x, 3, 1e-9);
}

CadImportEntity Polyline(std::vector<CadPoint> points) { return {1, std::move(points)}; }

TEST(SlideSurfaceOf, TurnsOrdersAndJoinsTheEntities) {
  // Two polylines drawn right to left, the second starting where the first ends.
  const BridgeShape joined =
      SlideSurfaceOf({Polyline({{20, 0}, {15, 2}, {10, 5}}), Polyline({{10, 5}, {5, 8}, {0, 10}})});
  ExpectPoints(joined.points, {{0, 10}, {5, 8}, {10, 5}, {15, 2}, {20, 0}});
  EXPECT_EQ(joined.styles, std::vector<int>(5, 0));

  // An arc contributes its three points, the first with style 1, also when it meets the line
  // before it (the style then goes to the point it coincided with).
  const BridgeShape arc =
      SlideSurfaceOf({Polyline({{0, 10}, {4, 6}}), CadImportEntity{2, {{4, 6}, {6, 4}, {10, 3}}}});
  ExpectPoints(arc.points, {{0, 10}, {4, 6}, {6, 4}, {10, 3}});
  EXPECT_EQ(arc.styles, (std::vector<int>{0, 1, 0, 0}));

  // A first point at (-999.9, -999.9) is a point like any other.
  const BridgeShape far = SlideSurfaceOf({Polyline({{-999.9, -999.9}, {0, 0}})});
  ExpectPoints(far.points, {{-999.9, -999.9}, {0, 0}});
}

TEST(FileOpenFailureText, NamesTheCauseOfTheError) {
  EXPECT_EQ(FileOpenFailureText(ENOENT), "ファイルが見つかりませんでした。");
  EXPECT_EQ(FileOpenFailureText(EACCES), "ファイルにアクセスできませんでした。");
  EXPECT_EQ(FileOpenFailureText(EMFILE), "開いているファイル数の制限を超えました。");
  EXPECT_EQ(FileOpenFailureText(ENOTDIR), "パスの一部またはすべてが無効です。");
  EXPECT_EQ(FileOpenFailureText(EISDIR), "パスの一部またはすべてが無効です。");
  EXPECT_EQ(FileOpenFailureText(EXDEV), "原因不明のエラーです。");
}

class CadImportDlgTest : public BridgeTest {
 protected:
  // Opens the file through "ファイルを開く"; the boxes the test expects are queued before.
  static void Open(CCadImportDlg& dlg, const fs::path& path) {
    TestUi().ExpectFileDialog(path);
    QTest::mouseClick(dlg.OpenButton(), Qt::LeftButton);
  }
  static QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
  }
  static void Choose(CCadImportDlg& dlg, int row, const char* layer) {
    dlg.LayerCombo(row)->setCurrentText(QString::fromUtf8(layer));
  }
  static void PressOk(CCadImportDlg& dlg) { QTest::mouseClick(dlg.OkButton(), Qt::LeftButton); }
};

TEST_F(CadImportDlgTest, ListsTheLayersAndImportsTheChosenRows) {
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  Open(dlg, kCadData / "section-r2000-cp932.dxf");
  const FileDialogCall& call = TestUi().FileDialogs().back();
  EXPECT_EQ(call.request.filter, CCadImportDlg::kFilter);
  EXPECT_EQ(call.request.defaultExtension, "cfv");
  EXPECT_EQ(call.request.defaultName, "*.cfv");
  for (int row = 0; row < CCadImportDlg::kRows; ++row) {
    EXPECT_EQ(Items(*dlg.LayerCombo(row)),
              (QStringList{"(未設定)", "地形", "地層1", "地層2", "水位"}));
    EXPECT_EQ(dlg.LayerCombo(row)->currentIndex(), 0);
  }
  Choose(dlg, 0, "地形");
  Choose(dlg, 1, "地層1");
  Choose(dlg, 2, "水位");
  // The bottom level follows: the lowest y (3) less half the height (20 - 3), whole metres.
  EXPECT_EQ(dlg.BottomLevel(), -5);
  EXPECT_EQ(dlg.BottomEdit()->text(), "-5.000");
  SaveShot(dlg, "CCadImportDlg-section");
  PressOk(dlg);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  ExpectPoints(ShapePoints(0, 0), {{0, 20}, {10.0005, 20}, {25.25, 14.5}, {40, 8}, {60, 8}});
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(1), 1);
  ExpectPoints(ShapePoints(2, 0), {{0, 12}, {60, 3}});
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(3), 0);
  EXPECT_EQ(Z_PtarvIn_GetModelBottom(), -5);
}

TEST_F(CadImportDlgTest, ScalesOrShiftsTheLowerLeftExtentOntoTheOffsets) {
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  Open(dlg, kCadData / "section-r2018.dxf");
  Choose(dlg, 0, "地形");
  Choose(dlg, 1, "地層2");
  EXPECT_FALSE(dlg.OffsetEdit(0)->isEnabled());
  dlg.ScaleEdit()->setText("2");
  emit dlg.ScaleEdit()->editingFinished();
  PressOk(dlg);
  ExpectPoints(ShapePoints(1, 0), {{0, 18}, {120, 3}});

  CCadImportDlg shifted(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(shifted));
  Open(shifted, kCadData / "section-r2018.dxf");
  Choose(shifted, 0, "地形");
  Choose(shifted, 1, "地層2");
  QTest::mouseClick(shifted.FitMinimumCheck(), Qt::LeftButton);
  EXPECT_TRUE(shifted.OffsetEdit(0)->isEnabled());
  shifted.OffsetEdit(0)->setText("100");
  shifted.OffsetEdit(1)->setText("50");
  emit shifted.OffsetEdit(1)->editingFinished();
  PressOk(shifted);
  // The extents' lower left (0, 1.5) lands on (100, 50).
  ExpectPoints(ShapePoints(1, 0), {{100, 57.5}, {160, 50}});
}

// A polyline that reaches left of both its ends: its minimum, not its first point, lands on the
// offset.
TEST_F(CadImportDlgTest, APolylineReachingPastItsEndsMapsItsMinimumToTheOffset) {
  const fs::path path = fs::path(testing::TempDir()) / "reaching-left.dxf";
  std::ofstream(path) << "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nG\n10\n5\n20\n0\n10\n-3\n20\n"
                         "1\n10\n8\n20\n2\n0\nENDSEC\n0\nEOF\n";
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  Open(dlg, path);
  Choose(dlg, 0, "G");
  QTest::mouseClick(dlg.FitMinimumCheck(), Qt::LeftButton);
  PressOk(dlg);
  ExpectPoints(ShapePoints(0, 0), {{8, 0}, {0, 1}, {11, 2}});
  fs::remove(path);
}

TEST_F(CadImportDlgTest, OnlyTheFirstTerrainEntityIsTaken) {
  const fs::path path = fs::path(testing::TempDir()) / "three-terrains.dxf";
  std::ofstream out(path);
  out << "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < 3; ++i)
    out << "0\nLINE\n8\nG\n10\n0\n20\n" << i << "\n11\n9\n21\n" << i << "\n";
  out << "0\nENDSEC\n0\nEOF\n";
  out.close();
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  Open(dlg, path);
  Choose(dlg, 0, "G");
  Choose(dlg, 1, "G");
  PressOk(dlg);
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(0), 1);
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(1), 3);
  fs::remove(path);
}

TEST_F(CadImportDlgTest, RefusesFilesItCannotReadAndKeepsWhatItShows) {
  struct Case {
    fs::path file;
    std::string text;
  };
  const Case cases[] = {
      {kCadData / "missing.dxf", "ファイルが見つかりませんでした。"},
      {kCadData, "パスの一部またはすべてが無効です。"},
      {kCadData / "make_fixtures.py", "DXFファイル以外は読み込めません。"},
      {kCadData / "number-abc.dxf",
       "DXFファイルとして読めません。\n16行目: 数値として読めません: abc"},
      {kCadData / "truncated.dxf",
       "DXFファイルとして読めません。\n17行目: ファイルが途中で終わっています。"},
  };
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  Open(dlg, kCadData / "section-r2018.dxf");
  Choose(dlg, 0, "地形");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.string());
    TestUi().ExpectMessageBox(MsgResult::Ok, c.text);
    Open(dlg, c.file);
    TestUi().VerifyAllAnswered();
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "CADファイル読み込み");
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
    EXPECT_EQ(dlg.LayerCombo(0)->currentText(), "地形");
  }
}

// A cfv file is refused with the message; only DXF is read.
TEST_F(CadImportDlgTest, ACfvFileIsRefusedWithTheMessage) {
  const fs::path path = fs::path(testing::TempDir()) / "drawing.cfv";
  std::ofstream(path) << "cfv";
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  TestUi().ExpectMessageBox(MsgResult::Ok, "DXFファイル以外は読み込めません。");
  Open(dlg, path);
  EXPECT_EQ(dlg.LayerCombo(0)->count(), 1);
  fs::remove(path);
}

TEST_F(CadImportDlgTest, EscapeDoesNotCloseAndEnterMovesOnUntilOk) {
  CCadImportDlg dlg(CCadImportDlg::Options{});
  ASSERT_TRUE(ShowActive(dlg));
  dlg.ScaleEdit()->setFocus();
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dlg.FitMinimumCheck());
  dlg.OkButton()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(Z_PtarvIn_GetShapeCount(0), 0);  // nothing chosen: an empty case
}

}  // namespace
