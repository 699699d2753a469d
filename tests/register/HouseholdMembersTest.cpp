#include "EditorTestWorld.h"
#include "RegisterTestTables.h"

#include "register/HouseholdMembers.h"

#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::FileRow;
using velmor::test::fileRows;

namespace {

// The member dialog as a script: records what it was filled with, applies `edit` and confirms
// through the logic's check (a refused confirmation counts as cancelled).
struct ScriptedMemberDialog : MemberDialogs {
    HouseholdMembers* members = nullptr;
    std::vector<MemberEntry> shown;
    std::function<void(MemberEntry&)> edit;
    bool Adaugare(MemberEntry& entry) override { return run(entry, 0); }
    bool Modificare(MemberEntry& entry) override { return run(entry, members->currentCod1()); }
    bool run(MemberEntry& entry, qint64 self)
    {
        shown.push_back(entry);
        if (edit)
            edit(entry);
        return members->confirm(entry, self);
    }
};

struct MembersWorld {
    EditorWorld w {QStringLiteral("2010")};
    HouseholdMembers members {w.ctx};
    ScriptedMemberDialog dialog;

    explicit MembersWorld(qint64 household = 101)
    {
        dialog.members = &members;
        members.prepare(QStringLiteral("2010"));
        members.load(household);
    }

    std::vector<std::vector<dbf::Value>> fileMembers(qint64 codid) const
    {
        return fileRows(w.home.data(), QStringLiteral("CAP1.dbf"), [&](const FileRow& r) { return r.whole("CODID") == codid; });
    }
    // The CAP1 row of a member read from the file.
    std::optional<FileRow> fileMember(const dbf::DbfTable& table, qint64 cod1) const
    {
        for (int row = 0; row < table.recordCount(); ++row) {
            const FileRow r {&table, row};
            if (!table.isDeleted(row) && r.whole("COD1") == cod1)
                return r;
        }
        return std::nullopt;
    }
    QString cap1() const { return dbf::resolveFileName(w.home.data() + QStringLiteral("/CAP1.dbf")); }
};

MemberEntry member(const char* name, const char* kinship, const char* cnp = "")
{
    MemberEntry e;
    e.name = QString::fromUtf8(name);
    e.kinship = QString::fromUtf8(kinship);
    e.cnp = QString::fromLatin1(cnp);
    return e;
}

}

TEST(Kinship, CodesOfTheItemsAndOfTypedTexts)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"Cap de gospodarie", 1}, {"Sot / Sotie", 2}, {"Fiu / Fiica", 3}, {"Alte rude", 4}, {"Neinrudit", 5},
        {"Nepot / Nepoata", 4},   {"Ginere / Nora", 4}, {"Concubin", 5},  {"Var", 4},       {"cap de gospodarie", 4},
        {"", 4},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(kinship::code(QString::fromLatin1(text)), code) << text;
    EXPECT_EQ(kinship::items().size(), 8);
}

TEST(HouseholdMembers, CodeSetsSexAndBirthDate)
{
    struct Case {
        const char* cnp;
        int sex;
        QDate birth;
    };
    const std::vector<Case> cases = {
        {"1800101221144", 1, QDate(1980, 1, 1)},
        {"2800101221146", 2, QDate(1980, 1, 1)},
        {"6050315", 2, QDate(2005, 3, 15)},
        {"7800101", 1, QDate(1980, 1, 1)}, // 2080 is still to come
        {"7850315221141", 1, QDate(1985, 3, 15)},
        {"8100315", 2, QDate(2010, 3, 15)},
        {"280010", 1, QDate()},
        {"", 1, QDate()},
        {"2800230123456", 2, QDate()},
    };
    for (const Case& c : cases) {
        MemberEntry e;
        e.sex = 2;
        e.birth = QDate(2000, 5, 5);
        e.cnp = QString::fromLatin1(c.cnp);
        HouseholdMembers::applyCode(e);
        EXPECT_EQ(e.sex, c.sex) << c.cnp;
        EXPECT_EQ(e.birth, c.birth) << c.cnp;
    }
}

