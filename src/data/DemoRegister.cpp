#include "data/DemoRegister.h"

#include "data/ChapterCatalogue.h"
#include "data/Schema.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "core/Interaction.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <vector>

namespace velmor::data {

namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers: SplitMix64, the same sequence on every platform and standard library.

class Rng {
public:
    explicit Rng(quint64 seed)
        : m_state(seed)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Inclusive range.
    qint64 range(qint64 lo, qint64 hi)
    {
        if (hi <= lo)
            return lo;
        return lo + qint64(next() % quint64(hi - lo + 1));
    }
    int irange(int lo, int hi) { return int(range(lo, hi)); }
    bool percent(int p) { return range(0, 99) < p; }
    bool permille(int p) { return range(0, 999) < p; }

    template <typename List>
    const auto& pick(const List& list)
    {
        return list[size_t(range(0, qint64(std::size(list)) - 1))];
    }

    // Index chosen with the given weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = irange(0, total - 1);
        int i = 0;
        for (int w : weights) {
            if (r < w)
                return i;
            r -= w;
            ++i;
        }
        return i - 1;
    }

    // A value changed by up to `percent` per cent either way, never below zero.
    qint64 drift(qint64 value, int percent)
    {
        if (value <= 0)
            return value;
        const qint64 span = std::max<qint64>(1, value * percent / 100);
        return std::max<qint64>(0, value + range(-span, span));
    }

private:
    quint64 m_state;
};

// ---------------------------------------------------------------------------------------------
// Names and places.

const char* const kFamilyNames[] = {
    "POPESCU", "IONESCU", "POPA", "RADU", "DUMITRU", "STAN", "STOICA", "GHEORGHE", "MATEI",
    "CIOBANU", "RUSU", "MUNTEANU", "MOLDOVAN", "NISTOR", "TOMA", "LUPU", "OPREA", "DINU", "BARBU",
    "CONSTANTIN", "\u015EERBAN", "\u0162\u0102RAN", "AVRAM", "BUCUR", "CR\u0102CIUN", "MIHAI",
    "NEAGU", "URSU", "VASILE", "ZAHARIA", "COSTACHE", "AMARIEI", "APOSTOL", "BUTNARU", "CHIRIAC",
    "GRIGORA\u015E", "HU\u0162ANU", "IFTIMIE", "ROTARU", "SAVIN", "TIMOFTE", "UNGUREANU",
    "B\u0102LAN", "C\u0102LIN", "DOBRE", "FLOREA", "ENACHE", "ALBU", "CIOCOIU", "PETRARU",
};

const char* const kMaleNames[] = {
    "ION", "GHEORGHE", "VASILE", "CONSTANTIN", "NICOLAE", "MIHAI", "ANDREI", "ALEXANDRU",
    "DUMITRU", "PETRU", "IOAN", "FLORIN", "DANIEL", "MARIUS", "ADRIAN", "CRISTIAN", "GABRIEL",
    "\u015ETEFAN", "COSTEL", "DORIN", "GRIGORE", "TUDOR", "VIOREL", "LUCIAN", "OVIDIU",
    "R\u0102ZVAN", "BOGDAN", "IONU\u0162", "MIRCEA", "EMIL",
};

const char* const kFemaleNames[] = {
    "MARIA", "ELENA", "ANA", "IOANA", "GEORGETA", "ELISABETA", "VIORICA", "MIHAELA", "ANDREEA",
    "CRISTINA", "DANIELA", "FLORICA", "RODICA", "ALINA", "\u015ETEFANIA", "AURICA", "DOMNICA",
    "LUMINI\u0162A", "GABRIELA", "NICOLETA", "ROXANA", "CAMELIA", "VASILICA", "MARINELA", "CORINA",
    "LILIANA", "OANA", "BIANCA", "LAURA", "TEODORA",
};

const char* const kVillages[] = {"STEJARU", "VALEA SEACA", "DEALU MORII", "POIANA", "M\u0102GURENI"};
constexpr int kVillageWeights[] = {35, 22, 18, 15, 10};

const char* const kStreets[] = {
    "PRINCIPALA", "BISERICII", "SCOLII", "MORII", "LIVEZII", "PADURII", "VIILOR", "FANTANII",
    "UNIRII", "1 DECEMBRIE 1918", "MIHAI EMINESCU", "ION CREANGA", "GARII", "PODULUI",
    "CIMITIRULUI", "DEALULUI", "VALEA RECE", "PRUNDULUI", "CRANGULUI", "STEFAN CEL MARE",
};

const char* const kCouncilCounty = "NEAMT";
constexpr int kCouncilCountyCode = 27;

struct Place {
    const char* county;
    const char* locality;
    const char* siruta;
};

const Place kPlacesElsewhere[] = {
    {"NEAMT", "PIATRA NEAMT", "120726"},
    {"NEAMT", "ROMAN", "121467"},
    {"BACAU", "BACAU", "20297"},
    {"IASI", "IASI", "95060"},
    {"SUCEAVA", "SUCEAVA", "146272"},
    {"BRASOV", "BRASOV", "40198"},
    {"CLUJ", "CLUJ-NAPOCA", "54975"},
    {"CONSTANTA", "CONSTANTA", "60419"},
    {"SECTOR 3 - MUNICIPIUL BUCURESTI", "BUCURESTI", "179169"},
    {"PRAHOVA", "PLOIESTI", "130534"},
    {"VASLUI", "VASLUI", "161794"},
    {"HARGHITA", "GHEORGHENI", "83640"},
    {"TIMIS", "TIMISOARA", "155243"},
};

const char* const kCityStreets[] = {
    "REPUBLICII", "LIBERTATII", "MIHAI VITEAZU", "NICOLAE BALCESCU", "DECEBAL", "TRAIAN",
    "CUZA VODA", "AVIATORILOR", "INDEPENDENTEI", "BUCEGI", "PRIMAVERII", "VICTORIEI",
};

const char* const kDeedKinds[] = {
    "TITLU DE PROPRIETATE", "CONTRACT DE VANZARE-CUMPARARE", "CERTIFICAT DE MOSTENITOR",
    "ADEVERINTA DE PROPRIETATE", "PROCES VERBAL DE PUNERE IN POSESIE",
};

const char* const kFieldBlocks[] = {
    "LA PADURE", "VALEA LUPULUI", "DEALUL MARE", "SUB COASTA", "LUNCA", "LA CRUCE", "GURA VAII",
    "TARLAUA MARE", "LA IAZ", "PISCUL VIILOR", "CAMPUL DE SUS", "CAMPUL DE JOS", "LA SALCAMI",
};

const char* const kBoundaries[] = {
    "DRUM DE EXPLOATARE", "DRUMUL COMUNAL", "CANAL DE IRIGATII", "PADUREA STATULUI", "PARAUL SATULUI",
    "DRUMUL JUDETEAN", "HOTAR CU COMUNA VECINA",
};

const char* const kTenants[] = {
    "SC AGRO STEJARU SRL", "ASOCIATIA AGRICOLA STEJARU", "SC CEREALCOM SA", "SC FERMA VERDE SRL",
};

const char* const kHouseholdNotes[] = {
    "Terenul este dat in arenda.",
    "Beneficiar de ajutor pentru incalzirea locuintei.",
    "Gospodarie nelocuita in timpul iernii.",
    "Proprietarul locuieste la copii, in alta localitate.",
    "Gospod\u0103rie mo\u015Ftenit\u0103, succesiune nefinalizat\u0103.",
    "A depus cerere de subventie pentru terenul agricol.",
};

const char* const kMemberNotes[] = {"PLECAT IN STRAINATATE", "SALARIAT", "CASNICA", "AGRICULTOR", "SOMER"};

// Kinship of the member dialog: text and code.
struct Kinship {
    const char* text;
    int code;
};
const Kinship kKinships[] = {
    {"Cap de gospodarie", 1}, {"Sot / Sotie", 2},     {"Fiu / Fiica", 3},   {"Alte rude", 4},
    {"Neinrudit", 5},         {"Nepot / Nepoata", 4}, {"Ginere / Nora", 4}, {"Concubin", 5},
};
enum KinIndex { KinHead = 0, KinSpouse = 1, KinChild = 2, KinRelative = 3, KinUnrelated = 4, KinGrandchild = 5, KinInLaw = 6 };

// Plot categories of the plot dialog and their chapter 2 row (0-based).
const char* const kPlotCategories[] = {
    "TEREN ARABIL", "PASUNI NATURALE", "FANETE NATURALE", "VII, PEPINIERE VITICOLE", "LIVEZI",
    "FOND FORESTIER", "CURTI SI CLADIRI", "ALTE TERENURI",
};
constexpr int kCategoryRow[] = {0, 1, 2, 3, 5, 8, 9, 10};
enum PlotCategory { Arable = 0, Pasture, Hay, Vines, Orchard, Forest, Yard, OtherLand };

// Chapter 4 crops a household may grow (positions), with the irrigated row of chapter 6 each
// counts in (0-based; 9 = "alte culturi").
struct Crop {
    int position;
    int irrigatedRow;
};
const Crop kCrops[] = {
    {1, 1}, {2, 1}, {3, 9}, {4, 9}, {5, 9}, {6, 2}, {7, 9}, {8, 9}, {9, 9}, {12, 3}, {13, 9},
    {14, 4}, {16, 5}, {17, 9}, {19, 9}, {20, 7}, {22, 6}, {23, 6}, {24, 6}, {25, 6}, {26, 9},
    {27, 8}, {29, 9}, {30, 9}, {31, 9}, {32, 9},
};

