#include "ui/FailureReport.h"

#include "logic/RunTimeError.h"
#include "logic/Texts.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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
        PlaceOnScreen(this, VerticalPlace::Centred);
    }
};

} // namespace

void FailureReport(QWidget* parent, const RunTimeError& error) {
    // On the heap: the window it belongs to may delete it while it is open.
    const QPointer<ScreenCentredMessageBox> box = new ScreenCentredMessageBox(
        QMessageBox::Critical, ToQString(text::ApplicationTitle),
        ToQString(FailureReportText(error)), QMessageBox::NoButton, parent);
    box->setWindowFlags(FixedDialogFlags);
    box->setTextFormat(Qt::PlainText);
    box->setAccessibleDescription(box->text());
    QPushButton* ok = box->addButton(ToQString(text::Ok), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    ShowAndWait(box);
    delete box.data();
}

} // namespace qzds
