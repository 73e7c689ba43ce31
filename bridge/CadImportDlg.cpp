#include "bridge/CadImportDlg.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <utility>

#include "bridge/Z_PtarvIn.h"
#include "bridge/Z_Tv5Gen6.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"
#include "platform/cad/DxfWriter.h"

namespace {

constexpr double kNoValue = 9e32;
constexpr double kSamePoint = 0.001;
constexpr double kScaleMin = 1e-8;
constexpr double kScaleMax = 10000000;
constexpr int kLayerQueries = 256;
constexpr int kTerrainRow = 0;
constexpr int kStrataRow = 1;
constexpr int kWaterRow = 2;
constexpr int kSlideRow = 3;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

struct RowText {
  const char* label;
  int comboId;
  int labelId;
};
constexpr std::array<RowText, CCadImportDlg::kRows> kRowTexts{{
    {"地形", 1012, 1016},
    {"地層", 1013, 1017},
    {"水位", 1014, 1018},
    {"すべり面", 1015, 1019},
}};

void SetId(QWidget* control, int id) { control->setObjectName(QString::number(id)); }

QColor ColourOfColorref(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

QString NumberText(double value) { return QString::fromStdString(FormatFixed(value, 3)); }

// A number the edit holds, or none.
std::optional<double> EditNumber(const QLineEdit& edit) {
  const std::string text = edit.text().trimmed().toStdString();
  const std::optional<ParsedNumber> parsed = ParseDoublePrefix(text);
  if (!parsed || parsed->used != text.size() || !std::isfinite(parsed->value)) {
    return std::nullopt;
  }
  return parsed->value;
}

// An entity of the CAD control in the dialog's terms: an arc becomes its start, middle and end.
CadImportEntity ImportEntityOf(const DxfEntity& record) {
  CadImportEntity entity;
  entity.kind = record.kind;
  if (record.kind != DxfEntity::kArc) {
    entity.points = record.points;
    return entity;
  }
  const double a1 = record.start;
  double a2 = record.end;
  if (a2 < a1) a2 += 2 * std::numbers::pi;
  for (const double a : {a1, (a1 + a2) / 2, a2}) {
    entity.points.push_back({record.centre.x + record.radius * std::cos(a),
                             record.centre.y + record.radius * std::sin(a)});
  }
  return entity;
}

// The preview of a row: its pen and whether it draws dash-dotted.
struct RowPen {
  std::uint32_t colour;
  Qt::PenStyle style;
};
constexpr std::array<RowPen, 3> kRowPens{{
    {0x000000, Qt::SolidLine},
    {0x008080, Qt::SolidLine},
    {0x800000, Qt::DashDotLine},
}};

}  // namespace

namespace {

// The smallest and the largest value of one coordinate over the points (no value for none).
std::pair<double, double> CoordinateRange(const std::vector<CadPoint>& points,
                                          double CadPoint::*axis) {
  std::pair<double, double> range{kNoValue, -kNoValue};
  for (const CadPoint& p : points) {
    range.first = std::min(range.first, p.*axis);
    range.second = std::max(range.second, p.*axis);
  }
  return range;
}

}  // namespace

double CadImportEntity::XMin() const { return CoordinateRange(points, &CadPoint::x).first; }
double CadImportEntity::XMax() const { return CoordinateRange(points, &CadPoint::x).second; }
double CadImportEntity::YMin() const { return CoordinateRange(points, &CadPoint::y).first; }
double CadImportEntity::YMax() const { return CoordinateRange(points, &CadPoint::y).second; }

BridgeShape SlideSurfaceOf(std::vector<CadImportEntity> entities) {
  for (CadImportEntity& entity : entities) {
    if (entity.points.size() >= 2 && entity.points.back().x < entity.points.front().x) {
      std::reverse(entity.points.begin(), entity.points.end());
    }
  }
  std::stable_sort(
      entities.begin(), entities.end(),
      [](const CadImportEntity& a, const CadImportEntity& b) { return a.XMin() < b.XMin(); });
  BridgeShape surface;
  surface.name = "すべり面";
  for (const CadImportEntity& entity : entities) {
    for (std::size_t i = 0; i < entity.points.size(); ++i) {
      const CadPoint& p = entity.points[i];
      const int style = entity.kind == DxfEntity::kArc && i == 0 ? 1 : 0;
      const bool same = !surface.points.empty() &&
                        std::abs(p.x - surface.points.back().x) < kSamePoint &&
                        std::abs(p.y - surface.points.back().y) < kSamePoint;
      if (same) {
        if (style == 1) surface.styles.back() = 1;
        continue;
      }
      surface.points.push_back(p);
      surface.styles.push_back(style);
    }
  }
  return surface;
}

std::string FileOpenFailureText(int error) {
  switch (error) {
    case 0:
      return "正常処理です。";
    case ENOENT:
      return "ファイルが見つかりませんでした。";
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return "パスの一部またはすべてが無効です。";
    case EMFILE:
    case ENFILE:
      return "開いているファイル数の制限を超えました。";
    case EACCES:
    case EPERM:
      return "ファイルにアクセスできませんでした。";
    case EBADF:
      return "無効なファイルハンドルを使用しようとしました。";
    case ESPIPE:
      return "ファイルポインターを設定しようとしてエラーが発生しました。";
    case EIO:
      return "ハードウェアエラーが発生しました。";
    case EBUSY:
    case ETXTBSY:
      return "共有領域がロックされました。 (他アプリが使用中です。)";
    case ENOLCK:
      return "既にロックされている領域をロックしようとしました。";
    case ENOSPC:
      return "ディスクの空き領域がありません。";
    default:
      return "原因不明のエラーです。";
  }
}

// The preview frame: the dialog paints it.
class CadImportPreview : public QWidget {
 public:
  explicit CadImportPreview(const CCadImportDlg& dialog) : dialog_(dialog) {
    setMinimumSize(420, 280);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    dialog_.PaintPreview(painter, rect());
  }

