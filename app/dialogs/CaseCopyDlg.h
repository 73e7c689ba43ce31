#pragma once
// The case copy dialog ("ケースのコピー"): copies one case into a slot of the open document. The
// source is a slot of the same document or of another document file read into the dialog's own
// list; both cases are previewed as small drawings. Copies take effect at once; Cancel undoes
// every copy made while the dialog was open. After OK the frame selects the slot copied to.

#include <QWidget>
#include <filesystem>
#include <memory>

#include "app/dialogs/CaseBackup.h"
#include "core/case/CaseArray.h"
#include "stage/controls/StageDialog.h"

class QLabel;
class QListWidget;

// A small drawing of one case (or of nothing) on white.
class CCasePreview : public QWidget {
  Q_OBJECT

 public:
  explicit CCasePreview(QWidget* parent = nullptr);
  // The case to draw; null draws the white area only. Repaints.
  void SetCase(CCase* shown);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CCase* shown_ = nullptr;
};

class CCaseCopyDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr int kNone = -1;

  // Copies from and into the document's cases, which it keeps a copy of for Cancel.
  explicit CCaseCopyDlg(CCaseArray& cases, QWidget* parent = nullptr);

  // The slot of the last copy; kNone when nothing was copied.
  int GetCopiedIndex() const { return copiedIndex_; }

  void OnCancel() override;

 private:
  const CCaseArray& Source() const { return fromFile_ ? fileCases_ : cases_; }
  void FillLists();
  void ShowPreviews();
  void OnCopy();
  void OnReadFile();
  // Reads another document's cases as the source; a file that cannot serve gets a message and
  // changes nothing.
  void ReadSourceFile(const std::filesystem::path& path);

  CCaseArray& cases_;
  std::unique_ptr<CCaseBackup> backup_;
  CCaseArray fileCases_;
  bool fromFile_ = false;
  int sourceIndex_;
  int targetIndex_ = 0;
  int copiedIndex_ = kNone;
  QListWidget* sourceList_;
  QListWidget* targetList_;
  CCasePreview* sourcePreview_;
  CCasePreview* targetPreview_;
  QLabel* fileName_;
};
