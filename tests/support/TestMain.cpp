#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/ScriptedUi.h"

// Every test process gets a fresh program folder, so no test reads or writes files beside the
// test binary or sees files that another test process left. Every test runs with a fresh strict
// ScriptedUi, so an unexpected message box fails the test that showed it.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string pattern = (std::filesystem::temp_directory_path() / "brixo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  setenv("BRIXO_HOME", pattern.c_str(), 1);
  testing::UnitTest::GetInstance()->listeners().Append(new ScriptedUiListener);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  return result;
}
