#include "admin/RegisterMerge.h"

#include "admin/KtArchive.h"
#include "admin/OperationGuard.h"
#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "core/ProgressShown.h"
#include "data/Schema.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"
#include "services/LineListFile.h"
#include "services/ServiceError.h"
#include "services/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace velmor {

namespace {

// The identifier columns are DECIMAL(10,0).
constexpr qint64 LargestIdentifier = 9'999'999'999LL;

const char* const Kinds[] = {"CODID", "COD1", "CODT"};

bool isIdentifierColumn(const QString& name)
{
    return name == QLatin1String("CODID") || name == QLatin1String("COD1") || name == QLatin1String("CODT");
}

// A position as POZ|VOLUM|LOCALIT|TIPRA; none when a part is blank (such rows are no position).
std::optional<QString> positionKey(const std::vector<dbf::Value>& row, const int columns[4])
{
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        if (columns[i] < 0 || dbf::isNull(row[size_t(columns[i])]))
            return std::nullopt;
        const dbf::Value& v = row[size_t(columns[i])];
        parts << (i == 2 ? dbf::toText(v).trimmed() : QString::number(dbf::toWhole(v)));
    }
    return parts.join(QLatin1Char('|'));
}

// Order of a sort key: blanks first, numbers by value, texts as stored.
int compareValues(const dbf::Value& a, const dbf::Value& b)
{
    const bool an = dbf::isNull(a);
    const bool bn = dbf::isNull(b);
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (std::holds_alternative<QString>(a) || std::holds_alternative<QString>(b))
        return QString::compare(dbf::toText(a), dbf::toText(b));
    const double x = dbf::toReal(a);
    const double y = dbf::toReal(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

QString refusal(const QString& text)
{
    return text + QStringLiteral("\r" "Lipirea nu s-a facut; nu s-a schimbat nimic.");
}

}

RegisterMerge::RegisterMerge(engine::Engine& engine, QString dataDirectory, QString scratchParent, Settings& settings,
                             Interaction& ui)
    : m_engine(engine)
    , m_dataDir(std::move(dataDirectory))
    , m_scratchParent(std::move(scratchParent))
    , m_settings(settings)
    , m_ui(ui)
{
}

QStringList RegisterMerge::tableNames()
{
    QStringList names {QStringLiteral("Identificare")};
    for (int n = 1; n <= 11; ++n)
        names << QStringLiteral("CAP%1").arg(n);
    names << QStringLiteral("Tarlale") << QStringLiteral("OmTarla") << QStringLiteral("PozeTarla");
    return names;
}

void RegisterMerge::write(const QString& line)
{
    if (log)
        log(line);
}

namespace {

// One merge, step by step: each step reads what the earlier ones left in its members. Nothing
// changes the data directory before `apply`.
class MergeSteps {
public:
    MergeSteps(engine::Engine& engine, const QString& dataDir, Settings& settings, Interaction& ui,
               const std::function<void(const QString&)>& write)
        : m_engine(engine)
        , m_dataDir(dataDir)
        , m_settings(settings)
        , m_ui(ui)
        , m_write(write)
    {
    }
    ~MergeSteps()
    {
        try {
            forgetScratch();
        } catch (...) {
            // The engine then still knows the scratch tables; they go with the folder.
        }
    }

    void checkRequest(const QString& yearText);
    void readSource(const QString& archivePath, const QString& scratchParent);
    void findCommonPositions(MergeReport& report);
    void measureTables();
    void chooseOffsets(MergeReport& report);
    void stageTables(MergeReport& report);
    QStringList sourceVillages() const;
    void apply(MergeReport& report, const QStringList& villages, const QStringList& sourceVillages);
    void forgetScratch();

    qint64 year = 0;

private:
    QString target(const QString& name) const
    {
        return dbf::resolveFileName(m_dataDir + QLatin1Char('/') + name + QStringLiteral(".dbf"));
    }
    bool inYear(const engine::ResultSet& set, const std::vector<dbf::Value>& row) const
    {
        const int c = set.fieldIndex(QStringLiteral("ANUL"));
        return c >= 0 && !dbf::isNull(row[size_t(c)]) && dbf::toWhole(row[size_t(c)]) == year;
    }
    // The rows of a table this merge replaces: of the households in LaFel, or the plots in LaFelT.
    QString replacedRows(const QString& table) const
    {
        const bool byPlot = table == QLatin1String("PozeTarla");
        return QStringLiteral("ANUL=:Y AND ")
               + (byPlot ? QStringLiteral("CODT IN (SELECT CODT FROM ") : QStringLiteral("CODID IN (SELECT CODID FROM "))
               + engine::quotedPath(byPlot ? m_laFelT : m_laFel) + QLatin1Char(')');
    }
    void writeReplacedLists();
    void stageTable(const QString& name, MergeReport& report);
    std::vector<dbf::Value> shifted(const QString& name, const std::vector<dbf::Value>& row, const std::vector<int>& from);
    void removeReplaced(const MergeReport& report, int& step);
    void appendStaged(const MergeReport& report, int& step);

    engine::Engine& m_engine;
    const QString& m_dataDir;
    Settings& m_settings;
    Interaction& m_ui;
    const std::function<void(const QString&)>& m_write;

    engine::Parameters m_yearParameter;
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_sourceDir;
    QString m_outDir;
    QString m_laFel;  // our households replaced
    QString m_laFelT; // their plots
    bool m_scratchAttached = false;
    std::map<QString, engine::ResultSet> m_rows; // every source table, whole
    QSet<qint64> m_removed;      // our households replaced
    QSet<qint64> m_dropped;      // source households left out
    QSet<qint64> m_droppedPlots; // their plots
    QHash<QString, QString> m_staged;
    // Per table: the rows replaced and the layout; per kind: the largest identifier, the largest
    // one that stays, the shift and the largest shifted identifier.
    QHash<QString, qint64> m_removedRows;
    QHash<QString, QList<dbf::FieldSpec>> m_layouts;
    QHash<QString, qint64> m_largest;
    QHash<QString, qint64> m_largestKept;
    QHash<QString, qint64> m_offset;
    QHash<QString, qint64> m_largestAppended;
};

void MergeSteps::checkRequest(const QString& yearText)
{
    bool yearOk = false;
    year = yearText.trimmed().toLongLong(&yearOk);
    if (!yearOk || year < 1000 || year > 9999)
        throw MergeError(refusal(QStringLiteral("Anul de lucru \"%1\" nu este un an.").arg(yearText)));
    if (m_engine.readOnly())
        throw MergeError(refusal(QStringLiteral("Registrul este deschis numai pentru citire.")));
    if (!data::Schema::ExistaBaza(m_dataDir))
        throw MergeError(refusal(QStringLiteral("Baza de date %1 este incompleta.").arg(nativePath(m_dataDir))));
    m_yearParameter.bind(QStringLiteral("Y"), std::int64_t(year));
}

// Extraction into a private scratch folder, checked whole; every source table read whole.
void MergeSteps::readSource(const QString& archivePath, const QString& scratchParent)
{
    if (!QDir().mkpath(scratchParent))
        throw MergeError(refusal(QStringLiteral("Folderul %1 nu poate fi creat.").arg(nativePath(scratchParent))));
    m_scratch = std::make_unique<QTemporaryDir>(QDir(scratchParent).filePath(QStringLiteral("velmor-merge-XXXXXX")));
    if (!m_scratch->isValid())
        throw MergeError(refusal(QStringLiteral("Folderul temporar nu poate fi creat: %1").arg(m_scratch->errorString())));
    m_sourceDir = m_scratch->filePath(QStringLiteral("Data"));
    m_outDir = m_scratch->filePath(QStringLiteral("Out"));
    m_laFel = m_outDir + QStringLiteral("/LaFel.dbf");
    m_laFelT = m_outDir + QStringLiteral("/LaFelT.dbf");
    QDir().mkpath(m_outDir);
    try {
        KtArchive::extract(archivePath, m_sourceDir, KtArchive::Layout::DataDirectory, false, &m_ui);
    } catch (const Error& e) {
        throw MergeError(refusal(e.message()));
    }
    QStringList missing;
    for (const QString& name : data::Schema::tableFileNames()) {
        if (!QFileInfo::exists(dbf::resolveFileName(m_sourceDir + QLatin1Char('/') + name)))
            missing << name;
    }
    if (!missing.isEmpty()) {
        m_write(QStringLiteral("Lipsesc din sursa: ") + missing.join(QStringLiteral(", ")));
        throw MergeError(QStringLiteral("Baza incompleta!"), true);
    }

    engine::Engine source(m_sourceDir);
    try {
        for (const QString& name : RegisterMerge::tableNames())
            m_rows[name] = source.select(QStringLiteral("SELECT * FROM ")
                                         + engine::quotedPath(dbf::resolveFileName(m_sourceDir + QLatin1Char('/') + name + QStringLiteral(".dbf"))));
    } catch (const Error& e) {
        throw MergeError(refusal(QStringLiteral("Sursa nu poate fi citita: ") + e.message()));
    }
    const engine::ResultSet& ident = m_rows[QStringLiteral("Identificare")];
    const int nr2 = ident.fieldIndex(QStringLiteral("NR2"));
    if (nr2 < 0 || ident.fields[nr2].width <= 20)
        throw MergeError(QStringLiteral("Baza specificata este de la o versiune mai veche decat 2.78!"), true);
}

// The positions of the year held in both registers: ours go (replaced) or theirs stay out.
void MergeSteps::findCommonPositions(MergeReport& report)
{
    const engine::ResultSet ours = m_engine.select(QStringLiteral("SELECT POZ, VOLUM, LOCALIT, TIPRA, CODID FROM ")
                                                       + engine::quotedPath(target(QStringLiteral("Identificare")))
                                                       + QStringLiteral(" WHERE ANUL=:Y"),
                                                   m_yearParameter);
    const int ourColumns[4] = {0, 1, 2, 3};
    QHash<QString, QList<qint64>> ourPositions; // position -> our households there
    for (const auto& row : ours.rows) {
        if (const auto key = positionKey(row, ourColumns)) {
            QList<qint64>& there = ourPositions[*key];
            if (!dbf::isNull(row[4]))
                there << dbf::toWhole(row[4]);
        }
    }
    const engine::ResultSet& theirIdent = m_rows[QStringLiteral("Identificare")];
    const int theirColumns[4] = {theirIdent.fieldIndex(QStringLiteral("POZ")), theirIdent.fieldIndex(QStringLiteral("VOLUM")),
                                 theirIdent.fieldIndex(QStringLiteral("LOCALIT")), theirIdent.fieldIndex(QStringLiteral("TIPRA"))};
    const int theirYear = theirIdent.fieldIndex(QStringLiteral("ANUL"));
    const int theirCodid = theirIdent.fieldIndex(QStringLiteral("CODID"));
    if (theirYear < 0 || theirCodid < 0)
        throw MergeError(refusal(QStringLiteral("Tabelul Identificare al sursei nu are coloanele ANUL si CODID.")));
    QSet<QString> theirPositions;
    QHash<QString, QList<qint64>> theirAt;
    for (const auto& row : theirIdent.rows) {
        if (!inYear(theirIdent, row))
            continue;
        if (const auto key = positionKey(row, theirColumns)) {
            theirPositions.insert(*key);
            if (!dbf::isNull(row[size_t(theirCodid)]))
                theirAt[*key] << dbf::toWhole(row[size_t(theirCodid)]);
        }
    }
    for (const QString& key : std::as_const(theirPositions)) {
        if (ourPositions.contains(key))
            ++report.common;
    }
    if (report.common > 0) {
        m_write(QStringLiteral("Sursa contine %1 pozitii care exista deja.").arg(report.common));
        report.replaced = m_ui.Mesaj(QStringLiteral("Lipire"),
                                     QStringLiteral("Sursa contine %1 pozitii existente in baza noastra.").arg(report.common)
                                         + QChar(13) + QStringLiteral("Le inlocuim si pe acestea ?"),
                                     KindConfirmation, ButtonsDaNu)
                          == ResultDa;
        m_write(report.replaced ? QStringLiteral("Inlocuire.") : QStringLiteral("Acestea NU vor fi inlocuite."));
        for (const QString& key : std::as_const(theirPositions)) {
            if (!ourPositions.contains(key))
                continue;
            if (report.replaced) {
                for (qint64 codid : ourPositions.value(key))
                    m_removed.insert(codid);
            } else {
                for (qint64 codid : theirAt.value(key))
                    m_dropped.insert(codid);
            }
        }
    }

    // Plots of the households left out.
    const engine::ResultSet& plots = m_rows[QStringLiteral("Tarlale")];
    const int codid = plots.fieldIndex(QStringLiteral("CODID"));
    const int codt = plots.fieldIndex(QStringLiteral("CODT"));
    if (codid < 0 || codt < 0)
        return;
    for (const auto& row : plots.rows) {
        if (inYear(plots, row) && !dbf::isNull(row[size_t(codid)]) && m_dropped.contains(dbf::toWhole(row[size_t(codid)]))
            && !dbf::isNull(row[size_t(codt)]))
            m_droppedPlots.insert(dbf::toWhole(row[size_t(codt)]));
    }
}

// Our households that are replaced, and their plots, as scratch tables the statements read.
void MergeSteps::writeReplacedLists()
{
    {
        dbf::DbfBulkWriter writer(m_laFel, {{QStringLiteral("CODID"), 'N', 10, 0}});
        QList<qint64> sorted(m_removed.begin(), m_removed.end());
        std::sort(sorted.begin(), sorted.end());
        for (qint64 codid : sorted)
            writer.append({dbf::Value(std::int64_t(codid))});
        writer.finish();
    }
    const engine::ResultSet plots = m_engine.select(
        QStringLiteral("SELECT DISTINCT CODT FROM ") + engine::quotedPath(target(QStringLiteral("Tarlale")))
            + QStringLiteral(" WHERE ANUL=:Y AND CODT IS NOT NULL AND CODID IN (SELECT CODID FROM ") + engine::quotedPath(m_laFel)
            + QStringLiteral(") ORDER BY CODT"),
        m_yearParameter);
    dbf::DbfBulkWriter writer(m_laFelT, {{QStringLiteral("CODT"), 'N', 10, 0}});
    for (const auto& row : plots.rows)
        writer.append({row[0]});
    writer.finish();
}

// One pass over each of our tables: the rows replaced, the largest identifiers, the layout.
void MergeSteps::measureTables()
{
    m_engine.addTableRoot(m_scratch->path());
    m_scratchAttached = true;
    try {
        writeReplacedLists();
        for (const QString& name : RegisterMerge::tableNames()) {
            m_layouts[name] = dbf::DbfBulkWriter::layoutOf(target(name));
            const QString gone = replacedRows(name);
            QStringList select {QStringLiteral("SUM(CASE WHEN ") + gone + QStringLiteral(" THEN 1 ELSE 0 END) AS R")};
            QStringList kinds;
            for (const dbf::FieldSpec& declared : std::as_const(m_layouts[name])) {
                const QString column = declared.name.toUpper();
                if (!isIdentifierColumn(column))
                    continue;
                kinds << column;
                select << QStringLiteral("MAX(%1) AS M%1").arg(column)
                       << QStringLiteral("MAX(CASE WHEN ") + gone + QStringLiteral(" THEN NULL ELSE %1 END) AS K%1").arg(column);
            }
            const engine::ResultSet r = m_engine.select(QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                                                            + engine::quotedPath(target(name)),
                                                        m_yearParameter);
            const auto& row = r.rows.front();
            m_removedRows[name] = dbf::toWhole(row[0]);
            for (int k = 0; k < kinds.size(); ++k) {
                m_largest[kinds[k]] = std::max<qint64>(m_largest.value(kinds[k]), dbf::toWhole(row[size_t(1 + 2 * k)]));
                m_largestKept[kinds[k]] = std::max<qint64>(m_largestKept.value(kinds[k]), dbf::toWhole(row[size_t(2 + 2 * k)]));
            }
        }
    } catch (const Error& e) {
        throw MergeError(refusal(e.message()));
    }
}

// The shift: above the counter and above every identifier of this register.
void MergeSteps::chooseOffsets(MergeReport& report)
{
    for (const char* k : Kinds) {
        const QString kind = QString::fromLatin1(k);
        qint64 counter = 0;
        if (!parseInteger(m_settings.CodExistent(kind), counter))
            throw MergeError(refusal(QStringLiteral("Contorul %1 din Velmor.ini nu este un numar.").arg(kind)));
        m_offset[kind] = std::max(counter, m_largest.value(kind) + 1);
        report.counters.append({kind, counter, counter});
    }
}

// The rows to append, shifted, in this register's layouts, written aside; then each counter ends
// above every identifier of its kind that stays or comes.
void MergeSteps::stageTables(MergeReport& report)
{
    for (const QString& name : RegisterMerge::tableNames())
        stageTable(name, report);
    for (MergeReport::Counter& counter : report.counters)
        counter.after = std::max(counter.before, std::max(m_largestKept.value(counter.kind), m_largestAppended.value(counter.kind)) + 1);
}

void MergeSteps::stageTable(const QString& name, MergeReport& report)
{
    const engine::ResultSet& set = m_rows[name];
    const QList<dbf::FieldSpec>& layout = m_layouts[name];
    std::vector<const std::vector<dbf::Value>*> chosen;
    const int codid = set.fieldIndex(QStringLiteral("CODID"));
    const int codt = set.fieldIndex(QStringLiteral("CODT"));
    for (const auto& row : set.rows) {
        if (!inYear(set, row))
            continue;
        if (name == QLatin1String("PozeTarla")) {
            if (codt >= 0 && !dbf::isNull(row[size_t(codt)]) && m_droppedPlots.contains(dbf::toWhole(row[size_t(codt)])))
                continue;
        } else if (codid >= 0 && !dbf::isNull(row[size_t(codid)]) && m_dropped.contains(dbf::toWhole(row[size_t(codid)]))) {
            continue;
        }
        chosen.push_back(&row);
    }
    if (name == QLatin1String("Identificare")) {
        const int order[4] = {set.fieldIndex(QStringLiteral("LOCALIT")), set.fieldIndex(QStringLiteral("TIPRA")),
                              set.fieldIndex(QStringLiteral("VOLUM")), set.fieldIndex(QStringLiteral("POZ"))};
        std::stable_sort(chosen.begin(), chosen.end(), [&](const auto* a, const auto* b) {
            for (int c : order) {
                if (c < 0)
                    continue;
                const int cmp = compareValues((*a)[size_t(c)], (*b)[size_t(c)]);
                if (cmp != 0)
                    return cmp < 0;
            }
            return false;
        });
    }
    std::vector<int> from; // source column of each target column, -1 when the source lacks it
    for (const dbf::FieldSpec& declared : layout)
        from.push_back(set.fieldIndex(declared.name));
    const QString path = m_outDir + QLatin1Char('/') + name + QStringLiteral(".dbf");
    try {
        dbf::DbfBulkWriter writer(path, layout);
        for (const auto* row : chosen)
            writer.append(shifted(name, *row, from));
        writer.finish();
    } catch (const dbf::DbfError& e) {
        throw MergeError(refusal(QStringLiteral("Tabelul %1 al sursei nu se potriveste: %2").arg(name, e.message())));
    }
    m_staged[name] = path;
    report.tables.append({name, m_removedRows.value(name), qint64(chosen.size())});
}

// A source row in this register's layout of the table, its identifiers shifted; refused when a
// value would not fit.
std::vector<dbf::Value> MergeSteps::shifted(const QString& name, const std::vector<dbf::Value>& row, const std::vector<int>& from)
{
    const QList<dbf::FieldSpec>& layout = m_layouts[name];
    std::vector<dbf::Value> values(size_t(layout.size()));
    for (int c = 0; c < layout.size(); ++c) {
        const dbf::FieldSpec& declared = layout[c];
        dbf::Value v = from[size_t(c)] < 0 ? dbf::Value() : row[size_t(from[size_t(c)])];
        const QString column = declared.name.toUpper();
        if (isIdentifierColumn(column) && !dbf::isNull(v)) {
            const qint64 old = dbf::toWhole(v);
            const qint64 shift = m_offset.value(column);
            if (old < 0)
                throw MergeError(refusal(QStringLiteral("Sursa are in tabelul %1 codul %2 negativ (%3).").arg(name, column).arg(old)));
            if (old > LargestIdentifier - shift)
                throw MergeError(refusal(QStringLiteral("Codurile %1 mutate ar depasi 10 cifre (%2 + %3).").arg(column).arg(old).arg(shift)));
            v = std::int64_t(old + shift);
            m_largestAppended[column] = std::max(m_largestAppended.value(column), old + shift);
        }
        if (declared.type == 'C') {
            const QString text = dbf::toText(v);
            if (text.size() > declared.width) {
                throw MergeError(refusal(QStringLiteral("Tabelul %1, coloana %2: textul \"%3\" are %4 caractere, coloana are %5.")
                                             .arg(name, declared.name, text)
                                             .arg(text.size())
                                             .arg(declared.width)));
            }
        }
        values[size_t(c)] = v;
    }
    return values;
}

QStringList MergeSteps::sourceVillages() const
{
    try {
        return readLineList(dbf::resolveFileName(m_sourceDir + QStringLiteral("/Sate.lst")), QStringLiteral("lista localitatilor"));
    } catch (const Error&) {
        return QStringList();
    }
}

void MergeSteps::removeReplaced(const MergeReport& report, int& step)
{
    if (m_removed.isEmpty())
        return;
    m_ui.setProgressLabel(QStringLiteral("Sterg pozitiile dublate..."));
    for (const MergeReport::Table& table : report.tables) {
        if (table.name.startsWith(QLatin1String("CAP")))
            m_ui.setProgressLabel(QStringLiteral("Sterg din CAP.%1...").arg(table.name.mid(3)));
        if (table.removed == 0) {
            m_ui.setProgressPosition(++step);
            continue;
        }
        const int gone = m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(target(table.name))
                                              + QStringLiteral(" WHERE ") + replacedRows(table.name),
                                          m_yearParameter);
        if (gone != table.removed)
            throw Error(QStringLiteral("Tabelul %1: %2 randuri de sters, %3 sterse.").arg(table.name).arg(table.removed).arg(gone));
        m_ui.setProgressPosition(++step);
        m_ui.processEvents();
    }
}

void MergeSteps::appendStaged(const MergeReport& report, int& step)
{
    m_ui.setProgressLabel(QStringLiteral("Lipire Sursa..."));
    for (const MergeReport::Table& table : report.tables) {
        if (table.appended > 0) {
            QStringList columns;
            for (const dbf::FieldSpec& declared : dbf::DbfBulkWriter::layoutOf(m_staged[table.name]))
                columns << declared.name;
            const QString list = columns.join(QLatin1Char(','));
            const int added = m_engine.execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(target(table.name)) + QStringLiteral(" (")
                                               + list + QStringLiteral(") SELECT ") + list + QStringLiteral(" FROM ")
                                               + engine::quotedPath(m_staged[table.name]));
            if (added != table.appended)
                throw Error(QStringLiteral("Tabelul %1: %2 randuri de adaugat, %3 adaugate.").arg(table.name).arg(table.appended).arg(added));
        }
        m_ui.setProgressPosition(++step);
        m_ui.processEvents();
    }
}

