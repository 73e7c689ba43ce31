#pragma once
// Expected record bytes, spelled out by hand in the tests: the values in the order a record holds
// them, little-endian, as the document files lay them down. Written without the archive so that
// it checks the archive rather than repeating it.

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/DevTypes.h"

class RecordBytes {
 public:
  RecordBytes& Int8(std::int8_t v) { return LittleEndian(v); }
  RecordBytes& UInt8(std::uint8_t v) { return LittleEndian(v); }
  RecordBytes& Int16(std::int16_t v) { return LittleEndian(v); }
  RecordBytes& UInt16(std::uint16_t v) { return LittleEndian(v); }
  RecordBytes& Int(std::int32_t v) { return LittleEndian(v); }
  RecordBytes& UInt32(std::uint32_t v) { return LittleEndian(v); }
  RecordBytes& Int64(std::int64_t v) { return LittleEndian(v); }
  RecordBytes& UInt64(std::uint64_t v) { return LittleEndian(v); }
  // The 8 bytes of the IEEE value.
  RecordBytes& Double(double v) { return UInt64(std::bit_cast<std::uint64_t>(v)); }
  // One byte, 1 for true.
  RecordBytes& Bool(bool v) { return UInt8(v ? 1 : 0); }
  // The 0x00BBGGRR value as an int32.
  RecordBytes& Color(::Color c) { return UInt32(c.ref); }

  // A framework string in its Unicode form: the marker FF FE FF, the length in UTF-16 units,
  // then the units.
  RecordBytes& Text(std::u16string_view units) {
    Raw({0xFF, 0xFE, 0xFF});
    Length(units.size());
    for (const char16_t unit : units) UInt16(unit);
    return *this;
  }
  // A framework string in its narrow form: the length, then the bytes as they stand.
  RecordBytes& Narrow(std::string_view bytes) {
    Length(bytes.size());
    for (const char c : bytes) UInt8(static_cast<std::uint8_t>(c));
    return *this;
  }

  RecordBytes& Raw(std::initializer_list<std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  RecordBytes& Raw(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }

  const std::vector<std::uint8_t>& Get() const { return bytes_; }

 private:
  template <std::integral T>
  RecordBytes& LittleEndian(T v) {
    const auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof u; ++i)
      bytes_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    return *this;
  }

  // The length ladder of framework strings: a BYTE below 0xFF; else 0xFF and a WORD below 0xFFFE;
  // else 0xFFFF and a DWORD below 0xFFFFFFFF; else 0xFFFFFFFF and a QWORD.
  void Length(std::uint64_t n) {
    if (n < 0xFF) {
      UInt8(static_cast<std::uint8_t>(n));
      return;
    }
    UInt8(0xFF);
    if (n < 0xFFFE) {
      UInt16(static_cast<std::uint16_t>(n));
      return;
    }
    UInt16(0xFFFF);
    if (n < 0xFFFFFFFF) {
      UInt32(static_cast<std::uint32_t>(n));
      return;
    }
    UInt32(0xFFFFFFFF);
    UInt64(n);
  }

  std::vector<std::uint8_t> bytes_;
};
