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

namespace {

const QStringList& stepIds()
{
    static const QStringList ids = [] {
        QStringList list {QStringLiteral("R")};
        for (int n = 1; n <= 18; ++n)
            list << QString::number(n);
        return list;
    }();
    return ids;
}

}

using namespace upgrade;

QString UpgradeStep::statusName(Status status)
{
    switch (status) {
    case Status::Applied:
        return QStringLiteral("applied");
    case Status::Failed:
        return QStringLiteral("failed");
    case Status::Skipped:
        break;
    }
    return QStringLiteral("skipped");
}

bool UpgradeReport::failed() const
{
    return std::any_of(steps.begin(), steps.end(), [](const UpgradeStep& s) { return s.status == UpgradeStep::Status::Failed; });
}

QStringList UpgradeReport::failures() const
{
    QStringList lines;
    for (const UpgradeStep& s : steps) {
        if (s.status != UpgradeStep::Status::Failed)
            continue;
        const QString where = s.id == QLatin1String("R") ? QStringLiteral("Reluarea actualizarii intrerupte")
                                                          : QStringLiteral("Pasul %1").arg(s.id);
        lines << (s.table.isEmpty() ? where : QStringLiteral("%1 (%2)").arg(where, s.table)) + QStringLiteral(": ") + s.detail;
    }
    return lines;
}

SchemaUpgrade::SchemaUpgrade(engine::Engine& engine, QString dataDirectory, Interaction& ui, Environment environment)
    : m_engine(engine)
    , m_dataDir(std::move(dataDirectory))
    , m_ui(ui)
    , m_env(std::move(environment))
{
}

