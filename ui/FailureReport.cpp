#include "ui/FailureReport.h"

#include "logic/RunTimeError.h"
#include "ui/LayoutTable.h"
#include "ui/QtText.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace qzds {

namespace {

// A message box in the middle of the screen, where a run-time error report has always appeared,
// rather than over the window, where it would hide the label the user was looking at.
class ScreenCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // gives the box its final size
        QScreen* screen =
            parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    }
};

} // namespace

void FailureReport(QWidget* parent, const RunTimeError& error) {
    ScreenCentredMessageBox box(QMessageBox::Critical, ToQString(ApplicationTitle),
                                ToQString(FailureReportText(error)), QMessageBox::NoButton, parent);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleDescription(box.text());
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

} // namespace qzds
