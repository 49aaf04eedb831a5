#include "Forms/AsciiConverter/frmAscii.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Ansi.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

class frmAscii* frmAscii() { return touchForm<class frmAscii>(); }

namespace {
// A display box chooses its row when clicked, as a button does.
class RowDisplay : public TextBox {
public:
    explicit RowDisplay(QWidget* parent);
    std::function<void()> onPress;
};

// Screen readers hear a display box as the button it acts as: named by
// its row's caption, what it shows as its description, pressed to choose
// its row.
class AccessibleRowDisplay : public QAccessibleWidget {
public:
    explicit AccessibleRowDisplay(RowDisplay* w) : QAccessibleWidget(w, QAccessible::Button) {}
    RowDisplay* display() const { return static_cast<RowDisplay*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return display()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) QAccessibleWidget::doAction(action);
        else if (display()->onPress) display()->onPress();
    }
};

QAccessibleInterface* accessibleRowDisplay(const QString& key, QObject* o) {
    if (key != QLatin1String("TextBox")) return nullptr;
    if (auto* d = dynamic_cast<RowDisplay*>(o)) return new AccessibleRowDisplay(d);
    return nullptr;
}

RowDisplay::RowDisplay(QWidget* parent) : TextBox(parent) {
    static const bool installed = (QAccessible::installFactory(accessibleRowDisplay), true);
    Q_UNUSED(installed);
    // The toolkit tells readers of a box while it is built, before it is a
    // display box: the text box it was then is forgotten.
    QAccessibleInterface* early = QAccessible::queryAccessibleInterface(this);
    if (early && !dynamic_cast<AccessibleRowDisplay*>(early))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
}
} // namespace

void SetLangAscii(class frmAscii* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Ascii-Umsetzer"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}

frmAscii::frmAscii() {
    setCaption(QStringLiteral("QEM Ascii Code Converter"));
    setClientSizeTwips(4335, 2460);
    setFixedSize(size());

    const QFont titleFont = Fonts::font(QStringLiteral("Verdana"), 10, true);
    lblText = new Label(QStringLiteral("Text"), this);
    place(lblText, 240, 300, 1200, 330);
    lblText->setFont(titleFont);
    lblAscii = new Label(QStringLiteral("Ascii"), this);
    place(lblAscii, 240, 960, 1200, 330);
    lblAscii->setFont(titleFont);

    // Display boxes first, so the entry boxes lie over them.
    const QFont rowFonts[2] = {Fonts::font(QStringLiteral("Courier New"), 14, true),
                               Fonts::font(QStringLiteral("Haettenschweiler"), 16)};
    const int rowTop[2] = {240, 900};
    const int maxLength[2] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        auto* display = new RowDisplay(this);
        display->onPress = [this, i] { txtDISPLAY_Click(i); };
        place(display, 1560, rowTop[i], 1800, 450);
        display->setFont(rowFonts[i]);
        display->setReadOnly(true);
        // Clicked, or Space or Enter after Tab, it chooses its row.
        display->setFocusPolicy(Qt::TabFocus);
        display->setAlignment(Qt::AlignCenter);
        display->installEventFilter(this);
        txtDISPLAY << display;
    }
    for (int i = 0; i < 2; ++i) {
        auto* entry = new TextBox(this);
        place(entry, 1560, rowTop[i], 1800, 450);
        entry->setFont(rowFonts[i]);
        entry->setMaxLength(maxLength[i]);
        entry->setAlignment(Qt::AlignCenter);
        // Text reaches an entry box only through its key handler: typed or pasted.
        entry->setAcceptDrops(false);
        entry->onKeyPress = [this, i](int& KeyAscii) { txtEnter_KeyPress(i, KeyAscii); };
        txtEnter << entry;
    }
    txtEnter[1]->setVisible(false);
    // The entry box lies over its row's display box, which is not in use.
    txtDISPLAY[0]->setVisible(false);
    for (const QList<TextBox*>& row : {txtEnter, txtDISPLAY}) {
        row[0]->setAccessibleName(lblText->Caption());
        row[1]->setAccessibleName(lblAscii->Caption());
    }
    // Ctrl with a letter, which the character row counts (see eventFilter).
    txtEnter[0]->installEventFilter(this);

    UpDown = new class UpDown(this);
    place(UpDown, 3375, 900, 270, 450);
    UpDown->setMin(0);
    UpDown->setMax(255);
    UpDown->setIncrement(1);
    UpDown->setVisible(false);
    UpDown->setAccessibleName(lblAscii->Caption());
    UpDown->onChange = [this] { UpDown_Change(); };
    UpDown->onMouseDown = [this](int Button, int Shift, int X, int Y) { UpDown_MouseDown(Button, Shift, X, Y); };

    cmdOK = new PictureButton(QStringLiteral("&OK"), this);
    place(cmdOK, 240, 1620, 1800, 450);
    cmdOK->setVisible(false);
    cmdClr = new PictureButton(QStringLiteral("&Clear"), this);
    place(cmdClr, 2295, 1620, 1800, 450);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdClr, &QPushButton::clicked, this, [this] { cmdClr_Click(); });

    // Row by row, then the buttons.
    const QList<QWidget*> order{txtEnter[0], txtDISPLAY[0], txtEnter[1], txtDISPLAY[1], UpDown, cmdOK, cmdClr};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void frmAscii::Form_Load() {
    frmChoice()->setVisible(false);
    SetLangAscii(this);
    ActiveRow = 0;
}

