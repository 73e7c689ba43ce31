// The slide-deformation report of design step 3: the slide mass, the rock bolts, the apparent
// cohesion they add, the sliding-layer thickness, the relative safety factor with the slide strain
// and deformation over the seismic coefficient and their judgement; or a one-page summary.

#include <cmath>

#include "core/base/Constants.h"
#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/ResSlide.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmSlide.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "core/stability/ResStab2.h"
#include "platform/word/WordTemplate.h"
#include "stage/output/StagePrintWord.h"
#include "stage/output/WordFields.h"
#include "stage/output/WordKeys.h"
#include "stage/output/WordPages.h"

namespace {

using namespace word_fields;

}  // namespace

void CStagePrintWord::WordSlide() {
  pages_->BreakUnlessEmpty();
  WordSlideCover();
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＩＮＰＵＴＤＡＴＡ＿ＴＩＴＬＥ", 4);
  WordSlideHazardBlockModel();
  WordSlideReinfSpecif();
  WordSlideReinfArrange();
  WordFocusReinfTensile();
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＣＡＬＣＣＯＮＤ", 4);
  WordSlideReinfLayoutModel();
  WordSlideCalcLength();
  WordSlideDeltaC();
  WordSlideCalcH();
  pages_->BreakUnlessEmpty();
  pages_->Block("ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＧＡＭＭＡＳ", 9);
  WordSlideCalcFsr();
  WordSlideStrain();
}

void CStagePrintWord::WordSummarySlide() {
  pages_->BreakUnlessEmpty();
  SetSiteFields();
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＳＵＭＭＡＲＹ", 0);
  WordSlideCalcFsr();
  WordSummarySlideStrain();
}

void CStagePrintWord::WordSlideCover() {
  SetSiteFields();
  pages_->Block("ＺＰ＿ＣＯＶＥＲ", 0);
  pages_->SetLines(WordPages::kLinesPerPage);
}

const CMltPoint* CStagePrintWord::QuakeTypicalPoint() const {
  return m_pCase->GetResStab2().GetSelectRepPt(1);
}

std::vector<const CBlock*> CStagePrintWord::TypicalBlocks(const CMltPoint& point) const {
  const CBlockList& list = m_pCase->GetBlockList();
  std::vector<const CBlock*> blocks;
  if (point.startBlock < 0 || point.endBlock >= list.GetBlockSize()) return blocks;
  for (int i = point.startBlock; i <= point.endBlock; ++i) blocks.push_back(list.GetBlockPtr(i));
  return blocks;
}

void CStagePrintWord::SetStratumFields() {
  double gammaT = kNoValue;
  double gammaSat = kNoValue;
  double c = kNoValue;
  double phi = kNoValue;
  m_pCase->GetBlockList().GetSouGanmmaCFai(gammaT, gammaSat, c, phi);
  if (m_pCase->IsResStabGyaku()) {
    if (const auto* point =
            dynamic_cast<const CMltPointGyaku*>(m_pCase->GetResStabGyaku().GetSelectRepPt(0))) {
      c = point->c;
    }
  }
  Field("γｔ", Dbl(gammaT, kCodeGammaT));
  Field("γｓａｔ", Dbl(gammaSat, kCodeGammaSat));
  Field("Ｃ", Dbl(c, kCodeCohesion));
  Field("φ", Dbl(phi, kCodePhi));
}

void CStagePrintWord::WordSlideHazardBlockModel() {
  const CBlockList& list = m_pCase->GetBlockList();
  pages_->Block("ＺＰ＿ＨＡＺＡＲＤ＿ＢＬＯＣＫＭＯＤＥＬ＿ＴＩＴＬＥ", 2);
  double left = kNoValue;
  double top = kNoValue;
  double right = kNoValue;
  double bottom = kNoValue;
  list.GetRect(left, top, right, bottom);
  Field("ＢＣＴ", Int(list.GetBlockSize()));
  SetStratumFields();
  Field("ｋｈ", Dbl(m_pCase->GetPrmStab().kh, kCodeKh));
  Field("ＴｏｐＹ", Dbl(top, kCodeY));
  // The reference elevation of the height factor, which the template labels as such.
  Field("ＢｏｔｔｏｍＹ", Dbl(m_pCase->GetPrmStab().bottomElevation, kCodeY));
  pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ", 3);
  pages_->CheckPageReturn(40, 2);
  pages_->Block("ＺＰ＿ＨＡＺＡＲＤ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＴＩＴＬＥ", 1);
  const std::string head = "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＨＥＡＤ";
  pages_->Block(head, 2);
  WordBlockCondRows(head, "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＤＡＴＡ", true);
}

