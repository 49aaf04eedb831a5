#pragma once
// The controls of the program's windows: labels and pictures that act as
// buttons (click, mouse down/up/move with the button and shift values),
// picture buttons, text boxes with a key-press filter, frames.
#include <QGroupBox>
#include <QLabel>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

// Mouse handler: button (1 left, 2 right, 4 middle), shift, x, y in twips.
using MouseHandler = std::function<void(int Button, int Shift, int X, int Y)>;

// Shared mouse plumbing of labels and pictures. A press and release is a
// Click; a double click is one Click (its first press) and then one
// DblClick, never a second Click.
class ClickSurface : public QLabel {
    Q_OBJECT
public:
    explicit ClickSurface(QWidget* parent = nullptr);

    MouseHandler onMouseDown, onMouseUp, onMouseMove;
    std::function<void()> onClick, onDblClick;
    QString Tag;

    // Runs the click handler as a user's click would.
    void click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool pressed_ = false;
};

// A label. Its caption is shown as plain text, exactly as set: names and
// other text the user typed are never read as markup, and an "&" in them
// is shown. A label whose caption carries an access key (a label used as
// the window's button, "&Exit") is marked with setUseMnemonic(true); then
// "&" marks the access key and "&&" shows one "&". The label's accessible
// name is its shown caption and follows every change; what a reader should
// hear besides goes into the accessible description.
class Label : public ClickSurface {
    Q_OBJECT
public:
    explicit Label(const QString& caption = QString(), QWidget* parent = nullptr);

    // The caption as set.
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    bool UseMnemonic() const { return useMnemonic_; }
    void setUseMnemonic(bool on);
    // 0 none, 1 a single line.
    int BorderStyle() const { return border_; }
    void setBorderStyle(int style);
    bool FontBold() const { return font().bold(); }
    void setFontBold(bool on);
    double FontSize() const { return font().pointSizeF(); }
    void setFontSize(double pt);
    void setForeColor(const QColor& c);
    void setToolTipText(const QString& t) { setToolTip(t); }
    QString ToolTipText() const { return toolTip(); }
    // A caption too wide for the label is shown in a smaller size of the
    // label's font (down to 6 points) instead of being cut off.
    void setShrinkToFit(bool on);

private:
    void fitCaption();
    QString caption_;
    bool useMnemonic_ = false;
    int border_ = 0;
    double fitBaseSize_ = 0; // the font size a caption starts from; 0: no shrinking
};

class Image : public ClickSurface {
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr);

    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& p);
    // Stretched pictures fill the control; others keep their size.
    void setStretch(bool on);

private:
    QPixmap picture_;
    bool stretch_ = false;
};

class PictureButton : public QPushButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString& caption = QString(), QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void setPicture(const QPixmap& p);
    // The flat button with a thin sunken edge of office programs.
    void setOfficeLook();
    bool hasOfficeLook() const { return officeLook_; }

protected:
    // Enter presses a focused button, as Space does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool officeLook_ = false;
};

// A one-line text box. The key-press handler receives the code of each
// typed character (see Keys) and may drop it (0) or replace it; pasted,
// dropped and input-method text (dead keys, compose) passes through it
// character by character, whether it comes by Shift+Insert, the middle
// button or the context menu's Paste. Ctrl+V reaches the handler first as
// code 22: a handler that drops it pastes nothing. The box never holds a
// line break: pasted line breaks are dropped.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void setTextValue(const QString& t) { setText(t); }
    std::function<void(int& KeyAscii)> onKeyPress;
    std::function<void(int& KeyCode, int Shift)> onKeyDown;
    QString Tag;

    // Types text as the user would: every character through the handler.
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void pasteFiltered(QClipboard::Mode mode = QClipboard::Clipboard);
    void insertFiltered(const QString& text);
    // Runs the handler on one character code and applies the outcome.
    void applyCharacter(int code);
};

class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString& caption = QString(), QWidget* parent = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString& c) { setTitle(c); }
    MouseHandler onMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};

// The display text of a caption with access-key marks.
QString captionText(const QString& caption);

// What screen readers are told of combo boxes: their name is their
// accessible name or the caption of the label whose buddy they are, their
// value the text they hold, so a reader says "Year, 2025" and an editable
// box keeps its name while text is typed. Installed once, by the first window.
void installAccessibility();
