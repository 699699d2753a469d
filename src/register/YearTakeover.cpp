#include "register/YearTakeover.h"

#include "admin/OperationGuard.h"
#include "core/ChangeCounter.h"
#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "core/ProgressShown.h"
#include "core/StagedFile.h"
#include "data/Identifiers.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

namespace velmor {

namespace {

// The identifier columns are DECIMAL(10,0).
constexpr qint64 LargestIdentifier = 9'999'999'999LL;

enum class Kind { Codid, Cod1, Codt };

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Codid: return "CODID";
    case Kind::Cod1: return "COD1";
    case Kind::Codt: return "CODT";
    }
    return "";
}

// One table copied from the latest year into the new one, through the scratch table.
struct TableCopy {
    const char* table;       // file name without ".dbf"
    const char* progress;    // progress text; nullptr keeps the previous one
    int position;
    QStringList columns;     // every column copied, ANUL aside
    std::vector<Kind> kinds; // identifiers the table carries, shifted on the copy
    std::function<void(data::Schema&, const QString&)> createScratch;
};

QStringList columns(const char* list)
{
    return QString::fromLatin1(list).split(QLatin1Char(','));
}

// Chapter 8 (changes during the year) and the plots' CARFUN are not carried over.
const std::vector<TableCopy>& copyPlan()
{
    auto chapter = [](int n) {
        return [n](data::Schema& schema, const QString& path) { schema.CreazaCapitol(n, path); };
    };
    static const std::vector<TableCopy> plan {
        {"Identificare", nullptr, 0,
         columns("CODID,POZ,VOLUM,ROL,LOCALIT,STRADA,NR,JUDET,LOC,TIPRA,STR2,NR2,SIRUTA,DENUMIRE,SUBUNIT,SIRUES,CODFISCAL"),
         {Kind::Codid}, [](data::Schema& schema, const QString& path) { schema.CreazaIdentificare(path); }},
        {"CAP1", "Copii CAP 1. ...", 10, columns("NUMEP,CNP,CODSEX,DENUM,COD,DATAN,MENTIUNI,CODID,COD1"),
         {Kind::Codid, Kind::Cod1}, chapter(1)},
        {"CAP2", "Copii CAP 2. ...", 20, columns("CATEG,AHA,AARI,BHA,BARI,CHA,CARI,RAND,IHA,IARI,CODID"), {Kind::Codid},
         chapter(2)},
        {"CAP3", "Copii CAP 3. ...", 30, columns("CATEG,HA,ARI,RAND,CODID"), {Kind::Codid}, chapter(3)},
        {"CAP4", "Copii CAP 4. ...", 40, columns("CATEG,HA,ARI,RAND,CODID"), {Kind::Codid}, chapter(4)},
        {"CAP5", "Copii CAP 5. ...", 50, columns("CATEG,NR,RAND,CODID"), {Kind::Codid}, chapter(5)},
        {"CAP6", "Copii CAP 6. ...", 60, columns("CATEG,AHA,AARI,BHA,BARI,CHA,CARI,RAND,CODID"), {Kind::Codid}, chapter(6)},
        {"CAP7", "Copii CAP 7. ...", 70, columns("CATEG,NR,RAND,CODID"), {Kind::Codid}, chapter(7)},
        {"CAP9", "Copii CAP 9. ...", 80, columns("CATEG,NR,RAND,CODID"), {Kind::Codid}, chapter(9)},
        {"CAP10", "Copii CAP 10. ...", 90, columns("DETALII,UM,RAND,CODID,OBS"), {Kind::Codid}, chapter(10)},
        {"CAP11", "Copii CAP 11. ...", 95, columns("MENTIUNI,CODID"), {Kind::Codid}, chapter(11)},
        {"Tarlale", nullptr, 95,
         columns("CODT,OBS,ACT,NRACT,DATAELIB,INTRA,TARLA,NRTARLA,NRPARC,CATEG,SUPRAF,VECN,VECS,VECE,VECV,NRCAD,CINELUC,CODID"),
         {Kind::Codid, Kind::Codt}, [](data::Schema& schema, const QString& path) { schema.CreazaTarlale(path); }},
        {"OmTarla", nullptr, 95, columns("CODID,CODT,TITULAR"), {Kind::Codid, Kind::Codt},
         [](data::Schema& schema, const QString& path) { schema.CreazaOmTarla(path); }},
        {"PozeTarla", nullptr, 95, columns("CODT,FISIER"), {Kind::Codt},
         [](data::Schema& schema, const QString& path) { schema.CreazaPozeTarla(path); }},
    };
    return plan;
}

