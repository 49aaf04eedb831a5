#include "Forms/ComputerConverter/frmComp.h"

#include "Modules/modLanguage.h"
#include "Platform/Fonts.h"
#include "Platform/Numbers.h"

#include <QFontMetrics>
#include <algorithm>

class frmComp* frmComp() { return touchForm<class frmComp>(); }

namespace {
// Layout in twips. The boxes are made wide enough for the longest text a
// row can show: the fifteen BCD groups of the largest accepted number.
constexpr double kBoxLeft = 600, kMinBoxWidth = 5400, kFirstTop = 240, kRowPitch = 480;
constexpr double kNameWidth = 1800;
constexpr double kCmdWidth = 1335, kCmdHeight = 405;
constexpr double kNumberSize = 11;
} // namespace

frmComp::frmComp() {
    setCaption(QStringLiteral("QEM Computer Conversions"));
    lblDec = addRow(QStringLiteral("Decimal"));
    lblBin = addRow(QStringLiteral("Binary"));
    lblBCD = addRow(QStringLiteral("BCD"));
    lblBCD->setToolTipText(QStringLiteral("binary coded decimal"));
    lblOct = addRow(QStringLiteral("Octal"));
    lblHex = addRow(QStringLiteral("Hexadecimal"));

    QStringList digits, codes;
    for (int k = 0; k < 16; ++k) {
        digits << QString(QLatin1Char("0123456789ABCDEF"[k]));
        codes << QString::number(k, 2).rightJustified(4, u'0');
    }
    txtChr = hiddenTexts(digits);
    txtCode = hiddenTexts(codes);

    const QFont numbers = Fonts::font(QStringLiteral("Haettenschweiler"), kNumberSize);
    const QString longest = QStringList(15, QStringLiteral("0000")).join(u' ');
    // The text, the label's indent and frame or the box's margins, and a little air.
    const int longestPixels = QFontMetrics(numbers).horizontalAdvance(longest) + 24;
    const double boxWidth = std::max(kMinBoxWidth, double(longestPixels * twipsPerPixel));
    const double nameLeft = kBoxLeft + boxWidth + 120;
    for (int i = 0; i < rowCount(); ++i) {
        txtComp[i]->setFont(numbers);
        lblComp[i]->setFont(numbers);
        placeRow(i, kBoxLeft, kFirstTop + i * kRowPitch, boxWidth, nameLeft, kNameWidth);
        lblComp[i]->onMouseMove = [this, i](int Button, int Shift, int X, int Y) {
            lblComp_MouseMove(i, Button, Shift, X, Y);
        };
    }
    const double buttonsTop = kFirstTop + rowCount() * kRowPitch + 120;
    place(cmdCnvrt, kBoxLeft, buttonsTop, kCmdWidth, kCmdHeight);
    place(cmdClr, kBoxLeft + kCmdWidth + 120, buttonsTop, kCmdWidth, kCmdHeight);
    setClientSizeTwips(nameLeft + kNameWidth + 120, buttonsTop + kCmdHeight + 240);
    setFixedSize(size());
}

void frmComp::applyLanguage() { SetLangComp(this); }

void frmComp::RowInput_KeyPress(int Index, int& KeyAscii) {
    if (KeyAscii == 8) return;
    // Hexadecimal letters are shown in upper case.
    if (Index == RowHex && KeyAscii >= 'a' && KeyAscii <= 'f') KeyAscii -= 32;
    const bool decimalDigit = KeyAscii >= '0' && KeyAscii <= '9';
    bool passes = false;
    switch (Index) {
    case RowDecimal: passes = decimalDigit; break;
    case RowBinary:
    case RowBcd: passes = KeyAscii == '0' || KeyAscii == '1'; break;
    case RowOctal: passes = KeyAscii >= '0' && KeyAscii <= '7'; break;
    case RowHex: passes = decimalDigit || (KeyAscii >= 'A' && KeyAscii <= 'F'); break;
    default: break;
    }
    if (!passes) {
        KeyAscii = 0;
        return;
    }
    // The length limits bind the typist only: a conversion may put a longer
    // number into the decimal box.
    const int limit = Index == RowDecimal ? DecimalLength : Index == RowBinary ? BinaryLength : 0;
    const TextBox* box = txtComp[Index];
    if (limit && box->Text().size() - box->selectedText().size() >= limit) KeyAscii = 0;
}

