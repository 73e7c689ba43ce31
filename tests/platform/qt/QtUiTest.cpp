// The Qt services behind Ui(), driven offscreen. The boxes and dialogs they run modal are found
// by a zero-time timer once their event loop runs; a box that is not there fails the test and
// whatever modal window is up is closed, so no test can hang.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/UiRegistry.h"
#include "platform/qt/QtProgressWindow.h"
#include "platform/qt/QtUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// ---- Message boxes ----

struct BoxCase {
  MsgButtons buttons;
  MsgIcon icon;
  QMessageBox::StandardButtons shown;
  QMessageBox::Icon qtIcon;
  QMessageBox::StandardButton first;
  QMessageBox::StandardButton pressed;
  MsgResult answer;
};

TEST(QtUiTest, AMessageBoxShowsItsCaptionTextButtonsAndIconAndAnswersTheButtonPressed) {
  const BoxCase cases[] = {
      {MsgButtons::Ok, MsgIcon::Information, QMessageBox::Ok, QMessageBox::Information,
       QMessageBox::Ok, QMessageBox::Ok, MsgResult::Ok},
      {MsgButtons::OkCancel, MsgIcon::Warning, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Cancel, MsgResult::Cancel},
      {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Question, QMessageBox::Yes, QMessageBox::No, MsgResult::No},
      {MsgButtons::YesNoCancel, MsgIcon::Question,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question,
       QMessageBox::Yes, QMessageBox::Yes, MsgResult::Yes},
      {MsgButtons::RetryCancel, MsgIcon::Error, QMessageBox::Retry | QMessageBox::Cancel,
       QMessageBox::Critical, QMessageBox::Retry, QMessageBox::Retry, MsgResult::Retry},
      {MsgButtons::AbortRetryIgnore, MsgIcon::None,
       QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::NoIcon,
       QMessageBox::Abort, QMessageBox::Ignore, MsgResult::Ignore},
  };
  QtUi ui;
  for (const BoxCase& c : cases) {
    OnNextModal<QMessageBox>([&c](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), QStringLiteral("Brixo"));
      EXPECT_EQ(box.text(), QStringLiteral("<b>保存</b>しますか？")) << "shown as plain text";
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      EXPECT_EQ(box.standardButtons(), c.shown);
      EXPECT_EQ(box.icon(), c.qtIcon);
      EXPECT_EQ(box.defaultButton(), box.button(c.first));
      QTest::mouseClick(box.button(c.pressed), Qt::LeftButton);
    });
    EXPECT_EQ(ui.MessageBox("<b>保存</b>しますか？", "Brixo", c.buttons, c.icon), c.answer);
  }
}

TEST(QtUiTest, EnterInAMessageBoxPressesTheFirstButtonAndEscapeCancels) {
  QtUi ui;
  OnNextModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
  EXPECT_EQ(ui.MessageBox("?", "Brixo", MsgButtons::YesNoCancel, MsgIcon::Question),
            MsgResult::Yes);
  OnNextModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(ui.MessageBox("?", "Brixo", MsgButtons::YesNoCancel, MsgIcon::Question),
            MsgResult::Cancel);
}

// ---- The progress window ----

CQtProgressWindow* ShowingProgressWindow() {
  return qobject_cast<CQtProgressWindow*>(QApplication::activeModalWidget());
}

template <typename Control>
Control* Ctl(const QWidget& window, const char* id) {
  const QList<Control*> found = window.findChildren<Control*>(QString::fromLatin1(id));
  if (found.size() != 1) {
    ADD_FAILURE() << found.size() << " controls with the id " << id;
    return nullptr;
  }
  return found.front();
}

