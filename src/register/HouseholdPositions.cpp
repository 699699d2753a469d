#include "register/HouseholdPositions.h"

#include "data/dbf/ValueConversions.h"
#include "register/HouseholdEditor.h"
#include "register/NewHouseholdChapters.h"

#include "admin/OperationGuard.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "data/Identifiers.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <algorithm>

namespace velmor {

using engine::quotedPath;

namespace {

dbf::Value whole(qint64 value) { return dbf::Value(std::int64_t(value)); }

int typeNumber(const QString& type) { return int(HouseholdPositions::number(type)); }

// Runs `body`; afterwards (also when it failed) the editor's list is opened again on `codid`.
template <typename Body>
void thenReopen(HouseholdEditor& editor, const qint64& codid, Body&& body)
{
    try {
        body();
    } catch (...) {
        try {
            editor.reopenList(codid);
        } catch (...) {
        }
        throw;
    }
    editor.reopenList(codid);
}

}

std::vector<SlotRow> planOpenGap(const std::vector<SlotRow>& fromStart)
{
    std::vector<SlotRow> moves;
    if (fromStart.empty())
        return moves;
    const SlotRow& last = fromStart.back();
    moves.push_back({last.codid, last.volume, last.position + 1});
    for (size_t i = fromStart.size() - 1; i-- > 0;)
        moves.push_back({fromStart[i].codid, fromStart[i + 1].volume, fromStart[i + 1].position});
    return moves;
}

std::vector<SlotRow> planCloseGap(const std::vector<SlotRow>& fromStart, qint64 deleted)
{
    std::vector<SlotRow> rows = fromStart;
    const auto it = std::find_if(rows.begin(), rows.end(), [deleted](const SlotRow& r) { return r.codid == deleted; });
    std::vector<SlotRow> moves;
    if (it == rows.end())
        return moves;
    // The deleted household comes first among the households sharing its slot.
    const SlotRow gone = *it;
    rows.erase(it);
    rows.insert(rows.begin(), gone);
    for (size_t i = 1; i < rows.size(); ++i) {
        const SlotRow& before = rows[i - 1];
        if (rows[i].volume != before.volume || rows[i].position != before.position)
            moves.push_back({rows[i].codid, before.volume, before.position});
    }
    return moves;
}

HouseholdPositions::HouseholdPositions(HouseholdEditor& editor, PositionDialogs& dialogs)
    : m_editor(editor)
    , m_ctx(editor.context())
    , m_dialogs(dialogs)
{
}

qint64 HouseholdPositions::number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? qint64(value) : 0;
}

QString HouseholdPositions::table(const char* name) const
{
    return quotedPath(m_ctx.tablePath(QString::fromLatin1(name)));
}

QStringList HouseholdPositions::villages() const
{
    return m_ctx.profile.villages();
}

Place HouseholdPositions::proposalForAdd() const
{
    Place place;
    const qint64 last = number(m_ctx.settings->Citeste_Ini(QString::fromLatin1(RememberSection), QStringLiteral("POZLAST")));
    place.position = QString::number(last + 1);
    place.volume = m_ctx.settings->Citeste_Ini(QString::fromLatin1(RememberSection), QStringLiteral("VOLLAST"));
    place.role = QStringLiteral("0");
    const HouseholdEditor::ListChoice& choice = m_editor.choice();
    place.village = choice.village == HouseholdEditor::allVillages() ? QString() : choice.village;
    place.type = choice.type;
    return place;
}

qint64 HouseholdPositions::occupant(const Place& place, qint64 self) const
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("SELECT CODID"));
    q.add(QStringLiteral("FROM ") + table("Identificare.dbf"));
    q.add(QStringLiteral("WHERE POZ=:POZ AND VOLUM=:VOLUM AND ANUL=:ANUL AND LOCALIT=:LOCALIT AND TIPRA=:TIPRA"));
    if (self > 0) {
        q.add(QStringLiteral("AND CODID<>:CODID"));
        q.bind(QStringLiteral("CODID"), whole(self));
    }
    q.bind(QStringLiteral("POZ"), whole(number(place.position)))
        .bind(QStringLiteral("VOLUM"), whole(number(place.volume)))
        .bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()))
        .bind(QStringLiteral("LOCALIT"), place.village)
        .bind(QStringLiteral("TIPRA"), whole(typeNumber(place.type)));
    q.open();
    return q.isEmpty() ? 0 : q.fieldByName(QStringLiteral("CODID")).asInteger();
}

