// The multi-plane stability report: per chosen load case the cover, the ground data, the
// calculation conditions, the block model, the back analysis (normal case only) and the results,
// or a one-page summary of the results.

#include <cmath>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/model/PrnInfo.h"
#include "core/section/SpStratum.h"
#include "platform/word/WordTemplate.h"
#include "stage/output/ReportNumberText.h"
#include "stage/output/StagePrintWord.h"
#include "stage/output/WordFields.h"
#include "stage/output/WordKeys.h"
#include "stage/output/WordPages.h"

namespace {

using namespace word_fields;

constexpr DevRect kCFaiFigure{0, 0, 500, 450};

const char* ModeText(int k) { return k == 0 ? "常時" : "地震時"; }
const char* ByCase(int k, const char* normal, const char* quake) { return k == 0 ? normal : quake; }

double Fs(const CMltPoint& point, int k) { return k == 0 ? point.fsN : point.fsQ; }

// The stratum polygons of the ground; empty when the strata are not recognised.
std::vector<const CSpStratumBlock*> StratumBlocks(const CCase& c) {
  std::vector<const CSpStratumBlock*> blocks;
  if (const CDPolyArray* polygons = c.GetGround().GetPolyArray()) {
    for (int i = 0; i < polygons->GetSize(); ++i) {
      if (const auto* block = dynamic_cast<const CSpStratumBlock*>(polygons->GetAt(i))) {
        blocks.push_back(block);
      }
    }
  }
  return blocks;
}

// Coordinate texts of point i of a shape; empty beyond its last point.
std::string PointX(const CDPoly& shape, int i) {
  return i < shape.GetSize() ? Dbl(shape.GetAt(i)->x, kCodeX) : std::string();
}
std::string PointY(const CDPoly& shape, int i) {
  return i < shape.GetSize() ? Dbl(shape.GetAt(i)->y, kCodeY) : std::string();
}

}  // namespace

void CStagePrintWord::Field(std::string_view key, std::string_view value) {
  word_->SetField(key, value);
}

void CStagePrintWord::SetNameFields(int k) {
  Field("Ｍｏｄｅ", ModeText(k));
  SetSiteFields();
}

void CStagePrintWord::SetSiteFields() {
  const CPrmJobsite& site = m_pCase->GetPrmJobsite();
  Field("Ｓｉｔｅ", site.names[0]);
  Field("Ｃａｓｅ", site.names[1]);
  Field("Ｒｅｍａｒｋｓ", site.names[2]);
}

int CStagePrintWord::CanWordStageMulti(int item) const {
  if (m_pCase == nullptr) return 0;
  switch (item) {
    case 0:
      return StratumBlocks(*m_pCase).empty() ? 0 : 1;
    case 2:
      return m_pCase->IsResStabGyaku() ? 1 : 0;
    case 3:
      return m_pCase->GetBlockList().GetBlockSize() > 0 ? 1 : 0;
    case 4:
      return m_pCase->IsResStab() ? 1 : 0;
    default:
      return 1;
  }
}

void CStagePrintWord::OpenPortrait() {
  pages_->SetPageMargin(false, {15, 15, 15, 15, 17.5, 15, 0});
}

void CStagePrintWord::WordMulti() {
  for (int k = 0; k < 2; ++k) {
    if (!(k == 0 ? IsNormalChosen() : IsQuakeChosen())) continue;
    pages_->BreakUnlessEmpty();
    WordMultiCover(k);
    if (!StratumBlocks(*m_pCase).empty()) {
      pages_->BreakUnlessEmpty();
      WordMultiGroundData(k);
    }
    pages_->BreakUnlessEmpty();
    if (k == 0) {
      WordMultiPlanFs();
    } else {
      WordMultiKh();
      WordMultiKhHosei();
    }
    WordMultiFormula(k);
    if (m_pCase->GetBlockList().GetBlockSize() > 0) {
      pages_->BreakUnlessEmpty();
      WordMultiBlockModel(k);
    }
    if (k == 0 && m_pCase->IsResStabGyaku()) {
      pages_->BreakUnlessEmpty();
      WordMultiCReverse();
    }
    if (m_pCase->IsResStab()) {
      pages_->BreakUnlessEmpty();
      WordMultiCalc(k);
    }
  }
}

