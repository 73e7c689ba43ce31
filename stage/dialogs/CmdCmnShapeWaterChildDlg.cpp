#include "stage/dialogs/CmdCmnShapeWaterChildDlg.h"

#include <QVBoxLayout>

#include "core/section/SpWater.h"
#include "stage/controls/SheetGrid.h"

CCmdCmnShapeWaterChildDlg::CCmdCmnShapeWaterChildDlg(QWidget* parent) : CShapeGridPage(parent) {
  setObjectName(QStringLiteral("CCmdCmnShapeWaterChildDlg"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
}

CDPoly* CCmdCmnShapeWaterChildDlg::EditedLine() const {
  return case_ != nullptr ? water_ : nullptr;
}
