#include "data/SchemaUpgrade.h"
#include "data/SchemaUpgradeShared.h"

#include "core/ChangeCounter.h"
#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "core/StagedFile.h"
#include "data/Schema.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/SqlText.h"
#include "data/engine/TableHandle.h"
#include "domain/CnpRules.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace velmor::data {

using namespace upgrade;

// ---- leftovers of an interrupted run ----

std::optional<QString> SchemaUpgrade::recoverNotes()
{
    const QList<dbf::Field> fields = fieldsOf(Cap1);
    if (!findField(fields, QStringLiteral("MENTEMP")))
        return std::nullopt;
    const dbf::Field* notes = findField(fields, QStringLiteral("MENTIUNI"));
    if (notes && notes->type == 'M')
        return convertNotes(true);
    // MENTIUNI as CHAR(240), its blank values filled from MENTEMP, without MENTEMP.
    QList<dbf::FieldSpec> specs = specsOf(fields);
    const int helper = indexIn(specs, QStringLiteral("MENTEMP"));
    int target = indexIn(specs, QStringLiteral("MENTIUNI"));
    if (target < 0)
        specs[helper] = charSpec(QStringLiteral("MENTIUNI"), NotesWidth);
    else {
        specs[target] = charSpec(QStringLiteral("MENTIUNI"), std::max(NotesWidth, notes->type == 'C' ? notes->width : 0));
        specs.removeAt(helper);
    }
    target = indexIn(specs, QStringLiteral("MENTIUNI"));
    const bool hadNotes = notes != nullptr;
    rewrite(Cap1, specs, [target, hadNotes](const dbf::OldRecord& old, std::vector<dbf::Value>& values) {
        const dbf::Value current = hadNotes ? old.value(QStringLiteral("MENTIUNI")) : dbf::Value();
        values[size_t(target)] = blank(current) ? old.value(QStringLiteral("MENTEMP")) : current;
    });
    return QStringLiteral("CAP1: MENTIUNI din MENTEMP");
}

std::optional<QString> SchemaUpgrade::recoverNumbers()
{
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    if (!findField(fields, QStringLiteral("XXX")))
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    const int helper = indexIn(specs, QStringLiteral("XXX"));
    const dbf::Field* nr = findField(fields, QStringLiteral("NR"));
    const dbf::Field* nr2 = findField(fields, QStringLiteral("NR2"));
    QString target;
    enum { Recreate, FillBlanks, Replace, Nothing } how = Nothing;
    if (!nr || !nr2) {
        target = nr ? QStringLiteral("NR2") : QStringLiteral("NR");
        how = Recreate;
    } else if (nr2->type == 'C' && nr2->width == 32) {
        target = QStringLiteral("NR2");
        how = FillBlanks;
    } else if (nr->type == 'C' && nr->width == 32) {
        // NR takes XXX only when it was recreated and not filled yet.
        const dbf::DbfTable& t = m_engine.table(tablePath(Identificare)).table();
        const int cNr = t.fieldIndex(QStringLiteral("NR"));
        const int cXxx = t.fieldIndex(QStringLiteral("XXX"));
        bool empty = true;
        for (int r = 0; r < t.recordCount() && empty; ++r) {
            if (!t.text(r, cXxx).trimmed().isEmpty() && !t.text(r, cNr).trimmed().isEmpty())
                empty = false;
        }
        if (empty) {
            target = QStringLiteral("NR");
            how = Replace;
        }
    }
    if (how == Recreate)
        specs[helper] = charSpec(target, 32);
    else
        specs.removeAt(helper);
    const int to = target.isEmpty() ? -1 : indexIn(specs, target);
    rewrite(Identificare, specs, [how, to, target](const dbf::OldRecord& old, std::vector<dbf::Value>& values) {
        const dbf::Value saved = old.value(QStringLiteral("XXX"));
        if (how == Recreate || how == Replace)
            values[size_t(to)] = saved;
        else if (how == FillBlanks && blank(old.value(target)))
            values[size_t(to)] = saved;
    });
    return target.isEmpty() ? QStringLiteral("Identificare: fara XXX") : QStringLiteral("Identificare: %1 din XXX").arg(target);
}

std::optional<QString> SchemaUpgrade::recoverPosition()
{
    // POZ and VOLUM added by an interrupted run next to POZITIA.
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    if (!findField(fields, QStringLiteral("POZITIA"))
        || (!findField(fields, QStringLiteral("POZ")) && !findField(fields, QStringLiteral("VOLUM"))))
        return std::nullopt;
    return splitPositions();
}

