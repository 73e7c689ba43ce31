#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/model/PrmJobsite.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CPrmJobsite Site() {
  CPrmJobsite site;
  site.names = {"国道1号", "A線", "ケース1"};
  site.comments[0] = "のり面";
  site.comments[9] = "last";
  site.direction = CPrmJobsite::kDirectionRightUpper;
  return site;
}

TEST(PrmJobsiteTest, NewSiteIsEmptyWithAutomaticDirection) {
  CPrmJobsite site = Site();
  site.Init();
  for (const std::string& name : site.names) EXPECT_TRUE(name.empty());
  for (const std::string& comment : site.comments) EXPECT_TRUE(comment.empty());
  EXPECT_EQ(site.direction, CPrmJobsite::kDirectionAuto);
}

TEST(PrmJobsiteTest, RecordIsTheTextsThenTheDirection) {
  RecordBytes bytes;
  bytes.Text(u"国道1号").Text(u"A線").Text(u"ケース1").Text(u"のり面");
  for (int i = 1; i < 9; ++i) bytes.Text(u"");
  bytes.Text(u"last").Int(1);
  ExpectRecordContract<CPrmJobsite>({
      .stored = Site(),
      .version = 10,
      .bytes = bytes.Get(),
      .makeTarget =
          [] {
            auto target = std::make_unique<CPrmJobsite>();
            target->comments[3] = "kept";
            return target;
          },
  });
}

TEST(PrmJobsiteTest, OnlyTheDirectionCountsForACalculation) {
  CPrmJobsite renamed = Site();
  renamed.names[1] = "B線";
  renamed.comments[5] = "x";
  EXPECT_FALSE(renamed.IsSame(Site()));
  EXPECT_TRUE(renamed.IsSameUseCale(Site()));

  CPrmJobsite turned = Site();
  turned.direction = CPrmJobsite::kDirectionAuto;
  EXPECT_FALSE(turned.IsSame(Site()));
  EXPECT_FALSE(turned.IsSameUseCale(Site()));

  CPrmJobsite copied;
  copied.Copy(Site());
  EXPECT_TRUE(copied.IsSame(Site()));
}

}  // namespace
