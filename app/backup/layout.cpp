#include "layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace backup::layout {
namespace {

// (stamp, counter) of a stem such as "20261208T185412Z-2", so "-10" sorts after "-9".
std::pair<QString, int> stemOrder(const QString& stem) {
    const int dash = stem.indexOf('-');
    if (dash < 0) return {stem, 0};
    return {stem.left(dash), stem.mid(dash + 1).toInt()};
}

QString stemOf(const QString& fileName, bool* sealed) {
    for (const char* suffix : {kSealedPackage, kPlainPackage}) {
        if (fileName.endsWith(QLatin1String(suffix))) {
            *sealed = suffix == kSealedPackage;
            return fileName.chopped(int(std::strlen(suffix)));
        }
    }
    return {};
}

bool syncDirectory(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

QString timeStamp(const QDateTime& when) {
    return when.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString safePart(const QString& text, const QString& fallback) {
    QString part = text.left(64);
    for (QChar& c : part) {
        const bool safe =
            (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == '.' || c == '-' || c == '_';
        if (!safe) c = QLatin1Char('_');
    }
    if (part.isEmpty() || part == "." || part == ".." || part.startsWith('.')) return fallback;
    return part;
}

QVector<Generation> generations(const QString& libraryDir) {
    QVector<Generation> found;
    const QDir dir(libraryDir);
    for (const QString& name : dir.entryList(QDir::Files)) {
        Generation generation;
        generation.stem = stemOf(name, &generation.sealed);
        if (generation.stem.isEmpty()) continue;
        generation.packagePath = dir.absoluteFilePath(name);
        generation.sumPath = dir.absoluteFilePath(generation.stem + kSumSuffix);
        found.append(generation);
    }
    std::sort(found.begin(), found.end(), [](const Generation& a, const Generation& b) {
        return stemOrder(a.stem) < stemOrder(b.stem);
    });
    return found;
}

QString freeStem(const QString& dir, const QString& stamp) {
    const QStringList taken = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (int counter = 0;; ++counter) {
        const QString stem = counter == 0 ? stamp : stamp + '-' + QString::number(counter);
        const bool used = std::any_of(taken.begin(), taken.end(), [&](const QString& name) {
            return name.startsWith(stem + '.') || name.startsWith('.' + stem + '.');
        });
        if (!used) return stem;
    }
}

QStringList libraryDirs(const QString& root) {
    QStringList found;
    const QDir top(root);
    for (const QString& camera : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (camera == kManifestDir) continue;
        for (const QString& library :
             QDir(top.filePath(camera)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            found.append(camera + '/' + library);
    }
    found.sort();
    return found;
}

int removeLeftovers(const QString& root) {
    int removed = 0;
    const QDir top(root);
    for (const QString& work : top.entryList({".work-*"}, QDir::Dirs | QDir::Hidden))
        removed += QDir(top.filePath(work)).removeRecursively() ? 1 : 0;
    QStringList dirs = libraryDirs(root);
    dirs.append(kManifestDir);
    for (const QString& relative : qAsConst(dirs)) {
        QDir dir(top.filePath(relative));
        for (const QString& part : dir.entryList({QString("*") + kPartSuffix},
                                                 QDir::Files | QDir::Hidden))
            removed += dir.remove(part) ? 1 : 0;
        for (const QString& sum : dir.entryList({QString("*") + kSumSuffix}, QDir::Files)) {
            const QString stem = sum.chopped(int(std::strlen(kSumSuffix)));
            if (!dir.exists(stem + kPlainPackage) && !dir.exists(stem + kSealedPackage))
                removed += dir.remove(sum) ? 1 : 0;
        }
    }
    return removed;
}

bool publish(const QString& from, const QString& to, QString* error) {
    const QByteArray source = QFile::encodeName(from);
    if (::link(source.constData(), QFile::encodeName(to).constData()) != 0) {
        *error = QString("cannot place %1: %2").arg(to, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    ::unlink(source.constData());
    syncDirectory(QFileInfo(to).absolutePath());
    return true;
}

bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(path);
    const QString part = target.absolutePath() + "/." + target.fileName() + kPartSuffix;
    QFile file(part);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    if (!ok) {
        *error = QString("cannot write %1: %2").arg(path, file.errorString());
        QFile::remove(part);
        return false;
    }
    if (!publish(part, path, error)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

}  // namespace backup::layout
