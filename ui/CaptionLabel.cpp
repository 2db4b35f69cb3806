#include "ui/CaptionLabel.h"

#include "logic/Texts.h"

#include <QAccessible>
#include <QEvent>
#include <QTimer>

namespace qzds {

CaptionLabel::CaptionLabel(QWidget* parent)
    : QLabel(parent) {
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
    // The greeting, set before the window first shows, is told once the window is first active
    // (Qt's bridge to a screen reader is not up yet as it first shows), after the focus that
    // comes with the activation, as the later texts are.
    if (event->type() == QEvent::WindowActivate && !m_announcedFirst) {
        m_announcedFirst = true;
        QTimer::singleShot(0, this, &CaptionLabel::announce);
    }
    return QLabel::event(event);
}

// The new text is the answer to what the user just did, but the focus stays on a button: a
// screen reader speaks the label only when told, where Qt can tell it (6.8).
void CaptionLabel::announce() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(this, text());
    QAccessible::updateAccessibility(&announcement);
#endif
}

} // namespace qzds
