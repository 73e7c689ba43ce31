#pragma once
// The Excel workbook of step 2: the safety factor of every pair of start and end blocks of the
// active case, one sheet for the normal case (常時) and one for the seismic case (地震時), each
// when switched on in the case's stability conditions. A sheet holds a title, the pair with the
// smallest safety factor, two conditions, and a matrix with the start blocks across and the end
// blocks down.
//
// The workbook is written through the spreadsheet-writer object layer (CQuirex), which exists
// only during ExcelStart; the writer's report-object pointer refers to it meanwhile and is null
// at every other time. Copies copy the shared report state and the pointers as they are.

#include <string>
#include <string_view>

#include "platform/xlsx/QuirexExports.h"
#include "stage/output/StagePrintBase.h"

class CMltPoint;
class CQuirex;

class CStagePrintExcel : public CStagePrintBase {
 public:
  // The library's exports; a test hands a table of its own.
  explicit CStagePrintExcel(const QuirexExports& exports = QuirexLibrary());
  ~CStagePrintExcel() { Init(); }
  CStagePrintExcel(const CStagePrintExcel&) = default;
  CStagePrintExcel& operator=(const CStagePrintExcel&) = default;

  // The whole run: the file the user chooses, the workbook of the case's forward results for
  // kind 0, the file written, the offer to open it. Non-zero when the file was written; 0 when
  // there is nothing to write, the user cancelled, or the workbook could not be made or written
  // (each but the cancel with a message). The stage number and the third argument are not used.
  int ExcelStart(int stage, int kind, int reserved);

  // Starts the workbook and writes a sheet per load case switched on, through the report object;
  // nothing without a report object or a case.
  void ExcelMultiResultFsList();

  // Column letters: 1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA; empty text for a column below 1.
  static std::string ToAlphabet(int column);
  // The first run of letters of a cell name, upper case ("ab7" gives AB); empty when none.
  static std::string GetColumnName(std::string_view cell);
  // The column number of a cell name (B12 gives 2, ab7 28); 0 without letters; a name whose
  // letters count beyond an int gives INT_MAX.
  static int GetColumnIndex(std::string_view cell);
  // The sum of the runs of digits in a cell name (C10 gives 10, A1:B2 3); 0 for empty text; a
  // run or sum beyond an int gives INT_MAX.
  static int GetRowIndex(std::string_view cell);

  // Put one value into one named cell of the workbook being written; nothing happens while no
  // report object is set.
  void Cell(std::string_view cell, std::string_view text) const;
  void Cell(std::string_view cell, int value) const;
  void Cell(std::string_view cell, double value) const;
  // Nothing at all (not even the selection) when the value equals the empty marker.
  void Cell(std::string_view cell, double value, double empty) const;

  // The spreadsheet-writer object the Cell operations write to. ExcelStart sets it to its own
  // object for the run and clears it before it returns.
  void SetReportObject(CQuirex* report) { m_pQuirex = report; }

 private:
  // Whether the active case has anything to write: forward results and a load case switched on.
  bool HasSafetyFactors() const;
  // The save dialog, starting in the data folder's print folder with the proposed name.
  std::string AskForPath() const;
  // The written workbook: the question whether to open it, and the opening.
  static void OfferToOpen(const std::string& path);
  // The number format of safety factors: "0." and a "0" per decimal of the safety-factor code.
  static std::string FsFormat();
  // The pair with the smallest safety factor of case k, the earlier of equal ones; pairs without
  // a safety factor are passed over. Null when no pair has one.
  const CMltPoint* MinimumPair(int k) const;

  // The workbook options: Excel mode 1, default cell A1.
  void ExcelOption() const;
  // Rows 2 to 6 of the sheet of load case k (0 normal, 1 seismic): title, minimum pair,
  // conditions.
  void ExcelMultiResultBlockCommon(int k);
  // The matrix of the sheet from row 9.
  void ExcelMultiResultBlockFsList(int k);

  // Selects a cell by its name (wide, or narrow for the attribute steps of row 4).
  void Select(std::string_view cell) const;
  void SelectNarrow(std::string_view cell) const;
  void PutText(std::string_view text) const;
  // Text into a cell with fit 1 on the same cell.
  void FittedHead(const std::string& cell, std::string_view text) const;
  void Highlight(const std::string& cell) const;
  void Box(const std::string& range, int inner) const;

  CQuirex* m_pQuirex = nullptr;
  const QuirexExports* m_exports;
};
