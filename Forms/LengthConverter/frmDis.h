#pragma once
// The length and distance converter: an amount in one of seven units shown
// in all seven. The factors are the number of each unit in one metre.
#include "Modules/modConverter.h"

class frmDis : public ConverterForm {
    Q_OBJECT
public:
    frmDis();

    // The rows: buttons, input boxes, result labels.
    QList<PictureButton*>& cmdDis = rowButtons;
    QList<TextBox*>& txtDis = rowInputs;
    QList<Label*>& lblDis = rowResults;
    // Hidden: how many of each row's unit make one metre.
    QList<TextBox*> txtDat;

    Label* lblCm;
    Label* lblInch;
    Label* lblFt;
    Label* lblY;
    Label* lblM;
    Label* lblKmh;
    Label* lblMph;

protected:
    void applyLanguage() override;
    std::optional<QList<RowResult>> convert(const QString& amount) override;
    QString formName() const override { return QStringLiteral("Dis"); }
};

class frmDis* frmDis();
void SetLangDis(class frmDis* frm);
