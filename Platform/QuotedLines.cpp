#include "Platform/QuotedLines.h"

#include "Platform/Ansi.h"
#include "Platform/Errors.h"
#include "Platform/MsgBox.h"
#include "Platform/SaveError.h"
#include "Platform/Storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <limits>

namespace QuotedLines {

void Contents::setAsideIf(const std::function<bool(const QString&)>& unusable) {
    QStringList kept;
    kept.reserve(values.size());
    QList<SetAside> aside;
    QHash<qsizetype, QString> stood;
    qsizetype next = 0; // the next line set aside before
    for (qsizetype i = 0; i < values.size(); ++i) {
        // A line set aside before this value stood before it.
        for (; next < setAside.size() && setAside[next].before <= i; ++next)
            aside.append({kept.size(), setAside[next].line});
        const auto line = asStood.constFind(i);
        if (unusable(values[i])) {
            aside.append({kept.size(), line != asStood.cend() ? *line : u'"' + values[i] + u'"'});
            continue;
        }
        if (line != asStood.cend()) stood.insert(kept.size(), *line);
        kept << values[i];
    }
    for (; next < setAside.size(); ++next) aside.append({kept.size(), setAside[next].line});
    values = kept;
    setAside = aside;
    asStood = stood;
}

namespace {
// The decoded text of a kept file, whole (`lines` < 0) or its beginning up
// to the end of its first `lines` lines (a file of any length costs only
// what it must); no text when it is missing, cannot be read or looks
// binary. `kept` tells the encoding it was read in, or why it could not be
// read.
std::optional<QString> text(const QString& path, qsizetype lines, QString* error, bool* damaged, int* number,
                            Kept& kept) {
    if (error) error->clear();
    if (damaged) *damaged = false;
    kept = Kept();
    RuntimeError why{0, QString()};
    std::optional<QByteArray> bytes;
    Storage::Stamp stamp;
    if (lines < 0) {
        bytes = Storage::read(path, &why, Storage::kLargestKeptFile, &stamp);
    } else {
        // Never more line ends than lines, whichever ends the file uses.
        qsizetype seen = 0, feeds = 0, returns = 0;
        bytes = Storage::readStart(
            path,
            [&](const QByteArray& b) {
                feeds += std::count(b.cbegin() + seen, b.cend(), '\n');
                returns += std::count(b.cbegin() + seen, b.cend(), '\r');
                seen = b.size();
                return std::max(feeds, returns) >= lines;
            },
            &why, Storage::kLargestKeptFile, &stamp);
    }
    kept.readFrom = path;
    if (!bytes) {
        // A missing file is no error: the tool starts without it.
        if (why.number == Err::fileNotFound().number || why.number == Err::pathNotFound().number) {
            kept.stamp = Storage::Stamp();
            return std::nullopt;
        }
        if (error) *error = why.description;
        if (number) *number = why.number;
        kept.unread = why;
        return std::nullopt;
    }
    kept.stamp = stamp;
    if (lines < 0) kept.contents = qHash(*bytes, 0);
    QString decoded = Ansi::decodeDocument(*bytes, &kept.encoding);
    // The text alone is held from here on.
    bytes.reset();
    if (Ansi::isBinary(decoded)) {
        if (error) *error = QStringLiteral("%1 is damaged: it is not a text file").arg(QFileInfo(path).fileName());
        if (damaged) *damaged = true;
        return std::nullopt;
    }
    // The end-of-file mark of old editors, and NUL bytes after the text, end it.
    decoded.truncate(Ansi::textLength(decoded));
    return decoded;
}

enum class Line { Value, Unreadable };

// The value of one line, or why it has none.
Line lineValue(const QString& line, QString& value) {
    if (std::any_of(line.begin(), line.end(), Ansi::isControl)) return Line::Unreadable;
    const qsizetype first = line.indexOf(u'"');
    if (first < 0) {
        value = line.trimmed();
        return Line::Value;
    }
    const qsizetype last = line.lastIndexOf(u'"');
    // One quote alone encloses nothing: what is the value, what is not?
    if (first == last) return Line::Unreadable;
    // Text outside the quotes would be lost with the quotes written anew.
    if (!line.left(first).trimmed().isEmpty() || !line.mid(last + 1).trimmed().isEmpty()) return Line::Unreadable;
    value = line.mid(first + 1, last - first - 1);
    return Line::Value;
}

// Whether a line read as Windows-1252 stood there in UTF-8: its bytes are
// valid UTF-8 and more than ASCII.
bool standsInUtf8(const QString& line) {
    if (std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x80; })) return false;
    const QByteArray bytes = Ansi::encode(line);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return !utf8.hasError() && !decoded.isEmpty();
}

