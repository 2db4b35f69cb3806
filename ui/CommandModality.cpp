#include "ui/CommandModality.h"

#include "ui/X11Focus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace qzds {

namespace {

// Where a key for this window goes: its focus widget, or the window itself.
QWidget* FocusOf(QWidget* window) {
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
}

bool IsDialog(const QWidget* window) {
    return window->windowType() == Qt::Dialog;
}

// Whether this input, delivered to `target`, may answer or cancel its dialog and so close it.
bool MayClose(const QWidget* target, const QEvent* event) {
    const bool onButton = qobject_cast<const QAbstractButton*>(target) != nullptr;
    if (event->type() == QEvent::MouseButtonRelease) {
        return onButton;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    switch (static_cast<const QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Space:
    case Qt::Key_Select:
        return onButton;
    default:
        return false;
    }
}

} // namespace

CommandModality::CommandModality(QWidget* window)
    : QObject(window)
    , m_window(window)
    , m_keyboard(new KeyboardBridge(window)) {}

CommandModality::~CommandModality() = default;

void CommandModality::hold() {
    if (!m_holding) {
        m_holding = true;
        QCoreApplication::instance()->installEventFilter(this);
        m_keyboard->start();
    }
}

void CommandModality::begin() {
    hold();
    m_running = true;
}

void CommandModality::end() {
    m_running = false;
    if (!m_holding) {
        return;
    }
    m_holding = false;
    QCoreApplication::instance()->removeEventFilter(this);
    m_keyboard->stop();
    // The command's answered dialogs, kept until now (see InputPrompt::ask).
    qDeleteAll(m_window->findChildren<QDialog*>(Qt::FindDirectChildrenOnly));
    while (!m_held.empty()) {
        const std::unique_ptr<QEvent> event = std::move(m_held.front());
        m_held.pop_front();
        QCoreApplication::sendEvent(FocusOf(m_window), event.get());
    }
}

QWidget* CommandModality::askingDialog() const {
    return m_dialog != nullptr && m_dialog->isVisible() ? m_dialog.data() : nullptr;
}

void CommandModality::activateAskingDialog() {
    QTimer::singleShot(0, this, [this] {
        // Never taken from another application the user has gone to meanwhile.
        if (QWidget* dialog = askingDialog();
            m_running && dialog != nullptr && m_keyboard->focusIsProgram()) {
            dialog->raise();
            dialog->activateWindow();
        }
    });
}

bool CommandModality::eventFilter(QObject* watched, QEvent* event) {
    if (watched->isWindowType()) {
        // Pointer input for the main window stops before Qt hands it to a widget, which would
        // move the focus on a press.
        return m_running && watched == m_window->windowHandle() && event->isPointerEvent();
    }
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // What is held or fed is typed, never a shortcut: an Alt+E typed ahead must not press
        // 退出. Accepting the override makes Qt deliver the key as a key.
        if (m_feeding || mustHold(widget)) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Only what the window system sends is held: the keys an input method does not take come
        // back from it to the dialog they were typed into, as that dialog's own.
        if (m_feeding) {
            return false;
        }
        if (event->spontaneous() && holdInput(widget, event)) {
            return true;
        }
        beforeClosingInput(widget, event, static_cast<QInputEvent*>(event)->timestamp());
        return false;
    case QEvent::MouseButtonRelease:
        beforeClosingInput(widget, event, static_cast<QInputEvent*>(event)->timestamp());
        return false;
    case QEvent::InputMethod:
        // An input method's text for a dialog already answered is that dialog's own: it
        // commits what it was composing there as the dialog closes, and the entry is read after.
        if (IsDialog(widget->window()) && widget->window() != askingDialog()) {
            return false;
        }
        return !m_feeding && holdInput(widget, event);
    case QEvent::Show:
        if (widget->isWindow() && IsDialog(widget)) {
            m_dialog = widget;
            // Not modal to Qt, so Qt does not activate it: the dialog takes the focus from the
            // main window, as a modal one would, but never from another application.
            if (QApplication::activeWindow() == m_window) {
                activateAskingDialog();
            }
            // Fed once the dialog's own event loop runs: a Return fed now would answer it
            // before the loop that waits for the answer had started.
            QTimer::singleShot(0, this, &CommandModality::feed);
        }
        return false;
    case QEvent::WindowActivate:
        // Qt tells every window that shares the activation, as a dialog does with its parent:
        // only the window that really has the focus counts.
        if (widget == askingDialog() && QApplication::activeWindow() == widget) {
            m_keyboard->release(); // the dialog has the focus
        } else if (m_running && widget == m_window && askingDialog() != nullptr) {
            activateAskingDialog();
        }
        return false;
    case QEvent::Close:
        if (m_running && widget == m_window) {
            event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Whether input for this widget goes through the queue: input for the main window, for a
// dialog that is not asking (answered, or none asks yet), and for the dialog asking while keys
// typed before are still queued for it. A popup's own keys (the field's menu) are its own.
bool CommandModality::mustHold(const QWidget* target) const {
    const QWidget* window = target->window();
    return m_holding && (window == m_window ||
                         (IsDialog(window) && (window != askingDialog() || !m_held.empty())));
}

bool CommandModality::holdInput(QWidget* target, QEvent* event) {
    if (!mustHold(target)) {
        return false;
    }
    // The release that completes the press of the command's button (Space) still reaches it.
    if (const auto* button = qobject_cast<const QAbstractButton*>(target);
        !m_running && event->type() == QEvent::KeyRelease && button != nullptr &&
        button->isDown()) {
        return false;
    }
    m_held.emplace_back(event->clone());
    feed();
    return true;
}

void CommandModality::beforeClosingInput(const QWidget* target, const QEvent* event,
                                         unsigned long time) {
    const QWidget* dialog = askingDialog();
    if (dialog != nullptr && target->window() == dialog && MayClose(target, event)) {
        m_keyboard->bridge(dialog, time);
    }
}

void CommandModality::feed() {
    const QScopedValueRollback feeding(m_feeding, true);
    for (QWidget* dialog = askingDialog();
         dialog != nullptr && dialog == askingDialog() && !m_held.empty();) {
        const std::unique_ptr<QEvent> event = std::move(m_held.front());
        m_held.pop_front();
        QWidget* target = FocusOf(dialog);
        // Typed while the program had the focus, maybe before the window manager gave it to
        // this dialog: the key's own time would be too early to move it.
        beforeClosingInput(target, event.get(), 0);
        QCoreApplication::sendEvent(target, event.get());
    }
}

} // namespace qzds
