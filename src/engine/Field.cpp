#include "Field.h"

#include "DbfCodec.h"
#include "EngineError.h"
#include "Table.h"

#include <QRegularExpression>

#include <cmath>

namespace jt::engine {

bool Field::isNull() const {
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

QVariant Field::value() const {
    return m_table->readField(this);
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.typeId() == QMetaType::Double)
        return v.toDouble();
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? d : 0.0;
    }
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1.0 : 0.0;
    return 0.0;
}

std::int64_t Field::asFixed4() const {
    return std::llround(asFloat() * 10000.0);
}

int Field::asInteger() const {
    const double d = std::round(asFloat());
    if (d >= 2147483647.0)
        return 2147483647;
    if (d <= -2147483648.0)
        return -2147483647 - 1;
    return int(d);
}

QString Field::asString() const {
    return plainText(value());
}

bool Field::asBoolean() const {
    const QVariant v = value();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::Double)
        return v.toDouble() != 0.0;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toUpper();
        return s == QLatin1String("T") || s == QLatin1String("Y") || s == QLatin1String("TRUE") ||
               s == QLatin1String("YES");
    }
    return false;
}

QString Field::displayText() const {
    // An empty field shows as nothing under any format; a stored 0 shows as its format says.
    if (isNull())
        return {};
    if (isNumber() && !m_displayFormat.isEmpty())
        return formatNumber(asFloat(), m_displayFormat);
    return asString();
}

QString Field::editText() const {
    return asString();
}

void Field::setValue(const QVariant& value) {
    m_table->writeFieldValue(this, value);
}

void Field::setAsString(const QString& value) {
    if (isNumber())
        setText(value);
    else if (m_def.type == FieldType::Logical)
        setText(value);
    else
        setValue(value);
}

void Field::setText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() && m_def.type != FieldType::Character) {
        clear();
        return;
    }
    switch (m_def.type) {
    case FieldType::Numeric:
    case FieldType::Float: {
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw EngineError(
                QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                    .arg(text, m_def.name));
        setValue(d);
        return;
    }
    case FieldType::Logical: {
        const QString u = t.toUpper();
        if (u == QLatin1String("T") || u == QLatin1String("Y") || u == QLatin1String("TRUE") ||
            u == QLatin1String("YES"))
            setValue(true);
        else if (u == QLatin1String("F") || u == QLatin1String("N") ||
                 u == QLatin1String("FALSE") || u == QLatin1String("NO"))
            setValue(false);
        else
            throw EngineError(QStringLiteral("'%1' is not a valid boolean value for field '%2'")
                                  .arg(text, m_def.name));
        return;
    }
    case FieldType::Date: {
        QDate date = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
        if (!date.isValid())
            date = QDate::fromString(t, Qt::ISODate);
        if (!date.isValid())
            throw EngineError(
                QStringLiteral("'%1' is not a valid date for field '%2'").arg(text, m_def.name));
        setValue(date);
        return;
    }
    case FieldType::Character:
        setValue(text);
        return;
    }
}

QString formatNumber(double value, const QString& format) {
    const qsizetype dot = format.indexOf(QLatin1Char('.'));
    const QString integerPart = dot < 0 ? format : format.left(dot);
    const QString decimalPart = dot < 0 ? QString() : format.mid(dot + 1);
    const int minInteger = int(integerPart.count(QLatin1Char('0')));
    const int maxDecimals =
        int(decimalPart.count(QLatin1Char('0')) + decimalPart.count(QLatin1Char('#')));
    const int minDecimals = int(decimalPart.count(QLatin1Char('0')));
    const bool grouping = integerPart.contains(QLatin1Char(','));

    // Round the decimal digits the value is written with (81.255 is "81.255", not
    // 81.25499...), half away from zero, as a person rounding the shown number would.
    QString digits = shortestNumberText(std::fabs(value));
    QString integer = digits;
    QString decimals;
    if (const qsizetype p = digits.indexOf(QLatin1Char('.')); p >= 0) {
        integer = digits.left(p);
        decimals = digits.mid(p + 1);
    }
    if (decimals.size() > maxDecimals) {
        const bool roundUp = decimals[maxDecimals] >= QLatin1Char('5');
        decimals.truncate(maxDecimals);
        if (roundUp) {
            QString all = integer + decimals;
            int i = int(all.size()) - 1;
            while (i >= 0 && all[i] == QLatin1Char('9'))
                all[i--] = QLatin1Char('0');
            if (i >= 0)
                all[i] = QChar(all[i].unicode() + 1);
            else
                all.prepend(QLatin1Char('1'));
            integer = all.left(all.size() - maxDecimals);
            decimals = all.right(maxDecimals);
        }
    }
    while (decimals.size() > minDecimals && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    while (integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    while (integer.size() < minInteger)
        integer.prepend(QLatin1Char('0'));
    if (grouping)
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, QLatin1Char(','));
    QString result = integer;
    if (!decimals.isEmpty())
        result += QLatin1Char('.') + decimals;
    const bool negative = value < 0 && result.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return negative ? QLatin1Char('-') + result : result;
}

QString plainText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
        return shortestNumberText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyyMMdd"));
    default:
        return value.toString();
    }
}

QString wrongTypeText(const QString& field, FieldType found, FieldType expected) {
    const auto family = [](FieldType t) {
        switch (t) {
        case FieldType::Numeric:
        case FieldType::Float:
            return QStringLiteral("number");
        case FieldType::Logical:
            return QStringLiteral("logical");
        case FieldType::Date:
            return QStringLiteral("date");
        case FieldType::Character:
            break;
        }
        return QStringLiteral("text");
    };
    const bool number = expected == FieldType::Numeric || expected == FieldType::Float;
    const QString letters = number ? QStringLiteral("N or F") : QString(QChar(char(expected)));
    return QStringLiteral("Field '%1' has type %2 (%3), where a %4 field (%5) is expected")
        .arg(field, QString(QChar(char(found))), family(found), family(expected), letters);
}

} // namespace jt::engine
