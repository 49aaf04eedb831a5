#include "Forms/WeightConverter/frmWght.h"

#include "Modules/modLanguage.h"

class frmWght* frmWght() { return touchForm<class frmWght>(); }

frmWght::frmWght() {
    setCaption(QStringLiteral("QEM Weight Converter"));
    lblMg = addRow(QStringLiteral("Milligrams"));
    lblG = addRow(QStringLiteral("Grams"));
    lblOz = addRow(QStringLiteral("Ounces"));
    lblLbs = addRow(QStringLiteral("Pounds"));
    lblKg = addRow(QStringLiteral("Kilograms"));
    lblSt = addRow(QStringLiteral("Stones"));
    lblT = addRow(QStringLiteral("Tons"));
    txtDat = hiddenTexts({QStringLiteral("1000000"), QStringLiteral("1000"), QStringLiteral("35.273944"),
                          QStringLiteral("2.2046215"), QStringLiteral("1"), QStringLiteral("0.1574731232747"),
                          QStringLiteral("0.001")});
    layoutColumn();
}

void frmWght::applyLanguage() { SetLangWght(this); }

std::optional<QList<ConverterForm::RowResult>> frmWght::convert(const QString& amount) {
    return factorResults(amount, textsOf(txtDat));
}

void SetLangWght(class frmWght* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Gewicht-Umrechner"));
    frm->lblMg->setCaption(QStringLiteral("Milligramm"));
    frm->lblG->setCaption(QStringLiteral("Gramm"));
    frm->lblOz->setCaption(QStringLiteral("Unzen"));
    frm->lblLbs->setCaption(QStringLiteral("Pfund (amerik.)"));
    frm->lblKg->setCaption(QStringLiteral("Kilogramm"));
    frm->lblSt->setCaption(QStringLiteral("Steine"));
    frm->lblT->setCaption(QStringLiteral("Tonnen"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
