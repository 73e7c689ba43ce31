// The Qt canvas's primitives, read back from the pixels they paint.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/CanvasImage.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtConvert.h"
#include "tests/platform/qt/QtTestUtil.h"

namespace {

constexpr Color kBlack = Color::Rgb(0, 0, 0);
constexpr Color kWhite = Color::Rgb(255, 255, 255);
constexpr Color kRed = Color::Rgb(255, 0, 0);
constexpr Color kGreen = Color::Rgb(0, 160, 0);
constexpr Color kBlue = Color::Rgb(0, 0, 255);

const Pen kThinBlack{PenStyle::Solid, 1, kBlack};
const Brush kNoBrush{BrushStyle::Null, kWhite};

// ＭＳ ゴシック as the drawing code selects it, with full-width characters em pixels wide.
Font Gothic(int em) {
  Font font;
  font.height = em;
  font.width = em / 2;
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  return font;
}

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// An image that a drawing function painted on a white background with y down.
QImage Painted(const std::function<void(Canvas&)>& draw, int width = 120, int height = 100) {
  QImage image = WhiteImage(width, height);
  draw(*QtCanvas::OnImage(image));
  return image;
}

// ---- Lines and shapes ----

struct ShapeCase {
  const char* name;
  std::function<void(Canvas&)> draw;
  QRect ink;
};

// Lines leave out their last pixel, and shapes their right and bottom edges, so that shapes
// drawn edge to edge do not overlap.
TEST(QtCanvasTest, ShapesCoverThePixelsOfTheDeviceRules) {
  const ShapeCase cases[] = {
      {"line",
       [](Canvas& c) {
         c.MoveTo({2, 2});
         c.LineTo({7, 2});
       },
       QRect(2, 2, 5, 1)},
      {"vertical line",
       [](Canvas& c) {
         c.MoveTo({2, 2});
         c.LineTo({2, 7});
       },
       QRect(2, 2, 1, 5)},
      {"polyline",
       [](Canvas& c) {
         c.Polyline({{2, 2}, {7, 2}, {7, 6}});
       },
       QRect(2, 2, 6, 4)},
      {"rectangle",
       [](Canvas& c) {
         c.Rectangle({2, 2, 8, 6});
       },
       QRect(2, 2, 6, 4)},
      {"ellipse",
       [](Canvas& c) {
         c.Ellipse({2, 2, 13, 13});
       },
       QRect(2, 2, 11, 11)},
      {"polygon",
       [](Canvas& c) {
         c.Polygon({{2, 2}, {12, 2}, {2, 9}});
       },
       QRect(2, 2, 11, 8)},
      {"fill",
       [](Canvas& c) {
         c.FillRect({2, 2, 8, 6}, Brush{BrushStyle::Solid, kRed});
       },
       QRect(2, 2, 6, 4)},
      {"rectangle without a pen",
       [](Canvas& c) {
         c.SelectPen(Pen{PenStyle::Null, 1, kBlack});
         c.SelectBrush(Brush{BrushStyle::Solid, kBlack});
         c.Rectangle({2, 2, 8, 6});
       },
       QRect(2, 2, 5, 3)},
      {"nothing with a null brush",
       [](Canvas& c) {
         c.FillRect({2, 2, 8, 6}, kNoBrush);
       },
       QRect()},
      {"a lone point draws no line",
       [](Canvas& c) {
         c.Polyline({{4, 4}});
       },
       QRect()},
  };
  for (const ShapeCase& shape : cases) {
    const QImage image = Painted([&](Canvas& canvas) {
      canvas.SelectPen(kThinBlack);
      shape.draw(canvas);
    });
    EXPECT_EQ(InkBounds(image, kWhite), shape.ink)
        << shape.name << ": " << Describe(InkBounds(image, kWhite));
  }
}

TEST(QtCanvasTest, PolygonsAreFilledByTheAlternateRule) {
  // A square drawn twice over itself: the inner square is enclosed twice, so it stays empty.
  const QImage image = Painted([](Canvas& canvas) {
    canvas.SelectPen(Pen{PenStyle::Null, 1, kBlack});
    canvas.SelectBrush(Brush{BrushStyle::Solid, kBlue});
    canvas.Polygon({{0, 0},
                    {40, 0},
                    {40, 40},
                    {0, 40},
                    {0, 0},
                    {10, 10},
                    {30, 10},
                    {30, 30},
                    {10, 30},
                    {10, 10}});
  });
  EXPECT_EQ(PixelAt(image, QPoint(5, 20)), kBlue);
  EXPECT_EQ(PixelAt(image, QPoint(20, 20)), kWhite);
}

// The pixels of row y from x 0 to 47: '#' where the pen drew, '-' where the background shows,
// '.' where the picture was left as it was.
std::string Row(const QImage& image, int y, Color pen, Color background) {
  std::string row;
  for (int x = 0; x < 48; ++x) {
    const Color c = PixelAt(image, QPoint(x, y));
    row += c == pen ? '#' : c == background ? '-' : '.';
  }
  return row;
}

TEST(QtCanvasTest, ThinPensDrawTheDevicePatternsAndAnOpaqueBackgroundFillsTheirGaps) {
  struct Case {
    PenStyle style;
    BackgroundMode mode;
    const char* row;
  };
  const Case cases[] = {
      {PenStyle::Dash, BackgroundMode::Transparent,
       "##################......##################......"},
      {PenStyle::Dash, BackgroundMode::Opaque, "##################------##################------"},
      {PenStyle::Dot, BackgroundMode::Transparent,
       "###...###...###...###...###...###...###...###..."},
      {PenStyle::DashDot, BackgroundMode::Opaque,
       "#########------###------#########------###------"},
  };
  for (const Case& c : cases) {
    const QImage image = Painted([&](Canvas& canvas) {
      canvas.SelectPen(Pen{c.style, 1, kBlack});
      canvas.SetBackgroundMode(c.mode);
      canvas.SetBackgroundColor(kGreen);
      canvas.MoveTo({0, 1});
      canvas.LineTo({60, 1});
    });
    EXPECT_EQ(Row(image, 1, kBlack, kGreen), c.row) << static_cast<int>(c.style);
  }
  // A wide pen is solid whatever its style.
  const QImage wide = Painted([](Canvas& canvas) {
    canvas.SelectPen(Pen{PenStyle::Dash, 3, kBlack});
    canvas.MoveTo({0, 5});
    canvas.LineTo({60, 5});
  });
  EXPECT_EQ(Row(wide, 5, kBlack, kGreen), std::string(48, '#'));
}

// A picture with every colour channel varying, so that an inversion shows everywhere.
QImage Stripes() {
  QImage image(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) image.setPixelColor(x, y, QColor(x * 4, y * 4, 255 - x * 2));
  }
  return image;
}

