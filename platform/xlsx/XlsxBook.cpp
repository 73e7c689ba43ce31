#include "platform/xlsx/XlsxBook.h"

#include <xlsxwriter.h>

#include <cctype>
#include <map>
#include <memory>
#include <system_error>

#include "platform/ReplacingFile.h"

namespace {

constexpr int kMaxRows = 1'048'576;
constexpr int kMaxCols = 16'384;

// One corner of a range: letters then digits; advances pos past it.
std::optional<std::pair<int, int>> ParseCorner(std::string_view text, std::size_t& pos) {
  int col = 0;
  std::size_t letters = 0;
  for (; pos < text.size() && std::isalpha(static_cast<unsigned char>(text[pos])); ++pos) {
    col = col * 26 + (std::toupper(static_cast<unsigned char>(text[pos])) - 'A' + 1);
    if (col > kMaxCols) return std::nullopt;
    ++letters;
  }
  int row = 0;
  std::size_t digits = 0;
  for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
    row = row * 10 + (text[pos] - '0');
    if (row > kMaxRows) return std::nullopt;
    ++digits;
  }
  if (letters == 0 || digits == 0 || row == 0) return std::nullopt;
  return std::pair{row - 1, col - 1};
}

// The cell formats of one write, one per distinct set of attributes.
class FormatCache {
 public:
  explicit FormatCache(lxw_workbook* book) : book_(book) {}

  lxw_format* Of(const XlsxAttributes& attributes) {
    if (attributes.IsDefault()) return nullptr;
    const auto found = formats_.find(attributes);
    if (found != formats_.end()) return found->second;
    lxw_format* const format = Make(attributes);
    formats_.emplace(attributes, format);
    return format;
  }

 private:
  lxw_format* Make(const XlsxAttributes& attributes) const {
    lxw_format* const format = workbook_add_format(book_);
    if (attributes.shrink) format_set_shrink(format);
    if (attributes.centred) format_set_align(format, LXW_ALIGN_CENTER);
    if (attributes.fillRgb) {
      format_set_pattern(format, LXW_PATTERN_SOLID);
      format_set_bg_color(format, *attributes.fillRgb);
    }
    if (!attributes.numberFormat.empty()) {
      format_set_num_format(format, attributes.numberFormat.c_str());
    }
    SetBorders(format, attributes);
    return format;
  }

  static void SetBorders(lxw_format* format, const XlsxAttributes& attributes) {
    // libxlsxwriter takes 0 for "no colour": black is its own flag value.
    const lxw_color_t colour =
        attributes.borderRgb == 0 ? lxw_color_t{LXW_COLOR_BLACK} : attributes.borderRgb;
    const struct {
      std::uint8_t bit;
      void (*style)(lxw_format*, uint8_t);
      void (*colour)(lxw_format*, lxw_color_t);
    } sides[] = {{kBorderTop, format_set_top, format_set_top_color},
                 {kBorderBottom, format_set_bottom, format_set_bottom_color},
                 {kBorderLeft, format_set_left, format_set_left_color},
                 {kBorderRight, format_set_right, format_set_right_color}};
    for (const auto& side : sides) {
      if ((attributes.borders & side.bit) == 0) continue;
      side.style(format, LXW_BORDER_THIN);
      side.colour(format, colour);
    }
  }

  lxw_workbook* book_;
  std::map<XlsxAttributes, lxw_format*> formats_;
};

lxw_error WriteCell(lxw_worksheet* sheet, int row, int col, const XlsxCell& cell,
                    lxw_format* format) {
  const auto r = static_cast<lxw_row_t>(row);
  const auto c = static_cast<lxw_col_t>(col);
  switch (cell.kind) {
    case XlsxCell::Kind::Text:
      return worksheet_write_string(sheet, r, c, cell.text.c_str(), format);
    case XlsxCell::Kind::Number:
      return worksheet_write_number(sheet, r, c, cell.number, format);
    case XlsxCell::Kind::Empty:
      return format != nullptr ? worksheet_write_blank(sheet, r, c, format) : LXW_NO_ERROR;
  }
  return LXW_NO_ERROR;
}

lxw_error WriteSheet(lxw_worksheet* sheet, const XlsxSheet& cells, FormatCache& formats) {
  for (std::size_t row = 0; row < cells.rows.size(); ++row) {
    const std::vector<XlsxCell>& line = cells.rows[row];
    for (std::size_t col = 0; col < line.size(); ++col) {
      const XlsxCell& cell = line[col];
      const lxw_error error = WriteCell(sheet, static_cast<int>(row), static_cast<int>(col), cell,
                                        formats.Of(cell.attributes));
      if (error != LXW_NO_ERROR) return error;
    }
  }
  return LXW_NO_ERROR;
}

}  // namespace

std::optional<XlsxRange> ParseXlsxRange(std::string_view name) {
  std::size_t pos = 0;
  const auto first = ParseCorner(name, pos);
  if (!first) return std::nullopt;
  auto last = first;
  if (pos < name.size() && name[pos] == ':') {
    ++pos;
    last = ParseCorner(name, pos);
    if (!last) return std::nullopt;
  }
  if (pos != name.size()) return std::nullopt;
  const auto [row1, col1] = *first;
  const auto [row2, col2] = *last;
  return XlsxRange{std::min(row1, row2), std::min(col1, col2), std::max(row1, row2),
                   std::max(col1, col2)};
}

