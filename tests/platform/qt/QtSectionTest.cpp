// The shared sample section drawn through the Qt canvas: into an image as on the screen, and
// into a PDF page through the printer with the printer's upward y. The pictures are checked by
// their pixels at known points and by poppler's independent readers.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/geometry/DPoint.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "platform/qt/QtCanvas.h"
#include "tests/platform/qt/QtTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr Color kTopSoil = Color::Rgb(230, 200, 150);
constexpr Color kWeatheredRock = Color::Rgb(200, 170, 120);
constexpr Color kBedrock = Color::Rgb(160, 140, 110);
constexpr Color kWaterBlue = Color::Rgb(0, 0, 255);
constexpr Color kSlideRed = Color::Rgb(255, 0, 0);
constexpr Color kWhite = Color::Rgb(255, 255, 255);

struct Sample {
  const char* what;
  CDPoint world;
  Color colour;
};

// Points inside each stratum clear of its name, and points on the water line and slide line.
const Sample kFills[] = {
    {"top soil", CDPoint(29.5, 14.0), kTopSoil},
    {"weathered rock", CDPoint(29.5, 11.5), kWeatheredRock},
    {"bedrock", CDPoint(29.0, -5.0), kBedrock},
};
const Sample kLines[] = {
    {"water line", CDPoint(27.0, 10.5), kWaterBlue},
    {"slide line", CDPoint(14.0, 3.0), kSlideRed},
};

class QtSectionTest : public testing::Test {
 protected:
  // Fits the sample's area (x 0 to 30, y -10 to 20) into a device of that size.
  void FitView(int width, int height) {
    view.SetArea(0, 20, 30, -10);
    view.width = width;
    view.height = height;
    view.centreX = width / 2;
    view.centreY = height / 2;
    view.CalcScale();
  }

  // Every shape of the stability section over the sample, with its slide line, in the order the
  // case draws them.
  void DrawSection(Canvas& canvas) {
    view.dc = &canvas;
    CDanmenStab section;
    section.SendInfo(sample.section);
    section.SetSlideWork(slideWork.get());
    section.Draw(&view);
    section.DrawWater(&view);
    section.DrawSlide(&view);
    section.DrawLoad(&view);
    view.dc = nullptr;
  }

  QPoint DeviceOf(const CDPoint& world) const {
    const DevPoint p = view.LPtoDP(world);
    return QPoint(p.x, p.y);
  }

  SampleSection sample = MakeSampleSection();
  std::unique_ptr<CSpSlideWork> slideWork = sample.slide->CreateDrawObj();
  CViewInfo view;
};

// The view's back buffer: at a pixel ratio of 2 the view still works in logical pixels, and each
// of them covers two by two pixels of the image.
TEST_F(QtSectionTest, OnAnImageTheStrataWaterAndSlideLineHaveTheirColours) {
  for (const int ratio : {1, 2}) {
    QImage image(400 * ratio, 400 * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    FitView(400, 400);
    DrawSection(*QtCanvas::OnImage(image));
    SaveScreenshot(
        image, ratio == 1 ? QStringLiteral("sample-section") : QStringLiteral("sample-section-2x"));

    for (const Sample& fill : kFills) {
      EXPECT_EQ(PixelAt(image, DeviceOf(fill.world) * ratio), fill.colour) << fill.what;
    }
    // A thin line passes within a logical pixel of its mapped point.
    for (const Sample& line : kLines) {
      const QRect near((DeviceOf(line.world) - QPoint(1, 1)) * ratio, QSize(3, 3) * ratio);
      EXPECT_GT(CountColour(image, near, line.colour), 0) << line.what << " at " << ratio;
    }
    EXPECT_EQ(PixelAt(image, DeviceOf(CDPoint(3, 18)) * ratio), kWhite) << "the sky stays blank";
  }
}

// Runs one of poppler's tools and gives its standard output; fails the test when it fails.
QString RunPoppler(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << tool.toStdString()
                  << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString PopplerTool(const char* name) {
  return QFileInfo(QStringLiteral(BRIXO_PDFINFO)).dir().filePath(QString::fromLatin1(name));
}

TEST_F(QtSectionTest, PrintedToPdfThePageIsUprightAndReadable) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString pdf = folder.filePath(QStringLiteral("section.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
  const QRect page(0, 0, printer.width(), printer.height());
  view.ModePrint();
  FitView(page.width(), page.height());
  {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnPrinter(printer);
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->IsYUp());
    EXPECT_DOUBLE_EQ(canvas->PixelsPerMm(), printer.resolution() / 25.4);
    DrawSection(*canvas);
  }

  const QString shown = ScreenshotPath(QStringLiteral("sample-section.pdf"));
  QFile::remove(shown);
  EXPECT_TRUE(QFile::copy(pdf, shown));

  const QString info = RunPoppler(QStringLiteral(BRIXO_PDFINFO), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(
      QRegularExpression(QStringLiteral("Page size:\\s+84[12][.0-9]* x 595[.0-9]* pts \\(A4\\)"))))
      << info.toStdString();

  // The names are text in the page. The face shares glyphs between some kanji and their radicals
  // (土 and ⼟), and the text read back may name the radical: compared in compatibility form.
  const QString text = RunPoppler(PopplerTool("pdftotext"), {pdf, QStringLiteral("-")})
                           .normalized(QString::NormalizationForm_KC);
  for (const char* name : {"表土", "風化岩", "基盤岩"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name << " in " << text.toStdString();
  }

  // Rendered back, each stratum lies where the upward y puts it: higher ground higher on the
  // page, not mirrored.
  constexpr int kDpi = 48;
  const QString raster = folder.filePath(QStringLiteral("section"));
  RunPoppler(PopplerTool("pdftoppm"),
             {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
              QStringLiteral("-singlefile"), pdf, raster});
  const QImage rendered(raster + QStringLiteral(".png"));
  ASSERT_FALSE(rendered.isNull());
  SaveScreenshot(rendered, QStringLiteral("sample-section-pdf"));
  const double toRaster = static_cast<double>(kDpi) / printer.resolution();
  for (const Sample& fill : kFills) {
    const QPoint device = DeviceOf(fill.world);
    const QPoint onPage(static_cast<int>(device.x() * toRaster),
                        static_cast<int>((page.height() - device.y()) * toRaster));
    EXPECT_EQ(PixelAt(rendered, onPage), fill.colour) << fill.what;
  }
}

}  // namespace
