// libFuzzer target: arbitrary bytes through the table reader as the engine uses it on
// open (header, record checks) and then every field of every record decoded, as a
// grid or a dump would.
#include "engine/DbfCodec.h"
#include "engine/EngineError.h"
#include "engine/Field.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace jt::engine;
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = QStringLiteral("fuzz.dbf");
    try {
        const DbfHeader header = parseHeader(file, path);
        validateRecords(header, file, path);
        const DbfStructure& s = header.structure;
        for (std::uint32_t r = 0; r < header.recordCount; ++r) {
            const char* record = file.constData() + s.headerLength + qint64(r) * s.recordLength;
            for (std::size_t f = 0; f < s.fields.size(); ++f) {
                bool ok = false;
                const QVariant v = decodeField(s.fields[f], record + s.offsets[f], &ok);
                if (!ok)
                    __builtin_trap(); // validateRecords passed, so every value must decode
                const QString text = plainText(v);
                if (s.fields[f].isNumber())
                    formatNumber(v.toDouble(), QStringLiteral("0.##"));
                // Whatever was read writes back into the same field.
                QByteArray out(s.fields[f].width, ' ');
                try {
                    encodeField(s.fields[f], v, out.data(), path);
                } catch (const EngineError&) {
                    // A stored value may be wider once written our way (exponent forms).
                }
                (void)text;
            }
        }
    } catch (const EngineError&) {
        // Refused with a message: the expected outcome for most inputs.
    }
    return 0;
}
