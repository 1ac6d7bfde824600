#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace jt::engine {

// Where each field lies in a record. Records start with the one-byte deletion flag.
struct DbfStructure {
    FieldDefs fields;
    std::vector<int> offsets;
    int recordLength = 1;
    int headerLength = 0;

    // Checks the definitions (names, types, widths) and lays them out; throws EngineError.
    static DbfStructure fromFields(const FieldDefs& fields, const QString& tableName);
    int indexOf(const QString& fieldName) const; // case-insensitive, -1 when absent
};

struct DbfHeader {
    DbfStructure structure;
    std::uint32_t recordCount = 0;
    std::uint8_t version = 0x03;
    QDate lastUpdate;
};

inline constexpr char kDeletedFlag = '*';
inline constexpr char kLiveFlag = ' ';
inline constexpr char kEndOfFile = 0x1A;
inline constexpr char kHeaderTerminator = 0x0D;
inline constexpr int kMaxCharacterWidth = 255;
inline constexpr int kMaxNumberWidth = 20;

// Reads and checks the header of a whole file held in memory. Every fault is an
// EngineError of kind BadFile whose text names the file.
DbfHeader parseHeader(const QByteArray& file, const QString& path);
// The same from the first bytes of a file of fileSize bytes; they must hold the header.
DbfHeader parseHeader(const QByteArray& head, qint64 fileSize, const QString& path);

// Checks every value of every record so that a table with junk in a number,
// logical or date field is refused when it is opened, not half-way through a pass.
void validateRecords(const DbfHeader& header, const QByteArray& file, const QString& path);

QByteArray buildHeader(const DbfStructure& structure, std::uint32_t recordCount, QDate date);
void writeHeaderCountAndDate(char* header, std::uint32_t recordCount, QDate date);

// A field's bytes as a value: QString (trailing blanks removed), double, bool or QDate;
// an empty field gives a null QVariant. Sets ok to false on bytes that are not a value.
QVariant decodeField(const FieldDef& def, const char* bytes, bool* ok = nullptr);

// Writes a value into the field's bytes. A null QVariant writes an empty field. A value
// that does not fit is refused with an EngineError naming the field; nothing is cut.
void encodeField(const FieldDef& def, const QVariant& value, char* bytes, const QString& tableName);

// Shortest decimal text that reads back as exactly this value ("2.5", "100", "0.75").
QString shortestNumberText(double value);

} // namespace jt::engine
