#include "platform/ProgramDir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The value of an environment variable that is set and not empty.
const char* EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// $HOME, else the home folder of the user's account entry; empty when neither is known.
fs::path HomeDir() {
  if (const char* home = EnvValue("HOME")) return fs::path(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return fs::path(found->pw_dir);
  }
  return {};
}

fs::path DataDirOfEnvironment() {
  if (const char* home = EnvValue("BRIXO_HOME")) return fs::path(home);
  // Relative paths in the XDG variables are invalid and ignored, as the base-directory rules say.
  if (const char* xdg = EnvValue("XDG_DATA_HOME"); xdg != nullptr && fs::path(xdg).is_absolute()) {
    return fs::path(xdg) / "Brixo";
  }
  return HomeDir() / ".local" / "share" / "Brixo";
}

}  // namespace

fs::path ResourceDir() {
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return executable.parent_path();
  // Without /proc the working folder is the best guess left.
  return fs::current_path(ec);
}

fs::path DataDir() {
  const fs::path dir = DataDirOfEnvironment();
  CreateDirectories(dir);
  return dir;
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
