// Quembly: starts into the menu window; the program lives as long as it.
#include "Forms/Main/frmChoice.h"
#include "Platform/Fonts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quembly"));
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::registerSubstitutes();
    frmChoice();
    return QApplication::exec();
}
