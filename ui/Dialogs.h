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
// the keys that the window system sends to a window it blocks, and the user types ahead. The
// window manager is told that the dialog is modal (MarkModal), and the main window's
// CommandModality hands its keys on to the dialog. With exec()'s guards: the wait ends when the
// dialog answers, is hidden or is deleted (Rejected then; the caller's pointer to a deleted
// dialog is dangling: hold it in a QPointer), and a dialog already waited for is not waited for
// again.
int ShowAndWait(QDialog* dialog);

// Leaves an answered dialog on the screen until the focus moves to another window, then deletes
// it: the focus passes from it straight to the program's next window, with no moment in which
// keys typed ahead would go nowhere. Hidden and deleted at once while the focus is in another
// application.
void HandOverFocus(QDialog* answered);

// Whether ShowAndWait waits for this dialog's answer: it is asking. A dialog still shown that has
// answered stays only until the next window has the focus.
bool IsAsking(const QWidget* dialog);

} // namespace qzds
