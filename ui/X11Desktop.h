#pragma once

class QWidget;

namespace qzds {

// The desktop's part in the program's dialogs, under X (XWayland included); nothing elsewhere.

// Notes from now on the time of each key press, click and touch the program takes: the time its
// requests for the focus carry.
void FollowUserInput();

// For a dialog about to map: marks it modal for the window manager, which then treats it as every
// modal dialog (Alt+Tab, a click on the main window, iconify). One that maps while the focus is in
// another application does not take it.
void MarkModal(QWidget* dialog);

// Under XWayland, marks a dialog modal once it has the focus: mutter sends no key to the parent
// of a modal dialog without the focus, and the keys typed ahead meanwhile would be lost.
void ModalFocused(QWidget* dialog);

// Asks for the focus for a dialog now on the screen, only while the focus is the program's and
// with the time of the user's latest input in it: a click elsewhere, before or after, wins.
void ActivateModal(QWidget* dialog);

// Deletes the window's dialogs and, if one of them had the focus, gives it back to the window, as
// the end of a modal dialog does (a window manager might give it to another program's window).
void CloseDialogsOf(QWidget* window);

} // namespace qzds
