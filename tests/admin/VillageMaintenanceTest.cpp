#include "AdminTestWorld.h"

#include "admin/Administration.h"
#include "admin/VillageMaintenance.h"
#include "data/dbf/CodePage1250.h"
#include "data/engine/SqlError.h"
#include "domain/TextCase.h"
#include "data/engine/Query.h"

#include <QDir>
#include <QFileInfo>

#include <map>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::AdminWorld;
using Outcome = VillageMaintenance::Outcome;

namespace {

const QChar CR(13);

const QStringList kReferenceVillages = { QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA") };

QString quoted(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

// One integer of a one-row statement.
qint64 scalar(AdminWorld& w, const QString& statement)
{
    engine::Query q(*w.engine);
    q.add(statement);
    q.open();
    return q.field(0).asInteger();
}

qint64 rows(AdminWorld& w, const QString& table, const QString& condition = QString())
{
    return scalar(w, QStringLiteral("SELECT COUNT(*) AS N FROM ") + quoted(w.data(table))
                         + (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition));
}

// The villages of the households of every year, as "year:codid:village".
QStringList households(AdminWorld& w)
{
    engine::Query q(*w.engine);
    q.add(QStringLiteral("SELECT ANUL, CODID, LOCALIT FROM ") + quoted(w.data(QStringLiteral("Identificare.dbf"))));
    q.add(QStringLiteral("ORDER BY ANUL, CODID"));
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        out << q.fieldByName(QStringLiteral("ANUL")).asString() + QLatin1Char(':') + q.fieldByName(QStringLiteral("CODID")).asString()
                   + QLatin1Char(':') + q.fieldByName(QStringLiteral("LOCALIT")).asString();
    }
    return out;
}

const QStringList kChildTables = { QStringLiteral("CAP1.dbf"),  QStringLiteral("CAP2.dbf"),  QStringLiteral("CAP3.dbf"),
                                   QStringLiteral("CAP4.dbf"),  QStringLiteral("CAP5.dbf"),  QStringLiteral("CAP6.dbf"),
                                   QStringLiteral("CAP7.dbf"),  QStringLiteral("CAP8.dbf"),  QStringLiteral("CAP9.dbf"),
                                   QStringLiteral("CAP10.dbf"), QStringLiteral("CAP11.dbf"), QStringLiteral("Tarlale.dbf"),
                                   QStringLiteral("OmTarla.dbf") };

}

// ---- add ----

TEST(VillageAdd, NameIsCleanedAndAppendedInItsOwnCase)
{
    AdminWorld w;
    QStringList villages;
    QString field = QStringLiteral("   Valea   lui  Ion ");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Done);
    EXPECT_EQ(villages, QStringList({ QStringLiteral("Valea lui Ion") }));
    EXPECT_TRUE(field.isEmpty());
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(VillageAdd, TwoLetterNameIsRefused)
{
    AdminWorld w;
    QStringList villages;
    QString field = QStringLiteral("  Ab  ");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Refused);
    EXPECT_EQ(field, QStringLiteral("Ab")); // the field shows the cleaned text
    EXPECT_TRUE(villages.isEmpty());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Verificare"), QStringLiteral("Numele localitatii este incorect !")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
}

TEST(VillageAdd, DuplicateIsRefusedButOtherCaseIsNot)
{
    AdminWorld w;
    QStringList villages = kReferenceVillages;
    QString field = QStringLiteral("SAT  NOU");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Localitate noua"), QStringLiteral("Localitatea aceasta exista deja in lista!")));
    EXPECT_EQ(villages, kReferenceVillages);

    field = QStringLiteral("Sat Nou");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Done);
    EXPECT_EQ(villages.size(), 4);
}

TEST(VillageAdd, NameTheFilesCannotHoldIsRefused)
{
    AdminWorld w;
    QStringList villages;
    QString field = QStringLiteral("Sat \u4E2D\u6587");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Refused);
    EXPECT_TRUE(villages.isEmpty());
}

// ---- edit in the list ----

