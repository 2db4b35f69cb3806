#include "ui/InputPrompt.h"
#include "UiTest.h"
#include "ui/QtTranslation.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

using namespace qzds;
using namespace qzds::test;

namespace {

QPushButton* Button(QWidget* dialog, const QString& caption) {
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == caption) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class InputPromptTest : public QObject {
    Q_OBJECT

private slots:
    void asksWithTheProgramsTitleAndConfirmsWithEnter();
    void escapeCancelsAndNothingIsRemembered();
    void takesOneLineOfText_data();
    void takesOneLineOfText();
    void undoTakesBackAPasteOfSeveralLines();
    void ignoresTheSecondClickOfADoubleClick();
    void qtSpeaksChineseInTheFieldsMenu();
};

void InputPromptTest::asksWithTheProgramsTitleAndConfirmsWithEnter() {
    QString title, prompt;
    bool emptyFocusedField = false, bothButtons = false;
    QPoint topLeft;
    WhenDialogOpens([&](QWidget* dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        title = dialog->windowTitle();
        auto* field = dialog->findChild<QLineEdit*>();
        emptyFocusedField = field != nullptr && field->text().isEmpty() && field->hasFocus();
        const auto labels = dialog->findChildren<QLabel*>();
        prompt = labels.isEmpty() ? QString() : labels.first()->text();
        bothButtons = dialog->findChildren<QPushButton*>().size() == 2 &&
                      Button(dialog, QStringLiteral("确定")) != nullptr &&
                      Button(dialog, QStringLiteral("取消")) != nullptr;
        topLeft = dialog->pos();
        QTest::keyClicks(field, QStringLiteral(" 3.7 "));
        QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 a")), QStringLiteral(" 3.7 "));
    QCOMPARE(title, QStringLiteral("求最大数"));
    QCOMPARE(prompt, QStringLiteral("输入 a"));
    QVERIFY(emptyFocusedField);
    QVERIFY(bothButtons);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(qAbs(topLeft.y() - screen.height() / 3) <= 1,
             qPrintable(QString::number(topLeft.y())));
}

void InputPromptTest::escapeCancelsAndNothingIsRemembered() {
    WhenDialogOpens([](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("123"));
        QTest::keyClick(field, Qt::Key_Escape);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QString());
    bool empty = false;
    WhenDialogOpens([&](QWidget* dialog) {
        empty = dialog->findChild<QLineEdit*>()->text().isEmpty();
        dialog->close();
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 c")), QString());
    QVERIFY(empty);
}

void InputPromptTest::takesOneLineOfText_data() {
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

void InputPromptTest::takesOneLineOfText() {
    QFETCH(QString, typed);
    QFETCH(QString, clipboard);
    QFETCH(QString, typedLast);
    QFETCH(QString, entry);
    QString shown;
    WhenDialogOpens([&](QWidget* dialog) {
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

void InputPromptTest::undoTakesBackAPasteOfSeveralLines() {
    QStringList shown;
    WhenDialogOpens([&shown](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("12"));
        QTest::keyClick(field, Qt::Key_Left);
        QGuiApplication::clipboard()->setText(QStringLiteral("3\n4"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        shown << field->text();
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        shown << field->text();
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        shown << field->text();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier); // a paste over the selection
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        shown << field->text();
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        shown << field->text();
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
        QTest::mouseClick(ok, Qt::LeftButton); // just after it appeared: a double-click's second
        openAfterEarlyClick = dialog->isVisible() && field->hasFocus(); // typing goes on there
        QTest::qWait(QApplication::doubleClickInterval());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(InputPrompt::ask(nullptr, QStringLiteral("输入 b")), QStringLiteral("9"));
    QVERIFY(openAfterEarlyClick);
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
    for (const QString& word : {QStringLiteral("撤消"), QStringLiteral("复制"),
                                QStringLiteral("粘贴"), QStringLiteral("全选")}) {
        QVERIFY2(std::any_of(entries.begin(), entries.end(),
                             [&word](const QString& entry) { return entry.startsWith(word); }),
                 qPrintable(entries.join(u' ')));
    }
}

QTEST_MAIN(InputPromptTest)
#include "InputPromptTest.moc"
