#include "ui/InputPrompt.h"
#include "UiTest.h"
#include "ui/CommandInput.h"
#include "ui/QtTranslation.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QtGui/qpa/qplatforminputcontext.h>
#include <QtGui/qpa/qplatforminputcontextplugin_p.h>
#include <utility>

using namespace qzds;
using namespace qzds::test;

// An input method that composes what the test gives it and commits it when asked, as pinyin does;
// the widget tests choose it (QT_IM_MODULE=composing).
class ComposingInputMethod : public QPlatformInputContext {
public:
    bool isValid() const override { return true; }
    void commit() override {
        QInputMethodEvent commit;
        commit.setCommitString(std::exchange(composing, QString()));
        if (!commit.commitString().isEmpty() && QGuiApplication::focusObject() != nullptr) {
            QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
        }
    }
    static inline QString composing;
};

class ComposingInputMethodPlugin : public QPlatformInputContextPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformInputContextFactoryInterface_iid FILE "composing.json")
public:
    QPlatformInputContext* create(const QString&, const QStringList&) override {
        return new ComposingInputMethod;
    }
};
Q_IMPORT_PLUGIN(ComposingInputMethodPlugin)

class InputPromptTest : public QObject {
    Q_OBJECT

private slots:
    void asksWithTheProgramsTitleAndConfirmsWithEnter();
    void escapeCancelsAndNothingIsRemembered();
    void takesOneLineOfText_data();
    void takesOneLineOfText();
    void undoTakesBackAPasteOfSeveralLines();
    void ignoresTheSecondClickOfADoubleClick();
    void okKeepsWhatTheInputMethodComposes();
    void qtSpeaksChineseInTheFieldsMenu();
    void waitsWithTheGuardsOfExec();
};

void InputPromptTest::asksWithTheProgramsTitleAndConfirmsWithEnter() {
    WhenDialogOpens([](QWidget* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog, kPatience));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("求最大数"));
        QCOMPARE(dialog->findChild<QLabel*>()->text(), QStringLiteral("输入 a"));
        auto* field = dialog->findChild<QLineEdit*>();
        QVERIFY(field->text().isEmpty() && field->hasFocus());
        QCOMPARE(dialog->findChildren<QPushButton*>().size(), 2);
        QVERIFY(Button(dialog, QStringLiteral("确定")) && Button(dialog, QStringLiteral("取消")));
        // As large as a one-line question needs, centred, its top a third of the way down.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(dialog->size(), dialog->sizeHint());
        QVERIFY2(qAbs(dialog->x() + dialog->width() / 2 - screen.center().x()) <= 1 &&
                     qAbs(dialog->y() - screen.height() / 3) <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(dialog->x()).arg(dialog->y())));
        QTest::keyClicks(field, QStringLiteral(" 3.7 "));
        QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 a")), QStringLiteral(" 3.7 "));
}

void InputPromptTest::escapeCancelsAndNothingIsRemembered() {
    // Esc, 取消 and the close box each give an empty entry, and the next dialog starts empty.
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0); // a click at once is not the end of a double-click
    for (int way = 0; way < 3; ++way) {
        bool empty = false;
        WhenDialogOpens([&](QWidget* dialog) {
            auto* field = dialog->findChild<QLineEdit*>();
            empty = field->text().isEmpty();
            QTest::keyClicks(field, QStringLiteral("123"));
            if (way == 0) {
                QTest::keyClick(field, Qt::Key_Escape);
            } else if (way == 1) {
                QTest::mouseClick(Button(dialog, QStringLiteral("取消")), Qt::LeftButton);
            } else {
                dialog->close();
            }
        });
        QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QString());
        QVERIFY(empty);
    }
    QApplication::setDoubleClickInterval(interval);
}

