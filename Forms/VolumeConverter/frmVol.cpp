#include "Forms/VolumeConverter/frmVol.h"

#include "Modules/modLanguage.h"

class frmVol* frmVol() { return touchForm<class frmVol>(); }

frmVol::frmVol() {
    setCaption(QStringLiteral("QEM Volume Converter"));
    lblMl = addRow(QStringLiteral("Milliliters"));
    lblFOz = addRow(QStringLiteral("Fluid Ounces"));
    lblQt = addRow(QStringLiteral("Quarts"));
    lblL = addRow(QStringLiteral("Liters"));
    lblGl = addRow(QStringLiteral("Gallons"));
    txtDat = hiddenTexts({QStringLiteral("1000"), QStringLiteral("33.8239926"), QStringLiteral("1.056998"),
                          QStringLiteral("1"), QStringLiteral("0.2642499")});
    layoutColumn();
}

void frmVol::applyLanguage() { SetLangVol(this); }

std::optional<QList<ConverterForm::RowResult>> frmVol::convert(const QString& amount) {
    return factorResults(amount, textsOf(txtDat));
}

void SetLangVol(class frmVol* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Rauminhalts-Umrechner"));
    frm->lblMl->setCaption(QStringLiteral("Milliliter"));
    frm->lblFOz->setCaption(QStringLiteral("Flüssige Unzen"));
    frm->lblQt->setCaption(QStringLiteral("Quarts (¼ Gallone)"));
    frm->lblL->setCaption(QStringLiteral("Liter"));
    frm->lblGl->setCaption(QStringLiteral("Gallonen"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