// ---------------------------------------------------------------------------------------------
// Household state carried from year to year.

struct Person {
    QString family;
    QString first;
    int sex = 1; // 1 male, 2 female
    QDate birth;
    QString cnp;
    int kinship = KinHead;
    QString notes;

    QString name() const { return (family + QLatin1Char(' ') + first).left(40); }
};

struct Plot {
    int category = Arable;
    bool intra = false;
    qint64 m2 = 0;
    QString deed, deedNumber, deedDate, block, blockNumber, parcel, cadastral, worker, notes;
    QString north, south, east, west;
    QStringList holders;
    QStringList pictures;
};

struct Household {
    int village = 0;
    int type = 1;
    int volume = 1;
    int position = 1;
    qint64 role = 0;
    QString street, number, county, locality, street2, number2, siruta, unit, subunit, sirues, fiscalCode;
    std::vector<Person> members;
    std::vector<Plot> plots;

    std::array<qint64, 3> otherLand {}; // chapter 2 rows 1-3 in other localities, m2
    int vinesBearing = 100;             // per cent of the vines in bearing
    int orchardBearing = 100;
    std::array<qint64, 5> received {};  // chapter 3 rows 3-7, m2
    std::array<int, 5> givenPercent {}; // chapter 3 rows 9-13, per cent of the arable land
    int givenToCompanies = 0;           // per cent of row 9 given to companies
    std::vector<std::pair<int, int>> crops; // chapter 4 position, weight
    int unsownPercent = 0;
    int lucernePercent = 0;
    int irrigatedPercent = 0;
    std::array<qint64, 13> trees {};    // chapter 5 by position (0 and the total unused)
    std::array<qint64, 33> animals {};  // chapter 7 by position; totals filled when written
    qint64 sheepOther = 0, goatYoung = 0, pigFattening = 0, foals = 0, poultryOther = 0;
    std::array<qint64, 42> machines {};
    std::array<qint64, 19> buildings {}; // chapter 10 DETALII x 100
    std::array<QString, 19> buildingNotes;
    QString notes;
};

// A chapter 2 row: A, B (in the locality), C (other localities), I (inside the built-up area).
struct AreaRow {
    qint64 a = 0, b = 0, c = 0, i = 0;
};

// ---------------------------------------------------------------------------------------------
// Codes.