void InputPromptTest::takesOneLineOfText_data() {
    QTest::addColumn<QString>("typed");     // typed with Shift held (a French keyboard's digits)
    QTest::addColumn<QString>("clipboard"); // pasted with Ctrl+V after Home and Right
    QTest::addColumn<int>("selected");      // and Shift+Right this often; -1: over all (Ctrl+A)
    QTest::addColumn<QString>("typedLast"); // on the keypad, after Alt+M, Alt+E, Alt+H, Alt+C
                                            // and Super+M
    QTest::addColumn<QString>("entry");
    const QString none;
    QTest::newRow("Alt and Super keys type nothing")
        << none << none << 0 << QStringLiteral("5") << QStringLiteral("5");
    QTest::newRow("signs and letters typed with Shift")
        << QStringLiteral("+1E2") << none << 0 << none << QStringLiteral("+1E2");
    QTest::newRow("pasted line feed")
        << none << QStringLiteral("7\n") << 0 << none << QStringLiteral("7");
    QTest::newRow("pasted CR LF") << none << QStringLiteral("7\r\n") << 0 << none
                                  << QStringLiteral("7");
    QTest::newRow("pasted line between breaks")
        << none << QStringLiteral("\n7\n") << 0 << none << QStringLiteral("7");
    QTest::newRow("pasted line separator")
        << none << QStringLiteral("7\u20288") << 0 << none << QStringLiteral("7");
    QTest::newRow("paste cut at the limit")
        << none << QString(32768, u'9') << 0 << none << QString(32767, u'9');
    QTest::newRow("first line of a paste, into the middle")
        << QStringLiteral("12") << QStringLiteral("3\n4") << 0 << QStringLiteral("0")
        << QStringLiteral("1320");
    QTest::newRow("paste into the middle, alike on both sides")
        << QStringLiteral("12") << QStringLiteral("2\n1") << 0 << none << QStringLiteral("122");
    QTest::newRow("over a selection in the middle")
        << QStringLiteral("123") << QStringLiteral("4\n5") << 1 << none << QStringLiteral("143");
    // What a paste replaces is the selection, even where it starts or ends as the paste does.
    QTest::newRow("the same text over itself")
        << QStringLiteral("7") << QStringLiteral("7\n") << -1 << none << QStringLiteral("7");
    QTest::newRow("over all, the same start")
        << QStringLiteral("12") << QStringLiteral("15\n") << -1 << none << QStringLiteral("15");
    QTest::newRow("over all, the same start and end")
        << QStringLiteral("12") << QStringLiteral("1\n2") << -1 << none << QStringLiteral("1");
}

