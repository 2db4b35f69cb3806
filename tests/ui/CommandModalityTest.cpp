#include "UiTest.h"
#include "logic/Texts.h"
#include "ui/InputPrompt.h"

#include <QAccessible>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes(); // libasan's, no header in GCC 12
#endif

using namespace qzds;
using namespace qzds::test;

namespace {

// Presses a button as a screen reader does; no modality of the window system stops this.
void PressAccessibly(QPushButton* button) {
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

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

class CommandModalityTest : public QObject {
    Q_OBJECT

private slots:
    void nothingRunsBehindADialog();
    void keysForTheWindowReachTheDialogs_data();
    void keysForTheWindowReachTheDialogs();
    void realDialoguesKeepMemoryFlat();
};

void CommandModalityTest::nothingRunsBehindADialog() {
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

void CommandModalityTest::keysForTheWindowReachTheDialogs_data() {
    // {…} an input method's commit, <…> one committed to the dialog as a click on 确定 closes
    // it, ^X Alt+X, \n Return
    QTest::addColumn<QString>("typed");
    QTest::newRow("keys") << QStringLiteral("12\n34\n56\n");
    QTest::newRow("input method commits") << QStringLiteral("1{2}\n{34}\n5{6}\n");
    QTest::newRow("Alt keys type and press nothing") << QStringLiteral("1^E2\n^H34\n56^M\n");
    QTest::newRow("a commit as the dialog closes") << QStringLiteral("1<2>34\n56\n");
}

// While the focus moves to a dialog, the window system still sends keys to the main window, and
// an input method commits to the focus it last saw: all of it must reach the dialogs in order.
void CommandModalityTest::keysForTheWindowReachTheDialogs() {
    QFETCH(QString, typed);
    Harness w(true, kChinese, Dialogs::Real);
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    WhenDialogOpens([&w, &typed](QWidget*) {
        QWindow* window = w.form->windowHandle();
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const char c = typed[i].toLatin1();
            if (c == '{') {
                const qsizetype end = typed.indexOf(u'}', i);
                QInputMethodEvent commit;
                commit.setCommitString(typed.mid(i + 1, end - i - 1));
                QCoreApplication::sendEvent(w.form->focusWidget(), &commit);
                i = end;
            } else if (c == '<') {
                const qsizetype end = typed.indexOf(u'>', i);
                auto* dialog = qobject_cast<QDialog*>(OpenDialog());
                auto* field = dialog->findChild<QLineEdit*>();
                const QString text = typed.mid(i + 1, end - i - 1);
                QObject::connect(dialog, &QDialog::finished, field, [field, text] {
                    QInputMethodEvent commit;
                    commit.setCommitString(text);
                    QCoreApplication::sendEvent(field, &commit);
                });
                for (auto* button : dialog->findChildren<QPushButton*>()) {
                    if (button->text() == Q(text::Ok)) {
                        button->click();
                    }
                }
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
    w.form->CmdMax->click();
    QCOMPARE(w.form->Label1->caption(), QStringLiteral("输入：a=12 b=34 c=56  计算结果：Max =56"));
    QVERIFY(w.ended.empty());
    QCOMPARE(OpenDialog(), nullptr);
}

void CommandModalityTest::realDialoguesKeepMemoryFlat() {
    Harness w(true, kChinese, Dialogs::Real);
    w.form->show();
    QTRY_VERIFY(!w.form->windowIcon().isNull()); // the dialogs show the window's icon too
    QTimer answerer;                             // answers every input dialog as soon as it is open
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, &answerer, [] {
        if (auto* dialog = qobject_cast<InputPrompt*>(OpenDialog())) {
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("7"));
            dialog->accept();
        }
    });
    answerer.start();
    const auto dialogues = [&w](int count) {
        for (int i = 0; i < count; ++i) {
            w.form->CmdMax->click();
        }
        QCOMPARE(w.form->Label1->caption(), QStringLiteral("输入：a=7 b=7 c=7  计算结果：Max =7"));
    };
    // A hundred dialogues with real dialogs, after twenty to let every cache fill.
    dialogues(20);
    const std::size_t settled = HeapInUse();
    dialogues(100);
    const auto grown = static_cast<long long>(HeapInUse()) - static_cast<long long>(settled);
    QVERIFY2(grown < 100'000, qPrintable(QStringLiteral("%1 bytes more").arg(grown)));
    QVERIFY(w.ended.empty());
}

QTEST_MAIN(CommandModalityTest)
#include "CommandModalityTest.moc"
