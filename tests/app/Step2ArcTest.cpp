// The slip-circle search conditions through the program's real main window, on the sample case
// with its recognised strata: the condition dialog opened as its show member opens it, the five
// pages typed into and clicked into through the view, OK and キャンセル through the frame, the
// pass-line dialog over it, and the settings the search cannot run refused at OK.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/view/BrixoView.h"
#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/case/ManageCore.h"
#include "core/circle/CalcStab.h"
#include "core/circle/RepMesh.h"
#include "core/circle/RepPoint.h"
#include "core/circle/ResStab.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabArcDlg.h"
#include "stage/dialogs/CmdStabArcPasslineDlg.h"
#include "stage/dialogs/CmdStabArcTypeDlg.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/HandMapping.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/KeptCircles.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr Color kMarked{0xC0FFFF};
constexpr Color kWhite{0xFFFFFF};

// A radius set of one centre and one radius: a search of exactly one trial circle.
void SetOneCircle(CArcCondition& condition, double x, double y, double r) {
  condition.kind = kArcSetRadius;
  CArcSetRadius& set = condition.setRadius;
  set.mesh.x1 = set.mesh.x2 = x;
  set.mesh.y1 = set.mesh.y2 = y;
  set.mesh.dx = set.mesh.dy = 1;
  set.rMin = set.rMax = r;
  set.rStep = 1;
  set.SetFlagByPoly();
}

// Every kind's set with values, the x limit on and one pass and one not-pass line: what each page,
// the valid range, the line counts and the view then show.
void FillEveryKind(CArcCondition& condition) {
  for (CArcSetRadius* set : std::initializer_list<CArcSetRadius*>{
           &condition.setRadius, &condition.setDepth, &condition.setPass1, &condition.setPass3}) {
    set->mesh.x1 = 10;
    set->mesh.x2 = 20;
    set->mesh.dx = 5;
    set->mesh.y1 = 14;
    set->mesh.y2 = 18;
    set->mesh.dy = 2;
  }
  condition.setRadius.rMin = 15;
  condition.setRadius.rMax = 19;
  condition.setRadius.rStep = 2;
  condition.setDepth.rMin = 2;
  condition.setDepth.rMax = 6;
  condition.setDepth.rStep = 1;
  condition.setPass1.pass = {12, 8};
  condition.setPass2.pointA = {5, 6};
  condition.setPass2.pointB = {25, 14};
  condition.setPass2.radiusFrom = 15;
  condition.setPass2.radiusTo = 25;
  condition.setPass2.pitch = 5;
  condition.setPass3.p1 = {8, 7};
  condition.setPass3.p2 = {20, 12};
  condition.setPass3.step = 0.5;
  for (CArcSetRadius* set : std::initializer_list<CArcSetRadius*>{
           &condition.setRadius, &condition.setDepth, &condition.setPass1, &condition.setPass2,
           &condition.setPass3}) {
    set->SetFlagByPoly();
  }
  condition.limit = {1, 0, 0, 30, kNoValue, kNoValue};
  condition.passLine.GetLines().AddLine(6, 2, 9, 9);
  condition.notPassLine.GetLines().AddLine(22, 8, 27, 13);
}

int Redraws(const std::vector<FrameMessage>& sent) {
  return static_cast<int>(std::count_if(sent.begin(), sent.end(), [](const FrameMessage& m) {
    return m.message == FrameMsg::WM_APP_REDRAW;
  }));
}

