#pragma once
// The peak resident memory of the running process, for benchmarks that
// measure memory beside time (Linux: VmHWM of /proc/self/status).
#include <QFile>

// In MB; 0 where the system does not tell.
inline double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}
