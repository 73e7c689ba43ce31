#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

TEST(ProgramDirTest, ResourceDirIsTheExecutablesFolder) {
  EXPECT_EQ(ResourceDir(), fs::read_symlink("/proc/self/exe").parent_path());
}

struct DataDirCase {
  const char* name;
  const char* brixoHome;  // nullptr: unset
  const char* xdgDataHome;
  const char* home;
  const char* expected;  // below the sandbox
};

TEST(ProgramDirTest, DataDirFollowsTheEnvironmentAndIsCreated) {
  const fs::path sandbox = fs::path(std::getenv("BRIXO_HOME")) / "data-dir";
  const std::string brixo = (sandbox / "brixo").string();
  const std::string xdg = (sandbox / "xdg").string();
  const std::string user = (sandbox / "user").string();
  const DataDirCase cases[] = {
      {"BRIXO_HOME wins", brixo.c_str(), xdg.c_str(), user.c_str(), "brixo"},
      {"empty BRIXO_HOME counts as unset", "", xdg.c_str(), user.c_str(), "xdg/Brixo"},
      {"XDG_DATA_HOME", nullptr, xdg.c_str(), user.c_str(), "xdg/Brixo"},
      {"empty XDG_DATA_HOME", nullptr, "", user.c_str(), "user/.local/share/Brixo"},
      {"relative XDG_DATA_HOME is ignored", nullptr, "relative/xdg", user.c_str(),
       "user/.local/share/Brixo"},
      {"neither set", nullptr, nullptr, user.c_str(), "user/.local/share/Brixo"},
  };
  for (const DataDirCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScopedEnv brixoHome("BRIXO_HOME", c.brixoHome);
    const ScopedEnv xdgDataHome("XDG_DATA_HOME", c.xdgDataHome);
    const ScopedEnv home("HOME", c.home);
    fs::remove_all(sandbox);
    EXPECT_EQ(DataDir(), sandbox / c.expected);
    EXPECT_TRUE(IsDirectory(sandbox / c.expected));
  }
}

TEST(ProgramDirTest, CreatesNestedFoldersAndTellsFilesFromFolders) {
  const fs::path base = DataDir();
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
