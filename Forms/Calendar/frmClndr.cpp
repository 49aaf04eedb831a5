#include "Forms/Calendar/frmClndr.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Controls.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/Runtime.h"

#include <QRegularExpression>
#include <QTextCharFormat>
#include <algorithm>

class frmClndr* frmClndr() { return touchForm<class frmClndr>(); }

void SetLangClndr(class frmClndr* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Kalender"));
}

namespace {
// The month view's place and size on the window, in twips.
constexpr double viewWidth = 4275, viewHeight = 4320;

// A date as the computer's date settings write it: the short date form
// (with a two- or four-digit year), or day, month and year as numbers in
// the order of that form, separated by "/", "-", "." or blanks; a two-digit
// year means 1930 to 2029. Invalid when the text is no date.
QDate dateBySettings(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    const QLocale loc = Runtime::locale();
    const QString form = loc.dateFormat(QLocale::ShortFormat);
    auto century = [](int year, qsizetype digits) {
        return digits <= 2 ? (year < 30 ? 2000 + year : 1900 + year) : year;
    };

    static const QRegularExpression separators(QStringLiteral("[/.\\-\\s]+"));
    const QStringList parts = t.split(separators);
    static const QRegularExpression number(QStringLiteral("^\\d{1,4}$"));
    const auto isNumber = [](const QString& p) { return number.match(p).hasMatch(); };
    if (parts.size() == 3 && std::all_of(parts.begin(), parts.end(), isNumber)) {
        // Day, month and year in the order the short form has them.
        QList<std::pair<qsizetype, QChar>> order{
            {form.indexOf(u'd'), u'd'}, {form.indexOf(u'M'), u'M'}, {form.indexOf(u'y'), u'y'}};
        std::sort(order.begin(), order.end());
        int day = 0, month = 0, year = 0;
        for (int i = 0; i < 3; ++i) {
            const int value = parts[i].toInt();
            if (order[i].second == u'd') day = value;
            else if (order[i].second == u'M') month = value;
            else year = century(value, parts[i].size());
        }
        return QDate(year, month, day);
    }
    // Forms with month names (the short form of some settings, the long form).
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    QString wide = form;
    wide.replace(twoDigitYear, QStringLiteral("yyyy"));
    for (const QString& f : {wide, loc.dateFormat(QLocale::LongFormat)}) {
        const QDate d = loc.toDate(t, f);
        if (d.isValid()) return d;
    }
    return {};
}

// A date in one of the program's own fixed forms, told apart by the third
// character: "mm/dd/yyyy" or "dd.mm.yyyy" (what DateToday("medium") and the
// planner's lists write), whatever the computer's date settings.
QDate dateInItsOwnForm(const QString& text) {
    if (text.size() < 10) return {};
    const QString t = text.left(10);
    if (t[2] == u'/') return QDate::fromString(t, QStringLiteral("MM/dd/yyyy"));
    if (t[2] == u'.') return QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
    return {};
}
} // namespace

frmClndr::frmClndr() {
    setCaption(QStringLiteral("Calendar"));
    mvClndr = new MonthView(this);
    mvClndr->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    // The day names in a smaller size, so that they fit their columns.
    QTextCharFormat dayNames = mvClndr->headerTextFormat();
    dayNames.setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    mvClndr->setHeaderTextFormat(dayNames);
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    setClientSizeTwips(viewWidth + 10, viewHeight);
    mvClndr->onDateClick = [this](const QDate& DateClicked) { mvClndr_DateClick(DateClicked); };
    mvClndr->onKeyDown = [this](int& KeyCode, int Shift) { mvClndr_KeyDown(KeyCode, Shift); };
}

void frmClndr::Form_Load() {
    setFixedSize(px(mvClndr->width() * twipsPerPixel + 10), height());
    SetLangClndr(this);
    mvClndr->setMultiSelect(true);
    QDate day;
    if (FromBank && bankDateField) {
        if (const TextBox* field = bankDateField()) day = dateBySettings(field->Text());
    }
    if (!day.isValid() && FromPlaner) {
        FromPlaner = false;
        // An entry that gives no day this year (29 February) opens on today.
        day = planerDay();
    }
    if (day.isValid()) mvClndr->setSelStart(day);
    else mvClndr->setValue(dateInItsOwnForm(DateToday(QStringLiteral("medium"))));
    mvClndr->setMultiSelect(false);
}

void frmClndr::Form_Activate() {
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    mvClndr->setFocus();
}

QDate frmClndr::planerDay() const {
    if (!planerSelectedEntry) return {};
    const QString entry = planerSelectedEntry(DateRegion == QLatin1String("Europe"));
    // Day and month with their separators, then this year from the menu's date.
    return dateInItsOwnForm(entry.left(6) + frmChoice()->lblDate->Caption().mid(6, 4));
}

void frmClndr::mvClndr_DateClick(const QDate& DateClicked) {
    if (FromBank) pickForBank(DateClicked);
}

void frmClndr::mvClndr_KeyDown(int& KeyCode, int) {
    if (FromBank && KeyCode == Keys::vbKeyReturn) {
        KeyCode = 0;
        pickForBank(mvClndr->Value());
    }
}

void frmClndr::pickForBank(const QDate& day) {
    // The same short date form for a click and for Enter.
    if (bankDateField) {
        if (TextBox* field = bankDateField()) field->setTextValue(Runtime::shortDate(day));
    }
    Unload();
}
