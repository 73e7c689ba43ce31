#pragma once
// The contract every stored record keeps, checked in one place for every record type:
//  - Store writes exactly the record built by hand (RecordBytes);
//  - Load of those bytes reads all of them and gives an object equal to the stored one, which
//    stores the same record again;
//  - Load of every truncation of the record (each length 0 .. n-1) throws ArchiveException and
//    changes nothing, neither in a fresh target nor in one that already holds the whole record.
//
// A record test states its object, version and hand-built bytes, and what the record needs beyond
// the defaults:
//
//   const auto loaded = ExpectRecordContract<CSpLoad>({
//       .stored = *SampleLoad(),
//       .version = 0,
//       .bytes = SampleRecord(),
//       .makeTarget = [] { return Concentrated(5, 10); },
//   });
//   // ... then checks what else Load does on *loaded.
//
// Failures name the caller's line, the step that broke and, for a truncation, the length.

#include <gtest/gtest.h>

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <source_location>
#include <vector>

#include "platform/Archive.h"

// Compares two byte sequences and names the first byte that differs, without printing megabytes
// when long buffers differ.
inline testing::AssertionResult SameBytes(const std::vector<std::uint8_t>& actual,
                                          const std::vector<std::uint8_t>& expected) {
  if (actual.size() != expected.size()) {
    return testing::AssertionFailure()
           << actual.size() << " bytes where " << expected.size() << " were expected";
  }
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      return testing::AssertionFailure() << "byte " << i << " is " << int{actual[i]} << " where "
                                         << int{expected[i]} << " was expected";
    }
  }
  return testing::AssertionSuccess();
}

template <class T>
struct RecordContract {
  using Bytes = std::vector<std::uint8_t>;

  // The object whose record is checked.
  const T& stored;
  // The document version the record is stored and loaded at. Leave it out for records whose
  // Store and Load take no version (points, lines).
  std::optional<int> version = std::nullopt;
  // The record of `stored`, built by hand with RecordBytes.
  Bytes bytes;
  // Makes the object a Load reads into, a new one on every call. Default: a default-constructed T.
  // Where Load replaces the object's content, make one that differs from `stored` in every field:
  // then the contract also sees a field Load forgets and a field a failed Load sets anyway. Where
  // Load appends (shapes, lists), the default empty object is the one to read into.
  std::function<std::unique_ptr<T>()> makeTarget = nullptr;
  // Whether two objects are equal. Default: T's IsSame (taking a reference or a pointer), else
  // operator==, else equal records.
  std::function<bool(const T&, const T&)> same = nullptr;
  // What a failed Load must leave as it was. Default: the object's record at `version`; give more
  // where an object holds state its record leaves out.
  std::function<Bytes(const T&)> fingerprint = nullptr;
};

namespace record_contract {

template <class T>
concept VersionedRecord = requires(const T& object, T& target, Archive& ar) {
  object.Store(ar, 0);
  target.Load(ar, 0);
};

template <class T>
void Store(const T& object, Archive& ar, std::optional<int> version) {
  if constexpr (VersionedRecord<T>) {
    object.Store(ar, version.value());
  } else {
    object.Store(ar);
  }
}

template <class T>
void Load(T& target, Archive& ar, std::optional<int> version) {
  if constexpr (VersionedRecord<T>) {
    target.Load(ar, version.value());
  } else {
    target.Load(ar);
  }
}

template <class T>
std::vector<std::uint8_t> StoredBytes(const T& object, std::optional<int> version) {
  Archive ar;
  Store(object, ar, version);
  return ar.Bytes();
}

template <class T>
bool DefaultSame(const T& a, const T& b, std::optional<int> version) {
  if constexpr (requires { a.IsSame(b); }) {
    return a.IsSame(b);
  } else if constexpr (requires { a.IsSame(&b); }) {
    return a.IsSame(&b);
  } else if constexpr (std::equality_comparable<T>) {
    return a == b;
  } else {
    return StoredBytes(a, version) == StoredBytes(b, version);
  }
}

// The contract with every default filled in.
template <class T>
struct Checks {
  std::optional<int> version;
  std::function<std::unique_ptr<T>()> makeTarget;
  std::function<bool(const T&, const T&)> same;
  std::function<std::vector<std::uint8_t>(const T&)> fingerprint;

