#include "platform/Archive.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/ReplacingFile.h"
#include "platform/Text.h"

namespace {

// The WORD that follows a first length BYTE of 0xFF to mark the Unicode form.
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;
// String arrays store counts below this as a WORD and larger ones as this WORD plus a DWORD.
constexpr std::uint16_t kLongCount = 0xFFFF;
// The fewest bytes a stored string takes: the narrow form of "" is its length byte alone; the
// Unicode form, which we write, takes the marker and the length byte, FF FE FF 00.
constexpr std::size_t kNarrowStringMinSize = 1;
constexpr std::size_t kUnicodeStringMinSize = 4;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void ThrowFileError(const char* what, const std::filesystem::path& path, int error) {
  throw ArchiveException(ArchiveException::Cause::FileError,
                         std::string(what) + " " + path.string() + ": " + std::strerror(error));
}

// The error of the file operation that just failed; one that left errno unset counts as an
// input/output error, so that a failure is never taken for success.
int LastError() { return errno != 0 ? errno : EIO; }

// Signed values are stored in two's complement, so they travel as their unsigned counterparts.
template <typename Signed>
Archive& GetSigned(Archive& ar, Signed& v) {
  std::make_unsigned_t<Signed> bits = 0;
  ar >> bits;
  v = static_cast<Signed>(bits);
  return ar;
}

}  // namespace

ArchiveException::ArchiveException(Cause cause, const std::string& message)
    : std::runtime_error("archive: " + message), cause_(cause) {}

Archive::Archive() = default;

Archive::Archive(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)), storing_(false) {}

Archive Archive::FromFile(const std::filesystem::path& path) {
  const FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) ThrowFileError("cannot open", path, errno);

  constexpr std::size_t kChunk = 64 * 1024;
  std::vector<std::uint8_t> bytes;
  std::size_t used = 0;
  for (;;) {
    bytes.resize(used + kChunk);
    const std::size_t got = std::fread(bytes.data() + used, 1, kChunk, file.get());
    used += got;
    if (got < kChunk) break;
  }
  if (std::ferror(file.get()) != 0) ThrowFileError("cannot read", path, LastError());
  bytes.resize(used);
  return Archive(std::move(bytes));
}

void Archive::SaveToFile(const std::filesystem::path& path) const {
  RequireStoring();
  std::error_code error;
  const std::unique_ptr<ReplacingFile> file = ReplacingFile::Create(path, error);
  if (!file) ThrowFileError("cannot create", path, error.value());
  errno = 0;
  if (!bytes_.empty() &&
      std::fwrite(bytes_.data(), 1, bytes_.size(), file->Stream()) != bytes_.size()) {
    ThrowFileError("cannot write", path, LastError());  // the file's destructor removes it
  }
  error = file->Commit();
  if (error) ThrowFileError("cannot save", path, error.value());
}

void Archive::RequireStoring() const {
  if (!storing_) {
    throw ArchiveException(ArchiveException::Cause::ReadOnly,
                           "cannot store into an archive that is loading");
  }
}

void Archive::RequireLoading() const {
  if (storing_) {
    throw ArchiveException(ArchiveException::Cause::WriteOnly,
                           "cannot load from an archive that is storing");
  }
}

void Archive::Require(std::size_t size) const {
  if (size > Remaining()) {
    throw ArchiveException(ArchiveException::Cause::EndOfFile,
                           "reading " + std::to_string(size) + " bytes at offset " +
                               std::to_string(pos_) + " runs past the end of the data at offset " +
                               std::to_string(bytes_.size()));
  }
}

void Archive::RequireCount(std::uint64_t count, std::size_t itemSize, const char* what) const {
  RequireLoading();
  if (itemSize != 0 && count > Remaining() / itemSize) {
    throw ArchiveException(ArchiveException::Cause::EndOfFile,
                           std::to_string(count) + " " + what + " at offset " +
                               std::to_string(pos_) + " run past the end of the data (" +
                               std::to_string(Remaining()) + " bytes left)");
  }
}

void Archive::RequireItems(std::uint64_t count, std::size_t itemSize) const {
  RequireCount(count, itemSize, "items");
}

template <typename T>
Archive& Archive::Put(T v) {
  static_assert(std::is_unsigned_v<T>);
  RequireStoring();
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  pos_ = bytes_.size();
  return *this;
}

template <typename T>
Archive& Archive::Get(T& v) {
  static_assert(std::is_unsigned_v<T>);
  RequireLoading();
  Require(sizeof(T));
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    value |= static_cast<T>(T{bytes_[pos_ + i]} << (8 * i));
  }
  pos_ += sizeof(T);
  v = value;
  return *this;
}

Archive& Archive::operator<<(std::int8_t v) { return Put(static_cast<std::uint8_t>(v)); }
Archive& Archive::operator<<(std::uint8_t v) { return Put(v); }
Archive& Archive::operator<<(std::int16_t v) { return Put(static_cast<std::uint16_t>(v)); }
Archive& Archive::operator<<(std::uint16_t v) { return Put(v); }
Archive& Archive::operator<<(std::int32_t v) { return Put(static_cast<std::uint32_t>(v)); }
Archive& Archive::operator<<(std::uint32_t v) { return Put(v); }
Archive& Archive::operator<<(std::int64_t v) { return Put(static_cast<std::uint64_t>(v)); }
Archive& Archive::operator<<(std::uint64_t v) { return Put(v); }
Archive& Archive::operator<<(double v) { return Put(std::bit_cast<std::uint64_t>(v)); }
Archive& Archive::operator<<(bool v) { return Put(static_cast<std::uint8_t>(v ? 1 : 0)); }
Archive& Archive::operator<<(Color v) { return Put(v.ref); }

