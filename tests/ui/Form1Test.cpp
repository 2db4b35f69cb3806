#include "ui/Form1.h"
#include "../FixedClock.h"
#include "logic/LabelTexts.h"
#include "logic/LargestRule.h"
#include "logic/RunTimeError.h"
#include "logic/Texts.h"
#include "ui/CaptionLabel.h"
#include "ui/InputPrompt.h"
#include "ui/LayoutTable.h"
#include "ui/QtText.h"
#include "ui/QtTranslation.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <malloc.h>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes(); // libasan's, no header in GCC 12
#endif

using namespace qzds;
using qzds::test::FixedClock;

namespace {

const UserLocale kChinese{"zh_CN", "zh_CN", ""};
constexpr Date kToday{2026, 12, 8};
constexpr TimeOfDay kNow{0, 5, 9};

// A window wired to test doubles: scripted answers for the dialogs, and a record of the failure
// reports and of the end of the program.
struct Harness {
    FixedClock clock{kToday, kNow};
    std::deque<QString> answers;
    QStringList prompts;
    QStringList captionsWhileAsking;
    std::vector<int> reported;
    std::vector<int> ended;
    std::function<void()> whileAsking;    // runs inside each dialog, as if it were open
    std::function<void()> whileReporting; // runs inside the failure report
    std::unique_ptr<Form1> form;

    explicit Harness(bool load = true, UserLocale locale = kChinese) {
        Form1Services services;
        services.clock = &clock;
        services.locale = std::move(locale);
        services.prompt = [this](QWidget*, const QString& prompt) {
            prompts << prompt;
            captionsWhileAsking << form->Label1->caption();
            if (whileAsking) {
                whileAsking();
            }
            if (answers.empty()) {
                return QString(); // a cancelled dialog
            }
            QString answer = answers.front();
            answers.pop_front();
            return answer;
        };
        services.reportFailure = [this](QWidget*, const RunTimeError& error) {
            reported.push_back(static_cast<int>(error.number()));
            if (whileReporting) {
                whileReporting();
            }
        };
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
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
};

QString Q(std::u16string_view text) {
    return ToQString(text);
}

// The rows of the label's image that hold text pixels, grouped into bands of adjacent rows.
int TextBands(QWidget* label) {
    const QImage image = label->grab().toImage();
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool text = false;
        for (int x = 0; x < image.width() && !text; ++x) {
            const QColor c = image.pixelColor(x, y);
            text = c.red() > 128 && c.green() > 128; // yellow over the green
        }
        if (text && !inBand) {
            ++bands;
        }
        inBand = text;
    }
    return bands;
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void controlsStandWhereTheLayoutSays_data();
    void controlsStandWhereTheLayoutSays();
    void windowCaptionAndClientSize();
    void labelColoursAndKaiFont();
    void greetingIsInPlaceBeforeTheFirstFrame();
    void carriageReturnShowsAsANewLine();
    void tabOrderSkipsTheLabel();
    void enterAndSpaceClickTheFocusedButton();
    void accessKeysClickFromAnyFocus_data();
    void accessKeysClickFromAnyFocus();

    void largestOfThree_data();
    void largestOfThree();
    void secondRunStartsAfreshAndReplacesTheSummary();
    void nothingRunsAfterTheProgramEnds();
    void nothingRunsBehindADialog();
    void keysForTheWindowReachTheDialogs_data();
    void keysForTheWindowReachTheDialogs();
    void failureAtLoadEndsTheProgram_data();
    void failureAtLoadEndsTheProgram();
    void welcomeAndTimeReplaceTheLabel();
    void realInputPromptConfirmsWithEnter();
    void realInputPromptCancelsWithEscape();
    void realInputPromptTakesOneLineOfText_data();
    void realInputPromptTakesOneLineOfText();
    void realInputPromptIgnoresTheSecondClickOfADoubleClick();
    void qtSpeaksChineseInTheFieldsMenu();
    void realFailureReportIsDismissedWithEnter();
    void manyClicksKeepTheLabelStable();
    void realDialoguesKeepMemoryFlat();
    void screenReadersGetNamesAndKeys();
    void windowIconHasBothSizes();
};

void Form1Test::controlsStandWhereTheLayoutSays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("CmdExit") << QStringLiteral("CmdExit") << QRect(168, 160, 97, 33);
    QTest::newRow("CmdMax") << QStringLiteral("CmdMax") << QRect(56, 160, 97, 33);
    QTest::newRow("CmdWelcome") << QStringLiteral("CmdWelcome") << QRect(56, 104, 97, 33);
    QTest::newRow("CmdTime") << QStringLiteral("CmdTime") << QRect(168, 104, 97, 33);
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(64, 32, 185, 57);
}

