#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/ArchiveCount.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"

namespace {

TEST(ArchiveCountTest, ReadsACountWhoseItemsFitInTheData) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t itemSize;
    std::int32_t count;
  } cases[] = {
      {"no items", RecordBytes().Int(0).Get(), 8, 0},
      {"items filling the data", RecordBytes().Int(2).Double(1).Double(2).Get(), 8, 2},
      {"items of no size", RecordBytes().Int(1000).Get(), 0, 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Archive ar(c.bytes);
    EXPECT_EQ(ReadCount(ar, c.itemSize, "point count"), c.count);
    EXPECT_EQ(ar.Position(), 4u) << "only the count is read";
  }
}

TEST(ArchiveCountTest, RejectsACountBeforeAnythingIsAllocated) {
  using Cause = ArchiveException::Cause;
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    Cause cause;
  } cases[] = {
      {"negative", RecordBytes().Int(-1).Get(), Cause::BadFormat},
      {"one item too many", RecordBytes().Int(3).Double(1).Double(2).Get(), Cause::EndOfFile},
      {"largest count", RecordBytes().Int(0x7FFFFFFF).Get(), Cause::EndOfFile},
      {"count cut short", {0x01, 0x00}, Cause::EndOfFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Archive ar(c.bytes);
    try {
      ReadCount(ar, 8, "point count");
      ADD_FAILURE() << "no exception";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.GetCause(), c.cause) << e.what();
      if (c.cause == Cause::BadFormat) {
        EXPECT_NE(std::string(e.what()).find("point count"), std::string::npos) << e.what();
      }
    }
  }
}

}  // namespace
