#pragma once
// Functions of the language runtime that texts, numbers and dates rely on.
// Everything follows the computer's regional settings, which tests may
// replace with setLocale().
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace Runtime {

// The regional settings in force (QLocale::system() unless a test set one).
QLocale locale();
void setLocale(const QLocale& l);
void resetLocale();

// Dates. The short form always ends in a four-digit year.
QString shortDate(const QDate& d);
QString longDate(const QDate& d);
// The time of day in the computer's time format, without a zone name.
QString timeText(const QTime& t);
// A date by a fixed pattern of the program: "dd", "mm" (month), "yyyy", "yy";
// every other character is literal ("mm/dd/yyyy" always has slashes).
QString formatDate(const QDate& d, const QString& pattern);
// A date as the computer's date settings write it (the short or long form,
// or day, month and year as numbers in the short form's order; a two-digit
// year means 1930 to 2029). Invalid when the text is no date.
QDate dateBySettings(const QString& text);
// A date in one of the program's fixed forms, "mm/dd/yyyy" or "dd.mm.yyyy",
// told apart by the third character; anything after the tenth is ignored.
QDate dateInProgramForm(const QString& text);

} // namespace Runtime
