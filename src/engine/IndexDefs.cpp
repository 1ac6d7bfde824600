#include "IndexDefs.h"

#include "EngineError.h"
#include "PosixIo.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace jt::engine::IndexStore {
namespace {

const QLatin1String kAscending("ascending");
const QLatin1String kDescending("descending");

} // namespace

QString pathFor(const QString& tablePath) {
    const QFileInfo info(tablePath);
    QString base = info.fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    return info.path() + QLatin1Char('/') + base + QStringLiteral(".jix");
}

IndexDefList read(const QString& tablePath) {
    const QString path = pathFor(tablePath);
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(
            QStringLiteral("Cannot read index file %1: %2").arg(path, file.errorString()),
            EngineError::Kind::Io);
    IndexDefList defs;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (parts.size() != 3 || parts[0].isEmpty() ||
            (parts[2] != kAscending && parts[2] != kDescending))
            throw EngineError(
                QStringLiteral("Index file %1 is damaged at line %2").arg(path).arg(lineNumber),
                EngineError::Kind::BadFile);
        defs.push_back({parts[0], parts[1], parts[2] == kDescending});
    }
    return defs;
}

void write(const QString& tablePath, const IndexDefList& defs) {
    const QString path = pathFor(tablePath);
    if (defs.empty()) {
        remove(tablePath);
        return;
    }
    QByteArray text = "# Index definitions of " + QFileInfo(tablePath).fileName().toUtf8() +
                      ": name, field, order\n";
    for (const IndexDef& def : defs)
        text += def.name.toUtf8() + '\t' + def.field.toUtf8() + '\t' +
                (def.descending ? QByteArray("descending") : QByteArray("ascending")) + '\n';
    // Written to a temporary file and renamed over the old one, so a reader sees the old
    // list or the new one. The definitions are not synced: they need to outlive a crash
    // of the program, which the page cache gives, and a list lost with the power is
    // rebuilt when the competition is next selected. Working indexes come and go a dozen
    // times in every recalculation, and a sync each time would be most of its cost.
    const QString temp = path + QStringLiteral(".tmp");
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        QFile::remove(temp);
        throw EngineError(QStringLiteral("Cannot write index file %1: %2").arg(path, reason),
                          EngineError::Kind::Io);
    }
    file.close();
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        QFile::remove(temp);
        throw EngineError(QStringLiteral("Cannot write index file %1: %2")
                              .arg(path, QString::fromLocal8Bit(strerror(error))),
                          EngineError::Kind::Io);
    }
}

void remove(const QString& tablePath) {
    const QString path = pathFor(tablePath);
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        if (errno == ENOENT)
            return;
        throw EngineError(QStringLiteral("Cannot delete index file %1: %2")
                              .arg(path, QString::fromLocal8Bit(strerror(errno))),
                          EngineError::Kind::Io);
    }
    posix::syncDirectoryOf(path);
}

} // namespace jt::engine::IndexStore
