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
class CommandInput;
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

// The given clock, the user's locale, InputPrompt, FailureReport, and the application's exit.
Form1Services DefaultServices(const Clock& clock);

// The program's window: a label and four command buttons, built from Form1Layout.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);

    // The load event, raised once before the window first shows: the greeting with today's date.
    void Load();
    // The exit status, once 退出 or a failure report has ended the program.
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
    // failure ends here: the failure report, then the end with the error's number as status.
    void runHandler(void (Form1::*handler)());
    void fail(const RunTimeError& error);
    void endProgram(int status);
    void setLabelCaption(std::u16string_view caption);

    Form1Services m_services;
    CommandInput* m_input;
    std::optional<NumberSymbols> m_numberSymbols; // read when first needed, to start faster
    bool m_iconRequested = false;
    bool m_loaded = false;
    std::optional<int> m_endStatus;
};

} // namespace qzds
