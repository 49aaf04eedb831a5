#include "Platform/SaveError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace Err {

RuntimeError saveFailed(const QSaveFile& file, bool opened) {
    const auto error = [](int number, const char* english, const char* german) {
        return RuntimeError(number, inGerman() ? QString::fromUtf8(german) : QString::fromLatin1(english));
    };
    if (!opened && !QFileInfo(file.fileName()).absoluteDir().exists())
        return error(76, "Path not found", "Pfad nicht gefunden");
    // The rename over a file that may not be replaced fails in the commit.
    if (!opened || file.error() == QFileDevice::RenameError || file.error() == QFileDevice::PermissionsError)
        return error(70, "Permission denied", "Zugriff verweigert");
    return error(57, "Device I/O error", "Geräte-E/A-Fehler");
}

} // namespace Err
