#include "UiTest.h"

#include <QAccessible>

#include <QFontInfo>
#include <QPushButton>
#include <array>

using namespace qzds;
using namespace qzds::test;

namespace {

// The rows of the label's image that hold text pixels, grouped into bands of adjacent rows; a band
// that reaches the label's bottom edge is a line cut off, and does not count.
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
        bands += text && !inBand ? 1 : 0;
        inBand = text;
    }
    return inBand ? bands - 1 : bands;
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void windowLooksAsDesigned();
    void greetingIsInPlaceBeforeTheFirstFrame();
    void labelBreaksLines();
    void tabOrderSkipsTheLabel();
    void keysPressButtons_data();
    void keysPressButtons();

    void largestOfThree_data();
    void largestOfThree();
    void eachPressReplacesTheLabel();
    void nothingRunsAfterTheProgramEnds();
    void failureAtLoadEndsTheProgram_data();
    void failureAtLoadEndsTheProgram();
};

void Form1Test::windowLooksAsDesigned() {
    Harness h;
    QCOMPARE(h.form->windowTitle(), QStringLiteral("求最大数 Tavrelo 2006.9."));
    QCOMPARE(h.form->size(), QSize(312, 213));
    QCOMPARE(h.form->minimumSize(), h.form->maximumSize());
    // The title bar offers the window menu, minimise and close: nothing to maximise.
    const Qt::WindowFlags flags = h.form->windowFlags();
    QVERIFY(flags.testFlags(Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // The label over two rows of two buttons of one size, in two columns, all in the window.
    const QRect label = h.form->Label1->geometry(), welcome = h.form->CmdWelcome->geometry();
    const QRect time = h.form->CmdTime->geometry(), max = h.form->CmdMax->geometry(),
                exit = h.form->CmdExit->geometry();
    QVERIFY(label.bottom() < welcome.top() && welcome.bottom() < max.top() &&
            welcome.right() < time.left());
    QCOMPARE(time.topLeft(), QPoint(exit.x(), welcome.y()));
    QCOMPARE(max.topLeft(), QPoint(welcome.x(), exit.y()));
    for (const QRect& control : {label, welcome, time, max, exit}) {
        QVERIFY(h.form->rect().contains(control));
        QVERIFY(control == label || control.size() == welcome.size());
    }

    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get(), kPatience));
    const QImage image = h.form->Label1->grab().toImage();
    QCOMPARE(image.pixelColor(1, image.height() - 2), QColor(0, 128, 0));
    bool yellow = false;
    for (int i = 0; i < image.width() * image.height() && !yellow; ++i) {
        yellow = image.pixelColor(i % image.width(), i / image.width()) == QColor(255, 255, 0);
    }
    QVERIFY2(yellow, "no pure yellow text pixel in the label");
    QCOMPARE(h.form->Label1->size(), QSize(185, 57));
    QCOMPARE(h.form->Label1->frameShape(), QFrame::NoFrame);
    const QFont font = h.form->Label1->font();
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Bold);
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    const QString resolved = QFontInfo(font).family();
    QVERIFY2(resolved.contains(QStringLiteral("Kai"), Qt::CaseInsensitive), qPrintable(resolved));

    QTRY_VERIFY_WITH_TIMEOUT(!h.form->windowIcon().isNull(), kPatience);
    const QList<QSize> sizes = h.form->windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
             qPrintable(QStringLiteral("%1 sizes").arg(sizes.size())));
}

void Form1Test::greetingIsInPlaceBeforeTheFirstFrame() {
    // Dates and times in the time locale, not in the numeric one.
    Harness h(false, {"zh_CN", "en_US", ""});
    QCOMPARE(h.caption(), Q(u"欢迎光临！今天是："));
    h.form->Load();
    const QString greeting = QStringLiteral("欢迎光临！今天是：\r2026年12月8日星期二");
    QCOMPARE(h.caption(), greeting);
    // The date is read once: a later day does not reach the label, nor does a second load.
    h.clock.date = {2026, 12, 9};
    h.form->Load();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get(), kPatience));
    QCOMPARE(h.caption(), greeting);
}

void Form1Test::labelBreaksLines() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get(), kPatience));
    // Short lines, so that only the carriage return can put the second one below the first.
    h.form->CmdWelcome->click();
    QCOMPARE(TextBands(h.form->Label1), 2);
    h.form->Label1->setCaption(QStringLiteral("A B"));
    QCOMPARE(TextBands(h.form->Label1), 1);
    // A line longer than the label wraps, and the longest summary's last line, with the result,
    // is inside the label, in the label's own font.
    h.form->Label1->setCaption(QStringLiteral("请输入 a,b,c 3个数，系统输出其中最大数。"));
    QCOMPARE(TextBands(h.form->Label1), 2);
    h.form->Label1->setCaption(QStringLiteral("输入：a=12345 b=9 c=-32768  计算结果：Max =12345"));
    QCOMPARE(TextBands(h.form->Label1), 3);
}

