#pragma once
// One conversion between two text encodings through the C library's iconv, in steps that the
// caller drives: as far as the input and the output buffer allow, stopping at a character the
// target cannot hold or the input does not encode.

#include <iconv.h>

#include <cstddef>
#include <span>

class Iconv {
 public:
  // Why a step ended.
  enum class Stop {
    Done,        // all of the input was converted
    OutputFull,  // the output buffer took all it could; go on with more room
    Invalid,     // the next input character is malformed or has no counterpart in the target
    Incomplete,  // the input ends inside a character
  };
  struct Step {
    std::size_t read;
    std::size_t written;
    Stop stop;
  };

  // Encoding names as iconv knows them: "UTF-8", "CP932".
  Iconv(const char* to, const char* from);
  ~Iconv();
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // False when the C library knows no such conversion; every step then converts nothing and
  // stops as Invalid.
  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` into `out`. A stateful encoding keeps its shift state into the next step.
  Step Convert(std::span<const char> in, std::span<char> out);
  // Back to the initial shift state.
  void Reset();

 private:
  iconv_t cd_;
};
