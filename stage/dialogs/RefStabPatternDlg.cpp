#include "stage/dialogs/RefStabPatternDlg.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"

namespace {

// The title bar's own buttons and margins beside the title.
constexpr int kTitleBarExtra = 120;

QLabel* Text(const char* text) { return new QLabel(QString::fromUtf8(text)); }

QRadioButton* Radio(const char* text, int id, QButtonGroup& group) {
  auto* radio = new QRadioButton(QString::fromUtf8(text));
  SetId(radio, id);
  group.addButton(radio);
  return radio;
}

CExpEdit* ShownField(int id) {
  auto* field = new CExpEdit;
  SetId(field, id);
  field->SetReadOnly(true);
  return field;
}

}  // namespace

void CRefStabPatternDlg::Show(QWidget* parent) {
  CRefStabPatternDlg dialog(parent);
  RunModal(dialog);
}

CRefStabPatternDlg::CRefStabPatternDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CRefStabPatternDlg"));
  setWindowTitle(QStringLiteral("詳細設定（表示のみ：設定はケースに保存されません）"));

  auto* settings = new QWidget;
  auto* sliceGroup = new QButtonGroup(this);
  auto* slice = new QGroupBox(QStringLiteral("スライスの最大幅"));
  auto* sliceForm = new QGridLayout(slice);
  sliceForm->addWidget(Radio("スライス最大値を適用しない", 5266, *sliceGroup), 0, 0, 1, 3);
  sliceForm->addWidget(Radio("全ての区間でスライス最大幅を維持する", 5267, *sliceGroup), 1, 0, 1,
                       3);
  sliceForm->addWidget(Text("スライス最大幅 ="), 2, 0);
  sliceForm->addWidget(ShownField(5268), 2, 1);
  sliceForm->addWidget(Text("(m)"), 2, 2);

  auto* negativeGroup = new QButtonGroup(this);
  auto* negative = new QGroupBox(QStringLiteral("N－Uマイナス時"));
  auto* negativeForm = new QGridLayout(negative);
  negativeForm->addWidget(Text("N － U < 0.0の場合"), 0, 0, 1, 3);
  negativeForm->addWidget(Radio("マイナスのまま", 5269, *negativeGroup), 1, 0, 1, 3);
  negativeForm->addWidget(Radio("N － U = 0.0 とする", 5270, *negativeGroup), 2, 0, 1, 3);

  auto* water = new QHBoxLayout;
  water->addWidget(Text("水の単位体積重量  γw ="));
  water->addWidget(ShownField(5271), 1);
  water->addWidget(Text("(kN/m3)"));

  auto* content = new QVBoxLayout(settings);
  content->setContentsMargins(0, 0, 0, 0);
  content->addWidget(Text("安定計算式の選択"));
  content->addWidget(slice);
  content->addWidget(negative);
  content->addLayout(water);
  settings->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(settings);
  layout->addLayout(MakeOkCancelRow({}, {.ok = nullptr, .cancel = "閉じる"}).layout);
  // Wide enough for the title bar to show the whole title, which says that nothing is stored.
  const QFontMetrics metrics(font());
  resize(std::max(sizeHint().width(), metrics.horizontalAdvance(windowTitle()) + kTitleBarExtra),
         sizeHint().height());
}
