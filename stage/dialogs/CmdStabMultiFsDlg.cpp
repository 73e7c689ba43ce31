#include "stage/dialogs/CmdStabMultiFsDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>
#include <cstdio>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/model/PrmStab.h"
#include "core/stability/BlockList.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/MarchRunner.h"
#include "stage/StageManage.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ResizeManage.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefStabFilterBlockDlg.h"
#include "stage/dialogs/ResStabGraphMultiFsDlg.h"
#include "stage/output/ExportSelectDlg.h"

namespace {

constexpr int kColumnCount = 10;
constexpr int kNormalCheckCol = 1;
constexpr int kQuakeCheckCol = 2;
constexpr int kStartCol = 3;
constexpr int kEndCol = 4;
constexpr int kNormalFsCol = 7;
constexpr int kQuakeFsCol = 10;
constexpr int kFsCode = 163;
constexpr int kFstpCode = 164;
constexpr int kForceDecimals = 2;

constexpr Color kWhite{0xFFFFFF};
constexpr Color kLowestBack{0x40E6C8};

// The columns of one load case: S, T and Fs, with the point's values and typical flag.
struct CaseColumns {
  int firstCol;
  double CMltPoint::*s;
  double CMltPoint::*t;
  double CMltPoint::*fs;
  int CMltPoint::*typical;
};
constexpr std::array<CaseColumns, 2> kCases{{
    {5, &CMltPoint::sN, &CMltPoint::tN, &CMltPoint::fsN, &CMltPoint::typicalN},
    {8, &CMltPoint::sQ, &CMltPoint::tQ, &CMltPoint::fsQ, &CMltPoint::typicalQ},
}};

// The key item each column sorts by; the row-header column sorts by the result id.
constexpr std::array<int, kColumnCount + 1> kSortItems{-1, 0, 1, 2, 3, 7, 8, 9, 10, 11, 12};

int SortItemOf(int col) {
  return col >= 1 && col <= kColumnCount ? kSortItems.at(static_cast<std::size_t>(col)) : -1;
}

struct Header {
  int row;
  const char* text;
};
constexpr std::array<Header, kColumnCount> kHeaders{{
    {CSheetGrid::kHeaderRow2, "常時"},
    {CSheetGrid::kHeaderRow2, "地震時"},
    {CSheetGrid::kHeaderRow, "始点\nブロック"},
    {CSheetGrid::kHeaderRow, "終点\nブロック"},
    {CSheetGrid::kHeaderRow2, "すべり\n抵抗力\nS (kN/m)"},
    {CSheetGrid::kHeaderRow2, "滑動力\nT (kN/m)"},
    {CSheetGrid::kHeaderRow2, "安全率\nFs"},
    {CSheetGrid::kHeaderRow2, "すべり\n抵抗力\nS (kN/m)"},
    {CSheetGrid::kHeaderRow2, "滑動力\nT (kN/m)"},
    {CSheetGrid::kHeaderRow2, "安全率\nFst"},
}};
// The shorter text of the resistance headers under an order mark.
constexpr const char* kMarkedResistance = "抵抗力\nS (kN/m)";

constexpr const char* kNoResults = "計算結果がありません";

void Inform(const std::string& text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::Information);
}

// Two sheets of paper, the front one lower right; pressed, the picture moves by a pixel.
QPixmap CopyPicture(bool pressed) {
  QPixmap picture(22, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  const int shift = pressed ? 1 : 0;
  painter.setPen(QColor(60, 60, 60));
  painter.setBrush(QColor(235, 235, 235));
  painter.drawRect(3 + shift, 2 + shift, 10, 12);
  painter.setBrush(Qt::white);
  painter.drawRect(8 + shift, 6 + shift, 10, 12);
  return picture;
}

std::string FormatCount(int blocks, int pairs) {
  char text[96];
  std::snprintf(text, sizeof text, "ブロック数:%d  -  組合せ数:%d", blocks, pairs);
  return text;
}

// The header of the pairs a cancelled run got done.
std::string FormatPartialCount(int blocks, int done, int pairs) {
  char text[128];
  std::snprintf(text, sizeof text, "ブロック数:%d  -  組合せ数:%d/%d（計算中止）", blocks, done,
                pairs);
  return text;
}

std::string PartialQuestion(int done, int pairs) {
  char text[256];
  std::snprintf(text, sizeof text,
                "計算が中止されたため、結果は全%d組合せのうち%d組合せのみです。\n"
                "この結果で確定してもよろしいですか？",
                pairs, done);
  return text;
}

}  // namespace

