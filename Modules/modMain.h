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

// A save killed between making its temporary file and renaming it over
// the file it replaces leaves that file for good, and a print job killed
// mid-way leaves the hidden part of its PDF. Removes such files from the
// data folder: only names the program marks as its own
// (Storage::isUnfinishedSave, QtPrinter::isUnfinishedPart), never a file
// of any other name (the user's "Planer.qem.backup" stays); only in the
// copy that holds the data folder's lock, as another copy's save or print
// job may be under way.
void RemoveUnfinishedSaves();

void ReturnToMenu();
void ShowMainMenu();

// Removes the border of every label in the array.
void ResetBorderStyles(const QList<Label*>& labels);
void ShowImageNotFound(const QString& name);
