#pragma once
// The one object through which the program reaches the core: the document's case list, its print
// settings and the reference tables, the document body's store and load, drawing the active case
// and whether the document has unsaved changes. The program holds one for the life of the
// process and hands its address to the stage library; it is never replaced, a load replaces only
// what it owns.

#include "core/case/CaseArray.h"
#include "core/model/PrnInfo.h"
#include "core/model/RefData.h"

class Archive;

class CManageCore {
 public:
  CManageCore() = default;
  CManageCore(const CManageCore&) = delete;
  CManageCore& operator=(const CManageCore&) = delete;

  // Ten empty cases, the print settings reset, the reference data set up (DefaultSetCore) and
  // every modified flag cleared. The int has no effect on the cases.
  void InitCore(int init);
  // Reads the configuration files and the reference tables, writing those that are missing.
  void DefaultSetCore();
  void DefaultCore() {}

  // The document body after the program's envelope: the case list record and, from version 8,
  // the print settings record.
  void StoreCore(Archive& ar, int version) const;
  // Reads the whole document body into a new case list, new print settings and new process-wide
  // settings; only when all of it was read and is sound does the document become this one, with
  // the resets of InitCore (reference data set up again, modified flags cleared) and the rounding
  // rules it was stored with. Otherwise throws ArchiveException and changes nothing: the open
  // document and every process-wide setting stay as they were. The program calls it without
  // emptying the document first.
  void LoadCore(Archive& ar, int version);
  // The active case in its own view, for the current design step.
  void DrawCore();

  CCaseArray& GetCaseArray() { return cases_; }
  const CCaseArray& GetCaseArray() const { return cases_; }
  // Throws std::out_of_range when the active index lies outside the list.
  CCase* GetActiveCase() const { return cases_.GetActiveCase(); }
  CPrnInfo& GetPrnInfo() { return prnInfo_; }
  CRefData& GetRefData() { return refData_; }

  // The facade's flag or any case's modified flag is set.
  bool IsModify() const;
  void ResetModify();
  void SetModify(bool modified) { modified_ = modified; }

 private:
  bool modified_ = false;
  CCaseArray cases_;
  CPrnInfo prnInfo_;
  CRefData refData_;
};
