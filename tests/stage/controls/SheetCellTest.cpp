#include <gtest/gtest.h>

#include "stage/controls/SheetCell.h"

namespace {

TEST(SheetCellTest, Placeholder) { EXPECT_EQ(DblToText(2, 2.5), "2.50"); }

}  // namespace
