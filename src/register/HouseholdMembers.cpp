#include "register/HouseholdMembers.h"

#include "data/dbf/ValueConversions.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "data/Identifiers.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "domain/CnpRules.h"
#include "domain/TextCase.h"
#include "services/AppContext.h"
#include "services/Settings.h"
#include "services/TextFunctions.h"

namespace velmor {

namespace kinship {

QStringList items()
{
    return {QStringLiteral("Cap de gospodarie"), QStringLiteral("Sot / Sotie"), QStringLiteral("Fiu / Fiica"),
            QStringLiteral("Alte rude"), QStringLiteral("Neinrudit"), QStringLiteral("Nepot / Nepoata"),
            QStringLiteral("Ginere / Nora"), QStringLiteral("Concubin")};
}

int code(const QString& text)
{
    static const int codes[] = {1, 2, 3, 4, 5, 4, 4, 5};
    const int item = items().indexOf(text);
    return item < 0 ? 4 : codes[item];
}

}

HouseholdMembers::HouseholdMembers(AppContext& ctx)
    : m_ctx(ctx)
{
}

HouseholdMembers::~HouseholdMembers() = default;

QDate HouseholdMembers::birthOf(const dbf::Value& stored)
{
    const auto* date = std::get_if<QDate>(&stored);
    if (!date || !date->isValid() || *date == QDate(1899, 12, 30))
        return QDate();
    return *date;
}

QString HouseholdMembers::birthText(const QDate& birth)
{
    return birth.isValid() ? birth.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("  -  ");
}

void HouseholdMembers::applyCode(MemberEntry& entry)
{
    if (entry.cnp.size() < 7) {
        entry.birth = QDate();
        entry.sex = 1;
        return;
    }
    entry.birth = cnp::GetNascutLa(entry.cnp);
    entry.sex = cnp::GetSex(entry.cnp) == QStringLiteral("femeiesc") ? 2 : 1;
}

QString HouseholdMembers::familyName(const QString& name)
{
    const QString first = Curata(name).section(QLatin1Char(' '), 0, 0);
    return first.isEmpty() ? QString() : first + QLatin1Char(' ');
}

QString HouseholdMembers::table() const
{
    return engine::quotedPath(m_ctx.tablePath(QStringLiteral("CAP1.DBF")));
}

engine::Query& HouseholdMembers::S1()
{
    if (!m_s1 || &m_s1->engine() != m_ctx.engine)
        m_s1 = std::make_unique<engine::Query>(*m_ctx.engine);
    return *m_s1;
}

void HouseholdMembers::prepare(const QString& year)
{
    m_year = year;
    engine::Query& q = S1();
    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT * FROM ") + table());
    q.add(QStringLiteral("WHERE ANUL=:ANUL"));
    q.add(QStringLiteral("  "));
    q.add(QStringLiteral("ORDER BY COD"));
    m_codid = 0;
}

void HouseholdMembers::load(qint64 codid)
{
    if (S1().SQL().size() != 4)
        prepare(m_ctx.workingYear());
    engine::Query& q = S1();
    q.close();
    q.clearParameters();
    m_codid = codid;
    q.SQL()[2] = codid > 0 ? QStringLiteral(" AND CODID=:CODID") : QStringLiteral("  ");
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_year));
    if (codid > 0)
        q.bind(QStringLiteral("CODID"), std::int64_t(codid));
    q.open();
    engine::ResultSet rows = q.result();
    const int birth = rows.fieldIndex(QStringLiteral("DATAN"));
    rows.fields.append(engine::ResultField {QStringLiteral("DATAS"), engine::FieldType::Text, 10, 0});
    for (auto& row : rows.rows)
        row.push_back(birthText(birth < 0 ? QDate() : birthOf(row[size_t(birth)])));
    m_model.load(std::move(rows));
    m_current = m_model.rowCount() > 0 ? 0 : -1;
}

void HouseholdMembers::close()
{
    if (m_s1)
        m_s1->close();
    m_model.clear();
    m_current = -1;
}

void HouseholdMembers::selectRow(int row)
{
    if (row >= 0 && row < m_model.rowCount())
        m_current = row;
}

dbf::Value HouseholdMembers::currentValue(const QString& field) const
{
    const int column = m_model.fieldIndex(field);
    if (m_current < 0 || column < 0)
        return {};
    return m_model.value(m_current, column);
}

qint64 HouseholdMembers::currentCod1() const
{
    return dbf::toWhole(currentValue(QStringLiteral("COD1")));
}

