#include "stage/output/StagePrintExcel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "platform/UiRegistry.h"
#include "stage/output/Quirex.h"

namespace {

constexpr int kVersion2013 = 2013;
constexpr int kFitShrink = 1;
constexpr std::uint32_t kHighlight = 0xccff;
constexpr int kCentred = 22;
constexpr int kBoxLines = 0x1000000;
constexpr int kOutline = 0;
constexpr int kOutlineAndInner = 1;
constexpr std::uint32_t kWindowText = 0x80000008;
constexpr int kFsCode = 163;

// The key items of the normal and the seismic safety factor.
constexpr int kFsItem[2] = {9, 12};
constexpr const char16_t* kSheetName[2] = {u"常時", u"地震時"};

double FsOf(const CMltPoint& point, int k) { return k == 0 ? point.fsN : point.fsQ; }

bool IsCaseOn(const CPrmStab& conditions, int k) {
  return k == 0 ? conditions.IsNormal() : conditions.IsQuake();
}

std::string CellName(int column, int row) {
  return CStagePrintExcel::ToAlphabet(column) + std::to_string(row);
}

std::string RangeName(int column1, int row1, int column2, int row2) {
  return CellName(column1, row1) + ":" + CellName(column2, row2);
}

// Clears the report-object pointer when the run ends, however it ends.
class ReportObjectScope {
 public:
  ReportObjectScope(CStagePrintExcel& writer, CQuirex& report) : writer_(writer) {
    writer_.SetReportObject(&report);
  }
  ~ReportObjectScope() { writer_.SetReportObject(nullptr); }
  ReportObjectScope(const ReportObjectScope&) = delete;
  ReportObjectScope& operator=(const ReportObjectScope&) = delete;

 private:
  CStagePrintExcel& writer_;
};

}  // namespace

CStagePrintExcel::CStagePrintExcel(const QuirexExports& exports) : m_exports(&exports) {}

int CStagePrintExcel::ExcelStart(int /*stage*/, int kind, int /*reserved*/) {
  if (kind != 0 || !HasSafetyFactors()) {
    Ui().MessageBox("Excel に出力する安全率がありません。", GetAppTitle(), MsgButtons::Ok,
                    MsgIcon::Warning);
    return 0;
  }
  const std::string path = AskForPath();
  if (path.empty()) return 0;

  int written = 0;
  {
    CQuirex report(*m_exports);
    const ReportObjectScope scope(*this, report);
    if (report.Create() == 0) {
      Ui().MessageBox("Excel出力モジュールが起動できません", GetAppTitle(), MsgButtons::Ok,
                      MsgIcon::Warning);
      return 0;
    }
    ExcelMultiResultFsList();
    written = report.OutFileW(Utf8ToUtf16(path).c_str());
    report.Release();
  }
  if (written == 0) {
    Ui().MessageBox("Excel ファイルを書き込めませんでした。\n" + path, GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::Warning);
    return 0;
  }
  OfferToOpen(path);
  return written;
}

bool CStagePrintExcel::HasSafetyFactors() const {
  if (m_pCase == nullptr) return false;
  const CPrmStab& conditions = m_pCase->GetPrmStab();
  return !m_pCase->GetResStab2().GetSerial().empty() &&
         (conditions.IsNormal() || conditions.IsQuake());
}

std::string CStagePrintExcel::AskForPath() const {
  const std::filesystem::path folder = DataDir() / "PrnFiles";
  CreateDirectories(folder);
  const std::string name =
      "各ブロックの安全率一覧_" + SafeFileNamePart(m_pCase->GetPrmJobsite().names[1]);
  const std::optional<std::filesystem::path> chosen = Ui().FileDialog(
      FileDialogKind::Save, {"Excel ブック(*.xlsx)|*.xlsx|すべて|*.*||", "xlsx", folder, name});
  return chosen ? chosen->string() : std::string();
}

void CStagePrintExcel::OfferToOpen(const std::string& path) {
  const MsgResult answer = Ui().MessageBox("Excel 出力が完了しました。\nファイルを開きますか？",
                                           "Excel 出力", MsgButtons::YesNo, MsgIcon::Question);
  if (answer != MsgResult::Yes || Ui().OpenInViewer(path)) return;
  Ui().MessageBox("このファイルを開くアプリケーションが見つかりません。\n" + path, "エラー",
                  MsgButtons::Ok, MsgIcon::Information);
}

