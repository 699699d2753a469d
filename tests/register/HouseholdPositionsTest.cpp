#include "EditorTestWorld.h"
#include "RegisterTestTables.h"

#include "register/HouseholdEditor.h"
#include "register/HouseholdMembers.h"
#include "register/HouseholdPositions.h"
#include "register/PlotStore.h"

#include "core/Paths.h"
#include "data/ChapterCatalogue.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::FileRow;
using velmor::test::fileCount;
using velmor::test::fileRows;

namespace {

const QString A = QStringLiteral("SAT NOU");
const QString B = QStringLiteral("DEALU MARE");

// The position dialog as a script: records what it was shown, types `edit` into it and
// confirms through the logic's own check (a refused confirmation counts as cancelled).
struct ScriptedDialogs : PositionDialogs {
    HouseholdEditor* editor = nullptr;
    HouseholdPositions* positions = nullptr;
    std::vector<std::pair<PlaceMode, Place>> shown;
    std::function<void(Place&)> edit;
    bool cancel = false;
    int deleteMode = 1;
    int deleteAsked = 0;

    bool runPlace(PlaceMode mode, Place& place) override
    {
        shown.emplace_back(mode, place);
        if (cancel)
            return false;
        if (edit)
            edit(place);
        return positions->confirmPlace(mode, place, mode == PlaceMode::Modify ? editor->currentCodid() : 0);
    }
    int Stergere() override
    {
        ++deleteAsked;
        return deleteMode;
    }
};

struct PositionsWorld {
    EditorWorld w;
    HouseholdEditor editor;
    ScriptedDialogs dialogs;
    HouseholdPositions positions;

    explicit PositionsWorld(bool withRegister = false)
        : w(QStringLiteral("2010"), withRegister)
        , editor(w.ctx)
        , positions(editor, dialogs)
    {
        dialogs.editor = &editor;
        dialogs.positions = &positions;
        w.ctx.setUnlocked(true);
        positions.setChapterRowsMaker([](qint64) {});
    }

    // Village A type 1: volume 1 positions 1-5 (CODID 11-15), volume 2 positions 1-3 (21-23);
    // village B type 1 volume 1 positions 1-3 (31-33); village A type 2 volume 1 positions 1-3
    // (41-43); village A type 1 of 2009 volume 1 positions 1-5 (51-55).
    void fillVillages()
    {
        for (int p = 1; p <= 5; ++p)
            w.addHousehold(QStringLiteral("2010"), 10 + p, A, 1, 1, p);
        for (int p = 1; p <= 3; ++p)
            w.addHousehold(QStringLiteral("2010"), 20 + p, A, 1, 2, p);
        for (int p = 1; p <= 3; ++p) {
            w.addHousehold(QStringLiteral("2010"), 30 + p, B, 1, 1, p);
            w.addHousehold(QStringLiteral("2010"), 40 + p, A, 2, 1, p);
        }
        for (int p = 1; p <= 5; ++p)
            w.addHousehold(QStringLiteral("2009"), 50 + p, A, 1, 1, p);
        w.settings->Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("100"));
    }

    void open(const QString& village, const QString& type, qint64 position = 0, qint64 volume = 0)
    {
        editor.IncarcaQuery();
        HouseholdEditor::ListChoice choice;
        choice.village = village;
        choice.type = type;
        choice.position = position;
        choice.volume = volume;
        editor.setChoice(choice);
        editor.applyPositionChoice();
    }

    // CODID -> (volume, position) of every household of a year, read from the file.
    std::map<qint64, std::pair<qint64, qint64>> placesOf(qint64 year = 2010) const
    {
        std::map<qint64, std::pair<qint64, qint64>> result;
        fileRows(w.home.data(), QStringLiteral("Identificare.dbf"), [&](const FileRow& r) {
            if (r.whole("ANUL") == year)
                result[r.whole("CODID")] = {r.whole("VOLUM"), r.whole("POZ")};
            return false;
        });
        return result;
    }
};

using Slots = std::map<qint64, std::pair<qint64, qint64>>;

