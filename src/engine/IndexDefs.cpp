#include "IndexDefs.h"

#include "Crc32.h"
#include "EngineError.h"
#include "LittleEndian.h"
#include "PosixIo.h"
#include "Table.h"
#include "WorkingIndexes.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/file.h>
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

namespace {

// Replaces the file with bytes: they go to a temporary file beside it that is renamed
// over it, so a reader sees the old contents or the new, and a failure (a full disk)
// leaves the old file whole. Not synced: see write().
void replaceFile(const QString& path, const QByteArray& bytes) {
    const QString temp = path + QStringLiteral(".tmp");
    const QByteArray nativeTemp = QFile::encodeName(temp);
    posix::Descriptor out(posix::openQuietly(temp, O_WRONLY | O_CREAT | O_TRUNC));
    if (!out.valid())
        throw posix::ioError(QStringLiteral("write"), path, errno);
    try {
        posix::writeAll(out.get(), bytes.constData(), bytes.size(), 0, path);
    } catch (...) {
        out.reset();
        ::unlink(nativeTemp.constData());
        throw;
    }
    out.reset();
    int error = posix::observe(IoEvent::Kind::Rename, path);
    if (error == 0 && ::rename(nativeTemp.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(nativeTemp.constData());
        throw posix::ioError(QStringLiteral("write"), path, error);
    }
}

const QByteArray kUndoMagic("JTX1");
constexpr int kUndoHeaderSize = 9; // magic, whether a file existed, CRC-32 of the rest

QByteArray formatDefs(const QString& tablePath, const IndexDefList& defs) {
    QByteArray text = "# Index definitions of " + QFileInfo(tablePath).fileName().toUtf8() +
                      ": name, field, order\n";
    for (const IndexDef& def : defs)
        text += def.name.toUtf8() + '\t' + def.field.toUtf8() + '\t' +
                (def.descending ? QByteArray("descending") : QByteArray("ascending")) + '\n';
    return text;
}

IndexDefList parseDefs(const QString& path, const QByteArray& text) {
    IndexDefList defs;
    int lineNumber = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++lineNumber;
        const QString line = QString::fromUtf8(raw).trimmed();
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

// The definitions file as it is: nothing when there is none.
std::optional<QByteArray> readDefsFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(
            QStringLiteral("Cannot read index file %1: %2").arg(path, file.errorString()),
            EngineError::Kind::Io);
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EngineError(
            QStringLiteral("Cannot read index file %1: %2").arg(path, file.errorString()),
            EngineError::Kind::Io);
    return text;
}

QByteArray encodeUndo(const std::optional<QByteArray>& before) {
    QByteArray rest(1, before ? '1' : '0');
    if (before)
        rest += *before;
    QByteArray undo = kUndoMagic;
    undo.append(4, '\0');
    putLE<std::uint32_t>(undo.data() + 4, crc32(rest.constData(), std::size_t(rest.size())));
    return undo + rest;
}

// Nothing when the undo file is torn or damaged; else the file as it was (which may be
// no file at all).
std::optional<std::optional<QByteArray>> decodeUndo(const QByteArray& undo) {
    if (undo.size() < kUndoHeaderSize || !undo.startsWith(kUndoMagic) ||
        (undo[8] != '0' && undo[8] != '1') ||
        getLE<std::uint32_t>(undo.constData() + 4) !=
            crc32(undo.constData() + 8, std::size_t(undo.size() - 8)))
        return std::nullopt;
    if (undo[8] == '0')
        return std::optional<QByteArray>();
    return std::optional<QByteArray>(undo.mid(kUndoHeaderSize));
}

// The working indexes this program has in the definitions of each table, and the lock
// on the saved definitions that tells other programs it is alive.
struct WorkingTable {
    posix::Descriptor undoFd;
    QStringList names;
};

std::map<QString, WorkingTable>& workingTables() {
    static std::map<QString, WorkingTable> tables;
    return tables;
}

QString workingKey(const QString& tablePath) {
    return QFileInfo(tablePath).absoluteFilePath();
}

// Puts back the definitions saved by a program that died with working indexes in
// them. Returns the definitions file as it should read.
std::optional<QByteArray> recoverWorking(const QString& tablePath) {
    const QString path = pathFor(tablePath);
    const QString upath = undoPathFor(tablePath);
    if (workingTables().count(workingKey(tablePath)))
        return readDefsFile(path); // ours, and we are alive
    posix::Descriptor undoFd(posix::openQuietly(upath, O_RDWR));
    const bool writable = undoFd.valid();
    if (!writable)
        undoFd.reset(posix::openQuietly(upath, O_RDONLY));
    if (!undoFd.valid())
        return readDefsFile(path);
    if (::flock(undoFd.get(), LOCK_EX | LOCK_NB) != 0)
        return readDefsFile(path); // a program at work with its working indexes
    std::optional<std::optional<QByteArray>> before;
    try {
        before = decodeUndo(posix::readAll(undoFd.get(), upath, 1 << 20));
    } catch (const EngineError&) {
    }
    if (!before) {
        // Torn (a power cut before it reached the disk): the definitions stay as they are.
        if (writable)
            posix::unlinkQuietly(upath);
        return readDefsFile(path);
    }
    try {
        if (*before)
            replaceFile(path, **before);
        else if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            throw posix::ioError(QStringLiteral("delete"), path, errno);
        posix::unlinkQuietly(upath);
    } catch (const EngineError&) {
        // A folder that cannot be written: read as they were, put back by a later open.
    }
    return *before;
}

} // namespace

QString undoPathFor(const QString& tablePath) {
    return pathFor(tablePath) + QStringLiteral("-undo");
}

IndexDefList read(const QString& tablePath) {
    const std::optional<QByteArray> text = recoverWorking(tablePath);
    return text ? parseDefs(pathFor(tablePath), *text) : IndexDefList();
}

void write(const QString& tablePath, const IndexDefList& defs) {
    const QString path = pathFor(tablePath);
    if (defs.empty()) {
        remove(tablePath);
        return;
    }
    // Written to a temporary file and renamed over the old one, so a reader sees the old
    // list or the new one. The definitions are not synced: they need to outlive a crash
    // of the program, which the page cache gives, and a list lost with the power is
    // rebuilt when the competition is next selected. Working indexes come and go a dozen
    // times in every recalculation, and a sync each time would be most of its cost.
    replaceFile(path, formatDefs(tablePath, defs));
}

void beginWorking(const QString& tablePath, const QString& name) {
    auto& tables = workingTables();
    const QString key = workingKey(tablePath);
    const auto found = tables.find(key);
    if (found != tables.end()) {
        found->second.names << name;
        return;
    }
    // What a dead program left is put back before the definitions are saved.
    recoverWorking(tablePath);
    // The saved definitions appear under their name already locked (the lock rides on
    // the open file), so no other program can take them for a dead one's. Like the
    // definitions, they need to outlive only a crash of the program, not a power cut.
    const QString upath = undoPathFor(tablePath);
    const QString temp = upath + QStringLiteral(".tmp");
    WorkingTable table;
    table.undoFd.reset(posix::openFile(temp, O_RDWR | O_CREAT | O_TRUNC, QStringLiteral("write")));
    try {
        posix::lockBlocking(table.undoFd.get(), LOCK_EX);
        const QByteArray undo = encodeUndo(readDefsFile(pathFor(tablePath)));
        posix::writeAll(table.undoFd.get(), undo.constData(), undo.size(), 0, upath);
        int error = posix::observe(IoEvent::Kind::Rename, upath);
        if (error == 0 && ::rename(QFile::encodeName(temp).constData(),
                                   QFile::encodeName(upath).constData()) != 0)
            error = errno;
        if (error != 0)
            throw posix::ioError(QStringLiteral("write"), upath, error);
    } catch (...) {
        table.undoFd.reset();
        ::unlink(QFile::encodeName(temp).constData());
        throw;
    }
    table.names << name;
    tables.emplace(key, std::move(table));
}

void endWorking(const QString& tablePath, const QString& name) {
    auto& tables = workingTables();
    const auto found = tables.find(workingKey(tablePath));
    if (found == tables.end())
        return;
    for (qsizetype i = 0; i < found->second.names.size(); ++i)
        if (found->second.names[i].compare(name, Qt::CaseInsensitive) == 0) {
            found->second.names.removeAt(i);
            break;
        }
    if (!found->second.names.isEmpty())
        return;
    // Removed while still locked, so no other program puts the old definitions back.
    posix::unlinkQuietly(undoPathFor(tablePath));
    tables.erase(found);
}

void addWorkingIndex(Table& table, const QString& name, const QString& field, bool descending) {
    const QString path = table.resolvedPath();
    beginWorking(path, name);
    try {
        table.addIndex(name, field, descending);
    } catch (...) {
        endWorking(path, name);
        throw;
    }
}

void deleteWorkingIndex(Table& table, const QString& name) {
    const QString path = table.resolvedPath();
    table.deleteIndex(name);
    endWorking(path, name);
}

void remove(const QString& tablePath) {
    const QString path = pathFor(tablePath);
    // Definitions a dead program saved belong to the table that goes with them.
    if (!workingTables().count(workingKey(tablePath)) && QFile::exists(undoPathFor(tablePath)))
        posix::unlinkQuietly(undoPathFor(tablePath));
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
