#include "bridge/Z_Tv5Gen6.h"

#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/cad/DxfWriter.h"

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kNoExtent = 9e32;
const QColor kOutside(160, 160, 160);

QColor ColourOfColorref(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

// The DXF palette colours the pens use; 7 draws black on the white paper.
QColor ColourOfPen(const CadPenColour& pen) {
  if (pen.rgb) return QColor::fromRgb(static_cast<QRgb>(*pen.rgb));
  switch (pen.index) {
    case 1:
      return Qt::red;
    case 2:
      return QColor(192, 192, 0);
    case 3:
      return QColor(0, 160, 0);
    case 4:
      return QColor(0, 160, 160);
    case 5:
      return Qt::blue;
    case 6:
      return Qt::magenta;
    case 8:
      return QColor(128, 128, 128);
    case 9:
      return QColor(192, 192, 192);
    default:
      return Qt::black;
  }
}

// Draws the entities in world coordinates; the painter's transform maps them into the widget.
class PreviewPainter {
 public:
  PreviewPainter(QPainter& painter, const CadDrawing& drawing, double pixelsPerMetre)
      : painter_(painter), drawing_(drawing), pixelsPerMetre_(pixelsPerMetre) {}

  void operator()(const CadPolyline& line) const {
    if (line.points.empty()) return;
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(line.points.size()));
    for (const CadPoint& p : line.points) polygon << QPointF(p.x, p.y);
    painter_.setPen(PenFor(line.pen));
    if (line.fill) {
      painter_.setBrush(ColourOfColorref(*line.fill));
      painter_.drawPolygon(polygon);
      painter_.setBrush(Qt::NoBrush);
    } else {
      painter_.drawPolyline(polygon);
    }
  }

  void operator()(const CadArc& arc) const {
    double sweep = std::fmod(arc.end - arc.start, 2 * std::numbers::pi);
    if (sweep <= 0) sweep += 2 * std::numbers::pi;
    // Walked as short chords in world coordinates, so the y-up transform turns it the right way.
    QPainterPath path;
    const int steps = std::max(8, static_cast<int>(sweep * 32));
    for (int i = 0; i <= steps; ++i) {
      const double a = arc.start + sweep * i / steps;
      const QPointF p(arc.centre.x + arc.radius * std::cos(a),
                      arc.centre.y + arc.radius * std::sin(a));
      if (i == 0) {
        path.moveTo(p);
      } else {
        path.lineTo(p);
      }
    }
    painter_.setPen(PenFor(arc.pen));
    painter_.drawPath(path);
  }

  void operator()(const CadText& text) const {
    const double height = text.height * drawing_.MetresPerMillimetre() * pixelsPerMetre_;
    if (height < 1) return;
    const QPointF at = painter_.transform().map(QPointF(text.at.x, text.at.y));
    painter_.save();
    painter_.resetTransform();
    painter_.translate(at);
    painter_.rotate(-text.angle * kDegreesPerRadian);
    QFont font = painter_.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    painter_.setFont(font);
    painter_.setPen(ColourOfPen(drawing_.PenColour(text.pen)));
    const QString string = QString::fromStdString(text.text);
    const double width = painter_.fontMetrics().horizontalAdvance(string);
    double x = 0;
    double y = 0;
    switch (text.place) {
      case CadTextPlace::MiddleLeft:
        y = height / 2;
        break;
      case CadTextPlace::MiddleRight:
        x = -width;
        y = height / 2;
        break;
      case CadTextPlace::MiddleCentre:
        x = -width / 2;
        y = height / 2;
        break;
      case CadTextPlace::BaselineLeft:
        break;
    }
    painter_.drawText(QPointF(x, y), string);
    painter_.restore();
  }

 private:
  QPen PenFor(int pen) const {
    QPen qpen(ColourOfPen(drawing_.PenColour(pen)));
    qpen.setCosmetic(true);
    return qpen;
  }

  QPainter& painter_;
  const CadDrawing& drawing_;
  double pixelsPerMetre_;
};

}  // namespace

