#include "data/demo/Codes.h"

namespace velmor::data::demo {

int cnpCheckDigit(const QString& first12)
{
    static const int key[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * key[i];
    const int r = sum % 11;
    return r == 10 ? 1 : r;
}

QString withTaxCheckDigit(qint64 body)
{
    static const int key[9] = {7, 5, 3, 2, 1, 7, 5, 3, 2};
    const QString digits = QString::number(body).rightJustified(9, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (digits[i].unicode() - '0') * key[i];
    int check = sum * 10 % 11;
    if (check == 10)
        check = 0;
    return QString::number(body) + QString::number(check);
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

}
