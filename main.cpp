// Quembly: starts into the menu window; the program lives as long as it.
#include "Forms/Main/frmChoice.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/QtAudio.h"
#include "Platform/Random.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quembly"));
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::registerSubstitutes();
    // Sound through the audio server; nothing waits for it here: the first
    // sound connects, away from the user interface.
    QtAudio::install();
    // One seed for the run: the games draw from one sequence.
    Randomize();
    frmChoice();
    return App::run();
}
