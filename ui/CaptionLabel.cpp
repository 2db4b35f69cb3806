#include "ui/CaptionLabel.h"

#include "logic/Texts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QTimer>

namespace qzds {

namespace {

// A notification to a screen reader, spoken as it shows: Orca speaks a label's new text only when
// it has the focus, which it never has.
class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(QWidget* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<const QLabel*>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* CaptionAccessibleFor(const QString& className, QObject* object) {
    return className == QLatin1StringView(CaptionLabel::staticMetaObject.className())
               ? new CaptionAccessible(static_cast<QWidget*>(object))
               : nullptr;
}

} // namespace

CaptionLabel::CaptionLabel(QWidget* parent)
    : QLabel(parent) {
    static const bool accessible = (QAccessible::installFactory(&CaptionAccessibleFor), true);
    Q_UNUSED(accessible);
    // Never markup, never an access key: a typed "<b>" or "&" shows as typed.
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CaptionLabel::setCaption(const QString& caption) {
    m_caption = caption;
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QChar(text::LineBreak), QChar(u'\n'));
    setText(shown);
    if (isVisible()) {
        announce();
    }
}

bool CaptionLabel::event(QEvent* event) {
    // The greeting is told once the window is first active (Qt's bridge to a screen reader is
    // not up yet as it first shows), after the focus that comes with the activation.
    if (event->type() == QEvent::WindowActivate && !m_announcedFirst) {
        m_announcedFirst = true;
        QTimer::singleShot(0, this, &CaptionLabel::announce);
    }
    return QLabel::event(event);
}

// The new text answers what the user just did while the focus stays on a button: it shows anew.
void CaptionLabel::announce() {
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace qzds