XlsxCell& XlsxSheet::At(int row, int col) {
  const auto r = static_cast<std::size_t>(row);
  const auto c = static_cast<std::size_t>(col);
  if (rows.size() <= r) rows.resize(r + 1);
  std::vector<XlsxCell>& line = rows[r];
  if (line.size() <= c) line.resize(c + 1);
  return line[c];
}

bool XlsxBook::BeginSheet(std::string name) {
  if (sheetOpen_) return false;
  sheets_.push_back(XlsxSheet{std::move(name), {}});
  sheetOpen_ = true;
  selection_.reset();
  return true;
}

bool XlsxBook::EndSheet() {
  if (!sheetOpen_) return false;
  sheetOpen_ = false;
  selection_.reset();
  return true;
}

bool XlsxBook::Select(const XlsxRange& range) {
  if (!sheetOpen_) return false;
  selection_ = range;
  return true;
}

template <typename Apply>
bool XlsxBook::ForSelection(Apply apply) {
  if (!sheetOpen_ || !selection_) return false;
  XlsxSheet& sheet = sheets_.back();
  for (int row = selection_->firstRow; row <= selection_->lastRow; ++row) {
    for (int col = selection_->firstCol; col <= selection_->lastCol; ++col) {
      apply(sheet.At(row, col), row, col);
    }
  }
  return true;
}

bool XlsxBook::PutText(std::string text) {
  if (!sheetOpen_ || !selection_) return false;
  XlsxCell& cell = sheets_.back().At(selection_->firstRow, selection_->firstCol);
  cell.kind = XlsxCell::Kind::Text;
  cell.text = std::move(text);
  return true;
}

bool XlsxBook::PutNumber(double value) {
  if (!sheetOpen_ || !selection_) return false;
  XlsxCell& cell = sheets_.back().At(selection_->firstRow, selection_->firstCol);
  cell.kind = XlsxCell::Kind::Number;
  cell.number = value;
  cell.text.clear();
  return true;
}

bool XlsxBook::SetShrink(bool shrink) {
  return ForSelection([shrink](XlsxCell& cell, int, int) { cell.attributes.shrink = shrink; });
}

bool XlsxBook::SetCentred(bool centred) {
  return ForSelection([centred](XlsxCell& cell, int, int) { cell.attributes.centred = centred; });
}

bool XlsxBook::SetFill(std::uint32_t rgb) {
  return ForSelection([rgb](XlsxCell& cell, int, int) { cell.attributes.fillRgb = rgb; });
}

bool XlsxBook::SetNumberFormat(std::string format) {
  return ForSelection(
      [&format](XlsxCell& cell, int, int) { cell.attributes.numberFormat = format; });
}

bool XlsxBook::SetBox(bool inner, std::uint32_t rgb) {
  if (!selection_) return false;
  const XlsxRange range = *selection_;
  return ForSelection([&](XlsxCell& cell, int row, int col) {
    std::uint8_t sides = 0;
    if (inner || row == range.firstRow) sides |= kBorderTop;
    if (inner || row == range.lastRow) sides |= kBorderBottom;
    if (inner || col == range.firstCol) sides |= kBorderLeft;
    if (inner || col == range.lastCol) sides |= kBorderRight;
    cell.attributes.borders |= sides;
    cell.attributes.borderRgb = rgb;
  });
}

bool XlsxBook::Write(const std::filesystem::path& path, int& error) const {
  lxw_workbook_options options{};
  lxw_workbook* const book = workbook_new_opt(path.c_str(), &options);
  if (book == nullptr) {
    error = LXW_ERROR_MEMORY_MALLOC_FAILED;
    return false;
  }
  FormatCache formats(book);
  lxw_error failure = LXW_NO_ERROR;
  for (const XlsxSheet& cells : sheets_) {
    failure = workbook_validate_sheet_name(book, cells.name.c_str());
    if (failure != LXW_NO_ERROR) break;
    lxw_worksheet* const sheet = workbook_add_worksheet(book, cells.name.c_str());
    if (sheet == nullptr) {
      failure = LXW_ERROR_MEMORY_MALLOC_FAILED;
      break;
    }
    worksheet_set_selection(sheet, static_cast<lxw_row_t>(activeCell_.firstRow),
                            static_cast<lxw_col_t>(activeCell_.firstCol),
                            static_cast<lxw_row_t>(activeCell_.firstRow),
                            static_cast<lxw_col_t>(activeCell_.firstCol));
    failure = WriteSheet(sheet, cells, formats);
    if (failure != LXW_NO_ERROR) break;
  }
  if (failure != LXW_NO_ERROR) {
    lxw_workbook_free(book);
    error = failure;
    return false;
  }
  error = workbook_close(book);
  return error == LXW_NO_ERROR;
}

bool WriteThroughTemporary(const std::filesystem::path& target,
                           const std::function<bool(const std::filesystem::path&)>& write) {
  std::error_code error;
  const std::unique_ptr<ReplacingFile> file = ReplacingFile::Create(target, error);
  // A write that fails leaves the target as it was: the replacing file removes its temporary.
  return file != nullptr && write(file->TemporaryPath()) && !file->Commit();
}