void CStagePrintExcel::ExcelOption() const {
  m_pQuirex->Option.ExcelMode.Put(1);
  m_pQuirex->Option.DefaultCellW.Put(u"A1");
}

void CStagePrintExcel::ExcelMultiResultFsList() {
  if (m_pQuirex == nullptr || m_pCase == nullptr) return;
  if (m_pCase->GetResStab2().GetSerial().empty()) return;
  if (m_pQuirex->StartCreate(kVersion2013) == 0) return;
  ExcelOption();
  for (int k = 0; k < 2; ++k) {
    if (!IsCaseOn(m_pCase->GetPrmStab(), k)) continue;
    m_pQuirex->PageBeginW(kSheetName[k], u"1");
    ExcelMultiResultBlockCommon(k);
    ExcelMultiResultBlockFsList(k);
    m_pQuirex->PageEnd();
  }
}

const CMltPoint* CStagePrintExcel::MinimumPair(int k) const {
  const CMltPoint* minimum = nullptr;
  for (const CMltPoint* point : m_pCase->GetResStab2().GetSerial()) {
    const double fs = FsOf(*point, k);
    // A pair without a safety factor (kNoValue, below every real one) never holds the minimum.
    if (fs == kNoValue) continue;
    if (minimum == nullptr || FsOf(*minimum, k) > fs) minimum = point;
  }
  return minimum;
}

void CStagePrintExcel::ExcelMultiResultBlockCommon(int k) {
  const std::string format = FsFormat();
  Cell("A2", "各ブロックの安全率一覧");
  Cell("B3", "捜索");
  FittedHead("C3", "順位");
  FittedHead("D3", "始点ブロック番号");
  FittedHead("E3", "");
  FittedHead("F3", "終点ブロック番号");
  FittedHead("G3", "安全率");

  Cell("C4", 1);
  SelectNarrow("C4");
  m_pQuirex->Cell.Attr.BackColor.Put(kHighlight);
  Cell("E4", "～");
  SelectNarrow("E4");
  m_pQuirex->Cell.Attr.PosHorz.Put(kCentred);

  const CMltPoint* const minimum = MinimumPair(k);
  if (minimum != nullptr) {
    Cell("D4", minimum->startBlock + 1);
    Cell("F4", minimum->endBlock + 1);
    Cell("G4", FsOf(*minimum, k));
    SelectNarrow("G4");
    m_pQuirex->Cell.Attr.Format.Put(format.c_str());
  }
  Box(RangeName(3, 3, 7, 4), kOutlineAndInner);

  Cell("I3", "最小安全率");
  Cell("I4", "Fsmin");
  if (minimum != nullptr) Cell("J4", FsOf(*minimum, k));
  SelectNarrow("J4");
  m_pQuirex->Cell.Attr.Format.Put(format.c_str());

  Cell("I6", "間隙水圧:");
  Cell("J6", m_pCase->GetPrmStab().waterOn != 0 ? "考慮する" : "考慮しない");
}

void CStagePrintExcel::ExcelMultiResultBlockFsList(int k) {
  const std::string format = FsFormat();
  Cell("A9", "始点ブロック番号");
  Cell("A10", "終点ブロック番号");
  Select("A9:A10");
  m_pQuirex->Cell.Attr.Fit.Put(kFitShrink);
  Box("A9:A10", kOutline);

  const int n = m_pCase->GetBlockList().GetBlockSize();
  const CResStab2& results = m_pCase->GetResStab2();
  const double serialMin = results.GetSerialMin(kFsItem[k]);
  for (const CMltPoint* point : results.GetSerial()) {
    const double fs = FsOf(*point, k);
    if (fs == kNoValue) continue;
    const std::string cell = CellName(point->startBlock + 2, point->endBlock + 11);
    Cell(cell, fs);
    if (fs == serialMin) Highlight(cell);
  }

  const CMltPoint* const minimum = MinimumPair(k);
  for (int column = 2; column <= n; ++column) {
    const std::string head = CellName(column, 10);
    Cell(head, column - 1);
    if (minimum != nullptr && minimum->startBlock == column - 2) Highlight(head);
    Box(RangeName(column, 9, column, 10), kOutline);
  }
  Select(RangeName(1, 9, std::max(n, 1), 10));
  m_pQuirex->Cell.Attr.PosHorz.Put(kCentred);

  for (int row = 0; row < n; ++row) {
    const std::string head = CellName(1, row + 11);
    Cell(head, row + 1);
    if (minimum != nullptr && minimum->endBlock == row) Highlight(head);
  }
  Select(RangeName(1, 11, 1, n + 10));
  m_pQuirex->Cell.Attr.PosHorz.Put(kCentred);

  Box(RangeName(1, 11, n, n + 10), kOutlineAndInner);
  Select(RangeName(2, 11, n, n + 10));
  m_pQuirex->Cell.Attr.Format.Put(format.c_str());
}

