#pragma once

#include <QString>

#include <cstdint>

namespace velmor::search {

// The shared steps and number formats of the household chapter summaries.

// Trims the text; a final "," becomes "." (after a "." it goes, so the text ends in one full stop).
// An empty text stays empty.
QString Finalizeaza(const QString& text);

// Blank gives ""; otherwise lower-cased (A..Z only), leading blanks removed, first letter upper-cased
// (a..z only).
QString Capitalizeaza(const QString& text);

// The building-material phrases of a code, one per digit 0..5 in order, joined by ", ".
QString TextMaterial(const QString& code);

// Lower-cases only the letters A..Z.
QString lowerAZ(const QString& text);

// Number formats of the fragments, always with "." as decimal separator.
QString wholeText(double value);          // "0": rounded half away from zero
QString plainText(double value);          // shortest form, no trailing zeros (5, 12.5)
QString annexText(double value);          // at most two decimals, no trailing zeros
QString plotAreaText(double hectares);    // at least two and at most four decimals (0.50, 0.3333)

// An area of whole hectares and ares as whole square metres, never negative.
std::int64_t squareMetres(double hectares, double ares);

// Hectares and ares of a surface in square metres, for fragments that show whole ares: ares that
// round to 100 make one more hectare.
struct WholeArea {
    std::int64_t hectares = 0;
    std::int64_t ares = 0;
    bool hasAres = false; // the surface has a remainder below one hectare (even when it rounds to 0)
};
WholeArea wholeArea(std::int64_t squareMetres);

// Amounts with four decimals, as integers of ten-thousandths.
class Fixed4 {
public:
    Fixed4() = default;
    static Fixed4 fromDouble(double value);
    static Fixed4 fromUnits(std::int64_t units) { Fixed4 f; f.m_units = units; return f; }

    std::int64_t units() const { return m_units; }
    Fixed4 operator+(Fixed4 other) const { return fromUnits(m_units + other.m_units); }
    Fixed4& operator+=(Fixed4 other) { m_units += other.m_units; return *this; }
    // Products and quotients rounded to four decimals, half away from zero.
    Fixed4 operator*(Fixed4 other) const;
    Fixed4 dividedBy(std::int64_t divisor) const;

    // Two decimals ("0.00"), rounded half away from zero.
    QString moneyText() const;

private:
    std::int64_t m_units = 0;
};

}