MemberEntry HouseholdMembers::currentEntry() const
{
    MemberEntry entry;
    entry.name = dbf::toText(currentValue(QStringLiteral("NUMEP")));
    entry.cnp = dbf::toText(currentValue(QStringLiteral("CNP")));
    applyCode(entry);
    entry.kinship = dbf::toText(currentValue(QStringLiteral("DENUM")));
    const qint64 sex = dbf::toWhole(currentValue(QStringLiteral("CODSEX")));
    entry.sex = sex == 2 ? 2 : 1;
    entry.birth = birthOf(currentValue(QStringLiteral("DATAN")));
    entry.notes = dbf::toText(currentValue(QStringLiteral("MENTIUNI")));
    if (entry.notes.trimmed().isEmpty())
        entry.notes.clear();
    return entry;
}

bool HouseholdMembers::confirm(MemberEntry& entry, qint64 self)
{
    Interaction& ui = *m_ctx.interaction;
    entry.name = Curata(entry.name);
    if (entry.name.isEmpty()) {
        ui.ArataProblema(QStringLiteral("Nu ati trecut numele si prenumele !"), QString::fromLatin1(NameField));
        return false;
    }
    if (entry.name.size() > NameWidth) {
        ui.ArataProblema(QStringLiteral("Numele poate avea cel mult %1 de caractere !").arg(NameWidth),
                         QString::fromLatin1(NameField));
        return false;
    }
    if (!entry.cnp.isEmpty() && !cnp::GetCorect(entry.cnp, false)) {
        ui.ArataProblema(QStringLiteral("CNP incorect !"), QString::fromLatin1(CodeField));
        return false;
    }
    if (!entry.cnp.isEmpty())
        applyCode(entry);
    if (entry.kinship.size() > KinshipWidth) {
        ui.ArataProblema(QStringLiteral("Legatura de rudenie poate avea cel mult %1 de caractere !").arg(KinshipWidth),
                         QString::fromLatin1(KinshipField));
        return false;
    }
    if (entry.notes.size() > NotesWidth) {
        ui.ArataProblema(QStringLiteral("Mentiunile pot avea cel mult %1 de caractere !").arg(NotesWidth),
                         QString::fromLatin1(NotesField));
        return false;
    }
    if (upperAZ(entry.kinship) != QStringLiteral("CAP DE GOSPODARIE"))
        return true;
    engine::Parameters p;
    p.bind(QStringLiteral("ANUL"), dbf::yearValue(m_year.isEmpty() ? m_ctx.workingYear() : m_year));
    p.bind(QStringLiteral("CODID"), std::int64_t(m_codid));
    QString statement = QStringLiteral("SELECT COUNT(*) AS N FROM ") + table()
        + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID AND COD=1");
    if (self > 0) {
        statement += QStringLiteral(" AND COD1<>:COD1");
        p.bind(QStringLiteral("COD1"), std::int64_t(self));
    }
    const engine::ResultSet heads = m_ctx.engine->select(statement, p);
    if (dbf::toWhole(heads.rows.front().front()) > 0) {
        ui.ArataProblema(QStringLiteral("Nu puteti avea doi capi de gospodarie !"), QString::fromLatin1(KinshipField));
        return false;
    }
    return true;
}

qint64 HouseholdMembers::insert(const MemberEntry& entry)
{
    const qint64 cod1 = m_ctx.settings->CodNou(
        QStringLiteral("COD1"), data::firstFreeIdentifier(*m_ctx.engine, m_ctx.dataDirectory, QStringLiteral("COD1")));
    if (cod1 <= 0)
        throw Error(QStringLiteral("Contorul COD1 din Velmor.ini nu este un numar valid."));
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(m_ctx.tablePath(QStringLiteral("Cap1.dbf"))));
    q.add(QStringLiteral("(ANUL, CODID, NUMEP, CNP, DENUM, COD, COD1, CODSEX, DATAN, MENTIUNI)"));
    q.add(QStringLiteral("VALUES (:ANUL, :CODID, :NUMEP, :CNP, :DENUM, :COD, :COD1, :CODSEX, :DATAN, :MENTIUNI )"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_year.isEmpty() ? m_ctx.workingYear() : m_year))
        .bind(QStringLiteral("CODID"), std::int64_t(m_codid))
        .bind(QStringLiteral("NUMEP"), dbf::textValue(entry.name))
        .bind(QStringLiteral("CNP"), dbf::textValue(entry.cnp))
        .bind(QStringLiteral("DENUM"), dbf::textValue(entry.kinship))
        .bind(QStringLiteral("COD"), std::int64_t(kinship::code(entry.kinship)))
        .bind(QStringLiteral("COD1"), std::int64_t(cod1))
        .bind(QStringLiteral("CODSEX"), std::int64_t(entry.sex))
        .bind(QStringLiteral("DATAN"), entry.birth.isValid() ? dbf::Value(entry.birth) : dbf::Value())
        .bind(QStringLiteral("MENTIUNI"), dbf::textValue(entry.notes));
    q.execSQL();
    return cod1;
}

