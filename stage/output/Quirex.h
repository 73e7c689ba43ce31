#pragma once
// The object layer over the spreadsheet-writer library (platform/xlsx): one object per area of
// the library (start, output, page, options, printer, cell with its attributes, drawing, canvas),
// each holding properties, that is a putter and a getter of the library bound to the library
// handle, so that a caller writes a setting as one call on a member. CQuirex holds them all for
// one workbook.
//
// The functions come from a table of exports (the library's own, or a test's counting table).
// Only the exports the workbook writer calls exist; every other property keeps null functions,
// and a call through a null function does nothing (and a putter answers 0), as it does before
// Create.

#include <cstdint>

#include "platform/xlsx/QuirexExports.h"

// One setting of the library: a putter taking (handle, value) and a getter giving the value for
// a handle, either of which may be missing.
template <typename T>
class CXlsxProperty {
 public:
  using Putter = int (*)(int handle, T value);
  using Getter = T (*)(int handle);

  void Bind(int handle, Putter put, Getter get = nullptr) {
    handle_ = handle;
    put_ = put;
    get_ = get;
  }
  // The export's result; 0 when there is no putter.
  int Put(T value) const { return put_ != nullptr ? put_(handle_, value) : 0; }
  // Stores the value through result; leaves it alone when there is no getter.
  void Get(T* result) const {
    if (get_ != nullptr) *result = get_(handle_);
  }

 private:
  Putter put_ = nullptr;
  Getter get_ = nullptr;
  int handle_ = 0;
};

// The value of the selected cell: a narrow or a wide text, a double or a long.
class CXlsxValue {
 public:
  void Bind(int handle, const QuirexExports& exports);
  void PutString(const char* text) const { string_.Put(text); }
  void PutStringW(const char16_t* text) const { stringW_.Put(text); }
  void PutDouble(double value) const { double_.Put(value); }
  void PutLong(int value) const { long_.Put(value); }
  // A number that an int holds exactly goes as a long, any other (a fraction, a number beyond an
  // int's range, NaN, an infinity) as a double.
  void Assign(double value) const;

 private:
  CXlsxProperty<const char*> string_;
  CXlsxProperty<const char16_t*> stringW_;
  CXlsxProperty<double> double_;
  CXlsxProperty<int> long_;
};

class CXlsxBaseT {
 public:
  virtual ~CXlsxBaseT() = default;
  // Stores the handle and binds the properties to the exports the table holds.
  virtual void Init(int handle, const QuirexExports& exports);
  int Handle() const { return handle_; }

 protected:
  CXlsxBaseT() = default;
  CXlsxBaseT(const CXlsxBaseT&) = default;
  CXlsxBaseT& operator=(const CXlsxBaseT&) = default;

 private:
  int handle_ = 0;
};

class CXlsxStart : public CXlsxBaseT {};

class CXlsxOut : public CXlsxBaseT {
 public:
  CXlsxProperty<int> IsPrint;
};

class CXlsxPageAttr : public CXlsxBaseT {
 public:
  CXlsxProperty<int> Center;
  CXlsxProperty<int> PageOrder;
};

class CXlsxPage : public CXlsxBaseT {
 public:
  void Init(int handle, const QuirexExports& exports) override;
  CXlsxPageAttr Attr;
};

class CXlsxOption : public CXlsxBaseT {
 public:
  void Init(int handle, const QuirexExports& exports) override;
  CXlsxProperty<int> ExcelMode, DoubleMode;
  CXlsxProperty<const char*> ViewCaption;
  CXlsxProperty<const char16_t*> ViewCaptionW;
  CXlsxProperty<int> ViewZoom, ViewPage, ScaleMode, DspInvalidArea, DspMarginArea, ProgressDialog,
      OverFit, ViewSaveEnable, ViewPrintEnable;
  CXlsxProperty<const char*> SaveName;
  CXlsxProperty<const char16_t*> SaveNameW;
  CXlsxProperty<int> PrintType, ViewMinimizeBox;
  CXlsxProperty<const char*> KeyWord;
  CXlsxProperty<const char16_t*> KeyWordW;
  CXlsxProperty<int> ViewSaveButtonHide, ViewPrintButtonHide, ViewPrevButtonHide,
      ViewNextButtonHide, ViewZoomButtonHide, ViewCloseButtonHide, DefaultSheet;
  CXlsxProperty<const char*> DefaultCell;
  CXlsxProperty<const char16_t*> DefaultCellW;
  CXlsxProperty<const char*> SaveMessage;
  CXlsxProperty<const char16_t*> SaveMessageW;
  CXlsxProperty<const char*> DocumentName;
  CXlsxProperty<int> ReplaceYenSign;
};

