// The two reports of design step 4, which share one template: the shear-deformation report (the
// shear model, the fitted G/G0 curve, the step-by-step calculation over the seismic coefficient
// and its judgement) and the local-failure report (the force on the rope net, the allowable force
// of the anchoring bolt and the safety factor of the net); each also as a one-page summary.

#include <cmath>
#include <string>

#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/ResFocus.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "platform/word/WordTemplate.h"
#include "stage/controls/SheetCell.h"
#include "stage/output/StagePrintWord.h"
#include "stage/output/WordFields.h"
#include "stage/output/WordKeys.h"
#include "stage/output/WordPages.h"

namespace {

using namespace word_fields;

constexpr DevRect kFitFigure{0, 0, 642, 334};
constexpr int kRowsPerGroup = 5;

std::string ErbText(const CPrmShear& shear) { return DblToExpText(2, shear.GetERBreal()); }

}  // namespace

// ---- The shear-deformation report ----

void CStagePrintWord::WordShear() {
  pages_->BreakUnlessEmpty();
  WordShearCover("せん断変形計算書");
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＩＮＰＵＴＤＡＴＡ＿ＴＩＴＬＥ", 4);
  WordShearCalcCond();
  WordShearReinfSpecif();
  WordShearBaseData();
  pages_->BreakUnlessEmpty();
  WordShearFitCurve();
  pages_->BreakUnlessEmpty();
  WordShearKh();
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＣＡＬＣ＿ＴＩＴＬＥ", 2);
  WordShearCalc();
}

void CStagePrintWord::WordShearCover(const char* title) {
  Field("Ｔｉｔｌｅ", title);
  SetSiteFields();
  pages_->Block("ＺＰ＿ＣＯＶＥＲ", 0);
  pages_->SetLines(WordPages::kLinesPerPage);
}

void CStagePrintWord::SetGammaPhiFields() {
  double gammaT = kNoValue;
  double gammaSat = kNoValue;
  double c = kNoValue;
  double phi = kNoValue;
  m_pCase->GetBlockList().GetSouGanmmaCFai(gammaT, gammaSat, c, phi);
  Field("γｔ", Dbl(gammaT, kCodeGammaT));
  Field("φ", Dbl(phi, kCodePhi));
}

void CStagePrintWord::WordShearCalcCond() {
  pages_->Block("ＺＰ＿ＩＮＰＵＴＤＡＴＡ＿ＳＨＥＡＲ＿ＴＩＴＬＥ", 3);
  SetStratumFields();
  pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ", 5);
  Field("ｋｈ", Dbl(m_pCase->GetPrmStab().kh, kCodeKh));
  Field("ＴＲＮ＿ｍａｘ", Dbl(CPrmShear::GetTRNmax(), kCodeMw));
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＩＮＰＵＴＤＡＴＡ", 3);
}

void CStagePrintWord::SetShearModelFields() {
  const CPrmShear& shear = m_pCase->GetPrmShear();
  Field("Ｌ", Dbl(shear.boltSpacing, kCodeValue3));
  Field("Ｂ", Dbl(shear.blockDepth, kCodeValue3));
  Field("ｈ", Dbl(shear.h, kCodeHeight));
  Field("α", Dbl(shear.theta, kCodeAngle));
}

void CStagePrintWord::WordShearReinfSpecif() {
  const CPrmShear& shear = m_pCase->GetPrmShear();
  pages_->CheckPageReturn(40, 2);
  SetBarFields();
  pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＳＰＥＣＩＦ", 6);
  pages_->CheckPageReturn(39, 1);
  Field("ＥＲＢ", Dbl(shear.erb, kCodeMw));
  Field("Ｇ０", Dbl(shear.g0, kCodeValue0));
  Field("Ｌ", Dbl(shear.boltSpacing, kCodeValue3));
  Field("Ｂ", Dbl(shear.blockDepth, kCodeValue3));
  Field("ｈ", Dbl(shear.h, kCodeHeight));
  Field("θ", Dbl(shear.theta, kCodeAngle));
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＲＥＩＮＦ", 7);
}

void CStagePrintWord::WordShearBaseData() {
  pages_->CheckPageReturn(41, 2);
  Field("ＳｅｎｄａｎＨｉｚｕｍｉ", Dbl(CPrmShear::GetSendanHizumi(), kCodeValue3));
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＢＡＳＥＤＡＴＡ", 5);
}

