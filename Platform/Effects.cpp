#include "Platform/Effects.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QWindow>

namespace Effects {

namespace {
// Follows the mouse until the left button goes up.
class ManualMove : public QObject {
public:
    explicit ManualMove(QWidget* w) : window_(w), offset_(QCursor::pos() - w->frameGeometry().topLeft()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseMove) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (!(m->buttons() & Qt::LeftButton)) {
                deleteLater();
                return false;
            }
            if (window_) window_->move(m->globalPosition().toPoint() - offset_);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) deleteLater();
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPoint offset_;
};
} // namespace

void dragWindow(QWidget* window) {
    window = window->window();
    if (QWindow* h = window->windowHandle(); h && h->startSystemMove()) return;
    new ManualMove(window);
}

void fadeIn(QWidget* window, int ms) {
    window->setWindowOpacity(0.0);
    window->show();
    auto* anim = new QPropertyAnimation(window, "windowOpacity", window);
    anim->setDuration(ms);
    anim->setStartValue(0.0);
    anim->setEndValue(1.0);
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace Effects
