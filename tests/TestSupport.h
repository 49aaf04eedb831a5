#pragma once
// What every test sets up: its own program folder, a fixed clock, time
// zone and locale, message boxes answered through the seam, recording
// sound, music and printer, links noted instead of opened, and an end of
// the program that only takes note.
#include "Platform/Audio.h"
#include "Platform/Printer.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QWidget;

namespace TestSupport {

// Call from init(): a fresh program folder and every seam in place (message
// boxes and file and font dialogs answered from queues); the
// date is 15 March 2026, 10:00, the zone "W. Europe Standard Time", the
// locale C, the language unset. Media files are copied in when asked.
void setUp(bool withMedia = false);
// Call from cleanup(): destroys every window and removes the folder.
void tearDown();

QString programFolder();
void setNow(const QDateTime& moment);
void setToday(const QDate& day);
void setZone(const QString& windowsStandardName);
void setLocale(const QLocale& locale);

RecordingSound& sound();
RecordingMusic& music();
RecordingPrinter& printer();
// How often the program ended since setUp().
int endCount();

void writeFile(const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& name);
// Makes `name` in the program folder a file the program cannot read, as
// `how` says: "folder" a folder, "pipe" a named pipe nothing writes to,
// "device" a link to the endless device /dev/zero, "too large" a file of
// more than Storage::kLargestKeptFile bytes (sparse: no disk space used);
// or `bytes` written as its content, and through Storage's seam reading it
// fails: "no permission" as without read permission, "I/O error" with a
// device error after its first 10 bytes, "I/O error once" the next
// reading only. Whether it is still what it was: unreadableKept().
void makeUnreadable(const QString& name, const QString& how, const QByteArray& bytes = {});
// Whether `name` is still what makeUnreadable(name, how, bytes) made it
// (Storage's seam is cleared to look).
bool unreadableKept(const QString& name, const QString& how, const QByteArray& bytes = {});
// Types a key script into a widget as a user would: "\b" is Backspace,
// "\r" Enter, "^V" a paste of the clipboard (by Shift+Insert: Ctrl+V
// types the character 22, which most key filters refuse), a character beyond ASCII a
// key of a national keyboard, "{é}" text composed by dead keys or an input
// method, anything else typed key by key.
void typeKeys(QWidget* box, const QString& keys);

// Lets posted events (deferred deletes, queued signals) run.
void processEvents();
// Lets a window just shown be drawn, and what waits for its first drawing run.
void waitDrawn(QWidget* window);

// Opens the box's context menu as a right click would and chooses the entry
// of that object name ("edit-undo", "edit-delete", "edit-paste", ...) or of
// that text before its shortcut ("&Paste", where entries have no names); a
// disabled entry does nothing, as a click on it would. False when the menu
// did not open or has no such entry.
bool chooseFromContextMenu(QWidget* box, const QString& entry);

// Drops text on the box near its right end, as a drag from another program
// ends there.
void dropText(QWidget* box, const QString& text);

} // namespace TestSupport

// --- Screen readers ---------------------------------------------------------
#include <QAccessible>
#include <QList>
#include <QPointer>
namespace TestSupport {
// A screen reader listening while this lives: the toolkit's accessibility
// switched on as a reader's bridge switches it on when the reader starts
// (the controls then tell readers of their changes, and every interface is
// made as a reader asks for it), and what readers are told, in order.
class ReaderListening {
public:
    // One thing told: what happened, to what (its role and name as a
    // reader reads them at that moment, and the reader's id of it) and, for
    // a control or a part of one, the control.
    struct Heard {
        QAccessible::Event type;
        QAccessible::Role role;
        QString name;
        QAccessible::Id id;
        QPointer<QObject> object;
    };
    ReaderListening();
    ~ReaderListening();
    ReaderListening(const ReaderListening&) = delete;
    ReaderListening& operator=(const ReaderListening&) = delete;

    const QList<Heard>& heard() const;
    // The notifications shown to readers, by their texts.
    QStringList notices() const;
    void clear();
};
} // namespace TestSupport

// --- Every window of the program ---------------------------------------------
#include <QList>
#include <functional>
namespace TestSupport {
// One window of the program and the user's steps that open it in the state
// the user sees it in (the bank logged in with a few entries, a game under
// way, ...). Run each between setUp(true) and tearDown(), after the language
// is stored in "QEM.ini" and loaded.
struct ProgramWindow {
    QString name;
    std::function<QWidget*()> open;
};
const QList<ProgramWindow>& programWindows();
} // namespace TestSupport

// --- A disk that fails for a moment under a database ---------------------------
#include <QStringList>
namespace Ado {
class Connection;
}
namespace TestSupport {
// Once a statement of the kind `when` ("Before Update On Version", "Before
// Insert On Savings") begins on the connection, the next write to a
// database file or its journal fails as a disk I/O error (778 "disk I/O
// error"), after which SQLite has rolled back the transaction that wrote;
// the writes after that one go through again. Every database opened after
// setUp() can fail so; the failure is armed on this connection only.
void failDatabaseWriteWhen(Ado::Connection& c, const QString& when);
// The texts of the critical boxes ("Problem: ...") shown since the message
// boxes were last cleared, questions and notes left out.
QStringList problemsShown();
} // namespace TestSupport
