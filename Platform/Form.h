#pragma once
// The base of every window. A window exists once: the first touch of its
// accessor creates it and runs its load handler; Unload runs the
// query-unload and unload handlers and destroys it, so the next touch
// builds it afresh in its design state. Activation handlers run when the
// window becomes the program's active window, deactivation when another
// window of the program takes over or this one is hidden or minimised.
// Enter on a focused button (push, tool, label or picture button) clicks
// that button before the window's key handlers see it.
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QEventLoop;

enum FormShow { vbModeless = 0, vbModal = 1 };
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };
enum MouseButton { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum MousePointer { vbDefault = 0, vbArrow = 1, vbHourglass = 11 };

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Shows the window; a modal show returns when the window is hidden or unloaded.
    void Show(int modal = vbModeless);
    void Hide() { hide(); }
    // Raises the window and makes it the active one.
    void bringForward();
    // Places the window centred over another one (where the user is looking).
    void centreOver(const QWidget* other);
    // Query-unload and unload handlers, then the window is destroyed.
    // Returns false when a handler cancelled.
    bool Unload();
    bool isUnloading() const { return unloading_; }

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& c) { setWindowTitle(c); }
    void setMousePointer(int pointer);

    // Positions and sizes in twips, 15 to the pixel.
    static constexpr int twipsPerPixel = 15;
    static int px(double twips) { return qRound(twips / twipsPerPixel); }
    static void place(QWidget* w, double left, double top, double width, double height);
    void setClientSizeTwips(double width, double height);

    // Becomes the program's active window now (what the window system
    // reports when the user brings it forward).
    void activateNow();
    static Form* activeForm();

    // Every window now loaded, in the order of loading.
    static QList<Form*> loadedForms();
    // Destroys every loaded window without running its handlers.
    static void destroyAll();

    // Tests: a modal show calls this instead of waiting for the user.
    static void setModalHandler(std::function<void(Form*)> handler);

    // With key preview the window's key handlers see every key first, also
    // those typed into its controls.
    void setKeyPreview(bool on);

    // Used by the accessors.
    void runLoad();
    void setSlotClearer(std::function<void()> clear) { clearSlot_ = std::move(clear); }

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) { (void)Cancel; (void)UnloadMode; }
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }
    virtual void Form_Resize() {}
    virtual void Form_MouseMove(int Button, int Shift, int X, int Y) { (void)Button; (void)Shift; (void)X; (void)Y; }
    virtual void Form_KeyDown(int& KeyCode, int Shift) { (void)KeyCode; (void)Shift; }
    virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }
    // Name shown in the error box when a handler fails unexpectedly.
    virtual QString formName() const { return QString::fromLatin1(metaObject()->className()); }

    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool runUnloadHandlers(int mode);
    void destroyForm();
    void deactivateNow();
    template <class F> void guarded(const char* what, F&& f);
    // Runs the key handlers; true when they swallowed the key.
    bool previewKey(QKeyEvent* e);

    std::function<void()> clearSlot_;
    bool loading_ = false;
    bool loaded_ = false;
    bool pendingActivate_ = false;
    bool unloading_ = false;
    bool keyPreview_ = false;
    bool keyPreviewBusy_ = false;
    QPointer<QEventLoop> modalLoop_;
};

// The one instance of window T, created and loaded on first use.
template <class T> struct FormSlot {
    static inline T* instance = nullptr;
};

template <class T> T* touchForm() {
    if (!FormSlot<T>::instance) {
        T* f = new T;
        FormSlot<T>::instance = f;
        f->setSlotClearer([] { FormSlot<T>::instance = nullptr; });
        f->runLoad();
        // A load may unload its own window; the caller still gets it, and
        // it is destroyed when control returns to the event loop.
        return f;
    }
    return FormSlot<T>::instance;
}

// Whether window T is loaded, without loading it.
template <class T> bool isFormLoaded() { return FormSlot<T>::instance != nullptr; }
