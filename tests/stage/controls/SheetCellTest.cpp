#include <gtest/gtest.h>

#include <string>

#include "stage/controls/SheetCell.h"

namespace {

TEST(SheetCellTest, DblToTextCutsDecimalsToZeroToSeven) {
  const struct {
    int decimals;
    double value;
    const char* text;
  } cases[] = {
      {3, kNoValue, ""},    {9, 2.5, "2.5000000"}, {-3, 2.6, "3"},
      {2, -1.005, "-1.00"}, {0, 0.5, "0"},         {7, 1e-7, "0.0000001"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DblToText(c.decimals, c.value), c.text) << c.value << " with " << c.decimals;
  }
}

TEST(SheetCellTest, DblToExpTextKeepsTheRoundedMantissa) {
  const struct {
    int decimals;
    double value;
    const char* text;
  } cases[] = {
      {2, 12345.678, "1.23E+4"}, {1, 0.000123, "1.2E-4"}, {0, 1e100, "1E+100"},
      {1, 9.99e2, "10.0E+2"},    {3, kNoValue, ""},       {12, -2.0, "-2.0000000E+0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DblToExpText(c.decimals, c.value), c.text) << c.value << " with " << c.decimals;
  }
}

class SheetCellGridTest : public testing::Test {
 protected:
  SheetCellGridTest() {
    grid_.SetMaxCols(5);
    grid_.SetMaxRows(10);
  }
  CSheetGrid grid_;
};

// What a cell's text reads as: the empty cell is the missing value, a text is read up to where
// its number ends, and a text with no number in front (or an integer too long for an int) reads
// as empty.
TEST_F(SheetCellGridTest, CellTextsReadAsNumbersWithTheEmptyConvention) {
  const struct {
    const char* text;
    double asDouble;
    int asInt;
  } cases[] = {
      {"", kNoValue, kNoValueInt},
      {"12abc", 12.0, 12},
      {"1,234", 1.0, 1234},
      {"-", kNoValue, kNoValueInt},
      {".", kNoValue, kNoValueInt},
      {"abc", kNoValue, kNoValueInt},
      {" 2.5 ", 2.5, 2},
      {"-0.75", -0.75, 0},
      {"123456789012345678901234567890", 1.2345678901234568e29, kNoValueInt},
      {"2147483647", 2147483647.0, 2147483647},
      {"1e999", kNoValue, 1},
  };
  for (const auto& c : cases) {
    SpreadSetText(grid_, 2, 3, c.text);
    EXPECT_EQ(SpreadGetDbl(grid_, 2, 3), c.asDouble) << '"' << c.text << '"';
    EXPECT_EQ(SpreadGetInt(grid_, 2, 3), c.asInt) << '"' << c.text << '"';
  }
  SpreadSetText(grid_, 2, 3, "");
  EXPECT_EQ(SpreadGetDbl(grid_, 2, 3, 7.5), 7.5);
}

TEST_F(SheetCellGridTest, MissingValuesAreWrittenAsTheEmptyText) {
  SpreadSetDbl(grid_, 1, 1, 3, "", kNoValue);
  SpreadSetDbl(grid_, 2, 1, 3, "-", kNoValue);
  SpreadSetDbl(grid_, 3, 1, 3, "", 1.23456);
  SpreadSetDbl(grid_, 4, 1, 12, "", 1.5);  // decimals cut to 7
  SpreadSetDbl(grid_, 5, 1, -2, "", 1.5);  // and to 0
  SpreadSetInt(grid_, 1, 2, kNoValueInt);
  SpreadSetInt(grid_, 2, 2, kNoValueInt, "なし");
  SpreadSetInt(grid_, 3, 2, -42);
  const struct {
    int col;
    int row;
    const char* text;
  } expected[] = {{1, 1, ""},  {2, 1, "-"}, {3, 1, "1.235"}, {4, 1, "1.5000000"},
                  {5, 1, "2"}, {1, 2, ""},  {2, 2, "なし"},  {3, 2, "-42"}};
  for (const auto& e : expected) {
    EXPECT_EQ(SpreadGetCellText(grid_, e.col, e.row), e.text) << e.col << ", " << e.row;
  }
}

TEST_F(SheetCellGridTest, JudgementColumnsTakeTheirColour) {
  constexpr Color kBlueText{0xFF0000};
  constexpr Color kRedText{0x0000FF};
  SpreadSetCol4Text(grid_, 2, kBlueText, "OK");
  SpreadSetCol5Double(grid_, 3, kRedText, "", 12.345);
  EXPECT_EQ(SpreadGetCellText(grid_, 4, 2), "OK");
  EXPECT_EQ(grid_.ForeColor(4, 2), kBlueText);
  EXPECT_EQ(SpreadGetCellText(grid_, 5, 3), "12.3");
  EXPECT_EQ(grid_.ForeColor(5, 3), kRedText);
}

TEST_F(SheetCellGridTest, ClearingABlockKeepsLockedCells) {
  grid_.SetText(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), "x");
  grid_.SetLock(SheetBlock(1, 1, 5, 1), true);  // a header line inside the data
  grid_.SetLock(SheetBlock(3, 4), true);
  SpreadClearBlock(grid_, 1, 1, 4, 5);
  for (int row = 1; row <= 10; ++row) {
    for (int col = 1; col <= 5; ++col) {
      const bool kept = row == 1 || (col == 3 && row == 4) || col == 5 || row > 5;
      EXPECT_EQ(grid_.Text(col, row), kept ? "x" : "") << col << ", " << row;
    }
  }
  SpreadClearBlock(grid_, 4, 1, 3, 10);  // reversed: nothing
  EXPECT_EQ(grid_.Text(4, 6), "x");
}

TEST_F(SheetCellGridTest, MinusOneAddressesWholeRowsAndColumns) {
  grid_.SetBackColor(SheetBlock(CSheetGrid::kAll, 3), Color{0x00C0FF});
  grid_.SetText(SheetBlock(2, CSheetGrid::kAll), "c");
  grid_.SetDecimalPlaces(SheetBlock(4, CSheetGrid::kAll, 4, CSheetGrid::kAll), 2);
  for (int row = 1; row <= 10; ++row) {
    for (int col = 1; col <= 5; ++col) {
      EXPECT_EQ(grid_.BackColor(col, row), row == 3 ? Color{0x00C0FF} : Color{0xFFFFFF});
      EXPECT_EQ(grid_.Text(col, row), col == 2 ? "c" : "");
    }
  }
  // A setting given to whole columns holds for rows added later, and formats numbers.
  grid_.SetMaxRows(12);
  SpreadSetText(grid_, 4, 12, "3");
  EXPECT_EQ(grid_.DecimalPlaces(4, 12), 2);
  EXPECT_EQ(grid_.Text(4, 12), "3.00");
  EXPECT_EQ(grid_.DecimalPlaces(3, 12), -1);

  SpreadClearBlock(grid_, CSheetGrid::kAll, 2, CSheetGrid::kAll, 2);
  EXPECT_EQ(grid_.Text(2, 2), "");
  EXPECT_EQ(grid_.Text(2, 1), "c");
}

TEST_F(SheetCellGridTest, SelectionBlocksSpellOutWholeRowsUnlessExact) {
  grid_.SetSelection(CSheetGrid::kAll, 5, CSheetGrid::kAll, 3);  // whole rows 3..5
  EXPECT_EQ(SpreadGetSelBlock(grid_, false), SheetBlock(1, 3, 5, 5));
  EXPECT_EQ(SpreadGetSelBlock(grid_, true), SheetBlock(CSheetGrid::kAll, 3, CSheetGrid::kAll, 5));
  grid_.SetSelection(2, CSheetGrid::kAll, 2, CSheetGrid::kAll);
  EXPECT_EQ(SpreadGetSelBlock(grid_, false), SheetBlock(2, 1, 2, 10));
  EXPECT_EQ(grid_.SelBlockRow(), 1);
  EXPECT_EQ(grid_.SelBlockRow2(), 10);
  grid_.SetSelection(4, 2, 3, 6);
  EXPECT_EQ(SpreadGetSelBlock(grid_, true), SheetBlock(3, 2, 4, 6));
}

TEST_F(SheetCellGridTest, NextCellWrapsToTheNextRowAndBackToTheTop) {
  const struct {
    int col;
    int row;
    int nextCol;
    int nextRow;
  } cases[] = {{1, 1, 2, 1}, {5, 1, 1, 2}, {5, 10, 1, 1}, {3, 10, 4, 10}};
  for (const auto& c : cases) {
    grid_.SetActiveCell(c.col, c.row);
    SpreadNextCell(grid_);
    EXPECT_EQ(grid_.ActiveCol(), c.nextCol) << c.col << ", " << c.row;
    EXPECT_EQ(grid_.ActiveRow(), c.nextRow) << c.col << ", " << c.row;
  }
}

}  // namespace
