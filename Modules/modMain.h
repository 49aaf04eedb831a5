#pragma once
// Program-wide routines: version, language load and save, today's date and
// the date region, the way back to the menu, small shared helpers.
#include <QList>
#include <QString>

class Label;

constexpr int VersionMajor = 2, VersionMinor = 5, VersionRevision = 8;
// "2.5.8"
QString versionText();
// "2.58": major, ".", minor and the revision's first digit.
QString shortVersionText();

void LoadLanguage();
// Writes the current language to "QEM.ini", tells the user to restart and
// ends the program. When the file cannot be written the user is told why
// and the program keeps running; returns false then.
bool SaveLanguage();

// "America" or "Europe" once DateToday("medium") has run, else "".
extern QString DateRegion;
// Today as text: "short", "medium" (decides DateRegion) or "long"; "" for
// any other style.
QString DateToday(const QString& style);
QString Christmas();
QString Silvester();

// A save killed between naming its temporary file (the kept file's name,
// a point and six letters) and renaming it over the kept file leaves that
// file for good. Removes such files of the program's kept files (QEM.ini,
// Rates.qem, Planer.qem, ToDo.qem, Hangman.qem, <account>Debts.qem and
// their ".unread" copies) from the data folder, and nothing else; only in
// the copy that holds the data folder's lock, as another copy's save may
// be under way.
void RemoveUnfinishedSaves();

void ReturnToMenu();
void ShowMainMenu();

// Removes the border of every label in the array.
void ResetBorderStyles(const QList<Label*>& labels);
void ShowImageNotFound(const QString& name);
