#pragma once
// RefTableDlg: what the reference-table editors share. A reference table (soils, standard bars)
// is a comment and a list of rows kept in a file of its own. As the Settings menu's editor the
// dialog edits the program's table in place and manages its files; as a picker it shows a copy
// of the table, from which the user hands back one row (代入). Each grid row stands for one table
// row, so the values of a row that the grid does not show stay with their row whatever the user
// adds, inserts or deletes around it.
//
// The widgets and their layout do not depend on the table and live in the non-template
// RefTableForm; the table's behaviour is the class template RefTableDlg<Traits>. Traits says
// what differs between the tables:
//   using Table; using Row;                  the table (with rows, comment, Copy, IsSame, Default)
//   static constexpr RefTableIds kIds;       the controls' ids
//   static constexpr RefTableTexts kTexts;   the title, the questions and their captions
//   static void SetupGrid(CSheetGrid&);      columns, headers, widths, decimals
//   static void FillRow(CSheetGrid&, int gridRow, const Row&);
//   static void ReadRow(const CSheetGrid&, int gridRow, Row&);  the shown values only
//   static bool Read(Table&, const std::string& path, bool remember);        false if not read
//   static bool Write(const Table&, const std::string& path, bool remember);  false if not written
//   static std::string LastFile();  static std::string DefaultFile();  the SystemConfig paths
// An empty path asks the user for the file; with remember the file becomes the last file.

#include <QPushButton>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"

// The ids of a table editor's controls: the object names the dialogs and tests find them by.
struct RefTableIds {
  int grid;
  int fileName;
  int comment;
  int load;
  int save;
  int factory;
  int add;
  int insert;
  int remove;
};

// A table editor's own texts (UTF-8) and its first size.
struct RefTableTexts {
  const char* title;
  const char* closingCaption;  // the closing question and its refusal
  const char* factoryQuestion;
  const char* factoryCaption;
  int width;
  int height;
};

// The controls of a table editor and their layout; in pick mode everything that could change the
// table or its files is hidden.
class RefTableForm : public StageDialog {
 protected:
  enum class Mode { Edit = 0, Pick = 1 };

  RefTableForm(const RefTableIds& ids, const RefTableTexts& texts, Mode mode, QWidget* parent);

  bool IsPicker() const { return mode_ == Mode::Pick; }

  // Owned by the dialog through Qt's parent chain once laid out.
  CSheetGrid* const grid_;
  CExpEdit* const fileName_;
  CExpEdit* const comment_;
  QPushButton* const load_;
  QPushButton* const save_;
  QPushButton* const factory_;
  QPushButton* const add_;
  QPushButton* const insert_;
  QPushButton* const delete_;
  const OkCancelRow buttons_;  // 追加, 挿入 and 削除, then 代入 and キャンセル

 private:
  void BuildLayout(const RefTableTexts& texts);
  void ApplyMode();

  const Mode mode_;
};

template <class Traits>
class RefTableDlg : public RefTableForm {
 public:
  using Table = typename Traits::Table;
  using Row = typename Traits::Row;

  void OnOK() override {
    ReadBack();
    StageDialog::OnOK();
  }
  void OnCancel() override;

 protected:
  RefTableDlg(Table& live, Mode mode, QWidget* parent);

  // Runs the editor; true when the user saved the changes on closing.
  bool RunEditor() { return RunModal(*this) == Accepted; }
  // Runs the picker; the row the user assigned, nothing on cancel.
  std::optional<Row> RunPicker() {
    if (RunModal(*this) != Accepted) return std::nullopt;
    return picked_;
  }

 private:
  // The table into the grid, the comment and the file-name edits.
  void Fill();
  // The grid and the comment back into the table; in pick mode the active row then becomes the
  // picked row.
  void ReadBack();
  // The table row of the grid's active row; nothing when the active row holds no table row.
  std::optional<int> ActiveTableRow() const;
  // The default file is the factory's, read-only, and so shows no name.
  void ShowFileName();
  // The table as it now stands becomes what closing compares with.
  void MarkSaved() { backup_.Copy(*live_); }

  void OnAdd();
  void OnInsert();
  void OnDelete();
  void OnLoad();
  void OnSave();
  void OnFactoryData();
  // The editor's closing question on unsaved changes: save and end, discard and end, or stay.
  void AskToSave();

  Row& RowAt(int index) { return live_->rows[static_cast<std::size_t>(index)]; }
  int RowCount() const { return static_cast<int>(live_->rows.size()); }

  Table* const live_;  // the table edited: the program's own, or the picker's copy
  Table backup_;       // the table as last loaded or saved
  std::optional<Row> picked_;
};

