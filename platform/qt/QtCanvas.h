#pragma once
// The canvas over a QPainter: the view's back buffer, report pictures and button pictures (a
// QImage), the printer and PDF files (a QPrinter). Every primitive is drawn with the state the
// canvas holds at that moment (pen, brush, font, text colour, background, text alignment, raster
// operation, clip rectangle).
//
// Drawing follows the device rules of the surfaces the core was written for: lines without
// antialiasing and without their last pixel, dash patterns in device pixels on thin pens, wide
// pens solid with round ends, rectangles and ellipses whose right and bottom edges lie outside.
// The not-xor raster operation and the xor focus rectangle need an image: on a printer they draw
// with plain colours, so screen drawing goes to an image back buffer.
//
// Fonts: a height of either sign is the em height in device pixels, and the text cell is the em
// box (the top 0.88 em above the baseline, the bottom 0.12 em below it), as with the Japanese
// faces the drawing code names. Those faces are drawn with Noto Sans CJK JP: the fixed-pitch ones
// ("ＭＳ ゴシック", "ＭＳ 明朝") with its monospaced cut, Noto Sans Mono CJK JP, so that their
// columns of digits line up; the proportional ones ("ＭＳ Ｐゴシック", "MS UI Gothic") with
// Noto Sans CJK JP itself. A width other than 0 stretches the face so that its half-width
// characters are that wide.
//
// A canvas made with y up (the printer's mapping) measures device y from the bottom edge of the
// page upward. Lines and shapes reach the page through the painter's transform, which flips y;
// texts and images are placed at their mapped points and drawn upright, never mirrored.

#include <QFont>
#include <QTransform>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

class QImage;
class QPainter;
class QPrinter;
class QPointF;
class QRectF;

class QtCanvas : public Canvas {
 public:
  // The resolution of a screen at 96 dots per inch, in pixels per millimetre.
  static constexpr double kScreenPixelsPerMm = 96.0 / 25.4;

  // Draws with painter, which is active and stays so for the canvas's life. The canvas keeps
  // the painter's transform as the device's own (a widget's offset, the pixel ratio of a high
  // resolution image) and gives the painter back with its state as it found it.
  QtCanvas(QPainter& painter, const CanvasSetup& setup);
  ~QtCanvas() override;

  // A canvas that paints into image with y down, e.g. a view's back buffer. The image outlives
  // the canvas; its pixels are complete once the canvas is destroyed.
  static std::unique_ptr<QtCanvas> OnImage(QImage& image, double pixelsPerMm = kScreenPixelsPerMm);
  // A canvas on the printer's page at the printer's resolution with y up. Null when painting
  // cannot begin (a PDF file that cannot be written, say).
  static std::unique_ptr<QtCanvas> OnPrinter(QPrinter& printer);

  // The font this canvas draws a Font with.
  QFont QFontOf(const Font& font) const;

  void Polyline(const std::vector<DevPoint>& points) override;
  void Polygon(const std::vector<DevPoint>& points) override;
  void Rectangle(const DevRect& rect) override;
  void Ellipse(const DevRect& rect) override;
  void Arc(const DevRect& rect, DevPoint start, DevPoint end) override;
  void TextOut(DevPoint at, const std::string& utf8) override;
  // Laid out upright in the current font, one line per "\n" when lines is Multiple; the
  // escapement of the font does not apply.
  void DrawText(const DevRect& rect, const std::string& utf8, TextAlign align,
                TextLines lines) override;
  DevSize TextExtent(const std::string& utf8) const override;
  void FillRect(const DevRect& rect, const Brush& brush) override;
  void FillGradient(const DevRect& rect, const Gradient& gradient) override;
  void DrawFocusRect(const DevRect& rect) override;
  void DrawImage(const DevRect& target, const CanvasImage& image, DevPoint sourceOrigin) override;
  // From the application's palette.
  Color SystemColor(SystemColorRole role) const override;
  std::unique_ptr<Canvas> CreateImageCanvas(CanvasImage& image) override;

 protected:
  void Line(DevPoint from, DevPoint to) override;

 private:
  // A canvas that paints target with a painter of its own, and owns ownImage (target itself, or
  // null when the caller owns target).
  QtCanvas(std::unique_ptr<QImage> ownImage, QImage& target, const CanvasSetup& setup);
  // A canvas that owns the active painter it draws with.
  QtCanvas(std::unique_ptr<QPainter> painter, const CanvasSetup& setup);
  // A canvas on target, or on a scratch image that nobody sees when target has no pixels, so
  // that drawing on it is harmless.
  static std::unique_ptr<QtCanvas> PaintingInto(std::unique_ptr<QImage> ownImage, QImage& target,
                                                double pixelsPerMm);
  // Saves the painter's state and sets up what the canvas relies on.
  void Prepare();

  // Readies the painter for lines and shapes in device coordinates: the current pen, brush (or
  // none), raster operation and clip, under the transform that flips a y-up device.
  void BeginShape(bool filled);
  // Readies the painter for a fill that ignores pen and raster operation.
  void BeginFill();
  void ApplyClip();
  // Where a device point lies on the page (y down), before the device's own transform.
  QPointF ToPage(DevPoint p) const;
  QRectF ToPage(const DevRect& rect) const;
  // Draws one line of text with its cell's top-left corner at origin in the frame the painter
  // has; fills the cell first when the background is opaque.
  void DrawTextLine(const QPointF& origin, const QString& text, const QFont& font);

  std::unique_ptr<QImage> ownImage_;
  std::unique_ptr<QPainter> ownPainter_;
  QPainter& painter_;
  QTransform device_;  // the painter's transform when the canvas was made
  QTransform toPage_;  // device coordinates to the page (flips a y-up device)
  bool rasterOps_ = false;
};
