// The budget worksheet opened from the bank: gross income typed monthly or
// yearly in both regions, currencies and number settings; refused input;
// the spinners and their limits; "New Budget"; a change of currency; and
// the categories built from the account's books.
#include "BankFixture.h"
#include "Forms/Bank/frmBudget.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/MsgBox.h"
#include "Platform/UpDown.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace TestSupport;
using Ledger::Register;

namespace {
// The bank logged in to account "5" and its "Budget" button pressed.
class frmBudget* openBudget(const QString& region = QStringLiteral("America"), bool euro = false) {
    class frmBank* bank = BankFixture::logIn(QStringLiteral("5"));
    if (euro) bank->optEuro->click();
    DateRegion = region;
    // The modal show returns at once; the sheet stays on screen.
    Form::setModalHandler([](Form*) {});
    bank->cmdBudget->click();
    return frmBudget();
}

// One press on the upper or the lower arrow of a spinner.
void spin(UpDown* spinner, int direction) {
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, direction > 0 ? 2 : spinner->height() - 3));
}

QString shown(std::initializer_list<const TextBox*> boxes) {
    QStringList out;
    for (const TextBox* b : boxes) out << b->Text();
    return out.join(u' ');
}
QString shown(const std::array<TextBox*, frmBudget::kCategories>& boxes) {
    return shown({boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5], boxes[6], boxes[7], boxes[8], boxes[9]});
}

QStringList messages() {
    QStringList out;
    for (const MsgBoxSeam::Shown& s : MsgBoxSeam::shown()) out << s.text;
    return out;
}

bool sheetOpen(class frmBudget* f) { return !f->fraGrossIncome->isEnabled() && f->fraExpenses->isEnabled(); }
} // namespace

class TestBudget : public QObject {
    Q_OBJECT

private slots:
    void init() {
        setUp();
        BudgetCreated = false;
        BankFixture::Books b(QStringLiteral("5"));
    }
    void cleanup() {
        tearDown();
        CurrentLanguage = QStringLiteral("English");
    }