bool CCmdStabMultiFsDlg::Run(CManageCore& core, QWidget* parent) {
  return RunDialog<CCmdStabMultiFsDlg>(core, parent);
}

CCmdStabMultiFsDlg::CCmdStabMultiFsDlg(CManageCore& core, QWidget* parent)
    : StageDialog(parent),
      core_(core),
      case_(*core.GetActiveCase()),
      prm_(case_.GetPrmStab()),
      results_(case_.GetResStab2()),
      atOpening_(TakeSnapshot()),
      grid_(new CSheetGrid),
      calculate_(MakeButton("計算開始", 5256)),
      conditions_(MakeButton("計算表示条件", 5297)),
      fstp_(MakeDecimalField(5468, 0, 9.999, 6, CCoreConfig::GetUnitFilter().Digit(kFstpCode))),
      count_(new QLabel),
      copy_(new CExpButton),
      figure_(MakeButton("安全率図", 5435)),
      word_(MakeButton("Word出力", 5436)),
      linkage_(MakeButton("データ連携", 5437)) {
  setWindowTitle(QStringLiteral("多平面安定解析"));
  BuildLayout();
  SetupGrid();
  SetHeader();
  UpdateInfo();
  fstp_->setEnabled(prm_.IsQuake());
  resize(minimumSizeHint().width(), 560);
  SetTrackLimits(0, -100, 0, 9999);

  connect(calculate_, &QPushButton::clicked, this, &CCmdStabMultiFsDlg::Calculate);
  connect(conditions_, &QPushButton::clicked, this, &CCmdStabMultiFsDlg::EditDisplayConditions);
  connect(copy_, &QPushButton::clicked, this, &CCmdStabMultiFsDlg::CopyFsMatrix);
  connect(figure_, &QPushButton::clicked, this, &CCmdStabMultiFsDlg::ShowFigure);
  connect(linkage_, &QPushButton::clicked, this, &CCmdStabMultiFsDlg::LinkData);
  connect(fstp_, &CExpEdit::FocusLeft, this, [this] {
    StoreFstp();
    UpdateInfo();
    RedrawSection();
  });
  connect(grid_, &CSheetGrid::Click, this, &CCmdStabMultiFsDlg::OnGridClick);
  connect(grid_, &CSheetGrid::LeaveCell, this,
          [this](int /*col*/, int /*row*/, int /*newCol*/, int newRow, bool* /*cancel*/) {
            if (newRow >= 1) SelectRow(newRow);
          });
}

void CCmdStabMultiFsDlg::BuildLayout() {
  SetId(grid_, 5247);
  SetId(count_, 5482);
  // Room for the longest header, that of a cancelled run of 300 blocks, so that it is never cut.
  const int pairs = CBlockList::kMaxBlocks * (CBlockList::kMaxBlocks - 1) / 2;
  count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(
      QString::fromStdString(FormatPartialCount(CBlockList::kMaxBlocks, pairs, pairs))));
  SetId(copy_, 5261);
  copy_->m_nStyle = 7;
  copy_->m_bmpNormal = CopyPicture(false);
  copy_->m_bmpPush = CopyPicture(true);
  copy_->setFixedSize(30, 26);
  copy_->setToolTip(QStringLiteral("結果一覧をクリップボードへコピー"));
  // Word output asks the frame for the report selection once the slide surfaces are registered.
  word_->setEnabled(CManageStage::IsAvailable(StageCommand::PrintWord));
  connect(word_, &QPushButton::clicked, this, [this] {
    if (CheckRegistered()) Ui().SendToFrame(FrameMsg::WM_APP_PRINT_WORD, 1, 0);
  });

  auto* top = new QHBoxLayout;
  top->addWidget(calculate_);
  top->addWidget(conditions_);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("基準安全率 Fstp =")));
  top->addWidget(fstp_);
  top->addSpacing(16);
  top->addWidget(count_);
  top->addStretch();
  const OkCancelRow bottom =
      MakeOkCancelRow({copy_, figure_, word_, linkage_}, {.cancel = "閉じる"});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom.layout);

  SetTabChain({calculate_, conditions_, fstp_, grid_, copy_, figure_, word_, linkage_, bottom.ok,
               bottom.cancel});
}

