#pragma once

#include <QLabel>
#include <QString>

namespace qzds {

// A label that holds its caption exactly as the program set it, and shows it as plain text with
// a new line at each carriage return (which QLabel would show as a space).
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    bool event(QEvent* event) override;

private:
    void announce();

    QString m_caption;
    bool m_announcedFirst = false; // the caption it had when its window was first active
};

} // namespace qzds
