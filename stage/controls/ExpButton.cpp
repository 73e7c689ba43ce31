#include "stage/controls/ExpButton.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <array>

#include "stage/controls/QtColor.h"

namespace {

// A rectangle given as left, top and the right and bottom edges that lie just outside it.
QRect Edges(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// A line through three points in a solid pen of width 1.
void Line3(QPainter& painter, Color color, QPoint a, QPoint b, QPoint c) {
  painter.setPen(ToQColor(color));
  const std::array<QPoint, 3> points = {a, b, c};
  painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

// The outer bottom-right, inner bottom-right, outer top-left and inner top-left lines.
void OuterBottomRight(QPainter& p, Color c, int l, int t, int r, int b) {
  Line3(p, c, {l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1});
}
void InnerBottomRight(QPainter& p, Color c, int l, int t, int r, int b) {
  Line3(p, c, {l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t});
}
void OuterTopLeft(QPainter& p, Color c, int l, int t, int r, int b) {
  Line3(p, c, {l, b - 2}, {l, t}, {r - 1, t});
}
void InnerTopLeft(QPainter& p, Color c, int l, int t, int r, int b) {
  Line3(p, c, {l + 1, b - 3}, {l + 1, t + 1}, {r - 2, t + 1});
}

void ThickInnerFrame(QPainter& p, Color c, int l, int t, int r, int b) {
  InnerBottomRight(p, c, l, t, r, b);
  InnerTopLeft(p, c, l, t, r, b);
  Line3(p, c, {l + 2, b - 3}, {r - 3, b - 3}, {r - 3, t + 1});
  Line3(p, c, {l + 2, b - 4}, {l + 2, t + 2}, {r - 3, t + 2});
}

// A two-line edge (a, b): the outer bottom-right line in a and the outer top-left line in b.
void TwoLineEdge(QPainter& p, Color a, Color b, int l, int t, int r, int bottom) {
  OuterBottomRight(p, a, l, t, r, bottom);
  OuterTopLeft(p, b, l, t, r, bottom);
}

// The framework's two-colour gradient in horizontal bands: from `from` at the top to `to` at the
// bottom.
void Gradient(QPainter& p, const QRect& rect, Color from, Color to) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0.0, ToQColor(from));
  gradient.setColorAt(1.0, ToQColor(to));
  p.fillRect(rect, gradient);
}

// The text rectangle shifted by the press: left and top +1 when pressed, else right and
// bottom −1.
QRect Shifted(QRect rect, bool pressed) {
  return pressed ? rect.adjusted(1, 1, 0, 0) : rect.adjusted(0, 0, -1, -1);
}

}  // namespace

struct CExpButton::Look {
  int l;
  int t;
  int r;  // just right of the button
  int b;  // just below the button
  bool pressed;
  bool enabled;
  bool focus;
  QRect Item() const { return Edges(l, t, r, b); }
};

CExpButton::CExpButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  const QPalette& colours = palette();
  m_clrText = ToColor(colours.color(QPalette::ButtonText));
  m_clrFace = ToColor(colours.color(QPalette::Button));
  m_clrCheck = m_clrFace;
  m_clrHighlight = ToColor(colours.color(QPalette::Light));
  m_clrLight = ToColor(colours.color(QPalette::Midlight));
  m_clrShadow = ToColor(colours.color(QPalette::Dark));
  m_clrDarkShadow = ToColor(colours.color(QPalette::Shadow));
}

void CExpButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const Look look{0, 0, width(), height(), isDown(), isEnabled(), hasFocus()};
  switch (m_nStyle) {
    case 0:
      PaintClassic(painter, look);
      break;
    case 1:
      PaintTab(painter, look);
      break;
    case 2:
      PaintGradient(painter, look);
      break;
    case 3:
      PaintFlat(painter, look);
      break;
    case 4:
    case 5:
      PaintSlanted(painter, look, m_nStyle == 5);
      break;
    case 6:
      PaintGradientFramed(painter, look);
      break;
    case 7:
      PaintBitmap(painter, look);
      break;
    default:
      break;  // an unknown style leaves the button unpainted
  }
}

void CExpButton::mouseReleaseEvent(QMouseEvent* event) {
  const bool flips = m_bToggle && (m_nStyle == 0 || m_nStyle == 7) &&
                     event->button() == Qt::LeftButton && isDown() &&
                     rect().contains(event->position().toPoint());
  if (flips) {
    m_bCheck = !m_bCheck;
    update();
  }
  QPushButton::mouseReleaseEvent(event);
}