// The rubber band and the focus rectangle invert what lies below, so drawing them a second
// time at the same place restores the picture.
TEST(QtCanvasTest, InvertingDrawingTwiceRestoresThePicture) {
  const std::pair<const char*, std::function<void(Canvas&)>> cases[] = {
      {"not-xor band",
       [](Canvas& c) {
         c.SelectPen(Pen{PenStyle::Solid, 1, kRed});
         c.SetRasterOp(RasterOp::NotXorPen);
         c.SelectBrush(kNoBrush);
         c.Rectangle({5, 5, 50, 40});
         c.MoveTo({3, 60});
         c.LineTo({60, 3});
       }},
      {"focus rectangle",
       [](Canvas& c) {
         c.DrawFocusRect({4, 4, 40, 30});
       }},
  };
  const QImage original = Stripes();
  for (const auto& [name, draw] : cases) {
    QImage image = original;
    draw(*QtCanvas::OnImage(image));
    const QImage once = image;
    draw(*QtCanvas::OnImage(image));
    EXPECT_NE(once, original) << name << " drawn once shows";
    EXPECT_EQ(image, original) << name << " drawn twice is gone";
  }
  // Not-xor with red: every pixel below becomes NOT(red XOR pixel).
  QImage image = original;
  {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    canvas->SelectPen(Pen{PenStyle::Solid, 1, kRed});
    canvas->SetRasterOp(RasterOp::NotXorPen);
    canvas->MoveTo({0, 10});
    canvas->LineTo({30, 10});
  }
  const QColor below = original.pixelColor(20, 10);
  EXPECT_EQ(image.pixelColor(20, 10), QColor(below.red(), 255 - below.green(), 255 - below.blue()));
}

