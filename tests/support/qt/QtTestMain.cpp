#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/qt/LookAndFeel.h"
#include "tests/support/TestListeners.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// Qt reads its configuration and runtime folders once; this process gets folders of its own
// before the application exists, so no test sees the user's settings or leaves any behind.
// Returns the folder that holds them, for removal at the end.
std::filesystem::path IsolateProcessFolders() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brixo-qt-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  const std::filesystem::path root(pattern);
  const std::filesystem::path runtime = root / "runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  return root;
}

}  // namespace

// One QApplication for the whole test program, offscreen unless told otherwise, with the
// program's look, 96 dpi, and Qt warnings failing the test that caused them.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::filesystem::path folders = IsolateProcessFolders();
  QApplication::setAttribute(Qt::AA_Use96Dpi);
  testing::InitGoogleTest(&argc, argv);
  int result = 0;
  {
    QApplication app(argc, argv);
    InstallLookAndFeel();
    InstallQtMessageHandler();

    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    AppendSharedTestListeners(listeners);
    listeners.Append(new QtTestListener);
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  if (!folders.empty()) std::filesystem::remove_all(folders, ignored);
  return result;
}
