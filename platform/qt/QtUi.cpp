#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QUrl>
#include <system_error>
#include <utility>

#include "platform/qt/QtProgressWindow.h"

namespace {

// The window a box or dialog belongs to: the modal window on top, else the active window.
QWidget* OwnerWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::StandardButtons ToStandardButtons(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return QMessageBox::Ok;
    case MsgButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton ToStandardButton(MsgResult result) {
  switch (result) {
    case MsgResult::Ok:
      return QMessageBox::Ok;
    case MsgResult::Cancel:
      return QMessageBox::Cancel;
    case MsgResult::Yes:
      return QMessageBox::Yes;
    case MsgResult::No:
      return QMessageBox::No;
    case MsgResult::Retry:
      return QMessageBox::Retry;
    case MsgResult::Abort:
      return QMessageBox::Abort;
    case MsgResult::Ignore:
      return QMessageBox::Ignore;
  }
  return QMessageBox::NoButton;
}

std::optional<MsgResult> FromStandardButton(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return MsgResult::Ok;
    case QMessageBox::Cancel:
      return MsgResult::Cancel;
    case QMessageBox::Yes:
      return MsgResult::Yes;
    case QMessageBox::No:
      return MsgResult::No;
    case QMessageBox::Retry:
      return MsgResult::Retry;
    case QMessageBox::Abort:
      return MsgResult::Abort;
    case QMessageBox::Ignore:
      return MsgResult::Ignore;
    default:
      return std::nullopt;
  }
}

QMessageBox::Icon ToQIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None:
      return QMessageBox::NoIcon;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Error:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// The progress window of one run, deleted with this object unless something else deleted it
// first.
class QtProgressWindow : public ProgressWindow {
 public:
  QtProgressWindow() : dialog_(new CQtProgressWindow) {}
  ~QtProgressWindow() override { delete dialog_.data(); }
  QtProgressWindow(const QtProgressWindow&) = delete;
  QtProgressWindow& operator=(const QtProgressWindow&) = delete;

  void Show() override {
    if (dialog_) dialog_->show();
  }
  void Hide() override {
    if (dialog_) dialog_->hide();
  }
  bool IsVisible() const override { return dialog_ && dialog_->isVisible(); }
  void SetLines(const std::string& line1, const std::string& line2) override {
    if (dialog_) dialog_->SetText(QString::fromStdString(line1), QString::fromStdString(line2));
  }
  void SetRange(int lo, int hi) override {
    if (dialog_) dialog_->SetRange(lo, hi);
  }
  int RangeLow() const override { return dialog_ ? dialog_->RangeLow() : 0; }
  int RangeHigh() const override { return dialog_ ? dialog_->RangeHigh() : 0; }
  void SetPosition(int position) override {
    if (dialog_) dialog_->SetValue(position);
  }
  void EnableCancel(bool enable) override {
    if (dialog_) dialog_->EnableCancel(enable);
  }

 private:
  QPointer<CQtProgressWindow> dialog_;
};

QString PatternsOf(const QString& patterns) {
  QStringList list;
  for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (trimmed.isEmpty()) continue;
    list.append(trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
  }
  return list.join(u' ');
}

bool IsPattern(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

std::filesystem::path ToPath(const QString& file) {
  return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString FromPath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

QStringList NameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    if (name.isEmpty()) break;  // "||" ends the list
    const QString patterns = PatternsOf(parts[i + 1]);
    // Qt reads a filter's patterns from the last brackets of its text.
    static const QRegularExpression patternsInName(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString shown = name;
    shown.remove(patternsInName);
    filters.append(shown.isEmpty() ? QStringLiteral("(%1)").arg(patterns)
                                   : QStringLiteral("%1 (%2)").arg(shown, patterns));
  }
  return filters;
}

QtUi::~QtUi() {
  for (; waitCursors_ > 0; --waitCursors_) QGuiApplication::restoreOverrideCursor();
}

MsgResult QtUi::MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                           MsgIcon icon) {
  QMessageBox box(ToQIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  ToStandardButtons(buttons), OwnerWindow());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(ToStandardButton(DefaultButton(buttons)));
  return FromStandardButton(box.exec()).value_or(DefaultButton(buttons));
}

std::intptr_t QtUi::SendToFrame(FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) {
  return DeliverToFrame(frameReceiver_, message, wParam, lParam);
}

void QtUi::SetFrameReceiver(FrameReceiver receiver) { frameReceiver_ = std::move(receiver); }

void QtUi::BeginWaitCursor() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  ++waitCursors_;
}

void QtUi::EndWaitCursor() {
  if (waitCursors_ == 0) return;
  QGuiApplication::restoreOverrideCursor();
  --waitCursors_;
}

std::unique_ptr<ProgressWindow> QtUi::CreateProgressWindow() {
  return std::make_unique<QtProgressWindow>();
}

std::optional<std::filesystem::path> QtUi::FileDialog(FileDialogKind kind,
                                                      const FileDialogRequest& request) {
  QFileDialog dialog(OwnerWindow());
  if (kind == FileDialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  }
  const QStringList filters = NameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (!request.folder.empty()) dialog.setDirectory(FromPath(request.folder));
  // A pattern as the name only narrows the list, which the filters already do.
  if (!request.defaultName.empty() && !IsPattern(request.defaultName)) {
    dialog.selectFile(QString::fromStdString(request.defaultName));
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return ToPath(chosen.front());
}

bool QtUi::OpenInViewer(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(file)));
}

bool QtUi::SetClipboardText(const std::string& utf8) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  const QString text = QString::fromStdString(utf8);
  clipboard->setText(text);
  return clipboard->text() == text;
}

std::optional<std::string> QtUi::ClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return std::nullopt;
  const QMimeData* data = clipboard->mimeData();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text().toStdString();
}

std::optional<std::string> QtUi::InputBox(const std::string& prompt, const std::string& caption,
                                          const std::string& initial) {
  QInputDialog dialog(OwnerWindow());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(QString::fromStdString(caption));
  dialog.setLabelText(QString::fromStdString(prompt));
  dialog.setTextValue(QString::fromStdString(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

void QtUi::Beep() { QApplication::beep(); }
