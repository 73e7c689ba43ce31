#pragma once
// A digest of the exact bits of a calculation's results, for tests that pin what a calculation
// gives: FNV-1a over the bytes of each value.

#include <bit>
#include <cstdint>
#include <vector>

class BitDigest {
 public:
  void Add(double v) { AddBits(std::bit_cast<std::uint64_t>(v)); }
  void Add(const std::vector<std::uint8_t>& bytes) {
    for (const std::uint8_t b : bytes) AddByte(b);
  }
  std::uint64_t Value() const { return hash_; }

 private:
  void AddBits(std::uint64_t bits) {
    for (int i = 0; i < 8; ++i, bits >>= 8) AddByte(static_cast<std::uint8_t>(bits & 0xFFu));
  }
  void AddByte(std::uint8_t b) {
    hash_ ^= b;
    hash_ *= 0x100000001B3u;
  }

  std::uint64_t hash_ = 0xCBF29CE484222325u;
};