void Form1Test::controlsStandWhereTheLayoutSays() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    Harness h;
    auto* control = h.form->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), pixels);
}

void Form1Test::windowCaptionAndClientSize() {
    Harness h;
    QCOMPARE(h.form->windowTitle(), QStringLiteral("求最大数 Tavrelo 2006.9."));
    QCOMPARE(h.form->size(), QSize(312, 213));
    QCOMPARE(h.form->minimumSize(), h.form->maximumSize());
    QVERIFY(!h.form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint)); // nothing to maximise
    // Children in creation order: the window's own list starts with CmdExit and ends with Label1.
    const auto children = h.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 5);
    QCOMPARE(children.first(), h.form->CmdExit);
    QCOMPARE(children.last(), h.form->Label1);
}

void Form1Test::labelColoursAndKaiFont() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    const QImage image = h.form->Label1->grab().toImage();
    QCOMPARE(image.pixelColor(1, image.height() - 2), QColor(0, 128, 0));
    bool yellow = false;
    for (int y = 0; y < image.height() && !yellow; ++y) {
        for (int x = 0; x < image.width() && !yellow; ++x) {
            yellow = image.pixelColor(x, y) == QColor(255, 255, 0);
        }
    }
    QVERIFY2(yellow, "no pure yellow text pixel in the label");

    const QFont font = h.form->Label1->font();
    QCOMPARE(font.family(), QStringLiteral("楷体_GB2312"));
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Bold);
    const QString resolved = QFontInfo(font).family();
    QVERIFY2(resolved.contains(QStringLiteral("Kai"), Qt::CaseInsensitive), qPrintable(resolved));
}

void Form1Test::greetingIsInPlaceBeforeTheFirstFrame() {
    Harness h(false);
    QCOMPARE(h.caption(), Q(u"欢迎光临！今天是："));
    h.form->Load();
    const QString greeting = Q(GreetingText(kToday, "zh_CN"));
    QCOMPARE(h.caption(), greeting);
    // The date is read once: a later day does not reach the label, nor does a second load.
    h.clock.set({2026, 12, 9}, {0, 0, 1});
    h.form->Load();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QCOMPARE(h.caption(), greeting);
}

void Form1Test::carriageReturnShowsAsANewLine() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    // Short lines, so that only the line break can put the second one below the first.
    h.form->CmdWelcome->click();
    QCOMPARE(TextBands(h.form->Label1), 2);
    h.form->Label1->setCaption(QStringLiteral("A\rB"));
    QCOMPARE(h.form->Label1->caption(), QStringLiteral("A\rB"));
    QCOMPARE(TextBands(h.form->Label1), 2);
    h.form->Label1->setCaption(QStringLiteral("A B"));
    QCOMPARE(TextBands(h.form->Label1), 1);
}

void Form1Test::tabOrderSkipsTheLabel() {
    Harness h;
    h.showAndActivate();
    QCOMPARE(QApplication::focusWidget(), h.form->CmdTime);
    const QList<QWidget*> expected = {h.form->CmdWelcome, h.form->CmdMax, h.form->CmdExit,
                                      h.form->CmdTime, h.form->CmdWelcome};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), h.form->CmdTime);
}

void Form1Test::enterAndSpaceClickTheFocusedButton() {
    Harness h;
    h.showAndActivate();
    h.form->CmdWelcome->setFocus();
    QTest::keyClick(h.form->CmdWelcome, Qt::Key_Return);
    QTRY_COMPARE(h.caption(), Q(WelcomeText()));
    h.form->CmdTime->setFocus();
    QTest::keyClick(h.form->CmdTime, Qt::Key_Space);
    QTRY_COMPARE(h.caption(), Q(TimeText(kNow, "zh_CN")));
    h.form->CmdWelcome->setFocus();
    QTest::keyClick(h.form->CmdWelcome, Qt::Key_Enter);
    QTRY_COMPARE(h.caption(), Q(WelcomeText()));
}