void CCmdStabMultiFsDlg::SetupGrid() {
  const int fsDecimals = CCoreConfig::GetUnitFilter().Digit(kFsCode);
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(kColumnCount);
  grid_->SetColHeaderRows(2);
  grid_->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  grid_->SetCellType(
      SheetBlock(kNormalCheckCol, CSheetGrid::kAll, kQuakeCheckCol, CSheetGrid::kAll),
      SheetCellType::CheckBox);
  grid_->SetDecimalPlaces(SheetBlock(kNormalFsCol, CSheetGrid::kAll), fsDecimals);
  grid_->SetDecimalPlaces(SheetBlock(kQuakeFsCol, CSheetGrid::kAll), fsDecimals);
  grid_->AddCellSpan(kNormalCheckCol, CSheetGrid::kHeaderRow, 2, 1);
  grid_->AddCellSpan(kStartCol, CSheetGrid::kHeaderRow, 1, 2);
  grid_->AddCellSpan(kEndCol, CSheetGrid::kHeaderRow, 1, 2);
  grid_->AddCellSpan(kCases[0].firstCol, CSheetGrid::kHeaderRow, 3, 1);
  grid_->AddCellSpan(kCases[1].firstCol, CSheetGrid::kHeaderRow, 3, 1);
  grid_->SetText(SheetBlock(kNormalCheckCol, CSheetGrid::kHeaderRow), QStringLiteral("登録"));
  grid_->SetText(SheetBlock(kCases[0].firstCol, CSheetGrid::kHeaderRow), QStringLiteral("常時"));
  grid_->SetText(SheetBlock(kCases[1].firstCol, CSheetGrid::kHeaderRow), QStringLiteral("地震時"));
  grid_->SetColWidth(kNormalCheckCol, 52);
  grid_->SetColWidth(kQuakeCheckCol, 52);
  grid_->SetColWidth(kStartCol, 64);
  grid_->SetColWidth(kEndCol, 64);
  for (int col = kCases[0].firstCol; col <= kColumnCount; ++col) grid_->SetColWidth(col, 80);
  // Every column in sight, with room for row numbers up to 300 blocks' 44,850 pairs: the
  // dialog changes only its height.
  const int rowNumbers = grid_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
  grid_->setMinimumWidth(grid_->horizontalHeader()->length() + rowNumbers +
                         grid_->verticalScrollBar()->sizeHint().width() + 2 * grid_->frameWidth());
}

void CCmdStabMultiFsDlg::SetHeader() {
  const tagMLTSORT& sort = results_.GetSort();
  const QString mark = sort.order == 1 ? QStringLiteral("▼\n") : QStringLiteral("▲\n");
  for (int col = 1; col <= kColumnCount; ++col) {
    const Header& header = kHeaders.at(static_cast<std::size_t>(col - 1));
    const int item = SortItemOf(col);
    QString text = QString::fromUtf8(header.text);
    if (item == sort.item) {
      text = mark + (item == 7 || item == 10 ? QString::fromUtf8(kMarkedResistance) : text);
    }
    grid_->SetText(SheetBlock(col, header.row), text);
  }
  grid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
                 sort.item == -1 ? mark : QString());
}