void CStagePrintWord::SetBarFields() {
  const CReinfStdBar& bar = m_pCase->GetPrmReinf().stdBar;
  Field("ＢａｒＭ", bar.name);
  Field("Ｋｅｉ", bar.kei);
  Field("ＢａｒＤ", Dbl(bar.d, kCodeDistance));
  Field("Ａｓ", Dbl(bar.as, kCodeValue3));
  Field("Ｄ", Dbl(bar.drillD, kCodeDistance));
  Field("ＳＩＧＭＡＳＡ", Dbl(bar.sigmaSaQ, kCodeDistance));
}

void CStagePrintWord::WordSlideReinfSpecif() {
  pages_->CheckPageReturn(40, 2);
  SetBarFields();
  pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＳＰＥＣＩＦ", 6);
}

void CStagePrintWord::WordSlideReinfArrange() {
  pages_->CheckPageReturn(40, 2);
  pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＡＲＲＡＮＧＥ＿ＴＩＴＬＥ", 2);
  constexpr const char* kHead = "ＺＰ＿ＲＥＩＮＦ＿ＡＲＲＡＮＧＥ＿ＨＥＡＤ";
  pages_->Block(kHead, 2);
  const CReinfArrange& arrange = m_pCase->GetReinfArrange();
  for (int i = 0; i < arrange.GetSize(); ++i) {
    pages_->RowCheck(kHead, 2);
    const CReinforce& bar = *arrange.GetAt(i);
    Field("Ｎｏ", Int(bar.number));
    Field("Ｘ", Dbl(bar.head.x, kCodeX));
    Field("Ｙ", Dbl(bar.head.y, kCodeY));
    Field("ＳＨ", Dbl(bar.sh, kCodeMw));
    Field("α", Dbl(bar.alpha, kCodeMw));
    Field("Ｌ", Dbl(bar.length, kCodeValue3));
    Field("ＹＯＴＹＯ", Dbl(bar.extraLength, kCodeMw));
    pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＡＲＲＡＮＧＥ＿ＤＡＴＡ", 1);
  }
}

void CStagePrintWord::WordFocusReinfTensile() {
  const CPrmReinf& reinf = m_pCase->GetPrmReinf();
  pages_->CheckPageReturn(37, 2);
  Field("σｓａ", Dbl(reinf.stdBar.sigmaSaQ, kCodeDistance));
  Field("τｃ", Dbl(reinf.tauCQ, kCodeDistance));
  Field("Ｆｓａ", Dbl(reinf.fsaQ, kCodeFs));
  Field("λ", Dbl(reinf.tdFactor, kCodeDistance));
  Field("τｐ１", Dbl(reinf.tauP1, kCodeSkinFriction));
  Field("τｐ２", Dbl(reinf.tauP2, kCodeSkinFriction));
  pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＴＥＮＳＩＬＥ", 9);
}

void CStagePrintWord::WordSlideReinfLayoutModel() {
  const CMltPoint* point = QuakeTypicalPoint();
  if (point == nullptr) return;
  Field("ｓＢＬＯＣＫ", Int(point->startBlock + 1));
  Field("ｅＢＬＯＣＫ", Int(point->endBlock + 1));
  pages_->Block("ＺＰ＿ＲＥＩＮＦ＿ＬＡＹＯＵＴＭＯＤＥＬ", 0);
  CreateBitmapWord("DANMEN_COORD", kSectionFigure);
  pages_->Block("ＺＰ＿ＤＡＮＭＥＮ", 21);
}

void CStagePrintWord::WordSlideCalcLength() {
  pages_->CheckPageReturn(40, 2);
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ", 2);
  constexpr const char* kHead = "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＨＥＡＤ";
  pages_->Block(kHead, 2);
  const CMltPoint* point = QuakeTypicalPoint();
  if (point == nullptr) return;
  const bool side = m_pCase->GetBlockList().IsRightUpper();
  const std::vector<const CBlock*> blocks = TypicalBlocks(*point);
  double widths = 0;
  double lengths = 0;
  for (std::size_t j = 0; j < blocks.size(); ++j) {
    pages_->RowCheck(kHead, 2);
    const CBlock& block = *blocks[j];
    const bool last = j + 1 == blocks.size();
    const double length = last ? block.GetEndLength(side) : block.GetLength();
    const double angle = last ? block.GetEndAngle(side) : block.GetBottomAngle();
    Field("Ｎｏ", Int(static_cast<int>(j) + 1));
    Field("ＢＬＯＣＫＩＤ", Int(point->startBlock + static_cast<int>(j) + 1));
    Field("ｈ１", Dbl(block.GetDepthRight(), kCodeHeight));
    Field("ｈ２", Dbl(block.GetDepthLeft(), kCodeHeight));
    Field("ｄ", Dbl(block.GetWidth(), kCodeWidth));
    Field("α", Dbl(angle * kDegreesPerRadian, kCodeAngle));
    Field("Ｌ", Dbl(length, kCodeLength));
    pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＤＡＴＡ", 1);
    widths += block.GetWidth();
    lengths += length;
  }
  // A point naming blocks the list does not hold has no rows to add up.
  const bool summed = !blocks.empty() || point->startBlock > point->endBlock;
  Field("ｄ", summed ? Dbl(widths, kCodeWidth) : std::string());
  Field("Ｌ", summed ? Dbl(lengths, kCodeLength) : std::string());
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＳＵＭ", 1);
}