void CStagePrintWord::WordShearFitCurve() {
  CFit& fit = m_pCase->GetPrmShear().fit;
  fit.SetGraphMaxMin();
  Field("ｂ", Dbl(fit.b, kCodeValue5));
  Field("ｃ", Dbl(fit.c, kCodeValue5));
  pages_->Block("ＺＰ＿ＦＩＴＣＵＲＶＥ", 14);
  if (fit.mode == CFit::kModeTestValues) {
    pages_->Block("ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＴＥＳＴ", 3);
    constexpr const char* kHead = "ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＴＥＳＴ＿ＨＥＡＤ";
    pages_->Block(kHead, 1);
    for (const CFitData& point : fit.points) {
      if (!point.IsValidSiken()) continue;
      pages_->RowCheck(kHead, 1);
      Field("Ｇａｎｍｍａ", Dbl(point.strain, kCodeValue7));
      Field("ＧＧ０", Dbl(point.measured, kCodeValue5));
      pages_->Block("ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＴＥＳＴ＿ＤＡＴＡ", 1);
    }
  }
  pages_->CheckPageReturn(25, 2);
  CreateBitmapWord("GRAPH_FIT", kFitFigure);
  pages_->Block("ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＧＲＡＰＨ", 21);
}

void CStagePrintWord::SetShearJudgeFields() {
  const CResShear& result = m_pCase->GetResShear();
  Field("ｋｈ", Dbl(m_pCase->GetPrmStab().kh, kCodeKh));
  Field("Ｈｉｚｕｍｉ", Dbl(result.design.cumStrain, kCodeValue3));
  Field("ＫｙｏｙｏＨ", Dbl(CPrmShear::GetSendanHizumi(), kCodeValue3));
  Field("ＳｅｎｄａｎＨｉｚｕｍｉ", Dbl(CPrmShear::GetSendanHizumi() * 100, kCodeDistance));
  Field("δ", Dbl(result.design.cumDisp, kCodeValue0));
  Field("ＰｅｒｍＤｉｓｐ", Dbl(result.allowDisp, kCodeValue0));
  Field("Ｊｕｄｇｅ１", Judge(result.IsAssJudge()));
  Field("Ｊｕｄｇｅ２", Judge(result.IsAssJudge()));
}

void CStagePrintWord::WordShearKh() {
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＫＨ＿ＴＩＴＬＥ", 3);
  pages_->CheckPageReturn(25, 1);
  CreateBitmapWord("GRAPH_CUM_DELTA", kGraphFigure);
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＫＨ＿ＧＲＡＰＨ", 21);
  pages_->CheckPageReturn(45, 1);
  Field("ｋｈ局所", Dbl(m_pCase->GetResShear().yieldK, kCodeKh));
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＫＨ＿ＫＹＯＫＵＳＹＯ", 1);
  pages_->CheckPageReturn(41, 1);
  SetShearJudgeFields();
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＫＨ＿ＪＵＤＧＥ", 5);
}

void CStagePrintWord::WordShearCalc() {
  const CPrmShear& shear = m_pCase->GetPrmShear();
  const std::vector<CShearData>& rows = m_pCase->GetResShear().rows;
  const auto commonFields = [&] {
    Field("ＢａｒＤ", Dbl(m_pCase->GetPrmReinf().stdBar.d, kCodeDistance));
    Field("ＥＲＢ", ErbText(shear));
    SetShearModelFields();
  };
  // Every group of five rows, the last one too however short, is appended as one block; so is
  // the first group without rows, holding the common fields only.
  for (std::size_t first = 0; first == 0 || first < rows.size(); first += kRowsPerGroup) {
    if (first > 0) pages_->CheckPageReturn(30, 1);
    commonFields();
    for (std::size_t j = 0; j < kRowsPerGroup && first + j < rows.size(); ++j) {
      const CShearData& row = rows[first + j];
      const std::string digit = FullWidthDigit(static_cast<int>(j) + 1);
      Field("ｋｈ" + digit, Dbl(row.kh, kCodeMw));
      Field("ＴＲＮ" + digit, Dbl(row.trn, kCodeMw));
      Field("Ｇ０" + digit, Dbl(shear.g0, kCodeValue0));
      Field("ｂ" + digit, Dbl(shear.fit.b, kCodeValue5));
      Field("ｃ" + digit, Dbl(shear.fit.c, kCodeValue5));
      Field("η" + digit, Dbl(row.eta, kCodeMw));
      Field("γ" + digit, DblToExpText(1, row.cumStrain));
      Field("δｍｍ" + digit, Dbl(row.cumDisp, kCodeValue0));
      Field("δ" + digit,
            std::fabs(row.kh) < 1e-5 ? std::string("－") : Dbl(row.dispIncrement, kCodeValue0));
    }
    if (first == 0) {
      pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＣＡＬＣ１", 18);
    } else {
      pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＣＡＬＣ２", 16);
    }
  }
}