TEST(VillageEditInList, MovesTheSelectedNameIntoTheField)
{
    AdminWorld w;
    QStringList villages = kReferenceVillages;
    QString field;
    EXPECT_EQ(VillageMaintenance(w.ctx).takeForCorrection(villages, 1, field), Outcome::Done);
    EXPECT_EQ(field, QStringLiteral("DEALU MARE"));
    EXPECT_EQ(villages, QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("VALEA LUNGA") }));
}

TEST(VillageEditInList, EmptyListAndNoSelectionAreRefused)
{
    AdminWorld w;
    QStringList villages;
    QString field;
    EXPECT_EQ(VillageMaintenance(w.ctx).takeForCorrection(villages, 0, field), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Modificare localitate"), QStringLiteral("Nu aveti ce modifica! Lista e goala !")));
    villages = kReferenceVillages;
    EXPECT_EQ(VillageMaintenance(w.ctx).takeForCorrection(villages, -1, field), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Modificare localitate"),
                                QStringLiteral("Selectati mai intai cu mouse-ul localitatea din lista !")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindWarning);
    EXPECT_EQ(villages, kReferenceVillages);
}

// ---- rename or merge ----

TEST(VillageRename, NewNameIsTrimmedUpperCasedInTheListAndEveryYear)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QStringList villages = kReferenceVillages;
    w.ui.pushText(QStringLiteral("  dealu de sus "));
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 1), Outcome::Done);
    ASSERT_EQ(w.ui.textQuestions().size(), 1u);
    EXPECT_EQ(w.ui.textQuestions()[0].title, QStringLiteral("Modificare localitate"));
    EXPECT_EQ(w.ui.textQuestions()[0].label, QStringLiteral("DEALU MARE e inlocuit cu :"));
    EXPECT_TRUE(w.ui.textQuestions()[0].initial.isEmpty());

    EXPECT_EQ(villages, QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("DEALU DE SUS"), QStringLiteral("VALEA LUNGA") }));
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"DEALU MARE\"")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"DEALU DE SUS\"")), 3);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"DEALU DE SUS\" AND ANUL=2009")), 1);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Inlocuire localitate"),
                                QStringLiteral("Localitatea DEALU MARE a fost inlocuita cu DEALU DE SUS.")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindInformation);
}

TEST(VillageRename, MergeIntoListedVillageAfterDa)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QStringList villages = kReferenceVillages;
    w.ui.pushText(QStringLiteral("sat nou")).pushYes();
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 1), Outcome::Done);
    const auto question = w.ui.messages().at(0);
    EXPECT_EQ(question.title, QStringLiteral("Verificare"));
    EXPECT_EQ(question.text, QStringLiteral("Localitatea SAT NOU exista deja!") + CR + QStringLiteral("Lipim DEALU MARE la SAT NOU?"));
    EXPECT_EQ(question.kind, KindWarning);
    EXPECT_EQ(question.buttons, ButtonsDaNu);
    EXPECT_EQ(villages, kReferenceVillages); // both names remain listed
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"DEALU MARE\"")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"SAT NOU\"")), 9);

    // The emptied village now goes without a question.
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 1), Outcome::Done);
    EXPECT_EQ(villages, QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("VALEA LUNGA") }));
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf")), 13);
}

TEST(VillageRename, MergeAnsweredNuChangesNothing)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const QStringList before = households(w);
    QStringList villages = kReferenceVillages;
    w.ui.pushText(QStringLiteral("SAT NOU")).pushNo();
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 1), Outcome::Cancelled);
    EXPECT_EQ(households(w), before);
    EXPECT_EQ(villages, kReferenceVillages);
}

TEST(VillageRename, CancelledEmptyOrSameNameDoesNothing)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const QStringList before = households(w);
    QStringList villages = kReferenceVillages;
    VillageMaintenance maintenance(w.ctx);
    w.ui.pushTextCancel().pushText(QStringLiteral("   ")).pushText(QStringLiteral(" dealu mare "));
    EXPECT_EQ(maintenance.renameVillage(villages, 1), Outcome::Cancelled);
    EXPECT_EQ(maintenance.renameVillage(villages, 1), Outcome::Cancelled);
    EXPECT_EQ(maintenance.renameVillage(villages, 1), Outcome::Cancelled);
    EXPECT_TRUE(w.ui.messages().empty());
    EXPECT_EQ(households(w), before);
    EXPECT_EQ(villages, kReferenceVillages);
}