Slots expectedAfter(const Slots& before, const std::map<qint64, std::pair<qint64, qint64>>& changes,
                    const std::vector<qint64>& gone = {})
{
    Slots result = before;
    for (const auto& [codid, slot] : changes)
        result[codid] = slot;
    for (qint64 codid : gone)
        result.erase(codid);
    return result;
}

}

// ---- the plans of a shift ----

TEST(PositionShift, PlansAcrossVolumes)
{
    struct Case {
        const char* name;
        std::vector<SlotRow> rows;
        int direction;
        qint64 deleted;
        std::vector<SlotRow> moves;
    };
    const std::vector<Case> cases = {
        {"open a gap: last first", {{3, 1, 3}, {4, 1, 4}, {5, 1, 5}}, +1, 0, {{5, 1, 6}, {4, 1, 5}, {3, 1, 4}}},
        {"open a gap across a volume's end", {{5, 1, 5}, {21, 2, 1}, {22, 2, 2}}, +1, 0, {{22, 2, 3}, {21, 2, 2}, {5, 2, 1}}},
        {"close a gap", {{3, 1, 3}, {4, 1, 4}, {5, 1, 5}}, -1, 3, {{4, 1, 3}, {5, 1, 4}}},
        {"close a gap across a volume's end", {{5, 1, 5}, {21, 2, 1}, {22, 2, 2}}, -1, 5, {{21, 1, 5}, {22, 2, 1}}},
        {"the confirmed one of two sharing a slot", {{7, 1, 3}, {8, 1, 3}, {9, 1, 4}}, -1, 8, {{9, 1, 3}}},
        {"nothing to open", {}, +1, 0, {}},
        {"only the deleted one", {{3, 1, 3}}, -1, 3, {}},
    };
    for (const Case& c : cases) {
        const auto moves = c.direction > 0 ? planOpenGap(c.rows) : planCloseGap(c.rows, c.deleted);
        EXPECT_EQ(moves, c.moves) << c.name;
    }
}

// ---- the operations on the files ----

TEST(HouseholdPositions, InsertDeleteAndRenumberWithinOneVillageAndType)
{
    struct Case {
        const char* name;
        int operation; // 0 insert before, 1 delete leaving a gap, 2 delete and renumber
        qint64 volume, position;
        std::map<qint64, std::pair<qint64, qint64>> changes;
        std::vector<qint64> gone;
    };
    const std::vector<Case> cases = {
        {"insert before position 3", 0, 1, 3,
         {{13, {1, 4}}, {14, {1, 5}}, {15, {2, 1}}, {21, {2, 2}}, {22, {2, 3}}, {23, {2, 4}}, {100, {1, 3}}}, {}},
        {"delete position 3 leaving a gap", 1, 1, 3, {}, {13}},
        {"delete position 3 and renumber", 2, 1, 3,
         {{14, {1, 3}}, {15, {1, 4}}, {21, {1, 5}}, {22, {2, 1}}, {23, {2, 2}}}, {13}},
        {"delete the end of volume 1 and renumber", 2, 1, 5, {{21, {1, 5}}, {22, {2, 1}}, {23, {2, 2}}}, {15}},
        {"delete the last one and renumber", 2, 2, 3, {}, {23}},
    };
    for (const Case& c : cases) {
        PositionsWorld p;
        p.fillVillages();
        const Slots before = p.placesOf();
        const Slots before2009 = p.placesOf(2009);
        p.open(A, QStringLiteral("1"), c.position, c.volume);
        ASSERT_TRUE(p.editor.hasCurrent()) << c.name;
        if (c.operation == 0) {
            EXPECT_EQ(p.positions.InsereazaPozitie(), 100) << c.name;
        } else {
            p.dialogs.deleteMode = c.operation;
            p.w.ui.pushYes();
            EXPECT_TRUE(p.positions.StergePozitie()) << c.name;
        }
        EXPECT_EQ(p.placesOf(), expectedAfter(before, c.changes, c.gone)) << c.name;
        EXPECT_EQ(p.placesOf(2009), before2009) << c.name;
        EXPECT_FALSE(p.w.ui.progressVisible()) << c.name;
    }
}

