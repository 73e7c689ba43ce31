#include "stage/output/ReportFigures.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "core/case/Case.h"

namespace {

struct Insets {
  int left, top, right, bottom;
};

// Multi-plane Fs graph: plot insets and the width of one legend column.
constexpr Insets kMultiFsInsets{55, 32, 44, 42};
constexpr int kMultiFsLegendWidth = 44;
constexpr Insets kSlideGraphInsets{70, 30, 100, 40};
constexpr Insets kFitInsets{60, 15, 20, 40};
constexpr Insets kCumDeltaInsets{60, 20, 130, 40};

DevRect Ordered(DevRect r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// The view takes the rectangle as its device and fits the world area into it.
void FitDevice(CViewInfo& view, DevRect rect) {
  const DevRect r = Ordered(rect);
  view.width = r.Width();
  view.height = r.Height();
  view.centreX = (r.left + r.right) / 2;
  view.centreY = (r.top + r.bottom) / 2;
  view.CalcScale();
}

DevRect Inset(DevRect rect, const Insets& insets) {
  const DevRect r = Ordered(rect);
  return {r.left + insets.left, r.top + insets.top, r.right - insets.right,
          r.bottom - insets.bottom};
}

using Painter = std::function<void(CCase&, CViewInfo&, DevRect)>;

Painter Section(std::function<void(const CCase&, CViewInfo*)> draw) {
  return [draw = std::move(draw)](CCase& c, CViewInfo& view, DevRect rect) {
    FitDevice(view, rect);
    draw(c, &view);
  };
}

void DeviceOnly(CCase&, CViewInfo& view, DevRect rect) { FitDevice(view, rect); }

// The view's world area from a graph's ranges.
void SetAreaOf(CViewInfo& view, const CDrawResGraphSet& graph) {
  view.SetArea(graph.minX, graph.maxY, graph.maxX, graph.minY);
}

// The slide-deformation graph of the kind (0 Fsr, 1 slide strain, 2 slide deformation).
Painter SlideGraph(int kind) {
  return [kind](CCase& c, CViewInfo& view, DevRect rect) {
    FitDevice(view, rect);
    CResSlide& result = c.GetResSlide();
    SetAreaOf(view, result.GetGraphSet(kind));
    result.DrawGraph(&view, Ordered(rect), Inset(rect, kSlideGraphInsets), kind);
  };
}

// The fit of the shear parameters in its own ranges, from a copy, so that the case's graph
// settings stay as they are. (Taking another graph's ranges would give the fit foreign axes.)
void FitGraph(CCase& c, CViewInfo& view, DevRect rect) {
  FitDevice(view, rect);
  CFit fit = c.GetPrmShear().fit;
  fit.SetGraphMaxMin();
  SetAreaOf(view, fit.graph);
  fit.DrawGraph(&view, Ordered(rect), Inset(rect, kFitInsets));
}

void CumDeltaGraph(CCase& c, CViewInfo& view, DevRect rect) {
  FitDevice(view, rect);
  CResShear& result = c.GetResShear();
  SetAreaOf(view, result.graph);
  result.DrawGraph(&view, Ordered(rect), Inset(rect, kCumDeltaInsets));
}

Painter Slice(int group, int k) {
  return
      [group, k](CCase& c, CViewInfo& v, DevRect r) { c.DrawPrnSlice(&v, Ordered(r), group, k); };
}

// The multi-plane Fs graph of case k, drawn from a copy of the forward result so that the case's
// own graph settings stay as they are.
Painter MultiFsGraph(int k) {
  return [k](CCase& c, CViewInfo& view, DevRect rect) {
    FitDevice(view, rect);
    CResStab2 copy;
    copy.Copy(c.GetResStab2());
    copy.graphFs.ResetIndex(k);
    copy.graphFs.currentCase = k;
    const CDrawResGraphSetMltFs::Axes& axes = copy.graphFs.axes.at(static_cast<std::size_t>(k));
    view.SetArea(axes.minX, axes.maxY, axes.maxX, axes.minY);
    copy.DrawGraphFs(&view, Ordered(rect), Inset(rect, kMultiFsInsets), kMultiFsLegendWidth);
  };
}

// The painters every figure group shares: the specifications, repeat and isoline figures,
// the Newmark keys that only size the device, and the slice figures of its group.
void AddSectionCommon(std::map<std::string, Painter, std::less<>>& painters, int group) {
  const Painter grid = Section([](const CCase& c, CViewInfo* v) { c.DrawPrnSpecif(v); });
  for (const char* key : {"DANMEN_SPECIF_N", "DANMEN_SPECIF_Q", "DANMEN_REPEAT_N",
                          "DANMEN_REPEAT_Q", "DANMEN_ISOLINE_N", "DANMEN_ISOLINE_Q"}) {
    painters.emplace(key, grid);
  }
  for (const char* key :
       {"DANMEN_SPECIF_NEWMARK", "DANMEN_REPEAT_NEWMARK", "DANMEN_ISOLINE_NEWMARK"}) {
    painters.emplace(key, DeviceOnly);
  }
  painters.emplace("DANMEN_SLICE_N", Slice(group, 0));
  painters.emplace("DANMEN_SLICE_Q", Slice(group, 1));
}

const std::map<std::string, Painter, std::less<>>& MultiPlanePainters() {
  static const std::map<std::string, Painter, std::less<>> painters = [] {
    std::map<std::string, Painter, std::less<>> p = {
        {"DANMEN_COORD",
         Section([](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 1, false); })},
        {"DANMEN_BLOCK", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnBlock(v, 1); })},
        {"DANMEN_CREV", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 1, true); })},
        {"GRAPH_CFAI",
         [](CCase& c, CViewInfo& v, DevRect r) { c.GetResStabGyaku().DrawCFai(&v, Ordered(r)); }},
        {"DANMEN_RESULT_MULTI_N",
         Section([](const CCase& c, CViewInfo* v) { c.DrawPrnMulti(v, 1, 0); })},
        {"DANMEN_RESULT_MULTI_Q",
         Section([](const CCase& c, CViewInfo* v) { c.DrawPrnMulti(v, 1, 1); })},
        {"GRAPH_MULTI_FS_N", MultiFsGraph(0)},
        {"GRAPH_MULTI_FS_Q", MultiFsGraph(1)},
    };
    AddSectionCommon(p, 1);
    return p;
  }();
  return painters;
}