CZ_Tv5Gen6::CZ_Tv5Gen6(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 240);
}

void CZ_Tv5Gen6::CadSetMode48(long /*mode*/) {}

void CZ_Tv5Gen6::CadInit() { drawing_ = CadDrawing(); }

void CZ_Tv5Gen6::CadNewDrawing() { drawing_.NewDrawing(); }

void CZ_Tv5Gen6::CadSetPaper(short paper, short, double, double, double) {
  drawing_.SetPaper(paper);
}

void CZ_Tv5Gen6::CadSetDrawingArea(short mode, double halfWidth, double halfHeight, double centreX,
                                   double centreY) {
  if (mode == 1) drawing_.SetDrawingArea(halfWidth, halfHeight, centreX, centreY);
}

void CZ_Tv5Gen6::CadSetScale(short denominator) { drawing_.SetScale(denominator); }

void CZ_Tv5Gen6::CadDefineLayer(short number, const std::string& name,
                                const std::string& /*description*/) {
  drawing_.DefineLayer(number, name);
}

void CZ_Tv5Gen6::CadResetLayers() { drawing_.ResetLayers(); }

short CZ_Tv5Gen6::CadDefinePen(const std::string& name, short /*style*/, short /*width*/,
                               long colour, long /*fill*/) {
  return static_cast<short>(drawing_.DefinePen(name, static_cast<std::uint32_t>(colour)));
}

void CZ_Tv5Gen6::CadSelectPen(short pen) { drawing_.SelectPen(pen); }

void CZ_Tv5Gen6::CadSelectLayer(short layer) { drawing_.SelectLayer(layer); }

void CZ_Tv5Gen6::CadBeginLine() { drawing_.BeginLine(); }

void CZ_Tv5Gen6::CadAddVertex(double x, double y) { drawing_.AddVertex(x, y); }

void CZ_Tv5Gen6::CadEndLine() { drawing_.EndLine(); }

void CZ_Tv5Gen6::CadSetFillColor(long colour) {
  drawing_.SetFillColor(static_cast<std::uint32_t>(colour));
}

void CZ_Tv5Gen6::CadAddArc(double centreX, double centreY, double radius, double start,
                           double end) {
  drawing_.AddArc(centreX, centreY, radius, start, end);
}

void CZ_Tv5Gen6::CadAddText(const std::string& text, double x, double y, double height,
                            double width, double, double angle, short placement) {
  drawing_.AddText(text, x, y, height, width, angle, placement);
}

void CZ_Tv5Gen6::CadZoomFit() {
  if (!loaded_) {
    window_ = drawing_.PaperArea();
    return;
  }
  CadPoint low{kNoExtent, kNoExtent};
  CadPoint high{-kNoExtent, -kNoExtent};
  const auto widen = [&](const CadPoint& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  };
  for (const DxfLayerContent& layer : loaded_->layers) {
    for (const DxfEntity& entity : layer.entities) {
      for (const CadPoint& p : entity.points) widen(p);
      if (entity.kind == DxfEntity::kArc) {
        widen({entity.centre.x - entity.radius, entity.centre.y - entity.radius});
        widen({entity.centre.x + entity.radius, entity.centre.y + entity.radius});
      }
    }
  }
  if (low.x > high.x) {
    window_ = {CadPoint{0, 0}, CadPoint{1, 1}};
    return;
  }
  // A drawing of one line or one point still gets a window of some size.
  const double margin = std::max({high.x - low.x, high.y - low.y, 1.0}) * 0.02;
  window_ = {CadPoint{low.x - margin, low.y - margin}, CadPoint{high.x + margin, high.y + margin}};
}

short CZ_Tv5Gen6::CadOpenFile(const std::string& path) {
  DxfReadResult result = ReadDxfFile(path);
  if (const auto* error = std::get_if<DxfReadError>(&result)) {
    openError_ = DxfReadErrorText(*error);
    return 0;
  }
  openError_.clear();
  loaded_ = std::get<DxfContent>(std::move(result));
  ShowLoaded();
  return 1;
}

