#pragma once
// The workbook that the spreadsheet-writer library builds in memory: sheets of cells, each with
// a value and the attributes put on it so far, written to an .xlsx file in one go through
// libxlsxwriter. libxlsxwriter takes a cell's format when the cell is written, while callers put
// attributes on ranges after the values, so nothing reaches libxlsxwriter before Write.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A rectangle of cells, 0-based, first <= last.
struct XlsxRange {
  int firstRow = 0;
  int firstCol = 0;
  int lastRow = 0;
  int lastCol = 0;
  friend bool operator==(const XlsxRange&, const XlsxRange&) = default;
};

// "B3" or "c3:g4" (letters and digits, either corner first); nothing for another text or a cell
// beyond the sheet's limits (1,048,576 rows, 16,384 columns).
std::optional<XlsxRange> ParseXlsxRange(std::string_view name);

enum XlsxBorder : std::uint8_t {
  kBorderTop = 1,
  kBorderBottom = 2,
  kBorderLeft = 4,
  kBorderRight = 8,
};

// The format of one cell; an attribute never put keeps its default.
struct XlsxAttributes {
  bool shrink = false;
  bool centred = false;
  std::optional<std::uint32_t> fillRgb;  // 0xRRGGBB, solid
  std::uint8_t borders = 0;              // XlsxBorder bits, thin
  std::uint32_t borderRgb = 0;           // 0xRRGGBB
  std::string numberFormat;              // empty: General
  bool IsDefault() const { return *this == XlsxAttributes{}; }
  friend auto operator<=>(const XlsxAttributes&, const XlsxAttributes&) = default;
};

struct XlsxCell {
  enum class Kind : std::uint8_t { Empty, Text, Number };
  Kind kind = Kind::Empty;
  double number = 0.0;
  std::string text;  // UTF-8
  XlsxAttributes attributes;
};

struct XlsxSheet {
  std::string name;  // UTF-8
  // rows[r][c]; rows and columns grow as cells are touched.
  std::vector<std::vector<XlsxCell>> rows;
  XlsxCell& At(int row, int col);
};

class XlsxBook {
 public:
  // An empty workbook: no sheet, active cell A1.
  void Start() { *this = XlsxBook(); }

  // A new sheet that the following calls go to; false while another sheet is still open.
  bool BeginSheet(std::string name);
  // False when no sheet is open.
  bool EndSheet();
  // The selection of the open sheet; false when no sheet is open.
  bool Select(const XlsxRange& range);

  // The value of the selection's first cell.
  bool PutText(std::string text);
  bool PutNumber(double value);
  // Attributes of every cell of the selection.
  bool SetShrink(bool shrink);
  bool SetCentred(bool centred);
  bool SetFill(std::uint32_t rgb);
  bool SetNumberFormat(std::string format);
  // The outline of the selection, and with inner also the lines between its cells.
  bool SetBox(bool inner, std::uint32_t rgb);

  void SetActiveCell(const XlsxRange& cell) { activeCell_ = cell; }

  const std::vector<XlsxSheet>& Sheets() const { return sheets_; }

  // Writes the workbook as .xlsx to the path (which should be a fresh file of its own: see
  // WriteThroughTemporary); false, with libxlsxwriter's error number in error, when that fails.
  bool Write(const std::filesystem::path& path, int& error) const;

 private:
  // The selected cells of the open sheet, each handed to apply(cell, row, col); false when there
  // is no selection.
  template <typename Apply>
  bool ForSelection(Apply apply);

  std::vector<XlsxSheet> sheets_;
  bool sheetOpen_ = false;
  std::optional<XlsxRange> selection_;
  XlsxRange activeCell_;
};

// Writes a file through write(temporary) to a unique temporary name in the target's folder, and
// renames it over the target once write succeeded and the bytes are on disk. False when any step
// fails; the target is then as it was and the temporary file gone.
bool WriteThroughTemporary(const std::filesystem::path& target,
                           const std::function<bool(const std::filesystem::path&)>& write);
