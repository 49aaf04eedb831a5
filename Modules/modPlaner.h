#pragma once
// The planner's rules, apart from its window: the line forms of the event
// and to-do lists, the two files, the next events and the to-do ranks.
//
// An event recurs every year. It is shown as a line: the date, two blanks,
// the name (a hand-made line may have one blank or a tab instead). The US
// form "mm/dd/yyyy  name" is always kept (sorted, it is what the next
// events are computed from); the European form "dd.mm.yyyy  name" is kept
// beside it when today's date is written day first. "Planer.qem" holds the
// lines of the form in use, one quoted line each. Each line shows its own
// form by its third character, so a file written under the other form (a
// changed time zone, a copied folder) is read line by line and saved again
// in the form in use. A line that is no event in the form in use is set
// aside: not listed, and written back as it stood.
//
// A to-do item is the line " 07  Call Bob": a blank, the priority as two
// digits (1 to 99, unique), two blanks, the description. Sorted by text,
// the list is in priority order. "ToDo.qem" holds the lines in that order.
// A line of a hand-made file that is not in this form is kept as it stands.
//
// Of both files, a line that cannot be read at all (a control character in
// it) is set aside too (Platform/QuotedLines.h); an empty line is no entry.
//
// The window (Forms/Planer/frmPlaner.h) keeps the lists in its list boxes
// and calls the functions below; FindNextTarget, PlanerAdd and
// PlanerAddToDo are the module's procedures that work on the window.
#include "Platform/QuotedLines.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class frmPlaner;

// Set by adding and deleting events; cleared by a successful save and when
// the lists are loaded. The window asks about saving when it closes.
extern bool PlanerChanged;
// The same for the to-do list (adding, deleting, moving up and down).
extern bool ToDoChanged;
// "." when the events are written day first, "/" otherwise; the date box
// lets only this separator pass.
extern QString DateSeparator;

// Rebuilds the hidden keyed list and the next events of the window from its
// US event list, the spinner and today.
void FindNextTarget(class frmPlaner* frm);
// Checks the date and name boxes and adds the event to the lists.
void PlanerAdd(class frmPlaner* frm);
// Checks the priority and description boxes and adds the to-do item.
void PlanerAddToDo(class frmPlaner* frm);

namespace Events {

// The longest name the name box takes.
constexpr int maxName = 30;
// The longest look-ahead of the spinner, in days.
constexpr int maxLookAhead = 356;

// "mm/dd/yyyy  name" or, european, "dd.mm.yyyy  name".
QString line(const QDate& date, const QString& name, bool european);
// The date of a line by its own form (the third character tells which);
// invalid when the first ten characters are no date.
QDate dateOf(const QString& line);
// The name: what follows the date and the blanks or tabs after it.
QString nameOf(const QString& line);

// A date typed into the date box: month, day and year separated by "/", or
// day, month and year by "."; the year may be left out (this year) or have
// two digits (1930 to 2029). Invalid when the text is no such date.
QDate typedDate(const QString& text, QChar separator, const QDate& today);

// The order of the sorted event and to-do lists: by text, without regard to case.
bool lessThan(const QString& a, const QString& b);

// The US lines of the events of a read "Planer.qem", sorted. Each value is
// read by its own form (US or European, whatever the form in use), its name
// taken whole (the limit of maxName is for typing). In the US form a value with
// "/" in column 3 whose date is no date ("12/25/90", 29 February of a
// common year) is listed as it stands, as the US list always kept such
// values. Every other value whose date is no date is set aside in `file`;
// empty values are skipped. The values are taken out of `file` (a long
// file's lines are held once).
QStringList fromFile(QuotedLines::Contents& file, bool european);

// An event in the US list and the number that links it to its twin.
struct Entry {
    QString usLine;
    int link = 0;
};
// An event keyed by the days until its next occurrence.
struct Keyed {
    int days = 0;
    QString usLine;
    int link = 0;
    // "0000 " or "-0003 " (days ahead, negative) and the US line.
    QString text() const;
};
// The next day, from today on, that has the event's month and day; an
// event of 29 February falls on 1 March in a common year. Invalid when the
// line has no date.
QDate nextOccurrence(const QString& usLine, const QDate& today);
// One event keyed; none when its line has no date.
std::optional<Keyed> keyedEvent(const Entry& entry, const QDate& today);
// Every event with a date, nearest first; events of one day in the order
// of their lines.
QList<Keyed> keyed(const QList<Entry>& entries, const QDate& today);
// Where an event goes among the keyed events: after every event of an
// earlier day and every one of its day whose line does not come after its own.
qsizetype keyedPosition(const QList<Keyed>& keyed, const Keyed& event);

// One item of the next events: its text and the event's link number.
struct Shown {
    QString text;
    int link = 0;
};
// The next events are the first keyed events: today's; then with a
// look-ahead of 0 (and nothing today) every event of the nearest day with
// events, else every event within the look-ahead, day by day. This says
// how many.
qsizetype shownCount(const QList<Keyed>& keyed, int lookAhead);
// The text of a keyed event among the next events. It depends on the
// look-ahead only by whether that is 0.
QString shownText(const Keyed& event, int lookAhead, bool german);
// The next events, as shownCount and shownText give them.
QList<Shown> nextEvents(const QList<Keyed>& keyed, int lookAhead, bool german);
// The caption above the next events for a look-ahead.
QString lookAheadLabel(int lookAhead, bool german);

} // namespace Events

namespace ToDo {

constexpr int maxDescription = 30;

// " 07  Call Bob".
QString line(int priority, const QString& description);
// Columns 2-3 as a number; 0 when they are no number.
int priorityOf(const QString& line);
// From column 6, whole.
QString descriptionOf(const QString& line);
// Whether the line has the item form: a blank, two digits, two blanks.
bool inForm(const QString& line);

// The items of a read "ToDo.qem", sorted; empty values are skipped. The
// values are taken out of `file`.
QStringList fromFile(QuotedLines::Contents& file);

// What the priority and description boxes hold, checked in this order.
enum class Check { NoPriority, NoDescription, InvalidPriority, PriorityExists, InvalidDescription, TooLong, Ok };
struct Checked {
    Check check = Check::Ok;
    int priority = 0;
    // With PriorityExists: the position of the item holding the priority.
    int existing = -1;
};
Checked check(const QString& priority, const QString& description, const QStringList& items);

// The sorted items after the one at `position` is deleted: every item below
// it in the item form moves up one rank; other lines stay as they are.
QStringList afterDelete(const QStringList& items, int position);
// The sorted items after the ranks of the items at `a` and `b` are
// exchanged; `moved` gets the new position of the item that stood at `a`.
// A line not in the item form has no rank to exchange: nothing changes.
QStringList swapRanks(const QStringList& items, int a, int b, int* moved = nullptr);

} // namespace ToDo

// Sorting a list of lines by Events::lessThan.
QStringList sortedLines(QStringList lines);
