#pragma once

// What the program's dialogs share: their frame, where on the screen they stand, and how the
// program waits for their answer.

#include <QDialog>

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

// Shows the dialog and waits for its answer, as exec() does, but without Qt's modality: Qt drops
// the keys that the window system still sends to a window it blocks, as it does while the focus
// moves to a new dialog, and so would lose what the user typed ahead. The main window's
// CommandModality keeps its input from it meanwhile, and hands its keys to the dialog. With
// exec()'s guards: a dialog deleted while it asks answers Rejected (the caller's pointer to it is
// then dangling: hold it in a QPointer), and a dialog already waited for is not waited for again.
int ShowAndWait(QDialog* dialog);

} // namespace qzds
