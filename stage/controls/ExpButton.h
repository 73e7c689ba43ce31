#pragma once
// CExpButton: the push button of the dialogs and panes, painted in one of eight styles: 0 a
// classic raised button, 1 a tab, 2 a gradient button, 3 a flat framed button, 4 and 5 slanted
// tab buttons (5 with an indicator lamp), 6 a gradient button with a highlight frame, 7 a
// picture button. As a toggle (styles 0 and 7) a click flips its check state. Owners set the
// public members, usually before the button is first shown, and repaint it after a change.

#include <QPixmap>
#include <QPushButton>

#include "platform/DevTypes.h"

class CExpButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CExpButton(const QString& text = {}, QWidget* parent = nullptr);

  int m_nStyle = 0;               // 0..7; any other value paints nothing
  bool m_bToggle = false;         // a click flips m_bCheck (styles 0 and 7)
  bool m_bCheck = false;          // drawn pressed or marked
  bool m_bLamp = false;           // style 3: face colour; style 5: lamp colour
  bool m_bDisableBitmap = false;  // style 7: m_bmpDisable while disabled
  Qt::Alignment m_nAlignH = Qt::AlignHCenter;
  Qt::Alignment m_nAlignV = Qt::AlignVCenter;  // AlignTop, AlignVCenter or AlignBottom
  bool m_bMultiLine = false;                   // the caption breaks at its line feeds
  Color m_clrText;
  Color m_clrFace;
  Color m_clrFaceSub = Color::Rgb(255, 255, 255);  // gradient start; lamp colour when off
  Color m_clrCheck;
  Color m_clrCheckSub = Color::Rgb(255, 255, 255);  // gradient start while checked; lamp on
  Color m_clrHighlight;
  Color m_clrLight;   // also the lower layer of disabled text
  Color m_clrShadow;  // also the upper layer of disabled text
  Color m_clrDarkShadow;
  QPixmap m_bmpNormal;
  QPixmap m_bmpPush;     // while pressed or checked
  QPixmap m_bmpDisable;  // while disabled, with m_bDisableBitmap

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Look;
  void PaintClassic(QPainter& painter, const Look& look);
  void PaintTab(QPainter& painter, const Look& look);
  void PaintGradient(QPainter& painter, const Look& look);
  void PaintFlat(QPainter& painter, const Look& look);
  void PaintSlanted(QPainter& painter, const Look& look, bool lamp);
  void PaintGradientFramed(QPainter& painter, const Look& look);
  void PaintBitmap(QPainter& painter, const Look& look);
  void PaintCaption(QPainter& painter, QRect textRect) const;
  void PaintFocus(QPainter& painter, const Look& look) const;
};