 private:
  const CCadImportDlg& dialog_;
};

CCadImportDlg::CCadImportDlg(const Options& options, QWidget* parent)
    : QDialog(parent), options_(options) {
  setWindowTitle(QStringLiteral("CADから挿入"));
  BuildControls();
  // Opening: the rows and the bottom-level controls shown by their flags, the control's mode,
  // the enable states.
  for (int row = 0; row < kRows; ++row) {
    combos_[static_cast<std::size_t>(row)]->setVisible(
        options_.rows[static_cast<std::size_t>(row)]);
    rowLabels_[static_cast<std::size_t>(row)]->setVisible(
        options_.rows[static_cast<std::size_t>(row)]);
  }
  for (QWidget* control :
       std::initializer_list<QWidget*>{autoBottom_, bottomEdit_, bottomLabel_, bottomUnit_}) {
    control->setVisible(options_.bottomLevel);
  }
  cad_->CadSetMode48(options_.controlMode);
  UpdateEnableStates();
  ShowData();
}

void CCadImportDlg::BuildControls() {
  cad_ = new CZ_Tv5Gen6;
  SetId(cad_, 2007);
  cad_->setMinimumSize(200, 150);

  auto* rows = new QGridLayout;
  for (int row = 0; row < kRows; ++row) {
    const RowText& text = kRowTexts[static_cast<std::size_t>(row)];
    auto* label = new QLabel(QString::fromUtf8(text.label));
    SetId(label, text.labelId);
    auto* combo = new QComboBox;
    SetId(combo, text.comboId);
    combo->addItem(QString::fromUtf8(kNotSet));
    combo->setMinimumWidth(180);
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    rows->addWidget(label, row, 0);
    rows->addWidget(combo, row, 1);
    rowLabels_[static_cast<std::size_t>(row)] = label;
    combos_[static_cast<std::size_t>(row)] = combo;
  }

  openButton_ = new QPushButton(QStringLiteral("ファイルを開く"));
  SetId(openButton_, 1007);
  connect(openButton_, &QPushButton::clicked, this, &CCadImportDlg::OnOpenFile);

  scaleEdit_ = new QLineEdit;
  SetId(scaleEdit_, 1025);
  offsetXEdit_ = new QLineEdit;
  SetId(offsetXEdit_, 1026);
  offsetYEdit_ = new QLineEdit;
  SetId(offsetYEdit_, 1027);
  for (QLineEdit* edit : {scaleEdit_, offsetXEdit_, offsetYEdit_}) {
    connect(edit, &QLineEdit::editingFinished, this, [this] {
      ReadEdits();
      Refresh();
    });
  }
  fitMinimum_ = new QCheckBox(QStringLiteral("地形座標の最小値を指定"));
  SetId(fitMinimum_, 1029);
  autoBottom_ = new QCheckBox(QStringLiteral("底面標高を自動設定"));
  SetId(autoBottom_, 1031);
  autoBottom_->setChecked(true);
  for (QCheckBox* check : {fitMinimum_, autoBottom_}) {
    connect(check, &QCheckBox::clicked, this, [this] {
      UpdateEnableStates();
      Refresh();
    });
  }
  bottomLabel_ = new QLabel(QStringLiteral("底面標高"));
  SetId(bottomLabel_, 1032);
  bottomEdit_ = new QLineEdit;
  SetId(bottomEdit_, 1030);
  connect(bottomEdit_, &QLineEdit::editingFinished, this, &CCadImportDlg::OnBottomEdited);
  bottomUnit_ = new QLabel(QStringLiteral("(m)"));
  SetId(bottomUnit_, 2006);

  auto* mapping = new QGridLayout;
  mapping->addWidget(new QLabel(QStringLiteral("縮尺")), 0, 0);
  mapping->addWidget(scaleEdit_, 0, 1);
  mapping->addWidget(fitMinimum_, 1, 0, 1, 2);
  mapping->addWidget(new QLabel(QStringLiteral("X")), 2, 0);
  mapping->addWidget(offsetXEdit_, 2, 1);
  mapping->addWidget(new QLabel(QStringLiteral("Y")), 3, 0);
  mapping->addWidget(offsetYEdit_, 3, 1);
  mapping->addWidget(autoBottom_, 4, 0, 1, 2);
  mapping->addWidget(bottomLabel_, 5, 0);
  auto* bottomRow = new QHBoxLayout;
  bottomRow->addWidget(bottomEdit_);
  bottomRow->addWidget(bottomUnit_);
  mapping->addLayout(bottomRow, 5, 1);

  preview_ = new CadImportPreview(*this);
  SetId(preview_, 1028);

  okButton_ = new QPushButton(QStringLiteral("OK"));
  SetId(okButton_, kOkId);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"));
  SetId(cancelButton_, kCancelId);
  connect(okButton_, &QPushButton::clicked, this, &CCadImportDlg::OnOK);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  for (QPushButton* button : {openButton_, okButton_, cancelButton_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  auto* left = new QVBoxLayout;
  left->addWidget(openButton_);
  left->addLayout(rows);
  left->addLayout(mapping);
  left->addWidget(cad_);
  left->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* right = new QVBoxLayout;
  right->addWidget(preview_, 1);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  setTabOrder(openButton_, combos_[0]);
  for (int row = 1; row < kRows; ++row) {
    setTabOrder(combos_[static_cast<std::size_t>(row - 1)], combos_[static_cast<std::size_t>(row)]);
  }
  QWidget* previous = combos_[kRows - 1];
  for (QWidget* next :
       std::initializer_list<QWidget*>{scaleEdit_, fitMinimum_, offsetXEdit_, offsetYEdit_,
                                       autoBottom_, bottomEdit_, okButton_, cancelButton_}) {
    setTabOrder(previous, next);
    previous = next;
  }
}

void CCadImportDlg::UpdateEnableStates() {
  offsetXEdit_->setEnabled(fitMinimum_->isChecked());
  offsetYEdit_->setEnabled(fitMinimum_->isChecked());
  bottomEdit_->setEnabled(!autoBottom_->isChecked());
}

void CCadImportDlg::ShowData() {
  scaleEdit_->setText(QString::fromStdString(FormatFixed(scale_, 3)));
  offsetXEdit_->setText(NumberText(offsetX_));
  offsetYEdit_->setText(NumberText(offsetY_));
  bottomEdit_->setText(NumberText(bottom_));
}

void CCadImportDlg::ReadEdits() {
  const std::optional<double> scale = EditNumber(*scaleEdit_);
  if (!scale || *scale < kScaleMin || *scale > kScaleMax) {
    Ui().MessageBox("1e-08 から 10000000 の範囲の数値を入力してください。", "CADから挿入",
                    MsgButtons::Ok, MsgIcon::Warning);
  } else {
    scale_ = *scale;
  }
  if (const std::optional<double> x = EditNumber(*offsetXEdit_)) offsetX_ = *x;
  if (const std::optional<double> y = EditNumber(*offsetYEdit_)) offsetY_ = *y;
  ShowData();
}

void CCadImportDlg::OnBottomEdited() {
  const std::optional<double> bottom = EditNumber(*bottomEdit_);
  if (!bottom) {
    ShowData();
    return;
  }
  if (*bottom == bottom_) return;
  bottom_ = *bottom;
  Bridge().modelBottom = bottom_;
  preview_->update();
}

void CCadImportDlg::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) return;  // Escape never closes
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
    QDialog::keyPressEvent(event);
    return;
  }
  if (focusWidget() == okButton_) {
    okButton_->click();
  } else {
    focusNextChild();
  }
}

