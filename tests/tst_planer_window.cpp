// The planner window, driven as a user does: opened from the menu in the
// US and the European date form, events typed, added, picked, clicked
// (the calendar opens on their day) and deleted with their twins, the
// to-do list ranked, both lists saved, reloaded and asked about on
// closing, and the files missing, of the other form or not writable.
#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/Planer/frmPlaner.h"
#include "Modules/modLanguage.h"
#include "Modules/modPlaner.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/Storage.h"
#include "Platform/UpDown.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTest>
#include <QTextDocument>

using namespace TestSupport;

namespace {
const QString europe = "W. Europe Standard Time", america = "Pacific Standard Time";
const QString areYouSure = "Are you sure";
const QString changesMade = "You have made changes. Would you like to save those";

QByteArray quoted(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += '"' + l + "\"\r\n";
    return Ansi::encode(text);
}

QStringList items(const QListWidget* list) { return frmPlaner::texts(list); }
QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}
QStringList shownTexts() {
    QStringList out;
    for (const MsgBoxSeam::Shown& s : MsgBoxSeam::shown()) out << s.text;
    return out;
}

// The menu's planner button; the planner becomes the active window.
class frmPlaner* openPlaner() {
    class frmChoice* menu = frmChoice();
    menu->Show();
    QTest::mouseClick(menu->cmdPlaner, Qt::LeftButton);
    class frmPlaner* f = frmPlaner();
    f->activateNow();
    return f;
}

void addEvent(class frmPlaner* f, const QString& date, const QString& name) {
    typeKeys(f->txtDate, date + "\r");
    typeKeys(f->txtName, name + "\r");
}

void addToDo(class frmPlaner* f, const QString& priority, const QString& description) {
    typeKeys(f->txtPY, priority + "\r");
    typeKeys(f->txtToDo, description + "\r");
}