// ---- the steps ----

std::optional<QString> SchemaUpgrade::dropVillageColumns()
{
    QStringList done;
    for (int n = 1; n <= 11; ++n) {
        const QString file = chapterFile(n);
        if (!exists(file))
            continue;
        try {
            const QList<dbf::Field> fields = fieldsOf(file);
            QList<dbf::FieldSpec> specs = specsOf(fields);
            QStringList dropped;
            for (const char* name : {"SATUL", "LOCALIT", "POZITIA"}) {
                const int i = indexIn(specs, QLatin1String(name));
                if (i >= 0) {
                    specs.removeAt(i);
                    dropped << QLatin1String(name);
                }
            }
            if (dropped.isEmpty())
                continue;
            rewrite(file, specs);
            done << QStringLiteral("CAP%1: fara %2").arg(n).arg(dropped.join(QLatin1Char(',')));
        } catch (const FirstChangeRefused&) {
            throw;
        } catch (const std::exception& e) {
            m_stepFailures << QStringLiteral("CAP%1: %2").arg(n).arg(errorMessage(e));
        }
    }
    m_table.clear();
    if (done.isEmpty())
        return std::nullopt;
    return done.join(QStringLiteral("; "));
}

void SchemaUpgrade::writeLongNotes(const QList<std::pair<QString, QString>>& notes)
{
    if (notes.isEmpty())
        return;
    const QString path = m_dataDir + QLatin1Char('/') + QLatin1String(LongNotesFile);
    QByteArray content;
    QSet<QByteArray> present;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw StepFailure {QStringLiteral("Nu pot citi %1.").arg(nativePath(path))};
        content = existing.readAll();
        existing.close();
        for (QByteArray line : content.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (!line.isEmpty())
                present.insert(line);
        }
        if (!content.isEmpty() && !content.endsWith('\n'))
            content += "\r\n";
    }
    bool added = false;
    for (const auto& [code, text] : notes) {
        QByteArray line;
        if (!dbf::cp1250::tryEncode(QString(code + QLatin1Char('\t') + text), line))
            line = dbf::cp1250::encode(QString(code + QLatin1Char('\t') + dbf::cp1250::storedForm(text)));
        if (present.contains(line))
            continue;
        present.insert(line);
        content += line + "\r\n";
        added = true;
    }
    if (!added)
        return;
    beforeChange();
    StagedFile::replace(path, content);
    ChangeCounter::count();
}

std::optional<QString> SchemaUpgrade::convertNotes(bool dropHelper)
{
    const QList<dbf::Field> fields = fieldsOf(Cap1);
    const dbf::Field* notes = findField(fields, QStringLiteral("MENTIUNI"));
    if (!notes || notes->type != 'M')
        return std::nullopt;
    // A note longer than the column goes whole into MentiuniLungi.txt before CAP1 is rewritten.
    const dbf::DbfTable& t = m_engine.table(tablePath(Cap1)).table();
    const int cNotes = t.fieldIndex(QStringLiteral("MENTIUNI"));
    const int cCode = t.fieldIndex(QStringLiteral("COD1"));
    QList<std::pair<QString, QString>> longNotes;
    for (int r = 0; r < t.recordCount(); ++r) {
        if (t.isDeleted(r))
            continue;
        const QString flat = flattenNote(t.text(r, cNotes));
        if (flat.size() > NotesWidth)
            longNotes.append({cCode >= 0 ? t.text(r, cCode).trimmed() : QString::number(r + 1), flat});
    }
    writeLongNotes(longNotes);
    for (const auto& note : longNotes)
        m_report.longNotes << note.first;

    QList<dbf::FieldSpec> specs = specsOf(fields);
    if (dropHelper) {
        const int helper = indexIn(specs, QStringLiteral("MENTEMP"));
        if (helper >= 0)
            specs.removeAt(helper);
    }
    const int target = indexIn(specs, QStringLiteral("MENTIUNI"));
    specs[target] = charSpec(QStringLiteral("MENTIUNI"), NotesWidth);
    rewrite(Cap1, specs, [target](const dbf::OldRecord& old, std::vector<dbf::Value>& values) {
        const QString flat = flattenNote(dbf::storedText(old.value(QStringLiteral("MENTIUNI"))));
        values[size_t(target)] = flat.isEmpty() ? dbf::Value() : dbf::Value(flat.left(NotesWidth).trimmed());
    });
    QString detail = QStringLiteral("CAP1: MENTIUNI CHAR(240)");
    if (!longNotes.isEmpty())
        detail += QStringLiteral("; %1 mentiuni lungi in %2").arg(longNotes.size()).arg(QLatin1String(LongNotesFile));
    return detail;
}

