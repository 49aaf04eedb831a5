#include "Modules/modMain.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modIni.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "Platform/Printer.h"
#include "Platform/Runtime.h"
#include "Platform/Storage.h"

#include <QDirIterator>
#include <QFile>

QString DateRegion;

QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

QString shortVersionText() {
    return QStringLiteral("%1.%2%3").arg(VersionMajor).arg(VersionMinor).arg(QString::number(VersionRevision).left(1));
}

// The ini file is read and written in the data folder; a copy shipped beside
// the program is taken over there first.
static void pointAtIniFile() {
    SetIniFile(QStringLiteral("Values"), App::dataFile(QStringLiteral("QEM.ini"), App::Access::Write));
}

void LoadLanguage() {
    pointAtIniFile();
    CurrentLanguage = GetIniValue(QStringLiteral("Language"), QStringLiteral("DefaultValue"));
    // Standard buttons, dialogs and context menus speak the same language.
    App::setToolkitLanguage(isGerman() ? QStringLiteral("de") : QStringLiteral("en"));
}

bool SaveLanguage() {
    pointAtIniFile();
    if (!WriteIniValue(QStringLiteral("Language"), CurrentLanguage)) {
        MsgBox(QStringLiteral("Problem: SaveLanguage\n") + IniLastError(), vbCritical);
        return false;
    }
    // Said in the language the user has been using until now.
    MsgBox(isGerman() ? QStringLiteral("QEM must now be restarted") : QStringLiteral("ZOV muss nun neu gestartet werden"),
           vbInformation);
    App::end();
    return true;
}

QString DateToday(const QString& style) {
    const QString s = style.toLower();
    const QDate today = Clock::today();
    QString result;
    if (s == QLatin1String("short")) result = Runtime::shortDate(today);
    if (s == QLatin1String("medium")) {
        static const char* const american[] = {
            "US Eastern Standard Time", "Mexico Standard Time",    "US Mountain Standard Time", "Hawaiian Standard Time",
            "Alaskan Standard Time",    "Atlantic Standard Time",  "Eastern Standard Time",     "Central Standard Time",
            "Mountain Standard Time",   "Pacific Standard Time"};
        const QString zone = Clock::standardZoneName();
        QString region = QStringLiteral("Europe");
        result = Runtime::formatDate(today, QStringLiteral("dd.mm.yyyy"));
        bool found = false;
        for (const char* name : american) {
            if (zone.startsWith(QLatin1String(name))) {
                result = Runtime::formatDate(today, QStringLiteral("mm/dd/yyyy"));
                region = QStringLiteral("America");
                found = true;
                break;
            }
        }
        if (!found && zone.startsWith(QLatin1String("Zentralamerikanische Normalzeit"))) region = QStringLiteral("America");
        DateRegion = region;
    }
    if (s == QLatin1String("long")) result = Runtime::longDate(today);
    return result;
}

QString Christmas() { return DateRegion == QLatin1String("America") ? QStringLiteral("12/24") : QStringLiteral("24.12"); }
QString Silvester() { return DateRegion == QLatin1String("America") ? QStringLiteral("12/31") : QStringLiteral("31.12"); }

void RemoveUnfinishedSaves() {
    if (!App::holdsDataFolderLock()) return;
    // Only regular files: a folder or a link of such a name is not one a save left.
    QDirIterator it(App::dataFolder(), QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext()) {
        const QFileInfo file = it.nextFileInfo();
        const QString name = file.fileName();
        // What cannot be removed stays, as it would have without this.
        if ((Storage::isUnfinishedSave(name) || QtPrinter::isUnfinishedPart(name)) && file.isFile() &&
            !file.isSymLink())
            QFile::remove(file.filePath());
    }
}

void ShowMainMenu() {
    class frmChoice* menu = frmChoice();
    menu->setVisible(true);
    // Shown again, the menu becomes the active window, and so turns its globe again.
    menu->bringForward();
}

void ReturnToMenu() {
    PlayMusic(QStringLiteral("Stretch4.mp3"));
    ShowMainMenu();
}

void ResetBorderStyles(const QList<Label*>& labels) {
    for (Label* l : labels) l->setBorderStyle(0);
}

void ShowImageNotFound(const QString& name) {
    MsgBox(L(QStringLiteral("Image ") + name + QStringLiteral(" not found!"),
             QStringLiteral("Bild ") + name + QStringLiteral(" nicht gefunden!")),
           vbCritical);
}
