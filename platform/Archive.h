#pragma once
// A binary archive in the layout of the document files: little-endian integers, IEEE doubles,
// one-byte bools and length-prefixed framework strings. An archive either stores (writes into a
// growing buffer) or loads (reads from a fixed buffer); every read is bounds-checked and throws
// ArchiveException, so a damaged file can never make the program read past its data.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/DevTypes.h"

class ArchiveException : public std::runtime_error {
 public:
  enum class Cause {
    Generic,
    ReadOnly,   // a store was attempted on a loading archive
    WriteOnly,  // a load was attempted on a storing archive
    EndOfFile,  // the data ended before the value
    BadFormat,  // the data contradicts itself (a count or a code that cannot be)
    FileError,  // the file could not be opened, read or written
  };
  ArchiveException(Cause cause, const std::string& message);
  Cause GetCause() const { return cause_; }

 private:
  Cause cause_;
};

class Archive {
 public:
  // An empty archive for storing.
  Archive();
  // An archive that loads the given bytes.
  explicit Archive(std::vector<std::uint8_t> bytes);

  // Reads a whole file into a loading archive; throws ArchiveException (FileError) on failure.
  static Archive FromFile(const std::filesystem::path& path);
  // Writes everything stored so far to a file through a ReplacingFile: a failure keeps the file
  // that was there, and two savers of one path leave one whole file. Throws ArchiveException
  // (FileError) on failure, (ReadOnly) on a loading archive.
  void SaveToFile(const std::filesystem::path& path) const;

  bool IsStoring() const { return storing_; }
  bool IsLoading() const { return !storing_; }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  // The bytes read so far when loading, stored so far when storing.
  std::size_t Position() const { return pos_; }
  // The bytes left to read; 0 when storing.
  std::size_t Remaining() const { return bytes_.size() - pos_; }

  Archive& operator<<(std::int8_t v);
  Archive& operator<<(std::uint8_t v);
  Archive& operator<<(std::int16_t v);
  Archive& operator<<(std::uint16_t v);
  Archive& operator<<(std::int32_t v);
  Archive& operator<<(std::uint32_t v);
  Archive& operator<<(std::int64_t v);
  Archive& operator<<(std::uint64_t v);
  Archive& operator<<(double v);
  Archive& operator<<(bool v);
  Archive& operator<<(Color v);  // stored as a 32-bit integer
  // A pointer would otherwise convert to bool and store one byte; strings go through WriteString.
  template <typename T>
  Archive& operator<<(const T* pointer) = delete;

  Archive& operator>>(std::int8_t& v);
  Archive& operator>>(std::uint8_t& v);
  Archive& operator>>(std::int16_t& v);
  Archive& operator>>(std::uint16_t& v);
  Archive& operator>>(std::int32_t& v);
  Archive& operator>>(std::uint32_t& v);
  Archive& operator>>(std::int64_t& v);
  Archive& operator>>(std::uint64_t& v);
  Archive& operator>>(double& v);
  Archive& operator>>(bool& v);
  Archive& operator>>(Color& v);

  // Framework strings: written in the Unicode form (UTF-16LE behind the FF FE FF marker); read in
  // either form (an unmarked string holds CP932 text). UTF-8 on our side.
  void WriteString(const std::string& utf8);
  std::string ReadString();

  // A string array: the count as uint16 (0xFFFF then uint32 when larger), then each string. A
  // count larger than the remaining bytes could hold throws before anything is reserved.
  void WriteStringArray(const std::vector<std::string>& items);
  std::vector<std::string> ReadStringArray();

  void WriteBytes(const void* data, std::size_t size);
  void ReadBytes(void* data, std::size_t size);

  // Throws (EndOfFile) unless at least `count` items of `itemSize` bytes each can still be read:
  // callers check a stored count with it before they reserve memory for the items.
  void RequireItems(std::uint64_t count, std::size_t itemSize) const;

 private:
  void RequireStoring() const;
  void RequireLoading() const;
  void Require(std::size_t size) const;
  template <typename T>
  Archive& Put(T v);
  template <typename T>
  Archive& Get(T& v);
  void RequireCount(std::uint64_t count, std::size_t itemSize, const char* what) const;
  void WriteLength(std::uint64_t length);
  std::uint64_t ReadLongLength(std::uint16_t word);
  std::string ReadNarrowText(std::uint64_t length);
  std::string ReadUnicodeText(std::uint64_t length);

  std::vector<std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool storing_ = true;
};
