#include "Forms/Calculator/frmCalc.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Announce.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"

#include <QColor>
#include <QPalette>

class frmCalc* frmCalc() { return touchForm<class frmCalc>(); }

void SetLangCalc(class frmCalc* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Rechner"));
    frm->txtEnter->setAccessibleName(QStringLiteral("Zahl"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}

namespace {
PictureButton* operationButton(QWidget* parent, const QString& symbol, int x) {
    auto* b = new PictureButton(symbol, parent);
    b->setGeometry(x, 112, 68, 40);
    b->setFont(Fonts::font(QStringLiteral("Verdana"), 16, true));
    return b;
}
} // namespace

frmCalc::frmCalc() {
    setCaption(QStringLiteral("QEM Calculator"));
    setFixedSize(320, 204);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xd8, 0xdc, 0xe4));
    setPalette(p);

    lblDISPLAY = new Label(QString(), this);
    lblDISPLAY->setGeometry(12, 12, 296, 42);
    lblDISPLAY->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    lblDISPLAY->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDISPLAY->setAttribute(Qt::WA_TranslucentBackground, false);
    lblDISPLAY->setAttribute(Qt::WA_NoSystemBackground, false);
    lblDISPLAY->setAutoFillBackground(true);
    lblDISPLAY->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblDISPLAY->setLineWidth(2);
    lblDISPLAY->setIndent(6);
    QPalette display = lblDISPLAY->palette();
    display.setColor(QPalette::Window, Qt::white);
    display.setColor(QPalette::WindowText, Qt::black);
    lblDISPLAY->setPalette(display);

    txtEnter = new TextBox(this);
    txtEnter->setGeometry(12, 62, 296, 42);
    txtEnter->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    txtEnter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtEnter->setAccessibleName(QStringLiteral("Number"));

    cmdPLUS = operationButton(this, QStringLiteral("+"), 12);
    cmdMINUS = operationButton(this, QString(QChar(0x2212)), 88);
    cmdTIMES = operationButton(this, QString(QChar(0x00d7)), 164);
    cmdDIVIDE = operationButton(this, QString(QChar(0x00f7)), 240);
    cmdClr = new PictureButton(QStringLiteral("&Clear"), this);
    cmdClr->setGeometry(12, 160, 296, 32);
    cmdClr->setFont(Fonts::font(QStringLiteral("Verdana"), 10, true));

    txtEnter->onKeyDown = [this](int& KeyCode, int Shift) { txtEnter_KeyDown(KeyCode, Shift); };
    txtEnter->onKeyPress = [this](int& KeyAscii) { txtEnter_KeyPress(KeyAscii); };
    connect(cmdPLUS, &QPushButton::clicked, this, [this] { cmdPLUS_Click(); });
    connect(cmdMINUS, &QPushButton::clicked, this, [this] { cmdMINUS_Click(); });
    connect(cmdTIMES, &QPushButton::clicked, this, [this] { cmdTIMES_Click(); });
    connect(cmdDIVIDE, &QPushButton::clicked, this, [this] { cmdDIVIDE_Click(); });
    connect(cmdClr, &QPushButton::clicked, this, [this] { cmdClr_Click(); });
    txtEnter->setFocus();
}

void frmCalc::resetRunState() {
    runningResult_ = 0;
    lastOperand_ = 0;
}

void frmCalc::Form_Load() {
    // Also when the bank opens the calculator and the menu is hidden already.
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangCalc(this);
    // The computer's decimal separator: third character from the right of
    // zero written with two decimals.
    setDisplay(Runtime::Format(0.0, QStringLiteral("0.00")));
    const QString probe = lblDISPLAY->Caption();
    decimalSeparator_ =
        probe.size() >= 3 && probe[probe.size() - 3] == u',' ? QStringLiteral(",") : QStringLiteral(".");
    setDisplay(QStringLiteral("0"));
}

void frmCalc::Form_Unload(int&) {
    // The bank stays in front and the menu hidden while the bank is open.
    if (!FromBank) ReturnToMenu();
}

