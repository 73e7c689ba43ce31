#include <gtest/gtest.h>

#include <QString>

#include "app/frame/BrixoApp.h"
#include "app/frame/MainFrame.h"
#include "core/base/AppIdentity.h"

TEST(StartUp, WithoutArgumentsShowsAnUnnamedDocument) {
  CBrixoApp app;
  ASSERT_TRUE(app.InitInstance({QStringLiteral("Brixo")}));
  EXPECT_EQ(app.MainFrame()->windowTitle().toStdString(), "無題 - " + GetAppFullTitle());
}
