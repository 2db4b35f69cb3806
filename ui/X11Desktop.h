#pragma once

class QWidget;

namespace qzds {

// Shows a dialog of the program as a modal dialog of the desktop. Under X the window manager is
// told that it is modal (transient for its parent, which Qt says itself), and so treats it as it
// treats every modal dialog: Alt+Tab, a click on the main window, iconify and restore. It takes
// the focus only while the focus is the program's, with the time of the user's last input there:
// a click elsewhere, earlier or later, always wins.
void ShowModal(QWidget* dialog);

// Deletes the window's dialogs and, if one of them had the focus, gives it back to the window, as
// the end of a modal dialog does (a window manager might give it to another program's window).
void CloseDialogsOf(QWidget* window);

} // namespace qzds
