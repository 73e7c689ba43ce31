#include "stage/dialogs/RefStabGraphCPhiDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <memory>

#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "platform/qt/QtCanvas.h"
#include "stage/controls/ExpEdit.h"

namespace {

constexpr Color kReadOnly{0xB8FFFF};
constexpr QSize kFigureSize(420, 320);

int Digit(int code) { return CCoreConfig::GetUnitFilter().Digit(code); }

CExpEdit* ShownField(int id, double max, int maxBytes, int decimals, double value) {
  CExpEdit* field = MakeDecimalField(id, 0, max, maxBytes, decimals);
  field->SetReadOnlyColor(kReadOnly);
  field->SetReadOnly(true);
  field->SetDouble(value);
  // Room for the longest text the field takes.
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(maxBytes + 1, '0')));
  return field;
}

}  // namespace

CCPhiFigure::CCPhiFigure(CCase& shown, QWidget* parent) : QWidget(parent), case_(shown) {
  setMinimumSize(kFigureSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCPhiFigure::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    CViewInfo view(case_.GetViewInfo());
    view.dc = canvas.get();
    view.rect = DevRect{0, 0, width(), height()};
    view.width = width();
    view.height = height();
    case_.GetResStabGyaku().DrawCFai(&view, view.rect);
  }
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), image);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

CRefStabGraphCPhiDlg::CRefStabGraphCPhiDlg(CCase& shown, QWidget* parent) : StageDialog(parent) {
  setWindowTitle(QStringLiteral("cφ関係図"));
  const CMltPoint* registered = shown.GetResStabGyaku().GetSelectRepPt(0);
  const auto* point = dynamic_cast<const CMltPointGyaku*>(registered);
  auto* figure = new CCPhiFigure(shown);
  SetId(figure, 5483);
  auto* phi = ShownField(5294, 999.9999, 8, Digit(161), point ? point->phi : kNoValue);
  auto* tanPhi = ShownField(5484, 99.999999, 9, Digit(162), point ? point->tanPhi : kNoValue);
  auto* c = ShownField(5372, 9999.999, 8, Digit(131), point ? point->c : kNoValue);

  auto* fields = new QGridLayout;
  const auto addRow = [fields](int row, const char* name, const char* symbol, QWidget* field,
                               const char* unit) {
    fields->addWidget(new QLabel(QString::fromUtf8(name)), row, 0);
    fields->addWidget(new QLabel(QString::fromUtf8(symbol)), row, 1);
    fields->addWidget(new QLabel(QStringLiteral("=")), row, 2);
    fields->addWidget(field, row, 3);
    fields->addWidget(new QLabel(QString::fromUtf8(unit)), row, 4);
  };
  addRow(0, "内部摩擦角", "φ", phi, "(°)");
  addRow(1, "", "tanφ", tanPhi, "");
  addRow(2, "粘着力 (逆算)", "c", c, "(kN/m2)");
  fields->setRowStretch(3, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(figure, 1);
  body->addLayout(fields);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(MakeOkCancelRow({}, {.cancel = "閉じる"}).layout);
}
