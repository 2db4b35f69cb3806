#pragma once

#include "platform/Clock.h"
#include "platform/NumberSymbols.h"
#include "platform/UserLocale.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string_view>

class QPushButton;

namespace qzds {

class CaptionLabel;
struct ControlLayout;
class CommandModality;
class RunTimeError;

// What the window needs from outside: tests replace any of it.
struct Form1Services {
    const Clock* clock = nullptr;
    UserLocale locale;
    // Shows a modal input dialog with this prompt; returns the text, empty after a cancel.
    std::function<QString(QWidget* parent, const QString& prompt)> prompt;
    // Shows the failure report and returns when the user has dismissed it.
    std::function<void(QWidget* parent, const RunTimeError& error)> reportFailure;
    // Ends the program with this exit status.
    std::function<void(int status)> end;
};

// The real thing: the given clock, the user's locale, InputPrompt, FailureReport, and the end of
// the application's event loop.
Form1Services DefaultServices(const Clock& clock);

// The program's window: a label and four command buttons, built from Form1Layout.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The load event: puts the greeting with today's date into the label. Raised once, before
    // the window is first shown.
    void Load();
    // The exit status, once the end of the program has been asked for (by 退出 or after a
    // failure report).
    std::optional<int> endStatus() const { return m_endStatus; }

    CaptionLabel* Label1 = nullptr;
    QPushButton* CmdExit = nullptr;
    QPushButton* CmdMax = nullptr;
    QPushButton* CmdWelcome = nullptr;
    QPushButton* CmdTime = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* addButton(const ControlLayout& layout, void (Form1::*handler)());
    CaptionLabel* addLabel(const ControlLayout& layout);
    void chainTabOrder();

    void Form_Load();
    void CmdWelcome_Click();
    void CmdTime_Click();
    void CmdMax_Click();
    void CmdExit_Click();

    // Runs one event handler, unless another runs or the program is ending. Every handler's
    // failure ends here: the failure report, then the end of the program.
    void runHandler(void (Form1::*handler)());
    // The failure report, then the end of the program with the error's number as its status.
    void fail(const RunTimeError& error);
    void endProgram(int status);
    void setLabelCaption(std::u16string_view caption);

    Form1Services m_services;
    CommandModality* m_modality;
    std::optional<NumberSymbols> m_numberSymbols; // read when first needed, to start faster
    bool m_iconRequested = false;
    bool m_loaded = false;
    bool m_running = false; // a handler runs, maybe inside one of its dialogs
    std::optional<int> m_endStatus;
};

} // namespace qzds
