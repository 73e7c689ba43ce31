#include <gtest/gtest.h>
#include <unistd.h>

#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/model/SystemConfig.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

using Row = CRefGeology::Row;

const char* const kUnsavedQuestion =
    "データが更新されています。\n保存しない場合には、設定は破棄されます。\n\n保存しますか？";

class GeologyListTest : public ::testing::Test {
 protected:
  GeologyListTest() {
    // Two soils carry the saturated values the grid does not show.
    table_.comment = "試験用";
    table_.rows = {
        Row{"表土", 18, 25, 10, 19, 23, 8},
        Row{"風化岩", 19, 30, 20, 20, 28, 15},
        Row{"砂質土", 19, 30, 30, 19, kNoValue, kNoValue},
    };
  }

  static fs::path Home() { return fs::path(std::getenv("BRIXO_HOME")); }
  static CSheetGrid& Grid(CRefCmnGeologyListDlg& d) { return *Ctl<CSheetGrid>(d, 4227); }
  static void Press(CRefCmnGeologyListDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  // Runs the editor on the table with the script.
  bool Edit(std::function<void(CRefCmnGeologyListDlg&)> script) {
    ExpectModal<CRefCmnGeologyListDlg>([&script](CRefCmnGeologyListDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      script(d);
    });
    return CRefCmnGeologyListDlg::Run(table_, nullptr);
  }

  CRefGeology table_;
};

TEST_F(GeologyListTest, TheEditorShowsTheTableWithCloseInsteadOfAssign) {
  SystemConfig::SetLastGeology((Home() / "mine.sxg").string());
  EXPECT_FALSE(Edit([](CRefCmnGeologyListDlg& d) {
    EXPECT_EQ(d.windowTitle(), "参考値：土質定数");
    EXPECT_TRUE(Ctl<QPushButton>(d, 1)->isHidden());
    EXPECT_EQ(Ctl<QPushButton>(d, 2)->text(), "閉じる");
    EXPECT_EQ(Ctl<CExpEdit>(d, 4255)->text().toStdString(), (Home() / "mine.sxg").string());
    EXPECT_EQ(Ctl<CExpEdit>(d, 4257)->text(), "試験用");
    CSheetGrid& grid = Grid(d);
    ASSERT_EQ(grid.MaxRows(), 3);
    EXPECT_EQ(grid.Text(1, 2), "風化岩");
    EXPECT_EQ(grid.Text(3, 2), "20.00");
    EXPECT_EQ(grid.Text(4, CSheetGrid::kHeaderRow), "内部\n摩擦角\n(°)");
    SaveShot(d, "CRefCmnGeologyListDlg");
    Press(d, 2);  // nothing changed: nothing asked
  }));
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

// The saturated values travel with their soil when a row is inserted above it, into the file
// and back.
TEST_F(GeologyListTest, HiddenValuesStayWithTheirSoilThroughInsertSaveAndReload) {
  const fs::path file = Home() / "soils.sxg";
  EXPECT_FALSE(Edit([&](CRefCmnGeologyListDlg& d) {
    CSheetGrid& grid = Grid(d);
    grid.SetActiveCell(1, 2);
    Press(d, 4220);
    ASSERT_EQ(grid.MaxRows(), 4);
    EXPECT_EQ(grid.Text(1, 3), "風化岩");
    TypeIntoCell(grid, 1, 2, "nendo");
    TestUi().ExpectFileDialog(file);
    Press(d, 4258);
    EXPECT_EQ(Ctl<CExpEdit>(d, 4255)->text().toStdString(), file.string());
    Press(d, 2);  // saved: closing asks nothing
  }));
  ASSERT_EQ(table_.rows.size(), 4u);
  EXPECT_EQ(table_.rows[1].name, "nendo");
  EXPECT_EQ(table_.rows[1].phiSat, kNoValue);
  EXPECT_EQ(table_.rows[2], (Row{"風化岩", 19, 30, 20, 20, 28, 15}));
  EXPECT_EQ(SystemConfig::GetLastGeology(), file.string());

  CRefGeology reloaded;
  ASSERT_TRUE(reloaded.ReadGeology(file.string(), false));
  ASSERT_EQ(reloaded.rows.size(), 4u);
  EXPECT_EQ(reloaded.rows[0], table_.rows[0]);
  EXPECT_EQ(reloaded.rows[2], (Row{"風化岩", 19, 30, 20, 20, 28, 15}));
}

TEST_F(GeologyListTest, AddAndDeleteKeepEveryOtherRowWhole) {
  const struct {
    MsgResult answer;
    std::size_t rowsLeft;
  } cases[] = {{MsgResult::Ok, 3}, {MsgResult::Cancel, 4}};
  for (const auto& c : cases) {
    CRefGeology opened;
    opened.Copy(table_);
    Edit([&](CRefCmnGeologyListDlg& d) {
      CSheetGrid& grid = Grid(d);
      Press(d, 4219);
      ASSERT_EQ(grid.MaxRows(), 4);
      EXPECT_EQ(grid.Text(1, 4), "");
      grid.SetActiveCell(1, 3);
      TestUi().ExpectMessageBox(c.answer, "「砂質土」 を削除してよろしいですか？");
      Press(d, 4221);
      EXPECT_EQ(TestUi().MessageBoxes().back().caption, "削除");
      EXPECT_EQ(grid.MaxRows(), static_cast<int>(c.rowsLeft));
      EXPECT_EQ(grid.Text(1, 2), "風化岩");
      TestUi().ExpectMessageBox(MsgResult::No, kUnsavedQuestion);
      Press(d, 2);
    });
    EXPECT_TRUE(table_.IsSame(opened));  // No puts the table back as it was opened
  }
}

// Yes saves into the last soil file, except into the default one, which is refused.
TEST_F(GeologyListTest, ClosingQuestionSavesIntoTheLastFileButNeverTheDefault) {
  SystemConfig::SetLastGeology(SystemConfig::GetDefaultGeology());
  const fs::path file = Home() / "last.sxg";
  EXPECT_TRUE(Edit([&](CRefCmnGeologyListDlg& d) {
    TypeIntoCell(Grid(d), 4, 3, "31");
    TestUi().ExpectMessageBox(MsgResult::Yes, kUnsavedQuestion);
    TestUi().ExpectMessageBox(MsgResult::Ok,
                              "このファイルは読み取り専用です。別のファイル名で保存してください。");
    Press(d, 2);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "土質設定");
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
    SystemConfig::SetLastGeology(file.string());
    TestUi().ExpectMessageBox(MsgResult::Yes, kUnsavedQuestion);
    Press(d, 2);
  }));
  EXPECT_EQ(TestUi().MessageBoxes().front().caption, "土質設定");
  EXPECT_FALSE(fs::exists(SystemConfig::GetDefaultGeology()));
  CRefGeology saved;
  ASSERT_TRUE(saved.ReadGeology(file.string(), false));
  EXPECT_EQ(saved.rows[2].phi, 31.0);
  EXPECT_EQ(saved.rows[0].cSat, 8.0);
}

// 保存, 初期値に戻す and Yes report a write that failed, remember nothing and leave the table
// unsaved, so that closing still asks. Each writes where a folder stands in the file's way.
TEST_F(GeologyListTest, AFailedWriteIsReportedAndTheTableStaysUnsaved) {
  const fs::path taken = Home() / "taken.sxg";
  fs::create_directories(taken);
  fs::create_directories(SystemConfig::GetDefaultGeology());
  const struct {
    const char* what;
    std::function<void(CRefCmnGeologyListDlg&)> write;
  } cases[] = {
      {"保存",
       [&](CRefCmnGeologyListDlg& d) {
         TestUi().ExpectFileDialog(taken);
         TestUi().ExpectMessageBox(MsgResult::Ok);
         Press(d, 4258);
         EXPECT_TRUE(SystemConfig::GetLastGeology().empty());
         EXPECT_TRUE(Ctl<CExpEdit>(d, 4255)->text().isEmpty());
       }},
      {"初期値に戻す",
       [](CRefCmnGeologyListDlg& d) {
         TestUi().ExpectMessageBox(MsgResult::Ok,
                                   "土質データを出荷時の設定に戻してよろしいですか？");
         TestUi().ExpectMessageBox(MsgResult::Ok);
         Press(d, 4259);
         EXPECT_EQ(Grid(d).MaxRows(), 17);
       }},
      {"Yes",
       [&](CRefCmnGeologyListDlg& d) {
         SystemConfig::SetLastGeology(taken.string());
         TestUi().ExpectMessageBox(MsgResult::Yes, kUnsavedQuestion);
         TestUi().ExpectMessageBox(MsgResult::Ok);
         Press(d, 2);
         EXPECT_TRUE(d.isVisible());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SystemConfig::ResetLastGeology();
    CRefGeology opened;
    opened.Copy(table_);
    EXPECT_FALSE(Edit([&](CRefCmnGeologyListDlg& d) {
      TypeIntoCell(Grid(d), 2, 1, "17");
      c.write(d);
      EXPECT_EQ(TestUi().MessageBoxes().back().text.rfind("XML : ", 0), 0u);
      TestUi().ExpectMessageBox(MsgResult::No, kUnsavedQuestion);
      Press(d, 2);
    }));
    EXPECT_TRUE(table_.IsSame(opened));
  }
}

TEST_F(GeologyListTest, ASaveThatCannotBeWrittenIsReported) {
  const fs::path locked = Home() / "locked";
  const fs::path plainFile = Home() / "plain";
  struct Case {
    const char* name;
    bool needsPermissions;  // root writes into read-only folders
    fs::path target;
  };
  const Case cases[] = {
      {"read-only folder", true, locked / "soils.sxg"},
      {"a file where the folder should be", false, plainFile / "soils.sxg"},
  };
  fs::create_directories(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  WriteFileBytes(plainFile, "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsPermissions && geteuid() == 0) continue;
    EXPECT_FALSE(Edit([&](CRefCmnGeologyListDlg& d) {
      TypeIntoCell(Grid(d), 2, 1, "17");
      TestUi().ExpectFileDialog(c.target);
      TestUi().ExpectMessageBox(MsgResult::Ok);
      Press(d, 4258);
      EXPECT_EQ(TestUi().MessageBoxes().back().text.rfind("XML : ", 0), 0u);
      TestUi().ExpectMessageBox(MsgResult::No, kUnsavedQuestion);
      Press(d, 2);
    }));
    EXPECT_TRUE(SystemConfig::GetLastGeology().empty());
    EXPECT_FALSE(fs::exists(c.target));
  }
  fs::permissions(locked, fs::perms::owner_all);
}

// The picker hands back the active row as the user left it and never touches the table.
TEST_F(GeologyListTest, ThePickerHandsBackTheActiveRowAsTyped) {
  CRefGeology opened;
  opened.Copy(table_);
  ExpectModal<CRefCmnGeologyListDlg>([](CRefCmnGeologyListDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TypeIntoCell(Grid(d), 2, 2, "21.5");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  const std::optional<Row> picked = CRefCmnGeologyListDlg::PickSoil(table_, nullptr);
  ASSERT_TRUE(picked);
  EXPECT_EQ(*picked, (Row{"風化岩", 21.5, 30, 20, 20, 28, 15}));
  EXPECT_TRUE(table_.IsSame(opened));

  ExpectModal<CRefCmnGeologyListDlg>(
      [](CRefCmnGeologyListDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton); });
  EXPECT_FALSE(CRefCmnGeologyListDlg::PickSoil(table_, nullptr));
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

}  // namespace
