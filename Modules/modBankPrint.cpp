#include "Modules/modBankPrint.h"

#include "Forms/Bank/frmBank.h"
#include "Forms/Main/frmPrint.h"
#include "Modules/modLanguage.h"
#include "Platform/Errors.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Printer.h"
#include "Platform/SaveError.h"

#include <QComboBox>
#include <QList>
#include <algorithm>

namespace StatementLayout {

int pageTotal(int rows) {
    const int entries = std::max(0, rows - 1);
    return std::max(1, (entries + kLinesPerPage - 1) / kLinesPerPage);
}

} // namespace StatementLayout

using namespace StatementLayout;

namespace {

const QList<double> kCheckingsColumns{0.5, 0.9, 1.5, 2.8, 4.5, 5.2, 5.8};
const QList<double> kSavingsColumns{0.5, 1.2, 1.8};

// The print position goes to the print form as text in the computer's
// number format, which is how the print form reads it back.
void moveTo(double x, double y) {
    frmPrint()->txtX->setTextValue(Runtime::CStr(x));
    frmPrint()->txtY->setTextValue(Runtime::CStr(y));
}

QString pageHeading(class frmBank* frm) {
    return frm->fraCheckings->Caption() + QStringLiteral(" ") + frm->lblYear->Caption() + QStringLiteral(": ") +
           frm->cboYear->currentText() + QStringLiteral(" ") + frm->lblMonth->Caption() + QStringLiteral(": ") +
           frm->cboMonth->currentText();
}

void printHeadings(class frmBank* frm, FlexGrid* grid, const QList<double>& columns) {
    moveTo(kLeftEdge, kHeadingY);
    frmPrint()->SetupPage(pageHeading(frm));
    for (int c = 0; c < columns.size(); ++c) {
        moveTo(columns[c], kTitlesY);
        frmPrint()->SetupPage(grid->TextMatrix(0, c));
    }
    moveTo(kLeftEdge, kFirstLineY);
}

// Printed straight on the printer, in the font of the last line, on the
// line below it, at the left edge of the printable area (the entries'
// first column): no printer prints at the paper's edge.
void printPageLine() {
    Printer& printer = Printer::instance();
    printer.setCurrentX(kLeftEdge);
    printer.Print(L(QStringLiteral("Page "), QStringLiteral("Seite ")) + QString::number(printer.Page()) +
                  QStringLiteral("/") + frmPrint()->txtPages->Text());
}

struct Statement {
    FlexGrid* grid;
    const QList<double>& columns;
    void (*headings)(class frmBank*);
    QString question;
    QString procedure;
};

void printStatement(class frmBank* frm, const Statement& s) {
    const int rows = s.grid->Rows();
    if (MsgBox(s.question.arg(pagesText(pageTotal(rows))), vbYesNo + vbQuestion) != vbYes) return;
    frm->setMousePointer(vbHourglass);
    Printer& printer = Printer::instance();
    try {
        frmPrint()->txtPages->setTextValue(QString::number(pageTotal(rows)));
        s.headings(frm);
        int onPage = 0;
        // A line that fails has been reported by the print form; the
        // rest of the job is not worth printing.
        for (int r = 1; r < rows && !printer.jobFailed(); ++r) {
            if (onPage == kLinesPerPage) {
                printPageLine();
                printer.NewPage();
                s.headings(frm);
                onPage = 0;
            }
            const double y = kFirstLineY + onPage * kLineStep;
            for (int c = 0; c < s.columns.size(); ++c) {
                moveTo(s.columns[c], y);
                frmPrint()->SetupPage(s.grid->TextMatrix(r, c));
            }
            ++onPage;
        }
        if (printer.jobFailed()) {
            printer.KillDoc();
        } else {
            printPageLine();
            frmPrint()->PrintObj();
        }
    } catch (const RuntimeError& e) {
        printer.KillDoc();
        frm->setMousePointer(vbDefault);
        ShowProblem(s.procedure, e.number, e.description);
        return;
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        printer.KillDoc();
        frm->setMousePointer(vbDefault);
        ShowProblem(s.procedure, e.number, e.description);
        return;
    }
    frm->setMousePointer(vbDefault);
}

} // namespace

void PrintChkHeadings(class frmBank* frm) { printHeadings(frm, frm->flxGrid, kCheckingsColumns); }
void PrintSavHeadings(class frmBank* frm) { printHeadings(frm, frm->flxgrid2, kSavingsColumns); }

void PrintCheckings(class frmBank* frm) {
    printStatement(frm, {frm->flxGrid, kCheckingsColumns, PrintChkHeadings,
                         L(QStringLiteral("Do you really want to print out the selected checkings account (%1)"),
                           QString::fromUtf8("Möchten Sie das angewählte Girokonto (%1) wirklich ausdrucken")),
                         QStringLiteral("PrintCheckings")});
}

void PrintSavings(class frmBank* frm) {
    printStatement(frm, {frm->flxgrid2, kSavingsColumns, PrintSavHeadings,
                         L(QStringLiteral("Do you really want to print out the selected savings account (%1)"),
                           QString::fromUtf8("Möchten Sie das angewählte Sparkonto (%1) wirklich ausdrucken")),
                         QStringLiteral("PrintSavings")});
}
