#include "Platform/App.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QWidget>
#include <memory>
#include <optional>

namespace App {

namespace {
QString& folder() {
    static QString f;
    return f;
}
QString& appTitle() {
    static QString t = QStringLiteral("Quembly");
    return t;
}
std::function<void()>& endHandler() {
    static std::function<void()> h;
    return h;
}
bool endingFlag = false;
std::unique_ptr<QLockFile> lock;
std::optional<bool> otherCopy;
} // namespace

QString path() {
    if (folder().isEmpty()) return QCoreApplication::applicationDirPath();
    return folder();
}

void setPath(const QString& f) {
    folder() = QDir::cleanPath(f);
    releaseInstanceLock();
}

QString file(const QString& name) { return path() + u'/' + name; }

QString title() { return appTitle(); }
void setTitle(const QString& t) { appTitle() = t; }

void end() {
    endingFlag = true;
    if (endHandler()) {
        endHandler()();
        return;
    }
    // Every window goes with the program, without its close handlers.
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

void setEndHandler(std::function<void()> handler) { endHandler() = std::move(handler); }
bool ending() { return endingFlag; }
void resetEnding() { endingFlag = false; }

int run() {
    // An end before the loop runs has nothing to quit: the loop would
    // start afresh and never end.
    if (endingFlag) return 0;
    return QApplication::exec();
}

bool previousInstance() {
    if (!otherCopy) {
        lock = std::make_unique<QLockFile>(file(QStringLiteral("QEM.lock")));
        lock->setStaleLockTime(0);
        otherCopy = !lock->tryLock(0);
    }
    return *otherCopy;
}

void releaseInstanceLock() {
    lock.reset();
    otherCopy.reset();
}

} // namespace App