void CCmdStabMultiFsDlg::SetResult() {
  const std::vector<CMltPoint*>& serial = results_.GetSerial();
  const int rows = static_cast<int>(serial.size());
  const int fsDecimals = CCoreConfig::GetUnitFilter().Digit(kFsCode);
  // The lowest Fs of each case is found once for the whole list.
  const std::array<double, 2> lowest{results_.GetMinFs(0), results_.GetMinFs(1)};
  const std::array<double, 2> reference{prm_.planFsNormal, prm_.planFsQuake};
  const std::array<bool, 2> on{IsCaseOn(0), IsCaseOn(1)};

  grid_->SetReDraw(false);
  grid_->SetMaxRows(0);
  grid_->SetMaxRows(rows);
  for (int k = 0; k < 2; ++k) {
    const int fsCol = kCases.at(static_cast<std::size_t>(k)).firstCol + 2;
    grid_->SetBackColor(SheetBlock(fsCol, CSheetGrid::kAll), kWhite);
  }
  for (int i = 0; i < rows; ++i) {
    const CMltPoint& point = *serial[static_cast<std::size_t>(i)];
    const int row = i + 1;
    grid_->SetText(SheetBlock(kNormalCheckCol, row), point.typicalN == 1 ? "1" : "0");
    grid_->SetText(SheetBlock(kQuakeCheckCol, row), point.typicalQ == 1 ? "1" : "0");
    SpreadSetInt(*grid_, kStartCol, row, point.startBlock + 1);
    SpreadSetInt(*grid_, kEndCol, row, point.endBlock + 1);
    for (std::size_t k = 0; k < 2; ++k) {
      if (!on.at(k)) continue;
      const CaseColumns& columns = kCases.at(k);
      const double fs = point.*columns.fs;
      const int fsCol = columns.firstCol + 2;
      SpreadSetDbl(*grid_, columns.firstCol, row, kForceDecimals, "", point.*columns.s);
      SpreadSetDbl(*grid_, columns.firstCol + 1, row, kForceDecimals, "", point.*columns.t);
      SpreadSetDbl(*grid_, fsCol, row, fsDecimals, "", fs);
      const bool meets = reference.at(k) == kNoValue || fs >= reference.at(k);
      grid_->SetForeColor(SheetBlock(fsCol, row), meets ? kBlue : kRed);
      if (lowest.at(k) != kNoValue && fs == lowest.at(k)) {
        grid_->SetBackColor(SheetBlock(fsCol, row), kLowestBack);
      }
    }
  }
  grid_->SetReDraw(true);
}

void CCmdStabMultiFsDlg::UpdateInfo() {
  const CBlockList& blocks = case_.GetBlockList();
  // Only a division the case holds counts: a list left unconfirmed is no division.
  const bool divided = case_.IsStratumBlockMode() != 0;
  const int blockCount = divided ? blocks.GetBlockSize() : 0;
  const int pairs = divided ? blocks.GetBlockCalcSize() : 0;
  count_->setText(QString::fromStdString(
      IsPartial() ? FormatPartialCount(blockCount, results_.resultCount, pairs)
                  : FormatCount(blockCount, pairs)));
  fstp_->SetDouble(prm_.planFsQuake);
  fstpShown_ = fstp_->text();
  SetResult();
  SelectRow(grid_->ActiveRow());
}

void CCmdStabMultiFsDlg::StoreFstp() {
  // The field shows the stored value rounded: it is taken back only when the user changed it.
  if (fstp_->text() != fstpShown_) {
    prm_.planFsQuake = fstp_->text().isEmpty() ? kNoValue : fstp_->GetDouble();
    fstpShown_ = fstp_->text();
  }
  results_.SetCurrentResult(nullptr);
}

bool CCmdStabMultiFsDlg::IsCaseOn(int which) const {
  return which == 0 ? prm_.IsNormal() : prm_.IsQuake();
}

int CCmdStabMultiFsDlg::FindRegistered(int which) const {
  const std::vector<CMltPoint*>& serial = results_.GetSerial();
  const int CMltPoint::*typical = kCases.at(which == 1 ? 1 : 0).typical;
  for (std::size_t i = 0; i < serial.size(); ++i) {
    if (serial[i]->*typical == 1) return static_cast<int>(i);
  }
  return -1;
}

int CCmdStabMultiFsDlg::RegisteredId(int which) const {
  const int index = FindRegistered(which);
  return index < 0 ? -1 : results_.GetSerial()[static_cast<std::size_t>(index)]->id;
}

void CCmdStabMultiFsDlg::SelectRow(int row) {
  const std::vector<CMltPoint*>& serial = results_.GetSerial();
  if (serial.empty() || row < 1 || row > static_cast<int>(serial.size())) return;
  results_.SetCurrentResult(serial[static_cast<std::size_t>(row - 1)]);
  RedrawSection();
}