TEST(VillageRename, EmptyListAndNoSelectionAreRefused)
{
    AdminWorld w;
    QStringList villages;
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 0), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stergere localitate"), QStringLiteral("Nu aveti ce sterge! Lista este goala !")));
    villages = kReferenceVillages;
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, -1), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stergere localitate"),
                                QStringLiteral("Selectati mai intai cu mouse-ul localitatea din lista !")));
    EXPECT_TRUE(w.ui.textQuestions().empty());
}

// ---- delete ----

TEST(VillageDelete, WithoutHouseholdsNoQuestion)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QStringList villages = kReferenceVillages;
    villages << QStringLiteral("CATUN");
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 3), Outcome::Done);
    EXPECT_EQ(villages, kReferenceVillages);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Stergere localitate"));
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Localitatea CATUN a fost stearsa!"));
    EXPECT_EQ(w.ui.lastMessage().kind, KindInformation);
    EXPECT_EQ(w.ui.progressShowCount(), 0);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf")), 13);
}

TEST(VillageDelete, WithHouseholdsOfSeveralYearsRemovesEverythingOfThem)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    // SAT NOU: 2009 households 1 and 2, 2010 households 101, 102, 103 and 108.
    const QString ids = QStringLiteral("CODID IN (1,2,101,102,103,108)");
    ASSERT_EQ(rows(w, QStringLiteral("Identificare.dbf"), ids), 6);
    ASSERT_GT(rows(w, QStringLiteral("CAP1.dbf"), ids), 0);
    ASSERT_GT(rows(w, QStringLiteral("CAP1.dbf"), QStringLiteral("ANUL=2009 AND ") + ids), 0);
    ASSERT_GT(rows(w, QStringLiteral("CAP11.dbf"), QStringLiteral("ANUL=2009 AND ") + ids), 0);
    ASSERT_GT(rows(w, QStringLiteral("Tarlale.dbf"), ids), 0);
    ASSERT_GT(rows(w, QStringLiteral("OmTarla.dbf"), ids), 0);
    ASSERT_EQ(rows(w, QStringLiteral("PozeTarla.dbf")), 1);
    std::map<QString, qint64> othersBefore;
    for (const QString& table : kChildTables)
        othersBefore[table] = rows(w, table, QStringLiteral("NOT ") + ids);

    QStringList villages = kReferenceVillages;
    w.ui.pushYes();
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 0), Outcome::Done);

    const auto question = w.ui.messages().at(0);
    EXPECT_EQ(question.title, QStringLiteral("Stergere localitate"));
    EXPECT_EQ(question.text, QStringLiteral("Exista date intoduse la aceasta localitate!") + CR
                                 + QStringLiteral("DORITI SA STERGEM LOCALITATEA CU DATE CU TOT?"));
    EXPECT_EQ(question.kind, KindWarning);
    EXPECT_EQ(question.buttons, ButtonsDaNu);
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Localitatea SAT NOU a fost stearsa!"));

    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), ids), 0);
    for (const QString& table : kChildTables) {
        EXPECT_EQ(rows(w, table, ids), 0) << table.toStdString();
        EXPECT_EQ(rows(w, table, QStringLiteral("NOT ") + ids), othersBefore[table]) << table.toStdString();
    }
    EXPECT_EQ(rows(w, QStringLiteral("PozeTarla.dbf")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf")), 7);
    EXPECT_EQ(villages, QStringList({ QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA") }));

    // Progress: over the window, maximum 12, one step per chapter, hidden at the end.
    EXPECT_EQ(w.ui.progressShowCount(), 1);
    EXPECT_EQ(w.ui.progressHideCount(), 1);
    EXPECT_FALSE(w.ui.progressVisible());
    EXPECT_EQ(w.ui.progressMaxima(), std::vector<int>({ 12 }));
    const QStringList labels = w.ui.progressLabels();
    ASSERT_EQ(labels.size(), 12);
    EXPECT_EQ(labels.first(), QStringLiteral("Sterg Identificare..."));
    EXPECT_EQ(labels[1], QStringLiteral("Sterg CAP.1"));
    EXPECT_EQ(labels.last(), QStringLiteral("Sterg CAP.11"));
    EXPECT_EQ(w.ui.progressPositions().back(), 12);

    // The scratch table lived in the program home and is gone.
    EXPECT_FALSE(QFileInfo::exists(w.inHome(QStringLiteral("delt1.dbf"))));
}

// A household of another village and year that carries the code of a deleted one (as older
// registers may) keeps its rows.
TEST(VillageDelete, AnotherYearsHouseholdWithTheSameCodeKeepsItsRows)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const auto run = [&](const QString& statement) {
        engine::Query q(*w.engine);
        q.add(statement);
        q.execSQL();
    };
    // SAT NOU's 2009 household 1 and a VALEA LUNGA household 1 of 2011 with a member, a chapter
    // row, a plot with its holder and a picture.
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("Identificare.dbf")))
        + QStringLiteral(" (ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ) VALUES (2011, 1, 'VALEA LUNGA', 1, 5, 1)"));
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("CAP1.dbf")))
        + QStringLiteral(" (ANUL, CODID, COD1, NUMEP, COD) VALUES (2011, 1, 9001, 'ALT ION', 1)"));
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("CAP2.dbf")))
        + QStringLiteral(" (ANUL, CODID, RAND, CATEG) VALUES (2011, 1, 1, 'x')"));
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("Tarlale.dbf")))
        + QStringLiteral(" (ANUL, CODID, CODT, CATEG) VALUES (2011, 1, 9002, 'LIVEZI')"));
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("OmTarla.dbf")))
        + QStringLiteral(" (ANUL, CODID, CODT, TITULAR) VALUES (2011, 1, 9002, 'ALT ION')"));
    run(QStringLiteral("INSERT INTO ") + quoted(w.data(QStringLiteral("PozeTarla.dbf")))
        + QStringLiteral(" (ANUL, CODT, FISIER) VALUES (2011, 9002, 'poza.jpg')"));
    ASSERT_GT(rows(w, QStringLiteral("CAP1.dbf"), QStringLiteral("ANUL=2009 AND CODID=1")), 0);

    QStringList villages = kReferenceVillages;
    w.ui.pushYes();
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 0), Outcome::Done);
    EXPECT_EQ(rows(w, QStringLiteral("CAP1.dbf"), QStringLiteral("ANUL=2009 AND CODID=1")), 0);
    for (const char* table : {"Identificare.dbf", "CAP1.dbf", "CAP2.dbf", "Tarlale.dbf", "OmTarla.dbf", "PozeTarla.dbf"})
        EXPECT_EQ(rows(w, QString::fromLatin1(table), QStringLiteral("ANUL=2011")), 1) << table;
}

