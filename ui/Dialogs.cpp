#include "ui/Dialogs.h"

#include "ui/X11Desktop.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <functional>
#include <utility>

namespace qzds {

namespace {

constexpr const char* Waiting = "qzdsWaitedFor";
constexpr const char* HandingOver = "qzdsHandingOver"; // on an answered dialog's window

// Marks the dialog modal for the window manager as it is about to map, asks for the focus for it
// once it is on the screen, and ends its wait when it is hidden, as exec() does.
class DialogWatcher : public QObject {
public:
    DialogWatcher(QDialog* dialog, QEventLoop* loop, std::function<void()> stop)
        : QObject(loop)
        , m_dialog(dialog)
        , m_stop(std::move(stop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_dialog) {
            if (event->type() == QEvent::Expose && !m_asked &&
                static_cast<QWindow*>(watched)->isExposed()) {
                m_asked = true;
                ActivateModal(m_dialog);
            } else if (event->type() == QEvent::FocusIn && !m_focused) {
                m_focused = true;
                ModalFocused(m_dialog);
            }
            return false;
        }
        // Only the program shows and hides it: the window system's Show and Hide come with
        // iconify and restore.
        if (event->spontaneous()) {
            return false;
        }
        if (event->type() == QEvent::Show) {
            MarkModal(m_dialog);
            m_dialog->windowHandle()->installEventFilter(this);
        } else if (event->type() == QEvent::Hide) {
            m_stop();
        }
        return false;
    }

private:
    QDialog* m_dialog;
    std::function<void()> m_stop;
    bool m_asked = false;
    bool m_focused = false;
};

} // namespace

void PlaceOnScreen(QWidget* dialog, VerticalPlace place) {
    const QWidget* parent = dialog->parentWidget();
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const int top = place == VerticalPlace::Centred ? (area.height() - dialog->height()) / 2
                                                    : area.height() / 3;
    dialog->move(area.x() + (area.width() - dialog->width()) / 2, area.y() + top);
}

int ShowAndWait(QDialog* dialog) {
    if (IsAsking(dialog)) {
        qWarning("ShowAndWait: the dialog is already being waited for");
        return QDialog::Rejected;
    }
    const QPointer<QDialog> alive(dialog);
    dialog->setProperty(Waiting, true);
    QEventLoop loop;
    // Asking no more from the moment it answers or hides: what reaches it then is not its own.
    const auto stop = [dialog, &loop] {
        dialog->setProperty(Waiting, QVariant());
        loop.quit();
    };
    QObject::connect(dialog, &QDialog::finished, &loop, stop);
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    // The answer when the dialog goes without one (hidden, or the program ends).
    dialog->setResult(QDialog::Rejected);
    dialog->installEventFilter(new DialogWatcher(dialog, &loop, stop));
    dialog->show();
    loop.exec(QEventLoop::DialogExec);
    if (alive.isNull()) {
        return QDialog::Rejected;
    }
    dialog->setProperty(Waiting, QVariant());
    return dialog->result();
}

void HandOverFocus(QDialog* answered) {
    const auto leave = [answered] {
        answered->hide();
        answered->deleteLater();
    };
    // Qt learns of a focus change after the window system has made it: a dialog answered before
    // Qt saw it get the focus may have it already.
    if (!answered->isVisible() || QGuiApplication::focusWindow() == nullptr) {
        leave();
        return;
    }
    answered->windowHandle()->setProperty(HandingOver, true);
    // The focus has moved on once it is in a window that is not answered: Qt may tell late that
    // a dialog answered before this one had the focus (under Wayland it tells of an activation
    // only after a round trip), when the window system is already giving it to this one.
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, answered,
                     [leave](const QWindow* focus) {
                         if (focus == nullptr || !focus->property(HandingOver).toBool()) {
                             leave();
                         }
                     });
}

bool IsAsking(const QWidget* dialog) {
    return dialog->property(Waiting).toBool();
}

} // namespace qzds