void CStagePrintWord::WordSummaryMulti() {
  for (int k = 0; k < 2; ++k) {
    if (!(k == 0 ? IsNormalChosen() : IsQuakeChosen())) continue;
    pages_->BreakUnlessEmpty();
    SetNameFields(k);
    pages_->Block("ＺＰ＿ＭＵＬＴＩ＿ＳＵＭＭＡＲＹ", 0);
    WordMultiCalcRes(k);
  }
}

void CStagePrintWord::WordMultiCover(int k) {
  SetNameFields(k);
  pages_->Block("ＺＰ＿ＣＯＶＥＲ", 0);
  pages_->SetLines(WordPages::kLinesPerPage);
}

void CStagePrintWord::WordMultiGroundData(int k) {
  pages_->Block(ByCase(k, "ＺＰ＿ＧＲＯＵＮＤＤＡＴＡ", "ＺＰ＿ＧＲＯＵＮＤＤＡＴＡ＿Ｑ"), 0);
  WordMultiDanmen();
  WordMultiSoil(k);
  pages_->PageReturn();
  WordMultiCoord();
  WordMultiCoordStratum();
}

void CStagePrintWord::WordMultiDanmen() {
  CreateBitmapWord("DANMEN_COORD", kSectionFigure);
  pages_->Block("ＺＰ＿ＤＡＮＭＥＮ", 21);
}

void CStagePrintWord::WordMultiSoil(int k) {
  const std::vector<const CSpStratumBlock*> blocks = StratumBlocks(*m_pCase);
  if (blocks.empty()) return;
  constexpr const char* kHead = "ＺＰ＿ＳＯＩＬ＿ＨＥＡＤ";
  if (pages_->Free() <= 6) {
    pages_->PageReturn();
  } else {
    pages_->Block(kSpaceLine, 1);
  }
  pages_->Block(kHead, 4);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (pages_->Free() <= 1) {
      pages_->PageReturn();
      pages_->Block(kHead, 4);
    }
    const tagSATURATE& soil = *blocks[i]->GetPropStructure();
    const double tanPhi =
        soil.phi != kNoValue ? CCoreConfig::GetRound(TanFai(soil.phi), kCodeTanPhi) : kNoValue;
    Field("Ｎｏ", Int(static_cast<int>(i) + 1));
    Field("ＧｅｏＮａｍｅ", blocks[i]->GetName());
    Field("γｔ", Dbl(soil.gammaT, kCodeGammaT));
    Field("γｔＳ", Dbl(soil.gammaSat, kCodeGammaSat));
    Field("Ｃ", Dbl(soil.c, kCodeCohesion));
    Field("φ", Dbl(soil.phi, kCodePhi));
    Field("ｔａｎφ", Dbl(tanPhi, kCodeTanPhi));
    pages_->Block("ＺＰ＿ＳＯＩＬ＿ＤＡＴＡ", 1);
  }
  if (m_pCase->GetPrmStab().waterOn != 0) {
    const CDanmenStab* section = m_pCase->GetDanmenStabData(0, k);
    Field("γｗ", Dbl(section != nullptr ? section->GetGammaW() : kNoValue, kCodeGammaW));
    pages_->Block("ＺＰ＿ＳＯＩＬ＿ＧＡＭＭＡＷ", 1);
  }
}

void CStagePrintWord::WordMultiCoord() {
  const CDPoly& ground = m_pCase->GetGround();
  const CDPoly& water = m_pCase->GetWater();
  const int rows = std::max(ground.GetSize(), water.GetSize());
  if (rows == 0) return;
  constexpr const char* kHead = "ＺＰ＿ＣＯＯＲＤ＿ＨＥＡＤ";
  pages_->Block(kHead, 4);
  for (int i = 0; i < rows; ++i) {
    if (pages_->Free() <= 0) {
      pages_->PageReturn();
      pages_->Block(kHead, 4);
    }
    Field("Ｎｏ", Int(i + 1));
    Field("Ｘ", PointX(ground, i));
    Field("Ｙ", PointY(ground, i));
    Field("Ｙｗ", PointY(water, i));
    pages_->Block("ＺＰ＿ＣＯＯＲＤ＿ＤＡＴＡ", 1);
  }
}