template <class Traits>
RefTableDlg<Traits>::RefTableDlg(Table& live, Mode mode, QWidget* parent)
    : RefTableForm(Traits::kIds, Traits::kTexts, mode, parent), live_(&live) {
  backup_.Copy(live);
  Traits::SetupGrid(*grid_);
  Fill();
  grid_->SetActiveCell(1, 1);  // the first row's name

  // A class template cannot declare slots, so the buttons call their handlers through lambdas.
  connect(add_, &QPushButton::clicked, this, [this] { OnAdd(); });
  connect(insert_, &QPushButton::clicked, this, [this] { OnInsert(); });
  connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
  connect(load_, &QPushButton::clicked, this, [this] { OnLoad(); });
  connect(save_, &QPushButton::clicked, this, [this] { OnSave(); });
  connect(factory_, &QPushButton::clicked, this, [this] { OnFactoryData(); });
}

template <class Traits>
void RefTableDlg<Traits>::Fill() {
  ShowFileName();
  comment_->setText(QString::fromStdString(live_->comment));
  const int count = RowCount();
  grid_->SetReDraw(false);
  grid_->SetMaxRows(count);
  for (int r = 1; r <= count; ++r) Traits::FillRow(*grid_, r, RowAt(r - 1));
  grid_->SetReDraw(true);
}

template <class Traits>
void RefTableDlg<Traits>::ShowFileName() {
  const std::string last = Traits::LastFile();
  fileName_->setText(last == Traits::DefaultFile() ? QString() : QString::fromStdString(last));
}

template <class Traits>
void RefTableDlg<Traits>::ReadBack() {
  const int count = std::min(grid_->MaxRows(), RowCount());
  for (int r = 1; r <= count; ++r) Traits::ReadRow(*grid_, r, RowAt(r - 1));
  if (IsPicker()) {
    const std::optional<int> active = ActiveTableRow();
    picked_ = active ? std::optional(RowAt(*active)) : std::nullopt;
  } else {
    live_->comment = comment_->GetText();
  }
}

template <class Traits>
std::optional<int> RefTableDlg<Traits>::ActiveTableRow() const {
  const int row = grid_->ActiveRow();
  if (row < 1 || row > RowCount()) return std::nullopt;
  return row - 1;
}

template <class Traits>
void RefTableDlg<Traits>::OnAdd() {
  ReadBack();
  live_->rows.emplace_back();
  Fill();
}

template <class Traits>
void RefTableDlg<Traits>::OnInsert() {
  ReadBack();
  const std::optional<int> active = ActiveTableRow();
  if (!active) return;
  live_->rows.insert(live_->rows.begin() + *active, Row{});
  Fill();
}

template <class Traits>
void RefTableDlg<Traits>::OnDelete() {
  ReadBack();
  const std::optional<int> active = ActiveTableRow();
  if (!active) return;
  if (Ui().MessageBox("「" + RowAt(*active).name + "」 を削除してよろしいですか？", "削除",
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  live_->rows.erase(live_->rows.begin() + *active);
  Fill();
}

template <class Traits>
void RefTableDlg<Traits>::OnLoad() {
  if (Traits::Read(*live_, "", true)) {
    MarkSaved();
    Fill();
  } else {
    ShowFileName();  // a file that could not be read is no longer the last file
  }
}

template <class Traits>
void RefTableDlg<Traits>::OnSave() {
  ReadBack();
  // A failed write has been reported by the writer; the table stays unsaved.
  if (Traits::Write(*live_, "", true)) MarkSaved();
  ShowFileName();
}

template <class Traits>
void RefTableDlg<Traits>::OnFactoryData() {
  if (Ui().MessageBox(Traits::kTexts.factoryQuestion, Traits::kTexts.factoryCaption,
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  live_->Default();
  if (Traits::Write(*live_, Traits::DefaultFile(), false)) MarkSaved();
  Fill();
}

template <class Traits>
void RefTableDlg<Traits>::AskToSave() {
  const char* const caption = Traits::kTexts.closingCaption;
  switch (Ui().MessageBox(
      "データが更新されています。\n保存しない場合には、設定は破棄されます。\n\n保存しますか？",
      caption, MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case MsgResult::Yes:
      if (Traits::LastFile() == Traits::DefaultFile()) {
        Ui().MessageBox("このファイルは読み取り専用です。別のファイル名で保存してください。",
                        caption, MsgButtons::Ok, MsgIcon::Warning);
        return;
      }
      // A failed write has been reported by the writer; the dialog stays open, still unsaved.
      if (!Traits::Write(*live_, Traits::LastFile(), true)) return;
      MarkSaved();
      StageDialog::OnOK();
      return;
    case MsgResult::No:
      live_->Copy(backup_);
      StageDialog::OnCancel();
      return;
    default:
      return;
  }
}

template <class Traits>
void RefTableDlg<Traits>::OnCancel() {
  if (IsPicker()) {
    StageDialog::OnCancel();
    return;
  }
  ReadBack();
  if (live_->IsSame(backup_)) {
    StageDialog::OnCancel();
    return;
  }
  AskToSave();
}
