#include "register/HouseholdIdentification.h"

#include "data/dbf/ValueConversions.h"
#include "register/HouseholdEditor.h"

#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"
#include "services/TextFunctions.h"

namespace velmor {

namespace {

const char* const Columns[] = {"STRADA", "NR", "JUDET", "LOC", "SIRUTA", "STR2", "NR2",
                               "DENUMIRE", "SUBUNIT", "SIRUES", "CODFISCAL"};

QString sectorItem(int n) { return QStringLiteral("SECTOR %1 - MUNICIPIUL BUCURESTI").arg(n); }

struct Limit {
    const char* anchor;
    const char* label;
    int width;
    QString Identification::*value;
};

}

QStringList HouseholdIdentification::countyItems()
{
    QStringList items {
        "ALBA", "ARAD", "ARGES", "BIHOR", "BACAU", "BISTRITA-NASAUD", "BOTOSANI", "BRAILA", "BRASOV", "BUZAU",
        "CALARASI", "CARAS-SEVERIN", "CLUJ", "CONSTANTA", "COVASNA", "DAMBOVITA", "DOLJ", "GALATI", "GIURGIU", "GORJ",
        "HARGHITA", "HUNEDOARA", "IALOMITA", "IASI", "ILFOV", "MARAMURES", "MEHEDINTI", "MURES", "NEAMT", "OLT",
        "PRAHOVA", "SALAJ", "SATU-MARE", "SIBIU", "SUCEAVA", "TELEORMAN", "TIMIS", "TULCEA", "VALCEA", "VASLUI",
        "VRANCEA",
    };
    for (int n = 1; n <= 6; ++n)
        items << sectorItem(n);
    return items;
}

QString HouseholdIdentification::storedCounty(const QString& shown)
{
    for (int n = 1; n <= 6; ++n)
        if (shown == sectorItem(n))
            return shown.left(CountyWidth);
    return shown;
}

QString HouseholdIdentification::shownCounty(const QString& stored)
{
    for (int n = 1; n <= 6; ++n)
        if (stored.trimmed() == sectorItem(n).left(CountyWidth))
            return sectorItem(n);
    return stored;
}

HouseholdIdentification::HouseholdIdentification(HouseholdEditor& editor)
    : m_editor(editor)
{
}

int HouseholdIdentification::currentType() const
{
    return int(dbf::toWhole(m_editor.currentValue(QStringLiteral("TIPRA"))));
}

Identification HouseholdIdentification::read() const
{
    Identification data;
    if (!m_editor.hasCurrent())
        return data;
    auto value = [this](const char* column) { return dbf::toText(m_editor.currentValue(QString::fromLatin1(column))); };
    const int type = currentType();
    if (type == 2) {
        data.street = value("STR2");
        data.number = value("NR2");
    } else {
        data.street = value("STRADA");
        data.number = value("NR");
    }
    data.county = shownCounty(value("JUDET"));
    data.locality = value("LOC");
    data.siruta = value("SIRUTA");
    if (type == 3 || type == 4) {
        data.unitName = value("DENUMIRE");
        data.subunit = value("SUBUNIT");
        data.sirues = value("SIRUES");
        data.fiscalCode = value("CODFISCAL");
    }
    return data;
}

QStringList HouseholdIdentification::columnValues(int type, const Identification& data, const QString& councilCounty,
                                                  const QString& village)
{
    const Identification d {Curata(data.street), Curata(data.number), storedCounty(Curata(data.county)),
                            Curata(data.locality), Curata(data.siruta), Curata(data.unitName),
                            Curata(data.subunit), Curata(data.sirues), Curata(data.fiscalCode)};
    switch (type) {
    case 1:
        return {d.street, d.number, storedCounty(Curata(councilCounty)), Curata(village), {}, {}, {}, {}, {}, {}, {}};
    case 2:
        return {d.street, d.number, d.county, d.locality, d.siruta, d.street, d.number, {}, {}, {}, {}};
    case 3:
    case 4:
        return {d.street, d.number, d.county, d.locality, {}, d.street, d.number, d.unitName, d.subunit, d.sirues, d.fiscalCode};
    default:
        return QStringList(11, QString());
    }
}

std::optional<FieldRefusal> HouseholdIdentification::refusal(int type, const Identification& data)
{
    static const Limit limits[] = {
        {UnitField, "Denumirea unitatii", 40, &Identification::unitName},
        {CountyField, "Judetul", CountyWidth, &Identification::county},
        {SubunitField, "Denumirea subunitatii", 40, &Identification::subunit},
        {StreetField, "Strada", 32, &Identification::street},
        {NumberField, "Nr.", 32, &Identification::number},
        {LocalityField, "Comuna / Orasul / Municipiul", 32, &Identification::locality},
        {SirutaField, "COD SIRUTA", 6, &Identification::siruta},
        {SiruesField, "COD SIRUES", 10, &Identification::sirues},
        {FiscalField, "COD FISCAL", 10, &Identification::fiscalCode},
    };
    for (const Limit& limit : limits) {
        const bool used = type == 1   ? (limit.value == &Identification::street || limit.value == &Identification::number)
                          : type == 2 ? (limit.value == &Identification::county || limit.value == &Identification::locality
                                         || limit.value == &Identification::siruta || limit.value == &Identification::street
                                         || limit.value == &Identification::number)
                                      : limit.value != &Identification::siruta;
        if (!used)
            continue;
        QString value = Curata(data.*limit.value);
        if (limit.value == &Identification::county)
            value = storedCounty(value);
        if (value.size() > limit.width)
            return FieldRefusal {QString::fromLatin1(limit.anchor),
                                 QString::fromLatin1(limit.label) + QStringLiteral(" poate avea cel mult ")
                                     + QString::number(limit.width) + QStringLiteral(" caractere !")};
    }
    return std::nullopt;
}

std::optional<FieldRefusal> HouseholdIdentification::save(const Identification& data)
{
    if (!m_editor.hasCurrent())
        return std::nullopt;
    const int type = currentType();
    // A register type the page does not know has no fields: its row is left as it is.
    if (type < 1 || type > 4)
        return std::nullopt;
    if (auto refused = refusal(type, data))
        return refused;
    AppContext& ctx = m_editor.context();
    const qint64 codid = m_editor.currentCodid();
    const QString village = dbf::toText(m_editor.currentValue(QStringLiteral("LOCALIT")));
    const QStringList values = columnValues(type, data, ctx.profile.constants().JUDET, village);
    engine::Query q(*ctx.engine);
    q.add(QStringLiteral("UPDATE ") + engine::quotedPath(ctx.tablePath(QStringLiteral("Identificare.dbf"))));
    QStringList assignments;
    for (int i = 0; i < 11; ++i) {
        const QString column = QString::fromLatin1(Columns[i]);
        assignments << column + QStringLiteral("=:") + column;
        q.bind(column, dbf::textValue(values[i]));
    }
    q.add(QStringLiteral("SET ") + assignments.join(QStringLiteral(", ")));
    q.add(QStringLiteral("WHERE CODID=:CODID AND ANUL=:ANUL"));
    q.bind(QStringLiteral("CODID"), std::int64_t(codid));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()));
    m_editor.closeList();
    try {
        q.execSQL();
    } catch (...) {
        m_editor.reopenList(codid);
        throw;
    }
    m_editor.reopenList(codid);
    return std::nullopt;
}

}
