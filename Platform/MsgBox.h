#pragma once
// Message and input boxes with the button, icon and answer values that the
// program's code uses. Tests queue the answers of the next boxes and read
// back what each box showed, so no box ever waits for a user in a test.
#include <QList>
#include <QString>
#include <Qt>
#include <functional>

enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Shows a modal box and returns the button pressed. An empty title shows
// the application title. The prompt is plain text, shown as it stands
// (names the user typed are never read as markup); screen readers are
// given it with its line breaks as blanks (spokenText), as they drop a
// text that holds one. The same holds for an input box's prompt, which
// also names its field.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

// The standard error box: "Problem: " + label, a line break, the error
// number, ": " and the description, critical icon, no title.
void ShowProblem(const QString& label, int number, const QString& description);

// Asks for a text; returns "" when cancelled.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString());

namespace MsgBoxSeam {

struct Shown {
    QString text;
    QString title;   // as shown, the application title when none was given
    int buttons = 0; // style & 7
    int icon = 0;    // style & 0x70
    bool isInput = false;
    Qt::TextFormat format = Qt::PlainText; // how the box reads its text
};

// While enabled, boxes are not shown: each takes the next queued answer
// (or its default: the first button, or the default text of an input box).
void enable(bool on);
bool enabled();
void queueAnswer(int answer);
void queueInput(const QString& text);
// A hook run inside the next box, as if the user did something while it was open.
void queueAction(std::function<void()> action);
QList<Shown> shown();
Shown last();
void clear();

} // namespace MsgBoxSeam
