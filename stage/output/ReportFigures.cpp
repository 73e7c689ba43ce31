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

const std::map<std::string, Painter, std::less<>>& MultiPlanePainters() {
  static const std::map<std::string, Painter, std::less<>> painters = {
      {"DANMEN_COORD", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 1, false); })},
      {"DANMEN_BLOCK", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnBlock(v, 1); })},
      {"DANMEN_SPECIF_N", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnSpecif(v); })},
      {"DANMEN_SPECIF_Q", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnSpecif(v); })},
      {"DANMEN_REPEAT_N", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnRepeat(v); })},
      {"DANMEN_REPEAT_Q", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnRepeat(v); })},
      {"DANMEN_ISOLINE_N", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnRepeat(v); })},
      {"DANMEN_ISOLINE_Q", Section([](const CCase& c, CViewInfo* v) { c.DrawPrnRepeat(v); })},
      {"DANMEN_SPECIF_NEWMARK", DeviceOnly},
      {"DANMEN_REPEAT_NEWMARK", DeviceOnly},
      {"DANMEN_ISOLINE_NEWMARK", DeviceOnly},
      {"DANMEN_SLICE_N",
       [](CCase& c, CViewInfo& v, DevRect r) { c.DrawPrnSlice(&v, Ordered(r), 1, 0); }},
      {"DANMEN_SLICE_Q",
       [](CCase& c, CViewInfo& v, DevRect r) { c.DrawPrnSlice(&v, Ordered(r), 1, 1); }},
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
  return painters;
}

}  // namespace

bool PaintReportFigure(CCase& reported, int group, std::string_view key, CViewInfo& view,
                       DevRect rect) {
  if (group != 1) return false;
  const auto& painters = MultiPlanePainters();
  const auto painter = painters.find(key);
  if (painter == painters.end()) return false;
  painter->second(reported, view, rect);
  return true;
}
