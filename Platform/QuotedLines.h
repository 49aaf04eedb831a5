#pragma once
// The program's plain data files (".qem"): one value a line, written as a
// double-quoted text followed by CR LF, in Windows-1252 (in UTF-8 when a
// value holds a character Windows-1252 has not, or the file was read as
// UTF-8). Every tool that keeps a list in such a file reads and writes it
// here, through Storage (read whole or not at all, saved whole).
//
// Nothing the program could not read is lost:
//   - A line it cannot read (a control character in it, quotes that enclose
//     no value) is set aside, and so is a value the tool itself cannot use
//     (Contents::setAsideIf). A tool keeps the set-aside lines beside its
//     data (in its Kept) and hands them back to write(), which puts each
//     back, unchanged, where it stood among the values. The tool tells the
//     user once how many lines were set aside (ShowSetAside,
//     Modules/modLanguage.h).
//   - A line with text outside its quotes is set aside too: writing its
//     value anew in quotes would lose that text.
//   - Only a file that looks binary (Ansi::isBinary) is refused (nothing
//     read, the file left as it is). A file none of whose lines can be
//     read is still read, all of it set aside: the program writes such a
//     file itself when every readable entry was deleted, and what it
//     saved reads back as it was saved.
//     Before write() replaces a refused file, it keeps a copy beside it
//     ("Planer.qem.unread", a number added where that name is taken; no
//     second copy where one with the same bytes is there already) and tells
//     the user the copy's name. A file that exists but cannot be read at
//     all (no read permission, an I/O error, a pipe or a device in its
//     place, more than Storage::kLargestKeptFile bytes) is never replaced:
//     the save is refused and says why.
//   - A tool that could not read its file when it opened it never replaces
//     it either, even when the file can be read again by the time of the
//     save: it holds a Kept from the reading (readKept fills it) and
//     hands it to write(), which refuses the save ("... could not be read
//     when it was opened and is not replaced"). The tool reads the file
//     anew the next time it opens.
//   - A tool never replaces a file another program changed since the tool
//     read it (an editor, a synchronisation tool): the Kept of the reading
//     holds the file's stamp (Storage::Stamp: size, modification time,
//     identity), and write() refuses when the file's stamp differs ("...
//     was changed by another program since it was opened and is not
//     replaced"); a file missing at the reading and there now counts as
//     changed, one removed since is not (nothing of it would be lost).
//     A file read whole is compared by its bytes too. After its own save write() moves the Kept's stamp on, so the
//     tool's next save goes through.
//   - A file is written back in the encoding it was read in (Kept::encoding,
//     Platform/Ansi.h): UTF-8 with its byte-order mark where it had one,
//     UTF-16 as UTF-16 with its mark, code unit by code unit, Windows-1252
//     as Windows-1252 while that holds every character. A Windows-1252
//     file that must become UTF-8 for a new character is written whole in
//     UTF-8, and a line of it that stood there in UTF-8 already (written by
//     another tool, read as Windows-1252) keeps its bytes rather than being
//     encoded twice (Kept::inUtf8). A run of NUL characters or end-of-file
//     marks at the very end of the file is no line: it is dropped at the
//     reading and not written back.
//   - A save that would write more than Storage::kLargestKeptFile bytes,
//     which the program would refuse to read again, is refused before
//     anything is written.
#include "Platform/Ansi.h"
#include "Platform/Errors.h"
#include "Platform/Storage.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace QuotedLines {

// A line a tool could not use, kept to be written back as it stood.
struct SetAside {
    qsizetype before = 0; // how many values stand before it
    QString line;         // the line as it stood, without its line end
    bool operator==(const SetAside&) const = default;
};

