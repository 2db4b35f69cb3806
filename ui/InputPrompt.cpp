#include "ui/InputPrompt.h"

#include "logic/Texts.h"
#include "ui/CommandInput.h"
#include "ui/Dialogs.h"
#include "ui/EntryField.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputMethod>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qzds {

InputPrompt::InputPrompt(const QString& prompt, QWidget* parent)
    : QDialog(parent, FixedDialogFlags)
    , m_field(new EntryField(this)) {
    setWindowTitle(ToQString(text::ApplicationTitle));
    setAccessibleDescription(prompt); // what a screen reader announces with the title

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptLabel->setMinimumWidth(240);

    // Plain buttons: a standard button box would load its icons anew for every dialog.
    auto* buttons = new QVBoxLayout;
    addButton(buttons, ToQString(text::Ok), &QDialog::accept)->setDefault(true);
    addButton(buttons, ToQString(text::Cancel), &QDialog::reject);
    buttons->addStretch();

    m_field->setMaxLength(MaxEntryLength);
    promptLabel->setBuddy(m_field);

    // Prompt at the top left, the buttons on the right, the field along the bottom.
    auto* layout = new QGridLayout(this);
    layout->addWidget(promptLabel, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(m_field, 1, 0, 1, 2);
    layout->setRowStretch(0, 1);

    m_field->setFocus();
}

QPushButton* InputPrompt::addButton(QBoxLayout* column, const QString& caption,
                                    void (QDialog::*answer)()) {
    auto* button = new QPushButton(caption, this);
    // A click never takes the focus from the field (Tab still reaches the buttons).
    button->setFocusPolicy(Qt::TabFocus);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, answer);
    column->addWidget(button);
    return button;
}

QString InputPrompt::ask(QWidget* parent, const QString& prompt) {
    const QPointer<InputPrompt> dialog = new InputPrompt(prompt, parent);
    dialog->adjustSize();
    dialog->setFixedSize(dialog->size()); // nothing to gain from resizing a one-line question
    const bool accepted = ShowAndWait(dialog) == QDialog::Accepted;
    if (dialog.isNull()) {
        return {}; // its window went away while it asked
    }
    QString entry = accepted ? dialog->m_field->text() : QString();
    // What was typed into it does not stay there for a screen reader to find.
    dialog->m_field->setText(QString());
    return entry;
}

// QDialog's done(), but while a command waits for it the answer does not hide the dialog: it stays
// until the focus has passed to the next one, so that no key typed ahead falls between windows.
void InputPrompt::done(int result) {
    // What the input method composes belongs to this entry, as when the field loses the focus.
    if (m_field->hasFocus()) {
        QGuiApplication::inputMethod()->commit();
    }
    if (const CommandInput* input = CommandInput::of(parentWidget());
        input == nullptr || input->asking() != this) {
        QDialog::done(result);
        return;
    }
    setResult(result);
    emit finished(result);
}

void InputPrompt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, VerticalPlace::ThirdDown);
    m_shown.start();
}

// The next dialog opens where the last one stood: a double-click on 确定 must not answer it too.
bool InputPrompt::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        (!m_shown.isValid() || m_shown.elapsed() < QApplication::doubleClickInterval())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qzds
