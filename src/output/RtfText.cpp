#include "output/RtfText.h"

#include "data/dbf/CodePage1250.h"

namespace velmor::output {

QByteArray rtfEscaped(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\r') {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += "\\line ";
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u < 0x20) {
            out += "\\'" + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + ' ';
            QByteArray fallback;
            if (dbf::cp1250::tryEncode(QStringView(&ch, 1), fallback) && fallback.size() == 1)
                out += "\\'" + QByteArray::number(uchar(fallback[0]), 16).rightJustified(2, '0');
            else
                out += '?';
        }
    }
    return out;
}

}