void clickItem(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Whether `list` is the one in front at the lists' place.
bool inFront(QListWidget* list) {
    QWidget* top = list->parentWidget()->childAt(list->geometry().center());
    return top == list || list->isAncestorOf(top);
}

// Clicks an event; the calendar that opens reports the day it shows and is
// closed by the user; the planner becomes active again. Returns the days
// shown (none when no calendar opened).
QList<QDate> clickForCalendar(class frmPlaner* f, QListWidget* list, int row) {
    QList<QDate> shown;
    Form::setModalHandler([&](Form* w) {
        auto* c = qobject_cast<class frmClndr*>(w);
        if (!c) return;
        shown << c->mvClndr->Value();
        c->close();
    });
    clickItem(list, row);
    Form::setModalHandler(nullptr);
    processEvents();
    f->activateNow();
    return shown;
}

// What a tooltip shows: the toolkit reads a text that may be markup as markup.
QString shownToolTip(const QWidget* w) {
    QTextDocument shown;
    if (Qt::mightBeRichText(w->toolTip())) shown.setHtml(w->toolTip());
    else shown.setPlainText(w->toolTip());
    return shown.toPlainText();
}

// The language the menu reads at start-up.
void setLanguage(const QString& language) { writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n"); }

bool closePlaner(class frmPlaner* f) {
    const bool closed = f->close();
    processEvents();
    return closed;
}
} // namespace

class TestPlanerWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp();
        PlanerChanged = false;
        ToDoChanged = false;
    }
    void cleanup() { tearDown(); }

    void opensFromTheMenu_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<bool>("european");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Europe: dots pass") << europe << true << "24/12.a1990" << "2412.1990";
        QTest::newRow("America: slashes pass") << america << false << "12/24.b1990" << "12/241990";
    }
    void opensFromTheMenu() {
        QFETCH(QString, zone);
        QFETCH(bool, european);
        setZone(zone);
        class frmPlaner* f = openPlaner();
        QVERIFY(f->isVisible());
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(f->lst, european ? f->lstSHOWeu : f->lstSHOW);
        QVERIFY(inFront(f->lst));
        // The other list is hidden, out of the tab order.
        QVERIFY(!(european ? f->lstSHOW : f->lstSHOWeu)->isVisible());
        // A missing file is an empty list, without a message.
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(f->lblCount->Caption(), QString("0 Entries"));
        QCOMPARE(f->lblCountToDo->Caption(), QString("0 Entries"));
        QCOMPARE(f->focusWidget(), f->txtPY);
        QFETCH(QString, typed);
        typeKeys(f->txtDate, typed);
        QTEST(f->txtDate->Text(), "shown");
        typeKeys(f->txtPY, "a9/.1");
        QCOMPARE(f->txtPY->Text(), QString("91"));
        QVERIFY(closePlaner(f));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QVERIFY(!isFormLoaded<class frmPlaner>());
        QVERIFY(frmChoice()->isVisible());
    }

    void germanTexts() {
        setLanguage("German");
        class frmPlaner* f = openPlaner();
        QCOMPARE(f->Caption(), QString("ZOV Planer"));
        QCOMPARE(f->cmdAdd->Caption(), QString("&Hinzu"));
        QCOMPARE(f->cmdDelToDo->accessibleName(), QString("Entf"));
        QCOMPARE(f->lblNext->Caption(), QString::fromUtf8("Demnächst"));
        addToDo(f, "1", "Milch");
        QCOMPARE(f->lblCountToDo->Caption(), QString::fromUtf8("1 Einträge"));
        f->UpDown->setValue(5);
        QCOMPARE(f->lblNext->Caption(), QString::fromUtf8("Für 5 Tage"));
    }

    void addAndDeleteTwins() {
        // European form: a new event goes to the end of the European list
        // and into its place in the US list, under one link number.
        setToday(QDate(2026, 12, 6));
        writeFile("Planer.qem", quoted({"24.12.1990  Anna", "01.01.2000  Neu"}));
        class frmPlaner* f = openPlaner();
        QCOMPARE(items(f->lstSHOWeu), (QStringList{"01.01.2000  Neu", "24.12.1990  Anna"}));
        addEvent(f, "6.12.1980", "Bob");
        QCOMPARE(items(f->lstSHOWeu), (QStringList{"01.01.2000  Neu", "24.12.1990  Anna", "06.12.1980  Bob"}));
        QCOMPARE(items(f->lstSHOW), (QStringList{"01/01/2000  Neu", "12/06/1980  Bob", "12/24/1990  Anna"}));
        QCOMPARE(frmPlaner::linkOf(f->lstSHOWeu->item(2)), frmPlaner::linkOf(f->lstSHOW->item(1)));
        QCOMPARE(items(f->cboNext), QStringList{"Today: Bob"});
        QCOMPARE(f->lblCount->Caption(), QString("3 Entries"));
        QCOMPARE(f->txtDate->Text(), QString());
        QCOMPARE(f->focusWidget(), f->txtDate);
        QVERIFY(PlanerChanged);

        QCOMPARE(clickForCalendar(f, f->lstSHOWeu, 1), QList<QDate>{QDate(2026, 12, 24)});
        QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        QCOMPARE(items(f->lstSHOWeu), (QStringList{"01.01.2000  Neu", "06.12.1980  Bob"}));
        QCOMPARE(items(f->lstSHOW), (QStringList{"01/01/2000  Neu", "12/06/1980  Bob"}));
        QCOMPARE(f->lblCount->Caption(), QString("2 Entries"));
        QCOMPARE(items(f->cboNext), QStringList{"Today: Bob"});

        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdSave, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, areYouSure);
        QCOMPARE(readFile("Planer.qem"), quoted({"01.01.2000  Neu", "06.12.1980  Bob"}));
        QVERIFY(!PlanerChanged);
        QVERIFY(closePlaner(f));
        QCOMPARE(shownTexts(), QStringList{areYouSure});
    }

    void addRefused_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("dateBox");
        QTest::newRow("leading blank") << "English" << "24.12.1990" << " Bob" << "Invalid Name" << false;
        QTest::newRow("31 characters") << "English" << "24.12.1990" << QString(31, 'n') << "Name too long" << false;
        QTest::newRow("31 February") << "English" << "31.02.1990" << "Bob" << "Invalid Date" << true;
        QTest::newRow("German") << "German" << "31.02.1990" << "Bob" << QString::fromUtf8("Ungültiges Datum") << true;
        QTest::newRow("30 characters") << "English" << "24.12.1990" << QString(30, 'n') << "" << false;
    }
    void addRefused() {
        QFETCH(QString, language);
        QFETCH(QString, date);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, dateBox);
        setLanguage(language);
        class frmPlaner* f = openPlaner();
        f->txtDate->setFocus();
        addEvent(f, date, name);
        if (message.isEmpty()) {
            QVERIFY(MsgBoxSeam::shown().isEmpty());
            QCOMPARE(items(f->lstSHOWeu), QStringList{"24.12.1990  " + name});
            return;
        }
        QCOMPARE(shownTexts(), QStringList{message});
        QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
        QCOMPARE(f->lstSHOW->count(), 0);
        TextBox* box = dateBox ? f->txtDate : f->txtName;
        QCOMPARE(f->focusWidget(), box);
        QCOMPARE(box->selectedText(), box->Text());
        QVERIFY(!PlanerChanged);
    }

    void nextEventsAndPick() {
        // Selections the program makes open no calendar; the user's pick
        // in the next events selects the event, and only a click opens it.
        setZone(america);
        setToday(QDate(2026, 12, 6));
        writeFile("Planer.qem", quoted({"12/09/1980  Bob", "12/06/1990  Anna", "12/20/1970  Cid"}));
        int calendars = 0;
        Form::setModalHandler([&](Form*) { ++calendars; });
        class frmPlaner* f = openPlaner();
        QCOMPARE(items(f->cboNext), QStringList{"Today: Anna"});
        QCOMPARE(f->cboNext->currentIndex(), 0);
        f->UpDown->setValue(3);
        QCOMPARE(f->lblNext->Caption(), QString("For 3 Days"));
        QCOMPARE(items(f->cboNext), (QStringList{"Today: Anna", "In 3 Days: Bob"}));
        f->cboNext->setFocus();
        QTest::keyClick(f->cboNext, Qt::Key_Down);
        QCOMPARE(f->lstSHOW->currentItem()->text(), QString("12/09/1980  Bob"));
        QCOMPARE(calendars, 0);
        QVERIFY(!PlanerChanged);
        Form::setModalHandler(nullptr);
        QCOMPARE(clickForCalendar(f, f->lstSHOW, 1), QList<QDate>{QDate(2026, 12, 9)});
        QCOMPARE(items(f->cboNext), (QStringList{"Today: Anna", "In 3 Days: Bob"}));
        QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        QCOMPARE(items(f->cboNext), QStringList{"Today: Anna"});
    }

    // The next events follow every change of the events, the spinner and the
    // day. A step is "spin n", "add mm/dd/yyyy name", "delete line" or
    // "day yyyy-mm-dd" (the clock moves on).
    void nextEventsFollowChanges_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("a nearer event replaces the upcoming ones")
            << QStringList{"add 12/07/2000 Tom"} << QStringList{"Upcoming: Tom"};
        QTest::newRow("an event of the nearest day joins them")
            << QStringList{"add 12/09/2000 Ann"} << QStringList{"Upcoming: Bob", "Upcoming: Ann"};
        QTest::newRow("today's event deleted: the nearest day's come")
            << QStringList{"add 12/06/2000 Tia", "delete 12/06/2000  Tia"} << QStringList{"Upcoming: Bob"};
        QTest::newRow("steps down") << QStringList{"spin 14", "spin 3"} << QStringList{"In 3 Days: Bob"};
        QTest::newRow("an event added within the look-ahead")
            << QStringList{"spin 14", "add 12/10/2000 Dee", "add 12/31/2000 Out"}
            << QStringList{"In 3 Days: Bob", "In 4 Days: Dee", "In 14 Days: Cid"};
        QTest::newRow("an event deleted within the look-ahead")
            << QStringList{"spin 14", "delete 12/09/1980  Bob"} << QStringList{"In 14 Days: Cid"};
        QTest::newRow("a day later, keyed again")
            << QStringList{"spin 3", "day 2026-12-07", "add 12/08/2000 Eve"}
            << QStringList{"In 1 Days: Eve", "In 2 Days: Bob"};
        QTest::newRow("midnight passes with the window open")
            << QStringList{"midnight 2026-12-09"} << QStringList{"Today: Bob"};
    }
    void nextEventsFollowChanges() {
        QFETCH(QStringList, steps);
        setZone(america);
        setToday(QDate(2026, 12, 6));
        writeFile("Planer.qem", quoted({"12/09/1980  Bob", "12/20/1970  Cid"}));
        class frmPlaner* f = openPlaner();
        for (const QString& step : steps) {
            const QString what = step.section(' ', 0, 0), rest = step.section(' ', 1);
            if (what == "spin") f->UpDown->setValue(rest.toInt());
            else if (what == "add") addEvent(f, rest.section(' ', 0, 0), rest.section(' ', 1));
            else if (what == "day") setToday(QDate::fromString(rest, Qt::ISODate));
            else if (what == "midnight") setNow(QDateTime(QDate::fromString(rest, Qt::ISODate), QTime(0, 0, 10)));
            else {
                f->lstSHOW->setCurrentRow(int(items(f->lstSHOW).indexOf(rest)));
                QTest::mouseClick(f->cmdDel, Qt::LeftButton);
            }
        }
        // Nothing but the clock moved: the window sees the new day by itself.
        QFETCH(QStringList, shown);
        QTRY_COMPARE(items(f->cboNext), shown);
        QCOMPARE(f->cboNext->currentIndex(), 0);
        // Each item stands for its event.
        f->cboNext->setCurrentIndex(f->cboNext->count() - 1);
        emit f->cboNext->activated(f->cboNext->count() - 1);
        QCOMPARE(Events::nameOf(f->lstSHOW->currentItem()->text()), f->cboNext->currentText().section(": ", 1));
    }

    // A next event's name is shown in the tooltip as it stands, never read
    // as markup, and a reader is told the text, not the tooltip's markup.
    void nextEventToolTip() {
        setZone(america);
        setToday(QDate(2026, 12, 6));
        writeFile("Planer.qem", quoted({"12/06/1990  <h1>Big</h1><img src=x>"}));
        class frmPlaner* f = openPlaner();
        QCOMPARE(shownToolTip(f->cboNext), QString("Today: <h1>Big</h1><img src=x>"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f->cboNext)->text(QAccessible::Description),
                 QString("Today: <h1>Big</h1><img src=x>"));
    }

    // From the keyboard: Tab into the list of one event and Enter opens its
    // day; a next event too long for the box shows whole in its list and
    // its tooltip.
    void eventsByKeyboard() {
        setZone(america);
        setToday(QDate(2026, 12, 6));
        const QString name = QString(30, 'W');
        writeFile("Planer.qem", quoted({"12/06/1990  " + name}));
        class frmPlaner* f = openPlaner();
        QCOMPARE(f->cboNext->toolTip(), "Today: " + name);
        const QFontMetrics metrics(f->cboNext->view()->font());
        const int textWidth = metrics.horizontalAdvance("Today: " + name);
        QVERIFY(textWidth > f->cboNext->width());
        f->cboNext->showPopup();
        QVERIFY(f->cboNext->view()->width() > textWidth);
        f->cboNext->hidePopup();
        QList<QDate> shown;
        Form::setModalHandler([&](Form* w) {
            if (auto* c = qobject_cast<class frmClndr*>(w)) {
                shown << c->mvClndr->Value();
                c->close();
            }
        });
        // The window has the keyboard, so the list learns it got the focus.
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->cmdSave->setFocus();
        QTest::keyClick(f->cmdSave, Qt::Key_Tab);
        QCOMPARE(f->focusWidget(), f->lstSHOW);
        QTest::keyClick(f->lstSHOW, Qt::Key_Return);
        Form::setModalHandler(nullptr);
        QCOMPARE(shown, QList<QDate>{QDate(2026, 12, 6)});
    }

    void calendarKeepsUnsavedEvents_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("row");
        QTest::newRow("America") << america << "07/04/1976" << "01/01/2000" << 1;
        // The European list keeps the order of adding.
        QTest::newRow("Europe") << europe << "04.07.1976" << "01.01.2000" << 0;
        // Dates day first, but the calendar reads the US list there.
        QTest::newRow("Central America") << "Zentralamerikanische Normalzeit" << "04.07.1976" << "01.01.2000" << 0;
    }
    void calendarKeepsUnsavedEvents() {
        QFETCH(QString, zone);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, row);
        setZone(zone);
        class frmPlaner* f = openPlaner();
        addEvent(f, first, "Independence");
        addEvent(f, second, "Neu");
        const QStringList before = items(f->lst);
        QCOMPARE(clickForCalendar(f, f->lst, row), QList<QDate>{QDate(2026, 7, 4)});
        // Back from the calendar: nothing loaded again over the changes.
        QCOMPARE(items(f->lst), before);
        QVERIFY(PlanerChanged);
        QVERIFY(!isFormLoaded<class frmClndr>());
        QVERIFY(!frmClndr::FromPlaner);
    }

    void filesRoundTrip() {
        // 300 events, quotes and umlauts: every one is saved and read back.
        setZone(america);
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QString("%1/%2/19%3  Event %4").arg(i % 12 + 1, 2, 10, QChar('0')).arg(i % 28 + 1, 2, 10, QChar('0'))
                         .arg(i % 100, 2, 10, QChar('0')).arg(i, 3, 10, QChar('0'));
        writeFile("Planer.qem", quoted(lines));
        class frmPlaner* f = openPlaner();
        QCOMPARE(f->lstSHOW->count(), 300);
        addEvent(f, "12/24/1990", QString::fromUtf8("Jörg \"Jö\" Müßig"));
        addToDo(f, "7", QString::fromUtf8("Grüße \"an\" Bob"));
        QCOMPARE(items(f->lstToDo), QStringList{QString::fromUtf8(" 07  Grüße \"an\" Bob")});
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdSave, Qt::LeftButton);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdSaveToDo, Qt::LeftButton);
        const QStringList saved = items(f->lstSHOW);
        QVERIFY(readFile("Planer.qem").contains("\"12/24/1990  J\xf6rg \"J\xf6\" M\xfc\xdfig\"\r\n"));
        QVERIFY(closePlaner(f));
        QCOMPARE(shownTexts(), (QStringList{areYouSure, areYouSure}));
        f = openPlaner();
        QCOMPARE(items(f->lstSHOW), saved);
        QCOMPARE(f->lstSHOW->count(), 301);
        QCOMPARE(items(f->lstToDo), QStringList{QString::fromUtf8(" 07  Grüße \"an\" Bob")});
        QCOMPARE(f->lblCount->Caption(), QString("301 Entries"));
    }

    // Characters Windows-1252 has not, typed, pasted or composed: the file
    // is written in UTF-8 and reads back the same.
    void beyondWindows1252_data() {
        QTest::addColumn<bool>("event");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("event") << true << "" << QString::fromUtf8("Trip to Łódź")
                               << QString::fromUtf8("12/24/1990  Trip to Łódź");
        QTest::newRow("to-do") << false << "" << QString::fromUtf8("Call Zoë ✓")
                               << QString::fromUtf8(" 07  Call Zoë ✓");
        QTest::newRow("event pasted") << true << QString::fromUtf8("Łódź ✓ Ωmega") << "^V"
                                      << QString::fromUtf8("12/24/1990  Łódź ✓ Ωmega");
        QTest::newRow("to-do composed") << false << "" << QString::fromUtf8("{Łódź ✓ Ωmega}")
                                        << QString::fromUtf8(" 07  Łódź ✓ Ωmega");
    }
    void beyondWindows1252() {
        QFETCH(bool, event);
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        QFETCH(QString, line);
        setZone(america);
        QGuiApplication::clipboard()->setText(clipboard);
        class frmPlaner* f = openPlaner();
        if (event) addEvent(f, "12/24/1990", text);
        else addToDo(f, "7", text);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(event ? f->cmdSave : f->cmdSaveToDo, Qt::LeftButton);
        QCOMPARE(readFile(event ? "Planer.qem" : "ToDo.qem"), '"' + line.toUtf8() + "\"\r\n");
        QVERIFY(closePlaner(f));
        f = openPlaner();
        QCOMPARE(items(event ? f->lstSHOW : f->lstToDo), QStringList{line});
    }

    // Every line of a file is shown in the form in use, or set aside: not
    // listed, the user told once how many, and saved back where it stood.
    // A file written under the other date form (a changed zone, a copied
    // folder) shows every event and is saved in the form in use.
    void fileLines_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QStringList>("saved");
        const QString events = "Planer.qem";
        const QString noLines = "%1 lines of \"%2\" could not be read. They stay in the file as they are.";
        const QString oneLine = "1 line of \"%1\" could not be read. It stays in the file as it is.";
        QTest::newRow("US file, European form")
            << europe << events << QStringList{"12/24/1990  Anna", "07/04/1976  Sam"}
            << QStringList{"04.07.1976  Sam", "24.12.1990  Anna"} << ""
            << QStringList{"04.07.1976  Sam", "24.12.1990  Anna"};
        QTest::newRow("European file, US form")
            << america << events << QStringList{"24.12.1990  Anna", "04.07.1976  Sam"}
            << QStringList{"07/04/1976  Sam", "12/24/1990  Anna"} << ""
            << QStringList{"07/04/1976  Sam", "12/24/1990  Anna"};
        QTest::newRow("an empty line in between")
            << america << events << QStringList{"12/24/1990  Anna", "", "07/04/1976  Sam"}
            << QStringList{"07/04/1976  Sam", "12/24/1990  Anna"} << ""
            << QStringList{"07/04/1976  Sam", "12/24/1990  Anna"};
        const QString nul = QString("01.01.2000  N") + QChar(0) + "ul";
        QTest::newRow("a line with a NUL byte")
            << europe << events << QStringList{"24.12.1990  Anna", "04.07.1976  Sam", nul, "02.02.2002  Bo"}
            << QStringList{"02.02.2002  Bo", "04.07.1976  Sam", "24.12.1990  Anna"} << oneLine.arg(events)
            << QStringList{"02.02.2002  Bo", "04.07.1976  Sam", nul, "24.12.1990  Anna"};
        const QStringList noDates{"12/25/90  TwoDigitYear", "2/3/2000  ShortDate", "24.12.1990  Anna",
                                  "1990-12-26  IsoDate", "02/29/1997  Leap97", "Buy milk"};
        QTest::newRow("lines in no date form") << europe << events << noDates << QStringList{"24.12.1990  Anna"}
                                               << noLines.arg(5).arg(events) << noDates;
        QTest::newRow("US form: a slash in column 3 listed as it stands")
            << america << events << QStringList{"12/25/90  TwoDigitYear", "Buy milk", "02/29/1997  Leap97"}
            << QStringList{"02/29/1997  Leap97", "12/25/90  TwoDigitYear"} << oneLine.arg(events)
            << QStringList{"02/29/1997  Leap97", "Buy milk", "12/25/90  TwoDigitYear"};
        QTest::newRow("only ISO dates") << europe << events << QStringList{"1990-12-26  A", "2000-01-01  B"}
                                        << QStringList{} << noLines.arg(2).arg(events)
                                        << QStringList{"1990-12-26  A", "2000-01-01  B"};
        QTest::newRow("one blank or a tab after the date")
            << europe << events << QStringList{"12/26/1990 OneBlank", "12/27/1990\tTab"}
            << QStringList{"26.12.1990  OneBlank", "27.12.1990  Tab"} << ""
            << QStringList{"26.12.1990  OneBlank", "27.12.1990  Tab"};
        const QString grandmother = "Grandmother Hildegard von Hohenzollern-Sigmaringen";
        QTest::newRow("a name longer than 30 in a US file, European form")
            << europe << events << QStringList{"06/24/1985  " + grandmother} << QStringList{"24.06.1985  " + grandmother}
            << "" << QStringList{"24.06.1985  " + grandmother};
        QTest::newRow("a to-do line with a control character")
            << europe << "ToDo.qem" << QStringList{" 01  a", " 02  b\v", " 03  c"} << QStringList{" 01  a", " 03  c"}
            << oneLine.arg("ToDo.qem") << QStringList{" 01  a", " 02  b\v", " 03  c"};
    }
    void fileLines() {
        QFETCH(QString, zone);
        QFETCH(QString, name);
        QFETCH(QStringList, file);
        QFETCH(QStringList, shown);
        QFETCH(QString, notice);
        QFETCH(QStringList, saved);
        setZone(zone);
        writeFile(name, quoted(file));
        class frmPlaner* f = openPlaner();
        QCOMPARE(shownTexts(), notice.isEmpty() ? QStringList{} : QStringList{notice});
        const bool events = name == "Planer.qem";
        QCOMPARE(items(events ? f->lst : f->lstToDo), shown);
        QCOMPARE((events ? f->lblCount : f->lblCountToDo)->Caption(), QString("%1 Entries").arg(shown.size()));
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(events ? f->cmdSave : f->cmdSaveToDo, Qt::LeftButton);
        QCOMPARE(readFile(name), quoted(saved));
    }

    // A file that is not text is said to be damaged, by its name, and left
    // as it is; the list stays empty.
    void damagedFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray binary(600, '\0');
        for (int i = 0; i < binary.size(); ++i) binary[i] = char(i * 7);
        // UTF-16 without its byte-order mark reads as text with NUL bytes.
        const QByteArray utf16(reinterpret_cast<const char*>(u"\"12/24/1990  Anna\"\r\n"), 40);
        QTest::newRow("binary events") << "Planer.qem" << binary;
        QTest::newRow("UTF-16 events without a mark") << "Planer.qem" << utf16;
        QTest::newRow("binary to-do list") << "ToDo.qem" << binary;
    }
    void damagedFile() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        writeFile(file, bytes);
        class frmPlaner* f = openPlaner();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, "The file \"" + file + "\" is damaged: it is not a text file. It was not read "
                                          "and stays as it is.");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(f->lst->count() + f->lstToDo->count(), 0);
        QVERIFY(closePlaner(f));
        QCOMPARE(readFile(file), bytes);
    }

    // A file that is there but cannot be read is said so, naming it, the
    // list stays empty, and a save does not replace the file, even when it
    // can be read again by then. Pipes and devices are refused without
    // being waited on or read.
    void unreadableFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("loadProblem");
        QTest::addColumn<QString>("saveProblem");
        const QString events = "Planer.qem", toDo = "ToDo.qem";
        const QString whenOpened = "(\"Planer.qem\" could not be read when it was opened and is not replaced)";
        QTest::newRow("a folder in its place") << events << "folder"
            << "Problem: PlanerLoad\n70: Permission denied (\"Planer.qem\" is a folder)"
            << "Problem: PlanerSave\n70: Permission denied " + whenOpened;
        QTest::newRow("no read permission") << events << "no permission"
            << "Problem: PlanerLoad\n70: Permission denied (\"Planer.qem\" could not be read)"
            << "Problem: PlanerSave\n70: Permission denied " + whenOpened;
        QTest::newRow("a read that failed once") << events << "I/O error once"
            << "Problem: PlanerLoad\n57: Device I/O error (\"Planer.qem\" could not be read)"
            << "Problem: PlanerSave\n57: Device I/O error " + whenOpened;
        QTest::newRow("to-do list, a read that failed once") << toDo << "I/O error once"
            << "Problem: PlanerLoadToDo\n57: Device I/O error (\"ToDo.qem\" could not be read)"
            << "Problem: PlanerSaveToDo\n57: Device I/O error (\"ToDo.qem\" could not be read when it was opened "
               "and is not replaced)";
        QTest::newRow("a pipe") << events << "pipe"
            << "Problem: PlanerLoad\n75: Path/File access error (\"Planer.qem\" is not a regular file)"
            << "Problem: PlanerSave\n75: Path/File access error " + whenOpened;
        QTest::newRow("a link to a device") << events << "device"
            << "Problem: PlanerLoad\n75: Path/File access error (\"Planer.qem\" is not a regular file)"
            << "Problem: PlanerSave\n75: Path/File access error " + whenOpened;
        QTest::newRow("more events than memory holds") << events << "short of memory"
            << "Problem: PlanerLoad\n7: Out of memory"
            << "Problem: PlanerSave\n7: Out of memory " + whenOpened;
        QTest::newRow("larger than the planner shows") << events << "too large"
            << "Problem: PlanerLoad\n7: Out of memory (\"Planer.qem\" is larger than 64 MB, more than the program "
               "reads)"
            << "Problem: PlanerSave\n7: Out of memory " + whenOpened;
    }
    void unreadableFile() {
        QFETCH(QString, file);
        QFETCH(QString, how);
        const QByteArray stored = file == "ToDo.qem" ? quoted({" 01  Call Bob", " 02  Shop"})
                                                     : quoted({"24.12.1990  Anna", "01.01.2000  NewYear"});
        // Short of memory: the file reads, the lists cannot be built.
        const bool shortOfMemory = how == "short of memory";
        if (shortOfMemory) writeFile(file, stored), Memory::failAbove(200);
        else makeUnreadable(file, how, stored);
        class frmPlaner* f = openPlaner();
        Memory::failAbove(std::nullopt);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "loadProblem");
        QCOMPARE(f->lstSHOWeu->count() + f->lstToDo->count(), 0);
        QCOMPARE(f->lblCount->Caption(), QString("0 Entries"));
        addEvent(f, "17.03.1990", "Paddy");
        addToDo(f, "3", "Paint");
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(file == "ToDo.qem" ? f->cmdSaveToDo : f->cmdSave, Qt::LeftButton);
        QTEST(MsgBoxSeam::last().text, "saveProblem");
        QVERIFY(file == "ToDo.qem" ? ToDoChanged : PlanerChanged);
        QVERIFY(shortOfMemory ? readFile(file) == stored : unreadableKept(file, how, stored));
        PlanerChanged = ToDoChanged = false;
    }

    // A save that fails keeps the changes: the window says why, and closing
    // asks again and stays open while the file does not take them.
    void failedSaveKeepsTheChanges_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("events");
        QTest::addColumn<QString>("problem");
        QTest::newRow("a folder in the file's place") << "folder" << 0 << "Problem: PlanerSave\n70: Permission denied";
        QTest::newRow("a full disk") << "full disk" << 1 << "Problem: PlanerSave\n61: Disk full";
        QTest::newRow("short of memory") << "short of memory" << 6000 << "Problem: PlanerSave\n7: Out of memory";
    }
    void failedSaveKeepsTheChanges() {
        QFETCH(QString, fault);
        QFETCH(int, events);
        QStringList lines;
        for (int i = 1; i <= events; ++i) lines << QString("01.01.2000  Event %1").arg(i, 4, 10, QChar('0'));
        const QByteArray stored = quoted(lines);
        if (events > 0) writeFile("Planer.qem", stored);
        class frmPlaner* f = openPlaner();
        addEvent(f, "24.12.1990", "Anna");
        // What it would take to write the file is not there.
        const auto setFault = [&](bool on) {
            if (fault == "full disk") Storage::failWritesAfter(on ? std::optional<qint64>(0) : std::nullopt);
            else if (fault == "short of memory") Memory::failAbove(on ? std::optional<qint64>(stored.size()) : std::nullopt);
            else if (on) QVERIFY(QDir(programFolder()).mkdir("Planer.qem"));
            else QVERIFY(QDir(programFolder()).rmdir("Planer.qem"));
        };
        setFault(true);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdSave, Qt::LeftButton);
        QTEST(MsgBoxSeam::last().text, "problem");
        QVERIFY(PlanerChanged);
        QCOMPARE(f->lst->count(), events + 1);
        QCOMPARE(f->lst->item(events)->text(), QString("24.12.1990  Anna"));
        // Closing asks; the save fails again and the window stays open.
        MsgBoxSeam::clear();
        MsgBoxSeam::queueAnswer(vbYes);
        MsgBoxSeam::queueAnswer(vbYes);
        QVERIFY(!closePlaner(f));
        QCOMPARE(MsgBoxSeam::shown().size(), 3);
        QVERIFY(isFormLoaded<class frmPlaner>());
        if (events > 0) QCOMPARE(readFile("Planer.qem"), stored);
        setFault(false);
        MsgBoxSeam::queueAnswer(vbYes);
        MsgBoxSeam::queueAnswer(vbYes);
        QVERIFY(closePlaner(f));
        QCOMPARE(readFile("Planer.qem"), quoted(lines << "24.12.1990  Anna"));
    }

    // Another program (an editor, a synchronisation tool) adds a line while
    // the planner is open: the save does not erase it, and says why.
    void changedElsewhereNotReplaced() {
        writeFile("Planer.qem", quoted({"24.12.1990  Anna"}));
        class frmPlaner* f = openPlaner();
        const QByteArray elsewhere = quoted({"24.12.1990  Anna", "07/04/1976  AddedElsewhere"});
        writeFile("Planer.qem", elsewhere);
        addEvent(f, "17.03.1990", "Paddy");
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdSave, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QString("Problem: PlanerSave\n75: Path/File access error (\"Planer.qem\" was "
                                                  "changed by another program since it was opened and is not replaced)"));
        QCOMPARE(readFile("Planer.qem"), elsewhere);
        QVERIFY(PlanerChanged);
        QCOMPARE(f->lst->count(), 2);
    }

    void closeQuestion_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("written");
        QTest::newRow("Yes, then sure") << QList<int>{vbYes, vbYes} << QStringList{changesMade, areYouSure} << true;
        QTest::newRow("Yes, then not sure") << QList<int>{vbYes, vbNo} << QStringList{changesMade, areYouSure} << false;
        QTest::newRow("No") << QList<int>{vbNo} << QStringList{changesMade} << false;
    }
    void closeQuestion() {
        QFETCH(QList<int>, answers);
        class frmPlaner* f = openPlaner();
        addEvent(f, "24.12.1990", "Anna");
        // Not sure at first: nothing written, and closing still asks.
        MsgBoxSeam::queueAnswer(vbNo);
        QTest::mouseClick(f->cmdSave, Qt::LeftButton);
        QVERIFY(PlanerChanged);
        MsgBoxSeam::clear();
        for (int a : answers) MsgBoxSeam::queueAnswer(a);
        QVERIFY(closePlaner(f));
        QTEST(shownTexts(), "asked");
        QTEST(QFile::exists(programFolder() + "/Planer.qem"), "written");
    }

    void toDoList() {
        writeFile("ToDo.qem", quoted({" 01  a", "", " 02  b", " 03  c", " 04  d"}));
        class frmPlaner* f = openPlaner();
        QCOMPARE(items(f->lstToDo), (QStringList{" 01  a", " 02  b", " 03  c", " 04  d"}));
        addToDo(f, "7", "Call Bob");
        QCOMPARE(items(f->lstToDo).last(), QString(" 07  Call Bob"));
        QCOMPARE(f->lblCountToDo->Caption(), QString("5 Entries"));
        QCOMPARE(f->focusWidget(), f->txtPY);
        addToDo(f, "07", "Again");
        QCOMPARE(MsgBoxSeam::last().text, QString("Priority already exists"));
        QCOMPARE(f->lstToDo->currentRow(), 4);
        QCOMPARE(f->txtPY->selectedText(), QString("07"));
        addToDo(f, "\b\b0", "x");
        QCOMPARE(MsgBoxSeam::last().text, QString("Invalid priority"));

        f->lstToDo->setCurrentRow(1);
        QTest::mouseClick(f->cmdDelToDo, Qt::LeftButton);
        QCOMPARE(items(f->lstToDo), (QStringList{" 01  a", " 02  c", " 03  d", " 06  Call Bob"}));
        QCOMPARE(f->lblCountToDo->Caption(), QString("4 Entries"));
        QVERIFY(f->lstToDo->selectedItems().isEmpty());
        QTest::mouseClick(f->cmdDelToDo, Qt::LeftButton);
        QCOMPARE(f->lstToDo->count(), 4);
    }

    void movesAreAskedAboutOnClosing() {
        writeFile("ToDo.qem", quoted({" 01  a", " 03  b"}));
        class frmPlaner* f = openPlaner();
        f->lstToDo->setCurrentRow(0);
        QTest::mouseClick(f->cmdUp, Qt::LeftButton);
        QCOMPARE(items(f->lstToDo), (QStringList{" 01  a", " 03  b"}));
        QTest::mouseClick(f->cmdDown, Qt::LeftButton);
        QCOMPARE(items(f->lstToDo), (QStringList{" 01  b", " 03  a"}));
        QCOMPARE(f->lstToDo->currentRow(), 1);
        QTest::mouseClick(f->cmdDown, Qt::LeftButton);
        QCOMPARE(items(f->lstToDo), (QStringList{" 01  b", " 03  a"}));
        MsgBoxSeam::queueAnswer(vbYes);
        MsgBoxSeam::queueAnswer(vbYes);
        QVERIFY(closePlaner(f));
        QCOMPARE(shownTexts(), (QStringList{changesMade, areYouSure}));
        QCOMPARE(readFile("ToDo.qem"), quoted({" 01  b", " 03  a"}));
        QVERIFY(!QFile::exists(programFolder() + "/Planer.qem"));
    }
};

QTEST_MAIN(TestPlanerWindow)
#include "tst_planer_window.moc"