TEST(QtUiTest, TheProgressWindowShowsItsLinesAndBarAndBlocksEveryOtherWindow) {
  QWidget other;
  other.resize(200, 100);
  auto* button = new QPushButton(QStringLiteral("押す"), &other);
  button->setGeometry(10, 10, 80, 30);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
  other.show();
  const auto clickOther = [&] {
    QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
  };

  QtUi ui;
  const std::unique_ptr<ProgressWindow> window = ui.CreateProgressWindow();
  EXPECT_FALSE(window->IsVisible()) << "hidden until shown";
  window->SetLines("すべり面 3/10", "安全率の計算");
  window->SetRange(0, 200);
  window->SetPosition(50);
  window->Show();

  CQtProgressWindow* dialog = ShowingProgressWindow();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(dialog->parent(), nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("計算中"));
  EXPECT_EQ(Ctl<QLabel>(*dialog, "2100")->text(), QStringLiteral("すべり面 3/10"));
  EXPECT_EQ(Ctl<QLabel>(*dialog, "2101")->text(), QStringLiteral("安全率の計算"));
  EXPECT_EQ(Ctl<QProgressBar>(*dialog, "2102")->value(), 50);
  EXPECT_EQ(window->RangeLow(), 0);
  EXPECT_EQ(window->RangeHigh(), 200);
  EXPECT_EQ(Ctl<QPushButton>(*dialog, "2")->text(), QStringLiteral("キャンセル"));

  clickOther();
  EXPECT_EQ(clicks, 0) << "the other window gets no input while the progress window shows";
  window->Hide();
  clickOther();
  EXPECT_EQ(clicks, 1) << "and gets it again once the window is gone";
}

TEST(QtUiTest, WithCancelDisabledNothingCancels) {
  QtUi ui;
  const std::unique_ptr<ProgressWindow> window = ui.CreateProgressWindow();
  window->EnableCancel(false);
  window->Show();
  CQtProgressWindow* dialog = ShowingProgressWindow();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Ctl<QPushButton>(*dialog, "2")->isEnabled());
  QTest::keyClick(dialog, Qt::Key_Escape);
  dialog->close();
  EXPECT_TRUE(window->IsVisible());
}

TEST(QtUiTest, ClosingTheMainWindowDuringARunDeletesTheProgressWindowOnce) {
  QtUi ui;
  auto* frame = new QMainWindow;
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->show();
  const std::unique_ptr<ProgressWindow> window = ui.CreateProgressWindow();
  window->Show();
  const QPointer<CQtProgressWindow> dialog = ShowingProgressWindow();
  ASSERT_FALSE(dialog.isNull());

  frame->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(dialog.isNull()) << "the run's window outlives the main window";
  EXPECT_TRUE(window->IsVisible());

  // Whatever destroys the window behind the run's back, the run sees a cancel and its end
  // deletes nothing twice.
  delete dialog.data();
  EXPECT_FALSE(window->IsVisible());
  window->SetLines("a", "b");
  window->SetPosition(3);
}

// ---- Frame messages, wait cursor ----

TEST(QtUiTest, FrameMessagesGoSynchronouslyToTheRegisteredReceiver) {
  QtUi ui;
  EXPECT_EQ(ui.SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0), 0) << "no frame yet";
  std::vector<FrameMsg> received;
  ui.SetFrameReceiver([&](FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) {
    received.push_back(message);
    return static_cast<std::intptr_t>(wParam) * 10 + lParam;
  });
  EXPECT_EQ(ui.SendToFrame(FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 2), 12);
  EXPECT_EQ(received, std::vector<FrameMsg>{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE});
}

TEST(QtUiTest, WaitCursorsNest) {
  {
    QtUi ui;
    ui.EndWaitCursor();  // one too many: ignored
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.EndWaitCursor();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    ui.EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ui.BeginWaitCursor();
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the services take theirs back";
}

// ---- Clipboard, viewer, input box ----

TEST(QtUiTest, TheClipboardHoldsTheText) {
  QtUi ui;
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(ui.ClipboardText(), std::nullopt);
  EXPECT_TRUE(ui.SetClipboardText("1.000\t2.5\n表土\t18.0\n"));
  EXPECT_EQ(ui.ClipboardText(), "1.000\t2.5\n表土\t18.0\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1.000\t2.5\n表土\t18.0\n"));
}

class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened.push_back(url); }
};