bool HouseholdPositions::confirmPlace(PlaceMode mode, Place& place, qint64 self)
{
    Interaction& ui = *m_ctx.interaction;
    if (place.village.trimmed().isEmpty()) {
        ui.ArataProblema(QStringLiteral("Lipseste Localitatea!"), QString::fromLatin1(VillageField));
        return false;
    }
    if (number(place.position) < 1) {
        ui.ArataProblema(QStringLiteral("Lipseste Pozitia!"), QString::fromLatin1(PositionField));
        return false;
    }
    if (number(place.volume) < 1) {
        ui.ArataProblema(QStringLiteral("Lipseste Volumul!"), QString::fromLatin1(VolumeField));
        return false;
    }
    if (number(place.role) == 0)
        place.role = QStringLiteral("0");
    if (mode == PlaceMode::Insert)
        return true;
    if (occupant(place, mode == PlaceMode::Modify ? self : 0) != 0) {
        ui.ArataProblema(QStringLiteral("Exista deja Pozitia ") + place.position + QStringLiteral(" in Vol.") + place.volume
                             + QStringLiteral(" in localitatea ") + place.village + QStringLiteral(" la TIP ") + place.type
                             + QLatin1Char('!'),
                         QString::fromLatin1(PositionField));
        return false;
    }
    m_ctx.settings->Scrie_Ini(QString::fromLatin1(RememberSection), QStringLiteral("POZLAST"),
                              QString::number(number(place.position)));
    m_ctx.settings->Scrie_Ini(QString::fromLatin1(RememberSection), QStringLiteral("VOLLAST"),
                              QString::number(number(place.volume)));
    return true;
}

qint64 HouseholdPositions::newCodid()
{
    const qint64 codid = m_ctx.settings->CodNou(
        QStringLiteral("CODID"), data::firstFreeIdentifier(*m_ctx.engine, m_ctx.dataDirectory, QStringLiteral("CODID")));
    if (codid <= 0)
        throw Error(QStringLiteral("Contorul CODID din Velmor.ini nu este un numar valid."));
    return codid;
}

void HouseholdPositions::insertHousehold(qint64 codid, const Place& place)
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("INSERT INTO ") + table("Identificare.dbf"));
    q.add(QStringLiteral("(ANUL,POZ,VOLUM,LOCALIT,CODID,ROL, TIPRA)"));
    q.add(QStringLiteral("VALUES (:ANUL, :POZ, :VOLUM, :LOCALIT, :CODID, :ROL, :TIPRA)"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()))
        .bind(QStringLiteral("POZ"), whole(number(place.position)))
        .bind(QStringLiteral("VOLUM"), whole(number(place.volume)))
        .bind(QStringLiteral("LOCALIT"), dbf::textValue(place.village))
        .bind(QStringLiteral("CODID"), whole(codid))
        .bind(QStringLiteral("ROL"), whole(number(place.role)))
        .bind(QStringLiteral("TIPRA"), whole(typeNumber(place.type)));
    q.execSQL();
}

void HouseholdPositions::makeChapterRows(qint64 codid)
{
    if (m_makeChapters)
        m_makeChapters(codid);
    else
        createChapterRows(m_ctx, m_editor.year(), codid);
}

qint64 HouseholdPositions::AdaugaPozitie()
{
    Place place = proposalForAdd();
    if (!m_dialogs.runPlace(PlaceMode::Add, place))
        return 0;
    const qint64 codid = newCodid();
    m_editor.closeList();
    m_editor.clearLocate();
    thenReopen(m_editor, codid, [&] { insertHousehold(codid, place); });
    makeChapterRows(codid);
    return codid;
}

qint64 HouseholdPositions::InsereazaPozitie()
{
    Interaction& ui = *m_ctx.interaction;
    const HouseholdEditor::ListChoice choice = m_editor.choice();
    if (choice.village == HouseholdEditor::allVillages()) {
        ui.ArataProblema(QStringLiteral("Nu ati ales localitatea!"), QString::fromLatin1(AddButton));
        return 0;
    }
    if (!m_editor.hasCurrent()) {
        ui.ArataProblema(QStringLiteral("Alegeti mai intai o gospodarie peste care inserati!"), QString::fromLatin1(AddButton));
        return 0;
    }
    const qint64 position = dbf::toWhole(m_editor.currentValue(QStringLiteral("POZ")));
    const qint64 volume = dbf::toWhole(m_editor.currentValue(QStringLiteral("VOLUM")));
    const QString village = dbf::toText(m_editor.currentValue(QStringLiteral("LOCALIT")));
    Place place;
    place.position = QString::number(position);
    place.volume = QString::number(volume);
    if (place.volume.size() < 2)
        place.volume.prepend(QLatin1Char('0'));
    place.role = QStringLiteral("0");
    place.village = choice.village;
    place.type = choice.type;
    if (!m_dialogs.runPlace(PlaceMode::Insert, place))
        return 0;
    const qint64 codid = newCodid();
    m_editor.closeList();
    m_editor.clearLocate();
    thenReopen(m_editor, codid, [&] {
        MutaPozitii(+1, position, village, volume, typeNumber(choice.type));
        Place into = place;
        into.position = QString::number(position);
        into.volume = QString::number(volume);
        insertHousehold(codid, into);
    });
    makeChapterRows(codid);
    return codid;
}

