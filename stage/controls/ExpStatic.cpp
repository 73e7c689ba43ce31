#include "stage/controls/ExpStatic.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include "stage/controls/QtColor.h"

namespace {

// The font of raised and lowered segments: nine tenths of the label's font description.
QFont SmallerFont(const QFont& font) {
  QFont smaller(font);
  if (font.pixelSize() > 0) {
    smaller.setPixelSize(font.pixelSize() * 9 / 10);
  } else {
    smaller.setPointSizeF(font.pointSizeF() * 9 / 10);
  }
  return smaller;
}

}  // namespace

std::vector<MarkupSegment> SplitMarkup(const QString& caption) {
  std::vector<MarkupSegment> segments;
  qsizetype at = 0;
  while (at < caption.size()) {
    const qsizetype up = caption.indexOf(QStringLiteral("{^"), at);
    const qsizetype down = caption.indexOf(QStringLiteral("{_"), at);
    qsizetype open = up;
    if (open < 0 || (down >= 0 && down < open)) open = down;
    if (open < 0) {
      segments.push_back({MarkupSegment::kNormal, caption.mid(at)});
      break;
    }
    if (open > at) segments.push_back({MarkupSegment::kNormal, caption.mid(at, open - at)});
    const qsizetype close = caption.indexOf(u'}', open + 2);
    const qsizetype end = close < 0 ? caption.size() : close;
    segments.push_back({open == up ? MarkupSegment::kSuperscript : MarkupSegment::kSubscript,
                        caption.mid(open + 2, end - open - 2)});
    at = close < 0 ? caption.size() : close + 1;
  }
  return segments;
}

CExpStatic::CExpStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      m_clrText(ToColor(palette().color(QPalette::WindowText))),
      m_clrBrush(ToColor(palette().color(QPalette::Button))),
      m_lf(font()) {}

void CExpStatic::paintEvent(QPaintEvent* /*event*/) {
  if (m_bFontChanged) {
    setFont(m_lf);
    m_bFontChanged = false;
  }
  QPainter painter(this);
  const QRect area = rect();
  if (m_bFrame) {
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(m_clrBrush));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
  } else {
    painter.fillRect(area, ToQColor(m_clrBrush));
  }
  const bool ownPainting = m_bFrame || m_bMarkup;
  if (isEnabled()) {
    painter.setPen(ToQColor(m_clrText));
  } else {
    // Painted by its owner the label greys to the shadow colour; else it looks as any disabled
    // label.
    painter.setPen(palette().color(ownPainting ? QPalette::Dark : QPalette::WindowText));
  }
  painter.setFont(font());
  if (m_bMarkup) {
    PaintMarkup(painter, area);
  } else {
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, text());
  }
}

void CExpStatic::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
}

void CExpStatic::PaintMarkup(QPainter& painter, const QRect& area) const {
  const std::vector<MarkupSegment> segments = SplitMarkup(text());
  const QFontMetrics metrics(font());
  const QFont smaller = SmallerFont(m_lf);
  const QFontMetrics smallMetrics(smaller);

  // Widths: a normal segment its own; a raised or lowered one four fifths of it, plus 1. The line
  // height is that of the last normal segment (0 without one).
  std::vector<int> widths;
  int total = 0;
  int lineHeight = 0;
  for (const MarkupSegment& segment : segments) {
    const int measured = metrics.horizontalAdvance(segment.text);
    int width = measured;
    if (segment.kind == MarkupSegment::kNormal) {
      lineHeight = metrics.height();
    } else {
      width = measured * 4 / 5 + 1;
    }
    widths.push_back(width);
    total += width;
  }

  int x = area.left();
  int y = area.top();
  const Qt::Alignment align = alignment();
  if (align & Qt::AlignHCenter) {
    x = area.left() + (area.width() - total) / 2;
  } else if (align & Qt::AlignRight) {
    x = area.right() + 1 - total;
  }
  if (align & Qt::AlignVCenter) y = area.top() + (area.height() - lineHeight) / 2 - 1;

  for (std::size_t i = 0; i < segments.size(); ++i) {
    const MarkupSegment& segment = segments[i];
    if (segment.kind == MarkupSegment::kNormal) {
      painter.setFont(font());
      painter.drawText(x, y + metrics.ascent(), segment.text);
    } else {
      const int shift =
          segment.kind == MarkupSegment::kSuperscript ? -lineHeight / 5 : lineHeight / 4;
      painter.setFont(smaller);
      painter.drawText(x, y + shift + smallMetrics.ascent(), segment.text);
    }
    x += widths[i];
  }
}