class CXlsxPrinter : public CXlsxBaseT {
 public:
  CXlsxProperty<int> PrintQuality, ColorMode, Duplex, Copies;
};

class CXlsxCanvas : public CXlsxBaseT {};

class CXlsxDrawingT : public CXlsxBaseT {
 public:
  CXlsxProperty<std::uint32_t> LineColor;
  CXlsxProperty<double> LineWeight;
  CXlsxProperty<int> LineStyle, ArrowTypeS, ArrowTypeE;
  CXlsxProperty<std::uint32_t> FillColor;
  CXlsxProperty<const char*> FontName;
  CXlsxProperty<const char16_t*> FontNameW;
  CXlsxProperty<double> FontPoint;
  CXlsxProperty<std::uint32_t> FontColor;
  CXlsxProperty<int> FontStyle, FontULine, TextAnchor, TextVertical, TextAlign;
};

// The attributes of the selected cells.
class CXlsxAttr : public CXlsxBaseT {
 public:
  void Init(int handle, const QuirexExports& exports) override;
  // A box of lines around the selection (0 the outline, 1 with the inner lines).
  int Box(int kind, int inner, std::uint32_t color) const;

  CXlsxProperty<const char*> Format;
  CXlsxProperty<const char16_t*> FormatW;
  CXlsxProperty<const char*> FontName;
  CXlsxProperty<const char16_t*> FontNameW;
  CXlsxProperty<double> FontPoint;
  CXlsxProperty<std::uint32_t> FontColor;
  CXlsxProperty<int> FontStyle, FontULine, Pattern;
  CXlsxProperty<std::uint32_t> ForeColor, BackColor;
  CXlsxProperty<int> PosHorz, PosVert, PosTurn, OverReturn, Fit, Joint;

 private:
  decltype(&QuirexAttrPutBox) box_ = nullptr;
};

class CXlsxCell : public CXlsxBaseT {
 public:
  void Init(int handle, const QuirexExports& exports) override;

  CXlsxValue Value;
  CXlsxProperty<double> ColWidth, RowHeight;
  CXlsxProperty<int> Break;
  CXlsxCanvas Canvas;
  CXlsxDrawingT Drawing;
  CXlsxAttr Attr;
  CXlsxProperty<int> AttrNo;
};

// The spreadsheet-writer object of one workbook.
class CQuirex {
 public:
  explicit CQuirex(const QuirexExports& exports = QuirexLibrary());
  CQuirex(const CQuirex&) = delete;
  CQuirex& operator=(const CQuirex&) = delete;
  // Releases the handle if one is held.
  virtual ~CQuirex();

  // Releases a handle held, creates a new one, binds every object to it and registers the error
  // and progress callbacks. The library's result: non-zero on success.
  int Create();
  // Releases the handle if one is held; the handle is 0 afterwards.
  void Release();
  int Handle() const { return handle_; }

  // The exports called directly, with the handle; each answers 0 when the table lacks it.
  int StartCreate(int version) const;
  int PageBeginW(const char16_t* name, const char16_t* page) const;
  int PageEnd() const;
  int CellW(const char16_t* name) const;
  int CellNarrow(const char* name) const;
  int OutFileW(const char16_t* path) const;

  // The library's error and progress reports; this system ignores them.
  virtual void OnError(int error);
  virtual void OnProgress(int what, int done, int total, int reserved);

  CXlsxProperty<const char*> FileName;
  CXlsxProperty<const char16_t*> FileNameW;
  CXlsxProperty<int> ErrorNo;
  CXlsxProperty<const char*> ErrorMessage;
  CXlsxProperty<const char16_t*> ErrorMessageW;
  CXlsxStart Start;
  CXlsxOut Out;
  CXlsxPage Page;
  CXlsxOption Option;
  CXlsxPrinter Printer;
  CXlsxCell Cell;

 private:
  const QuirexExports& exports_;
  int handle_ = 0;
};
