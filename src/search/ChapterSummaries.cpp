#include "search/ChapterSummaries.h"

#include "search/SummaryText.h"

#include "data/ChapterCatalogue.h"
#include "data/dbf/ValueConversions.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/TextFunctions.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace velmor::search {

namespace {

double numberOf(const dbf::Value& value)
{
    return dbf::toFiniteReal(value);
}

// Reals in their shortest form, as the summaries print them.
QString textOf(const dbf::Value& value)
{
    return dbf::toText(value, 8);
}

// The rows of one statement, with fields read by name.
class Rows {
public:
    explicit Rows(engine::ResultSet result)
        : m_result(std::move(result))
    {
    }

    size_t size() const { return m_result.rows.size(); }
    bool empty() const { return m_result.rows.empty(); }

    const dbf::Value& value(size_t row, const char* field) const { return m_result.value(row, field); }
    double number(size_t row, const char* field) const { return numberOf(value(row, field)); }
    QString text(size_t row, const char* field) const { return textOf(value(row, field)); }

private:
    engine::ResultSet m_result;
};

// Texts indexed 1..N, all empty at the start.
class Slots {
public:
    explicit Slots(int count)
        : m_texts(size_t(count) + 1)
    {
    }

    int count() const { return int(m_texts.size()) - 1; }
    bool has(int slot) const { return slot >= 1 && slot <= count(); }
    void set(int slot, const QString& text)
    {
        if (has(slot))
            m_texts[size_t(slot)] = text;
    }
    const QString& operator[](int slot) const { return m_texts[size_t(slot)]; }
    bool filled(int slot) const { return has(slot) && !m_texts[size_t(slot)].isEmpty(); }
    // Slots from..to joined in order.
    QString range(int from, int to) const
    {
        QString text;
        for (int slot = from; slot <= to; ++slot)
            text += m_texts[size_t(slot)];
        return text;
    }
    bool allBlank() const
    {
        for (const QString& text : m_texts) {
            if (!Trim(text).isEmpty())
                return false;
        }
        return true;
    }

private:
    std::vector<QString> m_texts;
};

// Inserts "," in front of the fragment's last character (a space).
QString commaBeforeLast(const QString& fragment)
{
    if (fragment.isEmpty())
        return fragment;
    QString text = fragment;
    text.insert(text.size() - 1, QLatin1Char(','));
    return text;
}

// Slot of a row: its position in the chapter's catalogue; 0 for a code the catalogue lacks.
int slotOf(int chapter, double code)
{
    return data::chapterPositionOfCode(chapter, code);
}

// Hectares and ares of a surface as "2ha50.25ari" (plain numbers; a part that is zero is left out).
QString plainArea(std::int64_t m2)
{
    QString text;
    if (m2 / 10000 > 0)
        text += plainText(double(m2 / 10000)) + QStringLiteral("ha");
    if (m2 % 10000 > 0)
        text += plainText(double(m2 % 10000) / 100.0) + QStringLiteral("ari");
    return text;
}

// Whole hectares and ares, each followed by `haText` / `ariText` when present.
QString wholeAreaText(std::int64_t m2, const QString& haText, const QString& ariText)
{
    const WholeArea area = wholeArea(m2);
    QString text;
    if (area.hectares > 0)
        text += wholeText(double(area.hectares)) + haText;
    if (area.hasAres)
        text += wholeText(double(area.ares)) + ariText;
    return text;
}

// Sum of "hectares + ares" as the values are stored, in hundredths.
std::int64_t storedSumHundredths(double hectares, double ares)
{
    return std::llround(hectares * 100.0) + std::llround(ares * 100.0);
}

}

ChapterSummaries::ChapterSummaries(engine::Engine& engine, const QString& dataDirectory,
                                   const LocalTariffs::Values& tariffs)
    : m_engine(engine)
    , m_dataDirectory(dataDirectory)
    , m_tariffs(tariffs)
{
}

QString ChapterSummaries::tablePath(const QString& fileName) const
{
    return engine::quotedPath(m_dataDirectory + QLatin1Char('/') + fileName);
}

namespace {

engine::Parameters householdParameter(qint64 codid)
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("CODID"), std::int64_t(codid));
    return parameters;
}

}

