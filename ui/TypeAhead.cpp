#include "ui/TypeAhead.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qzds {

namespace {

// The dialog now asking, if any: a modal window other than the main one.
QWidget* AskingDialog(const QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != window && modal->isVisible() ? modal : nullptr;
}

} // namespace

TypeAhead::TypeAhead(QWidget* window)
    : QObject(window)
    , m_window(window) {}

TypeAhead::~TypeAhead() = default;

void TypeAhead::hold() {
    if (!m_holding) {
        m_holding = true;
        qApp->installEventFilter(this);
    }
}

void TypeAhead::release() {
    if (!m_holding) {
        return;
    }
    m_holding = false;
    qApp->removeEventFilter(this);
    while (!m_keys.empty()) {
        const std::unique_ptr<QKeyEvent> key = std::move(m_keys.front());
        m_keys.pop_front();
        QWidget* target = m_window->focusWidget() != nullptr ? m_window->focusWidget() : m_window;
        QCoreApplication::sendEvent(target, key.get());
    }
}

bool TypeAhead::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && event->spontaneous()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Keys for the main window are held; so are keys for a dialog while older ones wait,
        // so that the order typed is kept.
        if (widget != nullptr && (widget->window() == m_window || !m_keys.empty())) {
            m_keys.emplace_back(static_cast<QKeyEvent*>(event)->clone());
            feed(AskingDialog(m_window));
            return true;
        }
    } else if (type == QEvent::Show && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->isWindow() && watched != m_window) {
        // Fed once the dialog's own event loop runs: a Return fed now would close it before
        // it had started.
        QPointer<QWidget> dialog = static_cast<QWidget*>(watched);
        QTimer::singleShot(0, this, [this, dialog] {
            if (dialog != nullptr) {
                feed(dialog);
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

void TypeAhead::feed(QWidget* dialog) {
    while (dialog != nullptr && dialog->isVisible() && dialog == AskingDialog(m_window) &&
           !m_keys.empty()) {
        const std::unique_ptr<QKeyEvent> key = std::move(m_keys.front());
        m_keys.pop_front();
        QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
        QCoreApplication::sendEvent(target, key.get());
    }
}

} // namespace qzds
