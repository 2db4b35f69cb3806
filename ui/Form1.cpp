#include "ui/Form1.h"

#include "logic/LabelTexts.h"
#include "logic/LargestRule.h"
#include "logic/RunTimeError.h"
#include "ui/AppIdentity.h"
#include "ui/CaptionLabel.h"
#include "ui/FailureReport.h"
#include "ui/InputPrompt.h"
#include "ui/LayoutTable.h"
#include "ui/QtText.h"

#include <QCoreApplication>
#include <QIcon>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <new>
#include <vector>

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
            [](int status) {
                QCoreApplication::exit(status);
            }};
}

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ToQString(Form1Layout.caption));
    // A fixed client area, so no maximise box; the window system places the window where it
    // places new windows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(Form1Layout.clientWidth), TwipsToPixels(Form1Layout.clientHeight));
    buildFromLayout();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::buildFromLayout() {
    std::vector<const ControlLayout*> byTabIndex;
    for (const ControlLayout& control : Form1Layout.controls) {
        QWidget* widget = nullptr;
        if (control.kind == ControlKind::Label) {
            auto* label = new CaptionLabel(this);
            label->setCaption(ToQString(control.caption));
            label->setAutoFillBackground(true);
            QPalette palette = label->palette();
            palette.setColor(QPalette::Window, FromBgr(Label1Style.backColor));
            palette.setColor(QPalette::WindowText, FromBgr(Label1Style.foreColor));
            label->setPalette(palette);
            label->setFont(Label1Font());
            widget = label;
        } else {
            auto* button = new QPushButton(ToQString(control.caption), this);
            // Enter clicks the focused button, as Space does.
            button->setAutoDefault(true);
            widget = button;
        }
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setGeometry(PixelRect(control));
        byTabIndex.push_back(&control);
    }

    Label1 = findChild<CaptionLabel*>(QStringLiteral("Label1"));
    CmdExit = findChild<QPushButton*>(QStringLiteral("CmdExit"));
    CmdMax = findChild<QPushButton*>(QStringLiteral("CmdMax"));
    CmdWelcome = findChild<QPushButton*>(QStringLiteral("CmdWelcome"));
    CmdTime = findChild<QPushButton*>(QStringLiteral("CmdTime"));

    // The tab order follows the tab indexes; the label holds its place but takes no focus.
    std::sort(
        byTabIndex.begin(), byTabIndex.end(),
        [](const ControlLayout* x, const ControlLayout* y) { return x->tabIndex < y->tabIndex; });
    QWidget* previous = nullptr;
    for (const ControlLayout* control : byTabIndex) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(control->name));
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous == nullptr) {
            widget->setFocus(); // the first in the tab order has the focus at the start
        } else {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void Form1::connectHandlers() {
    const auto on = [this](QPushButton* button, void (Form1::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { runHandler(handler); });
    };
    on(CmdWelcome, &Form1::CmdWelcome_Click);
    on(CmdTime, &Form1::CmdTime_Click);
    on(CmdMax, &Form1::CmdMax_Click);
    on(CmdExit, &Form1::CmdExit_Click);
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!m_iconRequested) {
        // Loading the icon theme and decoding the icon take longer than the rest of the window
        // together, so they wait until the first frame is on the screen.
        m_iconRequested = true;
        QTimer::singleShot(0, this, [this] {
            // The desktop's icon theme first, so that a themed icon wins; the built-in one
            // otherwise.
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
    if (m_ended) {
        return; // nothing runs once the program is ending
    }
    try {
        (this->*handler)();
    } catch (const RunTimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(RunTimeError(ErrorNumber::OutOfMemory));
    }
}

void Form1::fail(const RunTimeError& error) {
    m_services.reportFailure(this, error);
    endProgram(static_cast<int>(error.number()));
}

void Form1::endProgram(int status) {
    m_ended = true;
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
    setLabelCaption(ThreeNumbersInstruction);
    // All three are asked, whatever came before; nothing is read until the last answer.
    std::array<std::u16string, 3> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = m_services.prompt(this, ToQString(EntryPrompts[i])).toStdU16String();
    }
    const auto& [a, b, c] = entries;
    if (!m_numberSymbols) {
        m_numberSymbols = NumberSymbolsFor(m_services.locale.numeric);
    }
    const std::int16_t result = LargestOfThree(a, b, c, *m_numberSymbols);
    setLabelCaption(ThreeNumbersSummary(a, b, c, result));
}

void Form1::CmdExit_Click() {
    endProgram(0);
}

} // namespace qzds
