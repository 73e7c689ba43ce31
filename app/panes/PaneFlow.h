#pragma once
// The flow pane ("フロー"): the four design steps as tabs stacked like an accordion, and below
// the current tab a scrollable page with that step's command buttons. A tab entered sends the
// step's message to the frame; a command button sends its command message. The current tab is
// the program's step number (0..3).
//
// The frame tells the pane which commands it serves now (SetCommandAvailable); a command it does
// not serve is shown disabled, never as a button that does nothing.

#include <QWidget>
#include <array>
#include <functional>
#include <span>
#include <vector>

#include "platform/FrameMessages.h"

class CExpButton;
class QScrollBar;

// Whether the frame serves the command message now.
using CommandAvailable = std::function<bool(FrameMsg)>;

// One step page: its command buttons on the page colour, top to bottom.
class CFlowStageDlg : public QWidget {
  Q_OBJECT

 public:
  struct Command {
    int id;
    const char* text;
    FrameMsg message;
  };

  // Enables each button whose command the frame serves.
  void UpdateCommands(const CommandAvailable& available);
  const std::vector<CExpButton*>& Buttons() const { return buttons_; }

 protected:
  CFlowStageDlg(int id, std::span<const Command> commands, QWidget* parent);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnCommand(const Command& command, CExpButton* button);
  // The hover highlight on the button under the cursor only (null: none).
  void SetHover(const CExpButton* hovered);

  std::vector<CExpButton*> buttons_;
  std::vector<FrameMsg> messages_;
};

// Step 1: basic conditions.
class CFlowStage1Dlg : public CFlowStageDlg {
  Q_OBJECT
 public:
  explicit CFlowStage1Dlg(QWidget* parent);
};

// Step 2: multi-plane stability.
class CFlowStage2Dlg : public CFlowStageDlg {
  Q_OBJECT
 public:
  explicit CFlowStage2Dlg(QWidget* parent);
};

// Step 3: slide deformation.
class CFlowStage3Dlg : public CFlowStageDlg {
  Q_OBJECT
 public:
  explicit CFlowStage3Dlg(QWidget* parent);
};

// Step 4: shear deformation.
class CFlowStage4Dlg : public CFlowStageDlg {
  Q_OBJECT
 public:
  explicit CFlowStage4Dlg(QWidget* parent);
};

class CPaneFlowDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStageCount = 4;

  explicit CPaneFlowDlg(QWidget* parent = nullptr);

  // The current step, 0..3.
  int GetStage() const { return current_; }
  // Tab n chosen: the step is entered and its message sent, unless it is current already.
  void SelectStage(int n);
  // Back to step 1 without a message (after New and after loading; the frame sets the step
  // number itself).
  void ResetToFirstStage();

  // Takes the frame's answer to which commands it serves and applies it.
  void SetCommandAvailable(CommandAvailable available);
  // Applies that answer again (after the frame's set of commands changed).
  void UpdateCommands();

  CFlowStageDlg& Page(int n) const { return *pages_.at(n); }
  CExpButton& Tab(int n) const { return *tabs_.at(n); }
  QScrollBar& ScrollBar() const { return *scroll_; }
  // The current page's scroll position.
  int ScrollPosition() const { return positions_[current_]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int TabHeight() const;
  // Tabs up to the current one at the top, the others at the bottom, the page band between.
  void Layout();
  // The current page in the band, scrolled to its stored position, its tab pressed.
  void ShowPage();
  void MovePage();
  // Line steps move one pixel, page steps five.
  void OnScrollAction(int action);
  void OnScrolled(int position);

  std::array<CExpButton*, kStageCount> tabs_{};
  QWidget* host_;
  QScrollBar* scroll_;
  std::array<CFlowStageDlg*, kStageCount> pages_{};
  std::array<int, kStageCount> heights_{};
  std::array<int, kStageCount> positions_{};
  int current_ = 0;
  CommandAvailable available_;
};