engine::ResultSet ChapterSummaries::select(const char* columns, const char* table, const char* order, qint64 codid)
{
    QStringList lines {QStringLiteral("SELECT ") + QString::fromUtf8(columns),
                       QStringLiteral("FROM ") + tablePath(QString::fromUtf8(table)), QStringLiteral("WHERE CODID=:CODID")};
    engine::Parameters parameters = householdParameter(codid);
    if (m_year > 0) {
        lines.last() += QStringLiteral(" AND ANUL=:ANUL");
        parameters.bind(QStringLiteral("ANUL"), std::int64_t(m_year));
    }
    if (*order)
        lines << QString::fromUtf8(order);
    return m_engine.select(lines.join(QLatin1Char('\n')), parameters);
}

QString ChapterSummaries::TextMembri(qint64 codid)
{
    const Rows rows = Rows(select("NUMEP, DENUM, COD", "CAP1.dbf", "ORDER BY COD, COD1", codid));
    if (rows.empty())
        return noMembers();
    QString text;
    for (size_t r = 0; r < rows.size(); ++r) {
        text += rows.text(r, "NUMEP") + QStringLiteral(" - ") + rows.text(r, "DENUM");
        text += r + 1 < rows.size() ? QStringLiteral(", ") : QStringLiteral(".");
    }
    return text;
}

QString ChapterSummaries::TextParcele(qint64 codid)
{
    const Rows rows = Rows(select("INTRA, TARLA, NRTARLA, NRPARC, CATEG, SUPRAF", "Tarlale.dbf", "ORDER BY INTRA, CODT", codid));
    if (rows.empty())
        return noPlots();
    QString text;
    QString previous;
    for (size_t r = 0; r < rows.size(); ++r) {
        const QString intra = rows.text(r, "INTRA");
        if (intra != previous)
            text += intra + QStringLiteral(" : ");
        previous = intra;
        text += QStringLiteral(" tarla: ") + Capitalizeaza(rows.text(r, "TARLA")) + QStringLiteral(" nr.")
            + rows.text(r, "NRTARLA") + QStringLiteral(" parcela ") + rows.text(r, "NRPARC")
            + QStringLiteral(" categoria ") + lowerAZ(rows.text(r, "CATEG")) + QStringLiteral(" = ")
            + plotAreaText(rows.number(r, "SUPRAF")) + QStringLiteral(" ha; ");
    }
    return text;
}

