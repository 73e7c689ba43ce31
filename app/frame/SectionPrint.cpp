#include "app/frame/SectionPrint.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <memory>
#include <string>

#include "core/base/Constants.h"
#include "core/case/ManageCore.h"
#include "core/geometry/ViewInfo.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr double kMarginMm = 15.0;

// The case's view drawn on the printer's page for as long as it lives; the screen's mapping,
// zoom and pan come back afterwards.
class PrintMapping {
 public:
  PrintMapping(CViewInfo& view, Canvas& canvas, int width, int height)
      : view_(view), screen_(view), screenCanvas_(view.dc), screenWindow_(view.window) {
    view.ModePrint();
    view.rect = DevRect{0, 0, width, height};
    view.width = width;
    view.height = height;
    view.centreX = width / 2;
    view.centreY = height / 2;
    view.zoom = 1.0;
    view.zoomOn = false;
    view.scrollX = 0;
    view.scrollY = 0;
    view.dc = &canvas;
    view.window = nullptr;
  }
  ~PrintMapping() {
    view_ = screen_;
    view_.dc = screenCanvas_;
    view_.window = screenWindow_;
  }
  PrintMapping(const PrintMapping&) = delete;
  PrintMapping& operator=(const PrintMapping&) = delete;

 private:
  CViewInfo& view_;
  const CViewInfo screen_;
  Canvas* const screenCanvas_;
  PlatformWindow* const screenWindow_;
};

// The page number centred in the bottom margin, below the drawing (the canvas counts y upward
// from the drawing area's bottom edge).
void DrawPageNumber(Canvas& canvas, int number, int width) {
  const std::string text = "- " + std::to_string(number) + " -";
  canvas.SetTextColor(kBlack);
  const DevSize extent = canvas.TextExtent(text);
  canvas.TextOut(DevPoint{(width - extent.cx) / 2, -extent.cy / 2}, text);
}

}  // namespace

void PreparePrinter(QPrinter& printer) {
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                    QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                    QPageLayout::Millimeter));
}

bool PrintSection(CManageCore& core, QPrinter& printer) {
  const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnPrinter(printer);
  if (canvas == nullptr) return false;
  const int width = printer.width();
  const int height = printer.height();
  {
    const PrintMapping mapping(core.GetActiveCase()->GetViewInfo(), *canvas, width, height);
    core.DrawCore();
  }
  const int page = core.GetPrnInfo().GetShowPage();
  if (page > 0) DrawPageNumber(*canvas, page, width);
  return true;
}