void HouseholdMembers::update(qint64 cod1, const MemberEntry& entry)
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("UPDATE ") + engine::quotedPath(m_ctx.tablePath(QStringLiteral("Cap1.dbf"))));
    q.add(QStringLiteral("SET NUMEP=:NUMEP,"));
    q.add(QStringLiteral("CNP=:CNP,"));
    q.add(QStringLiteral("DENUM=:DENUM,"));
    q.add(QStringLiteral("COD=:COD,"));
    q.add(QStringLiteral("CODSEX=:CODSEX,"));
    q.add(QStringLiteral("DATAN=:DATAN,"));
    q.add(QStringLiteral("MENTIUNI=:MENTIUNI"));
    q.add(QStringLiteral("WHERE COD1=:COD1 AND ANUL=:ANUL"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_year.isEmpty() ? m_ctx.workingYear() : m_year));
    q.bind(QStringLiteral("NUMEP"), dbf::textValue(entry.name))
        .bind(QStringLiteral("CNP"), dbf::textValue(entry.cnp))
        .bind(QStringLiteral("DENUM"), dbf::textValue(entry.kinship))
        .bind(QStringLiteral("COD"), std::int64_t(kinship::code(entry.kinship)))
        .bind(QStringLiteral("CODSEX"), std::int64_t(entry.sex))
        .bind(QStringLiteral("DATAN"), entry.birth.isValid() ? dbf::Value(entry.birth) : dbf::Value())
        .bind(QStringLiteral("MENTIUNI"), dbf::textValue(entry.notes))
        .bind(QStringLiteral("COD1"), std::int64_t(cod1));
    q.execSQL();
}

void HouseholdMembers::remove(qint64 cod1)
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("DELETE FROM ") + engine::quotedPath(m_ctx.tablePath(QStringLiteral("Cap1.dbf"))));
    q.add(QStringLiteral("WHERE COD1=:COD1 AND ANUL=:ANUL"));
    q.bind(QStringLiteral("COD1"), std::int64_t(cod1));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_year.isEmpty() ? m_ctx.workingYear() : m_year));
    q.execSQL();
}

void HouseholdMembers::reloadAt(qint64 cod1)
{
    load(m_codid);
    const int column = m_model.fieldIndex(QStringLiteral("COD1"));
    for (int row = 0; column >= 0 && row < m_model.rowCount(); ++row)
        if (dbf::toWhole(m_model.value(row, column)) == cod1)
            m_current = row;
}

bool HouseholdMembers::AdaugaMembru(MemberDialogs& dialogs)
{
    if (m_codid <= 0)
        return false;
    MemberEntry entry;
    if (count() > 0)
        entry.name = familyName(dbf::toText(currentValue(QStringLiteral("NUMEP"))));
    if (!dialogs.Adaugare(entry))
        return false;
    const qint64 cod1 = insert(entry);
    reloadAt(cod1);
    return true;
}

bool HouseholdMembers::ModificaMembru(MemberDialogs& dialogs)
{
    if (m_current < 0) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Nu aveti ce modifica !"), QString::fromLatin1(GridAnchor));
        return false;
    }
    const qint64 cod1 = currentCod1();
    MemberEntry entry = currentEntry();
    if (!dialogs.Modificare(entry))
        return false;
    if (m_s1)
        m_s1->close();
    try {
        update(cod1, entry);
    } catch (...) {
        reloadAt(cod1);
        throw;
    }
    reloadAt(cod1);
    return true;
}

bool HouseholdMembers::StergeMembru()
{
    Interaction& ui = *m_ctx.interaction;
    if (m_current < 0) {
        ui.ArataProblema(QStringLiteral("Nu mai aveti ce sterge !"), QString::fromLatin1(DeleteAnchor));
        return false;
    }
    const QString name = dbf::toText(currentValue(QStringLiteral("NUMEP")));
    if (ui.Mesaj(QStringLiteral("Stergere"), QStringLiteral("Vreti sa-l stergeti pe ") + name + QStringLiteral(" din lista ?"),
                 KindConfirmation, ButtonsDaNu)
        != ResultDa)
        return false;
    remove(currentCod1());
    load(m_codid);
    return true;
}

}
