#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

class QEvent;
class QWidget;

namespace qzds {

// The main window's own modality, for the length of a command. The window manager knows the
// dialogs are modal and keeps the focus with them; Qt's modality would block the main window and
// drop the keys the window system still sends it, and the user types ahead. So the window stays
// unblocked, and:
// - the dialog now asking gets its own input the ordinary way;
// - from the press of a command's button to its end, the keys and input method text that reach
//   the main window, a dialog already answered (shown until the next one has the focus), or
//   arrive before any dialog is open, are held and fed in the order typed to the field of each
//   dialog as it opens (a Return answers one dialog, what follows waits for the next); nothing
//   reaches the main window's buttons or shortcuts meanwhile;
// - while the command runs, the main window takes no mouse input and no close request.
class CommandModality : public QObject {
    Q_OBJECT
public:
    explicit CommandModality(QWidget* window);
    ~CommandModality() override;

    // Holds keys from now on: a command's button is pressed.
    void hold();
    // The command runs: the window refuses its input too.
    void begin();
    // The command has ended, or its button was released without a click. Keys that no dialog
    // took go to the main window after all.
    void end();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mustHold(const QWidget* target) const;
    bool holdInput(QWidget* target, QEvent* event);
    QWidget* askingDialog() const;
    void feed();

    QWidget* m_window;
    QPointer<QWidget> m_dialog; // the latest dialog shown
    bool m_holding = false;
    bool m_running = false;
    bool m_feeding = false;
    std::deque<std::unique_ptr<QEvent>> m_held;
};

} // namespace qzds