class Step2ArcTest : public testing::Test {
 protected:
  Step2ArcTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    Case().SetInUse(0);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }
  CArcCondition& Condition() { return Case().GetArcCondition(); }

  QList<CCmdStabArcDlg*> Dialogs() const { return p_.Frame().findChildren<CCmdStabArcDlg*>(); }

  QPointer<CCmdStabArcDlg> Open() {
    p_.Frame().ShowArcConditions();
    const QList<CCmdStabArcDlg*> dialogs = Dialogs();
    EXPECT_EQ(dialogs.size(), 1);
    QPointer<CCmdStabArcDlg> dlg = dialogs.value(0);
    if (dlg) {
      EXPECT_TRUE(ShowActive(*dlg));
    }
    return dlg;
  }

  static CSheetGrid& GridOf(QWidget& page, int id) { return *Ctl<CSheetGrid>(page, id); }
  static void Press(QWidget& dlg, int id) {
    QTest::mouseClick(Ctl<QPushButton>(dlg, id), Qt::LeftButton);
  }
  static void SelectTab(CCmdStabArcDlg& dlg, int kind) {
    Ctl<QTabWidget>(dlg, 5224)->setCurrentIndex(kind);
  }
  // マウス入力 on and the page's grid pressed: it becomes the mouse target.
  static void TargetGrid(CCmdStabArcDlg& dlg, int kind, int id) {
    QCheckBox* mouse = Ctl<QCheckBox>(dlg, 5259);
    if (!mouse->isChecked()) mouse->click();
    ClickCell(GridOf(dlg.Page(kind), id), 1, 1);
  }
  // A mouse move delivered to the view itself. QTest::mouseMove moves the platform cursor
  // instead, and the offscreen platform places that cursor among the windows by comparing device
  // pixels with logical window geometry: under a scale factor of 2 the move reaches no window.
  // It also delivers nothing when the cursor already stands at the point.
  void MoveMouse(QPoint at) {
    QWidget& view = p_.Frame().View();
    QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
  }
  // The smallest rectangle, in logical pixels, that holds every pixel in which two pictures of
  // the view differ; an empty one when they are equal.
  static QRect ChangedArea(const QImage& a, const QImage& b) {
    QRect changed;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, y) != b.pixel(x, y)) changed |= QRect(x, y, 1, 1);
      }
    }
    const qreal ratio = a.devicePixelRatio();
    return changed.isEmpty() ? QRect()
                             : QRect(QPoint(static_cast<int>(changed.left() / ratio),
                                            static_cast<int>(changed.top() / ratio)),
                                     QPoint(static_cast<int>(changed.right() / ratio),
                                            static_cast<int>(changed.bottom() / ratio)));
  }
  // At a scale of 2 the pen of one logical pixel covers two device pixels on either side of the
  // logical pixel's edge.
  static bool WithinAPixel(const QRect& a, const QRect& b) {
    const auto near = [](int u, int v) { return std::abs(u - v) <= 1; };
    return near(a.left(), b.left()) && near(a.top(), b.top()) && near(a.right(), b.right()) &&
           near(a.bottom(), b.bottom());
  }
  static QString Header(const CSheetGrid& grid, int col) {
    return grid.Text(col, CSheetGrid::kHeaderRow);
  }

  void CloseAndFlush(QPointer<CCmdStabArcDlg>& dlg, int button) {
    Press(*dlg, button);
    FlushDeletes();
    EXPECT_TRUE(dlg.isNull());
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_FALSE(Case().IsMouseEdit());
  }

  std::vector<CSpStratumBlock*> Strata() {
    std::vector<CSpStratumBlock*> strata;
    CDPolyArray* polygons = Case().GetDanmen().GetTisoBlockArray();
    for (int i = 0; polygons != nullptr && i < polygons->GetSize(); ++i) {
      strata.push_back(dynamic_cast<CSpStratumBlock*>(polygons->GetAt(i)));
    }
    return strata;
  }

  // A repeat search on the case's normal section with the condition `result` holds, as the
  // core runs it.
  std::unique_ptr<CRepMesh> Search(CResStab& result) {
    EXPECT_TRUE(Case().PreCalcStab(false));
    return CCalcStab({Case().GetDanmenStabData(0, 0), nullptr}, result).CalcRepeatEngine(0, true);
  }

  // A line entered by two view clicks in the line dialog the button (通過線 5277, 不通過線 5278)
  // opens, taken with OK.
  void EnterLine(CCmdStabArcDlg& dlg, int button) {
    Press(dlg, button);
    CCmdStabArcPasslineDlg* const lines =
        p_.Frame().findChildren<CCmdStabArcPasslineDlg*>().value(0);
    ASSERT_NE(lines, nullptr);
    p_.ClickView({379, 335});  // (12, 10)
    p_.ClickView({421, 300});  // (18, 15)
    Press(*lines, 1);
    FlushDeletes();
  }

  // The centre grid and the radius grid of type 1 filled with centre X 10..20 by 5, Y 20..24 by
  // 2 and the radii 15..19 by 2.
  static void TypeCentresAndRadii(CCmdStabArcDlg& dlg) {
    const char* centre[] = {"10", "20", "5", "20", "24", "2"};
    for (int i = 0; i < 6; ++i) {
      TypeIntoCell(GridOf(dlg.Page(0), 5232), i % 3 + 1, i / 3 + 1, QString::fromUtf8(centre[i]));
    }
    const char* radius[] = {"15", "19", "2"};
    for (int col = 1; col <= 3; ++col) {
      TypeIntoCell(GridOf(dlg.Page(0), 5235), col, 1, QString::fromUtf8(radius[col - 1]));
    }
  }

  TestProgram p_;
};

// Opening shows the tab of the condition's kind and turns the work panes off; a second show
// raises the one dialog; the centre and radius typed into type 1's grids reach the condition the
// search reads at OK, and the case draws it no more afterwards.
TEST_F(Step2ArcTest, TypedCentresAndRadiiReachTheConditionTheSearchReads) {
  Condition().kind = kArcSetDepth;
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  EXPECT_EQ(Ctl<QTabWidget>(*dlg, 5224)->currentIndex(), kArcSetDepth);
  EXPECT_EQ(Ctl<QTabWidget>(*dlg, 5224)->tabText(4), QStringLiteral("中心と通過範囲"));
  p_.ExpectWorkPanesEnabled(false);
  EXPECT_TRUE(p_.Stage().IsArcDlg());
  EXPECT_TRUE(p_.Stage().IsDlgMode());
  ASSERT_TRUE(ShowActive(p_.Frame()));
  p_.Frame().ShowArcConditions();
  EXPECT_EQ(Dialogs().size(), 1);
  EXPECT_TRUE(QTest::qWaitForWindowActive(dlg));            // raised
  EXPECT_FALSE(Ctl<QPushButton>(*dlg, 5250)->isVisible());  // condition index 1
  EXPECT_EQ(Ctl<QLabel>(*dlg, 5280)->text(), QStringLiteral(" なし"));

  SelectTab(*dlg, kArcSetRadius);
  EXPECT_EQ(Condition().kind, kArcSetRadius);  // at once, before OK
  CSheetGrid& centre = GridOf(dlg->Page(0), 5232);
  const char* centreValues[2][3] = {{"10", "20", "5"}, {"20", "24", "2"}};
  for (int row = 1; row <= 2; ++row) {
    for (int col = 1; col <= 3; ++col) {
      TypeIntoCell(centre, col, row, QString::fromUtf8(centreValues[row - 1][col - 1]));
    }
  }
  CSheetGrid& radius = GridOf(dlg->Page(0), 5235);
  TypeIntoCell(radius, 1, 1, QStringLiteral("15"));
  TypeIntoCell(radius, 2, 1, QStringLiteral("19"));
  TypeIntoCell(radius, 3, 1, QStringLiteral("2"));
  CloseAndFlush(dlg, 1);

  const CArcSetRadius& set = Condition().setRadius;
  EXPECT_EQ(&Condition(), static_cast<CArcCondition*>(&Case().GetResStab()));
  EXPECT_EQ(Condition().kind, kArcSetRadius);
  EXPECT_EQ(set.mesh.x1, 10);
  EXPECT_EQ(set.mesh.x2, 20);
  EXPECT_EQ(set.mesh.dy, 2);
  EXPECT_EQ(set.rMin, 15);
  EXPECT_EQ(set.rMax, 19);
  EXPECT_EQ(set.rStep, 2);
  EXPECT_EQ(set.mesh.GetSizeX(), 3);
  EXPECT_EQ(set.mesh.GetSizeY(), 3);
  EXPECT_EQ(Case().GetArcChanged(), 1);
  EXPECT_FALSE(Case().IsModified());  // the condition is not stored
}

