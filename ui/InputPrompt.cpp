#include "ui/InputPrompt.h"

#include "ui/DialogPlacement.h"

#include "logic/Texts.h"
#include "ui/QtText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qzds {

InputPrompt::InputPrompt(const QString& prompt, QWidget* parent)
    : QDialog(parent, FixedDialogFlags)
    , m_field(new QLineEdit(this)) {
    setWindowTitle(ToQString(text::ApplicationTitle));
    setWindowModality(Qt::ApplicationModal);
    setAccessibleDescription(prompt); // what a screen reader announces with the title

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptLabel->setMinimumWidth(240);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQString(text::Ok));
    buttons->button(QDialogButtonBox::Cancel)->setText(ToQString(text::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_field->setMaxLength(MaxEntryLength);
    promptLabel->setBuddy(m_field);

    // Prompt at the top left, the buttons on the right, the field along the bottom.
    auto* layout = new QGridLayout(this);
    layout->addWidget(promptLabel, 0, 0);
    layout->addWidget(buttons, 0, 1);
    layout->addWidget(m_field, 1, 0, 1, 2);
    layout->setRowStretch(0, 1);

    m_field->setFocus();
}

QString InputPrompt::ask(QWidget* parent, const QString& prompt) {
    InputPrompt dialog(prompt, parent);
    dialog.placeOnScreen();
    return dialog.exec() == QDialog::Accepted ? dialog.m_field->text() : QString();
}

void InputPrompt::placeOnScreen() {
    adjustSize();
    setFixedSize(size()); // nothing to gain from resizing a one-line question
    PlaceOnScreen(this, VerticalPlace::ThirdDown);
}

} // namespace qzds
