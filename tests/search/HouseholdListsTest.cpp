// The lists of heads of household by chapter rows: the rows a chapter offers, the advanced list and
// the selection lists, with the worked examples of their rules and every refusal.

#include "search/SearchTestWorld.h"

#include "search/HouseholdLists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::search;
using velmor::test::Columns;
using velmor::test::real;
using velmor::test::whole;

namespace {

struct ListsWorld : test::SearchWorld {
    ListsWorld()
        : SearchWorld(QStringLiteral("2010"), false)
    {
    }

    // A household with its head (and, for a legal person, its company name).
    void head(qint64 codid, const QString& village, const QString& name, int type = 1, const QString& company = {},
              const QString& cnp = {}, int sex = 1, int volume = 1)
    {
        Columns more;
        if (!company.isEmpty())
            more.emplace_back(QStringLiteral("DENUMIRE"), company);
        household(codid, village, type, volume, int(codid), more);
        person(codid, name, 1, sex, cnp);
    }
    void person(qint64 codid, const QString& name, int cod, int sex, const QString& cnp = {})
    {
        static qint64 nextCod1 = 5000;
        insert(QStringLiteral("CAP1.dbf"), {{QStringLiteral("ANUL"), whole(2010)},
                                            {QStringLiteral("CODID"), whole(codid)},
                                            {QStringLiteral("NUMEP"), name},
                                            {QStringLiteral("CNP"), cnp},
                                            {QStringLiteral("CODSEX"), whole(sex)},
                                            {QStringLiteral("COD"), whole(cod)},
                                            {QStringLiteral("COD1"), whole(++nextCod1)}});
    }
    void land(qint64 codid, double rand, int aha, double aari, int iha = 0, double iari = 0)
    {
        row(2, codid, rand, {{QStringLiteral("AHA"), whole(aha)}, {QStringLiteral("AARI"), real(aari)},
                             {QStringLiteral("IHA"), whole(iha)}, {QStringLiteral("IARI"), real(iari)}});
    }
    void count(int chapter, qint64 codid, double rand, qint64 nr, const QString& categ = QString())
    {
        row(chapter, codid, rand, {{QStringLiteral("NR"), whole(nr)}}, categ);
    }
    void halves(qint64 codid, double rand, qint64 first, qint64 second)
    {
        row(8, codid, rand, {{QStringLiteral("SEM_1"), whole(first)}, {QStringLiteral("SEM_2"), whole(second)}});
    }
    void building(qint64 codid, int rand, double value)
    {
        row(10, codid, rand, {{QStringLiteral("DETALII"), real(value)}});
    }

    RowLists rowLists() { return RowLists(*engine, home.data(), 2010); }
    ListRow offered(int chapter, double code) { return rowLists().offered(chapter, code); }
    engine::ResultSet advanced(const ListChoices& choices, const ListFilter& filter = {})
    {
        AdvancedList list(*engine, home.data(), home.home(), 2010);
        return list.build(choices, filter);
    }
    SelectionResult selection(int chapter, double code, const QString& minimum = {}, const QString& maximum = {},
                              const ListFilter& filter = {})
    {
        return SelectionList(*engine, home.data(), 2010).build(chapter, offered(chapter, code), minimum, maximum, filter);
    }
};

// Rows as text lines "A|B|C", numbers shortest.
QStringList lines(const engine::ResultSet& rows)
{
    QStringList result;
    for (const auto& row : rows.rows) {
        QStringList cells;
        for (const dbf::Value& value : row) {
            if (const auto* r = std::get_if<double>(&value))
                cells << dbf::decimalText(*r, 4);
            else if (const auto* i = std::get_if<std::int64_t>(&value))
                cells << QString::number(*i);
            else if (const auto* t = std::get_if<QString>(&value))
                cells << *t;
            else
                cells << QString();
        }
        result << cells.join(QLatin1Char('|'));
    }
    return result;
}

QStringList names(const engine::ResultSet& rows)
{
    QStringList result;
    for (const engine::ResultField& field : rows.fields)
        result << field.name;
    return result;
}

QString total(const SelectionResult& result, int index)
{
    const dbf::Value& value = result.totals.at(size_t(index));
    if (const auto* r = std::get_if<double>(&value))
        return dbf::decimalText(*r, 4);
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return QString::number(*i);
    return QStringLiteral("?");
}

ListChoices columns(ListsWorld& w, std::initializer_list<std::pair<int, double>> items)
{
    ListChoices choices;
    for (const auto& [chapter, code] : items)
        choices.addColumn(chapter, w.offered(chapter, code));
    return choices;
}

}

