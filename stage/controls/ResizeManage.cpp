#include "stage/controls/ResizeManage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

#include "platform/UiRegistry.h"

CResizeCtrl::CResizeCtrl(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY,
                         bool redrawParent)
    : m_pWnd(control),
      m_bMoveX(moveX),
      m_bMoveY(moveY),
      m_bSizeX(sizeX),
      m_bSizeY(sizeY),
      m_bRedrawParent(redrawParent),
      m_rcBase(control != nullptr ? control->geometry() : QRect()) {}

void CResizeCtrl::Move(int dx, int dy) const {
  if (m_pWnd == nullptr) return;
  m_pWnd->setGeometry(m_rcBase.x() + (m_bMoveX ? dx : 0), m_rcBase.y() + (m_bMoveY ? dy : 0),
                      m_rcBase.width() + (m_bSizeX ? dx : 0),
                      m_rcBase.height() + (m_bSizeY ? dy : 0));
}

void CResizeManage::Add(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY,
                        bool redrawParent) {
  m_list.push_back(
      std::make_unique<CResizeCtrl>(control, moveX, moveY, sizeX, sizeY, redrawParent));
}

void CResizeManage::RemoveAll() { m_list.clear(); }

void CResizeManage::Resize(const QRect& dialogRect) const {
  const int dx = dialogRect.width() - m_rcBase.width();
  const int dy = dialogRect.height() - m_rcBase.height();
  for (const auto& anchored : m_list) anchored->Move(dx, dy);
}

void CResizeManage::ApplyTrackLimits(QWidget& dialog) const {
  dialog.setMinimumSize(m_ptMinTrack.x(), m_ptMinTrack.y());
  dialog.setMaximumSize(m_ptMaxTrack.x(), m_ptMaxTrack.y());
}

void DrawItemBitmap(QWidget& dialog, int id, const QPixmap& bitmap) {
  auto* item = dialog.findChild<QLabel*>(QString::number(id));
  if (item == nullptr) return;
  item->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  item->setPixmap(bitmap.copy(0, 0, std::min(bitmap.width(), item->width()),
                              std::min(bitmap.height(), item->height())));
}

bool CopyTextToClipboard(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QString wanted = QString::fromStdString(text);
  clipboard->setText(wanted);
  if (clipboard->text() == wanted) return true;
  Ui().MessageBox("クリップボードのオープンに失敗しました。", "Clipboard", MsgButtons::Ok,
                  MsgIcon::Error);
  return false;
}

std::string GetFolderOfPath(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(0, separator);
}
