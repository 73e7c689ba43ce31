#include "app/frame/BrixoApp.h"

#include "app/frame/MainFrame.h"

CBrixoApp::CBrixoApp() = default;

CBrixoApp::~CBrixoApp() = default;

bool CBrixoApp::InitInstance(const QStringList& arguments) {
  core_.InitCore(1);
  stage_.SetManageCore(&core_);
  frame_ = std::make_unique<CMainFrame>(*this);
  frame_->show();
  static_cast<void>(arguments);
  return true;
}

void CBrixoApp::SetDocumentPath(const std::filesystem::path& path) {
  documentPath_ = path;
  documentFileName_ = FileNameOfPath(path);
}

std::string FileNameOfPath(const std::filesystem::path& path) { return path.filename().string(); }
