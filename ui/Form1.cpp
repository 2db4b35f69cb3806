#include "ui/Form1.h"

#include "logic/LabelTexts.h"
#include "logic/LargestRule.h"
#include "logic/RunTimeError.h"
#include "logic/Texts.h"
#include "ui/AppIdentity.h"
#include "ui/CaptionLabel.h"
#include "ui/CommandInput.h"
#include "ui/FailureReport.h"
#include "ui/InputPrompt.h"
#include "ui/LayoutTable.h"
#include "ui/QtText.h"

#include <QCoreApplication>
#include <QIcon>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <new>
#include <utility>

namespace qzds {

namespace {

QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QFont Label1Font() {
    QFont font;
    QStringList families{ToQString(Label1Style.fontName)};
    for (const std::u16string_view substitute : Label1Style.fontSubstitutes) {
        families << ToQString(substitute);
    }
    font.setFamilies(families);
    font.setPointSize(Label1Style.pointSize);
    font.setWeight(static_cast<QFont::Weight>(Label1Style.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QRect PixelRect(const ControlLayout& control) {
    return {TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
            TwipsToPixels(control.height)};
}

} // namespace

Form1Services DefaultServices(const Clock& clock) {
    return {&clock, ResolveUserLocale(ProcessEnvironment()), &InputPrompt::ask, &FailureReport,
            // Before the main loop runs (a failure at load), main() returns the status itself.
            &QCoreApplication::exit};
}

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_input(new CommandInput(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ToQString(Form1Layout.caption));
    // A fixed client area, so no maximise box; placed where the window system places windows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(Form1Layout.clientWidth), TwipsToPixels(Form1Layout.clientHeight));

    // In the layout table's order, which is the order of the window's children.
    CmdExit = addButton(Form1Layout.CmdExit, &Form1::CmdExit_Click);
    CmdMax = addButton(Form1Layout.CmdMax, &Form1::CmdMax_Click);
    CmdWelcome = addButton(Form1Layout.CmdWelcome, &Form1::CmdWelcome_Click);
    CmdTime = addButton(Form1Layout.CmdTime, &Form1::CmdTime_Click);
    Label1 = addLabel(Form1Layout.Label1);
    chainTabOrder();
    m_input->holdFrom(CmdMax);
}

QPushButton* Form1::addButton(const ControlLayout& layout, void (Form1::*handler)()) {
    auto* button = new QPushButton(ToQString(layout.caption), this);
    button->setObjectName(QString::fromLatin1(layout.name));
    button->setGeometry(PixelRect(layout));
    button->setAutoDefault(true); // Enter clicks the focused button, as Space does
    connect(button, &QPushButton::clicked, this, [this, handler] { runHandler(handler); });
    return button;
}

// The label takes no focus: its tab index only holds its place in the order.
CaptionLabel* Form1::addLabel(const ControlLayout& layout) {
    auto* label = new CaptionLabel(this);
    label->setObjectName(QString::fromLatin1(layout.name));
    label->setGeometry(PixelRect(layout));
    label->setCaption(ToQString(layout.caption));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, FromBgr(Label1Style.backColor));
    palette.setColor(QPalette::WindowText, FromBgr(Label1Style.foreColor));
    label->setPalette(palette);
    label->setFont(Label1Font());
    return label;
}

// The buttons in the order of their tab indexes; the first has the focus at the start.
void Form1::chainTabOrder() {
    std::array<std::pair<int, QWidget*>, 4> order = {{{Form1Layout.CmdExit.tabIndex, CmdExit},
                                                      {Form1Layout.CmdMax.tabIndex, CmdMax},
                                                      {Form1Layout.CmdWelcome.tabIndex, CmdWelcome},
                                                      {Form1Layout.CmdTime.tabIndex, CmdTime}}};
    std::ranges::sort(order, {}, [](const auto& entry) { return entry.first; });
    order.front().second->setFocus();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1).second, order.at(i).second);
    }
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!m_iconRequested) {
        // The icon costs more than the rest of the window: it waits for the first frame (a timer
        // started at the first show would run before the first expose and delay it).
        m_iconRequested = true;
        QTimer::singleShot(0, this, [this] {
            // A themed icon wins; the built-in one otherwise.
            setWindowIcon(QIcon::fromTheme(QString::fromLatin1(AppId),
                                           QIcon(QStringLiteral(":/icons/qiuzuidashu.ico"))));
        });
    }
}

void Form1::Load() {
    if (!m_loaded) {
        m_loaded = true;
        runHandler(&Form1::Form_Load);
    }
}

void Form1::runHandler(void (Form1::*handler)()) {
    // One handler at a time, none once the program is ending: a screen reader's press or a
    // click() from code, which the command's input cannot stop, is dropped here.
    if (m_input->running() || m_endStatus) {
        return;
    }
    m_input->begin();
    try {
        (this->*handler)();
    } catch (const RunTimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(RunTimeError(ErrorNumber::OutOfMemory));
    } catch (...) {
        fail(RunTimeError(ErrorNumber::InternalError));
    }
    m_input->end();
}

void Form1::fail(const RunTimeError& error) {
    try {
        m_services.reportFailure(this, error);
    } catch (...) { // NOLINT(bugprone-empty-catch)
        // Without memory for the report the program still ends with the error's number.
    }
    endProgram(static_cast<int>(error.number()));
}

void Form1::endProgram(int status) {
    m_endStatus = status;
    m_services.end(status);
}

void Form1::setLabelCaption(std::u16string_view caption) {
    Label1->setCaption(ToQString(caption));
}

void Form1::Form_Load() {
    setLabelCaption(GreetingText(m_services.clock->today(), m_services.locale.time));
}

void Form1::CmdWelcome_Click() {
    setLabelCaption(WelcomeText());
}

void Form1::CmdTime_Click() {
    setLabelCaption(TimeText(m_services.clock->now(), m_services.locale.time));
}

void Form1::CmdMax_Click() {
    setLabelCaption(text::ThreeNumbersInstruction);
    // All three are asked, whatever came before; nothing is read until the last answer.
    std::array<std::u16string, 3> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries.at(i) =
            m_services.prompt(this, ToQString(text::EntryPrompts.at(i))).toStdU16String();
    }
    const auto& [a, b, c] = entries;
    if (!m_numberSymbols) {
        m_numberSymbols =
            NumberSymbolsFor(m_services.locale.numeric, m_services.locale.numericPosix);
    }
    const std::int16_t result = LargestOfThree(a, b, c, *m_numberSymbols);
    setLabelCaption(ThreeNumbersSummary(a, b, c, result));
}

void Form1::CmdExit_Click() {
    endProgram(0);
}

} // namespace qzds