TEST(HouseholdMembers, BirthDatesBlankAndOfOlderFiles)
{
    EXPECT_EQ(HouseholdMembers::birthOf(dbf::Value()), QDate());
    EXPECT_EQ(HouseholdMembers::birthOf(dbf::Value(QDate(1899, 12, 30))), QDate());
    EXPECT_EQ(HouseholdMembers::birthOf(dbf::Value(QDate(1948, 2, 29))), QDate(1948, 2, 29));
    EXPECT_EQ(HouseholdMembers::birthText(QDate()), QStringLiteral("  -  "));
    EXPECT_EQ(HouseholdMembers::birthText(QDate(1948, 2, 29)), QStringLiteral("29.02.1948"));
}

TEST(HouseholdMembers, FamilyNameProposal)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"POP ION", "POP "}, {"  POPESCU   ANA MARIA", "POPESCU "}, {"ION", "ION "}, {"", ""},
    };
    for (const auto& [name, proposed] : cases)
        EXPECT_EQ(HouseholdMembers::familyName(QString::fromLatin1(name)), QString::fromLatin1(proposed)) << name;
}

TEST(HouseholdMembers, ListOfAHouseholdWithComputedBirthText)
{
    MembersWorld m(103);
    ASSERT_EQ(m.members.count(), 1);
    EXPECT_EQ(HouseholdMembers::birthText(HouseholdMembers::birthOf(m.members.currentValue(QStringLiteral("DATAN")))),
              QStringLiteral("  -  "));
    EXPECT_EQ(std::get<QString>(m.members.currentValue(QStringLiteral("DATAS"))), QStringLiteral("  -  "));
    m.members.load(101);
    ASSERT_EQ(m.members.count(), 3);
    EXPECT_EQ(std::get<QString>(m.members.currentValue(QStringLiteral("NUMEP"))), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(std::get<QString>(m.members.currentValue(QStringLiteral("DATAS"))), QStringLiteral("01.01.1980"));
    m.members.load(107);
    EXPECT_EQ(m.members.count(), 0);
    EXPECT_EQ(m.members.currentRow(), -1);
}

TEST(HouseholdMembers, OneHeadOfHousehold)
{
    struct Case {
        const char* name;
        qint64 household;
        int modifyRow; // -1: add
        const char* kinship;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"a second head", 101, -1, "Cap de gospodarie", false},
        {"a second head typed in small letters", 101, -1, "cap de gospodarie", false},
        {"the first head", 107, -1, "Cap de gospodarie", true},
        {"the head stays head", 101, 0, "Cap de gospodarie", true},
        {"another member made head", 101, 1, "Cap de gospodarie", false},
        {"another member stays what it was", 101, 1, "Sot / Sotie", true},
        {"a son added", 101, -1, "Fiu / Fiica", true},
    };
    for (const Case& c : cases) {
        MembersWorld m(c.household);
        MemberEntry e = member("POPESCU DAN", c.kinship);
        qint64 self = 0;
        if (c.modifyRow >= 0) {
            m.members.selectRow(c.modifyRow);
            self = m.members.currentCod1();
        }
        EXPECT_EQ(m.members.confirm(e, self), c.accepted) << c.name;
        if (!c.accepted) {
            ASSERT_EQ(m.w.ui.balloons().size(), 1u) << c.name;
            EXPECT_EQ(m.w.ui.balloons()[0].text, QStringLiteral("Nu puteti avea doi capi de gospodarie !")) << c.name;
            EXPECT_EQ(m.w.ui.balloons()[0].anchor, QStringLiteral("Rudenie")) << c.name;
        }
    }
}

