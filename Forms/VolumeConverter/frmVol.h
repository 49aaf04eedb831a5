#pragma once
// The volume converter: an amount in one of five units shown in all five.
// The factors are the number of each unit in one litre.
#include "Modules/modConverter.h"

class frmVol : public ConverterForm {
    Q_OBJECT
public:
    frmVol();

    QList<PictureButton*>& cmdVol = rowButtons;
    QList<TextBox*>& txtVol = rowInputs;
    QList<Label*>& lblVol = rowResults;
    // Hidden: how many of each row's unit make one litre.
    QList<TextBox*> txtDat;

    Label* lblMl;
    Label* lblFOz;
    Label* lblQt;
    Label* lblL;
    Label* lblGl;

protected:
    void applyLanguage() override;
    std::optional<QList<RowResult>> convert(const QString& amount) override;
    QString formName() const override { return QStringLiteral("Vol"); }
};

class frmVol* frmVol();
void SetLangVol(class frmVol* frm);
