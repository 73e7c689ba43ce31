#pragma once
// The key codes that the grids' key events carry and the dialogs compare with: the numbering of
// the keyboards the system was designed on (Delete 46, the keypad's asterisk 106, the asterisk
// key of the Japanese keyboard 186), so that the dialogs' key rules read as they were written.

#include <Qt>

class QKeyEvent;

inline constexpr int kKeyBack = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyMultiply = 106;  // the keypad's asterisk
inline constexpr int kKeyAsterisk = 186;  // the asterisk key beside L on the Japanese keyboard

// The code of the key; letters and digits are their upper-case ASCII codes; 0 for a key without
// a code here.
int KeyCodeOf(const QKeyEvent& event);
// 1 Shift, 2 Ctrl, 4 Alt, added.
int ShiftStateOf(Qt::KeyboardModifiers modifiers);
