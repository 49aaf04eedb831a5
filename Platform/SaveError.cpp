#include "Platform/SaveError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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
} // namespace

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
    default: return ioError();
    }
}

RuntimeError saveFailed(const QSaveFile& file, bool opened, int errnoValue) {
    if (!opened && !QFileInfo(file.fileName()).absoluteDir().exists()) return pathError();
    // No room even for the temporary file.
    if (!opened && (errnoValue == ENOSPC || errnoValue == EDQUOT)) return diskFullError();
    // The rename over a file that may not be replaced fails in the commit.
    if (!opened || file.error() == QFileDevice::RenameError || file.error() == QFileDevice::PermissionsError)
        return permissionError();
    return ioError();
}

RuntimeError readFailed(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return info.absoluteDir().exists() ? inLanguage(fileNotFound(), "Datei nicht gefunden") : pathError();
    if (!info.isReadable() || info.isDir()) return permissionError();
    return ioError();
}

RuntimeError notReplaced(const RuntimeError& why, const QString& path) {
    const QString file = QFileInfo(path).fileName();
    return RuntimeError(why.number,
                        inGerman() ? QString::fromUtf8("%1 (\"%2\" konnte nicht gelesen werden und wird nicht ersetzt)")
                                         .arg(why.description, file)
                                   : QStringLiteral("%1 (\"%2\" could not be read and is not replaced)")
                                         .arg(why.description, file));
}

} // namespace Err
