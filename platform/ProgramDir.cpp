#include "platform/ProgramDir.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

fs::path ProgramDir() {
  if (const char* home = std::getenv("BRIXO_HOME"); home != nullptr && *home != '\0') {
    return fs::path(home);
  }
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return executable.parent_path();
  // Without /proc the working folder is the best guess left.
  return fs::current_path(ec);
}

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool CreateDirectories(const fs::path& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return IsDirectory(path);
}