    void income_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("euro");
        QTest::addColumn<bool>("yearly");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("figures"); // gross, tithe, tax, net, housing: monthly and yearly
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("monthly, dollars") << us << "America" << false << false << "1500"
            << "$1,500 $18,000 150.00 1800.00 225.00 2700.00 $1,125 $13,500 371.25 4455.00";
        QTest::newRow("monthly, Europe, euros") << us << "Europe" << true << false << "1500"
            << "€1500 €18000 150.00 1800.00 225.00 2700.00 €1125 €13500 371.25 4455.00";
        QTest::newRow("yearly, dollars") << us << "America" << false << true << "18000"
            << "$1,500.00 $18,000.00 150.00 1800.00 225.00 2700.00 $1,125.00 $13,500.00 371.25 4455.00";
        QTest::newRow("comma: yearly, euros") << de << "Europe" << true << true << "18000"
            << "€1.500,00 €18.000,00 150,00 1800,00 225,00 2700,00 €1.125,00 €13.500,00 371,25 4455,00";
        QTest::newRow("lowest monthly") << us << "America" << false << false << "100"
            << "$100 $1,200 10.00 120.00 15.00 180.00 $75 $900 24.75 297.00";
        QTest::newRow("lowest yearly") << us << "America" << false << true << "1200"
            << "$100.00 $1,200.00 10.00 120.00 15.00 180.00 $75.00 $900.00 24.75 297.00";
    }
    void income() {
        QFETCH(QLocale, locale);
        QFETCH(QString, region);
        QFETCH(bool, euro);
        QFETCH(bool, yearly);
        QFETCH(QString, typed);
        setLocale(locale);
        class frmBudget* f = openBudget(region, euro);
        TextBox* income = yearly ? f->txtGrossIncomeA : f->txtGrossIncomeM;
        income->setFocus();
        typeKeys(income, typed + "\r");
        QCOMPARE(messages(), QStringList());
        QVERIFY(sheetOpen(f));
        // The keyboard goes on from the disabled income to the tithe.
        QCOMPARE(f->focusWidget(), f->txtProTithe);
        QTEST(shown({f->txtGrossIncomeM, f->txtGrossIncomeA, f->txtTitheM, f->txtTitheA, f->txtTaxM, f->txtTaxA,
                     f->txtNetIncomeM, f->txtNetIncomeA, f->txtExpenseM[2], f->txtExpenseA[2]}),
              "figures");
    }

    void refused_data() {
        QTest::addColumn<bool>("yearly");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty monthly") << false << "" << "";
        QTest::newRow("letters kept out of the monthly field") << false << "ab" << "";
        QTest::newRow("monthly below 100") << false << "99" << "";
        QTest::newRow("yearly below 1200") << true << "1199" << "";
        QTest::newRow("yearly sign alone") << true << "$" << "";
        QTest::newRow("yearly letters") << true << "abc" << "Problem: txtGrossIncomeA_KeyUp\n13: Type mismatch";
    }
    void refused() {
        QFETCH(bool, yearly);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        class frmBudget* f = openBudget();
        f->txtProExpense[3]->setTextValue(QStringLiteral("20"));
        typeKeys(yearly ? f->txtGrossIncomeA : f->txtGrossIncomeM, typed + "\r");
        QCOMPARE(messages(), problem.isEmpty() ? QStringList() : QStringList{problem});
        QVERIFY(!sheetOpen(f));
        // Refused: the default percentages again; failed: the sheet as it was.
        QCOMPARE(f->txtProExpense[3]->Text(), problem.isEmpty() ? QStringLiteral("14") : QStringLiteral("20"));
    }

    // The spinners start at their texts, and return to them with "New Budget".
    void spinners() {
        class frmBudget* f = openBudget();
        typeKeys(f->txtGrossIncomeM, "1500\r");
        spin(f->updProTithe, +1);
        QCOMPARE(shown({f->txtProTithe, f->txtTitheM, f->txtNetIncomeM}), QStringLiteral("11 165.00 $1,110"));
        QCOMPARE(f->updProTithe->Max(), 75);
        spin(f->updProExpense[9], -1);
        spin(f->updProExpense[3], +1);
        QCOMPARE(shown({f->txtProExpense[9], f->txtExpenseM[9], f->txtProExpense[3], f->txtExpenseM[3]}),
                 QStringLiteral("0 .00 15 166.50"));
        // Bounded by what the other nine left before the press.
        QCOMPARE(f->updProExpense[3]->Max(), 15);
        spin(f->updProExpense[3], +1);
        QCOMPARE(f->txtProExpense[3]->Text(), QStringLiteral("15"));
        f->cmdNew->click();
        QVERIFY(!sheetOpen(f));
        QCOMPARE(f->focusWidget(), f->txtGrossIncomeM);
        QCOMPARE(shown(f->txtProExpense), QStringLiteral("5 5 33 14 15 5 12 5 5 1"));
        QCOMPARE(shown({f->txtProTithe, f->txtGrossIncomeM, f->txtExpenseA[2]}), QStringLiteral("10  "));
        QCOMPARE(f->updProExpense[3]->Value(), 14);
        QCOMPARE(f->updProExpense[9]->Value(), 1);
        QCOMPARE(f->updProTithe->Value(), 10);
        QCOMPARE(messages(), QStringList());
    }

    // Figures written with one currency are read back after the bank
    // switched to the other.
    void otherCurrency() {
        class frmBudget* f = openBudget();
        typeKeys(f->txtGrossIncomeM, "1500\r");
        f->Hide();
        frmBank()->optEuro->click();
        frmBank()->cmdBudget->click();
        spin(f->updProTithe, +1);
        QCOMPARE(messages(), QStringList());
        QCOMPARE(shown({f->txtGrossIncomeM, f->txtNetIncomeM}), QString::fromUtf8("€1,500 €1,110"));
    }

    void german() {
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=German\r\n");
        class frmBudget* f = openBudget();
        QCOMPARE(f->Caption(), QStringLiteral("ZOV Haushaltsplan"));
        QCOMPARE(f->lblExpense[0]->Caption(), QStringLiteral("Ersparnisse"));
        QCOMPARE(f->txtGrossIncomeM->accessibleName(), QStringLiteral("Verdienst Monatlich"));
    }

    void fromBooks_data() {
        QTest::addColumn<QString>("rows"); // register, date, amount, category; ", " between rows
        QTest::addColumn<int>("month");    // the bank's month; 0 for "All"
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("monthly");
        QTest::addColumn<QString>("message");
        const QString zero = QStringLiteral(".00 .00 .00 .00 .00 .00 .00 .00 .00 .00");
        QTest::newRow("no entries") << "" << 0 << "0 0 0 0 0 0 0 0 0 100" << zero << "";
        QTest::newRow("groceries, a row of no category")
            << "C 2025-03-02 -100 3, C 2025-03-05 -50 3, C 2025-03-06 -500 -1" << 0 << "0 0 0 13 0 0 0 0 0 87"
            << ".00 .00 .00 150.00 .00 .00 .00 .00 .00 .00" << "";
        QTest::newRow("insurance counts a third") << "C 2025-03-02 -300 8" << 0 << "0 0 0 0 0 0 0 0 9 91"
            << ".00 .00 .00 .00 .00 .00 .00 .00 100.00 .00" << "";
        QTest::newRow("savings in and out") << "S 2025-03-02 200 -1, S 2025-03-09 -50 -1" << 0
            << "13 0 0 0 0 0 0 0 0 87" << "150.00 .00 .00 .00 .00 .00 .00 .00 .00 .00" << "";
        QTest::newRow("savings taken out") << "S 2025-03-02 -50 -1" << 0 << "0 0 0 0 0 0 0 0 0 100"
            << "-50.00 .00 .00 .00 .00 .00 .00 .00 .00 .00" << "";
        QTest::newRow("only the chosen month") << "C 2025-03-02 -100 3, C 2025-04-02 -50 3" << 3
            << "0 0 0 9 0 0 0 0 0 91" << ".00 .00 .00 100.00 .00 .00 .00 .00 .00 .00" << "";
        QTest::newRow("overspent") << "C 2025-03-02 -1125 2, C 2025-03-03 -78.75 3" << 0 << "0 0 100 7 0 0 0 0 0 0"
            << ".00 .00 1125.00 78.75 .00 .00 .00 .00 .00 .00" << "Your expenses exceed your budget by 7%";
    }
    void fromBooks() {
        QFETCH(QString, rows);
        QFETCH(int, month);
        QFETCH(QString, message);
        {
            BankFixture::Books b(QStringLiteral("5"));
            for (const QString& row : rows.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
                const QStringList p = row.split(u' ');
                b.add(p[0] == "S" ? Register::Savings : Register::Checkings, QDate::fromString(p[1], Qt::ISODate),
                      p[2].toDouble(), p[3].toInt());
            }
        }
        class frmBudget* f = openBudget();
        if (month > 0) frmBank()->cboMonth->setCurrentIndex(month - 1);
        f->chkCreate->setChecked(true);
        typeKeys(f->txtGrossIncomeM, "1500\r");
        QCOMPARE(messages(), message.isEmpty() ? QStringList() : QStringList{message});
        QTEST(shown(f->txtProExpense), "percent");
        QTEST(shown(f->txtExpenseM), "monthly");
        QVERIFY(BudgetCreated);
        QCOMPARE(f->updProExpense[3]->Value(), f->txtProExpense[3]->Text().toInt());
    }

    // A share beyond a spinner's range stops at the spinner's end; the next
    // computation spreads by the percentages the build left.
    void builtOnce() {
        BankFixture::Books(QStringLiteral("5")).add(Register::Checkings, QDate(2025, 3, 2), -2250, 3);
        class frmBudget* f = openBudget();
        f->chkCreate->setChecked(true);
        typeKeys(f->txtGrossIncomeM, "1500\r");
        QCOMPARE(messages(), QStringList{"Your expenses exceed your budget by 100%"});
        QCOMPARE(f->txtProExpense[3]->Text(), QStringLiteral("200"));
        QCOMPARE(f->updProExpense[3]->Value(), 100);
        spin(f->updProExpense[5], +1);
        QCOMPARE(shown({f->txtExpenseM[3], f->txtExpenseM[5]}), QStringLiteral("2250.00 11.25"));
        QCOMPARE(messages().size(), 1);
    }

    // A second build in the same run reads the month chosen then; "New
    // Budget" lets the ticked box build again too.
    void buildsAgainFromTheChosenPeriod() {
        {
            BankFixture::Books b(QStringLiteral("5"));
            b.add(Register::Checkings, QDate(2025, 3, 2), -100, 3);
            b.add(Register::Checkings, QDate(2025, 4, 2), -50, 3);
        }
        class frmBudget* f = openBudget();
        frmBank()->cboMonth->setCurrentIndex(2);
        f->chkCreate->setChecked(true);
        typeKeys(f->txtGrossIncomeM, "1500\r");
        QCOMPARE(f->txtExpenseM[3]->Text(), QStringLiteral("100.00"));
        f->Hide();
        frmBank()->cboMonth->setCurrentIndex(3);
        frmBank()->cmdBudget->click();
        QVERIFY(!BudgetCreated);
        f->cmdNew->click();
        QVERIFY(f->chkCreate->isChecked());
        typeKeys(f->txtGrossIncomeM, "1500\r");
        QCOMPARE(f->txtExpenseM[3]->Text(), QStringLiteral("50.00"));
        QVERIFY(BudgetCreated);
        f->cmdNew->click();
        QVERIFY(!BudgetCreated);
    }

    // Tithe and tax typed up to the whole gross income leave nothing to
    // share: the build fails once, and builds when there is income again.
    void noNetIncome() {
        class frmBudget* f = openBudget();
        typeKeys(f->txtGrossIncomeM, "1500\r");
        f->txtProTithe->selectAll();
        typeKeys(f->txtProTithe, "84");
        f->chkCreate->setChecked(true);
        spin(f->updProTax, +1);
        QCOMPARE(messages(), QStringList{"Problem: CreateBudget\n11: Division by zero"});
        QVERIFY(!BudgetCreated);
        spin(f->updProTax, -1);
        QCOMPARE(messages().size(), 1);
        QCOMPARE(f->txtProExpense[9]->Text(), QStringLiteral("100"));
    }
};

QTEST_MAIN(TestBudget)
#include "tst_budget.moc"