// The changes: replaced rows out, staged rows in, the counters, the village list.
void MergeSteps::apply(MergeReport& report, const QStringList& villages, const QStringList& sourceVillages)
{
    ProgressShown progress(m_ui, QStringLiteral("Lipire Sursa..."));
    m_ui.setProgressMaximum(int(report.tables.size()) * 2 + 2);
    int step = 0;
    removeReplaced(report, step);
    step = int(report.tables.size());
    appendStaged(report, step);

    for (const MergeReport::Counter& counter : std::as_const(report.counters)) {
        if (counter.after != counter.before)
            m_settings.Scrie_Ini(QStringLiteral("INDEX"), counter.kind, QString::number(counter.after));
    }
    m_ui.setProgressPosition(++step);

    const engine::ResultSet present = m_engine.select(QStringLiteral("SELECT DISTINCT LOCALIT FROM ")
                                                      + engine::quotedPath(target(QStringLiteral("Identificare"))));
    QStringList held;
    for (const auto& row : present.rows)
        held << dbf::toText(row[0]);
    report.villages = mergedVillageList(villages, held, sourceVillages);
    writeLineList(dbf::resolveFileName(m_dataDir + QStringLiteral("/Sate.lst")), report.villages, QStringLiteral("lista localitatilor"));
    m_ui.setProgressPosition(++step);
}

