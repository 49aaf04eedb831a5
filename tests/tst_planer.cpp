// The planner's rules without its window: the next events for a fixed today
// (the year's end, leap and common years), the event lines read from
// "Planer.qem" in either form and mixed, dates as typed, and the to-do checks,
// deleting with renumbering and moving up and down.
#include "Modules/modPlaner.h"

#include <QTest>

namespace {
// The events in the order of the sorted US list, linked 1, 2, 3, ...
QList<Events::Entry> entries(const QStringList& usLines) {
    QList<Events::Entry> out;
    for (const QString& l : sortedLines(usLines)) out.append({l, int(out.size()) + 1});
    return out;
}

QStringList texts(const QList<Events::Shown>& shown) {
    QStringList out;
    for (const Events::Shown& s : shown) out << s.text;
    return out;
}
} // namespace

class TestPlaner : public QObject {
    Q_OBJECT
private slots:
    void nextEvents_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("lookAhead");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QStringList>("shown");
        const QDate dec6(2026, 12, 6);
        const QStringList annaBob{"12/06/1990  Anna", "12/09/1980  Bob"};
        QTest::newRow("today only, look-ahead 0") << dec6 << annaBob << 0 << false << QStringList{"Today: Anna"};
        QTest::newRow("today, then in 3 days") << dec6 << annaBob << 3 << false
                                               << QStringList{"Today: Anna", "In 3 Days: Bob"};
        QTest::newRow("German") << dec6 << annaBob << 3 << true << QStringList{"Heute: Anna", "In 3 Tagen: Bob"};
        QTest::newRow("every event of the nearest day")
            << QDate(2026, 3, 15) << QStringList{"04/01/2000  Ann", "04/01/1999  Ben", "05/01/2000  Cy"} << 0 << false
            << QStringList{"Upcoming: Ben", "Upcoming: Ann"};
        QTest::newRow("tomorrow after today") << dec6 << QStringList{"12/07/2001  Tom", "12/06/2001  Tia"} << 1 << false
                                              << QStringList{"Today: Tia", "In 1 Days: Tom"};
        QTest::newRow("days ahead, day by day")
            << dec6 << QStringList{"12/20/2001  Late", "12/08/2001  Soon", "12/08/1999  Also"} << 14 << false
            << QStringList{"In 2 Days: Also", "In 2 Days: Soon", "In 14 Days: Late"};
        QTest::newRow("across the year's end") << QDate(2026, 12, 30) << QStringList{"01/02/1990  New"} << 3 << false
                                               << QStringList{"In 3 Days: New"};
        QTest::newRow("earlier this month: nearest, next year")
            << dec6 << QStringList{"12/01/2000  Past"} << 0 << false << QStringList{"Upcoming: Past"};
        QTest::newRow("earlier this month: beyond the longest look-ahead")
            << dec6 << QStringList{"12/01/2000  Past"} << 356 << false << QStringList{};
        QTest::newRow("today's event not again a year ahead")
            << dec6 << QStringList{"12/06/2000  Once"} << 356 << false << QStringList{"Today: Once"};
        QTest::newRow("29 February, common year: on 1 March")
            << QDate(2027, 3, 1) << QStringList{"02/29/2000  Leap"} << 0 << false << QStringList{"Today: Leap"};
        QTest::newRow("29 February, common year: from 28 February")
            << QDate(2027, 2, 28) << QStringList{"02/29/2000  Leap"} << 1 << false << QStringList{"In 1 Days: Leap"};
        QTest::newRow("29 February, leap year") << QDate(2028, 2, 28) << QStringList{"02/29/2000  Leap", "03/01/2000  Mar"}
                                                << 2 << false << QStringList{"In 1 Days: Leap", "In 2 Days: Mar"};
        QTest::newRow("no events") << dec6 << QStringList{} << 0 << false << QStringList{};
    }
    void nextEvents() {
        QFETCH(QDate, today);
        QFETCH(QStringList, events);
        QFETCH(int, lookAhead);
        QFETCH(bool, german);
        QTEST(texts(Events::nextEvents(Events::keyed(entries(events), today), lookAhead, german)), "shown");
    }

    void fromFile_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("european");
        QTest::addColumn<QStringList>("usLines");
        QTest::addColumn<QStringList>("setAside");
        QTest::newRow("US lines as they stand") << QStringList{"12/24/1990  Anna", "01/02/2000  Bo"} << false
                                                << QStringList{"01/02/2000  Bo", "12/24/1990  Anna"} << QStringList{};
        QTest::newRow("European lines turned") << QStringList{"24.12.1990  Anna"} << true
                                               << QStringList{"12/24/1990  Anna"} << QStringList{};
        QTest::newRow("both forms in one file") << QStringList{"24.12.1990  Anna", "01/02/2000  Bo"} << true
                                                << QStringList{"01/02/2000  Bo", "12/24/1990  Anna"} << QStringList{};
        QTest::newRow("empty lines skipped") << QStringList{"12/24/1990  A", "", "01/01/2000  B", ""} << false
                                             << QStringList{"01/01/2000  B", "12/24/1990  A"} << QStringList{};
        QTest::newRow("30 February set aside") << QStringList{"02/30/1990  No", "03/01/1990  Yes"} << true
                                               << QStringList{"03/01/1990  Yes"} << QStringList{"0 \"02/30/1990  No\""};
        QTest::newRow("29 February of a common year set aside")
            << QStringList{"29.02.2001  No", "29.02.2000  Yes"} << false << QStringList{"02/29/2000  Yes"}
            << QStringList{"0 \"29.02.2001  No\""};
        QTest::newRow("a line of neither form set aside")
            << QStringList{"Buy milk", "1990-12-24  X", "12/24/1990  A", "2/3/2000  Short"} << false
            << QStringList{"12/24/1990  A"}
            << QStringList{"0 \"Buy milk\"", "0 \"1990-12-24  X\"", "1 \"2/3/2000  Short\""};
        QTest::newRow("US form: a slash in column 3 listed as it stands")
            << QStringList{"12/25/90  Two", "02/29/1997  Leap", "Buy milk"} << false
            << QStringList{"02/29/1997  Leap", "12/25/90  Two"} << QStringList{"2 \"Buy milk\""};
        QTest::newRow("empty lines not counted before a line set aside")
            << QStringList{"", "Buy milk", "12/24/1990  A", "", "x", "01/01/2000  B"} << false
            << QStringList{"01/01/2000  B", "12/24/1990  A"} << QStringList{"0 \"Buy milk\"", "1 \"x\""};
        QTest::newRow("one blank or a tab after the date")
            << QStringList{"26.12.1990 One", "27.12.1990\tTab"} << true
            << QStringList{"12/26/1990  One", "12/27/1990  Tab"} << QStringList{};
        const QString grandmother = "Grandmother Hildegard von Hohenzollern-Sigmaringen";
        QTest::newRow("European name longer than 30 taken whole") << QStringList{"24.06.1985  " + grandmother} << true
                                                                  << QStringList{"06/24/1985  " + grandmother}
                                                                  << QStringList{};
        QTest::newRow("European line in the US form: long name taken whole")
            << QStringList{"24.06.1985  " + grandmother} << false << QStringList{"06/24/1985  " + grandmother}
            << QStringList{};
        QTest::newRow("non-Latin names kept") << QStringList{QString::fromUtf8("24.12.1990  Trip to Łódź")} << true
                                              << QStringList{QString::fromUtf8("12/24/1990  Trip to Łódź")}
                                              << QStringList{};
    }
    void fromFile() {
        QFETCH(QStringList, values);
        QFETCH(bool, european);
        QuotedLines::Contents file;
        file.values = values;
        QTEST(Events::fromFile(file, european), "usLines");
        // Each line set aside after the number of values before it.
        QStringList setAside;
        for (const QuotedLines::SetAside& a : file.setAside) setAside << QString::number(a.before) + ' ' + a.line;
        QTEST(setAside, "setAside");
    }

    void typedDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QDate>("date");
        QTest::newRow("US") << "12/24/1990" << "/" << QDate(1990, 12, 24);
        QTest::newRow("European") << "24.12.1990" << "." << QDate(1990, 12, 24);
        QTest::newRow("no year: this year") << "12/24" << "/" << QDate(2026, 12, 24);
        QTest::newRow("two-digit year, 1900s") << "24.12.90" << "." << QDate(1990, 12, 24);
        QTest::newRow("29 February of a leap year") << "29.02.2000" << "." << QDate(2000, 2, 29);
        QTest::newRow("29 February of a common year") << "29.02.2001" << "." << QDate();
        QTest::newRow("month 13") << "13/01/2000" << "/" << QDate();
        QTest::newRow("US order with dots") << "12.24.1990" << "." << QDate();
        QTest::newRow("four parts") << "1/2/3/4" << "/" << QDate();
        QTest::newRow("empty part") << "24..1990" << "." << QDate();
    }
    void typedDate() {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QTEST(Events::typedDate(text, separator.at(0), QDate(2026, 3, 15)), "date");
    }

    void order_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("less");
        QTest::newRow("the date decides") << "01/02/2000  Zed" << "12/01/1990  ann" << true;
        QTest::newRow("names without regard to case") << "01/02/2000  ann" << "01/02/2000  Bob" << true;
        QTest::newRow("capital first when equal but for case") << "01/02/2000  Bob" << "01/02/2000  bob" << true;
        QTest::newRow("the shorter name first") << "01/02/2000  Ann" << "01/02/2000  Anna" << true;
        QTest::newRow("equal lines") << "01/02/2000  Ann" << "01/02/2000  Ann" << false;
        QTest::newRow("a blank before a letter") << "01/02/2000  A b" << "01/02/2000  Ab" << true;
    }
    void order() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QTEST(Events::lessThan(a, b), "less");
    }

    void eventLines() {
        QCOMPARE(Events::line(QDate(1990, 12, 24), "Anna", true), QString("24.12.1990  Anna"));
        QCOMPARE(Events::line(QDate(1990, 12, 24), "Anna", false), QString("12/24/1990  Anna"));
        QCOMPARE(ToDo::line(7, "Call Bob"), QString(" 07  Call Bob"));
    }

    void toDoCheck_data() {
        QTest::addColumn<QString>("priority");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("check");
        QTest::addColumn<int>("existing");
        using C = ToDo::Check;
        QTest::newRow("accepted") << "7" << "Call Bob" << int(C::Ok) << -1;
        QTest::newRow("no priority") << "" << "Call Bob" << int(C::NoPriority) << -1;
        QTest::newRow("no description") << "7" << "" << int(C::NoDescription) << -1;
        QTest::newRow("priority 00") << "00" << "x" << int(C::InvalidPriority) << -1;
        QTest::newRow("priority of the last item") << "08" << "x" << int(C::PriorityExists) << 2;
        QTest::newRow("leading blank") << "9" << " x" << int(C::InvalidDescription) << -1;
        QTest::newRow("31 characters") << "9" << QString(31, 'd') << int(C::TooLong) << -1;
        QTest::newRow("30 characters") << "99" << QString(30, 'd') << int(C::Ok) << -1;
    }
    void toDoCheck() {
        QFETCH(QString, priority);
        QFETCH(QString, description);
        const ToDo::Checked c = ToDo::check(priority, description, {" 01  a", " 06  b", " 08  c"});
        QTEST(int(c.check), "check");
        QTEST(c.existing, "existing");
    }

    void toDoDelete_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("Delete 2 from 1, 2, 3, 4 gives 1, 2, 3")
            << QStringList{" 01  a", " 02  b", " 03  c", " 04  d"} << 1 << QStringList{" 01  a", " 02  c", " 03  d"};
        QTest::newRow("Delete 1 from 1, 4, 7 gives 3, 6") << QStringList{" 01  a", " 04  b", " 07  c"} << 0
                                                          << QStringList{" 03  b", " 06  c"};
        QTest::newRow("the last changes no other") << QStringList{" 01  a", " 05  b"} << 1 << QStringList{" 01  a"};
        QTest::newRow("the only one") << QStringList{" 01  a"} << 0 << QStringList{};
        QTest::newRow("lines of another form stay as they are")
            << QStringList{" 01  a", " 02  b", " 7  seven", "Buy milk"} << 0
            << QStringList{" 01  b", " 7  seven", "Buy milk"};
        QTest::newRow("a long description stays whole")
            << QStringList{" 01  a", " 02  " + QString(40, 'd')} << 0 << QStringList{" 01  " + QString(40, 'd')};
    }
    void toDoDelete() {
        QFETCH(QStringList, items);
        QFETCH(int, position);
        QTEST(ToDo::afterDelete(items, position), "after");
    }

    void toDoMove_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("moved");
        QTest::newRow("up: 3 below 1") << QStringList{" 01  a", " 03  b", " 05  c"} << 1 << 0
                                       << QStringList{" 01  b", " 03  a", " 05  c"} << 0;
        QTest::newRow("down: 3 above 5") << QStringList{" 01  a", " 03  b", " 05  c"} << 1 << 2
                                         << QStringList{" 01  a", " 03  c", " 05  b"} << 2;
        QTest::newRow("a line of another form has no rank to exchange")
            << QStringList{" 01  a", "Buy milk"} << 0 << 1 << QStringList{" 01  a", "Buy milk"} << 0;
    }
    void toDoMove() {
        QFETCH(QStringList, items);
        QFETCH(int, from);
        QFETCH(int, to);
        int moved = -1;
        QTEST(ToDo::swapRanks(items, from, to, &moved), "after");
        QTEST(moved, "moved");
    }

};

QTEST_MAIN(TestPlaner)
#include "tst_planer.moc"
