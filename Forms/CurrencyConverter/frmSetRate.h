#pragma once
// The rate editor of the currency converter: the rates in force (units of
// each currency that one US dollar buys) and the currency signs. Its rate
// boxes are the rates the converter reads at every conversion, whether the
// editor is shown or not. "Save" keeps them in "Rates.qem".
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/QuotedLines.h"

#include <QList>
#include <QStringList>
#include <optional>

class frmSetRate : public Form {
    Q_OBJECT
public:
    frmSetRate();

    // Rates of the dollar (hidden, always "1"), GBP, DEM, FRF, ESP, ITL, EURO.
    QList<TextBox*> txtDat;
    // Hidden: the currency signs in the same order.
    QList<TextBox*> txtSGN;
    Label* lblEng;
    Label* lblGER;
    Label* lblFRE;
    Label* lblSPA;
    Label* lblITA;
    Label* lblEURO;
    PictureButton* cmdDFLT;
    PictureButton* cmdSave;
    // What Save needs from the converter's last reading of "Rates.qem":
    // a file that was there and could not be read is not replaced.
    QuotedLines::Kept kept;

    void cmdSave_Click();
    void cmdDFLT_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("SetRate"); }
};

class frmSetRate* frmSetRate();
void SetLangSetRate(class frmSetRate* frm);

// "Rates.qem" in the data folder: the six rates other than the dollar's,
// in row order, one per line, each the text as typed within double quotes,
// followed by CR LF, in Windows-1252.
namespace RatesFile {
// The default rates of the six currencies, GBP to EURO.
QStringList defaults();
QString path();
// The first six values of the file; no value when the file does not
// exist, is empty, ends before the sixth value or cannot be read (`error`
// and `number` say why). A line's value is the text between its first and
// last double quote (a line without quotes is taken as it stands, blanks
// around it removed). Only the first six lines are read. `damaged`, when
// given, tells a file that is not text; `kept` is what a save needs.
std::optional<QStringList> read(bool* damaged = nullptr, QString* error = nullptr, int* number = nullptr,
                                QuotedLines::Kept* kept = nullptr);
// Replaces the file with the given texts, unless `kept` tells that the
// reading before could not read it. On failure (also a rate holding a
// line break) the old file stays as it was and `error` tells why.
// `number`, when given, is the error's number (see QuotedLines::write).
bool write(const QStringList& rates, QString* error = nullptr, int* number = nullptr,
           const QuotedLines::Kept& kept = {});
} // namespace RatesFile