// Check digit of a personal numeric code: key 279146358279, remainder 10 counts as 1.
int cnpCheckDigit(const QString& first12)
{
    static const int key[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * key[i];
    const int r = sum % 11;
    return r == 10 ? 1 : r;
}

// Check digit of a tax code (key 753217532 over the number padded to nine digits).
QString withTaxCheckDigit(qint64 body)
{
    static const int key[9] = {7, 5, 3, 2, 1, 7, 5, 3, 2};
    const QString digits = QString::number(body).rightJustified(9, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (digits[i].unicode() - '0') * key[i];
    int check = sum * 10 % 11;
    if (check == 10)
        check = 0;
    return QString::number(body) + QString::number(check);
}

QString two(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------

class Generator {
public:
    Generator(const DemoOptions& options, const QString& dataDir, Interaction& ui)
        : m_options(options)
        , m_dir(dataDir)
        , m_ui(ui)
        , m_rng(options.seed ^ 0x56454C4D4F52ULL)
    {
    }

    DemoSummary run();

private:
    // Households and their members.
    // `family` replaces the generated members when given (a new household of known people).
    Household makeHousehold(int village, int type, int year, bool young, const std::vector<Person>* family = nullptr);
    void makeFamily(Household& h, int year, bool young);
    Person makePerson(const QString& family, int sex, int birthYear, int kinship, int countyCode);
    QString makeCnp(int sex, const QDate& birth, int countyCode);
    QDate randomBirth(int year);
    void makeLand(Household& h, int year);
    Plot makePlot(const Household& h, int category, bool intra, qint64 m2, int year);
    void makeFarm(Household& h);
    void chooseCrops(Household& h);
    void makeBuildings(Household& h, int year);
    void makeTrees(Household& h);
    QString personName();
    QString holderName(const Household& h) const;

    // Year to year.
    void carryOver(int year);
    void changeMembers(Household& h, int year, std::vector<Household>& leaving);
    void changeFarm(Household& h);
    void placeNew(Household& h);

    // Writing.
    void openTables();
    void prepareTemplates(int year);
    void writeYear(int year);
    void writeHousehold(const Household& h, int year, qint64 codid);
    void writeSettings();
    void writeVillages();

    DemoOptions m_options;
    QString m_dir;
    Interaction& m_ui;
    Rng m_rng;
    std::vector<Household> m_households;
    QSet<QString> m_cnps;
    std::map<std::pair<int, int>, std::pair<int, int>> m_lastSlot; // (village, type) -> (volume, position)
    std::pair<int, int> m_lastAdded {0, 0};
    qint64 m_nextRole = 1;
    int m_year = 0; // the year being generated
    std::array<QStringList, 5> m_villageStreets;

    std::map<QString, std::unique_ptr<dbf::DbfBulkWriter>> m_tables;
    std::array<dbf::DbfBulkWriter*, 12> m_chapters {}; // CAP1 to CAP11 by number
    std::array<QByteArray, 12> m_templates; // per chapter, all rows of a household
    qint64 m_codid = 0, m_cod1 = 0, m_codt = 0;
    DemoSummary m_summary;
};

QString Generator::personName()
{
    const bool male = m_rng.percent(50);
    return QString::fromUtf8(m_rng.pick(kFamilyNames)) + QLatin1Char(' ')
        + QString::fromUtf8(male ? m_rng.pick(kMaleNames) : m_rng.pick(kFemaleNames));
}

QDate Generator::randomBirth(int year)
{
    const int month = m_rng.irange(1, 12);
    const int day = m_rng.irange(1, QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

QString Generator::makeCnp(int sex, const QDate& birth, int countyCode)
{
    const int s = birth.year() < 2000 ? (sex == 1 ? 1 : 2) : (sex == 1 ? 5 : 6);
    for (;;) {
        const QString body = QString::number(s) + two(birth.year() % 100) + two(birth.month()) + two(birth.day())
            + two(countyCode) + QString::number(m_rng.irange(1, 999)).rightJustified(3, QLatin1Char('0'));
        const QString cnp = body + QString::number(cnpCheckDigit(body));
        if (!m_cnps.contains(cnp)) {
            m_cnps.insert(cnp);
            return cnp;
        }
    }
}

Person Generator::makePerson(const QString& family, int sex, int birthYear, int kinship, int countyCode)
{
    Person p;
    p.family = family;
    p.sex = sex;
    p.first = QString::fromUtf8(sex == 1 ? m_rng.pick(kMaleNames) : m_rng.pick(kFemaleNames));
    p.birth = randomBirth(birthYear);
    p.cnp = makeCnp(sex, p.birth, countyCode);
    p.kinship = kinship;
    if (m_rng.percent(12)) {
        // A remark that fits the member's age.
        const int age = m_year - birthYear;
        if (age >= 7 && age <= 18)
            p.notes = QStringLiteral("ELEV");
        else if (age >= 19 && age <= 24)
            p.notes = m_rng.percent(60) ? QStringLiteral("STUDENT") : QStringLiteral("PLECAT IN STRAINATATE");
        else if (age >= 62)
            p.notes = QStringLiteral("PENSIONAR");
        else if (age >= 25)
            p.notes = QString::fromLatin1(m_rng.pick(kMemberNotes));
    }
    return p;
}

void Generator::makeFamily(Household& h, int year, bool young)
{
    const auto county = [&] {
        if (h.type == 1)
            return m_rng.percent(85) ? kCouncilCountyCode : m_rng.irange(1, 46);
        return m_rng.irange(1, 46);
    };
    int size;
    if (h.type == 1)
        size = young ? m_rng.irange(1, 3) : m_rng.weighted({3, 20, 30, 18, 15, 9, 5});
    else if (h.type == 2)
        size = m_rng.weighted({10, 55, 35});
    else
        size = m_rng.percent(30) ? 1 : 0;
    if (size == 0)
        return;

    const QString family = QString::fromUtf8(m_rng.pick(kFamilyNames));
    const int headAge = young ? m_rng.irange(21, 34) : m_rng.irange(25, 88);
    const int headSex = (size == 1 && headAge > 70) ? (m_rng.percent(55) ? 2 : 1) : (m_rng.percent(78) ? 1 : 2);
    h.members.push_back(makePerson(family, headSex, year - headAge, KinHead, county()));

    if (size >= 2 && headAge < 86 && m_rng.percent(88)) {
        const int age = std::max(18, headAge + m_rng.irange(-6, 6));
        Person spouse = makePerson(family, 3 - headSex, year - age, KinSpouse, county());
        if (m_rng.percent(6)) {
            spouse.family = QString::fromUtf8(m_rng.pick(kFamilyNames));
            spouse.kinship = 7; // concubin
        }
        h.members.push_back(spouse);
    }
    while (int(h.members.size()) < size) {
        const int roll = m_rng.irange(0, 99);
        if (roll < 70 && headAge >= 20) {
            const int age = headAge - m_rng.irange(20, 38);
            if (age >= 0) {
                h.members.push_back(makePerson(family, m_rng.irange(1, 2), year - age, KinChild, county()));
                continue;
            }
        }
        if (roll < 82 && headAge >= 42) {
            const int age = headAge - m_rng.irange(42, 60);
            if (age >= 0) {
                h.members.push_back(makePerson(family, m_rng.irange(1, 2), year - age, KinGrandchild, county()));
                continue;
            }
        }
        if (roll < 90 && headAge >= 40) {
            const int age = headAge - m_rng.irange(18, 30);
            h.members.push_back(makePerson(QString::fromUtf8(m_rng.pick(kFamilyNames)), m_rng.irange(1, 2),
                                           year - std::max(18, age), KinInLaw, county()));
            continue;
        }
        if (roll < 96 && headAge <= 65) {
            const int age = std::min(99, headAge + m_rng.irange(22, 32));
            h.members.push_back(makePerson(family, m_rng.irange(1, 2), year - age, KinRelative, county()));
            continue;
        }
        h.members.push_back(makePerson(QString::fromUtf8(m_rng.pick(kFamilyNames)), m_rng.irange(1, 2),
                                       year - m_rng.irange(18, 70), KinUnrelated, county()));
    }
}

QString Generator::holderName(const Household& h) const
{
    if (h.type >= 3)
        return h.unit.left(40);
    for (const Person& p : h.members) {
        if (p.kinship == KinHead)
            return p.name();
    }
    return {};
}

Plot Generator::makePlot(const Household& h, int category, bool intra, qint64 m2, int year)
{
    Plot p;
    p.category = category;
    p.intra = intra;
    p.m2 = m2;
    p.deed = QString::fromLatin1(h.type >= 3 && m_rng.percent(50) ? "CONTRACT DE VANZARE-CUMPARARE" : m_rng.pick(kDeedKinds));
    p.deedNumber = m_rng.percent(60) ? QStringLiteral("%1/%2").arg(m_rng.irange(1, 3999)).arg(m_rng.irange(1, 120))
                                     : QString::number(m_rng.irange(1, 25000));
    const int deedYear = m_rng.irange(1991, std::max(1991, year - 1));
    p.deedDate = randomBirth(deedYear).toString(QStringLiteral("dd.MM.yyyy"));
    if (intra) {
        p.block = (QStringLiteral("INTRAVILAN ") + QString::fromUtf8(kVillages[h.village])).left(32);
        p.blockNumber = m_rng.percent(50) ? QString::number(m_rng.irange(1, 30)) : QString();
    } else {
        p.block = QString::fromLatin1(m_rng.pick(kFieldBlocks));
        p.blockNumber = QString::number(m_rng.irange(1, 140));
    }
    p.parcel = QString::number(m_rng.irange(1, 999));
    if (m_rng.percent(15))
        p.parcel += QStringLiteral("/") + QString::number(m_rng.irange(1, 9));
    else if (m_rng.percent(8))
        p.parcel += QLatin1Char('A');
    if (m_rng.percent(60))
        p.cadastral = QString::number(m_rng.irange(50000, 59999));
    const QString holder = holderName(h);
    if (category == Yard || m_rng.percent(75))
        p.worker = holder.isEmpty() ? QString() : holder;
    else if (m_rng.percent(60))
        p.worker = QString::fromLatin1(m_rng.pick(kTenants));
    const auto neighbour = [&]() -> QString {
        if (m_rng.percent(55))
            return personName();
        if (intra)
            return QStringLiteral("STR. ") + QString::fromLatin1(m_rng.pick(kStreets));
        if (m_rng.percent(50))
            return QStringLiteral("DE ") + QString::number(m_rng.irange(1, 900));
        return QString::fromLatin1(m_rng.pick(kBoundaries));
    };
    p.north = neighbour();
    p.south = neighbour();
    p.east = neighbour();
    p.west = neighbour();
    if (intra && h.type != 2 && m_rng.percent(50))
        p.notes = QStringLiteral("STR. %1 NR. %2").arg(h.street, h.number);
    if (!holder.isEmpty())
        p.holders << holder;
    if (h.type <= 2) {
        for (const Person& m : h.members) {
            if (m.kinship == KinSpouse && m_rng.percent(60))
                p.holders << m.name();
        }
        if (p.holders.isEmpty())
            p.holders << personName(); // the title is still on a former owner
    }
    if (m_rng.percent(4)) {
        const int count = m_rng.irange(1, 2);
        for (int k = 1; k <= count; ++k)
            p.pictures << QStringLiteral("C:\\Documente\\Scanari\\Parcela_%1_%2.jpg").arg(p.parcel.left(4).remove(QLatin1Char('/'))).arg(k);
    }
    return p;
}

void Generator::makeLand(Household& h, int year)
{
    const auto add = [&](int category, bool intra, qint64 lo, qint64 hi, int parcels) {
        for (int k = 0; k < parcels; ++k)
            h.plots.push_back(makePlot(h, category, intra, m_rng.range(lo, hi), year));
    };
    switch (h.type) {
    case 1:
        if (m_rng.percent(95))
            add(Yard, true, 300, 3000, 1);
        if (m_rng.percent(60))
            add(Arable, true, 500, 4000, 1);
        if (m_rng.percent(70))
            add(Arable, false, 2000, 15000, m_rng.irange(1, 5));
        if (m_rng.percent(15))
            add(Pasture, false, 3000, 20000, 1);
        if (m_rng.percent(20))
            add(Hay, false, 2000, 10000, m_rng.irange(1, 2));
        if (m_rng.percent(25))
            add(Vines, m_rng.percent(50), 300, 3000, 1);
        if (m_rng.percent(20))
            add(Orchard, m_rng.percent(60), 500, 5000, 1);
        if (m_rng.percent(10))
            add(Forest, false, 5000, 30000, 1);
        if (m_rng.percent(3))
            add(OtherLand, m_rng.percent(50), 100, 2000, 1);
        break;
    case 2:
        if (m_rng.percent(30))
            add(Yard, true, 300, 2000, 1);
        add(Arable, false, 3000, 20000, m_rng.irange(1, 3));
        if (m_rng.percent(25))
            add(Hay, false, 2000, 10000, 1);
        if (m_rng.percent(10))
            add(Forest, false, 5000, 20000, 1);
        break;
    case 3:
        add(Yard, true, 5000, 20000, 1);
        add(Arable, false, 10000, 300000, m_rng.irange(3, 12));
        if (m_rng.percent(40))
            add(Pasture, false, 20000, 200000, m_rng.irange(1, 3));
        if (m_rng.percent(20))
            add(Orchard, false, 10000, 80000, 1);
        break;
    default:
        add(Arable, false, 10000, 200000, m_rng.irange(2, 8));
        if (m_rng.percent(20))
            add(Hay, false, 10000, 50000, 1);
        break;
    }
    h.vinesBearing = m_rng.irange(60, 100);
    h.orchardBearing = m_rng.irange(50, 100);
    if (h.type == 1 && m_rng.percent(8))
        h.otherLand[0] = m_rng.range(1000, 20000);
    if (h.type == 1 && m_rng.percent(3))
        h.otherLand[2] = m_rng.range(1000, 8000);
    if (h.type == 3 && m_rng.percent(10))
        h.otherLand[0] = m_rng.range(50000, 500000);

    // Chapter 3: land given and received.
    if ((h.type == 1 || h.type == 2) && m_rng.percent(h.type == 2 ? 40 : 8)) {
        const int row = m_rng.weighted({70, 20, 5, 0, 5});
        h.givenPercent[size_t(row)] = m_rng.irange(30, 100);
        if (row == 0)
            h.givenToCompanies = m_rng.percent(50) ? 100 : 0;
    }
    if (h.type == 1 && m_rng.percent(5))
        h.received[size_t(m_rng.weighted({60, 30, 5, 0, 5}))] = m_rng.range(10000, 50000);
    if (h.type == 3)
        h.received[0] = m_rng.range(100000, 3000000);
    chooseCrops(h);
}

void Generator::chooseCrops(Household& h)
{
    h.crops.clear();
    const auto add = [&](int position, int weight) { h.crops.emplace_back(position, weight); };
    if (h.type >= 3) {
        add(1, m_rng.irange(20, 40));
        add(6, m_rng.irange(20, 40));
        add(12, m_rng.irange(5, 25));
        if (m_rng.percent(50))
            add(13, m_rng.irange(5, 15));
        if (m_rng.percent(30))
            add(14, m_rng.irange(5, 15));
        if (m_rng.percent(30))
            add(3, m_rng.irange(5, 15));
    } else {
        add(6, m_rng.irange(20, 50));
        if (m_rng.percent(60))
            add(1, m_rng.irange(10, 30));
        if (m_rng.percent(50))
            add(20, m_rng.irange(5, 15));
        if (m_rng.percent(40))
            add(22, m_rng.irange(1, 4));
        if (m_rng.percent(30))
            add(23, m_rng.irange(1, 3));
        if (m_rng.percent(25))
            add(24, m_rng.irange(1, 3));
        if (m_rng.percent(30))
            add(25, m_rng.irange(1, 3));
        if (m_rng.percent(35))
            add(27, m_rng.irange(5, 25));
        if (m_rng.percent(15))
            add(9, m_rng.irange(2, 8));
        if (m_rng.percent(10))
            add(12, m_rng.irange(5, 20));
        if (m_rng.percent(8))
            add(5, m_rng.irange(3, 10));
        if (m_rng.percent(5))
            add(m_rng.pick(kCrops).position, m_rng.irange(2, 8));
    }
    h.unsownPercent = m_rng.percent(30) ? m_rng.irange(1, 10) : 0;
    h.lucernePercent = m_rng.irange(0, 100);
}

void Generator::makeFarm(Household& h)
{
    auto& a = h.animals; // by position - 1
    auto& m = h.machines;
    if (h.type == 1 || (h.type == 2 && m_rng.percent(5))) {
        if (m_rng.percent(35)) {
            a[1] = m_rng.percent(10) ? m_rng.irange(4, 10) : m_rng.irange(1, 3); // cows
            a[2] = m_rng.percent(20) ? 1 : 0;
            a[5] = m_rng.irange(0, 2);
            a[6] = a[5] > 0 ? m_rng.irange(0, int(a[5])) : 0;
            a[7] = m_rng.irange(0, 2);
            a[8] = a[7] > 0 ? m_rng.irange(0, int(a[7])) : 0;
        }
        if (m_rng.percent(2))
            a[3] = 1;
        if (m_rng.percent(1))
            a[4] = 2;
        if (m_rng.percent(3))
            a[9] = m_rng.irange(1, 5);
        if (m_rng.percent(12)) {
            a[11] = m_rng.irange(5, 60);
            a[12] = m_rng.irange(0, 10);
            a[13] = m_rng.irange(0, 20);
            a[14] = m_rng.irange(0, 2);
            h.sheepOther = m_rng.irange(0, 2);
        }
        if (m_rng.percent(10)) {
            a[16] = m_rng.irange(1, 6);
            h.goatYoung = m_rng.irange(0, 3);
        }
        if (m_rng.percent(45)) {
            a[18] = m_rng.percent(30) ? m_rng.irange(1, 2) : 0;
            a[19] = m_rng.percent(20) ? m_rng.irange(1, 2) : 0;
            a[20] = m_rng.percent(25) ? m_rng.irange(1, 6) : 0;
            a[21] = m_rng.percent(2) ? 1 : 0;
            h.pigFattening = m_rng.irange(1, 4);
        }
        if (m_rng.percent(15)) {
            a[23] = m_rng.irange(1, 2);
            a[24] = m_rng.percent(5) ? 1 : 0;
            h.foals = m_rng.percent(20) ? 1 : 0;
        }
        if (m_rng.percent(1))
            a[25] = 1;
        if (m_rng.percent(8))
            a[26] = m_rng.irange(2, 20);
        if (m_rng.percent(1))
            a[29] = m_rng.irange(2, 10);
        if (m_rng.percent(80)) {
            const int total = m_rng.irange(5, 60);
            a[31] = total * m_rng.irange(50, 90) / 100;
            h.poultryOther = total - a[31];
        }
        if (m_rng.percent(4))
            a[32] = m_rng.irange(2, 40);

        if (m_rng.percent(35))
            m[35] = 1; // cart
        if (m_rng.percent(8)) {
            m[size_t(m_rng.weighted({60, 20, 12, 8}))] = 1; // tractor
            m[6] = 1;
            m[9] = m_rng.percent(70) ? 1 : 0;
            m[12] = m_rng.percent(30) ? 1 : 0;
            m[13] = m_rng.percent(20) ? 1 : 0;
            m[32] = m_rng.percent(80) ? 1 : 0;
            m[8] = m_rng.percent(20) ? 1 : 0;
        }
        if (a[23] > 0 && m_rng.percent(60)) {
            m[7] = 1;
            m[10] = m_rng.percent(50) ? 1 : 0;
        }
        if (m_rng.percent(6))
            m[4] = 1;
        if (m_rng.percent(4))
            m[5] = 1;
        if (m_rng.percent(3))
            m[19] = 1;
        if (m_rng.percent(5))
            m[33] = 1;
        if (m_rng.percent(4))
            m[41] = 1;
        if (a[1] >= 4 && m_rng.percent(30))
            m[38] = 1;
        if (m_rng.percent(2))
            m[37] = 1;
    } else if (h.type == 3) {
        if (m_rng.percent(30)) {
            a[1] = m_rng.irange(20, 200);
            a[2] = m_rng.irange(0, 20);
            a[3] = m_rng.irange(0, 3);
            a[5] = m_rng.irange(5, 40);
            a[6] = m_rng.irange(0, int(a[5]));
            a[7] = m_rng.irange(5, 40);
            a[8] = m_rng.irange(0, int(a[7]));
            m[38] = 1;
            m[39] = 1;
            m[40] = 1;
        }
        for (int k = 0; k < 4; ++k)
            m[size_t(k)] = m_rng.irange(0, 3);
        m[3] += 1;
        m[6] = m_rng.irange(1, 4);
        m[9] = m_rng.irange(1, 4);
        m[11] = m_rng.irange(0, 2);
        m[12] = m_rng.irange(1, 2);
        m[13] = m_rng.irange(1, 2);
        m[17] = m_rng.irange(0, 1);
        m[19] = m_rng.irange(1, 2);
        m[20] = m_rng.irange(0, 1);
        m[21] = m_rng.irange(1, 2);
        m[22] = m_rng.irange(0, 1);
        m[32] = m_rng.irange(1, 5);
        m[34] = m_rng.irange(0, 3);
        m[36] = m_rng.irange(0, 1);
    }
}

void Generator::makeBuildings(Household& h, int year)
{
    auto& b = h.buildings;
    const bool hasYard = std::any_of(h.plots.begin(), h.plots.end(), [](const Plot& p) { return p.category == Yard; });
    if (!hasYard)
        return;
    const auto house = [&](int first) {
        b[size_t(first)] = m_rng.range(50, 200) * 100;
        b[size_t(first + 1)] = qint64(m_rng.weighted({8, 60, 10, 20, 2}) + 1) * 100;
        const int built = m_rng.weighted({10, 25, 30, 20, 15}) * 20 + 1910 + m_rng.irange(0, 19);
        b[size_t(first + 2)] = qint64(std::min(built, year - 1)) * 100;
    };
    if (h.type <= 2) {
        if (h.type == 1 || m_rng.percent(30)) {
            house(0);
            if (m_rng.percent(10))
                house(3);
            if (m_rng.percent(1))
                house(6);
        }
        const auto some = [&](int row, int chance, int lo, int hi) {
            if (m_rng.percent(chance))
                b[size_t(row - 1)] = m_rng.range(lo, hi) * 100 + (m_rng.percent(10) ? 50 : 0);
        };
        if (h.animals[1] + h.animals[23] > 0)
            some(13, 100, 20, 80);
        some(14, 40, 6, 20);
        some(15, 35, 10, 40);
        some(16, 25, 20, 80);
        some(17, 10, 15, 50);
        some(18, 20, 15, 30);
        some(19, 30, 10, 60);
        if (b[0] > 0 && m_rng.percent(3))
            h.buildingNotes[0] = m_rng.percent(50) ? QStringLiteral("RENOVATA") : QStringLiteral("NECESITA REPARATII");
    } else {
        if (h.animals[1] > 0)
            b[12] = m_rng.range(300, 1500) * 100;
        b[14] = m_rng.range(200, 800) * 100;
        b[16] = m_rng.range(100, 600) * 100;
        b[18] = m_rng.range(100, 1000) * 100;
    }
}

// Trees of the orchard (one per 25 square metres, a few species) and a few in the yard.
void Generator::makeTrees(Household& h)
{
    qint64 orchard = 0;
    bool yard = false;
    for (const Plot& p : h.plots) {
        if (p.category == Orchard)
            orchard += p.m2;
        yard = yard || p.category == Yard;
    }
    qint64 left = orchard / 25;
    const int species = m_rng.irange(1, 4);
    for (int k = 0; k < species && left > 0; ++k) {
        const qint64 part = k + 1 == species ? left : left * m_rng.irange(20, 70) / 100;
        h.trees[size_t(m_rng.irange(1, 10))] += part;
        left -= part;
    }
    if (yard && h.type <= 2 && m_rng.percent(80)) {
        const int n = m_rng.irange(1, 12);
        for (int k = 0; k < n; ++k)
            h.trees[size_t(m_rng.irange(1, 10))] += 1;
    }
    if (m_rng.percent(20))
        h.trees[11] = m_rng.irange(1, 10);
    if (m_rng.percent(5))
        h.trees[12] = m_rng.irange(1, 2);
}

Household Generator::makeHousehold(int village, int type, int year, bool young, const std::vector<Person>* family)
{
    Household h;
    h.village = village;
    h.type = type;
    h.role = m_nextRole++;
    const QString villageName = QString::fromUtf8(kVillages[village]);
    const QStringList& streets = m_villageStreets[size_t(village)];
    const auto houseNumber = [&] {
        QString n = QString::number(m_rng.irange(1, 250));
        if (m_rng.percent(5))
            n += QLatin1Char('A' + m_rng.irange(0, 2));
        else if (m_rng.percent(2))
            n += QStringLiteral(" BIS");
        return n;
    };
    switch (type) {
    case 1:
        h.street = m_rng.pick(streets);
        h.number = houseNumber();
        h.county = QString::fromLatin1(kCouncilCounty);
        h.locality = villageName;
        break;
    case 2: {
        const Place& place = m_rng.pick(kPlacesElsewhere);
        h.county = QString::fromLatin1(place.county);
        h.locality = QString::fromLatin1(place.locality);
        h.siruta = QString::fromLatin1(place.siruta);
        h.street2 = QString::fromLatin1(m_rng.pick(kCityStreets));
        h.number2 = houseNumber();
        if (m_rng.percent(40))
            h.number2 += QStringLiteral(" BL.%1 AP.%2").arg(m_rng.irange(1, 40)).arg(m_rng.irange(1, 60));
        h.street = h.street2;
        h.number = h.number2;
        break;
    }
    default: {
        const QString family = QString::fromUtf8(m_rng.pick(kFamilyNames));
        if (type == 3) {
            switch (m_rng.irange(0, 6)) {
            case 0: h.unit = QStringLiteral("SC AGRO %1 SRL").arg(villageName); break;
            case 1: h.unit = QStringLiteral("SC FERMA %1 SRL").arg(family); break;
            case 2: h.unit = QStringLiteral("ASOCIATIA AGRICOLA %1").arg(villageName); break;
            case 3: h.unit = QStringLiteral("PAROHIA ORTODOXA %1").arg(villageName); break;
            case 4: h.unit = QStringLiteral("II %1 %2").arg(family, QString::fromUtf8(m_rng.pick(kMaleNames))); break;
            case 5: h.unit = QStringLiteral("SC `%1` AGROSERV SRL").arg(family); break;
            default: h.unit = QStringLiteral("OBSTEA %1").arg(villageName); break;
            }
            h.county = QString::fromLatin1(kCouncilCounty);
            h.locality = villageName;
            h.street = m_rng.pick(streets);
            if (m_rng.percent(30))
                h.subunit = QStringLiteral("PUNCT DE LUCRU %1").arg(villageName);
        } else {
            const Place& place = m_rng.pick(kPlacesElsewhere);
            switch (m_rng.irange(0, 3)) {
            case 0: h.unit = QStringLiteral("SC CEREALCOM SA"); break;
            case 1: h.unit = QStringLiteral("SC %1 AGROTRANS SRL").arg(QString::fromLatin1(place.locality)); break;
            case 2: h.unit = QStringLiteral("SC AGRICOLA %1 SRL").arg(family); break;
            default: h.unit = QStringLiteral("SC MOLDOVA AGRO INVEST SA"); break;
            }
            h.county = QString::fromLatin1(place.county);
            h.locality = QString::fromLatin1(place.locality);
            h.street = QString::fromLatin1(m_rng.pick(kCityStreets));
        }
        h.unit = h.unit.left(40);
        h.number = houseNumber();
        h.street2 = h.street;
        h.number2 = h.number;
        h.sirues = QString::number(m_rng.range(100000000, 999999999));
        h.fiscalCode = withTaxCheckDigit(m_rng.range(1000000, 49999999));
        break;
    }
    }
    if (family)
        h.members = *family;
    else
        makeFamily(h, year, young);
    makeLand(h, year);
    makeFarm(h);
    makeBuildings(h, year);
    makeTrees(h);
    if (m_rng.percent(4))
        h.irrigatedPercent = m_rng.irange(20, 100);
    if (m_rng.percent(8)) {
        h.notes = QString::fromUtf8(m_rng.pick(kHouseholdNotes));
        if (m_rng.percent(30))
            h.notes += QStringLiteral("\r\n") + QString::fromUtf8(m_rng.pick(kHouseholdNotes));
    }
    return h;
}

void Generator::placeNew(Household& h)
{
    auto& slot = m_lastSlot[{h.village, h.type}];
    if (slot.first == 0)
        slot = {1, 0};
    if (slot.second >= 100)
        slot = {slot.first + 1, 0};
    slot.second += 1;
    h.volume = slot.first;
    h.position = slot.second;
    m_lastAdded = slot;
}

// ---------------------------------------------------------------------------------------------
// Year to year.

void Generator::changeMembers(Household& h, int year, std::vector<Household>& leaving)
{
    auto& members = h.members;
    // Deaths.
    for (size_t k = 0; k < members.size();) {
        const int age = year - members[k].birth.year();
        const int chance = age > 85 ? 120 : age > 70 ? 40 : age > 55 ? 8 : 1;
        if (m_rng.permille(chance))
            members.erase(members.begin() + qsizetype(k));
        else
            ++k;
    }
    // Grown children leave to a household of their own.
    for (size_t k = 0; k < members.size();) {
        const Person& p = members[k];
        const int age = year - p.birth.year();
        if ((p.kinship == KinChild || p.kinship == KinGrandchild) && age >= 20 && age <= 35 && m_rng.permille(60)) {
            if (h.type == 1 && m_rng.percent(40)) {
                std::vector<Person> family {p};
                family.front().kinship = KinHead;
                family.front().notes.clear();
                if (m_rng.percent(60)) {
                    family.push_back(makePerson(p.sex == 1 ? p.family : QString::fromUtf8(m_rng.pick(kFamilyNames)),
                                                3 - p.sex, year - std::max(18, age + m_rng.irange(-4, 4)), KinSpouse,
                                                m_rng.percent(70) ? kCouncilCountyCode : m_rng.irange(1, 46)));
                }
                leaving.push_back(makeHousehold(h.village, 1, year, true, &family));
            }
            members.erase(members.begin() + qsizetype(k));
        } else {
            ++k;
        }
    }
    // A new head when the head is gone.
    if (!members.empty() && std::none_of(members.begin(), members.end(), [](const Person& p) { return p.kinship == KinHead; })) {
        auto next = std::find_if(members.begin(), members.end(), [](const Person& p) { return p.kinship == KinSpouse || p.kinship == 7; });
        if (next == members.end()) {
            next = std::min_element(members.begin(), members.end(),
                                    [](const Person& x, const Person& y) { return x.birth < y.birth; });
        }
        next->kinship = KinHead;
        std::rotate(members.begin(), next, next + 1);
    }
    // Births.
    if (h.type == 1 && !members.empty() && members.size() < 6) {
        const bool youngCouple = std::any_of(members.begin(), members.end(), [&](const Person& p) {
            const int age = year - p.birth.year();
            return (p.kinship == KinHead || p.kinship == KinSpouse) && p.sex == 2 && age >= 20 && age <= 42;
        });
        if (youngCouple && m_rng.permille(80)) {
            const QString family = members.front().family;
            Person child = makePerson(family, m_rng.irange(1, 2), year - 1, KinChild, kCouncilCountyCode);
            members.push_back(child);
        }
    }
    // Marriage of a single head.
    if (h.type == 1 && members.size() == 1) {
        const Person& head = members.front();
        const int age = year - head.birth.year();
        if (age >= 22 && age <= 40 && m_rng.permille(70)) {
            members.push_back(makePerson(head.sex == 1 ? head.family : QString::fromUtf8(m_rng.pick(kFamilyNames)),
                                         3 - head.sex, year - std::max(18, age + m_rng.irange(-5, 3)), KinSpouse,
                                         m_rng.percent(70) ? kCouncilCountyCode : m_rng.irange(1, 46)));
        }
    }
}

void Generator::changeFarm(Household& h)
{
    for (size_t k = 0; k < h.animals.size(); ++k) {
        if (h.animals[k] > 0 && m_rng.percent(30))
            h.animals[k] = m_rng.drift(h.animals[k], 30);
    }
    h.animals[6] = std::min(h.animals[6], h.animals[5]);
    h.animals[8] = std::min(h.animals[8], h.animals[7]);
    if (m_rng.percent(30))
        h.pigFattening = m_rng.drift(h.pigFattening, 50);
    if (m_rng.percent(30))
        h.poultryOther = m_rng.drift(h.poultryOther, 40);
    if (h.type == 1 && m_rng.permille(15))
        h.animals[1] += 1;
    if (h.type == 1 && m_rng.permille(30))
        h.animals[31] += m_rng.irange(5, 20);

    if (m_rng.percent(40))
        chooseCrops(h);
    if (m_rng.percent(10))
        h.unsownPercent = m_rng.percent(50) ? 0 : m_rng.irange(1, 10);
    for (qint64& r : h.received) {
        if (r > 0 && m_rng.percent(10))
            r = m_rng.drift(r, 20);
    }
    if (m_rng.permille(15)) {
        const int row = m_rng.irange(0, 1);
        h.givenPercent[size_t(row)] = h.givenPercent[size_t(row)] > 0 ? 0 : m_rng.irange(30, 100);
    }
    for (size_t k = 2; k <= 11; ++k) {
        if (h.trees[k] > 0 && m_rng.percent(20))
            h.trees[k] = m_rng.drift(h.trees[k], 15);
    }
    if (h.machines[35] == 0 && h.type == 1 && m_rng.permille(10))
        h.machines[35] = 1;
    if (h.machines[0] == 0 && h.type == 1 && m_rng.permille(8)) {
        h.machines[0] = 1;
        h.machines[6] = 1;
        h.machines[32] = 1;
    }
    if (h.buildings[17] == 0 && h.buildings[0] > 0 && m_rng.permille(5))
        h.buildings[17] = m_rng.range(15, 30) * 100;
    if (m_rng.permille(10) && h.notes.isEmpty())
        h.notes = QString::fromUtf8(m_rng.pick(kHouseholdNotes));
    if (h.irrigatedPercent == 0 && m_rng.permille(5))
        h.irrigatedPercent = m_rng.irange(20, 100);
}

void Generator::carryOver(int year)
{
    std::vector<Household> next;
    std::vector<Household> leaving;
    next.reserve(m_households.size() + m_households.size() / 20 + 4);
    for (Household& h : m_households) {
        const bool removed = h.type <= 2 ? m_rng.permille(10) : m_rng.permille(20);
        if (removed)
            continue;
        changeMembers(h, year, leaving);
        changeFarm(h);
        // Plots bought and sold.
        if (m_rng.permille(25)) {
            if (!h.plots.empty() && m_rng.percent(40)) {
                const size_t k = size_t(m_rng.range(0, qint64(h.plots.size()) - 1));
                if (h.plots[k].category != Yard)
                    h.plots.erase(h.plots.begin() + qsizetype(k));
            } else {
                h.plots.push_back(makePlot(h, Arable, false, m_rng.range(2000, 10000), year));
            }
        }
        next.push_back(std::move(h));
    }
    // Households added during the year: the children who left, and others.
    const int others = std::max(0, int(m_households.size()) / 120 + (m_rng.percent(50) ? 1 : 0) - int(leaving.size()));
    for (int k = 0; k < others; ++k) {
        const int type = m_rng.weighted({85, 11, 2, 2}) + 1;
        const int village = m_rng.weighted({35, 22, 18, 15, 10});
        leaving.push_back(makeHousehold(village, type, year, type == 1));
    }
    for (Household& h : leaving) {
        placeNew(h);
        next.push_back(std::move(h));
    }
    m_households = std::move(next);
}

// ---------------------------------------------------------------------------------------------
// Writing.

void Generator::openTables()
{
    for (const QString& name : Schema::tableFileNames()) {
        const QString path = dbf::resolveFileName(m_dir + QLatin1Char('/') + name);
        m_tables[name] = std::make_unique<dbf::DbfBulkWriter>(path, dbf::DbfBulkWriter::layoutOf(path));
    }
    for (int n = 1; n <= 11; ++n)
        m_chapters[size_t(n)] = m_tables[QStringLiteral("CAP%1.dbf").arg(n)].get();

    // Records are filled by column number: the layouts must be the creators'.
    const std::map<QString, QString> expected {
        {QStringLiteral("Identificare.dbf"), QStringLiteral("ANUL POZ VOLUM ROL LOCALIT STRADA NR JUDET LOC STR2 NR2 SIRUTA DENUMIRE SUBUNIT SIRUES CODFISCAL CODID TIPRA")},
        {QStringLiteral("CAP1.dbf"), QStringLiteral("ANUL CODID NUMEP CNP CODSEX DENUM COD DATAN COD1 MENTIUNI")},
        {QStringLiteral("CAP2.dbf"), QStringLiteral("ANUL CODID CATEG AHA AARI BHA BARI CHA CARI RAND IHA IARI")},
        {QStringLiteral("CAP3.dbf"), QStringLiteral("ANUL CODID CATEG HA ARI RAND")},
        {QStringLiteral("CAP4.dbf"), QStringLiteral("ANUL CODID CATEG HA ARI RAND")},
        {QStringLiteral("CAP5.dbf"), QStringLiteral("ANUL CODID CATEG NR RAND")},
        {QStringLiteral("CAP6.dbf"), QStringLiteral("ANUL CODID CATEG AHA AARI BHA BARI CHA CARI RAND")},
        {QStringLiteral("CAP7.dbf"), QStringLiteral("ANUL CODID CATEG NR RAND")},
        {QStringLiteral("CAP8.dbf"), QStringLiteral("ANUL CODID CATEG SEM_1 SEM_2 RAND")},
        {QStringLiteral("CAP9.dbf"), QStringLiteral("ANUL CODID CATEG NR RAND")},
        {QStringLiteral("CAP10.dbf"), QStringLiteral("ANUL CODID DETALII UM RAND OBS")},
        {QStringLiteral("CAP11.dbf"), QStringLiteral("ANUL CODID MENTIUNI")},
        {QStringLiteral("Tarlale.dbf"), QStringLiteral("ANUL CODID CODT OBS ACT NRACT DATAELIB INTRA TARLA NRTARLA NRPARC CATEG SUPRAF VECN VECS VECE VECV CARFUN NRCAD CINELUC")},
        {QStringLiteral("OmTarla.dbf"), QStringLiteral("ANUL CODID CODT TITULAR")},
        {QStringLiteral("PozeTarla.dbf"), QStringLiteral("ANUL CODT FISIER")},
    };
    for (const auto& [name, columns] : expected) {
        QStringList actual;
        for (const dbf::Field& f : m_tables[name]->fields())
            actual << f.name;
        if (actual.join(QLatin1Char(' ')) != columns)
            throw DemoError(QStringLiteral("Tabelul \"%1\" nu are structura asteptata.").arg(name));
    }
}

// Record templates of chapters 2 to 10 for one year: every catalogue row of one household, with
// the year, the row code, the row name and zero values; only CODID and the values change.
void Generator::prepareTemplates(int year)
{
    for (int n = 2; n <= 10; ++n) {
        dbf::DbfBulkWriter& t = *m_chapters[size_t(n)];
        const int count = chapterRowCount(n);
        QByteArray all;
        const int anul = t.column(QStringLiteral("ANUL"));
        const int rand = t.column(QStringLiteral("RAND"));
        for (int k = 1; k <= count; ++k) {
            QByteArray rec = t.blankRecord();
            t.setInteger(rec.data(), anul, year);
            if (t.fields()[rand].decimals == 1)
                t.setScaled(rec.data(), rand, chapterRowCodeTenths(n, k));
            else
                t.setInteger(rec.data(), rand, qint64(chapterRowCode(n, k)));
            if (n != 10)
                t.setText(rec.data(), t.column(QStringLiteral("CATEG")), chapterRowName(n, k));
            for (int c = 0; c < int(t.fields().size()); ++c) {
                const QString& name = t.fields()[c].name;
                if (t.fields()[c].isNumeric() && name != QLatin1String("ANUL") && name != QLatin1String("CODID")
                    && name != QLatin1String("RAND"))
                    t.setInteger(rec.data(), c, 0);
            }
            all += rec;
        }
        m_templates[size_t(n)] = all;
    }
}

void Generator::writeHousehold(const Household& h, int year, qint64 codid)
{
    // Identification.
    {
        dbf::DbfBulkWriter& t = *m_tables[QStringLiteral("Identificare.dbf")];
        QByteArray rec = t.blankRecord();
        char* r = rec.data();
        t.setInteger(r, 0, year);
        t.setInteger(r, 1, h.position);
        t.setInteger(r, 2, h.volume);
        t.setInteger(r, 3, h.role);
        t.setText(r, 4, QString::fromUtf8(kVillages[h.village]));
        t.setText(r, 5, h.street);
        t.setText(r, 6, h.number);
        t.setText(r, 7, h.county);
        t.setText(r, 8, h.locality);
        t.setText(r, 9, h.street2);
        t.setText(r, 10, h.number2);
        t.setText(r, 11, h.siruta);
        t.setText(r, 12, h.unit);
        t.setText(r, 13, h.subunit);
        t.setText(r, 14, h.sirues);
        t.setText(r, 15, h.fiscalCode);
        t.setInteger(r, 16, codid);
        t.setInteger(r, 17, h.type);
        t.appendRecord(r);
        ++m_summary.householdRows;
    }
    // Members, the head first.
    {
        dbf::DbfBulkWriter& t = *m_tables[QStringLiteral("CAP1.dbf")];
        QByteArray rec = t.blankRecord();
        char* r = rec.data();
        for (const Person& p : h.members) {
            t.setInteger(r, 0, year);
            t.setInteger(r, 1, codid);
            t.setText(r, 2, p.name());
            t.setText(r, 3, p.cnp);
            t.setInteger(r, 4, p.sex);
            t.setText(r, 5, QString::fromLatin1(kKinships[p.kinship].text));
            t.setInteger(r, 6, kKinships[p.kinship].code);
            t.setDate(r, 7, p.birth);
            t.setInteger(r, 8, ++m_cod1);
            t.setText(r, 9, p.notes);
            t.appendRecord(r);
            ++m_summary.memberRows;
        }
    }

    // Chapter 2 from the plots.
    std::array<AreaRow, 12> c2 {};
    for (const Plot& p : h.plots) {
        AreaRow& row = c2[size_t(kCategoryRow[p.category])];
        row.b += p.m2;
        if (p.intra)
            row.i += p.m2;
    }
    c2[4].b = c2[3].b * h.vinesBearing / 100;
    c2[4].i = std::min(c2[3].i, c2[4].b);
    c2[6].b = c2[5].b * h.orchardBearing / 100;
    c2[6].i = std::min(c2[5].i, c2[6].b);
    for (int k = 0; k < 3; ++k)
        c2[size_t(k)].c = h.otherLand[size_t(k)];
    for (int k : {0, 1, 2, 3, 5}) {
        c2[7].b += c2[size_t(k)].b;
        c2[7].c += c2[size_t(k)].c;
        c2[7].i += c2[size_t(k)].i;
    }
    c2[11] = c2[7];
    for (int k : {8, 9, 10}) {
        c2[11].b += c2[size_t(k)].b;
        c2[11].c += c2[size_t(k)].c;
        c2[11].i += c2[size_t(k)].i;
    }
    for (AreaRow& row : c2)
        row.a = row.b;

    // Chapter 3.
    std::array<qint64, 15> c3 {};
    c3[0] = c2[7].a;
    for (int k = 0; k < 5; ++k) {
        c3[size_t(2 + k)] = h.received[size_t(k)];
        c3[1] += h.received[size_t(k)];
    }
    {
        const qint64 arable = c2[0].b;
        qint64 given = 0;
        for (int k = 0; k < 5; ++k) {
            qint64 part = arable * h.givenPercent[size_t(k)] / 100;
            part = std::min(part, arable - given);
            c3[size_t(8 + k)] = part;
            given += part;
        }
        c3[7] = given;
        c3[13] = c3[8] * h.givenToCompanies / 100;
        c3[14] = c3[0] + c3[1] - c3[7];
    }

    // Chapter 4: the arable land worked, in tenths of an are.
    std::array<qint64, 35> c4 {};
    {
        const qint64 worked = std::max<qint64>(0, c2[0].b + c3[1] - c3[7]) / 10 * 10;
        const qint64 unsown = worked / 10 * h.unsownPercent / 100 * 10;
        const qint64 units = (worked - unsown) / 10;
        qint64 weights = 0;
        for (const auto& crop : h.crops)
            weights += crop.second;
        qint64 used = 0;
        if (weights > 0) {
            for (const auto& crop : h.crops) {
                const qint64 part = units * crop.second / weights;
                c4[size_t(crop.first - 1)] += part * 10;
                used += part;
            }
            c4[size_t(h.crops.front().first - 1)] += (units - used) * 10;
        } else if (units > 0) {
            c4[31] += units * 10; // alte culturi
        }
        c4[27] = c4[26] * h.lucernePercent / 100 / 10 * 10;
        c4[20] = c4[21] + c4[22] + c4[23] + c4[24];
        qint64 total = c4[20];
        for (int k = 0; k < 20; ++k)
            total += c4[size_t(k)];
        for (int k : {25, 26, 28, 29, 30, 31})
            total += c4[size_t(k)];
        c4[32] = total;
        c4[33] = unsown;
        c4[34] = c4[32] + c4[33];
    }

    // Chapter 5: trees of the orchard and of the yard.
    std::array<qint64, 13> c5 = h.trees;
    c5[0] = 0;
    for (int k = 1; k <= 10; ++k)
        c5[0] += c5[size_t(k)];

    // Chapter 6: part of the crops irrigated.
    std::array<qint64, 15> c6 {};
    if (h.irrigatedPercent > 0) {
        for (const Crop& crop : kCrops) {
            const qint64 area = c4[size_t(crop.position - 1)];
            c6[size_t(crop.irrigatedRow)] += area * h.irrigatedPercent / 100 / 10 * 10;
        }
        for (int k = 1; k <= 9; ++k)
            c6[0] += c6[size_t(k)];
        c6[14] = c6[0];
        for (int k = 10; k <= 13; ++k)
            c6[14] += c6[size_t(k)];
    }

    // Chapter 7 with its totals.
    std::array<qint64, 33> c7 = h.animals;
    c7[0] = c7[1] + c7[2] + c7[3] + c7[4] + c7[5] + c7[7] + c7[9];
    c7[10] = c7[11] + c7[12] + c7[13] + c7[14] + h.sheepOther;
    c7[15] = c7[16] + h.goatYoung;
    c7[17] = c7[18] + c7[19] + c7[20] + c7[21] + h.pigFattening;
    c7[22] = c7[23] + c7[24] + h.foals;
    c7[30] = c7[31] + h.poultryOther;

    // Chapter 8: the year's changes, from the herds.
    std::array<std::pair<qint64, qint64>, 40> c8 {};
    {
        const auto split = [&](qint64 total) -> std::pair<qint64, qint64> {
            const qint64 first = total > 0 ? m_rng.range(0, total) : 0;
            return {first, total - first};
        };
        if (c7[1] > 0) {
            c8[0] = split(m_rng.range(0, c7[1]));
            c8[3] = split(m_rng.range(0, (c7[5] + c7[7] + 1) / 2));
            if (m_rng.percent(10))
                c8[4] = split(1);
            if (m_rng.percent(5))
                c8[5] = split(1);
            if (m_rng.percent(5)) {
                c8[1] = split(1);
                c8[7] = c8[1];
            }
            if (m_rng.percent(8)) {
                c8[9] = split(1);
                c8[3].first += c8[9].first;
                c8[3].second += c8[9].second;
            }
        }
        if (c7[11] > 0) {
            const qint64 lambs = c7[11] * m_rng.irange(60, 110) / 100;
            c8[13] = {lambs, 0};
            c8[16] = split(lambs * m_rng.irange(20, 70) / 100);
            c8[17] = split(m_rng.range(0, 3));
            if (m_rng.percent(20))
                c8[18] = split(m_rng.range(1, 3));
        }
        if (c7[16] > 0) {
            c8[20] = {c7[16] * m_rng.irange(50, 150) / 100, 0};
            c8[23] = split(c8[20].first / 2);
            c8[24] = split(m_rng.range(0, 2));
        }
        if (c7[18] > 0) {
            c8[27] = split(c7[18] * m_rng.irange(6, 10));
            c8[30] = split(c8[27].first / 2 + c8[27].second / 2);
        }
        if (c7[17] > 0)
            c8[31] = {m_rng.range(0, 1), m_rng.range(1, std::max<qint64>(1, c7[17]))};
        if (c7[23] > 0 && m_rng.percent(15))
            c8[34] = split(1);
        if (c7[22] > 0 && m_rng.percent(5))
            c8[37] = split(1);
    }

    const auto pair = [](dbf::DbfBulkWriter& t, char* r, int haColumn, int ariColumn, qint64 m2) {
        const qint64 ha = m2 / 10000;
        t.setInteger(r, haColumn, ha);
        t.setScaled(r, ariColumn, m2 - ha * 10000);
    };
    const auto chapter = [&](int n, auto&& fill) {
        dbf::DbfBulkWriter& t = *m_chapters[size_t(n)];
        QByteArray rows = m_templates[size_t(n)];
        const int length = t.recordLength();
        const int count = chapterRowCount(n);
        for (int k = 0; k < count; ++k) {
            char* r = rows.data() + qsizetype(k) * length;
            t.setInteger(r, 1, codid);
            fill(t, r, k);
            t.appendRecord(r);
        }
        m_summary.chapterRows += count;
    };

    chapter(2, [&](dbf::DbfBulkWriter& t, char* r, int k) {
        // ANUL CODID CATEG AHA AARI BHA BARI CHA CARI RAND IHA IARI
        const AreaRow& row = c2[size_t(k)];
        pair(t, r, 3, 4, row.a);
        pair(t, r, 5, 6, row.b);
        pair(t, r, 7, 8, row.c);
        pair(t, r, 10, 11, row.i);
    });
    chapter(3, [&](dbf::DbfBulkWriter& t, char* r, int k) { pair(t, r, 3, 4, c3[size_t(k)]); });
    chapter(4, [&](dbf::DbfBulkWriter& t, char* r, int k) { pair(t, r, 3, 4, c4[size_t(k)]); });
    chapter(5, [&](dbf::DbfBulkWriter& t, char* r, int k) { t.setInteger(r, 3, c5[size_t(k)]); });
    chapter(6, [&](dbf::DbfBulkWriter& t, char* r, int k) {
        pair(t, r, 3, 4, c6[size_t(k)]);
        pair(t, r, 5, 6, c6[size_t(k)]);
    });
    chapter(7, [&](dbf::DbfBulkWriter& t, char* r, int k) { t.setInteger(r, 3, c7[size_t(k)]); });
    chapter(8, [&](dbf::DbfBulkWriter& t, char* r, int k) {
        t.setInteger(r, 3, c8[size_t(k)].first);
        t.setInteger(r, 4, c8[size_t(k)].second);
    });
    chapter(9, [&](dbf::DbfBulkWriter& t, char* r, int k) { t.setInteger(r, 3, h.machines[size_t(k)]); });
    chapter(10, [&](dbf::DbfBulkWriter& t, char* r, int k) {
        // ANUL CODID DETALII UM RAND OBS
        t.setScaled(r, 2, h.buildings[size_t(k)]);
        const int code = k + 1;
        const bool area = code == 1 || code == 4 || code == 7 || code == 10 || code >= 13;
        t.setText(r, 3, area ? QStringLiteral("mp") : QString());
        t.setText(r, 5, h.buildingNotes[size_t(k)]);
    });

    // Chapter 11: one notes row.
    {
        dbf::DbfBulkWriter& t = *m_tables[QStringLiteral("CAP11.dbf")];
        QByteArray rec = t.blankRecord();
        t.setInteger(rec.data(), 0, year);
        t.setInteger(rec.data(), 1, codid);
        t.setMemo(rec.data(), 2, h.notes);
        t.appendRecord(rec.constData());
        ++m_summary.chapterRows;
    }

    // Plots, holders, pictures.
    dbf::DbfBulkWriter& plots = *m_tables[QStringLiteral("Tarlale.dbf")];
    dbf::DbfBulkWriter& holders = *m_tables[QStringLiteral("OmTarla.dbf")];
    dbf::DbfBulkWriter& pictures = *m_tables[QStringLiteral("PozeTarla.dbf")];
    QByteArray plotRec = plots.blankRecord();
    QByteArray holderRec = holders.blankRecord();
    QByteArray pictureRec = pictures.blankRecord();
    for (const Plot& p : h.plots) {
        const qint64 codt = ++m_codt;
        char* r = plotRec.data();
        // ANUL CODID CODT OBS ACT NRACT DATAELIB INTRA TARLA NRTARLA NRPARC CATEG SUPRAF VECN VECS VECE VECV CARFUN NRCAD CINELUC
        plots.setInteger(r, 0, year);
        plots.setInteger(r, 1, codid);
        plots.setInteger(r, 2, codt);
        plots.setText(r, 3, p.notes);
        plots.setText(r, 4, p.deed);
        plots.setText(r, 5, p.deedNumber);
        plots.setText(r, 6, p.deedDate);
        plots.setText(r, 7, p.intra ? QStringLiteral("INTRAVILAN") : QStringLiteral("EXTRAVILAN"));
        plots.setText(r, 8, p.block);
        plots.setText(r, 9, p.blockNumber);
        plots.setText(r, 10, p.parcel);
        plots.setText(r, 11, QString::fromLatin1(kPlotCategories[p.category]));
        plots.setScaled(r, 12, p.m2);
        plots.setText(r, 13, p.north);
        plots.setText(r, 14, p.south);
        plots.setText(r, 15, p.east);
        plots.setText(r, 16, p.west);
        plots.clear(r, 17);
        plots.setText(r, 18, p.cadastral);
        plots.setText(r, 19, p.worker);
        plots.appendRecord(r);
        ++m_summary.plotRows;
        for (const QString& holder : p.holders) {
            char* o = holderRec.data();
            holders.setInteger(o, 0, year);
            holders.setInteger(o, 1, codid);
            holders.setInteger(o, 2, codt);
            holders.setText(o, 3, holder);
            holders.appendRecord(o);
            ++m_summary.holderRows;
        }
        for (const QString& file : p.pictures) {
            char* o = pictureRec.data();
            pictures.setInteger(o, 0, year);
            pictures.setInteger(o, 1, codt);
            pictures.setText(o, 2, file);
            pictures.appendRecord(o);
            ++m_summary.pictureRows;
        }
    }
}

void Generator::writeYear(int year)
{
    prepareTemplates(year);
    for (const Household& h : m_households)
        writeHousehold(h, year, ++m_codid);
}

// Text files of the data directory: Windows-1250, CR LF.
void writeTextFile(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += dbf::cp1250::encode(line) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DemoError(QStringLiteral("Fisierul \"%1\" nu poate fi scris: %2").arg(path, file.errorString()));
}

void Generator::writeVillages()
{
    QStringList lines;
    for (const char* v : kVillages)
        lines << QString::fromUtf8(v);
    writeTextFile(m_dir + QStringLiteral("/Sate.lst"), lines);
}

void Generator::writeSettings()
{
    const QStringList tariffs = {
        QStringLiteral("350"), QStringLiteral("180"), QStringLiteral("900"), QStringLiteral("700"),
        QStringLiteral("120"), QStringLiteral("450"), QStringLiteral("300"), QStringLiteral("60"),
        QStringLiteral("150"), QStringLiteral("8.5"), QStringLiteral("80"),  QStringLiteral("300"),
        QStringLiteral("150"), QStringLiteral("800"), QStringLiteral("600"), QStringLiteral("100"),
    };
    QStringList lines {
        QStringLiteral("[CONSTANTE]"),
        QStringLiteral("NumePrimarie=PRIMARIA COMUNEI STEJARU"),
        QStringLiteral("Comuna=STEJARU"),
        QStringLiteral("CodFiscal=") + withTaxCheckDigit(261432),
        QStringLiteral("JUDET=") + QString::fromLatin1(kCouncilCounty),
        QStringLiteral("PRIMAR=IONESCU GHEORGHE"),
        QStringLiteral("SECRETAR=MUNTEANU ELENA"),
        QStringLiteral("TIPLOC=COMUNA"),
        QString(),
        QStringLiteral("[CONST]"),
        QStringLiteral("BIFCAP2=NU"),
        QStringLiteral("INTOCMIT=RUSU MARIA"),
        QStringLiteral("SIRUTA=123456"),
        QStringLiteral("HOTARARE=HCL NR. 14 / 28.01.%1").arg(m_summary.lastYear),
    };
    for (int n = 1; n <= 16; ++n)
        lines << QStringLiteral("Tariful%1=%2").arg(n).arg(tariffs[n - 1]);
    lines << QString() << QStringLiteral("[INDEX]")
          << QStringLiteral("CODID=%1").arg(m_codid + 1)
          << QStringLiteral("COD1=%1").arg(m_cod1 + 1)
          << QStringLiteral("CODT=%1").arg(m_codt + 1)
          << QStringLiteral("ADEVNR=%1").arg(1 + m_households.size() / 8)
          << QStringLiteral("RAGR2=%1").arg(m_summary.lastYear - m_summary.firstYear + 1)
          << QString() << QStringLiteral("[TEMP]")
          << QStringLiteral("POZLAST=%1").arg(m_lastAdded.second)
          << QStringLiteral("VOLLAST=%1").arg(m_lastAdded.first);
    writeTextFile(m_dir + QStringLiteral("/Velmor.ini"), lines);
}

DemoSummary Generator::run()
{
    const int first = m_options.firstYear;
    const int last = first + m_options.years - 1;
    m_summary.firstYear = first;
    m_summary.lastYear = last;

    // Streets of each village.
    for (int v = 0; v < 5; ++v) {
        QStringList streets;
        for (int k = 0; k < 4; ++k)
            streets << QString::fromLatin1(kStreets[k]);
        const int extra = m_rng.irange(4, 8);
        for (int k = 0; k < extra; ++k) {
            const QString s = QString::fromLatin1(m_rng.pick(kStreets));
            if (!streets.contains(s))
                streets << s;
        }
        m_villageStreets[size_t(v)] = streets;
    }

    // The first year's households, in register order.
    m_year = first;
    const DemoTypeCounts counts = demoTypeCounts(m_options.households);
    std::vector<int> types;
    types.insert(types.end(), size_t(counts.type1), 1);
    types.insert(types.end(), size_t(counts.type2), 2);
    types.insert(types.end(), size_t(counts.type3), 3);
    types.insert(types.end(), size_t(counts.type4), 4);
    std::vector<std::pair<int, int>> placed; // (village, type)
    for (int type : types)
        placed.emplace_back(m_rng.weighted({kVillageWeights[0], kVillageWeights[1], kVillageWeights[2],
                                            kVillageWeights[3], kVillageWeights[4]}),
                            type);
    std::stable_sort(placed.begin(), placed.end());
    for (const auto& [village, type] : placed) {
        Household h = makeHousehold(village, type, first, false);
        placeNew(h);
        if (m_rng.percent(2))
            placeNew(h); // a slot left empty by an earlier deletion
        m_households.push_back(std::move(h));
    }
    openTables();
    m_ui.Arata();
    m_ui.setProgressMaximum(m_options.years);
    try {
        for (int year = first; year <= last; ++year) {
            m_year = year;
            m_ui.setProgressLabel(QStringLiteral("Generez anul %1 ...").arg(year));
            m_ui.setProgressPosition(year - first);
            m_ui.processEvents();
            if (year > first)
                carryOver(year);
            writeYear(year);
        }
        m_ui.setProgressLabel(QStringLiteral("Scriu tabelele ..."));
        m_ui.setProgressPosition(m_options.years);
        m_ui.processEvents();
        for (auto& [name, table] : m_tables)
            table->finish();
        writeVillages();
        writeSettings();
    } catch (...) {
        m_ui.Distruge();
        throw;
    }
    m_ui.Distruge();
    m_summary.lastCodid = m_codid;
    m_summary.lastCod1 = m_cod1;
    m_summary.lastCodt = m_codt;
    return m_summary;
}

}

DemoTypeCounts demoTypeCounts(int households)
{
    DemoTypeCounts c;
    if (households <= 0)
        return c;
    if (households < 4) {
        c.type1 = 1;
        c.type2 = households >= 2 ? 1 : 0;
        c.type3 = households >= 3 ? 1 : 0;
        return c;
    }
    c.type2 = std::max(1, households * 7 / 100);
    c.type3 = std::max(1, households * 2 / 100);
    c.type4 = std::max(1, households * 15 / 1000);
    c.type1 = households - c.type2 - c.type3 - c.type4;
    return c;
}

QStringList demoRegisterFiles()
{
    QStringList files = Schema::tableFileNames();
    files << QStringLiteral("CAP11.dbt") << QStringLiteral("Sate.lst") << QStringLiteral("Velmor.ini");
    return files;
}

DemoSummary generateDemoRegister(const QString& dataDirectory, const DemoOptions& options, Interaction& ui)
{
    DemoOptions o = options;
    if (o.households < 1 || o.households > 1000000)
        throw DemoError(QStringLiteral("Numarul de gospodarii trebuie sa fie intre 1 si 1000000 (nu %1).").arg(o.households));
    if (o.years < 1 || o.years > 100)
        throw DemoError(QStringLiteral("Numarul de ani trebuie sa fie intre 1 si 100 (nu %1).").arg(o.years));
    if (o.firstYear == 0)
        o.firstYear = std::max(2005, QDate::currentDate().year() - o.years + 1);
    if (o.firstYear < 2005 || o.firstYear + o.years - 1 > 9999)
        throw DemoError(QStringLiteral("Primul an trebuie sa fie cel putin 2005, iar ultimul cel mult 9999 (nu %1).").arg(o.firstYear));

    const QString dir = QDir::cleanPath(QDir::fromNativeSeparators(dataDirectory));
    if (QFileInfo(dir).exists() && !QFileInfo(dir).isDir())
        throw DemoError(QStringLiteral("\"%1\" nu este un director.").arg(dir));
    QStringList present;
    for (const QString& name : demoRegisterFiles()) {
        if (QFileInfo::exists(dbf::resolveFileName(dir + QLatin1Char('/') + name)))
            present << name;
    }
    if (!present.isEmpty())
        throw DemoError(QStringLiteral("Directorul \"%1\" contine deja fisiere de registru (%2). Alegeti un director gol.")
                            .arg(dir, present.join(QStringLiteral(", "))));
    if (!QDir().mkpath(dir))
        throw DemoError(QStringLiteral("Directorul \"%1\" nu poate fi creat.").arg(dir));

    // The tables are made by the schema's own creators, then filled.
    {
        engine::Engine engine(dir);
        Schema schema(engine, dir, ui);
        try {
            schema.CreazaBaza();
        } catch (const engine::SqlError& e) {
            throw DemoError(e.message());
        }
    }
    Generator generator(o, dir, ui);
    return generator.run();
}

}
