#include <gtest/gtest.h>

#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/model/SystemConfig.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

using Bar = CReinfStdBar;

const char* const kUnsavedQuestion =
    "データが更新されています。\n保存しない場合には、設定は破棄されます。\n\n保存しますか？";

constexpr int kLoad = 7304;
constexpr int kSave = 7298;
constexpr int kFactory = 7306;
constexpr int kAdd = 7300;
constexpr int kInsert = 7301;
constexpr int kDelete = 7302;

Bar MakeBar(const char* name, const char* kei, const char* remark, double d) {
  Bar bar;
  bar.name = name;
  bar.kei = kei;
  bar.remark = remark;
  bar.w = 3.04;
  bar.d = d;
  bar.as = 3.871;
  bar.drillD = 65.0;
  bar.sigmaSaN = 200.0;
  bar.sigmaSaQ = 300.0;
  return bar;
}

class StdBarTest : public ::testing::Test {
 protected:
  StdBarTest() {
    table_.comment = "試験用";
    table_.rows = {MakeBar("ネジ節棒鋼", "D22", "SD345", 22.0),
                   MakeBar("ネジ節棒鋼", "D25", "SD390", 25.0)};
  }

  static fs::path Home() { return fs::path(std::getenv("BRIXO_HOME")); }
  static CSheetGrid& Grid(CRefReinfStdBarDlg& d) { return *Ctl<CSheetGrid>(d, 7299); }
  static void Press(CRefReinfStdBarDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  // Runs the editor on the table with the script.
  bool Edit(std::function<void(CRefReinfStdBarDlg&)> script) {
    ExpectModal<CRefReinfStdBarDlg>([&script](CRefReinfStdBarDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      script(d);
    });
    return CRefReinfStdBarDlg::Run(table_, nullptr);
  }

  CRefReinf table_;
};

TEST_F(StdBarTest, TheEditorShowsTheTableAndClosesWithoutAskingWhenNothingChanged) {
  SystemConfig::SetLastReinf((Home() / "mine.sxr").string());
  EXPECT_FALSE(Edit([](CRefReinfStdBarDlg& d) {
    EXPECT_EQ(d.windowTitle(), "参考値：補強材の規格");
    EXPECT_TRUE(Ctl<QPushButton>(d, 1)->isHidden());
    EXPECT_EQ(Ctl<QPushButton>(d, 2)->text(), "閉じる");
    EXPECT_EQ(Ctl<CExpStatic>(d, 7362)->text(), "※腐食代を考慮した値を入力してください");
    EXPECT_EQ(Ctl<CExpEdit>(d, 7303)->text().toStdString(), (Home() / "mine.sxr").string());
    EXPECT_EQ(Ctl<CExpEdit>(d, 7305)->text(), "試験用");
    CSheetGrid& grid = Grid(d);
    ASSERT_EQ(grid.MaxRows(), 2);
    EXPECT_EQ(grid.Text(2, 2), "D25");
    EXPECT_EQ(grid.Text(5, 1), "3.871");
    EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow2), "常時");
    EXPECT_EQ(grid.Text(8, CSheetGrid::kHeaderRow2), "地震時");
    SaveShot(d, "CRefReinfStdBarDlg");
    Press(d, 2);
  }));
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

// Remarks, which the grid does not show, stay with their bar through an insert above it, a
// save and a reload.
TEST_F(StdBarTest, RemarksStayWithTheirBarThroughInsertSaveAndReload) {
  const fs::path file = Home() / "bars.sxr";
  EXPECT_FALSE(Edit([&](CRefReinfStdBarDlg& d) {
    CSheetGrid& grid = Grid(d);
    grid.SetActiveCell(1, 2);
    Press(d, kInsert);
    ASSERT_EQ(grid.MaxRows(), 3);
    TypeIntoCell(grid, 1, 2, "ibou");
    TypeIntoCell(grid, 8, 3, "");  // the seismic stress of D25 emptied
    TestUi().ExpectFileDialog(file);
    Press(d, kSave);
    EXPECT_EQ(Ctl<CExpEdit>(d, 7303)->text().toStdString(), file.string());
    Press(d, 2);  // saved: closing asks nothing
  }));
  ASSERT_EQ(table_.rows.size(), 3u);
  EXPECT_EQ(table_.rows[1].name, "ibou");
  EXPECT_EQ(table_.rows[1].remark, "");
  EXPECT_EQ(table_.rows[0].remark, "SD345");
  EXPECT_EQ(table_.rows[2].remark, "SD390");
  EXPECT_EQ(table_.rows[2].sigmaSaQ, kNoValue);
  EXPECT_EQ(SystemConfig::GetLastReinf(), file.string());

  CRefReinf reloaded;
  ASSERT_TRUE(reloaded.ReadReinf(file.string(), false));
  EXPECT_TRUE(reloaded.IsSame(table_));
}

TEST_F(StdBarTest, AddDeleteAndNoPutTheTableBack) {
  const struct {
    MsgResult answer;
    std::size_t rowsLeft;
  } cases[] = {{MsgResult::Ok, 2}, {MsgResult::Cancel, 3}};
  for (const auto& c : cases) {
    CRefReinf opened;
    opened.Copy(table_);
    EXPECT_FALSE(Edit([&](CRefReinfStdBarDlg& d) {
      CSheetGrid& grid = Grid(d);
      Press(d, kAdd);
      ASSERT_EQ(grid.MaxRows(), 3);
      EXPECT_EQ(grid.Text(1, 3), "");
      grid.SetActiveCell(1, 1);
      TestUi().ExpectMessageBox(c.answer, "「ネジ節棒鋼」 を削除してよろしいですか？");
      Press(d, kDelete);
      EXPECT_EQ(grid.MaxRows(), static_cast<int>(c.rowsLeft));
      TestUi().ExpectMessageBox(MsgResult::No, kUnsavedQuestion);
      Press(d, 2);
      EXPECT_EQ(TestUi().MessageBoxes().back().caption, "単価設定");
    }));
    EXPECT_TRUE(table_.IsSame(opened));
  }
}

