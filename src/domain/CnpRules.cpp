#include "domain/CnpRules.h"

namespace velmor::cnp {

namespace {

constexpr char kKey[] = "279146358279";

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

int digitAt(const QString& cnp, int position)
{
    return cnp[position - 1].unicode() - '0';
}

bool allDigits(const QString& text)
{
    for (QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// Two digits at positions p, p+1 (counted from 1); -1 when they are not digits.
int twoDigits(const QString& cnp, int position)
{
    if (cnp.size() < position + 1 || !isDigit(cnp[position - 1]) || !isDigit(cnp[position]))
        return -1;
    return digitAt(cnp, position) * 10 + digitAt(cnp, position + 1);
}

// The date of positions 2-7 in the given century; null when it does not exist.
QDate dateIn(const QString& cnp, int century)
{
    const int yy = twoDigits(cnp, 2);
    const int mm = twoDigits(cnp, 4);
    const int dd = twoDigits(cnp, 6);
    if (yy < 0 || mm < 0 || dd < 0)
        return QDate();
    return QDate(century + yy, mm, dd); // QDate(y, m, d) is null for a date that does not exist
}

bool checkDigitMatches(const QString& cnp)
{
    const int expected = CifraControl(cnp);
    return expected >= 0 && cnp.size() == 13 && isDigit(cnp[12]) && digitAt(cnp, 13) == expected;
}

}

int CifraControl(const QString& cnp)
{
    if (cnp.size() < 12 || !allDigits(cnp.left(12)))
        return -1;
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (cnp[i].unicode() - '0') * (kKey[i] - '0');
    const int r = sum % 11;
    return r == 10 ? 1 : r;
}

bool GetCorect(const QString& cnp, bool acceptGol)
{
    if (cnp.isEmpty())
        return acceptGol;
    if (cnp.size() != 13 || !allDigits(cnp))
        return false;
    int century = 0;
    switch (cnp[0].unicode()) {
    case '1': case '2': case '7': case '8':
        century = 1900;
        break;
    case '5': case '6': case '9':
        century = 2000;
        break;
    default:
        return false;
    }
    if (!dateIn(cnp, century).isValid())
        return false;
    return checkDigitMatches(cnp);
}

QString GetSex(const QString& cnp)
{
    if (cnp.isEmpty())
        return QString();
    switch (cnp[0].unicode()) {
    case '1': case '5': case '7':
        return QStringLiteral("b\u0103rb\u0103tesc");
    default:
        return QStringLiteral("femeiesc");
    }
}

QDate GetNascutLa(const QString& cnp, const QDate& today)
{
    if (cnp.size() <= 6)
        return QDate();
    switch (cnp[0].unicode()) {
    case '7': case '8': {
        const QDate date = dateIn(cnp, 2000);
        return date.isValid() && date > today ? dateIn(cnp, 1900) : date;
    }
    case '5': case '6':
        return dateIn(cnp, 2000);
    default:
        return dateIn(cnp, 1900);
    }
}

bool CNPValid(const QString& cnp)
{
    if (cnp.size() != 13 || !allDigits(cnp))
        return false;
    int century = 0;
    switch (cnp[0].unicode()) {
    case '1': case '2':
        century = 1900;
        break;
    case '5': case '6': case '9':
        century = 2000;
        break;
    default:
        return false;
    }
    if (!dateIn(cnp, century).isValid())
        return false;
    const int county = twoDigits(cnp, 8);
    if (county < 1 || county > 47)
        return false;
    return checkDigitMatches(cnp);
}

}
