#include "services/Settings.h"

#include "core/ChangeCounter.h"
#include "services/IniFile.h"
#include "services/ServiceError.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace velmor {

bool parseInteger(const QString& text, qint64& value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) {
        negative = t[0] == QLatin1Char('-');
        i = 1;
    }
    if (i >= t.size())
        return false;
    // Accumulated as a negative number so that the lowest value fits.
    qint64 result = 0;
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        if (result < (lowest + digit) / 10)
            return false;
        result = result * 10 - digit;
    }
    if (!negative) {
        if (result == lowest)
            return false;
        result = -result;
    }
    value = result;
    return true;
}

Settings::Settings(QString dataDir)
    : m_dataDir(std::move(dataDir))
{
}

QString Settings::iniPath() const
{
    if (m_dataDir.isEmpty())
        throw ServiceError(QStringLiteral("Directorul de date nu este stabilit; fisierul Velmor.ini nu poate fi folosit."));
    const QDir dir(m_dataDir);
    const QString exact = dir.filePath(QString::fromLatin1(FileName));
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList found = dir.entryList({ QString::fromLatin1(FileName) }, QDir::Files | QDir::Hidden,
                                            QDir::Name);
    for (const QString& name : found) {
        if (name.compare(QString::fromLatin1(FileName), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return exact;
}

QString Settings::Citeste_Ini(const QString& section, const QString& key) const
{
    return IniFile(iniPath()).value(section, key);
}

void Settings::checkWritable() const
{
    if (m_readOnly)
        throw ServiceError(QStringLiteral("Baza de date este deschisa doar pentru consultare; %1 nu poate fi schimbat.")
                               .arg(QString::fromLatin1(FileName)));
}

void Settings::Scrie_Ini(const QString& section, const QString& key, const QString& value)
{
    checkWritable();
    IniFile(iniPath()).setValue(section, key, value);
    ChangeCounter::count();
}

QString Settings::CodNou(const QString& key)
{
    return QString::number(CodNou(key, std::numeric_limits<qint64>::min()));
}

qint64 Settings::CodNou(const QString& key, qint64 floor)
{
    checkWritable();
    const QString section = QString::fromLatin1(CounterSection);
    IniDocument doc = IniDocument::load(iniPath());
    QString code = doc.value(section, key);
    if (code.isEmpty())
        code = QStringLiteral("1");
    qint64 number = 0;
    if (!parseInteger(code, number) || number == std::numeric_limits<qint64>::max()) {
        throw ServiceError(QStringLiteral("Contorul %1/%2 din %3 nu este un numar intreg: \"%4\".")
                               .arg(section, key, QDir::toNativeSeparators(iniPath()), code));
    }
    number = std::max(number, floor);
    if (number == std::numeric_limits<qint64>::max()) {
        throw ServiceError(QStringLiteral("Contorul %1/%2 din %3 nu mai poate creste.")
                               .arg(section, key, QDir::toNativeSeparators(iniPath())));
    }
    doc.setValue(section, key, QString::number(number + 1));
    doc.save(iniPath());
    ChangeCounter::count();
    return number;
}

QString Settings::CodExistent(const QString& key) const
{
    const QString code = Citeste_Ini(QString::fromLatin1(CounterSection), key);
    return code.isEmpty() ? QStringLiteral("1") : code;
}

void Settings::SetCod(const QString& key, const QString& text)
{
    qint64 number = 0;
    const bool ok = parseInteger(text, number) && number != std::numeric_limits<qint64>::max();
    Scrie_Ini(QString::fromLatin1(CounterSection), key, ok ? QString::number(number + 1) : QStringLiteral("1"));
}

}
