#pragma once

// What the program's dialogs share: their frame, and where on the screen they stand.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qzds {

// A fixed-size dialog: a title and a close box, nothing to minimise or maximise.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

enum class VerticalPlace {
    ThirdDown, // its top a third of the way down, where a question is asked
    Centred,   // in the middle, where a message is reported
};

// Moves a dialog, already at its final size, to the screen of its parent (or the primary
// screen), centred horizontally.
inline void PlaceOnScreen(QWidget* dialog, VerticalPlace place) {
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
