#include "Platform/Form.h"

#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Controls.h"
#include "Platform/Errors.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Resources.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {
QList<Form*> loaded;
QPointer<Form> active;
std::function<void(Form*)> modalHandler;

bool isPlainEnter(const QKeyEvent* e) {
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & ~Qt::KeypadModifier) == 0;
}
} // namespace

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window) {
    Resources::init();
    installAccessibility();
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    loaded << this;
}

Form::~Form() {
    loaded.removeAll(this);
    if (clearSlot_) clearSlot_();
}

template <class F> void Form::guarded(const char* what, F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        ShowProblem(formName() + QLatin1String(what), e.number, e.description);
    }
}

void Form::runLoad() {
    loading_ = true;
    guarded("_Load", [this] { Form_Load(); });
    loading_ = false;
    loaded_ = true;
    if (unloading_) return;
    if (pendingActivate_ || (isVisible() && isActiveWindow())) {
        pendingActivate_ = false;
        // A modal window shown by the load may have taken the window
        // system's activation meanwhile: it comes back here.
        if (isVisible() && !isActiveWindow()) activateWindow();
        activateNow();
    }
}

void Form::Show(int modal) {
    if (unloading_) return;
    if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
    if (modal == vbModal) {
        const QPointer<Form> before(active);
        setWindowModality(Qt::ApplicationModal);
        show();
        bringForward();
        if (modalHandler) {
            modalHandler(this);
            return;
        }
        QPointer<Form> self(this);
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec();
        if (self) self->setWindowModality(Qt::NonModal);
        // Closing a modal window gives the activation back to the window
        // that had it, also where no window manager does so.
        if (before && before != this && !before->unloading_ && before->isVisible() && !App::ending() &&
            !(self && self->isVisible()))
            before->bringForward();
        return;
    }
    show();
    bringForward();
}

void Form::bringForward() {
    // The headless platform of the tests cannot raise windows.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
}

void Form::centreOver(const QWidget* other) {
    const QRect own = frameGeometry();
    move(other->frameGeometry().center() - QPoint(own.width() / 2, own.height() / 2));
}

void Form::setModalHandler(std::function<void(Form*)> handler) { modalHandler = std::move(handler); }

void Form::setMousePointer(int pointer) {
    if (pointer == vbHourglass) setCursor(Qt::WaitCursor);
    else if (pointer == vbArrow) setCursor(Qt::ArrowCursor);
    else unsetCursor();
}

void Form::place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

void Form::setClientSizeTwips(double width, double height) { resize(px(width), px(height)); }

bool Form::runUnloadHandlers(int mode) {
    int cancel = 0;
    guarded("_QueryUnload", [&] { Form_QueryUnload(cancel, mode); });
    if (cancel) return false;
    guarded("_Unload", [&] { Form_Unload(cancel); });
    return cancel == 0;
}

bool Form::Unload() {
    if (unloading_) return true;
    if (!runUnloadHandlers(vbFormCode)) return false;
    destroyForm();
    return true;
}

void Form::destroyForm() {
    unloading_ = true;
    if (clearSlot_) {
        clearSlot_();
        clearSlot_ = nullptr;
    }
    loaded.removeAll(this);
    if (active == this) active = nullptr;
    hide();
    if (modalLoop_) modalLoop_->quit();
    deleteLater();
}

void Form::destroyAll() {
    const QList<Form*> all = loaded;
    for (Form* f : all) {
        f->unloading_ = true;
        f->destroyForm();
    }
    active = nullptr;
}

QList<Form*> Form::loadedForms() { return loaded; }
Form* Form::activeForm() { return active; }

void Form::activateNow() {
    if (unloading_ || App::ending()) return;
    if (loading_) {
        pendingActivate_ = true;
        return;
    }
    if (active == this) return;
    Form* previous = active;
    active = this;
    if (previous) previous->deactivateNow();
    guarded("_Activate", [this] { Form_Activate(); });
}

void Form::deactivateNow() {
    if (App::ending()) return;
    guarded("_Deactivate", [this] { Form_Deactivate(); });
}

bool Form::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) activateNow();
    return QWidget::event(e);
}

void Form::closeEvent(QCloseEvent* e) {
    if (unloading_ || App::ending()) {
        e->accept();
        return;
    }
    // Closed by the window's close box or the window manager.
    if (!runUnloadHandlers(vbFormControlMenu)) {
        e->ignore();
        return;
    }
    e->accept();
    destroyForm();
}

void Form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (active == this && !e->spontaneous()) {
        active = nullptr;
        deactivateNow();
    }
}

void Form::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && active == this) {
        active = nullptr;
        deactivateNow();
    }
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (loaded_ || loading_) guarded("_Resize", [this] { Form_Resize(); });
}

void Form::mouseMoveEvent(QMouseEvent* e) {
    guarded("_MouseMove", [&] {
        Form_MouseMove(Keys::mouseButtons(e->buttons()), Keys::shiftState(e->modifiers()),
                       int(e->position().x()) * twipsPerPixel, int(e->position().y()) * twipsPerPixel);
    });
    QWidget::mouseMoveEvent(e);
}

bool Form::previewKey(QKeyEvent* e) {
    const int pressed = Keys::keyCode(e);
    int code = pressed;
    guarded("_KeyDown", [&] { Form_KeyDown(code, Keys::shiftState(e->modifiers())); });
    if (code == 0 && pressed != 0) return true;
    int ascii = Keys::keyAscii(e);
    if (ascii < 0) return false;
    const int typed = ascii;
    guarded("_KeyPress", [&] { Form_KeyPress(ascii); });
    if (ascii == 0) return true;
    if (ascii != typed) {
        // The handler replaced the character: deliver the new one instead.
        const QString text = ascii >= 32 ? QString(Ansi::fromCode(ascii)) : QString(QChar(ascii));
        QKeyEvent replaced(QEvent::KeyPress, Keys::qtKeyForAscii(ascii), Qt::NoModifier, text);
        if (QWidget* target = QApplication::focusWidget(); target && target->window() == this) {
            keyPreviewBusy_ = true;
            QApplication::sendEvent(target, &replaced);
            keyPreviewBusy_ = false;
        }
        return true;
    }
    return false;
}

void Form::keyPressEvent(QKeyEvent* e) {
    // A push button outside a dialog leaves Enter to its window: Enter on a
    // focused button clicks that button, before the window's key handlers.
    if (isPlainEnter(e) && clickFocusedButton(this)) {
        e->accept();
        return;
    }
    if (!keyPreview_ && previewKey(e)) {
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Form::setKeyPreview(bool on) {
    if (on == keyPreview_) return;
    keyPreview_ = on;
    if (on) qApp->installEventFilter(this);
    else qApp->removeEventFilter(this);
}

bool Form::eventFilter(QObject* watched, QEvent* e) {
    if (keyPreview_ && !keyPreviewBusy_ && e->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(e);
        // Enter on a focused button is that button's, not the window's.
        if (w->window() == this && isPlainEnter(key) && focusedButton(this)) return false;
        if (w->window() == this && (w == this || w->hasFocus())) return previewKey(key);
    }
    return QWidget::eventFilter(watched, e);
}
