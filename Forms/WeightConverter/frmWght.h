#pragma once
// The weight converter: an amount in one of seven units shown in all seven.
// The factors are the number of each unit in one kilogram.
#include "Modules/modConverter.h"

class frmWght : public ConverterForm {
    Q_OBJECT
public:
    frmWght();

    QList<PictureButton*>& cmdWght = rowButtons;
    QList<TextBox*>& txtWght = rowInputs;
    QList<Label*>& lblwght = rowResults;
    // Hidden: how many of each row's unit make one kilogram.
    QList<TextBox*> txtDat;

    Label* lblMg;
    Label* lblG;
    Label* lblOz;
    Label* lblLbs;
    Label* lblKg;
    Label* lblSt;
    Label* lblT;

protected:
    void applyLanguage() override;
    std::optional<QList<RowResult>> convert(const QString& amount) override;
    QString formName() const override { return QStringLiteral("Wght"); }
};

class frmWght* frmWght();
void SetLangWght(class frmWght* frm);
