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
    QString title, text, button;
    bool centred = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenDialogOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box != nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        const QRect screen = box->screen()->geometry();
        centred = qAbs(box->x() + box->width() / 2 - screen.center().x()) <= 1 &&
                  qAbs(box->y() - (screen.height() - box->height()) / 2) <= 1;
        QCOMPARE(box->buttons().size(), 1);
        button = box->buttons().first()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QWidget window; // at the top left, where the report would hide it if it stood over it
    window.setGeometry(0, 0, 312, 213);
    window.show();
    FailureReport(&window, RunTimeError(ErrorNumber::TypeMismatch));
    QCOMPARE(title, QStringLiteral("求最大数"));
    QCOMPARE(text, QStringLiteral("运行时错误 '13':\n\n类型不匹配"));
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(centred); // in the middle of the screen, not over the window's label
    QCOMPARE(button, QStringLiteral("确定"));
}

QTEST_MAIN(FailureReportTest)
#include "FailureReportTest.moc"
