#pragma once

#include <QLineEdit>
#include <QString>
#include <optional>

namespace qzds {

// The input dialog's one-line field. It takes text, not commands: a key pressed with Alt, Ctrl
// or Meta held inserts nothing (an impatient second Alt+M must not type "m"), while the field's
// own editing shortcuts keep working. And it holds one line: text pasted, dropped or composed
// into it loses the line breaks at its ends, and keeps only its first non-empty line, as one
// step that Ctrl+Z takes back.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryField(QWidget* parent = nullptr);

    // What inserting this text leaves of it: its first non-empty line, without line breaks.
    static QString OneLine(const QString& inserted);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class OneLineValidator;

    // What a change to `text` inserted, given that the field held m_lastText before it.
    struct Insertion {
        qsizetype head; // characters kept before it
        qsizetype tail; // and after it
        QString text;
    };
    Insertion insertionInto(const QString& text) const;
    void insertRefused();
    void closeUndoStep();
    void keepOneLine(const QString& text);

    QString m_lastText;               // the text before the latest change
    std::optional<QString> m_refused; // the one line of an insertion the field refused
};

} // namespace qzds
