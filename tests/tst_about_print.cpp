// The About window (texts in both languages, the moving name, the links,
// the version histories) and the print form (positions, bold headings,
// page breaks, the PDF file where no printer exists, failed jobs).
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmPrint.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Printer.h"
#include "Platform/Shell.h"
#include "TestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

using namespace TestSupport;

namespace {
RecordingPrinter* rec = nullptr;

void installRecorder() {
    auto p = std::make_unique<RecordingPrinter>();
    rec = p.get();
    Printer::install(std::move(p));
}

// Opens the About window as the menu does: modally, and it becomes active.
class frmAbout* openAbout() {
    Form::setModalHandler([](Form*) {});
    auto* f = frmAbout();
    f->Show(vbModal);
    processEvents();
    f->activateNow();
    return f;
}

// Ticks until the name has turned back from the right edge.
int ticksToTurn(class frmAbout* f) {
    for (int i = 1; i < 1000; ++i) {
        f->Timer->fire();
        if (f->Step < 0) return i;
    }
    return -1;
}

// A print job the way the bank lays out its statements: heading and column
// titles on every page, entries 0.2 inch apart, a new page once the next
// line would be at 10.3 inches or lower (the leading number of txtY), and
// a page line under the last entry of every page.
void printStatement(int entries) {
    auto* p = frmPrint();
    Printer& printer = Printer::instance();
    auto headings = [&] {
        p->txtX->setText(Runtime::CStr(0.5));
        p->txtY->setText(Runtime::CStr(0.2));
        p->SetupPage("Checkings");
        p->txtY->setText(Runtime::CStr(0.5));
        p->SetupPage("Date");
        p->txtX->setText(Runtime::CStr(1.2));
        p->SetupPage("Amount");
        p->txtY->setText(Runtime::CStr(Runtime::CDbl(p->txtY->Text()) + 0.2));
    };
    auto pageLine = [&] { printer.Print("Page " + QString::number(printer.Page()) + "/" + p->txtPages->Text()); };
    headings();
    for (int r = 1; r <= entries; ++r) {
        if (Runtime::Val(p->txtY->Text()) >= 10.3) {
            pageLine();
            printer.NewPage();
            headings();
        }
        p->txtX->setText(Runtime::CStr(0.5));
        p->SetupPage(QString::number(r));
        p->txtY->setText(Runtime::CStr(Runtime::CDbl(p->txtY->Text()) + 0.2));
    }
    pageLine();
}

QList<RecordingPrinter::Line> onPage(int page) {
    QList<RecordingPrinter::Line> out;
    for (const auto& l : rec->lines)
        if (l.page == page) out << l;
    return out;
}
} // namespace

