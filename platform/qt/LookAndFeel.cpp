#include "platform/qt/LookAndFeel.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QStyleFactory>

namespace {

// The Windows faces that dialogs, labels and drawings name; none exists here.
const QStringList& WindowsFaces() {
  static const QStringList faces = {
      QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"),
      QStringLiteral("MS UI Gothic"),  QStringLiteral("MS Gothic"),
      QStringLiteral("MS PGothic"),    QStringLiteral("MS Shell Dlg"),
      QStringLiteral("MS Shell Dlg 2")};
  return faces;
}

}  // namespace

void InstallLookAndFeel() {
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  for (const QString& face : WindowsFaces()) QFont::insertSubstitution(face, kUiFontFamily);
  QFont font(kUiFontFamily);
  font.setPointSize(9);
  QApplication::setFont(font);
}
