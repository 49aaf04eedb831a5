#include "Modules/modPlaner.h"

#include "Forms/Planer/frmPlaner.h"
#include "Modules/modLanguage.h"
#include "Platform/Clock.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Runtime.h"
#include "Platform/UpDown.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>

bool PlanerChanged = false;
bool ToDoChanged = false;
QString DateSeparator = QStringLiteral("/");

QStringList sortedLines(QStringList lines) {
    std::stable_sort(lines.begin(), lines.end(), Events::lessThan);
    return lines;
}

namespace {
// Drops the empty values of a read file (an empty line is no entry), each
// set-aside line staying after the same values.
void skipEmpty(QuotedLines::Contents& file) {
    QStringList values;
    values.reserve(file.values.size());
    QHash<qsizetype, QString> asStood;
    qsizetype next = 0;
    for (qsizetype i = 0; i < file.values.size(); ++i) {
        for (; next < file.setAside.size() && file.setAside[next].before <= i; ++next)
            file.setAside[next].before = values.size();
        if (file.values[i].isEmpty()) continue;
        if (const auto line = file.asStood.constFind(i); line != file.asStood.cend())
            asStood.insert(values.size(), *line);
        values << file.values[i];
    }
    for (; next < file.setAside.size(); ++next) file.setAside[next].before = values.size();
    file.values = values;
    file.asStood = asStood;
}
} // namespace

namespace Events {

QString line(const QDate& date, const QString& name, bool european) {
    const QString text = Runtime::formatDate(date, european ? QStringLiteral("dd.mm.yyyy") : QStringLiteral("mm/dd/yyyy"));
    return text + QString(12 - text.size(), u' ') + name;
}

QDate dateOf(const QString& line) { return Runtime::dateInProgramForm(line); }

QString nameOf(const QString& line) {
    qsizetype from = std::min<qsizetype>(10, line.size());
    while (from < line.size() && (line[from] == u' ' || line[from] == u'\t')) ++from;
    return line.mid(from);
}

QDate typedDate(const QString& text, QChar separator, const QDate& today) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,4}$"));
    const QStringList parts = text.trimmed().split(separator);
    if (parts.size() < 2 || parts.size() > 3) return {};
    for (const QString& p : parts)
        if (!digits.match(p).hasMatch()) return {};
    const bool dayFirst = separator == u'.';
    const int day = parts[dayFirst ? 0 : 1].toInt();
    const int month = parts[dayFirst ? 1 : 0].toInt();
    if (parts[0].size() > 2 || parts[1].size() > 2) return {};
    int year = today.year();
    if (parts.size() == 3) {
        year = parts[2].toInt();
        if (parts[2].size() <= 2) year += year < 30 ? 2000 : 1900;
        else if (year < 100) return {};
    }
    return QDate(year, month, day);
}

bool lessThan(const QString& a, const QString& b) {
    // Lines differ mostly in their dates: where the first difference lies
    // between two characters without case (digits, "/", ".", blanks), the
    // order is that of the characters, and folding the case of whole lines
    // would only cost time.
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i]) ++i;
    if (i == n) return a.size() < b.size();
    const auto caseless = [](QChar c) { return c.unicode() < 128 && !c.isLetter(); };
    if (caseless(a[i]) && caseless(b[i])) return a[i] < b[i];
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QStringList fromFile(QuotedLines::Contents& file, bool european) {
    // dateOf reads a value by its own separator.
    const auto listed = [&](const QString& value) {
        return dateOf(value).isValid() || (!european && value.size() >= 3 && value[2] == u'/');
    };
    file.setAsideIf([&](const QString& value) { return !value.isEmpty() && !listed(value); });
    skipEmpty(file);
    // The values become the lines: a long file's list is held once.
    QStringList lines = std::exchange(file.values, {});
    file.asStood.clear();
    for (QString& value : lines) {
        const QDate date = dateOf(value);
        if (date.isValid() && value[2] == u'.') value = line(date, nameOf(value), false);
    }
    return sortedLines(std::move(lines));
}

QString Keyed::text() const {
    // "0000" of -days, written by hand: the hidden list takes one per event.
    const QString digits = QString::number(days).rightJustified(4, u'0');
    return (days > 0 ? QStringLiteral("-") : QString()) + digits + u' ' + usLine;
}

QDate nextOccurrence(const QString& usLine, const QDate& today) {
    const QDate date = dateOf(usLine);
    if (!date.isValid()) return {};
    const auto inYear = [&](int year) {
        const QDate d(year, date.month(), date.day());
        // 29 February in a common year.
        return d.isValid() ? d : QDate(year, 3, 1);
    };
    const QDate thisYear = inYear(today.year());
    return thisYear >= today ? thisYear : inYear(today.year() + 1);
}

