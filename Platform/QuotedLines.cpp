#include "Platform/QuotedLines.h"

#include "Platform/Ansi.h"
#include "Platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace QuotedLines {

namespace {
QString lineValue(const QString& line) {
    const qsizetype first = line.indexOf(u'"');
    const qsizetype last = line.lastIndexOf(u'"');
    if (first < 0) return line.trimmed();
    if (first == last) return line.mid(first + 1);
    return line.mid(first + 1, last - first - 1);
}
} // namespace

namespace {
// The whole file, or with `lines` >= 0 its beginning up to the end of its
// first `lines` lines (a file of any size costs only what it must).
QByteArray contents(QFile& f, qsizetype lines) {
    if (lines < 0) return f.readAll();
    QByteArray bytes;
    // Never more line ends than lines, whichever ends the file uses.
    qsizetype feeds = 0, returns = 0;
    while (qMax(feeds, returns) < lines && !f.atEnd()) {
        const QByteArray chunk = f.read(64 * 1024);
        if (chunk.isEmpty()) break;
        feeds += chunk.count('\n');
        returns += chunk.count('\r');
        bytes += chunk;
    }
    return bytes;
}

std::optional<QStringList> readValues(const QString& path, qsizetype count, QString* error, bool* damaged) {
    if (error) error->clear();
    if (damaged) *damaged = false;
    QFile f(path);
    if (!f.exists()) return std::nullopt;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    const QString text = Ansi::decodeDocument(contents(f, count));
    if (Ansi::isBinary(text)) {
        if (error) *error = QStringLiteral("%1 is damaged: it is not a text file").arg(QFileInfo(path).fileName());
        if (damaged) *damaged = true;
        return std::nullopt;
    }
    QStringList values;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n && (count < 0 || values.size() < count)) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n') ++end;
        values << lineValue(text.mid(start, end - start));
        // CR LF is one line end; so are a lone CR and a lone LF.
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n') ++end;
        start = end + 1;
    }
    return values;
}
} // namespace

std::optional<QStringList> read(const QString& path, QString* error, bool* damaged) {
    return readValues(path, -1, error, damaged);
}

std::optional<QStringList> readFirst(const QString& path, qsizetype count, QString* error, bool* damaged) {
    return readValues(path, count, error, damaged);
}

bool write(const QString& path, const QStringList& values, QString* error, int* number) {
    const auto fail = [&](int n, const QString& english, const QString& german) {
        if (error) *error = Err::inGerman() ? german : english;
        if (number) *number = n;
        return false;
    };
    QString text;
    for (const QString& v : values) {
        if (v.contains(u'\r') || v.contains(u'\n'))
            return fail(5, QStringLiteral("A value holds a line break"),
                        QString::fromUtf8("Ein Wert enthält einen Zeilenumbruch"));
        text += u'"' + v + QStringLiteral("\"\r\n");
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(path).absoluteDir().exists())
            return fail(76, QStringLiteral("Path not found"), QStringLiteral("Pfad nicht gefunden"));
        return fail(70, QStringLiteral("Permission denied"), QStringLiteral("Zugriff verweigert"));
    }
    f.write(Ansi::encodeFile(text));
    if (!f.commit()) {
        // The rename over a file that may not be replaced fails here too.
        if (f.error() == QFileDevice::RenameError || f.error() == QFileDevice::PermissionsError)
            return fail(70, QStringLiteral("Permission denied"), QStringLiteral("Zugriff verweigert"));
        return fail(57, QStringLiteral("Device I/O error"), QString::fromUtf8("Geräte-E/A-Fehler"));
    }
    return true;
}

} // namespace QuotedLines
