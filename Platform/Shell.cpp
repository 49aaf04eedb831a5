#include "Platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace ShellSeam {
namespace {
bool on = false;
QStringList log;
} // namespace

void enable(bool b) { on = b; }
bool enabled() { return on; }
QStringList opened() { return log; }
void clear() { log.clear(); }
} // namespace ShellSeam

namespace {
bool openUrl(const QUrl& target) {
    if (!target.isValid() || target.scheme().isEmpty()) return false;
    if (ShellSeam::enabled()) {
        ShellSeam::log << target.toString(QUrl::FullyEncoded);
        return true;
    }
    return QDesktopServices::openUrl(target);
}
} // namespace

bool Shell::open(const QString& url) { return openUrl(QUrl(url, QUrl::StrictMode)); }

// A path becomes a URL here, not by its text: a blank or an umlaut in a
// file name is no character a URL may hold as it stands.
bool Shell::openFile(const QString& path) { return openUrl(QUrl::fromLocalFile(path)); }
