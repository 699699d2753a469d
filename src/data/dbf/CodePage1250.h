#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "core/Error.h"

namespace velmor::dbf {

// A character that Windows-1250 cannot hold.
class EncodingError : public Error {
public:
    EncodingError(QChar character, const QString& text);
    QChar character() const { return m_character; }

private:
    QChar m_character;
};

// Windows-1250, the code page of the register's files. Romanian comma-below letters
// (U+0218..U+021B), which the code page lacks, are stored as their cedilla forms.
namespace cp1250 {

QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes) { return decode(bytes.constData(), bytes.size()); }

// Throws EncodingError on the first character the code page lacks.
QByteArray encode(QStringView text);

// Same as encode() without throwing; returns false and the offending character instead.
bool tryEncode(QStringView text, QByteArray& out, QChar* offending = nullptr);

bool canEncode(QStringView text);

// The text as the files hold it: comma-below letters become their cedilla forms. Texts compared
// with stored values (statement literals, filters) go through this.
QString storedForm(const QString& text);

}

}
