#include "Platform/SaveError.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace Err {

namespace {
RuntimeError inLanguage(const RuntimeError& english, const char* german) {
    return RuntimeError(english.number, inGerman() ? QString::fromUtf8(german) : english.description);
}
RuntimeError diskFullError() { return inLanguage(diskFull(), "Datenträger voll"); }
RuntimeError pathError() { return inLanguage(pathNotFound(), "Pfad nicht gefunden"); }
RuntimeError permissionError() { return inLanguage(permissionDenied(), "Zugriff verweigert"); }
RuntimeError ioError() { return inLanguage(deviceIo(), "Geräte-E/A-Fehler"); }
RuntimeError notFoundError() { return inLanguage(fileNotFound(), "Datei nicht gefunden"); }
RuntimeError memoryError() { return inLanguage({7, QStringLiteral("Out of memory")}, "Nicht genügend Speicher"); }
RuntimeError tooManyError() { return inLanguage({67, QStringLiteral("Too many files")}, "Zu viele Dateien"); }
RuntimeError accessError() {
    return inLanguage({75, QStringLiteral("Path/File access error")}, "Fehler beim Zugriff auf Pfad/Datei");
}

// The runtime's error of that number, without a file named.
RuntimeError byNumber(int number) {
    switch (number) {
    case 7: return memoryError();
    case 53: return notFoundError();
    case 61: return diskFullError();
    case 67: return tooManyError();
    case 70: return permissionError();
    case 75: return accessError();
    case 76: return pathError();
    default: return ioError();
    }
}

// The error with what became of the file: Device I/O error ("Planer.qem" could not be read).
RuntimeError naming(const RuntimeError& why, const QString& path, const QString& english, const char* german) {
    const QString state = inGerman() ? QString::fromUtf8(german) : english;
    return RuntimeError(why.number,
                        QStringLiteral("%1 (\"%2\" %3)").arg(why.description, QFileInfo(path).fileName(), state));
}
} // namespace

RuntimeError outOfMemory() { return memoryError(); }

RuntimeError systemError(int errnoValue) {
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT: return diskFullError();
    case ENOENT:
    case ENOTDIR: return pathError();
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return permissionError();
    case EMFILE:
    case ENFILE: return tooManyError();
    default: return ioError();
    }
}

RuntimeError saveFailed(const QString& path, int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        if (!QFileInfo(path).absoluteDir().exists()) return pathError();
        break;
    case ENOSPC:
    case EDQUOT:
    case EIO:
    case EMFILE:
    case ENFILE: return systemError(errnoValue);
    default: break;
    }
    // A folder or a file that may not be written, or a rename over a file
    // that may not be replaced.
    return permissionError();
}

RuntimeError readFailed(int errnoValue, const QString& path) {
    if (errnoValue == ENOENT || errnoValue == ENOTDIR)
        return QFileInfo(path).absoluteDir().exists() ? notFoundError() : pathError();
    const RuntimeError why = errnoValue == EACCES || errnoValue == EPERM           ? permissionError()
                             : errnoValue == EMFILE || errnoValue == ENFILE ? tooManyError()
                                                                            : ioError();
    return naming(why, path, QStringLiteral("could not be read"), "konnte nicht gelesen werden");
}

RuntimeError notAFile(const QString& path, bool folder) {
    if (folder) return naming(permissionError(), path, QStringLiteral("is a folder"), "ist ein Ordner");
    return naming(accessError(), path, QStringLiteral("is not a regular file"), "ist keine reguläre Datei");
}

RuntimeError tooLarge(const QString& path, qint64 largest) {
    const QString mb = QString::number(largest / (1024 * 1024));
    const QString state = inGerman() ? QString::fromUtf8("ist größer als %1 MB, mehr als das Programm liest").arg(mb)
                                     : QStringLiteral("is larger than %1 MB, more than the program reads").arg(mb);
    const QString file = QFileInfo(path).fileName();
    return RuntimeError(7, QStringLiteral("%1 (\"%2\" %3)").arg(memoryError().description, file, state));
}

RuntimeError cannotHold(const QString& path) {
    return naming(memoryError(), path, QStringLiteral("is larger than the memory the program can still take"),
                  "ist größer als der Speicher, den das Programm noch belegen kann");
}

RuntimeError tooLargeToSave(const QString& path, qint64 largest) {
    const QString mb = QString::number(largest / (1024 * 1024));
    const QString state =
        inGerman() ? QString::fromUtf8("wäre größer als %1 MB, mehr als das Programm liest, und wird nicht ersetzt").arg(mb)
                   : QStringLiteral("would be larger than %1 MB, more than the program reads, and is not replaced").arg(mb);
    return RuntimeError(7, QStringLiteral("%1 (\"%2\" %3)").arg(memoryError().description, QFileInfo(path).fileName(), state));
}

RuntimeError changedElsewhere(const QString& path) {
    return naming(accessError(), path,
                  QStringLiteral("was changed by another program since it was opened and is not replaced"),
                  "wurde seit dem Öffnen von einem anderen Programm geändert und wird nicht ersetzt");
}

RuntimeError notReplaced(const RuntimeError& why, const QString& path, bool whenOpened) {
    // The reason alone: the reading's own description may name the file already.
    const RuntimeError reason = byNumber(why.number);
    if (whenOpened)
        return naming(reason, path, QStringLiteral("could not be read when it was opened and is not replaced"),
                      "konnte beim Öffnen nicht gelesen werden und wird nicht ersetzt");
    return naming(reason, path, QStringLiteral("could not be read and is not replaced"),
                  "konnte nicht gelesen werden und wird nicht ersetzt");
}

} // namespace Err