void CStagePrintWord::WordSummaryShear() {
  const CPrmShear& shear = m_pCase->GetPrmShear();
  const CReinfStdBar& bar = m_pCase->GetPrmReinf().stdBar;
  pages_->BreakUnlessEmpty();
  SetSiteFields();
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＳＵＭＭＡＲＹ", 0);
  SetGammaPhiFields();
  SetShearModelFields();
  Field("Ｇ０", Dbl(shear.g0, kCodeValue0));
  Field("ｂ", Dbl(shear.fit.b, kCodeValue5));
  Field("ｃ", Dbl(shear.fit.c, kCodeValue5));
  Field("ＢａｒＤ", Dbl(bar.d, kCodeDistance));
  Field("Ａｓ", Dbl(bar.as, kCodeValue3));
  Field("ＥＲＢ", ErbText(shear));
  Field("ＳＩＧＭＡＳＡ", Dbl(bar.sigmaSaQ, kCodeDistance));
  Field("Ｄ", Dbl(bar.drillD, kCodeDistance));
  Field("ＴＲＮ＿ｍａｘ", Dbl(CPrmShear::GetTRNmax(), kCodeMw));
  SetShearJudgeFields();
  Field("ｋｈ局所", Dbl(m_pCase->GetResShear().yieldK, kCodeKh));
  pages_->Block("ＺＰ＿ＳＨＥＡＲ＿ＳＵＭＭＡＲＹ２", 0);
}

// ---- The local-failure report ----

void CStagePrintWord::WordShearFocus() {
  pages_->BreakUnlessEmpty();
  WordShearCover("局所破壊計算書");
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＩＮＰＵＴＤＡＴＡ＿ＴＩＴＬＥ", 4);
  WordFocusBreakCond();
  WordShearReinfSpecif();
  WordFocusBaseData();
  WordShearFocusCalcTRN();
  WordShearFocusCalcT();
  WordShearFocusTRNa();
}

void CStagePrintWord::SetNetCountFields() {
  const CResFocus& focus = m_pCase->GetResFocus();
  Field("ｎＮａｍｅ", focus.GetStrNetUnitName());
  Field("ｎ", Int(focus.count));
  Field("ＵＮＩＴ", "(" + focus.unitWord + ")");
}

void CStagePrintWord::WordFocusBreakCond() {
  const CResFocus& focus = m_pCase->GetResFocus();
  Field("ｋｈ局所", Dbl(m_pCase->GetResShear().yieldK, kCodeKh));
  SetShearModelFields();
  Field("ｆ", Dbl(focus.sag, kCodeDistance));
  SetNetCountFields();
  Field("Ｌ２", Dbl(focus.la, kCodeValue3));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＩＮＰＵＴＤＡＴＡ", 10);
}

void CStagePrintWord::WordFocusBaseData() {
  pages_->CheckPageReturn(40, 2);
  Field("ＫｉｒｅｔｕＨｉｚｕｍｉ", Dbl(CPrmShear::GetKiretuHizumi(), kCodeValue3));
  Field("ＫｙｏｋｕＨｉｚｕｍｉ", Dbl(CPrmShear::GetKyokuHizumi(), kCodeValue3));
  Field("γｒｅｆ", Dbl(CPrmShear::GetGammaRef(), kCodeValue3));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＢＡＳＥＤＡＴＡ", 6);
}

void CStagePrintWord::WordShearFocusCalcTRN() {
  const CResFocus& focus = m_pCase->GetResFocus();
  pages_->CheckPageReturn(25, 2);
  Field("ｋｈ局所", Dbl(m_pCase->GetResShear().yieldK, kCodeKh));
  Field("ＴＲＢ", Dbl(focus.trb, kCodeDistance));
  Field("ＴＲＮ", Dbl(focus.trn, kCodeMw));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＣＡＬＣ＿ＴＲＮ", 21);
}