void MergeSteps::forgetScratch()
{
    if (!m_scratchAttached)
        return;
    m_scratchAttached = false;
    for (const QString& path : std::as_const(m_staged))
        m_engine.forget(path);
    m_engine.forget(m_laFel);
    m_engine.forget(m_laFelT);
}

}

QStringList mergedVillageList(const QStringList& villages, const QStringList& held, const QStringList& sourceVillages)
{
    QStringList list = villages;
    QSet<QString> known;
    for (const QString& v : std::as_const(list))
        known.insert(v.trimmed());
    QSet<QString> lacking;
    for (const QString& village : held) {
        const QString v = village.trimmed();
        if (!v.isEmpty() && !known.contains(v))
            lacking.insert(v);
    }
    for (const QString& v : sourceVillages) {
        if (lacking.remove(v.trimmed()))
            list << v.trimmed();
    }
    QStringList rest(lacking.begin(), lacking.end());
    std::sort(rest.begin(), rest.end());
    list << rest;
    return list;
}

MergeReport RegisterMerge::run(const QString& archivePath, const QString& yearText, const QStringList& villages)
{
    MergeReport report;
    const std::function<void(const QString&)> writeLog = [this](const QString& line) { write(line); };
    writeLog(QStringLiteral("SURSA : ") + nativePath(archivePath));
    MergeSteps steps(m_engine, m_dataDir, m_settings, m_ui, writeLog);
    steps.checkRequest(yearText);
    steps.readSource(archivePath, m_scratchParent);
    if (m_ui.Mesaj(QStringLiteral("Lipire"), QStringLiteral("Adaugam datele ?"), KindConfirmation, ButtonsDaNu) != ResultDa) {
        report.cancelled = true;
        return report;
    }
    steps.findCommonPositions(report);
    steps.measureTables();
    steps.chooseOffsets(report);
    steps.stageTables(report);
    const QStringList sourceVillages = steps.sourceVillages();

    // The safety archive and the marker.
    const QString parent = QFileInfo(QDir::cleanPath(m_dataDir)).absolutePath();
    report.safetyArchive = parent + QStringLiteral("/Lipire-%1.kt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    OperationGuard guard(m_dataDir, QString::fromLatin1(OperationMarker::Merge), &m_engine);
    QStringList touched = OperationGuard::registerFiles();
    touched << QStringLiteral("Sate.lst");
    try {
        guard.preflight(touched);
        guard.saveArchive(report.safetyArchive, &m_ui, true);
    } catch (const Error& e) {
        throw MergeError(refusal(e.message()));
    }
    guard.marker().values.insert(QStringLiteral("year"), QString::number(steps.year));
    guard.begin();

    try {
        steps.apply(report, villages, sourceVillages);
    } catch (const std::exception& failure) {
        const QString reason = errorMessage(failure);
        steps.forgetScratch();
        try {
            OperationGuard::undoFromArchive(m_dataDir, guard.marker(), m_ui, &m_engine);
            guard.abandon();
        } catch (const Error& undo) {
            throw MergeError(QStringLiteral("Lipirea a esuat: %1" "\r" "Datele nu au putut fi readuse: %2" "\r"
                                            "Salvarea de siguranta este %3.")
                                 .arg(reason, undo.message(), nativePath(report.safetyArchive)));
        }
        throw MergeError(QStringLiteral("Lipirea a esuat: %1" "\r"
                                        "Datele au fost readuse din salvarea de siguranta %2; nu s-a schimbat nimic.")
                             .arg(reason, nativePath(report.safetyArchive)));
    }
    steps.forgetScratch();
    guard.finish();
    write(QStringLiteral("Operatie incheiata cu succes!"));
    return report;
}

}