void CZ_Tv5Gen6::ShowLoaded() {
  drawing_.NewDrawing();
  for (std::size_t i = 0; i < loaded_->layers.size(); ++i) {
    const DxfLayerContent& layer = loaded_->layers[i];
    const int number = static_cast<int>(i) + 1;
    drawing_.DefineLayer(number, layer.name);
    drawing_.SelectLayer(number);
    for (const DxfEntity& entity : layer.entities) {
      if (entity.kind == DxfEntity::kArc) {
        drawing_.AddArc(entity.centre.x, entity.centre.y, entity.radius, entity.start, entity.end);
        continue;
      }
      drawing_.BeginLine();
      for (const CadPoint& p : entity.points) drawing_.AddVertex(p.x, p.y);
      drawing_.EndLine();
    }
  }
  update();
}

std::string CZ_Tv5Gen6::CadGetLayerInfo(short layer, long& count) const {
  count = 0;
  if (!loaded_ || layer < 0 || static_cast<std::size_t>(layer) >= loaded_->layers.size()) {
    return {};
  }
  const DxfLayerContent& content = loaded_->layers[static_cast<std::size_t>(layer)];
  count = static_cast<long>(content.entities.size());
  return content.name;
}

long CZ_Tv5Gen6::CadSelectLayerEntities(CadEntityRecord& record, short /*mode*/,
                                        const std::string& layer) const {
  record.selection.clear();
  if (!loaded_) return 0;
  for (const DxfLayerContent& content : loaded_->layers) {
    if (content.name != layer) continue;
    for (const DxfEntity& entity : content.entities) record.selection.push_back(&entity);
  }
  return static_cast<long>(record.selection.size());
}

short CZ_Tv5Gen6::CadGetEntity(long index, CadEntityRecord& record) const {
  if (index < 0 || static_cast<std::size_t>(index) >= record.selection.size()) return 0;
  record.entity = *record.selection[static_cast<std::size_t>(index)];
  return 1;
}

void CZ_Tv5Gen6::CadReleaseEntities(CadEntityRecord& record) const {
  record.selection.clear();
  record.entity = {};
}

void CZ_Tv5Gen6::CadRefresh() { update(); }

short CZ_Tv5Gen6::CadSaveFile(const std::string& path) {
  if (!IsDxfPath(path)) return 0;
  return WriteDxf(drawing_, path) ? 1 : 0;
}

void CZ_Tv5Gen6::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), kOutside);
  const double worldWidth = window_[1].x - window_[0].x;
  const double worldHeight = window_[1].y - window_[0].y;
  if (worldWidth <= 0 || worldHeight <= 0) return;
  // The whole window in sight, a margin around it, the same scale both ways, y upward.
  constexpr double kMargin = 8;
  const double scale =
      std::min((width() - 2 * kMargin) / worldWidth, (height() - 2 * kMargin) / worldHeight);
  if (scale <= 0) return;
  const double centreX = (window_[0].x + window_[1].x) / 2;
  const double centreY = (window_[0].y + window_[1].y) / 2;
  QTransform transform;
  transform.translate(width() / 2.0, height() / 2.0);
  transform.scale(scale, -scale);
  transform.translate(-centreX, -centreY);
  painter.setTransform(transform);
  if (loaded_) {
    painter.fillRect(QRectF(window_[0].x, window_[0].y, worldWidth, worldHeight), Qt::white);
  } else {
    const auto [low, high] = drawing_.PaperArea();
    painter.fillRect(QRectF(low.x, low.y, high.x - low.x, high.y - low.y), Qt::white);
    painter.setClipRect(QRectF(low.x, low.y, high.x - low.x, high.y - low.y));
  }
  const PreviewPainter draw(painter, drawing_, scale);
  for (const CadEntity& entity : drawing_.Entities()) std::visit(draw, entity);
}