// The shift of one identifier kind: new = old + shift; the counter becomes `after`.
struct Shift {
    Kind kind;
    qint64 before = 0; // the counter
    qint64 after = 0;
    qint64 offset = 0;
    bool present = false; // the copied year holds identifiers of this kind
};

qint64 yearNumber(const QString& text, const QString& what)
{
    bool ok = false;
    const qint64 year = text.trimmed().toLongLong(&ok);
    if (!ok || year < 1000 || year > 9999)
        throw TakeoverError(QStringLiteral("%1 \"%2\" nu este un an.").arg(what, text));
    return year;
}

// The identifier shifts of a take-over from year `from`: each counter read and checked, and the
// shift that puts the year's identifiers after it. Throws TakeoverError when one does not fit.
std::vector<Shift> planShifts(engine::Engine& engine, Settings& settings, const QString& dataDir, qint64 from)
{
    std::vector<Shift> shifts {{Kind::Codid}, {Kind::Cod1}, {Kind::Codt}};
    for (Shift& shift : shifts) {
        const QString key = QString::fromLatin1(kindName(shift.kind));
        if (!parseInteger(settings.CodExistent(key), shift.before))
            throw TakeoverError(QStringLiteral("Contorul %1 din Velmor.ini nu este un numar.").arg(key));
        // A missing or stale counter never hands out identifiers that another year holds.
        shift.before = std::max(shift.before, data::firstFreeIdentifier(engine, dataDir, key));
        qint64 lo = std::numeric_limits<qint64>::max();
        qint64 hi = std::numeric_limits<qint64>::min();
        for (const TableCopy& copy : copyPlan()) {
            if (std::find(copy.kinds.begin(), copy.kinds.end(), shift.kind) == copy.kinds.end())
                continue;
            engine::Query q(engine);
            q.add(QStringLiteral("SELECT MIN(%1) AS LO, MAX(%1) AS HI FROM ").arg(key) + engine::quotedPath(dataDir + QLatin1Char('/') + QLatin1String(copy.table) + QStringLiteral(".dbf")));
            q.add(QStringLiteral("WHERE ANUL=:L"));
            q.bind(QStringLiteral("L"), std::int64_t(from));
            q.open();
            if (q.field(0).isNull())
                continue;
            lo = std::min(lo, q.field(0).asInteger());
            hi = std::max(hi, q.field(1).asInteger());
        }
        shift.after = shift.before;
        if (lo > hi)
            continue; // a kind with no row keeps its counter
        shift.present = true;
        if (shift.before < 0 || hi - lo > LargestIdentifier - shift.before) {
            throw TakeoverError(QStringLiteral("Codurile %1 noi ar depasi 10 cifre (contorul %2, %3 coduri de mutat); "
                                               "preluarea nu se face.")
                                    .arg(key)
                                    .arg(shift.before)
                                    .arg(hi - lo + 1));
        }
        shift.offset = shift.before - lo;
        shift.after = shift.before + (hi - lo) + 1;
    }

    return shifts;
}

}

YearTakeover::YearTakeover(engine::Engine& engine, QString dataDirectory, QString programDirectory, Settings& settings,
                           Interaction& ui)
    : m_engine(engine)
    , m_dataDir(std::move(dataDirectory))
    , m_programDir(std::move(programDirectory))
    , m_settings(settings)
    , m_ui(ui)
{
}

