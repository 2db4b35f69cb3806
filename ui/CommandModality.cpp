#include "ui/CommandModality.h"

#include "ui/Dialogs.h"
#include "ui/X11Desktop.h"

#include <QAbstractButton>
#include <QCoreApplication>
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

} // namespace

CommandModality::CommandModality(QWidget* window)
    : QObject(window)
    , m_window(window) {}

CommandModality::~CommandModality() = default;

void CommandModality::hold() {
    if (!m_holding) {
        m_holding = true;
        QCoreApplication::instance()->installEventFilter(this);
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
    // The last answered dialog closes, and the window has the focus again.
    CloseDialogsOf(m_window);
    while (!m_held.empty()) {
        const std::unique_ptr<QEvent> event = std::move(m_held.front());
        m_held.pop_front();
        QCoreApplication::sendEvent(FocusOf(m_window), event.get());
    }
}

QWidget* CommandModality::askingDialog() const {
    return m_dialog != nullptr && m_dialog->isVisible() && IsAsking(m_dialog) ? m_dialog.data()
                                                                              : nullptr;
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
    case QEvent::InputMethod:
        return !m_feeding && holdInput(widget, event);
    case QEvent::Show:
        if (widget->isWindow() && IsDialog(widget)) {
            m_dialog = widget;
            // Fed once the dialog's own event loop runs: a Return fed now would answer it
            // before the loop that waits for the answer had started.
            QTimer::singleShot(0, this, &CommandModality::feed);
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
// dialog that is not asking (answered, or none asks yet), and for the dialog asking while input
// that came before is still queued for it. A popup's own keys (the field's menu) are its own.
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

void CommandModality::feed() {
    const QScopedValueRollback feeding(m_feeding, true);
    for (QWidget* dialog = askingDialog();
         dialog != nullptr && dialog == askingDialog() && !m_held.empty();) {
        const std::unique_ptr<QEvent> event = std::move(m_held.front());
        m_held.pop_front();
        QCoreApplication::sendEvent(FocusOf(dialog), event.get());
    }
}

} // namespace qzds
