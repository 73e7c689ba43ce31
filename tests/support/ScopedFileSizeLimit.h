#pragma once
// A full disk for the length of a scope, so that tests can make a write fail even as root.

#include <sys/resource.h>

#include <csignal>

// Lowers the size up to which this process may write a file, as a full disk would stop it; the
// signal that would end the process is ignored meanwhile, so writes fail with an error instead.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
};
