#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSuffix = ".saving";
constexpr std::string_view kTagLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTagLength = 6;
// Names taken by other writers are skipped; this many in a row means something else is wrong.
constexpr int kMaxNameAttempts = 100;
// As many links as the system follows in one path before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

std::error_code ErrorOf(int number) { return {number, std::generic_category()}; }

// The error of the call that just failed; one that left errno unset counts as an input/output
// error, so that a failure is never taken for success.
std::error_code LastError() { return ErrorOf(errno != 0 ? errno : EIO); }

// Six letters or digits from the system's random source: unlike a seeded engine, they differ
// between processes that forked from one another.
std::string RandomTag() {
  std::random_device device;
  std::uint64_t bits = (std::uint64_t{device()} << 32) | device();
  std::string tag;
  for (std::size_t i = 0; i < kTagLength; ++i) {
    tag += kTagLetters[bits % kTagLetters.size()];
    bits /= kTagLetters.size();
  }
  return tag;
}

// "<name>.<tag>.saving" for the destination's file name.
bool IsTemporaryName(std::string_view entry, std::string_view name) {
  if (entry.size() != name.size() + 1 + kTagLength + kSuffix.size()) return false;
  if (!entry.starts_with(name) || entry[name.size()] != '.' || !entry.ends_with(kSuffix)) {
    return false;
  }
  const std::string_view tag = entry.substr(name.size() + 1, kTagLength);
  return std::all_of(tag.begin(), tag.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The file that path names once every symbolic link on the way is followed; the file itself need
// not exist yet.
fs::path FollowLinks(fs::path path, std::error_code& error) {
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    const fs::path link = fs::read_symlink(path, error);
    if (error) return {};
    path = link.is_absolute() ? link : FolderOf(path) / link;
  }
  error = ErrorOf(ELOOP);
  return {};
}

// Removes the temporary files of earlier writers of the destination that nobody has written to
// for the stale age: their writers were killed.
void RemoveStaleTemporaries(const fs::path& destination) {
  const std::string name = destination.filename().string();
  const auto now = fs::file_time_type::clock::now();
  std::error_code error;
  for (fs::directory_iterator it(FolderOf(destination), error), end; !error && it != end;
       it.increment(error)) {
    std::error_code ignored;
    if (!IsTemporaryName(it->path().filename().string(), name) ||
        !fs::is_regular_file(it->symlink_status(ignored))) {
      continue;
    }
    const auto written = it->last_write_time(ignored);
    if (!ignored && now - written >= ReplacingFile::kStaleAge) fs::remove(it->path(), ignored);
  }
}

// Brings a rename in the folder to the disk. A file system that cannot sync a folder says so
// with EINVAL; there the rename is as durable as that file system makes it.
std::error_code SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  errno = 0;
  std::error_code error;
  if (::fsync(fd) != 0 && errno != EINVAL) error = LastError();
  ::close(fd);
  return error;
}

}  // namespace

std::unique_ptr<ReplacingFile> ReplacingFile::Create(const fs::path& target,
                                                     std::error_code& error) {
  error.clear();
  fs::path destination = FollowLinks(target, error);
  if (error) return nullptr;
  RemoveStaleTemporaries(destination);

  struct stat replaced {};
  const bool replaces = ::stat(destination.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);
  // Never wider than the file it replaces while the bytes are written; a new file as any file we
  // create, through the creation mask.
  const mode_t mode = replaces ? (replaced.st_mode & 07777) : 0666;
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    fs::path temporary = destination;
    temporary += "." + RandomTag() + std::string(kSuffix);
    errno = 0;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      error = LastError();
      return nullptr;
    }
    // The creation mask may have narrowed the bits; the replacement gets exactly the old ones.
    errno = 0;
    std::FILE* file = replaces && ::fchmod(fd, mode) != 0 ? nullptr : ::fdopen(fd, "wb");
    if (file == nullptr) {
      error = LastError();
      ::close(fd);
      ::unlink(temporary.c_str());
      return nullptr;
    }
    return std::unique_ptr<ReplacingFile>(
        new ReplacingFile(std::move(destination), std::move(temporary), file));
  }
  error = ErrorOf(EEXIST);
  return nullptr;
}

ReplacingFile::ReplacingFile(fs::path destination, fs::path temporary, std::FILE* file)
    : destination_(std::move(destination)), temporary_(std::move(temporary)), file_(file) {}

ReplacingFile::~ReplacingFile() {
  if (!committed_) Discard();
}

std::error_code ReplacingFile::Commit() {
  if (!file_) return ErrorOf(EBADF);
  // The bytes reach the disk, not only the buffers of the library and the system, before the
  // rename makes them the file: otherwise a crash soon after could leave an empty or partial
  // file in place of the old one.
  std::error_code error = SyncAndClose();
  errno = 0;
  if (!error && ::rename(temporary_.c_str(), destination_.c_str()) != 0) error = LastError();
  if (error) {
    Discard();
    return error;
  }
  committed_ = true;
  return SyncFolder(FolderOf(destination_));
}

std::error_code ReplacingFile::SyncAndClose() {
  errno = 0;
  std::error_code error;
  if (std::fflush(file_.get()) != 0 || ::fsync(::fileno(file_.get())) != 0) error = LastError();
  // Closing can still report a failure of the writes.
  errno = 0;
  if (std::fclose(file_.release()) != 0 && !error) error = LastError();
  return error;
}

void ReplacingFile::Discard() {
  file_.reset();
  ::unlink(temporary_.c_str());
}
