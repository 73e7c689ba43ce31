#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "core/model/PrmStab.h"
#include "core/stability/ResStab2.h"
#include "stage/output/ExportSelectDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

namespace fs = std::filesystem;

using ExportSelectDlgTest = SampleCaseTest;

std::vector<FrameMessage> CadRequests() {
  std::vector<FrameMessage> found;
  for (const FrameMessage& m : TestUi().FrameMessages()) {
    if (m.message == FrameMsg::WM_APP_EXPORT_CAD) found.push_back(m);
  }
  return found;
}

TEST_F(ExportSelectDlgTest, OpensOnTheLoadCasesThatAreOn) {
  const struct {
    int normalOn, quakeOn;
    bool quakeChosen;
  } cases[] = {{1, 1, false}, {1, 0, false}, {0, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.normalOn << c.quakeOn);
    Case().GetPrmStab().normalOn = c.normalOn;
    Case().GetPrmStab().quakeOn = c.quakeOn;
    CExportSelectDlg dlg(core_);
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 3123)->isChecked(), c.quakeChosen);
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 3121)->isEnabled(), c.normalOn != 0);
    EXPECT_EQ(Ctl<QCheckBox>(dlg, 3122)->isEnabled(), c.normalOn != 0);
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 3123)->isEnabled(), c.quakeOn != 0);
    EXPECT_EQ(Ctl<QCheckBox>(dlg, 3124)->isEnabled(), c.quakeOn != 0);
    if (c.quakeChosen) SaveShot(dlg, "CExportSelectDlg_seismic_only");
  }
}

// CAD 出力 stores both checks before it asks the frame for the CAD output of the linkage; Cancel
// stores nothing.
TEST_F(ExportSelectDlgTest, CadStoresTheChecksFirstAndCancelStoresNothing) {
  std::array<int, 2>& topArc = Case().GetResStab2().slideTopArc;
  topArc = {1, 0};
  {
    CExportSelectDlg dlg(core_);
    dlg.show();
    EXPECT_TRUE(Ctl<QCheckBox>(dlg, 3122)->isChecked());
    EXPECT_FALSE(Ctl<QCheckBox>(dlg, 3124)->isChecked());
    SaveShot(dlg, "CExportSelectDlg");
    Ctl<QCheckBox>(dlg, 3122)->setChecked(false);
    Ctl<QCheckBox>(dlg, 3124)->setChecked(true);
    QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
  }
  EXPECT_EQ(topArc, (std::array<int, 2>{1, 0}));
  EXPECT_TRUE(CadRequests().empty());

  CExportSelectDlg dlg(core_);
  dlg.show();
  Ctl<QCheckBox>(dlg, 3122)->setChecked(false);
  Ctl<QCheckBox>(dlg, 3124)->setChecked(true);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3120), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(topArc, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(CadRequests(), (std::vector<FrameMessage>{{FrameMsg::WM_APP_EXPORT_CAD, 1, 0}}));
}

TEST_F(ExportSelectDlgTest, XmlWritesTheTerrainFileOfTheChosenCase) {
  const fs::path file = fs::path(testing::TempDir()) / "linkage_terrain.xml";
  fs::remove(file);
  CExportSelectDlg dlg(core_);
  dlg.show();
  Ctl<QRadioButton>(dlg, 3123)->setChecked(true);
  TestUi().ExpectFileDialog(file);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 3119), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(fs::exists(file));
  fs::remove(file);
}

}  // namespace