void frmCalc::setDisplay(const QString& text) {
    lblDISPLAY->setCaption(text);
    lblDISPLAY->setToolTipText(lblDISPLAY->Caption());
}

void frmCalc::txtEnter_KeyDown(int& KeyCode, int) {
    if (KeyCode != Keys::vbKeyDecimal) return;
    txtEnter->setText(txtEnter->Text() + decimalSeparator_);
    txtEnter->setCursorPosition(int(txtEnter->Text().size()));
    txtEnter->setFocus();
    // The key's own character would add a second separator.
    KeyCode = 0;
}

void frmCalc::txtEnter_KeyPress(int& KeyAscii) {
    switch (KeyAscii) {
    case 43: cmdPLUS_Click(); break;
    case 45: cmdMINUS_Click(); break;
    case 42: cmdTIMES_Click(); break;
    case 47: cmdDIVIDE_Click(); break;
    default: break;
    }
    const int separator = decimalSeparator_ == QLatin1String(",") ? 44 : 46;
    const bool digit = KeyAscii >= 48 && KeyAscii <= 57;
    if (!digit && KeyAscii != 8 && KeyAscii != separator) KeyAscii = 0;
}

QString frmCalc::CheckInput() {
    const std::optional<double> value = Runtime::toNumber(txtEnter->Text());
    if (!value) return QStringLiteral("Impossible");
    lastOperand_ = *value;
    return QStringLiteral("Possible");
}

void frmCalc::ShowResult() {
    setDisplay(Runtime::CStr(runningResult_));
    txtEnter->clear();
    txtEnter->setFocus();
    tellReaders(lblDISPLAY, lblDISPLAY->Caption());
}

void frmCalc::showDivisionMessage() {
    MsgBox(L(QStringLiteral("Division by 0 is not possible"), QString::fromUtf8("Division durch 0 ist nicht möglich")),
           vbExclamation);
    txtEnter->clear();
    txtEnter->setFocus();
}

void frmCalc::operate(Op op) {
    const double operandBefore = lastOperand_;
    double operand = 0;
    if (txtEnter->Text().isEmpty()) {
        operand = lastOperand_;
    } else {
        // An entry that is no number makes the operation do nothing.
        if (CheckInput() == QLatin1String("Impossible")) return;
        operand = lastOperand_;
    }
    if (op == Op::Divide && operand == 0) {
        showDivisionMessage();
        return;
    }
    // The left operand is the displayed result, read back as a number.
    // Clear's "0.00" has a point whatever the settings; where a comma is the
    // decimal separator and a blank groups the thousands it reads as no
    // number, and the display then stands for the running result (0).
    const double shown = Runtime::toNumber(lblDISPLAY->Caption()).value_or(runningResult_);
    // A result beyond the range of a double, or one whose text would not
    // read back, changes nothing: display, entry, running result and last
    // operand stay as they were.
    try {
        double result = 0;
        switch (op) {
        case Op::Plus: result = shown + operand; break;
        case Op::Minus: result = shown - operand; break;
        case Op::Times: result = shown * operand; break;
        case Op::Divide: result = shown / operand; break;
        }
        Runtime::CDbl(Runtime::CStr(result));
        runningResult_ = result;
    } catch (const RuntimeError&) {
        lastOperand_ = operandBefore;
        return;
    }
    ShowResult();
}

void frmCalc::cmdPLUS_Click() { operate(Op::Plus); }
void frmCalc::cmdMINUS_Click() { operate(Op::Minus); }
void frmCalc::cmdTIMES_Click() { operate(Op::Times); }
void frmCalc::cmdDIVIDE_Click() { operate(Op::Divide); }

void frmCalc::cmdClr_Click() {
    txtEnter->clear();
    // Always with a point, whatever the computer's separator.
    setDisplay(QStringLiteral("0.00"));
    runningResult_ = 0;
    txtEnter->setFocus();
    tellReaders(lblDISPLAY, lblDISPLAY->Caption());
}
