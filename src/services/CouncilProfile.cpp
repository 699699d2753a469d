#include "services/CouncilProfile.h"

namespace velmor {

QStringList CouncilConstants::keys()
{
    return { QStringLiteral("NumePrimarie"), QStringLiteral("Comuna"), QStringLiteral("CodFiscal"), QStringLiteral("JUDET"),
             QStringLiteral("PRIMAR"), QStringLiteral("SECRETAR"), QStringLiteral("TIPLOC") };
}

QString CouncilConstants::value(const QString& key) const
{
    if (key == QLatin1String("NumePrimarie"))
        return NumePrimarie;
    if (key == QLatin1String("Comuna"))
        return Comuna;
    if (key == QLatin1String("CodFiscal"))
        return CodFiscal;
    if (key == QLatin1String("JUDET"))
        return JUDET;
    if (key == QLatin1String("PRIMAR"))
        return PRIMAR;
    if (key == QLatin1String("SECRETAR"))
        return SECRETAR;
    if (key == QLatin1String("TIPLOC"))
        return TIPLOC;
    return {};
}

void CouncilConstants::setValue(const QString& key, const QString& value)
{
    if (key == QLatin1String("NumePrimarie"))
        NumePrimarie = value;
    else if (key == QLatin1String("Comuna"))
        Comuna = value;
    else if (key == QLatin1String("CodFiscal"))
        CodFiscal = value;
    else if (key == QLatin1String("JUDET"))
        JUDET = value;
    else if (key == QLatin1String("PRIMAR"))
        PRIMAR = value;
    else if (key == QLatin1String("SECRETAR"))
        SECRETAR = value;
    else if (key == QLatin1String("TIPLOC"))
        TIPLOC = value;
}

QStringList TipuriLocalitate()
{
    return { QStringLiteral("COMUNA"), QStringLiteral("ORASUL"), QStringLiteral("MUNICIPIUL") };
}

QString TipLocalitate(const QString& tipLoc)
{
    static const QStringList genitive = { QStringLiteral("comunei"), QStringLiteral("orasului"),
                                          QStringLiteral("municipiului") };
    const qsizetype index = TipuriLocalitate().indexOf(tipLoc);
    return index < 0 ? QString() : genitive[index];
}

void CouncilProfile::setConstants(const CouncilConstants& constants)
{
    if (constants == m_constants)
        return;
    m_constants = constants;
    emit changed();
}

void CouncilProfile::setVillages(const QStringList& villages)
{
    if (villages == m_villages)
        return;
    m_villages = villages;
    emit changed();
}

void CouncilProfile::setBackupDirectory(const QString& directory)
{
    const QString value = directory.isEmpty() ? QStringLiteral("-") : directory;
    if (value == m_backupDirectory)
        return;
    m_backupDirectory = value;
    emit changed();
}

}