// Calls `each` with every line of the text (without its line end), at most `count` (all when < 0).
template <class Each> void forLines(const QString& text, qsizetype count, Each each) {
    qsizetype start = 0, lines = 0;
    const qsizetype n = text.size();
    while (start < n && (count < 0 || lines < count)) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n') ++end;
        each(QStringView(text).mid(start, end - start));
        ++lines;
        // CR LF is one line end; so are a lone CR and a lone LF.
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n') ++end;
        start = end + 1;
    }
}
} // namespace

std::optional<Contents> readKept(const QString& path, QString* error, bool* damaged, int* number, Kept* kept) {
    Kept reading;
    const std::optional<QString> decoded = text(path, -1, error, damaged, number, reading);
    if (kept) *kept = reading;
    if (!decoded) return std::nullopt;
    Contents c;
    c.encoding = reading.encoding;
    forLines(*decoded, -1, [&](QStringView view) {
        const QString line = view.toString();
        const bool inUtf8 = reading.encoding == Ansi::Encoding::Windows1252 && standsInUtf8(line);
        if (inUtf8) reading.inUtf8.insert(line);
        QString value;
        if (lineValue(line, value) == Line::Unreadable) {
            c.setAside.append({c.values.size(), line});
            return;
        }
        // The value goes back in quotes alone: that line keeps the bytes too.
        if (inUtf8) reading.inUtf8.insert(u'"' + value + u'"');
        if (line.size() != value.size() + 2 || !line.startsWith(u'"')) c.asStood.insert(c.values.size(), line);
        c.values << value;
    });
    if (kept) {
        kept->setAside = c.setAside;
        kept->inUtf8 = reading.inUtf8;
    }
    c.reading = reading;
    c.reading.setAside.clear();
    return c;
}

std::optional<QStringList> read(const QString& path, QString* error, bool* damaged) {
    std::optional<Contents> c = readKept(path, error, damaged);
    if (!c) return std::nullopt;
    return c->values;
}

std::optional<QStringList> readFirst(const QString& path, qsizetype count, QString* error, bool* damaged, int* number,
                                     Kept* kept) {
    Kept reading;
    const std::optional<QString> decoded = text(path, count, error, damaged, number, reading);
    if (kept) *kept = reading;
    if (!decoded) return std::nullopt;
    QStringList values;
    forLines(*decoded, count, [&](QStringView line) {
        // Every line gives its value, read as leniently as ever: one quote
        // alone starts the value, control characters stay in it.
        const qsizetype first = line.indexOf(u'"'), last = line.lastIndexOf(u'"');
        if (first < 0) values << line.trimmed().toString();
        else if (first == last) values << line.mid(first + 1).toString();
        else values << line.mid(first + 1, last - first - 1).toString();
    });
    return values;
}

namespace {
// What stands at a path before a save over it.
struct Existing {
    enum { None, Text, Refused, Unreadable } state = None;
    QByteArray bytes;               // of a refused file
    size_t hash = 0;                // of a text or refused file's bytes
    RuntimeError why{0, QString()}; // of an unreadable one
};

Existing existing(const QString& path) {
    Existing e;
    // Nothing there, or a folder in the file's place (the save itself fails).
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) return e;
    std::optional<QByteArray> bytes = Storage::read(path, &e.why, Storage::kLargestKeptFile);
    if (!bytes) {
        e.state = Existing::Unreadable;
        return e;
    }
    e.hash = qHash(*bytes, 0);
    e.state = Ansi::isBinary(Ansi::decodeDocument(*bytes)) ? Existing::Refused : Existing::Text;
    if (e.state == Existing::Refused) e.bytes = *bytes;
    return e;
}

// Keeps a refused file beside it: "<name>.unread", or "<name>.unread2",
// ... where that exists. A copy that holds the same bytes already is the
// copy. `made` tells whether a new copy was written.
std::optional<QString> keepAside(const QString& path, const QByteArray& bytes, bool& made, RuntimeError& why) {
    made = false;
    QString name = path + QStringLiteral(".unread");
    for (int n = 2; QFileInfo::exists(name); ++n) {
        if (Storage::read(name) == bytes) return name;
        name = path + QStringLiteral(".unread") + QString::number(n);
    }
    if (!Storage::save(name, bytes, &why)) return std::nullopt;
    made = true;
    return name;
}

