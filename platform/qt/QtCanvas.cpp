#include "platform/qt/QtCanvas.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <utility>

#include "platform/qt/QtConvert.h"

namespace {

// The em box of the Japanese faces: the baseline lies this far below the cell's top, in ems.
constexpr double kEmAscent = 0.88;
// Half-width characters of those faces are half an em wide; a font's width asks for that width.
constexpr double kHalfWidthEm = 0.5;
constexpr int kMaxEmPixels = 1 << 16;

const QString kGothic = QStringLiteral("Noto Sans CJK JP");
const QString kMonoGothic = QStringLiteral("Noto Sans Mono CJK JP");

struct FaceMapping {
  std::string_view face;
  bool fixedPitch;
};

// The Windows faces the drawing code names, by the pitch of their half-width characters.
constexpr std::array kWindowsFaces{
    FaceMapping{"ＭＳ ゴシック", true},    FaceMapping{"ＭＳ 明朝", true},
    FaceMapping{"MS Gothic", true},        FaceMapping{"MS Mincho", true},
    FaceMapping{"ＭＳ Ｐゴシック", false}, FaceMapping{"ＭＳ Ｐ明朝", false},
    FaceMapping{"MS PGothic", false},      FaceMapping{"MS PMincho", false},
    FaceMapping{"MS UI Gothic", false},
};

// The families to ask for, the best first: a Windows face's stand-in, or the named face with
// the Japanese face behind it for the glyphs it lacks; no face at all goes by the pitch.
QStringList FamiliesFor(const Font& font) {
  for (const FaceMapping& mapping : kWindowsFaces) {
    if (mapping.face == font.face) return {mapping.fixedPitch ? kMonoGothic : kGothic};
  }
  const QString fallback = font.pitch == FontPitch::Fixed ? kMonoGothic : kGothic;
  if (font.face.empty()) return {fallback};
  return {QString::fromStdString(font.face), fallback};
}

// The device's dash patterns for thin pens, in pixels: on, off, on, off, ...
QList<qreal> DashPattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {18, 6};
    case PenStyle::Dot:
      return {3, 3};
    case PenStyle::DashDot:
      return {9, 6, 3, 6};
    case PenStyle::DashDotDot:
      return {9, 3, 3, 3, 3, 3};
    case PenStyle::Solid:
    case PenStyle::Null:
      break;
  }
  return {};
}

// Thin pens draw their pattern and leave out the last pixel of a line; wide pens are solid with
// round ends and joins.
QPen ToQPen(const Pen& pen) {
  if (pen.style == PenStyle::Null) return QPen(Qt::NoPen);
  const int width = std::max(pen.width, 1);
  QPen qpen(ToQColor(pen.color));
  qpen.setWidth(width);
  if (width > 1) {
    qpen.setCapStyle(Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
    return qpen;
  }
  qpen.setCapStyle(Qt::FlatCap);
  qpen.setJoinStyle(Qt::MiterJoin);
  if (pen.style != PenStyle::Solid) qpen.setDashPattern(DashPattern(pen.style));
  return qpen;
}

QPolygon ToQPolygon(const std::vector<DevPoint>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const DevPoint& p : points) polygon.append(QPoint(p.x, p.y));
  return polygon;
}

