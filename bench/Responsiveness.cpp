// In-process responsiveness: from a button's click to the label holding its new text, and for
// 求最大数 from the third dialog's answer to the summary. Also the same with the label's repaint,
// so the figure includes drawing the new text. Prints medians in microseconds.

#include "platform/Clock.h"
#include "ui/CaptionLabel.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Micro(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qzds::SystemClock clock;
    Clock::time_point thirdAnswered;
    int asked = 0;
    qzds::Form1Services services = qzds::DefaultServices(clock);
    services.prompt = [&](QWidget*, const QString&) {
        static const QString answers[] = {QStringLiteral("3.7"), QStringLiteral("-10"),
                                          QStringLiteral("32767")};
        const QString answer = answers[asked++ % 3];
        thirdAnswered = Clock::now();
        return answer;
    };
    services.end = [](int) {
        std::abort();
    };
    qzds::Form1 form(std::move(services));
    form.Load();
    form.show();
    QApplication::processEvents();

    constexpr int kRuns = 2000;
    // `before` first puts another text in the label, so every measured click changes it.
    const auto measure = [&](QPushButton* before, QPushButton* button, bool repaint,
                             bool fromThirdAnswer) {
        std::vector<double> samples;
        for (int i = 0; i < kRuns; ++i) {
            before->click();
            form.Label1->repaint();
            const auto start = Clock::now();
            button->click();
            if (repaint) {
                form.Label1->repaint();
            }
            samples.push_back(Micro(Clock::now() - (fromThirdAnswer ? thirdAnswered : start)));
        }
        return Median(samples);
    };

    std::printf("%-36s%12s%18s\n", "action", "text (us)", "text+paint (us)");
    const struct {
        const char* name;
        QPushButton* before;
        QPushButton* button;
        bool fromThirdAnswer;
    } rows[] = {{"CmdWelcome click", form.CmdTime, form.CmdWelcome, false},
                {"CmdTime click", form.CmdWelcome, form.CmdTime, false},
                {"CmdMax: third answer to summary", form.CmdWelcome, form.CmdMax, true}};
    for (const auto& row : rows) {
        std::printf("%-36s%12.1f%18.1f\n", row.name,
                    measure(row.before, row.button, false, row.fromThirdAnswer),
                    measure(row.before, row.button, true, row.fromThirdAnswer));
    }
    return 0;
}
