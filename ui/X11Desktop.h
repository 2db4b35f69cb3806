#pragma once

class QWidget;

namespace qzds {

// Under X, notes from now on the time of each key press, click and touch the program takes: the
// time its requests for the focus carry. Once, before the window shows.
void FollowUserInput();

// Under X, marks a dialog of the program that is about to map as a modal dialog of the desktop
// (transient for its parent, which Qt says itself). The window manager then treats it as it
// treats every modal dialog: Alt+Tab, a click on the main window, iconify and restore. A dialog
// that maps while the focus is in another application's window does not take it. For its Show
// event: its window exists then, and is not mapped yet.
void MarkModal(QWidget* dialog);

// Under XWayland, marks a dialog that has just got the focus as modal: there MarkModal leaves it
// to this, since mutter sends no key to the parent of a modal dialog that has not got the focus,
// and the keys typed ahead in that moment would be lost.
void ModalFocused(QWidget* dialog);

// Asks for the focus for a dialog on the screen (asked before, it could go to a window a Wayland
// compositor has no surface for yet, and the keys typed then would go nowhere), as a modal does,
// only while the focus is the program's and with the time of the latest input the program has
// taken: a click elsewhere, before or after, always wins.
void ActivateModal(QWidget* dialog);

// Deletes the window's dialogs and, if one of them had the focus, gives it back to the window, as
// the end of a modal dialog does (a window manager might give it to another program's window).
void CloseDialogsOf(QWidget* window);

} // namespace qzds
