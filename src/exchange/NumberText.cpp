#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace jt::exchange {

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    std::string plain;
    plain.reserve(std::size_t(t.size()));
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            plain += '-';
        ++i;
    }
    // Integer part, with optional group separators.
    int digitsInGroup = 0;
    int groups = 0;
    int integerDigits = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            plain += char(c.unicode());
            ++digitsInGroup;
            ++integerDigits;
        } else if (c == u',') {
            if (digitsInGroup == 0 || (groups > 0 && digitsInGroup != 3) ||
                (groups == 0 && digitsInGroup > 3))
                return std::nullopt;
            ++groups;
            digitsInGroup = 0;
        } else {
            break;
        }
    }
    if (groups > 0 && digitsInGroup != 3)
        return std::nullopt;
    int fractionDigits = 0;
    if (i < t.size() && t[i] == u'.') {
        plain += '.';
        for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            plain += char(t[i].unicode());
            ++fractionDigits;
        }
    }
    if (integerDigits == 0 && fractionDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            plain += char(t[i++].unicode());
        int exponentDigits = 0;
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++exponentDigits)
            plain += char(t[i].unicode());
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace jt::exchange
