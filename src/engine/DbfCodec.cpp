#include "DbfCodec.h"

#include "Cp1252.h"
#include "EngineError.h"

#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace jt::engine {
namespace {

constexpr int kFileHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr std::uint8_t kLanguageDriverCp1252 = 0x03;

std::uint16_t readU16(const char* p) {
    return std::uint16_t(std::uint8_t(p[0]) | (std::uint8_t(p[1]) << 8));
}

std::uint32_t readU32(const char* p) {
    return std::uint32_t(std::uint8_t(p[0])) | (std::uint32_t(std::uint8_t(p[1])) << 8) |
           (std::uint32_t(std::uint8_t(p[2])) << 16) | (std::uint32_t(std::uint8_t(p[3])) << 24);
}

void writeU16(char* p, std::uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

void writeU32(char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

EngineError badFile(const QString& path, const QString& what) {
    return EngineError(QStringLiteral("%1 is not a sound dBASE table: %2").arg(path, what),
                       EngineError::Kind::BadFile);
}

bool isBlank(char c) {
    return c == ' ' || c == '\0';
}

// The bytes of a field without leading and trailing blanks (and NULs some writers pad with).
std::pair<const char*, const char*> trimmed(const char* bytes, int width) {
    const char* begin = bytes;
    const char* end = bytes + width;
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    return {begin, end};
}

bool knownVersion(std::uint8_t version) {
    const int level = version & 0x07;
    return level == 3 || level == 4 || level == 5 || version == 0x30 || version == 0x31 ||
           version == 0x32;
}

bool validFieldName(const QString& name) {
    if (name.isEmpty() || name.size() > 10)
        return false;
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        const bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

// Width rules of each type; returns an empty text when the definition is sound.
QString fieldProblem(const FieldDef& def) {
    switch (def.type) {
    case FieldType::Character:
        if (def.width < 1 || def.width > kMaxCharacterWidth)
            return QStringLiteral("character field %1 has width %2 (1 to %3 allowed)")
                .arg(def.name)
                .arg(def.width)
                .arg(kMaxCharacterWidth);
        return {};
    case FieldType::Numeric:
    case FieldType::Float:
        if (def.width < 1 || def.width > kMaxNumberWidth)
            return QStringLiteral("number field %1 has width %2 (1 to %3 allowed)")
                .arg(def.name)
                .arg(def.width)
                .arg(kMaxNumberWidth);
        if (def.decimals < 0 || (def.decimals > 0 && def.decimals >= def.width))
            return QStringLiteral("number field %1 has %2 decimals in a width of %3")
                .arg(def.name)
                .arg(def.decimals)
                .arg(def.width);
        return {};
    case FieldType::Logical:
        if (def.width != 1)
            return QStringLiteral("logical field %1 has width %2 (must be 1)")
                .arg(def.name)
                .arg(def.width);
        return {};
    case FieldType::Date:
        if (def.width != 8)
            return QStringLiteral("date field %1 has width %2 (must be 8)")
                .arg(def.name)
                .arg(def.width);
        return {};
    }
    return QStringLiteral("field %1 has an unknown type").arg(def.name);
}

std::optional<FieldType> typeFromCode(char code) {
    switch (code) {
    case 'C':
        return FieldType::Character;
    case 'N':
        return FieldType::Numeric;
    case 'F':
        return FieldType::Float;
    case 'L':
        return FieldType::Logical;
    case 'D':
        return FieldType::Date;
    default:
        return std::nullopt;
    }
}

QString printableCode(char code) {
    const auto byte = std::uint8_t(code);
    if (byte >= 0x20 && byte < 0x7F)
        return QStringLiteral("'%1'").arg(QChar(char16_t(byte)));
    return QStringLiteral("0x%1").arg(byte, 2, 16, QLatin1Char('0'));
}

std::optional<double> parseNumber(const char* begin, const char* end) {
    if (begin < end && *begin == '+')
        ++begin;
    if (begin == end)
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The value with the given decimals into buffer (at least 400 bytes); returns the length.
int fixedText(double value, int decimals, char* buffer, int size) {
    const auto result =
        std::to_chars(buffer, buffer + size, value, std::chars_format::fixed, decimals);
    int length = int(result.ptr - buffer);
    // A negative value that rounds to zero is written as zero.
    if (length > 0 && buffer[0] == '-' &&
        std::none_of(buffer, buffer + length, [](char c) { return c >= '1' && c <= '9'; })) {
        std::memmove(buffer, buffer + 1, std::size_t(length - 1));
        --length;
    }
    return length;
}

} // namespace

DbfStructure DbfStructure::fromFields(const FieldDefs& fields, const QString& tableName) {
    if (fields.empty())
        throw EngineError(QStringLiteral("Table %1 must have at least one field").arg(tableName));
    DbfStructure s;
    s.fields = fields;
    QSet<QString> seen;
    int offset = 1;
    for (const FieldDef& def : fields) {
        if (!validFieldName(def.name))
            throw EngineError(
                QStringLiteral("Invalid field name '%1' in table %2").arg(def.name, tableName));
        if (const QString problem = fieldProblem(def); !problem.isEmpty())
            throw EngineError(QStringLiteral("Table %1: %2").arg(tableName, problem));
        const QString key = def.name.toUpper();
        if (seen.contains(key))
            throw EngineError(
                QStringLiteral("Duplicate field name %1 in table %2").arg(def.name, tableName));
        seen.insert(key);
        s.offsets.push_back(offset);
        offset += def.width;
    }
    if (offset > 0xFFFF)
        throw EngineError(QStringLiteral("Records of table %1 would be too long").arg(tableName));
    s.recordLength = offset;
    s.headerLength = kFileHeaderSize + kDescriptorSize * int(fields.size()) + 1;
    return s;
}

int DbfStructure::indexOf(const QString& fieldName) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

DbfHeader parseHeader(const QByteArray& file, const QString& path) {
    return parseHeader(file, file.size(), path);
}

DbfHeader parseHeader(const QByteArray& file, qint64 fileSize, const QString& path) {
    const qint64 size = fileSize;
    if (size < kFileHeaderSize + 1 || file.size() < kFileHeaderSize + 1)
        throw badFile(path,
                      QStringLiteral("the file is too short for a header (%1 bytes)").arg(size));
    const char* data = file.constData();
    DbfHeader header;
    header.version = std::uint8_t(data[0]);
    if (!knownVersion(header.version))
        throw badFile(path, QStringLiteral("unknown version byte 0x%1")
                                .arg(header.version, 2, 16, QLatin1Char('0')));
    header.lastUpdate =
        QDate(1900 + std::uint8_t(data[1]), std::uint8_t(data[2]), std::uint8_t(data[3]));
    header.recordCount = readU32(data + 4);
    const int headerLength = readU16(data + 8);
    const int recordLength = readU16(data + 10);
    if (headerLength < kFileHeaderSize + 1 || headerLength > size || headerLength > file.size())
        throw badFile(path, QStringLiteral("header length %1 does not fit a file of %2 bytes")
                                .arg(headerLength)
                                .arg(size));

    FieldDefs fields;
    int pos = kFileHeaderSize;
    bool terminated = false;
    while (pos < headerLength) {
        if (data[pos] == kHeaderTerminator) {
            terminated = true;
            break;
        }
        if (pos + kDescriptorSize > headerLength)
            break;
        const char* d = data + pos;
        const int nameLength = int(strnlen(d, 11));
        FieldDef def;
        def.name = QString::fromLatin1(d, nameLength);
        const auto type = typeFromCode(d[11]);
        if (!type)
            throw badFile(path, QStringLiteral("field %1 has the unsupported type %2")
                                    .arg(def.name, printableCode(d[11])));
        def.type = *type;
        def.width = std::uint8_t(d[16]);
        def.decimals = def.type == FieldType::Character ? 0 : std::uint8_t(d[17]);
        if (!validFieldName(def.name))
            throw badFile(path,
                          QStringLiteral("field %1 has an invalid name").arg(fields.size() + 1));
        if (const QString problem = fieldProblem(def); !problem.isEmpty())
            throw badFile(path, problem);
        fields.push_back(def);
        pos += kDescriptorSize;
    }
    if (!terminated)
        throw badFile(path, QStringLiteral("the field list has no terminator"));
    if (fields.empty())
        throw badFile(path, QStringLiteral("the table has no fields"));

    try {
        header.structure = DbfStructure::fromFields(fields, path);
    } catch (const EngineError& e) {
        throw badFile(path, e.message());
    }
    if (recordLength != header.structure.recordLength)
        throw badFile(
            path, QStringLiteral("the header gives a record length of %1 but the fields need %2")
                      .arg(recordLength)
                      .arg(header.structure.recordLength));
    header.structure.headerLength = headerLength;
    const qint64 needed = qint64(headerLength) + qint64(header.recordCount) * recordLength;
    if (needed > size) {
        const qint64 held = (size - headerLength) / recordLength;
        throw badFile(path,
                      QStringLiteral("the header counts %1 records but the file holds only %2")
                          .arg(header.recordCount)
                          .arg(held));
    }
    return header;
}

void validateRecords(const DbfHeader& header, const QByteArray& file, const QString& path) {
    const DbfStructure& s = header.structure;
    const char* records = file.constData() + s.headerLength;
    for (std::uint32_t r = 0; r < header.recordCount; ++r) {
        const char* record = records + qint64(r) * s.recordLength;
        for (std::size_t f = 0; f < s.fields.size(); ++f) {
            const FieldDef& def = s.fields[f];
            if (def.type == FieldType::Character)
                continue;
            bool ok = true;
            decodeField(def, record + s.offsets[f], &ok);
            if (!ok) {
                const QByteArray raw(record + s.offsets[f], def.width);
                throw badFile(
                    path,
                    QStringLiteral("record %1 holds '%2' in field %3, which is not a valid value")
                        .arg(r + 1)
                        .arg(QString::fromLatin1(raw).trimmed(), def.name));
            }
        }
    }
}

QByteArray buildHeader(const DbfStructure& structure, std::uint32_t recordCount, QDate date) {
    QByteArray header(structure.headerLength, '\0');
    char* h = header.data();
    h[0] = 0x03;
    writeHeaderCountAndDate(h, recordCount, date);
    writeU16(h + 8, std::uint16_t(structure.headerLength));
    writeU16(h + 10, std::uint16_t(structure.recordLength));
    h[29] = char(kLanguageDriverCp1252);
    for (std::size_t i = 0; i < structure.fields.size(); ++i) {
        const FieldDef& def = structure.fields[i];
        char* d = h + kFileHeaderSize + kDescriptorSize * int(i);
        const QByteArray name = def.name.toLatin1();
        std::memcpy(d, name.constData(), std::size_t(std::min<qsizetype>(name.size(), 10)));
        d[11] = char(def.type);
        writeU32(d + 12, std::uint32_t(structure.offsets[i]));
        d[16] = char(def.width);
        d[17] = char(def.decimals);
    }
    h[structure.headerLength - 1] = kHeaderTerminator;
    return header;
}

void writeHeaderCountAndDate(char* header, std::uint32_t recordCount, QDate date) {
    header[1] = char(std::clamp(date.year() - 1900, 0, 255));
    header[2] = char(date.month());
    header[3] = char(date.day());
    writeU32(header + 4, recordCount);
}

QVariant decodeField(const FieldDef& def, const char* bytes, bool* ok) {
    if (ok)
        *ok = true;
    auto fail = [ok]() {
        if (ok)
            *ok = false;
        return QVariant();
    };
    switch (def.type) {
    case FieldType::Character: {
        int length = def.width;
        while (length > 0 && isBlank(bytes[length - 1]))
            --length;
        if (length == 0)
            return {};
        return decodeCp1252(bytes, length);
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        const auto [begin, end] = trimmed(bytes, def.width);
        if (begin == end)
            return {};
        const auto value = parseNumber(begin, end);
        if (!value)
            return fail();
        return *value;
    }
    case FieldType::Logical:
        switch (bytes[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            return false;
        case ' ':
        case '?':
        case '\0':
            return {};
        default:
            return fail();
        }
    case FieldType::Date: {
        const auto [begin, end] = trimmed(bytes, def.width);
        if (begin == end)
            return {};
        if (end - begin != 8)
            return fail();
        int parts[3] = {0, 0, 0};
        const int lengths[3] = {4, 2, 2};
        const char* p = begin;
        for (int i = 0; i < 3; ++i) {
            const auto [ptr, ec] = std::from_chars(p, p + lengths[i], parts[i]);
            if (ec != std::errc() || ptr != p + lengths[i])
                return fail();
            p += lengths[i];
        }
        if (parts[0] == 0 && parts[1] == 0 && parts[2] == 0)
            return {};
        const QDate date(parts[0], parts[1], parts[2]);
        if (!date.isValid())
            return fail();
        return date;
    }
    }
    return fail();
}

namespace {

void encodeInto(const FieldDef& def, const QVariant& value, char* bytes, const QString& tableName) {
    std::memset(bytes, ' ', std::size_t(def.width));
    if (!value.isValid() || value.isNull())
        return;
    auto tooWide = [&](const QString& text) {
        return EngineError(
            QStringLiteral("The value '%1' is too wide for field %2 of table %3 (width %4)")
                .arg(text, def.name, tableName)
                .arg(def.width));
    };
    switch (def.type) {
    case FieldType::Character: {
        QString text = value.toString();
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        const auto encoded = encodeCp1252(text);
        if (!encoded)
            throw EngineError(
                QStringLiteral(
                    "The text '%1' holds a character that field %2 of table %3 cannot store")
                    .arg(text, def.name, tableName));
        if (encoded->size() > def.width)
            throw tooWide(text);
        std::memcpy(bytes, encoded->constData(), std::size_t(encoded->size()));
        return;
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            throw EngineError(QStringLiteral("'%1' is not a valid number for field %2 of table %3")
                                  .arg(value.toString(), def.name, tableName));
        // Huge values spell out to over 300 digits, so the buffer is a generous one.
        char buffer[400];
        int length = fixedText(number, def.decimals, buffer, int(sizeof buffer));
        const char* text = buffer;
        // Fields whose decimals fill the width hold ".5" rather than "0.5".
        if (length > def.width && length >= 2 && buffer[0] == '0' && buffer[1] == '.') {
            ++text;
            --length;
        } else if (length > def.width && length >= 3 && buffer[0] == '-' && buffer[1] == '0' &&
                   buffer[2] == '.') {
            buffer[1] = '-';
            ++text;
            --length;
        }
        if (length > def.width)
            throw tooWide(shortestNumberText(number));
        std::memcpy(bytes + def.width - length, text, std::size_t(length));
        return;
    }
    case FieldType::Logical: {
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed().toUpper();
            if (t.isEmpty() || t == QLatin1String("?"))
                return;
            if (t == QLatin1String("T") || t == QLatin1String("Y") || t == QLatin1String("TRUE") ||
                t == QLatin1String("YES")) {
                bytes[0] = 'T';
                return;
            }
            if (t == QLatin1String("F") || t == QLatin1String("N") || t == QLatin1String("FALSE") ||
                t == QLatin1String("NO")) {
                bytes[0] = 'F';
                return;
            }
            throw EngineError(
                QStringLiteral("'%1' is not a valid boolean value for field %2 of table %3")
                    .arg(value.toString(), def.name, tableName));
        }
        bytes[0] = value.toBool() ? 'T' : 'F';
        return;
    }
    case FieldType::Date: {
        const QDate date = value.toDate();
        if (!date.isValid() || date.year() < 1 || date.year() > 9999)
            throw EngineError(QStringLiteral("'%1' is not a valid date for field %2 of table %3")
                                  .arg(value.toString(), def.name, tableName));
        const QByteArray text = date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        std::memcpy(bytes, text.constData(), 8);
        return;
    }
    }
}

} // namespace

// The bytes change only when the value is accepted.
void encodeField(const FieldDef& def, const QVariant& value, char* bytes,
                 const QString& tableName) {
    char out[256];
    Q_ASSERT(def.width <= int(sizeof out));
    encodeInto(def, value, out, tableName);
    std::memcpy(bytes, out, std::size_t(def.width));
}

QString shortestNumberText(double value) {
    // Room for the longest plain form of a double (309 integer digits, or 1074 decimals).
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, int(result.ptr - buffer));
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    // Large or tiny values come out in exponent form; spell them out in plain decimals.
    if (text.contains(QLatin1Char('e'))) {
        const auto fixed =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        text = QString::fromLatin1(buffer, int(fixed.ptr - buffer));
    }
    return text;
}

} // namespace jt::engine
