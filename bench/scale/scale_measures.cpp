#include "scale_measures.h"

#include <malloc.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <fstream>
#include <string>

namespace measures {

long statusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    long value = -1;
    while (status >> word) {
        if (word == key && status >> value) break;
    }
    return value;
}

long trimmedResidentKiB() {
    malloc_trim(0);
    return statusKiB("VmRSS:");
}

namespace {

QByteArray readProc(const char* path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

double processAgeMs() {
    // Field 22 (start time in clock ticks after boot) counts from the state field after ")".
    const QByteArray stat = readProc("/proc/self/stat");
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const QList<QByteArray> uptime = readProc("/proc/uptime").split(' ');
    if (fields.size() < 20 || uptime.isEmpty()) return -1;
    const double startSeconds = fields.at(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    return (uptime.first().toDouble() - startSeconds) * 1000.0;
}

QString loadAverage() {
    const QList<QByteArray> fields = readProc("/proc/loadavg").split(' ');
    if (fields.size() < 3) return "unknown";
    return QString("%1 %2 %3").arg(fields[0], fields[1], fields[2]);
}

}  // namespace measures
