#include "ui/EntryField.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <utility>

namespace qzds {

namespace {

const QRegularExpression& LineBreak() {
    static const QRegularExpression lineBreak(QStringLiteral("[\n\r\v\f\u0085\u2028\u2029]"));
    return lineBreak;
}

bool HasLineBreak(const QString& text) {
    return text.contains(LineBreak());
}

} // namespace

// Refuses an edit that leaves a line break: Qt takes it back with its undo steps, and the field
// inserts its one line instead, which Ctrl+Z takes back whole (a rewrite would clear the history).
class EntryField::OneLineValidator : public QValidator {
public:
    explicit OneLineValidator(EntryField* field)
        : QValidator(field)
        , m_field(field) {}

    State validate(QString& input, int& /*position*/) const override {
        if (!HasLineBreak(input)) {
            return Acceptable;
        }
        m_field->m_refused = OneLine(m_field->insertedBy(input));
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
    connect(this, &QLineEdit::cursorPositionChanged, this, &EntryField::noteState);
    connect(this, &QLineEdit::selectionChanged, this, &EntryField::noteState);
}

QString EntryField::OneLine(const QString& inserted) {
    return inserted.split(LineBreak(), Qt::SkipEmptyParts).value(0);
}

// Qt validates an edit before it tells of it: m_before still holds the field as it was, and the
// edit replaced its selection, or inserted at its cursor.
QString EntryField::insertedBy(const QString& text) const {
    const qsizetype head = m_before.selectionLength > 0 ? m_before.selectionStart : m_before.cursor;
    const qsizetype tail = m_before.text.size() - head - m_before.selectionLength;
    const QStringView before(m_before.text);
    if (head + tail > text.size() || !text.startsWith(before.left(head)) ||
        !text.endsWith(before.right(tail))) {
        return text; // not an edit at the cursor: all of it is new
    }
    return text.mid(head, text.size() - head - tail);
}

void EntryField::noteState() {
    m_before = {text(), cursorPosition(), selectionStart(), selectionLength()};
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
    // A step of its own, as a paste is.
    closeUndoStep();
    insert(*line);
    closeUndoStep();
}

// Qt has no call for it, but a cursor move ends the undo step; cursor and selection are restored.
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

// setText() is not taken back when refused: its line breaks are dropped here.
void EntryField::keepOneLine(const QString& text) {
    if (HasLineBreak(text)) {
        m_refused.reset();
        const QSignalBlocker quiet(this);
        setText(OneLine(text));
    }
    noteState();
}

} // namespace qzds
