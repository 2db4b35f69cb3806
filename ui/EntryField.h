#pragma once

#include <QLineEdit>
#include <QString>

namespace qzds {

// The input dialog's one-line field. It takes text, not commands: a key pressed with Alt, Ctrl
// or Meta held inserts nothing (an impatient second Alt+M must not type "m"), while the field's
// own editing shortcuts keep working. And it holds one line: text pasted, dropped or composed
// into it loses the line breaks at its ends, and keeps only its first non-empty line.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryField(QWidget* parent = nullptr);

    // What inserting this text leaves of it: its first non-empty line, without line breaks.
    static QString OneLine(const QString& inserted);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void keepOneLine(const QString& text);

    QString m_lastText; // the text before the latest change
};

} // namespace qzds
