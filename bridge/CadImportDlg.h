#pragma once
// CCadImportDlg: "CADから挿入". Opens a DXF file in the CAD control, lets the user choose the CAD
// layers of the terrain, the stratum lines, the water line and the slip surface, scale and shift
// the coordinates and watch a preview; OK turns the chosen layers into shapes of the bridge's
// module state (BridgeState.h), from which the stage manager reads them.
//
// It keeps the stage dialogs' key rules itself (the bridge cannot link the stage library): Escape
// never closes; Enter moves to the next control and presses OK only when OK has the focus; no
// push button is a default button; the close button acts as Cancel. Boxes and the file choice go
// through Ui().

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "bridge/BridgeState.h"
#include "platform/cad/CadDrawing.h"

class CZ_Tv5Gen6;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;

// An entity as the dialog takes it: a polyline's points, or an arc's start, middle and end.
struct CadImportEntity {
  int kind = 1;  // 1 polyline, 2 arc
  std::vector<CadPoint> points;

  // The extents run over all points, x as y: a polyline may reach past its ends.
  double XMin() const;
  double XMax() const;
  double YMin() const;
  double YMax() const;
};

// The slip surface that the slip-surface layer's entities make: each drawn right to left is
// turned round, they are ordered by their x minimum (equal minima keep their order) and joined;
// a point within 0.001 of the one before in x and y is left out (its arc style goes to that
// point); the first point of an arc has style 1, every other point 0.
BridgeShape SlideSurfaceOf(std::vector<CadImportEntity> entities);

class CCadImportDlg : public QDialog {
  Q_OBJECT

 public:
  enum { kRows = 4 };  // terrain, strata, water, slip surface
  static constexpr const char* kNotSet = "(未設定)";
  static constexpr const char* kFileCaption = "CADファイル読み込み";
  static constexpr const char* kFilter = "DXF ﾌｧｲﾙ(*.dxf)|*.dxf|全てのﾌｧｲﾙ(*.*)|*.*||";

  struct Options {
    std::array<bool, kRows> rows{true, true, true, true};
    bool sxfStep = true;  // the file filter offers DXF alone whatever these two say
    bool dwg = true;
    bool bottomLevel = true;
    int controlMode = 0;
    std::string defaultExtension;
    std::string initialPath;
  };

  explicit CCadImportDlg(const Options& options, QWidget* parent = nullptr);

  // "ファイルを開く": choose a file, test it, read it and list its layers.
  void OnOpenFile();
  // OK: the chosen layers into the module state; only while OK has the focus.
  void OnOK();

  // The controls, for tests: the layer combo of a row, the edits and checks by their ids.
  QComboBox* LayerCombo(int row) const { return combos_[static_cast<std::size_t>(row)]; }
  QLineEdit* ScaleEdit() const { return scaleEdit_; }
  QLineEdit* OffsetEdit(int axis) const { return axis == 0 ? offsetXEdit_ : offsetYEdit_; }
  QCheckBox* FitMinimumCheck() const { return fitMinimum_; }
  QCheckBox* AutoBottomCheck() const { return autoBottom_; }
  QLineEdit* BottomEdit() const { return bottomEdit_; }
  QPushButton* OpenButton() const { return openButton_; }
  QPushButton* OkButton() const { return okButton_; }
  double BottomLevel() const { return bottom_; }

  // Paints the preview into the frame's rectangle.
  void PaintPreview(QPainter& painter, const QRect& frame) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Extents {
    double xMin = 9e32;
    double yMin = 9e32;
    double xMax = -9e32;
    double yMax = -9e32;
    bool Found() const { return xMin <= xMax; }
  };

  void BuildControls();
  void UpdateEnableStates();
  // Reads the scale and offsets; a scale outside its range is refused with a box and put back.
  void ReadEdits();
  void ShowData();
  void OnBottomEdited();
  // Extents, bottom level and preview after every change.
  void Refresh();
  void FillLayerLists();
  bool FileOpensForReading(const std::string& path) const;

  // The entities of a row's layer; the terrain and water rows take the first alone.
  std::vector<CadImportEntity> RowEntities(int row, short mode) const;
  Extents ExtentsOfRows() const;
  CadPoint Map(const CadPoint& p) const;
  void ComputeBottomLevel();

  Options options_;
  double scale_ = 1.0;
  double offsetX_ = 0;
  double offsetY_ = 0;
  double bottom_ = 0;
  Extents extents_;

  CZ_Tv5Gen6* cad_ = nullptr;
  std::array<QComboBox*, kRows> combos_{};
  std::array<QLabel*, kRows> rowLabels_{};
  QLineEdit* scaleEdit_ = nullptr;
  QLineEdit* offsetXEdit_ = nullptr;
  QLineEdit* offsetYEdit_ = nullptr;
  QCheckBox* fitMinimum_ = nullptr;
  QCheckBox* autoBottom_ = nullptr;
  QLineEdit* bottomEdit_ = nullptr;
  QLabel* bottomLabel_ = nullptr;
  QLabel* bottomUnit_ = nullptr;
  QWidget* preview_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

// The text of the box that reports why a file does not open for reading, from its errno.
std::string FileOpenFailureText(int error);
