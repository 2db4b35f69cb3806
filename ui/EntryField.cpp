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
    return std::ranges::any_of(text, IsLineBreak);
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

// Qt validates an edit before it tells of it, so m_before still holds the field as it was: the
// edit replaced its selection, or inserted at its cursor, with the stretch of `text` between
// what was kept before and after.
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

// setText() is not taken back when refused: it replaced the whole text, whose line breaks are
// dropped here instead.
void EntryField::keepOneLine(const QString& text) {
    if (HasLineBreak(text)) {
        m_refused.reset();
        const QSignalBlocker quiet(this);
        setText(OneLine(text));
    }
    noteState();
}

} // namespace qzds
