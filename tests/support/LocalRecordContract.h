#pragma once
// The contract every record of the document keeps, checked against bytes a test spelled out by
// hand (RecordBytes): storing writes exactly those bytes, loading them gives back an equal
// object and reads them to the end, and every shorter prefix makes the load throw
// ArchiveException and leaves the target as it was.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Archive.h"

// makeTarget() returns a std::unique_ptr to a fresh target that differs from the record;
// equal(a, b) compares every stored field of two objects.
template <class Record, class MakeTarget, class Equal>
void CheckRecordContract(const Record& record, int version, const std::vector<std::uint8_t>& bytes,
                         MakeTarget makeTarget, Equal equal) {
  Archive out;
  record.Store(out, version);
  EXPECT_EQ(out.Bytes(), bytes) << "stored bytes, version " << version;

  {
    const auto loaded = makeTarget();
    Archive in(bytes);
    loaded->Load(in, version);
    EXPECT_EQ(in.Remaining(), 0u) << "version " << version;
    EXPECT_TRUE(equal(*loaded, record)) << "loaded object, version " << version;
  }

  const auto untouched = makeTarget();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    const auto target = makeTarget();
    Archive in(std::vector<std::uint8_t>(bytes.begin(),
                                         bytes.begin() + static_cast<std::ptrdiff_t>(length)));
    EXPECT_THROW(target->Load(in, version), ArchiveException) << "prefix of " << length;
    EXPECT_TRUE(equal(*target, *untouched)) << "target changed by a prefix of " << length;
  }
}
