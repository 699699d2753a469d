#include "admin/VillageMaintenance.h"

#include "admin/OperationGuard.h"
#include "core/Paths.h"
#include "data/dbf/CodePage1250.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/SqlText.h"
#include "data/engine/TableCursor.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "domain/TextCase.h"
#include "services/TextFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

using engine::quotedPath;

VillageMaintenance::VillageMaintenance(AppContext& ctx)
    : m_ctx(ctx)
{
}

QString VillageMaintenance::table(const QString& fileName) const
{
    return QDir(m_ctx.dataDirectory).filePath(fileName);
}

QString VillageMaintenance::scratchPath() const
{
    return QDir(m_ctx.programDirectory).filePath(QString::fromLatin1(ScratchTable));
}

VillageMaintenance::Outcome VillageMaintenance::addVillage(QStringList& villages, QString& inSat)
{
    Interaction& ui = *m_ctx.interaction;
    inSat = Curata(inSat);
    // A name the register's files cannot hold is as wrong as a too short one.
    if (inSat.size() < 3 || !dbf::cp1250::canEncode(inSat)) {
        ui.Mesaj(QStringLiteral("Verificare"), QStringLiteral("Numele localitatii este incorect !"), KindError, ButtonsOk);
        return Outcome::Refused;
    }
    if (villages.contains(inSat)) {
        ui.Mesaj(QStringLiteral("Localitate noua"), QStringLiteral("Localitatea aceasta exista deja in lista!"), KindError,
                 ButtonsOk);
        return Outcome::Refused;
    }
    villages << inSat;
    inSat.clear();
    return Outcome::Done;
}

VillageMaintenance::Outcome VillageMaintenance::takeForCorrection(QStringList& villages, int selected, QString& inSat)
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Modificare localitate");
    if (villages.isEmpty()) {
        ui.Mesaj(title, QStringLiteral("Nu aveti ce modifica! Lista e goala !"), KindError, ButtonsOk);
        return Outcome::Refused;
    }
    if (selected < 0 || selected >= villages.size()) {
        ui.Mesaj(title, QStringLiteral("Selectati mai intai cu mouse-ul localitatea din lista !"), KindWarning, ButtonsOk);
        return Outcome::Refused;
    }
    inSat = villages.takeAt(selected);
    return Outcome::Done;
}

void VillageMaintenance::renameInTables(const QString& oldName, const QString& newName)
{
    OperationGuard::runArchived(m_ctx.dataDirectory, QString::fromLatin1(OperationMarker::VillageRename), m_ctx.engine,
                                *m_ctx.interaction, {{QStringLiteral("village"), oldName}}, [&] {
        engine::Query q(*m_ctx.engine);
        q.add(QStringLiteral("UPDATE ") + quotedPath(table(QStringLiteral("Identificare.dbf"))));
        q.add(QStringLiteral("SET LOCALIT=:NOU"));
        q.add(QStringLiteral("WHERE LOCALIT=:VECHI"));
        q.bind(QStringLiteral("NOU"), newName).bind(QStringLiteral("VECHI"), oldName);
        q.execSQL();
    });
}

