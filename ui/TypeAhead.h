#pragma once

#include <QObject>
#include <deque>
#include <memory>

class QKeyEvent;
class QWidget;

namespace qzds {

// Keys typed for a dialog that is not there yet. From the moment a command that asks questions
// is pressed until it has finished, keys meant for the main window are held, and fed in the
// order typed to the field of each input dialog as it opens (a Return answers one dialog, the
// keys after it wait for the next). Nothing reaches the main window's buttons meanwhile.
class TypeAhead : public QObject {
    Q_OBJECT
public:
    explicit TypeAhead(QWidget* window);
    ~TypeAhead() override;

    void hold();
    // Stops holding; keys that no dialog took go to the main window after all.
    void release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void feed(QWidget* dialog);

    QWidget* m_window;
    bool m_holding = false;
    std::deque<std::unique_ptr<QKeyEvent>> m_keys;
};

} // namespace qzds
