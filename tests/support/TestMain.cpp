#include <gtest/gtest.h>

#include "tests/support/TestListeners.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AppendSharedTestListeners(testing::UnitTest::GetInstance()->listeners());
  return RUN_ALL_TESTS();
}
