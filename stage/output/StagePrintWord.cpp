#include "stage/output/StagePrintWord.h"

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/circle/SliceList.h"
#include "core/model/PrnInfo.h"
#include "platform/ProgramDir.h"
#include "platform/UiRegistry.h"
#include "platform/word/DocxTemplate.h"
#include "stage/output/WordKeys.h"
#include "stage/output/WordPages.h"

namespace {

constexpr const char* kFilter = "Wordファイル形式(*.docx)|*.docx|すべて|*.*||";

}  // namespace

// One report: its template, the set-up that opens it and its full and summary bodies. A stage
// whose report is not built here has no entry, so a run writes nothing for it.
struct CStagePrintWord::Report {
  int stage;
  int sub;
  const char* templateName;
  void (CStagePrintWord::*open)();
  void (CStagePrintWord::*full)();
  void (CStagePrintWord::*summary)();
};

const CStagePrintWord::Report* CStagePrintWord::ReportOf(int stage, int sub) {
  static constexpr Report kReports[] = {
      {kStageMulti, 0, "Brixo_MULTI.docx", &CStagePrintWord::OpenPortrait,
       &CStagePrintWord::WordMulti, &CStagePrintWord::WordSummaryMulti},
      {kStageSlide, 0, "Brixo_SLIDE.docx", &CStagePrintWord::OpenPortrait,
       &CStagePrintWord::WordSlide, &CStagePrintWord::WordSummarySlide},
      {kStageShear, 0, "Brixo_SHEAR.docx", &CStagePrintWord::OpenPortrait,
       &CStagePrintWord::WordShear, &CStagePrintWord::WordSummaryShear},
      {kStageShear, 1, "Brixo_SHEAR.docx", &CStagePrintWord::OpenPortrait,
       &CStagePrintWord::WordShearFocus, &CStagePrintWord::WordSummaryFocus},
  };
  for (const Report& report : kReports) {
    if (report.stage == stage && (stage != kStageShear || report.sub == sub)) return &report;
  }
  return nullptr;
}

CStagePrintWord::CStagePrintWord() : factory_([] { return std::make_unique<DocxTemplate>(); }) {}

CStagePrintWord::~CStagePrintWord() = default;

int CStagePrintWord::CanWord(int stage, int /*unused*/) {
  return stage == kStageSlide || stage == kStageShear ? 1 : 0;
}

std::string CStagePrintWord::DefaultFileName(int stage, int sub) const {
  std::string name;
  if (stage >= 0 && stage <= 3 && m_pPrnInfo != nullptr && m_pPrnInfo->GetPrnMode(stage) == 1) {
    name = "要約版_";
  }
  if (stage == kStageMulti) {
    name += "多平面安定解析計算書_";
  } else if (stage == kStageSlide) {
    name += "すべり変形計算書_";
  } else if (stage == kStageShear && sub == 0) {
    name += "せん断変形計算書_";
  } else if (stage == kStageShear && sub == 1) {
    name += "局所破壊計算書_";
  }
  if (m_pCase != nullptr) name += SafeFileNamePart(m_pCase->GetPrmJobsite().names[1]);
  return name;
}

bool CStagePrintWord::IsNormalChosen() const {
  return m_pPrnInfo->GetPrnMultiNQ(0) != 0 && m_pCase->GetPrmStab().IsNormal();
}

bool CStagePrintWord::IsQuakeChosen() const {
  return m_pPrnInfo->GetPrnMultiNQ(1) != 0 && m_pCase->GetPrmStab().IsQuake();
}

bool CStagePrintWord::IsNothingChosen(int stage) const {
  return stage == kStageMulti && !IsNormalChosen() && !IsQuakeChosen();
}

int CStagePrintWord::WordStart(int stage, int sub, int /*unused*/) {
  const Report* report = ReportOf(stage, sub);
  if (report == nullptr || m_pCase == nullptr || m_pPrnInfo == nullptr) return 0;
  if (IsNothingChosen(stage)) {
    Ui().MessageBox("出力する項目が一つも選択されていません。", GetAppTitle(), MsgButtons::Ok,
                    MsgIcon::Warning);
    return 0;
  }
  const std::filesystem::path folder = DataDir() / "PrnFiles";
  CreateDirectories(folder);
  const std::optional<std::filesystem::path> file = Ui().FileDialog(
      FileDialogKind::Save, {kFilter, "docx", folder, DefaultFileName(stage, sub) + ".docx"});
  if (!file) return 0;

  lastMissing_.clear();
  const std::unique_ptr<WordTemplate> word = factory_();
  const std::filesystem::path templateFile = std::filesystem::path(m_Path) / report->templateName;
  if (!word->Open(templateFile)) {
    Ui().MessageBox("Word出力モジュールが起動できません\n" + templateFile.string(), GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::Warning);
    return 0;
  }
  bool saved = false;
  {
    const WaitCursor wait;
    WordPages pages(*word);
    word_ = word.get();
    pages_ = &pages;
    figureGroup_ = m_pPrnInfo->GetPrnStage();
    (this->*report->open)();
    (this->*(m_pPrnInfo->GetPrnMode(stage) == 1 ? report->summary : report->full))();
    word->AddBlock(kEndBlock);
    saved = word->SaveAs(*file);
    lastMissing_ = word->MissingKeys();
    word->Quit();
    word_ = nullptr;
    pages_ = nullptr;
  }
  if (!saved) {
    Ui().MessageBox("ファイルを書き込めませんでした。\n" + file->string(), GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::Warning);
    return 0;
  }
  if (Ui().MessageBox("Word 出力が完了しました。\nファイルを開きますか？", "Word 出力",
                      MsgButtons::YesNo, MsgIcon::Information) == MsgResult::Yes &&
      !Ui().OpenInViewer(*file)) {
    Ui().MessageBox("このファイルを開くアプリケーションが見つかりません。\n" + file->string(),
                    "エラー", MsgButtons::Ok, MsgIcon::Information);
  }
  return 1;
}

int CStagePrintWord::IsSliceListDouitu(const CSliceList* list, double& a, double& b) {
  const bool wanted = !(a == 0.0 && b == 0.0);
  if (wanted) {
    a = kNoValue;
    b = kNoValue;
  }
  const int count = list != nullptr ? list->GetSize() : 0;
  double firstA = kNoValue;
  double firstB = kNoValue;
  for (int i = 0; i < count; ++i) {
    double c = kNoValue;
    double phi = kNoValue;
    list->GetSlicePtr(i)->GetCF(c, phi);
    if (i == 0) {
      firstA = c;
      firstB = phi;
    } else if (c != firstA || phi != firstB) {
      return 0;
    }
  }
  if (wanted && count > 0) {
    a = firstA;
    b = firstB;
  }
  return 1;
}
