#include "ui/FailureReport.h"
#include "UiTest.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

using namespace qzds;
using namespace qzds::test;

class FailureReportTest : public QObject {
    Q_OBJECT

private slots:
    void namesTheErrorAndIsDismissedWithEnter();
};

void FailureReportTest::namesTheErrorAndIsDismissedWithEnter() {
    WhenDialogOpens([](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("求最大数"));
        QCOMPARE(box->text(), QStringLiteral("运行时错误 '6':\n\n溢出"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        // In the middle of the screen, not over the window's label.
        const QRect screen = box->screen()->geometry();
        QVERIFY(qAbs(box->x() + box->width() / 2 - screen.center().x()) <= 1 &&
                qAbs(box->y() - (screen.height() - box->height()) / 2) <= 1);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().first()->text(), QStringLiteral("确定"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    QWidget window; // at the top left, where the report would hide it if it stood over it
    window.setGeometry(0, 0, 312, 213);
    window.show();
    FailureReport(&window, RunTimeError(ErrorNumber::Overflow));
}

QTEST_MAIN(FailureReportTest)
#include "FailureReportTest.moc"