void InputPromptTest::takesOneLineOfText() {
    QFETCH(QString, typed);
    QFETCH(QString, clipboard);
    QFETCH(int, selected);
    QFETCH(QString, typedLast);
    QFETCH(QString, entry);
    QString shown;
    WhenDialogOpens([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, typed, Qt::ShiftModifier);
        if (!clipboard.isEmpty()) {
            QGuiApplication::clipboard()->setText(clipboard);
            if (selected < 0) {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            } else {
                QTest::keyClick(field, Qt::Key_Home);
                QTest::keyClick(field, Qt::Key_Right);
                for (int i = 0; i < selected; ++i) {
                    QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
                }
            }
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(field, Qt::Key_End);
        for (const Qt::Key key : {Qt::Key_M, Qt::Key_E, Qt::Key_H, Qt::Key_C}) {
            QTest::keyClick(field, key, Qt::AltModifier);
        }
        QTest::keyClick(field, Qt::Key_M, Qt::MetaModifier);
        QTest::keyClicks(field, typedLast, Qt::KeypadModifier);
        shown = field->text();
        QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 a")), entry);
    QCOMPARE(shown, entry); // the entry is what the field showed
}

void InputPromptTest::undoTakesBackAPasteOfSeveralLines() {
    QStringList shown;
    WhenDialogOpens([&shown](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("12"));
        QTest::keyClick(field, Qt::Key_Left);
        QGuiApplication::clipboard()->setText(QStringLiteral("3\n4"));
        // A paste, its undo and redo; then a paste over everything, and its undo.
        for (const char* keys : {"Ctrl+V", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+A, Ctrl+V", "Ctrl+Z"}) {
            QTest::keySequence(field, QKeySequence(QString::fromLatin1(keys)));
            shown << field->text();
        }
        dialog->close();
    });
    InputPrompt::ask(nullptr, QStringLiteral("输入 a"));
    QCOMPARE(shown, QStringList({QStringLiteral("132"), QStringLiteral("12"), QStringLiteral("132"),
                                 QStringLiteral("3"), QStringLiteral("132")}));
}

void InputPromptTest::ignoresTheSecondClickOfADoubleClick() {
    bool openAfterEarlyClick = false;
    WhenDialogOpens([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("9"));
        QPushButton* ok = Button(dialog, QStringLiteral("确定"));
        QTest::mouseClick(ok, Qt::LeftButton); // within a double-click of its showing: its second
        openAfterEarlyClick = dialog->isVisible() && field->hasFocus(); // typing goes on there
        QApplication::setDoubleClickInterval(0);                        // and now long after it
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(24 * 60 * 60 * 1000);
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QStringLiteral("9"));
    QApplication::setDoubleClickInterval(interval);
    QVERIFY(openAfterEarlyClick);
}

// 确定 clicked while pinyin composes 你 (typed "ni"): the input method commits it to the entry.
void InputPromptTest::okKeepsWhatTheInputMethodComposes() {
    WhenDialogOpens([](QWidget* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog, kPatience));
        QInputMethodEvent composing(QStringLiteral("ni"), {});
        QCoreApplication::sendEvent(dialog->findChild<QLineEdit*>(), &composing);
        ComposingInputMethod::composing = QStringLiteral("你");
        Button(dialog, QStringLiteral("确定"))->click();
    });
    QWidget window; // whose command's answered dialog stays, with the focus, until the next asks
    new CommandInput(&window);
    window.show();
    QCOMPARE(InputPrompt::ask(&window, QStringLiteral("输入 a")), QStringLiteral("你"));
}

void InputPromptTest::qtSpeaksChineseInTheFieldsMenu() {
    InstallQtTranslation(*qApp); // the tests run in LANG=C.UTF-8: the locale does not matter
    QStringList entries;
    WhenDialogOpens([&entries](QWidget* dialog) {
        const std::unique_ptr<QMenu> menu(
            dialog->findChild<QLineEdit*>()->createStandardContextMenu());
        for (const QAction* action : menu->actions()) {
            entries << action->text();
        }
        dialog->close();
    });
    InputPrompt::ask(nullptr, QStringLiteral("输入 a"));
    const QString menu = u'\n' + entries.join(u'\n');
    for (const char16_t* word : {u"\n撤消", u"\n复制", u"\n粘贴", u"\n全选"}) {
        QVERIFY2(menu.contains(QString::fromUtf16(word)), qPrintable(menu));
    }
}

void InputPromptTest::waitsWithTheGuardsOfExec() {
    // The window it belongs to goes away while it asks: a cancel, not a read of a deleted dialog.
    auto* window = new QWidget;
    WhenDialogOpens([window](QWidget*) { delete window; });
    QCOMPARE(InputPrompt::ask(window, QStringLiteral("输入 a")), QString());

    // Hidden or deleted while a command waits for it: the wait ends, as exec()'s does, with a
    // cancel.
    QWidget owner;
    new CommandInput(&owner);
    WhenDialogOpens([](QWidget* asking) { asking->hide(); });
    QCOMPARE(ShowAndWait(new QDialog(&owner)), int(QDialog::Rejected));
    WhenDialogOpens([](QWidget* asking) { delete asking; });
    QCOMPARE(ShowAndWait(new QDialog(&owner)), int(QDialog::Rejected));
}

QTEST_MAIN(InputPromptTest)
#include "InputPromptTest.moc"