QString SchemaUpgrade::flattenNote(const QString& note)
{
    QString flat;
    flat.reserve(note.size());
    for (qsizetype i = 0; i < note.size(); ++i) {
        const QChar c = note[i];
        if (c == QLatin1Char('\r')) {
            flat += QLatin1Char(' ');
            if (i + 1 < note.size() && note[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            flat += QLatin1Char(' ');
        } else {
            flat += c;
        }
    }
    return flat.trimmed();
}

bool SchemaUpgrade::splitPosition(double stored, int decimals, qint64& position, qint64& volume)
{
    if (!(stored >= 0) || stored > 1e15)
        return false;
    // The stored digits, not the binary value: 1.13 is position 1, volume 13.
    const QString digits = QString::number(stored, 'f', std::max(decimals, 2));
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    bool ok = false;
    position = digits.left(point).toLongLong(&ok);
    if (!ok)
        return false;
    volume = digits.mid(point + 1, 2).toLongLong(&ok);
    return ok;
}

QDate SchemaUpgrade::birthDate(const QString& cnp, const dbf::Value& yearOfBirth)
{
    const QString code = cnp.trimmed();
    if (cnp::CNPValid(code)) {
        const int century = (code[0] == QLatin1Char('1') || code[0] == QLatin1Char('2')) ? 1900 : 2000;
        return QDate(century + code.mid(1, 2).toInt(), code.mid(3, 2).toInt(), code.mid(5, 2).toInt());
    }
    const qint64 year = dbf::toRoundedWhole(yearOfBirth);
    if (year >= 1 && year <= 9999)
        return QDate(int(year), 1, 1);
    return {};
}

QString SchemaUpgrade::tablePath(const QString& fileName) const
{
    return dbf::resolveFileName(m_dataDir + QLatin1Char('/') + fileName);
}

bool SchemaUpgrade::exists(const QString& fileName) const
{
    return QFileInfo::exists(tablePath(fileName));
}

QList<dbf::Field> SchemaUpgrade::fieldsOf(const QString& fileName)
{
    m_table = QFileInfo(fileName).completeBaseName();
    if (!exists(fileName))
        throw StepFailure {QStringLiteral("Tabelul %1 lipseste.").arg(nativePath(m_dataDir + QLatin1Char('/') + fileName))};
    return m_engine.table(tablePath(fileName)).table().fields();
}

const dbf::Field* SchemaUpgrade::findField(const QList<dbf::Field>& fields, const QString& name)
{
    for (const dbf::Field& f : fields) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QList<dbf::FieldSpec> SchemaUpgrade::specsOf(const QList<dbf::Field>& fields)
{
    QList<dbf::FieldSpec> specs;
    for (const dbf::Field& f : fields)
        specs.append(f.declaration());
    return specs;
}

void SchemaUpgrade::beforeChange()
{
    if (m_begun)
        return;
    try {
        if (m_env.beforeFirstChange)
            m_env.beforeFirstChange();
    } catch (const std::exception& e) {
        throw FirstChangeRefused {errorMessage(e)};
    }
    m_begun = true;
}

void SchemaUpgrade::rewrite(const QString& fileName, const QList<dbf::FieldSpec>& fields, const dbf::RecordFill& fill)
{
    beforeChange();
    m_engine.table(tablePath(fileName)).restructure(fields, fill);
    m_report.changed = true;
    ChangeCounter::count();
}

int SchemaUpgrade::execute(const QStringList& lines, const QList<std::pair<QString, dbf::Value>>& values)
{
    beforeChange();
    engine::Query q(m_engine);
    for (const QString& line : lines)
        q.add(line);
    for (const auto& [name, value] : values)
        q.bind(name, value);
    const int rows = q.execSQL();
    if (rows > 0)
        m_report.changed = true;
    return rows;
}

void SchemaUpgrade::status(const QString& text)
{
    if (m_env.setStatus)
        m_env.setStatus(text);
    m_ui.processEvents();
}

void SchemaUpgrade::progress(int position, int maximum)
{
    if (m_env.setProgress)
        m_env.setProgress(position, maximum);
}

void SchemaUpgrade::runStep(const QString& id, const StepBody& body)
{
    UpgradeStep step;
    step.id = id;
    m_table.clear();
    m_stepFailures.clear();
    try {
        const std::optional<QString> done = body();
        if (!m_stepFailures.isEmpty()) {
            step.status = UpgradeStep::Status::Failed;
            step.detail = m_stepFailures.join(QStringLiteral("; "));
        } else if (done) {
            step.status = UpgradeStep::Status::Applied;
            step.detail = *done;
        }
    } catch (const FirstChangeRefused&) {
        throw;
    } catch (const StepFailure& f) {
        step.status = UpgradeStep::Status::Failed;
        step.detail = f.message;
        step.table = m_table;
    } catch (const std::exception& e) {
        step.status = UpgradeStep::Status::Failed;
        step.detail = errorMessage(e);
        step.table = m_table;
    }
    if (step.status == UpgradeStep::Status::Failed && step.table.isEmpty() && !m_stepFailures.isEmpty())
        step.table = m_table;
    m_report.steps.push_back(step);
    m_ui.processEvents();
}

void SchemaUpgrade::skipRemaining(const QString& reason)
{
    for (qsizetype i = qsizetype(m_report.steps.size()); i < stepIds().size(); ++i) {
        UpgradeStep step;
        step.id = stepIds()[i];
        step.detail = reason;
        m_report.steps.push_back(step);
    }
}

UpgradeReport SchemaUpgrade::UpGrade()
{
    m_report = {};
    m_begun = false;
    const QString gateClosed = QStringLiteral("baza de date este la zi");
    try {
        // Leftovers of an interrupted run of an older version, before the gate.
        runStep(QStringLiteral("R"), [&]() -> std::optional<QString> {
            QStringList done;
            for (const auto& part : {&SchemaUpgrade::recoverNotes, &SchemaUpgrade::recoverNumbers, &SchemaUpgrade::recoverPosition}) {
                if (const std::optional<QString> d = (this->*part)())
                    done << *d;
            }
            if (done.isEmpty())
                return std::nullopt;
            return done.join(QStringLiteral("; "));
        });
        runStep(QStringLiteral("1"), [&] { return dropVillageColumns(); });

        // 2. The gate: only a directory from before the widening of NR2 goes on.
        bool open = false;
        runStep(QStringLiteral("2"), [&]() -> std::optional<QString> {
            const QList<dbf::Field> fields = fieldsOf(Identificare);
            const dbf::Field* nr = findField(fields, QStringLiteral("NR"));
            const dbf::Field* nr2 = findField(fields, QStringLiteral("NR2"));
            if (!nr || !nr2) {
                throw StepFailure {QStringLiteral("Tabelul Identificare nu are coloana %1; actualizarea nu poate continua.")
                                       .arg(nr ? QStringLiteral("NR2") : QStringLiteral("NR"))};
            }
            if (nr2->width >= 20)
                return std::nullopt;
            open = true;
            return describe(*nr2);
        });
        if (!open) {
            skipRemaining(m_report.steps.back().status == UpgradeStep::Status::Failed ? QStringLiteral("oprit la pasul 2") : gateClosed);
            return m_report;
        }

        // 3. What the older layouts show (each step looks at its own table again).
        runStep(QStringLiteral("3"), [&]() -> std::optional<QString> {
            QStringList found;
            auto note = [&](bool on, const QString& what) {
                if (on)
                    found << what;
            };
            const QList<dbf::Field> id = fieldsOf(Identificare);
            const dbf::Field* nr = findField(id, QStringLiteral("NR"));
            note(nr && nr->width < 20, QStringLiteral("Q"));
            note(true, QStringLiteral("R"));
            note(!findField(id, QStringLiteral("TIPRA")), QStringLiteral("TP"));
            note(findField(id, QStringLiteral("POZITIA")), QStringLiteral("PZ"));
            const dbf::Field* ari = findField(fieldsOf(QStringLiteral("CAP3.dbf")), QStringLiteral("ARI"));
            note(ari && ari->isNumeric() && (ari->width < 6 || ari->decimals < 2), QStringLiteral("A"));
            const QList<dbf::Field> c10 = fieldsOf(Cap10);
            note(!findField(c10, QStringLiteral("OBS")), QStringLiteral("C10"));
            const QList<dbf::Field> c1 = fieldsOf(Cap1);
            const dbf::Field* notes = findField(c1, QStringLiteral("MENTIUNI"));
            note(notes && notes->type == 'M', QStringLiteral("MM"));
            note(findField(c1, QStringLiteral("MENTEMP")), QStringLiteral("MT"));
            if (exists(Tarlale))
                note(!findField(fieldsOf(Tarlale), QStringLiteral("NRCAD")), QStringLiteral("T1"));
            m_table.clear();
            return found.join(QLatin1Char(' '));
        });
        runStep(QStringLiteral("4"), [&]() -> std::optional<QString> {
            const QList<dbf::Field> fields = fieldsOf(Cap1);
            if (!findField(fields, QStringLiteral("MENTEMP")))
                return std::nullopt;
            QList<dbf::FieldSpec> specs = specsOf(fields);
            specs.removeAt(indexIn(specs, QStringLiteral("MENTEMP")));
            rewrite(Cap1, specs);
            return QStringLiteral("CAP1: fara MENTEMP");
        });
        runStep(QStringLiteral("5"), [&] { return convertNotes(false); });
        runStep(QStringLiteral("6"), [&] { return createPlotTables(); });
        runStep(QStringLiteral("7"), [&] {
            const QList<ColumnSize> areas {{QStringLiteral("AARI"), 6, 2}, {QStringLiteral("BARI"), 6, 2},
                                           {QStringLiteral("CARI"), 6, 2}, {QStringLiteral("IARI"), 6, 2}};
            return changeSizes({{QStringLiteral("CAP2.dbf"), areas}, {Cap10, {{QStringLiteral("DETALII"), 8, 2}}}});
        });
        runStep(QStringLiteral("8"), [&] { return addBirthDates(); });
        runStep(QStringLiteral("9"), [&]() -> std::optional<QString> {
            try {
                m_table = QStringLiteral("CAP7");
                if (ChangeField(QStringLiteral("CAP7.dbf"), QStringLiteral("RAND"), 4, 1))
                    return QStringLiteral("CAP7: RAND N(4,1)");
                return std::nullopt;
            } catch (const FirstChangeRefused&) {
                throw;
            } catch (const std::exception& e) {
                m_ui.Mesaj(QStringLiteral("UpGrade Cap.7"),
                           QStringLiteral("Actualizarea capitolului 7 (codurile de rand cu o zecimala) nu a reusit:") + QChar(13)
                               + errorMessage(e) + QChar(13) + QStringLiteral("Anuntati furnizorul programului Velmor."),
                           KindError, ButtonsOk);
                throw;
            }
        });
        runStep(QStringLiteral("10"), [&]() -> std::optional<QString> {
            if (!MutaSatul(Identificare))
                return std::nullopt;
            return QStringLiteral("Identificare: LOCALIT");
        });
        runStep(QStringLiteral("11"), [&] { return splitPositions(); });
        runStep(QStringLiteral("12"), [&] { return addRegisterType(); });
        runStep(QStringLiteral("13"), [&] { return addBuildingRemarks(); });
        runStep(QStringLiteral("14"), [&] { return addRow19(); });
        runStep(QStringLiteral("15"), [&] {
            const QList<ColumnSize> areas {{QStringLiteral("AARI"), 6, 2}, {QStringLiteral("BARI"), 6, 2}, {QStringLiteral("CARI"), 6, 2}};
            return changeSizes({{QStringLiteral("CAP3.dbf"), {{QStringLiteral("ARI"), 6, 2}}},
                                {QStringLiteral("CAP4.dbf"), {{QStringLiteral("ARI"), 6, 2}}},
                                {QStringLiteral("CAP6.dbf"), areas}});
        });
        runStep(QStringLiteral("16"), [&]() -> std::optional<QString> {
            QStringList done;
            if (const std::optional<QString> d = widenNumber())
                done << *d;
            if (const std::optional<QString> d = addPlotColumns({QStringLiteral("VECE"), QStringLiteral("VECV"), QStringLiteral("VECS"),
                                                                 QStringLiteral("VECN"), QStringLiteral("CARFUN")}))
                done << *d;
            if (done.isEmpty())
                return std::nullopt;
            return done.join(QStringLiteral("; "));
        });
        runStep(QStringLiteral("17"), [&] { return addPlotColumns({QStringLiteral("NRCAD"), QStringLiteral("CINELUC")}); });
        // 18 closes the gate: only after every earlier step, so a failure is tried again.
        if (m_report.failed()) {
            skipRemaining(QStringLiteral("un pas anterior a esuat; se reia la urmatoarea pornire"));
        } else {
            runStep(QStringLiteral("18"), [&] { return widenNumber2(); });
        }
    } catch (const FirstChangeRefused& refused) {
        UpgradeStep step;
        step.id = stepIds()[qsizetype(m_report.steps.size())];
        step.status = UpgradeStep::Status::Failed;
        step.detail = refused.message;
        step.table = m_table;
        m_report.steps.push_back(step);
        skipRemaining(QStringLiteral("actualizarea s-a oprit inainte de prima schimbare"));
    }
    return m_report;
}

}
