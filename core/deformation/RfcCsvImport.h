#pragma once
// The reinforcement CSV import: the results of the "QX" method that another program wrote (the
// arrangement ranges, the standard bar, the bar conditions and the rock-bolt list) taken into a
// case. The whole file is read and checked into a plan before anything changes; only a plan of a
// valid file is applied, so a refused file leaves the case as it was.
//
// The file is CP932 text, one record a line. Its first line is "QX工法結果"; after it, a line that
// is exactly a section's name starts that section, which runs up to and including the next line
// without fields; every other line between sections is ignored. Sections may come in any order,
// repeat (a later one wins) or be missing. A line is split at every comma and empty pieces are
// dropped, so that field numbers count the non-empty pieces from 0:
//
//   section          header lines  fields a data line needs  fields read
//   "補強材の範囲"    2             7                          1-4 the points, 5 a number, 6 an int
//   "補強材情報"      1             9                          1-2 texts, 3-8 numbers
//   "補強材条件"      0             2                          0 a key, 1 its number
//   "補強材一覧"      1             9                          1-8 numbers
//
// A line with fewer fields than its section needs is skipped. A data line with an empty piece
// between the fields its section reads (it would shift later values into the wrong field), a
// field that is not a finite number where one is read (blanks around it allowed), a coordinate
// beyond the limit of stored coordinates (the message names it) or a sum of bolt forces that leaves
// the doubles makes the whole file refused with a message naming the line and the column (both from
// 1). Empty pieces before the first and after the last field read (leading, trailing or doubled
// commas there) are ignored.
//
// The case's import asks for the file, reads it with ReadRfcCsvFile, shows the message of a
// refused file and applies the plan of a valid one with ApplyRfcCsvPlan; when the plan holds a
// rock-bolt list it rebuilds the slide line and the bolts' real heights afterwards.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry/DPoint.h"
#include "core/model/ReinfRange.h"
#include "core/model/ReinfStdBar.h"

class CPrmReinf;
class CPrmSlide;
class CReinfArrange;

// The messages of a file that cannot be opened and of one whose first line is not the results'.
inline constexpr std::string_view kRfcCsvCannotOpen = "ファイルを開くことができません。";
inline constexpr std::string_view kRfcCsvBadFormat =
    "ファイルの読み込みに失敗しました。\n\nデータ形式が異常です。";

// One non-empty piece of a line and its column (from 1, counting every piece).
struct CCsvField {
  std::string text;
  int column = 0;
  friend bool operator==(const CCsvField&, const CCsvField&) = default;
};
// The non-empty pieces of the line between the separators.
std::vector<CCsvField> SplitCsvFields(std::string_view line, char separator = ',');

// The first and second point of an arrangement range.
struct CRfcCsvRange {
  CDPoint start;
  CDPoint end;
};
// One rock bolt of the list.
struct CRfcCsvBolt {
  CDPoint head;
  double pitch = kNoValue;
  double alpha = kNoValue;
  double length = kNoValue;
  double extraLength = kNoValue;
};
struct CRfcCsvBoltList {
  std::vector<CRfcCsvBolt> bolts;
  double holdingForce = 0.0;     // S2: the sum of the bolts' field 7, unset values left out
  double tighteningForce = 0.0;  // S3: the same of field 8
};

// What a valid file sets; what it does not hold stays unset and is left alone.
struct CRfcCsvPlan {
  // The first and second point of ranges 1 to 10.
  std::array<std::optional<CRfcCsvRange>, kReinfRangeCount> ranges;
  // The standard bar's name, nominal size and six numbers; its remark is not in the file.
  std::optional<CReinfStdBar> stdBar;
  std::optional<double> tauC;   // "τc"
  std::optional<double> tauCQ;  // "τcQ"
  std::optional<double> fsa;    // "Fsa"
  std::optional<double> fsaQ;   // "FsaQ"
  std::optional<double> tauP1;  // "τp1"
  std::optional<double> tauP2;  // "τp2"
  // The rock bolts that replace the arrangement's, when the file has the section.
  std::optional<CRfcCsvBoltList> boltList;
};

// A plan, or the message that tells why the file was refused.
struct CRfcCsvRead {
  std::optional<CRfcCsvPlan> plan;
  std::string message;
};

// Reads and checks a whole file as it lies on disk (CP932).
CRfcCsvRead ReadRfcCsvFile(const std::filesystem::path& file);
// The same for the file's bytes.
CRfcCsvRead ParseRfcCsv(std::string_view cp932);

// Sets what the plan holds: the ranges' points (the upper end first), the standard bar (its remark
// stays), the conditions; with a rock-bolt list, the arrangement's bolts are replaced by the
// list's, on the side of the slope (rising to the right: into +x) with standard bar 0, ordered and
// numbered, and the slide conditions take the derived delta c with S2 and S3 from the list.
void ApplyRfcCsvPlan(const CRfcCsvPlan& plan, bool rightUpper, CPrmReinf& reinf, CPrmSlide& slide,
                     CReinfArrange& arrange);