// Each page shows its own set, the valid range the limit and the statics the line counts; the five
// pages and the section with the condition drawn on it are photographed.
TEST_F(Step2ArcTest, EveryPageShowsItsSetAndTheViewDrawsTheCondition) {
  FillEveryKind(Condition());
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  struct Shown {
    int kind;
    int id;
    int col;
    int row;
    const char* text;
  };
  const Shown pages[] = {
      {kArcSetRadius, 5235, 2, 1, "19.0000"}, {kArcSetDepth, 5236, 1, 1, "2.0000"},
      {kArcSetPass1, 5235, 1, 2, "8.0000"},   {kArcSetPass2, 5239, 2, 1, "25.0000"},
      {kArcSetPass3, 5239, 2, 2, "12.0000"},
  };
  for (const Shown& page : pages) {
    SelectTab(*dlg, page.kind);
    EXPECT_EQ(GridOf(dlg->Page(page.kind), page.id).Text(page.col, page.row),
              QString::fromUtf8(page.text));
    if (page.kind != kArcSetPass2) {
      EXPECT_EQ(GridOf(dlg->Page(page.kind), 5232).Text(3, 2), QStringLiteral("2.0000"));
    }
    SaveShot(*dlg, "CCmdStabArcDlg_type" + std::to_string(page.kind + 1));
  }
  EXPECT_EQ(Ctl<CExpEdit>(dlg->Page(kArcSetPass3), 5237)->text(), QStringLiteral("0.500"));
  EXPECT_EQ(Ctl<CSheetGrid>(*dlg, 5274)->Text(3, 1), QStringLiteral("30.0000"));
  EXPECT_EQ(Ctl<QLabel>(*dlg, 5280)->text(), QStringLiteral(" 1本"));
  EXPECT_EQ(Ctl<QLabel>(*dlg, 5279)->text(), QStringLiteral(" 1本"));

  SelectTab(*dlg, kArcSetRadius);
  QWidget& view = p_.Frame().View();
  const QImage withCondition = view.grab().toImage();
  SaveShot(view, "CCmdStabArcDlg_view");
  CloseAndFlush(dlg, 2);
  p_.Send(FrameMsg::WM_APP_REDRAW);
  EXPECT_NE(view.grab().toImage(), withCondition);  // drawn only while the dialog is open
}

// After OK a repeat search examines exactly the centres and radii typed: the 3 × 3 centres of the
// mesh in row order, and circle for circle what a loop over those centres and the radii 15, 17,
// 19 finds searching each circle alone.
TEST_F(Step2ArcTest, ASearchAfterOkExaminesExactlyTheTypedCentresAndRadii) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  SelectTab(*dlg, kArcSetRadius);
  TypeCentresAndRadii(*dlg);
  CloseAndFlush(dlg, 1);

  const std::unique_ptr<CRepMesh> mesh = Search(Case().GetResStab());
  ASSERT_EQ(mesh->GetSizeX(), 3);
  ASSERT_EQ(mesh->GetSizeY(), 3);
  std::vector<KeptCircle> loop;
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) {
      const double x = 10 + 5 * i;
      const double y = 20 + 2 * j;
      EXPECT_EQ(mesh->GetRepPoint(i, j)->GetCenter().x, x);
      EXPECT_EQ(mesh->GetRepPoint(i, j)->GetCenter().y, y);
      for (const double r : {15.0, 17.0, 19.0}) {
        CResStab alone;
        SetOneCircle(alone, x, y, r);
        for (const KeptCircle& c : KeptCirclesOf(*Search(alone))) loop.push_back(c);
      }
    }
  }
  const std::vector<KeptCircle> searched = KeptCirclesOf(*mesh);
  ASSERT_GT(searched.size(), 9u);
  EXPECT_EQ(searched, loop);
}

