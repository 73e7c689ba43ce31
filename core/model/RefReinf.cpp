// CRefReinf: the standard-bar table and its file.

#include "core/model/RefReinf.h"

#include <algorithm>

#include "core/model/RefTableFile.h"
#include "core/model/SystemConfig.h"

namespace {

using Bar = CReinfStdBar;

const RefTextColumn<Bar> kTexts[] = {
    {"REINF_NAME", &Bar::name}, {"REINF_KEI", &Bar::kei}, {"REINF_REMARK", &Bar::remark}};
// Read exactly as written (digits code -1), not brought to the written decimals.
const RefNumberColumn<Bar> kNumbers[] = {
    {"REINF_W", &Bar::w, 2, -1},
    {"REINF_S_D", &Bar::d, 1, -1},
    {"REINF_AS", &Bar::as, 3, -1},
    {"REINF_D", &Bar::drillD, 1, -1},
    {"REINF_SIGMASA_N", &Bar::sigmaSaN, 1, -1},
    {"REINF_SIGMASA_Q", &Bar::sigmaSaQ, 1, -1},
};
const RefTableFormat<Bar> kBarFile = {
    "補強材設定",
    "REINF_SIZE",
    "REINF",
    kTexts,
    kNumbers,
    "補強材設定ファイル (*.sxr)|*.sxr||",
    "sxr",
    {SystemConfig::GetLastReinf, SystemConfig::SetLastReinf, SystemConfig::ResetLastReinf},
};

}  // namespace

void CRefReinf::Default() {
  comment = "デフォルトのデータ";
  Bar bar;
  bar.name = "ネジ節棒鋼";
  bar.kei = "D22";
  bar.w = 3.04;
  bar.d = 21.2;
  bar.as = 3.53;
  bar.drillD = 50.0;
  bar.sigmaSaN = 200.0;
  bar.sigmaSaQ = 300.0;
  rows = {bar};
}

bool CRefReinf::IsSame(const CRefReinf& other) const {
  return comment == other.comment &&
         std::equal(rows.begin(), rows.end(), other.rows.begin(), other.rows.end(),
                    [](const Bar& a, const Bar& b) { return a.IsSame(b); });
}

bool CRefReinf::WriteReinf(const std::string& path, bool remember) const {
  return WriteRefTable(kBarFile, path, remember, comment, rows);
}

bool CRefReinf::ReadReinf(const std::string& path, bool remember) {
  return ReadRefTable(kBarFile, path, remember, comment, rows);
}
