#pragma once
// The program's main window.

#include <QMainWindow>

class CBrixoApp;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CBrixoApp& app);
  ~CMainFrame() override;

  // The window text: the document's file name (or "無題") and the program's full title.
  void UpdateTitle();

 private:
  CBrixoApp& app_;
};