void frmAscii::Form_Unload(int&) { ReturnToMenu(); }

bool frmAscii::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtEnter[0] && e->type() == QEvent::KeyPress) {
        // Ctrl with a letter types the control character 1 to 26, which
        // counts like any other key; the text box would take it as a
        // shortcut. Ctrl+V pastes, every pasted character through the handler.
        const auto* key = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers mods = key->modifiers();
        const bool ctrlOnly = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
        if (ctrlOnly && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z && key->key() != Qt::Key_V) {
            int KeyAscii = 1 + (key->key() - Qt::Key_A);
            txtEnter_KeyPress(0, KeyAscii);
            return true;
        }
    }
    const int display = txtDISPLAY.indexOf(static_cast<TextBox*>(watched));
    if (display >= 0 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        txtDISPLAY_Click(display);
        return true;
    }
    if (display >= 0 && e->type() == QEvent::KeyPress) {
        // A display box is a button to its row for the keyboard too.
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool press = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (press && (key->modifiers() & ~Qt::KeypadModifier) == 0) {
            txtDISPLAY_Click(display);
            return true;
        }
    }
    return Form::eventFilter(watched, e);
}

void frmAscii::txtDISPLAY_Click(int Index) {
    txtEnter[Index]->setVisible(true);
    txtEnter[Index]->setFocus();
    if (ActiveRow != Index) {
        txtEnter[ActiveRow]->setVisible(false);
        txtDISPLAY[ActiveRow]->setVisible(true);
    }
    txtDISPLAY[Index]->setVisible(false);
    ActiveRow = qint16(Index);
    const bool codeRow = txtEnter[1]->isVisibleTo(this);
    cmdOK->setVisible(codeRow);
    UpDown->setVisible(codeRow);
}

void frmAscii::txtEnter_KeyPress(int Index, int& KeyAscii) {
    if (Index == 0) {
        // Every character counts, control characters too; the key itself
        // then replaces the one shown.
        txtEnter[0]->clear();
        txtDISPLAY[1]->setText(QString::number(KeyAscii));
        // A character the code page lacks arrives as its "?", code 63: the
        // box shows that "?", not the character beside a code not its own.
        if (KeyAscii == '?') {
            txtEnter[0]->setText(QStringLiteral("?"));
            KeyAscii = 0;
        }
        return;
    }
    if (!((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == 8)) KeyAscii = 0;
}

void frmAscii::cmdOK_Click() {
    // The code box takes digits only, at most three: the value is whole.
    const double v = Runtime::Val(txtEnter[1]->text());
    if (v > 255)
        MsgBox(L(QStringLiteral("Please type in a number between 0 and 255."),
                 QStringLiteral("Bitte geben Sie eine Zahl zwischen 0 und 255 ein")),
               vbExclamation);
    else
        txtDISPLAY[0]->setText(QString(Ansi::fromCode(int(v))));
    // A step of the spinner by keys leaves the focus on the spinner.
    if (!UpDown->isKeyStep()) txtEnter[1]->setFocus();
    txtEnter[1]->selectAll();
}

void frmAscii::cmdClr_Click() {
    for (int i = 0; i < 2; ++i) {
        txtEnter[i]->clear();
        txtDISPLAY[i]->clear();
    }
    txtEnter[ActiveRow]->setFocus();
}

void frmAscii::UpDown_Change() {
    txtEnter[1]->setText(QString::number(UpDown->Value()));
    cmdOK_Click();
}

void frmAscii::UpDown_MouseDown(int, int, int, int) {
    const double v = Runtime::Val(txtEnter[1]->text());
    if (v >= 255) {
        cmdOK_Click();
        // 255 is a code like any other: the spinner goes on from it. Above
        // it the message was shown and the spinner stays where it is.
        if (v == 255) UpDown->setValue(255);
        else UpDown->cancelStep();
        return;
    }
    // The spinner goes on from the typed code.
    UpDown->setValue(Runtime::CInt(v));
}