void CStagePrintWord::WordMultiCoordStratum() {
  std::vector<const CDPoly*> lines;
  const CDPolyArray& strata = m_pCase->GetStratum();
  for (int i = 0; i < strata.GetSize(); ++i) {
    if (strata.GetAt(i)->GetSize() > 0) lines.push_back(strata.GetAt(i));
  }
  constexpr std::size_t kGroup = 4;
  for (std::size_t first = 0; first < lines.size(); first += kGroup) {
    const std::size_t n = std::min(kGroup, lines.size() - first);
    const std::string size = FullWidthDigit(static_cast<int>(n));
    const std::string head = "ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ" + size + "＿ＨＥＡＤ";
    const std::string data = "ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ" + size + "＿ＤＡＴＡ";
    pages_->CheckPageReturn(32, 1);
    int rows = 0;
    for (std::size_t j = 0; j < n; ++j) {
      Field("Ｎａｍｅ" + FullWidthDigit(static_cast<int>(j) + 1), lines[first + j]->GetName());
      rows = std::max(rows, lines[first + j]->GetSize());
    }
    pages_->Block(head, 3);
    for (int r = 0; r < rows; ++r) {
      if (pages_->Free() <= 0) {
        pages_->PageReturn();
        pages_->Block(head, 4);
      }
      Field("Ｎｏ", Int(r + 1));
      for (std::size_t j = 0; j < n; ++j) {
        const std::string digit = FullWidthDigit(static_cast<int>(j) + 1);
        Field("Ｘ" + digit, PointX(*lines[first + j], r));
        Field("Ｙ" + digit, PointY(*lines[first + j], r));
      }
      pages_->Block(data, 1);
    }
  }
}

void CStagePrintWord::WordMultiPlanFs() {
  Field("Ｆｓｐ", Dbl(m_pCase->GetPrmStab().planFsNormal, kCodePlanFs));
  pages_->Block("ＺＰ＿ＰＬＡＮ＿ＦＳ", 8);
}

void CStagePrintWord::WordMultiKh() {
  const CPrmStab& stab = m_pCase->GetPrmStab();
  pages_->Block("ＺＰ＿ＫＨ", 3);
  if (!stab.IsCalcKh()) {
    Field("ｋｈ", Dbl(stab.kh, kCodeKh));
    pages_->Block("ＺＰ＿ＫＨ＿ＩＮＰＵＴ", 1);
    return;
  }
  Field("Ｄ", Dbl(stab.distance, kCodeDistance));
  Field("ＭＪ", Dbl(stab.magnitude, kCodeDistance));
  Field("ＭＷ", Dbl(stab.mw, kCodeMw));
  Field("Ａ", Dbl(stab.a, kCodeValue3));
  Field("ｒ", Dbl(stab.r, kCodeValue3));
  Field("ｌｏｇＡ", Dbl(stab.l, kCodeValue3));
  Field("ｋｈ", Dbl(stab.khCalc, kCodeKh));
  pages_->Block("ＺＰ＿ＫＨ＿ＣＡＬＣ", 27);
}

void CStagePrintWord::WordMultiKhHosei() {
  pages_->CheckPageReturn(31, 1);
  const bool over = m_pCase->IsCoffkh100Over() != 0;
  Field("比高判定", over ? "以上" : "未満");
  pages_->Block("ＺＰ＿ＫＨ＿ＨＯＳＥＩ", 0);
  pages_->Block(
      over ? "ＺＰ＿ＫＨ＿ＨＯＳＥＩ＿１００ＯＶＥＲ" : "ＺＰ＿ＫＨ＿ＨＯＳＥＩ＿１００ＩＮ", 0);
  pages_->PageReturn();
}

void CStagePrintWord::WordMultiFormula(int k) {
  if (k == 0) {
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿Ｎ", 0);
    pages_->PageReturn();
    WordMultiFormulaParam(0);
    pages_->CheckPageReturn(21, 1);
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿Ｎ２", 25);
  } else if (k == 1) {
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿Ｑ", 0);
    pages_->PageReturn();
    WordMultiFormulaParam(1);
    pages_->CheckPageReturn(36, 1);
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿Ｑ２", 10);
    pages_->CheckPageReturn(32, 1);
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿Ｑ３", 14);
  }
}

