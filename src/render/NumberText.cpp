#include "NumberText.h"

#include "engine/Field.h"

#include <cmath>

namespace jt::render {
namespace {

double toNumber(const QVariant& value, bool* isNull) {
    *isNull = !value.isValid() || value.isNull();
    if (*isNull)
        return 0.0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        const double d = text.toDouble(&ok);
        *isNull = text.isEmpty();
        return ok ? d : 0.0;
    }
    return value.toDouble();
}

// A mask or display format applied, its '0' decimals always shown.
QString applyPattern(double number, const QString& pattern) {
    QString text = engine::formatNumber(number, pattern);
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const int minDecimals = dot < 0 ? 0 : int(pattern.mid(dot + 1).count(QLatin1Char('0')));
    if (minDecimals > 0) {
        qsizetype point = text.indexOf(QLatin1Char('.'));
        if (point < 0) {
            text += QLatin1Char('.');
            point = text.size() - 1;
        }
        const qsizetype have = text.size() - point - 1;
        if (have < minDecimals)
            text += QString(minDecimals - have, QLatin1Char('0'));
    }
    return text;
}

} // namespace

QString generalNumber(double value) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0.0)
        return QStringLiteral("0");
    // Seventeen significant digits hold every double exactly; the fifteenth is then
    // rounded by its decimal digits, halves away from zero.
    QString text = QString::number(std::fabs(value), 'e', 16); // d.dddddddddddddddde±XX
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    int exponent = text.mid(e + 1).toInt();
    QString digits = text.left(e).remove(QLatin1Char('.'));
    const bool roundUp = digits[15] >= QLatin1Char('5');
    digits.truncate(15);
    if (roundUp) {
        int i = 14;
        while (i >= 0 && digits[i] == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i >= 0) {
            digits[i] = QChar(digits[i].unicode() + 1);
        } else {
            digits.prepend(QLatin1Char('1'));
            digits.chop(1);
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString result;
    if (exponent >= 15 || exponent < -5) {
        result = digits.left(1);
        if (digits.size() > 1)
            result += QLatin1Char('.') + digits.mid(1);
        result += (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
                  QString::number(std::abs(exponent));
    } else if (exponent < 0) {
        result = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        result = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        result = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
    }
    return value < 0 ? QLatin1Char('-') + result : result;
}

QString printText(const QVariant& value, bool isNumber, const QString& mask,
                  const QString& displayFormat) {
    if (!isNumber) {
        if (!mask.isEmpty() && value.isValid() && !value.isNull() &&
            value.typeId() == QMetaType::Double)
            return applyPattern(value.toDouble(), mask);
        return engine::plainText(value);
    }
    bool isNull = false;
    const double number = toNumber(value, &isNull);
    if (!mask.isEmpty())
        return applyPattern(number, mask);
    if (isNull)
        return {};
    if (!displayFormat.isEmpty())
        return applyPattern(number, displayFormat);
    return generalNumber(number);
}

} // namespace jt::render
