#include "ui/EntryField.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace qzds {

namespace {

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
           c == QChar(0x2028) || c == QChar(0x2029);
}

} // namespace

EntryField::EntryField(QWidget* parent)
    : QLineEdit(parent) {
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

// Every way text gets in (paste, drop, input method, setText) ends in textChanged; the field
// held one line before, so any line break came with the text just inserted: the stretch
// between what the old and new texts share at their start and at their end.
void EntryField::keepOneLine(const QString& text) {
    if (std::none_of(text.begin(), text.end(), IsLineBreak)) {
        m_lastText = text;
        return;
    }
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
    const QString inserted = OneLine(text.mid(head, text.size() - head - tail));
    const QString cleaned = text.left(head) + inserted + text.right(tail);
    m_lastText = cleaned;
    const QSignalBlocker quiet(this);
    setText(cleaned);
    setCursorPosition(static_cast<int>(head + inserted.size()));
}

} // namespace qzds
