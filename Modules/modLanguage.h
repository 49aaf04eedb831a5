#pragma once
// The current language and the language routines of the shell's windows.
// Each window sets its German texts in its own routine when the current
// language is "German"; any other value shows the English design texts.
#include <QString>

extern QString CurrentLanguage;
inline bool isGerman() { return CurrentLanguage == QLatin1String("German"); }
// The German text when the current language is German, else the English one.
inline QString L(const QString& english, const QString& german) { return isGerman() ? german : english; }

// Tells the user that one of the program's files is not a text file and was
// neither read nor changed (its name shown as it stands).
void ShowDamagedFile(const QString& fileName);
// Tells the user that `count` lines of one of the program's files could not
// be read and stay in it as they are; once a reading of the file.
void ShowSetAside(const QString& fileName, qsizetype count);

class frmChoice;
class frmMsg;
void SetLangChoice(class frmChoice* frm);
void SetLangMsg(class frmMsg* frm);
