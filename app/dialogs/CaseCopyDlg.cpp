#include "app/dialogs/CaseCopyDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <string>

#include "app/document/DocumentFormat.h"
#include "core/base/AppIdentity.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/UiRegistry.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr int kPreviewMargin = 20;
constexpr QSize kPreviewSize(240, 160);

// Older documents are saved again by the program before they can serve as a source.
constexpr int kOldestSource = 10;

void Warn(const std::string& text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
}

QListWidget* CaseList(int id) {
  auto* list = new QListWidget;
  SetId(list, id);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

// "%2d %s": the slot number from 1 and the case name, one line per case; the current one selected.
void FillList(QListWidget& list, const CCaseArray& cases, int current) {
  const QSignalBlocker quiet(&list);
  list.clear();
  for (int i = 0; i < cases.GetSize(); ++i) {
    const std::string& name = cases.GetCase(i)->GetPrmJobsite().names[1];
    list.addItem(QString::asprintf("%2d ", i + 1) + QString::fromStdString(name));
  }
  if (current >= 0 && current < list.count()) list.setCurrentRow(current);
  // Room for every slot without scrolling.
  list.setMinimumHeight(list.sizeHintForRow(0) * list.count() + 2 * list.frameWidth());
}

int SelectedRow(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? CCaseCopyDlg::kNone : list.row(selected.front());
}

}  // namespace

// ---- CCasePreview ----

CCasePreview::CCasePreview(QWidget* parent) : QWidget(parent) {
  setMinimumSize(kPreviewSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCasePreview::SetCase(CCase* shown) {
  shown_ = shown;
  update();
}

void CCasePreview::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  if (shown_ != nullptr) {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    CViewInfo view;
    view.dc = canvas.get();
    view.rect = DevRect{0, 0, width(), height()};
    view.width = width();
    view.height = height();
    view.centreX = width() / 2;
    view.centreY = height() / 2;
    view.marginX = kPreviewMargin;
    view.marginY = kPreviewMargin;
    shown_->Draw(&view, 0);
  }
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), image);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- CCaseCopyDlg ----

CCaseCopyDlg::CCaseCopyDlg(CCaseArray& cases, QWidget* parent)
    : StageDialog(parent),
      cases_(cases),
      sourceIndex_(cases.GetActiveCaseID()),
      sourceList_(CaseList(1044)),
      targetList_(CaseList(1045)),
      sourcePreview_(new CCasePreview),
      targetPreview_(new CCasePreview),
      fileName_(new QLabel) {
  {
    const WaitCursor wait;
    backup_ = std::make_unique<CCaseBackup>(cases);
  }
  SetId(this, 329);
  setWindowTitle(QStringLiteral("ケースのコピー"));
  SetId(sourcePreview_, 1046);
  SetId(targetPreview_, 1047);
  SetId(fileName_, 1039);
  QPushButton* read = MakeButton("ファイル読込", 1041);
  QPushButton* copy = MakeButton("コピー →", 1049);

  auto* layout = new QGridLayout(this);
  auto* file = new QHBoxLayout;
  file->addWidget(read);
  file->addWidget(fileName_, 1);
  layout->addLayout(file, 0, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("コピー元")), 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("コピー先")), 1, 2);
  layout->addWidget(sourceList_, 2, 0);
  layout->addWidget(copy, 2, 1, Qt::AlignCenter);
  layout->addWidget(targetList_, 2, 2);
  layout->addWidget(sourcePreview_, 3, 0);
  layout->addWidget(targetPreview_, 3, 2);
  layout->addLayout(MakeOkCancelRow().layout, 4, 0, 1, 3);
  layout->setRowStretch(2, 1);
  layout->setRowStretch(3, 1);

  connect(read, &QPushButton::clicked, this, &CCaseCopyDlg::OnReadFile);
  connect(copy, &QPushButton::clicked, this, &CCaseCopyDlg::OnCopy);
  connect(sourceList_, &QListWidget::itemSelectionChanged, this, [this] {
    sourceIndex_ = SelectedRow(*sourceList_);
    ShowPreviews();
  });
  connect(targetList_, &QListWidget::itemSelectionChanged, this, [this] {
    targetIndex_ = SelectedRow(*targetList_);
    ShowPreviews();
  });
  FillLists();
  ShowPreviews();
}

void CCaseCopyDlg::FillLists() {
  FillList(*sourceList_, Source(), sourceIndex_);
  FillList(*targetList_, cases_, targetIndex_);
}

void CCaseCopyDlg::ShowPreviews() {
  const auto shown = [](const CCaseArray& cases, int index) {
    return index >= 0 && index < cases.GetSize() ? cases.GetCase(index) : nullptr;
  };
  sourcePreview_->SetCase(shown(Source(), sourceIndex_));
  targetPreview_->SetCase(shown(cases_, targetIndex_));
}

void CCaseCopyDlg::OnCopy() {
  if (sourceIndex_ == kNone) {
    Warn("コピー元のケースを選択してください");
    return;
  }
  if (targetIndex_ == kNone) {
    Warn("コピー先のケースを選択してください");
    return;
  }
  if (!fromFile_ && sourceIndex_ == targetIndex_) return;
  CCase& target = *cases_.GetCase(targetIndex_);
  const CCase& source = *Source().GetCase(sourceIndex_);
  if (target.GetInUse() != 0 &&
      Ui().MessageBox("コピー先のケースは既に使用されています。\nコピーを続行しますか？",
                      GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  const bool changesData = source.GetInUse() != 0 || target.GetInUse() != 0;
  ReplaceCase(target, source);
  if (changesData) target.SetModify(true);
  FillLists();
  ShowPreviews();
  copiedIndex_ = targetIndex_;
}

void CCaseCopyDlg::OnReadFile() {
  const FileDialogRequest request{kDocumentOpenFilter, kDocumentExtension, {}, {}};
  const std::optional<std::filesystem::path> path = Ui().FileDialog(FileDialogKind::Open, request);
  if (path) ReadSourceFile(*path);
}

void CCaseCopyDlg::ReadSourceFile(const std::filesystem::path& path) {
  CCaseArray read;
  try {
    Archive archive = Archive::FromFile(path);
    const DocumentEnvelope envelope = ReadDocumentEnvelope(archive);
    if (envelope.magic != kDocumentMagic) {
      Warn(ForeignFileMessage());
      return;
    }
    if (envelope.version < kOldestSource) {
      Warn(
          "旧バージョンのファイルは読み込めません。\n本システムで一度保存してから読み込んでください"
          "。");
      return;
    }
    if (envelope.version > kDocumentVersion) {
      Warn(NewerVersionMessage(envelope.version));
      return;
    }
    // The list keeps the rounding rules it was stored with; the program's own stay in force.
    read.Load(archive, envelope.version, true);
  } catch (const ArchiveException& failure) {
    Warn(LoadFailedMessage(failure, path));
    return;
  }
  fileCases_ = std::move(read);
  fromFile_ = true;
  fileName_->setText(QString::fromStdString(path.filename().string()));
  FillLists();
  ShowPreviews();
}

void CCaseCopyDlg::OnCancel() {
  if (copiedIndex_ != kNone) {
    const WaitCursor wait;
    backup_->Restore(cases_);
  }
  StageDialog::OnCancel();
}
