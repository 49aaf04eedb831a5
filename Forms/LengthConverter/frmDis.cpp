#include "Forms/LengthConverter/frmDis.h"

#include "Modules/modLanguage.h"

class frmDis* frmDis() { return touchForm<class frmDis>(); }

frmDis::frmDis() {
    setCaption(QStringLiteral("QEM Length/Distance Converter"));
    lblCm = addRow(QStringLiteral("Centimeters"));
    lblInch = addRow(QStringLiteral("Inches"));
    lblFt = addRow(QStringLiteral("Feet"));
    lblY = addRow(QStringLiteral("Yards"));
    lblM = addRow(QStringLiteral("Meters"));
    lblKmh = addRow(QStringLiteral("Kilometers: KM/H"));
    lblMph = addRow(QStringLiteral("Miles: MPH"));
    txtDat = hiddenTexts({QStringLiteral("100"), QStringLiteral("39.37007874"), QStringLiteral("3.280839895"),
                          QStringLiteral("1.093613298"), QStringLiteral("1"), QStringLiteral("0.001"),
                          QStringLiteral("0.00062137119")});
    layoutColumn();
}

void frmDis::applyLanguage() { SetLangDis(this); }

std::optional<QList<ConverterForm::RowResult>> frmDis::convert(const QString& amount) {
    return factorResults(amount, textsOf(txtDat));
}

void SetLangDis(class frmDis* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Längen/Weg-Umrechner"));
    frm->lblCm->setCaption(QStringLiteral("Zentimeter"));
    frm->lblInch->setCaption(QStringLiteral("Zoll / Inch"));
    frm->lblFt->setCaption(QStringLiteral("Fuss"));
    frm->lblY->setCaption(QStringLiteral("Yard"));
    frm->lblM->setCaption(QStringLiteral("Meter"));
    frm->lblKmh->setCaption(QStringLiteral("Kilometer: KM/H"));
    frm->lblMph->setCaption(QStringLiteral("Meilen: MPH"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
