#include "domain/TextCase.h"

namespace velmor {

namespace {

QChar upperRomanianLetter(QChar c)
{
    switch (c.unicode()) {
    case 0x0103: return QChar(0x0102); // ă
    case 0x00E2: return QChar(0x00C2); // â
    case 0x00EE: return QChar(0x00CE); // î
    case 0x0219: return QChar(0x0218); // ș
    case 0x015F: return QChar(0x015E); // ş
    case 0x021B: return QChar(0x021A); // ț
    case 0x0163: return QChar(0x0162); // ţ
    default: return c;
    }
}

}

QString upperAZ(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

QString upperRomanian(const QString& text)
{
    QString result = upperAZ(text);
    for (QChar& c : result)
        c = upperRomanianLetter(c);
    return result;
}

}
