#include "ui/FailureReport.h"

#include "logic/RunTimeError.h"
#include "logic/Texts.h"
#include "ui/CommandInput.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <QMessageBox>
#include <QPushButton>

namespace qzds {

namespace {

// In the middle of the screen, not over the window's label, as run-time errors always were.
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
    auto* box = new ScreenCentredMessageBox(
        QMessageBox::Critical, ToQString(text::ApplicationTitle),
        ToQString(FailureReportText(error)), QMessageBox::NoButton, parent);
    box->setWindowFlags(FixedDialogFlags);
    box->setTextFormat(Qt::PlainText);
    box->setAccessibleDescription(box->text());
    QPushButton* ok = box->addButton(ToQString(text::Ok), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    ShowAndWait(box);
}

} // namespace qzds
