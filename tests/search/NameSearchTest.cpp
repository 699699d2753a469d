#include "search/NameSearchWorld.h"

#include "search/NameSearch.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::search;
using velmor::test::NameSearchWorld;

namespace {

QStringList shownNames(const NameSearch& search)
{
    QStringList names;
    for (int row = 0; row < search.shownCount(); ++row)
        names << search.shownText(row, QStringLiteral("NUMEP"));
    return names;
}

int rowOf(const NameSearch& search, const QString& name)
{
    for (int row = 0; row < search.shownCount(); ++row)
        if (search.shownText(row, QStringLiteral("NUMEP")) == name)
            return row;
    return -1;
}

}

TEST(NameSearch, ListsEveryMemberOfTheYearByVillageAndName)
{
    NameSearchWorld w;
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    EXPECT_EQ(shownNames(search), (QStringList {"O'BRIEN ANA", "ION VASILE", "IONESCU MARIA", "POP ANA", "POPESCU ION",
                                                "POPESCU MARIA", "STAR*MAN", "STARMAN ION"}));
    EXPECT_EQ(search.shownText(0, QStringLiteral("LOCALIT")), QStringLiteral("DEALU MARE"));
    EXPECT_EQ(search.currentRow(), 0);

    // The grid's columns, in order.
    QStringList headings;
    for (int c = 0; c < search.rows().columnCount(); ++c)
        headings << search.rows().headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, NameSearch::headings());
    EXPECT_EQ(headings, (QStringList {"NUME si PRENUME", "TIP", "Volum", "Poz.", "C.N.P.", "Localitatea", "Societatea",
                                      "Adresa", "Domiciliul stabil"}));
}

TEST(NameSearch, OneVillage)
{
    NameSearchWorld w;
    NameSearch search(w.ctx);
    search.open(QStringLiteral("SAT NOU"));
    EXPECT_EQ(shownNames(search), (QStringList {"ION VASILE", "IONESCU MARIA", "POP ANA", "POPESCU ION", "POPESCU MARIA"}));
    EXPECT_EQ(search.village(), QStringLiteral("SAT NOU"));
}

TEST(NameSearch, Conditions)
{
    struct Case {
        const char* what;
        SearchCriteria criteria;
        QStringList expected;
    };
    auto name = [](const char* text) {
        SearchCriteria c;
        c.name = QString::fromUtf8(text);
        return c;
    };
    auto with = [](SearchCriteria c, auto change) {
        change(c);
        return c;
    };
    const QStringList everyone {"O'BRIEN ANA", "ION VASILE", "IONESCU MARIA", "POP ANA", "POPESCU ION",
                                "POPESCU MARIA", "STAR*MAN", "STARMAN ION"};
    const std::vector<Case> cases {
        {"nothing asked", {}, everyone},
        {"prefix of the family name", name("ION"), {"ION VASILE", "IONESCU MARIA"}},
        {"prefix of several names", name("POP"), {"POP ANA", "POPESCU ION", "POPESCU MARIA"}},
        {"heads only", with(name("POP"), [](SearchCriteria& c) { c.headsOnly = true; }), {"POP ANA", "POPESCU ION"}},
        {"name, heads only and street",
         with(name("POP"), [](SearchCriteria& c) { c.headsOnly = true; c.street = QStringLiteral("MORII"); }),
         {"POPESCU ION"}},
        {"one row per household", with({}, [](SearchCriteria& c) { c.headsOnly = true; }),
         {"O'BRIEN ANA", "IONESCU MARIA", "POP ANA", "POPESCU ION", "STAR*MAN"}},
        {"a quote in the name", name("O'B"), {"O'BRIEN ANA"}},
        {"a star in the name is a star", name("STAR*"), {"STAR*MAN"}},
        {"a whole name", name("POPESCU MARIA"), {"POPESCU MARIA"}},
        {"typed in small letters", name("pop"), {"POP ANA", "POPESCU ION", "POPESCU MARIA"}},
        {"a name of blanks still asks", name("  "), {}},
        {"personal code prefix", with({}, [](SearchCriteria& c) { c.cnp = QStringLiteral("180"); }), {"POPESCU ION"}},
        {"blank code asks nothing", with({}, [](SearchCriteria& c) { c.cnp = QStringLiteral("   "); }), everyone},
        {"street must match exactly", with({}, [](SearchCriteria& c) { c.street = QStringLiteral("MORI"); }), {}},
        {"street", with({}, [](SearchCriteria& c) { c.street = QStringLiteral("ULMILOR"); }), {"ION VASILE", "IONESCU MARIA"}},
        {"company with quotes",
         with({}, [](SearchCriteria& c) { c.company = QStringLiteral("AGRO \"VALEA\" SRL"); }), {"STAR*MAN", "STARMAN ION"}},
        {"number exactly", with({}, [](SearchCriteria& c) { c.number = QStringLiteral("12"); }), {"POPESCU ION", "POPESCU MARIA"}},
        {"number is not a prefix", with({}, [](SearchCriteria& c) { c.number = QStringLiteral("1"); }), {"POP ANA"}},
        {"stable domicile", with({}, [](SearchCriteria& c) { c.domicile = QStringLiteral("FAGARAS"); }), {"O'BRIEN ANA"}},
        {"blank fields ask nothing",
         with({}, [](SearchCriteria& c) { c.street = QStringLiteral(" "); c.company = QStringLiteral(" "); c.number = QStringLiteral(" "); c.domicile = QStringLiteral(" "); }),
         everyone},
    };
    NameSearchWorld w;
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    for (const Case& c : cases) {
        search.setCriteria(c.criteria);
        EXPECT_EQ(shownNames(search), c.expected) << c.what;
        EXPECT_EQ(search.currentRow(), c.expected.isEmpty() ? -1 : 0) << c.what;
    }
}

