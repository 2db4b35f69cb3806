#include "ui/CaptionLabel.h"

#include "logic/Texts.h"

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
}

} // namespace qzds