namespace {

// How a chapter's rows are measured: a surface from a hectares and an ares column, or a count.
enum class Measure { Area, Count };

// When a chapter holds nothing, read over all its rows.
enum class Threshold {
    WholeHectare, // the stored hectares and ares add up to less than one hectare
    AnyArea,      // no surface at all
    OneUnit,      // the counts add up to less than one
};

// How a row's amount is written after "label: ".
enum class AmountText {
    PlainArea,  // "2ha50.25ari,"
    WholeArea,  // whole hectares and ares with the chapter's unit texts
    Count,      // the count and the chapter's unit
};

// A row label of the chapter's own instead of its CATEG; "%1" stands for the half year.
struct Label {
    int slot;
    const char16_t* text;
    bool prefix = false; // put in front of CATEG instead of replacing it
};

// One chapter summary described once: what is read, how it is measured and labelled, and the
// sentence the filled slots make.
struct ChapterSketch {
    int chapter;
    int count; // catalogue rows
    const char* table;
    const char* columns;
    const char* secondHalfColumns; // the columns read for the second half year; null if none
    Measure measure;
    const char* first; // HA column, or the count column
    const char* second; // ARI column of an area
    Threshold threshold;
    QString (*none)();
    AmountText amount;
    const char16_t* haText; // unit texts of WholeArea, or the unit of a Count
    const char16_t* ariText;
    bool commaBeforeLast; // the "," goes before the fragment's last character instead of after it
    bool curata; // CATEG cleaned with Curata instead of trimmed
    bool labelledKeepZero; // labelled rows are shown also when they hold nothing
    bool blankIsNone; // nothing filled gives the none text instead of an empty sentence
    std::vector<Label> labels;
    std::vector<Label> units; // a unit of one slot instead of the chapter's
    QString (*sentence)(const Slots& parts);
};

QString everySlot(const Slots& parts)
{
    return parts.range(1, parts.count());
}

const ChapterSketch& sketchOf(int chapter)
{
    using namespace data;
    static const std::vector<ChapterSketch> sketches {
        {2, cap2::Count, "CAP2.dbf", "CATEG,RAND,BHA,BARI,IHA,IARI", nullptr, Measure::Area, "BHA", "BARI",
         Threshold::WholeHectare, ChapterSummaries::noneHeld, AmountText::PlainArea, nullptr, nullptr, false, false, false, true,
         {{cap2::Vineyards, u" Vii"},
          {cap2::Orchards, u" Livezi"},
          {cap2::OrchardsBearing, u" din care pe rod"},
          {cap2::AgriculturalTotal, u" Teren agricol"},
          {cap2::Forest, u" Fond forestier"},
          {cap2::TotalArea, u" Total teren"}},
         {},
         [](const Slots& parts) {
             QString text;
             if (parts.filled(cap2::TotalArea))
                 text += parts[cap2::TotalArea] + QStringLiteral(" din care: ") + parts.range(cap2::Forest, cap2::OtherLand);
             if (parts.filled(cap2::AgriculturalTotal))
                 text += parts[cap2::AgriculturalTotal] + QStringLiteral(" compus din: ") + parts.range(cap2::Arable, cap2::Orchards);
             return text + parts[cap2::OrchardsBearing];
         }},
        {3, cap3::Count, "CAP3.dbf", "CATEG,RAND,HA,ARI", nullptr, Measure::Area, "HA", "ARI", Threshold::WholeHectare,
         ChapterSummaries::noAgriculturalArea, AmountText::WholeArea, u"ha", u"ari", false, false, false, true,
         {{cap3::Owned, u" Suprafată agricolă în proprietate"},
          {cap3::ReceivedTotal, u" Suprafată agricolă primită"},
          {cap3::GivenTotal, u" Suprafată agricolă dată"},
          {cap3::GivenToCompanies, u" total la persoane juridice"},
          {cap3::Used, u" Suprafată agricolă utilizată"}},
         {},
         [](const Slots& parts) {
             QString text;
             if (parts.filled(cap3::Used))
                 text += parts[cap3::Used] + QStringLiteral(" compusă din:") + parts[cap3::Owned];
             if (parts.filled(cap3::ReceivedTotal))
                 text += parts[cap3::ReceivedTotal] + QStringLiteral(" astfel:")
                     + parts.range(cap3::ReceivedLease, cap3::ReceivedOther) + QStringLiteral(". ");
             if (parts.filled(cap3::GivenTotal))
                 text += parts[cap3::GivenTotal] + QStringLiteral(" astfel:") + parts.range(cap3::GivenLease, cap3::GivenToCompanies);
             return text;
         }},
        {4, cap4::Count, "CAP4.dbf", "CATEG,RAND,HA,ARI", nullptr, Measure::Area, "HA", "ARI", Threshold::WholeHectare,
         ChapterSummaries::noneHeld, AmountText::WholeArea, u"ha ", u"ari ", true, false, false, true,
         {{cap4::VegetablesTotal, u" Total legume în câmp si solarii"},
          {cap4::CultivatedTotal, u" Total suprafată arabilă cultivată"},
          {cap4::Unsown, u" Rămas neânsământat si ogoare"},
          {cap4::ArableTotal, u" Total teren arabil"}},
         {},
         [](const Slots& parts) {
             QString text = parts[cap4::ArableTotal];
             if (parts.filled(cap4::ArableTotal))
                 text += QStringLiteral(" compus din ") + parts[cap4::Unsown] + parts[cap4::CultivatedTotal];
             if (parts.filled(cap4::CultivatedTotal))
                 text += QStringLiteral(" cu culturile:") + parts.range(cap4::Wheat, cap4::VegetablesTotal);
             if (parts.filled(cap4::VegetablesTotal))
                 text += QStringLiteral(" astfel:") + parts.range(cap4::Tomatoes, cap4::OtherVegetables) + QStringLiteral("; ");
             return text + parts.range(cap4::Melons, cap4::OtherCrops);
         }},
        {5, cap5::Count, "CAP5.dbf", "CATEG,RAND,NR", nullptr, Measure::Count, "NR", nullptr, Threshold::OneUnit,
         ChapterSummaries::noneHeld, AmountText::Count, u"buc. ", nullptr, true, false, false, true,
         {{cap5::BearingTotal, u" Pomi pe rod total"}},
         {},
         [](const Slots& parts) {
             QString text = parts[cap5::BearingTotal];
             if (parts.filled(cap5::BearingTotal))
                 text += QStringLiteral(" astfel: ") + parts.range(cap5::Apple, cap5::Peach);
             return text + parts.range(cap5::Cherry, cap5::Mulberry);
         }},
        {6, cap6::Count, "CAP6.dbf", "CATEG,RAND,BHA,BARI", nullptr, Measure::Area, "BHA", "BARI", Threshold::AnyArea,
         ChapterSummaries::noneHeld, AmountText::WholeArea, u" ha ", u" ari ", true, false, false, true,
         {{cap6::ArableTotal, u"Teren arabil total"}, {cap6::AgriculturalTotal, u"Total teren agricol irigat"}},
         {},
         [](const Slots& parts) {
             QString text = parts[cap6::AgriculturalTotal] + QStringLiteral(" din care: ") + parts.range(cap6::Pasture, cap6::Orchards);
             if (parts.filled(cap6::ArableTotal))
                 text += parts[cap6::ArableTotal] + QStringLiteral(" din care:") + parts.range(cap6::WheatAndRye, cap6::OtherCrops);
             return text;
         }},
        {7, cap7::Count, "CAP7.dbf", "CATEG,RAND,NR", nullptr, Measure::Count, "NR", nullptr, Threshold::OneUnit,
         ChapterSummaries::noneHeld, AmountText::Count, u" capete ", nullptr, true, false, false, true,
         {{cap7::BovineTotal, u"Bovine- Total"}, {cap7::Ewes, u"- oi fătătoare"}, {cap7::Sows, u"- scroafe de prăsilă"}},
         {{cap7::BeeFamilies, u" familii "}},
         [](const Slots& parts) {
             QString text = parts[cap7::BovineTotal];
             if (parts.filled(cap7::BovineTotal))
                 text += QStringLiteral(" din care: ") + parts.range(cap7::Cows, cap7::BovineFattening);
             text += parts[cap7::SheepTotal];
             if (parts.filled(cap7::SheepTotal))
                 text += QStringLiteral(" din care:") + parts.range(cap7::Ewes, cap7::SheGoats);
             if (parts.filled(cap7::PigsTotal))
                 text += parts[cap7::PigsTotal] + QStringLiteral(" din care:") + parts.range(cap7::Sows, cap7::Boars);
             if (parts.filled(cap7::HorsesTotal))
                 text += parts[cap7::HorsesTotal] + parts[cap7::WorkHorses] + parts[cap7::Stallions];
             return text + parts.range(cap7::DonkeysAndMules, cap7::BeeFamilies);
         }},
        {8, cap8::Count, "CAP8.dbf", "CATEG,Sem_1 AS NR,RAND", "CATEG, Sem_2 AS NR,RAND", Measure::Count, "NR", nullptr,
         Threshold::OneUnit, ChapterSummaries::noChanges, AmountText::Count, u" capete ", nullptr, true, true, true, false,
         {{cap8::CalvesBorn, u"Bovine Sem.%1 vitei obtinuti"},
          {cap8::CowPurchases, u"din care vaci si bivolite Sem.%1 cumpărări"},
          {cap8::LambsBorn, u"Ovine Sem.%1 miei obtinuti"},
          {cap8::KidsBorn, u"Caprine Sem.%1 iezi obtinuti"},
          {cap8::PigletsBorn, u"Porcine Sem.%1 purcei obtinuti"},
          {cap8::FoalsBorn, u"Cabaline Sem.%1 manji obtinuti"}},
         {},
         everySlot},
        {9, cap9::Count, "CAP9.dbf", "CATEG,RAND,NR", nullptr, Measure::Count, "NR", nullptr, Threshold::OneUnit,
         ChapterSummaries::noneHeld, AmountText::Count, u" buc. ", nullptr, true, true, false, false,
         {{cap9::Tractors46To55Hp, u"Tractoare ", true},
          {cap9::Tractors56To65Hp, u"Tractoare ", true},
          {cap9::TractorsOver65Hp, u"Tractoare ", true},
          {cap9::RowCropSeeders, u"Semănători mecanice pt.prasitoare"},
          {cap9::MaizeCombines, u"Combine autopropulsate ", true},
          {cap9::ForageCombines, u"Combine autopropulsate ", true}},
         {},
         everySlot},
    };
    return sketches[size_t(chapter - 2)];
}

const Label* findLabel(const std::vector<Label>& labels, int slot)
{
    for (const Label& label : labels) {
        if (label.slot == slot)
            return &label;
    }
    return nullptr;
}

// The measure of a row: square metres of an area, or the count.
double measureOf(const ChapterSketch& sketch, const Rows& rows, size_t r)
{
    if (sketch.measure == Measure::Count)
        return rows.number(r, sketch.first);
    return double(squareMetres(rows.number(r, sketch.first), rows.number(r, sketch.second)));
}

bool holdsNothing(const ChapterSketch& sketch, const Rows& rows)
{
    switch (sketch.threshold) {
    case Threshold::WholeHectare: {
        std::int64_t total = 0;
        for (size_t r = 0; r < rows.size(); ++r)
            total += storedSumHundredths(rows.number(r, sketch.first), rows.number(r, sketch.second));
        return total < 100;
    }
    case Threshold::AnyArea: {
        // Any surface at all counts, also one below a hectare.
        std::int64_t total = 0;
        for (size_t r = 0; r < rows.size(); ++r)
            total += squareMetres(rows.number(r, sketch.first), rows.number(r, sketch.second));
        return total <= 0;
    }
    case Threshold::OneUnit: {
        double total = 0;
        for (size_t r = 0; r < rows.size(); ++r)
            total += rows.number(r, sketch.first);
        return total < 1;
    }
    }
    return true;
}

// Chapter 2's total split into the area inside and outside the built-up area.
QString builtUpSplit(const Rows& rows, size_t r, std::int64_t m2)
{
    const std::int64_t inside = squareMetres(rows.number(r, "IHA"), rows.number(r, "IARI"));
    const std::int64_t outside = std::max<std::int64_t>(0, m2 - inside);
    return QStringLiteral(" repartizati astfel: ") + plainText(double(inside / 10000)) + QStringLiteral("ha ")
        + plainText(double(inside % 10000) / 100.0) + QStringLiteral("ari intravilan si ") + plainText(double(outside / 10000))
        + QStringLiteral("ha ") + plainText(double(outside % 10000) / 100.0) + QStringLiteral("ari extravilan,");
}

QString fragmentOf(const ChapterSketch& sketch, const QString& label, const Rows& rows, size_t r, int slot, double measure)
{
    QString fragment = label + QStringLiteral(": ");
    switch (sketch.amount) {
    case AmountText::PlainArea:
        fragment += plainArea(std::int64_t(measure));
        if (sketch.chapter == 2 && slot == data::cap2::TotalArea)
            return fragment + builtUpSplit(rows, r, std::int64_t(measure));
        break;
    case AmountText::WholeArea:
        fragment += wholeAreaText(std::int64_t(measure), QString::fromUtf16(sketch.haText), QString::fromUtf16(sketch.ariText));
        break;
    case AmountText::Count: {
        const Label* unit = findLabel(sketch.units, slot);
        fragment += plainText(measure) + QString::fromUtf16(unit ? unit->text : sketch.haText);
        break;
    }
    }
    return sketch.commaBeforeLast ? commaBeforeLast(fragment) : fragment + QLatin1Char(',');
}

}

