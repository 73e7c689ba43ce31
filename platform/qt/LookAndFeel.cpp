#include "platform/qt/LookAndFeel.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QStyleFactory>
#include <QTranslator>

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

// Qt's own texts in Japanese, whatever the user's locale: the standard buttons (はい, いいえ,
// キャンセル), the file, print and preview dialogs. The translator lives as long as the
// application. Without the translations installed Qt keeps its English texts.
void InstallQtJapaneseTexts() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

void InstallLookAndFeel() {
  InstallQtJapaneseTexts();
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  for (const QString& face : WindowsFaces()) QFont::insertSubstitution(face, kUiFontFamily);
  QFont font(kUiFontFamily);
  font.setPointSize(9);
  QApplication::setFont(font);
}
