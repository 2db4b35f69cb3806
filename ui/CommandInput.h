#pragma once

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <deque>
#include <memory>

class QAbstractButton;
class QEventLoop;

namespace qzds {

// Where a command's input goes, from the press of its button to its end. The window manager knows
// the dialogs are modal and keeps the focus with them; Qt's modality would block the main window
// and drop the keys the window system still sends there as the user types ahead. So nothing is
// blocked, and the keys and input method text for the program's windows are queued, in its states:
//   Idle     no command: nothing is filtered.
//   Pressed  the button is down (press()): queued, but for the release completing a Space press.
//   Running  the command runs, no dialog asks (begin(), an answer): queued; the main window takes
//            no click and no close request.
//   Asking   a dialog waits for its answer (ask()): the queue goes to its field once its loop
//            runs, then its own input reaches it. A Return answers it: Running again.
//   end()    Idle again: the dialogs go, the window has the focus, what is queued goes there.
// An answered dialog stays on the screen until the focus is in a window that is not an answered
// dialog (2 s at most), so that the focus passes from it straight to the next one.
class CommandInput : public QObject {
    Q_OBJECT
public:
    explicit CommandInput(QWidget* window);

    // What is typed from the press of this button on is its command's, before a dialog shows.
    void holdFrom(const QAbstractButton* button);
    void press();
    void begin();
    // Shows the dialog and waits for its answer, with exec()'s guards: the wait ends when the
    // dialog answers, is hidden or is deleted (Rejected then).
    int ask(QDialog* dialog);
    void end();
    bool running() const { return m_state >= State::Running; }

    static CommandInput* of(const QWidget* window);
    const QDialog* asking() const { return m_asking; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Idle, Pressed, Running, Asking };

    bool queues(const QWidget* target) const;
    bool queue(QWidget* target, QEvent* event);
    void activate();
    void feed();
    void sendQueued(QWidget* target);
    void answered();
    void focusMoved(const QWindow* focus);

    QWidget* m_window;
    State m_state = State::Idle;
    QPointer<QDialog> m_asking;
    QEventLoop* m_wait = nullptr;
    bool m_exposed = false;
    bool m_focused = false;
    bool m_feeding = false;
    std::deque<std::unique_ptr<QEvent>> m_queue;
    QList<QPointer<QDialog>> m_answered; // on the screen until the focus moves on
};

// Shows the dialog, waits for its answer and lets it go (deleted later, or handed over by its
// window's CommandInput). A dialog of no such window waits in exec().
int ShowAndWait(QDialog* dialog);

} // namespace qzds