QString ChapterSummaries::chapterText(int chapter, qint64 codid, int halfYear)
{
    const ChapterSketch& sketch = sketchOf(chapter);
    const bool second = halfYear == 2 && sketch.secondHalfColumns;
    const Rows rows = Rows(select(second ? sketch.secondHalfColumns : sketch.columns, sketch.table, "ORDER BY RAND", codid));
    if (rows.empty() || holdsNothing(sketch, rows))
        return sketch.none();

    const QString half = second ? QStringLiteral("2") : QStringLiteral("1");
    Slots parts(sketch.count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(chapter, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const double measure = measureOf(sketch, rows, r);
        const Label* own = findLabel(sketch.labels, slot);
        if (!(measure > 0) && !(own && sketch.labelledKeepZero)) {
            parts.set(slot, QString());
            continue;
        }
        QString label = sketch.curata ? Curata(rows.text(r, "CATEG")) : Trim(rows.text(r, "CATEG"));
        if (own) {
            const QString text = QString::fromUtf16(own->text).replace(QStringLiteral("%1"), half);
            label = own->prefix ? text + label : text;
        }
        parts.set(slot, fragmentOf(sketch, label, rows, r, slot, measure));
    }
    if (sketch.blankIsNone && parts.allBlank())
        return sketch.none();
    return Finalizeaza(sketch.sentence(parts));
}

QString ChapterSummaries::TextCap2(qint64 codid)
{
    return chapterText(2, codid, 0);
}

QString ChapterSummaries::TextCap3(qint64 codid)
{
    return chapterText(3, codid, 0);
}

QString ChapterSummaries::TextCap4(qint64 codid)
{
    return chapterText(4, codid, 0);
}

QString ChapterSummaries::TextCap5(qint64 codid)
{
    return chapterText(5, codid, 0);
}

QString ChapterSummaries::TextCap6(qint64 codid)
{
    return chapterText(6, codid, 0);
}

QString ChapterSummaries::TextCap7(qint64 codid)
{
    return chapterText(7, codid, 0);
}

QString ChapterSummaries::TextCap8(qint64 codid, int halfYear)
{
    return chapterText(8, codid, halfYear);
}

QString ChapterSummaries::TextCap9(qint64 codid)
{
    return chapterText(9, codid, 0);
}

QString ChapterSummaries::TextCap10(qint64 codid)
{
    const Rows rows = Rows(select("RAND,DETALII,UM", "CAP10.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    double total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += rows.number(r, "DETALII");
    if (total < 1)
        return noneHeld();

    // Each catalogue row by its code; the first of several rows with one code.
    std::map<int, dbf::Value> byCode;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int position = slotOf(10, rows.number(r, "RAND"));
        if (position > 0 && !byCode.count(position))
            byCode.emplace(position, rows.value(r, "DETALII"));
    }
    auto valueText = [&byCode](int code) {
        const auto it = byCode.find(code);
        return it == byCode.end() ? QString() : textOf(it->second);
    };

    QString text = QStringLiteral(" Case de locuit: ");
    for (int b = 1; b <= 4; ++b) {
        QString surface = valueText(3 * b - 2);
        if (Trim(surface).isEmpty())
            surface = QStringLiteral("0");
        if (!(numberOf(surface) >= 0.02)) {
            if (b == 1)
                text += QStringLiteral(" nu detine. ");
            break;
        }
        text += QStringLiteral(" Imobil ") + QString::number(b) + QStringLiteral(": ") + QStringLiteral("suprafata construită ")
            + surface + QStringLiteral(" mp, ") + TextMaterial(valueText(3 * b - 1)) + QStringLiteral(", ")
            + QStringLiteral(" din anul ") + valueText(3 * b) + QStringLiteral(", ");
    }

    static const char16_t* const annexes[] = {
        u" grajduri : ", u" pătule : ", u" magazii,hambare pentru cereale: ", u" sură, fânar : ",
        u" remize, soproane : ", u" garaje: ", u" cladiri anexe: ",
    };
    for (int code = data::cap10::Stables; code <= data::cap10::Annexes; ++code) {
        const auto it = byCode.find(code);
        const double value = it == byCode.end() ? 0.0 : numberOf(it->second);
        if (value > 0.01)
            text += QString::fromUtf16(annexes[code - data::cap10::Stables]) + annexText(value) + QStringLiteral(" mp, ");
    }
    return Finalizeaza(text);
}

QString ChapterSummaries::TextMentiuni(qint64 codid)
{
    const Rows rows = Rows(select("MENTIUNI", "CAP11.dbf", "", codid));
    if (rows.empty())
        return QString();
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return Trim(rows.text(0, "MENTIUNI").split(lineBreak).join(QString()));
}

namespace {

// The local tariff (1 to 16) of each chapter 2 row inside and outside the built-up area.
struct LandTariff {
    int row;
    int inside;
    int outside;
};
constexpr LandTariff kLandTariffs[] {
    {data::cap2::Arable, 1, 12},
    {data::cap2::Pasture, 2, 13},
    {data::cap2::Hayfields, 2, 13},
    {data::cap2::VineyardsBearing, 3, 14},
    {data::cap2::OrchardsBearing, 4, 15},
    {data::cap2::Forest, 5, 16},
};

// The local tariff of each chapter 7 total.
struct AnimalTariff {
    int row;
    int tariff;
};
constexpr AnimalTariff kAnimalTariffs[] {
    {data::cap7::BovineTotal, 6}, {data::cap7::SheepTotal, 8},   {data::cap7::PigsTotal, 9},
    {data::cap7::HorsesTotal, 7}, {data::cap7::PoultryTotal, 10}, {data::cap7::BeeFamilies, 11},
};

}

QString ChapterSummaries::TextVenit(qint64 codid)
{
    auto tariff = [this](int n) { return Fixed4::fromDouble(m_tariffs.tariffs[size_t(n - 1)]); };
    Fixed4 income;

    // Land: every category at its rate inside and outside the built-up area.
    const Rows land = Rows(select("RAND, AHA, AARI, IHA, IARI", "CAP2.dbf", "ORDER BY RAND", codid));
    for (size_t r = 0; r < land.size(); ++r) {
        const int slot = slotOf(2, land.number(r, "RAND"));
        const auto rate = std::find_if(std::begin(kLandTariffs), std::end(kLandTariffs),
                                       [slot](const LandTariff& t) { return t.row == slot; });
        if (rate == std::end(kLandTariffs))
            continue;
        // Square metres are ten-thousandths of a hectare.
        const std::int64_t total = squareMetres(land.number(r, "AHA"), land.number(r, "AARI"));
        const std::int64_t intra = squareMetres(land.number(r, "IHA"), land.number(r, "IARI"));
        const std::int64_t extra = std::max<std::int64_t>(0, total - intra);
        income += tariff(rate->inside) * Fixed4::fromUnits(intra) + tariff(rate->outside) * Fixed4::fromUnits(extra);
    }

    // Animals: head counts (bee families) at their rates; the code's whole part picks the row.
    const Rows animals = Rows(select("RAND, NR", "CAP7.dbf", "ORDER BY RAND", codid));
    for (size_t r = 0; r < animals.size(); ++r) {
        const double code = std::floor(animals.number(r, "RAND"));
        const auto rate = std::find_if(std::begin(kAnimalTariffs), std::end(kAnimalTariffs), [code](const AnimalTariff& t) {
            return data::chapterRowCode(7, t.row) == code;
        });
        if (rate == std::end(kAnimalTariffs))
            continue;
        income += tariff(rate->tariff) * Fixed4::fromDouble(animals.number(r, "NR"));
    }

    const Rows members = Rows(select("Count(*) AS NR", "CAP1.dbf", "", codid));
    const std::int64_t memberCount = members.empty() ? 0 : std::int64_t(members.number(0, "NR"));
    const Fixed4 perMember = memberCount > 0 ? income.dividedBy(memberCount) : Fixed4();

    return m_tariffs.hotarare + QStringLiteral(" un venit agricol de ") + income.moneyText()
        + QStringLiteral(" lei/luna, venitul mediu pe membru de familie fiind de ") + perMember.moneyText()
        + QStringLiteral(" lei/luna.");
}

QList<ChapterSummaries::Summary> ChapterSummaries::all(qint64 codid)
{
    return {
        {QStringLiteral("TextMembri"), TextMembri(codid)},
        {QStringLiteral("TextParcele"), TextParcele(codid)},
        {QStringLiteral("TextCap2"), TextCap2(codid)},
        {QStringLiteral("TextCap3"), TextCap3(codid)},
        {QStringLiteral("TextCap4"), TextCap4(codid)},
        {QStringLiteral("TextCap5"), TextCap5(codid)},
        {QStringLiteral("TextCap6"), TextCap6(codid)},
        {QStringLiteral("TextCap7"), TextCap7(codid)},
        {QStringLiteral("TextCap8_1"), TextCap8(codid, 1)},
        {QStringLiteral("TextCap8_2"), TextCap8(codid, 2)},
        {QStringLiteral("TextCap9"), TextCap9(codid)},
        {QStringLiteral("TextCap10"), TextCap10(codid)},
        {QStringLiteral("TextMentiuni"), TextMentiuni(codid)},
        {QStringLiteral("TextVenit"), TextVenit(codid)},
    };
}

}