std::optional<QString> SchemaUpgrade::createPlotTables()
{
    QStringList created;
    Schema schema(m_engine, m_dataDir, m_ui);
    for (const QString& name : {QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf")}) {
        if (exists(name))
            continue;
        m_table = QFileInfo(name).completeBaseName();
        beforeChange();
        const QString path = QDir::toNativeSeparators(m_dataDir + QLatin1Char('/') + name);
        if (name.startsWith(QLatin1String("Tarlale")))
            schema.CreazaTarlale(path);
        else if (name.startsWith(QLatin1String("OmTarla")))
            schema.CreazaOmTarla(path);
        else
            schema.CreazaPozeTarla(path);
        m_report.changed = true;
        created << m_table;
    }
    m_table.clear();
    if (created.isEmpty())
        return std::nullopt;
    return created.join(QStringLiteral(", ")) + QStringLiteral(" create");
}

bool SchemaUpgrade::ChangeField(const QString& table, const QList<ColumnSize>& sizes)
{
    const QString file = table.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive) ? table : table + QStringLiteral(".dbf");
    const QList<dbf::Field> fields = fieldsOf(file);
    QList<dbf::FieldSpec> specs = specsOf(fields);
    bool differs = false;
    for (const ColumnSize& size : sizes) {
        const int i = indexIn(specs, size.column);
        if (i < 0)
            throw engine::SqlError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(QFileInfo(file).fileName(), size.column));
        dbf::FieldSpec& declared = specs[i];
        if (declared.type != 'N' && declared.type != 'F')
            throw engine::SqlError(QStringLiteral("Coloana %1 nu este numerica.").arg(size.column));
        // Never narrower than it is; 0 keeps the attribute.
        const int width = std::max(declared.width, size.width);
        const int decimals = size.decimals > 0 ? std::max(declared.decimals, size.decimals) : declared.decimals;
        if (width != declared.width || decimals != declared.decimals) {
            declared.width = width;
            declared.decimals = decimals;
            differs = true;
        }
    }
    if (!differs)
        return false;
    rewrite(file, specs);
    return true;
}

std::optional<QString> SchemaUpgrade::changeSizes(const QList<std::pair<QString, QList<ColumnSize>>>& tables)
{
    QStringList done;
    for (const auto& [file, sizes] : tables) {
        try {
            if (ChangeField(file, sizes)) {
                QStringList columns;
                for (const ColumnSize& s : sizes)
                    columns << s.column;
                done << QStringLiteral("%1: %2").arg(QFileInfo(file).completeBaseName(), columns.join(QLatin1Char(',')));
            }
        } catch (const FirstChangeRefused&) {
            throw;
        } catch (const StepFailure& f) {
            m_stepFailures << QStringLiteral("%1: %2").arg(QFileInfo(file).completeBaseName(), f.message);
        } catch (const std::exception& e) {
            m_stepFailures << QStringLiteral("%1: %2").arg(QFileInfo(file).completeBaseName(), errorMessage(e));
        }
    }
    if (done.isEmpty())
        return std::nullopt;
    return done.join(QStringLiteral("; "));
}

std::optional<QString> SchemaUpgrade::addBirthDates()
{
    const QList<dbf::Field> fields = fieldsOf(Cap1);
    if (findField(fields, QStringLiteral("DATAN")))
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    const dbf::FieldSpec date {QStringLiteral("DATAN"), 'D', 8, 0};
    const bool hasYear = findField(fields, QStringLiteral("ANN")) != nullptr;
    int at = indexIn(specs, QStringLiteral("ANN"));
    if (at >= 0) {
        specs[at] = date;
    } else {
        at = indexIn(specs, QStringLiteral("COD1"));
        if (at < 0)
            at = int(specs.size());
        specs.insert(at, date);
    }
    const bool hasCode = findField(fields, QStringLiteral("CNP")) != nullptr;
    rewrite(Cap1, specs, [at, hasYear, hasCode](const dbf::OldRecord& old, std::vector<dbf::Value>& values) {
        const QString code = hasCode ? dbf::storedText(old.value(QStringLiteral("CNP"))) : QString();
        const QDate born = birthDate(code, hasYear ? old.value(QStringLiteral("ANN")) : dbf::Value());
        values[size_t(at)] = born.isValid() ? dbf::Value(born) : dbf::Value();
    });
    return hasYear ? QStringLiteral("CAP1: DATAN in locul ANN") : QStringLiteral("CAP1: DATAN");
}

