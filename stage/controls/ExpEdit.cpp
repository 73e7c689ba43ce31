#include "stage/controls/ExpEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>
#include <algorithm>
#include <climits>
#include <string_view>

#include "platform/NumberText.h"
#include "platform/Text.h"
#include "platform/UiRegistry.h"
#include "stage/controls/QtColor.h"
#include "stage/controls/StageDialog.h"

namespace {

// The control id of every dialog's Cancel button.
const QString kCancelId = QStringLiteral("2");
// The caption of the warnings a failed entry check gives.
constexpr const char* kCheckCaption = "入力確認";

std::size_t Cp932Bytes(const QString& text) { return Utf8ToCp932(text.toStdString()).size(); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Digits with an optional leading minus and, for a decimal, at most one point; at least one digit.
bool IsNumberShape(std::string_view text, bool decimal) {
  bool digit = false;
  bool point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool leadingMinus = c == '-' && i == 0;
    const bool firstPoint = c == '.' && decimal && !point;
    if (!IsDigit(c) && !leadingMinus && !firstPoint) return false;
    digit = digit || IsDigit(c);
    point = point || firstPoint;
  }
  return digit;
}

bool WithinLimits(double value, double lo, double hi) {
  return !(lo != kNoValue && value < lo) && !(hi != kNoValue && value > hi);
}

// With the point at p (the text's length without one) and d decimals: d ≥ 0 asks every digit
// past the d-th decimal to be 0; d < 0 asks the lowest −d digits of the integer part and every
// decimal to be 0.
bool DecimalsFit(std::string_view text, int d) {
  const auto size = static_cast<long>(text.size());
  const std::size_t at = text.find('.');
  const long point = at == std::string_view::npos ? size : static_cast<long>(at);
  const long sign = !text.empty() && text.front() == '-' ? 1 : 0;
  const long from = d >= 0 ? point + d + 1 : std::max(point + d, sign);
  for (long i = from; i < size; ++i) {
    const char c = text[static_cast<std::size_t>(i)];
    if (c != '0' && c != '.') return false;
  }
  return true;
}

std::string Replace(std::string text, std::string_view mark, const std::string& by) {
  const std::size_t at = text.find(mark);
  if (at != std::string::npos) text.replace(at, mark.size(), by);
  return text;
}

}  // namespace

CExpEdit::CExpEdit(QWidget* parent)
    : QLineEdit(parent),
      m_clrText(ToColor(palette().color(QPalette::Text))),
      m_clrBack(ToColor(palette().color(QPalette::Base))),
      m_clrReadOnly(ToColor(palette().color(QPalette::Button))) {
  connect(this, &QLineEdit::textChanged, this, [this] { m_bChanged = true; });
}

void CExpEdit::SetInt(int value) {
  setText(static_cast<double>(value) == m_dNull ? QString()
                                                : QString::fromStdString(FormatInt(value)));
}

void CExpEdit::SetDouble(double value) {
  setText(value == m_dNull ? QString() : QString::fromStdString(FormatFixed(value, m_nDecimals)));
}

std::string CExpEdit::GetText() const { return text().toStdString(); }

double CExpEdit::GetDouble() const {
  const std::string current = GetText();
  if (current.empty()) return m_dNull;
  const auto parsed = ParseDoublePrefix(current);
  return parsed ? parsed->value : m_dNull;
}

double CExpEdit::GetDoubleKeeping(double given) const {
  const bool unchanged =
      given == m_dNull ? text().isEmpty() : GetText() == FormatFixed(given, m_nDecimals);
  return unchanged ? given : GetDouble();
}

int CExpEdit::Check() const {
  const std::string current = GetText();
  if (current.empty() || (m_nType != kInteger && m_nType != kDecimal)) return kValid;
  if (!IsNumberShape(current, m_nType == kDecimal)) return kNotNumber;
  const double value = ParseDoublePrefix(current)->value;
  if (!WithinLimits(value, m_dMin, m_dMax)) return kOutOfRange;
  if (m_nType == kInteger) {
    // A number beyond the int range is no integer, whatever the limits.
    return value < INT_MIN || value > INT_MAX ? kNotNumber : kValid;
  }
  return DecimalsFit(current, m_nDecimals) ? kValid : kTooManyDecimals;
}

void CExpEdit::SetTextColor(Color color) {
  m_clrText = color;
  ApplyColors();
}

void CExpEdit::SetBackColor(Color color) {
  m_clrBack = color;
  ApplyColors();
}

void CExpEdit::SetReadOnlyColor(Color color) {
  m_clrReadOnly = color;
  ApplyColors();
}

void CExpEdit::SetReadOnly(bool readOnly) {
  setReadOnly(readOnly);
  setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
  ApplyColors();
}

void CExpEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) m_bCancel = true;
  if (event->matches(QKeySequence::Paste)) {
    PasteWithinRoom();
    event->accept();
    return;
  }
  const QString typed = event->text();
  const bool character =
      !typed.isEmpty() && typed.front().isPrint() && !(event->modifiers() & Qt::ControlModifier);
  if (character) {
    if (!FitsRoom(typed)) {
      event->accept();
      return;
    }
    if (!AcceptsCharacter(typed.front())) {
      Ui().Beep();
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void CExpEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  const bool accepted =
      FitsRoom(commit) &&
      std::all_of(commit.begin(), commit.end(), [this](QChar c) { return AcceptsCharacter(c); });
  if (!commit.isEmpty() && !accepted) {
    Ui().Beep();
    event->setCommitString(QString());
  }
  QLineEdit::inputMethodEvent(event);
}

void CExpEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  m_strFocus = GetText();
  // After the mouse click that brought the focus has placed the caret.
  if (m_bSelectAll) QMetaObject::invokeMethod(this, &QLineEdit::selectAll, Qt::QueuedConnection);
}

void CExpEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Another window becoming active (a message box, say) or the window closing is no leaving of
  // the field.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
    return;
  }
  const QWidget* now = QApplication::focusWidget();
  if (now != nullptr && now->objectName() == kCancelId) m_bCancel = true;
  if (m_bChanged && !m_bCancel) {
    m_bChanged = false;
    const int result = Check();
    if (result != kValid) {
      ReportFailedCheck(result);
      setText(QString::fromStdString(m_strFocus));
      setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  if (m_nType == kDecimal) SetDouble(GetDouble());
  m_bChanged = false;
  m_bCancel = false;
  emit FocusLeft();
}

void CExpEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  // The menu's paste goes through the same room test as Ctrl+V. Qt connects that action to
  // paste() by name, so it is found and taken over by name too (a test keeps watch).
  for (QAction* action : menu->actions()) {
    if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) {
      connect(action, &QAction::triggered, this, &CExpEdit::PasteWithinRoom);
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void CExpEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) ApplyColors();
}

bool CExpEdit::FitsRoom(const QString& typed) const {
  if (m_nMaxBytes == 0) return true;
  const auto room = static_cast<long long>(m_nMaxBytes) -
                    static_cast<long long>(Cp932Bytes(text())) +
                    static_cast<long long>(Cp932Bytes(selectedText()));
  return static_cast<long long>(Cp932Bytes(typed)) <= room;
}

bool CExpEdit::AcceptsCharacter(QChar c) const {
  const QString current = text();
  const int start = hasSelectedText() ? selectionStart() : cursorPosition();
  const bool minusAllowed = !current.contains(u'-') && start == 0;
  switch (m_nType) {
    case kText:
      return true;
    case kInteger:
      return IsAsciiDigit(c) || (c == u'-' && minusAllowed);
    case kDecimal:
      return IsAsciiDigit(c) || (c == u'.' && !current.contains(u'.')) ||
             (c == u'-' && minusAllowed) ||
             (current.contains(u'.') && selectedText().contains(u'.'));
    default:
      return false;
  }
}

void CExpEdit::PasteWithinRoom() {
  if (FitsRoom(QApplication::clipboard()->text())) {
    paste();
  } else {
    Ui().Beep();
  }
}

void ReportNotANumber() {
  Ui().MessageBox("値が正しくありません。\n\n（数値を入力してください。）", kCheckCaption,
                  MsgButtons::Ok, MsgIcon::Warning);
}

void CExpEdit::ReportFailedCheck(int result) const {
  if (result == kNotNumber) {
    ReportNotANumber();
    return;
  }
  std::string message;
  if (result == kOutOfRange) {
    const int decimals = std::max(m_nDecimals, 0);
    message = Replace(Replace("数値が範囲外です。\n\n（%s ～ %s までの範囲で入力してください。）",
                              "%s", FormatFixed(m_dMin, decimals)),
                      "%s", FormatFixed(m_dMax, decimals));
  } else if (m_nDecimals < 0) {
    message = Replace("整数部下 %d桁 はゼロで入力してください。", "%d", FormatInt(-m_nDecimals));
  } else {
    message = Replace("少数桁がオーバーしています。\n\n（少数 %d桁 以内で入力してください。）",
                      "%d", FormatInt(m_nDecimals));
  }
  Ui().MessageBox(message, kCheckCaption, MsgButtons::Ok, MsgIcon::Warning);
}

void CExpEdit::ApplyColors() {
  QPalette colours = palette();
  colours.setColor(QPalette::Text, ToQColor(m_clrText));
  colours.setColor(QPalette::Base,
                   ToQColor(isReadOnly() || !isEnabled() ? m_clrReadOnly : m_clrBack));
  setPalette(colours);
}

namespace {

// A field of the type with its id, range, byte limit and the value its empty text stands for.
CExpEdit* MakeField(int id, int type, double min, double max, int maxBytes, double unset) {
  auto* field = new CExpEdit;
  SetId(field, id);
  field->m_nType = type;
  field->m_nMaxBytes = maxBytes;
  field->m_dMin = min;
  field->m_dMax = max;
  field->m_dNull = unset;
  return field;
}

}  // namespace

CExpEdit* MakeDecimalField(int id, double min, double max, int maxBytes, int decimals) {
  CExpEdit* field = MakeField(id, CExpEdit::kDecimal, min, max, maxBytes, kNoValue);
  field->m_nDecimals = decimals;
  return field;
}

CExpEdit* MakeIntegerField(int id, int min, int max, int maxBytes) {
  return MakeField(id, CExpEdit::kInteger, min, max, maxBytes, kNoValueInt);
}
