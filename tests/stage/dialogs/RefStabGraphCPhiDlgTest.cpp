#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "core/base/CoreConfig.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/dialogs/RefStabGraphCPhiDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

int Digit(int code) { return CCoreConfig::GetUnitFilter().Digit(code); }

// Whether the widget shows anything but white inside its frame.
bool DrawsSomething(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  for (int y = 2; y < image.height() - 2; ++y) {
    for (int x = 2; x < image.width() - 2; ++x) {
      if (image.pixelColor(x, y) != Qt::white) return true;
    }
  }
  return false;
}

class CPhiDlgTest : public SampleCaseTest {
 protected:
  CPhiDlgTest() {
    Case().GetPrmStab().gyakuOn = 1;
    EXPECT_TRUE(Case().PreCalcStabGyaku(false));
    Case().CalcStartStabGyaku();
  }
};

TEST_F(CPhiDlgTest, WithoutARegisteredPairTheFieldsAreEmpty) {
  CRefStabGraphCPhiDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "cφ関係図");
  for (const int id : {5294, 5484, 5372}) {
    EXPECT_TRUE(Ctl<CExpEdit>(dlg, id)->text().isEmpty()) << id;
    EXPECT_TRUE(Ctl<CExpEdit>(dlg, id)->isReadOnly()) << id;
  }
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);  // 閉じる
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(CPhiDlgTest, ShowsTheRegisteredPairAndItsFigure) {
  CResStab2& res = Case().GetResStabGyaku();
  ASSERT_FALSE(res.GetSerial().empty());
  CMltPoint* registered = *std::max_element(res.GetSerial().begin(), res.GetSerial().end(),
                                            [](const CMltPoint* a, const CMltPoint* b) {
                                              return dynamic_cast<const CMltPointGyaku&>(*a).c <
                                                     dynamic_cast<const CMltPointGyaku&>(*b).c;
                                            });
  registered->typicalN = 1;
  const auto& p = dynamic_cast<const CMltPointGyaku&>(*registered);
  res.adopted = {p.c, p.phi, p.tanPhi, kNoValue};
  CRefStabGraphCPhiDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(Ctl<CExpEdit>(dlg, 5294)->text().toStdString(), DblToText(Digit(161), p.phi));
  EXPECT_EQ(Ctl<CExpEdit>(dlg, 5484)->text().toStdString(), DblToText(Digit(162), p.tanPhi));
  EXPECT_EQ(Ctl<CExpEdit>(dlg, 5372)->text().toStdString(), DblToText(Digit(131), p.c));
  EXPECT_TRUE(DrawsSomething(*Ctl<QWidget>(dlg, 5483)));
  SaveShot(dlg, "CRefStabGraphCPhiDlg");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);  // OK
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