void Form1Test::tabOrderSkipsTheLabel() {
    Harness h;
    h.showAndActivate();
    QCOMPARE(QApplication::focusWidget(), h.form->CmdTime);
    for (QWidget* next : {h.form->CmdWelcome, h.form->CmdMax, h.form->CmdExit, h.form->CmdTime,
                          h.form->CmdWelcome}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), h.form->CmdTime);
}

void Form1Test::keysPressButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<int>("focused"); // 0 CmdTime, 1 CmdWelcome, 2 CmdMax, 3 CmdExit; -1 each
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("endStatus"); // -1: the program goes on
    const QString welcome = QStringLiteral("欢迎使用\rVisual Basic");
    const QString time = QStringLiteral("现在是北京时间：\r00:05:09");
    QTest::newRow("Alt+H") << int(Qt::Key_H) << true << -1 << welcome << -1;
    QTest::newRow("Alt+T") << int(Qt::Key_T) << true << -1 << time << -1;
    QTest::newRow("Alt+M") << int(Qt::Key_M) << true << -1
                           << QStringLiteral("输入：a=1 b=1 c=1  计算结果：Max =1") << -1;
    QTest::newRow("Alt+E") << int(Qt::Key_E) << true << -1
                           << QStringLiteral("欢迎光临！今天是：\r2026年12月8日星期二") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 1 << welcome << -1;
    QTest::newRow("Space") << int(Qt::Key_Space) << false << 0 << time << -1;
}

// Access keys press their button wherever the focus is; Enter and Space the focused one.
void Form1Test::keysPressButtons() {
    QFETCH(int, key);
    QFETCH(bool, alt);
    QFETCH(int, focused);
    QFETCH(QString, caption);
    QFETCH(int, endStatus);
    for (int start = std::max(focused, 0); start < (focused < 0 ? 4 : focused + 1); ++start) {
        Harness h;
        h.answers = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
        h.showAndActivate();
        const std::array<QPushButton*, 4> buttons = {h.form->CmdTime, h.form->CmdWelcome,
                                                     h.form->CmdMax, h.form->CmdExit};
        buttons.at(start)->setFocus();
        const QString before = h.caption();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key),
                        alt ? Qt::AltModifier : Qt::NoModifier);
        if (endStatus >= 0) {
            QTRY_COMPARE_WITH_TIMEOUT(h.ended, std::vector<int>{endStatus}, kPatience);
            QCOMPARE(h.caption(), caption);
        } else {
            // Waits for the click, not for the right text: a wrong one fails at once.
            QTRY_VERIFY_WITH_TIMEOUT(h.caption() != before, kPatience);
            QCOMPARE(h.caption(), caption);
            QVERIFY(h.ended.empty());
        }
    }
}

void Form1Test::largestOfThree_data() {
    QTest::addColumn<QByteArray>("timeLocale");
    QTest::addColumn<QByteArray>("numericLocale"); // with a codeset: the C library's one too
    QTest::addColumn<QString>("answers"); // "|" between them; an empty one is a cancelled dialog
    QTest::addColumn<QString>("summary"); // empty when the rule fails
    QTest::addColumn<int>("error");
    // Numbers are read in the numeric locale, not in the time locale.
    QTest::newRow("numbers de_DE, time en_US")
        << QByteArray("en_US") << QByteArray("de_DE") << QStringLiteral("3,7|1|2")
        << QStringLiteral("输入：a=3,7 b=1 c=2  计算结果：Max =4") << 0;
    QTest::newRow("cancelled first dialog")
        << QByteArray("zh_CN") << QByteArray("zh_CN") << QStringLiteral("|9|2") << QString() << 13;
    QTest::newRow("the C library's separators")
        << QByteArray("zh_CN") << QByteArray("fr_CH.UTF-8") << QStringLiteral("1’234.5|1|2")
        << QStringLiteral("输入：a=1’234.5 b=1 c=2  计算结果：Max =1234") << 0;
    QTest::newRow("five digits, entries as typed")
        << QByteArray("zh_CN") << QByteArray("zh_CN") << QStringLiteral(" 12345|9|-32768")
        << QStringLiteral("输入：a= 12345 b=9 c=-32768  计算结果：Max =12345") << 0;
    QTest::newRow("overflow of b before c is read")
        << QByteArray("zh_CN") << QByteArray("zh_CN") << QStringLiteral("5|40000|x") << QString()
        << 6;
}

