// Renders every window of the program in English and in German to PNG
// files, so that anyone can look at them without starting the program:
//   QT_QPA_PLATFORM=offscreen QEM_MEDIA_DIR=<source> screenshots <folder>
#include "Forms/AsciiConverter/frmAscii.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/ComputerConverter/frmComp.h"
#include "Forms/CurrencyConverter/frmCur.h"
#include "Forms/CurrencyConverter/frmSetRate.h"
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/Main/frmMsg.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Forms/Planer/frmPlaner.h"
#include "Forms/TemperatureConverter/frmTemp.h"
#include "Forms/VolumeConverter/frmVol.h"
#include "Forms/WeightConverter/frmWght.h"
#include "Modules/modMain.h"
#include "Platform/UpDown.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <functional>

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

// One window: the steps that open it and the name of its pictures.
struct Shot {
    QString name;
    std::function<QWidget*()> open;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);

    const QList<Shot> shots{
        {QStringLiteral("menu"), [] { return static_cast<QWidget*>(frmChoice()); }},
        {QStringLiteral("message"),
         [] {
             setToday(QDate(2026, 12, 24));
             QWidget* shown = nullptr;
             Form::setModalHandler([&](Form* f) {
                 if (auto* m = qobject_cast<class frmMsg*>(f)) {
                     for (int i = 0; i <= 50; ++i) m->TimerSound->fire();
                     shown = m;
                 }
             });
             frmChoice();
             return shown;
         }},
        {QStringLiteral("length"),
         [] {
             auto* f = frmDis();
             f->Show();
             f->txtDis[0]->typeText("100.5");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("weight"), [] { return static_cast<QWidget*>(frmWght()); }},
        {QStringLiteral("volume"), [] { return static_cast<QWidget*>(frmVol()); }},
        {QStringLiteral("temperature"),
         [] {
             auto* f = frmTemp();
             f->Show();
             f->txtTemp[0]->typeText("-5");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("currency"),
         [] {
             auto* f = frmCur();
             f->Show();
             f->activateNow();
             f->txtCur[0]->typeText("100");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("rates"),
         [] {
             frmCur();
             return static_cast<QWidget*>(frmSetRate());
         }},
        {QStringLiteral("numbersystems"),
         [] {
             auto* f = frmComp();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("ascii"),
         [] {
             frmChoice();
             auto* f = frmAscii();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("calculator"),
         [] {
             frmChoice();
             auto* f = frmCalc();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("calendar"),
         [] {
             frmChoice();
             QWidget* shown = nullptr;
             Form::setModalHandler([&](Form* f) {
                 if (auto* c = qobject_cast<class frmClndr*>(f)) {
                     c->activateNow();
                     shown = c;
                 }
             });
             frmClndr()->Show(vbModal);
             return shown;
         }},
        {QStringLiteral("about"),
         [] {
             Form::setModalHandler([](Form*) {});
             auto* f = frmAbout();
             f->Show(vbModal);
             f->activateNow();
             for (int i = 0; i < 12; ++i) f->Timer->fire();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("planner"),
         [] {
             setToday(QDate(2026, 12, 6));
             writeFile(QStringLiteral("Planer.qem"),
                       "\"06.12.1990  Anna\"\r\n\"09.12.1980  Bob\"\r\n\"24.12.1950  Oma\"\r\n");
             writeFile(QStringLiteral("ToDo.qem"), "\" 01  Call Bob\"\r\n\" 02  Buy presents\"\r\n");
             frmChoice();
             auto* f = frmPlaner();
             f->Show();
             f->activateNow();
             f->UpDown->setValue(3);
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("morse"),
         [] {
             frmChoice();
             auto* f = frmMorse();
             f->Show();
             f->txtText->typeText(QStringLiteral("sos\rhi "));
             f->cmdEOM->click();
             return static_cast<QWidget*>(f);
         }},
    };

    for (const QString& language : {QStringLiteral("English"), QStringLiteral("German")}) {
        for (const Shot& shot : shots) {
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