void CStagePrintWord::WordShearFocusCalcT() {
  pages_->CheckPageReturn(21, 2);
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＣＡＬＣ＿Ｔ＿ＴＩＴＬＥ", 2);
  WordShearFocusT2pa();
  WordShearFocusTsa();
  WordShearFocusT();
}

void CStagePrintWord::WordShearFocusT2pa() {
  const CResFocus& focus = m_pCase->GetResFocus();
  Field("ｔｐａ", Dbl(focus.tau1, kCodeMw));
  Field("τｃａ", Dbl(focus.tau2, kCodeMw));
  Field("ｔａ", Dbl(focus.GetTa(), kCodeMw));
  Field("Ｔ２ｐａ", Dbl(focus.tpa, kCodeMw));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿Ｔ２ＰＡ", 16);
}

void CStagePrintWord::WordShearFocusTsa() {
  pages_->CheckPageReturn(38, 1);
  Field("Ｔｓａ", Dbl(m_pCase->GetResFocus().tsa, kCodeMw));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＴＳＡ", 8);
}

void CStagePrintWord::WordShearFocusT() {
  const CResFocus& focus = m_pCase->GetResFocus();
  pages_->CheckPageReturn(41, 1);
  Field("Ｔ", Dbl(focus.GetT(), kCodeMw));
  Field("ＴＲＢ", Dbl(focus.trb, kCodeDistance));
  Field("ＪｕｄｇｅＴ", Judge(focus.IsJudgeT()));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿Ｔ", 5);
}

void CStagePrintWord::WordShearFocusTRNa() {
  const CResFocus& focus = m_pCase->GetResFocus();
  pages_->CheckPageReturn(31, 1);
  Field("ｐＦｓＲＮ", Dbl(focus.requiredFsRN, kCodeFs));
  Field("ＴＲＮａ", Dbl(focus.capacity, kCodeValue3));
  Field("ＦｓＲＮ", Dbl(focus.fsRN, kCodeFs));
  Field("ＪｕｄｇｅＦｓＲＮ", Judge(focus.IsJudgeFsRN()));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＴＲＮＡ", 15);
}

void CStagePrintWord::WordSummaryFocus() {
  const CResFocus& focus = m_pCase->GetResFocus();
  const CPrmReinf& reinf = m_pCase->GetPrmReinf();
  const CReinfArrange& arrange = m_pCase->GetReinfArrange();
  pages_->BreakUnlessEmpty();
  SetSiteFields();
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ", 0);
  SetGammaPhiFields();
  SetShearModelFields();
  Field("ＢａｒＤ", Dbl(reinf.stdBar.d, kCodeDistance));
  Field("Ａｓ", Dbl(reinf.stdBar.as, kCodeValue3));
  Field("ＥＲＢ", ErbText(m_pCase->GetPrmShear()));
  Field("ＳＩＧＭＡＳＡ", Dbl(reinf.stdBar.sigmaSaQ, kCodeDistance));
  Field("Ｄ", Dbl(reinf.stdBar.drillD, kCodeDistance));
  // Without a bar the length stays empty.
  Field("ＢａｒＬ", arrange.GetSize() > 0 ? Dbl(arrange.GetAt(0)->length, kCodeMw) : std::string());
  Field("Ｌ２", Dbl(focus.la, kCodeValue3));
  Field("τｐ", Dbl(reinf.tauP2, kCodeSkinFriction));
  Field("τｃ", Dbl(reinf.tauCQ, kCodeDistance));
  Field("Ｆｓａ", Dbl(reinf.fsaQ, kCodeFs));
  SetNetCountFields();
  Field("ＴＲＮａ", Dbl(focus.capacity, kCodeValue3));
  Field("ｋｈ局所", Dbl(m_pCase->GetResShear().yieldK, kCodeKh));
  Field("Ｔ", Dbl(focus.GetT(), kCodeMw));
  Field("ＴＲＢ", Dbl(focus.trb, kCodeDistance));
  Field("ＪｕｄｇｅＴ", Judge(focus.IsJudgeT()));
  Field("ｐＦｓＲＮ", Dbl(focus.requiredFsRN, kCodeFs));
  Field("ＦｓＲＮ", Dbl(focus.fsRN, kCodeFs));
  Field("ＪｕｄｇｅＦｓＲＮ", Judge(focus.IsJudgeFsRN()));
  pages_->Block("ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ２", 0);
}