VillageMaintenance::Outcome VillageMaintenance::renameVillage(QStringList& villages, int selected)
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Stergere localitate");
    if (villages.isEmpty()) {
        ui.Mesaj(title, QStringLiteral("Nu aveti ce sterge! Lista este goala !"), KindError, ButtonsOk);
        return Outcome::Refused;
    }
    if (selected < 0 || selected >= villages.size()) {
        ui.Mesaj(title, QStringLiteral("Selectati mai intai cu mouse-ul localitatea din lista !"), KindWarning, ButtonsOk);
        return Outcome::Refused;
    }
    const QString oldName = villages[selected];
    const std::optional<QString> answer = ui.askText(QStringLiteral("Modificare localitate"),
                                                     oldName + QStringLiteral(" e inlocuit cu :"), QString(), false);
    if (!answer || Trim(*answer).isEmpty())
        return Outcome::Cancelled;
    const QString newName = upperRomanian(Trim(*answer));
    if (newName == oldName)
        return Outcome::Cancelled;
    if (!dbf::cp1250::canEncode(newName)) {
        ui.Mesaj(QStringLiteral("Verificare"), QStringLiteral("Numele localitatii este incorect !"), KindError, ButtonsOk);
        return Outcome::Refused;
    }
    const bool merge = villages.contains(newName);
    if (merge) {
        const int sure = ui.Mesaj(QStringLiteral("Verificare"),
                                  QStringLiteral("Localitatea ") + newName + QStringLiteral(" exista deja!") + CR
                                      + QStringLiteral("Lipim ") + oldName + QStringLiteral(" la ") + newName
                                      + QStringLiteral("?"),
                                  KindWarning, ButtonsDaNu);
        if (sure != ResultDa)
            return Outcome::Cancelled;
    }
    renameInTables(oldName, newName);
    if (!merge)
        villages[selected] = newName;
    ui.Mesaj(QStringLiteral("Inlocuire localitate"),
             QStringLiteral("Localitatea ") + oldName + QStringLiteral(" a fost inlocuita cu ") + newName + QStringLiteral("."),
             KindInformation, ButtonsOk);
    return Outcome::Done;
}

bool VillageMaintenance::hasHouseholds(const QString& village)
{
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("SELECT * FROM ") + quotedPath(table(QStringLiteral("Identificare.dbf"))));
    q.add(QStringLiteral("WHERE LOCALIT=:SAT"));
    q.bind(QStringLiteral("SAT"), village);
    q.open();
    const bool any = !q.isEmpty();
    q.close();
    return any;
}

void VillageMaintenance::removeScratch()
{
    const QString path = scratchPath();
    m_ctx.engine->forget(path);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw engine::SqlError(QStringLiteral("Nu pot sterge tabelul temporar %1.").arg(nativePath(path)));
}

void VillageMaintenance::recreateScratch(const QString& columnDefinition)
{
    removeScratch();
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("CREATE TABLE ") + quotedPath(scratchPath()));
    q.add(columnDefinition);
    q.execSQL();
}

void VillageMaintenance::deleteHouseholds(const QString& village)
{
    OperationGuard::runArchived(m_ctx.dataDirectory, QString::fromLatin1(OperationMarker::VillageDelete), m_ctx.engine,
                                *m_ctx.interaction, {{QStringLiteral("village"), village}},
                                [&] { deleteHouseholdsNow(village); });
}

