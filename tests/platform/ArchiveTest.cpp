#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "platform/Archive.h"
#include "platform/ProgramDir.h"
#include "tests/platform/LargestAllocation.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/TestFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Cause = ArchiveException::Cause;

Bytes B(std::initializer_list<int> values) {
  Bytes bytes;
  for (const int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Repeat(const Bytes& unit, std::size_t times) {
  Bytes bytes;
  for (std::size_t i = 0; i < times; ++i) bytes.insert(bytes.end(), unit.begin(), unit.end());
  return bytes;
}

// Runs op and checks that it throws an ArchiveException with that cause.
void ExpectThrowsCause(const std::function<void()>& op, Cause cause) {
  try {
    op();
    ADD_FAILURE() << "no ArchiveException";
  } catch (const ArchiveException& e) {
    EXPECT_EQ(e.GetCause(), cause) << e.what();
    EXPECT_NE(std::string(e.what()), "") << "the exception should say what went wrong";
  }
}

const Bytes kUnicodeMarker = B({0xFF, 0xFE, 0xFF});

struct StringLayoutCase {
  const char* name;
  std::string text;
  std::u16string units;  // the same text for the record builder
  Bytes expected;
};

TEST(ArchiveTest, WritesStringsInTheUnicodeFormWithTheLengthLadder) {
  const Bytes a = B({0x61, 0x00});
  const StringLayoutCase cases[] = {
      {"empty", "", u"", kUnicodeMarker + B({0x00})},
      {"two characters", "ab", u"ab", kUnicodeMarker + B({0x02, 0x61, 0x00, 0x62, 0x00})},
      {"254 units: last BYTE length", std::string(254, 'a'), std::u16string(254, u'a'),
       kUnicodeMarker + B({0xFE}) + Repeat(a, 254)},
      {"255 units: first WORD length", std::string(255, 'a'), std::u16string(255, u'a'),
       kUnicodeMarker + B({0xFF, 0xFF, 0x00}) + Repeat(a, 255)},
      {"300 units", std::string(300, 'a'), std::u16string(300, u'a'),
       kUnicodeMarker + B({0xFF, 0x2C, 0x01}) + Repeat(a, 300)},
      {"0xFFFD units: last WORD length", std::string(0xFFFD, 'a'), std::u16string(0xFFFD, u'a'),
       kUnicodeMarker + B({0xFF, 0xFD, 0xFF}) + Repeat(a, 0xFFFD)},
      {"0xFFFE units: first DWORD length", std::string(0xFFFE, 'a'), std::u16string(0xFFFE, u'a'),
       kUnicodeMarker + B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}) + Repeat(a, 0xFFFE)},
      {"70000 units", std::string(70000, 'a'), std::u16string(70000, u'a'),
       kUnicodeMarker + B({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}) + Repeat(a, 70000)},
      {"Japanese", "日本", u"日本", kUnicodeMarker + B({0x02, 0xE5, 0x65, 0x2C, 0x67})},
      {"outside the BMP: a surrogate pair", "a\U00020BB7", u"a\U00020BB7",
       kUnicodeMarker + B({0x03, 0x61, 0x00, 0x42, 0xD8, 0xB7, 0xDF})},
  };
  for (const StringLayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive out;
    out.WriteString(c.text);
    EXPECT_TRUE(SameBytes(out.Bytes(), c.expected));
    // The other tests take their expected records from the builder: it must agree byte for byte.
    EXPECT_TRUE(SameBytes(RecordBytes().Text(c.units).Get(), c.expected)) << "record builder";

    Archive in(out.Bytes());
    EXPECT_EQ(in.ReadString(), c.text);
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

struct StringReadCase {
  const char* name;
  Bytes bytes;
  std::string expected;
};

TEST(ArchiveTest, ReadsBothStringForms) {
  const StringReadCase cases[] = {
      {"narrow", B({0x02, 0x61, 0x62}), "ab"},
      {"narrow empty", B({0x00}), ""},
      {"narrow with WORD length", B({0xFF, 0x2C, 0x01}) + Repeat(B({0x61}), 300),
       std::string(300, 'a')},
      {"narrow with DWORD length", B({0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63}),
       "abc"},
      {"narrow CP932", B({0x07, 0xB1, 0x81, 0x60, 0x87, 0x40, 0x87, 0x75}), "ｱ～①㎡"},
      {"narrow CP932 with a byte that is no character", B({0x03, 0x61, 0xFF, 0x62}), "a?b"},
      {"Unicode with QWORD length",
       kUnicodeMarker + B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) +
           B({0x02, 0, 0, 0, 0, 0, 0, 0, 0x61, 0x00, 0x62, 0x00}),
       "ab"},
      {"Unicode lone high surrogate", kUnicodeMarker + B({0x02, 0x00, 0xD8, 0x61, 0x00}),
       "\uFFFDa"},
      {"Unicode lone low surrogate", kUnicodeMarker + B({0x01, 0x00, 0xDC}), "\uFFFD"},
  };
  for (const StringReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive in(c.bytes);
    EXPECT_EQ(in.ReadString(), c.expected);
    EXPECT_EQ(in.Remaining(), 0u);
  }
  // The record builder spells the narrow form with the same length ladder.
  EXPECT_EQ(RecordBytes().Narrow("\xB1\x81\x60").Get(), B({0x03, 0xB1, 0x81, 0x60}));
  EXPECT_EQ(RecordBytes().Narrow(std::string(300, 'a')).Get(),
            B({0xFF, 0x2C, 0x01}) + Repeat(B({0x61}), 300));
}

struct ValueLayoutCase {
  const char* name;
  std::function<void(Archive&)> store;
  RecordBytes built;  // the same value through the record builder
  Bytes expected;
};

TEST(ArchiveTest, StoresNumbersLittleEndian) {
  const ValueLayoutCase cases[] = {
      {"int8", [](Archive& ar) { ar << std::int8_t{-2}; }, RecordBytes().Int8(-2), B({0xFE})},
      {"uint8", [](Archive& ar) { ar << std::uint8_t{0xAB}; }, RecordBytes().UInt8(0xAB),
       B({0xAB})},
      {"int16", [](Archive& ar) { ar << std::int16_t{-2}; }, RecordBytes().Int16(-2),
       B({0xFE, 0xFF})},
      {"uint16", [](Archive& ar) { ar << std::uint16_t{0x1234}; }, RecordBytes().UInt16(0x1234),
       B({0x34, 0x12})},
      {"int32", [](Archive& ar) { ar << std::int32_t{-2}; }, RecordBytes().Int(-2),
       B({0xFE, 0xFF, 0xFF, 0xFF})},
      {"int32 bytes in order", [](Archive& ar) { ar << std::int32_t{0x12345678}; },
       RecordBytes().Int(0x12345678), B({0x78, 0x56, 0x34, 0x12})},
      {"uint32", [](Archive& ar) { ar << std::uint32_t{0xDEADBEEF}; },
       RecordBytes().UInt32(0xDEADBEEF), B({0xEF, 0xBE, 0xAD, 0xDE})},
      {"int64", [](Archive& ar) { ar << std::int64_t{-2}; }, RecordBytes().Int64(-2),
       B({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"uint64", [](Archive& ar) { ar << std::uint64_t{0x0102030405060708}; },
       RecordBytes().UInt64(0x0102030405060708),
       B({0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01})},
      {"double 1", [](Archive& ar) { ar << 1.0; }, RecordBytes().Double(1.0),
       B({0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {"double -2.5", [](Archive& ar) { ar << -2.5; }, RecordBytes().Double(-2.5),
       B({0, 0, 0, 0, 0, 0, 0x04, 0xC0})},
      {"bool true", [](Archive& ar) { ar << true; }, RecordBytes().Bool(true), B({0x01})},
      {"bool false", [](Archive& ar) { ar << false; }, RecordBytes().Bool(false), B({0x00})},
      {"colour as 0x00BBGGRR", [](Archive& ar) { ar << Color::Rgb(0x11, 0x22, 0x33); },
       RecordBytes().Color(Color::Rgb(0x11, 0x22, 0x33)), B({0x11, 0x22, 0x33, 0x00})},
  };
  for (const ValueLayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive out;
    c.store(out);
    EXPECT_EQ(out.Bytes(), c.expected);
    EXPECT_EQ(out.Position(), c.expected.size());
    EXPECT_EQ(c.built.Get(), c.expected) << "record builder";
  }
}

TEST(ArchiveTest, ReadsBackEveryValueAtItsLimits) {
  using I64 = std::numeric_limits<std::int64_t>;
  Archive out;
  out << std::int8_t{-128} << std::uint8_t{255} << std::int16_t{-32768} << std::uint16_t{65535}
      << std::int32_t{std::numeric_limits<std::int32_t>::min()} << std::uint32_t{0xFFFFFFFF}
      << std::int64_t{I64::min()} << std::uint64_t{I64::max()} << -9e32
      << std::numeric_limits<double>::denorm_min() << true << Color{0x00ABCDEF};

  Archive in(out.Bytes());
  std::int8_t i8 = 0;
  std::uint8_t u8 = 0;
  std::int16_t i16 = 0;
  std::uint16_t u16 = 0;
  std::int32_t i32 = 0;
  std::uint32_t u32 = 0;
  std::int64_t i64 = 0;
  std::uint64_t u64 = 0;
  double d1 = 0;
  double d2 = 0;
  bool flag = false;
  Color color;
  in >> i8 >> u8 >> i16 >> u16 >> i32 >> u32 >> i64 >> u64 >> d1 >> d2 >> flag >> color;
  EXPECT_EQ(i8, -128);
  EXPECT_EQ(u8, 255);
  EXPECT_EQ(i16, -32768);
  EXPECT_EQ(u16, 65535);
  EXPECT_EQ(i32, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(u32, 0xFFFFFFFFu);
  EXPECT_EQ(i64, I64::min());
  EXPECT_EQ(u64, static_cast<std::uint64_t>(I64::max()));
  EXPECT_EQ(d1, -9e32);
  EXPECT_EQ(d2, std::numeric_limits<double>::denorm_min());
  EXPECT_TRUE(flag);
  EXPECT_EQ(color, Color{0x00ABCDEF});
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveTest, ReadsAnyNonZeroByteAsTrue) {
  Archive in(B({0x00, 0x02}));
  bool first = true;
  bool second = false;
  in >> first >> second;
  EXPECT_FALSE(first);
  EXPECT_TRUE(second);
}

struct ArrayLayoutCase {
  const char* name;
  std::size_t count;
  Bytes countBytes;
};

TEST(ArchiveTest, StoresStringArrayCountsAsWordOrEscapedDword) {
  const Bytes emptyString = kUnicodeMarker + B({0x00});
  const ArrayLayoutCase cases[] = {
      {"none", 0, B({0x00, 0x00})},
      {"two", 2, B({0x02, 0x00})},
      {"0xFFFE: last WORD count", 0xFFFE, B({0xFE, 0xFF})},
      {"0xFFFF: escaped", 0xFFFF, B({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
      {"70000: escaped", 70000, B({0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
  };
  for (const ArrayLayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive out;
    out.WriteStringArray(std::vector<std::string>(c.count));
    EXPECT_TRUE(SameBytes(out.Bytes(), c.countBytes + Repeat(emptyString, c.count)));

    Archive in(out.Bytes());
    EXPECT_EQ(in.ReadStringArray().size(), c.count);
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

TEST(ArchiveTest, StringArrayKeepsItsItemsInOrder) {
  const std::vector<std::string> items = {"一", "", "two"};
  Archive out;
  out.WriteStringArray(items);
  EXPECT_EQ(out.Bytes(), B({0x03, 0x00}) + kUnicodeMarker + B({0x01, 0x00, 0x4E}) + kUnicodeMarker +
                             B({0x00}) + kUnicodeMarker +
                             B({0x03, 0x74, 0x00, 0x77, 0x00, 0x6F, 0x00}));
  Archive in(out.Bytes());
  EXPECT_EQ(in.ReadStringArray(), items);
}

// A count the data cannot back reserves only what the remaining bytes can hold in the Unicode
// form (4 bytes a string), never what the count claims; lists of the shortest strings, narrow
// "" of one byte each, still load whole.
TEST(ArchiveTest, StringArrayReservesWhatTheDataCanHold) {
  constexpr std::uint32_t kCount = 1 << 14;
  const Bytes longCount = B({0xFF, 0xFF, 0x00, 0x40, 0x00, 0x00});  // 0xFFFF, then 2^14
  struct Case {
    const char* name;
    Bytes strings;  // after the count
    bool loads;
  };
  const Case cases[] = {
      {"one Unicode \"\" per four bytes, then the data ends",
       Repeat(kUnicodeMarker + B({0x00}), kCount / 4), false},
      {"a string of 2^64-1 units where the count promised 2^14 strings",
       kUnicodeMarker + Repeat(B({0xFF}), 15) + Bytes(kCount - 18), false},
      {"2^14 narrow \"\"", Bytes(kCount), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GE(c.strings.size(), kCount) << "the count must pass the one-byte-a-string check";
    Archive in(longCount + c.strings);
    const LargestAllocation largest;
    if (c.loads) {
      EXPECT_EQ(in.ReadStringArray(), std::vector<std::string>(kCount));
    } else {
      ExpectThrowsCause([&] { in.ReadStringArray(); }, Cause::EndOfFile);
      EXPECT_LE(largest.Bytes(), c.strings.size() / 4 * sizeof(std::string));
    }
  }
}

struct DamageCase {
  const char* name;
  Bytes bytes;
  std::function<void(Archive&)> read;
};

// A damaged file must end in an exception, never in a read past the data or in an allocation
// the data cannot justify (the sanitizers would report either).
TEST(ArchiveTest, DamagedDataThrowsEndOfFile) {
  const auto readInt16 = [](Archive& ar) {
    std::int16_t v = 0;
    ar >> v;
  };
  const auto readInt32 = [](Archive& ar) {
    std::int32_t v = 0;
    ar >> v;
  };
  const auto readInt64 = [](Archive& ar) {
    std::int64_t v = 0;
    ar >> v;
  };
  const auto readDouble = [](Archive& ar) {
    double v = 0;
    ar >> v;
  };
  const auto readBool = [](Archive& ar) {
    bool v = false;
    ar >> v;
  };
  const auto readString = [](Archive& ar) { ar.ReadString(); };
  const auto readArray = [](Archive& ar) { ar.ReadStringArray(); };

  const DamageCase cases[] = {
      {"int16 from one byte", B({0x01}), readInt16},
      {"int32 from three bytes", B({0x01, 0x02, 0x03}), readInt32},
      {"int64 from seven bytes", B({1, 2, 3, 4, 5, 6, 7}), readInt64},
      {"double from seven bytes", B({1, 2, 3, 4, 5, 6, 7}), readDouble},
      {"bool from nothing", B({}), readBool},
      {"string from nothing", B({}), readString},
      {"string cut in the marker", B({0xFF, 0xFE}), readString},
      {"string cut in its WORD length", kUnicodeMarker + B({0xFF, 0x2C}), readString},
      {"string cut in its DWORD length", kUnicodeMarker + B({0xFF, 0xFF, 0xFF, 0x70}), readString},
      {"Unicode string cut", kUnicodeMarker + B({0x05, 0x61, 0x00, 0x62, 0x00}), readString},
      {"Unicode string cut inside a unit", kUnicodeMarker + B({0x01, 0x61}), readString},
      {"narrow string cut", B({0x05, 0x61, 0x62}), readString},
      {"Unicode string of 2^64-1 units", kUnicodeMarker + Repeat(B({0xFF}), 15) + B({0x61, 0x00}),
       readString},
      {"narrow string of 0xFFFFFFFE bytes",
       B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x61, 0x62, 0x63}), readString},
      {"array count cut", B({0x01}), readArray},
      {"array long count cut", B({0xFF, 0xFF, 0x01, 0x00}), readArray},
      {"array count beyond the data", B({0x05, 0x00}) + kUnicodeMarker + B({0x00}), readArray},
      {"array of 0xFFFFFFFF strings", Repeat(B({0xFF}), 6) + kUnicodeMarker + B({0x00}), readArray},
      {"array whose last string is cut", B({0x02, 0x00}) + kUnicodeMarker + B({0x00, 0xFF, 0xFE}),
       readArray},
      {"bytes beyond the data", B({1, 2, 3}),
       [](Archive& ar) {
         std::uint8_t buffer[4];
         ar.ReadBytes(buffer, sizeof buffer);
       }},
      {"items whose total size overflows", B({1, 2, 3, 4, 5, 6, 7, 8}),
       [](Archive& ar) { ar.RequireItems(std::uint64_t{1} << 62, 8); }},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive in(c.bytes);
    ExpectThrowsCause([&] { c.read(in); }, Cause::EndOfFile);
  }
}

TEST(ArchiveTest, RequireItemsAcceptsWhatFits) {
  Archive in(Bytes(16));
  EXPECT_NO_THROW(in.RequireItems(2, 8));
  EXPECT_NO_THROW(in.RequireItems(1'000'000, 0));
  ExpectThrowsCause([&] { in.RequireItems(3, 8); }, Cause::EndOfFile);
}

struct ModeCase {
  const char* name;
  bool storing;
  std::function<void(Archive&)> op;
  Cause cause;
};

TEST(ArchiveTest, WrongDirectionThrowsReadOnlyOrWriteOnly) {
  const std::filesystem::path file = DataDir() / "never-written.bin";
  const ModeCase cases[] = {
      {"store a number", false, [](Archive& ar) { ar << std::int32_t{1}; }, Cause::ReadOnly},
      {"store a string", false, [](Archive& ar) { ar.WriteString("a"); }, Cause::ReadOnly},
      {"store a string array", false, [](Archive& ar) { ar.WriteStringArray({}); },
       Cause::ReadOnly},
      {"store bytes", false, [](Archive& ar) { ar.WriteBytes("a", 1); }, Cause::ReadOnly},
      {"save a loading archive", false, [&](Archive& ar) { ar.SaveToFile(file); }, Cause::ReadOnly},
      {"load a number", true,
       [](Archive& ar) {
         double v = 0;
         ar >> v;
       },
       Cause::WriteOnly},
      {"load a string", true, [](Archive& ar) { ar.ReadString(); }, Cause::WriteOnly},
      {"load a string array", true, [](Archive& ar) { ar.ReadStringArray(); }, Cause::WriteOnly},
      {"load bytes", true,
       [](Archive& ar) {
         char c = 0;
         ar.ReadBytes(&c, 1);
       },
       Cause::WriteOnly},
      {"check a count", true, [](Archive& ar) { ar.RequireItems(0, 1); }, Cause::WriteOnly},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Archive ar = c.storing ? Archive() : Archive(B({0x00, 0x00, 0x00, 0x00}));
    ExpectThrowsCause([&] { c.op(ar); }, c.cause);
  }
  EXPECT_FALSE(IsFile(file));
}

TEST(ArchiveTest, FileRoundTrip) {
  const std::filesystem::path file = DataDir() / "round-trip.bin";
  Archive out;
  out << std::int32_t{7} << 2.5;
  out.WriteString("斜面");
  const Bytes raw = B({0x00, 0x01, 0xFE, 0xFF});
  out.WriteBytes(raw.data(), raw.size());
  out.SaveToFile(file);

  Archive in = Archive::FromFile(file);
  EXPECT_TRUE(in.IsLoading());
  EXPECT_EQ(in.Bytes(), out.Bytes());
  std::int32_t n = 0;
  double d = 0;
  in >> n >> d;
  EXPECT_EQ(n, 7);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(in.ReadString(), "斜面");
  Bytes back(4);
  in.ReadBytes(back.data(), back.size());
  EXPECT_EQ(back, raw);
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveTest, EmptyArchiveMakesAnEmptyFile) {
  const std::filesystem::path file = DataDir() / "empty.bin";
  Archive().SaveToFile(file);
  EXPECT_TRUE(IsFile(file));
  EXPECT_EQ(Archive::FromFile(file).Remaining(), 0u);
}

TEST(ArchiveTest, FileProblemsThrowFileError) {
  const std::filesystem::path missing = DataDir() / "missing" / "doc.bin";
  ExpectThrowsCause([&] { Archive::FromFile(missing); }, Cause::FileError);
  ExpectThrowsCause([&] { Archive::FromFile(DataDir()); }, Cause::FileError);
  ExpectThrowsCause([&] { Archive().SaveToFile(missing); }, Cause::FileError);
  try {
    Archive::FromFile(missing);
  } catch (const ArchiveException& e) {
    EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos)
        << "the message should name the file: " << e.what();
  }
}

}  // namespace

// A folder standing at the name makes the rename fail: it stays, and no temporary file is left.
TEST(ArchiveTest, FailedRenameKeepsWhatWasThereAndNoTemporaryFile) {
  const std::filesystem::path folder = DataDir() / "kept.bin";
  std::filesystem::create_directories(folder / "inside");
  Archive second;
  second << std::int32_t{7} << std::int32_t{8};
  ExpectThrowsCause([&] { second.SaveToFile(folder); }, Cause::FileError);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"kept.bin"});
}

TEST(ArchiveTest, FailedWriteKeepsThePreviousFileAndNoTemporaryFile) {
  const std::filesystem::path file = DataDir() / "full.bin";
  Archive first;
  first << std::int32_t{42};
  first.SaveToFile(file);

  Archive second;
  const Bytes large(64 * 1024, 0x5A);
  second.WriteBytes(large.data(), large.size());
  {
    const ScopedFileSizeLimit limit(1024);
    ExpectThrowsCause([&] { second.SaveToFile(file); }, Cause::FileError);
  }
  EXPECT_EQ(Archive::FromFile(file).Bytes(), first.Bytes());
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"full.bin"});
}
