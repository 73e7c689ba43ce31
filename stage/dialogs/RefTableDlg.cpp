#include "stage/dialogs/RefTableDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {}  // namespace

RefTableForm::RefTableForm(const RefTableIds& ids, const RefTableTexts& texts, Mode mode,
                           QWidget* parent)
    : StageDialog(parent),
      grid_(new CSheetGrid),
      fileName_(new CExpEdit),
      comment_(new CExpEdit),
      load_(MakeButton("読込", ids.load)),
      save_(MakeButton("保存", ids.save)),
      factory_(MakeButton("初期値に戻す", ids.factory)),
      add_(MakeButton("追加", ids.add)),
      insert_(MakeButton("挿入", ids.insert)),
      delete_(MakeButton("削除", ids.remove)),
      buttons_(MakeOkCancelRow({add_, insert_, delete_}, {.ok = "代入"})),
      mode_(mode) {
  setWindowTitle(QString::fromUtf8(texts.title));
  SetId(grid_, ids.grid);
  SetId(fileName_, ids.fileName);
  SetId(comment_, ids.comment);
  fileName_->SetReadOnly(true);
  BuildLayout(texts);
  ApplyMode();
}

void RefTableForm::BuildLayout(const RefTableTexts& texts) {
  auto* files = new QGroupBox(QStringLiteral("ファイル管理"));
  auto* fileLayout = new QGridLayout(files);
  fileLayout->addWidget(MakeLabel("ファイル名"), 0, 0);
  fileLayout->addWidget(fileName_, 0, 1, 1, 3);
  fileLayout->addWidget(MakeLabel("コメント"), 1, 0);
  fileLayout->addWidget(comment_, 1, 1, 1, 3);
  auto* fileButtons = new QHBoxLayout;
  fileButtons->addStretch();
  for (QPushButton* button : {load_, save_, factory_}) fileButtons->addWidget(button);
  fileLayout->addLayout(fileButtons, 2, 0, 1, 4);
  fileLayout->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(files);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons_.layout);

  setTabOrder(comment_, load_);
  setTabOrder(load_, save_);
  setTabOrder(save_, factory_);
  setTabOrder(factory_, grid_);
  setTabOrder(grid_, add_);
  setTabOrder(add_, insert_);
  setTabOrder(insert_, delete_);
  setTabOrder(delete_, buttons_.ok);
  setTabOrder(buttons_.ok, buttons_.cancel);
  resize(texts.width, texts.height);
}

void RefTableForm::ApplyMode() {
  if (IsPicker()) {
    // The picker works on a copy: nothing it does may reach the program's table or its files.
    for (QPushButton* hidden : {save_, add_, insert_, delete_, load_, factory_}) hidden->hide();
    grid_->SetSelMode(SheetSelMode::SingleRow);
    comment_->SetReadOnly(true);
  } else {
    buttons_.cancel->setText(QStringLiteral("閉じる"));
    buttons_.ok->hide();
  }
}