TEST(HouseholdMembers, ConfirmationChecks)
{
    struct Case {
        const char* name;
        MemberEntry entry;
        const char* balloon; // nullptr: accepted
        const char* anchor;
    };
    MemberEntry notes = member("ION", "Fiu / Fiica");
    notes.notes = QString(241, QLatin1Char('x'));
    const std::vector<Case> cases = {
        {"empty name", member("   ", "Fiu / Fiica"), "Nu ati trecut numele si prenumele !", "Nume"},
        {"invalid code", member("ION", "Fiu / Fiica", "1800101221145"), "CNP incorect !", "CNP"},
        {"short code", member("ION", "Fiu / Fiica", "18001"), "CNP incorect !", "CNP"},
        {"kinship longer than its column", member("ION", "Ruda de gradul al patrulea"),
         "Legatura de rudenie poate avea cel mult 24 de caractere !", "Rudenie"},
        {"notes longer than their column", notes, "Mentiunile pot avea cel mult 240 de caractere !", "Mentiuni"},
        {"empty code accepted", member("ION", "Fiu / Fiica"), nullptr, nullptr},
        {"kinship of 24 characters", member("ION", "123456789012345678901234"), nullptr, nullptr},
    };
    for (const Case& c : cases) {
        MembersWorld m;
        MemberEntry e = c.entry;
        EXPECT_EQ(m.members.confirm(e, 0), c.balloon == nullptr) << c.name;
        if (c.balloon) {
            ASSERT_EQ(m.w.ui.balloons().size(), 1u) << c.name;
            EXPECT_EQ(m.w.ui.balloons()[0].text, QString::fromLatin1(c.balloon)) << c.name;
            EXPECT_EQ(m.w.ui.balloons()[0].anchor, QString::fromLatin1(c.anchor)) << c.name;
        }
    }
}

TEST(HouseholdMembers, AddingProposesTheFamilyNameAndStoresWhatWasTyped)
{
    MembersWorld m;
    m.members.selectRow(1);
    m.dialog.edit = [](MemberEntry& e) {
        e.name += QStringLiteral("  GEORGE  \"GICA\" O'NEIL");
        e.cnp = QStringLiteral("2800101221146");
        e.sex = 1;
        e.birth = QDate(1990, 1, 1);
        e.kinship = QStringLiteral("Var");
        e.notes = QStringLiteral("rand unu") + QStringLiteral("rand \"doi\"") + QStringLiteral("rand 'trei'");
    };
    ASSERT_TRUE(m.members.AdaugaMembru(m.dialog));
    ASSERT_EQ(m.dialog.shown.size(), 1u);
    EXPECT_EQ(m.dialog.shown[0].name, QStringLiteral("POPESCU "));
    EXPECT_EQ(m.dialog.shown[0].kinship, QStringLiteral("Cap de gospodarie"));
    EXPECT_EQ(m.dialog.shown[0].sex, 1);
    EXPECT_FALSE(m.dialog.shown[0].birth.isValid());
    EXPECT_EQ(m.members.count(), 4);
    const qint64 cod1 = m.members.currentCod1();
    EXPECT_EQ(cod1, 200);
    EXPECT_EQ(m.w.settings->CodExistent(QStringLiteral("COD1")), QStringLiteral("201"));

    const dbf::DbfTable table(m.cap1());
    const auto row = m.fileMember(table, cod1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text("NUMEP"), QStringLiteral("POPESCU GEORGE \"GICA\" O'NEIL"));
    EXPECT_EQ(row->text("CNP"), QStringLiteral("2800101221146"));
    EXPECT_EQ(row->whole("CODSEX"), 2);
    EXPECT_EQ(std::get<QDate>(row->value("DATAN")), QDate(1980, 1, 1));
    EXPECT_EQ(row->text("DENUM"), QStringLiteral("Var"));
    EXPECT_EQ(row->whole("COD"), 4);
    EXPECT_EQ(row->text("MENTIUNI"), QStringLiteral("rand unurand \"doi\"rand 'trei'"));
    EXPECT_EQ(row->whole("ANUL"), 2010);
    EXPECT_EQ(row->whole("CODID"), 101);
}

TEST(HouseholdMembers, AMemberWithoutBirthDateIsStoredBlank)
{
    MembersWorld m(107);
    m.dialog.edit = [](MemberEntry& e) {
        e.name = QStringLiteral("STAN VASILE");
        e.kinship = QStringLiteral("Cap de gospodarie");
    };
    ASSERT_TRUE(m.members.AdaugaMembru(m.dialog));
    EXPECT_EQ(m.dialog.shown[0].name, QString()); // no member yet: no family name to propose
    const dbf::DbfTable table(m.cap1());
    const auto row = m.fileMember(table, m.members.currentCod1());
    ASSERT_TRUE(row);
    EXPECT_TRUE(dbf::isNull(row->value("DATAN")));
    EXPECT_TRUE(dbf::isNull(row->value("CNP")));
    EXPECT_EQ(row->whole("COD"), 1);
    EXPECT_EQ(std::get<QString>(m.members.currentValue(QStringLiteral("DATAS"))), QStringLiteral("  -  "));
}

