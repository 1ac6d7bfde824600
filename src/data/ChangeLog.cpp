#include "ChangeLog.h"

#include "engine/AliasRegistry.h"
#include "engine/DbfCodec.h"
#include "engine/EngineError.h"
#include "engine/PosixIo.h"
#include "engine/Table.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace jt::data {
namespace {

QString valueText(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::Double)
        return engine::shortestNumberText(v.toDouble());
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    return v.toString();
}

// The logged fields of the open table with their values in the current record (the
// edit buffer while editing) and, where given, in the stored bytes of a record. Values
// are compared as read and turned into text only for the rows written.
struct FieldValues {
    QString name;
    QVariant now;
    QVariant stored;
    bool changed() const {
        const bool nowBlank = !now.isValid() || now.isNull();
        const bool storedBlank = !stored.isValid() || stored.isNull();
        if (nowBlank || storedBlank)
            return nowBlank != storedBlank;
        return now != stored;
    }
};

QList<FieldValues> loggedValues(const engine::Table& table, const char* storedRecord) {
    const engine::DbfStructure& s = table.structure();
    QList<FieldValues> values;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const engine::Field* f = table.fieldAt(i);
        if (f->isCalculated() || !isLoggedField(f->fieldName()))
            continue;
        FieldValues v{f->fieldName(), f->value(), {}};
        if (storedRecord) {
            const auto column = std::size_t(s.indexOf(f->fieldName()));
            v.stored = engine::decodeField(s.fields[column], storedRecord + s.offsets[column]);
        }
        values << v;
    }
    return values;
}

QString valueOf(const QList<FieldValues>& values, const QString& name, bool stored) {
    for (const FieldValues& v : values)
        if (v.name == name)
            return valueText(stored ? v.stored : v.now);
    return {};
}

// The last byte of the file, or '\n' for an empty one.
char lastByte(int fd, qint64 size, const QString& path) {
    if (size == 0)
        return '\n';
    char c = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, &c, 1, size - 1);
        if (n == 1)
            return c;
        if (n < 0 && errno == EINTR)
            continue;
        throw engine::posix::ioError(QStringLiteral("read"), path, n < 0 ? errno : EIO);
    }
}

} // namespace

bool isLoggedField(const QString& fieldName) {
    // Called for every field of every post, the calculation's included: no pattern
    // matching, only a few comparisons.
    const QString upper = fieldName.toUpper();
    if ((upper.size() == 2 || upper.size() == 4) && upper.at(0) >= QLatin1Char('A') &&
        upper.at(0) <= QLatin1Char('E')) {
        const QStringView round = QStringView(upper).mid(1);
        if (round == QLatin1String("1") || round == QLatin1String("2") ||
            round == QLatin1String("3") || round == QLatin1String("SET"))
            return true;
    }
    return upper == QLatin1String("COMP_NO") || upper == QLatin1String("NAME") ||
           upper == QLatin1String("SCHOOL") || upper == QLatin1String("SEQUENCE");
}

QString changeLogPath(const QString& resultsPath) {
    const QFileInfo info(resultsPath);
    return engine::findFileIgnoringCase(info.absolutePath(),
                                        info.completeBaseName() + QStringLiteral(".log"));
}

void deleteChangeLog(const QString& resultsPath) {
    const QString path = changeLogPath(resultsPath);
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        throw engine::posix::ioError(QStringLiteral("delete"), path, errno);
}

QByteArray csvRow(const QStringList& cells) {
    QByteArray row;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            row += ',';
        QString cell = cells[i];
        if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
            cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'))) {
            cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            cell = QLatin1Char('"') + cell + QLatin1Char('"');
        }
        row += cell.toUtf8();
    }
    row += "\r\n";
    return row;
}

std::pair<qint64, qint64> appendChangeLog(const QString& path, const QList<ChangeLine>& lines,
                                          bool sync) {
    if (lines.isEmpty())
        return {-1, -1};
    namespace posix = engine::posix;
    const posix::Descriptor fd(
        posix::openFile(path, O_RDWR | O_CREAT | O_CLOEXEC, QStringLiteral("write")));
    // Another copy of the program posting to the same competition waits its turn.
    posix::lockBlocking(fd.get(), LOCK_EX);
    const qint64 size = posix::fileSize(fd.get(), path);
    QByteArray bytes;
    if (size == 0)
        bytes = csvRow(kChangeLogColumns);
    else if (lastByte(fd.get(), size, path) != '\n')
        bytes = "\r\n";
    for (const ChangeLine& line : lines)
        bytes += csvRow(line.cells());
    try {
        posix::writeAll(fd.get(), bytes.constData(), bytes.size(), size, path);
        if (sync)
            posix::sync(fd.get(), path);
        if (sync && size == 0)
            posix::syncDirectoryOf(path);
    } catch (const engine::EngineError&) {
        // No half row may stay for the next one to run on from.
        try {
            posix::truncate(fd.get(), size, path);
        } catch (const engine::EngineError&) {
            // The row that follows starts on a line of its own all the same.
        }
        throw;
    }
    return {size, size + bytes.size()};
}

void retractChangeLog(const QString& path, qint64 from, qint64 to) {
    namespace posix = engine::posix;
    try {
        const posix::Descriptor fd(
            posix::openFile(path, O_RDWR | O_CLOEXEC, QStringLiteral("write")));
        posix::lockBlocking(fd.get(), LOCK_EX);
        if (posix::fileSize(fd.get(), path) != to)
            return;
        posix::truncate(fd.get(), from, path);
        posix::sync(fd.get(), path);
    } catch (const engine::EngineError&) {
        // The rows stay: a row too many is better than a row lost.
    }
}

void syncChangeLog(const QString& path) {
    namespace posix = engine::posix;
    const posix::Descriptor fd(posix::openFile(path, O_RDONLY | O_CLOEXEC, QStringLiteral("sync")));
    posix::sync(fd.get(), path);
    posix::syncDirectoryOf(path);
}

QList<ChangeLine> postChanges(const engine::Table& results, const QString& time,
                              const QString& window) {
    const bool inserting = results.state() == engine::Table::State::Insert;
    const char* stored = inserting ? nullptr : results.storedRecord(results.currentRow());
    const QList<FieldValues> values = loggedValues(results, stored);
    if (!inserting && std::none_of(values.begin(), values.end(),
                                   [](const FieldValues& v) { return v.changed(); }))
        return {};
    QString dancer = valueOf(values, QStringLiteral("COMP_NO"), false);
    if (dancer.isEmpty() && !inserting)
        dancer = valueOf(values, QStringLiteral("COMP_NO"), true);
    QList<ChangeLine> lines;
    if (inserting)
        lines << ChangeLine{time, kDancerAdded, dancer, {}, {}, window};
    for (const FieldValues& v : values)
        if (v.changed())
            lines << ChangeLine{time,  v.name, dancer, valueText(v.stored), valueText(v.now),
                                window};
    return lines;
}

QList<ChangeLine> deleteChanges(const engine::Table& results, const QString& time,
                                const QString& window) {
    const QList<FieldValues> values = loggedValues(results, nullptr);
    const QString dancer = valueOf(values, QStringLiteral("COMP_NO"), false);
    QList<ChangeLine> lines{ChangeLine{time, kDancerDeleted, dancer, {}, {}, window}};
    for (const FieldValues& v : values)
        if (const QString held = valueText(v.now); !held.isEmpty())
            lines << ChangeLine{time, v.name, dancer, held, {}, window};
    return lines;
}

} // namespace jt::data
