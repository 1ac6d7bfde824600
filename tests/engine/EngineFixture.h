#pragma once

#include "engine/AliasRegistry.h"
#include "engine/DbfCodec.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace jt::test {

// A temporary folder with its own alias "enginetest" and alias configuration, for the
// engine's tests; tables are made in it by name.
class EngineFolder final {
public:
    EngineFolder() {
        engine::AliasRegistry::instance().setConfigFile(m_dir.path() +
                                                        QStringLiteral("/aliases.ini"));
        engine::AliasRegistry::instance().addStandardAlias(alias(), m_dir.path(),
                                                           QStringLiteral("DBASE"));
    }
    static QString alias() { return QStringLiteral("enginetest"); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    // A closed table handle on NAME in the folder.
    std::unique_ptr<engine::Table> handle(const QString& name) const {
        auto t = std::make_unique<engine::Table>();
        t->setDatabaseName(alias());
        t->setTableName(name);
        return t;
    }
    // Creates NAME with these fields and returns it open (shared unless exclusive).
    std::unique_ptr<engine::Table> create(const QString& name, const engine::FieldDefs& fields,
                                          bool exclusive = false) const {
        auto t = handle(name);
        t->createTable(fields);
        t->setExclusive(exclusive);
        t->open();
        return t;
    }

private:
    QTemporaryDir m_dir;
};

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The bytes of a dBASE file as our writer lays it out, with records given as their
// field texts (already padded or not: each is blank-padded to its width on the right
// for text, on the left for numbers).
inline QByteArray tableImage(const engine::FieldDefs& fields,
                             const std::vector<QStringList>& records, bool withEndMarker = true) {
    const auto s = engine::DbfStructure::fromFields(fields, QStringLiteral("fixture"));
    QByteArray image = engine::buildHeader(s, std::uint32_t(records.size()), QDate(2024, 5, 1));
    for (const QStringList& values : records) {
        QByteArray record(s.recordLength, ' ');
        for (int f = 0; f < int(fields.size()) && f < values.size(); ++f) {
            QByteArray text = values[f].toLatin1();
            const int width = fields[std::size_t(f)].width;
            text.truncate(width);
            const int at = fields[std::size_t(f)].isNumber() ? width - int(text.size()) : 0;
            std::memcpy(record.data() + s.offsets[std::size_t(f)] + at, text.constData(),
                        std::size_t(text.size()));
        }
        image += record;
    }
    if (withEndMarker)
        image += char(0x1A);
    return image;
}

// Reads every visible record of an open table as texts, for comparing whole tables.
inline std::vector<QStringList> rows(engine::Table& t) {
    std::vector<QStringList> out;
    for (int r = 0; r < t.rowCount(); ++r) {
        QStringList row;
        for (int f = 0; f < t.fieldCount(); ++f)
            row << engine::plainText(t.valueAt(r, f));
        out.push_back(row);
    }
    return out;
}

// One field's values down the current order, as text.
inline QStringList column(engine::Table& t, const QString& field) {
    QStringList out;
    const int no = t.fieldByName(field)->fieldNo();
    for (int r = 0; r < t.rowCount(); ++r)
        out << engine::plainText(t.valueAt(r, no));
    return out;
}

} // namespace jt::test
