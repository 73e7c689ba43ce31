#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "platform/ProgramDir.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the life of the scope (nullptr: unsets it).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

TEST(ProgramDirTest, IsBrixoHomeWhenSet) {
  const ScopedEnv home("BRIXO_HOME", "/some/where");
  EXPECT_EQ(ProgramDir(), fs::path("/some/where"));
}

TEST(ProgramDirTest, IsTheExecutablesFolderWhenBrixoHomeIsUnsetOrEmpty) {
  const fs::path executableDir = fs::read_symlink("/proc/self/exe").parent_path();
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    SCOPED_TRACE(value == nullptr ? "unset" : "empty");
    const ScopedEnv home("BRIXO_HOME", value);
    EXPECT_EQ(ProgramDir(), executableDir);
  }
}

TEST(ProgramDirTest, CreatesNestedFoldersAndTellsFilesFromFolders) {
  const fs::path base = ProgramDir();
  const fs::path nested = base / "a" / "b" / "c";
  EXPECT_FALSE(IsDirectory(nested));
  EXPECT_TRUE(CreateDirectories(nested));
  EXPECT_TRUE(IsDirectory(nested));
  EXPECT_FALSE(IsFile(nested));
  EXPECT_TRUE(CreateDirectories(nested)) << "an existing folder counts as created";

  const fs::path file = base / "a" / "file.txt";
  std::ofstream(file) << "x";
  EXPECT_TRUE(IsFile(file));
  EXPECT_FALSE(IsDirectory(file));
  EXPECT_FALSE(CreateDirectories(file / "below")) << "a file stands in the way";

  EXPECT_FALSE(IsFile(base / "missing"));
  EXPECT_FALSE(IsDirectory(base / "missing"));
  EXPECT_FALSE(CreateDirectories(""));
}

}  // namespace
