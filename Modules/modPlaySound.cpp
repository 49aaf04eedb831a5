#include "Modules/modPlaySound.h"

#include "Platform/Audio.h"
#include "Platform/MsgBox.h"

#include <QFileInfo>

QString PlaySound(const QString& fileName, int mode, bool showErrors) {
    if (fileName.size() < 5) {
        // Too short to carry an extension: the runtime's error for the
        // missing characters, reported as the player always did.
        const QString description = QStringLiteral("Invalid procedure call or argument");
        if (showErrors) MsgBox(description, vbCritical, QStringLiteral("PlaySound"));
        return description + QStringLiteral(" Error in PlaySound function") + QStringLiteral("- WavePath=") + fileName;
    }
    const QString four = fileName.right(4).toLower(), five = fileName.right(5).toLower();
    if (four != QLatin1String(".wav") && five != QLatin1String(".midi")) {
        const QString text = QStringLiteral("Sound file is not a .wav or .midi file: ") + fileName;
        if (showErrors) MsgBox(text, vbInformation, QStringLiteral("Sound Error"));
        return text;
    }
    if (!QFileInfo(fileName).isFile()) {
        if (showErrors) MsgBox(QStringLiteral("File not found:\n") + fileName, vbInformation, QStringLiteral("Sound Error"));
        return QStringLiteral("File not found: ") + fileName;
    }
    static const int flags[] = {SoundPlayer::Async, SoundPlayer::Sync, SoundPlayer::Async | SoundPlayer::Loop,
                                SoundPlayer::Async | SoundPlayer::NoStop};
    if (mode < 0 || mode > 3) {
        if (showErrors)
            MsgBox(QStringLiteral("Invalid Mode received for playing sound file: ") + QString::number(mode), vbInformation,
                   QStringLiteral("Sound Error"));
        return QStringLiteral("Invalid Sound Mode: ") + QString::number(mode);
    }
    SoundPlayer::instance().play(fileName, flags[mode]);
    return QString();
}