std::string CStagePrintExcel::FsFormat() {
  const int decimals = CCoreConfig::GetUnitFilter().Digit(kFsCode);
  return "0." + std::string(static_cast<std::size_t>(std::max(decimals, 0)), '0');
}

std::string CStagePrintExcel::ToAlphabet(int column) {
  std::string letters;
  while (column > 0) {
    const int rest = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + rest));
    column = (column - 1) / 26;
  }
  return letters;
}

std::string CStagePrintExcel::GetColumnName(std::string_view cell) {
  static const std::regex kLetters("[A-Za-z]+");
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_search(cell.begin(), cell.end(), match, kLetters)) return {};
  std::string letters = match.str();
  std::transform(letters.begin(), letters.end(), letters.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return letters;
}

int CStagePrintExcel::GetColumnIndex(std::string_view cell) {
  std::int64_t index = 0;
  for (const char letter : GetColumnName(cell)) {
    index = index * 26 + (letter - 'A' + 1);
    if (index > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(index);
}

int CStagePrintExcel::GetRowIndex(std::string_view cell) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::int64_t sum = 0;
  auto pos = std::find_if(cell.begin(), cell.end(), isDigit);
  while (pos != cell.end()) {
    const auto runEnd = std::find_if_not(pos, cell.end(), isDigit);
    int run = 0;
    if (std::from_chars(pos, runEnd, run).ec != std::errc()) return INT_MAX;
    sum += run;
    if (sum > INT_MAX) return INT_MAX;
    pos = std::find_if(runEnd, cell.end(), isDigit);
  }
  return static_cast<int>(sum);
}

void CStagePrintExcel::Cell(std::string_view cell, std::string_view text) const {
  if (m_pQuirex == nullptr) return;
  Select(cell);
  PutText(text);
}

void CStagePrintExcel::Cell(std::string_view cell, int value) const {
  Cell(cell, static_cast<double>(value));
}

void CStagePrintExcel::Cell(std::string_view cell, double value) const {
  if (m_pQuirex == nullptr) return;
  Select(cell);
  m_pQuirex->Cell.Value.Assign(value);
}

void CStagePrintExcel::Cell(std::string_view cell, double value, double empty) const {
  if (value == empty) return;
  Cell(cell, value);
}

void CStagePrintExcel::Select(std::string_view cell) const {
  m_pQuirex->CellW(Utf8ToUtf16(cell).c_str());
}

void CStagePrintExcel::SelectNarrow(std::string_view cell) const {
  m_pQuirex->CellNarrow(std::string(cell).c_str());
}

void CStagePrintExcel::PutText(std::string_view text) const {
  m_pQuirex->Cell.Value.PutStringW(Utf8ToUtf16(text).c_str());
}

void CStagePrintExcel::FittedHead(const std::string& cell, std::string_view text) const {
  Cell(cell, text);
  Select(cell);
  m_pQuirex->Cell.Attr.Fit.Put(kFitShrink);
}

void CStagePrintExcel::Highlight(const std::string& cell) const {
  Select(cell);
  m_pQuirex->Cell.Attr.BackColor.Put(kHighlight);
}

void CStagePrintExcel::Box(const std::string& range, int inner) const {
  Select(range);
  m_pQuirex->Cell.Attr.Box(kBoxLines, inner, kWindowText);
}
