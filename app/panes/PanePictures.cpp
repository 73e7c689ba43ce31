#include "app/panes/PanePictures.h"

#include <QPainter>
#include <QPixmap>

#include "stage/controls/ExpButton.h"
#include "stage/controls/QtColor.h"

namespace {

constexpr Color kFace{0xF8F9EB};
constexpr Color kPressedFace{0xEDFDA5};
constexpr Color kFrame{0x7A7A7A};
constexpr Color kText{0x602000};
constexpr Color kDisabledText{0xA0A0A0};

enum class Look { kRaised, kSunken, kDisabled };
constexpr int kPadding = 6;

QPixmap Picture(const QFont& font, const QString& caption, QSize size, Look look) {
  // One pixel per logical pixel: the button centres its pictures by their pixel size, and the
  // painter scales them on a high-resolution screen.
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF face = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(ToQColor(kFrame));
  painter.setBrush(ToQColor(look == Look::kSunken ? kPressedFace : kFace));
  painter.drawRoundedRect(face, 4, 4);
  painter.setFont(font);
  painter.setPen(ToQColor(look == Look::kDisabled ? kDisabledText : kText));
  const int shift = look == Look::kSunken ? 1 : 0;
  painter.drawText(face.translated(shift, shift), Qt::AlignCenter, caption);
  return picture;
}

}  // namespace

void SetPaneButtonPictures(CExpButton& button, const QString& caption) {
  const QSize text = button.fontMetrics().size(0, caption);
  const QSize size = text + QSize(2 * kPadding, 2 * kPadding);
  button.m_bmpNormal = Picture(button.font(), caption, size, Look::kRaised);
  button.m_bmpPush = Picture(button.font(), caption, size, Look::kSunken);
  button.m_bmpDisable = Picture(button.font(), caption, size, Look::kDisabled);
  button.m_bDisableBitmap = true;
  button.setFixedSize(size);
}
