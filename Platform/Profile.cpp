#include "Platform/Profile.h"

#include "Platform/Ansi.h"
#include "Platform/SaveError.h"
#include "Platform/Storage.h"
#include "Platform/TextEditing.h"

#include <QFileInfo>
#include <QStringList>

namespace Profile {

namespace {

// The file's text as the program reads every kept file (UTF-16 after its
// byte-order mark, UTF-8, else Windows-1252), with LF line ends; CR LF, LF
// and a lone CR all end a line. Empty for a file that cannot be read (a
// pipe or a device in its place too): the defaults apply.
QString fileText(const QString& file) {
    const std::optional<QByteArray> bytes = Storage::read(file, nullptr, Storage::kLargestKeptFile);
    return bytes ? CrLf::toLf(Ansi::decodeDocument(*bytes)) : QString();
}

// "[name]" gives name; anything else an empty string.
QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(u'[')) {
        const int close = t.indexOf(u']');
        if (close > 0) return t.mid(1, close - 1).trimmed();
    }
    return {};
}

bool splitEntry(const QString& line, QString& key, QString& value) {
    const int eq = line.indexOf(u'=');
    if (eq < 0) return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.startsWith(u';');
}

} // namespace

int getString(const QString& section, const QString& key, const QString& defaultValue,
              QString& out, int size, const QString& file) {
    QString value = defaultValue;
    bool inSection = false;
    // Line by line through the text, without a list of every line: a large
    // file is read once, and the search ends at the key.
    const QString text = fileText(file);
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        const QString line = text.mid(start, end - start);
        start = end + 1;
        const QString name = sectionName(line);
        if (!name.isEmpty()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
                v = v.mid(1, v.size() - 2);
            value = v;
            break;
        }
    }
    out = size > 0 ? value.left(size - 1) : QString();
    return int(out.size());
}

bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file, RuntimeError* error) {
    // A file that is there but cannot be read is not replaced by one
    // holding the one key.
    RuntimeError why{0, QString()};
    const QFileInfo info(file);
    // Nothing there, or a folder in its place (the save itself fails).
    const bool readable = info.exists() && !info.isDir();
    const std::optional<QByteArray> bytes =
        readable ? Storage::read(file, &why, Storage::kLargestKeptFile) : QByteArray();
    if (!bytes) {
        if (error) *error = Err::notReplaced(why, file);
        return false;
    }
    Ansi::Encoding encoding = Ansi::Encoding::Windows1252;
    QStringList lines = CrLf::toLf(Ansi::decodeDocument(*bytes, &encoding)).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    const QString entry = key + u'=' + value;
    int sectionAt = -1, endOfSection = int(lines.size()), keyAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(lines[i]);
        if (!name.isEmpty()) {
            if (sectionAt >= 0) { endOfSection = i; break; }
            if (name.compare(section, Qt::CaseInsensitive) == 0) sectionAt = i;
            continue;
        }
        QString k, v;
        if (sectionAt >= 0 && keyAt < 0 && splitEntry(lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0)
            keyAt = i;
    }
    if (keyAt >= 0) {
        lines[keyAt] = entry;
    } else if (sectionAt >= 0) {
        // After the section's last non-blank line.
        int at = endOfSection;
        while (at > sectionAt + 1 && lines[at - 1].trimmed().isEmpty()) --at;
        lines.insert(at, entry);
    } else {
        lines << u'[' + section + u']' << entry;
    }

    // Written back in the encoding it was read in: a comment typed in UTF-8
    // stays readable in an editor, and the old program's files stay ANSI.
    // A UTF-16 ini file becomes ANSI (or UTF-8), as the old program's
    // profile routines wrote it: every other copy reads it so.
    if (encoding == Ansi::Encoding::Utf16LE || encoding == Ansi::Encoding::Utf16BE)
        encoding = Ansi::Encoding::Windows1252;
    const QByteArray text = Ansi::encodeAs(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), encoding);
    return Storage::save(file, text, error);
}

} // namespace Profile
