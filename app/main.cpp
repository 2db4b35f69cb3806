#include "logic/RunTimeError.h"
#include "platform/Clock.h"
#include "ui/AppIdentity.h"
#include "ui/Form1.h"
#include "ui/QtTranslation.h"

#include <QApplication>
#include <cstdio>
#include <new>
#include <optional>

int main(int argc, char* argv[]) {
    try {
        // X11 first, XWayland under a Wayland desktop: the keys typed ahead into the dialogs, and
        // the keyboard left to the desktop meanwhile, are made and tested under X. Wayland where
        // there is no X server; the user's choice wins.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "xcb;wayland");
        }
        QApplication app(argc, argv);
        qzds::InstallQtTranslation(app);
        QApplication::setApplicationVersion(QString::fromLatin1(qzds::AppVersion));
        // Ties the window to its desktop entry (and so to its icon and name) under Wayland and
        // X11.
        QGuiApplication::setDesktopFileName(QString::fromLatin1(qzds::AppId));
        const qzds::SystemClock clock;
        qzds::Form1 form(qzds::DefaultServices(clock));
        form.Load();
        if (const std::optional<int> status = form.endStatus()) {
            return *status; // a failure at load has shown its report; the window never shows
        }
        form.show();
        return QApplication::exec();
    } catch (const std::bad_alloc&) {
        std::fputs("qiuzuidashu: out of memory\n", stderr);
        return static_cast<int>(qzds::ErrorNumber::OutOfMemory);
    } catch (...) {
        std::fputs("qiuzuidashu: internal error\n", stderr);
        return static_cast<int>(qzds::ErrorNumber::InternalError);
    }
}
