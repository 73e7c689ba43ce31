#include "stage/output/Quirex.h"

namespace {

// An int holds every whole number in [-2^31, 2^31); the bounds are exact doubles.
constexpr double kIntLow = -2147483648.0;
constexpr double kIntEnd = 2147483648.0;

// Calls the export with the arguments when the table holds it; 0 when it does not.
template <typename Function, typename... Args>
int CallIfHeld(Function function, Args... args) {
  return function != nullptr ? function(args...) : 0;
}

void OnErrorProc(int error, void* context) { static_cast<CQuirex*>(context)->OnError(error); }

void OnProgressProc(int what, int done, int total, int reserved, void* context) {
  static_cast<CQuirex*>(context)->OnProgress(what, done, total, reserved);
}

}  // namespace

void CXlsxValue::Bind(int handle, const QuirexExports& exports) {
  string_.Bind(handle, nullptr);
  stringW_.Bind(handle, exports.putValueStringW);
  double_.Bind(handle, exports.putValueDouble);
  long_.Bind(handle, exports.putValueLong);
}

void CXlsxValue::Assign(double value) const {
  // The range is tested before the conversion, which is undefined outside it; NaN fails both
  // comparisons.
  if (value >= kIntLow && value < kIntEnd) {
    const int whole = static_cast<int>(value);
    if (static_cast<double>(whole) == value) {
      PutLong(whole);
      return;
    }
  }
  PutDouble(value);
}

void CXlsxBaseT::Init(int handle, const QuirexExports& /*exports*/) { handle_ = handle; }

void CXlsxPage::Init(int handle, const QuirexExports& exports) {
  CXlsxBaseT::Init(handle, exports);
  Attr.Init(handle, exports);
}

void CXlsxOption::Init(int handle, const QuirexExports& exports) {
  CXlsxBaseT::Init(handle, exports);
  ExcelMode.Bind(handle, exports.optionPutExcelMode);
  DefaultCellW.Bind(handle, exports.optionPutDefaultCellW);
}

void CXlsxAttr::Init(int handle, const QuirexExports& exports) {
  CXlsxBaseT::Init(handle, exports);
  Format.Bind(handle, exports.attrPutFormat);
  BackColor.Bind(handle, exports.attrPutBackColor);
  PosHorz.Bind(handle, exports.attrPutPosHorz);
  Fit.Bind(handle, exports.attrPutFit);
  box_ = exports.attrPutBox;
}

int CXlsxAttr::Box(int kind, int inner, std::uint32_t color) const {
  return CallIfHeld(box_, Handle(), kind, inner, color);
}

void CXlsxCell::Init(int handle, const QuirexExports& exports) {
  CXlsxBaseT::Init(handle, exports);
  Canvas.Init(handle, exports);
  Attr.Init(handle, exports);
  Drawing.Init(handle, exports);
  Value.Bind(handle, exports);
}

CQuirex::CQuirex(const QuirexExports& exports) : exports_(exports) {}

CQuirex::~CQuirex() { Release(); }

int CQuirex::Create() {
  Release();
  const int result = CallIfHeld(exports_.create, 0, &handle_);
  Cell.Init(handle_, exports_);
  Out.Init(handle_, exports_);
  Start.Init(handle_, exports_);
  Page.Init(handle_, exports_);
  Option.Init(handle_, exports_);
  Printer.Init(handle_, exports_);
  CallIfHeld(exports_.setOnErrorProc, handle_, &OnErrorProc, static_cast<void*>(this));
  CallIfHeld(exports_.setOnProgressProc, handle_, &OnProgressProc, static_cast<void*>(this));
  return result;
}

void CQuirex::Release() {
  if (handle_ == 0) return;
  CallIfHeld(exports_.release, handle_);
  handle_ = 0;
}

int CQuirex::StartCreate(int version) const {
  return CallIfHeld(exports_.startCreate, handle_, version);
}

int CQuirex::PageBeginW(const char16_t* name, const char16_t* page) const {
  return CallIfHeld(exports_.pageBeginW, handle_, name, page);
}

int CQuirex::PageEnd() const { return CallIfHeld(exports_.pageEnd, handle_); }

int CQuirex::CellW(const char16_t* name) const {
  return CallIfHeld(exports_.cellW, handle_, name, 0, 0);
}

int CQuirex::CellNarrow(const char* name) const {
  return CallIfHeld(exports_.cell, handle_, name, 0, 0);
}

int CQuirex::OutFileW(const char16_t* path) const {
  return CallIfHeld(exports_.outFileW, handle_, path, -1);
}

void CQuirex::OnError(int /*error*/) {}

void CQuirex::OnProgress(int /*what*/, int /*done*/, int /*total*/, int /*reserved*/) {}
