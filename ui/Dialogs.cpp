#include "ui/Dialogs.h"

#include <QGuiApplication>
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

} // namespace qzds