// ------------------------------------------------------------------ offered rows

TEST(ListRows, OfferEachCatalogueCodeOfTheYearOnceInCodeOrderUnderTheCatalogueName)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"));
    // Chapter 7: rows out of order, row 14 missing, 14.1 present, row 3 under two names,
    // and a code outside the catalogue.
    w.count(7, 1, 15, 1);
    w.count(7, 1, 14.1, 2);
    w.count(7, 1, 3, 3, QStringLiteral("JUNICI"));
    w.count(7, 1, 3, 4);
    w.count(7, 1, 1, 5);
    w.count(7, 1, 99, 6, QStringLiteral("STRAIN"));
    // Another year's row is not offered.
    w.insert(QStringLiteral("CAP7.dbf"), {{QStringLiteral("ANUL"), whole(2009)}, {QStringLiteral("CODID"), whole(1)},
                                          {QStringLiteral("RAND"), real(2)}, {QStringLiteral("NR"), whole(1)}});

    const std::vector<ListRow> rows = w.rowLists().rows(7);
    ASSERT_EQ(rows.size(), 4u);
    const double codes[] = {1, 3, 14.1, 15};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_DOUBLE_EQ(rows[i].code, codes[i]);
        EXPECT_EQ(rows[i].name, data::chapterRowName(7, data::chapterPositionOfCode(7, codes[i])));
    }
    EXPECT_EQ(rowCodeText(rows[2].code), QStringLiteral("14.1"));

    // Chapter 1 has its one row, chapter 10 its ten fixed names, a chapter without rows none.
    const auto one = w.rowLists().rows(1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].name, QStringLiteral("COD SEX (1 = M, 2 = F)"));
    const auto ten = w.rowLists().rows(10);
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten[0].name, QStringLiteral("Suprafata construita"));
    EXPECT_EQ(ten[9].name, QStringLiteral("Cladiri Anexe"));
    EXPECT_DOUBLE_EQ(ten[9].code, 10);
    EXPECT_TRUE(w.rowLists().rows(5).empty());

    // A code the year does not offer is refused.
    try {
        w.offered(7, 14);
        FAIL() << "row 14 is not offered";
    } catch (const ListRefusal& refusal) {
        EXPECT_EQ(refusal.anchor(), RefusalAnchor::Row);
        EXPECT_EQ(refusal.message(), rowNotOfferedMessage(7, QStringLiteral("14")));
    }
}

TEST(ListItems, ColumnNamesAndCleanedNames)
{
    struct Case {
        int chapter;
        double code;
        QStringList columns;
    } cases[] = {
        {4, 14, {"C414"}},
        {7, 14.1, {"C714_1"}},
        {7, 20.1, {"C720_1"}},
        {2, 1, {"C211", "C212", "C213", "C214"}},
        {8, 1, {"C811", "C812"}},
        {10, 1, {"C101"}},
        {1, 1, {"CODSEX"}},
    };
    for (const Case& c : cases) {
        ListItem item{c.chapter, c.code, {}, {}, {}};
        EXPECT_EQ(item.columnNames(), c.columns) << c.chapter << ":" << c.code;
    }
    const std::pair<const char*, const char*> texts[] = {
        {"   > din care: sub 6 luni", "din care: sub 6 luni"},
        {" - Vaci  si   bivolite ", "Vaci si bivolite"},
        {"Teren arabil", "Teren arabil"},
        {"123", ""},
    };
    for (const auto& [given, expected] : texts)
        EXPECT_EQ(itemName(QString::fromLatin1(given)), QString::fromLatin1(expected)) << given;
}

