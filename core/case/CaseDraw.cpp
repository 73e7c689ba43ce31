// The design case: drawing the section of a design step and mouse editing.

#include <algorithm>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/circle/SliceList.h"
#include "platform/Canvas.h"

namespace {

constexpr Color kWhite = Color::Rgb(255, 255, 255);

}  // namespace

void CCase::Draw() { Draw(&view_, CCoreConfig::GetStageNo()); }

void CCase::Draw(CViewInfo* view, int step) {
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  view->SetArea(grid_.x1, grid_.y2, grid_.x2, grid_.y1);
  view->CalcScale();
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  {
    const ScopedPen white(dc, Pen{PenStyle::Solid, 1, kWhite});
    dc.FillRect(view->rect, Brush{BrushStyle::Solid, kWhite});
  }
  const ScopedPen black(dc, Pen{PenStyle::Solid, 1, kBlack});
  grid_.Draw(view);
  switch (step) {
    case 0:
      danmen_.Draw(view);
      danmen_.DrawWater(view);
      break;
    case 1:
      if (drawSet_.blocksOnly == 0) danmenNormal_.Draw(view);
      danmen_.DrawWater(view);
      if (IsStratumBlockMode() != 0) DrawBlocksForStep1(view);
      break;
    case 2:
      DrawDeformationStep(view, danmenSlide_);
      break;
    case 3:
      DrawDeformationStep(view, danmenShear_);
      break;
    default:
      break;
  }
  if (curArcCond_ != nullptr) curArcCond_->Draw(view);
}

void CCase::DrawBlocksForStep1(CViewInfo* view) const {
  const CMltPoint* point = resStab2_.GetCurrentResult();
  const CMltKey* key = point != nullptr ? &resStab2_.GetKey() : nullptr;
  if (point == nullptr) {
    const int choice = drawSet_.loadCase;
    if (prmStab_.IsNormal() && (choice == 0 || choice == 2)) point = resStab2_.GetSelectRepPt(0);
    if (point == nullptr && prmStab_.IsQuake() && (choice == 1 || choice == 2)) {
      point = resStab2_.GetSelectRepPt(1);
    }
  }
  if (resGyaku_.GetCurrentResult() != nullptr) point = resGyaku_.GetCurrentResult();
  const int first = point != nullptr ? point->startBlock : -1;
  const int last = point != nullptr ? point->endBlock : -1;
  blockList_.DrawView(view, key, first, last);
}

void CCase::DrawDeformationStep(CViewInfo* view, const CDanmenStab& section) const {
  if (drawSet_.blocksOnly == 0) section.Draw(view);
  if (IsStratumBlockMode() != 0) {
    const CMltPoint* point = GetQuakeSelectPoint();
    if (point != nullptr) {
      blockList_.DrawPrn(view, point->startBlock, point->endBlock);
    } else {
      blockList_.DrawView(view, nullptr, -1, -1);
    }
  }
  GetDrawPrmReinf().Draw(view, &groundDiv_);
  arrange_.Draw(view, true, false);
}

// ---- Print figures ----

void CCase::DrawBlockRun(CViewInfo* view, int first, int last) const {
  blockList_.DrawBlock(view);
  blockList_.DrawBlockSlideFill(view, first, last);
  blockList_.DrawBlockSlideLine(view, first, last);
  blockList_.DrawBlockNo(view, nullptr);
}

void CCase::DrawWaterAndLoads(CViewInfo* view, const CDanmenStab& section) const {
  section.DrawWater(view);
  section.DrawLoad(view);
}

void CCase::DrawPrnSlideSection(CViewInfo* view, bool withBlocks) const {
  danmenSlide_.Draw(view);
  if (IsStratumBlockMode() != 0 && withBlocks) {
    const CMltPoint* point = GetQuakeSelectPoint();
    blockList_.DrawPrn(view, point != nullptr ? point->startBlock : -1,
                       point != nullptr ? point->endBlock : -1);
  }
  DrawWaterAndLoads(view, danmenSlide_);
  arrange_.Draw(view, false, false);
}

