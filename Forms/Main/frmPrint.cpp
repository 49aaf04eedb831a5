#include "Forms/Main/frmPrint.h"

#include "Modules/modLanguage.h"
#include "Platform/Errors.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Printer.h"

#include <QDir>

class frmPrint* frmPrint() { return touchForm<class frmPrint>(); }

frmPrint::frmPrint() {
    setCaption(QStringLiteral("Page Setup"));
    setClientSizeTwips(3000, 1500);
    txtY = new TextBox(this);
    txtY->setText(QStringLiteral("0.5"));
    place(txtY, 100, 100, 1200, 300);
    txtX = new TextBox(this);
    txtX->setText(QStringLiteral("0.5"));
    place(txtX, 1400, 100, 1200, 300);
    txtPages = new TextBox(this);
    txtPages->setText(QStringLiteral("1"));
    place(txtPages, 100, 500, 1200, 300);
}

void frmPrint::SetupPage(const QString& text) {
    Printer& printer = Printer::instance();
    // The job has failed and the user knows: the rest of it is dropped.
    if (printer.jobFailed()) return;
    try {
        printer.setScaleMode(Printer::vbInches);
        printer.setFontSize(7);
        printer.setFontBold(Runtime::CDbl(txtY->Text()) <= 0.5);
        printer.setCurrentX(float(Runtime::CDbl(txtX->Text())));
        printer.setCurrentY(float(Runtime::CDbl(txtY->Text())));
        printer.Print(text);
    } catch (const RuntimeError& e) {
        printer.failJob();
        ShowProblem(QStringLiteral("SetupPage"), e.number, e.description);
    }
}

bool frmPrint::PrintObj() {
    Printer& printer = Printer::instance();
    try {
        // A job that failed before has been reported where it failed.
        if (!printer.EndDoc()) return false;
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("PrintObj"), e.number, e.description);
        return false;
    }
    const QString file = printer.documentFile();
    if (!file.isEmpty())
        MsgBox(L(QStringLiteral("No printer is set up. The printout was saved as:\n"),
                 QStringLiteral("Es ist kein Drucker eingerichtet. Der Ausdruck wurde gespeichert als:\n")) +
                   QDir::toNativeSeparators(file),
               vbInformation);
    return true;
}

QString pagesText(int pages) {
    if (pages == 1) return L(QStringLiteral("1 page"), QStringLiteral("1 Seite"));
    return QString::number(pages) + L(QStringLiteral(" pages"), QStringLiteral(" Seiten"));
}
