#pragma once
// The spreadsheet-writer library: the flat interface of exported functions through which the
// stage library writes an .xlsx workbook, over libxlsxwriter. Only the exports the workbook writer
// calls exist. A caller creates a library handle, starts a workbook, begins a sheet, selects a
// cell or range by its name ("B3", "C3:G4") and puts a value or an attribute on the selection,
// ends the sheet and writes the file; releasing the handle frees everything of it.
//
// Every export returns non-zero on success and 0 on failure (an unknown handle, no workbook
// started, no sheet begun, no selection, a name that is no cell). Texts whose export ends in W
// are zero-terminated UTF-16, the others ASCII.
//
// What the library's values mean here:
// - fit 1 shrinks the text to fit the cell (any other value switches it off);
// - horizontal position 22 centres the text (any other value gives the default placement);
// - colours are COLORREF values, 0x00BBGGRR, so the back colour 0xccff fills with RGB #FFCC00;
//   0x80000008, the window-text system colour, is black;
// - box (…, 0, …) draws the outline of the selection, (…, 1, …) the outline and every inner
//   line, thin, in the colour given;
// - the number format is Excel's own ("0.000");
// - the default cell is the active cell of every sheet when the workbook is opened;
// - the Excel mode, the version of QuirexStartCreate and the page text of QuirexPageBeginW are
//   taken and not used: the workbook is always .xlsx.
//
// The attributes merge per cell in the order they were put; each cell is written once, when the
// file is written, so attributes may be put on ranges after their values. QuirexOutFileW writes
// to a unique temporary file in the target's folder and renames it over the target: a failed
// write leaves an older file whole. libxlsxwriter keeps numbers to 16 significant digits.
//
// Handles live in one table of this library (BrixoStage holds it whole, so it exists once).

#include <cstdint>

// Reports an error (the libxlsxwriter error number) with the context given at registration.
using QuirexErrorProc = void (*)(int error, void* context);
// Reports progress (what, done, total, reserved) with the context given at registration.
using QuirexProgressProc = void (*)(int what, int done, int total, int reserved, void* context);

// Stores a new handle in *handle; the first argument is reserved (0).
int QuirexCreate(int reserved, int* handle);
int QuirexRelease(int handle);
int QuirexSetOnErrorProc(int handle, QuirexErrorProc proc, void* context);
int QuirexSetOnProgressProc(int handle, QuirexProgressProc proc, void* context);
// Starts a new, empty workbook (dropping one that was started and not written).
int QuirexStartCreate(int handle, int version);
int QuirexOptionPutExcelMode(int handle, int mode);
int QuirexOptionPutDefaultCellW(int handle, const char16_t* cell);
// Begins a sheet of that name; the cell calls that follow go to it until QuirexPageEnd.
int QuirexPageBeginW(int handle, const char16_t* name, const char16_t* page);
int QuirexPageEnd(int handle);
// Selects a cell or a range; the two ints are reserved (0).
int QuirexCellW(int handle, const char16_t* name, int reserved1, int reserved2);
int QuirexCell(int handle, const char* name, int reserved1, int reserved2);
// The value of the selection's first cell.
int QuirexPutValueStringW(int handle, const char16_t* text);
int QuirexPutValueLong(int handle, int value);
int QuirexPutValueDouble(int handle, double value);
// Attributes of every cell of the selection.
int QuirexAttrPutFit(int handle, int fit);
int QuirexAttrPutBackColor(int handle, std::uint32_t color);
int QuirexAttrPutPosHorz(int handle, int position);
int QuirexAttrPutFormat(int handle, const char* format);
int QuirexAttrPutBox(int handle, int kind, int inner, std::uint32_t color);
// Writes the workbook to the file; the last argument is reserved (−1).
int QuirexOutFileW(int handle, const char16_t* path, int reserved);

// The exports as one table, so that a caller can be handed another table (a test's counting
// one) in place of the library's.
struct QuirexExports {
  decltype(&QuirexCreate) create;
  decltype(&QuirexRelease) release;
  decltype(&QuirexSetOnErrorProc) setOnErrorProc;
  decltype(&QuirexSetOnProgressProc) setOnProgressProc;
  decltype(&QuirexStartCreate) startCreate;
  decltype(&QuirexOptionPutExcelMode) optionPutExcelMode;
  decltype(&QuirexOptionPutDefaultCellW) optionPutDefaultCellW;
  decltype(&QuirexPageBeginW) pageBeginW;
  decltype(&QuirexPageEnd) pageEnd;
  decltype(&QuirexCellW) cellW;
  decltype(&QuirexCell) cell;
  decltype(&QuirexPutValueStringW) putValueStringW;
  decltype(&QuirexPutValueLong) putValueLong;
  decltype(&QuirexPutValueDouble) putValueDouble;
  decltype(&QuirexAttrPutFit) attrPutFit;
  decltype(&QuirexAttrPutBackColor) attrPutBackColor;
  decltype(&QuirexAttrPutPosHorz) attrPutPosHorz;
  decltype(&QuirexAttrPutFormat) attrPutFormat;
  decltype(&QuirexAttrPutBox) attrPutBox;
  decltype(&QuirexOutFileW) outFileW;
};

// The table of this library's exports.
const QuirexExports& QuirexLibrary();