TEST(HouseholdMembers, ModifyingFillsTheDialogAndKeepsTheMemberCurrent)
{
    MembersWorld m;
    m.members.selectRow(2); // POPESCU ANA, notes "eleva"
    const qint64 cod1 = m.members.currentCod1();
    m.dialog.edit = [](MemberEntry& e) {
        e.kinship = QStringLiteral("Nepot / Nepoata");
        e.notes.clear();
        e.birth = QDate();
    };
    ASSERT_TRUE(m.members.ModificaMembru(m.dialog));
    ASSERT_EQ(m.dialog.shown.size(), 1u);
    EXPECT_EQ(m.dialog.shown[0].name, QStringLiteral("POPESCU ANA"));
    EXPECT_EQ(m.dialog.shown[0].notes, QStringLiteral("eleva"));
    EXPECT_EQ(m.members.currentCod1(), cod1);
    const dbf::DbfTable table(m.cap1());
    const auto row = m.fileMember(table, cod1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->whole("COD"), 4);
    EXPECT_EQ(row->text("DENUM"), QStringLiteral("Nepot / Nepoata"));
    EXPECT_TRUE(dbf::isNull(row->value("MENTIUNI")));
    EXPECT_EQ(m.fileMembers(101).size(), 3u);
}

TEST(HouseholdMembers, DeletingAsksAndUsesNoFileOfItsOwn)
{
    for (bool yes : {false, true}) {
        MembersWorld m;
        m.members.selectRow(1);
        const qint64 cod1 = m.members.currentCod1();
        const QString name = std::get<QString>(m.members.currentValue(QStringLiteral("NUMEP")));
        if (yes)
            m.w.ui.pushYes();
        else
            m.w.ui.pushNo();
        EXPECT_EQ(m.members.StergeMembru(), yes);
        ASSERT_EQ(m.w.ui.messages().size(), 1u);
        EXPECT_EQ(m.w.ui.messages()[0].title, QStringLiteral("Stergere"));
        EXPECT_EQ(m.w.ui.messages()[0].text, QStringLiteral("Vreti sa-l stergeti pe ") + name + QStringLiteral(" din lista ?"));
        const dbf::DbfTable table(m.cap1());
        EXPECT_EQ(m.fileMember(table, cod1).has_value(), !yes);
        EXPECT_EQ(m.members.count(), yes ? 2 : 3);
        EXPECT_FALSE(QFileInfo::exists(QDir(m.w.home.home()).filePath(QStringLiteral("sql1.txt"))));
        // The members statement is the household's own, unchanged.
        EXPECT_EQ(m.members.S1().SQL().size(), 4);
        EXPECT_EQ(m.members.S1().SQL()[2], QStringLiteral(" AND CODID=:CODID"));
    }
}

TEST(HouseholdMembers, NothingToModifyOrDelete)
{
    MembersWorld m(107);
    EXPECT_FALSE(m.members.ModificaMembru(m.dialog));
    EXPECT_FALSE(m.members.StergeMembru());
    ASSERT_EQ(m.w.ui.balloons().size(), 2u);
    EXPECT_EQ(m.w.ui.balloons()[0].text, QStringLiteral("Nu aveti ce modifica !"));
    EXPECT_EQ(m.w.ui.balloons()[0].anchor, QStringLiteral("GridMembri"));
    EXPECT_EQ(m.w.ui.balloons()[1].text, QStringLiteral("Nu mai aveti ce sterge !"));
    EXPECT_EQ(m.w.ui.balloons()[1].anchor, QStringLiteral("StergeMembru"));
    EXPECT_TRUE(m.dialog.shown.empty());
    EXPECT_TRUE(m.w.ui.messages().empty());
}