void Form1Test::accessKeysClickFromAnyFocus_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("endStatus"); // -1: the program goes on
    QTest::newRow("Alt+H") << int(Qt::Key_H) << Q(WelcomeText()) << -1;
    QTest::newRow("Alt+T") << int(Qt::Key_T) << Q(TimeText(kNow, "zh_CN")) << -1;
    QTest::newRow("Alt+M") << int(Qt::Key_M) << Q(ThreeNumbersSummary(u"1", u"1", u"1", 1)) << -1;
    QTest::newRow("Alt+E") << int(Qt::Key_E) << Q(GreetingText(kToday, "zh_CN")) << 0;
}

void Form1Test::accessKeysClickFromAnyFocus() {
    QFETCH(int, key);
    QFETCH(QString, caption);
    QFETCH(int, endStatus);
    for (int start = 0; start < 4; ++start) {
        Harness h;
        h.answers = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
        h.showAndActivate();
        const std::array<QPushButton*, 4> buttons = {h.form->CmdTime, h.form->CmdWelcome,
                                                     h.form->CmdMax, h.form->CmdExit};
        buttons.at(start)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), Qt::AltModifier);
        if (endStatus >= 0) {
            QTRY_COMPARE(h.ended, std::vector<int>{endStatus});
        } else {
            QTRY_COMPARE(h.caption(), caption);
            QVERIFY(h.ended.empty());
        }
        QCOMPARE(h.caption(), caption);
    }
}

void Form1Test::largestOfThree_data() {
    QTest::addColumn<QByteArray>("timeLocale");
    QTest::addColumn<QByteArray>("numericLocale");
    QTest::addColumn<QString>("answers"); // "|" between them; an empty one is a cancelled dialog
    QTest::addColumn<QString>("summary"); // empty when the rule fails
    QTest::addColumn<int>("error");
    QTest::newRow("5 9 2") << QByteArray("zh_CN") << QByteArray("zh_CN") << QStringLiteral("5|9|2")
                           << QStringLiteral("输入：a=5 b=9 c=2  计算结果：Max =9") << 0;
    // Numbers are read in the numeric locale, not in the time locale.
    QTest::newRow("numbers de_DE, time en_US")
        << QByteArray("en_US") << QByteArray("de_DE") << QStringLiteral("3,7|1|2")
        << QStringLiteral("输入：a=3,7 b=1 c=2  计算结果：Max =4") << 0;
    QTest::newRow("cancelled first dialog")
        << QByteArray("zh_CN") << QByteArray("zh_CN") << QStringLiteral("|9|2") << QString() << 13;
    QTest::newRow("overflow when b is taken") << QByteArray("zh_CN") << QByteArray("zh_CN")
                                              << QStringLiteral("5|40000|1") << QString() << 6;
}

void Form1Test::largestOfThree() {
    QFETCH(QByteArray, timeLocale);
    QFETCH(QByteArray, numericLocale);
    QFETCH(QString, answers);
    QFETCH(QString, summary);
    QFETCH(int, error);
    Harness h(true, {timeLocale.toStdString(), numericLocale.toStdString(), ""});
    for (const QString& answer : answers.split(u'|')) {
        h.answers.push_back(answer);
    }
    h.form->CmdMax->click();
    // All three are asked, whatever the answers, with the instruction in the label meanwhile.
    QCOMPARE(h.prompts, QStringList({QStringLiteral("输入 a"), QStringLiteral("输入 b"),
                                     QStringLiteral("输入 c")}));
    for (const QString& shown : h.captionsWhileAsking) {
        QCOMPARE(shown, QStringLiteral("请输入 a,b,c 3个数，系统输出其中最大数。"));
    }
    if (error == 0) {
        QCOMPARE(h.caption(), summary);
        QVERIFY(h.reported.empty());
        QVERIFY(h.ended.empty());
    } else {
        QCOMPARE(h.reported, std::vector<int>{error});
        QCOMPARE(h.ended, std::vector<int>{error});
        QCOMPARE(h.caption(), Q(text::ThreeNumbersInstruction));
    }
}

void Form1Test::secondRunStartsAfreshAndReplacesTheSummary() {
    Harness h;
    h.answers = {QStringLiteral("5"),  QStringLiteral("9"),  QStringLiteral("2"),
                 QStringLiteral("-5"), QStringLiteral("-3"), QStringLiteral("-10")};
    h.form->CmdMax->click();
    h.form->CmdMax->click();
    QCOMPARE(h.prompts.size(), 6);
    QCOMPARE(h.caption(), QStringLiteral("输入：a=-5 b=-3 c=-10  计算结果：Max =-3"));
    h.form->CmdWelcome->click();
    QCOMPARE(h.caption(), Q(WelcomeText()));
}