void CStagePrintWord::WordSlideDeltaC() {
  CPrmSlide& slide = m_pCase->GetPrmSlide();
  pages_->CheckPageReturn(42, 2);
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＤＥＬＴＡＣ＿ＴＩＴＬＥ", 1);
  if (slide.deltaCMode == CPrmSlide::kDeltaCDerived) {
    pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＤＥＬＴＡＣ＿ＣＡＬＣ", 1);
  }
  Field("ＤＥＬＴＡＣ", Dbl(slide.GetDeltaC(), kCodeCohesion));
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＤＥＬＴＡＣ", 1);
}

void CStagePrintWord::WordSlideCalcH() {
  const CReinfArrange& arrange = m_pCase->GetReinfArrange();
  const double h = m_pCase->GetPrmSlide().h;
  pages_->CheckPageReturn(44, 2);
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＴＩＴＬＥ", 2);
  if (std::fabs(arrange.GetMeanPlusDeviation() - h) < 1e-5 &&
      m_pCase->GetBlockList().GetStratumIndex() >= 0) {
    constexpr const char* kHead = "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＨＥＡＤ";
    pages_->Block(kHead, 1);
    for (int i = 0; i < arrange.GetSize(); ++i) {
      pages_->RowCheck(kHead, 2);
      const CReinforce& bar = *arrange.GetAt(i);
      Field("Ｎｏ", Int(i + 1));
      Field("Ｌ", Dbl(bar.length, kCodeLength));
      Field("ＹＯＴＹＯ", Dbl(bar.extraLength, kCodeLength));
      Field("ｈ", Dbl(bar.GetH(1), kCodeLength));
      Field("ｈ2", Dbl(bar.GetH2(1), kCodeLength));
      pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＤＡＴＡ", 1);
    }
    pages_->CheckPageReturn(43, 2);
    Field("ｌａｖｅ", Dbl(arrange.GetMeanH(), kCodeHeight));
    pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＡＶＥ", 1);
    Field("σ", Dbl(arrange.GetDeviationH(), kCodeHeight));
    pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＳＩＧＭＡ", 1);
    pages_->CheckPageReturn(44, 2);
  }
  Field("ｈ", Dbl(h, kCodeHeight));
  pages_->Block("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ", 1);
}

void CStagePrintWord::WordSlideCalcFsr() {
  CreateBitmapWord("DANMEN_RESULT_STAB", kSectionFigure);
  pages_->Block("ＺＰ＿ＳＴＡＢ＿ＲＥＳＵＬＴ＿ＤＡＮＭＥＮ", 21);
  const CMltPoint* point = QuakeTypicalPoint();
  if (point == nullptr) return;
  pages_->CheckPageReturn(35, 1);
  double gamma = kNoValue;
  double gammaSat = kNoValue;
  double c = kNoValue;
  double phi = kNoValue;
  m_pCase->GetBlockGanmaCFai(gamma, gammaSat, c, phi);
  Field("Ｆｓ", Dbl(point->fsQ, kCodePlanFs));
  Field("Ｆｓｐ", Dbl(m_pCase->GetResSlide().designRow.fsr, kCodeFs));
  Field("ｓＢＬＯＣＫ", Int(point->startBlock + 1));
  Field("ｅＢＬＯＣＫ", Int(point->endBlock + 1));
  Field("γ", Dbl(gamma, kCodeGammaT));
  Field("Ｃ", Dbl(c, kCodeCohesion));
  Field("ＤＥＬＴＡＣ", Dbl(m_pCase->GetPrmSlide().GetDeltaC(), kCodeCohesion));
  Field("φ", Dbl(phi, kCodePhi));
  // A point naming blocks the list does not hold leaves the sums empty.
  const std::vector<const CBlock*> blocks = TypicalBlocks(*point);
  if (!blocks.empty()) {
    const bool side = m_pCase->GetBlockList().IsRightUpper();
    double u = 0;
    double length = 0;
    double area = 0;
    for (std::size_t j = 0; j + 1 < blocks.size(); ++j) {
      u += blocks[j]->GetU();
      length += blocks[j]->GetLength();
      area += blocks[j]->GetArea(-1);
    }
    const CBlock& last = *blocks.back();
    u += last.GetEndU(side);
    length += last.GetEndLength(side);
    area += last.GetEndArea(side, -1);
    Field("Ｕ", m_pCase->GetPrmStab().waterOn != 0 ? Dbl(u, kCodeU) : std::string("－"));
    Field("ｌ", Dbl(length, kCodeLength));
    Field("Ａ", Dbl(area, kCodeArea));
  }
  pages_->Block("ＺＰ＿ＳＴＡＢ＿ＲＥＳＵＬＴ＿ＶＡＬＵＥ", 11);
}