TEST(VillageDelete, AnsweredNuKeepsVillageAndData)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const QStringList before = households(w);
    QStringList villages = kReferenceVillages;
    w.ui.pushNo();
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 2), Outcome::Cancelled);
    EXPECT_EQ(villages, kReferenceVillages);
    EXPECT_EQ(households(w), before);
    EXPECT_EQ(w.ui.messages().size(), 1u);
}

TEST(VillageDelete, EmptyListAndNoSelectionAreRefused)
{
    AdminWorld w;
    QStringList villages;
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 0), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stergere localitate"), QStringLiteral("Nu mai aveti ce sterge! Lista este goala !")));
    villages = kReferenceVillages;
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, -1), Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stergere localitate"),
                                QStringLiteral("Selectati mai intai cu mouse-ul localitatea din tabel !")));
    EXPECT_EQ(villages, kReferenceVillages);
}

TEST(VillageDelete, MissingTableIsAnErrorAndTheVillageStaysListed)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QFile::remove(w.data(QStringLiteral("CAP5.dbf")));
    QStringList villages = kReferenceVillages;
    w.ui.pushYes();
    EXPECT_ANY_THROW(VillageMaintenance(w.ctx).deleteVillage(villages, 0));
    EXPECT_EQ(villages, kReferenceVillages);
    EXPECT_FALSE(w.ui.progressVisible());
}