const std::map<std::string, Painter, std::less<>>& SlidePainters() {
  static const std::map<std::string, Painter, std::less<>> painters = [] {
    std::map<std::string, Painter, std::less<>> p = {
        {"DANMEN_COORD", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 2, true); })},
        {"GRAPH_FSR", SlideGraph(0)},
        {"GRAPH_GAMMAS", SlideGraph(1)},
        {"GRAPH_SLIDESTRAIN", SlideGraph(2)},
        {"DANMEN_RESULT_STAB",
         Section([](const CCase& c, CViewInfo* v) { c.DrawPrnMulti(v, 2, 1); })},
    };
    AddSectionCommon(p, 2);
    return p;
  }();
  return painters;
}

const std::map<std::string, Painter, std::less<>>& ShearPainters() {
  static const std::map<std::string, Painter, std::less<>> painters = [] {
    const Painter arrange = Section([](const CCase& c, CViewInfo* v) { c.DrawPrnArrange(v); });
    std::map<std::string, Painter, std::less<>> p = {
        {"DANMEN_COORD",
         Section([](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 3, false); })},
        {"DANMEN_ARRANGE_NEWMARK", DeviceOnly},
        {"DANMEN_RESISTANCE_NEWMARK", DeviceOnly},
        {"DANMEN_ARRANGE_N", arrange},
        {"DANMEN_ARRANGE_Q", arrange},
        {"DANMEN_RESISTANCE_N", arrange},
        {"DANMEN_RESISTANCE_Q", arrange},
        {"GRAPH_FIT", FitGraph},
        {"GRAPH_CUM_DELTA", CumDeltaGraph},
    };
    AddSectionCommon(p, 3);
    return p;
  }();
  return painters;
}

const std::map<std::string, Painter, std::less<>>* PaintersOf(int group) {
  switch (group) {
    case 1:
      return &MultiPlanePainters();
    case 2:
      return &SlidePainters();
    case 3:
      return &ShearPainters();
    default:
      return nullptr;
  }
}

}  // namespace

bool PaintReportFigure(CCase& reported, int group, std::string_view key, CViewInfo& view,
                       DevRect rect) {
  const auto* painters = PaintersOf(group);
  if (painters == nullptr) return false;
  const auto painter = painters->find(key);
  if (painter == painters->end()) return false;
  painter->second(reported, view, rect);
  return true;
}
