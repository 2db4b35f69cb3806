#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QPushButton;

namespace qzds {

class EntryField;

// The modal one-line input dialog: the program's title, a prompt, an empty field with the focus,
// and 确定 / 取消. Centred horizontally on the screen, its top a third of the way down.
class InputPrompt : public QDialog {
    Q_OBJECT
public:
    // The most characters the field takes, typed or pasted; a longer paste is cut here.
    static constexpr int MaxEntryLength = 32767;

    explicit InputPrompt(const QString& prompt, QWidget* parent = nullptr);

    // Asks and waits. Returns the text as typed after 确定 or Enter; an empty text after 取消,
    // Esc or closing the dialog.
    static QString ask(QWidget* parent, const QString& prompt);

    // Answers without hiding: a dialog of the program's window stays on the screen while the focus
    // passes to the next one (see HandOverFocus). Without a window, it closes as any dialog does.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(const QString& caption);

    EntryField* m_field;
    QElapsedTimer m_shown; // since the dialog appeared
};

} // namespace qzds
