#include "stage/dialogs/ShearGraphFrame.h"

#include <QPainter>
#include <memory>
#include <utility>

#include "core/case/Case.h"
#include "core/geometry/ViewInfo.h"
#include "platform/qt/QtCanvas.h"

CShearGraphFrame::CShearGraphFrame(CCase& owner, Painter painter, QWidget* parent)
    : QWidget(parent), case_(owner), painter_(std::move(painter)) {}

QImage CShearGraphFrame::Render() const {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (image.isNull()) return image;
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
  CViewInfo view(case_.GetViewInfo());
  view.dc = canvas.get();
  view.rect = DevRect{0, 0, width(), height()};
  view.width = width();
  view.height = height();
  painter_(view, view.rect);
  return image;
}

void CShearGraphFrame::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), Render());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