void Form1Test::nothingRunsAfterTheProgramEnds() {
    Harness h;
    h.answers = {QStringLiteral("x")};
    h.form->CmdMax->click();
    QCOMPARE(h.ended, std::vector<int>{13});
    const QString frozen = h.caption();
    h.form->CmdWelcome->click();
    h.form->CmdTime->click();
    h.form->CmdMax->click();
    h.form->CmdExit->click();
    QCOMPARE(h.caption(), frozen);
    QCOMPARE(h.prompts.size(), 3);
    QCOMPARE(h.ended.size(), std::size_t{1});
    QCOMPARE(h.reported.size(), std::size_t{1});
}

namespace {

// Presses a button as a screen reader does; Qt's modality does not stop this.
void PressAccessibly(QPushButton* button) {
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

} // namespace

void Form1Test::nothingRunsBehindADialog() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    // While a dialog or the report is "open", every way of pressing a button is dropped.
    const auto pressAll = [&h] {
        for (QPushButton* button : {h.form->CmdExit, h.form->CmdMax, h.form->CmdWelcome}) {
            PressAccessibly(button);
            button->click();
        }
        // The mouse and the window system's close reach nothing: no press moves the focus.
        QWidget* focused = h.form->focusWidget();
        const QPoint welcome = h.form->CmdWelcome->geometry().center();
        QTest::mouseClick(h.form->windowHandle(), Qt::LeftButton, {}, welcome);
        QCOMPARE(h.form->focusWidget(), focused);
        QVERIFY(!h.form->windowHandle()->close());
        QTest::qWait(250); // an accessible press clicks after a short animation
    };
    h.whileAsking = pressAll;
    h.answers = {QStringLiteral("5"), QStringLiteral("9"), QStringLiteral("2")};
    h.form->CmdMax->click();
    QCOMPARE(h.prompts.size(), 3);
    QVERIFY(h.ended.empty());
    QCOMPARE(h.caption(), QStringLiteral("输入：a=5 b=9 c=2  计算结果：Max =9"));

    h.whileAsking = nullptr;
    h.whileReporting = pressAll;
    h.answers = {QStringLiteral("x")};
    h.form->CmdMax->click();
    QCOMPARE(h.prompts.size(), 6);
    QCOMPARE(h.caption(), Q(text::ThreeNumbersInstruction));
    QCOMPARE(h.ended, std::vector<int>{13});
}

void Form1Test::failureAtLoadEndsTheProgram_data() {
    QTest::addColumn<int>("thrown"); // what today() throws: 0 bad_alloc, 1 range error, 2 13
    QTest::addColumn<int>("status");
    QTest::newRow("out of memory") << 0 << 7;
    QTest::newRow("any other exception") << 1 << 51;
    QTest::newRow("run-time error") << 2 << 13;
}

void Form1Test::failureAtLoadEndsTheProgram() {
    QFETCH(int, thrown);
    QFETCH(int, status);
    struct FailingClock final : Clock {
        int thrown = 0;
        Date today() const override {
            switch (thrown) {
            case 0:
                throw std::bad_alloc();
            case 1:
                throw std::out_of_range("no such day");
            default:
                throw RunTimeError(ErrorNumber::TypeMismatch);
            }
        }
        TimeOfDay now() const override { return {}; }
    } clock;
    clock.thrown = thrown;
    // The report is recorded instead of shown; no event loop runs yet, so there is none to end.
    Form1Services services = DefaultServices(clock);
    QStringList reports;
    services.reportFailure = [&reports](QWidget*, const RunTimeError& error) {
        reports << Q(FailureReportText(error));
    };
    services.end = [](int) {
    };
    Form1 form(std::move(services));
    form.Load();
    QCOMPARE(form.endStatus(), std::optional<int>(status)); // what main() returns
    QCOMPARE(reports.size(), 1);
    if (status == 51) {
        QCOMPARE(reports.first(), QStringLiteral("运行时错误 '51':\n\n内部错误"));
    }
}

void Form1Test::welcomeAndTimeReplaceTheLabel() {
    Harness h;
    h.form->CmdTime->click();
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:09"));
    h.clock.set(kToday, {0, 5, 12});
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:09")); // not a clock
    h.form->CmdTime->click();
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:12"));
    h.form->CmdWelcome->click();
    h.form->CmdWelcome->click();
    QCOMPARE(h.caption(), QStringLiteral("欢迎使用\rVisual Basic"));
}

