#include "ui/Dialogs.h"

#include "ui/X11Desktop.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace qzds {

namespace {

constexpr const char* Waiting = "qzdsWaitedFor";

// Ends a wait when its dialog is hidden, as exec() does.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop* loop)
        : QObject(loop)
        , m_loop(loop) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            m_loop->quit();
        }
        return false;
    }

private:
    QEventLoop* m_loop;
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
    // Asking no more from the moment it answers: what reaches it after that is not its own.
    QObject::connect(dialog, &QDialog::finished, &loop, [dialog, &loop] {
        dialog->setProperty(Waiting, QVariant());
        loop.quit();
    });
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    // The answer when the dialog goes without one (hidden, or the program ends).
    dialog->setResult(QDialog::Rejected);
    ShowModal(dialog);
    dialog->installEventFilter(new HideWatcher(&loop));
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
    if (!answered->isVisible() || QGuiApplication::focusWindow() != answered->windowHandle()) {
        leave();
        return;
    }
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, answered, leave);
}

bool IsAsking(const QWidget* dialog) {
    return dialog->property(Waiting).toBool();
}

} // namespace qzds
