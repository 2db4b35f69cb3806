#pragma once

#include <chrono>

class QWidget;

namespace qzds {

// The desktop's part in the program's dialogs, under X (XWayland included); nothing elsewhere.

// Notes from now on the time of each key press, click and touch the program takes: the time its
// requests for the focus carry.
void FollowUserInput();

// For a dialog about to map: marks it modal for the window manager, which then treats it as every
// modal dialog (Alt+Tab, a click on the main window, iconify). One that maps while the focus is in
// another application does not take it, nor under XWayland any (see ActivationDelay()).
void MarkModal(QWidget* dialog);

// Under XWayland before 23.1, marks a dialog modal once it has the focus: mutter 43 sends no key
// to the parent of a modal dialog without the focus, and the keys typed ahead meanwhile would be
// lost. Later, mutter 48 and 50 take the focus away from a dialog that becomes modal once focused:
// there it is marked before it maps, as elsewhere.
void ModalFocused(QWidget* dialog);

// How long after a dialog first shows on the screen it asks for the focus. Under XWayland the
// compositor takes a window's surface a frame or more after XWayland has drawn it; a focus it
// grants before goes to no surface, and the keys typed meanwhile are lost. 0 elsewhere.
std::chrono::milliseconds ActivationDelay();

// Asks for the focus for a dialog now on the screen, only while the focus is the program's and
// with the time of the user's latest input in it: a click elsewhere, before or after, wins.
void ActivateModal(QWidget* dialog);

// Deletes the window's dialogs and, if one of them had the focus, gives it back to the window, as
// the end of a modal dialog does (a window manager might give it to another program's window).
void CloseDialogsOf(QWidget* window);

} // namespace qzds