TEST(ListChoices, RefusalsAndTheThreeFixedColumns)
{
    ListChoices choices;
    const ListRow arable{1, QStringLiteral("Teren arabil")};
    const ListRow calves{7, QStringLiteral("   > din care: sub 6 luni")};
    choices.addColumn(2, arable);
    choices.addColumn(7, calves);
    choices.addCondition(2, arable, QStringLiteral("1"), QString());
    choices.addCondition(1, {1, QStringLiteral("COD SEX (1 = M, 2 = F)")}, QStringLiteral("2"), QStringLiteral("2"));
    // A row may be a column and a condition at once; conditions stay sorted by chapter text.
    ASSERT_EQ(choices.conditions().size(), 2u);
    EXPECT_EQ(choices.conditions()[0].chapter, 1);
    EXPECT_EQ(choices.columns()[4].name, QStringLiteral("din care: sub 6 luni"));

    struct Case {
        const char* what;
        std::function<void()> run;
        QString message;
        RefusalAnchor anchor;
    } cases[] = {
        {"column twice", [&] { choices.addColumn(2, arable); }, QStringLiteral("Coloana Teren arabil este deja adaugata!"), RefusalAnchor::ColumnAdd},
        {"condition twice", [&] { choices.addCondition(2, arable, QString(), QStringLiteral("3")); },
         QStringLiteral("Randul Teren arabil mai este deja adaugat!"), RefusalAnchor::ConditionAdd},
        {"no bound", [&] { choices.addCondition(3, arable, QStringLiteral(" "), QString()); }, QStringLiteral("Nu ati pus nici o conditie!"),
         RefusalAnchor::Minimum},
        {"not a number", [&] { choices.addCondition(3, arable, QStringLiteral("1,5"), QString()); },
         QStringLiteral("Valoarea \"1,5\" nu este un numar!"), RefusalAnchor::Bound},
        {"no column chosen", [&] { choices.removeColumn(-1); }, QStringLiteral("Alegeti din tabel o linie!"), RefusalAnchor::ColumnRemove},
        {"fixed column", [&] { choices.removeColumn(2); }, QStringLiteral("Primele 3 coloane sunt obligatorii!"), RefusalAnchor::ColumnRemove},
        {"no condition chosen", [&] { choices.removeCondition(-1); }, QStringLiteral("Alegeti mai intai o linie din tabel!"),
         RefusalAnchor::ConditionRemove},
    };
    for (const Case& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.what << " was not refused";
        } catch (const ListRefusal& refusal) {
            EXPECT_EQ(refusal.message(), c.message) << c.what;
            EXPECT_EQ(refusal.anchor(), c.anchor) << c.what;
        }
    }
    EXPECT_EQ(choices.columns().size(), 5u);
    EXPECT_EQ(choices.conditions().size(), 2u);
    EXPECT_TRUE(choices.advanced());

    choices.removeColumn(3);
    EXPECT_EQ(choices.columns().size(), 4u);
    choices.clear();
    ASSERT_EQ(choices.columns().size(), 3u);
    EXPECT_EQ(choices.columns()[0].name, QStringLiteral("LOCALITATEA"));
    EXPECT_EQ(choices.columns()[1].name, QStringLiteral("Cap gospodarie"));
    EXPECT_EQ(choices.columns()[2].name, QStringLiteral("CNP"));
    EXPECT_TRUE(choices.conditions().empty());
    EXPECT_FALSE(choices.advanced());
    try {
        choices.removeCondition(0);
        ADD_FAILURE() << "an empty condition list has nothing to remove";
    } catch (const ListRefusal& refusal) {
        EXPECT_EQ(refusal.message(), QStringLiteral("Nu mai aveti ce sterge!"));
    }
}

// ------------------------------------------------------------------ advanced list

