#pragma once
// The Morse code table and the rules of Morse text, without any window.
//
// The table has 54 entries, indexed from 0: the letters A to Z (0-25), the
// digits 1 to 9 and 0 (26-35), eleven signs (36-45), the blank (46), the
// five prosigns Start, Break, Error, EOM, EOC (47-51) and two hidden
// line-break entries (52, 53). Each code group is dots and dashes followed
// by exactly one blank; stored documents rely on these codes.
//
// Morse text: every character of the plain text becomes its group, a blank
// one more blank, a prosign tag ("<START>", ...) its prosign's group, a line
// break CR LF right after the line's last group. Characters the table lacks
// leave nothing. Reading back, a group runs up to and including its blank;
// a group that is one blank is a space; a code without its blank matches
// nothing.
//
// The window frmMorse shows the table as its chart and calls these routines
// for every conversion and for the end-of-text edits of Backspace.
#include <QString>
#include <array>

namespace Morse {

constexpr int kEntries = 54;
constexpr int kLastCharacter = 46;   // the blank; entries 0..46 have a character code
constexpr int kFirstProsign = 47;
constexpr int kProsigns = 5;         // Start, Break, Error, EOM, EOC
constexpr int kBlank = 46;
constexpr int kLineBreak = 52;       // CR LF "." CR LF
constexpr int kLineBreakTrim = 53;   // "." CR LF

struct Entry {
    int code;           // the character's Windows-1252 code, -1 for prosigns and line breaks
    QString character;  // the character, the English prosign caption, or empty
    QString morse;      // the code group with its trailing blank
};

const std::array<Entry, kEntries>& table();

// The prosigns' tags and captions in one language, in table order
// (Start, Break, Error, EOM, EOC).
struct Prosigns {
    std::array<QString, kProsigns> tags;
    std::array<QString, kProsigns> captions;
};
const Prosigns& prosigns(bool german);

// The chart's text of entry i in a language: the prosigns' captions follow it.
QString character(int index, bool german);

// The entry (0..46) whose character has this Windows-1252 code, or -1.
int indexOfCode(int code);
// The entry (0..53) whose code group is exactly this text, or -1.
int indexOfGroup(const QString& group);

// The sound of entry i while typing ("A.au", "Slash.au"), empty for none.
QString letterSound(int index);
// The sound of prosign p (0..4) when its button is pressed, empty for none.
QString prosignSound(int prosign);

// The whole plain text as Morse text. Lower-case letters convert like
// upper-case ones; a line break (CR LF, or a lone CR or LF) becomes CR LF.
// Only the five tags of the language are prosigns: a "<" that opens none
// of them, or a ">" that closes none, is an ordinary character (and not in
// the table).
QString textToMorse(const QString& text, const Prosigns& p);
// The whole Morse text as plain text; prosign groups become the tags.
// Line breaks are kept, empty lines included; a last code without its
// trailing blank is not converted. Control characters other than the line
// breaks are passed over, as if they were not there.
QString morseToText(const QString& morse, const Prosigns& p);

// What Backspace removes from the ends of the two boxes: a final line
// break of the Morse box (when the text is empty or ends with one), then the
// text's last character, tag or line break, and with it its Morse group
// when that is the Morse box's last group. A Morse box that does not end
// with the group (converted or opened as a whole) keeps its text.
struct BackspaceEdit {
    qsizetype morseRemove = 0;
    qsizetype textRemove = 0;
};
BackspaceEdit backspace(const QString& text, const QString& morse, const Prosigns& p);

} // namespace Morse
