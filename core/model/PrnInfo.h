#pragma once
// The print settings of a document: four print modes, the normal/seismic output choices of the
// multi-plane results, whether the Fs list is printed, and the page, stage and origin of the
// current print.

#include <array>

class Archive;

class CPrnInfo {
 public:
  CPrnInfo() = default;

  void Init() { *this = CPrnInfo(); }
  // The first eight values; the print stage and the from-dialog flag stay.
  void Copy(const CPrnInfo& other);
  friend bool operator==(const CPrnInfo&, const CPrnInfo&) = default;
  // Record, only in documents from version 8 on: the four print modes, the two output choices and
  // the list output switch as int32. Nothing for older documents.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; before version 9 the list output switch
  // reads as 1 whatever was stored.
  void Load(Archive& ar, int version);

  // Indices outside 0..3 (0..1 for the output choices) throw std::out_of_range.
  int GetPrnMode(int index) const;
  void SetPrnMode(int index, int mode);
  int GetPrnMultiNQ(int index) const;
  void SetPrnMultiNQ(int index, int choice);
  int GetPrnMultiListOutFs() const { return listOutFs_; }
  void SetPrnMultiListOutFs(int on) { listOutFs_ = on; }
  int GetShowPage() const { return showPage_; }
  void SetShowPage(int page) { showPage_ = page; }
  int GetPrnStage() const { return prnStage_; }
  void SetPrnStage(int stage) { prnStage_ = stage; }
  int GetPrnFromDlg() const { return prnFromDlg_; }
  void SetPrnFromDlg(int fromDlg) { prnFromDlg_ = fromDlg; }

 private:
  std::array<int, 4> prnMode_{};
  std::array<int, 2> prnMultiNQ_{1, 1};
  int listOutFs_ = 1;
  int showPage_ = 0;
  int prnStage_ = -1;
  int prnFromDlg_ = 0;
};
