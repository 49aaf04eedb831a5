// The calendar: opened from the menu on today and only looked at; as the
// bank's date picker, opening on the bank's date and writing the picked day
// back with a click or Enter; for the planner, on the entry's day in the
// current year. Days are clicked in the month view's grid and keys typed
// into it, under several regional settings and date regions.
#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modMain.h"
#include "Platform/Controls.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QToolButton>
#include <QTest>

using namespace TestSupport;

namespace {
const QString europe = "W. Europe Standard Time", america = "Pacific Standard Time";

QLocale localeNamed(const QString& name) { return name == "C" ? QLocale::c() : QLocale(name); }

QAbstractItemView* grid(MonthView* mv) { return qobject_cast<QAbstractItemView*>(mv->focusProxy()); }

// Clicks a day in the month view's grid, as the user does; the day must be
// on the page shown (days of the neighbouring months at its ends count).
bool clickDay(MonthView* mv, const QDate& date) {
    QAbstractItemView* view = grid(mv);
    const QAbstractItemModel* m = view->model();
    const int firstRow = mv->horizontalHeaderFormat() == QCalendarWidget::NoHorizontalHeader ? 0 : 1;
    const QDate shown(mv->yearShown(), mv->monthShown(), 1);
    // The page begins with the end of the month before unless its first cell is the 1st.
    QDate month = m->index(firstRow, 0).data().toInt() == 1 ? shown : shown.addMonths(-1);
    bool firstCell = true;
    for (int r = firstRow; r < m->rowCount(); ++r) {
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex cell = m->index(r, c);
            const int day = cell.data().toInt();
            if (day == 1 && !firstCell) month = month.addMonths(1);
            firstCell = false;
            if (QDate(month.year(), month.month(), day) == date) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
                return true;
            }
        }
    }
    return false;
}

// A key typed where the calendar window has its focus.
void type(class frmClndr* f, Qt::Key key) {
    QWidget* target = f->focusWidget() ? f->focusWidget() : f;
    QTest::keyClick(target, key);
}

// What a screen reader reads of a control.
QString readerText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return a ? a->text(t) : QStringLiteral("(none)");
}

// The menu, started as the program starts it.
class frmChoice* startMenu() { return frmChoice(); }

// Shows the calendar modally as the menu and the planner do; `user` runs
// while it is open (after the window became active), then the user closes it.
bool showModal(const std::function<void(class frmClndr*)>& user) {
    bool wasModal = false;
    Form::setModalHandler([&](Form* form) {
        auto* f = qobject_cast<class frmClndr*>(form);
        if (!f) return;
        wasModal = f->windowModality() == Qt::ApplicationModal;
        f->activateNow();
        user(f);
        if (isFormLoaded<class frmClndr>()) f->close();
    });
    frmClndr()->Show(vbModal);
    Form::setModalHandler(nullptr);
    processEvents();
    return wasModal;
}
} // namespace

