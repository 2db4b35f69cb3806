#include "platform/Clock.h"
#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qzds::SystemClock clock;
    qzds::Form1 form(qzds::DefaultServices(clock));
    form.Load();
    form.show();
    return QApplication::exec();
}
