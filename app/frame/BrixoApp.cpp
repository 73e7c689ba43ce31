#include "app/frame/BrixoApp.h"

#include <QString>
#include <filesystem>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"

CBrixoApp::CBrixoApp() = default;

CBrixoApp::~CBrixoApp() = default;

bool CBrixoApp::InitInstance(const QStringList& arguments) {
  core_.InitCore(1);
  stage_.SetManageCore(&core_);

  frame_ = std::make_unique<CMainFrame>(core_, stage_);
  frame_->show();
  frame_->ConnectStage();

  if (arguments.size() > 1) {
    frame_->Documents().OpenDocumentPath(std::filesystem::path(arguments.at(1).toStdString()));
  }
  return true;
}
