#include "platform/Iconv.h"

#include <cerrno>

Iconv::Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

Iconv::~Iconv() {
  if (IsOpen()) iconv_close(cd_);
}

Iconv::Step Iconv::Convert(std::span<const char> in, std::span<char> out) {
  if (!IsOpen()) return {0, 0, Stop::Invalid};
  char* src = const_cast<char*>(in.data());  // iconv's interface is not const-correct
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
  const int error = errno;
  Step step{in.size() - srcLeft, out.size() - dstLeft, Stop::Done};
  if (rc == static_cast<std::size_t>(-1)) {
    step.stop = error == E2BIG    ? Stop::OutputFull
                : error == EINVAL ? Stop::Incomplete
                                  : Stop::Invalid;
  }
  return step;
}

void Iconv::Reset() {
  if (IsOpen()) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
}