TEST(AdvancedList, ColumnsSummedPerHeadWithZeroForAMissingItemAndNoRowMeansAbsent)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"), 1, {}, QStringLiteral("1800101000001"));
    w.head(2, QStringLiteral("DEALU MARE"), QStringLiteral("ZAHARIA ANA"), 1, {}, {}, 2);
    w.head(3, QStringLiteral("DEALU MARE"), QStringLiteral("BARBU VASILE"));
    w.head(4, QStringLiteral("SAT NOU"), QStringLiteral("FARA NIMIC"));
    w.person(1, QStringLiteral("POP MARIA"), 2, 2); // not a head: never listed
    // Chapter 7 in a year whose data lacks row 14: position and code no longer agree.
    w.count(7, 1, 15, 4);
    w.count(7, 1, 14.1, 2);
    w.count(7, 2, 14.1, 1);
    w.count(7, 2, 14.1, 5); // two stored rows of one code are added up
    w.land(3, 1, 1000, 50.25);
    // Chapter 10: four dwellings' built surfaces (rows 1, 4, 7, 10); row 2 is a material code.
    w.building(1, 1, 40);
    w.building(1, 4, 35.5);
    w.building(1, 7, 20);
    w.building(1, 10, 4.5);
    w.building(1, 2, 3);

    ListChoices choices = columns(w, {{1, 1}, {2, 1}, {7, 14.1}, {10, 1}});
    const engine::ResultSet rows = w.advanced(choices);
    EXPECT_EQ(names(rows), (QStringList{"LOCALIT", "NUMEP", "CNP", "CODSEX", "C211", "C212", "C213", "C214", "C714_1", "C101"}));
    EXPECT_EQ(lines(rows), (QStringList{"DEALU MARE|BARBU VASILE||1|1000.5025|0|0|0|0|0",
                                        "DEALU MARE|ZAHARIA ANA||2|0|0|0|0|6|0",
                                        "SAT NOU|POP ION|1800101000001|1|0|0|0|0|2|100"}));
    for (const QString& file : AdvancedList::tableFiles())
        EXPECT_FALSE(QFileInfo::exists(QDir(w.home.home()).filePath(file))) << file.toStdString();

    // Restricted by village (a name with both quotes is bound, not spliced), type and volume.
    w.head(5, QStringLiteral("SAT \"O'NOU\""), QStringLiteral("QUOTED ION"), 3);
    w.count(7, 5, 14.1, 9);
    ListFilter filter;
    filter.village = QStringLiteral("SAT \"O'NOU\"");
    filter.type = 3;
    EXPECT_EQ(lines(w.advanced(columns(w, {{7, 14.1}}), filter)), (QStringList{"SAT \"O'NOU\"|QUOTED ION||9"}));
    filter.type = 1;
    EXPECT_TRUE(w.advanced(columns(w, {{7, 14.1}}), filter).rows.empty());
    filter = {};
    filter.volume = 2;
    EXPECT_TRUE(w.advanced(columns(w, {{7, 14.1}}), filter).rows.empty());
}

TEST(AdvancedList, ConditionsAreAppliedToTheSumsAndConditionOnlyColumnsAreNotShown)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("A ONE"));
    w.head(2, QStringLiteral("SAT NOU"), QStringLiteral("B TWO"));
    w.head(3, QStringLiteral("SAT NOU"), QStringLiteral("C THREE"));
    // Chapter 2: only the A area is tested; B, C and I are shown.
    w.land(1, 1, 0, 99.99, 5, 0);
    w.land(2, 1, 1, 0);
    w.row(2, 3, 1, {{QStringLiteral("AHA"), whole(0)}, {QStringLiteral("AARI"), real(50)}, {QStringLiteral("BHA"), whole(7)}});
    w.row(2, 3, 1, {{QStringLiteral("AHA"), whole(0)}, {QStringLiteral("AARI"), real(50)}});
    // Chapter 8: semester I or II within the bounds 5..6.
    w.halves(1, 1, 0, 10);
    w.halves(2, 1, 0, 5);
    w.halves(3, 1, 6, 0);

    struct Case {
        const char* what;
        std::vector<std::pair<int, double>> columnItems;
        std::vector<std::tuple<int, double, const char*, const char*>> conditionItems;
        QStringList expected;
    } cases[] = {
        {"A area at least 1 ha, as square metres", {{2, 1}}, {{2, 1, "1", ""}},
         {"B TWO||1|0|0|0", "C THREE||1|7|0|0"}},
        {"A area at most 0.9999 ha", {{2, 1}}, {{2, 1, "", "0.9999"}}, {"A ONE||0.9999|0|0|5"}},
        {"condition only: not shown", {{8, 1}}, {{2, 1, "1", ""}}, {"B TWO||0|5", "C THREE||6|0"}},
        {"either half-year", {{8, 1}}, {{8, 1, "5", "6"}}, {"B TWO||0|5", "C THREE||6|0"}},
        {"a condition alone", {}, {{8, 1, "10", ""}}, {"A ONE|"}},
        {"two conditions", {}, {{8, 1, "5", ""}, {2, 1, "", "1"}}, {"A ONE|", "B TWO|", "C THREE|"}},
    };
    for (const Case& c : cases) {
        ListChoices choices;
        for (const auto& [chapter, code] : c.columnItems)
            choices.addColumn(chapter, w.offered(chapter, code));
        for (const auto& [chapter, code, minimum, maximum] : c.conditionItems)
            choices.addCondition(chapter, w.offered(chapter, code), QString::fromLatin1(minimum), QString::fromLatin1(maximum));
        QStringList got = lines(w.advanced(choices));
        for (QString& line : got)
            line = line.section(QLatin1Char('|'), 1); // without the village
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(AdvancedList, OnlyChapterOneItemsListTheSelectedHeads)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"), 1, {}, {}, 1);
    w.head(2, QStringLiteral("SAT NOU"), QStringLiteral("POP ANA"), 1, {}, {}, 2);
    w.person(1, QStringLiteral("POP ELENA"), 2, 2);
    ListChoices choices;
    choices.addCondition(1, w.offered(1, 1), QStringLiteral("2"), QStringLiteral("2"));
    EXPECT_EQ(lines(w.advanced(choices)), (QStringList{"SAT NOU|POP ANA|"}));
    choices.addColumn(1, w.offered(1, 1));
    EXPECT_EQ(lines(w.advanced(choices)), (QStringList{"SAT NOU|POP ANA||2"}));
}