std::optional<Keyed> keyedEvent(const Entry& entry, const QDate& today) {
    const QDate next = nextOccurrence(entry.usLine, today);
    if (!next.isValid()) return std::nullopt;
    return Keyed{int(today.daysTo(next)), entry.usLine, entry.link};
}

namespace {
bool keyedBefore(const Keyed& a, const Keyed& b) {
    return a.days != b.days ? a.days < b.days : lessThan(a.usLine, b.usLine);
}
} // namespace

QList<Keyed> keyed(const QList<Entry>& entries, const QDate& today) {
    QList<Keyed> out;
    out.reserve(entries.size());
    for (const Entry& e : entries)
        if (const std::optional<Keyed> k = keyedEvent(e, today)) out.append(*k);
    std::stable_sort(out.begin(), out.end(), keyedBefore);
    return out;
}

qsizetype keyedPosition(const QList<Keyed>& keyed, const Keyed& event) {
    return std::upper_bound(keyed.begin(), keyed.end(), event, keyedBefore) - keyed.begin();
}

qsizetype shownCount(const QList<Keyed>& keyed, int lookAhead) {
    if (keyed.isEmpty()) return 0;
    // Today's events have the fewest days: with a look-ahead of 0 they are
    // the nearest day's.
    const int last = lookAhead == 0 ? keyed.first().days : lookAhead;
    return std::partition_point(keyed.begin(), keyed.end(), [&](const Keyed& k) { return k.days <= last; }) -
           keyed.begin();
}

QString shownText(const Keyed& event, int lookAhead, bool german) {
    const QString name = nameOf(event.usLine);
    if (event.days == 0) return (german ? QStringLiteral("Heute: ") : QStringLiteral("Today: ")) + name;
    if (lookAhead == 0) return (german ? QString::fromUtf8("Demnächst: ") : QStringLiteral("Upcoming: ")) + name;
    return (german ? QStringLiteral("In %1 Tagen: ") : QStringLiteral("In %1 Days: ")).arg(event.days) + name;
}

QList<Shown> nextEvents(const QList<Keyed>& keyed, int lookAhead, bool german) {
    QList<Shown> out;
    const qsizetype count = shownCount(keyed, lookAhead);
    for (qsizetype i = 0; i < count; ++i) out.append({shownText(keyed[i], lookAhead, german), keyed[i].link});
    return out;
}

QString lookAheadLabel(int lookAhead, bool german) {
    if (lookAhead == 0) return german ? QString::fromUtf8("Demnächst") : QStringLiteral("Upcoming");
    if (lookAhead == 1) return german ? QString::fromUtf8("Für Morgen") : QStringLiteral("For Tomorrow");
    return (german ? QString::fromUtf8("Für %1 Tage") : QStringLiteral("For %1 Days")).arg(lookAhead);
}

} // namespace Events

namespace ToDo {

QString line(int priority, const QString& description) {
    return Runtime::Format(double(priority), QStringLiteral(" 00")) + QStringLiteral("  ") + description;
}

int priorityOf(const QString& line) {
    bool ok = false;
    const int p = line.mid(1, 2).toInt(&ok);
    return ok ? p : 0;
}

QString descriptionOf(const QString& line) { return line.mid(5); }

bool inForm(const QString& line) {
    return line.size() >= 5 && line[0] == u' ' && line[1].isDigit() && line[2].isDigit() && line[3] == u' ' &&
           line[4] == u' ';
}

QStringList fromFile(QuotedLines::Contents& file) {
    skipEmpty(file);
    file.asStood.clear();
    return sortedLines(std::exchange(file.values, {}));
}

Checked check(const QString& priority, const QString& description, const QStringList& items) {
    if (priority.isEmpty()) return {Check::NoPriority};
    if (description.isEmpty()) return {Check::NoDescription};
    const double p = Runtime::Val(priority);
    if (p < 1 || p > 99) return {Check::InvalidPriority};
    for (int i = 0; i < items.size(); ++i)
        if (priorityOf(items[i]) == int(p)) return {Check::PriorityExists, int(p), i};
    if (description.front() == u' ' || description.back() == u' ') return {Check::InvalidDescription, int(p)};
    if (description.size() > maxDescription) return {Check::TooLong, int(p)};
    return {Check::Ok, int(p)};
}

QStringList afterDelete(const QStringList& items, int position) {
    QStringList out = items;
    if (position < 0 || position >= out.size()) return out;
    out.removeAt(position);
    for (int i = position; i < out.size(); ++i) {
        // A line of a hand-made file may have no rank at all, or rank 1;
        // it stays as it is rather than losing characters or falling to 0.
        if (!inForm(out[i]) || priorityOf(out[i]) <= 1) continue;
        out[i] = line(priorityOf(out[i]) - 1, descriptionOf(out[i]));
    }
    return sortedLines(out);
}

QStringList swapRanks(const QStringList& items, int a, int b, int* moved) {
    QStringList out = items;
    if (moved) *moved = a;
    if (!inForm(out[a]) || !inForm(out[b])) return out;
    const QString rankA = out[a].mid(1, 2);
    const QString rankB = out[b].mid(1, 2);
    out[a].replace(1, 2, rankB);
    out[b].replace(1, 2, rankA);
    const QString mover = out[a];
    out = sortedLines(out);
    if (moved) *moved = int(out.indexOf(mover));
    return out;
}

} // namespace ToDo

