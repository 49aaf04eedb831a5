#include "Forms/TemperatureConverter/frmTemp.h"

#include "Modules/modLanguage.h"
#include "Platform/Errors.h"
#include "Platform/Numbers.h"

#include <cmath>

class frmTemp* frmTemp() { return touchForm<class frmTemp>(); }

namespace Temperature {
std::array<double, 4> convert(int from, double x) {
    switch (from) {
    case 0: return {x, (x * 1.8) + 32, x + 273.15, (x * 1.8) + 491.67};
    case 1: return {((x - 32) * 5) / 9, x, (x + 459.67) / 1.8, x + 459.67};
    case 2: return {x - 273.15, (x * 1.8) - 459.67, x, x * 1.8};
    default: return {(x - 491.67) / 1.8, x - 459.67, x / 1.8, x};
    }
}
} // namespace Temperature

namespace {
const char* const kUnits[] = {" °C", " °F", " °K", " °R"};
} // namespace

frmTemp::frmTemp() {
    setCaption(QStringLiteral("QEM Temperature Converter"));
    lblC = addRow(QStringLiteral("Celsius"));
    lblF = addRow(QStringLiteral("Fahrenheit"));
    lblK = addRow(QStringLiteral("Kelvin"));
    lblR = addRow(QStringLiteral("Rankine"));
    layoutColumn();

    // The picture below the rows, the buttons below the picture.
    imgSnow = new Image(this);
    imgSun = new Image(this);
    for (Image* img : {imgSnow, imgSun}) {
        place(img, (width() * twipsPerPixel - 960) / 2.0, 2280, 960, 960);
        img->setAlignment(Qt::AlignCenter);
        img->setVisible(false);
    }
    imgSnow->setPicture(QPixmap(QStringLiteral(":/skin/snow.png")));
    imgSun->setPicture(QPixmap(QStringLiteral(":/skin/sun.png")));
    const double buttonsTop = 3360;
    cmdCnvrt->move(cmdCnvrt->x(), px(buttonsTop));
    cmdClr->move(cmdClr->x(), px(buttonsTop));
    setFixedSize(width(), px(buttonsTop + 405 + 240));
}

void frmTemp::applyLanguage() { SetLangTemp(this); }

void frmTemp::RowButton_Click(int Index) {
    ConverterForm::RowButton_Click(Index);
    imgSnow->setVisible(false);
    imgSun->setVisible(false);
}

void frmTemp::RowInput_KeyPress(int Index, int& KeyAscii) {
    // The minus sign passes too, anywhere in the box.
    if (KeyAscii == 45) return;
    ConverterForm::RowInput_KeyPress(Index, KeyAscii);
}

std::optional<QList<ConverterForm::RowResult>> frmTemp::convert(const QString& amount) {
    double x = 0;
    try {
        x = Runtime::Val(amount);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    const std::array<double, 4> t = Temperature::convert(ActiveRow, x);
    QList<RowResult> results;
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(t[i])) return std::nullopt;
        if (i == ActiveRow) {
            results << RowResult{};
            continue;
        }
        const QString shown = Converter::twoDecimals(t[i]) + QString::fromUtf8(kUnits[i]);
        results << RowResult{shown, shown};
    }
    // Frost is judged on the value as shown, to two decimals: Fahrenheit for
    // an input in Celsius, Celsius for every other input.
    const int judged = ActiveRow == 0 ? 1 : 0;
    const double limit = ActiveRow == 0 ? 32.0 : 0.0;
    QString digits = Converter::twoDecimals(t[judged]);
    digits.replace(Runtime::decimalSeparator(), u'.');
    frost_ = Runtime::Val(digits) <= limit;
    return results;
}

void frmTemp::afterConvert() {
    // After an input in Celsius the focus stays on "Convert".
    if (ActiveRow == 0) cmdCnvrt->setFocus();
    else activeBox()->setFocus();
    imgSnow->setVisible(frost_);
    imgSun->setVisible(!frost_);
}

void frmTemp::cmdClr_Click() {
    ConverterForm::cmdClr_Click();
    imgSnow->setVisible(false);
    imgSun->setVisible(false);
}

void SetLangTemp(class frmTemp* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Wärmegrad-Umrechner"));
    frm->cmdCnvrt->setCaption(QStringLiteral("Umrechnen"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
}
