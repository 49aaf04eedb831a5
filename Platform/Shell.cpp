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

bool Shell::open(const QString& url) {
    if (ShellSeam::enabled()) {
        ShellSeam::log << url;
        return true;
    }
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.scheme().isEmpty()) return false;
    return QDesktopServices::openUrl(target);
}
