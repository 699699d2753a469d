#pragma once

#include <QString>

namespace velmor::data::demo {

// Check digit of a personal numeric code from its first twelve digits: key 279146358279,
// remainder 10 counts as 1.
int cnpCheckDigit(const QString& first12);

// A tax code: the number followed by its check digit (key 753217532 over the number padded to
// nine digits).
QString withTaxCheckDigit(qint64 body);

// Two digits with a leading zero.
QString twoDigits(int value);

}
