#include "Forms/CurrencyConverter/frmSetRate.h"

#include "Forms/CurrencyConverter/frmCur.h"
#include "Modules/modLanguage.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"

#include <QCheckBox>
#include <QFile>
#include <QSaveFile>

class frmSetRate* frmSetRate() { return touchForm<class frmSetRate>(); }

namespace RatesFile {

QStringList defaults() {
    return {QStringLiteral("0.68"), QStringLiteral("2.09"), QStringLiteral("7.02"),
            QStringLiteral("178.10"), QStringLiteral("2168.62"), QStringLiteral("1.07")};
}

QString path() { return App::file(QStringLiteral("Rates.qem")); }

namespace {
QString lineValue(const QString& line) {
    const qsizetype first = line.indexOf(u'"');
    const qsizetype last = line.lastIndexOf(u'"');
    if (first < 0) return line.trimmed();
    if (first == last) return line.mid(first + 1);
    return line.mid(first + 1, last - first - 1);
}
} // namespace

std::optional<QStringList> read() {
    QFile f(path());
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString text = Ansi::decode(f.readAll());
    if (text.isEmpty()) return std::nullopt;
    QStringList lines = text.split(u'\n');
    // The line break of the last line ends it; it starts no further line.
    if (lines.last().isEmpty()) lines.removeLast();
    if (lines.size() < 6) return std::nullopt;
    QStringList values;
    for (int i = 0; i < 6; ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        values << lineValue(line);
    }
    return values;
}

bool write(const QStringList& rates, QString* error) {
    QString text;
    for (const QString& r : rates) text += u'"' + r + QStringLiteral("\"\r\n");
    QSaveFile f(path());
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    f.write(Ansi::encode(text));
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
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

void frmSetRate::Form_Load() { SetLangSetRate(this); }

void frmSetRate::cmdSave_Click() {
    if (MsgBox(L(QStringLiteral("Are you sure?"), QStringLiteral("Sind Sie sicher?")), vbYesNo | vbQuestion) == vbYes) {
        QStringList rates;
        for (int i = 1; i <= 6; ++i) rates << txtDat[i]->Text();
        QString why;
        if (!RatesFile::write(rates, &why)) {
            const RuntimeError e = Err::permissionDenied();
            ShowProblem(QStringLiteral("SetRate_Save"), e.number, why.isEmpty() ? e.description : why);
        }
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