TEST(NameSearch, OpeningAgainClearsEverythingButHeadsOnly)
{
    NameSearchWorld w;
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    SearchCriteria c;
    c.name = QStringLiteral("POP");
    c.street = QStringLiteral("MORII");
    c.headsOnly = true;
    search.setCriteria(c);
    search.open(QStringLiteral("TOATE"));
    SearchCriteria kept;
    kept.headsOnly = true;
    EXPECT_EQ(search.criteria(), kept);
    EXPECT_EQ(search.shownCount(), 5);
}

TEST(NameSearch, AddressColumns)
{
    NameSearchWorld w;
    const QString longLoc(32, QLatin1Char('L'));
    const QString longStreet(32, QLatin1Char('S'));
    const QString longNumber(32, QLatin1Char('9'));
    w.household(6, QStringLiteral("SAT NOU"), 1, 3, 1, {{QStringLiteral("LOC"), QStringLiteral("X")}, {QStringLiteral("NR"), QStringLiteral("12")}});
    w.member(6, QStringLiteral("FARA STRADA"), 1);
    w.household(7, QStringLiteral("SAT NOU"), 2, 3, 2,
                {{QStringLiteral("JUDET"), QString(20, QLatin1Char('J'))}, {QStringLiteral("LOC"), longLoc},
                 {QStringLiteral("STR2"), longStreet}, {QStringLiteral("NR2"), longNumber}});
    w.member(7, QStringLiteral("LUNG"), 1);
    w.household(8, QStringLiteral("SAT NOU"), 3, 3, 3,
                {{QStringLiteral("LOC"), longLoc}, {QStringLiteral("STRADA"), longStreet}, {QStringLiteral("NR"), longNumber}});
    w.member(8, QStringLiteral("LUNG SEDIU"), 1);

    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    struct Case {
        const char* name;
        QString adresa;
        QString domstab;
    };
    const std::vector<Case> cases {
        {"FARA STRADA", QStringLiteral("jud.ALBA loc.X str. - nr.12"), QString()},
        {"POPESCU ION", QStringLiteral("jud.ALBA loc.SAT NOU str.MORII nr.12"), QString()},
        {"O'BRIEN ANA", QStringLiteral("str.LUNGA nr.7"), QStringLiteral("jud.BRASOV loc.FAGARAS")},
        {"STAR*MAN", QStringLiteral("jud.ALBA loc. - str. - nr. -"), QString()},
        {"POP ANA", QStringLiteral("str.GARII nr.1"), QStringLiteral("jud.CLUJ loc.DEJ")},
        {"LUNG", QStringLiteral("str.") + longStreet + QStringLiteral(" nr.") + longNumber,
         QStringLiteral("jud.") + QString(20, QLatin1Char('J')) + QStringLiteral(" loc.") + longLoc},
        {"LUNG SEDIU",
         QStringLiteral("jud.ALBA loc.") + longLoc + QStringLiteral(" str.") + longStreet + QStringLiteral(" nr.") + longNumber,
         QString()},
    };
    for (const Case& c : cases) {
        const int row = rowOf(search, QString::fromUtf8(c.name));
        ASSERT_GE(row, 0) << c.name;
        EXPECT_EQ(search.shownText(row, QStringLiteral("ADRESA")), c.adresa) << c.name;
        EXPECT_EQ(search.shownText(row, QStringLiteral("DOMSTAB")), c.domstab) << c.name;
    }
    // The grid's address columns are as wide as the longest texts.
    const grid::QueryTableModel& rows = search.rows();
    EXPECT_GE(rows.column(rows.columnOfField(QStringLiteral("ADRESA"))).width, 4 + 4 + 5 + 32 + 5 + 32 + 4 + 32);
    EXPECT_GE(rows.column(rows.columnOfField(QStringLiteral("DOMSTAB"))).width, 4 + 20 + 5 + 32);

    EXPECT_EQ(searchAddress(0, QStringLiteral("ALBA"), {}, {}, {}, {}, {}, {}).adresa, QString());
    EXPECT_EQ(searchAddress(5, QStringLiteral("ALBA"), {}, {}, {}, {}, {}, {}).domstab, QString());
}