// The rectangle with left <= right and top <= bottom.
DevRect Normalised(const DevRect& rect) {
  return DevRect{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                 std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

// The pixels a rectangle covers: its right and bottom edges lie outside.
QRect Covered(const DevRect& rect) {
  const DevRect r = Normalised(rect);
  return QRect(QPoint(r.left, r.top), QSize(r.Width(), r.Height()));
}

// The outline through the outermost pixels that a rectangle covers, for shapes whose right and
// bottom edges lie outside.
QRect Outline(const DevRect& rect) {
  const DevRect r = Normalised(rect);
  return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

double ToDegrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// The angle, counter-clockwise on the page from the positive x axis, that Qt's arcs take for
// the point of the ellipse in box on the radial from its centre through p.
double ArcAngle(const QRectF& box, const QPointF& p) {
  const QPointF d = p - box.center();
  return ToDegrees(std::atan2(-d.y() / box.height(), d.x() / box.width()));
}

int Sixteenths(double degrees) { return static_cast<int>(std::lround(degrees * 16.0)); }

QPainter::CompositionMode Composition(RasterOp op, bool rasterOps) {
  if (op == RasterOp::NotXorPen && rasterOps) return QPainter::RasterOp_NotSourceXorDestination;
  return QPainter::CompositionMode_SourceOver;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const CanvasSetup& setup) : Canvas(setup), painter_(painter) {
  Prepare();
}

QtCanvas::QtCanvas(std::unique_ptr<QImage> ownImage, QImage& target, const CanvasSetup& setup)
    : Canvas(setup),
      ownImage_(std::move(ownImage)),
      ownPainter_(std::make_unique<QPainter>(&target)),
      painter_(*ownPainter_) {
  Prepare();
}

QtCanvas::QtCanvas(std::unique_ptr<QPainter> painter, const CanvasSetup& setup)
    : Canvas(setup), ownPainter_(std::move(painter)), painter_(*ownPainter_) {
  Prepare();
}

QtCanvas::~QtCanvas() { painter_.restore(); }

void QtCanvas::Prepare() {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  device_ = painter_.worldTransform();
  if (IsYUp()) {
    const QPaintDevice& device = *painter_.device();
    const double pageHeight = device.height() / device.devicePixelRatio();
    toPage_ = QTransform(1, 0, 0, -1, 0, pageHeight);
  }
  const QPaintEngine* engine = painter_.paintEngine();
  rasterOps_ = engine != nullptr && engine->hasFeature(QPaintEngine::RasterOpModes);
}

std::unique_ptr<QtCanvas> QtCanvas::PaintingInto(std::unique_ptr<QImage> ownImage, QImage& target,
                                                 double pixelsPerMm) {
  const CanvasSetup setup{pixelsPerMm, false};
  if (!target.isNull()) {
    return std::unique_ptr<QtCanvas>(new QtCanvas(std::move(ownImage), target, setup));
  }
  auto scratch = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
  QImage& image = *scratch;
  return std::unique_ptr<QtCanvas>(new QtCanvas(std::move(scratch), image, setup));
}

std::unique_ptr<QtCanvas> QtCanvas::OnImage(QImage& image, double pixelsPerMm) {
  return PaintingInto(nullptr, image, pixelsPerMm);
}

std::unique_ptr<QtCanvas> QtCanvas::OnPrinter(QPrinter& printer) {
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(&printer)) return nullptr;
  const CanvasSetup setup{printer.resolution() / 25.4, true};
  return std::unique_ptr<QtCanvas>(new QtCanvas(std::move(painter), setup));
}

std::unique_ptr<Canvas> QtCanvas::CreateImageCanvas(CanvasImage& image) {
  // Qt paints straight into the image's pixels, which have Qt's RGB32 layout.
  auto pixels = image.IsEmpty()
                    ? std::make_unique<QImage>()
                    : std::make_unique<QImage>(
                          reinterpret_cast<uchar*>(image.Bits()), image.Width(), image.Height(),
                          static_cast<qsizetype>(image.Width()) * 4, QImage::Format_RGB32);
  QImage& target = *pixels;
  return PaintingInto(std::move(pixels), target, PixelsPerMm());
}

QFont QtCanvas::QFontOf(const Font& font) const {
  QFont qfont;
  qfont.setFamilies(FamiliesFor(font));
  int em = 0;
  if (font.height != 0) {
    em =
        static_cast<int>(std::min<std::int64_t>(std::abs(std::int64_t{font.height}), kMaxEmPixels));
  } else {
    // The face's default: the application's text size, at this canvas's resolution.
    const int screenEm = QFontInfo(QGuiApplication::font()).pixelSize();
    em = static_cast<int>(std::lround(screenEm * PixelsPerMm() / kScreenPixelsPerMm));
  }
  em = std::clamp(em, 1, kMaxEmPixels);
  qfont.setPixelSize(em);
  if (font.width != 0) {
    const double stretch = 100.0 * std::abs(static_cast<double>(font.width)) / (kHalfWidthEm * em);
    qfont.setStretch(static_cast<int>(std::clamp(std::lround(stretch), 1L, 4000L)));
  }
  // 0 leaves the weight to the face: normal.
  qfont.setWeight(
      static_cast<QFont::Weight>(font.weight == 0 ? 400 : std::clamp(font.weight, 1, 1000)));
  qfont.setFixedPitch(font.pitch == FontPitch::Fixed);
  // Characters sit on the fixed grid of their advances, as on the faces these stand in for.
  qfont.setKerning(false);
  return qfont;
}

QPointF QtCanvas::ToPage(DevPoint p) const { return toPage_.map(QPointF(p.x, p.y)); }

QRectF QtCanvas::ToPage(const DevRect& rect) const {
  return QRectF(ToPage(DevPoint{rect.left, rect.top}), ToPage(DevPoint{rect.right, rect.bottom}))
      .normalized();
}

void QtCanvas::ApplyClip() {
  painter_.setTransform(toPage_ * device_);
  if (ClipRect()) {
    painter_.setClipRect(Covered(*ClipRect()));
  } else {
    painter_.setClipping(false);
  }
}

void QtCanvas::BeginShape(bool filled) {
  ApplyClip();
  painter_.setPen(ToQPen(CurrentPen()));
  const Brush& brush = CurrentBrush();
  if (filled && brush.style == BrushStyle::Solid) {
    painter_.setBrush(ToQColor(brush.color));
  } else {
    painter_.setBrush(Qt::NoBrush);
  }
  // An opaque background fills the gaps of a dashed pen.
  painter_.setBackgroundMode(
      CurrentBackgroundMode() == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.setBackground(ToQColor(BackgroundColor()));
  painter_.setCompositionMode(Composition(CurrentRasterOp(), rasterOps_));
}

void QtCanvas::BeginFill() {
  ApplyClip();
  painter_.setPen(Qt::NoPen);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void QtCanvas::Line(DevPoint from, DevPoint to) {
  BeginShape(false);
  painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtCanvas::Polyline(const std::vector<DevPoint>& points) {
  if (points.size() < 2) return;
  BeginShape(false);
  painter_.drawPolyline(ToQPolygon(points));
}

void QtCanvas::Polygon(const std::vector<DevPoint>& points) {
  if (points.size() < 2) return;
  BeginShape(true);
  painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void QtCanvas::Rectangle(const DevRect& rect) {
  BeginShape(true);
  painter_.drawRect(Outline(rect));
}

void QtCanvas::Ellipse(const DevRect& rect) {
  BeginShape(true);
  painter_.drawEllipse(Outline(rect));
}

void QtCanvas::Arc(const DevRect& rect, DevPoint start, DevPoint end) {
  // Counter-clockwise as seen on the page, so the arc is laid out there.
  QRectF box = ToPage(rect);
  box.setSize(box.size() - QSizeF(1, 1));
  if (box.width() <= 0 || box.height() <= 0) return;
  const double from = ArcAngle(box, ToPage(start));
  double sweep = ArcAngle(box, ToPage(end)) - from;
  // The same radial twice draws the whole ellipse.
  if (sweep <= 0) sweep += 360.0;
  BeginShape(false);
  painter_.setTransform(device_);
  painter_.drawArc(box, Sixteenths(from), Sixteenths(sweep));
}

void QtCanvas::DrawTextLine(const QPointF& origin, const QString& text, const QFont& font) {
  const double em = font.pixelSize();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  // The cell is filled here; the painter's own opaque mode would fill a box of Qt's metrics.
  painter_.setBackgroundMode(Qt::TransparentMode);
  if (CurrentBackgroundMode() == BackgroundMode::Opaque) {
    const double width = QFontMetricsF(font, painter_.device()).horizontalAdvance(text);
    painter_.fillRect(QRectF(origin, QSizeF(width, em)), ToQColor(BackgroundColor()));
  }
  painter_.setFont(font);
  painter_.setPen(ToQColor(TextColor()));
  painter_.drawText(origin + QPointF(0, kEmAscent * em), text);
}

void QtCanvas::TextOut(DevPoint at, const std::string& utf8) {
  const QString text = QString::fromStdString(utf8);
  const QFont font = QFontOf(CurrentFont());
  const double em = font.pixelSize();
  const double width = QFontMetricsF(font, painter_.device()).horizontalAdvance(text);
  const TextAlign align = CurrentTextAlign();
  QPointF cell;  // the cell's top-left corner relative to the reference point, upright
  switch (HorizontalPart(align)) {
    case TextAlign::Center:
      cell.setX(-width / 2);
      break;
    case TextAlign::Right:
      cell.setX(-width);
      break;
    default:
      break;
  }
  switch (VerticalPart(align)) {
    case TextAlign::Middle:
      cell.setY(-em / 2);
      break;
    case TextAlign::Bottom:
      cell.setY(-em);
      break;
    case TextAlign::Baseline:
      cell.setY(-kEmAscent * em);
      break;
    default:
      break;
  }
  ApplyClip();
  const QPointF anchor = ToPage(at);
  // The escapement turns the text counter-clockwise on the page about its reference point.
  painter_.setTransform(QTransform().rotate(-CurrentFont().escapement / 10.0) *
                        QTransform::fromTranslate(anchor.x(), anchor.y()) * device_);
  DrawTextLine(cell, text, font);
}

void QtCanvas::DrawText(const DevRect& rect, const std::string& utf8, TextAlign align,
                        TextLines lines) {
  const QString text = QString::fromStdString(utf8);
  const QStringList rows = lines == TextLines::Multiple ? text.split(u'\n') : QStringList{text};
  const QFont font = QFontOf(CurrentFont());
  const double em = font.pixelSize();
  const QFontMetricsF metrics(font, painter_.device());
  ApplyClip();
  painter_.setClipRect(Covered(rect), Qt::IntersectClip);
  painter_.setTransform(device_);

  const QRectF box = ToPage(rect);
  const double blockHeight = em * static_cast<double>(rows.size());
  double top = box.top();
  switch (VerticalPart(align)) {
    case TextAlign::Middle:
      top += (box.height() - blockHeight) / 2;
      break;
    case TextAlign::Bottom:
    case TextAlign::Baseline:
      top = box.bottom() - blockHeight;
      break;
    default:
      break;
  }
  for (QString row : rows) {
    if (row.endsWith(u'\r')) row.chop(1);
    const double width = metrics.horizontalAdvance(row);
    double left = box.left();
    if (HorizontalPart(align) == TextAlign::Center) left += (box.width() - width) / 2;
    if (HorizontalPart(align) == TextAlign::Right) left = box.right() - width;
    DrawTextLine(QPointF(left, top), row, font);
    top += em;
  }
}

DevSize QtCanvas::TextExtent(const std::string& utf8) const {
  const QFont font = QFontOf(CurrentFont());
  const double width =
      QFontMetricsF(font, painter_.device()).horizontalAdvance(QString::fromStdString(utf8));
  return DevSize{static_cast<int>(std::ceil(width)), font.pixelSize()};
}

void QtCanvas::FillRect(const DevRect& rect, const Brush& brush) {
  if (brush.style == BrushStyle::Null) return;
  BeginFill();
  painter_.fillRect(Covered(rect), ToQColor(brush.color));
}

void QtCanvas::FillGradient(const DevRect& rect, const Gradient& gradient) {
  BeginFill();
  const QPointF first(rect.left, rect.top);
  const QPointF last = gradient.direction == GradientDirection::TopToBottom
                           ? QPointF(rect.left, rect.bottom)
                           : QPointF(rect.right, rect.top);
  QLinearGradient blend(first, last);
  blend.setColorAt(0, ToQColor(gradient.first));
  blend.setColorAt(1, ToQColor(gradient.last));
  painter_.fillRect(Covered(rect), blend);
}

void QtCanvas::DrawFocusRect(const DevRect& rect) {
  ApplyClip();
  // Every other pixel of the outline; inverted, so that drawing it again removes it.
  QPen dots(rasterOps_ ? QColor(Qt::white) : ToQColor(SystemColor(SystemColorRole::WindowText)));
  dots.setWidth(1);
  dots.setCapStyle(Qt::FlatCap);
  dots.setDashPattern({1, 1});
  painter_.setPen(dots);
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.setCompositionMode(rasterOps_ ? QPainter::RasterOp_SourceXorDestination
                                         : QPainter::CompositionMode_SourceOver);
  painter_.drawRect(Outline(rect));
}

void QtCanvas::DrawImage(const DevRect& target, const CanvasImage& image, DevPoint sourceOrigin) {
  if (image.IsEmpty()) return;
  const QRectF page = ToPage(target);
  const QRect wanted(QPoint(sourceOrigin.x, sourceOrigin.y),
                     QSize(static_cast<int>(page.width()), static_cast<int>(page.height())));
  const QRect source = wanted.intersected(QRect(0, 0, image.Width(), image.Height()));
  if (source.isEmpty()) return;
  const QImage pixels(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(),
                      static_cast<qsizetype>(image.Width()) * 4, QImage::Format_RGB32);
  BeginFill();
  painter_.setTransform(device_);
  painter_.drawImage(page.topLeft() + QPointF(source.topLeft() - wanted.topLeft()), pixels, source);
}

Color QtCanvas::SystemColor(SystemColorRole role) const {
  const QPalette palette = QGuiApplication::palette();
  switch (role) {
    case SystemColorRole::WindowText:
      return ToColor(palette.color(QPalette::WindowText));
    case SystemColorRole::ButtonFace:
      return ToColor(palette.color(QPalette::Button));
    case SystemColorRole::ButtonHighlight:
      return ToColor(palette.color(QPalette::Light));
    case SystemColorRole::ButtonLight:
      return ToColor(palette.color(QPalette::Midlight));
    case SystemColorRole::ButtonShadow:
      return ToColor(palette.color(QPalette::Dark));
    case SystemColorRole::ButtonDarkShadow:
      return ToColor(palette.color(QPalette::Shadow));
  }
  return Color{};
}