void CStagePrintWord::SetSlideJudgeFields() {
  const CResSlide& result = m_pCase->GetResSlide();
  Field("Ｆｓｒ", Dbl(result.designRow.fsr, kCodeFs));
  Field("Ｈｉｚｕｍｉ", Dbl(result.designRow.gammaS, kCodeValue5));
  Field("ＫｙｏｙｏＨ", Dbl(CResSlide::GetKyoyouHizumi(), kCodeValue5));
  Field("Ｊｕｄｇｅ１", Judge(result.IsJudgeGs()));
  Field("ＳｕｂｅｒｉＨｉｓｕｍｉ", Dbl(CResSlide::GetKyoyouHizumi() * 100, kCodeDistance));
  Field("Ｓｔｒａｉｎ", Dbl(result.designRow.ds, kCodeStrain));
  Field("ＫｙｏｙｏＤｓ", Dbl(result.allowableDs, kCodeStrain));
  Field("Ｊｕｄｇｅ２", Judge(result.IsJudgeDs()));
}

void CStagePrintWord::WordSlideStrain() {
  const CResSlide& result = m_pCase->GetResSlide();
  pages_->CheckPageReturn(31, 1);
  CreateBitmapWord("GRAPH_FSR", kGraphFigure);
  pages_->Block("ＺＰ＿ＧＲＡＰＨ＿ＦＳＲ", 15);
  // After the page check: its blank lines would take the values, which hold for one block only.
  pages_->CheckPageReturn(39, 2);
  Field("ｋｅｉＡ", Dbl(CResSlide::GetKeiA(), kCodeValue3));
  Field("ｋｅｉＢ", Dbl(CResSlide::GetKeiB(), kCodeDistance));
  pages_->Block("ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＨＩＺＵＭＩ", 7);
  pages_->CheckPageReturn(41, 1);
  SetSlideJudgeFields();
  pages_->Block("ＺＰ＿ＳＬＩＤＥＳＴＲＡＩＮ＿ＪＵＤＧＥ", 5);

  pages_->PageReturn();
  constexpr const char* kHead = "ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＧＡＭＭＡＳ＿ＨＥＡＤ";
  pages_->Block(kHead, 3);
  for (const tagSLIDERES& row : result.rows) {
    pages_->RowCheck(kHead, 3);
    Field("ｋｈ", Dbl(row.kh, kCodeKh));
    Field("Ｆｓｒ", Dbl(row.fsr, kCodeFs));
    Field("γｓ", Dbl(row.gammaS, kCodeValue5));
    Field("Ｓｔｒａｉｎ", Dbl(row.ds, kCodeStrain));
    pages_->Block("ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＧＡＭＭＡＳ＿ＤＡＴＡ", 1);
  }
  pages_->CheckPageReturn(14, 2);
  CreateBitmapWord("GRAPH_GAMMAS", kGraphFigure);
  pages_->Block("ＺＰ＿ＧＲＡＰＨ＿ＧＡＭＭＡＳ", 15);
  pages_->CheckPageReturn(31, 2);
  CreateBitmapWord("GRAPH_SLIDESTRAIN", kGraphFigure);
  pages_->Block("ＺＰ＿ＧＲＡＰＨ＿ＳＬＩＤＥＳＴＲＡＩＮ", 15);
}

void CStagePrintWord::WordSummarySlideStrain() {
  pages_->CheckPageReturn(41, 2);
  SetSlideJudgeFields();
  pages_->Block("ＺＰ＿ＳＬＩＤＥＳＴＲＡＩＮ＿ＪＵＤＧＥ", 5);
}
