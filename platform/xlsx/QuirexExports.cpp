#include "platform/xlsx/QuirexExports.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Text.h"
#include "platform/xlsx/XlsxBook.h"

namespace {

constexpr int kFitShrink = 1;
constexpr int kPosHorzCentre = 22;
constexpr std::uint32_t kSystemColourFlag = 0x80000000;

// What one handle holds.
struct Session {
  XlsxBook book;
  bool started = false;
  QuirexErrorProc onError = nullptr;
  void* errorContext = nullptr;
  QuirexProgressProc onProgress = nullptr;
  void* progressContext = nullptr;
};

class Sessions {
 public:
  int Create() {
    const std::lock_guard lock(mutex_);
    const int handle = ++lastHandle_;
    sessions_.emplace(handle, std::make_unique<Session>());
    return handle;
  }
  bool Release(int handle) {
    const std::lock_guard lock(mutex_);
    return sessions_.erase(handle) != 0;
  }
  // The session of the handle; null for an unknown one. Every call of one session comes from
  // one thread, which releases it last.
  Session* Find(int handle) {
    const std::lock_guard lock(mutex_);
    const auto found = sessions_.find(handle);
    return found != sessions_.end() ? found->second.get() : nullptr;
  }

 private:
  std::mutex mutex_;
  int lastHandle_ = 0;
  std::map<int, std::unique_ptr<Session>> sessions_;
};

Sessions& AllSessions() {
  static Sessions sessions;
  return sessions;
}

// The workbook of a handle that has started one; null else.
XlsxBook* StartedBook(int handle) {
  Session* const session = AllSessions().Find(handle);
  return session != nullptr && session->started ? &session->book : nullptr;
}

std::string Utf8(const char16_t* text) { return text != nullptr ? Utf16ToUtf8(text) : ""; }

int Result(bool ok) { return ok ? 1 : 0; }

int Select(int handle, std::string_view name) {
  XlsxBook* const book = StartedBook(handle);
  const std::optional<XlsxRange> range = ParseXlsxRange(name);
  return Result(book != nullptr && range && book->Select(*range));
}

// A COLORREF (0x00BBGGRR) as 0xRRGGBB; the system colours (high bit set) all stand for the
// window text, black.
std::uint32_t RgbOf(std::uint32_t colorref) {
  if ((colorref & kSystemColourFlag) != 0) return 0;
  return ((colorref & 0xff) << 16) | (colorref & 0xff00) | ((colorref >> 16) & 0xff);
}

}  // namespace

int QuirexCreate(int /*reserved*/, int* handle) {
  if (handle == nullptr) return 0;
  *handle = AllSessions().Create();
  return 1;
}

int QuirexRelease(int handle) { return Result(AllSessions().Release(handle)); }

int QuirexSetOnErrorProc(int handle, QuirexErrorProc proc, void* context) {
  Session* const session = AllSessions().Find(handle);
  if (session == nullptr) return 0;
  session->onError = proc;
  session->errorContext = context;
  return 1;
}

int QuirexSetOnProgressProc(int handle, QuirexProgressProc proc, void* context) {
  Session* const session = AllSessions().Find(handle);
  if (session == nullptr) return 0;
  session->onProgress = proc;
  session->progressContext = context;
  return 1;
}

int QuirexStartCreate(int handle, int /*version*/) {
  Session* const session = AllSessions().Find(handle);
  if (session == nullptr) return 0;
  session->book.Start();
  session->started = true;
  return 1;
}

int QuirexOptionPutExcelMode(int handle, int /*mode*/) {
  return Result(StartedBook(handle) != nullptr);
}

int QuirexOptionPutDefaultCellW(int handle, const char16_t* cell) {
  XlsxBook* const book = StartedBook(handle);
  const std::optional<XlsxRange> range = ParseXlsxRange(Utf8(cell));
  if (book == nullptr || !range) return 0;
  book->SetActiveCell(*range);
  return 1;
}

int QuirexPageBeginW(int handle, const char16_t* name, const char16_t* /*page*/) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->BeginSheet(Utf8(name)));
}

int QuirexPageEnd(int handle) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->EndSheet());
}

int QuirexCellW(int handle, const char16_t* name, int /*reserved1*/, int /*reserved2*/) {
  return Select(handle, Utf8(name));
}

int QuirexCell(int handle, const char* name, int /*reserved1*/, int /*reserved2*/) {
  return Select(handle, name != nullptr ? name : "");
}

int QuirexPutValueStringW(int handle, const char16_t* text) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->PutText(Utf8(text)));
}

int QuirexPutValueLong(int handle, int value) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->PutNumber(value));
}

int QuirexPutValueDouble(int handle, double value) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->PutNumber(value));
}

int QuirexAttrPutFit(int handle, int fit) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->SetShrink(fit == kFitShrink));
}

int QuirexAttrPutBackColor(int handle, std::uint32_t color) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->SetFill(RgbOf(color)));
}

int QuirexAttrPutPosHorz(int handle, int position) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->SetCentred(position == kPosHorzCentre));
}

int QuirexAttrPutFormat(int handle, const char* format) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->SetNumberFormat(format != nullptr ? format : ""));
}

int QuirexAttrPutBox(int handle, int /*kind*/, int inner, std::uint32_t color) {
  XlsxBook* const book = StartedBook(handle);
  return Result(book != nullptr && book->SetBox(inner != 0, RgbOf(color)));
}

int QuirexOutFileW(int handle, const char16_t* path, int /*reserved*/) {
  Session* const session = AllSessions().Find(handle);
  if (session == nullptr || !session->started || path == nullptr) return 0;
  int error = 0;
  const bool written = WriteThroughTemporary(std::filesystem::path(Utf16ToUtf8(path)),
                                             [&](const std::filesystem::path& temporary) {
                                               return session->book.Write(temporary, error);
                                             });
  if (!written && session->onError != nullptr) session->onError(error, session->errorContext);
  return Result(written);
}

const QuirexExports& QuirexLibrary() {
  static constexpr QuirexExports kLibrary{
      QuirexCreate,
      QuirexRelease,
      QuirexSetOnErrorProc,
      QuirexSetOnProgressProc,
      QuirexStartCreate,
      QuirexOptionPutExcelMode,
      QuirexOptionPutDefaultCellW,
      QuirexPageBeginW,
      QuirexPageEnd,
      QuirexCellW,
      QuirexCell,
      QuirexPutValueStringW,
      QuirexPutValueLong,
      QuirexPutValueDouble,
      QuirexAttrPutFit,
      QuirexAttrPutBackColor,
      QuirexAttrPutPosHorz,
      QuirexAttrPutFormat,
      QuirexAttrPutBox,
      QuirexOutFileW,
  };
  return kLibrary;
}