// ------------------------------------------------------------------ selection lists

TEST(SelectionList, ChapterTwoAreasBoundedOnTheAAreaWithExtravilanAsTotalLessIntravilan)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"), 3, QStringLiteral("SC AGRO SRL"), QStringLiteral("1800101000001"));
    w.head(2, QStringLiteral("DEALU MARE"), QStringLiteral("ZAHARIA ANA"));
    w.head(3, QStringLiteral("DEALU MARE"), QStringLiteral("BARBU VASILE"));
    w.land(1, 1, 1000, 50.25, 0, 50.25);
    w.land(2, 1, 0, 99.99);
    w.land(3, 1, 1, 0, 0, 25);
    w.land(3, 1, 2, 0); // a code stored twice prints as two lines

    const SelectionResult result = w.selection(2, 1, QStringLiteral("1"));
    EXPECT_EQ(names(result.rows), (QStringList{"NUMEP", "CNP", "LOCALIT", "POZ", "VOLUM", "STRADA", "NR", "C1", "C4", "C5"}));
    EXPECT_EQ(lines(result.rows), (QStringList{"BARBU VASILE||DEALU MARE|3|1|||1|0.25|0.75",
                                               "BARBU VASILE||DEALU MARE|3|1|||2|0|2",
                                               "SC AGRO SRL > POP ION|1800101000001|SAT NOU|1|1|||1000.5025|0.5025|1000"}));
    EXPECT_EQ(result.valueColumns, (QStringList{"C1", "C4", "C5"}));
    EXPECT_EQ(total(result, 0), QStringLiteral("1003.5025"));
    EXPECT_EQ(total(result, 1), QStringLiteral("0.7525"));
    EXPECT_EQ(total(result, 2), QStringLiteral("1002.75"));
    EXPECT_EQ(result.subject, QStringLiteral("cu proprietarii de Teren arabil"));
    EXPECT_EQ(result.filterLine, QString());
}

