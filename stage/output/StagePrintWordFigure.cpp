// The figures of a report run: drawn with the Qt canvas into a picture and handed over as PNG.

#include <QBuffer>
#include <QImage>

#include "core/geometry/ViewInfo.h"
#include "platform/qt/QtCanvas.h"
#include "platform/word/WordTemplate.h"
#include "stage/output/ReportFigures.h"
#include "stage/output/StagePrintWord.h"

std::vector<std::uint8_t> CStagePrintWord::CreateBitmap(std::string_view key, DevRect rect) const {
  QImage image(std::max(rect.Width(), 1), std::max(rect.Height(), 1), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (m_pCase != nullptr) {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    CViewInfo view(m_ViewInf);
    view.dc = canvas.get();
    view.scrollX = 0;
    view.scrollY = 0;
    view.marginX = 50;
    view.marginY = 50;
    view.ModeWord();
    canvas->SetBackgroundMode(BackgroundMode::Transparent);
    const std::optional<DevRect> clip = canvas->SetClipRect(rect);
    PaintReportFigure(*m_pCase, figureGroup_, key, view, rect);
    canvas->SetClipRect(clip);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return {png.begin(), png.end()};
}

void CStagePrintWord::CreateBitmapWord(std::string_view key, DevRect rect) {
  word_->InsertPicture(key, CreateBitmap(key, rect), rect.Width(), rect.Height());
}
