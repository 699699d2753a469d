#include "data/dbf/FieldCodec.h"

#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"

#include <QByteArrayView>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace velmor::dbf {

namespace {

double toDouble(const Value& value, const Field& field, const QString& table)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return double(*i);
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const auto* s = std::get_if<QString>(&value)) {
        bool ok = false;
        const double d = s->trimmed().toDouble(&ok);
        if (ok)
            return d;
    }
    throw DbfError(QStringLiteral("Valoarea nu este un numar pentru campul %1 din tabelul \"%2\".").arg(field.name, table));
}

}

bool isBlankField(const char* p, int width)
{
    for (int i = 0; i < width; ++i) {
        if (p[i] != ' ' && p[i] != '\0')
            return false;
    }
    return true;
}

QByteArray trimmedField(const char* p, int width)
{
    int begin = 0;
    int end = width;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\0'))
        ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    return QByteArray::fromRawData(p + begin, end - begin);
}

QString memoTextOf(const Value& value)
{
    if (const auto* s = std::get_if<QString>(&value))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value))
        return QString::number(*d, 'g', 15);
    return {};
}

QString textTooLong(const Field& field, int length, const QString& table)
{
    return QStringLiteral("Textul are %1 caractere; coloana %2 din tabelul \"%3\" primeste cel mult %4.")
        .arg(QString::number(length), field.name, table, QString::number(field.width));
}

bool parseNumber(const char* p, int width, double& out)
{
    const QByteArray text = trimmedField(p, width);
    if (text.isEmpty())
        return false;
    // Fast path for plain decimals, the only form tables hold.
    const char* s = text.constData();
    const char* e = s + text.size();
    bool negative = false;
    if (*s == '-' || *s == '+') {
        negative = *s == '-';
        ++s;
    }
    if (s == e)
        return false;
    // All digits form one integer divided once by a power of ten, so the result is the nearest
    // double to the decimal text (adding a separately divided fraction is not: 1.14 != 1 + 0.14).
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    double whole = 0;
    int digits = 0;
    int scale = 0;
    while (s < e && *s >= '0' && *s <= '9') {
        whole = whole * 10 + (*s++ - '0');
        ++digits;
    }
    if (s < e && *s == '.') {
        ++s;
        while (s < e && *s >= '0' && *s <= '9') {
            whole = whole * 10 + (*s++ - '0');
            ++digits;
            ++scale;
        }
    }
    // Other forms, and more digits than a double holds exactly, go to the general parser.
    if (s != e || digits > 15) {
        bool ok = false;
        const double v = QByteArray(text).toDouble(&ok);
        if (!ok)
            return false;
        out = v;
        return true;
    }
    if (scale > 0)
        whole /= kPowers[scale];
    out = negative ? -whole : whole;
    return true;
}

Value decodeField(const Field& f, const char* p)
{
    switch (f.type) {
    case 'N':
    case 'F': {
        double d;
        if (!parseNumber(p, f.width, d))
            return {};
        if (f.decimals == 0 && std::fabs(d) < kLargestExactWhole)
            return static_cast<std::int64_t>(std::llround(d));
        return d;
    }
    case 'D': {
        if (isBlankField(p, f.width))
            return {};
        const QDate date = QDate::fromString(QString::fromLatin1(p, std::min(f.width, 8)), QStringLiteral("yyyyMMdd"));
        if (!date.isValid())
            return {};
        return date;
    }
    case 'L':
        switch (*p) {
        case 'T': case 't': case 'Y': case 'y':
            return true;
        case 'F': case 'f': case 'N': case 'n':
            return false;
        default:
            return {};
        }
    case 'M':
        throw DbfError(QStringLiteral("Campul %1 este text lung: textul lui este in fisierul de texte.").arg(f.name));
    default: {
        int end = f.width;
        while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
            --end;
        if (end == 0)
            return {};
        return cp1250::decode(p, end);
    }
    }
}

