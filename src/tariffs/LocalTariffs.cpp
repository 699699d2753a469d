#include "tariffs/LocalTariffs.h"

#include "data/dbf/DbfValue.h"
#include "services/Settings.h"

#include <QLocale>

#include <cmath>

namespace velmor {

LocalTariffs::LocalTariffs(Settings& settings)
    : m_settings(settings)
{
}

QString LocalTariffs::key(int n)
{
    return QStringLiteral("Tariful") + QString::number(n);
}

QString LocalTariffs::label(int n)
{
    static const char* const land[] = { "Teren arabil", "Fanete", "Vii pe rod", "Livezi", "Fond forestier" };
    static const char* const animals[] = { "Bovine", "Cabaline", "Ovine", "Porcine", "Pasari", "Albine" };
    if (n >= 1 && n <= 5)
        return QString::fromLatin1(land[n - 1]);
    if (n >= 6 && n <= 11)
        return QString::fromLatin1(animals[n - 6]);
    if (n >= 12 && n <= 16)
        return QString::fromLatin1(land[n - 12]);
    return {};
}

QString LocalTariffs::column(int n)
{
    if (n >= 1 && n <= 5)
        return QStringLiteral("Intravilan");
    if (n >= 12 && n <= 16)
        return QStringLiteral("Extravilan");
    return {};
}

QString LocalTariffs::unit(int n)
{
    if (n >= 6 && n <= 10)
        return QStringLiteral("lei / cap");
    if (n == 11)
        return QStringLiteral("lei / fam.");
    if (n >= 1 && n <= 16)
        return QStringLiteral("lei / ha");
    return {};
}

double LocalTariffs::parseStored(const QString& text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString LocalTariffs::formatForField(double value)
{
    return dbf::decimalText(value, 4);
}

QString LocalTariffs::formatForStore(double value)
{
    return dbf::decimalText(std::round(value * 10000.0) / 10000.0, 4);
}

LocalTariffs::Values LocalTariffs::load() const
{
    Values values;
    const QString section = QString::fromLatin1(Section);
    for (int n = 1; n <= Count; ++n)
        values.tariffs[size_t(n - 1)] = parseStored(m_settings.Citeste_Ini(section, key(n)));
    values.hotarare = m_settings.Citeste_Ini(section, QString::fromLatin1(DecisionKey));
    return values;
}

void LocalTariffs::save(const Values& values)
{
    const QString section = QString::fromLatin1(Section);
    for (int n = 1; n <= Count; ++n)
        m_settings.Scrie_Ini(section, key(n), formatForStore(values.tariffs[size_t(n - 1)]));
    m_settings.Scrie_Ini(section, QString::fromLatin1(DecisionKey), values.hotarare);
}

}
