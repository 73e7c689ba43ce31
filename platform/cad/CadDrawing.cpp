#include "platform/cad/CadDrawing.h"

#include <algorithm>

namespace {

// The control's own pens 1 to 9 as DXF palette colours: 7 draws black on white paper (white on
// black), 1 red, 5 blue, 3 green, 4 cyan, 6 magenta, 2 yellow, 8 and 9 greys.
constexpr std::array<int, CadDrawing::kOwnPens> kOwnPenIndex{7, 5, 1, 3, 4, 6, 2, 8, 9};

CadTextPlace PlaceOf(int placement) {
  switch (placement) {
    case 6:
      return CadTextPlace::MiddleLeft;
    case 18:
      return CadTextPlace::MiddleRight;
    case 22:
      return CadTextPlace::MiddleCentre;
    default:
      return CadTextPlace::BaselineLeft;
  }
}

}  // namespace

void CadDrawing::NewDrawing() {
  layers_.clear();
  pens_.clear();
  layer_ = 0;
  pen_ = 1;
  open_.reset();
  fill_.reset();
  entities_.clear();
}

void CadDrawing::SetPaper(int paper) {
  if (paper >= 0 && paper < static_cast<int>(kCadPapers.size())) paper_ = paper;
}

void CadDrawing::SetDrawingArea(double halfWidth, double halfHeight, double centreX,
                                double centreY) {
  halfWidth_ = halfWidth;
  halfHeight_ = halfHeight;
  centre_ = {centreX, centreY};
}

void CadDrawing::SetScale(int denominator) {
  if (denominator > 0) scale_ = denominator;
}

void CadDrawing::DefineLayer(int number, const std::string& name) {
  const auto found = std::find_if(layers_.begin(), layers_.end(), [number](const CadLayer& layer) {
    return layer.number == number;
  });
  if (found != layers_.end()) {
    found->name = name;
  } else {
    layers_.push_back({number, name});
  }
}

void CadDrawing::ResetLayers() { layer_ = 0; }

int CadDrawing::DefinePen(const std::string& name, std::uint32_t colour) {
  pens_.push_back({name, colour});
  return kOwnPens + static_cast<int>(pens_.size());
}

void CadDrawing::SelectPen(int pen) { pen_ = pen; }

void CadDrawing::SelectLayer(int layer) { layer_ = layer; }

void CadDrawing::BeginLine() {
  EndLine();
  open_ = CadPolyline{layer_, pen_, {}, std::nullopt};
}

void CadDrawing::AddVertex(double x, double y) {
  if (open_) open_->points.push_back({x, y});
}

void CadDrawing::SetFillColor(std::uint32_t colour) { fill_ = colour; }

void CadDrawing::EndLine() {
  if (open_) {
    open_->fill = fill_;
    entities_.emplace_back(std::move(*open_));
    open_.reset();
  }
  fill_.reset();
}

void CadDrawing::AddArc(double cx, double cy, double radius, double start, double end) {
  entities_.emplace_back(CadArc{layer_, pen_, {cx, cy}, radius, start, end});
}

void CadDrawing::AddText(const std::string& text, double x, double y, double height, double width,
                         double angle, int placement) {
  entities_.emplace_back(
      CadText{layer_, pen_, text, {x, y}, height, width, angle, PlaceOf(placement)});
}

std::array<CadPoint, 2> CadDrawing::PaperArea() const {
  const double w = halfWidth_ * MetresPerMillimetre();
  const double h = halfHeight_ * MetresPerMillimetre();
  return {CadPoint{centre_.x - w, centre_.y - h}, CadPoint{centre_.x + w, centre_.y + h}};
}

std::string CadDrawing::LayerName(int number) const {
  for (const CadLayer& layer : layers_) {
    if (layer.number == number) return layer.name;
  }
  return "0";
}

CadPenColour CadDrawing::PenColour(int pen) const {
  if (pen >= 1 && pen <= kOwnPens) return {kOwnPenIndex[static_cast<std::size_t>(pen - 1)], {}};
  const int named = pen - kOwnPens - 1;
  if (named >= 0 && named < static_cast<int>(pens_.size())) {
    return {7, RgbOfColorref(pens_[static_cast<std::size_t>(named)].colour)};
  }
  return {};
}
