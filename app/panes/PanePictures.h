#pragma once
// The pictures of the panes' picture buttons: a small face with the button's caption on it,
// raised, and sunken while pressed, so that each action says what it does.

#include <QString>

class CExpButton;

// Gives the picture button its normal, pressed and disabled pictures, showing the caption (lines
// split at
// "\n"), and the size of the pictures.
void SetPaneButtonPictures(CExpButton& button, const QString& caption);
