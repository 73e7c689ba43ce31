// Files that replace others only when complete (ReplacingFile), through the archive that saves
// every document and configuration file: concurrent and killed savers, permission bits, symbolic
// links, failures, and the temporary files that killed savers leave.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Archive.h"
#include "platform/ProgramDir.h"
#include "platform/ReplacingFile.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A document of one repeated byte: any mixture of two of them, or a cut one, shows.
Archive Document(char fill, std::size_t size = 256 * 1024) {
  Archive ar;
  const std::string bytes(size, fill);
  ar.WriteBytes(bytes.data(), bytes.size());
  return ar;
}

std::string Whole(char fill, std::size_t size = 256 * 1024) { return std::string(size, fill); }

mode_t PermissionBits(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Two threads save different documents to one path at once, round after round: each save
// succeeds and the file is always one of the two, whole.
TEST(ReplacingFileTest, TwoSaversOfOnePathAlwaysLeaveOneWholeDocument) {
  const fs::path file = DataDir() / "shared.qxmd";
  const Archive first = Document('A');
  const Archive second = Document('B');
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    bool firstSaved = false;
    bool secondSaved = false;
    const auto save = [&file](const Archive& ar, bool& saved) {
      try {
        ar.SaveToFile(file);
        saved = true;
      } catch (const ArchiveException&) {
        saved = false;
      }
    };
    std::thread a(save, std::cref(first), std::ref(firstSaved));
    std::thread b(save, std::cref(second), std::ref(secondSaved));
    a.join();
    b.join();
    EXPECT_TRUE(firstSaved);
    EXPECT_TRUE(secondSaved);
    const std::string bytes = ReadFileBytes(file);
    EXPECT_TRUE(bytes == Whole('A') || bytes == Whole('B')) << "a mixed or cut file";
    ASSERT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"shared.qxmd"});
  }
}

// Two processes save one path over and over and are killed at a random moment: the file is
// always the document that was there or one of theirs, whole. What the killed savers leave
// behind is removed by a later save once it is old.
TEST(ReplacingFileTest, SaversKilledMidSaveLeaveOneWholeDocument) {
  const fs::path file = DataDir() / "killed.qxmd";
  Document('O').SaveToFile(file);
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    std::vector<pid_t> savers;
    for (const char fill : {'A', 'B'}) {
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {  // a saver until it is killed; it never returns into the test program
        try {
          const Archive ar = Document(fill);
          for (;;) ar.SaveToFile(file);
        } catch (...) {
        }
        ::_exit(1);
      }
      savers.push_back(pid);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    for (const pid_t pid : savers) ::kill(pid, SIGKILL);
    for (const pid_t pid : savers) ::waitpid(pid, nullptr, 0);
    const std::string bytes = ReadFileBytes(file);
    EXPECT_TRUE(bytes == Whole('O') || bytes == Whole('A') || bytes == Whole('B'))
        << "a mixed or cut file of " << bytes.size() << " bytes";
  }

  // The leftovers, made older than the stale age, go with the next save; nothing else does.
  const auto old =
      fs::file_time_type::clock::now() - ReplacingFile::kStaleAge - std::chrono::minutes(1);
  for (const std::string& name : FileNamesIn(DataDir())) {
    if (name != "killed.qxmd") fs::last_write_time(DataDir() / name, old);
  }
  Document('C', 10).SaveToFile(file);
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"killed.qxmd"});
  EXPECT_EQ(ReadFileBytes(file), Whole('C', 10));
}

// Only old temporary files of the same target go: a fresh one may belong to a saver at work, and
// other names belong to someone else.
TEST(ReplacingFileTest, ASaveRemovesOnlyOldTemporaryFilesOfItsOwnTarget) {
  const fs::path folder = DataDir();
  const auto old =
      fs::file_time_type::clock::now() - ReplacingFile::kStaleAge - std::chrono::minutes(1);
  const std::vector<std::string> kept = {
      "doc.bin.Fresh1.saving",  // written to just now
      "doc.bin.saving",         // no random tag
      "doc.bin.Ab-Cd1.saving",  // not letters and digits
      "other.bin.Q1w2E3.saving", "doc.bin.Q1w2E3.saving.txt",
  };
  for (const std::string& name : kept) {
    WriteFileBytes(folder / name, "x");
    if (name != "doc.bin.Fresh1.saving") fs::last_write_time(folder / name, old);
  }
  WriteFileBytes(folder / "doc.bin.Q1w2E3.saving", "left by a killed saver");
  fs::last_write_time(folder / "doc.bin.Q1w2E3.saving", old);
  fs::create_directory(folder / "doc.bin.Dir123.saving");  // not a file
  fs::last_write_time(folder / "doc.bin.Dir123.saving", old);

  Document('D', 4).SaveToFile(folder / "doc.bin");
  std::vector<std::string> expected = kept;
  expected.push_back("doc.bin");
  expected.push_back("doc.bin.Dir123.saving");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FileNamesIn(folder), expected);
}

// A replaced file keeps its permission bits exactly, also bits the creation mask would drop; a
// new file gets what any file we create gets.
TEST(ReplacingFileTest, TheReplacedFileKeepsItsPermissionBits) {
  const fs::path file = DataDir() / "modes.qxmd";
  const mode_t mask = ::umask(022);
  Document('N', 4).SaveToFile(file);
  EXPECT_EQ(PermissionBits(file), 0644u);
  for (const mode_t mode : {0600u, 0640u, 0666u, 0444u}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    Document('M', 4).SaveToFile(file);
    EXPECT_EQ(PermissionBits(file), mode);
  }
  ::umask(mask);
}

// A save through a symbolic link (also a chain of them, relative or absolute) replaces the file
// the link names; the links stay. A link that names no file yet makes that file.
TEST(ReplacingFileTest, ASaveThroughASymbolicLinkReplacesItsTarget) {
  const fs::path folder = DataDir();
  fs::create_directory(folder / "real");
  const fs::path target = folder / "real" / "doc.qxmd";
  Document('T', 4).SaveToFile(target);
  fs::create_symlink("real/doc.qxmd", folder / "link.qxmd");
  fs::create_symlink(folder / "link.qxmd", folder / "chain.qxmd");
  fs::create_symlink("real/new.qxmd", folder / "dangling.qxmd");

  Document('L', 4).SaveToFile(folder / "chain.qxmd");
  EXPECT_TRUE(fs::is_symlink(folder / "chain.qxmd"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.qxmd"));
  EXPECT_EQ(ReadFileBytes(target), Whole('L', 4));

  Document('N', 4).SaveToFile(folder / "dangling.qxmd");
  EXPECT_TRUE(fs::is_symlink(folder / "dangling.qxmd"));
  EXPECT_EQ(ReadFileBytes(folder / "real" / "new.qxmd"), Whole('N', 4));
  EXPECT_EQ(FileNamesIn(folder / "real"), (std::vector<std::string>{"doc.qxmd", "new.qxmd"}));
}

TEST(ReplacingFileTest, ALinkThatNamesItselfIsRefused) {
  const fs::path loop = DataDir() / "loop.qxmd";
  fs::create_symlink("loop.qxmd", loop);
  EXPECT_THROW(Document('X', 4).SaveToFile(loop), ArchiveException);
  EXPECT_TRUE(fs::is_symlink(loop));
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"loop.qxmd"});
}

}  // namespace