bool SchemaUpgrade::MutaSatul(const QString& tableFileName)
{
    const QList<dbf::Field> fields = fieldsOf(tableFileName);
    QList<dbf::FieldSpec> specs = specsOf(fields);
    if (findField(fields, QStringLiteral("SATUL"))) {
        const int at = indexIn(specs, QStringLiteral("SATUL"));
        const int old = indexIn(specs, QStringLiteral("LOCALIT"));
        specs[at] = charSpec(QStringLiteral("LOCALIT"), 40);
        if (old >= 0)
            specs.removeAt(old);
        const int to = indexIn(specs, QStringLiteral("LOCALIT"));
        rewrite(tableFileName, specs, [to](const dbf::OldRecord& record, std::vector<dbf::Value>& values) {
            values[size_t(to)] = record.value(QStringLiteral("SATUL"));
        });
        return true;
    }
    if (findField(fields, QStringLiteral("LOCALIT")))
        return false;
    const QString localit = m_env.localit;
    if (QFileInfo(tableFileName).fileName().compare(Identificare, Qt::CaseInsensitive) == 0 && !localit.trimmed().isEmpty()
        && m_env.addVillage) {
        beforeChange();
        m_env.addVillage(localit);
    }
    int at = indexIn(specs, QStringLiteral("ROL"));
    at = at < 0 ? int(specs.size()) : at + 1;
    specs.insert(at, charSpec(QStringLiteral("LOCALIT"), 40));
    const dbf::Value value = localit.trimmed().isEmpty() ? dbf::Value() : dbf::Value(localit);
    rewrite(tableFileName, specs, [at, value](const dbf::OldRecord&, std::vector<dbf::Value>& values) { values[size_t(at)] = value; });
    return true;
}

std::optional<QString> SchemaUpgrade::splitPositions()
{
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    const dbf::Field* packed = findField(fields, QStringLiteral("POZITIA"));
    if (!packed)
        return std::nullopt;
    const int decimals = packed->decimals;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    const int at = indexIn(specs, QStringLiteral("POZITIA"));
    specs.removeAt(at);
    int pos = indexIn(specs, QStringLiteral("POZ"));
    if (pos < 0) {
        specs.insert(at, {QStringLiteral("POZ"), 'N', 6, 0});
        pos = at;
    }
    int vol = indexIn(specs, QStringLiteral("VOLUM"));
    if (vol < 0) {
        specs.insert(pos + 1, {QStringLiteral("VOLUM"), 'N', 6, 0});
        vol = pos + 1;
    }
    pos = indexIn(specs, QStringLiteral("POZ"));
    const int households = m_engine.table(tablePath(Identificare)).table().recordCount();
    status(QStringLiteral("Actualizare baza de date la ver. 2.39"));
    progress(0, households);
    rewrite(Identificare, specs, [this, pos, vol, decimals, households](const dbf::OldRecord& old, std::vector<dbf::Value>& values) {
        const dbf::Value stored = old.value(QStringLiteral("POZITIA"));
        qint64 position = 0;
        qint64 volume = 0;
        if (!dbf::isNull(stored) && splitPosition(dbf::numberOnly(stored), decimals, position, volume)) {
            values[size_t(pos)] = std::int64_t(position);
            values[size_t(vol)] = std::int64_t(volume);
        } else {
            values[size_t(pos)] = dbf::Value();
            values[size_t(vol)] = dbf::Value();
        }
        if (old.row() % 256 == 0)
            progress(old.row(), households);
    });
    progress(households, households);
    // The chapter tables lose POZITIA and LOCALIT where they still have them.
    dropVillageColumns();
    progress(0, 12);
    status(QStringLiteral("Revizie date..."));
    return QStringLiteral("Identificare: POZ, VOLUM din POZITIA");
}

std::optional<QString> SchemaUpgrade::addRegisterType()
{
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    if (findField(fields, QStringLiteral("TIPRA")))
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    specs.append({QStringLiteral("TIPRA"), 'N', 6, 0});
    const int at = int(specs.size()) - 1;
    rewrite(Identificare, specs, [at](const dbf::OldRecord&, std::vector<dbf::Value>& values) { values[size_t(at)] = std::int64_t(1); });
    return QStringLiteral("Identificare: TIPRA=1");
}

