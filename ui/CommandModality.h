#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

class QEvent;
class QWidget;

namespace qzds {

class KeyboardBridge;

// The main window's own modality, for the length of a command. Qt's modality would block the
// window, and Qt drops the keys the window system still sends to a blocked window while the
// focus moves to a new dialog; here the window stays unblocked, and:
// - the dialog now asking gets its own input the ordinary way;
// - from the press of a command's button to its end, the keys the window system sends elsewhere
//   in the program (to the main window, to a dialog already answered, or before any is open)
//   are held, and fed in the order typed to the field of each dialog as it opens (a Return
//   answers one dialog, what follows waits for the next); nothing reaches the main window's
//   buttons or shortcuts meanwhile;
// - while the command runs, the main window takes no mouse input and no close request, and
//   when it is the active window, the dialog asking is activated instead.
// Between one dialog and the next, keys typed into the program stay in the program (see
// KeyboardBridge); once the user gives the focus to another application, that application gets
// them.
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
    void activateAskingDialog();
    void beforeClosingInput(const QWidget* target, const QEvent* event, unsigned long time);
    void feed();

    QWidget* m_window;
    KeyboardBridge* m_keyboard; // keys typed while one dialog gives way to the next
    QPointer<QWidget> m_dialog; // the latest dialog shown
    bool m_holding = false;
    bool m_running = false;
    bool m_feeding = false;
    std::deque<std::unique_ptr<QEvent>> m_held;
};

} // namespace qzds
