// Statements of the bank: the question with its page count, the pages
// with their headings, column titles, 48 entry lines and page numbers
// under "." and "," number settings, the savings columns, German texts,
// "No", a failing printer, and one real PDF read back.
#include "BankFixture.h"
#include "Forms/Main/frmPrint.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

using namespace TestSupport;
using BankFixture::Books;
using Ledger::Register;

namespace {
const QLocale kDE(QLocale::German, QLocale::Germany);
// The print form hands the printer single-precision positions.
constexpr double kSingle = 1e-6;
bool near(double a, double b) { return std::abs(a - b) < kSingle; }

// An account "5" with as many checkings entries as asked, all in 2025,
// logged in: the register shows them all.
class frmBank* checkingsOf(int entries) {
    {
        Books b(QStringLiteral("5"));
        for (int i = 0; i < entries; ++i) b.add(Register::Checkings, QDate(2025, 1, 1).addDays(i), 1 + i);
    }
    return BankFixture::logIn(QStringLiteral("5"));
}

QList<RecordingPrinter::Line> onPage(int page) {
    QList<RecordingPrinter::Line> out;
    for (const auto& line : printer().lines)
        if (line.page == page) out << line;
    return out;
}

bool isPageLine(const RecordingPrinter::Line& line) {
    return line.text.startsWith(QLatin1String("Page ")) || line.text.startsWith(QLatin1String("Seite "));
}

// The entry lines of a page: the number column's cells below the titles.
int entryLines(int page) {
    int n = 0;
    for (const auto& line : onPage(page))
        if (near(line.x, 0.5) && line.y > 0.6 && !isPageLine(line)) ++n;
    return n;
}

QStringList pageLines() {
    QStringList out;
    for (const auto& line : printer().lines)
        if (isPageLine(line)) out << line.text;
    return out;
}
} // namespace

class TestBankPrint : public QObject {
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() {
        tearDown();
        CurrentLanguage = QStringLiteral("English");
    }