void CCase::DrawPrnCoord(CViewInfo* view, int type, bool withBlocks) const {
  grid_.Draw(view);
  if (type == 2) {
    DrawPrnSlideSection(view, withBlocks);
    return;
  }
  if (type != 1) return;
  const bool normal = prmStab_.IsNormal();
  const bool quake = prmStab_.IsQuake();
  if (normal) {
    danmenNormal_.Draw(view);
  } else if (quake) {
    danmenQuake_.Draw(view);
  }
  if (IsStratumBlockMode() != 0 && withBlocks) {
    const CMltPoint* point = resGyaku_.GetSelectRepPt(0);
    blockList_.DrawPrn(view, point != nullptr ? point->startBlock : -1,
                       point != nullptr ? point->endBlock : -1);
  }
  if (normal) DrawWaterAndLoads(view, danmenNormal_);
  if (quake) DrawWaterAndLoads(view, danmenQuake_);
}

void CCase::DrawPrnBlock(CViewInfo* view, int type) const {
  grid_.Draw(view);
  if ((type == 1 || type == 2) && IsStratumBlockMode() != 0) DrawBlockRun(view, -1, -1);
}

void CCase::DrawPrnMulti(CViewInfo* view, int type, int column) const {
  grid_.Draw(view);
  if (type == 2) {
    DrawPrnSlideSection(view, true);
    return;
  }
  if (type != 1 || (column != 0 && column != 1)) return;
  const CDanmenStab& section = column == 0 ? danmenNormal_ : danmenQuake_;
  section.Draw(view);
  const CMltPoint* point = resStab2_.GetSelectRepPt(column);
  if (IsStratumBlockMode() != 0 && point != nullptr) {
    DrawBlockRun(view, point->startBlock, point->endBlock);
  }
  DrawWaterAndLoads(view, section);
}

void CCase::DrawPrnSlice(CViewInfo* view, DevRect rect, int, int) const {
  rect = DevRect{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                 std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
  const CSliceList slices;
  double xmin = 0, ymax = 0, xmax = 0, ymin = 0;
  slices.GetRect(xmin, ymax, xmax, ymin);
  view->rect = rect;
  view->width = rect.Width();
  view->height = rect.bottom - rect.top;
  view->SetArea(xmin, ymax, xmax, ymin);
  view->CalcScale();
  tagSHOWINFO show;
  show.master = 1;
  show.number = 1;
  slices.Draw(view, &show);
  const ScopedBrush hollow(*view->dc, Brush{BrushStyle::Null, kWhite});
  view->dc->Rectangle(rect);
}

// ---- Mouse editing ----

void CCase::SetCurDanmenMouseMove(int kind, int id1, int id2) {
  if (curDanmen_ == nullptr) return;
  curDanmen_->ResetMouseMove();
  curDanmen_->SetCurShapeKind(kind);
  curDanmen_->SetCurPointId1(id1);
  curDanmen_->SetCurPointId2(id2);
}

void CCase::SetCurArcCondMouseMove(int kind, int id) {
  if (curArcCond_ == nullptr) return;
  curArcCond_->SetCurKind(kind);
  curArcCond_->ResetMouseMove();
  curArcCond_->SetCurPtId(id);
}

void CCase::OnMouseMove(CViewInfo* view, CDPoint point) {
  if (!mouseEdit_) return;
  if (curDanmen_ != nullptr) curDanmen_->OnMouseMove(view, point);
  if (curArcCond_ != nullptr) curArcCond_->OnMouseMove(view, point);
}

void CCase::ResetMouseMove() {
  if (curDanmen_ != nullptr) curDanmen_->ResetMouseMove();
  if (curArcCond_ != nullptr) curArcCond_->ResetMouseMove();
}

void CCase::SetDrawPtr() {
  curDanmen_ = nullptr;
  curArcCond_ = nullptr;
  curPrmReinf_ = nullptr;
}
