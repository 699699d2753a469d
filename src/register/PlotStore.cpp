#include "register/PlotStore.h"

#include "data/dbf/ValueConversions.h"
#include "data/Identifiers.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/Settings.h"
#include "services/TextFunctions.h"

#include <QFileInfo>

#include <cmath>

namespace velmor {

using engine::Parameters;
using engine::quotedPath;

namespace {

constexpr double kLargestArea = 99999.9999; // SUPRAF DECIMAL(10,4)
constexpr int kHolderWidth = 40;            // OmTarla.TITULAR
constexpr int kPictureWidth = 240;          // PozeTarla.FISIER

void checkWidth(const QString& value, int width, PlotField field)
{
    if (value.size() > width) {
        throw PlotRefusal(QStringLiteral("\"%1\" primeste cel mult %2 caractere; ati scris %3.")
                              .arg(plotFieldLabel(field))
                              .arg(width)
                              .arg(value.size()),
                          field);
    }
}

// The plot's columns and their values: texts trimmed except notes, deed kind and classification.
Parameters plotValues(const PlotDetails& plot)
{
    Parameters p;
    p.bind(QStringLiteral("OBS"), plot.notes);
    p.bind(QStringLiteral("ACT"), plot.deed);
    p.bind(QStringLiteral("NRACT"), plot.deedNumber.trimmed());
    p.bind(QStringLiteral("DATAELIB"), plot.deedDate.trimmed());
    p.bind(QStringLiteral("INTRA"), plot.classification);
    p.bind(QStringLiteral("TARLA"), plot.block.trimmed());
    p.bind(QStringLiteral("NRTARLA"), plot.blockNumber.trimmed());
    p.bind(QStringLiteral("NRPARC"), plot.parcel.trimmed());
    p.bind(QStringLiteral("CATEG"), plot.category.trimmed());
    p.bind(QStringLiteral("SUPRAF"), std::round(plot.area * 10000.0) / 10000.0);
    p.bind(QStringLiteral("VECE"), plot.east.trimmed());
    p.bind(QStringLiteral("VECS"), plot.south.trimmed());
    p.bind(QStringLiteral("VECV"), plot.west.trimmed());
    p.bind(QStringLiteral("VECN"), plot.north.trimmed());
    p.bind(QStringLiteral("NRCAD"), plot.cadastral.trimmed());
    p.bind(QStringLiteral("CINELUC"), plot.worker.trimmed());
    return p;
}

const QStringList& plotColumns()
{
    static const QStringList columns {
        QStringLiteral("OBS"),   QStringLiteral("ACT"),   QStringLiteral("NRACT"),   QStringLiteral("DATAELIB"),
        QStringLiteral("INTRA"), QStringLiteral("TARLA"), QStringLiteral("NRTARLA"), QStringLiteral("NRPARC"),
        QStringLiteral("CATEG"), QStringLiteral("SUPRAF"), QStringLiteral("VECE"),   QStringLiteral("VECS"),
        QStringLiteral("VECV"),  QStringLiteral("VECN"),  QStringLiteral("NRCAD"),   QStringLiteral("CINELUC"),
    };
    return columns;
}

}

PlotStore::PlotStore(engine::Engine& engine, QString dataDirectory, Settings& settings)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_settings(settings)
{
}

QString PlotStore::table(const char* name) const
{
    return quotedPath(m_dataDirectory + QLatin1Char('/') + QLatin1String(name));
}

const QStringList& PlotStore::categories()
{
    static const QStringList all {
        QStringLiteral("TEREN ARABIL"), QStringLiteral("PASUNI NATURALE"), QStringLiteral("FANETE NATURALE"),
        QStringLiteral("VII, PEPINIERE VITICOLE"), QStringLiteral("LIVEZI"), QStringLiteral("FOND FORESTIER"),
        QStringLiteral("CURTI SI CLADIRI"), QStringLiteral("ALTE TERENURI"),
    };
    return all;
}

QStringList PlotStore::holders(const QStringList& lines)
{
    QStringList names;
    for (const QString& line : lines) {
        const QString name = line.trimmed().toUpper();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

void PlotStore::check(const PlotDetails& plot)
{
    const double area = std::round(plot.area * 10000.0) / 10000.0;
    if (!(area > 0))
        throw PlotRefusal(QStringLiteral("Nu ati trecut suprafata!"), PlotField::Area);
    if (area > kLargestArea)
        throw PlotRefusal(QStringLiteral("Suprafata poate fi cel mult 99999.9999 ha."), PlotField::Area);
    const QStringList names = holders(plot.holderLines);
    if (names.isEmpty())
        throw PlotRefusal(QStringLiteral("Nu ati scris titularii!"), PlotField::Holders);
    checkWidth(plot.deed, 45, PlotField::Deed);
    checkWidth(plot.deedNumber.trimmed(), 15, PlotField::DeedNumber);
    checkWidth(plot.deedDate.trimmed(), 11, PlotField::DeedDate);
    for (const QString& name : names)
        checkWidth(name, kHolderWidth, PlotField::Holders);
    checkWidth(plot.notes, 240, PlotField::Notes);
    checkWidth(plot.block.trimmed(), 32, PlotField::Block);
    checkWidth(plot.blockNumber.trimmed(), 16, PlotField::BlockNumber);
    checkWidth(plot.parcel.trimmed(), 16, PlotField::Parcel);
    checkWidth(plot.cadastral.trimmed(), 10, PlotField::Cadastral);
    checkWidth(plot.category.trimmed(), 30, PlotField::Category);
    checkWidth(plot.classification, 10, PlotField::Classification);
    checkWidth(plot.worker.trimmed(), 40, PlotField::Worker);
    checkWidth(plot.north.trimmed(), 120, PlotField::North);
    checkWidth(plot.east.trimmed(), 120, PlotField::East);
    checkWidth(plot.south.trimmed(), 120, PlotField::South);
    checkWidth(plot.west.trimmed(), 120, PlotField::West);
}

void PlotStore::insertHolders(int year, qint64 household, qint64 codt, const QStringList& names)
{
    for (const QString& name : names) {
        Parameters p;
        p.bind(QStringLiteral("ANUL"), std::int64_t(year));
        p.bind(QStringLiteral("CODID"), std::int64_t(household));
        p.bind(QStringLiteral("CODT"), std::int64_t(codt));
        p.bind(QStringLiteral("TITULAR"), name);
        m_engine.execute(QStringLiteral("INSERT INTO ") + table("OmTarla.dbf")
                             + QStringLiteral("\n(ANUL, CODID, CODT, TITULAR)\nVALUES (:ANUL, :CODID, :CODT, :TITULAR)"),
                         p);
    }
}

qint64 PlotStore::add(int year, qint64 household, const PlotDetails& plot)
{
    check(plot);
    const qint64 codt = m_settings.CodNou(QStringLiteral("CODT"),
                                          data::firstFreeIdentifier(m_engine, m_dataDirectory, QStringLiteral("CODT")));
    Parameters p = plotValues(plot);
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODID"), std::int64_t(household));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    m_engine.execute(QStringLiteral("INSERT INTO ") + table("Tarlale.dbf") + QStringLiteral("\n(ANUL,CODID,CODT,")
                         + plotColumns().join(QLatin1Char(',')) + QStringLiteral(")\nVALUES (:ANUL,:CODID,:CODT,:")
                         + plotColumns().join(QStringLiteral(",:")) + QLatin1Char(')'),
                     p);
    try {
        insertHolders(year, household, codt, holders(plot.holderLines));
    } catch (...) {
        // No plot without all of its holders.
        try {
            remove(year, codt);
        } catch (const Error&) {
        }
        throw;
    }
    return codt;
}

void PlotStore::change(int year, qint64 household, qint64 codt, const PlotDetails& plot)
{
    check(plot);
    const PlotDetails before = read(year, codt);
    QString assignments;
    for (const QString& column : plotColumns())
        assignments += (assignments.isEmpty() ? QString() : QStringLiteral(", ")) + column + QStringLiteral("=:") + column;
    Parameters p = plotValues(plot);
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    m_engine.execute(QStringLiteral("UPDATE ") + table("Tarlale.dbf") + QStringLiteral("\nSET ") + assignments
                         + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT"),
                     p);
    Parameters key;
    key.bind(QStringLiteral("ANUL"), std::int64_t(year));
    key.bind(QStringLiteral("CODT"), std::int64_t(codt));
    const QString removeHolders = QStringLiteral("DELETE FROM ") + table("OmTarla.dbf") + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT");
    m_engine.execute(removeHolders, key);
    try {
        insertHolders(year, household, codt, holders(plot.holderLines));
    } catch (...) {
        // Put the former holders back rather than leave the plot with some of the new ones.
        try {
            m_engine.execute(removeHolders, key);
            insertHolders(year, household, codt, before.holderLines);
        } catch (const Error&) {
        }
        throw;
    }
}

void PlotStore::remove(int year, qint64 codt)
{
    Parameters p;
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    for (const char* name : {"PozeTarla.dbf", "OmTarla.dbf", "Tarlale.dbf"})
        m_engine.execute(QStringLiteral("DELETE FROM ") + table(name) + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT"), p);
}

PlotDetails PlotStore::read(int year, qint64 codt) const
{
    Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    const engine::ResultSet rows =
        m_engine.select(QStringLiteral("SELECT * FROM ") + table("Tarlale.dbf") + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT"), p);
    PlotDetails plot;
    if (rows.rows.empty())
        return plot;
    const auto& row = rows.rows.front();
    const auto text = [&](const char* column) { return dbf::toText(row[size_t(rows.fieldIndex(QLatin1String(column)))]); };
    plot.notes = text("OBS");
    plot.deed = text("ACT");
    plot.deedNumber = text("NRACT");
    plot.deedDate = text("DATAELIB");
    plot.classification = text("INTRA");
    plot.block = text("TARLA");
    plot.blockNumber = text("NRTARLA");
    plot.parcel = text("NRPARC");
    plot.category = text("CATEG");
    plot.area = dbf::toReal(row[size_t(rows.fieldIndex(QStringLiteral("SUPRAF")))]);
    plot.north = text("VECN");
    plot.east = text("VECE");
    plot.south = text("VECS");
    plot.west = text("VECV");
    plot.cadastral = text("NRCAD");
    plot.worker = text("CINELUC");
    const engine::ResultSet names = m_engine.select(QStringLiteral("SELECT TITULAR FROM ") + table("OmTarla.dbf")
                                                        + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT\nORDER BY TITULAR"),
                                                    p);
    for (const auto& name : names.rows)
        plot.holderLines << dbf::toText(name[0]);
    return plot;
}

QStringList PlotStore::memberNames(int year, qint64 household) const
{
    Parameters p;
    p.bind(QStringLiteral("CODID"), std::int64_t(household));
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    const engine::ResultSet rows = m_engine.select(QStringLiteral("SELECT COD,NUMEP FROM ") + table("CAP1.dbf")
                                                       + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID\nORDER BY COD"),
                                                   p);
    QStringList names;
    for (size_t r = 0; r < rows.rows.size(); ++r)
        names << dbf::toText(rows.value(r, "NUMEP"));
    return names;
}

QStringList PlotStore::pictures(int year, qint64 codt) const
{
    Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    const engine::ResultSet rows = m_engine.select(QStringLiteral("SELECT FISIER FROM ") + table("PozeTarla.dbf")
                                                       + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT\nORDER BY FISIER"),
                                                   p);
    QStringList paths;
    for (size_t r = 0; r < rows.rows.size(); ++r)
        paths << dbf::toText(rows.value(r, "FISIER"));
    return paths;
}

void PlotStore::addPicture(int year, qint64 codt, const QString& path)
{
    if (path.size() > kPictureWidth) {
        throw PlotRefusal(QStringLiteral("Calea fisierului are %1 caractere; se pot memora cel mult %2. "
                                         "Mutati fisierul intr-un dosar cu o cale mai scurta.")
                              .arg(path.size())
                              .arg(kPictureWidth),
                          PlotField::Pictures);
    }
    if (pictures(year, codt).contains(path))
        throw PlotRefusal(QStringLiteral("Fisierul exista deja!"), PlotField::Pictures);
    Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    p.bind(QStringLiteral("FISIER"), path);
    m_engine.execute(QStringLiteral("INSERT INTO ") + table("PozeTarla.dbf")
                         + QStringLiteral("\n(ANUL, CODT, FISIER)\nVALUES (:ANUL, :CODT, :FISIER)"),
                     p);
}

void PlotStore::removePicture(int year, qint64 codt, const QString& path)
{
    Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    p.bind(QStringLiteral("FISIER"), path);
    m_engine.execute(QStringLiteral("DELETE FROM ") + table("PozeTarla.dbf")
                         + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT=:CODT AND FISIER=:FISIER"),
                     p);
}

bool PlotStore::mayOpen(const QString& path)
{
    static const QStringList allowed {
        QStringLiteral("png"), QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("gif"), QStringLiteral("bmp"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("pdf"),  QStringLiteral("doc"), QStringLiteral("docx"),
        QStringLiteral("odt"), QStringLiteral("rtf"),  QStringLiteral("txt"),
    };
    return allowed.contains(QFileInfo(path).suffix().toLower());
}

QString plotFieldLabel(PlotField field)
{
    switch (field) {
    case PlotField::Area: return QStringLiteral("Suprafata (ha)");
    case PlotField::Holders: return QStringLiteral("Titulari");
    case PlotField::Deed: return QStringLiteral("Act doveditor");
    case PlotField::DeedNumber: return QStringLiteral("Numarul");
    case PlotField::DeedDate: return QStringLiteral("din data");
    case PlotField::Notes: return QStringLiteral("Observatii");
    case PlotField::Block: return QStringLiteral("Denumire tarla");
    case PlotField::BlockNumber: return QStringLiteral("Numar tarla");
    case PlotField::Parcel: return QStringLiteral("Numar parcela");
    case PlotField::Cadastral: return QStringLiteral("Nr. cadastral");
    case PlotField::Category: return QStringLiteral("Categoria");
    case PlotField::Classification: return QStringLiteral("Incadrare");
    case PlotField::Worker: return QStringLiteral("Cine lucreaza");
    case PlotField::North: return QStringLiteral("Nord");
    case PlotField::East: return QStringLiteral("Est");
    case PlotField::South: return QStringLiteral("Sud");
    case PlotField::West: return QStringLiteral("Vest");
    case PlotField::Pictures: return QStringLiteral("Poze");
    }
    return QString();
}

}
