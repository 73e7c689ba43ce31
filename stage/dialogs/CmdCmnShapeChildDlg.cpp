#include "stage/dialogs/CmdCmnShapeChildDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/section/SpStratum.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"
#include "stage/dialogs/InputBoxDlg.h"

namespace {

constexpr Color kOpenCells{0xFFFFFF};
constexpr Color kGreyedCells{0xA0A0A0};

void Warn(const std::string& text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace

CCmdCmnShapeChildDlg::CCmdCmnShapeChildDlg(QWidget* parent)
    : CShapeGridPage(parent),
      boundaryControls_(new QWidget(this)),
      label_(new QLabel(QStringLiteral("境界線名"), boundaryControls_)),
      list_(new QComboBox(boundaryControls_)),
      add_(new QPushButton(QStringLiteral("追加"), boundaryControls_)),
      rename_(new QPushButton(QStringLiteral("変更"), boundaryControls_)),
      delete_(new QPushButton(QStringLiteral("削除"), boundaryControls_)) {
  setObjectName(QStringLiteral("CCmdCmnShapeChildDlg"));
  SetId(label_, 4225);
  SetId(list_, 4217);
  SetId(add_, 4219);
  SetId(rename_, 4220);
  SetId(delete_, 4221);
  list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list_->setMinimumContentsLength(10);

  auto* controls = new QGridLayout(boundaryControls_);
  controls->setContentsMargins(0, 0, 0, 0);
  controls->addWidget(label_, 0, 0);
  controls->addWidget(list_, 0, 1, 1, 3);
  controls->addWidget(add_, 1, 1);
  controls->addWidget(rename_, 1, 2);
  controls->addWidget(delete_, 1, 3);
  // The grid stands at the same place on both section line pages.
  QSizePolicy keepPlace = boundaryControls_->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  boundaryControls_->setSizePolicy(keepPlace);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(boundaryControls_);
  layout->addWidget(grid_, 1);

  connect(add_, &QPushButton::clicked, this, &CCmdCmnShapeChildDlg::OnAdd);
  connect(rename_, &QPushButton::clicked, this, &CCmdCmnShapeChildDlg::OnRename);
  connect(delete_, &QPushButton::clicked, this, &CCmdCmnShapeChildDlg::OnDelete);
  connect(list_, &QComboBox::activated, this, &CCmdCmnShapeChildDlg::OnListActivated);
}

void CCmdCmnShapeChildDlg::SetMode(int mode) {
  mode_ = mode;
  boundaryControls_->setVisible(mode_ == 1);
}

void CCmdCmnShapeChildDlg::LoadPage() {
  if (mode_ == 1 && case_ != nullptr) case_->GetStratum().SetActiveShapeID(current_);
  CShapeGridPage::LoadPage();
}

void CCmdCmnShapeChildDlg::FillBoundaryList() {
  if (mode_ != 1 || case_ == nullptr) return;
  const CDPolyArray& strata = case_->GetStratum();
  list_->clear();
  for (int i = 0; i < strata.GetSize(); ++i) {
    list_->addItem(QString::fromStdString(strata.GetAt(i)->GetName()));
  }
  const bool any = !strata.IsEmpty();
  grid_->setEnabled(any);
  grid_->SetBackColor(
      SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll, CSheetGrid::kAll, CSheetGrid::kAll),
      any ? kOpenCells : kGreyedCells);
  rename_->setEnabled(any);
  delete_->setEnabled(any);
  list_->setCurrentIndex(any ? 0 : -1);
  list_->setEnabled(any);
}

void CCmdCmnShapeChildDlg::TakeListSelection() {
  if (mode_ == 1) current_ = list_->currentIndex();
}

CDPoly* CCmdCmnShapeChildDlg::EditedLine() const {
  if (case_ == nullptr) return nullptr;
  if (mode_ == 0) return &case_->GetGround();
  CDPolyArray& strata = case_->GetStratum();
  return mode_ == 1 && current_ >= 0 && current_ < strata.GetSize() ? strata.GetAt(current_)
                                                                    : nullptr;
}

void CCmdCmnShapeChildDlg::AfterCellChange() {
  if (case_ != nullptr) case_->SetGridAutoRange();
}

bool CCmdCmnShapeChildDlg::MenuAvailable() const {
  return mode_ != 1 || (case_ != nullptr && !case_->GetStratum().IsEmpty());
}

void CCmdCmnShapeChildDlg::OnAdd() {
  if (case_ == nullptr) return;
  CDPolyArray& strata = case_->GetStratum();
  const std::optional<std::string> name =
      AskName("地層境界の追加", "追加する境界線名を入力してください",
              "地層線" + IntToStr(strata.GetSize() + 1));
  if (!name || !IsNameAccepted(*name, -1)) return;
  StorePage();
  auto line = std::make_unique<CSpStratumLine>();
  line->SetName(*name);
  const int index = strata.Add(std::move(line));
  FillBoundaryList();
  SelectBoundary(index);
  LoadPage();
  grid_->SetActiveCell(1, 1);
  Highlight(0, -1);
  RedrawSection();
}

void CCmdCmnShapeChildDlg::OnRename() {
  CDPoly* line = EditedLine();
  if (mode_ != 1 || line == nullptr) return;
  const std::optional<std::string> name =
      AskName("地層境界名の変更", "変更したい地層境界名を入力してください", line->GetName());
  if (!name || !IsNameAccepted(*name, current_)) return;
  line->SetName(*name);
  FillBoundaryList();
  SelectBoundary(current_);
}

void CCmdCmnShapeChildDlg::OnDelete() {
  const CDPoly* line = EditedLine();
  if (mode_ != 1 || line == nullptr) return;
  const MsgResult answer =
      Ui().MessageBox("地層境界 " + line->GetName() + " を削除します。よろしいですか？",
                      GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question);
  if (answer != MsgResult::Ok) return;
  CDPolyArray& strata = case_->GetStratum();
  strata.RemoveAt(current_);
  FillBoundaryList();
  SelectBoundary(std::min(current_, strata.GetSize() - 1));
  LoadPage();
  RedrawSection();
}

void CCmdCmnShapeChildDlg::OnListActivated(int index) {
  if (index == current_) return;
  StorePage();
  current_ = index;
  LoadPage();
  RedrawSection();
}

std::optional<std::string> CCmdCmnShapeChildDlg::AskName(const std::string& caption,
                                                         const std::string& prompt,
                                                         const std::string& initial) {
  CInputBoxDlg box(this);
  box.SetText(caption, prompt, initial);
  if (RunModal(box) != QDialog::Accepted) return std::nullopt;
  return box.Result();
}

bool CCmdCmnShapeChildDlg::IsNameAccepted(const std::string& name, int self) const {
  if (name.empty()) {
    Warn("境界線名を入力してください。");
    return false;
  }
  const CDPolyArray& strata = case_->GetStratum();
  for (int i = 0; i < strata.GetSize(); ++i) {
    if (i != self && strata.GetAt(i)->GetName() == name) {
      Warn("名称が重複しています。別の名前を指定してください。");
      return false;
    }
  }
  return true;
}

void CCmdCmnShapeChildDlg::SelectBoundary(int index) {
  list_->setCurrentIndex(index);
  TakeListSelection();
}