// Clicks in the view fill the centre grid's start, then its end, then its start again, with the
// marked column following; rounding follows the quantity code of the target grid.
TEST_F(Step2ArcTest, ViewClicksFillTheTargetGridAndFollowTheMark) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CSheetGrid& centre = GridOf(dlg->Page(0), 5232);
  EXPECT_EQ(dlg->MouseTarget(), 1);  // from the opening on
  EXPECT_EQ(Header(centre, 1), QStringLiteral("開始 *"));
  Ctl<QCheckBox>(*dlg, 5259)->click();  // マウス入力
  dlg->SetMouseTarget(CCmdStabArcTypeDlg::kTargetNone);
  p_.ClickView({379, 335});  // (12, 10): no grid is the target
  EXPECT_EQ(centre.Text(1, 1), QString());
  EXPECT_EQ(Condition().setRadius.mesh.x1, kNoValue);

  TargetGrid(*dlg, 0, 5232);
  EXPECT_EQ(dlg->MouseTarget(), 1);
  EXPECT_EQ(centre.Text(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
            QStringLiteral("ﾏｳｽ可"));
  EXPECT_EQ(Header(centre, 1), QStringLiteral("開始 *"));
  EXPECT_EQ(centre.BackColor(1, 1), kMarked);

  p_.ClickView({379, 335});  // (12, 10)
  EXPECT_EQ(centre.Text(1, 1), QStringLiteral("12.0000"));
  EXPECT_EQ(centre.Text(1, 2), QStringLiteral("10.0000"));
  EXPECT_EQ(Header(centre, 2), QStringLiteral("終了 *"));
  EXPECT_EQ(Header(centre, 1), QStringLiteral("開始"));
  EXPECT_EQ(centre.BackColor(2, 2), kMarked);
  EXPECT_EQ(centre.BackColor(1, 2), kWhite);
  p_.ClickView({421, 300});  // (18, 15)
  EXPECT_EQ(centre.Text(2, 1), QStringLiteral("18.0000"));
  p_.ClickView({400, 370});  // (15, 5): the start again
  EXPECT_EQ(centre.Text(1, 1), QStringLiteral("15.0000"));
  EXPECT_EQ(Condition().setRadius.mesh.y1, 5);
  EXPECT_EQ(Condition().setRadius.mesh.x1, 15);
  EXPECT_EQ(Condition().setRadius.mesh.x2, 18);

  // The end corner follows the mouse: the band is drawn inverted over the picture, from the fixed
  // start corner (15, 5) at device (400, 370) to the mouse, in logical pixels at any scale; a move
  // on and back takes each band away pixel for pixel; the end of the drag and a redraw give the
  // picture back.
  QWidget& view = p_.Frame().View();
  SetHandMapping(view, Case().GetViewInfo());
  const QImage before = view.grab().toImage();
  MoveMouse({442, 250});
  const QImage during = view.grab().toImage();
  // A rectangle's outline leaves out its right and bottom edges.
  EXPECT_TRUE(WithinAPixel(ChangedArea(before, during), QRect(400, 250, 42, 120)));
  MoveMouse({430, 280});
  EXPECT_TRUE(WithinAPixel(ChangedArea(before, view.grab().toImage()), QRect(400, 280, 30, 90)));
  MoveMouse({442, 250});
  EXPECT_EQ(view.grab().toImage(), during);
  Case().ResetMouseMove();
  p_.Send(FrameMsg::WM_APP_REDRAW);
  EXPECT_EQ(view.grab().toImage(), before);

  struct Rounding {
    int kind;
    int gridId;
    int target;
    bool roundOn;
    CDPoint click;
    const char* x;
    const char* y;
  };
  const CUnitFilter saved = CCoreConfig::GetUnitFilter();
  CUnitFilter rules = saved;  // code 231 with 0 decimals
  rules.digits231 = 0;
  const Rounding cases[] = {
      {kArcSetRadius, 5232, 1, true, {12.345, 30.678}, "12.0000", "31.0000"},
      {kArcSetRadius, 5232, 1, false, {12.345, 30.678}, "12.3450", "30.6780"},
      // The pass point: code 993, 3 decimals half up.
      {kArcSetPass1, 5235, 2, true, {12.3456, 30.6784}, "12.3460", "30.6780"},
      {kArcSetPass2, 5239, 1, true, {12.345, 30.678}, "12.3450", "30.6780"},
      {kArcSetPass2, 5239, 1, false, {12.3456, 30.6784}, "12.3460", "30.6780"},
  };
  for (const Rounding& c : cases) {
    rules.roundSwitch = c.roundOn ? 1 : 0;
    CCoreConfig::SetUnitFilter(rules);
    SelectTab(*dlg, c.kind);
    TargetGrid(*dlg, c.kind, c.gridId);
    ASSERT_EQ(dlg->MouseTarget(), c.target);
    CSheetGrid& grid = GridOf(dlg->Page(c.kind), c.gridId);
    const int col = grid.ActiveCol() == 2 ? 2 : 1;
    p_.Stage().SetPointArcDlg(c.click.x, c.click.y);
    EXPECT_EQ(grid.Text(col, 1), QString::fromUtf8(c.x)) << c.kind << c.roundOn;
    EXPECT_EQ(grid.Text(col, 2), QString::fromUtf8(c.y)) << c.kind << c.roundOn;
  }
  CCoreConfig::SetUnitFilter(saved);
  CloseAndFlush(dlg, 2);
}

// Switching tabs, typing and clicking change the condition at once; キャンセル puts back the kind,
// the values, the limit, both line lists and every stratum switch.
TEST_F(Step2ArcTest, CancelRestoresTheConditionAndTheStrata) {
  Condition().setRadius.rMin = 3;
  CArcCondition opened;
  opened.Copy(&Condition());
  const std::vector<CSpStratumBlock*> strata = Strata();
  ASSERT_FALSE(strata.empty());
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  SelectTab(*dlg, kArcSetPass3);
  EXPECT_EQ(Condition().kind, kArcSetPass3);
  TypeIntoCell(GridOf(dlg->Page(4), 5232), 1, 1, QStringLiteral("4"));
  ClickCell(*Ctl<CSheetGrid>(*dlg, 5229), 1, 1);
  ClickCell(*Ctl<CSheetGrid>(*dlg, 5274), 1, 1);
  TypeIntoCell(*Ctl<CSheetGrid>(*dlg, 5274), 2, 1, QStringLiteral("8"));
  EnterLine(*dlg, 5277);
  EnterLine(*dlg, 5278);
  EXPECT_EQ(Condition().passLine.GetLines().GetSize(), 1);
  EXPECT_EQ(Condition().notPassLine.GetLines().GetSize(), 1);
  CloseAndFlush(dlg, 2);
  EXPECT_TRUE(Condition().IsSame(&opened));
  for (const CSpStratumBlock* stratum : strata) EXPECT_EQ(stratum->GetPropPtr()->GetExtra(), 0);
  EXPECT_FALSE(Case().IsModified());
  EXPECT_EQ(Case().GetArcChanged(), 0);
}