// A printer has no raster operations: the band draws in its own colour there, and the focus
// rectangle as plain dots, without complaint.
TEST(QtCanvasTest, OnAPrinterInvertingDrawingFallsBackToPlainColours) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.filePath(QStringLiteral("band.pdf")));
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnPrinter(printer);
  ASSERT_NE(canvas, nullptr);
  canvas->SetRasterOp(RasterOp::NotXorPen);
  canvas->MoveTo({100, 100});
  canvas->LineTo({2000, 2000});
  canvas->DrawFocusRect({100, 100, 500, 400});
}

TEST(QtCanvasTest, TheClipRectangleKeepsDrawingInside) {
  const QImage image = Painted([](Canvas& canvas) {
    canvas.SetClipRect(DevRect{5, 5, 10, 12});
    canvas.FillRect({0, 0, 120, 100}, Brush{BrushStyle::Solid, kRed});
    canvas.SelectPen(kThinBlack);
    canvas.MoveTo({0, 8});
    canvas.LineTo({100, 8});
    canvas.SetClipRect(std::nullopt);
    canvas.MoveTo({0, 50});
    canvas.LineTo({100, 50});
  });
  EXPECT_EQ(InkBounds(image, kWhite), QRect(0, 5, 100, 46));
  EXPECT_EQ(CountColour(image, image.rect(), kRed), 5 * 7 - 5);
  EXPECT_EQ(CountColour(image, QRect(0, 0, 120, 49), kBlack), 5);
}

TEST(QtCanvasTest, ArcsRunCounterClockwiseFromTheStartRadialToTheEndRadial) {
  const DevRect circle{0, 0, 41, 41};  // centre (20, 20)
  const DevPoint east{40, 20};
  const DevPoint north{20, 0};
  const QImage quarter = Painted([&](Canvas& c) { c.Arc(circle, east, north); });
  EXPECT_TRUE(QRect(19, 0, 22, 22).contains(InkBounds(quarter, kWhite)))
      << "east to north is the upper right quarter: " << Describe(InkBounds(quarter, kWhite));
  const QImage rest = Painted([&](Canvas& c) { c.Arc(circle, north, east); });
  EXPECT_EQ(InkBounds(rest, kWhite), QRect(0, 0, 41, 41)) << "north to east: three quarters";
  EXPECT_EQ(CountColour(rest, QRect(30, 2, 8, 8), kBlack), 0);
  const QImage whole = Painted([&](Canvas& c) { c.Arc(circle, east, east); });
  EXPECT_GT(CountColour(whole, QRect(30, 2, 8, 8), kBlack), 0) << "one radial: the whole circle";
}

TEST(QtCanvasTest, GradientsRunFromTheFirstColourToTheLast) {
  for (const GradientDirection direction :
       {GradientDirection::TopToBottom, GradientDirection::LeftToRight}) {
    const QImage image = Painted([&](Canvas& canvas) {
      canvas.FillGradient({0, 0, 100, 100}, Gradient{kBlack, kBlue, direction});
    });
    const bool down = direction == GradientDirection::TopToBottom;
    int previous = -1;
    for (int step = 0; step < 100; step += 11) {
      const QPoint p = down ? QPoint(50, step) : QPoint(step, 50);
      const Color c = PixelAt(image, p);
      EXPECT_EQ(c.Red(), 0);
      EXPECT_GE(c.Blue(), previous) << "the blue grows along the direction";
      previous = c.Blue();
    }
    EXPECT_LT(PixelAt(image, QPoint(0, 0)).Blue(), 8);
    EXPECT_GT(PixelAt(image, QPoint(99, 99)).Blue(), 247);
    EXPECT_EQ(PixelAt(image, down ? QPoint(0, 50) : QPoint(50, 0)),
              PixelAt(image, down ? QPoint(99, 50) : QPoint(50, 99)))
        << "bands run across the direction";
  }
}