TEST(QtUiTest, AFileOpensInTheDesktopsViewerOnlyWhenItExists) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath(QStringLiteral("報告書.docx"));
  QFile(file).open(QIODevice::WriteOnly);
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
  QtUi ui;
  EXPECT_TRUE(ui.OpenInViewer(QFile::encodeName(file).toStdString()));
  EXPECT_FALSE(ui.OpenInViewer(QFile::encodeName(file + "x").toStdString()));
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  EXPECT_EQ(catcher.opened, std::vector<QUrl>{QUrl::fromLocalFile(file)});
}

TEST(QtUiTest, TheInputBoxAsksWithItsCaptionAndPrompt) {
  QtUi ui;
  OnNextModal<QInputDialog>([](QInputDialog& box) {
    EXPECT_EQ(box.windowTitle(), QStringLiteral("地層境界の追加"));
    EXPECT_EQ(box.labelText(), QStringLiteral("名前"));
    EXPECT_EQ(box.textValue(), QStringLiteral("層1"));
    box.setTextValue(QStringLiteral("層2"));
    box.accept();
  });
  EXPECT_EQ(ui.InputBox("名前", "地層境界の追加", "層1"), "層2");
  OnNextModal<QInputDialog>([](QInputDialog& box) { box.reject(); });
  EXPECT_EQ(ui.InputBox("名前", "地層境界の追加", "層1"), std::nullopt);
}

// ---- File dialogs ----

TEST(QtUiTest, FileFiltersBecomeQtNameFilters) {
  const std::pair<const char*, QStringList> cases[] = {
      {"土質設定ファイル (*.sxg)|*.sxg||", {QStringLiteral("土質設定ファイル (*.sxg)")}},
      {"CSV|*.csv;*.txt|すべてのファイル (*.*)|*.*||",
       {QStringLiteral("CSV (*.csv *.txt)"), QStringLiteral("すべてのファイル (*)")}},
      {"Word (*.docx)|*.docx", {QStringLiteral("Word (*.docx)")}},  // without the closing "||"
      {"|*.dxf||", {}},
      {"", {}},
      {"名前だけ", {}},
  };
  for (const auto& [filter, expected] : cases) {
    EXPECT_EQ(NameFilters(filter), expected) << filter;
  }
}

TEST(QtUiTest, AnOpenDialogOffersTheFiltersInTheFolderAndReturnsTheChosenFile) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString existing = folder.filePath(QStringLiteral("現場.sxg"));
  QFile(existing).open(QIODevice::WriteOnly);
  const std::filesystem::path folderPath = QFile::encodeName(folder.path()).toStdString();
  QtUi ui;

  OnNextModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("土質設定ファイル (*.sxg)")});
    EXPECT_EQ(QDir(dialog.directory()), QDir(folder.path()));
    dialog.selectFile(existing);
    static_cast<QDialog&>(dialog).accept();  // as the Open button does
  });
  EXPECT_EQ(ui.FileDialog(FileDialogKind::Open,
                          {"土質設定ファイル (*.sxg)|*.sxg||", "sxg", folderPath, "*.sxg"}),
            std::filesystem::path(QFile::encodeName(existing).toStdString()));

  OnNextModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(ui.FileDialog(FileDialogKind::Open, {"CSV|*.csv||", "csv", folderPath, ""}),
            std::nullopt);
}

TEST(QtUiTest, ASaveDialogProposesTheNameAndAddsTheDefaultExtension) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::filesystem::path folderPath = QFile::encodeName(folder.path()).toStdString();
  QtUi ui;
  OnNextModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("xlsx"));
    EXPECT_EQ(dialog.selectedFiles(), QStringList{QDir(folder.path()).filePath("結果.xlsx")});
    dialog.selectFile(QStringLiteral("結果2"));
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
  });
  EXPECT_EQ(
      ui.FileDialog(FileDialogKind::Save, {"Excel|*.xlsx||", "xlsx", folderPath, "結果.xlsx"}),
      folderPath / "結果2.xlsx");
}

}  // namespace

#include "QtUiTest.moc"