class TestAboutPrint : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp();
        installRecorder();
        ShellSeam::enable(true);
        ShellSeam::clear();
    }
    void cleanup() {
        tearDown();
        Printer::install(nullptr);
    }

    // --- The print form ---------------------------------------------------------

    void setupPage_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<double>("inchesX");
        QTest::addColumn<double>("inchesY");
        QTest::addColumn<bool>("bold");
        const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
        QTest::newRow("page heading") << c << "0.5" << "0.2" << 0.5 << 0.2 << true;
        QTest::newRow("column titles") << c << "0.5" << "0.5" << 0.5 << 0.5 << true;
        QTest::newRow("first entry") << c << "0.9" << "0.7" << 0.9 << 0.7 << false;
        QTest::newRow("far corner") << c << "5.8" << "10.1" << 5.8 << 10.1 << false;
        QTest::newRow("comma: column titles") << de << "0,5" << "0,5" << 0.5 << 0.5 << true;
        QTest::newRow("comma: entry") << de << "1,2" << "0,7" << 1.2 << 0.7 << false;
        QTest::newRow("comma: far corner") << de << "5,8" << "10,1" << 5.8 << 10.1 << false;
    }
    void setupPage() {
        QFETCH(QLocale, locale);
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(double, inchesX);
        QFETCH(double, inchesY);
        setLocale(locale);
        auto* p = frmPrint();
        p->txtX->setText(x);
        p->txtY->setText(y);
        p->SetupPage("Grocery Store");
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(rec->lines.size(), 1);
        const auto line = rec->lines.first();
        QCOMPARE(line.text, QString("Grocery Store"));
        QVERIFY(qAbs(line.x - inchesX) < 1e-6);
        QVERIFY(qAbs(line.y - inchesY) < 1e-6);
        QCOMPARE(line.size, 7.0);
        QTEST(line.bold, "bold");
        QCOMPARE(line.page, 1);
        // The settings stay in force for the caller's own lines: the next
        // one starts at the left edge, one line lower, in the same font.
        Printer& printer = Printer::instance();
        QCOMPARE(printer.ScaleMode(), int(Printer::vbInches));
        QCOMPARE(printer.CurrentX(), 0.0);
        const double below = printer.CurrentY();
        QVERIFY(below > inchesY + 0.05 && below < inchesY + 0.2);
        printer.Print("Page 1/1");
        QCOMPARE(rec->lines.last().x, 0.0);
        QCOMPARE(rec->lines.last().y, below);
        QTEST(rec->lines.last().bold, "bold");
        QVERIFY(p->PrintObj());
        QCOMPARE(rec->jobsEnded, 1);
    }

    void pageBreaks_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<int>>("perPage");
        const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
        QTest::newRow("no entries") << c << 0 << QList<int>{0};
        QTest::newRow("one full page") << c << 48 << QList<int>{48};
        QTest::newRow("one more") << c << 49 << QList<int>{48, 1};
        QTest::newRow("99 entries") << c << 99 << QList<int>{48, 48, 3};
        // "10,3" reads 10 by the leading number: the break comes at 11,1.
        QTest::newRow("comma separator") << de << 99 << QList<int>{52, 47};
    }
    void pageBreaks() {
        QFETCH(QLocale, locale);
        QFETCH(int, entries);
        QFETCH(QList<int>, perPage);
        setLocale(locale);
        frmPrint()->txtPages->setText(QString::number(perPage.size()));
        printStatement(entries);
        QCOMPARE(rec->newPages, perPage.size() - 1);
        for (int page = 1; page <= perPage.size(); ++page) {
            const auto lines = onPage(page);
            // Heading, two column titles, the entries, the page line.
            QCOMPARE(lines.size(), 3 + perPage[page - 1] + 1);
            QCOMPARE(lines[0].text, QString("Checkings"));
            QVERIFY(qAbs(lines[0].y - 0.2) < 1e-6);
            QVERIFY(lines[0].bold && lines[1].bold && lines[2].bold);
            for (int i = 3; i < lines.size() - 1; ++i) {
                QVERIFY(!lines[i].bold);
                QVERIFY(qAbs(lines[i].y - (0.7 + 0.2 * (i - 3))) < 1e-6);
                QVERIFY(lines[i].y < 11.0);
            }
            const auto pageLine = lines.last();
            QCOMPARE(pageLine.text, QString("Page %1/%2").arg(page).arg(perPage.size()));
            QCOMPARE(pageLine.x, 0.0);
            // Regular after an entry; bold on a page without one.
            QCOMPARE(pageLine.bold, perPage[page - 1] == 0);
        }
        QVERIFY(frmPrint()->PrintObj());
        QCOMPARE(rec->jobsStarted, 1);
        QCOMPARE(rec->jobsEnded, 1);
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(Printer::instance().Page(), 1);
    }

    void twoJobsInARow() {
        auto* p = frmPrint();
        p->txtX->setText("5.8");
        p->txtY->setText("10.1");
        p->txtPages->setText("3");
        p->SetupPage("last of the first job");
        Printer::instance().NewPage();
        QVERIFY(p->PrintObj());
        // The second job starts where the first left its fields, on page 1.
        QCOMPARE(frmPrint(), p);
        QCOMPARE(p->txtX->Text(), QString("5.8"));
        QCOMPARE(p->txtY->Text(), QString("10.1"));
        QCOMPARE(p->txtPages->Text(), QString("3"));
        QCOMPARE(Printer::instance().Page(), 1);
        p->SetupPage("first of the second job");
        QVERIFY(p->PrintObj());
        QCOMPARE(rec->lines.size(), 2);
        const auto second = rec->lines.last();
        QCOMPARE(second.job, 2);
        QCOMPARE(second.page, 1);
        QVERIFY(qAbs(second.x - 5.8) < 1e-6 && qAbs(second.y - 10.1) < 1e-6);
    }

    void pdfWhereNoPrinter_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << "English" << "No printer is set up. The printout was saved as:\n";
        QTest::newRow("German") << "German" << "Es ist kein Drucker eingerichtet. Der Ausdruck wurde gespeichert als:\n";
    }
    void pdfWhereNoPrinter() {
        QFETCH(QString, language);
        QFETCH(QString, message);
        CurrentLanguage = language;
        Printer::install(std::make_unique<QtPrinter>(false));
        frmPrint()->txtPages->setText("2");
        printStatement(60);
        // The user hears of the file once, when the job is done; until then
        // nothing stands under a printout's name (a program cut off now
        // would leave none).
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(QDir(programFolder()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden), QStringList{});
        QVERIFY(frmPrint()->PrintObj());
        const QString file = App::file("Print 2026-03-15 100000.pdf");
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, message + QDir::toNativeSeparators(file));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbInformation));
        const QByteArray pdf = readFile("Print 2026-03-15 100000.pdf");
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/MediaBox [0 0 612.000000 792.000000]"), 2); // two Letter pages
        // A second job in the same second does not overwrite the first.
        frmPrint()->SetupPage("again");
        QVERIFY(frmPrint()->PrintObj());
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QVERIFY(MsgBoxSeam::last().text.endsWith("Print 2026-03-15 100000 (2).pdf"));
        QVERIFY(readFile("Print 2026-03-15 100000 (2).pdf").startsWith("%PDF"));
        QCOMPARE(readFile("Print 2026-03-15 100000.pdf"), pdf);
    }

    void emptyJobPrintsNothing() {
        Printer::install(std::make_unique<QtPrinter>(false));
        QVERIFY(frmPrint()->PrintObj());
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files).size(), 0);
    }

    void failedJob_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("box");
        QTest::newRow("printer refuses the job") << "start" << "Problem: SetupPage\n482: Printer error";
        QTest::newRow("folder for the PDF is gone") << "folder" << "Problem: SetupPage\n482: Printer error";
        QTest::newRow("position is no number") << "text" << "Problem: SetupPage\n13: Type mismatch";
        QTest::newRow("printer fails at the end") << "end" << "Problem: PrintObj\n482: Printer error";
        QTest::newRow("disk full under the PDF") << "disk full" << "Problem: PrintObj\n61: Disk full";
    }
    void failedJob() {
        QFETCH(QString, failure);
        QFETCH(QString, box);
        const QString gone = programFolder() + "/gone";
        const bool pdf = failure == "folder" || failure == "disk full";
        if (failure == "start") rec->failAtStart = true;
        if (failure == "end") rec->failAtEnd = true;
        QtPrinter* full = nullptr;
        if (failure == "disk full") {
            auto printer = std::make_unique<QtPrinter>(false);
            full = printer.get();
            full->failWritesAfter(4096);
            Printer::install(std::move(printer));
        }
        if (failure == "folder") {
            Printer::install(std::make_unique<QtPrinter>(false));
            // Nor can the per-user folder be made: a file stands in its way.
            writeFile("blocked", "");
            App::setUserDataFolder(programFolder() + "/blocked/data");
            App::setPath(gone);
        }
        auto* p = frmPrint();
        if (failure == "text") p->txtY->setText("abc");
        // Many lines, a page break and the caller's own page line: one box.
        for (int i = 0; i < 20; ++i) p->SetupPage("entry " + QString::number(i));
        Printer::instance().Print("Page 1/2");
        Printer::instance().NewPage();
        p->txtY->setText("0.7");
        p->SetupPage("on page 2");
        QVERIFY(!p->PrintObj());
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, box);
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QVERIFY(!QFileInfo::exists(gone));
        // Nothing of the job is left, under its name or a temporary one.
        QCOMPARE(QDir(programFolder()).entryList({"*Print*"}, QDir::Files | QDir::Hidden), QStringList{});
        if (!pdf) QCOMPARE(rec->jobsEnded, 0);

        // The next job starts afresh.
        MsgBoxSeam::clear();
        App::setPath(programFolder());
        if (full) full->failWritesAfter(std::nullopt);
        if (!pdf) {
            rec->failAtStart = rec->failAtEnd = false;
            rec->lines.clear();
        }
        p->txtY->setText("0.7");
        p->SetupPage("next job");
        QVERIFY(p->PrintObj());
        if (!pdf) {
            QCOMPARE(rec->lines.size(), 1);
            QCOMPARE(rec->jobsEnded, 1);
            QCOMPARE(MsgBoxSeam::shown().size(), 0);
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::last().icon, int(vbInformation));
        }
    }

    // --- The About window -------------------------------------------------------

    void aboutTexts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("credit");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("mail");
        QTest::addColumn<QString>("history"); // the German history button's name
        QTest::newRow("English") << "English" << "About QEM" << "Developed by" << "Version Background"
                                 << "e-Mail: team@quembly.example.org" << "German version history";
        QTest::newRow("German") << "German" << "Über ZOV" << "Entwickelt von" << "Fassungshintergrund"
                                << "e-Post Anschrift: team@quembly.example.org" << "Deutsche Versionsgeschichte";
        QTest::newRow("lower-case german") << "german" << "About QEM" << "Developed by" << "Version Background"
                                           << "e-Mail: team@quembly.example.org" << "German version history";
    }
    void aboutTexts() {
        QFETCH(QString, language);
        CurrentLanguage = language;
        auto* f = openAbout();
        QTEST(f->Caption(), "caption");
        QTEST(f->lblCredit->Caption(), "credit");
        QTEST(f->lblVersion->Caption(), "version");
        QTEST(f->lblMail->Caption(), "mail");
        QTEST(f->cmdDe->accessibleName(), "history");
        QCOMPARE(f->lblName->Caption(), QString("Quembly Team"));
        QCOMPARE(f->lblHP->Caption(), QString("https://quembly.example.org"));
        QCOMPARE(f->lblEng->Caption(), QString("English"));
        QCOMPARE(f->lblDe->Caption(), QString("Deutsch"));
        QCOMPARE(f->Timer->Interval(), 50);
        QVERIFY(f->Timer->running());
    }

    void nameBounces() {
        auto* f = openAbout();
        const int y = f->lblName->y();
        const int start = f->lblName->x();
        f->Timer->fire();
        QVERIFY(f->lblName->x() > start);
        // To the right edge (at most one step beyond), then back.
        const int toRight = ticksToTurn(f);
        QVERIFY(toRight > 0);
        const int right = f->lblName->x() + f->lblName->width();
        QVERIFY(right > f->width() && right <= f->width() + 7);
        f->Timer->fire();
        QVERIFY(f->lblName->x() + f->lblName->width() < right);
        int ticks = 0;
        while (f->Step < 0 && ticks++ < 1000) f->Timer->fire();
        QVERIFY(f->lblName->x() < 0 && f->lblName->x() >= -7);
        const int left = f->lblName->x();
        f->Timer->fire();
        QVERIFY(f->lblName->x() > left);
        QCOMPARE(f->lblName->y(), y);
    }

    // Closed with OK, or with Escape as every dialog is, and opened again.
    void reopeningStartsToTheRight_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("closed with OK") << false;
        QTest::newRow("closed with Escape") << true;
    }
    void reopeningStartsToTheRight() {
        QFETCH(bool, byEscape);
        auto* f = openAbout();
        const int design = f->lblName->x();
        QVERIFY(ticksToTurn(f) > 0);
        // Another window takes over and the About window comes back.
        Form other;
        other.activateNow();
        f->activateNow();
        QCOMPARE(f->Step, qint16(100));
        // Closed and opened again: from the design place, rightwards.
        if (byEscape) QTest::keyClick(f->cmdOK, Qt::Key_Escape);
        else QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QVERIFY(!isFormLoaded<class frmAbout>());
        processEvents();
        f = openAbout();
        QCOMPARE(f->lblName->x(), design);
        f->Timer->fire();
        QVERIFY(f->lblName->x() > design);
        QCOMPARE(f->Step, qint16(100));
    }

    void links_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("url");
        QTest::newRow("home page") << "lblHP" << "https://quembly.example.org";
        QTest::newRow("mail") << "lblMail" << "mailto:team@quembly.example.org";
    }
    void links() {
        QFETCH(QString, link);
        QFETCH(QString, url);
        CurrentLanguage = "German";
        auto* f = openAbout();
        QTest::mouseClick(link == "lblHP" ? f->lblHP : f->lblMail, Qt::LeftButton);
        QCOMPARE(ShellSeam::opened(), QStringList{url});
    }

    void histories_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("English") << false << "VersionENG.txt" << "Version 2.5.8" << "Typing Master";
        QTest::newRow("Deutsch") << true << "VersionDE.txt" << "Fassung 2.5.8" << "Kontoauszüge";
    }
    void histories() {
        QFETCH(bool, german);
        QFETCH(QString, heading);
        QFETCH(QString, phrase);
        auto* f = openAbout();
        PictureButton* button = german ? f->cmdDe : f->cmdEng;
        QTest::mouseClick(button, Qt::LeftButton);
        QDialog* viewer = (german ? f->oleDe : f->oleEng)->viewer();
        QVERIFY(viewer && viewer->isVisible());
        QTEST(viewer->windowTitle(), "title");
        auto* text = viewer->findChild<QPlainTextEdit*>();
        QVERIFY(text->isReadOnly());
        QVERIFY(text->toPlainText().contains(heading));
        QVERIFY(text->toPlainText().contains(phrase));
        QVERIFY(text->toPlainText().contains(german ? "Fassung 1.0" : "Version 1.0"));
        QVERIFY(!text->toPlainText().contains("@"));
        // A second click brings the same viewer forward.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(f->findChildren<QDialog*>().size(), 1);
        QTest::mouseClick(viewer->findChild<QPushButton*>(), Qt::LeftButton);
        processEvents();
        QVERIFY(!(german ? f->oleDe : f->oleEng)->viewer());
        QVERIFY(f->isVisible());
    }
};

QTEST_MAIN(TestAboutPrint)
#include "tst_about_print.moc"