void CStagePrintWord::WordMultiFormulaParam(int k) {
  pages_->AddLines(17);
  if (k == 0) {
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿ＰＡＲＡＭ", 0);
  } else if (k == 1) {
    pages_->Block("ＺＰ＿ＦＯＲＭＵＬＡ＿ＰＡＲＡＭ＿Ｑ", 1);
  }
}

void CStagePrintWord::WordMultiBlockModel(int k) {
  const CBlockList& list = m_pCase->GetBlockList();
  pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＴＩＴＬＥ", 2);
  CreateBitmapWord("DANMEN_BLOCK", kSectionFigure);
  pages_->Block("ＺＰ＿ＤＡＮＭＥＮ＿ＢＬＯＣＫ", 19);

  // Boundaries: the first block's outer side, then every block's other side.
  constexpr const char* kHead = "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＨＥＡＤ";
  pages_->CheckPageReturn(41, 1);
  pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＳＵＢ＿ＴＩＴＬＥ", 1);
  pages_->Block(kHead, 2);
  const auto boundaryRow = [&](int number, double x, double h, double top, double bottom) {
    if (pages_->Free() <= 0) {
      pages_->PageReturn();
      pages_->Block(kHead, 2);
    }
    Field("Ｎｏ", Int(number));
    Field("Ｘ", Dbl(x, kCodeX));
    Field("Ｈ", Dbl(h, kCodeHeight));
    Field("ＴｏｐＹ", Dbl(top, kCodeY));
    Field("ＢｏｔｔｏｍＹ", Dbl(bottom, kCodeY));
    pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＤＡＴＡ", 1);
  };
  if (const CBlock* first = list.GetBlockPtr(0)) {
    boundaryRow(1, first->GetRightX(), first->GetH(true), first->GetRightTopY(),
                first->GetRightBottomY());
    for (int i = 0; i < list.GetBlockSize(); ++i) {
      const CBlock& block = *list.GetBlockPtr(i);
      boundaryRow(i + 2, block.GetLeftX(), block.GetH(false), block.GetLeftTopY(),
                  block.GetLeftBottomY());
    }
  }
  pages_->BreakUnlessEmpty();

  // The parameters of the list.
  double gammaT = kNoValue;
  double gammaSat = kNoValue;
  double c = kNoValue;
  double phi = kNoValue;
  list.GetSouGanmmaCFai(gammaT, gammaSat, c, phi);
  double left = kNoValue;
  double top = kNoValue;
  double right = kNoValue;
  double bottom = kNoValue;
  list.GetRect(left, top, right, bottom);
  Field("ＢＣＴ", Int(list.GetBlockSize()));
  Field("γｔ", Dbl(gammaT, kCodeGammaT));
  Field("γｓａｔ", Dbl(gammaSat, kCodeGammaSat));
  Field("ＴｏｐＹ", Dbl(top, kCodeY));
  Field("ＢｏｔｔｏｍＹ", Dbl(bottom, kCodeY));
  Field("φ", Dbl(phi, kCodePhi));
  const CMltPoint* gyaku =
      m_pCase->IsResStabGyaku() ? m_pCase->GetResStabGyaku().GetSelectRepPt(0) : nullptr;
  const auto* gyakuPoint = dynamic_cast<const CMltPointGyaku*>(gyaku);
  if (k == 1) {
    Field("Ｃ", Dbl(gyakuPoint != nullptr ? gyakuPoint->c : c, kCodeCohesion));
    Field("ｋｈ", Dbl(m_pCase->GetPrmStab().kh, kCodeKh));
    pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ＿Ｑ", 4);
  } else {
    Field("Ｃ", m_pCase->IsResStabGyaku() ? std::string("逆算") : Dbl(c, kCodeCohesion));
    pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ", 4);
  }

  // The calculation conditions of every block.
  const std::string head = ByCase(k, "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＨＥＡＤ",
                                  "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＨＥＡＤ＿Ｑ");
  const std::string data = ByCase(k, "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＤＡＴＡ",
                                  "ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＤＡＴＡ＿Ｑ");
  pages_->CheckPageReturn(40, 1);
  pages_->Block("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＴＩＴＬＥ", 1);
  pages_->Block(head, 2);
  WordBlockCondRows(head, data, k == 1);
}

