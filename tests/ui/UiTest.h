#pragma once

// What the widget tests share: the pinned date, time and locale, a window wired to test doubles,
// and a way to answer a dialog from inside its event loop.

#include "logic/RunTimeError.h"
#include "platform/Clock.h"
#include "ui/CaptionLabel.h"
#include "ui/CommandInput.h"
#include "ui/Form1.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace qzds::test {

// How long a wait for a state may take before the test fails: long, so that a starved machine
// does not fail a sound test; a test that passes waits only as long as the state takes.
inline constexpr int kPatience = 30'000; // ms

inline const UserLocale kChinese{"zh_CN", "zh_CN", ""};
inline constexpr Date kToday{2026, 12, 8};
inline constexpr TimeOfDay kNow{0, 5, 9};

inline QString Q(std::u16string_view text) {
    return ToQString(text);
}

// A clock that answers the date and time it was last given.
struct FixedClock final : Clock {
    FixedClock(Date today, TimeOfDay now)
        : date(today)
        , time(now) {}
    Date today() const override { return date; }
    TimeOfDay now() const override { return time; }
    Date date;
    TimeOfDay time;
};

// A window with scripted answers for the dialogs (an empty one is a cancel), and a record of
// the prompts, the failure reports and the end of the program; or with the real dialogs.
enum class Dialogs { Scripted, Real };
struct Harness {
    FixedClock clock{kToday, kNow};
    QStringList answers;
    QStringList prompts;
    QStringList captionsWhileAsking;
    std::vector<int> reported;
    std::vector<int> ended;
    std::function<void()> whileAsking;    // runs inside each dialog, as if it were open
    std::function<void()> whileReporting; // runs inside the failure report
    std::unique_ptr<Form1> form;

    explicit Harness(bool load = true, UserLocale locale = kChinese,
                     Dialogs dialogs = Dialogs::Scripted) {
        Form1Services services = DefaultServices(clock);
        services.locale = std::move(locale);
        if (dialogs == Dialogs::Scripted) {
            services.prompt = [this](QWidget*, const QString& prompt) {
                prompts << prompt;
                captionsWhileAsking << caption();
                if (whileAsking) {
                    whileAsking();
                }
                return answers.isEmpty() ? QString() : answers.takeFirst();
            };
            services.reportFailure = [this](QWidget*, const RunTimeError& error) {
                reported.push_back(static_cast<int>(error.number()));
                if (whileReporting) {
                    whileReporting();
                }
            };
        }
        services.end = [this](int status) {
            ended.push_back(status);
        };
        form = std::make_unique<Form1>(std::move(services));
        if (load) {
            form->Load();
        }
    }

    QString caption() const { return form->Label1->caption(); }

    void showAndActivate() {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get(), kPatience));
    }
};

// Whether a dialog waits for its answer: one a command has answered may still be shown while the
// focus leaves it.
inline bool IsAsking(const QWidget* dialog) {
    const CommandInput* input = CommandInput::of(dialog->parentWidget());
    return input != nullptr ? input->asking() == dialog : dialog->isVisible();
}

// The dialog now asking, if any (one answered may still be shown while the focus leaves it).
inline QWidget* OpenDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::Dialog && IsAsking(window)) {
            return window;
        }
    }
    return nullptr;
}

// The dialog's button with this caption.
inline QPushButton* Button(QWidget* dialog, const QString& caption) {
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == caption) {
            return button;
        }
    }
    return nullptr;
}

// Ends every dialog still asking, shown or not, as a cancel.
inline void CloseOpenDialogs() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* asking = qobject_cast<QDialog*>(window); asking != nullptr && IsAsking(asking)) {
            asking->reject();
        }
    }
}

// Runs `answer` on the first dialog that opens, from inside its event loop. Every answer ends
// its dialog's wait before it returns; one that does not, or a check that failed inside it and
// returned early, would leave the dialog waiting for ever: the test fails at once instead.
inline void WhenDialogOpens(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
        if (QWidget* dialog = OpenDialog()) {
            timer->stop();
            timer->deleteLater();
            const QPointer<QWidget> answered(dialog);
            answer(dialog);
            if (!QTest::currentTestFailed() && answered && IsAsking(answered)) {
                QTest::qFail("the answer left its dialog asking", __FILE__, __LINE__);
            }
            if (QTest::currentTestFailed()) {
                CloseOpenDialogs();
            }
        }
    });
    timer->start();
}

} // namespace qzds::test