QByteArray encodeField(const Field& field, const Value& value, const QString& table)
{
    QByteArray out(field.width, ' ');
    if (dbf::isNull(value))
        return out;
    switch (field.type) {
    case 'N':
    case 'F': {
        if (const auto* s = std::get_if<QString>(&value); s && s->trimmed().isEmpty())
            return out;
        const double d = toDouble(value, field, table);
        if (!std::isfinite(d))
            throw DbfError(QStringLiteral("Valoarea nu este un numar pentru campul %1 din tabelul \"%2\".")
                               .arg(field.name, table));
        const QString text = QString::fromLatin1(formatNumber(d, field.decimals));
        if (text.size() > field.width)
            throw DbfError(QStringLiteral("Valoarea %1 nu incape in campul %2 (%3,%4) din tabelul \"%5\".")
                               .arg(text, field.name)
                               .arg(field.width)
                               .arg(field.decimals)
                               .arg(table));
        const QByteArray latin = text.toLatin1();
        std::copy(latin.begin(), latin.end(), out.data() + (field.width - latin.size()));
        return out;
    }
    case 'D': {
        QDate date;
        if (const auto* d = std::get_if<QDate>(&value)) {
            date = *d;
        } else if (const auto* s = std::get_if<QString>(&value)) {
            const QString t = s->trimmed();
            if (t.isEmpty())
                return out;
            for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy", "yyyyMMdd"}) {
                date = QDate::fromString(t, QLatin1String(format));
                if (date.isValid())
                    break;
            }
        }
        if (!date.isValid())
            throw DbfError(QStringLiteral("Valoarea nu este o data pentru campul %1 din tabelul \"%2\".")
                               .arg(field.name, table));
        const QByteArray text = date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        std::copy(text.begin(), text.end(), out.data());
        return out;
    }
    case 'L': {
        bool b = false;
        if (const auto* v = std::get_if<bool>(&value))
            b = *v;
        else if (const auto* i = std::get_if<std::int64_t>(&value))
            b = *i != 0;
        else if (const auto* d = std::get_if<double>(&value))
            b = *d != 0;
        else if (const auto* s = std::get_if<QString>(&value))
            b = s->startsWith(QLatin1Char('T'), Qt::CaseInsensitive) || s->startsWith(QLatin1Char('Y'), Qt::CaseInsensitive);
        out[0] = b ? 'T' : 'F';
        return out;
    }
    case 'M':
        throw DbfError(QStringLiteral("Campul %1 din tabelul \"%2\" este text lung: textul lui merge in fisierul de texte.")
                           .arg(field.name, table));
    default: {
        QString text;
        if (const auto* s = std::get_if<QString>(&value))
            text = *s;
        else if (const auto* i = std::get_if<std::int64_t>(&value))
            text = QString::number(*i);
        else if (const auto* d = std::get_if<double>(&value))
            text = QString::number(*d, 'g', 15);
        else if (const auto* date = std::get_if<QDate>(&value))
            text = date->toString(QStringLiteral("yyyy-MM-dd"));
        else if (const auto* b = std::get_if<bool>(&value))
            text = *b ? QStringLiteral("T") : QStringLiteral("F");
        // Blanks past the width are the padding the field adds anyway; anything else is refused.
        qsizetype length = text.size();
        while (length > field.width && text[length - 1] == QLatin1Char(' '))
            --length;
        if (length > field.width)
            throw DbfError(textTooLong(field, int(length), table));
        QByteArray bytes;
        QChar bad;
        if (!cp1250::tryEncode(QStringView(text).left(length), bytes, &bad))
            throw DbfError(EncodingError(bad, text).message());
        std::copy(bytes.begin(), bytes.end(), out.data());
        return out;
    }
    }
}

int formatNumberInto(double v, int decimals, char* buffer)
{
    char* const end = buffer + kNumberTextSize;
    std::to_chars_result r;
    if (decimals == 0) {
        const double rounded = std::round(v);
        r = std::fabs(rounded) < kLargestExactWhole ? std::to_chars(buffer, end, static_cast<long long>(rounded))
                                        : std::to_chars(buffer, end, rounded, std::chars_format::fixed, 0);
    } else {
        // Values whose scaled form lies clearly away from a half (all but a few) round the same way
        // as the exact binary value: write the scaled integer with the point put in.
        static constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
        if (decimals < 10) {
            const double scaled = v * kScales[decimals];
            const double nearest = std::nearbyint(scaled);
            if (std::fabs(scaled) < 1.0e15 && std::fabs(scaled - nearest) < 0.25) {
                long long digits = static_cast<long long>(nearest);
                char* p = buffer;
                if (digits < 0) {
                    *p++ = '-';
                    digits = -digits;
                }
                char text[24];
                const int n = int(std::to_chars(text, text + sizeof text, digits).ptr - text);
                // Leading zeros up to one whole digit: 5 with two decimals is "0.05".
                const int padding = std::max(0, decimals + 1 - n);
                std::memmove(text + padding, text, size_t(n));
                std::fill(text, text + padding, '0');
                const int wholeDigits = n + padding - decimals;
                std::memcpy(p, text, size_t(wholeDigits));
                p += wholeDigits;
                *p++ = '.';
                std::memcpy(p, text + wholeDigits, size_t(decimals));
                p += decimals;
                r = {p, std::errc()};
            } else {
                r = std::to_chars(buffer, end, v, std::chars_format::fixed, decimals);
            }
        } else {
            r = std::to_chars(buffer, end, v, std::chars_format::fixed, decimals);
        }
    }
    int length = int(r.ptr - buffer);
    // "-0.00" is zero.
    if (buffer[0] == '-' && std::all_of(buffer + 1, r.ptr, [](char c) { return c == '0' || c == '.'; })) {
        std::memmove(buffer, buffer + 1, size_t(length - 1));
        --length;
    }
    return length;
}

QByteArray formatNumber(double v, int decimals)
{
    char buffer[kNumberTextSize];
    return QByteArray(buffer, formatNumberInto(v, decimals, buffer));
}

}