void CCmdStabMultiFsDlg::Calculate() {
  if (!case_.PreCalcStab(true)) return;
  // A modal dialog that hides ends its own loop, so it stays shown but takes no input while the
  // progress window runs.
  setEnabled(false);
  auto before = std::make_unique<BeforeRun>();
  before->results.Copy(results_);
  before->modified = case_.IsModified();
  before->inUse = case_.GetInUse();
  RunStabJob(case_.StabJob());
  case_.MarkEdited();
  const CMltBlocks* points = results_.GetResult();
  if (points == nullptr || !points->IsInterrupt()) {
    beforePartial_.reset();
  } else if (!IsPartial()) {
    beforePartial_ = std::move(before);  // a second cancelled run still goes back to the first
  }
  setEnabled(true);
  SetHeader();
  UpdateInfo();
  SelectRow(grid_->ActiveRow());
}

void CCmdStabMultiFsDlg::OnGridClick(int col, int row) {
  if (results_.GetSerial().empty()) return;
  if (row < 1) {
    SortByColumn(col);
    return;
  }
  if (col == kNormalCheckCol || col == kQuakeCheckCol) {
    ClickRegistration(col, row);
    return;
  }
  RedrawSection();
}

void CCmdStabMultiFsDlg::SortByColumn(int col) {
  tagMLTSORT sort = results_.GetSort();
  const int item = SortItemOf(col);
  if (item == sort.item) {
    sort.order = sort.order == 0 ? 1 : 0;
  } else {
    sort.item = item;
  }
  results_.SetSort(sort);
  results_.SortSerial();
  SetHeader();
  UpdateInfo();
  RedrawSection();
}

void CCmdStabMultiFsDlg::SetRegistered(int row, int which, bool registered) {
  CMltPoint& point = *results_.GetSerial()[static_cast<std::size_t>(row - 1)];
  point.*kCases.at(static_cast<std::size_t>(which)).typical = registered ? 1 : 0;
  grid_->SetText(SheetBlock(which == 0 ? kNormalCheckCol : kQuakeCheckCol, row),
                 registered ? "1" : "0");
}

void CCmdStabMultiFsDlg::ClickRegistration(int col, int row) {
  const int which = col == kNormalCheckCol ? 0 : 1;
  if (!IsCaseOn(which)) return;
  if (FindRegistered(0) < 0 && FindRegistered(1) < 0) {
    // The first registration takes the row for every load case that is on.
    for (const int k : {0, 1}) {
      if (IsCaseOn(k)) SetRegistered(row, k, true);
    }
    return;
  }
  if (grid_->Value(col, row) == QStringLiteral("1")) {
    SetRegistered(row, which, false);
  } else {
    const int previous = FindRegistered(which);
    if (previous >= 0) SetRegistered(previous + 1, which, false);
    SetRegistered(row, which, true);
  }
  RedrawSection();
}

std::string CCmdStabMultiFsDlg::FsMatrixText(const CResStab2& results, int resultCase) {
  const int n = results.blockCount;
  const int decimals = CCoreConfig::GetUnitFilter().Digit(kFsCode);
  const double CMltPoint::*fs = kCases.at(resultCase == 1 ? 1 : 0).fs;
  // Every pair of the ordered list in one table, so that each cell is found at once.
  std::vector<const CMltPoint*> pairs(static_cast<std::size_t>(n > 0 ? n * n : 0), nullptr);
  for (const CMltPoint* point : results.GetSerial()) {
    if (point->startBlock < 0 || point->endBlock < 0 || point->startBlock >= n ||
        point->endBlock >= n) {
      continue;
    }
    const std::size_t at = static_cast<std::size_t>(point->endBlock * n + point->startBlock);
    if (pairs[at] == nullptr) pairs[at] = point;  // the first in list order, as a search finds
  }
  std::string text = "No";
  for (int k = 1; k < n; ++k) text += "\t" + std::to_string(k);
  text += "\n";
  for (int e = 1; e <= n; ++e) {
    text += std::to_string(e);
    for (int s = 1; s < e; ++s) {
      text += "\t";
      const CMltPoint* point = pairs[static_cast<std::size_t>((e - 1) * n + (s - 1))];
      if (point != nullptr) text += DblToText(decimals, point->*fs);
    }
    text += "\n";
  }
  return text;
}