TEST(HouseholdPositions, InsertShowsTheCurrentPlaceAndAsksOnlyTheRole)
{
    PositionsWorld p;
    p.fillVillages();
    p.open(A, QStringLiteral("1"), 2, 1);
    p.dialogs.edit = [](Place& place) { place.role = QStringLiteral("77"); };
    const qint64 added = p.positions.InsereazaPozitie();
    ASSERT_EQ(p.dialogs.shown.size(), 1u);
    EXPECT_EQ(p.dialogs.shown[0].first, PlaceMode::Insert);
    const Place& shown = p.dialogs.shown[0].second;
    EXPECT_EQ(shown.position, QStringLiteral("2"));
    EXPECT_EQ(shown.volume, QStringLiteral("01"));
    EXPECT_EQ(shown.role, QStringLiteral("0"));
    EXPECT_EQ(shown.village, A);
    EXPECT_EQ(shown.type, QStringLiteral("1"));
    EXPECT_EQ(p.editor.currentCodid(), added);
    EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=100 AND ROL=77 AND POZ=2 AND VOLUM=1")), 1);
    EXPECT_EQ(p.editor.choice().position, 0);
}

TEST(HouseholdPositions, RefusalsBeforeAnyDialog)
{
    struct Case {
        const char* name;
        QString village;
        bool withHousehold;
        int operation; // 0 insert, 1 modify, 2 delete
        const char* text;
        const char* anchor;
    };
    const std::vector<Case> cases = {
        {"insert over every village", QStringLiteral("TOATE"), true, 0, "Nu ati ales localitatea!", "Adauga"},
        {"insert without a household", QStringLiteral("VALEA LUNGA"), false, 0,
         "Alegeti mai intai o gospodarie peste care inserati!", "Adauga"},
        {"modify without a household", QStringLiteral("VALEA LUNGA"), false, 1, "Alegeti mai intai o gospodarie!", "Modifica"},
        {"delete without a household", QStringLiteral("VALEA LUNGA"), false, 2,
         "Nu aveti ce sterge! Alegeti mai intai gospodaria !", "Sterge"},
    };
    for (const Case& c : cases) {
        PositionsWorld p;
        p.fillVillages();
        p.open(c.village, QStringLiteral("1"));
        EXPECT_EQ(p.editor.hasCurrent(), c.withHousehold) << c.name;
        const Slots before = p.placesOf();
        if (c.operation == 0)
            EXPECT_EQ(p.positions.InsereazaPozitie(), 0) << c.name;
        else if (c.operation == 1)
            EXPECT_EQ(p.positions.ModificaPozitie(), 0) << c.name;
        else
            EXPECT_FALSE(p.positions.StergePozitie()) << c.name;
        ASSERT_EQ(p.w.ui.balloons().size(), 1u) << c.name;
        EXPECT_EQ(p.w.ui.balloons()[0].text, QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(p.w.ui.balloons()[0].anchor, QString::fromLatin1(c.anchor)) << c.name;
        EXPECT_TRUE(p.dialogs.shown.empty()) << c.name;
        EXPECT_EQ(p.placesOf(), before) << c.name;
    }
}

TEST(HouseholdPositions, DeleteAsksTwiceAndStopsOnEitherNo)
{
    for (int answer : {0, 1}) {
        PositionsWorld p;
        p.fillVillages();
        p.open(A, QStringLiteral("1"), 3, 1);
        const Slots before = p.placesOf();
        if (answer == 0) {
            p.w.ui.pushNo();
        } else {
            p.w.ui.pushYes();
            p.dialogs.deleteMode = 0;
        }
        EXPECT_FALSE(p.positions.StergePozitie());
        EXPECT_EQ(p.placesOf(), before);
        ASSERT_EQ(p.w.ui.messages().size(), 1u);
        const auto& m = p.w.ui.messages()[0];
        EXPECT_EQ(m.title, QStringLiteral("Stergere pozitie"));
        EXPECT_EQ(m.text, QStringLiteral("Sunteti sigur ca vreti sa stergem") + CR + QStringLiteral("Pozitia 3 Vol.1 din localitatea SAT NOU")
                              + CR + QChar(10) + QStringLiteral("cu toate datele aferente ?"));
        EXPECT_EQ(m.kind, KindConfirmation);
        EXPECT_EQ(p.dialogs.deleteAsked, answer);
    }
}

TEST(HouseholdPositions, OccupancyOfTheSlot)
{
    struct Case {
        const char* name;
        PlaceMode mode;
        qint64 currentPosition;
        Place typed;
        bool accepted;
        const char* balloon;
        const char* anchor;
    };
    auto place = [](const QString& village, const char* type, const char* pos, const char* vol, const char* role = "0") {
        Place p;
        p.village = village;
        p.type = QString::fromLatin1(type);
        p.position = QString::fromLatin1(pos);
        p.volume = QString::fromLatin1(vol);
        p.role = QString::fromLatin1(role);
        return p;
    };
    const std::vector<Case> cases = {
        {"add into an occupied slot", PlaceMode::Add, 0, place(A, "1", "2", "1"), false,
         "Exista deja Pozitia 2 in Vol.1 in localitatea SAT NOU la TIP 1!", "Pozitia"},
        {"add into a free slot", PlaceMode::Add, 0, place(A, "1", "6", "1"), true, nullptr, nullptr},
        {"add where only another type is", PlaceMode::Add, 0, place(A, "3", "1", "1"), true, nullptr, nullptr},
        {"add where only another year is", PlaceMode::Add, 0, place(A, "1", "9", "1"), true, nullptr, nullptr},
        {"modify to its own slot", PlaceMode::Modify, 2, place(A, "1", "2", "1"), true, nullptr, nullptr},
        {"modify onto another household", PlaceMode::Modify, 2, place(A, "1", "3", "1"), false,
         "Exista deja Pozitia 3 in Vol.1 in localitatea SAT NOU la TIP 1!", "Pozitia"},
        {"insert needs no check", PlaceMode::Insert, 2, place(A, "1", "2", "1"), true, nullptr, nullptr},
        {"no village", PlaceMode::Add, 0, place(QString(), "1", "6", "1"), false, "Lipseste Localitatea!", "Localitatea"},
        {"no position", PlaceMode::Add, 0, place(A, "1", "0", "1"), false, "Lipseste Pozitia!", "Pozitia"},
        {"no volume", PlaceMode::Add, 0, place(A, "1", "6", ""), false, "Lipseste Volumul!", "Volumul"},
    };
    for (const Case& c : cases) {
        PositionsWorld p;
        p.fillVillages();
        p.w.addHousehold(QStringLiteral("2009"), 99, A, 1, 1, 9);
        p.open(A, QStringLiteral("1"), c.currentPosition, c.currentPosition ? 1 : 0);
        Place typed = c.typed;
        const qint64 self = c.mode == PlaceMode::Modify ? p.editor.currentCodid() : 0;
        EXPECT_EQ(p.positions.confirmPlace(c.mode, typed, self), c.accepted) << c.name;
        if (c.balloon) {
            ASSERT_EQ(p.w.ui.balloons().size(), 1u) << c.name;
            EXPECT_EQ(p.w.ui.balloons()[0].text, QString::fromLatin1(c.balloon)) << c.name;
            EXPECT_EQ(p.w.ui.balloons()[0].anchor, QString::fromLatin1(c.anchor)) << c.name;
        } else {
            EXPECT_TRUE(p.w.ui.balloons().empty()) << c.name;
        }
        // Only an accepted add or modify is remembered.
        const bool remembered = c.accepted && c.mode != PlaceMode::Insert;
        EXPECT_EQ(p.w.settings->Citeste_Ini(QStringLiteral("TEMP"), QStringLiteral("POZLAST")),
                  remembered ? c.typed.position : QString())
            << c.name;
    }
}

TEST(HouseholdPositions, AddingRemembersThePlaceAndProposesTheNext)
{
    PositionsWorld p;
    p.fillVillages();
    p.open(A, QStringLiteral("1"));
    p.dialogs.edit = [](Place& place) {
        place.position = QStringLiteral("7");
        place.volume = QStringLiteral("3");
        place.role = QStringLiteral("");
    };
    const qint64 first = p.positions.AdaugaPozitie();
    EXPECT_EQ(first, 100);
    ASSERT_EQ(p.dialogs.shown.size(), 1u);
    EXPECT_EQ(p.dialogs.shown[0].second.position, QStringLiteral("1"));
    EXPECT_EQ(p.dialogs.shown[0].second.volume, QString());
    EXPECT_EQ(p.dialogs.shown[0].second.village, A);
    EXPECT_EQ(p.w.settings->Citeste_Ini(QStringLiteral("TEMP"), QStringLiteral("POZLAST")), QStringLiteral("7"));
    EXPECT_EQ(p.w.settings->Citeste_Ini(QStringLiteral("TEMP"), QStringLiteral("VOLLAST")), QStringLiteral("3"));
    EXPECT_EQ(p.placesOf()[100], std::make_pair(qint64(3), qint64(7)));
    EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=100 AND ROL=0 AND TIPRA=1")), 1);
    EXPECT_EQ(p.editor.currentCodid(), 100);

    p.dialogs.edit = nullptr;
    p.open(QStringLiteral("TOATE"), QStringLiteral("2"));
    EXPECT_EQ(p.positions.AdaugaPozitie(), 0); // no village chosen: the confirmation refuses
    ASSERT_EQ(p.dialogs.shown.size(), 2u);
    EXPECT_EQ(p.dialogs.shown[1].second.position, QStringLiteral("8"));
    EXPECT_EQ(p.dialogs.shown[1].second.volume, QStringLiteral("3"));
    EXPECT_EQ(p.dialogs.shown[1].second.village, QString());
    EXPECT_EQ(p.dialogs.shown[1].second.type, QStringLiteral("2"));
    EXPECT_EQ(p.w.ui.balloons().back().text, QStringLiteral("Lipseste Localitatea!"));
}

TEST(HouseholdPositions, AddingCreatesEveryChapterRow)
{
    EditorWorld w(QStringLiteral("2010"), false);
    HouseholdEditor editor(w.ctx);
    ScriptedDialogs dialogs;
    HouseholdPositions positions(editor, dialogs);
    dialogs.editor = &editor;
    dialogs.positions = &positions;
    dialogs.edit = [](Place& place) {
        place.village = QStringLiteral("SAT NOU");
        place.volume = QStringLiteral("1");
    };
    editor.IncarcaQuery();
    const qint64 codid = positions.AdaugaPozitie();
    ASSERT_GT(codid, 0);
    for (int chapter = 2; chapter <= 11; ++chapter) {
        const QString table = QStringLiteral("CAP%1.dbf").arg(chapter);
        const auto rows = fileRows(w.home.data(), table, [&](const FileRow& r) { return r.whole("CODID") == codid; });
        EXPECT_EQ(int(rows.size()), chapter == 11 ? 1 : data::chapterRowCount(chapter)) << chapter;
    }
    // Chapter 7 carries the codes 14.1, 20.1 and 22.1 and the catalogue's names.
    const auto rams = fileRows(w.home.data(), QStringLiteral("CAP7.dbf"), [&](const FileRow& r) {
        const dbf::Value rand = r.value("RAND");
        const auto* code = std::get_if<double>(&rand);
        return r.whole("CODID") == codid && code && qAbs(*code - 14.1) < 1e-9;
    });
    ASSERT_EQ(rams.size(), 1u);
    EXPECT_EQ(w.count(QStringLiteral("CAP4.dbf"), QStringLiteral("CODID=%1 AND RAND=35 AND HA=0 AND ARI=0").arg(codid)), 1);
    EXPECT_EQ(w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("CODID=%1 AND RAND=1 AND CATEG=\"%2\"").arg(codid).arg(data::chapterRowName(2, 1))), 1);
}

