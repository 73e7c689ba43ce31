#pragma once
// The Word report writer: writes the calculation reports of the design steps as .docx documents
// through a template filler (WordTemplate). A run (WordStart) asks for the file, opens the step's
// template, writes the chosen body block by block with its own page bookkeeping (WordPages),
// saves and offers to open the result. The stage manager owns one writer and fills its report
// state before every run.
//
// The report bodies are members spread over one source per report (StagePrintWordMulti.cpp for
// the multi-plane stability, StagePrintWordSlide.cpp for the slide deformation,
// StagePrintWordShear.cpp for the shear deformation and the local failure); the figures are drawn
// by StagePrintWordFigure.cpp.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DevTypes.h"
#include "stage/output/StagePrintBase.h"

class CBlock;
class CMltPoint;
class CSliceList;
class WordPages;
class WordTemplate;

class CStagePrintWord : public CStagePrintBase {
 public:
  using TemplateFactory = std::function<std::unique_ptr<WordTemplate>()>;

  // Stage numbers of WordStart and the figure groups.
  static constexpr int kStageMulti = 1;
  static constexpr int kStageSlide = 2;
  static constexpr int kStageShear = 3;

  CStagePrintWord();
  ~CStagePrintWord();
  CStagePrintWord(const CStagePrintWord&) = delete;
  CStagePrintWord& operator=(const CStagePrintWord&) = delete;

  // Runs one report of the stage (sub: 0 shear deformation, 1 local failure of stage 3): asks for
  // the file, writes and saves it. Returns 1 when the file was written, 0 when the user cancelled,
  // the template could not be read, the file could not be written, or there was nothing to write.
  int WordStart(int stage, int sub, int unused);
  // Whether the stage has Word reports (2 and 3).
  static int CanWord(int stage, int unused);
  // Whether an item of the multi-plane report can be written: 0 ground data, 1 conditions,
  // 2 back analysis, 3 block model, 4 results; any other item can.
  int CanWordStageMulti(int item) const;

  // The template filler a run uses; the docx filler unless tests set another.
  void SetTemplateFactory(TemplateFactory factory) { factory_ = std::move(factory); }
  // The keys the last run's template lacked (empty when it held all of them).
  const std::vector<std::string>& LastMissingKeys() const { return lastMissing_; }

  // The name the save dialog proposes for the run (without the extension).
  std::string DefaultFileName(int stage, int sub) const;

  // Whether every slice of the list has the strength values of the first (true for an empty
  // list). Unless a and b are both 0 on entry they receive the first slice's values (kNoValue
  // for an empty list, or when the slices differ).
  static int IsSliceListDouitu(const CSliceList* list, double& a, double& b);

 private:
  struct Report;
  static const Report* ReportOf(int stage, int sub);

  // The figure of key for the current figure group as PNG, drawn into a picture of rect's size.
  std::vector<std::uint8_t> CreateBitmap(std::string_view key, DevRect rect) const;
  // Draws the figure and hands it to the template filler for the next block.
  void CreateBitmapWord(std::string_view key, DevRect rect);

  bool IsNormalChosen() const;
  bool IsQuakeChosen() const;
  bool IsNothingChosen(int stage) const;

  // The A4 portrait page set-up every report opens with.
  void OpenPortrait();

  // ---- The multi-plane stability report (StagePrintWordMulti.cpp) ----
  void WordMulti();
  void WordSummaryMulti();
  void WordMultiCover(int k);
  void WordMultiGroundData(int k);
  void WordMultiDanmen();
  void WordMultiSoil(int k);
  void WordMultiCoord();
  void WordMultiCoordStratum();
  void WordMultiPlanFs();
  void WordMultiKh();
  void WordMultiKhHosei();
  void WordMultiFormula(int k);
  void WordMultiFormulaParam(int k);
  void WordMultiBlockModel(int k);
  void WordMultiCReverse();
  void WordMultiCalc(int k);
  void WordMultiCalcRes(int k);
  void WordMultiCalcList(int k);
  // The calculation conditions of every block as table rows (the head already appended).
  void WordBlockCondRows(const std::string& head, const std::string& data, bool withKh);
  void SetNameFields(int k);
  void SetSiteFields();
  void Field(std::string_view key, std::string_view value);

  // ---- The slide-deformation report (StagePrintWordSlide.cpp) ----
  void WordSlide();
  void WordSummarySlide();
  void WordSlideCover();
  void WordSlideHazardBlockModel();
  void WordSlideReinfSpecif();
  void WordSlideReinfArrange();
  void WordFocusReinfTensile();
  void WordSlideReinfLayoutModel();
  void WordSlideCalcLength();
  void WordSlideDeltaC();
  void WordSlideCalcH();
  void WordSlideCalcFsr();
  void WordSlideStrain();
  void WordSummarySlideStrain();
  void SetSlideJudgeFields();
  void SetBarFields();
  // The seismic typical point of the forward multi-plane result; null without one.
  const CMltPoint* QuakeTypicalPoint() const;
  // The blocks from the point's start to its end block; empty when the point names a block the
  // list does not hold.
  std::vector<const CBlock*> TypicalBlocks(const CMltPoint& point) const;

  // ---- The shear-deformation and local-failure reports (StagePrintWordShear.cpp) ----
  void WordShear();
  void WordSummaryShear();
  void WordShearCover(const char* title);
  void WordShearCalcCond();
  void WordShearReinfSpecif();
  void WordShearBaseData();
  void WordShearFitCurve();
  void WordShearKh();
  void WordShearCalc();
  void SetShearJudgeFields();
  void SetShearModelFields();
  void WordShearFocus();
  void WordSummaryFocus();
  void WordFocusBreakCond();
  void WordFocusBaseData();
  void WordShearFocusCalcTRN();
  void WordShearFocusCalcT();
  void WordShearFocusT2pa();
  void WordShearFocusTsa();
  void WordShearFocusT();
  void WordShearFocusTRNa();
  void SetNetCountFields();
  // The moist and saturated unit weights, c (the back-analysed one when there is one) and phi of
  // the block list's slide mass.
  void SetStratumFields();
  // Only the moist unit weight and phi of the slide mass (the summaries).
  void SetGammaPhiFields();

  TemplateFactory factory_;
  // Set only while a run is in progress.
  WordTemplate* word_ = nullptr;
  WordPages* pages_ = nullptr;
  int figureGroup_ = 0;
  std::vector<std::string> lastMissing_;
};
