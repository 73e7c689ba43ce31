#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/model/RefCond.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"

namespace {

// The values are process-wide: every test leaves the defaults behind.
class RefCondTest : public testing::Test {
 protected:
  void TearDown() override { CRefCond::Default(); }
};

using Values = std::array<double, 8>;

Values Current() {
  return {CRefCond::GetKiretuHizumi(), CRefCond::GetKyokuHizumi(),  CRefCond::GetGammaref(),
          CRefCond::GetTRNmax(),       CRefCond::GetSuberiHizumi(), CRefCond::GetSendanHizumi(),
          CRefCond::GetKeiA(),         CRefCond::GetKeiB()};
}

void SetAll(const Values& v) {
  CRefCond::SetKiretuHizumi(v[0]);
  CRefCond::SetKyokuHizumi(v[1]);
  CRefCond::SetGammaref(v[2]);
  CRefCond::SetTRNmax(v[3]);
  CRefCond::SetSuberiHizumi(v[4]);
  CRefCond::SetSendanHizumi(v[5]);
  CRefCond::SetKeiA(v[6]);
  CRefCond::SetKeiB(v[7]);
}

const Values kDefaults{0.013, 0.052, 0.025, 2.39, 0.1, 0.05, 0.016, -1.7};
const Values kEdited{0.02, 0.06, 0.03, 3.0, 0.2, 0.07, 0.02, -2.0};

std::vector<std::uint8_t> EditedRecord() {
  RecordBytes bytes;
  for (const double v : kEdited) bytes.Double(v);
  return bytes.Get();
}

TEST_F(RefCondTest, DefaultsAndSettersOfTheEightValues) {
  EXPECT_EQ(Current(), kDefaults);
  SetAll(kEdited);
  EXPECT_EQ(Current(), kEdited);
  CRefCond::Default();
  EXPECT_EQ(Current(), kDefaults);
}

TEST_F(RefCondTest, EveryObjectShowsTheSameValues) {
  const CRefCond one;
  const CRefCond other;
  one.SetTRNmax(4.5);
  EXPECT_EQ(other.GetTRNmax(), 4.5);
}

TEST_F(RefCondTest, RecordIsTheEightValuesInOrder) {
  SetAll(kEdited);
  Archive out;
  CRefCond::Store(out, 10);
  EXPECT_EQ(out.Bytes(), EditedRecord());

  CRefCond::Default();
  Archive in(EditedRecord());
  CRefCond::Load(in, 10);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(Current(), kEdited);
}

TEST_F(RefCondTest, TruncatedRecordThrowsAndChangesNoValue) {
  const std::vector<std::uint8_t> full = EditedRecord();
  for (std::size_t length = 0; length < full.size(); ++length) {
    Archive in(std::vector<std::uint8_t>(full.begin(),
                                         full.begin() + static_cast<std::ptrdiff_t>(length)));
    EXPECT_THROW(CRefCond::Load(in, 10), ArchiveException) << length;
    EXPECT_EQ(Current(), kDefaults) << length;
  }
}

}  // namespace