TEST(NameSearch, ResultRowsAndChoosing)
{
    NameSearchWorld w;
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    SearchCriteria c;
    c.name = QStringLiteral("POP");
    search.setCriteria(c);
    ASSERT_EQ(search.shownCount(), 3);

    // Up at the first row and Down at the last stay.
    search.moveUp();
    EXPECT_EQ(search.currentRow(), 0);
    search.moveDown();
    search.moveDown();
    EXPECT_EQ(search.currentRow(), 2);
    search.moveDown();
    EXPECT_EQ(search.currentRow(), 2);
    search.moveUp();
    EXPECT_EQ(search.currentRow(), 1);
    EXPECT_EQ(search.choose(), std::optional<qint64>(1));

    // Household codes are 64-bit.
    search.setCurrentRow(0);
    EXPECT_EQ(search.choose(), std::optional<qint64>(NameSearchWorld::Big));
    const HouseholdPlace place = search.currentPlace();
    EXPECT_EQ(place.codid, NameSearchWorld::Big);
    EXPECT_EQ(place.type, QStringLiteral("4"));
    EXPECT_EQ(place.village, QStringLiteral("SAT NOU"));
    EXPECT_EQ(place.position, 1);
    EXPECT_EQ(place.volume, 2);
    EXPECT_TRUE(w.ui.balloons().empty());

    // Nobody to choose: the balloon at the button, no choice.
    c.name = QStringLiteral("ZZZ");
    search.setCriteria(c);
    EXPECT_EQ(search.currentRow(), -1);
    EXPECT_EQ(search.choose(), std::nullopt);
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons()[0].text, QStringLiteral("Nu ati ales pe nimeni !"));
    EXPECT_EQ(w.ui.balloons()[0].anchor, QStringLiteral("B11"));
    EXPECT_EQ(search.currentPlace().codid, -1);

    search.close();
    EXPECT_FALSE(search.isOpen());
    EXPECT_EQ(search.shownCount(), 0);
}

