#include "Platform/QuotedLines.h"

#include "Platform/Ansi.h"

#include <QFile>
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

std::optional<QStringList> read(const QString& path, QString* error) {
    if (error) error->clear();
    QFile f(path);
    if (!f.exists()) return std::nullopt;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    const QString text = Ansi::decode(f.readAll());
    QStringList lines = text.split(u'\n');
    // The line break of the last line ends it; it starts no further line.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QStringList values;
    for (QString line : lines) {
        if (line.endsWith(u'\r')) line.chop(1);
        values << lineValue(line);
    }
    return values;
}

bool write(const QString& path, const QStringList& values, QString* error) {
    QString text;
    for (const QString& v : values) {
        if (v.contains(u'\r') || v.contains(u'\n')) {
            if (error) *error = QStringLiteral("A value holds a line break");
            return false;
        }
        text += u'"' + v + QStringLiteral("\"\r\n");
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    f.write(Ansi::encode(text));
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace QuotedLines