// ---- Images ----

// A 4 x 4 picture whose pixel (x, y) has red 10x and green 10y.
CanvasImage Numbered() {
  CanvasImage image(DevSize{4, 4});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) image.SetPixelColor({x, y}, Color::Rgb(10 * x, 10 * y, 0));
  }
  return image;
}

TEST(QtCanvasTest, ImagesAreCopiedPixelForPixelFromTheSourceOrigin) {
  const CanvasImage source = Numbered();
  const QImage image = Painted([&](Canvas& canvas) {
    canvas.DrawImage({10, 10, 13, 13}, source, {1, 1});
    // Only the part that lies in the image is copied.
    canvas.DrawImage({30, 30, 40, 40}, source, {2, 3});
    canvas.DrawImage({50, 50, 60, 60}, source, {-1, -2});
  });
  EXPECT_EQ(PixelAt(image, QPoint(10, 10)), Color::Rgb(10, 10, 0));
  EXPECT_EQ(PixelAt(image, QPoint(12, 12)), Color::Rgb(30, 30, 0));
  EXPECT_EQ(InkBounds(image.copy(0, 0, 25, 25), kWhite), QRect(10, 10, 3, 3));
  EXPECT_EQ(InkBounds(image.copy(25, 25, 20, 20), kWhite), QRect(5, 5, 2, 1));
  EXPECT_EQ(PixelAt(image, QPoint(30, 30)), Color::Rgb(20, 30, 0));
  EXPECT_EQ(InkBounds(image.copy(45, 45, 30, 30), kWhite), QRect(6, 7, 4, 4));
  EXPECT_EQ(PixelAt(image, QPoint(51, 52)), Color::Rgb(0, 0, 0));
}

