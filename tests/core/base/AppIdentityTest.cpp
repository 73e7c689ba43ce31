#include <gtest/gtest.h>

#include "core/base/AppIdentity.h"

namespace {

TEST(AppIdentityTest, Texts) {
  EXPECT_EQ(GetAppTitle(), "RUrevavirazo");
  EXPECT_EQ(GetAppSubTitle(), "");
  EXPECT_EQ(GetAppFullTitle(), "RUrevavirazo Version1.03");
}

TEST(AppIdentityTest, VersionByMode) {
  struct Case {
    int mode;
    const char* text;
  };
  const Case cases[] = {{0, "1"}, {1, "1.0"}, {2, "1.03"}, {5, "1.03"}, {-1, "1.03"}};
  for (const Case& c : cases) EXPECT_EQ(GetAppVersion(c.mode), c.text) << c.mode;
}

}  // namespace
