#pragma once
// A table of spreadsheet-writer exports that writes nothing and records every call as one line
// of text ("CellW B3", "Long 2", "Double 2.5", "Release 1"), so that tests see which exports the
// object layer and the workbook writer call, with what, and in which order. Handles count up from
// 1 per test; Reset starts a test afresh.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/xlsx/QuirexExports.h"

namespace recording_quirex {

struct State {
  std::vector<std::string> calls;
  int lastHandle = 0;
  int createResult = 1;
};

inline State& Recorded() {
  static State state;
  return state;
}

template <typename... Parts>
int Record(const Parts&... parts) {
  std::ostringstream line;
  line.precision(17);
  const char* separator = "";
  ((line << separator << parts, separator = " "), ...);
  Recorded().calls.push_back(line.str());
  return 1;
}

inline std::string Text(const char16_t* text) { return Utf16ToUtf8(text); }

}  // namespace recording_quirex

// Forgets the calls and handles of an earlier test; Create answers createResult from now on.
inline void ResetRecordingQuirex(int createResult = 1) {
  recording_quirex::Recorded() = recording_quirex::State{{}, 0, createResult};
}

inline const std::vector<std::string>& RecordedQuirexCalls() {
  return recording_quirex::Recorded().calls;
}

inline QuirexExports RecordingQuirex() {
  using namespace recording_quirex;
  return QuirexExports{
      [](int, int* handle) {
        *handle = ++Recorded().lastHandle;
        Record("Create", *handle);
        return Recorded().createResult;
      },
      [](int handle) { return Record("Release", handle); },
      [](int handle, QuirexErrorProc, void*) { return Record("SetOnErrorProc", handle); },
      [](int handle, QuirexProgressProc, void*) { return Record("SetOnProgressProc", handle); },
      [](int, int version) { return Record("StartCreate", version); },
      [](int, int mode) { return Record("ExcelMode", mode); },
      [](int, const char16_t* cell) { return Record("DefaultCellW", Text(cell)); },
      [](int, const char16_t* name, const char16_t* page) {
        return Record("PageBeginW", Text(name), Text(page));
      },
      [](int) { return Record("PageEnd"); },
      [](int, const char16_t* name, int, int) { return Record("CellW", Text(name)); },
      [](int, const char* name, int, int) { return Record("Cell", name); },
      [](int, const char16_t* text) { return Record("StringW", Text(text)); },
      [](int, int value) { return Record("Long", value); },
      [](int, double value) { return Record("Double", value); },
      [](int, int fit) { return Record("Fit", fit); },
      [](int, std::uint32_t colour) { return Record("BackColor", colour); },
      [](int, int position) { return Record("PosHorz", position); },
      [](int, const char* format) { return Record("Format", format); },
      [](int, int kind, int inner, std::uint32_t colour) {
        return Record("Box", kind, inner, colour);
      },
      [](int, const char16_t* path, int reserved) {
        return Record("OutFileW", Text(path), reserved);
      },
  };
}
