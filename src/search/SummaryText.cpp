#include "search/SummaryText.h"

#include "data/dbf/DbfValue.h"
#include "services/TextFunctions.h"

#include <cmath>
#include <cstdlib>

namespace velmor::search {

namespace {

// Rounds a / b to the nearest integer, halves away from zero (b > 0).
std::int64_t roundedQuotient(__int128 a, __int128 b)
{
    const __int128 half = b / 2;
    const __int128 q = a >= 0 ? (a + half) / b : -((-a + half) / b);
    return std::int64_t(q);
}

}

QString Finalizeaza(const QString& text)
{
    QString result = Trim(text);
    if (result.isEmpty() || result.back() != QLatin1Char(','))
        return result;
    // "5buc.," ends in one full stop, not two.
    if (result.size() > 1 && result[result.size() - 2] == QLatin1Char('.'))
        result.chop(1);
    else
        result.back() = QLatin1Char('.');
    return result;
}

QString lowerAZ(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    }
    return result;
}

QString Capitalizeaza(const QString& text)
{
    if (Trim(text).isEmpty())
        return QString();
    QString result = lowerAZ(text);
    qsizetype begin = 0;
    while (begin < result.size() && result[begin].unicode() <= ' ')
        ++begin;
    result = result.mid(begin);
    if (!result.isEmpty() && result[0] >= QLatin1Char('a') && result[0] <= QLatin1Char('z'))
        result[0] = QChar(result[0].unicode() - 'a' + 'A');
    return result;
}

QString TextMaterial(const QString& code)
{
    static const char16_t* const phrases[] = {
        u", din material nespecificat",
        u", din beton armat sau prefabricate din beton",
        u", din cărămidă, piatră sau înlocuitori",
        u", din lemn",
        u", din paiantă, chirpici",
        u", din alte materiale",
    };
    QString result;
    for (const QChar c : code) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('5'))
            result += QString::fromUtf16(phrases[c.unicode() - '0']);
    }
    if (result.startsWith(QLatin1String(", ")))
        result.remove(0, 2);
    return result;
}

QString wholeText(double value)
{
    const double rounded = std::round(value);
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f', 0);
}

QString plainText(double value)
{
    return dbf::decimalText(value, 8);
}

QString annexText(double value)
{
    return dbf::decimalText(value, 2);
}

QString plotAreaText(double hectares)
{
    QString text = QString::number(hectares, 'f', 4);
    // Trailing zeros go, down to two decimals.
    while (text.endsWith(QLatin1Char('0')) && text.indexOf(QLatin1Char('.')) < text.size() - 3)
        text.chop(1);
    if (text.startsWith(QLatin1String("-0.")) && text.mid(1).toDouble() == 0)
        text.remove(0, 1);
    return text;
}

std::int64_t squareMetres(double hectares, double ares)
{
    if (!std::isfinite(hectares) || !std::isfinite(ares))
        return 0;
    const std::int64_t m2 = std::llround(hectares * 10000.0) + std::llround(ares * 100.0);
    return m2 > 0 ? m2 : 0;
}

WholeArea wholeArea(std::int64_t m2)
{
    WholeArea area;
    if (m2 <= 0)
        return area;
    area.hectares = m2 / 10000;
    const std::int64_t rest = m2 % 10000;
    area.hasAres = rest > 0;
    area.ares = (rest + 50) / 100; // whole ares, halves up
    if (area.ares >= 100) {
        ++area.hectares;
        area.ares = 0;
        area.hasAres = false;
    }
    return area;
}

Fixed4 Fixed4::fromDouble(double value)
{
    if (!std::isfinite(value))
        return {};
    return fromUnits(std::llround(value * 10000.0));
}

Fixed4 Fixed4::operator*(Fixed4 other) const
{
    return fromUnits(roundedQuotient(__int128(m_units) * other.m_units, 10000));
}

Fixed4 Fixed4::dividedBy(std::int64_t divisor) const
{
    if (divisor == 0)
        return {};
    if (divisor < 0)
        return fromUnits(-roundedQuotient(m_units, -divisor));
    return fromUnits(roundedQuotient(m_units, divisor));
}

QString Fixed4::moneyText() const
{
    const std::int64_t cents = roundedQuotient(m_units, 100);
    const std::int64_t whole = std::llabs(cents) / 100;
    const std::int64_t fraction = std::llabs(cents) % 100;
    return (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(whole) + QLatin1Char('.')
        + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
}

}
