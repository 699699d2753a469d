#include "reports/StatisticsFile.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "core/StagedFile.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "domain/AreaMetres.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace velmor::reports {

namespace {

const QChar Separator(0x00BB);

// Text as stored: trailing blanks dropped, leading ones kept.
QString storedText(const dbf::Value& value)
{
    QString text = dbf::storedText(value);
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

QString shortest(double value)
{
    return dbf::decimalText(value, 4);
}

QString pairText(qint64 squareMetres)
{
    const area::HaAri pair = area::split(squareMetres);
    return QString::number(pair.ha) + Separator + shortest(pair.ari);
}

// A register type of 1-4, or 0 for a blank or unknown one.
int knownType(const dbf::Value& value)
{
    if (dbf::isNull(value))
        return 0;
    const double type = dbf::numberOnly(value);
    if (type != std::floor(type) || type < 1 || type > 4)
        return 0;
    return int(type);
}

struct Household {
    QString village;
    int type = 0;
};

// Village and type, the first two fields of every line.
struct Group {
    QString village;
    int type = 0;
    bool operator<(const Group& other) const
    {
        const int c = village.compare(other.village);
        return c != 0 ? c < 0 : type < other.type;
    }
    QString prefix(const QString& separator) const
    {
        return village + separator + QString::number(type) + separator;
    }
};

// A chapter row of a group; a household without rows gives the key without row and category.
struct RowKey {
    Group group;
    std::optional<double> rand;
    QString categ;
    bool operator<(const RowKey& other) const
    {
        if (group < other.group)
            return true;
        if (other.group < group)
            return false;
        if (rand != other.rand)
            return !rand || (other.rand && *rand < *other.rand);
        return categ.compare(other.categ) < 0;
    }
};

struct Sums {
    std::array<qint64, 4> values{};
};

struct ChapterLayout {
    const char* section;
    const char* file;
    const char* format;
    std::vector<const char*> columns; // pairs (ha, ari) for areas, single columns for counts
    bool areas;
    bool skipBlankCategory;
};

class Builder {
public:
    Builder(engine::Engine& engine, const QString& dataDirectory, std::int64_t year, IniDocument& document)
        : m_engine(engine)
        , m_dataDirectory(dataDirectory)
        , m_year(year)
        , m_document(document)
    {
    }

    QString dataTable(const char* name) const
    {
        return engine::quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
    }

    // The year's households of a known register type.
    void loadHouseholds()
    {
        engine::Parameters parameters;
        parameters.bind(QStringLiteral("ANUL"), m_year);
        const engine::ResultSet rows = m_engine.select(QStringLiteral("SELECT CODID, LOCALIT, TIPRA, VOLUM FROM ")
                                                           + dataTable("Identificare.dbf")
                                                           + QStringLiteral(" WHERE ANUL=:ANUL"),
                                                       parameters);
        const auto [codid, village, registerType, volume] = rows.columns({"CODID", "LOCALIT", "TIPRA", "VOLUM"});
        for (const auto& row : rows.rows) {
            const int type = knownType(row[registerType]);
            if (type == 0 || dbf::isNull(row[codid]))
                continue;
            const std::int64_t code = dbf::toRoundedWhole(row[codid]);
            const Group group{storedText(row[village]), type};
            m_households[code] = Household{group.village, type};
            CapOne& one = m_capOne[group];
            one.codes.insert(code);
            if (!dbf::isNull(row[volume]))
                one.volumes.insert(dbf::numberOnly(row[volume]));
        }
    }

    bool empty() const { return m_capOne.empty(); }

    // Rows of a chapter table that belong to the year's households of a known type.
    std::vector<std::pair<const Household*, std::vector<dbf::Value>>> chapterRows(const char* file,
                                                                                  const QStringList& columns)
    {
        engine::Parameters parameters;
        parameters.bind(QStringLiteral("ANUL"), m_year);
        const engine::ResultSet rows = m_engine.select(
            QStringLiteral("SELECT CODID, ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                + dataTable(file) + QStringLiteral(" WHERE ANUL=:ANUL"),
            parameters);
        std::vector<std::pair<const Household*, std::vector<dbf::Value>>> result;
        result.reserve(rows.rows.size());
        m_withRows.clear();
        for (const auto& row : rows.rows) {
            if (dbf::isNull(row[0]))
                continue;
            const std::int64_t code = dbf::toRoundedWhole(row[0]);
            const auto it = m_households.find(code);
            if (it == m_households.end())
                continue;
            m_withRows.insert(code);
            result.emplace_back(&it->second, std::vector<dbf::Value>(row.begin() + 1, row.end()));
        }
        return result;
    }

    void writeSection(const char* section, const char* format, const QStringList& lines,
                      std::vector<std::pair<QString, QString>> entries = {})
    {
        entries.reserve(entries.size() + size_t(lines.size()) + 2);
        entries.emplace_back(QStringLiteral("FORMAT_LINIE"), QString::fromUtf8(format));
        for (qsizetype i = 0; i < lines.size(); ++i)
            entries.emplace_back(QStringLiteral("L%1").arg(i + 1), lines[i]);
        entries.emplace_back(QStringLiteral("LINII"), QString::number(lines.size()));
        m_document.appendSection(QLatin1String(section), entries);
    }

    void writeCapOne(const QString& locality, const QString& fiscalCode)
    {
        QStringList lines;
        const QString separator = QString(Separator) + QLatin1Char(' ');
        for (const auto& [group, one] : m_capOne) {
            qint64 members = 0;
            for (const std::int64_t code : one.codes) {
                const auto it = m_members.find(code);
                members += it == m_members.end() ? 0 : it->second;
            }
            lines << group.prefix(separator) + QString::number(one.codes.size()) + separator
                    + QString::number(one.volumes.size()) + separator + QString::number(members);
        }
        writeSection("CAP1", "LOCALIT»TIPRA»POZITII»VOLUME»LOCUITOR", lines,
                     {{QStringLiteral("LOCALITATE"), locality}, {QStringLiteral("SIRUES"), fiscalCode}});
    }

    // Members per household: the member rows with a member code.
    void countMembers()
    {
        engine::Parameters parameters;
        parameters.bind(QStringLiteral("ANUL"), m_year);
        const engine::ResultSet rows = m_engine.select(
            QStringLiteral("SELECT CODID, COD1 FROM ") + dataTable("CAP1.dbf") + QStringLiteral(" WHERE ANUL=:ANUL"),
            parameters);
        for (const auto& row : rows.rows) {
            if (!dbf::isNull(row[0]) && !dbf::isNull(row[1]))
                ++m_members[dbf::toRoundedWhole(row[0])];
        }
    }

    void writeChapter(const ChapterLayout& layout)
    {
        QStringList columns{QStringLiteral("RAND"), QStringLiteral("CATEG")};
        for (const char* column : layout.columns)
            columns << QLatin1String(column);
        std::map<RowKey, Sums> groups;
        const auto rows = chapterRows(layout.file, columns);
        for (const auto& [household, values] : rows) {
            RowKey key{Group{household->village, household->type},
                       dbf::isNull(values[0]) ? std::nullopt : std::optional<double>(dbf::numberOnly(values[0])),
                       storedText(values[1])};
            Sums& sums = groups[key];
            if (layout.areas) {
                for (size_t p = 0; p + 1 < layout.columns.size(); p += 2)
                    sums.values[p / 2] += area::metres(dbf::numberOnly(values[2 + p]), dbf::numberOnly(values[3 + p]));
            } else {
                for (size_t c = 0; c < layout.columns.size(); ++c)
                    sums.values[c] += dbf::toRoundedWhole(values[2 + c]);
            }
        }
        // A household without rows in the chapter still gives its group a line of its own.
        for (const auto& [code, household] : m_households) {
            if (!m_withRows.count(code))
                groups.try_emplace(RowKey{Group{household.village, household.type}, std::nullopt, QString()});
        }

        const bool spaced = QLatin1String(layout.section) == QLatin1String("CAP2");
        const QString separator = spaced ? QString(Separator) + QLatin1Char(' ') : QString(Separator);
        QStringList lines;
        for (const auto& [key, sums] : groups) {
            if (layout.skipBlankCategory && key.categ.trimmed().isEmpty())
                continue;
            QString line = key.group.prefix(separator) + key.categ + separator
                + (key.rand ? shortest(*key.rand) : QString()) + separator;
            QStringList values;
            if (layout.areas) {
                for (size_t p = 0; p + 1 < layout.columns.size(); p += 2)
                    values << pairText(sums.values[p / 2]);
            } else {
                for (size_t c = 0; c < layout.columns.size(); ++c)
                    values << QString::number(sums.values[c]);
            }
            lines << line + values.join(Separator);
        }
        writeSection(layout.section, layout.format, lines);
    }

    void writeBuildings()
    {
        struct Tally {
            std::array<qint64, 20> count{};
            std::array<qint64, 20> hundredths{};
        };
        std::map<Group, Tally> groups;
        for (const auto& [code, household] : m_households)
            groups.try_emplace(Group{household.village, household.type});
        for (const auto& [household, values] : chapterRows("CAP10.dbf", {QStringLiteral("RAND"), QStringLiteral("DETALII")})) {
            const double rand = dbf::numberOnly(values[0]);
            const double detail = dbf::numberOnly(values[1]);
            if (dbf::isNull(values[0]) || rand != std::floor(rand) || rand < 1 || rand > 19 || !(detail > 0))
                continue;
            int row = int(rand);
            if (row == 4 || row == 7 || row == 10)
                row = 1;
            Tally& tally = groups[Group{household->village, household->type}];
            ++tally.count[size_t(row)];
            tally.hundredths[size_t(row)] += std::llround(detail * 100);
        }
        QStringList lines;
        const QString separator(Separator);
        for (const auto& [group, tally] : groups) {
            const QString prefix = group.prefix(separator);
            lines << prefix + QStringLiteral("1") + separator + shortest(double(tally.hundredths[1]) / 100);
            lines << prefix + QStringLiteral("2") + separator + QString::number(tally.count[1]);
            for (int r = 13; r <= 19; ++r)
                lines << prefix + QString::number(r) + separator + QString::number(tally.count[size_t(r)]);
        }
        writeSection("CAP10", "LOCALIT»TIPRA»RAND»DETALII", lines);
    }

    void writePlots()
    {
        using Key = std::tuple<Group, QString, QString, QString, QString, QString>; // NRTARLA, INTRA, TARLA, CATEG, NRCAD
        const auto less = [](const Key& a, const Key& b) {
            if (std::get<0>(a) < std::get<0>(b))
                return true;
            if (std::get<0>(b) < std::get<0>(a))
                return false;
            const auto rest = [](const Key& k) {
                return std::tie(std::get<1>(k), std::get<2>(k), std::get<3>(k), std::get<4>(k), std::get<5>(k));
            };
            return rest(a) < rest(b);
        };
        std::map<Key, qint64, decltype(less)> groups(less);
        const auto rows = chapterRows("Tarlale.dbf", {QStringLiteral("NRTARLA"), QStringLiteral("INTRA"), QStringLiteral("TARLA"),
                                                      QStringLiteral("CATEG"), QStringLiteral("NRCAD"), QStringLiteral("SUPRAF")});
        for (const auto& [household, values] : rows) {
            const Key key{Group{household->village, household->type}, storedText(values[0]), storedText(values[1]),
                          storedText(values[2]), storedText(values[3]), storedText(values[4])};
            groups[key] += area::metres(dbf::numberOnly(values[5]), 0);
        }
        QStringList lines;
        const QString separator(Separator);
        for (const auto& [key, metres] : groups) {
            if (metres <= 0)
                continue;
            const QString area = shortest(double(metres) / 10000);
            const bool inside = std::get<2>(key) == QLatin1String("INTRAVILAN");
            lines << std::get<0>(key).prefix(separator)
                    + (inside ? area + separator + QStringLiteral("0") : QStringLiteral("0") + separator + area) + separator
                    + std::get<3>(key) + separator + std::get<1>(key) + separator + std::get<4>(key) + separator
                    + std::get<5>(key);
        }
        writeSection("TARLALE", "LOCALIT»TIPRA»INTRA»EXTRA»TARLA»NRTARLA»CATEG»NRCAD", lines);
    }

private:
    struct CapOne {
        std::set<std::int64_t> codes;
        std::set<double> volumes;
    };

    engine::Engine& m_engine;
    QString m_dataDirectory;
    std::int64_t m_year;
    IniDocument& m_document;
    std::unordered_map<std::int64_t, Household> m_households;
    std::map<Group, CapOne> m_capOne;
    std::unordered_map<std::int64_t, qint64> m_members;
    std::set<std::int64_t> m_withRows;
};

}

StatisticsFile::StatisticsFile(engine::Engine& engine, QString dataDirectory, QString programDirectory)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_programDirectory(std::move(programDirectory))
{
}

QString StatisticsFile::fileName(const QString& commune, const QDate& day)
{
    QString name = commune.trimmed();
    for (QChar& c : name) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    return name + QLatin1Char('_') + day.toString(QStringLiteral("dd_MM_yyyy")) + QStringLiteral(".txt");
}

IniDocument StatisticsFile::build(const CouncilConstants& constants, std::int64_t year, Interaction* ui) const
{
    IniDocument document;

    std::optional<ProgressShown> progress;
    if (ui) {
        ui->setProgressMaximum(100);
        progress.emplace(*ui, QStringLiteral("Creez raportul ..."));
    }
    const auto step = [ui](int position) {
        if (ui) {
            ui->setProgressPosition(position);
            ui->processEvents();
        }
    };

    Builder builder(m_engine, m_dataDirectory, year, document);
    builder.loadHouseholds();
    if (builder.empty())
        throw Error(noRecordsMessage(QString::number(year)));
    builder.countMembers();
    builder.writeCapOne(constants.TIPLOC + QLatin1Char(' ') + constants.Comuna, constants.CodFiscal);
    step(8);

    const ChapterLayout chapters[] = {
        {"CAP2", "CAP2.dbf", "LOCALIT»TIPRA»CATEG»RAND»AHA»AARI»BHA»BARI»CHA»CARI»IHA»IARI",
         {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI", "IHA", "IARI"}, true, false},
        {"CAP3", "CAP3.dbf", "LOCALIT»TIPRA»CATEG»RAND»HA»ARI", {"HA", "ARI"}, true, true},
        {"CAP4", "CAP4.dbf", "LOCALIT»TIPRA»CATEG»RAND»HA»ARI", {"HA", "ARI"}, true, true},
        {"CAP5", "CAP5.dbf", "LOCALIT»TIPRA»CATEG»RAND»NR", {"NR"}, false, true},
        {"CAP7", "CAP7.dbf", "LOCALIT»TIPRA»CATEG»RAND»NR", {"NR"}, false, true},
        {"CAP9", "CAP9.dbf", "LOCALIT»TIPRA»CATEG»RAND»NR", {"NR"}, false, true},
        {"CAP6", "CAP6.dbf", "LOCALIT»TIPRA»CATEG»RAND»AHA»AARI»BHA»BARI»CHA»CARI",
         {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI"}, true, true},
        {"CAP8", "CAP8.dbf", "LOCALIT»TIPRA»CATEG»RAND»SEM_1»SEM_2", {"SEM_1", "SEM_2"}, false, true},
    };
    const int positions[] = {16, 24, 32, 40, 48, 56, 64, 80};
    for (size_t i = 0; i < std::size(chapters); ++i) {
        builder.writeChapter(chapters[i]);
        step(positions[i]);
    }
    builder.writeBuildings();
    step(90);
    builder.writePlots();
    step(100);
    return document;
}

StatisticsFile::Outcome StatisticsFile::run(const CouncilConstants& constants, const QString& year, const QDate& day,
                                            Interaction& ui)
{
    m_delivered.clear();
    const auto refuse = [&](const QString& text) {
        ui.Mesaj(title(), text, KindError, ButtonsOk);
        return Outcome::Refused;
    };
    if (constants.Comuna.trimmed().isEmpty())
        return refuse(noCommuneMessage());
    bool yearOk = false;
    const std::int64_t yearNumber = year.trimmed().toLongLong(&yearOk);
    if (year.trimmed().isEmpty() || !yearOk) {
        ui.ArataProblema(noYearMessage(), QStringLiteral("Anul"));
        return Outcome::Refused;
    }
    const QString name = fileName(constants.Comuna, day);
    const QString working = QDir(m_programDirectory).filePath(name);
    if (QFileInfo::exists(working)) {
        QFile probe(working);
        if (!probe.open(QIODevice::ReadWrite) || !QFileInfo(QFileInfo(working).absolutePath()).isWritable()) {
            return refuse(QStringLiteral("Fisierul ") + QDir::toNativeSeparators(working) + QStringLiteral(" este in utilizare!\r\n")
                          + QStringLiteral("Inchideti programele deschise si mai incercati odata!"));
        }
    }
    if (constants.CodFiscal.trimmed().isEmpty())
        return refuse(noFiscalCodeMessage());

    QByteArray bytes;
    try {
        bytes = build(constants, yearNumber, &ui).toBytes();
    } catch (const Error& e) {
        return refuse(e.message());
    }

    // The file is written beside its target and renamed over it; nothing is written before the
    // folder is chosen, so an earlier report in the program home is never lost to a cancelled run.
    const QString folder = ui.chooseFolder(folderQuestion(), m_programDirectory);
    if (folder.isEmpty())
        return Outcome::Cancelled;
    const QString target = QDir(folder).filePath(name);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists()) {
        const int answer = ui.Mesaj(deliveryTitle(),
                                    QStringLiteral("Exista deja fiserul ") + QDir::toNativeSeparators(target)
                                        + QStringLiteral(".\r\nIl inlocuim?"),
                                    KindConfirmation, ButtonsDaNu);
        if (answer != ResultDa)
            return Outcome::Kept;
    }
    try {
        StagedFile::replace(target, bytes);
    } catch (const Error& e) {
        ui.Mesaj(deliveryTitle(), e.message(), KindError, ButtonsOk);
        return Outcome::Failed;
    }
    m_delivered = QFileInfo(target).absoluteFilePath();
    ui.Mesaj(deliveryTitle(), successMessage(), KindInformation, ButtonsOk);
    return Outcome::Delivered;
}

}