void CStagePrintWord::WordBlockCondRows(const std::string& head, const std::string& data,
                                        bool withKh) {
  const CBlockList& list = m_pCase->GetBlockList();
  const CDanmenStab* quake = m_pCase->GetDanmenStabData(0, 1);
  const double groundTop =
      quake != nullptr && quake->GetGround() != nullptr ? quake->GetGround()->Top().y : kNoValue;
  const double reference = quake != nullptr ? quake->GetCalcCond().bottomElevation : kNoValue;
  for (int i = 0; i < list.GetBlockSize(); ++i) {
    pages_->RowCheck(head, 2);
    const CBlock& block = *list.GetBlockPtr(i);
    Field("Ｎｏ", Int(i + 1));
    Field("ｈｉ", Dbl(block.GetDepthRight(), kCodeHeight));
    Field("ｈｉ＋１", Dbl(block.GetDepthLeft(), kCodeHeight));
    Field("ｂ", Dbl(block.GetWidth(), kCodeValue3));
    Field("ｙｇ", Dbl(block.TotalJuushin(0).y, kCodeY));
    Field("Ａ", Dbl(block.GetArea(-1), kCodeArea));
    Field("Ｗ", Dbl(block.GetWeight(-1), kCodeWeight));
    Field("Ｕ", Dbl(block.GetU(), kCodeU));
    if (withKh) {
      const double factor = groundTop != kNoValue && reference != kNoValue
                                ? block.GetCoffkh(groundTop, reference)
                                : 1.0;
      Field("ｋｈＨｏｓｅｉ", Dbl(CCoreConfig::GetRound(factor, kCodeKh), kCodeKh));
    }
    pages_->Block(data, 1);
  }
}

void CStagePrintWord::WordMultiCReverse() {
  const CPrmStab& stab = m_pCase->GetPrmStab();
  if (stab.gyakuOn == 0) return;
  Field("Ｆｓ０", Dbl(stab.assumedFs, kCodeFs));
  CreateBitmapWord("DANMEN_CREV", kSectionFigure);
  pages_->Block("ＺＰ＿ＣＲＥＶＥＲＳＥ", 13);
  if (const auto* point =
          dynamic_cast<const CMltPointGyaku*>(m_pCase->GetResStabGyaku().GetSelectRepPt(0))) {
    Field("Ｃ", Dbl(point->c, kCodeCohesion));
    Field("φ", Dbl(point->phi, kCodePhi));
    Field("ｔａｎφ", Dbl(point->tanPhi, kCodeTanPhi));
    Field("Ｃ０", Dbl(point->c0, kCodeCohesion));
    Field("φ０", Dbl(point->phi0, kCodePhi));
    Field("ｔａｎφ０", Dbl(point->tanPhi0, kCodeTanPhi));
    if (point->startBlock >= 0 && point->endBlock >= 0) {
      Field("ｓＢＬＯＣＫ", Int(point->startBlock + 1));
      Field("ｅＢＬＯＣＫ", Int(point->endBlock + 1));
      // A pair beyond the block list gives no list: its fields stay empty.
      if (const std::unique_ptr<CBlockList> run =
              m_pCase->GetBlockList().CreateBlockList(point->startBlock, point->endBlock)) {
        Field("Ｌ", Dbl(run->GetTotalL(), kCodeLength));
        Field("Ａ", Dbl(run->GetTotalArea(), kCodeArea));
      }
    }
  }
  pages_->Block("ＺＰ＿ＣＲＥＶＥＲＳＥ＿ＰＡＲＡＭ", 11);
  pages_->PageReturn();
  CreateBitmapWord("GRAPH_CFAI", kCFaiFigure);
  pages_->Block("ＺＰ＿ＣＲＥＶＥＲＳＥ＿ＣＦＡＩ", 23);
}

void CStagePrintWord::WordMultiCalc(int k) {
  if (m_pCase->GetResStab2().GetSelectRepPt(k) == nullptr) return;
  pages_->Block("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＴＩＴＬＥ", 1);
  pages_->Block(ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＴＩＴＬＥ＿Ｎ",
                       "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＴＩＴＬＥ＿Ｑ"),
                2);
  WordMultiCalcRes(k);
  WordMultiCalcList(k);
}