// The same キャンセル on the case divided into blocks and holding step-2 results leaves the blocks'
// shapes intact: step 2 redraws and its stability runs afterwards.
TEST_F(Step2ArcTest, CancelOnADividedCaseWithResultsKeepsStep2Working) {
  const int blocks = Case().GetBlockList().GetBlockSize();
  ASSERT_GT(blocks, 3);
  ASSERT_FALSE(Case().GetResStab2().GetSerial().empty());
  CArcCondition opened;
  opened.Copy(&Condition());
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  SelectTab(*dlg, kArcSetPass2);
  CSheetGrid& strata = *Ctl<CSheetGrid>(*dlg, 5229);
  for (int row = 1; row <= strata.MaxRows(); ++row) ClickCell(strata, 1, row);
  CloseAndFlush(dlg, 2);
  EXPECT_TRUE(Condition().IsSame(&opened));
  EXPECT_FALSE(Case().IsModified());

  p_.Send(FrameMsg::WM_APP_STAGE2);
  p_.Send(FrameMsg::WM_APP_REDRAW);
  ExpectModal<CCmdStabMultiFsDlg>([](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QTest::mouseClick(Ctl<QPushButton>(d, 5256), Qt::LeftButton);  // 計算開始
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  p_.ClickFlowButton(1, 1033);
  EXPECT_EQ(static_cast<int>(Case().GetResStab2().GetSerial().size()), blocks * (blocks - 1) / 2);
  EXPECT_TRUE(Condition().IsSame(&opened));
}

// The valid range as the search reads it: a lone bound keeps its side, two bounds are stored
// ascending, and the switch column locks and unlocks the row's values.
TEST_F(Step2ArcTest, TheValidRangeKeepsALoneBoundAndLocksWithItsSwitch) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CSheetGrid& range = *Ctl<CSheetGrid>(*dlg, 5274);
  EXPECT_TRUE(range.Lock(2, 1));
  ClickCell(range, 1, 1);
  EXPECT_FALSE(range.Lock(2, 1));
  EXPECT_EQ(Condition().limit.xOn, 1);

  // Trial surfaces 1 wide whose left ends lie at x 3 and at x 7.
  const auto surface = [](double left) {
    auto work = std::make_unique<CSpSlideWork>();
    for (const CDPoint& p : {CDPoint(left, 4), CDPoint(left + 0.5, 2), CDPoint(left + 1, 4)}) {
      work->AddNewPoint(p, nullptr, 0);
    }
    return work;
  };
  const std::unique_ptr<CSpSlideWork> leftAt3 = surface(3);
  const std::unique_ptr<CSpSlideWork> leftAt7 = surface(7);
  struct Typed {
    const char* min;
    const char* max;
    double storedMin;
    double storedMax;
    bool admitsLeftAt3;
    bool admitsLeftAt7;
  };
  const Typed cases[] = {
      {"5", "", 5, kNoValue, false, true},
      {"", "5", kNoValue, 5, true, false},
      {"8", "3", 3, 8, true, true},
  };
  for (const Typed& c : cases) {
    SCOPED_TRACE(std::string(c.min) + " / " + c.max);
    TypeIntoCell(range, 2, 1, QString());
    TypeIntoCell(range, 3, 1, QString());
    TypeIntoCell(range, 2, 1, QString::fromUtf8(c.min));
    TypeIntoCell(range, 3, 1, QString::fromUtf8(c.max));
    const CArcLimit& limit = Condition().limit;
    EXPECT_EQ(limit.xMin, c.storedMin);
    EXPECT_EQ(limit.xMax, c.storedMax);
    EXPECT_EQ(limit.Admits(*leftAt3), c.admitsLeftAt3);
    EXPECT_EQ(limit.Admits(*leftAt7), c.admitsLeftAt7);
  }
  ClickCell(range, 1, 1);
  EXPECT_TRUE(range.Lock(2, 1));
  EXPECT_EQ(Condition().limit.xOn, 0);
  EXPECT_TRUE(Condition().limit.Admits(*leftAt3));
  CloseAndFlush(dlg, 2);
}

// A stratum marked 不通過 is stored with the ground: OK marks the case modified and in use, the
// switch survives Save As and reopening, and the search refuses a circle whose slices stand on it.
TEST_F(Step2ArcTest, AStratumSwitchIsStoredAndRefusesCirclesOnTheStratum) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  ClickCell(*Ctl<CSheetGrid>(*dlg, 5229), 1, 1);
  // The opening condition has no values: the search could not run it.
  TestUi().ExpectMessageBox(MsgResult::Ok);
  Press(*dlg, 1);
  ASSERT_FALSE(dlg.isNull());
  TypeCentresAndRadii(*dlg);
  CloseAndFlush(dlg, 1);
  EXPECT_EQ(Strata().front()->GetPropPtr()->GetExtra(), 1);
  EXPECT_TRUE(Case().IsModified());
  EXPECT_EQ(Case().GetInUse(), 1);
  // One trial circle whose slices stand on the first stratum.
  SetOneCircle(Condition(), 10, 18, 14);
  EXPECT_TRUE(KeptCirclesOf(*Search(Case().GetResStab())).empty());

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "arc-strata.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));
  EXPECT_EQ(Strata().front()->GetPropPtr()->GetExtra(), 1);

  // The condition is not stored; the stratum is unmarked again in the dialog.
  SetOneCircle(Condition(), 10, 18, 14);
  EXPECT_TRUE(KeptCirclesOf(*Search(Case().GetResStab())).empty());
  dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  ClickCell(*Ctl<CSheetGrid>(*dlg, 5229), 1, 1);
  CloseAndFlush(dlg, 1);
  EXPECT_EQ(Strata().front()->GetPropPtr()->GetExtra(), 0);
  EXPECT_EQ(KeptCirclesOf(*Search(Case().GetResStab())).size(), 1u);
}

// Sets the search cannot run are refused at OK with a message naming the grid; the dialog stays.
TEST_F(Step2ArcTest, SettingsTheSearchCannotRunAreRefusedAtOk) {
  struct Refusal {
    int kind;
    std::vector<std::pair<int, std::vector<const char*>>> grids;  // grid id, cells row by row
    const char* message;
  };
  const Refusal cases[] = {
      {kArcSetRadius,
       {{5232, {"10", "20", "5", "20", "24", "2"}}, {5235, {"15", "19", "0"}}},
       "[円弧半径の範囲] のピッチには 0 より大きい値を設定して下さい。"},
      {kArcSetRadius,
       {{5232, {"10", "20", "5", "20", "24", "2"}}, {5235, {"", "", "2"}}},
       "[円弧半径の範囲] の開始と終了が正しくありません。"},
      {kArcSetPass2,
       {{5239, {"1", "1.00005", "2", "2"}}, {5235, {"5", "9", "1"}}},
       "[円弧通過点] の2点が同じ位置にあります。"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.message);
    QPointer<CCmdStabArcDlg> dlg = Open();
    ASSERT_FALSE(dlg.isNull());
    SelectTab(*dlg, c.kind);
    for (const auto& [id, cells] : c.grids) {
      CSheetGrid& grid = GridOf(dlg->Page(c.kind), id);
      const int cols = grid.MaxCols();
      for (std::size_t i = 0; i < cells.size(); ++i) {
        TypeIntoCell(grid, static_cast<int>(i) % cols + 1, static_cast<int>(i) / cols + 1,
                     QString::fromUtf8(cells[i]));
      }
    }
    TestUi().ExpectMessageBox(MsgResult::Ok, std::string(c.message));
    Press(*dlg, 1);
    EXPECT_FALSE(dlg.isNull());
    EXPECT_TRUE(p_.Stage().IsArcDlg());
    CloseAndFlush(dlg, 2);
  }
}