void CExpButton::PaintClassic(QPainter& p, const Look& look) {
  p.fillRect(look.Item(), ToQColor(m_clrFace));
  const bool sunken = look.pressed || m_bCheck;
  const auto [c1, c2, c3, c4] =
      sunken ? std::array{m_clrHighlight, m_clrLight, m_clrShadow, m_clrDarkShadow}
             : std::array{m_clrDarkShadow, m_clrShadow, m_clrLight, m_clrHighlight};
  OuterBottomRight(p, c1, look.l, look.t, look.r, look.b);
  InnerBottomRight(p, c2, look.l, look.t, look.r, look.b);
  OuterTopLeft(p, c3, look.l, look.t, look.r, look.b);
  InnerTopLeft(p, c4, look.l, look.t, look.r, look.b);
  PaintCaption(p, Shifted(look.Item(), sunken));
  PaintFocus(p, look);
}

void CExpButton::PaintTab(QPainter& p, const Look& look) {
  p.fillRect(look.Item(), palette().color(QPalette::Button));
  // The six corners of a tab with cut upper corners; the upper-left place is one pixel smaller
  // at the right and bottom, the lower-right one at the left and top.
  const auto tab = [&](bool upperLeft, Color pen, Color brush) {
    const int l = upperLeft ? look.l : look.l + 1;
    const int t = upperLeft ? look.t : look.t + 1;
    const int r = upperLeft ? look.r - 1 : look.r;
    const int b = upperLeft ? look.b - 1 : look.b;
    const QPolygon shape({QPoint(l, b - 1), QPoint(l, t + 3), QPoint(l + 3, t), QPoint(r - 4, t),
                          QPoint(r - 1, t + 3), QPoint(r - 1, b - 1)});
    p.setPen(ToQColor(pen));
    p.setBrush(ToQColor(brush));
    p.drawPolygon(shape);
  };
  const bool sunken = look.pressed || m_bCheck;
  if (sunken) {
    tab(true, m_clrDarkShadow, m_clrShadow);
    tab(false, m_clrShadow, m_clrCheck);
  } else {
    tab(false, m_clrDarkShadow, m_clrDarkShadow);
    tab(true, m_clrShadow, m_clrFace);
  }
  PaintCaption(p, Shifted(look.Item(), sunken));
  PaintFocus(p, look);
}

void CExpButton::PaintGradient(QPainter& p, const Look& look) {
  if (m_bCheck) {
    Gradient(p, look.Item(), m_clrCheckSub, m_clrCheck);
  } else {
    Gradient(p, look.Item(), m_clrFaceSub, m_clrFace);
  }
  if (look.pressed) {
    TwoLineEdge(p, m_clrLight, m_clrShadow, look.l, look.t, look.r, look.b);
  } else {
    TwoLineEdge(p, m_clrShadow, m_clrLight, look.l, look.t, look.r, look.b);
  }
  PaintCaption(p, Shifted(look.Item(), look.pressed).adjusted(4, 4, -4, -4));
}

void CExpButton::PaintFlat(QPainter& p, const Look& look) {
  if (look.pressed && m_bLamp) m_bLamp = false;  // pressing puts the highlight out
  Color face = m_clrHighlight;
  if (look.enabled) face = m_bLamp ? m_clrCheckSub : m_clrFace;
  p.fillRect(look.Item(), ToQColor(face));
  const Color frame = look.enabled ? m_clrFaceSub : m_clrDarkShadow;
  if (m_bCheck) ThickInnerFrame(p, frame, look.l, look.t, look.r, look.b);
  TwoLineEdge(p, frame, frame, look.l, look.t, look.r, look.b);
  const int inset = look.pressed ? 6 : 4;
  PaintCaption(p, look.Item().adjusted(0, 0, -1, -1).adjusted(inset, inset, -4, -4));
}