void Form1Test::largestOfThree() {
    QFETCH(QByteArray, timeLocale);
    QFETCH(QByteArray, numericLocale);
    QFETCH(QString, answers);
    QFETCH(QString, summary);
    QFETCH(int, error);
    const QByteArray numeric = numericLocale.split('.').first();
    Harness h(true, {timeLocale.toStdString(), numeric.toStdString(),
                     numeric == numericLocale ? "" : numericLocale.toStdString()});
    h.answers = answers.split(u'|');
    h.form->CmdMax->click();
    // All three are asked, whatever the answers, with the instruction in the label meanwhile.
    QCOMPARE(h.prompts, QStringList({QStringLiteral("输入 a"), QStringLiteral("输入 b"),
                                     QStringLiteral("输入 c")}));
    for (const QString& shown : h.captionsWhileAsking) {
        QCOMPARE(shown, QStringLiteral("请输入 a,b,c 3个数，系统输出其中最大数。"));
    }
    QCOMPARE(h.reported, error == 0 ? std::vector<int>{} : std::vector<int>{error});
    QCOMPARE(h.ended, h.reported);
    QCOMPARE(h.caption(),
             error == 0 ? summary : QStringLiteral("请输入 a,b,c 3个数，系统输出其中最大数。"));
}

void Form1Test::eachPressReplacesTheLabel() {
    Harness h(true, {"zh_CN", "en_US", ""});
    h.form->CmdTime->click();
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:09"));
    h.clock.time = {0, 5, 12};
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:09")); // not a clock
    h.form->CmdTime->click();
    QCOMPARE(h.caption(), QStringLiteral("现在是北京时间：\r00:05:12"));
    // A second run asks afresh and replaces the first one's summary.
    h.answers = {QStringLiteral("5"),  QStringLiteral("9"),  QStringLiteral("2"),
                 QStringLiteral("-5"), QStringLiteral("-3"), QStringLiteral("-10")};
    h.form->CmdMax->click();
    h.form->CmdMax->click();
    QCOMPARE(h.prompts.size(), 6);
    QCOMPARE(h.caption(), QStringLiteral("输入：a=-5 b=-3 c=-10  计算结果：Max =-3"));
    h.form->CmdWelcome->click();
    QCOMPARE(h.caption(), QStringLiteral("欢迎使用\rVisual Basic"));
    // A screen reader finds the label as a notification, which it speaks as it shows anew.
    QAccessibleInterface* label = QAccessible::queryAccessibleInterface(h.form->Label1);
    QCOMPARE(label->role(), QAccessible::Notification);
    QCOMPARE(label->text(QAccessible::Name), QStringLiteral("欢迎使用\nVisual Basic"));
}

void Form1Test::nothingRunsAfterTheProgramEnds() {
    Harness h;
    h.answers = {QStringLiteral("x")};
    h.form->CmdMax->click();
    QCOMPARE(h.ended, std::vector<int>{13});
    const QString frozen = h.caption();
    for (QPushButton* button :
         {h.form->CmdWelcome, h.form->CmdTime, h.form->CmdMax, h.form->CmdExit}) {
        button->click();
    }
    QCOMPARE(h.caption(), frozen);
    QCOMPARE(h.prompts.size(), 3);
    QCOMPARE(h.ended.size(), std::size_t{1});
    QCOMPARE(h.reported.size(), std::size_t{1});
}

void Form1Test::failureAtLoadEndsTheProgram_data() {
    QTest::addColumn<int>("thrown"); // what today() throws: 0 bad_alloc, 1 range error, 2 13
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("report");
    QTest::newRow("out of memory") << 0 << 7 << QStringLiteral("运行时错误 '7':\n\n内存不足");
    QTest::newRow("any other exception")
        << 1 << 51 << QStringLiteral("运行时错误 '51':\n\n内部错误");
    QTest::newRow("run-time error") << 2 << 13 << QStringLiteral("运行时错误 '13':\n\n类型不匹配");
}

void Form1Test::failureAtLoadEndsTheProgram() {
    QFETCH(int, thrown);
    QFETCH(int, status);
    QFETCH(QString, report);
    struct FailingClock final : Clock {
        std::exception_ptr thrown;
        Date today() const override { std::rethrow_exception(thrown); }
        TimeOfDay now() const override { return {}; }
    } clock;
    clock.thrown = std::array{std::make_exception_ptr(std::bad_alloc()),
                              std::make_exception_ptr(std::out_of_range("no such day")),
                              std::make_exception_ptr(RunTimeError(ErrorNumber::TypeMismatch))}
                       .at(thrown);
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
    QCOMPARE(reports, QStringList{report});
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
