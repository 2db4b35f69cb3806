#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

class QWidget;

namespace qzds {

// Under X, keeps the keys typed into the program in the program while one of its dialogs closes
// and the next one takes the focus. When a dialog that has the focus closes, the X server gives
// the focus to whatever lies under the pointer, and the window manager may pass it through
// windows of its own before it focuses the next dialog: keys typed meanwhile would be lost.
//
// So, before input that may close a dialog, and only if the keyboard focus is the program's, the
// focus moves to the main window and the keyboard is grabbed there. The grab ends as soon as the
// next dialog has the focus, the user has put the focus into another application, or after
// MaxHold at the latest: it never keeps the keyboard from the rest of the desktop. Does nothing
// elsewhere than under X.
class KeyboardBridge : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    static constexpr int MaxHold = 1000; // ms

    explicit KeyboardBridge(QWidget* window);
    ~KeyboardBridge() override;

    // For the length of a command.
    void start();
    void stop();
    // Input that may close `dialog` comes next. `time` is its X server time (0 for now): a focus
    // change the user made after it wins.
    void bridge(const QWidget* dialog, unsigned long time);
    void release();
    // Whether the keyboard focus is in one of the program's windows (always, elsewhere than X).
    bool focusIsProgram() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool focusIsOtherApplications() const;

    QWidget* m_window;
    bool m_watching = false;
    bool m_grabbed = false;
    QTimer m_limit;
};

} // namespace qzds
