// CSliceList: the slices drawn with their value labels.

#include <cstdlib>
#include <string>

#include "core/base/Constants.h"
#include "core/circle/SliceList.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"
#include "platform/NumberText.h"

namespace {

const Color kSliceLineColor = Color::Rgb(0x20, 0x20, 0x20);
const Color kBaseLabelColor = Color::Rgb(0, 0, 128);
constexpr int kLayerDotRadius = 2;
constexpr int kSliceDotRadius = 3;
// Pixels (times the print factor) between the base anchor and the base labels, and of the
// leader along them.
constexpr int kLabelGap = 50;

// The layout of one drawing: the print factor and the step between stacked labels.
struct LabelLayout {
  int factor;  // 10 in print mode and print preview, else 1
  int step;    // device pixels from one label down to the next
};

std::string Value(const char* prefix, double v, int decimals) {
  return std::string(prefix) + (v == kNoValue ? "?" : FormatFixed(v, decimals));
}

DevPoint Shifted(DevPoint p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

void Dot(Canvas& canvas, DevPoint at, int radius) {
  const ScopedBrush brush(canvas, Brush{BrushStyle::Solid, kSliceLineColor});
  canvas.Ellipse({at.x - radius, at.y - radius, at.x + radius, at.y + radius});
}

// Writes labels one step below each other from a start point.
class LabelStack {
 public:
  LabelStack(Canvas& canvas, DevPoint at, int step) : canvas_(canvas), at_(at), step_(step) {}
  void Write(const std::string& text) {
    canvas_.TextOut(Shifted(at_, 0, count_ * step_), text);
    ++count_;
  }
  int Count() const { return count_; }

 private:
  Canvas& canvas_;
  DevPoint at_;
  int step_;
  int count_ = 0;
};

bool AnyValueSwitch(const tagSHOWINFO& s) {
  return s.area != 0 || s.gamma != 0 || s.weight != 0 || s.number != 0 || s.angle != 0 ||
         s.cohesion != 0 || s.friction != 0 || s.centroid != 0 || s.length != 0 || s.pore != 0 ||
         s.coords != 0;
}

// The point of the base beside which the base labels stand: a quarter along the arc, or a quarter
// along the chord from the left.
CDPoint BaseAnchor(const CSlice& slice) {
  if (const CDArc* arc = slice.GetBottomArc()) return arc->GetMid(0.25);
  const double x = slice.GetXLeft() + (slice.GetXRight() - slice.GetXLeft()) / 4;
  const double y = slice.GetLeftBottomY() + (slice.GetRightBottomY() - slice.GetLeftBottomY()) / 4;
  return CDPoint(x, y);
}

LabelLayout LayoutOf(const CViewInfo& view) {
  return {view.IsPrint() || view.IsPreview() ? 10 : 1, view.IsPrint() ? -100 : 10};
}

// The slice's left side (and the right side of the last slice).
void DrawSides(const CViewInfo& view, const CSlice& slice, bool lastSlice) {
  Canvas& canvas = *view.dc;
  const ScopedPen pen(canvas, Pen{PenStyle::Solid, 1, kSliceLineColor});
  const double xL = slice.GetXLeft();
  const double xR = slice.GetXRight();
  view.Line(canvas, xL, slice.GetLeftTopY(), xL, slice.GetLeftBottomY());
  if (lastSlice) view.Line(canvas, xR, slice.GetRightTopY(), xR, slice.GetRightBottomY());
}

void WriteCoordinates(const CViewInfo& view, double x, double y, const LabelLayout& layout) {
  LabelStack stack(*view.dc, view.LPtoDP(CDPoint(x, y)), layout.step);
  stack.Write("X" + FormatFixed(x, 3));
  stack.Write("Y" + FormatFixed(y, 3));
}

// The labels of every boundary and layer: the coordinates of the boundary ends, and at each
// layer's centroid its dot, A, gamma and W. Returns how many layer labels were written and how
// many the last layer's stack holds.
struct LayerLabelCount {
  int total = 0;
  int lastStack = 0;
};

LayerLabelCount DrawLayerLabels(const CViewInfo& view, const CSlice& slice, const tagSHOWINFO& show,
                                const LabelLayout& layout, bool lastSlice) {
  Canvas& canvas = *view.dc;
  LayerLabelCount count;
  const int n = slice.GetDEVYCount();
  for (int k = 0; k < n; ++k) {
    if (show.coords != 0) {
      WriteCoordinates(view, slice.GetXLeft(), slice.GetLeftY(k), layout);
      if (lastSlice) WriteCoordinates(view, slice.GetXRight(), slice.GetRightY(k), layout);
    }
    if (k == n - 1 && slice.GetBottomArc() == nullptr) continue;
    const CDPoint centroid = slice.Juushin(k);
    if (!centroid.IsValid()) continue;
    const DevPoint at = view.LPtoDP(centroid);
    if (show.centroid != 0) Dot(canvas, at, kLayerDotRadius);
    LabelStack stack(canvas, at, layout.step);
    if (show.area != 0) stack.Write("A " + FormatFixed(slice.GetArea(k), 2));
    if (show.gamma != 0) stack.Write(Value("γ", slice.GetGamma(k, 0), 2));
    if (show.weight != 0) stack.Write(Value("W ", slice.GetWeight(k), 2));
    count.total += stack.Count();
    count.lastStack = stack.Count();
  }
  return count;
}

// The slice number centred above the middle of the top, and the slice's centroid.
void DrawNumberAndCentroid(const CViewInfo& view, const CSlice& slice, const tagSHOWINFO& show,
                           int number) {
  Canvas& canvas = *view.dc;
  if (show.number != 0) {
    const TextAlign previous = canvas.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
    const CDPoint topMiddle(slice.GetMidX(), (slice.GetLeftTopY() + slice.GetRightTopY()) / 2);
    canvas.TextOut(view.LPtoDP(topMiddle), FormatInt(number));
    canvas.SetTextAlign(previous);
  }
  if (show.centroid != 0) {
    const CDPoint centroid = slice.TotalJuushin(0);
    if (centroid.IsValid()) Dot(canvas, view.LPtoDP(centroid), kSliceDotRadius);
  }
}

// The base's c, phi, angle (degrees, negated for a slope rising to the left), length and pore
// force in navy, stacked from origin; returns how many were written.
int DrawBaseLabels(const CViewInfo& view, const CSlice& slice, const tagSHOWINFO& show,
                   const LabelLayout& layout, DevPoint origin, double c, double phi,
                   bool rightUpper) {
  Canvas& canvas = *view.dc;
  const Color previous = canvas.SetTextColor(kBaseLabelColor);
  LabelStack stack(canvas, origin, layout.step);
  if (show.cohesion != 0) stack.Write(Value("Ｃ", c, 3));
  if (show.friction != 0) stack.Write(Value("φ", phi, 3));
  if (show.angle != 0) {
    const double angle = RadToDeg(slice.GetBottomAngle());
    stack.Write("θ" + FormatFixed(rightUpper ? angle : -angle, 3));
  }
  if (show.length != 0) stack.Write("L " + FormatFixed(slice.GetLength(), 3));
  if (show.pore != 0) stack.Write("U" + FormatFixed(slice.GetU(), 3));
  canvas.SetTextColor(previous);
  return stack.Count();
}

}  // namespace

void CSliceList::Draw(CViewInfo* view, const tagSHOWINFO* show) const {
  if (show == nullptr || show->master == 0) return;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState state(canvas);
  const int factor = LayoutOf(*view).factor;
  canvas.SelectFont(Font{10 * factor, 5 * factor, 100, 0, "ＭＳ ゴシック", FontCharset::ShiftJis,
                         FontPitch::Fixed});
  canvas.SetTextAlign(TextAlign::Left | TextAlign::Top);
  canvas.SetTextColor(kBlack);
  double c = kNoValue;
  double phi = kNoValue;
  for (int i = 0; i < GetSize(); ++i) DrawSlice(*view, *show, i, c, phi);
}

void CSliceList::DrawSlice(const CViewInfo& view, const tagSHOWINFO& show, int index, double& c,
                           double& phi) const {
  const CSlice& slice = *GetSlicePtr(index);
  const LabelLayout layout = LayoutOf(view);
  const bool lastSlice = index == GetSize() - 1;
  if (AnyValueSwitch(show)) DrawSides(view, slice, lastSlice);
  const LayerLabelCount layerLabels = DrawLayerLabels(view, slice, show, layout, lastSlice);
  DrawNumberAndCentroid(view, slice, show, index + 1);

  // The base labels stand beside the base, right of it for a slope rising to the right.
  TakeStrength(slice, c, phi);
  const DevPoint anchor = view.LPtoDP(BaseAnchor(slice));
  const int halfStack = std::abs(layerLabels.lastStack * layout.step) / 2;
  const int gap = kLabelGap * layout.factor;
  const DevPoint origin = Shifted(anchor, direction_ ? halfStack : -(halfStack + gap), 0);
  const int baseLabels = DrawBaseLabels(view, slice, show, layout, origin, c, phi, direction_);

  if (baseLabels > 0 && layerLabels.total > 0) {
    Canvas& canvas = *view.dc;
    const ScopedPen pen(canvas, Pen{PenStyle::Solid, 1, kRed});
    canvas.MoveTo(anchor);
    canvas.LineTo(origin);
    canvas.LineTo(Shifted(origin, gap, 0));
  }
}