TEST(HouseholdPositions, ModifyMovesOnlyThatHouseholdAndAResidentsLocalityFollowsItsVillage)
{
    struct Case {
        const char* name;
        const char* type;
        QString village;
        const char* loc;
    };
    const std::vector<Case> cases = {
        {"type 1 to another village", "1", B, "DEALU MARE"},
        {"type 2 keeps its domicile", "2", B, "ORAS"},
    };
    for (const Case& c : cases) {
        PositionsWorld p;
        p.fillVillages();
        engine::Query q(*p.w.engine);
        q.add(QStringLiteral("UPDATE ") + engine::quotedPath(p.w.ctx.tablePath(QStringLiteral("Identificare.dbf"))));
        q.add(QStringLiteral("SET LOC=:LOC WHERE CODID IN (12, 42)"));
        q.bind(QStringLiteral("LOC"), c.type[0] == '1' ? QStringLiteral("SAT NOU") : QStringLiteral("ORAS"));
        q.execSQL();
        p.open(A, QString::fromLatin1(c.type), 2, 1);
        const qint64 codid = p.editor.currentCodid();
        const Slots before = p.placesOf();
        p.dialogs.edit = [&](Place& place) {
            place.village = c.village;
            place.position = QStringLiteral("9");
            place.volume = QStringLiteral("4");
            place.role = QStringLiteral("123456789");
        };
        EXPECT_EQ(p.positions.ModificaPozitie(), codid) << c.name;
        EXPECT_EQ(p.placesOf(), expectedAfter(before, {{codid, {4, 9}}})) << c.name;
        const auto rows = fileRows(p.w.home.data(), QStringLiteral("Identificare.dbf"),
                                   [&](const FileRow& r) { return r.whole("CODID") == codid; });
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"),
                            QStringLiteral("CODID=%1 AND LOCALIT=\"%2\" AND LOC=\"%3\" AND ROL=123456789")
                                .arg(codid)
                                .arg(c.village)
                                .arg(QString::fromLatin1(c.loc))),
                  1)
            << c.name;
        // The household left the list's village: nothing is current of it any more.
        EXPECT_NE(p.editor.currentCodid(), codid) << c.name;
    }
}