qint64 HouseholdPositions::ModificaPozitie()
{
    if (!m_editor.hasCurrent()) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Alegeti mai intai o gospodarie!"), QString::fromLatin1(ModifyButton));
        return 0;
    }
    const qint64 codid = m_editor.currentCodid();
    Place place;
    place.position = QString::number(dbf::toWhole(m_editor.currentValue(QStringLiteral("POZ"))));
    place.volume = QString::number(dbf::toWhole(m_editor.currentValue(QStringLiteral("VOLUM"))));
    place.role = QString::number(dbf::toWhole(m_editor.currentValue(QStringLiteral("ROL"))));
    place.village = dbf::toText(m_editor.currentValue(QStringLiteral("LOCALIT")));
    place.type = m_editor.choice().type;
    if (!m_dialogs.runPlace(PlaceMode::Modify, place))
        return 0;
    const int type = typeNumber(place.type);
    m_editor.closeList();
    m_editor.clearLocate();
    thenReopen(m_editor, codid, [&] {
        engine::Query q(*m_ctx.engine);
        q.add(QStringLiteral("UPDATE ") + table("Identificare.dbf"));
        q.add(QStringLiteral("SET POZ=:POZ, VOLUM=:VOLUM, ROL=:ROL,"));
        // A resident household's locality is its village.
        q.add(type == 1 ? QStringLiteral("LOCALIT=:LOCALIT, LOC=:LOCALIT,") : QStringLiteral("LOCALIT=:LOCALIT,"));
        q.add(QStringLiteral("TIPRA=:TIPRA"));
        q.add(QStringLiteral("WHERE CODID=:CODID AND ANUL=:ANUL"));
        q.bind(QStringLiteral("POZ"), whole(number(place.position)))
            .bind(QStringLiteral("VOLUM"), whole(number(place.volume)))
            .bind(QStringLiteral("ROL"), whole(number(place.role)))
            .bind(QStringLiteral("LOCALIT"), dbf::textValue(place.village))
            .bind(QStringLiteral("TIPRA"), whole(type))
            .bind(QStringLiteral("CODID"), whole(codid))
            .bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()));
        q.execSQL();
    });
    return codid;
}

bool HouseholdPositions::StergePozitie()
{
    Interaction& ui = *m_ctx.interaction;
    if (!m_editor.hasCurrent()) {
        ui.ArataProblema(QStringLiteral("Nu aveti ce sterge! Alegeti mai intai gospodaria !"), QString::fromLatin1(DeleteButton));
        return false;
    }
    const qint64 codid = m_editor.currentCodid();
    const qint64 position = dbf::toWhole(m_editor.currentValue(QStringLiteral("POZ")));
    const qint64 volume = dbf::toWhole(m_editor.currentValue(QStringLiteral("VOLUM")));
    const QString village = dbf::toText(m_editor.currentValue(QStringLiteral("LOCALIT")));
    const int type = int(dbf::toWhole(m_editor.currentValue(QStringLiteral("TIPRA"))));
    if (ui.Mesaj(QStringLiteral("Stergere pozitie"),
                 QStringLiteral("Sunteti sigur ca vreti sa stergem") + CR + QStringLiteral("Pozitia ")
                     + QString::number(position) + QStringLiteral(" Vol.") + QString::number(volume)
                     + QStringLiteral(" din localitatea ") + village + CR + QChar(10)
                     + QStringLiteral("cu toate datele aferente ?"),
                 KindConfirmation, ButtonsDaNu)
        != ResultDa)
        return false;
    const int mode = m_dialogs.Stergere();
    if (mode != 1 && mode != 2)
        return false;
    m_editor.closeList();
    const qint64 none = 0;
    thenReopen(m_editor, none, [&] {
        if (mode == 2)
            MutaPozitii(-1, position, village, volume, type, codid);
        else
            StergeGospodaria(codid);
    });
    return true;
}

