#include "Forms/CurrencyConverter/frmSetRate.h"

#include "Forms/CurrencyConverter/frmCur.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>

class frmSetRate* frmSetRate() { return touchForm<class frmSetRate>(); }

namespace RatesFile {

QStringList defaults() {
    return {QStringLiteral("0.68"), QStringLiteral("2.09"), QStringLiteral("7.02"),
            QStringLiteral("178.10"), QStringLiteral("2168.62"), QStringLiteral("1.07")};
}

QString path() { return App::dataFile(QStringLiteral("Rates.qem")); }

std::optional<QStringList> read(bool* damaged, QString* error, int* number, QuotedLines::Kept* kept) {
    std::optional<QStringList> values = QuotedLines::readFirst(path(), 6, error, damaged, number, kept);
    if (!values || values->size() < 6) return std::nullopt;
    return values;
}

bool write(const QStringList& rates, QString* error, int* number, const QuotedLines::Kept& kept) {
    return QuotedLines::write(App::dataFile(QStringLiteral("Rates.qem"), App::Access::Write), rates, error, number,
                              kept);
}

} // namespace RatesFile

frmSetRate::frmSetRate() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Set Currency Rate"));

    const QStringList rates = QStringList{QStringLiteral("1")} + RatesFile::defaults();
    const QStringList signs{QStringLiteral("$"), QStringLiteral("£"), QStringLiteral("DM"), QStringLiteral("F"),
                            QStringLiteral("Pts"), QStringLiteral("Li"), QStringLiteral("€")};
    const QStringList names{QStringLiteral("GBP"), QStringLiteral("DEM"), QStringLiteral("FRF"),
                            QStringLiteral("ESP"), QStringLiteral("ITL"), QStringLiteral("EURO")};
    QList<Label*> labels;
    for (int i = 0; i < 7; ++i) {
        auto* box = new TextBox(this);
        box->setTextValue(rates[i]);
        txtDat << box;
        auto* sign = new TextBox(this);
        sign->setTextValue(signs[i]);
        sign->setVisible(false);
        txtSGN << sign;
        if (i == 0) {
            box->setVisible(false);
            continue;
        }
        auto* label = new Label(names[i - 1], this);
        label->setFont(Fonts::font(QStringLiteral("Verdana"), 9, true));
        const double top = 240 + (i - 1) * 420;
        place(label, 240, top, 900, 315);
        place(box, 1200, top - 15, 1800, 345);
        box->setAccessibleName(names[i - 1]);
        labels << label;
    }
    lblEng = labels[0];
    lblGER = labels[1];
    lblFRE = labels[2];
    lblSPA = labels[3];
    lblITA = labels[4];
    lblEURO = labels[5];

    cmdDFLT = new PictureButton(QStringLiteral("&Default"), this);
    cmdSave = new PictureButton(QStringLiteral("&Save"), this);
    place(cmdDFLT, 240, 2880, 1320, 405);
    place(cmdSave, 1680, 2880, 1320, 405);
    connect(cmdDFLT, &QPushButton::clicked, this, [this] { cmdDFLT_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    setClientSizeTwips(3240, 3525);
    setFixedSize(size());
}

void frmSetRate::Form_Load() {
    SetLangSetRate(this);
    // The title bar needs room for the caption beside the window's buttons;
    // the boxes stay centred in the wider window.
    const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(Caption()) + 150;
    if (needed > width()) {
        const int shift = (needed - width()) / 2;
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->move(w->x() + shift, w->y());
        setFixedSize(needed, height());
    }
}

void frmSetRate::cmdSave_Click() {
    if (MsgBox(L(QStringLiteral("Are you sure?"), QStringLiteral("Sind Sie sicher?")), vbYesNo | vbQuestion) == vbYes) {
        QStringList rates;
        for (int i = 1; i <= 6; ++i) rates << txtDat[i]->Text();
        QString why;
        int number = 0;
        if (!RatesFile::write(rates, &why, &number, kept)) ShowProblem(QStringLiteral("SetRate_Save"), number, why);
    }
    txtDat[1]->setFocus();
}

void frmSetRate::cmdDFLT_Click() {
    const QStringList rates = RatesFile::defaults();
    for (int i = 1; i <= 6; ++i) txtDat[i]->setTextValue(rates[i - 1]);
    txtDat[1]->setFocus();
}

void frmSetRate::Form_Unload(int& Cancel) {
    (void)Cancel;
    // The converter's check box shows whether the editor is open; its click
    // handler hides the editor when it is unticked.
    if (isFormLoaded<class frmCur>() && frmCur()->chkSetRate->isChecked()) frmCur()->chkSetRate->setChecked(false);
}

void SetLangSetRate(class frmSetRate* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Kurs setzen"));
    frm->cmdDFLT->setCaption(QStringLiteral("Vorgabe"));
    frm->cmdSave->setCaption(QStringLiteral("Sichern"));
}