void CExpButton::PaintSlanted(QPainter& p, const Look& look, bool lamp) {
  const Color face = m_bCheck ? m_clrCheck : m_clrFace;
  const Color c1 = look.pressed ? m_clrLight : m_clrShadow;
  const Color c2 = look.pressed ? m_clrShadow : m_clrLight;
  const QPolygon shape({QPoint(look.l, look.b - 1), QPoint(look.l, look.t),
                        QPoint(look.r - 1, look.t),
                        QPoint(look.r - (look.b - look.t) / 2, look.b - 1)});
  p.setPen(ToQColor(c1));
  p.setBrush(ToQColor(face));
  p.drawPolygon(shape);
  OuterTopLeft(p, c2, look.l, look.t, look.r, look.b);
  if (lamp) {
    p.setPen(ToQColor(m_clrDarkShadow));
    p.setBrush(ToQColor(face));
    p.drawRect(Edges(look.l + 3, look.t + 3, look.l + 11, look.b - 4).adjusted(0, 0, -1, -1));
    p.setPen(ToQColor(m_clrHighlight));
    p.setBrush(ToQColor(m_bLamp ? m_clrCheckSub : m_clrFaceSub));
    p.drawRect(Edges(look.l + 4, look.t + 4, look.l + 10, look.b - 5).adjusted(0, 0, -1, -1));
  }
  const QRect shifted = Shifted(look.Item(), look.pressed);
  const int slant = shifted.height() / 2 + 4;
  PaintCaption(p, shifted.adjusted(lamp ? 15 : 4, 4, -slant, -4));
}

void CExpButton::PaintGradientFramed(QPainter& p, const Look& look) {
  Gradient(p, look.Item(), m_clrFaceSub, m_clrFace);
  if (m_bCheck) ThickInnerFrame(p, m_clrHighlight, look.l, look.t, look.r, look.b);
  if (look.pressed) {
    TwoLineEdge(p, m_clrLight, m_clrShadow, look.l, look.t, look.r, look.b);
  } else {
    TwoLineEdge(p, m_clrShadow, m_clrLight, look.l, look.t, look.r, look.b);
  }
  PaintCaption(p, Shifted(look.Item(), look.pressed).adjusted(4, 4, -4, -4));
}

void CExpButton::PaintBitmap(QPainter& p, const Look& look) {
  const QPixmap* bitmap = &m_bmpNormal;
  if (m_bDisableBitmap && !look.enabled) {
    bitmap = &m_bmpDisable;
  } else if (look.pressed || m_bCheck) {
    bitmap = &m_bmpPush;
  }
  if (bitmap->isNull()) return;
  // Centred: a larger picture shows its middle, a smaller one leaves the rest unpainted.
  const int w = look.r - look.l;
  const int h = look.b - look.t;
  const int bw = bitmap->width();
  const int bh = bitmap->height();
  const int cw = std::min(w, bw);
  const int ch = std::min(h, bh);
  const QPoint target((look.l + look.r) / 2 - cw / 2, (look.t + look.b) / 2 - ch / 2);
  const QPoint source(bw > w ? (bw - w) / 2 : 0, bh > h ? (bh - h) / 2 : 0);
  p.drawPixmap(target, *bitmap, QRect(source, QSize(cw, ch)));
}

void CExpButton::PaintCaption(QPainter& p, QRect textRect) const {
  int flags = static_cast<int>(m_nAlignH) | Qt::TextShowMnemonic;
  if (m_bMultiLine) {
    // A multi-line caption is placed by the height of one line: a centred one starts half a
    // line down, a bottom-aligned one a line above the bottom.
    const int lineHeight = fontMetrics().height();
    if (m_nAlignV & Qt::AlignVCenter) textRect.setTop(textRect.top() + lineHeight / 2);
    if (m_nAlignV & Qt::AlignBottom) textRect.setTop(textRect.bottom() + 1 - lineHeight);
    flags |= Qt::AlignTop;
  } else {
    flags |= static_cast<int>(m_nAlignV) | Qt::TextSingleLine;
  }
  if (isEnabled()) {
    p.setPen(ToQColor(m_clrText));
    p.drawText(textRect, flags, text());
    return;
  }
  p.setPen(ToQColor(m_clrLight));  // embossed: a light copy one pixel down-right, then shadow
  p.drawText(textRect.translated(1, 1), flags, text());
  p.setPen(ToQColor(m_clrShadow));
  p.drawText(textRect, flags, text());
}

void CExpButton::PaintFocus(QPainter& p, const Look& look) const {
  if (!look.focus) return;
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = look.Item().adjusted(4, 4, -4, -4);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}
