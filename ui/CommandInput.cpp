#include "ui/CommandInput.h"

#include "ui/X11Desktop.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace qzds {

namespace {

// The longest an answered dialog waits for the focus to move on: a compositor may never give it
// to the next dialog, which takes the keys typed for it all the same.
constexpr int HandOverBound = 2000; // ms

// Where a key for this window goes.
QWidget* FocusOf(QWidget* window) {
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
}

void Leave(QDialog* answered) {
    answered->hide();
    answered->deleteLater();
}

} // namespace

CommandInput::CommandInput(QWidget* window)
    : QObject(window)
    , m_window(window) {
    FollowUserInput();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &CommandInput::focusMoved);
}

CommandInput* CommandInput::of(const QWidget* window) {
    return window != nullptr ? window->findChild<CommandInput*>({}, Qt::FindDirectChildrenOnly)
                             : nullptr;
}

void CommandInput::holdFrom(const QAbstractButton* button) {
    connect(button, &QAbstractButton::pressed, this, &CommandInput::press);
    // Released without a click (the pointer left the button): a click begins right after.
    connect(button, &QAbstractButton::released, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (m_state == State::Pressed) {
                end();
            }
        });
    });
}

void CommandInput::press() {
    if (m_state == State::Idle) {
        m_state = State::Pressed;
        QCoreApplication::instance()->installEventFilter(this);
    }
}

void CommandInput::begin() {
    press();
    m_state = State::Running;
}

int CommandInput::ask(QDialog* dialog) {
    if (m_state == State::Asking) {
        qWarning("CommandInput: a dialog already asks");
        return QDialog::Rejected;
    }
    begin();
    const QPointer<QDialog> alive(dialog);
    QEventLoop wait;
    m_state = State::Asking;
    m_asking = dialog;
    m_wait = &wait;
    m_exposed = m_focused = false;
    connect(dialog, &QDialog::finished, &wait, [this] { answered(); });
    connect(dialog, &QObject::destroyed, &wait, [this] { answered(); });
    dialog->setResult(QDialog::Rejected); // the answer of a dialog that goes without one
    dialog->show();
    // Fed once its loop runs: a Return fed now would answer it before the wait had started.
    QTimer::singleShot(0, this, &CommandInput::feed);
    wait.exec(QEventLoop::DialogExec);
    m_wait = nullptr;
    if (alive.isNull()) {
        return QDialog::Rejected;
    }
    // Qt learns of a focus change after the window system has made it: an answered dialog may
    // have the focus already. It goes at once while the focus is in another application.
    if (!dialog->isVisible() || QGuiApplication::focusWindow() == nullptr) {
        Leave(dialog);
    } else {
        m_answered.append(dialog);
        QTimer::singleShot(HandOverBound, dialog, [dialog] { Leave(dialog); });
    }
    return dialog->result();
}

// From the moment it answers (or hides), what reaches the dialog is not its own.
void CommandInput::answered() {
    m_state = State::Running;
    m_asking = nullptr;
    m_wait->quit();
}

void CommandInput::end() {
    if (m_state == State::Idle) {
        return;
    }
    // Over before what was typed after the last answer reaches the window, where a Return presses.
    m_state = State::Idle;
    QCoreApplication::instance()->removeEventFilter(this);
    m_answered.clear();
    CloseDialogsOf(m_window);
    while (!m_queue.empty()) {
        sendQueued(FocusOf(m_window));
    }
}

bool CommandInput::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (m_asking != nullptr && watched == m_asking->windowHandle()) {
        // Asked for once on the screen: before, a Wayland compositor could give the focus to a
        // window it has no surface for yet.
        if (type == QEvent::Expose && m_asking->windowHandle()->isExposed() &&
            !std::exchange(m_exposed, true)) {
            activate();
        } else if (type == QEvent::FocusIn && !std::exchange(m_focused, true)) {
            ModalFocused(m_asking);
        }
        return false;
    }
    if (watched->isWindowType()) {
        // Stopped before Qt hands it to a widget, where a press would move the focus.
        return m_state >= State::Running && watched == m_window->windowHandle() &&
               event->isPointerEvent();
    }
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    switch (type) {
    case QEvent::ShortcutOverride:
        // Typed, never a shortcut: an Alt+E typed ahead must not press 退出.
        if (m_feeding || queues(widget)) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
        return !m_feeding && queue(widget, event);
    case QEvent::Show:
    case QEvent::Hide:
        // The window system's Show and Hide come with iconify and restore.
        if (widget == m_asking && !event->spontaneous()) {
            if (type == QEvent::Show) {
                MarkModal(m_asking);
            } else {
                answered();
            }
        }
        return false;
    case QEvent::Close:
        if (m_state >= State::Running && widget == m_window) {
            event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Queued: input for the main window, for a dialog not asking (answered, or none asks yet), and
// for the one asking while input typed before it still waits. A popup's keys are its own.
bool CommandInput::queues(const QWidget* target) const {
    const QWidget* window = target->window();
    return window == m_window ||
           (window->windowType() == Qt::Dialog && (window != m_asking || !m_queue.empty()));
}

bool CommandInput::queue(QWidget* target, QEvent* event) {
    if (!queues(target)) {
        return false;
    }
    // The release that completes the press of the command's button (Space) still reaches it.
    if (const auto* button = qobject_cast<const QAbstractButton*>(target);
        m_state == State::Pressed && event->type() == QEvent::KeyRelease && button != nullptr &&
        button->isDown()) {
        return false;
    }
    m_queue.emplace_back(event->clone());
    feed();
    return true;
}

// After the desktop's delay, for a dialog that still asks and has not the focus.
void CommandInput::activate() {
    const std::chrono::milliseconds delay = ActivationDelay();
    if (delay == std::chrono::milliseconds(0)) {
        ActivateModal(m_asking);
        return;
    }
    QTimer::singleShot(delay, m_asking, [this, dialog = m_asking.data()] {
        if (dialog == m_asking && !m_focused) {
            ActivateModal(dialog);
        }
    });
}

void CommandInput::feed() {
    const QScopedValueRollback feeding(m_feeding, true);
    while (m_state == State::Asking && !m_queue.empty()) {
        sendQueued(FocusOf(m_asking));
    }
}

// Taken from the queue first: what it sets off may queue input anew.
void CommandInput::sendQueued(QWidget* target) {
    const std::unique_ptr<QEvent> event = std::move(m_queue.front());
    m_queue.pop_front();
    QCoreApplication::sendEvent(target, event.get());
}

// The focus has moved on once it is in a window that is not an answered dialog: Qt may tell late
// that one answered before had it, when the window system is already giving it to the next.
void CommandInput::focusMoved(const QWindow* focus) {
    if (focus == nullptr || std::ranges::none_of(m_answered, [focus](const auto& dialog) {
            return dialog != nullptr && dialog->windowHandle() == focus;
        })) {
        for (const QPointer<QDialog>& dialog : std::exchange(m_answered, {})) {
            if (dialog != nullptr) {
                Leave(dialog);
            }
        }
    }
}

int ShowAndWait(QDialog* dialog) {
    if (CommandInput* input = CommandInput::of(dialog->parentWidget())) {
        return input->ask(dialog);
    }
    const QPointer<QDialog> alive(dialog);
    const int result = dialog->exec();
    if (alive != nullptr) {
        dialog->deleteLater();
    }
    return result;
}

} // namespace qzds
