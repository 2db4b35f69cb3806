#include "UiTest.h"
#include "logic/Texts.h"
#include "ui/InputPrompt.h"

#include <QAccessible>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <optional>

using namespace qzds;
using namespace qzds::test;

namespace {

// Presses a button as a screen reader does; no modality of the window system stops this.
void PressAccessibly(QPushButton* button) {
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

// Sends a Tab to the first dialog's field as it shows, before what was typed ahead reaches it:
// the window system's next key for the dialog that has just taken the focus.
class TabAtShow : public QObject {
public:
    TabAtShow() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched) != nullptr) {
            qApp->removeEventFilter(this);
            QCoreApplication::postEvent(watched->findChild<QLineEdit*>(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, {}));
        }
        return false;
    }
};

} // namespace

class CommandInputTest : public QObject {
    Q_OBJECT

private slots:
    void nothingRunsBehindADialog();
    void keysForTheWindowReachTheDialogs_data();
    void keysForTheWindowReachTheDialogs();
    void anAnsweredDialogWaitsForTheFocusOnlySoLong();
};

void CommandInputTest::nothingRunsBehindADialog() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get(), kPatience));
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
        // An accessible press clicks after a short animation: its click comes while still asking.
        QTRY_VERIFY_WITH_TIMEOUT(!h.form->CmdExit->isDown() && !h.form->CmdMax->isDown() &&
                                     !h.form->CmdWelcome->isDown(),
                                 kPatience);
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

void CommandInputTest::keysForTheWindowReachTheDialogs_data() {
    // {…} an input method's commit, <…> one committed to the dialog as a click on 确定 closes
    // it, […] keys the input method gives back to the dialog then, ^X Alt+X, \n Return, \t Tab,
    // > a Tab the first dialog's field takes directly as it shows
    QTest::addColumn<QString>("typed");
    QTest::newRow("keys") << QStringLiteral("12\n34\n56\n");
    QTest::newRow("input method commits") << QStringLiteral("1{2}\n{34}\n5{6}\n");
    QTest::newRow("Alt keys type and press nothing") << QStringLiteral("1^E2\n^H34\n56^M\n");
    // Alt+M typed into the active window starts the command after a short animation: what
    // follows it is the dialogs' too, and Alt+E must not press 退出 meanwhile.
    QTest::newRow("typed ahead with the command's Alt+M") << QStringLiteral("^M1^E2\n34\n56\n");
    // What reaches a dialog once it has answered comes after its answer: the next one's.
    QTest::newRow("a commit as the dialog closes") << QStringLiteral("12<3>4\n56\n");
    QTest::newRow("a key given back as the dialog closes") << QStringLiteral("12[3]4\n56\n");
    QTest::newRow("a key after the last answer, for the window")
        << QStringLiteral("12\n34\n56\n\t");
    QTest::newRow("typed ahead, then a key for the dialog") << QStringLiteral("^M12\n34\n56\n>");
    // A Return or Space after the last answer presses the focused button (时间), as at any time.
    QTest::newRow("a Return after the last answer") << QStringLiteral("12\n34\n56\n\n");
    QTest::newRow("a Space after the last answer") << QStringLiteral("12\n34\n56\n ");
}

