#include "WheelTranslation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace jt::dbcontrols {
namespace {

class WheelTranslator final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WheelTranslator)

public:
    static constexpr int kNotch = 120; // eighths of a degree in one notch

    explicit WheelTranslator(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || !watched->isWidgetType())
            return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int turn = wheel->angleDelta().y();
        QWidget* target = QApplication::focusWidget();
        if (turn == 0 || !target)
            return false;
        // Fine-grained wheels report parts of a notch; a key goes out per whole notch.
        m_pending += turn;
        while (m_pending >= kNotch || m_pending <= -kNotch) {
            const bool forward = m_pending > 0;
            m_pending += forward ? -kNotch : kNotch;
            press(forward ? Qt::Key_Up : Qt::Key_Down);
        }
        return true;
    }

private:
    static void press(Qt::Key key) {
        // Sent afresh each time: the key may have moved the focus.
        if (QWidget* target = QApplication::focusWidget()) {
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &down);
        }
        if (QWidget* target = QApplication::focusWidget()) {
            QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &up);
        }
    }

    int m_pending = 0;
};

} // namespace

void installWheelTranslation(QApplication& app) {
    if (app.findChild<WheelTranslator*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app.installEventFilter(new WheelTranslator(&app));
}

} // namespace jt::dbcontrols

#include "WheelTranslation.moc"
