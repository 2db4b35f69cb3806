// The baseline for start-up and memory: a bare Qt window of the program's size with one Latin
// label, and nothing else.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(312, 213);
    QLabel label(QStringLiteral("Hello"), &window);
    label.setGeometry(64, 32, 185, 57);
    window.show();
    return QApplication::exec();
}
