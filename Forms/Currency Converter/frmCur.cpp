#include "Forms/Currency Converter/frmCur.h"

#include "Forms/Currency Converter/frmSetRate.h"
#include "Modules/modLanguage.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"

#include <QCheckBox>
#include <QPainter>
#include <cmath>
#include <numbers>

class frmCur* frmCur() { return touchForm<class frmCur>(); }

namespace {
constexpr int kFlagWidth = 36, kFlagHeight = 24;

// Stripes of equal size, across (horizontal) or side by side.
QPixmap stripes(const QList<QColor>& colours, bool horizontal, const QList<int>& weights = {}) {
    QPixmap pm(kFlagWidth, kFlagHeight);
    QPainter p(&pm);
    int total = 0;
    for (int i = 0; i < colours.size(); ++i) total += weights.value(i, 1);
    const int length = horizontal ? kFlagHeight : kFlagWidth;
    int at = 0, sum = 0;
    for (int i = 0; i < colours.size(); ++i) {
        sum += weights.value(i, 1);
        const int end = length * sum / total;
        if (horizontal) p.fillRect(0, at, kFlagWidth, end - at, colours[i]);
        else p.fillRect(at, 0, end - at, kFlagHeight, colours[i]);
        at = end;
    }
    return pm;
}

QPixmap flagUS() {
    QList<QColor> c;
    for (int i = 0; i < 13; ++i) c << (i % 2 ? QColor(Qt::white) : QColor(178, 34, 52));
    QPixmap pm = stripes(c, true);
    QPainter p(&pm);
    p.fillRect(0, 0, 15, 13, QColor(60, 59, 110));
    p.setPen(Qt::white);
    for (int y = 2; y < 13; y += 3)
        for (int x = 2; x < 15; x += 3) p.drawPoint(x, y);
    return pm;
}

QPixmap flagGB() {
    QPixmap pm(kFlagWidth, kFlagHeight);
    pm.fill(QColor(1, 33, 105));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5));
    p.drawLine(0, 0, kFlagWidth, kFlagHeight);
    p.drawLine(0, kFlagHeight, kFlagWidth, 0);
    p.setPen(QPen(QColor(200, 16, 46), 2));
    p.drawLine(0, 0, kFlagWidth, kFlagHeight);
    p.drawLine(0, kFlagHeight, kFlagWidth, 0);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(kFlagWidth / 2 - 4, 0, 8, kFlagHeight, Qt::white);
    p.fillRect(0, kFlagHeight / 2 - 4, kFlagWidth, 8, Qt::white);
    p.fillRect(kFlagWidth / 2 - 2, 0, 4, kFlagHeight, QColor(200, 16, 46));
    p.fillRect(0, kFlagHeight / 2 - 2, kFlagWidth, 4, QColor(200, 16, 46));
    return pm;
}

QPixmap flagEU() {
    QPixmap pm(kFlagWidth, kFlagHeight);
    pm.fill(QColor(0, 51, 153));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 204, 0));
    const QPointF c(kFlagWidth / 2.0, kFlagHeight / 2.0);
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * 8, 1.3, 1.3);
    }
    return pm;
}

QList<QPixmap> flags() {
    return {flagUS(),
            flagGB(),
            stripes({Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)}, true),
            stripes({QColor(0, 85, 164), Qt::white, QColor(239, 65, 53)}, false),
            stripes({QColor(170, 21, 27), QColor(241, 191, 0), QColor(170, 21, 27)}, true, {1, 2, 1}),
            stripes({QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)}, false),
            flagEU()};
}
} // namespace

