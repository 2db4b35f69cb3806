// The heap over many dialogues with the real dialogs: what the program holds after 20 (every
// cache filled) is the baseline, and each further hundred must leave it where it was. Prints the
// bytes in use and their ratio to the baseline.

#include "platform/Clock.h"
#include "ui/CaptionLabel.h"
#include "ui/Form1.h"
#include "ui/InputPrompt.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <malloc.h>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qzds::SystemClock clock;
    qzds::Form1Services services = qzds::DefaultServices(clock);
    services.end = [](int) {
        std::abort();
    };
    qzds::Form1 form(std::move(services));
    form.Load();
    form.show();
    QTimer answerer; // answers every input dialog as soon as it is open
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, &answerer, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<qzds::InputPrompt*>(window);
                dialog && dialog->isVisible()) {
                dialog->findChild<QLineEdit*>()->setText(QStringLiteral("7"));
                dialog->accept();
            }
        }
    });
    answerer.start();
    const auto dialogues = [&form](int count) {
        for (int i = 0; i < count; ++i) {
            form.CmdMax->click();
        }
        return mallinfo2().uordblks;
    };
    const std::size_t baseline = dialogues(20);
    std::printf("%-16s%14s%10s%14s\n", "dialogues", "heap bytes", "ratio", "growth bytes");
    std::printf("%-16s%14zu%9.3fx%14d\n", "20 (baseline)", baseline, 1.0, 0);
    for (int total = 120; total <= 320; total += 100) {
        const std::size_t inUse = dialogues(100);
        std::printf("%-16d%14zu%9.3fx%14lld\n", total, inUse, static_cast<double>(inUse) / baseline,
                    static_cast<long long>(inUse) - static_cast<long long>(baseline));
    }
    return form.Label1->caption() == QStringLiteral("输入：a=7 b=7 c=7  计算结果：Max =7") ? 0 : 1;
}
