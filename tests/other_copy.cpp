// Another copy of the program, for the start-up test: asks for the locks
// of its program folder as the program does when it starts, prints
// "running" (it holds them) or "refused" (another copy does), and keeps
// what it holds until its input closes or it is killed.
//   other_copy <program folder> [<data folder>] [record <file>]
// With a data folder the program folder counts as read-only, and what the
// copy would write goes to that folder. With "record" it also leaves in
// <file> the record a toolkit lock file (QLockFile) keeps of its owner:
// its own process number and name, as a copy killed long ago left its
// lock file before this process took over its number.
#include "Platform/App.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return 2;
    QString record;
    if (args.size() >= 3 && args[args.size() - 2] == QLatin1String("record")) {
        record = args.last();
        args = args.mid(0, args.size() - 2);
    }
    App::setPath(args[0]);
    if (args.size() > 1) {
        App::setProgramFolderWritable(false);
        App::setUserDataFolder(args[1]);
    }
    if (!record.isEmpty()) {
        QLockFile made(record + QStringLiteral(".making"));
        if (!made.tryLock(0)) return 3;
        QFile from(record + QStringLiteral(".making")), to(record);
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly)) return 3;
        const QByteArray bytes = from.readAll();
        if (to.write(bytes) != bytes.size() || !to.flush()) return 3;
    }
    std::printf("%s\n", App::previousInstance() ? "refused" : "running");
    std::fflush(stdout);
    // Until the test closes the input (or kills this process).
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    return 0;
}
