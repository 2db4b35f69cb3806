// The anchor for start-up and memory: a plain Qt window that shows the same pixels as the
// program (its caption, size, colours, fonts, button captions and geometry, and today's greeting
// in the label), written the plainest way, with no ICU, no locale work and no layout table.

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("求最大数 Tavrelo 2006.9."));
    window.setFixedSize(312, 213);

    // The greeting as the program writes it in Chinese, from the date's numbers alone.
    const QDate today = QDate::currentDate();
    static const char16_t* const weekdays[] = {u"一", u"二", u"三", u"四", u"五", u"六", u"日"};
    const QString greeting = QStringLiteral("欢迎光临！今天是：\n%1年%2月%3日星期%4")
                                 .arg(today.year())
                                 .arg(today.month())
                                 .arg(today.day())
                                 .arg(QString::fromUtf16(weekdays[today.dayOfWeek() - 1]));
    QLabel label(greeting, &window);
    label.setGeometry(64, 32, 185, 57);
    label.setWordWrap(true);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setAutoFillBackground(true);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 0));
    palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    label.setPalette(palette);
    QFont font;
    font.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),
                      QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB")});
    font.setPointSize(12);
    font.setBold(true);
    label.setFont(font);

    QPushButton exit(QStringLiteral("退出(&E)"), &window);
    exit.setGeometry(168, 160, 97, 33);
    QPushButton max(QStringLiteral("求最大数(&M)"), &window);
    max.setGeometry(56, 160, 97, 33);
    QPushButton welcome(QStringLiteral("欢迎(&H)"), &window);
    welcome.setGeometry(56, 104, 97, 33);
    QPushButton time(QStringLiteral("时间(&T)"), &window);
    time.setGeometry(168, 104, 97, 33);
    time.setFocus();

    window.show();
    return QApplication::exec();
}