void FindNextTarget(class frmPlaner* frm) {
    // The keys count the days from today. Adding and deleting key or drop
    // one event (frmPlaner::addEvent, cmdDel_Click); every event is keyed
    // again only when the list was loaded or the day has changed since.
    const QDate today = Clock::today();
    if (frm->keyedOn() != today) {
        QList<Events::Entry> entries;
        entries.reserve(frm->lstSHOW->count());
        for (int i = 0; i < frm->lstSHOW->count(); ++i) {
            const QListWidgetItem* item = frm->lstSHOW->item(i);
            entries.append({item->text(), frmPlaner::linkOf(item)});
        }
        frm->setKeyed(Events::keyed(entries, today), today);
    }
    frm->showNextEvents(frm->UpDown->Value(), isGerman());
}

namespace {
// A refused input: the message, then the box gets the focus with its text selected.
void refuse(TextBox* box, const QString& english, const QString& german) {
    MsgBox(L(english, german), vbExclamation);
    box->setFocus();
    box->selectAll();
}
} // namespace

void PlanerAdd(class frmPlaner* frm) {
    const QString date = frm->txtDate->Text();
    const QString name = frm->txtName->Text();
    if (date.isEmpty()) return frm->txtDate->setFocus();
    if (name.isEmpty()) return frm->txtName->setFocus();
    if (name.front() == u' ' || name.back() == u' ')
        return refuse(frm->txtName, QStringLiteral("Invalid Name"), QString::fromUtf8("Ungültiger Name"));
    if (name.size() > Events::maxName)
        return refuse(frm->txtName, QStringLiteral("Name too long"), QStringLiteral("Name zu lang"));
    const QDate day = Events::typedDate(date, DateSeparator.at(0), Clock::today());
    if (!day.isValid())
        return refuse(frm->txtDate, QStringLiteral("Invalid Date"), QString::fromUtf8("Ungültiges Datum"));
    frm->addEvent(day, name);
    frm->showCount();
    FindNextTarget(frm);
    frm->txtName->clear();
    frm->txtDate->clear();
    frm->txtDate->setFocus();
    PlanerChanged = true;
}

void PlanerAddToDo(class frmPlaner* frm) {
    const ToDo::Checked c = ToDo::check(frm->txtPY->Text(), frm->txtToDo->Text(), frmPlaner::texts(frm->lstToDo));
    switch (c.check) {
    case ToDo::Check::NoPriority: return frm->txtPY->setFocus();
    case ToDo::Check::NoDescription: return frm->txtToDo->setFocus();
    case ToDo::Check::InvalidPriority:
        return refuse(frm->txtPY, QStringLiteral("Invalid priority"), QString::fromUtf8("Ungültiger Rang"));
    case ToDo::Check::PriorityExists:
        frm->lstToDo->setCurrentRow(c.existing);
        return refuse(frm->txtPY, QStringLiteral("Priority already exists"), QStringLiteral("Rang besteht bereits"));
    case ToDo::Check::InvalidDescription:
        return refuse(frm->txtToDo, QStringLiteral("Invalid description"), QString::fromUtf8("Ungültige Beschreibung"));
    case ToDo::Check::TooLong:
        return refuse(frm->txtToDo, QStringLiteral("Description too long"), QStringLiteral("Beschreibung zu lang"));
    case ToDo::Check::Ok: break;
    }
    frmPlaner::addSorted(frm->lstToDo, ToDo::line(c.priority, frm->txtToDo->Text()));
    frm->showCountToDo();
    frm->txtToDo->clear();
    frm->txtPY->clear();
    frm->txtPY->setFocus();
    ToDoChanged = true;
}
