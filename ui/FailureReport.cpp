#include "ui/FailureReport.h"

#include "logic/RunTimeError.h"
#include "ui/LayoutTable.h"
#include "ui/QtText.h"

#include <QMessageBox>
#include <QPushButton>

namespace qzds {

void FailureReport(QWidget* parent, const RunTimeError& error) {
    QMessageBox box(QMessageBox::Critical, ToQString(ApplicationTitle),
                    ToQString(FailureReportText(error)), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

} // namespace qzds
