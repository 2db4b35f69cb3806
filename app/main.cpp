#include "platform/Clock.h"
#include "ui/AppIdentity.h"
#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(qzds::AppVersion));
    // Ties the window to its desktop entry (and so to its icon and name) under Wayland and X11.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(qzds::AppId));
    const qzds::SystemClock clock;
    qzds::Form1 form(qzds::DefaultServices(clock));
    form.Load();
    form.show();
    return QApplication::exec();
}