std::optional<QString> SchemaUpgrade::addBuildingRemarks()
{
    const QList<dbf::Field> fields = fieldsOf(Cap10);
    if (findField(fields, QStringLiteral("OBS")))
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    specs.append(charSpec(QStringLiteral("OBS"), 40));
    rewrite(Cap10, specs);
    return QStringLiteral("CAP10: OBS");
}

std::optional<QString> SchemaUpgrade::addRow19()
{
    const QList<dbf::Field> fields = fieldsOf(Cap10);
    for (const char* name : {"ANUL", "CODID", "RAND", "DETALII", "UM"}) {
        if (!findField(fields, QLatin1String(name)))
            throw StepFailure {QStringLiteral("Tabelul CAP10 nu are coloana %1.").arg(QLatin1String(name))};
    }
    const QString cap10 = engine::quotedPath(tablePath(Cap10));
    const QStringList missing {
        QStringLiteral("FROM ") + cap10,
        QStringLiteral("WHERE ANUL IS NOT NULL AND CODID IS NOT NULL"),
        QStringLiteral("GROUP BY ANUL, CODID"),
        QStringLiteral("HAVING SUM(CASE WHEN RAND=19 THEN 1 ELSE 0 END)=0"),
    };
    engine::Query probe(m_engine);
    probe.add(QStringLiteral("SELECT ANUL, CODID"));
    for (const QString& line : missing)
        probe.add(line);
    probe.open();
    const int households = probe.recordCount();
    probe.close();
    if (households == 0)
        return std::nullopt;
    const bool remarks = findField(fields, QStringLiteral("OBS")) != nullptr;
    // One statement for every household-year still without row 19.
    QStringList lines {QStringLiteral("INSERT INTO ") + cap10 + QStringLiteral(" (ANUL, CODID, RAND, DETALII, UM")
                           + (remarks ? QStringLiteral(", OBS)") : QStringLiteral(")")),
                       QStringLiteral("SELECT ANUL, CODID, 19, 0, :UM") + (remarks ? QStringLiteral(", NULL") : QString())};
    lines += missing;
    const int added = execute(lines, {{QStringLiteral("UM"), QStringLiteral("mp")}});
    if (added != households)
        throw StepFailure {QStringLiteral("CAP10: %1 randuri 19 de adaugat, %2 adaugate.").arg(households).arg(added)};
    return QStringLiteral("CAP10: %1 randuri 19").arg(added);
}

std::optional<QString> SchemaUpgrade::widenNumber()
{
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    const dbf::Field* nr = findField(fields, QStringLiteral("NR"));
    if (!nr || nr->width >= 20)
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    specs[indexIn(specs, QStringLiteral("NR"))] = charSpec(QStringLiteral("NR"), 32);
    const int tip = indexIn(specs, QStringLiteral("TIP"));
    if (tip >= 0)
        specs.removeAt(tip);
    rewrite(Identificare, specs);
    return QStringLiteral("Identificare: NR CHAR(32)");
}

std::optional<QString> SchemaUpgrade::addPlotColumns(const QStringList& names)
{
    const QList<dbf::Field> fields = fieldsOf(Tarlale);
    QList<dbf::FieldSpec> specs = specsOf(fields);
    QStringList added;
    for (const QString& name : names) {
        if (findField(fields, name))
            continue;
        const int width = name == QLatin1String("CARFUN") ? 50 : name == QLatin1String("NRCAD") ? 10
                        : name == QLatin1String("CINELUC")                                     ? 40
                                                                                               : 120;
        specs.append(charSpec(name, width));
        added << name;
    }
    if (added.isEmpty())
        return std::nullopt;
    rewrite(Tarlale, specs);
    return QStringLiteral("Tarlale: ") + added.join(QLatin1Char(','));
}

std::optional<QString> SchemaUpgrade::widenNumber2()
{
    const QList<dbf::Field> fields = fieldsOf(Identificare);
    const dbf::Field* nr2 = findField(fields, QStringLiteral("NR2"));
    if (!nr2 || nr2->width >= 20)
        return std::nullopt;
    QList<dbf::FieldSpec> specs = specsOf(fields);
    specs[indexIn(specs, QStringLiteral("NR2"))] = charSpec(QStringLiteral("NR2"), 32);
    rewrite(Identificare, specs);
    return QStringLiteral("Identificare: NR2 CHAR(32)");
}

}