Archive& Archive::operator>>(std::int8_t& v) { return GetSigned(*this, v); }
Archive& Archive::operator>>(std::uint8_t& v) { return Get(v); }
Archive& Archive::operator>>(std::int16_t& v) { return GetSigned(*this, v); }
Archive& Archive::operator>>(std::uint16_t& v) { return Get(v); }
Archive& Archive::operator>>(std::int32_t& v) { return GetSigned(*this, v); }
Archive& Archive::operator>>(std::uint32_t& v) { return Get(v); }
Archive& Archive::operator>>(std::int64_t& v) { return GetSigned(*this, v); }
Archive& Archive::operator>>(std::uint64_t& v) { return Get(v); }

Archive& Archive::operator>>(double& v) {
  std::uint64_t bits = 0;
  Get(bits);
  v = std::bit_cast<double>(bits);
  return *this;
}

// Any byte other than 0 reads as true, as a C bool would convert it.
Archive& Archive::operator>>(bool& v) {
  std::uint8_t byte = 0;
  Get(byte);
  v = byte != 0;
  return *this;
}

Archive& Archive::operator>>(Color& v) { return Get(v.ref); }

void Archive::WriteLength(std::uint64_t length) {
  if (length < 0xFF) {
    *this << static_cast<std::uint8_t>(length);
    return;
  }
  *this << std::uint8_t{0xFF};
  if (length < kUnicodeMarker) {
    *this << static_cast<std::uint16_t>(length);
    return;
  }
  *this << std::uint16_t{0xFFFF};
  if (length < 0xFFFFFFFF) {
    *this << static_cast<std::uint32_t>(length);
    return;
  }
  *this << std::uint32_t{0xFFFFFFFF} << length;
}

// The rest of the length ladder once its WORD step has been read.
std::uint64_t Archive::ReadLongLength(std::uint16_t word) {
  if (word < 0xFFFF) return word;
  std::uint32_t dword = 0;
  *this >> dword;
  if (dword < 0xFFFFFFFF) return dword;
  std::uint64_t qword = 0;
  *this >> qword;
  return qword;
}

std::string Archive::ReadNarrowText(std::uint64_t length) {
  RequireCount(length, 1, "bytes of a string");
  const auto begin = reinterpret_cast<const char*>(bytes_.data() + pos_);
  pos_ += static_cast<std::size_t>(length);
  return Cp932ToUtf8(std::string_view(begin, static_cast<std::size_t>(length)));
}

std::string Archive::ReadUnicodeText(std::uint64_t length) {
  RequireCount(length, 2, "UTF-16 units of a string");
  std::u16string units(static_cast<std::size_t>(length), u'\0');
  for (char16_t& unit : units) {
    std::uint16_t value = 0;
    Get(value);
    unit = static_cast<char16_t>(value);
  }
  return Utf16ToUtf8(units);
}

void Archive::WriteString(const std::string& utf8) {
  RequireStoring();
  const std::u16string units = Utf8ToUtf16(utf8);
  *this << std::uint8_t{0xFF} << kUnicodeMarker;
  WriteLength(units.size());
  for (const char16_t unit : units) *this << static_cast<std::uint16_t>(unit);
}

std::string Archive::ReadString() {
  std::uint8_t byteLength = 0;
  *this >> byteLength;
  if (byteLength < 0xFF) return ReadNarrowText(byteLength);
  std::uint16_t wordLength = 0;
  *this >> wordLength;
  if (wordLength != kUnicodeMarker) return ReadNarrowText(ReadLongLength(wordLength));

  *this >> byteLength;
  if (byteLength < 0xFF) return ReadUnicodeText(byteLength);
  *this >> wordLength;
  return ReadUnicodeText(ReadLongLength(wordLength));
}

void Archive::WriteStringArray(const std::vector<std::string>& items) {
  RequireStoring();
  if (items.size() < kLongCount) {
    *this << static_cast<std::uint16_t>(items.size());
  } else if (items.size() <= std::numeric_limits<std::uint32_t>::max()) {
    *this << kLongCount << static_cast<std::uint32_t>(items.size());
  } else {
    throw ArchiveException(
        ArchiveException::Cause::Generic,
        "a string array of " + std::to_string(items.size()) + " items is too long to store");
  }
  for (const std::string& item : items) WriteString(item);
}

std::vector<std::string> Archive::ReadStringArray() {
  std::uint16_t shortCount = 0;
  *this >> shortCount;
  std::uint32_t count = shortCount;
  if (shortCount == kLongCount) *this >> count;
  RequireCount(count, kNarrowStringMinSize, "strings");
  // The count is the record's claim; memory is reserved only for as many strings as the remaining
  // bytes hold in the form we write, so a damaged count costs a few times the data at most. A list
  // of shorter, narrow strings grows past the reservation as its strings are actually read.
  std::vector<std::string> items;
  items.reserve(std::min<std::size_t>(count, Remaining() / kUnicodeStringMinSize));
  for (std::uint32_t i = 0; i < count; ++i) items.push_back(ReadString());
  return items;
}

void Archive::WriteBytes(const void* data, std::size_t size) {
  RequireStoring();
  const auto begin = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), begin, begin + size);
  pos_ = bytes_.size();
}

void Archive::ReadBytes(void* data, std::size_t size) {
  RequireLoading();
  Require(size);
  if (size != 0) std::memcpy(data, bytes_.data() + pos_, size);
  pos_ += size;
}
