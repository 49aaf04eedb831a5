#pragma once
// The common dialogs: open and save a file, choose a font. Real Qt dialogs,
// with a test seam like the message boxes': a test queues the file names
// and fonts that the next dialogs give and reads back what each showed.
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

namespace FileDialog {

struct Options {
    QString title;
    // As the program writes it: "Morse Files (*.qmc)|*.qmc|Text Files (*.txt)|*.txt".
    QString filter;
    int filterIndex = 1;      // 1-based, as in the filter string
    QString defaultExt;       // without the dot; appended when the user gave no extension
    QString initialDir;
    QString fileName;         // proposed name
    bool overwritePrompt = true; // save: ask before replacing a file
};

// The chosen file's full path; empty when the user cancelled.
// `chosenFilter`, when given, receives the 1-based index of the filter in use.
QString open(const Options& o, int* chosenFilter = nullptr);
QString save(const Options& o, int* chosenFilter = nullptr);

} // namespace FileDialog

// The font dialog's choice: the font with its effects (bold, italic,
// underline, strikethrough in QFont) and its colour.
struct FontChoice {
    QFont font;
    QColor color = Qt::black;
};

namespace FontDialog {
// Shows the dialog starting from `choice`; true and `choice` updated when
// the user pressed OK. The font dialog has no colour: with `withColour` a
// colour dialog follows it (cancelling either keeps the old choice);
// without, only the font is asked for and the colour stays.
bool choose(FontChoice& choice, const QString& title = QString(), bool withColour = true);
} // namespace FontDialog

namespace DialogSeam {

struct Shown {
    QString kind; // "open", "save", "font" (with its colour) or "font only"
    QString title;
    QString filter;
    QString defaultExt;
    QString initialDir; // of a file dialog
};

// While enabled, dialogs are not shown: each takes the next queued answer;
// with none queued the dialog is cancelled.
void enable(bool on);
bool enabled();
// The next file dialog gives this path ("" cancels); filterIndex as the user chose.
void queueFile(const QString& path, int filterIndex = 1);
// The next font dialog gives this choice.
void queueFont(const FontChoice& choice);
void queueFontCancel();
QList<Shown> shown();
void clear();

} // namespace DialogSeam
