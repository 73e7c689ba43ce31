#pragma once
// The one look of the program and of its tests: the Fusion style, the Japanese Gothic face that
// Debian ships, with the Windows faces the dialogs name mapped to it, and Qt's own texts (standard
// buttons, file and print dialogs) in Japanese. Called once, after the QApplication exists, by
// the program's main and by every Qt test main.

#include <QString>

// The face every dialog, control and picture draws its text in.
inline const QString kUiFontFamily = QStringLiteral("Noto Sans CJK JP");

void InstallLookAndFeel();
