#include "tests/support/TestListeners.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/PerTestReset.h"
#include "tests/support/ScriptedUi.h"

namespace {

std::vector<StateReset>& Resets() {
  static std::vector<StateReset> resets;
  return resets;
}

// Every test gets a fresh data folder ($BRIXO_HOME), removed when the test ends, so no test reads
// or writes files beside the test binary or sees files that an earlier test (or an earlier
// repetition of itself) left; and it starts with the process-wide state put back.
class FreshStateListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& /*test*/) override {
    std::string pattern = (std::filesystem::temp_directory_path() / "brixo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("cannot create the test's data folder");
      std::abort();
    }
    home_ = pattern;
    setenv("BRIXO_HOME", home_.c_str(), 1);
    for (const StateReset reset : Resets()) reset();
  }

  void OnTestEnd(const testing::TestInfo& /*test*/) override {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
    unsetenv("BRIXO_HOME");
  }

 private:
  std::filesystem::path home_;
};

}  // namespace

bool RegisterPerTestReset(StateReset reset) {
  Resets().push_back(reset);
  return true;
}

// Every test runs with a fresh data folder and state (FreshStateListener) and with a fresh strict
// ScriptedUi, so an unexpected message box fails the test that showed it.
void AppendSharedTestListeners(testing::TestEventListeners& listeners) {
  listeners.Append(new FreshStateListener);
  listeners.Append(new ScriptedUiListener);
}
