#pragma once
// CExpEdit: the one-line input field of the dialogs. It filters keystrokes by its input kind
// (free text, integer, decimal), limits its text to a length in bytes of the Japanese code page
// (CP932), selects its whole text when it gains the focus and, when the user leaves it after a
// change, checks the number against a range and a count of decimals. A failed check shows a
// warning, puts back the text the field held when it gained the focus and keeps the focus there.
// Dialogs set the public settings in their initialisation; the field reads them when it needs
// them.

#include <QLineEdit>
#include <string>

#include "core/base/Utility.h"
#include "platform/DevTypes.h"

class CExpEdit : public QLineEdit {
  Q_OBJECT

 public:
  enum Kind { kText = 0, kInteger = 1, kDecimal = 2 };
  enum CheckResult { kValid = 0, kNotNumber = 1, kOutOfRange = 2, kTooManyDecimals = 3 };

  explicit CExpEdit(QWidget* parent = nullptr);

  // Empty text for m_dNull, else the value ("%d").
  void SetInt(int value);
  // Empty text for m_dNull, else the value with m_nDecimals decimals.
  void SetDouble(double value);
  std::string GetText() const;
  // m_dNull for empty text or text that starts with no number; else the number the text starts
  // with.
  double GetDouble() const;
  // GetDouble, except that while the field still shows the given value as SetDouble shows it,
  // that value exactly: a value with more decimals than the field shows survives an OK without
  // edits.
  double GetDoubleKeeping(double given) const;
  // The check on leaving the field: a CheckResult.
  int Check() const;
  // The warning of a failed check, in the words of the field's own check.
  void ReportFailedCheck(int result) const;

  void SetTextColor(Color color);
  void SetBackColor(Color color);
  void SetReadOnlyColor(Color color);
  // A read-only field takes no focus and shows the read-only colour.
  void SetReadOnly(bool readOnly);

  bool m_bSelectAll = true;  // select the whole text on gaining the focus
  int m_nType = kText;
  int m_nMaxBytes = 30000;   // CP932 bytes; 0: no limit
  double m_dMin = kNoValue;  // kNoValue: no limit
  double m_dMax = kNoValue;
  double m_dNull = kNoValue;  // the value shown as empty text
  // Decimals shown and allowed; −k asks for the lowest k digits of the integer part to be zero.
  int m_nDecimals = 0;

 signals:
  // The field was left and its text passed the check (or the dialog is being cancelled).
  void FocusLeft();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The CP932 bytes that typed text may still take: the limit less the text, plus the selection
  // that the typing replaces.
  bool FitsRoom(const QString& typed) const;
  bool AcceptsCharacter(QChar c) const;
  // Pastes the clipboard's text when it fits the room; beeps otherwise.
  void PasteWithinRoom();
  void ApplyColors();

  std::string m_strFocus;  // the text when the field last gained the focus
  bool m_bChanged = false;
  bool m_bCancel = false;  // skip the next check: Esc, or the focus went to Cancel
  Color m_clrText;
  Color m_clrBack;
  Color m_clrReadOnly;
};

// The warning every number entry gives for text that is not a number.
void ReportNotANumber();

// A decimal field with its id (the object name): values from min to max with the given decimals,
// at most maxBytes characters typed, empty text for the unset value.
CExpEdit* MakeDecimalField(int id, double min, double max, int maxBytes, int decimals);
// An integer field with its id, range and byte limit; empty means unset (kNoValueInt).
CExpEdit* MakeIntegerField(int id, int min, int max, int maxBytes);