QString YearTakeover::latestYear() const
{
    engine::Query q(m_engine);
    q.add(QStringLiteral("SELECT MAX(ANUL) AS L FROM ") + engine::quotedPath(m_dataDir + QStringLiteral("/Identificare.dbf")));
    q.open();
    const qint64 year = q.field(0).isNull() ? 0 : q.field(0).asInteger();
    return year > 0 ? QString::number(year) : QString();
}

bool YearTakeover::hasHouseholds(const QString& year) const
{
    engine::Query q(m_engine);
    q.add(QStringLiteral("SELECT COUNT(*) AS N FROM ") + engine::quotedPath(m_dataDir + QStringLiteral("/Identificare.dbf")));
    q.add(QStringLiteral("WHERE ANUL=:ANUL"));
    q.bind(QStringLiteral("ANUL"), std::int64_t(yearNumber(year, QStringLiteral("Anul"))));
    q.open();
    return q.field(0).asInteger() > 0;
}

TakeoverReport YearTakeover::run(const QString& targetYear)
{
    // ---- checks: nothing is changed before all of them pass ----
    const qint64 target = yearNumber(targetYear, QStringLiteral("Anul de lucru"));
    const QString latest = latestYear();
    if (latest.isEmpty())
        throw TakeoverError(QStringLiteral("Registrul nu are nicio gospodarie; nu am ce prelua."));
    if (hasHouseholds(targetYear))
        throw TakeoverError(QStringLiteral("Anul %1 are deja gospodarii; preluarea nu se face.").arg(target));
    const qint64 from = latest.toLongLong();
    if (target <= from) {
        throw TakeoverError(QStringLiteral("Anul %1 nu este dupa ultimul an cu date (%2); preluarea nu se face.")
                                .arg(target)
                                .arg(from));
    }

    auto table = [this](const QString& name) { return m_dataDir + QLatin1Char('/') + name + QStringLiteral(".dbf"); };
    const std::vector<Shift> shifts = planShifts(m_engine, m_settings, m_dataDir, from);

    TakeoverReport report;
    report.fromYear = latest;
    report.toYear = QString::number(target);
    for (const Shift& shift : shifts)
        report.counters.append({QString::fromLatin1(kindName(shift.kind)), shift.before, shift.after});

    // ---- the safety archive ----
    const QString parent = QFileInfo(QDir::cleanPath(m_dataDir)).absolutePath();
    report.safetyArchive = parent + QStringLiteral("/Preluare-%1-%2.kt").arg(target).arg(
                               QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    // Every table checked before the first change; the marker names the safety archive.
    OperationGuard guard(m_dataDir, QString::fromLatin1(OperationMarker::Takeover), &m_engine);
    try {
        guard.preflight(OperationGuard::registerFiles());
    } catch (const PreflightError& e) {
        throw TakeoverError(e.message() + QStringLiteral("\r" "Preluarea nu s-a facut."));
    }
    try {
        guard.saveArchive(report.safetyArchive, &m_ui, true);
    } catch (const WriteError& e) {
        // Already "Nu pot scrie <archive>: <reason>".
        throw TakeoverError(e.message() + QStringLiteral("\r" "Preluarea nu s-a facut."));
    } catch (const Error& e) {
        throw TakeoverError(QStringLiteral("Nu pot scrie salvarea de siguranta %1: %2" "\r" "Preluarea nu s-a facut.")
                                .arg(nativePath(report.safetyArchive), e.message()));
    }
    guard.marker().values.insert(QStringLiteral("year"), report.toYear);
    guard.marker().values.insert(QStringLiteral("scratch"), m_programDir + QStringLiteral("/tmp.dbf"));
    guard.begin();

    // ---- the copy ----
    try {
        ProgressShown progress(m_ui, QStringLiteral("Preluare date..."));
        m_ui.setProgressMaximum(100);
        m_ui.processEvents();
        for (const Shift& shift : shifts) {
            if (shift.present)
                m_settings.Scrie_Ini(QStringLiteral("INDEX"), QString::fromLatin1(kindName(shift.kind)), QString::number(shift.after));
        }
        data::Schema schema(m_engine, m_dataDir, m_ui);
        const QString scratch = m_programDir + QStringLiteral("/tmp.dbf");
        const QString quotedScratch = engine::quotedPath(scratch);
        for (const TableCopy& copy : copyPlan()) {
            if (copy.progress)
                m_ui.setProgressLabel(QString::fromLatin1(copy.progress));
            m_ui.setProgressPosition(copy.position);
            m_ui.processEvents();
            const QString path = table(QLatin1String(copy.table));
            const QString list = copy.columns.join(QLatin1Char(','));
            copy.createScratch(schema, scratch);

            engine::Query q(m_engine);
            q.add(QStringLiteral("INSERT INTO ") + quotedScratch + QStringLiteral(" (") + list + QLatin1Char(')'));
            q.add(QStringLiteral("SELECT ") + list);
            q.add(QStringLiteral("FROM ") + engine::quotedPath(path));
            q.add(QStringLiteral("WHERE ANUL=:L"));
            q.bind(QStringLiteral("L"), std::int64_t(from));
            const qint64 rows = q.execSQL();

            schema.RemoveIndex(path);
            engine::QueryRst(q);
            q.add(QStringLiteral("UPDATE ") + quotedScratch);
            QString set = QStringLiteral("SET ANUL=:Y");
            q.bind(QStringLiteral("Y"), std::int64_t(target));
            for (Kind kind : copy.kinds) {
                const QString name = QString::fromLatin1(kindName(kind));
                set += QStringLiteral(", %1=%1+:S%1").arg(name);
                q.bind(QStringLiteral("S") + name, std::int64_t(shifts[size_t(kind)].offset));
            }
            q.add(set);
            q.execSQL();

            engine::QueryRst(q);
            q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(path) + QStringLiteral(" (ANUL,") + list + QLatin1Char(')'));
            q.add(QStringLiteral("SELECT ANUL,") + list);
            q.add(QStringLiteral("FROM ") + quotedScratch);
            const qint64 copied = q.execSQL();
            if (copied != rows) {
                throw TakeoverError(QStringLiteral("Tabelul %1: %2 randuri citite, %3 copiate.").arg(QLatin1String(copy.table)).arg(rows).arg(copied));
            }
            report.tables.append({QString::fromLatin1(copy.table), rows});

            m_engine.forget(scratch);
            if (QFile::remove(scratch))
                ChangeCounter::count();
            QFile::remove(m_programDir + QStringLiteral("/tmp.dbt"));
        }
        m_ui.setProgressPosition(100);
    } catch (const std::exception& failure) {
        const QString reason = errorMessage(failure);
        m_engine.forget(m_programDir + QStringLiteral("/tmp.dbf"));
        QFile::remove(m_programDir + QStringLiteral("/tmp.dbf"));
        QFile::remove(m_programDir + QStringLiteral("/tmp.dbt"));
        try {
            OperationGuard::undoFromArchive(m_dataDir, guard.marker(), m_ui, &m_engine);
            guard.abandon();
        } catch (const Error& undo) {
            throw TakeoverError(QStringLiteral("Preluarea din anul %1 in anul %2 a esuat: %3" "\r"
                                               "Datele nu au putut fi readuse: %4" "\r"
                                               "Salvarea de siguranta este %5.")
                                    .arg(latest, report.toYear, reason, undo.message(), nativePath(report.safetyArchive)));
        }
        throw TakeoverError(QStringLiteral("Preluarea din anul %1 in anul %2 a esuat: %3" "\r"
                                           "Datele au fost readuse din salvarea de siguranta %4; nu s-a schimbat nimic.")
                                .arg(latest, report.toYear, reason, nativePath(report.safetyArchive)));
    }
    guard.finish();
    return report;
}

}