TEST(SelectionList, BoundsPerChapter)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("A ONE"));
    w.head(2, QStringLiteral("SAT NOU"), QStringLiteral("B TWO"));
    w.head(3, QStringLiteral("SAT NOU"), QStringLiteral("C THREE"));
    w.count(5, 1, 2, 0);
    w.count(5, 2, 2, 4);
    w.count(9, 1, 2, 0);
    w.count(9, 2, 2, 4);
    w.halves(1, 1, 0, 10);
    w.halves(2, 1, 0, 4);
    w.halves(3, 1, 6, 0);
    w.count(7, 1, 14.1, 3);
    w.count(7, 2, 15, 3);
    w.building(1, 1, 60);
    w.building(1, 4, 45);
    w.building(2, 1, 99);
    w.building(2, 13, 2);
    w.building(3, 13, 1);

    struct Case {
        int chapter;
        double code;
        const char* minimum;
        const char* maximum;
        QStringList heads;
    } cases[] = {
        {5, 2, "0", "0", {"A ONE", "B TWO"}},   // chapter 5: 0 is no bound
        {9, 2, "0", "0", {"A ONE"}},            // chapter 9: 0 is a bound
        {5, 2, "1", "", {"B TWO"}},
        {8, 1, "5", "6", {"C THREE"}},          // (0, 10) lies in neither half-year
        {8, 1, "3", "", {"A ONE", "B TWO", "C THREE"}}, // (0, 4) listed
        {8, 1, "", "", {"A ONE", "B TWO", "C THREE"}},
        {7, 14.1, "", "", {"A ONE"}},
        {10, 1, "100", "", {"A ONE"}},          // 60 + 45 after summing
        {10, 1, "", "99", {"B TWO"}},
        {10, 4, "1", "1", {"C THREE"}},         // Grajduri: row 13
    };
    for (const Case& c : cases) {
        const SelectionResult result = w.selection(c.chapter, c.code, QString::fromLatin1(c.minimum), QString::fromLatin1(c.maximum));
        QStringList heads;
        for (const auto& row : result.rows.rows)
            heads << std::get<QString>(row[0]);
        EXPECT_EQ(heads, c.heads) << c.chapter << ":" << c.code << " " << c.minimum << ".." << c.maximum;
    }
    // A bound that is not a number is refused.
    EXPECT_THROW(w.selection(9, 2, QStringLiteral("abc")), ListRefusal);
}

TEST(SelectionList, ChapterOneListsEveryMatchingMemberOfTheSelectedHouseholds)
{
    ListsWorld w;
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"), 1, {}, {}, 1);
    w.person(1, QStringLiteral("POP MARIA"), 2, 2);
    w.person(1, QStringLiteral("POP ANA"), 3, 2);
    w.head(2, QStringLiteral("DEALU MARE"), QStringLiteral("ZAHARIA ELENA"), 1, {}, {}, 2);
    w.household(3, QStringLiteral("SAT NOU"), 1, 1, 3); // no head: not selected
    w.person(3, QStringLiteral("FARA CAP"), 2, 2);

    const SelectionResult women = w.selection(1, 1, QStringLiteral("2"), QStringLiteral("2"));
    EXPECT_EQ(names(women.rows), (QStringList{"LOCALIT", "NUMEP", "CNP", "CODSEX", "DATAN", "POZ", "VOLUM", "STRADA", "NR"}));
    QStringList listed;
    for (const QString& line : lines(women.rows))
        listed << line.section(QLatin1Char('|'), 0, 1);
    EXPECT_EQ(listed, (QStringList{"DEALU MARE|ZAHARIA ELENA", "SAT NOU|POP ANA", "SAT NOU|POP MARIA"}));
    EXPECT_EQ(total(women, 0), QStringLiteral("3"));
    ListFilter village;
    village.village = QStringLiteral("SAT NOU");
    const SelectionResult all = w.selection(1, 1, {}, {}, village);
    EXPECT_EQ(all.rows.rows.size(), 3u);
    EXPECT_EQ(all.subject, QStringLiteral("cu persoanele de pe raza localitatii SAT NOU"));
}