TEST(NameSearch, ChoiceLists)
{
    NameSearchWorld w;
    NameSearch search(w.ctx);
    EXPECT_EQ(search.companies(), (QStringList {"AGRO \"VALEA\" SRL", "FERMA VECHE SA"}));
    EXPECT_EQ(search.streets(), (QStringList {"GARII", "MORII", "ULMILOR"}));
    EXPECT_EQ(search.domiciles(), (QStringList {"DEJ", "FAGARAS", "SAT NOU"}));
}

TEST(NameSearch, MissingTableIsAnError)
{
    NameSearchWorld w;
    QFile::remove(w.home.dataFile(QStringLiteral("CAP1.dbf")));
    NameSearch search(w.ctx);
    EXPECT_THROW(search.open(QStringLiteral("TOATE")), std::exception);
    EXPECT_FALSE(search.isOpen());
}

// A clerk types with a Romanian keyboard: comma-below letters and small letters find the names
// stored with cedillas in capitals; the listed values compare as stored.
TEST(NameSearch, RomanianKeyboard)
{
    NameSearchWorld w;
    auto t = [](const char* v) { return dbf::Value(QString::fromUtf8(v)); };
    w.household(30, QStringLiteral("SAT NOU"), 1, 3, 1, {{QStringLiteral("STRADA"), t("\u015eCOLII")}, {QStringLiteral("NR"), t("\u021a1")}});
    w.member(30, QString::fromUtf8("\u0162\u0102RAN \u015eTEFAN"), 1);
    w.member(30, QString::fromUtf8("B\u0102LAN ANA"), 2);
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    const QString taran = QString::fromUtf8("\u0162\u0102RAN \u015eTEFAN");
    const QString balan = QString::fromUtf8("B\u0102LAN ANA");
    const struct {
        const char* what;
        SearchCriteria criteria;
        QStringList expected;
    } cases[] = {
        {"comma-below capitals", {QString::fromUtf8("\u021a\u0102RAN")}, {taran}},
        {"comma-below small letters", {QString::fromUtf8("\u021b\u0103ran \u0219t")}, {taran}},
        {"cedilla small letters", {QString::fromUtf8("\u0163\u0103ran")}, {taran}},
        {"small letters with breve", {QString::fromUtf8("b\u0103lan")}, {balan}},
        {"street typed with comma-below", {QString(), false, QString(), QString::fromUtf8("\u0218COLII")}, {balan, taran}},
        {"number typed in small letters", {QString(), false, QString(), QString(), QString(), QString::fromUtf8("\u021b1")}, {balan, taran}},
    };
    for (const auto& c : cases) {
        search.setCriteria(c.criteria);
        EXPECT_EQ(shownNames(search), c.expected) << c.what;
    }
    EXPECT_EQ(typedSearchText(QString::fromUtf8("\u0219i \u021b \u00e2 \u00ee abc")), QString::fromUtf8("\u015eI \u0162 \u00c2 \u00ce ABC"));
}

// An older year whose household carries the same code (as older registers may) adds no rows:
// each member is listed with the household of the member's own year.
TEST(NameSearch, AnOlderHouseholdWithTheSameCodeAddsNothing)
{
    NameSearchWorld w;
    w.household(1, QStringLiteral("VALEA LUNGA"), 2, 8, 8, {}, 2009);
    w.household(2, QStringLiteral("DEALU MARE"), 1, 9, 9, {}, 2011);
    NameSearch search(w.ctx);
    search.open(QStringLiteral("TOATE"));
    EXPECT_EQ(shownNames(search), (QStringList {"O'BRIEN ANA", "ION VASILE", "IONESCU MARIA", "POP ANA", "POPESCU ION",
                                                "POPESCU MARIA", "STAR*MAN", "STARMAN ION"}));
    const int row = rowOf(search, QStringLiteral("POPESCU ION"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(search.shownText(row, QStringLiteral("LOCALIT")), QStringLiteral("SAT NOU"));
}