    void pages_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QStringList>("pageLines");
        QTest::addColumn<QList<int>>("perPage");
        const QLocale c = QLocale::c();
        const QStringList one{"Page 1/1"}, two{"Page 1/2", "Page 2/2"}, three{"Page 1/3", "Page 2/3", "Page 3/3"};
        QTest::newRow("one entry") << c << 1 << "1 page" << one << QList<int>{1};
        QTest::newRow("a full page") << c << 48 << "1 page" << one << QList<int>{48};
        QTest::newRow("one over a page") << c << 49 << "2 pages" << two << QList<int>{48, 1};
        QTest::newRow("two full pages") << c << 96 << "2 pages" << two << QList<int>{48, 48};
        QTest::newRow("a hundred") << c << 100 << "3 pages" << three << QList<int>{48, 48, 4};
        QTest::newRow("comma: a full page") << kDE << 48 << "1 page" << one << QList<int>{48};
        QTest::newRow("comma: a hundred") << kDE << 100 << "3 pages" << three << QList<int>{48, 48, 4};
    }
    void pages() {
        QFETCH(QLocale, locale);
        QFETCH(int, entries);
        QFETCH(QString, pages);
        setLocale(locale);
        class frmBank* f = checkingsOf(entries);
        f->cmdPrint->click();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text,
                 "Do you really want to print out the selected checkings account (" + pages + ")");
        QCOMPARE(MsgBoxSeam::last().buttons, int(vbYesNo));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbQuestion));
        QTEST(pageLines(), "pageLines");
        QFETCH(QList<int>, perPage);
        QCOMPARE(printer().newPages, perPage.size() - 1);
        for (int page = 1; page <= perPage.size(); ++page) {
            QCOMPARE(entryLines(page), perPage[page - 1]);
            // Nothing below the page's last entry line but its number.
            for (const auto& line : onPage(page)) QVERIFY(line.y < 10.1 + kSingle || line.x == 0.5);
        }
        QCOMPARE(printer().jobsEnded, 1);
        QVERIFY(f->cursor().shape() != Qt::WaitCursor);
    }

    // Every line of a one-entry statement: place, boldness, text.
    void layout_data() {
        QTest::addColumn<bool>("savings");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("checkings") << false << QStringList{
            "0.5 0.2 b Checkbook Year: 2025 Month: All", "0.5 0.5 b No.", "0.9 0.5 b Date", "1.5 0.5 b Payee",
            "2.8 0.5 b Description", "4.5 0.5 b Transact", "5.2 0.5 b Balance", "5.8 0.5 b X", "0.5 0.7 ",
            "0.9 0.7 01.01.25", "1.5 0.7 Shop", "2.8 0.7 ", "4.5 0.7 $ 01.00", "5.2 0.7 $ 01.00", "5.8 0.7 ",
            "0.5 0.8 Page 1/1"};
        QTest::newRow("savings") << true << QStringList{
            "0.5 0.2 b Bankbook Year: 2025 Month: All", "0.5 0.5 b Balance", "1.2 0.5 b Transact",
            "1.8 0.5 b Date", "0.5 0.7 $ 01.00", "1.2 0.7 $ 01.00", "1.8 0.7 01.01.25", "0.5 0.8 Page 1/1"};
    }
    void layout() {
        QFETCH(bool, savings);
        {
            Books b(QStringLiteral("5"));
            b.add(Register::Checkings, QDate(2025, 1, 1), 1);
            b.add(Register::Savings, QDate(2025, 1, 1), 1);
        }
        class frmBank* f = BankFixture::logIn(QStringLiteral("5"));
        if (savings) f->lblSwitch[1]->click();
        f->cmdPrint->click();
        QStringList page;
        for (const auto& l : printer().lines) {
            QCOMPARE(l.size, 7.0);
            page << QString::asprintf("%.1f %.1f%s ", l.x, l.y, l.bold ? " b" : "") + l.text;
        }
        QTEST(page, "page");
    }

    void german() {
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=German\r\n");
        class frmBank* f = checkingsOf(49);
        f->cmdPrint->click();
        QCOMPARE(MsgBoxSeam::last().text,
                 QString::fromUtf8("Möchten Sie das angewählte Girokonto (2 Seiten) wirklich ausdrucken"));
        QCOMPARE(pageLines(), QStringList({"Seite 1/2", "Seite 2/2"}));
        MsgBoxSeam::clear();
        f->cboMonth->setCurrentIndex(0);
        f->cmdPrint->click();
        QCOMPARE(MsgBoxSeam::last().text,
                 QString::fromUtf8("Möchten Sie das angewählte Girokonto (1 Seite) wirklich ausdrucken"));
    }

    void answeredNo() {
        class frmBank* f = checkingsOf(3);
        MsgBoxSeam::queueAnswer(vbNo);
        const Qt::CursorShape before = f->cursor().shape();
        f->cmdPrint->click();
        QCOMPARE(printer().jobsStarted, 0);
        QVERIFY(printer().lines.isEmpty());
        QCOMPARE(f->cursor().shape(), before);
    }

    void failingPrinter_data() {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no printer at the start") << true << "Problem: SetupPage\n482: Printer error";
        QTest::newRow("failing at the end") << false << "Problem: PrintObj\n482: Printer error";
    }
    void failingPrinter() {
        QFETCH(bool, atStart);
        class frmBank* f = checkingsOf(60);
        printer().failAtStart = atStart;
        printer().failAtEnd = !atStart;
        f->cmdPrint->click();
        // The question, then one message for the whole job.
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QTEST(MsgBoxSeam::last().text, "problem");
        QCOMPARE(printer().jobsAbandoned, 1);
        QCOMPARE(printer().jobsEnded, 0);
        QVERIFY(!Printer::instance().jobRunning());
        QVERIFY(!Printer::instance().jobFailed());
        QVERIFY(f->cursor().shape() != Qt::WaitCursor);
        // The next job prints again.
        printer().failAtStart = printer().failAtEnd = false;
        f->cmdPrint->click();
        QCOMPARE(printer().jobsEnded, 1);
    }

    void realPdf() {
        Printer::install(std::make_unique<QtPrinter>(false));
        class frmBank* f = checkingsOf(49);
        // The user is told the file's name while the job still runs.
        Qt::CursorShape meanwhile = Qt::ArrowCursor;
        MsgBoxSeam::queueAction([] {});
        MsgBoxSeam::queueAction([&] { meanwhile = f->cursor().shape(); });
        f->cmdPrint->click();
        QCOMPARE(meanwhile, Qt::WaitCursor);
        QVERIFY(f->cursor().shape() != Qt::WaitCursor);
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        const QString told = MsgBoxSeam::last().text;
        const QStringList pdfs = QDir(App::dataFolder()).entryList({QStringLiteral("*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(told.endsWith(pdfs[0]));
        QFile file(App::dataFolder() + u'/' + pdfs[0]);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        int pages = 0;
        auto it = QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")).globalMatch(QString::fromLatin1(pdf));
        for (; it.hasNext(); it.next()) ++pages;
        QCOMPARE(pages, 2);
    }

    // No printer, and 12 KB left on the disk: the statement is not called
    // saved, and no cut-short file is left.
    void fullDiskLeavesNoPdf() {
        auto pdf = std::make_unique<QtPrinter>(false);
        pdf->failWritesAfter(12 * 1024);
        Printer::install(std::move(pdf));
        class frmBank* f = checkingsOf(49);
        MsgBoxSeam::queueAnswer(vbYes);
        f->cmdPrint->click();
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Problem: PrintObj\n61: Disk full"));
        QCOMPARE(QDir(App::dataFolder()).entryList({QStringLiteral("*Print*")}, QDir::Files | QDir::Hidden),
                 QStringList{});
        QVERIFY(f->cursor().shape() != Qt::WaitCursor);
    }
};

QTEST_MAIN(TestBankPrint)
#include "tst_bank_print.moc"
