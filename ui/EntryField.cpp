#include "ui/EntryField.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <utility>

namespace qzds {

namespace {

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
           c == QChar(0x2028) || c == QChar(0x2029);
}

bool HasLineBreak(const QString& text) {
    return std::any_of(text.begin(), text.end(), IsLineBreak);
}

} // namespace

// Refuses every edit that would leave a line break in the field. Qt then takes the edit back
// together with its undo steps, and the field inserts the edit's one line in its place, as an
// ordinary insertion: Ctrl+Z takes the paste back as a whole, where rewriting the text after the
// fact would clear the undo history.
class EntryField::OneLineValidator : public QValidator {
public:
    explicit OneLineValidator(EntryField* field)
        : QValidator(field)
        , m_field(field) {}

    State validate(QString& input, int& /*position*/) const override {
        if (!HasLineBreak(input)) {
            return Acceptable;
        }
        m_field->m_refused = OneLine(m_field->insertionInto(input).text);
        // A paste from the context menu arrives from outside the field's own events.
        QTimer::singleShot(0, m_field, &EntryField::insertRefused);
        return Invalid;
    }

private:
    EntryField* m_field;
};

EntryField::EntryField(QWidget* parent)
    : QLineEdit(parent) {
    setValidator(new OneLineValidator(this));
    connect(this, &QLineEdit::textChanged, this, &EntryField::keepOneLine);
}

QString EntryField::OneLine(const QString& inserted) {
    qsizetype start = 0;
    while (start < inserted.size()) {
        const auto end =
            std::find_if(inserted.begin() + start, inserted.end(), IsLineBreak) - inserted.begin();
        if (end > start) {
            return inserted.mid(start, end - start);
        }
        start = end + 1;
    }
    return {};
}

// The field held one line before, so any line break came with the text just inserted: the
// stretch between what the old and new texts share at their start (head) and at their end (tail).
EntryField::Insertion EntryField::insertionInto(const QString& text) const {
    qsizetype head = 0;
    const qsizetype shorter = std::min(text.size(), m_lastText.size());
    while (head < shorter && text[head] == m_lastText[head]) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head &&
           text[text.size() - 1 - tail] == m_lastText[m_lastText.size() - 1 - tail]) {
        ++tail;
    }
    return {head, tail, text.mid(head, text.size() - head - tail)};
}

bool EntryField::event(QEvent* event) {
    const bool handled = QLineEdit::event(event);
    insertRefused(); // right after the key, input method commit or drop that brought it
    return handled;
}

void EntryField::insertRefused() {
    const std::optional<QString> line = std::exchange(m_refused, std::nullopt);
    if (!line) {
        return;
    }
    // Moving the cursor closes an undo step, as a paste does before and after its text: the
    // line is then one step of its own.
    closeUndoStep();
    insert(*line);
    closeUndoStep();
}

// Qt offers no call for it, but a move of the cursor ends the current undo step; the cursor and
// the selection are put back as they were.
void EntryField::closeUndoStep() {
    if (text().isEmpty()) {
        return;
    }
    const int at = cursorPosition();
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    setCursorPosition(at > 0 ? at - 1 : at + 1);
    if (start < 0) {
        setCursorPosition(at);
    } else {
        setSelection(at == start ? start + length : start, at == start ? -length : length);
    }
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) == 0 ||
        event->text().isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The same key without its text: shortcuts (Ctrl+V, Ctrl+A, ...) still match, nothing types.
    QKeyEvent command(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                      event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                      event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&command);
    event->setAccepted(command.isAccepted());
}

// setText() is not taken back when refused: its line breaks are dropped here instead.
void EntryField::keepOneLine(const QString& text) {
    if (!HasLineBreak(text)) {
        m_lastText = text;
        return;
    }
    m_refused.reset();
    const Insertion insertion = insertionInto(text);
    const QString line = OneLine(insertion.text);
    const QString cleaned = text.left(insertion.head) + line + text.right(insertion.tail);
    m_lastText = cleaned;
    const QSignalBlocker quiet(this);
    setText(cleaned);
    setCursorPosition(static_cast<int>(insertion.head + line.size()));
}

} // namespace qzds