namespace {

// The dialog now open, if any.
QWidget* OpenDialog() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto open = std::find_if(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && window->windowType() == Qt::Dialog;
    });
    return open != windows.end() ? *open : nullptr;
}

// Runs `answer` on the first dialog that opens, from inside its event loop.
void WhenModalOpens(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
        QWidget* modal = OpenDialog();
        if (modal == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

} // namespace

void Form1Test::realInputPromptConfirmsWithEnter() {
    QString title, prompt, ok, cancel;
    bool emptyFocusedField = false;
    QPoint topLeft;
    WhenModalOpens([&](QWidget* dialog) {
        title = dialog->windowTitle();
        auto* field = dialog->findChild<QLineEdit*>();
        emptyFocusedField = field != nullptr && field->text().isEmpty() && field->hasFocus();
        const auto labels = dialog->findChildren<QLabel*>();
        prompt = labels.isEmpty() ? QString() : labels.first()->text();
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            (ok.isEmpty() ? ok : cancel) = button->text();
        }
        topLeft = dialog->pos();
        QTest::keyClicks(field, QStringLiteral(" 3.7 "));
        QTest::keyClick(field, Qt::Key_Return);
    });
    const QString entry = InputPrompt::ask(nullptr, QStringLiteral("输入 a"));
    QCOMPARE(entry, QStringLiteral(" 3.7 "));
    QCOMPARE(title, QStringLiteral("求最大数"));
    QCOMPARE(prompt, QStringLiteral("输入 a"));
    QVERIFY(emptyFocusedField);
    QCOMPARE(QSet<QString>({ok, cancel}),
             QSet<QString>({QStringLiteral("确定"), QStringLiteral("取消")}));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(qAbs(topLeft.y() - screen.height() / 3) <= 1,
             qPrintable(QString::number(topLeft.y())));
}

void Form1Test::realInputPromptCancelsWithEscape() {
    WhenModalOpens([](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("123"));
        QTest::keyClick(field, Qt::Key_Escape);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QString());
    // Nothing is remembered: the next dialog opens empty.
    bool empty = false;
    WhenModalOpens([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        empty = field->text().isEmpty();
        dialog->close();
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 c")), QString());
    QVERIFY(empty);
}

void Form1Test::keysForTheWindowReachTheDialogs_data() {
    QTest::addColumn<QString>("typed"); // {…} an input method's commit, ^X Alt+X, \n Return
    QTest::newRow("keys") << QStringLiteral("12\n34\n56\n");
    QTest::newRow("input method commits") << QStringLiteral("1{2}\n{34}\n5{6}\n");
    QTest::newRow("Alt keys type and press nothing") << QStringLiteral("1^E2\n^H34\n56^M\n");
}

// While the focus moves to a dialog, the window system still sends keys to the main window, and
// an input method commits to the focus it last saw: all of it must reach the dialogs in order.
void Form1Test::keysForTheWindowReachTheDialogs() {
    QFETCH(QString, typed);
    FixedClock clock(kToday, kNow);
    Form1Services services = DefaultServices(clock);
    services.locale = kChinese;
    std::vector<int> ended;
    services.end = [&ended](int status) {
        ended.push_back(status);
    };
    Form1 form(std::move(services));
    form.Load();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    WhenModalOpens([&form, &typed](QWidget*) {
        QWindow* window = form.windowHandle();
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const char c = typed[i].toLatin1();
            if (c == '{') {
                const qsizetype end = typed.indexOf(u'}', i);
                QInputMethodEvent commit;
                commit.setCommitString(typed.mid(i + 1, end - i - 1));
                QCoreApplication::sendEvent(form.focusWidget(), &commit);
                i = end;
            } else if (c == '^') {
                QTest::keyClick(window, typed[++i].toLatin1(), Qt::AltModifier);
            } else if (c == '\n') {
                QTest::keyClick(window, Qt::Key_Return);
            } else {
                QTest::keyClick(window, c);
            }
        }
    });
    // A key lost leaves a dialog waiting: closed after a while, so that the test fails, not hangs.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [] {
        if (QWidget* dialog = OpenDialog()) {
            dialog->close();
        }
    });
    watchdog.start(5000);
    form.CmdMax->click();
    QCOMPARE(form.Label1->caption(), QStringLiteral("输入：a=12 b=34 c=56  计算结果：Max =56"));
    QVERIFY(ended.empty());
    QCOMPARE(OpenDialog(), nullptr);
}

