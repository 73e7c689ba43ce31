#pragma once
// A file that takes the place of its target only once it is complete, the one way every writer of
// ours puts a file on disk. The bytes go into a temporary file of a name no other writer uses
// ("<target name>.<six random letters or digits>.saving", created exclusively in the target's
// folder), so two programs saving one path at once never write into the same file, and each
// rename puts one writer's whole file in place. Commit brings the bytes to the disk, gives the
// file the permission bits of the file it replaces, renames it over the target and syncs the
// folder, so that the new name survives a crash too. A target that is a symbolic link is written
// through: the file it names is replaced and the link stays. A writer that fails or is dropped
// before Commit removes its temporary file and leaves the target as it was.
//
// A writer that is killed leaves its temporary file behind. The next writer of the same target
// removes those that nobody has written to for kStaleAge: a unique name cannot be reused, so a
// pile of them would otherwise grow with every crash, while no sound writer leaves its file
// untouched that long (a document takes seconds; a movie writes each frame as it comes).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

class ReplacingFile {
 public:
  static constexpr std::chrono::hours kStaleAge{1};

  // Opens a fresh temporary file for the target; null, with the reason in error, when it cannot
  // (a missing or read-only folder, a chain of links without end).
  static std::unique_ptr<ReplacingFile> Create(const std::filesystem::path& target,
                                               std::error_code& error);
  // Removes the temporary file unless it was committed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Where the bytes go until Commit; null once committed.
  std::FILE* Stream() const { return file_.get(); }
  // The file that the target names: the target itself unless it is a symbolic link.
  const std::filesystem::path& Destination() const { return destination_; }
  // The temporary file's own name, for a library that writes only to a file it opens by name
  // (it truncates and writes the same file Stream() names; Commit takes those bytes alike).
  const std::filesystem::path& TemporaryPath() const { return temporary_; }

  // Makes the written bytes the target's content as described above. When a step before the
  // rename fails, the temporary file is removed and the target keeps what it held; a folder that
  // cannot be synced after the rename is reported too, with the new file in place but perhaps
  // not yet safe from a crash. The error tells why.
  std::error_code Commit();

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  ReplacingFile(std::filesystem::path destination, std::filesystem::path temporary,
                std::FILE* file);

  std::error_code SyncAndClose();
  void Discard();

  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool committed_ = false;
};