std::optional<qint64> frmComp::readDigits(const QString& text, int base) const {
    const QStringList digits = textsOf(txtChr);
    qint64 value = 0;
    for (QChar c : text) {
        // Typed hex letters come in capitals; pasted ones keep their case.
        const int digit = int(digits.indexOf(QString(c.toUpper())));
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value >= Limit) return std::nullopt;
    }
    return value;
}

std::optional<QString> frmComp::bcdToDecimal(const QString& bits) const {
    const QStringList digits = textsOf(txtChr);
    const QStringList codes = textsOf(txtCode);
    QString decimal;
    for (qsizetype at = bits.size() - 4; at >= 0; at -= 4) {
        const int k = int(codes.indexOf(bits.mid(at, 4)));
        // 1010 to 1111 code no decimal digit.
        if (k < 0 || k > 9) return std::nullopt;
        decimal.prepend(digits[k]);
    }
    qsizetype significant = 0;
    while (significant < decimal.size() && decimal[significant] == u'0') ++significant;
    if (decimal.size() - significant > 15) return std::nullopt;
    return decimal;
}

void frmComp::cmdCnvrt_Click() {
    DecimalText.clear();
    TextBox* box = activeBox();
    const QString input = box->Text();
    switch (ActiveRow) {
    case RowDecimal: DecimalText = input; break;
    case RowBinary:
    case RowOctal:
    case RowHex: {
        const int base = ActiveRow == RowBinary ? 2 : ActiveRow == RowOctal ? 8 : 16;
        // An empty input or a number beyond the limit leaves the decimal text empty.
        if (!input.isEmpty())
            if (const std::optional<qint64> v = readDigits(input, base)) DecimalText = QString::number(*v);
        break;
    }
    case RowBcd: {
        QString bits = input;
        while (bits.size() % 4) bits.prepend(u'0');
        box->setTextValue(bits);
        if (const std::optional<QString> decimal = bcdToDecimal(bits)) DecimalText = *decimal;
        break;
    }
    default: break;
    }
    if (ActiveRow == RowBinary || ActiveRow == RowBcd) box->setCursorPosition(int(box->Text().size()));
    if (ActiveRow != RowDecimal) {
        txtComp[RowDecimal]->setTextValue(DecimalText);
        lblComp[RowDecimal]->setCaption(DecimalText);
    }
    ShowAllBases();
    box->setFocus();
    tellResults();
}

void frmComp::ShowAllBases() {
    // A number that cannot be converted shows in no row, so none keeps an
    // earlier number's value; an empty input leaves the rows as they are.
    const auto showNothing = [this] {
        if (activeBox()->Text().isEmpty()) return;
        for (Label* result : lblComp) result->setCaption(QString());
    };
    if (ActiveRow == RowDecimal ? txtComp[RowDecimal]->Text().isEmpty() : lblComp[RowDecimal]->Caption().isEmpty()) {
        showNothing();
        return;
    }
    // Only digits of a number below the limit convert: a longer text (a
    // paste past the typist's limit) would not fit a 64-bit integer.
    const QString decimal = txtComp[RowDecimal]->Text();
    const std::optional<qint64> number = readDigits(decimal, 10);
    if (!number) {
        showNothing();
        return;
    }
    const qint64 v = *number;
    lblComp[RowBinary]->setCaption(QString::number(v, 2));
    const QStringList digits = textsOf(txtChr);
    const QStringList codes = textsOf(txtCode);
    QStringList groups;
    for (QChar c : decimal) groups << codes.value(digits.indexOf(QString(c)));
    lblComp[RowBcd]->setCaption(groups.join(u' '));
    lblComp[RowOctal]->setCaption(QString::number(v, 8));
    lblComp[RowHex]->setCaption(QString::number(v, 16).toUpper());
}

void frmComp::lblComp_MouseMove(int Index, int, int, int, int) {
    lblComp[Index]->setToolTipText(lblComp[Index]->Caption());
}

void SetLangComp(class frmComp* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Zahlensystem-Umrechnungen"));
    frm->lblDec->setCaption(QStringLiteral("Dezimal"));
    frm->lblBin->setCaption(QStringLiteral("Binär"));
    frm->lblBCD->setCaption(QStringLiteral("BKD"));
    frm->lblBCD->setToolTipText(QStringLiteral("binär-kodiertes dezimal"));
    frm->lblOct->setCaption(QStringLiteral("Oktal"));
    frm->lblHex->setCaption(QStringLiteral("Hexadezimal"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