std::vector<SlotRow> HouseholdPositions::slotsFrom(qint64 position, const QString& village, qint64 volume, int type) const
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("SELECT POZ, VOLUM, CODID"));
    q.add(QStringLiteral("FROM ") + table("Identificare.dbf"));
    q.add(QStringLiteral("WHERE ANUL=:ANUL AND LOCALIT=:LOCALIT AND TIPRA=:TIPRA"));
    q.add(QStringLiteral("AND ( (VOLUM>:VOLUM)"));
    q.add(QStringLiteral("OR (VOLUM=:VOLUM AND POZ>=:POZ) )"));
    q.add(QStringLiteral("ORDER BY VOLUM, POZ, CODID"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()))
        .bind(QStringLiteral("LOCALIT"), village)
        .bind(QStringLiteral("TIPRA"), whole(type))
        .bind(QStringLiteral("VOLUM"), whole(volume))
        .bind(QStringLiteral("POZ"), whole(position));
    q.open();
    std::vector<SlotRow> rows;
    for (q.first(); !q.eof(); q.next())
        rows.push_back({q.fieldByName(QStringLiteral("CODID")).asInteger(), q.fieldByName(QStringLiteral("VOLUM")).asInteger(),
                        q.fieldByName(QStringLiteral("POZ")).asInteger()});
    return rows;
}

void HouseholdPositions::moveTo(const SlotRow& move)
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("UPDATE ") + table("Identificare.dbf"));
    q.add(QStringLiteral("SET POZ=:POZ, VOLUM=:VOLUM"));
    q.add(QStringLiteral("WHERE CODID=:CODID AND ANUL=:ANUL"));
    q.bind(QStringLiteral("POZ"), whole(move.position))
        .bind(QStringLiteral("VOLUM"), whole(move.volume))
        .bind(QStringLiteral("CODID"), whole(move.codid))
        .bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()));
    q.execSQL();
}

template <typename Body>
void HouseholdPositions::asDeleteOperation(qint64 codid, Body body)
{
    if (m_inDelete) {
        body();
        return;
    }
    m_inDelete = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset {m_inDelete};
    OperationGuard::runArchived(m_ctx.dataDirectory, QString::fromLatin1(OperationMarker::HouseholdDelete), m_ctx.engine,
                                *m_ctx.interaction, {{QStringLiteral("codid"), QString::number(codid)}}, body);
}

int HouseholdPositions::MutaPozitii(int direction, qint64 position, const QString& village, qint64 volume, int type,
                                     qint64 deleted)
{
    Interaction& ui = *m_ctx.interaction;
    ui.Arata();
    struct Hide {
        Interaction& ui;
        ~Hide() { ui.Distruge(); }
    } hide {ui};
    ui.setProgressLabel(QStringLiteral("Translatare pozitii..."));
    ui.setProgressPosition(0);
    const std::vector<SlotRow> rows = slotsFrom(position, village, volume, type);
    const std::vector<SlotRow> moves = direction < 0 ? planCloseGap(rows, deleted) : planOpenGap(rows);
    int done = 0;
    const auto run = [&] {
        // The gap is closed only once the household is gone.
        if (direction < 0)
            StergeGospodaria(deleted);
        ui.setProgressLabel(QStringLiteral("Translatare pozitii..."));
        ui.setProgressMaximum(std::max<int>(1, int(moves.size())));
        ui.setProgressPosition(0);
        for (const SlotRow& move : moves) {
            moveTo(move);
            ui.setProgressPosition(++done);
            ui.processEvents();
        }
    };
    if (direction < 0)
        asDeleteOperation(deleted, run);
    else
        run();
    return done;
}

void HouseholdPositions::StergeGospodaria(qint64 codid)
{
    Interaction& ui = *m_ctx.interaction;
    QStringList statements;
    for (int n = 1; n <= 11; ++n)
        statements << QStringLiteral("DELETE FROM ") + quotedPath(m_ctx.tablePath(QStringLiteral("CAP%1.dbf").arg(n)))
                          + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL");
    statements << QStringLiteral("DELETE FROM ") + table("PozeTarla.dbf") + QStringLiteral("\nWHERE ANUL=:ANUL AND CODT IN")
                      + QStringLiteral("\n( SELECT CODT FROM ") + table("Tarlale.dbf") + QStringLiteral("\n  WHERE CODID=:CODID AND ANUL=:ANUL)");
    statements << QStringLiteral("DELETE FROM ") + table("OmTarla.dbf") + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL");
    statements << QStringLiteral("DELETE FROM ") + table("Tarlale.dbf") + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL");
    statements << QStringLiteral("DELETE FROM ") + table("Identificare.dbf") + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL");
    asDeleteOperation(codid, [&] {
        ui.setProgressMaximum(int(statements.size()));
        ui.setProgressPosition(0);
        int done = 0;
        for (const QString& statement : statements) {
            engine::Query q(*m_ctx.engine);
            for (const QString& line : statement.split(QLatin1Char('\n')))
                q.add(line);
            q.bind(QStringLiteral("CODID"), whole(codid));
            if (statement.contains(QLatin1String(":ANUL")))
                q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_editor.year()));
            q.execSQL();
            ui.setProgressPosition(++done);
            ui.processEvents();
        }
    });
}

}
