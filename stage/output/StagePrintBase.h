#pragma once
// The state both report writers (Word and Excel) hold for one run: the view mapping of the case
// being reported, the case, the document's print settings and the report folder. The stage
// manager fills it through the four setters directly before every run; the writers own none of
// what the pointers point to.

#include <string>
#include <string_view>

#include "core/geometry/ViewInfo.h"

class CCase;
class CPrnInfo;

class CStagePrintBase {
 public:
  void SetViewInf(const CViewInfo* view) { m_ViewInf = *view; }
  void SetCase(CCase* pCase) { m_pCase = pCase; }
  void SetPrnInfo(CPrnInfo* prnInfo) { m_pPrnInfo = prnInfo; }
  void SetPath(std::string_view folder) { m_Path = folder; }

  // Case null, folder empty.
  void Init() {
    m_pCase = nullptr;
    m_Path.clear();
  }

 protected:
  CViewInfo m_ViewInf;
  CCase* m_pCase = nullptr;
  CPrnInfo* m_pPrnInfo = nullptr;
  std::string m_Path;
};

// A case name made fit to stand in a proposed file name: every character a file name cannot
// hold ("/", "\\", control characters and the characters other systems forbid: < > : " | ? *)
// becomes "_", and a name that is only dots ("." or "..") becomes "_" too, so a proposed report
// never lands outside the folder it was proposed in.
std::string SafeFileNamePart(std::string_view name);
