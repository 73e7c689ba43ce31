// CRefGeology: the soil table, its record and its file.

#include "core/model/RefGeology.h"

#include <iterator>

#include "core/base/ArchiveCount.h"
#include "core/model/RefTableFile.h"
#include "core/model/SystemConfig.h"
#include "platform/Archive.h"

namespace {

using Row = CRefGeology::Row;

// The saturated friction angle and cohesion are not given in the defaults.
Row DefaultSoil(const char* name, double gammaT, double phi, double c, double gammaSat) {
  return Row{name, gammaT, phi, c, gammaSat, kNoValue, kNoValue};
}

const RefTextColumn<Row> kTexts[] = {{"DOSITU_NAME", &Row::name}};
// Unit weights and cohesions with 2 decimals, angles with 4, read back half up to as many.
const RefNumberColumn<Row> kNumbers[] = {
    {"DOSITU_GAMMAT", &Row::gammaT, 2, 2}, {"DOSITU_PHI", &Row::phi, 4, 4},
    {"DOSITU_C", &Row::c, 2, 2},           {"DOSITU_SA_GAMMAT", &Row::gammaSat, 2, 2},
    {"DOSITU_SA_PHI", &Row::phiSat, 4, 4}, {"DOSITU_SA_C", &Row::cSat, 2, 2},
};
const RefTableFormat<Row> kSoilFile = {
    "土質設定",
    "DOSITU_SIZE",
    "DOSITU",
    kTexts,
    kNumbers,
    "土質設定ファイル (*.sxg)|*.sxg||",
    "sxg",
    {SystemConfig::GetLastGeology, SystemConfig::SetLastGeology, SystemConfig::ResetLastGeology},
};

// The name takes at least its length byte, the six numbers 8 bytes each.
constexpr std::size_t kMinRowRecord = 1 + 6 * 8;

}  // namespace

void CRefGeology::Default() {
  comment = "デフォルトのデータ";
  rows = {
      DefaultSoil("礫A", 20, 40, 0, 20),
      DefaultSoil("礫B", 18, 35, 0, 18),
      DefaultSoil("砂礫A", 21, 40, 0, 21),
      DefaultSoil("砂礫B", 19, 35, 0, 19),
      DefaultSoil("砂A", 20, 35, 0, 20),
      DefaultSoil("砂B", 18, 30, 0, 18),
      DefaultSoil("砂質土A", 19, 30, 30, 19),
      DefaultSoil("砂質土B", 17, 25, 0, 17),
      DefaultSoil("粘性土A", 18, 25, 50, 18),
      DefaultSoil("粘性土B", 17, 20, 30, 17),
      DefaultSoil("粘性土C", 16, 15, 15, 16),
      DefaultSoil("粘土A", 17, 20, 50, 17),
      DefaultSoil("粘土B", 16, 15, 30, 16),
      DefaultSoil("粘土C", 14, 10, 15, 14),
      DefaultSoil("関東ローム", 14, 5, 30, 14),
      DefaultSoil("強風化花崗岩（A地区）", 15.2, 30, 10, 18.2),
      DefaultSoil("強風化砂岩・頁岩（B地区）", 15.2, 30, 17.6, 18.2),
  };
}

bool CRefGeology::IsSame(const CRefGeology& other) const {
  return comment == other.comment && rows == other.rows;
}

void CRefGeology::Store(Archive& ar, int /*version*/) const {
  ar << static_cast<std::int32_t>(rows.size());
  for (const Row& row : rows) {
    ar.WriteString(row.name);
    ar << row.gammaT << row.phi << row.c << row.gammaSat << row.phiSat << row.cSat;
  }
}

void CRefGeology::Load(Archive& ar, int /*version*/) {
  const std::int32_t count = ReadCount(ar, kMinRowRecord, "soil row count");
  std::vector<Row> read(static_cast<std::size_t>(count));
  for (Row& row : read) {
    row.name = ar.ReadString();
    ar >> row.gammaT >> row.phi >> row.c >> row.gammaSat >> row.phiSat >> row.cSat;
  }
  Default();
  rows = std::move(read);
}

bool CRefGeology::WriteGeology(const std::string& path, bool remember) const {
  return WriteRefTable(kSoilFile, path, remember, comment, rows);
}

bool CRefGeology::ReadGeology(const std::string& path, bool remember) {
  return ReadRefTable(kSoilFile, path, remember, comment, rows);
}