// A double quote inside a village name does not break the statements.
TEST(VillageQuote, RenameAndDeleteOfANameWithADoubleQuote)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QStringList villages = kReferenceVillages;
    w.ui.pushText(QStringLiteral("valea \"lunga\""));
    EXPECT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 2), Outcome::Done);
    const QString name = QStringLiteral("VALEA \"LUNGA\"");
    EXPECT_EQ(villages[2], name);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("LOCALIT=\"VALEA \"\"LUNGA\"\"\"")), 4);
    EXPECT_TRUE(households(w).contains(QStringLiteral("2010:106:") + name));

    w.ui.pushYes();
    EXPECT_EQ(VillageMaintenance(w.ctx).deleteVillage(villages, 2), Outcome::Done);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf"), QStringLiteral("CODID IN (4,5,106,107)")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("CAP1.dbf"), QStringLiteral("CODID=106")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("CAP9.dbf"), QStringLiteral("CODID=106")), 0);
    EXPECT_EQ(rows(w, QStringLiteral("Identificare.dbf")), 9);
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Localitatea ") + name + QStringLiteral(" a fost stearsa!"));
}

TEST(VillageQuote, AddedNameWithQuoteKeepsIt)
{
    AdminWorld w;
    QStringList villages;
    QString field = QStringLiteral("Sat \"Mic\"");
    EXPECT_EQ(VillageMaintenance(w.ctx).addVillage(villages, field), Outcome::Done);
    EXPECT_EQ(villages, QStringList({ QStringLiteral("Sat \"Mic\"") }));
}

// Names with quotes, backslashes, wildcard characters and Romanian letters: renamed through the
// tables and the village file, then renamed back, every household keeping its village exactly.
TEST(VillageQuote, AwkwardNamesRoundTripThroughTablesAndVillageFile)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const QStringList before = households(w);
    const QStringList names = {
        QStringLiteral("SAT \"MARE\""),  QStringLiteral("O'NEIL"),   QStringLiteral("C:\\SAT\\"),
        QStringLiteral("STEA*"),         QStringLiteral("100% SAT"), QStringLiteral("ȘTEFĂNEȘTI ȚARA"),
        QStringLiteral("șoimuș țifești"), QString(40, QLatin1Char('Z')),
    };
    QStringList villages = kReferenceVillages;
    for (const QString& typed : names) {
        w.ui.clear();
        w.ui.pushText(typed);
        ASSERT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 1), Outcome::Done) << typed.toStdString();
        // Upper case and the stored cedilla forms of comma-below letters.
        const QString stored = dbf::cp1250::storedForm(upperRomanian(typed));
        EXPECT_EQ(villages[1], upperRomanian(typed)) << typed.toStdString();
        engine::Query q(*w.engine);
        q.add(QStringLiteral("SELECT COUNT(*) AS N FROM ") + quoted(w.data(QStringLiteral("Identificare.dbf"))) + QStringLiteral(" WHERE LOCALIT=:SAT"));
        q.bind(QStringLiteral("SAT"), villages[1]);
        q.open();
        EXPECT_EQ(q.field(0).asInteger(), 3) << typed.toStdString();
        Administration(w.ctx).writeVillages(villages);
        const QStringList reread = Administration(w.ctx).readVillages();
        EXPECT_EQ(reread.value(1), stored) << typed.toStdString();
    }
    // Back to the first name: the register is as it was.
    w.ui.pushText(kReferenceVillages[1]);
    ASSERT_EQ(VillageMaintenance(w.ctx).renameVillage(villages, 1), Outcome::Done);
    EXPECT_EQ(households(w), before);
}