// 0..1000 by 0.001 in both directions is refused when the edit ends; the mesh keeps its size.
TEST_F(Step2ArcTest, AMeshOfTooManyCentresIsRefusedWhenTheEditEnds) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CSheetGrid& centre = GridOf(dlg->Page(0), 5232);
  const char* values[] = {"0", "10", "5", "0", "10", "5"};
  for (int i = 0; i < 6; ++i) TypeIntoCell(centre, i % 3 + 1, i / 3 + 1, values[i]);
  EXPECT_EQ(Condition().setRadius.mesh.GetSizeX(), 3);
  TypeIntoCell(centre, 2, 1, QStringLiteral("1000"));
  TypeIntoCell(centre, 2, 2, QStringLiteral("1000"));
  EXPECT_EQ(Condition().setRadius.mesh.GetSizeX(), 201);
  for (int row = 1; row <= 2; ++row) {
    TestUi().ExpectMessageBox(MsgResult::Ok);
    TypeIntoCell(centre, 3, row, QStringLiteral("0.001"));
    EXPECT_EQ(centre.Text(3, row), QStringLiteral("5.0000"));
  }
  EXPECT_EQ(Condition().setRadius.mesh.dx, 5);
  EXPECT_EQ(Condition().setRadius.mesh.dy, 5);
  EXPECT_EQ(Condition().setRadius.mesh.GetSizeX(), 201);
  EXPECT_EQ(Condition().setRadius.mesh.GetSizeY(), 201);
  CloseAndFlush(dlg, 2);
}

// 通過線 hides the condition dialog and opens the line dialog; two view clicks fill a line and
// move to the next row; OK drops the line whose end is unset and the count shows " 1本";
// キャンセル puts the lines back.
TEST_F(Step2ArcTest, PassLinesAreClickedInTheViewAndCounted) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  Press(*dlg, 5277);
  EXPECT_FALSE(dlg->isVisible());
  const QList<CCmdStabArcPasslineDlg*> lines = p_.Frame().findChildren<CCmdStabArcPasslineDlg*>();
  ASSERT_EQ(lines.size(), 1);
  QPointer<CCmdStabArcPasslineDlg> lineDlg = lines.front();
  EXPECT_EQ(lineDlg->windowTitle(), QStringLiteral("通過線"));
  EXPECT_TRUE(p_.Stage().IsArcPassDlg());
  EXPECT_TRUE(p_.Stage().IsDlgMode());
  ASSERT_TRUE(ShowActive(*lineDlg));
  CSheetGrid& grid = *Ctl<CSheetGrid>(*lineDlg, 5282);
  EXPECT_EQ(grid.ActiveCol(), 1);
  p_.ClickView({379, 335});  // (12, 10)
  p_.ClickView({421, 300});  // (18, 15)
  EXPECT_EQ(grid.Text(1, 1), QStringLiteral("12.0000"));
  EXPECT_EQ(grid.Text(4, 1), QStringLiteral("15.0000"));
  EXPECT_EQ(grid.ActiveRow(), 2);
  EXPECT_EQ(grid.ActiveCol(), 1);
  p_.ClickView({400, 370});  // (15, 5): the start of a second line, whose end stays unset
  EXPECT_EQ(grid.ActiveCol(), 3);

  ExpectModal<QColorDialog>([](QColorDialog& colours) {
    colours.setCurrentColor(QColor(10, 20, 30));
    colours.accept();
  });
  CSheetGrid& colour = *Ctl<CSheetGrid>(*lineDlg, 5275);
  const QRect cell = colour.visualRect(colour.model()->index(0, 0));
  QTest::mouseClick(colour.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  QTest::mouseDClick(colour.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(Condition().passLine.GetColor(), Color::Rgb(10, 20, 30));
  SaveShot(*lineDlg, "CCmdStabArcPasslineDlg");

  Press(*lineDlg, 1);
  FlushDeletes();
  EXPECT_TRUE(lineDlg.isNull());
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(Condition().passLine.GetLines().GetSize(), 1);
  EXPECT_EQ(Ctl<QLabel>(*dlg, 5280)->text(), QStringLiteral(" 1本"));
  p_.ExpectWorkPanesEnabled(false);

  Press(*dlg, 5278);
  QPointer<CCmdStabArcPasslineDlg> notPass =
      p_.Frame().findChildren<CCmdStabArcPasslineDlg*>().value(0);
  ASSERT_FALSE(notPass.isNull());
  EXPECT_EQ(notPass->windowTitle(), QStringLiteral("不通過線"));
  ASSERT_TRUE(ShowActive(*notPass));
  p_.ClickView({379, 335});
  Press(*notPass, 2);
  FlushDeletes();
  EXPECT_EQ(Condition().notPassLine.GetLines().GetSize(), 0);
  EXPECT_EQ(Ctl<QLabel>(*dlg, 5279)->text(), QStringLiteral(" なし"));
  CloseAndFlush(dlg, 2);
  EXPECT_EQ(Condition().passLine.GetLines().GetSize(), 0);  // the condition's キャンセル
}

// Keys over every page's grids: Enter walks the cells (right, then the next row, then back to row
// 1), and on a two-point grid that is the mouse target the mark, which names the column the next
// click fills, follows the active column; Escape closes nothing; Enter on a check box moves on to
// the next control.
TEST_F(Step2ArcTest, EnterWalksEveryGridAndTheMarkFollows) {
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  struct PageGrid {
    int kind;
    int id;
    int target;                         // the mouse target the grid becomes; 0 for none
    std::array<const char*, 2> marked;  // the headers of the marked first and second column
  };
  const PageGrid grids[] = {
      {kArcSetRadius, 5232, 1, {"開始 *", "終了 *"}},
      {kArcSetRadius, 5235, 0, {}},
      {kArcSetDepth, 5232, 1, {"開始 *", "終了 *"}},
      {kArcSetDepth, 5236, 0, {}},
      {kArcSetPass1, 5232, 1, {"開始 *", "終了 *"}},
      {kArcSetPass1, 5235, 2, {}},  // one point: nothing to follow
      {kArcSetPass2, 5239, 1, {"通過① *", "通過② *"}},
      {kArcSetPass2, 5235, 0, {}},
      {kArcSetPass3, 5232, 1, {"開始 *", "終了 *"}},
      {kArcSetPass3, 5239, 2, {"1点目*", "2点目*"}},
  };
  for (const PageGrid& g : grids) {
    SCOPED_TRACE(g.id + 10 * g.kind);
    SelectTab(*dlg, g.kind);
    CSheetGrid& grid = GridOf(dlg->Page(g.kind), g.id);
    if (g.target != 0) {
      TargetGrid(*dlg, g.kind, g.id);
      ASSERT_EQ(dlg->MouseTarget(), g.target);
    }
    grid.setFocus();
    grid.SetActiveCell(1, 1);
    const int cols = grid.MaxCols();
    const int cells = cols * grid.MaxRows();
    int markedCol = 1;
    for (int step = 1; step <= cells; ++step) {
      QTest::keyClick(&grid, Qt::Key_Return);
      const int cell = step % cells;  // in row order, back to the first
      ASSERT_EQ(grid.ActiveCol(), cell % cols + 1);
      ASSERT_EQ(grid.ActiveRow(), cell / cols + 1);
      if (g.marked[0] == nullptr) continue;
      if (grid.ActiveCol() <= 2) markedCol = grid.ActiveCol();  // the pitch column keeps the mark
      EXPECT_EQ(Header(grid, markedCol), QString::fromUtf8(g.marked[markedCol - 1]));
      EXPECT_EQ(grid.BackColor(markedCol, 1), kMarked);
      EXPECT_EQ(grid.BackColor(3 - markedCol, 1), kWhite);
    }
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
  }

  QCheckBox* mouse = Ctl<QCheckBox>(*dlg, 5259);
  mouse->setFocus();
  QTest::keyClick(mouse, Qt::Key_Return);
  EXPECT_NE(QApplication::focusWidget(), mouse);  // on to the next control
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());
  CloseAndFlush(dlg, 2);
}

