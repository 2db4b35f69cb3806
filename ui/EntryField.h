#pragma once

#include <QLineEdit>
#include <QString>
#include <optional>

namespace qzds {

// The input dialog's field. A key with Alt, Ctrl or Meta inserts nothing (an impatient second
// Alt+M must not type "m"), while the editing shortcuts work. Text pasted, dropped or composed
// into it keeps only its first non-empty line, as one step that Ctrl+Z takes back.
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

    // The field between two edits: an edit replaces the selection, or inserts at the cursor.
    struct State {
        QString text;
        qsizetype cursor = 0;
        qsizetype selectionStart = 0;
        qsizetype selectionLength = 0;
    };
    QString insertedBy(const QString& text) const;
    void noteState();
    void insertRefused();
    void closeUndoStep();
    void keepOneLine(const QString& text);

    State m_before;                   // as the latest edit left the field
    std::optional<QString> m_refused; // the one line of an insertion the field refused
};

} // namespace qzds