  explicit Checks(const RecordContract<T>& contract)
      : version(contract.version),
        makeTarget(contract.makeTarget),
        same(contract.same),
        fingerprint(contract.fingerprint) {
    if constexpr (std::default_initializable<T>) {
      if (!makeTarget) makeTarget = [] { return std::make_unique<T>(); };
    }
    if (!same) same = [v = version](const T& a, const T& b) { return DefaultSame(a, b, v); };
    if (!fingerprint) fingerprint = [v = version](const T& o) { return StoredBytes(o, v); };
  }
};

// Loads a truncated record into target and checks that it throws ArchiveException and leaves
// target equal to reference, an object made the same way.
template <class T>
testing::AssertionResult FailedLoadChangesNothing(const Checks<T>& checks,
                                                  const std::vector<std::uint8_t>& cut, T& target,
                                                  const T& reference) {
  Archive in(cut);
  try {
    Load(target, in, checks.version);
    return testing::AssertionFailure() << "Load did not throw";
  } catch (const ArchiveException&) {
  } catch (const std::exception& e) {
    return testing::AssertionFailure() << "Load threw another exception: " << e.what();
  }
  if (!checks.same(target, reference)) {
    return testing::AssertionFailure() << "the failed Load changed the object";
  }
  const testing::AssertionResult sameFingerprint =
      SameBytes(checks.fingerprint(target), checks.fingerprint(reference));
  if (!sameFingerprint) {
    return testing::AssertionFailure()
           << "the failed Load changed the object's fingerprint: " << sameFingerprint.message();
  }
  return testing::AssertionSuccess();
}

}  // namespace record_contract

// Checks the contract above for one record. Returns the object Load read from the whole record,
// for the checks of what else Load does (values it derives, fields an older version lacks).
template <class T>
std::unique_ptr<T> ExpectRecordContract(
    const RecordContract<T>& contract,
    const std::source_location where = std::source_location::current()) {
  namespace rc = record_contract;
  const testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()),
                                   "record contract");
  const rc::Checks<T> checks(contract);
  if (!checks.makeTarget) {
    ADD_FAILURE() << "give makeTarget: T has no default constructor";
    return nullptr;
  }
  auto loaded = checks.makeTarget();
  if (rc::VersionedRecord<T> != contract.version.has_value()) {
    ADD_FAILURE() << (rc::VersionedRecord<T> ? "give the version the record is stored at"
                                             : "this record takes no version");
    return loaded;
  }
  const std::vector<std::uint8_t>& bytes = contract.bytes;

  EXPECT_TRUE(SameBytes(rc::StoredBytes(contract.stored, contract.version), bytes))
      << "Store does not write the hand-built record";

  Archive in(bytes);
  try {
    rc::Load(*loaded, in, contract.version);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "Load of the whole record threw: " << e.what();
    return loaded;
  }
  EXPECT_EQ(in.Remaining(), 0u) << "Load left bytes of the record unread";
  EXPECT_TRUE(checks.same(*loaded, contract.stored)) << "the loaded object differs";
  EXPECT_TRUE(SameBytes(rc::StoredBytes(*loaded, contract.version), bytes))
      << "the loaded object stores another record";

  // Every truncation is read into a fresh target and into one that holds the whole record; each
  // must stay equal to a reference made the same way.
  const auto makeFilled = [&] {
    auto target = checks.makeTarget();
    Archive whole(bytes);
    rc::Load(*target, whole, contract.version);
    return target;
  };
  const struct {
    const char* what;
    std::function<std::unique_ptr<T>()> make;
  } targets[] = {{"a fresh", checks.makeTarget}, {"a filled", makeFilled}};
  for (const auto& kind : targets) {
    const auto reference = kind.make();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
      const std::vector<std::uint8_t> cut(bytes.begin(),
                                          bytes.begin() + static_cast<std::ptrdiff_t>(length));
      const auto target = kind.make();
      const testing::AssertionResult unchanged =
          rc::FailedLoadChangesNothing(checks, cut, *target, *reference);
      if (!unchanged) {
        // One report is enough: the lengths after it mostly fail the same way.
        ADD_FAILURE() << "record cut to " << length << " of " << bytes.size()
                      << " bytes, read into " << kind.what << " target: " << unchanged.message();
        return loaded;
      }
    }
  }
  return loaded;
}