void VillageMaintenance::deleteHouseholdsNow(const QString& village)
{
    Interaction& ui = *m_ctx.interaction;
    engine::Engine& engine = *m_ctx.engine;
    const QString identificare = quotedPath(table(QStringLiteral("Identificare.dbf")));
    const QString scratch = quotedPath(scratchPath());

    ProgressShown progress(ui, QStringLiteral("Sterg Identificare..."));
    ui.setProgressMaximum(12);
    ui.processEvents();

    // Rows belong to a household by code and year together (an older register may have reused a
    // code in another year and village).
    // 1-2. The plots of the village's households into the scratch table.
    recreateScratch(QStringLiteral("(CODT DECIMAL(10,0), ANUL DECIMAL(4,0) )"));
    {
        engine::Query plots(engine);
        plots.add(QStringLiteral("SELECT CODT, ANUL FROM ") + quotedPath(table(QStringLiteral("Tarlale.dbf"))) + QStringLiteral(" T"));
        plots.add(QStringLiteral("WHERE T.CODID*10000+T.ANUL IN"));
        plots.add(QStringLiteral("(SELECT I.CODID*10000+I.ANUL FROM ") + identificare + QStringLiteral(" I"));
        plots.add(QStringLiteral("WHERE I.LOCALIT=:SAT )"));
        plots.bind(QStringLiteral("SAT"), village);
        plots.open();
        ui.processEvents();
        engine::TableCursor target(engine);
        target.setTableName(scratchPath());
        target.open();
        for (plots.first(); !plots.eof(); plots.next()) {
            target.append();
            target.field(0).setString(plots.fieldByName(QStringLiteral("CODT")).asString());
            target.field(1).setString(plots.fieldByName(QStringLiteral("ANUL")).asString());
            target.post();
        }
        target.close();
        plots.close();
    }

    // 3. Their pictures.
    {
        engine::Query q(engine);
        q.add(QStringLiteral("DELETE FROM ") + quotedPath(table(QStringLiteral("PozeTarla.dbf"))));
        q.add(QStringLiteral("WHERE CODT*10000+ANUL IN"));
        q.add(QStringLiteral("(SELECT CODT*10000+ANUL FROM ") + scratch + QStringLiteral(")"));
        q.execSQL();
    }
    ui.setProgressPosition(1);
    ui.processEvents();

    // 4. The households' identifiers.
    recreateScratch(QStringLiteral("(CODID DECIMAL(10,0), ANUL DECIMAL(4,0) )"));
    {
        engine::Query q(engine);
        q.add(QStringLiteral("INSERT INTO ") + scratch + QStringLiteral(" (CODID, ANUL)"));
        q.add(QStringLiteral("SELECT CODID, ANUL FROM ") + identificare);
        q.add(QStringLiteral("WHERE LOCALIT=:SAT"));
        q.bind(QStringLiteral("SAT"), village);
        q.execSQL();
    }

    // 5. Households, plots and holders.
    {
        engine::Query q(engine);
        q.add(QStringLiteral("DELETE FROM ") + identificare);
        q.add(QStringLiteral("WHERE LOCALIT=:SAT"));
        q.bind(QStringLiteral("SAT"), village);
        q.execSQL();
    }
    for (const QString& name : { QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf") }) {
        engine::Query q(engine);
        q.add(QStringLiteral("DELETE FROM ") + quotedPath(table(name)));
        q.add(QStringLiteral("WHERE CODID*10000+ANUL IN"));
        q.add(QStringLiteral("(SELECT CODID*10000+ANUL FROM ") + scratch + QStringLiteral(")"));
        q.execSQL();
        ui.processEvents();
    }

    // 6. The chapters.
    for (int n = 1; n <= 11; ++n) {
        ui.setProgressLabel(QStringLiteral("Sterg CAP.") + QString::number(n));
        ui.setProgressPosition(n + 1);
        ui.processEvents();
        engine::Query q(engine);
        q.add(QStringLiteral("DELETE FROM ") + quotedPath(table(QStringLiteral("CAP%1.dbf").arg(n))));
        q.add(QStringLiteral("WHERE CODID*10000+ANUL IN"));
        q.add(QStringLiteral("(SELECT CODID*10000+ANUL FROM ") + scratch + QStringLiteral(")"));
        q.execSQL();
    }
}

VillageMaintenance::Outcome VillageMaintenance::deleteVillage(QStringList& villages, int selected)
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Stergere localitate");
    if (villages.isEmpty()) {
        ui.Mesaj(title, QStringLiteral("Nu mai aveti ce sterge! Lista este goala !"), KindError, ButtonsOk);
        return Outcome::Refused;
    }
    if (selected < 0 || selected >= villages.size()) {
        ui.Mesaj(title, QStringLiteral("Selectati mai intai cu mouse-ul localitatea din tabel !"), KindWarning, ButtonsOk);
        return Outcome::Refused;
    }
    const QString village = villages[selected];
    if (hasHouseholds(village)) {
        const int sure = ui.Mesaj(title,
                                  QStringLiteral("Exista date intoduse la aceasta localitate!") + CR
                                      + QStringLiteral("DORITI SA STERGEM LOCALITATEA CU DATE CU TOT?"),
                                  KindWarning, ButtonsDaNu);
        if (sure != ResultDa)
            return Outcome::Cancelled;
        deleteHouseholds(village);
    }
    villages.removeAt(selected);
    removeScratch();
    ui.Mesaj(title, QStringLiteral("Localitatea ") + village + QStringLiteral(" a fost stearsa!"), KindInformation, ButtonsOk);
    return Outcome::Done;
}

}
