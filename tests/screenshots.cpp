// Renders every window of the program in English and in German to PNG
// files, so that anyone can look at them without starting the program:
//   QT_QPA_PLATFORM=offscreen QEM_MEDIA_DIR=<source> screenshots <folder>
#include "Modules/modMain.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

using namespace TestSupport;

namespace {
QString outDir;

void save(QWidget* w, const QString& name, const QString& language) {
    QCoreApplication::processEvents();
    w->setWindowOpacity(1.0);
    const QString file = outDir + u'/' + name + u'_' + language + QStringLiteral(".png");
    w->grab().save(file);
    qInfo("%s", qPrintable(file));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);


    for (const QString& language : {QStringLiteral("English"), QStringLiteral("German")}) {
        for (const ProgramWindow& shot : programWindows()) {
            setUp(true);
            writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
            // Windows opened without the menu still speak the stored language.
            LoadLanguage();
            if (QWidget* w = shot.open()) save(w, shot.name, language);
            tearDown();
        }
    }
    return 0;
}