TEST(SelectionList, ChapterTenGroupsByHouseholdAndPairsEachDwellingWithItsCode)
{
    ListsWorld w;
    // Two heads of one name without a personal code in one village stay two lines.
    w.head(1, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"));
    w.head(2, QStringLiteral("SAT NOU"), QStringLiteral("POP ION"));
    w.building(1, 1, 50);
    w.building(1, 2, 3);  // material of dwelling a)
    w.building(1, 4, 20);
    w.building(1, 5, 1);  // material of dwelling b)
    w.building(1, 3, 1990);
    w.building(2, 1, 70);
    w.building(2, 2, 3);

    const SelectionResult surface = w.selection(10, 1);
    EXPECT_EQ(lines(surface.rows), (QStringList{"POP ION||SAT NOU|1|1|||70", "POP ION||SAT NOU|2|1|||70"}));
    EXPECT_EQ(total(surface, 0), QStringLiteral("140"));

    const SelectionResult material = w.selection(10, 2);
    EXPECT_EQ(names(material.rows).mid(7), (QStringList{"C2", "C1"}));
    EXPECT_EQ(lines(material.rows), (QStringList{"POP ION||SAT NOU|1|1|||1|20", "POP ION||SAT NOU|1|1|||3|50",
                                                 "POP ION||SAT NOU|2|1|||3|70"}));
    EXPECT_EQ(lines(w.selection(10, 2, QStringLiteral("2")).rows).size(), 2u);
    const SelectionResult years = w.selection(10, 3, QStringLiteral("1900"));
    EXPECT_EQ(lines(years.rows), (QStringList{"POP ION||SAT NOU|1|1|||1990|50"}));
    EXPECT_EQ(years.subject, QStringLiteral("Case de locuit. Anul darii in folosinta"));
}

TEST(SelectionList, SubjectAndFilterLines)
{
    ListFilter all;
    ListFilter chosen;
    chosen.village = QStringLiteral("SAT NOU");
    chosen.type = 2;
    chosen.volume = 4;
    struct Case {
        int chapter;
        double code;
        const char* name;
        QString subject;
        QString filterLine;
    } cases[] = {
        {3, 3, " - in arenda", "cu suprafete agricole primite  - in arenda", "Persoane 2, pe raza localitatii SAT NOU Volumul 4"},
        {3, 9, " - in arenda", "cu suprafete agricole date  - in arenda", "Persoane 2, pe raza localitatii SAT NOU Volumul 4"},
        {3, 15, "Utilizata", "cu Utilizata", "Persoane 2, pe raza localitatii SAT NOU Volumul 4"},
        {4, 1, "Grau", "cu suprafate arabile cultivate :Grau", "Persoane 2, pe raza localitatii SAT NOU Volumul 4"},
        {5, 2, "Meri", "cu pomi fructiferi :Meri", "Persoane 2, pe raza localitatii SAT NOU volumul 4"},
        {7, 1, "Bovine", "Animale domestice :Bovine", "Persoane 2, pe raza localitatii SAT NOU"},
        {8, 8, "x", "Vaci si Bovolite x", "posesori : Persoane 2, pe raza localitatii SAT NOU"},
        {8, 40, "x", "Cabaline. x", "posesori : Persoane 2, pe raza localitatii SAT NOU"},
        {9, 1, "Tractoare", "Utilaje, instalatii, mijloace de transport :Tractoare", "Persoane 2, pe raza localitatii SAT NOU"},
        {10, 4, "Grajduri", "Constructii pe raza localitatii. Grajduri", "Persoane 2, pe raza localitatii SAT NOU"},
        {2, 1, "Teren arabil", "cu proprietarii de Teren arabil", "pe raza localitatii SAT NOU"},
    };
    for (const Case& c : cases) {
        const ListRow row{c.code, QString::fromLatin1(c.name)};
        EXPECT_EQ(SelectionList::subjectLine(c.chapter, row, chosen), c.subject) << c.chapter << ":" << c.code;
        EXPECT_EQ(SelectionList::filterLine(c.chapter, chosen), c.filterLine) << c.chapter;
        EXPECT_EQ(SelectionList::filterLine(c.chapter, all), QString()) << c.chapter;
    }
}

TEST(AdvancedList, AFailedListLeavesNoWorkTablesAndAQuotedVillageIsMatchedExactly)
{
    ListsWorld w;
    const QString quoted = QStringLiteral("SAT \"O'NOU\"");
    w.head(1, quoted, QStringLiteral("POP ION"));
    w.head(2, QStringLiteral("SAT"), QStringLiteral("ALT ION"));
    w.count(9, 1, 1, 2);
    w.count(9, 2, 1, 3);
    ListFilter filter;
    filter.village = quoted;
    const SelectionResult listed = w.selection(9, 1, {}, {}, filter);
    EXPECT_EQ(lines(listed.rows), (QStringList{"POP ION||SAT \"O'NOU\"|1|1|||2"}));
    EXPECT_EQ(listed.filterLine, QStringLiteral("pe raza localitatii SAT \"O'NOU\""));

    ListChoices choices = columns(w, {{9, 1}});
    w.engine->forget(w.ctx.tablePath(QStringLiteral("CAP9.dbf")));
    ASSERT_TRUE(QFile::remove(w.ctx.tablePath(QStringLiteral("CAP9.dbf"))));
    EXPECT_THROW(w.advanced(choices), Error);
    for (const QString& file : AdvancedList::tableFiles())
        EXPECT_FALSE(QFileInfo::exists(QDir(w.home.home()).filePath(file))) << file.toStdString();
}