TEST(QtCanvasTest, AnImageCanvasPaintsIntoTheImageItWasMadeFor) {
  QImage screen = WhiteImage(10, 10);
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(screen, 600 / 25.4);
  CanvasImage picture(DevSize{20, 10});
  {
    const std::unique_ptr<Canvas> offscreen = canvas->CreateImageCanvas(picture);
    EXPECT_DOUBLE_EQ(offscreen->PixelsPerMm(), 600 / 25.4);
    EXPECT_FALSE(offscreen->IsYUp());
    offscreen->FillRect({0, 0, 5, 5}, Brush{BrushStyle::Solid, kRed});
  }
  EXPECT_EQ(picture.PixelColor({4, 4}), kRed);
  EXPECT_EQ(picture.PixelColor({5, 4}), kWhite);
  // An image without pixels gets a canvas that draws nowhere.
  CanvasImage empty;
  canvas->CreateImageCanvas(empty)->FillRect({0, 0, 5, 5}, Brush{BrushStyle::Solid, kRed});
  QImage none;
  QtCanvas::OnImage(none)->Rectangle({0, 0, 5, 5});
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(QtCanvasTest, ImagesConvertWithoutSwappingRedAndBlue) {
  CanvasImage image(DevSize{2, 1}, kRed);
  image.SetPixelColor({1, 0}, kBlue);
  const QImage converted = ToQImage(image);
  EXPECT_EQ(converted.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(converted.pixelColor(1, 0), QColor(0, 0, 255));
  EXPECT_EQ(ToCanvasImage(converted), image);
  EXPECT_TRUE(ToQImage(CanvasImage()).isNull());
  EXPECT_TRUE(ToCanvasImage(QImage()).IsEmpty());
  EXPECT_EQ(ToQColor(Color{0xFF0000}), QColor(0, 0, 255)) << "0x00BBGGRR: blue";
}

// ---- Text ----

TEST(QtCanvasTest, TheWindowsFacesAreDrawnWithNotoSansCjkJp) {
  struct Case {
    const char* face;
    FontPitch pitch;
    const char* family;
  };
  const Case cases[] = {
      {"ＭＳ ゴシック", FontPitch::Default, "Noto Sans Mono CJK JP"},
      {"ＭＳ 明朝", FontPitch::Default, "Noto Sans Mono CJK JP"},
      {"ＭＳ Ｐゴシック", FontPitch::Default, "Noto Sans CJK JP"},
      {"MS UI Gothic", FontPitch::Fixed, "Noto Sans CJK JP"},
      {"", FontPitch::Default, "Noto Sans CJK JP"},
      {"", FontPitch::Fixed, "Noto Sans Mono CJK JP"},
      {"No Such Face", FontPitch::Default, "Noto Sans CJK JP"},
  };
  QImage image = WhiteImage(4, 4);
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
  for (const Case& c : cases) {
    Font font = Gothic(12);
    font.face = c.face;
    font.pitch = c.pitch;
    EXPECT_EQ(QFontInfo(canvas->QFontOf(font)).family().toStdString(), c.family) << c.face;
  }
}

TEST(QtCanvasTest, TextExtentMeasuresInTheFontsEm) {
  struct Case {
    int height;
    int width;
    int weight;
    const char* text;
    DevSize extent;
  };
  const Case cases[] = {
      {12, 6, 400, "0000", {24, 12}},
      {12, 6, 400, "あいう", {36, 12}},
      {-12, 0, 400, "12.5", {24, 12}},
      {12, 12, 400, "00", {24, 12}},  // stretched twice as wide
      {120, 60, 700, "基盤岩", {360, 120}},
      {10, 5, 100, "", {0, 10}},
  };
  QImage image = WhiteImage(4, 4);
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
  for (const Case& c : cases) {
    Font font = Gothic(c.height);
    font.width = c.width;
    font.weight = c.weight;
    canvas->SelectFont(font);
    EXPECT_EQ(canvas->TextExtent(c.text), c.extent) << c.text << " at " << c.height;
  }
}

// With an opaque background the whole text cell is painted, so the painted box is the cell.
TEST(QtCanvasTest, TextOutPlacesTheCellByTheAlignment) {
  struct Case {
    TextAlign align;
    QRect cell;  // for the 40 x 20 cell of "ああ" at (60, 50)
  };
  const Case cases[] = {
      {TextAlign::Left | TextAlign::Top, QRect(60, 50, 40, 20)},
      {TextAlign::Center | TextAlign::Top, QRect(40, 50, 40, 20)},
      {TextAlign::Right | TextAlign::Top, QRect(20, 50, 40, 20)},
      {TextAlign::Left | TextAlign::Middle, QRect(60, 40, 40, 20)},
      {TextAlign::Left | TextAlign::Bottom, QRect(60, 30, 40, 20)},
      {TextAlign::Center | TextAlign::Baseline, QRect(40, 32, 40, 20)},  // 0.88 em above
  };
  for (const Case& c : cases) {
    const QImage image = Painted([&](Canvas& canvas) {
      canvas.SelectFont(Gothic(20));
      canvas.SetBackgroundColor(kGreen);
      canvas.SetTextAlign(c.align);
      canvas.TextOut({60, 50}, "ああ");
    });
    EXPECT_EQ(InkBounds(image, kWhite), c.cell)
        << static_cast<int>(c.align) << ": " << Describe(InkBounds(image, kWhite));
    EXPECT_GT(CountColour(image, c.cell, kBlack), 0) << "the glyphs in the text colour";
  }
  // Transparent, only the glyphs are painted, inside the cell.
  const QImage glyphs = Painted([](Canvas& canvas) {
    canvas.SelectFont(Gothic(20));
    canvas.SetTextColor(kBlue);
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    canvas.TextOut({60, 50}, "ああ");
  });
  const QRect ink = InkBounds(glyphs, kWhite);
  EXPECT_TRUE(QRect(60, 50, 40, 20).contains(ink)) << Describe(ink);
  EXPECT_GT(ink.width(), 30) << Describe(ink);
  EXPECT_GT(CountColour(glyphs, ink, kBlue), 0);
}

TEST(QtCanvasTest, TheEscapementTurnsTextCounterClockwiseAboutItsPoint) {
  const QImage image = Painted(
      [](Canvas& canvas) {
        Font font = Gothic(20);
        font.escapement = 900;
        canvas.SelectFont(font);
        canvas.SetBackgroundColor(kGreen);
        canvas.TextOut({50, 100}, "あいうえお");
      },
      120, 120);
  // The text runs upward from the point, its cell's top edge to the left.
  EXPECT_EQ(InkBounds(image, kWhite), QRect(50, 0, 20, 100)) << Describe(InkBounds(image, kWhite));
}

TEST(QtCanvasTest, DrawTextAlignsItsLinesInTheRectangleAndCutsThemAtItsEdges) {
  struct Case {
    const char* text;
    TextAlign align;
    TextLines lines;
    QRect painted;  // in the rectangle [10, 10, 110, 70]
  };
  const Case cases[] = {
      {"あ\nああ", TextAlign::Center | TextAlign::Middle, TextLines::Multiple,
       QRect(40, 20, 40, 40)},
      {"ああ", TextAlign::Right | TextAlign::Bottom, TextLines::Single, QRect(70, 50, 40, 20)},
      {"ああ", TextAlign::Left | TextAlign::Baseline, TextLines::Single, QRect(10, 50, 40, 20)},
      {"ああ\r\nあ", TextAlign::Left | TextAlign::Top, TextLines::Multiple, QRect(10, 10, 40, 40)},
      {"ああああああああ", TextAlign::Left | TextAlign::Top, TextLines::Single,
       QRect(10, 10, 100, 20)},
      {"あ\nあ\nあ\nあ", TextAlign::Center | TextAlign::Bottom, TextLines::Multiple,
       QRect(50, 10, 20, 60)},
  };
  for (const Case& c : cases) {
    const QImage image = Painted([&](Canvas& canvas) {
      canvas.SelectFont(Gothic(20));
      canvas.SetBackgroundColor(kGreen);
      canvas.DrawText({10, 10, 110, 70}, c.text, c.align, c.lines);
    });
    EXPECT_EQ(InkBounds(image, kWhite), c.painted)
        << c.text << ": " << Describe(InkBounds(image, kWhite));
  }
}

// ---- The printer's upward y ----

// An image painted by a canvas with y up: device y counts from the image's bottom edge.
QImage PaintedYUp(const std::function<void(Canvas&)>& draw) {
  QImage image = WhiteImage(120, 100);
  QPainter painter(&image);
  QtCanvas canvas(painter, CanvasSetup{QtCanvas::kScreenPixelsPerMm, true});
  draw(canvas);
  return image;
}

TEST(QtCanvasTest, WithYUpShapesTurnOverButTextAndImagesStayUpright) {
  // The same picture drawn both ways: y up counts from the bottom edge of the 100-pixel image,
  // and a cell's top is the edge higher on the page.
  const QImage down = Painted([](Canvas& canvas) {
    canvas.SelectFont(Gothic(20));
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    canvas.TextOut({10, 10}, "Lあ");
    canvas.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
    canvas.TextOut({110, 90}, "F");
    canvas.DrawImage({60, 10, 64, 14}, Numbered(), {0, 0});
    canvas.Polyline({{10, 60}, {40, 60}, {40, 80}});
  });
  const QImage up = PaintedYUp([](Canvas& canvas) {
    canvas.SelectFont(Gothic(20));
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    canvas.TextOut({10, 90}, "Lあ");
    canvas.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
    canvas.TextOut({110, 10}, "F");
    canvas.DrawImage({60, 90, 64, 86}, Numbered(), {0, 0});
    canvas.Polyline({{10, 40}, {40, 40}, {40, 20}});
  });
  SaveScreenshot(up, QStringLiteral("text-with-y-up"));
  // The last pixel of a line lies at the other end of its run once y turns over.
  EXPECT_EQ(down.copy(0, 0, 120, 59), up.copy(0, 0, 120, 59));
  EXPECT_EQ(PixelAt(up, QPoint(40, 60)), kBlack);
  EXPECT_EQ(PixelAt(up, QPoint(60, 10)), Color::Rgb(0, 0, 0)) << "the image's first row on top";
  EXPECT_EQ(PixelAt(up, QPoint(60, 13)), Color::Rgb(0, 30, 0));
  EXPECT_NE(up.copy(0, 0, 120, 59), down.copy(0, 0, 120, 59).mirrored(false, true))
      << "not mirrored";
}

}  // namespace
