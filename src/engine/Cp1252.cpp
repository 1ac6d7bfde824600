#include "Cp1252.h"

#include <array>

namespace jt::engine {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QString decodeCp1252(const char* data, qsizetype size) {
    QString out;
    out.reserve(size);
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte >= 0x80 && byte <= 0x9F) {
            const char16_t cp = kHigh[byte - 0x80];
            // Undefined bytes map to the C1 control of the same value, as Windows does.
            out.append(QChar(cp != 0 ? cp : char16_t(byte)));
        } else {
            out.append(QChar(char16_t(byte)));
        }
    }
    return out;
}

std::optional<QByteArray> encodeCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t cp = ch.unicode();
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.append(char(cp));
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kHigh.size(); ++i) {
            if ((kHigh[i] != 0 && kHigh[i] == cp) || (kHigh[i] == 0 && cp == 0x80 + i)) {
                out.append(char(0x80 + i));
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

} // namespace jt::engine