// The bytes of the text in the encoding the file was read in; a
// Windows-1252 file that cannot hold it becomes UTF-8 whole, its lines that
// stood in UTF-8 already in their own bytes.
QByteArray encoded(const QString& text, const Kept& kept) {
    if (kept.encoding != Ansi::Encoding::Windows1252 || kept.inUtf8.isEmpty() || Ansi::holds(text))
        return Ansi::encodeAs(text, kept.encoding);
    QByteArray bytes;
    forLines(text, -1, [&](QStringView view) {
        const QString line = view.toString();
        bytes += kept.inUtf8.contains(line) ? Ansi::encode(line) : line.toUtf8();
        bytes += "\r\n";
    });
    return bytes;
}
} // namespace

bool write(const QString& path, const QStringList& values, QString* error, int* number, const Kept& kept) {
    const auto fail = [&](const RuntimeError& e) {
        if (error) *error = e.description;
        if (number) *number = e.number;
        return false;
    };
    // What the file held when the tool opened it was never shown there; the
    // file may be read again now, but the tool's list is not all of it.
    if (kept.unread) return fail(Err::notReplaced(*kept.unread, path, true));
    // Another program's change since the reading would be erased. A file
    // read whole and saved where it was read is compared by its bytes below.
    const QString readFrom = kept.readFrom.isEmpty() ? path : kept.readFrom;
    const bool byContents = kept.contents && readFrom == path;
    if (kept.stamp) {
        const std::optional<Storage::Stamp> now = Storage::stampOf(readFrom);
        if (now && now->exists && (!kept.stamp->exists || (!byContents && *now != *kept.stamp)))
            return fail(Err::changedElsewhere(readFrom));
    }
    const QList<SetAside>& setAside = kept.setAside;
    QString text;
    qsizetype next = 0;
    const auto putAside = [&](qsizetype upTo) {
        for (; next < setAside.size() && setAside[next].before <= upTo; ++next) text += setAside[next].line + QStringLiteral("\r\n");
    };
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString& v = values[i];
        if (v.contains(u'\r') || v.contains(u'\n'))
            return fail(RuntimeError(5, Err::inGerman() ? QString::fromUtf8("Ein Wert enthält einen Zeilenumbruch")
                                                        : QStringLiteral("A value holds a line break")));
        putAside(i);
        text += u'"' + v + QStringLiteral("\"\r\n");
    }
    putAside(std::numeric_limits<qsizetype>::max());
    const QByteArray bytes = encoded(text, kept);
    text.clear();
    // What the program would refuse to read again is not written.
    if (bytes.size() > Storage::kLargestKeptFile) return fail(Err::tooLargeToSave(path, Storage::kLargestKeptFile));

    // A file the user never read through the program is not its to replace:
    // one it could not read at all stays, one it refused is kept beside it.
    const Existing old = existing(path);
    if (old.state == Existing::Unreadable) return fail(Err::notReplaced(old.why, path));
    if (byContents && kept.stamp && kept.stamp->exists && old.state != Existing::None && old.hash != *kept.contents)
        return fail(Err::changedElsewhere(path));
    std::optional<QString> keptAs;
    bool made = false;
    if (old.state == Existing::Refused) {
        RuntimeError why{0, QString()};
        keptAs = keepAside(path, old.bytes, made, why);
        if (!keptAs) return fail(why);
    }
    RuntimeError why{0, QString()};
    if (!Storage::save(path, bytes, &why)) {
        // The original is still there: a copy of it made for this save would only be one more.
        if (made) QFile::remove(*keptAs);
        return fail(why);
    }
    // The file is now as this save left it: the tool's next save is no other program's change.
    kept.readFrom = path;
    kept.stamp = Storage::stampOf(path);
    kept.contents = qHash(bytes, 0);
    if (keptAs) {
        const QString file = QFileInfo(path).fileName(), copy = QFileInfo(*keptAs).fileName();
        MsgBox(Err::inGerman()
                   ? QString::fromUtf8("Die Datei \"%1\" konnte nicht gelesen werden. Sie bleibt als \"%2\" "
                                       "daneben erhalten.").arg(file, copy)
                   : QStringLiteral("The file \"%1\" could not be read. It is kept beside it as \"%2\".").arg(file, copy),
               vbInformation);
    }
    return true;
}

} // namespace QuotedLines
