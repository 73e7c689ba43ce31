#include "stage/controls/KeyCode.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, int>, 17> kNamedKeys = {{
    {Qt::Key_Backspace, kKeyBack},
    {Qt::Key_Tab, kKeyTab},
    {Qt::Key_Backtab, kKeyTab},
    {Qt::Key_Return, kKeyReturn},
    {Qt::Key_Enter, kKeyReturn},
    {Qt::Key_Escape, kKeyEscape},
    {Qt::Key_Space, kKeySpace},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, kKeyLeft},
    {Qt::Key_Up, kKeyUp},
    {Qt::Key_Right, kKeyRight},
    {Qt::Key_Down, kKeyDown},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, kKeyDelete},
}};

}  // namespace

int KeyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Asterisk) {
    return (event.modifiers() & Qt::KeypadModifier) ? kKeyMultiply : kKeyAsterisk;
  }
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
    return key;  // Qt numbers these as their ASCII codes
  }
  for (const auto& [qtKey, code] : kNamedKeys) {
    if (qtKey == key) return code;
  }
  return 0;
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  return ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
         ((modifiers & Qt::AltModifier) ? 4 : 0);
}
