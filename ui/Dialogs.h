#pragma once

// What the program's dialogs share: their frame, and where on the screen they stand.

#include <QWidget>

namespace qzds {

// A fixed-size dialog: a title and a close box, nothing to minimise or maximise.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

enum class VerticalPlace {
    ThirdDown, // its top a third of the way down, where a question is asked
    Centred,   // in the middle, where a message is reported
};

// Moves a dialog to the screen of its parent (or the primary screen), centred horizontally.
// Every dialog calls it from its showEvent(), once it has its final size and before the window
// system maps it.
void PlaceOnScreen(QWidget* dialog, VerticalPlace place);

} // namespace qzds
