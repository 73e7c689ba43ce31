#pragma once
// CShearGraphFrame: the framed area in which the step-4 dialogs paint a graph of the case. The
// owner's painter draws on a white picture of the area's size with a view taken from the case's
// drawing settings.

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/DevTypes.h"

class CCase;
class CViewInfo;

class CShearGraphFrame : public QWidget {
 public:
  using Painter = std::function<void(CViewInfo& view, const DevRect& frame)>;

  CShearGraphFrame(CCase& owner, Painter painter, QWidget* parent = nullptr);

  // The graph as the area shows it now.
  QImage Render() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CCase& case_;
  Painter painter_;
};
