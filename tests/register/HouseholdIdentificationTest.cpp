#include "EditorTestWorld.h"
#include "RegisterTestTables.h"

#include "register/HouseholdEditor.h"
#include "register/HouseholdIdentification.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::FileRow;
using velmor::test::fileRows;

namespace {

struct IdentificationWorld {
    EditorWorld w {QStringLiteral("2010")};
    HouseholdEditor editor {w.ctx};
    HouseholdIdentification page {editor};

    IdentificationWorld(const QString& village, const QString& type, const QString& county = QStringLiteral("ALBA"))
    {
        CouncilConstants constants;
        constants.JUDET = county;
        w.ctx.profile.setConstants(constants);
        editor.IncarcaQuery();
        HouseholdEditor::ListChoice choice;
        choice.village = village;
        choice.type = type;
        editor.setChoice(choice);
        editor.applyPositionChoice();
    }

    // The Identificare row of a household, read from the file: the eleven columns the page writes.
    QStringList fileColumns(qint64 codid) const
    {
        QStringList values;
        fileRows(w.home.data(), QStringLiteral("Identificare.dbf"), [&](const FileRow& r) {
            if (r.whole("CODID") == codid)
                for (const char* c : {"STRADA", "NR", "JUDET", "LOC", "SIRUTA", "STR2", "NR2", "DENUMIRE", "SUBUNIT",
                                      "SIRUES", "CODFISCAL"})
                    values << r.text(c);
            return false;
        });
        return values;
    }
};

Identification typed()
{
    Identification d;
    d.street = QStringLiteral("  MIHAI   \"VITEAZU\" ");
    d.number = QStringLiteral("12 'A'");
    d.county = QStringLiteral("SECTOR 3 - MUNICIPIUL BUCURESTI");
    d.locality = QStringLiteral("BUCURESTI");
    d.siruta = QStringLiteral("179132");
    d.unitName = QStringLiteral("AGRO \"NOUA\" SRL");
    d.subunit = QStringLiteral("PUNCT 'DE' LUCRU");
    d.sirues = QStringLiteral("1234567890");
    d.fiscalCode = QStringLiteral("RO123");
    return d;
}

}

TEST(HouseholdIdentification, CountyListAndTheStoredFormOfSectors)
{
    const QStringList items = HouseholdIdentification::countyItems();
    ASSERT_EQ(items.size(), 47);
    EXPECT_EQ(items.first(), QStringLiteral("ALBA"));
    EXPECT_EQ(items[40], QStringLiteral("VRANCEA"));
    EXPECT_EQ(items.last(), QStringLiteral("SECTOR 6 - MUNICIPIUL BUCURESTI"));
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"SECTOR 1 - MUNICIPIUL BUCURESTI", "SECTOR 1 - MUNICIPIU"},
        {"SECTOR 6 - MUNICIPIUL BUCURESTI", "SECTOR 6 - MUNICIPIU"},
        {"ALBA", "ALBA"},
        {"BISTRITA-NASAUD", "BISTRITA-NASAUD"},
        {"", ""},
    };
    for (const auto& [shown, stored] : cases) {
        EXPECT_EQ(HouseholdIdentification::storedCounty(QString::fromLatin1(shown)), QString::fromLatin1(stored)) << shown;
        EXPECT_EQ(HouseholdIdentification::shownCounty(QString::fromLatin1(stored)), QString::fromLatin1(shown)) << stored;
        EXPECT_LE(HouseholdIdentification::storedCounty(QString::fromLatin1(shown)).size(), 20);
    }
    EXPECT_EQ(HouseholdIdentification::shownCounty(QStringLiteral("SECTOR 7 - MUNICIPIU")), QStringLiteral("SECTOR 7 - MUNICIPIU"));
}