void Form1Test::realInputPromptTakesOneLineOfText_data() {
    QTest::addColumn<QString>("typed");     // typed before the paste
    QTest::addColumn<QString>("clipboard"); // pasted with Ctrl+V after Home and Right
    QTest::addColumn<QString>("typedLast"); // typed after Alt+M, Alt+E, Alt+H and Alt+C
    QTest::addColumn<QString>("entry");
    QTest::newRow("Alt keys type nothing")
        << QString() << QString() << QStringLiteral("5") << QStringLiteral("5");
    QTest::newRow("pasted line feed")
        << QString() << QStringLiteral("7\n") << QString() << QStringLiteral("7");
    QTest::newRow("pasted CR LF") << QString() << QStringLiteral("7\r\n") << QString()
                                  << QStringLiteral("7");
    QTest::newRow("pasted line between breaks")
        << QString() << QStringLiteral("\n7\n") << QString() << QStringLiteral("7");
    QTest::newRow("paste cut at the limit")
        << QString() << QString(32768, u'9') << QString() << QString(32767, u'9');
    QTest::newRow("first line of a paste, into the middle")
        << QStringLiteral("12") << QStringLiteral("3\n4") << QStringLiteral("0")
        << QStringLiteral("1320");
}

void Form1Test::realInputPromptTakesOneLineOfText() {
    QFETCH(QString, typed);
    QFETCH(QString, clipboard);
    QFETCH(QString, typedLast);
    QFETCH(QString, entry);
    QString shown;
    WhenModalOpens([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, typed);
        if (!clipboard.isEmpty()) {
            QGuiApplication::clipboard()->setText(clipboard);
            QTest::keyClick(field, Qt::Key_Home);
            QTest::keyClick(field, Qt::Key_Right);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(field, Qt::Key_End);
        for (const Qt::Key key : {Qt::Key_M, Qt::Key_E, Qt::Key_H, Qt::Key_C}) {
            QTest::keyClick(field, key, Qt::AltModifier);
        }
        QTest::keyClicks(field, typedLast);
        shown = field->text();
        QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 a")), entry);
    QCOMPARE(shown, entry); // the entry is what the field showed
}

void Form1Test::realInputPromptIgnoresTheSecondClickOfADoubleClick() {
    bool openAfterEarlyClick = false;
    WhenModalOpens([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("9"));
        QPushButton* ok = nullptr;
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("确定")) {
                ok = button;
            }
        }
        QTest::mouseClick(ok, Qt::LeftButton); // just after it appeared: a double-click's second
        openAfterEarlyClick = dialog->isVisible() && field->hasFocus(); // typing goes on there
        QTest::qWait(QApplication::doubleClickInterval());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QStringLiteral("9"));
    QVERIFY(openAfterEarlyClick);
}

void Form1Test::qtSpeaksChineseInTheFieldsMenu() {
    InstallQtTranslation(*qApp); // the tests run in LANG=C.UTF-8: the locale does not matter
    QStringList entries;
    WhenModalOpens([&entries](QWidget* dialog) {
        const std::unique_ptr<QMenu> menu(
            dialog->findChild<QLineEdit*>()->createStandardContextMenu());
        for (const QAction* action : menu->actions()) {
            entries << action->text();
        }
        dialog->close();
    });
    InputPrompt::ask(nullptr, QStringLiteral("输入 a"));
    for (const QString& word : {QStringLiteral("撤消"), QStringLiteral("复制"),
                                QStringLiteral("粘贴"), QStringLiteral("全选")}) {
        QVERIFY2(std::any_of(entries.begin(), entries.end(),
                             [&word](const QString& entry) { return entry.startsWith(word); }),
                 qPrintable(entries.join(u' ')));
    }
}