bool CCadImportDlg::FileOpensForReading(const std::string& path) const {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  int error = fd < 0 ? errno : 0;
  if (fd >= 0) {
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) error = EISDIR;
    ::close(fd);
  }
  if (error == 0) return true;
  Ui().MessageBox(FileOpenFailureText(error), kFileCaption, MsgButtons::Ok, MsgIcon::Warning);
  return false;
}

void CCadImportDlg::OnOpenFile() {
  FileDialogRequest request;
  request.filter = kFilter;
  request.defaultExtension = options_.defaultExtension.empty() ? "cfv" : options_.defaultExtension;
  request.defaultName = "*." + request.defaultExtension;
  if (!options_.initialPath.empty()) request.folder = options_.initialPath;
  const std::optional<std::filesystem::path> chosen =
      Ui().FileDialog(FileDialogKind::Open, request);
  if (!chosen) return;
  const std::string path = chosen->string();
  if (!FileOpensForReading(path)) return;
  // Only DXF is read here; a file of the control's other formats is refused before it is read.
  if (!IsDxfPath(*chosen)) {
    Ui().MessageBox("DXFファイル以外は読み込めません。", kFileCaption, MsgButtons::Ok,
                    MsgIcon::Warning);
    return;
  }
  cad_->CadSetDrawingArea(0, 0, 0, 0, 0);
  if (cad_->CadOpenFile(path) == 0) {
    Ui().MessageBox(cad_->OpenError(), kFileCaption, MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  cad_->CadZoomFit();
  FillLayerLists();
  Refresh();
}

void CCadImportDlg::FillLayerLists() {
  QStringList names;
  for (short layer = 0; layer < kLayerQueries; ++layer) {
    long count = 0;
    const std::string name = cad_->CadGetLayerInfo(layer, count);
    if (count > 0) names << QString::fromStdString(name);
  }
  for (QComboBox* combo : combos_) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItem(QString::fromUtf8(kNotSet));
    combo->addItems(names);
    combo->setCurrentIndex(0);
  }
}

std::vector<CadImportEntity> CCadImportDlg::RowEntities(int row, short mode) const {
  const QString layer = combos_[static_cast<std::size_t>(row)]->currentText();
  if (layer.isEmpty() || layer == QString::fromUtf8(kNotSet)) return {};
  CadEntityRecord record;
  long count = cad_->CadSelectLayerEntities(record, mode, layer.toStdString());
  if (row == kTerrainRow || row == kWaterRow) count = std::min(count, 1L);
  std::vector<CadImportEntity> entities;
  for (long i = 0; i < count; ++i) {
    if (cad_->CadGetEntity(i, record) != 0) entities.push_back(ImportEntityOf(record.entity));
  }
  cad_->CadReleaseEntities(record);
  return entities;
}

CCadImportDlg::Extents CCadImportDlg::ExtentsOfRows() const {
  Extents extents;
  for (int row = 0; row < kRows; ++row) {
    for (const CadImportEntity& entity : RowEntities(row, 0)) {
      if (entity.points.size() < 2) continue;
      extents.xMin = std::min(extents.xMin, entity.XMin());
      extents.xMax = std::max(extents.xMax, entity.XMax());
      extents.yMin = std::min(extents.yMin, entity.YMin());
      extents.yMax = std::max(extents.yMax, entity.YMax());
    }
  }
  return extents;
}

CadPoint CCadImportDlg::Map(const CadPoint& p) const {
  if (!fitMinimum_->isChecked()) return {p.x * scale_, p.y * scale_};
  return {(p.x - extents_.xMin) * scale_ + offsetX_, (p.y - extents_.yMin) * scale_ + offsetY_};
}

void CCadImportDlg::ComputeBottomLevel() {
  if (!extents_.Found()) return;
  const double below = extents_.yMin - 0.5 * (extents_.yMax - extents_.yMin);
  bottom_ = std::trunc(Map({0, below}).y);
  Bridge().modelBottom = bottom_;
  ShowData();
}

void CCadImportDlg::Refresh() {
  extents_ = ExtentsOfRows();
  if (autoBottom_->isChecked()) ComputeBottomLevel();
  preview_->update();
}

void CCadImportDlg::PaintPreview(QPainter& painter, const QRect& frame) const {
  painter.fillRect(frame, Qt::white);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  if (!extents_.Found()) return;
  const double width = extents_.xMax - extents_.xMin;
  const double height = extents_.yMax - extents_.yMin;
  const double byWidth = width > 0 ? frame.width() / width : kNoValue;
  const double byHeight = height > 0 ? frame.height() / height : kNoValue;
  const double scale = 0.8 * std::min(byWidth, byHeight);
  if (scale >= kNoValue * 0.8) return;  // a single point
  const QPointF centre = QRectF(frame).center();
  const double midX = (extents_.xMin + extents_.xMax) / 2;
  const double midY = (extents_.yMin + extents_.yMax) / 2;
  const auto toFrame = [&](const CadPoint& p) {
    return QPointF(centre.x() + (p.x - midX) * scale, centre.y() - (p.y - midY) * scale);
  };
  const QRectF box(toFrame({extents_.xMin, extents_.yMax}),
                   toFrame({extents_.xMax, extents_.yMin}));
  painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
  painter.drawRect(box);

  for (int row = kTerrainRow; row <= kWaterRow; ++row) {
    const RowPen& pen = kRowPens[static_cast<std::size_t>(row)];
    painter.setPen(QPen(ColourOfColorref(pen.colour), 1, pen.style));
    for (const CadImportEntity& entity : RowEntities(row, 1)) {
      if (entity.points.size() < 2) continue;
      QPolygonF line;
      for (const CadPoint& p : entity.points) line << toFrame(p);
      painter.drawPolyline(line);
    }
  }

  // The slip surface as its drawing object draws it: plain runs joined, arcs traced.
  std::vector<CadImportEntity> slide;
  for (CadImportEntity& entity : RowEntities(kSlideRow, -1)) slide.push_back(std::move(entity));
  const SlideDrawing drawing = BuildSlideDrawing(SlideSurfaceOf(std::move(slide)));
  painter.setPen(QPen(ColourOfColorref(0x0000FF), 1, Qt::SolidLine));
  QPolygonF run;
  for (std::size_t i = 0; i < drawing.points.size();) {
    const SlideDrawing::Point& point = drawing.points[i];
    if (point.arc < 0) {
      run << toFrame(point.at);
      ++i;
      continue;
    }
    run << toFrame(point.at);
    for (const CadPoint& p : TraceArc(drawing.arcs[static_cast<std::size_t>(point.arc)])) {
      run << toFrame(p);
    }
    painter.drawPolyline(run);
    run.clear();
    i += 3;
  }
  if (run.size() >= 2) painter.drawPolyline(run);

  // The mapped extents in blue: x vertically above the box's sides, y beside its bottom and top.
  QFont font(QStringLiteral("ＭＳ ゴシック"));
  font.setPixelSize(10);
  painter.setFont(font);
  painter.setPen(ColourOfColorref(0xFF0000));
  const QFontMetrics metrics(font);
  const CadPoint low = Map({extents_.xMin, extents_.yMin});
  const CadPoint high = Map({extents_.xMax, extents_.yMax});
  for (const auto& [edge, value] : {std::pair{box.left(), low.x}, std::pair{box.right(), high.x}}) {
    const QString text = NumberText(value);
    painter.save();
    painter.translate(edge - 6, frame.top() + 1);
    painter.rotate(-90);
    painter.drawText(QPointF(-metrics.horizontalAdvance(text), metrics.ascent()), text);
    painter.restore();
  }
  for (const auto& [edge, value] : {std::pair{box.bottom(), low.y}, std::pair{box.top(), high.y}}) {
    painter.drawText(QPointF(frame.left() + 1, edge - 6 + metrics.ascent()), NumberText(value));
  }
}

void CCadImportDlg::OnOK() {
  if (focusWidget() != okButton_) {
    focusNextChild();
    return;
  }
  const double bottom = bottom_;
  Z_PtarvIn_Init();
  extents_ = ExtentsOfRows();
  for (int row = kTerrainRow; row <= kWaterRow; ++row) {
    for (const CadImportEntity& entity : RowEntities(row, 1)) {
      std::vector<double> xs;
      std::vector<double> ys;
      for (const CadPoint& p : entity.points) {
        const CadPoint mapped = Map(p);
        xs.push_back(mapped.x);
        ys.push_back(mapped.y);
      }
      Z_PtarvIn_AddShape(row, static_cast<int>(xs.size()), xs.data(), ys.data());
    }
  }
  std::vector<CadImportEntity> slide = RowEntities(kSlideRow, -1);
  BridgeShape surface = SlideSurfaceOf(std::move(slide));
  BridgeCase& importedCase = SelectedOrNewCase();
  if (!surface.points.empty()) {
    for (CadPoint& p : surface.points) p = Map(p);
    importedCase.shapes[kSlideRow].push_back(surface);
    SetSlideSurface(std::move(surface));
  }
  Bridge().modelBottom = bottom;
  accept();
}
