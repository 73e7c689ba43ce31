#include "app/frame/MainFrame.h"

#include <QString>

#include "app/frame/BrixoApp.h"
#include "core/base/AppIdentity.h"

CMainFrame::CMainFrame(CBrixoApp& app) : app_(app) { UpdateTitle(); }

CMainFrame::~CMainFrame() = default;

void CMainFrame::UpdateTitle() {
  const std::string& name = app_.DocumentFileName();
  const std::string title = (name.empty() ? std::string("無題") : name) + " - " + GetAppFullTitle();
  setWindowTitle(QString::fromStdString(title));
}
