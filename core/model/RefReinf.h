#pragma once
// The reference table of standard reinforcing bars, from which the user picks the bar of a case's
// reinforcement conditions. Kept in bar files (*.sxr); the default file is DefReinf.sxr in the
// settings folder. It works as the soil table does, except that numbers are read exactly as
// written.

#include <string>
#include <vector>

#include "core/model/ReinfStdBar.h"

class CRefReinf {
 public:
  // The default table.
  CRefReinf() { Default(); }

  // Both replace the comment and the rows by the default table: "デフォルトのデータ" and the bar
  // "ネジ節棒鋼" D22.
  void Init() { Default(); }
  void Default();
  void Copy(const CRefReinf& other) { *this = other; }
  // The same comment and rows with the same three texts and exactly equal six numbers.
  bool IsSame(const CRefReinf& other) const;

  // The bar file, as the soil table's file (CRefGeology::WriteGeology and ReadGeology).
  bool WriteReinf(const std::string& path, bool remember) const;
  bool ReadReinf(const std::string& path, bool remember);

  std::string comment;
  std::vector<CReinfStdBar> rows;
};
