#pragma once
// CExpStatic: the label of the dialogs and panes, with its own text colour, background and font,
// an optional frame, and a small markup for units and symbols: "{^…}" raises a segment (m{^3}),
// "{_…}" lowers it (τ{_p}). Owners set the public members and repaint the label.

#include <QFont>
#include <QLabel>
#include <QString>
#include <vector>

#include "platform/DevTypes.h"

struct MarkupSegment {
  enum Kind { kNormal, kSuperscript, kSubscript };
  Kind kind = kNormal;
  QString text;
  friend bool operator==(const MarkupSegment&, const MarkupSegment&) = default;
};

// The caption split into segments, left to right. Each "{^" or "{_" runs to the next "}" (or to
// the end of the text), which is dropped; an empty caption has no segments.
std::vector<MarkupSegment> SplitMarkup(const QString& caption);

class CExpStatic : public QLabel {
  Q_OBJECT

 public:
  explicit CExpStatic(const QString& text = {}, QWidget* parent = nullptr);

  Color m_clrText;
  Color m_clrBrush;  // the background
  QFont m_lf;        // the font description; takes effect with m_bFontChanged
  bool m_bFontChanged = false;
  bool m_bFrame = false;
  bool m_bMarkup = false;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void PaintMarkup(QPainter& painter, const QRect& area) const;
};