TEST(HouseholdPositions, ProgressOverNoRowsAndAnEmptyVillage)
{
    PositionsWorld p;
    p.fillVillages();
    p.open(A, QStringLiteral("1"));
    const Slots before = p.placesOf();
    p.positions.MutaPozitii(+1, 1, QStringLiteral("NICIUNUL"), 1, 1);
    EXPECT_EQ(p.placesOf(), before);
    EXPECT_FALSE(p.w.ui.progressVisible());
    for (int maximum : p.w.ui.progressMaxima())
        EXPECT_GT(maximum, 0);
    EXPECT_TRUE(p.w.ui.progressLabels().contains(QStringLiteral("Translatare pozitii...")));
}

// ---- the removal of a household with everything it owns ----

namespace {

// Deletes household 101 of a copy of a fixture register, leaving its place empty, and reads every
// table file back.
void deleteHousehold101Of(const QString& fixture)
{
    SCOPED_TRACE(fixture.toStdString());
    PositionsWorld p(true);
    const QString data = p.w.home.data();
    if (fixture != QStringLiteral("register-dbase4")) {
        QDir dir(data);
        for (const QString& name : dir.entryList(QDir::Files))
            dir.remove(name);
        p.w.home.copyFixture(fixture);
    }
    // Household 101 has members, chapters 2-11, plots 501-503 with holders and a picture.
    const QStringList tables = data::Schema::tableFileNames();
    std::map<QString, int> othersBefore;
    for (const QString& table : tables) {
        if (table.startsWith(QStringLiteral("PozeTarla"), Qt::CaseInsensitive))
            continue;
        EXPECT_GT(fileCount(data, table, "CODID", 101), 0) << table.toStdString();
        othersBefore[table] = int(fileRows(data, table, [](const FileRow& r) { return r.whole("CODID") != 101; }).size());
    }
    auto picturesOf = [&](bool of101) {
        return int(fileRows(data, QStringLiteral("PozeTarla.dbf"), [&](const FileRow& r) {
                       const qint64 codt = r.whole("CODT");
                       return (codt >= 501 && codt <= 503) == of101;
                   }).size());
    };
    ASSERT_GT(picturesOf(true), 0);
    const int otherPictures = picturesOf(false);

    p.open(QStringLiteral("SAT NOU"), QStringLiteral("1"), 1, 1);
    ASSERT_EQ(p.editor.currentCodid(), 101);
    p.w.ui.pushYes();
    p.dialogs.deleteMode = 1;
    ASSERT_TRUE(p.positions.StergePozitie());

    for (const QString& table : tables) {
        if (table.startsWith(QStringLiteral("PozeTarla"), Qt::CaseInsensitive))
            continue;
        EXPECT_EQ(fileCount(data, table, "CODID", 101), 0) << table.toStdString();
        EXPECT_EQ(int(fileRows(data, table, [](const FileRow& r) { return r.whole("CODID") != 101; }).size()),
                  othersBefore[table])
            << table.toStdString();
    }
    EXPECT_EQ(picturesOf(true), 0);
    EXPECT_EQ(picturesOf(false), otherPictures);
    // Leaving the place empty moves nobody.
    EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=102 AND POZ=2 AND VOLUM=1")), 1);
}

}