frmCur::frmCur() {
    setCaption(QStringLiteral("QEM Currency Converter"));
    lblUSD = addRow(QStringLiteral("U.S. Dollar"), false);
    lblGBP = addRow(QStringLiteral("British (UK) Pound "), false);
    lblDEM = addRow(QStringLiteral("German Mark"), false);
    lblFRF = addRow(QStringLiteral("French Franc"), false);
    lblESP = addRow(QStringLiteral("Spanish Peseta"), false);
    lblITL = addRow(QStringLiteral("Italian Lira"), false);
    lblEURO = addRow(QStringLiteral("European Euro"), false);

    // The dollar alone at the top, the five European currencies side by
    // side below it, the euro alone at the bottom.
    const QList<QPixmap> pictures = flags();
    // A cell is wide enough for the longest German name word ("Französischer").
    constexpr double cellWidth = 2040, pitch = 2160, margin = 240;
    constexpr double clientWidth = margin * 2 + pitch * 5 - 120;
    const double centre = (clientWidth - cellWidth) / 2;
    for (int i = 0; i < 7; ++i) {
        const double left = (i == 0 || i == 6) ? centre : margin + (i - 1) * pitch;
        const double top = i == 0 ? 240 : (i == 6 ? 2640 : 1440);
        auto* flag = new Image(this);
        flag->setPicture(pictures[i]);
        place(flag, left, top + 30, kFlagWidth * 15, kFlagHeight * 15);
        imgFlag << flag;
        Label* name = rowNames[i];
        name->setFont(Fonts::font(QStringLiteral("Verdana"), 8, true));
        name->setWordWrap(true);
        name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(name, left + 600, top, cellWidth - 600, 420);
        // Smaller figures than the other converters: lire and pesetas run long.
        rowResults[i]->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        rowInputs[i]->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        place(rowResults[i], left, top + 480, cellWidth, 375);
        place(rowInputs[i], left, top + 480, cellWidth, 375);
        rowResults[i]->setCursor(Qt::PointingHandCursor);
        rowResults[i]->onClick = [this, i] { lblCur_Click(i); };
    }

    chkSetRate = new QCheckBox(QStringLiteral("Set Currency Rate"), this);
    chkSetRate->setFont(Fonts::font(QStringLiteral("Verdana"), 9, true));
    place(chkSetRate, margin, 3840, 3600, 375);
    connect(chkSetRate, &QCheckBox::toggled, this, [this] {
        try {
            chkSetRate_Click();
        } catch (const RuntimeError& e) {
            ShowProblem(QStringLiteral("Cur_chkSetRate_Click"), e.number, e.description);
        }
    });
    place(cmdClr, clientWidth - margin - 1560, 3825, 1560, 405);
    place(cmdCnvrt, clientWidth - margin - 1560 * 2 - 120, 3825, 1560, 405);
    setClientSizeTwips(clientWidth, 4470);
    setFixedSize(size());
}

void frmCur::applyLanguage() { SetLangCur(this); }

void frmCur::Form_Activate() {
    // The active row is 0 when the window opens (it is built afresh at each
    // opening); later activations keep it.
    LoadRates();
}

void frmCur::LoadRates() {
    if (const std::optional<QStringList> rates = RatesFile::read()) {
        class frmSetRate* editor = frmSetRate();
        for (int i = 1; i <= 6; ++i) editor->txtDat[i]->setTextValue(rates->at(i - 1));
    }
    activeBox()->setFocus();
}

void frmCur::lblCur_Click(int Index) { selectRow(Index); }

void frmCur::showRateMessage() {
    MsgBox(L(QStringLiteral("Please check the rates you have entered"),
             QStringLiteral("Bitte überprüfen Sie die von Ihnen eingegebenen Raten")),
           vbCritical | vbOKOnly);
}

void frmCur::cmdCnvrt_Click() {
    TextBox* box = activeBox();
    if (!Runtime::IsNumeric(box->Text())) {
        box->setFocus();
        return;
    }
    class frmSetRate* editor = frmSetRate();
    for (int i = 0; i < 7; ++i) {
        if (!Runtime::IsNumeric(editor->txtDat[i]->Text())) {
            showRateMessage();
            chkSetRate->setFocus();
            return;
        }
    }
    // A source rate that reads as 0 ("0", "$1.07") cannot divide.
    double source = 0;
    try {
        source = Runtime::Val(editor->txtDat[ActiveRow]->Text());
    } catch (const RuntimeError&) {
        source = 0;
    }
    if (source == 0) {
        showRateMessage();
        editor->txtDat[ActiveRow]->setFocus();
        return;
    }
    ConverterForm::cmdCnvrt_Click();
}

std::optional<QList<ConverterForm::RowResult>> frmCur::convert(const QString& amount) {
    class frmSetRate* editor = frmSetRate();
    QStringList rates, signs;
    for (int i = 0; i < 7; ++i) {
        rates << editor->txtDat[i]->Text();
        signs << u' ' + editor->txtSGN[i]->Text();
    }
    return factorResults(amount, rates, signs);
}

void frmCur::chkSetRate_Click() {
    if (chkSetRate->isChecked()) {
        frmSetRate()->Show(vbModal);
    } else if (isFormLoaded<class frmSetRate>()) {
        frmSetRate()->Hide();
    }
}

void SetLangCur(class frmCur* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Währungs-Umrechner"));
    frm->lblGBP->setCaption(QStringLiteral("Britisches (UK) Pfund"));
    frm->lblDEM->setCaption(QStringLiteral("Deutsche Mark"));
    frm->lblFRF->setCaption(QStringLiteral("Französischer Franke"));
    frm->lblESP->setCaption(QStringLiteral("Spanischer Peseta"));
    frm->lblITL->setCaption(QStringLiteral("Italienischer Lira"));
    frm->lblEURO->setCaption(QStringLiteral("Europäischer Euro"));
    frm->chkSetRate->setText(QStringLiteral("Währungs- Kurs setzen"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