// Yes saves into the last bar file, except into the default one, which is refused.
TEST_F(StdBarTest, ClosingQuestionSavesIntoTheLastFileButNeverTheDefault) {
  SystemConfig::SetLastReinf(SystemConfig::GetDefaultReinf());
  const fs::path file = Home() / "last.sxr";
  EXPECT_TRUE(Edit([&](CRefReinfStdBarDlg& d) {
    TypeIntoCell(Grid(d), 4, 2, "25.4");
    TestUi().ExpectMessageBox(MsgResult::Yes, kUnsavedQuestion);
    TestUi().ExpectMessageBox(MsgResult::Ok,
                              "このファイルは読み取り専用です。別のファイル名で保存してください。");
    Press(d, 2);
    EXPECT_TRUE(d.isVisible());
    SystemConfig::SetLastReinf(file.string());
    TestUi().ExpectMessageBox(MsgResult::Yes, kUnsavedQuestion);
    Press(d, 2);
  }));
  EXPECT_FALSE(fs::exists(SystemConfig::GetDefaultReinf()));
  CRefReinf saved;
  ASSERT_TRUE(saved.ReadReinf(file.string(), false));
  EXPECT_EQ(saved.rows[1].d, 25.4);
  EXPECT_EQ(saved.rows[1].remark, "SD390");
}

TEST_F(StdBarTest, FactoryDataIsWrittenToTheDefaultFile) {
  fs::create_directories(fs::path(SystemConfig::GetDefaultReinf()).parent_path());
  EXPECT_FALSE(Edit([](CRefReinfStdBarDlg& d) {
    TestUi().ExpectMessageBox(MsgResult::Ok, "補強材データを初期化してよろしいですか？");
    Press(d, kFactory);
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "補強材の設定");
    EXPECT_EQ(Grid(d).MaxRows(), 1);
    EXPECT_EQ(Grid(d).Text(4, 1), "21.2");
    Press(d, 2);  // written: closing asks nothing
  }));
  CRefReinf written;
  ASSERT_TRUE(written.ReadReinf(SystemConfig::GetDefaultReinf(), false));
  EXPECT_TRUE(written.IsSame(CRefReinf()));
}

// A save that cannot be written is reported by the writer, remembers no file and leaves the
// table unsaved, so that closing still asks. The file's folder is a plain file, which stops root
// as well.
TEST_F(StdBarTest, ASaveThatCannotBeWrittenIsReported) {
  const fs::path plainFile = Home() / "plain";
  WriteFileBytes(plainFile, "");
  const fs::path target = plainFile / "bars.sxr";
  CRefReinf opened;
  opened.Copy(table_);
  EXPECT_FALSE(Edit([&](CRefReinfStdBarDlg& d) {
    TypeIntoCell(Grid(d), 3, 1, "3.1");
    TestUi().ExpectFileDialog(target);
    TestUi().ExpectMessageBox(MsgResult::Ok);
    Press(d, kSave);
    EXPECT_EQ(TestUi().MessageBoxes().back().text.rfind("XML : ", 0), 0u);
    EXPECT_TRUE(Ctl<CExpEdit>(d, 7303)->text().isEmpty());
    TestUi().ExpectMessageBox(MsgResult::No, kUnsavedQuestion);
    Press(d, 2);
  }));
  EXPECT_TRUE(SystemConfig::GetLastReinf().empty());
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(table_.IsSame(opened));
}

// The picker shows a copy without the file and row buttons, hands back the active bar as typed
// and never changes the program's table.
TEST_F(StdBarTest, ThePickerHandsBackTheActiveBarAndLeavesTheTableAlone) {
  CRefReinf opened;
  opened.Copy(table_);
  ExpectModal<CRefReinfStdBarDlg>([](CRefReinfStdBarDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    for (const int hidden : {kLoad, kSave, kFactory, kAdd, kInsert, kDelete}) {
      EXPECT_TRUE(Ctl<QPushButton>(d, hidden)->isHidden()) << hidden;
    }
    EXPECT_EQ(Ctl<QPushButton>(d, 1)->text(), "代入");
    EXPECT_EQ(Ctl<QPushButton>(d, 2)->text(), "キャンセル");
    EXPECT_EQ(Ctl<CExpStatic>(d, 7362)->text(), "※腐食代を考慮した値");
    TypeIntoCell(Grid(d), 8, 2, "280");
    SaveShot(d, "CRefReinfStdBarDlg-pick");
    Press(d, 1);
  });
  const std::optional<Bar> picked = CRefReinfStdBarDlg::PickBar(table_, nullptr);
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->kei, "D25");
  EXPECT_EQ(picked->sigmaSaQ, 280.0);
  EXPECT_TRUE(table_.IsSame(opened));

  ExpectModal<CRefReinfStdBarDlg>([](CRefReinfStdBarDlg& d) { Press(d, 2); });
  EXPECT_FALSE(CRefReinfStdBarDlg::PickBar(table_, nullptr));
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

}  // namespace