// What a tool keeps of its file from reading it until it saves it again.
struct Kept {
    // The lines set aside at the reading, to be written back in their places.
    QList<SetAside> setAside;
    // The encoding the file was read in, which it is written back in.
    Ansi::Encoding encoding = Ansi::Encoding::Windows1252;
    // Why the file, there when the tool opened it, could not be read; no
    // value when it was read, missing, or refused as not text.
    std::optional<RuntimeError> unread;
    // The lines of a file read as Windows-1252 whose bytes are UTF-8 (a
    // line another tool wrote), as they were read: written in their own
    // bytes where the file becomes UTF-8.
    QSet<QString> inUtf8;
    // The file as the tool read it, or as its last save left it: which
    // path, its stamp then (no stamp: not asked, nothing is checked) and,
    // when it was read whole, a hash of its bytes (a rewrite within the
    // clock's tick keeps size and time). write() moves them on after its
    // own save, even through a const Kept.
    mutable QString readFrom;
    mutable std::optional<Storage::Stamp> stamp;
    mutable std::optional<size_t> contents;
};

// What a kept file holds.
struct Contents {
    // The values of the lines that could be read, in file order. A line's
    // value is the text between its first and last double quote (blanks
    // alone around them); a line without a quote is taken as it stands
    // (blanks around it removed); an empty line is an empty value.
    QStringList values;
    // The lines that could not be read, in file order.
    QList<SetAside> setAside;

    // Sets aside every value for which `unusable` is true, with its line as
    // it stood in the file; `before` of every set-aside line then counts
    // the values that remain.
    void setAsideIf(const std::function<bool(const QString&)>& unusable);

    // The line a value stood on, where that is not just the value in quotes
    // (by index into `values`); kept so a value set aside goes back as it stood.
    QHash<qsizetype, QString> asStood;
    // The encoding the file was read in.
    Ansi::Encoding encoding = Ansi::Encoding::Windows1252;
    // What else the reading knew of the file (Kept::inUtf8, readFrom, stamp).
    Kept reading;

    // What a save of the file needs from this reading.
    Kept kept() const {
        Kept k = reading;
        k.setAside = setAside;
        k.encoding = encoding;
        k.unread.reset();
        return k;
    }
};

// Reads a kept file through Storage::read. No contents when the file does
// not exist (`error` empty), cannot be read (`error` tells why, naming the
// file) or is refused as not text (`damaged` set, `error` names the file).
// CR LF, LF and CR line ends are all read; a last empty line is no value.
// The text is UTF-16 after its byte-order mark, UTF-8 when it is valid
// UTF-8, else Windows-1252. `number`, when given, is the runtime's error
// number of a file that cannot be read (Platform/SaveError.h). `kept`,
// when given, is set for the save that may follow: the set-aside lines
// and encoding of the contents, or why the file could not be read (a tool
// that sets more lines aside afterwards updates kept->setAside).
std::optional<Contents> readKept(const QString& path, QString* error = nullptr, bool* damaged = nullptr,
                                 int* number = nullptr, Kept* kept = nullptr);

// The values of the lines that could be read; what was set aside is not
// returned (readKept keeps it, to be written back).
std::optional<QStringList> read(const QString& path, QString* error = nullptr, bool* damaged = nullptr);

// The values of the first `count` lines only, one per line whether it can
// be read or not (a value's place in such a file is its meaning: a line
// with one quote gives the text after it, control characters stay in a
// value); the rest of the file is not read. Refused, missing and unreadable
// files, `number` and `kept` as for readKept.
std::optional<QStringList> readFirst(const QString& path, qsizetype count, QString* error = nullptr,
                                     bool* damaged = nullptr, int* number = nullptr, Kept* kept = nullptr);

// Replaces the file whole through Storage::save, in the encoding it was
// read in, the set-aside lines of `kept` unchanged in their places, each
// after `before` of the values (at the end where fewer values remain). A
// value holding a line break is refused before anything is written, since
// it would shift every later value of the file; so is every save after a
// reading that failed (kept.unread), one over a file another program
// changed since the reading (kept.stamp: 75, naming the file) and one that
// would write more than Storage::kLargestKeptFile bytes (7, naming the
// file). On failure the old file stays as it
// was (and a copy made of it for this save is removed again), false is
// returned, `error` tells why in the program's language and `number` gives
// the runtime's error number for it: 5 for a refused value, else as
// Platform/SaveError.h maps it (61 for a full disk, 70 when the file may
// not be written, the reading's number when it could not be read).
bool write(const QString& path, const QStringList& values, QString* error = nullptr, int* number = nullptr,
           const Kept& kept = {});

} // namespace QuotedLines
