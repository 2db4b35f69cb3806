#include "ui/Dialogs.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

namespace qzds {

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
    constexpr const char* waiting = "qzdsWaitedFor";
    if (dialog->property(waiting).toBool()) {
        qWarning("ShowAndWait: the dialog is already being waited for");
        return QDialog::Rejected;
    }
    const QPointer<QDialog> alive(dialog);
    dialog->setProperty(waiting, true);
    QEventLoop loop;
    QObject::connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    // The answer when the end of the program leaves the loop before the dialog has one.
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    loop.exec(QEventLoop::DialogExec);
    if (alive.isNull()) {
        return QDialog::Rejected;
    }
    dialog->setProperty(waiting, QVariant());
    return dialog->result();
}

} // namespace qzds
