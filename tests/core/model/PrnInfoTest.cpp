#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "core/model/PrnInfo.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CPrnInfo Edited() {
  CPrnInfo info;
  for (int i = 0; i < 4; ++i) info.SetPrnMode(i, i + 1);
  info.SetPrnMultiNQ(0, 0);
  info.SetPrnMultiNQ(1, 2);
  info.SetPrnMultiListOutFs(0);
  info.SetShowPage(3);
  info.SetPrnStage(2);
  info.SetPrnFromDlg(1);
  return info;
}

// The seven stored values.
bool SameStored(const CPrnInfo& a, const CPrnInfo& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.GetPrnMode(i) != b.GetPrnMode(i)) return false;
  }
  return a.GetPrnMultiNQ(0) == b.GetPrnMultiNQ(0) && a.GetPrnMultiNQ(1) == b.GetPrnMultiNQ(1) &&
         a.GetPrnMultiListOutFs() == b.GetPrnMultiListOutFs();
}

std::unique_ptr<CPrnInfo> Target() { return std::make_unique<CPrnInfo>(); }

TEST(PrnInfoTest, Defaults) {
  CPrnInfo info = Edited();
  info.Init();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(info.GetPrnMode(i), 0);
  EXPECT_EQ(info.GetPrnMultiNQ(0), 1);
  EXPECT_EQ(info.GetPrnMultiNQ(1), 1);
  EXPECT_EQ(info.GetPrnMultiListOutFs(), 1);
  EXPECT_EQ(info.GetShowPage(), 0);
  EXPECT_EQ(info.GetPrnStage(), -1);
  EXPECT_EQ(info.GetPrnFromDlg(), 0);
}

TEST(PrnInfoTest, IndicesOutsideTheListsThrow) {
  CPrnInfo info;
  EXPECT_THROW(info.GetPrnMode(4), std::out_of_range);
  EXPECT_THROW(info.SetPrnMode(-1, 0), std::out_of_range);
  EXPECT_THROW(info.GetPrnMultiNQ(2), std::out_of_range);
  EXPECT_THROW(info.SetPrnMultiNQ(-1, 0), std::out_of_range);
}

TEST(PrnInfoTest, CopyTakesTheFirstEightValues) {
  CPrnInfo target;
  target.Copy(Edited());
  EXPECT_TRUE(SameStored(target, Edited()));
  EXPECT_EQ(target.GetShowPage(), 3);
  EXPECT_EQ(target.GetPrnStage(), -1);
  EXPECT_EQ(target.GetPrnFromDlg(), 0);
}

TEST(PrnInfoTest, RecordIsTheFirstSevenValues) {
  const auto bytes = RecordBytes().Int(1).Int(2).Int(3).Int(4).Int(0).Int(2).Int(0).Get();
  for (const int version : {10, 9}) {
    ExpectRecordContract<CPrnInfo>({.stored = Edited(),
                                    .version = version,
                                    .bytes = bytes,
                                    .makeTarget = Target,
                                    .same = SameStored});
  }

  // Not stored: the page, stage and origin stay as they were.
  CPrnInfo loaded;
  loaded.SetShowPage(7);
  Archive in(bytes);
  loaded.Load(in, 10);
  EXPECT_EQ(loaded.GetShowPage(), 7);
}

TEST(PrnInfoTest, VersionEightReadsTheListOutputSwitchAsOn) {
  const auto bytes = RecordBytes().Int(1).Int(2).Int(3).Int(4).Int(0).Int(2).Int(0).Get();
  CPrnInfo info;
  Archive in(bytes);
  info.Load(in, 8);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(info.GetPrnMode(3), 4);
  EXPECT_EQ(info.GetPrnMultiNQ(1), 2);
  EXPECT_EQ(info.GetPrnMultiListOutFs(), 1);
}

TEST(PrnInfoTest, DocumentsBeforeVersionEightHaveNoRecord) {
  Archive out;
  Edited().Store(out, 7);
  EXPECT_TRUE(out.Bytes().empty());
  CPrnInfo info = Edited();
  Archive in(std::vector<std::uint8_t>{});
  info.Load(in, 7);
  EXPECT_TRUE(SameStored(info, Edited()));
}

}  // namespace
