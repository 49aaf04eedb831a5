#pragma once
// The temperature converter: a temperature in Celsius, Fahrenheit, Kelvin
// or Rankine shown in the other three scales, with a picture of snow at or
// below freezing and of the sun above it.
#include "Modules/modConverter.h"

#include <array>

class frmTemp : public ConverterForm {
    Q_OBJECT
public:
    frmTemp();

    QList<PictureButton*>& cmdTemp = rowButtons;
    QList<TextBox*>& txtTemp = rowInputs;
    QList<Label*>& lblTEMP = rowResults;

    Label* lblC;
    Label* lblF;
    Label* lblK;
    Label* lblR;
    // Frost and warmth, in one place below the rows; hidden until a conversion.
    Image* imgSnow;
    Image* imgSun;

    // Handlers that do more than the shared ones.
    void RowButton_Click(int Index) override;
    void RowInput_KeyPress(int Index, int& KeyAscii) override;
    void cmdClr_Click() override;

protected:
    void applyLanguage() override;
    std::optional<QList<RowResult>> convert(const QString& amount) override;
    void afterConvert() override;
    QString formName() const override { return QStringLiteral("Temp"); }

private:
    // Whether the last conversion showed frost (decided on the shown values).
    bool frost_ = false;
};

class frmTemp* frmTemp();
void SetLangTemp(class frmTemp* frm);

namespace Temperature {
// The three other scales of x given in scale `from` (0 Celsius,
// 1 Fahrenheit, 2 Kelvin, 3 Rankine), indexed by scale; the entry of
// `from` itself is x.
std::array<double, 4> convert(int from, double x);
}
