#pragma once
// The print form: never shown. The bank and the translator keep the print
// position and the page total of a job in its text boxes, hand it each text
// to print there, and end the job with PrintObj.
#include "Platform/Controls.h"
#include "Platform/Form.h"

class frmPrint : public Form {
    Q_OBJECT
public:
    frmPrint();

    // Inches from the left edge and from the top of the page, as text in
    // the computer's number format; the page total of the running job.
    TextBox* txtX;
    TextBox* txtY;
    TextBox* txtPages;

    // Prints the text as one line at txtX/txtY: 7 points, bold at the top
    // of the page (y of 0.5 inch or less). The first failure of a job is
    // reported once; the rest of that job is dropped.
    void SetupPage(const QString& text);
    // Ends the job: its pages go to the printer (or to the PDF file, whose
    // name the user is told). False when the job failed.
    bool PrintObj();

protected:
    QString formName() const override { return QStringLiteral("Print"); }
};

frmPrint* frmPrint();

// What a print question names: "1 page", "3 pages" ("1 Seite", "3 Seiten").
QString pagesText(int pages);