class TestCalendar : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp(true);
        frmClndr::FromBank = false;
        frmClndr::FromPlaner = false;
        bankField = new TextBox;
        frmClndr::bankDateField = [this] { return bankField; };
        frmClndr::planerSelectedEntry = nullptr;
    }
    void cleanup() {
        tearDown();
        frmClndr::bankDateField = nullptr;
        frmClndr::planerSelectedEntry = nullptr;
        delete bankField;
    }

    void fromMenu_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("clicked");
        for (const char* l : {"C", "en_US", "de_DE"}) {
            QTest::addRow("%s, Europe", l) << l << europe << QDate(2026, 3, 15) << QDate(2026, 3, 20);
            QTest::addRow("%s, America", l) << l << america << QDate(2026, 3, 15) << QDate(2026, 3, 2);
            // Read by its own month-first form, not as 3 April.
            QTest::addRow("%s, America, 4 March", l) << l << america << QDate(2026, 3, 4) << QDate(2026, 2, 28);
            QTest::addRow("%s, end of the year", l) << l << europe << QDate(2026, 12, 30) << QDate(2027, 1, 2);
        }
    }
    void fromMenu() {
        QFETCH(QString, locale);
        QFETCH(QString, zone);
        QFETCH(QDate, today);
        QFETCH(QDate, clicked);
        setLocale(localeNamed(locale));
        setZone(zone);
        setToday(today);
        auto* menu = startMenu();
        bankField->setTextValue("");
        const bool modal = showModal([&](class frmClndr* f) {
            QCOMPARE(f->mvClndr->Value(), today);
            QCOMPARE(f->mvClndr->Day(), today.day());
            QCOMPARE(f->mvClndr->Month(), today.month());
            QCOMPARE(f->mvClndr->Year(), today.year());
            QVERIFY(!f->mvClndr->MultiSelect());
            QVERIFY(menu->isVisible());
            QCOMPARE(f->focusWidget(), grid(f->mvClndr));
            // Clicking days and pressing Enter only select: nothing is
            // written and the window stays open.
            QVERIFY(clickDay(f->mvClndr, clicked));
            QCOMPARE(f->mvClndr->Value(), clicked);
            type(f, Qt::Key_Right);
            QCOMPARE(f->mvClndr->Value(), clicked.addDays(1));
            type(f, Qt::Key_Return);
            QVERIFY(isFormLoaded<class frmClndr>());
            QCOMPARE(bankField->Text(), QString());
        });
        QVERIFY(modal);
        QVERIFY(!isFormLoaded<class frmClndr>());
        QVERIFY(menu->isVisible());
        QVERIFY(!frmClndr::FromBank && !frmClndr::FromPlaner);
        QCOMPARE(bankField->Text(), QString());
    }

    void forBank_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QDate>("opensOn");
        QTest::addColumn<QString>("action"); // "click <iso date>", "Enter", "Right Enter", "KeypadEnter"
        QTest::addColumn<QString>("written");
        const QDate march15(2026, 3, 15), dec5(2026, 12, 5), eve(2003, 12, 24);
        QTest::newRow("month-first date, click") << "en_US" << march15 << "12/24/2003" << eve << "click 2004-01-03"
                                                 << "1/3/2004";
        QTest::newRow("empty field, Enter") << "en_US" << dec5 << "" << dec5 << "Enter" << "12/5/2026";
        QTest::newRow("keypad Enter") << "en_US" << dec5 << "" << dec5 << "KeypadEnter" << "12/5/2026";
        QTest::newRow("day-first date, click") << "de_DE" << march15 << "24.12.2003" << eve << "click 2004-01-03"
                                               << "03.01.2004";
        // Enter writes the short date form too: 4 September stays 4 September.
        QTest::newRow("day-first date, Enter") << "de_DE" << march15 << "04.09.2003" << QDate(2003, 9, 4) << "Enter"
                                               << "04.09.2003";
        QTest::newRow("empty field, Enter, day-first") << "de_DE" << dec5 << "" << dec5 << "Enter" << "05.12.2026";
        QTest::newRow("arrow keys, then Enter") << "de_DE" << march15 << "24.12.2003" << eve << "Right Enter"
                                                << "25.12.2003";
        QTest::newRow("two-digit year") << "de_DE" << march15 << "24.12.03" << eve << "Enter" << "24.12.2003";
        QTest::newRow("month-first text on a day-first computer") << "de_DE" << march15 << "12/24/2003" << march15
                                                                  << "Enter" << "15.03.2026";
        QTest::newRow("no date in the field") << "en_US" << march15 << "abc" << march15 << "click 2026-03-18"
                                              << "3/18/2026";
        QTest::newRow("no such day") << "en_US" << march15 << "2/30/2026" << march15 << "Enter" << "3/15/2026";
        QTest::newRow("C settings, their own short form") << "C" << march15 << "24 Dec 2003" << eve << "Enter"
                                                          << "24 Dec 2003";
        QTest::newRow("C settings, numbers") << "C" << march15 << "24/12/2003" << eve << "click 2003-12-01"
                                             << "1 Dec 2003";
    }
    void forBank() {
        QFETCH(QString, locale);
        QFETCH(QDate, today);
        QFETCH(QString, field);
        QFETCH(QDate, opensOn);
        QFETCH(QString, action);
        setLocale(localeNamed(locale));
        setToday(today);
        auto* menu = startMenu();
        menu->setVisible(false); // the bank hides the menu
        bankField->setTextValue(field);
        frmClndr::FromBank = true;
        auto* f = frmClndr();
        f->Show(); // modeless: the bank goes on working
        f->activateNow();
        QCOMPARE(f->mvClndr->Value(), opensOn);
        QVERIFY(!f->mvClndr->MultiSelect());
        for (const QString& step : action.split(u' ')) {
            if (step == "click") continue;
            if (step == "Enter") type(f, Qt::Key_Return);
            else if (step == "KeypadEnter") QTest::keyClick(f->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
            else if (step == "Right") type(f, Qt::Key_Right);
            else QVERIFY(clickDay(f->mvClndr, QDate::fromString(step, Qt::ISODate)));
        }
        QTEST(bankField->Text(), "written");
        QVERIFY(!isFormLoaded<class frmClndr>());
        processEvents();
        QVERIFY(frmClndr::FromBank);
        QVERIFY(!menu->isVisible());
    }

    void bankFlagStaysForLaterOpenings() {
        setLocale(QLocale("de_DE"));
        startMenu();
        frmClndr::FromBank = true;
        bankField->setTextValue("01.02.2026");
        frmClndr()->Show();
        frmClndr()->close();
        processEvents();
        QVERIFY(frmClndr::FromBank);
        // The next opening is the bank's again: it opens on the field's
        // date and a pick goes into the field.
        bankField->setTextValue("10.02.2026");
        auto* f = frmClndr();
        f->Show();
        f->activateNow();
        QCOMPARE(f->mvClndr->Value(), QDate(2026, 2, 10));
        QVERIFY(clickDay(f->mvClndr, QDate(2026, 2, 11)));
        QCOMPARE(bankField->Text(), QString("11.02.2026"));
        QVERIFY(!isFormLoaded<class frmClndr>());
    }

    void bankWithoutItsDateField() {
        startMenu();
        frmClndr::bankDateField = [] { return static_cast<TextBox*>(nullptr); };
        frmClndr::FromBank = true;
        auto* f = frmClndr();
        f->Show();
        f->activateNow();
        QCOMPARE(f->mvClndr->Value(), QDate(2026, 3, 15));
        type(f, Qt::Key_Return);
        QVERIFY(!isFormLoaded<class frmClndr>());
    }

    void forPlaner_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("usEntry");
        QTest::addColumn<QString>("euEntry");
        QTest::addColumn<bool>("askedEuropean");
        QTest::addColumn<QDate>("opensOn");
        const QDate dec5(2026, 12, 5);
        for (const char* l : {"C", "en_US", "de_DE"}) {
            QTest::addRow("%s: American list", l) << l << america << "07/04/1976  Independence Day"
                                                  << "04.07.1976  Independence Day" << false << QDate(2026, 7, 4);
            QTest::addRow("%s: European list", l) << l << europe << "12/24/1950  Oma" << "24.12.1950  Oma" << true
                                                  << QDate(2026, 12, 24);
            QTest::addRow("%s: 29 February in a common year", l) << l << europe << "02/29/2000  Leap"
                                                                 << "29.02.2000  Leap" << true << QDate(2026, 3, 1);
            QTest::addRow("%s: no entry selected", l) << l << america << "" << "" << false << dec5;
        }
        QTest::newRow("Central America reads the American list")
            << "de_DE" << "Zentralamerikanische Normalzeit" << "07/04/1976  X" << "04.07.1976  X" << false
            << QDate(2026, 7, 4);
    }
    void forPlaner() {
        QFETCH(QString, locale);
        QFETCH(QString, zone);
        QFETCH(QString, usEntry);
        QFETCH(QString, euEntry);
        QFETCH(bool, askedEuropean);
        QFETCH(QDate, opensOn);
        setLocale(localeNamed(locale));
        setZone(zone);
        setToday(QDate(2026, 12, 5));
        startMenu();
        QList<bool> asked;
        frmClndr::planerSelectedEntry = [&](bool european) {
            asked << european;
            return european ? euEntry : usEntry;
        };
        frmClndr::FromPlaner = true;
        const bool modal = showModal([&](class frmClndr* f) {
            QVERIFY(!frmClndr::FromPlaner);
            QCOMPARE(f->mvClndr->Value(), opensOn);
            QVERIFY(!f->mvClndr->MultiSelect());
            // Only shown: a click or Enter writes nothing and keeps it open.
            QVERIFY(clickDay(f->mvClndr, opensOn.addDays(-1)));
            type(f, Qt::Key_Return);
            QVERIFY(isFormLoaded<class frmClndr>());
        });
        QVERIFY(modal);
        QCOMPARE(asked, QList<bool>{askedEuropean});
        QVERIFY(!frmClndr::FromPlaner);
        QCOMPARE(bankField->Text(), QString());
    }

    // Started in the old year, the event of New Year's Day clicked after
    // midnight opens on the new year's day.
    void planerAfterMidnight() {
        setZone(europe);
        setToday(QDate(2026, 12, 30));
        startMenu();
        setToday(QDate(2027, 1, 1));
        frmClndr::planerSelectedEntry = [](bool) { return QString("01.01.2000  NewYear"); };
        frmClndr::FromPlaner = true;
        QDate shown;
        showModal([&](class frmClndr* f) { shown = f->mvClndr->Value(); });
        QCOMPARE(shown, QDate(2027, 1, 1));
    }

    // Over the window that asked, and Escape closes without a pick.
    void overTheAskingWindowEscapeCloses() {
        setLocale(QLocale("de_DE"));
        startMenu()->setVisible(false);
        Form asking;
        asking.setGeometry(500, 300, 600, 400);
        asking.show();
        asking.activateNow();
        bankField->setTextValue("01.02.2026");
        frmClndr::FromBank = true;
        auto* f = frmClndr();
        f->Show();
        f->activateNow();
        QVERIFY((f->frameGeometry().center() - asking.frameGeometry().center()).manhattanLength() <= 2);
        type(f, Qt::Key_Escape);
        QVERIFY(!isFormLoaded<class frmClndr>());
        QCOMPARE(bankField->Text(), QString("01.02.2026"));
    }

    void bankDateBeforePlanerEntry() {
        // Both flags: a date in the bank's field decides; the planner's
        // flag is then left for the planner's next opening.
        setLocale(QLocale("de_DE"));
        startMenu();
        bankField->setTextValue("01.02.2026");
        frmClndr::FromBank = true;
        frmClndr::FromPlaner = true;
        frmClndr::planerSelectedEntry = [](bool) { return QString("24.12.1950  Oma"); };
        QCOMPARE(frmClndr()->mvClndr->Value(), QDate(2026, 2, 1));
        QVERIFY(frmClndr::FromPlaner);
    }

    void captionAndPlace_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("next");
        QTest::newRow("English") << "English" << "Calendar" << "Previous month" << "Next month";
        QTest::newRow("German") << "German" << "Kalender" << "Vorheriger Monat" << QString::fromUtf8("Nächster Monat");
    }
    void captionAndPlace() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        startMenu();
        showModal([&](class frmClndr* f) {
            QTEST(f->Caption(), "caption");
            // The month arrows are named for screen readers.
            QTEST(readerText(f->mvClndr->findChild<QToolButton*>("qt_calendar_prevmonth"), QAccessible::Name), "previous");
            QTEST(readerText(f->mvClndr->findChild<QToolButton*>("qt_calendar_nextmonth"), QAccessible::Name), "next");
            // 4275 by 4320 twips at the top left; the window 10 twips wider.
            QCOMPARE(f->mvClndr->geometry(), QRect(0, 0, 285, 288));
            QCOMPARE(f->width(), 286);
        });
    }

    // A screen reader (listening from the start) is told the day that gets
    // the focus by its date in full as the selection moves, also when a
    // month on puts the new day where the old one was; it finds the date in
    // full on the grid and on the day that has the focus, and the month
    // shown beside the month arrows.
    void spokenAsItMoves_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        const QDate march15(2026, 3, 15);
        QTest::newRow("a day on") << "C" << march15 << int(Qt::Key_Right) << "Monday, 16 March 2026" << "March 2026";
        QTest::newRow("US settings, a week on")
            << "en_US" << march15 << int(Qt::Key_Down) << "Sunday, March 22, 2026" << "March 2026";
        QTest::newRow("German settings, a month on")
            << "de_DE" << march15 << int(Qt::Key_PageDown) << QString::fromUtf8("Mittwoch, 15. April 2026") << "April 2026";
        // February and March 2026 both begin on a Sunday.
        QTest::newRow("a month on, the day in the same place")
            << "C" << QDate(2026, 2, 15) << int(Qt::Key_PageDown) << "Sunday, 15 March 2026" << "March 2026";
    }
    void spokenAsItMoves() {
        QFETCH(QString, locale);
        QFETCH(QDate, today);
        QFETCH(int, key);
        setLocale(localeNamed(locale));
        setToday(today);
        ReaderListening reader;
        startMenu();
        showModal([&](class frmClndr* f) {
            QAccessibleInterface* days = QAccessible::queryAccessibleInterface(grid(f->mvClndr));
            const QAccessible::Id before = QAccessible::uniqueId(days->focusChild());
            reader.clear();
            type(f, Qt::Key(key));
            processEvents();
            // A reader speaks a focus moved to another object: the day before
            // is not the one told.
            QFETCH(QString, day);
            QStringList told;
            for (const ReaderListening::Heard& h : reader.heard())
                if (h.type == QAccessible::Focus && h.object == grid(f->mvClndr) && h.id != before) told << h.name;
            QVERIFY2(told.contains(day), qPrintable(told.join(u'|')));
            QTEST(readerText(grid(f->mvClndr), QAccessible::Description), "day");
            QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(grid(f->mvClndr))->focusChild();
            QVERIFY(focused);
            QTEST(focused->text(QAccessible::Name), "day");
            QTEST(readerText(f->mvClndr->findChild<QToolButton*>("qt_calendar_nextmonth"), QAccessible::Description),
                  "month");
        });
    }

    // Every day of the page, those of the neighbouring months included,
    // tells readers the date a click on it picks, read as soon as the
    // calendar opens with a reader listening from the start; where today
    // stands on the page moves the days that could be named wrongly.
    void everyDayTellsItsDate_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("focused");
        QTest::newRow("8 Dec 2026") << QDate(2026, 12, 8) << "Tuesday, 8 December 2026";
        QTest::newRow("17 Mar 2027") << QDate(2027, 3, 17) << "Wednesday, 17 March 2027";
        QTest::newRow("1 Feb 2026") << QDate(2026, 2, 1) << "Sunday, 1 February 2026";
    }
    void everyDayTellsItsDate() {
        QFETCH(QDate, today);
        setLocale(localeNamed("en_GB"));
        setToday(today);
        ReaderListening reader;
        startMenu();
        showModal([&](class frmClndr* f) {
            QAccessibleInterface* days = QAccessible::queryAccessibleInterface(grid(f->mvClndr));
            // Names and places first, all as the calendar opened; a click
            // on a day of another month shows that month, with cells of its own.
            QStringList names;
            QList<QPoint> places;
            for (int i = 0; i < days->childCount(); ++i) {
                QAccessibleInterface* cell = days->child(i);
                if (!cell || cell->role() != QAccessible::Cell) continue;
                QCOMPARE(days->indexOfChild(cell), i);
                names << cell->text(QAccessible::Name);
                places << grid(f->mvClndr)->viewport()->mapFromGlobal(cell->rect().center());
            }
            QCOMPARE(names.size(), 42);
            QStringList wrong;
            for (int i = 0; i < names.size(); ++i) {
                QTest::mouseClick(grid(f->mvClndr)->viewport(), Qt::LeftButton, {}, places[i]);
                const QString picked = QLocale("en_GB").toString(f->mvClndr->Value(), QLocale::LongFormat);
                if (names[i] != picked) wrong << names[i] + " picks " + picked;
                f->mvClndr->setValue(today);
            }
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
            QTEST(days->focusChild()->text(QAccessible::Name), "focused");
        });
    }

    // In the bank's date picker, the day a reader hears as the arrows move
    // is the day Enter writes into the bank's field.
    void bankPicksTheDayHeard_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("written");
        QTest::newRow("8 Dec 2026") << QDate(2026, 12, 8) << "Saturday, 12 December 2026" << "12 Dec 2026";
        QTest::newRow("17 Mar 2027") << QDate(2027, 3, 17) << "Sunday, 21 March 2027" << "21 Mar 2027";
        QTest::newRow("1 Feb 2026") << QDate(2026, 2, 1) << "Thursday, 5 February 2026" << "5 Feb 2026";
    }
    void bankPicksTheDayHeard() {
        QFETCH(QDate, today);
        setToday(today);
        ReaderListening reader;
        startMenu()->setVisible(false);
        frmClndr::FromBank = true;
        auto* f = frmClndr();
        f->Show();
        f->activateNow();
        QAbstractItemView* days = grid(f->mvClndr);
        // Read as it opened, the page is six weeks of days one after another.
        QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(days);
        QStringList named, page;
        for (int i = 0; i < cells->childCount(); ++i)
            if (QAccessibleInterface* cell = cells->child(i); cell && cell->role() == QAccessible::Cell)
                named << cell->text(QAccessible::Name);
        const QDate first = QLocale::c().toDate(named.value(0), QLocale::LongFormat);
        for (int i = 0; i < 42; ++i) page << QLocale::c().toString(first.addDays(i), QLocale::LongFormat);
        QCOMPARE(named, page);
        for (int i = 0; i < 4; ++i) type(f, Qt::Key_Right);
        processEvents();
        QString heard;
        for (const ReaderListening::Heard& h : reader.heard())
            if (h.type == QAccessible::Focus && h.object == days && h.role == QAccessible::Cell) heard = h.name;
        QTEST(heard, "heard");
        type(f, Qt::Key_Return);
        QTEST(bankField->Text(), "written");
    }

    // Month and day names, and the first day of the week, are those of the
    // computer's regional settings, whatever the program's language.
    void namesFollowTheRegionalSettings_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QStringList>("weekdays");
        const QStringList english{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        const QStringList german{"Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa.", "So."};
        QTest::newRow("German settings, English program") << "de_DE" << "English" << "Dezember" << german;
        QTest::newRow("German settings, German program") << "de_DE" << "German" << "Dezember" << german;
        QTest::newRow("US settings, German program") << "en_US" << "German" << "December" << english;
        QTest::newRow("US settings, English program") << "en_US" << "English" << "December" << english;
    }
    void namesFollowTheRegionalSettings() {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        setLocale(localeNamed(locale));
        setToday(QDate(2026, 12, 5));
        startMenu();
        showModal([&](class frmClndr* f) {
            const auto* monthButton = f->mvClndr->findChild<QToolButton*>("qt_calendar_monthbutton");
            QVERIFY(monthButton);
            QTEST(monthButton->text(), "month");
            const QAbstractItemModel* m = grid(f->mvClndr)->model();
            QStringList weekdays;
            for (int c = 0; c < m->columnCount(); ++c) weekdays << m->index(0, c).data().toString();
            QTEST(weekdays, "weekdays");
        });
    }

private:
    TextBox* bankField = nullptr;
};

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
