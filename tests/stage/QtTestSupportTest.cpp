#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QSettings>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>

#include "tests/support/qt/QtTestSupport.h"

namespace {

TEST(QtTestSupportTest, AQtWarningFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(qWarning("QWidget::paintEngine: Should no longer be called"),
                          "Qt warning: QWidget::paintEngine");
}

TEST(QtTestSupportTest, SettingsStayInTheTestsOwnFolder) {
  QSettings settings(QStringLiteral("ZELK"), QStringLiteral("Brixo"));
  settings.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("a.qxmd"));
  settings.sync();
  const std::filesystem::path home(std::getenv("BRIXO_HOME"));
  EXPECT_EQ(settings.fileName().toStdString().rfind((home / "settings").string(), 0), 0u)
      << settings.fileName().toStdString();
}

}  // namespace