void CCmdStabMultiFsDlg::CopyFsMatrix() {
  if (results_.GetSerial().empty()) {
    Inform(kNoResults);
    return;
  }
  const int resultCase = grid_->ActiveCol() > kNormalFsCol ? 1 : 0;
  if (CopyTextToClipboard(FsMatrixText(results_, resultCase))) {
    Inform("結果一覧をクリップボードにコピーしました");
  }
}

void CCmdStabMultiFsDlg::ShowFigure() {
  if (results_.GetSerial().empty()) {
    Inform(kNoResults);
    return;
  }
  CResStabGraphMultiFsDlg dialog(case_, this);
  if (RunModal(dialog) == Accepted) RedrawSection();
}

void CCmdStabMultiFsDlg::EditDisplayConditions() {
  CRefStabFilterBlockDlg dialog(results_.GetKey(), this);
  if (RunModal(dialog) != Accepted) return;
  results_.SerialResult();
  results_.SortSerial();
  const int row = grid_->ActiveRow();
  SetResult();
  if (row >= 1 && row <= grid_->MaxRows()) SelectRow(row);
  RedrawSection();
}

void CCmdStabMultiFsDlg::LinkData() {
  if (!CheckRegistered()) return;
  CExportSelectDlg dialog(core_, this);
  RunModal(dialog);
}

bool CCmdStabMultiFsDlg::CheckRegistered() const {
  std::string message;
  if (IsCaseOn(0) && FindRegistered(0) < 0) message = "常時のすべり面が登録されていません。";
  if (IsCaseOn(1) && FindRegistered(1) < 0) {
    if (!message.empty()) message += "\n";
    message += "地震時のすべり面が登録されていません。";
  }
  if (message.empty()) return true;
  Inform(message);
  return false;
}

CCmdStabMultiFsDlg::Snapshot CCmdStabMultiFsDlg::TakeSnapshot() const {
  Snapshot snapshot;
  snapshot.registeredN = RegisteredId(0);
  snapshot.registeredQ = RegisteredId(1);
  snapshot.key.Copy(results_.GetKey());
  snapshot.sort = results_.GetSort();
  snapshot.fstp = prm_.planFsQuake;
  snapshot.figure.Copy(results_.graphFs);
  return snapshot;
}

bool CCmdStabMultiFsDlg::ChangedSinceOpening() const {
  const Snapshot now = TakeSnapshot();
  return now.registeredN != atOpening_.registeredN || now.registeredQ != atOpening_.registeredQ ||
         !now.key.IsSame(atOpening_.key) || now.sort.item != atOpening_.sort.item ||
         now.sort.order != atOpening_.sort.order || now.fstp != atOpening_.fstp ||
         !now.figure.IsSame(atOpening_.figure);
}

void CCmdStabMultiFsDlg::StoreChanges() {
  StoreFstp();
  if (!ChangedSinceOpening()) return;
  case_.MarkEdited();
  case_.CalcArrangeH();
}

void CCmdStabMultiFsDlg::RestoreBeforePartial() {
  results_.Copy(beforePartial_->results);
  results_.SortSerial();
  results_.SetCurrentResult(nullptr);
  case_.SetModify(beforePartial_->modified);
  case_.SetInUse(beforePartial_->inUse);
  beforePartial_.reset();
}

void CCmdStabMultiFsDlg::OnOK() {
  if (IsPartial() &&
      Ui().MessageBox(
          PartialQuestion(results_.resultCount, case_.GetBlockList().GetBlockCalcSize()),
          GetAppTitle(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
    return;
  }
  StoreChanges();
  results_.SetCurrentResult(nullptr);
  StageDialog::OnOK();
}

void CCmdStabMultiFsDlg::OnCancel() {
  if (IsPartial()) RestoreBeforePartial();
  StoreChanges();
  // The stage manager redraws after OK only; what 閉じる stores and the dropped pick reach the
  // view here.
  RedrawSection();
  StageDialog::OnCancel();
}