TEST(HouseholdPositions, DeletingRemovesEveryRowOfTheHouseholdOnly)
{
    for (const char* fixture : {"register-dbase4", "register-dbase3", "register-level7"})
        deleteHousehold101Of(QString::fromLatin1(fixture));
}

TEST(HouseholdPositions, AFailingDeletionKeepsTheHouseholdShownAndMovesNobody)
{
    PositionsWorld p(true);
    const QString data = p.w.home.data();
    p.open(QStringLiteral("SAT NOU"), QStringLiteral("1"), 1, 1);
    ASSERT_EQ(p.editor.currentCodid(), 101);
    // The plots table is damaged: its header says it is far longer than the file.
    {
        QFile file(dbf::resolveFileName(data + QStringLiteral("/Tarlale.dbf")));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.resize(40);
    }
    p.w.ui.pushYes();
    p.dialogs.deleteMode = 2;
    EXPECT_ANY_THROW(p.positions.StergePozitie());
    // The household is still listed, and nobody took its place.
    EXPECT_EQ(fileCount(data, QStringLiteral("Identificare.dbf"), "CODID", 101), 1);
    EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=102 AND POZ=2 AND VOLUM=1")), 1);
    EXPECT_EQ(p.w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=101 AND POZ=1 AND VOLUM=1")), 1);
    EXPECT_FALSE(p.w.ui.progressVisible());
    EXPECT_TRUE(p.editor.QTitular().active());
}

// ---- awkward texts ----

TEST(HouseholdPositions, VillagesWithQuotesAreStoredAndFilteredExactly)
{
    for (const QString& village : {QStringLiteral("SAT \"NOU\""), QStringLiteral("D'ARC"), QStringLiteral("A\\B*")}) {
        PositionsWorld p;
        p.fillVillages();
        p.w.addHousehold(QStringLiteral("2010"), 60, village, 1, 1, 1);
        p.open(village, QStringLiteral("1"));
        EXPECT_EQ(p.editor.shownCount(), 1) << village.toStdString();
        p.dialogs.edit = [](Place& place) {
            place.position = QStringLiteral("2");
            place.volume = QStringLiteral("1");
        };
        const qint64 added = p.positions.AdaugaPozitie();
        ASSERT_EQ(added, 100) << village.toStdString();
        EXPECT_EQ(p.editor.shownCount(), 2) << village.toStdString();
        EXPECT_EQ(p.editor.currentCodid(), added);
        const auto rows = fileRows(p.w.home.data(), QStringLiteral("Identificare.dbf"),
                                   [&](const FileRow& r) { return r.whole("CODID") == 100; });
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(fileRows(p.w.home.data(), QStringLiteral("Identificare.dbf"),
                           [&](const FileRow& r) { return r.whole("CODID") == 100 && r.text("LOCALIT") == village; })
                      .size(),
                  1u);
        // Shifting in that village moves its own households only.
        p.open(village, QStringLiteral("1"), 1, 1);
        p.w.ui.pushYes();
        p.dialogs.deleteMode = 2;
        ASSERT_TRUE(p.positions.StergePozitie());
        EXPECT_EQ(p.placesOf()[100], std::make_pair(qint64(1), qint64(1))) << village.toStdString();
        EXPECT_EQ(p.placesOf()[11], std::make_pair(qint64(1), qint64(1)));
    }
}

// A counter that is missing or behind the data never hands out an identifier that a row of any
// year already holds: a new household, member or plot takes the largest one + 1.
TEST(NewIdentifiers, LieAboveTheLargestOfEveryYearWhateverTheCounter)
{
    PositionsWorld p(true);
    HouseholdMembers members(p.w.ctx);
    PlotStore plots(*p.w.engine, p.w.home.data(), *p.w.settings);
    p.open(A, QStringLiteral("1"));
    p.dialogs.edit = [](Place& place) {
        place.position = QStringLiteral("77");
        place.volume = QStringLiteral("9");
    };
    const auto largest = [&](const char* column, const QStringList& tables) {
        qint64 top = 0;
        for (const QString& table : tables) {
            fileRows(p.w.home.data(), table, [&](const FileRow& r) {
                top = std::max(top, r.whole(column));
                return false;
            });
        }
        return top;
    };
    const struct {
        const char* key;
        QStringList tables;
        std::function<qint64()> take;
    } kinds[] = {
        {"CODID", {QStringLiteral("Identificare.dbf")}, [&] { return p.positions.AdaugaPozitie(); }},
        {"COD1", {QStringLiteral("CAP1.dbf")},
         [&] {
             members.prepare(QStringLiteral("2010"));
             members.load(p.editor.currentCodid());
             MemberEntry entry;
             entry.name = QStringLiteral("NOU ION");
             entry.kinship = QStringLiteral("Fiu / Fiica");
             return members.insert(entry);
         }},
        {"CODT", {QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf")},
         [&] {
             PlotDetails plot;
             plot.category = QStringLiteral("TEREN ARABIL");
             plot.classification = QStringLiteral("EXTRAVILAN");
             plot.area = 1;
             plot.holderLines = {QStringLiteral("NOU ION")};
             return plots.add(2010, p.editor.currentCodid(), plot);
         }},
    };
    for (const char* counter : {"", "1", "3"}) {
        for (const auto& kind : kinds) {
            p.w.settings->Scrie_Ini(QStringLiteral("INDEX"), QLatin1String(kind.key), QLatin1String(counter));
            const qint64 expected = largest(kind.key, kind.tables) + 1;
            ASSERT_GT(expected, 3) << kind.key;
            EXPECT_EQ(kind.take(), expected) << kind.key << " counter " << counter;
            EXPECT_EQ(p.w.settings->Citeste_Ini(QStringLiteral("INDEX"), QLatin1String(kind.key)), QString::number(expected + 1))
                << kind.key;
            p.dialogs.edit = [counter](Place& place) {
                place.position = QStringLiteral("7") + QLatin1String(counter) + QStringLiteral("1");
                place.volume = QStringLiteral("9");
            };
        }
    }
    // A counter ahead of the data is kept.
    p.w.settings->Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODT"), QStringLiteral("5000"));
    PlotDetails plot;
    plot.category = QStringLiteral("LIVEZI");
    plot.classification = QStringLiteral("INTRAVILAN");
    plot.area = 2;
    plot.holderLines = {QStringLiteral("NOU ION")};
    EXPECT_EQ(plots.add(2010, p.editor.currentCodid(), plot), 5000);
}
