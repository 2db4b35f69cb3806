#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QBoxLayout;
class QPushButton;

namespace qzds {

class EntryField;

// The input dialog: the program's title, a prompt, an empty field with the focus, 确定 and 取消.
class InputPrompt : public QDialog {
    Q_OBJECT
public:
    // The most characters the field takes, typed or pasted; a longer paste is cut here.
    static constexpr int MaxEntryLength = 32767;

    explicit InputPrompt(const QString& prompt, QWidget* parent = nullptr);

    // The text as typed after 确定 or Enter; empty after 取消, Esc or closing the dialog.
    static QString ask(QWidget* parent, const QString& prompt);

    // Answers; while a command waits for it, without hiding (see the definition).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(QBoxLayout* column, const QString& caption, void (QDialog::*answer)());

    EntryField* m_field;
    QElapsedTimer m_shown; // since the dialog appeared
};

} // namespace qzds