void Form1Test::realFailureReportIsDismissedWithEnter() {
    FixedClock clock(kToday, kNow);
    std::vector<int> ended;
    Form1Services services = DefaultServices(clock);
    services.locale = kChinese;
    services.prompt = [](QWidget*, const QString&) {
        return QStringLiteral("x");
    };
    services.end = [&](int status) {
        ended.push_back(status);
    };
    Form1 form(std::move(services));
    form.Load();
    form.show();
    QString title, text, button, captionMeanwhile;
    bool centred = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModalOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box != nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        centred = qAbs(box->y() - (box->screen()->geometry().height() - box->height()) / 2) <= 1;
        QCOMPARE(box->buttons().size(), 1);
        button = box->buttons().first()->text();
        captionMeanwhile = form.Label1->caption();
        QVERIFY(ended.empty());
        QTest::keyClick(box, Qt::Key_Return);
    });
    form.CmdMax->click();
    QCOMPARE(title, QStringLiteral("求最大数"));
    QCOMPARE(text, QStringLiteral("运行时错误 '13':\n\n类型不匹配"));
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(centred); // in the middle of the screen, not over the label
    QCOMPARE(button, QStringLiteral("确定"));
    QCOMPARE(captionMeanwhile, Q(text::ThreeNumbersInstruction));
    QCOMPARE(ended, std::vector<int>{13});
}

void Form1Test::manyClicksKeepTheLabelStable() {
    Harness h;
    for (int i = 0; i < 1000; ++i) {
        h.form->CmdWelcome->click();
        h.form->CmdTime->click();
    }
    QCOMPARE(h.caption(), Q(TimeText(kNow, "zh_CN")));
    QVERIFY(h.ended.empty());
}

namespace {

// The bytes the program has allocated and not freed. Resident memory would say the same outside
// the sanitizers, but AddressSanitizer keeps freed memory in quarantine for a while.
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

} // namespace

void Form1Test::realDialoguesKeepMemoryFlat() {
    FixedClock clock(kToday, kNow);
    Form1Services services = DefaultServices(clock);
    services.locale = kChinese;
    services.end = [](int status) {
        QFAIL(qPrintable(QString::number(status)));
    };
    Form1 form(std::move(services));
    form.Load();
    form.show();
    QTRY_VERIFY(!form.windowIcon().isNull()); // the dialogs show the window's icon too
    QTimer answerer;                          // answers every input dialog as soon as it is open
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, &answerer, [] {
        if (auto* dialog = qobject_cast<InputPrompt*>(OpenDialog());
            dialog != nullptr && dialog->isVisible()) {
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("7"));
            dialog->accept();
        }
    });
    answerer.start();
    const auto dialogues = [&form](int count) {
        for (int i = 0; i < count; ++i) {
            form.CmdMax->click();
        }
        QCOMPARE(form.Label1->caption(), QStringLiteral("输入：a=7 b=7 c=7  计算结果：Max =7"));
    };
    // A hundred dialogues with real dialogs, after twenty to let every cache fill.
    dialogues(20);
    const std::size_t settled = HeapInUse();
    dialogues(100);
    const auto grown = static_cast<long long>(HeapInUse()) - static_cast<long long>(settled);
    QVERIFY2(grown < 100'000, qPrintable(QStringLiteral("%1 bytes more").arg(grown)));
}

void Form1Test::screenReadersGetNamesAndKeys() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(h.form.get());
    QVERIFY(window != nullptr);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("求最大数 Tavrelo 2006.9."));

    QAccessibleInterface* label = QAccessible::queryAccessibleInterface(h.form->Label1);
    QCOMPARE(label->text(QAccessible::Name),
             Q(GreetingText(kToday, "zh_CN")).replace(QChar(u'\r'), QChar(u'\n')));
    QCOMPARE(label->state().focusable, false);

    const struct {
        QPushButton* button;
        QString name;
        QString keys;
    } buttons[] = {{h.form->CmdWelcome, QStringLiteral("欢迎(H)"), QStringLiteral("Alt+H")},
                   {h.form->CmdTime, QStringLiteral("时间(T)"), QStringLiteral("Alt+T")},
                   {h.form->CmdMax, QStringLiteral("求最大数(M)"), QStringLiteral("Alt+M")},
                   {h.form->CmdExit, QStringLiteral("退出(E)"), QStringLiteral("Alt+E")}};
    for (const auto& row : buttons) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(row.button);
        QCOMPARE(button->text(QAccessible::Name), row.name);
        QAccessibleActionInterface* actions = button->actionInterface();
        QVERIFY(actions != nullptr);
        QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{row.keys});
    }
}

void Form1Test::windowIconHasBothSizes() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QTRY_VERIFY(!h.form->windowIcon().isNull());
    const QList<QSize> sizes = h.form->windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
             qPrintable(QStringLiteral("%1 sizes").arg(sizes.size())));
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
