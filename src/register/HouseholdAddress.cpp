#include "register/HouseholdAddress.h"

namespace velmor {

namespace {

QString shown(const QString& value)
{
    const QString trimmed = value.trimmed();
    return trimmed.isEmpty() ? QStringLiteral(" -") : trimmed;
}

QString streetAndNumber(const QString& street, const QString& number)
{
    return QStringLiteral("str.") + shown(street) + QStringLiteral(" nr.") + shown(number);
}

QString elsewhere(const QString& county, const QString& locality, const QString& street, const QString& number)
{
    return QStringLiteral("jud.") + shown(county) + QStringLiteral(" loc.") + shown(locality) + QLatin1Char(' ')
        + streetAndNumber(street, number);
}

}

QString CalculeazaAdresa(const AddressColumns& row)
{
    QString text;
    switch (row.TIPRA) {
    case 1:
    case 3: text = streetAndNumber(row.STRADA, row.NR); break;
    case 2: text = elsewhere(row.JUDET, row.LOC, row.STR2, row.NR2); break;
    case 4: text = elsewhere(row.JUDET, row.LOC, row.STRADA, row.NR); break;
    default: break;
    }
    return text.left(AddressWidth);
}

}