TEST(HouseholdIdentification, ColumnsWrittenByRegisterType)
{
    const Identification d = typed();
    struct Case {
        int type;
        QStringList columns;
    };
    const QString street = QStringLiteral("MIHAI \"VITEAZU\"");
    const QString number = QStringLiteral("12 'A'");
    const QString sector = QStringLiteral("SECTOR 3 - MUNICIPIU");
    const std::vector<Case> cases = {
        {1, {street, number, QStringLiteral("ALBA"), QStringLiteral("SAT NOU"), {}, {}, {}, {}, {}, {}, {}}},
        {2, {street, number, sector, QStringLiteral("BUCURESTI"), QStringLiteral("179132"), street, number, {}, {}, {}, {}}},
        {3, {street, number, sector, QStringLiteral("BUCURESTI"), {}, street, number, QStringLiteral("AGRO \"NOUA\" SRL"),
             QStringLiteral("PUNCT 'DE' LUCRU"), QStringLiteral("1234567890"), QStringLiteral("RO123")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HouseholdIdentification::columnValues(c.type, d, QStringLiteral("ALBA"), QStringLiteral("SAT NOU")), c.columns)
            << c.type;
    EXPECT_EQ(HouseholdIdentification::columnValues(4, d, QString(), QString()),
              HouseholdIdentification::columnValues(3, d, QString(), QString()));
}

TEST(HouseholdIdentification, TooWideValuesAreRefusedNotCut)
{
    struct Case {
        const char* name;
        int type;
        std::function<void(Identification&)> change;
        const char* anchor; // nullptr: accepted
        const char* text;
    };
    const std::vector<Case> cases = {
        {"typed county over 20", 2, [](Identification& d) { d.county = QStringLiteral("JUDETUL DE LA MARGINE X"); }, "Judetul",
         "Judetul poate avea cel mult 20 caractere !"},
        {"a sector of Bucharest", 2, [](Identification&) {}, nullptr, nullptr},
        {"county of type 1 is the council's", 1, [](Identification& d) { d.county = QString(30, QLatin1Char('X')); }, nullptr, nullptr},
        {"SIRUTA over 6", 2, [](Identification& d) { d.siruta = QStringLiteral("1234567"); }, "Siruta",
         "COD SIRUTA poate avea cel mult 6 caractere !"},
        {"unit name over 40", 3, [](Identification& d) { d.unitName = QString(41, QLatin1Char('A')); }, "Denumire",
         "Denumirea unitatii poate avea cel mult 40 caractere !"},
        {"blanks do not count", 1, [](Identification& d) { d.street = QStringLiteral("  ") + QString(32, QLatin1Char('S')) + QStringLiteral("  "); },
         nullptr, nullptr},
    };
    for (const Case& c : cases) {
        Identification d = typed();
        c.change(d);
        const auto refused = HouseholdIdentification::refusal(c.type, d);
        EXPECT_EQ(refused.has_value(), c.anchor != nullptr) << c.name;
        if (refused && c.anchor) {
            EXPECT_EQ(refused->anchor, QString::fromLatin1(c.anchor)) << c.name;
            EXPECT_EQ(refused->text, QString::fromLatin1(c.text)) << c.name;
        }
    }
}

TEST(HouseholdIdentification, SavedAsTypedAndReadBack)
{
    struct Case {
        const char* village;
        const char* type;
        qint64 codid;
    };
    for (const Case& c : std::vector<Case> {{"SAT NOU", "1", 101}, {"DEALU MARE", "2", 105}, {"VALEA LUNGA", "3", 106}, {"VALEA LUNGA", "4", 107}}) {
        IdentificationWorld i(QString::fromLatin1(c.village), QString::fromLatin1(c.type));
        ASSERT_EQ(i.editor.currentCodid(), c.codid) << c.type;
        const int type = QString::fromLatin1(c.type).toInt();
        EXPECT_FALSE(i.page.save(typed()).has_value()) << c.type;
        EXPECT_EQ(i.editor.currentCodid(), c.codid) << c.type;
        EXPECT_EQ(i.fileColumns(c.codid),
                  HouseholdIdentification::columnValues(type, typed(), QStringLiteral("ALBA"), QString::fromLatin1(c.village)))
            << c.type;
        // What the page shows again: the sector as its full item.
        const Identification back = i.page.read();
        EXPECT_EQ(back.street, QStringLiteral("MIHAI \"VITEAZU\"")) << c.type;
        if (type != 1)
            EXPECT_EQ(back.county, QStringLiteral("SECTOR 3 - MUNICIPIUL BUCURESTI")) << c.type;
        if (type >= 3)
            EXPECT_EQ(back.unitName, QStringLiteral("AGRO \"NOUA\" SRL")) << c.type;
    }
}

TEST(HouseholdIdentification, ARefusedValueWritesNothing)
{
    IdentificationWorld i(QStringLiteral("DEALU MARE"), QStringLiteral("2"));
    ASSERT_EQ(i.editor.currentCodid(), 105);
    const QStringList before = i.fileColumns(105);
    Identification d = typed();
    d.county = QStringLiteral("UN JUDET CU NUME PREA LUNG");
    const auto refused = i.page.save(d);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->anchor, QStringLiteral("Judetul"));
    EXPECT_EQ(i.fileColumns(105), before);
}

TEST(HouseholdIdentification, ReadsTheFixtureCompanyWithItsQuote)
{
    IdentificationWorld i(QStringLiteral("VALEA LUNGA"), QStringLiteral("3"));
    ASSERT_EQ(i.editor.currentCodid(), 106);
    EXPECT_EQ(i.page.read().unitName, QStringLiteral("AGRO \"VALEA\" SRL"));
    EXPECT_EQ(i.page.currentType(), 3);
}

TEST(HouseholdIdentification, AnUnknownRegisterTypeKeepsItsRow)
{
    IdentificationWorld i(QStringLiteral("SAT NOU"), QStringLiteral("5"));
    i.w.addHousehold(QStringLiteral("2010"), 150, QStringLiteral("SAT NOU"), 5, 1, 1);
    i.editor.reopenList(150);
    ASSERT_EQ(i.editor.currentCodid(), 150);
    const QStringList before = i.fileColumns(150);
    ASSERT_EQ(before.first(), QStringLiteral("ULMILOR"));
    EXPECT_FALSE(i.page.save(typed()).has_value());
    EXPECT_EQ(i.fileColumns(150), before);
}
