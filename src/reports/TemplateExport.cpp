#include "reports/TemplateExport.h"

#include "core/Interaction.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/SqlText.h"
#include "reports/TExportXLSModel.h"
#include "reports/TemplateCopies.h"
#include "services/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor::reports {

using engine::quotedPath;

TemplateExport::TemplateExport(TemplateExportSetup setup)
    : m_setup(std::move(setup))
{
    if (!m_setup.engine || !m_setup.interaction)
        throw Error(QStringLiteral("Rapoartele Excel au nevoie de motorul de date si de interfata cu utilizatorul."));
}

TemplateExportSetup TemplateExport::setupFrom(const AppContext& context)
{
    return {context.engine, context.dataDirectory, context.programDirectory, context.interaction};
}

QString TemplateExport::workTable() const
{
    return QDir(m_setup.programDirectory).filePath(QStringLiteral("RapAP.dbf"));
}

void TemplateExport::removeWorkTable() const
{
    const QString path = workTable();
    m_setup.engine->forget(path);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw engine::SqlError(QStringLiteral("Nu pot sterge tabelul temporar %1.").arg(QDir::toNativeSeparators(path)));
}

namespace {

// The working year as the number statements compare ANUL with.
std::int64_t yearValue(const QString& workingYear)
{
    bool ok = false;
    const qint64 year = workingYear.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("Anul de lucru \"%1\" nu este un an.").arg(workingYear));
    return std::int64_t(year);
}

QString table(const TemplateExportSetup& s, const char* name)
{
    return quotedPath(QDir(s.dataDirectory).filePath(QLatin1String(name)));
}

}

TemplateReportResult TemplateExport::raport1Apia(const QString& workingYear)
{
    engine::Engine& engine = *m_setup.engine;
    const std::int64_t year = yearValue(workingYear);
    const QString copy = ensureTemplateCopy(TemplateRap, m_setup.dataDirectory);

    // The four species of chapter 7 (start of year) per head of household, one insert each.
    removeWorkTable();
    const QString work = quotedPath(workTable());
    {
        engine::Query create(engine);
        create.add(QStringLiteral("CREATE TABLE ") + work);
        create.add(QStringLiteral("(CODID DECIMAL(10,0), NUMEP CHAR(40), CNP CHAR(13), NR1 DECIMAL(7,0), NR2 DECIMAL(7,0), "
                                  "NR3 DECIMAL(7,0), NR4 DECIMAL(7,0) )"));
        create.execSQL();
    }
    struct Species {
        const char* select;
        const char* row;
    };
    const Species species[] = {
        {"SELECT C.CODID,C.NUMEP, C.CNP, X.NR, 0, 0, 0", "AND C.COD=1 AND X.RAND=1"},
        {"SELECT C.CODID, C.NUMEP, C.CNP, 0, X.NR, 0, 0", "AND C.COD=1 AND X.RAND=11"},
        {"SELECT C.CODID, C.NUMEP, C.CNP, 0, 0, X.NR, 0", "AND C.COD=1 AND X.RAND=15"},
        {"SELECT C.CODID, C.NUMEP, C.CNP, 0, 0, 0, X.NR", "AND C.COD=1 AND X.RAND=21"},
    };
    TemplateReportResult result;
    try {
        for (const Species& s : species) {
            engine::Query insert(engine);
            insert.add(QStringLiteral("INSERT INTO ") + work);
            insert.add(QStringLiteral("(CODID, NUMEP, CNP, NR1, NR2, NR3, NR4)"));
            insert.add(QLatin1String(s.select));
            insert.add(QStringLiteral("FROM ") + table(m_setup, "Cap1.dbf") + QStringLiteral(" C,"));
            insert.add(table(m_setup, "Cap7.dbf") + QStringLiteral(" X"));
            insert.add(QStringLiteral("WHERE C.ANUL=:ANUL AND X.CODID=C.CODID AND X.ANUL=C.ANUL"));
            insert.add(QLatin1String(s.row));
            insert.bind(QStringLiteral("ANUL"), year);
            insert.execSQL();
        }

        engine::Query query(engine);
        query.add(QStringLiteral("SELECT CODID, NUMEP, CNP, SUM(NR1) AS NRX1, SUM(NR2) AS NRX2, SUM(NR3) AS NRX3, SUM(NR4) AS NRX4"));
        query.add(QStringLiteral("FROM ") + work);
        query.add(QStringLiteral("GROUP BY CODID, NUMEP, CNP"));
        query.add(QStringLiteral("ORDER BY NUMEP"));
        query.open();
        query.setFilter(QStringLiteral("(NRX1>0) OR (NRX2>0) OR (NRX3>0) OR (NRX4>0)"));
        query.setFiltered(true);

        TExportXLSModel model(*m_setup.interaction, m_setup.programDirectory);
        if (!m_outputFile.isEmpty())
            model.setFixedOutput(m_outputFile);
        result.templateOpened = model.openTemplate(m_templateFile.isEmpty() ? copy : m_templateFile);
        result.rows = model.fill(query);
        result.output = model.saveAndShow();
        engine::QueryRst(query);
    } catch (...) {
        removeWorkTable();
        throw;
    }
    removeWorkTable();
    return result;
}

TemplateReportResult TemplateExport::raportStrainasi(const QString& workingYear, const QString& county)
{
    engine::Engine& engine = *m_setup.engine;
    const QString copy = ensureTemplateCopy(TemplateMacheta, m_setup.dataDirectory);
    TExportXLSModel model(*m_setup.interaction, m_setup.programDirectory);
    if (!m_outputFile.isEmpty())
        model.setFixedOutput(m_outputFile);
    TemplateReportResult result;
    result.templateOpened = model.openTemplate(m_templateFile.isEmpty() ? copy : m_templateFile);

    engine::Query query(engine);
    // The county is a bound value, so any text (quotes included) reaches the cells as typed.
    query.add(QStringLiteral("SELECT :JUDL AS JUDL, I.SIRUTA, I.LOCALIT, I.STRADA, I.NR, I.JUDET, I.LOC, I.STR2, I.NR2,"));
    query.add(QStringLiteral("C.NUMEP, C.CNP"));
    query.add(QStringLiteral("FROM ") + table(m_setup, "Identificare.dbf") + QStringLiteral(" I,"));
    query.add(table(m_setup, "Cap1.dbf") + QStringLiteral(" C"));
    query.add(QStringLiteral("WHERE I.TIPRA=2 AND I.ANUL=:ANUL"));
    query.add(QStringLiteral("AND I.CODID=C.CODID AND C.ANUL=I.ANUL"));
    query.add(QStringLiteral("AND C.COD=1"));
    query.add(QStringLiteral("ORDER BY I.LOCALIT, I.STRADA"));
    query.bind(QStringLiteral("JUDL"), county);
    query.bind(QStringLiteral("ANUL"), yearValue(workingYear));
    query.open();
    result.rows = model.fill(query);
    query.close();
    result.output = model.saveAndShow();
    return result;
}

}