// While the focus moves to a dialog, the window system still sends keys to the main window, and
// an input method commits to the focus it last saw: all of it must reach the dialogs in order.
void CommandInputTest::keysForTheWindowReachTheDialogs() {
    QFETCH(QString, typed);
    Harness w(true, kChinese, Dialogs::Real);
    w.showAndActivate();
    const auto type = [&w, &typed] {
        QWindow* window = w.form->windowHandle();
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const char c = typed[i].toLatin1();
            if (c == '{') {
                const qsizetype end = typed.indexOf(u'}', i);
                QInputMethodEvent commit;
                commit.setCommitString(typed.mid(i + 1, end - i - 1));
                QCoreApplication::sendEvent(w.form->focusWidget(), &commit);
                i = end;
            } else if (c == '<' || c == '[') {
                const bool keys = c == '[';
                const qsizetype end = typed.indexOf(keys ? u']' : u'>', i);
                auto* dialog = qobject_cast<QDialog*>(OpenDialog());
                auto* field = dialog->findChild<QLineEdit*>();
                const QString text = typed.mid(i + 1, end - i - 1);
                QObject::connect(dialog, &QDialog::finished, field, [field, text, keys] {
                    if (keys) { // not from the window system: not spontaneous
                        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
                        QCoreApplication::sendEvent(field, &key);
                    } else {
                        QInputMethodEvent commit;
                        commit.setCommitString(text);
                        QCoreApplication::sendEvent(field, &commit);
                    }
                });
                Button(dialog, Q(text::Ok))->click();
                i = end;
            } else if (c == '>') {
                continue;
            } else if (c == '^') {
                QTest::keyClick(window, typed[++i].toLatin1(), Qt::AltModifier);
            } else if (c == '\n') {
                QTest::keyClick(window, Qt::Key_Return);
            } else {
                QTest::keyClick(window, c);
            }
        }
    };
    // A key lost leaves a dialog waiting for ever, though all input was delivered long before: one
    // that still asks at ten ticks of a watchdog in a row is closed, so that the test fails at
    // once; once a check has failed, every dialog is closed at the next tick.
    QTimer watchdog;
    QPointer<QWidget> open;
    int ticks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [&open, &ticks] {
        QWidget* asking = OpenDialog();
        ticks = asking != nullptr && asking == open ? ticks + 1 : 0;
        open = asking;
        if (ticks >= 10 || QTest::currentTestFailed()) {
            CloseOpenDialogs();
        }
    });
    watchdog.start(50);
    // Typed ahead, Alt+E and Alt+M are typed, not pressed: no button but the one clicked sees a
    // press (its click would come only after a short animation).
    std::vector<std::unique_ptr<QSignalSpy>> presses;
    for (QPushButton* button :
         {w.form->CmdTime, w.form->CmdWelcome, w.form->CmdMax, w.form->CmdExit}) {
        presses.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::pressed));
    }
    QWidget* focused = w.form->focusWidget();
    // The command runs inside the click's signal: this spy hears of the click once it has ended,
    // well or not, and the test waits for no longer than that.
    QSignalSpy ran(w.form->CmdMax, &QPushButton::clicked);
    std::optional<TabAtShow> tab;
    if (typed.endsWith(u'>')) {
        tab.emplace();
    }
    if (typed.startsWith(u"^M")) {
        type();
    } else {
        WhenDialogOpens([&type](QWidget*) { type(); });
        w.form->CmdMax->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(ran.count(), 1, kPatience);
    const bool pressesTime = typed.endsWith(u"\n\n") || typed.endsWith(u' ');
    QCOMPARE(w.form->Label1->caption(),
             pressesTime ? QStringLiteral("现在是北京时间：\r00:05:09")
                         : QStringLiteral("输入：a=12 b=34 c=56  计算结果：Max =56"));
    QVERIFY(w.ended.empty());
    QCOMPARE(OpenDialog(), nullptr);
    QVERIFY(w.form->findChildren<QDialog*>().isEmpty()); // the answered ones are gone too
    for (qsizetype i = 0; i < 4; ++i) {
        QCOMPARE(presses.at(i)->count(), i == 2 || (i == 0 && pressesTime) ? 1 : 0);
    }
    // the window's own key
    QCOMPARE(w.form->focusWidget() != focused, typed.endsWith(u'\t') || typed.endsWith(u'>'));
}

// An answered dialog stays while it has the focus: it goes as the next dialog takes it, and the
// last one within moments, as a compositor may never move the focus on.
void CommandInputTest::anAnsweredDialogWaitsForTheFocusOnlySoLong() {
    QWidget window;
    auto* input = new CommandInput(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window, kPatience));
    input->begin();
    QPointer<QWidget> answered;
    const auto answer = [&answered](QWidget* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog, kPatience));
        QVERIFY(answered == nullptr || !answered->isVisible());
        answered = dialog;
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("7"));
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    };
    for (const QString& prompt : {QStringLiteral("输入 a"), QStringLiteral("输入 b")}) {
        WhenDialogOpens(answer);
        QCOMPARE(InputPrompt::ask(&window, prompt), QStringLiteral("7"));
        QVERIFY(answered != nullptr && answered->isVisible());
    }
    QTRY_VERIFY_WITH_TIMEOUT(answered.isNull(), 10'000);
    input->end();
}

QTEST_MAIN(CommandInputTest)
#include "CommandInputTest.moc"