// Delete empties the selected cell of every grid. Where the values are drawn (the centre ranges,
// the pass points, the pass range, the valid range and the lines) it also stores the grid into
// the condition and redraws once; the radius and depth grids keep the value in the condition
// until the next store.
TEST_F(Step2ArcTest, DeleteClearsEveryGridAndStoresTheDrawnOnes) {
  FillEveryKind(Condition());
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  constexpr int kDialog = -1;  // a grid of the dialog itself, not of a page
  struct Cleared {
    int kind;
    int id;
    int col;
    int row;
    double (*value)(const CArcCondition&);
    bool stores;
  };
  const Cleared cases[] = {
      {kArcSetRadius, 5232, 1, 1, [](const CArcCondition& c) { return c.setRadius.mesh.x1; }, true},
      {kArcSetRadius, 5235, 2, 1, [](const CArcCondition& c) { return c.setRadius.rMax; }, false},
      {kArcSetDepth, 5232, 2, 2, [](const CArcCondition& c) { return c.setDepth.mesh.y2; }, true},
      {kArcSetDepth, 5236, 3, 1, [](const CArcCondition& c) { return c.setDepth.rStep; }, false},
      {kArcSetPass1, 5232, 3, 1, [](const CArcCondition& c) { return c.setPass1.mesh.dx; }, true},
      {kArcSetPass1, 5235, 1, 2, [](const CArcCondition& c) { return c.setPass1.pass.y; }, true},
      {kArcSetPass2, 5239, 2, 1, [](const CArcCondition& c) { return c.setPass2.pointB.x; }, true},
      {kArcSetPass2, 5235, 1, 1, [](const CArcCondition& c) { return c.setPass2.radiusFrom; },
       false},
      {kArcSetPass3, 5232, 1, 2, [](const CArcCondition& c) { return c.setPass3.mesh.y1; }, true},
      {kArcSetPass3, 5239, 2, 2, [](const CArcCondition& c) { return c.setPass3.p2.y; }, true},
      {kDialog, 5274, 3, 1, [](const CArcCondition& c) { return c.limit.xMax; }, true},
  };
  for (const Cleared& c : cases) {
    SCOPED_TRACE(c.id + 10 * c.kind);
    if (c.kind != kDialog) SelectTab(*dlg, c.kind);
    CSheetGrid& grid =
        c.kind == kDialog ? *Ctl<CSheetGrid>(*dlg, 5274) : GridOf(dlg->Page(c.kind), c.id);
    const double before = c.value(Condition());
    ASSERT_NE(before, kNoValue);
    grid.setFocus();
    grid.SetActiveCell(c.col, c.row);
    const std::vector<FrameMessage> sent = SentBy([&] { QTest::keyClick(&grid, Qt::Key_Delete); });
    EXPECT_EQ(grid.Text(c.col, c.row), QString());
    EXPECT_EQ(c.value(Condition()), c.stores ? kNoValue : before);
    EXPECT_EQ(Redraws(sent), c.stores ? 1 : 0);
  }

  Press(*dlg, 5277);
  QPointer<CCmdStabArcPasslineDlg> lineDlg =
      p_.Frame().findChildren<CCmdStabArcPasslineDlg*>().value(0);
  ASSERT_FALSE(lineDlg.isNull());
  CSheetGrid& lines = *Ctl<CSheetGrid>(*lineDlg, 5282);
  lines.setFocus();
  lines.SetActiveCell(3, 1);
  const std::vector<FrameMessage> sent = SentBy([&] { QTest::keyClick(&lines, Qt::Key_Delete); });
  EXPECT_EQ(lines.Text(3, 1), QString());
  EXPECT_EQ(Condition().passLine.GetLines().GetAt(0)->end.x, kNoValue);
  EXPECT_EQ(Redraws(sent), 1);
  Press(*lineDlg, 2);
  FlushDeletes();
  CloseAndFlush(dlg, 2);
}

