#include "Forms/CurrencyConverter/frmCur.h"

#include "Forms/CurrencyConverter/frmSetRate.h"
#include "Modules/modLanguage.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"

#include <QCheckBox>

class frmCur* frmCur() { return touchForm<class frmCur>(); }

namespace {
constexpr int kFlagWidth = 36, kFlagHeight = 24;

// The flags of the rows, in row order.
QList<QPixmap> flags() {
    QList<QPixmap> out;
    for (const char* country : {"us", "gb", "de", "fr", "es", "it", "eu"})
        out << QPixmap(QStringLiteral(":/skin/flag_") + QLatin1String(country) + QStringLiteral(".png"));
    return out;
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
        // Smaller figures than the other converters: lire and pesetas run long,
        // and shrink further where an amount still does not fit.
        rowResults[i]->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        rowResults[i]->setShrinkToFit(true);
        rowInputs[i]->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        place(rowResults[i], left, top + 480, cellWidth, 375);
        place(rowInputs[i], left, top + 480, cellWidth, 375);
        rowResults[i]->setCursor(Qt::PointingHandCursor);
        rowResults[i]->onClick = [this, i] { lblCur_Click(i); };
        // The labels choose the input currency, also by Tab and Space or
        // Enter while they are empty.
        rowResults[i]->setFocusPolicy(Qt::TabFocus);
    }
    showChoices();

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
    bool damaged = false;
    QString why;
    int number = 0;
    QuotedLines::Kept kept;
    const std::optional<QStringList> rates = RatesFile::read(&damaged, &why, &number, &kept);
    class frmSetRate* editor = frmSetRate();
    editor->kept = kept;
    if (rates) {
        for (int i = 1; i <= 6; ++i) editor->txtDat[i]->setTextValue(rates->at(i - 1));
    } else if ((damaged || kept.unread) && !problemTold_) {
        // Once a showing: the file is read again at every activation. A
        // file that is there holds the user's rates: the rates in force
        // are not the user's, and that is said.
        problemTold_ = true;
        if (damaged) ShowDamagedFile(QStringLiteral("Rates.qem"));
        else ShowProblem(QStringLiteral("LoadRates"), number, why);
    }
    activeBox()->setFocus();
}

void frmCur::lblCur_Click(int Index) {
    selectRow(Index);
    showChoices();
}

void frmCur::showChoices() {
    for (int i = 0; i < lblCur.size(); ++i) lblCur[i]->setVisible(i != ActiveRow);
}

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
    // A rate is read with the point as its separator: "2,09" under German
    // settings or "1,07" as a grouped number would be taken as 2 and 1.
    for (int i = 0; i < 7; ++i) {
        if (!Runtime::wholeValue(editor->txtDat[i]->Text())) {
            showRateMessage();
            chkSetRate->setFocus();
            return;
        }
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
        class frmSetRate* editor = frmSetRate();
        editor->centreOver(this);
        editor->Show(vbModal);
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
