// The Qt application the tests of this program run in, set up before the first test and taken
// down after the last: offscreen unless a platform was chosen, with its runtime folder of its
// own. A Qt warning fails the running test ("QPainter::begin: Paint device returned engine == 0"
// is a fault, not noise), and a test that leaves a top-level window behind fails.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

// The offscreen platform's windows lack some features of a desktop's (raising, size hints) and
// say so; that is the platform, not the program.
bool IsOffscreenNotice(const QString& message) {
  return message.startsWith(QStringLiteral("This plugin does not support "));
}

void FailOnWarnings(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || IsOffscreenNotice(message)) return;
  const std::string text = message.toStdString();
  if (testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
    ADD_FAILURE() << "Qt: " << text;
  } else {
    std::fprintf(stderr, "Qt: %s\n", text.c_str());
  }
  if (type == QtFatalMsg) std::abort();
}

class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "brixo-qt-runtime-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("cannot create the Qt runtime folder");
      std::abort();
    }
    runtime_ = pattern;
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    qInstallMessageHandler(FailOnWarnings);
  }

  void TearDown() override {
    qInstallMessageHandler(nullptr);
    application_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(runtime_, ignored);
  }

 private:
  int argc_ = 1;
  char name_[18] = "platform_qt_tests";
  char* argv_[2] = {name_, nullptr};
  std::filesystem::path runtime_;
  std::unique_ptr<QApplication> application_;
};

class NoWindowLeftListener : public testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const testing::TestInfo& /*test*/) override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      ADD_FAILURE() << "a top-level window was left behind: " << window->metaObject()->className()
                    << " \"" << window->windowTitle().toStdString() << '"';
    }
  }
};

const bool kRegistered = [] {
  testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
  testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftListener);
  return true;
}();

}  // namespace