// Closing the main window while the line dialog is open cancels both dialogs, the condition and
// its lines as on opening, and then asks to save the document; no dialog is left. (The test
// listener checks at the end that no top-level widget outlives the program.)
TEST_F(Step2ArcTest, ClosingTheMainWindowCancelsBothDialogsThenAsksToSave) {
  CArcCondition opened;
  opened.Copy(&Condition());
  Case().SetModify(true);  // a change made before
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  SelectTab(*dlg, kArcSetPass1);
  Press(*dlg, 5277);
  QPointer<CCmdStabArcPasslineDlg> lineDlg =
      p_.Frame().findChildren<CCmdStabArcPasslineDlg*>().value(0);
  ASSERT_FALSE(lineDlg.isNull());
  p_.ClickView({379, 335});
  p_.ClickView({421, 300});
  TestUi().ExpectMessageBox(MsgResult::No, "データの内容が更新されています。保存しますか？");
  EXPECT_TRUE(p_.Frame().close());
  TestUi().VerifyAllAnswered();
  FlushDeletes();
  EXPECT_TRUE(dlg.isNull());
  EXPECT_TRUE(lineDlg.isNull());
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    EXPECT_EQ(qobject_cast<const QDialog*>(window), nullptr) << window->metaObject()->className();
  }
  EXPECT_TRUE(Condition().IsSame(&opened));
  EXPECT_FALSE(Case().IsMouseEdit());
}

// Each dialog ends through the frame with OK, キャンセル and the title bar's close: the line
// dialog gives the condition dialog back, the condition dialog the work panes. Afterwards mouse
// input is off and a mouse move over the view changes no pixel.
TEST_F(Step2ArcTest, EachDialogEndsThroughTheFrame) {
  FillEveryKind(Condition());  // a set OK accepts
  using End = void (*)(QDialog&);
  const std::pair<const char*, End> ends[] = {
      {"OK", [](QDialog& d) { Press(d, 1); }},
      {"キャンセル", [](QDialog& d) { Press(d, 2); }},
      {"title bar", [](QDialog& d) { d.close(); }},
  };
  QWidget& view = p_.Frame().View();
  for (const auto& [name, end] : ends) {
    SCOPED_TRACE(name);
    QPointer<CCmdStabArcDlg> dlg = Open();
    ASSERT_FALSE(dlg.isNull());
    Press(*dlg, 5277);
    QPointer<CCmdStabArcPasslineDlg> lineDlg =
        p_.Frame().findChildren<CCmdStabArcPasslineDlg*>().value(0);
    ASSERT_FALSE(lineDlg.isNull());
    end(*lineDlg);
    FlushDeletes();
    EXPECT_TRUE(lineDlg.isNull());
    EXPECT_FALSE(p_.Stage().IsArcPassDlg());
    EXPECT_TRUE(dlg->isVisible());
    p_.ExpectWorkPanesEnabled(false);

    TargetGrid(*dlg, kArcSetRadius, 5232);
    const QImage drawn = view.grab().toImage();
    MoveMouse({300, 200});
    EXPECT_NE(view.grab().toImage(), drawn);  // the band follows the mouse
    end(*dlg);
    FlushDeletes();
    EXPECT_TRUE(dlg.isNull());
    EXPECT_FALSE(p_.Stage().IsArcDlg());
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_FALSE(Case().IsMouseEdit());
    const QImage closed = view.grab().toImage();
    MoveMouse({320, 220});
    EXPECT_EQ(view.grab().toImage(), closed);
  }
}

// An end typed below its start is stored ordered while the grid keeps the typed text; type 5's
// pitch left empty stores the unset pitch.
TEST_F(Step2ArcTest, AReversedRangeIsStoredOrderedAndAnEmptyPitchUnset) {
  FillEveryKind(Condition());
  QPointer<CCmdStabArcDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CSheetGrid& centre = GridOf(dlg->Page(kArcSetRadius), 5232);
  TypeIntoCell(centre, 2, 1, QStringLiteral("5"));
  EXPECT_EQ(Condition().setRadius.mesh.x1, 5);
  EXPECT_EQ(Condition().setRadius.mesh.x2, 10);
  EXPECT_EQ(centre.Text(1, 1), QStringLiteral("10.0000"));
  EXPECT_EQ(centre.Text(2, 1), QStringLiteral("5.0000"));

  SelectTab(*dlg, kArcSetPass3);
  TypeField(Ctl<CExpEdit>(dlg->Page(kArcSetPass3), 5237), QString());
  EXPECT_EQ(Condition().setPass3.step, kNoValue);
  CloseAndFlush(dlg, 2);
}

// A section without strata gives an empty strata grid; OK then compares only the condition.
TEST_F(Step2ArcTest, ASectionWithoutStrataComparesOnlyTheCondition) {
  p_.Send(FrameMsg::WM_APP_CASE_SELECT, 1);
  ASSERT_TRUE(Strata().empty());
  FillEveryKind(Condition());
  for (const bool changed : {false, true}) {
    SCOPED_TRACE(changed);
    QPointer<CCmdStabArcDlg> dlg = Open();
    ASSERT_FALSE(dlg.isNull());
    EXPECT_EQ(Ctl<CSheetGrid>(*dlg, 5229)->MaxRows(), 0);
    if (changed) TypeIntoCell(GridOf(dlg->Page(kArcSetRadius), 5235), 3, 1, QStringLiteral("1"));
    CloseAndFlush(dlg, 1);
    EXPECT_EQ(Case().GetArcChanged(), changed ? 1 : 0);
    EXPECT_FALSE(Case().IsModified());
  }
}

}  // namespace