void CStagePrintWord::WordMultiCalcRes(int k) {
  const CMltPoint* point = m_pCase->GetResStab2().GetSelectRepPt(k);
  if (point == nullptr) return;
  const CPrmStab& stab = m_pCase->GetPrmStab();
  Field("Ｆｓ", Dbl(Fs(*point, k), kCodeFs));
  CreateBitmapWord(ByCase(k, "DANMEN_RESULT_MULTI_N", "DANMEN_RESULT_MULTI_Q"), kSectionFigure);
  pages_->Block(ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＤＡＮＭＥＮ＿Ｎ",
                       "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＤＡＮＭＥＮ＿Ｑ"),
                20);
  Field("Ｍｏｄｅ", ModeText(k));
  Field("Ｆｓｐ", Dbl(k == 0 ? stab.planFsNormal : stab.planFsQuake, kCodePlanFs));

  const CBlockList& list = m_pCase->GetBlockList();
  const int start = point->startBlock;
  const int end = point->endBlock;
  const CBlock* last = end >= 0 ? list.GetBlockPtr(end) : nullptr;
  if (start >= 0 && end >= 0) {
    Field("ｓＢＬＯＣＫ", Int(start + 1));
    Field("ｅＢＬＯＣＫ", Int(end + 1));
  }
  // The sums need every block of the run; a run naming blocks the list does not hold leaves them
  // empty.
  bool complete = start >= 0 && last != nullptr;
  for (int i = start; complete && i < end; ++i) complete = list.GetBlockPtr(i) != nullptr;
  if (complete) {
    const bool side = list.IsRightUpper();
    double u = 0;
    double length = 0;
    double area = 0;
    for (int i = start; i < end; ++i) {
      const CBlock& block = *list.GetBlockPtr(i);
      u += block.GetU();
      length += block.GetLength();
      area += block.GetArea(-1);
    }
    u += last->GetEndU(side);
    length += last->GetEndLength(side);
    area += last->GetEndArea(side, -1);
    Field("Ｕ", stab.waterOn != 0 ? Dbl(u, kCodeU) : std::string("－"));
    Field("ｌ", Dbl(length, kCodeLength));
    Field("Ａ", Dbl(area, kCodeArea));
  } else if (stab.waterOn == 0) {
    Field("Ｕ", "－");
  }
  pages_->Block(
      ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＶＡＬＵＥ", "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＶＡＬＵＥ＿Ｑ"),
      0);
}

void CStagePrintWord::WordMultiCalcList(int k) {
  pages_->PageReturn();
  CreateBitmapWord(ByCase(k, "GRAPH_MULTI_FS_N", "GRAPH_MULTI_FS_Q"), kSectionFigure);
  pages_->Block(ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＧＲＡＰＨ＿Ｎ",
                       "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＧＲＡＰＨ＿Ｑ"),
                22);
  if (m_pPrnInfo->GetPrnMultiListOutFs() != 0) {
    CResStab2 sorted;
    sorted.Copy(m_pCase->GetResStab2());
    sorted.SortSerial(tagMLTSORT{k == 0 ? 9 : 12, 0});
    const std::string head = ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＨＥＡＤ",
                                    "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＨＥＡＤ＿Ｑ");
    pages_->Block(ByCase(k, "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＴＩＴＬＥ",
                         "ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＴＩＴＬＥ＿Ｑ"),
                  0);
    pages_->Block(head, 3);
    const CPrmStab& stab = m_pCase->GetPrmStab();
    const double planned = k == 0 ? stab.planFsNormal : stab.planFsQuake;
    // Only pairs with a safety factor are listed, and only against a planned one.
    for (const CMltPoint* point : sorted.GetSerial()) {
      const double fs = Fs(*point, k);
      if (planned == kNoValue || fs == kNoValue || fs > planned) continue;
      if (pages_->Free() <= 0) {
        pages_->PageReturn();
        pages_->Block(head, 2);
      }
      Field("ｓＢＬＯＣＫ", Int(point->startBlock + 1));
      Field("ｅＢＬＯＣＫ", Int(point->endBlock + 1));
      Field("Ｆｓ", Dbl(fs, kCodeFs));
      pages_->Block("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＤＡＴＡ", 1);
    }
    pages_->BreakUnlessEmpty();
  }
  pages_->Block("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＲＥＳＵＬＴ＿ＦＳ＿ＬＩＳＴ", 3);
}
