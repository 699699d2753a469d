#include "search/ChapterSummaries.h"

#include "search/SummaryText.h"

#include "data/ChapterCatalogue.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/TextFunctions.h"

#include <QRegularExpression>

#include <cmath>
#include <map>
#include <vector>

namespace velmor::search {

namespace {

double numberOf(const dbf::Value& value)
{
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return double(*n);
    if (const auto* r = std::get_if<double>(&value))
        return std::isfinite(*r) ? *r : 0.0;
    if (const auto* t = std::get_if<QString>(&value)) {
        bool ok = false;
        const double d = t->trimmed().toDouble(&ok);
        return ok && std::isfinite(d) ? d : 0.0;
    }
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1.0 : 0.0;
    return 0.0;
}

QString textOf(const dbf::Value& value)
{
    if (const auto* t = std::get_if<QString>(&value))
        return *t;
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return QString::number(*n);
    if (const auto* r = std::get_if<double>(&value))
        return plainText(*r);
    if (const auto* d = std::get_if<QDate>(&value))
        return d->toString(QStringLiteral("dd.MM.yyyy"));
    return QString();
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

    const dbf::Value& value(size_t row, const char* field) const
    {
        static const dbf::Value null;
        const int column = m_result.fieldIndex(QString::fromLatin1(field));
        return column < 0 ? null : m_result.rows[row][size_t(column)];
    }
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

QString ChapterSummaries::TextCap2(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,BHA,BARI,IHA,IARI", "CAP2.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    std::int64_t total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += storedSumHundredths(rows.number(r, "BHA"), rows.number(r, "BARI"));
    if (total < 100)
        return noneHeld();

    Slots parts(data::cap2::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(2, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const std::int64_t m2 = squareMetres(rows.number(r, "BHA"), rows.number(r, "BARI"));
        if (m2 <= 0) {
            parts.set(slot, QString());
            continue;
        }
        QString label;
        switch (slot) {
        case 4: label = QStringLiteral(" Vii"); break;
        case 6: label = QStringLiteral(" Livezi"); break;
        case 7: label = QStringLiteral(" din care pe rod"); break;
        case 8: label = QStringLiteral(" Teren agricol"); break;
        case 9: label = QStringLiteral(" Fond forestier"); break;
        case 12: label = QStringLiteral(" Total teren"); break;
        default: label = Trim(rows.text(r, "CATEG")); break;
        }
        QString fragment = label + QStringLiteral(": ") + plainArea(m2);
        if (slot != 12) {
            fragment += QLatin1Char(',');
        } else {
            // Split into the area inside and outside the built-up area.
            const std::int64_t inside = squareMetres(rows.number(r, "IHA"), rows.number(r, "IARI"));
            const std::int64_t outside = std::max<std::int64_t>(0, m2 - inside);
            fragment += QStringLiteral(" repartizati astfel: ") + plainText(double(inside / 10000)) + QStringLiteral("ha ")
                + plainText(double(inside % 10000) / 100.0) + QStringLiteral("ari intravilan si ")
                + plainText(double(outside / 10000)) + QStringLiteral("ha ")
                + plainText(double(outside % 10000) / 100.0) + QStringLiteral("ari extravilan,");
        }
        parts.set(slot, fragment);
    }
    if (parts.allBlank())
        return noneHeld();

    QString text;
    if (parts.filled(12))
        text += parts[12] + QStringLiteral(" din care: ") + parts.range(9, 11);
    if (parts.filled(8))
        text += parts[8] + QStringLiteral(" compus din: ") + parts.range(1, 6);
    text += parts[7];
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap3(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,HA,ARI", "CAP3.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noAgriculturalArea();
    std::int64_t total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += storedSumHundredths(rows.number(r, "HA"), rows.number(r, "ARI"));
    if (total < 100)
        return noAgriculturalArea();

    Slots parts(data::cap3::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(3, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const std::int64_t m2 = squareMetres(rows.number(r, "HA"), rows.number(r, "ARI"));
        if (m2 <= 0) {
            parts.set(slot, QString());
            continue;
        }
        QString label;
        switch (slot) {
        case 1: label = QStringLiteral(" Suprafată agricolă în proprietate"); break;
        case 2: label = QStringLiteral(" Suprafată agricolă primită"); break;
        case 8: label = QStringLiteral(" Suprafată agricolă dată"); break;
        case 14: label = QStringLiteral(" total la persoane juridice"); break;
        case 15: label = QStringLiteral(" Suprafată agricolă utilizată"); break;
        default: label = Trim(rows.text(r, "CATEG")); break;
        }
        parts.set(slot, label + QStringLiteral(": ") + wholeAreaText(m2, QStringLiteral("ha"), QStringLiteral("ari"))
                            + QLatin1Char(','));
    }
    if (parts.allBlank())
        return noAgriculturalArea();

    QString text;
    if (parts.filled(15))
        text += parts[15] + QStringLiteral(" compusă din:") + parts[1];
    if (parts.filled(2))
        text += parts[2] + QStringLiteral(" astfel:") + parts.range(3, 7) + QStringLiteral(". ");
    if (parts.filled(8))
        text += parts[8] + QStringLiteral(" astfel:") + parts.range(9, 14);
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap4(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,HA,ARI", "CAP4.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    std::int64_t total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += storedSumHundredths(rows.number(r, "HA"), rows.number(r, "ARI"));
    if (total < 100)
        return noneHeld();

    Slots parts(data::cap4::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(4, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const std::int64_t m2 = squareMetres(rows.number(r, "HA"), rows.number(r, "ARI"));
        if (m2 <= 0) {
            parts.set(slot, QString());
            continue;
        }
        QString label;
        switch (slot) {
        case 21: label = QStringLiteral(" Total legume în câmp si solarii"); break;
        case 33: label = QStringLiteral(" Total suprafată arabilă cultivată"); break;
        case 34: label = QStringLiteral(" Rămas neânsământat si ogoare"); break;
        case 35: label = QStringLiteral(" Total teren arabil"); break;
        default: label = Trim(rows.text(r, "CATEG")); break;
        }
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ")
                                        + wholeAreaText(m2, QStringLiteral("ha "), QStringLiteral("ari "))));
    }
    if (parts.allBlank())
        return noneHeld();

    QString text = parts[35];
    if (parts.filled(35))
        text += QStringLiteral(" compus din ") + parts[34] + parts[33];
    if (parts.filled(33))
        text += QStringLiteral(" cu culturile:") + parts.range(1, 21);
    if (parts.filled(21))
        text += QStringLiteral(" astfel:") + parts.range(22, 25) + QStringLiteral("; ");
    text += parts.range(26, 32);
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap5(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,NR", "CAP5.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    double total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += rows.number(r, "NR");
    if (total < 1)
        return noneHeld();

    Slots parts(data::cap5::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(5, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const double count = rows.number(r, "NR");
        if (!(count > 0)) {
            parts.set(slot, QString());
            continue;
        }
        const QString label = slot == 1 ? QStringLiteral(" Pomi pe rod total") : Trim(rows.text(r, "CATEG"));
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ") + plainText(count) + QStringLiteral("buc. ")));
    }
    if (parts.allBlank())
        return noneHeld();

    QString text = parts[1];
    if (parts.filled(1))
        text += QStringLiteral(" astfel: ") + parts.range(2, 7);
    text += parts.range(8, 13);
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap6(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,BHA,BARI", "CAP6.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    // Any irrigated surface at all counts, also one below a hectare.
    std::int64_t total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += squareMetres(rows.number(r, "BHA"), rows.number(r, "BARI"));
    if (total <= 0)
        return noneHeld();

    Slots parts(data::cap6::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(6, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const std::int64_t m2 = squareMetres(rows.number(r, "BHA"), rows.number(r, "BARI"));
        if (m2 <= 0) {
            parts.set(slot, QString());
            continue;
        }
        QString label;
        switch (slot) {
        case 1: label = QStringLiteral("Teren arabil total"); break;
        case 15: label = QStringLiteral("Total teren agricol irigat"); break;
        default: label = Trim(rows.text(r, "CATEG")); break;
        }
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ")
                                        + wholeAreaText(m2, QStringLiteral(" ha "), QStringLiteral(" ari "))));
    }
    if (parts.allBlank())
        return noneHeld();

    QString text = parts[15] + QStringLiteral(" din care: ") + parts.range(11, 14);
    if (parts.filled(1))
        text += parts[1] + QStringLiteral(" din care:") + parts.range(2, 10);
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap7(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,NR", "CAP7.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    double total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += rows.number(r, "NR");
    if (total < 1)
        return noneHeld();

    Slots parts(data::cap7::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(7, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const double count = rows.number(r, "NR");
        if (!(count > 0)) {
            parts.set(slot, QString());
            continue;
        }
        QString label;
        switch (slot) {
        case data::cap7::BovineTotal: label = QStringLiteral("Bovine- Total"); break;
        case data::cap7::Ewes: label = QStringLiteral("- oi fătătoare"); break;
        case data::cap7::Sows: label = QStringLiteral("- scroafe de prăsilă"); break;
        default: label = Trim(rows.text(r, "CATEG")); break;
        }
        const QString unit = slot == data::cap7::BeeFamilies ? QStringLiteral(" familii ") : QStringLiteral(" capete ");
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ") + plainText(count) + unit));
    }
    if (parts.allBlank())
        return noneHeld();

    QString text = parts[1];
    if (parts.filled(1))
        text += QStringLiteral(" din care: ") + parts.range(2, 10);
    text += parts[11];
    if (parts.filled(11))
        text += QStringLiteral(" din care:") + parts.range(12, 17);
    if (parts.filled(18))
        text += parts[18] + QStringLiteral(" din care:") + parts.range(19, 22);
    if (parts.filled(23))
        text += parts[23] + parts[24] + parts[25];
    text += parts.range(26, 33);
    return Finalizeaza(text);
}

QString ChapterSummaries::TextCap8(qint64 codid, int halfYear)
{
    const bool second = halfYear == 2;
    const Rows rows = second ? Rows(select("CATEG, Sem_2 AS NR,RAND", "CAP8.dbf", "ORDER BY RAND", codid))
                             : Rows(select("CATEG,Sem_1 AS NR,RAND", "CAP8.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noChanges();
    double total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += rows.number(r, "NR");
    if (total < 1)
        return noChanges();

    const QString h = second ? QStringLiteral("2") : QStringLiteral("1");
    Slots parts(data::cap8::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(8, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const double count = rows.number(r, "NR");
        QString label;
        switch (slot) {
        case data::cap8::CalvesBorn: label = QStringLiteral("Bovine Sem.") + h + QStringLiteral(" vitei obtinuti"); break;
        case data::cap8::CowPurchases: label = QStringLiteral("din care vaci si bivolite Sem.") + h + QStringLiteral(" cumpărări"); break;
        case data::cap8::LambsBorn: label = QStringLiteral("Ovine Sem.") + h + QStringLiteral(" miei obtinuti"); break;
        case data::cap8::KidsBorn: label = QStringLiteral("Caprine Sem.") + h + QStringLiteral(" iezi obtinuti"); break;
        case data::cap8::PigletsBorn: label = QStringLiteral("Porcine Sem.") + h + QStringLiteral(" purcei obtinuti"); break;
        case data::cap8::FoalsBorn: label = QStringLiteral("Cabaline Sem.") + h + QStringLiteral(" manji obtinuti"); break;
        default: break;
        }
        // The first row of each species counts also with nothing in it.
        if (label.isEmpty() && !(count > 0)) {
            parts.set(slot, QString());
            continue;
        }
        if (label.isEmpty())
            label = Curata(rows.text(r, "CATEG"));
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ") + plainText(count) + QStringLiteral(" capete ")));
    }
    return Finalizeaza(parts.range(1, parts.count()));
}

QString ChapterSummaries::TextCap9(qint64 codid)
{
    const Rows rows = Rows(select("CATEG,RAND,NR", "CAP9.dbf", "ORDER BY RAND", codid));
    if (rows.empty())
        return noneHeld();
    double total = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        total += rows.number(r, "NR");
    if (total < 1)
        return noneHeld();

    Slots parts(data::cap9::Count);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int slot = slotOf(9, rows.number(r, "RAND"));
        if (!parts.has(slot))
            continue;
        const double count = rows.number(r, "NR");
        if (!(count > 0)) {
            parts.set(slot, QString());
            continue;
        }
        QString label = Curata(rows.text(r, "CATEG"));
        if (slot >= 2 && slot <= 4)
            label = QStringLiteral("Tractoare ") + label;
        else if (slot == 14)
            label = QStringLiteral("Semănători mecanice pt.prasitoare");
        else if (slot == 23 || slot == 24)
            label = QStringLiteral("Combine autopropulsate ") + label;
        parts.set(slot, commaBeforeLast(label + QStringLiteral(": ") + plainText(count) + QStringLiteral(" buc. ")));
    }
    return Finalizeaza(parts.range(1, parts.count()));
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

QString ChapterSummaries::TextVenit(qint64 codid)
{
    auto tariff = [this](int n) { return Fixed4::fromDouble(m_tariffs.tariffs[size_t(n - 1)]); };
    Fixed4 income;

    // Land: every category at its rate inside and outside the built-up area.
    const Rows land = Rows(select("RAND, AHA, AARI, IHA, IARI", "CAP2.dbf", "ORDER BY RAND", codid));
    for (size_t r = 0; r < land.size(); ++r) {
        int inside = 0;
        int outside = 0;
        switch (slotOf(2, land.number(r, "RAND"))) {
        case 1: inside = 1; outside = 12; break;
        case 2:
        case 3: inside = 2; outside = 13; break;
        case 5: inside = 3; outside = 14; break;
        case 7: inside = 4; outside = 15; break;
        case 9: inside = 5; outside = 16; break;
        default: continue;
        }
        // Square metres are ten-thousandths of a hectare.
        const std::int64_t total = squareMetres(land.number(r, "AHA"), land.number(r, "AARI"));
        const std::int64_t intra = squareMetres(land.number(r, "IHA"), land.number(r, "IARI"));
        const std::int64_t extra = std::max<std::int64_t>(0, total - intra);
        income += tariff(inside) * Fixed4::fromUnits(intra) + tariff(outside) * Fixed4::fromUnits(extra);
    }

    // Animals: head counts (bee families) at their rates.
    const Rows animals = Rows(select("RAND, NR", "CAP7.dbf", "ORDER BY RAND", codid));
    for (size_t r = 0; r < animals.size(); ++r) {
        int n = 0;
        switch (int(std::floor(animals.number(r, "RAND")))) {
        case 1: n = 6; break;
        case 11: n = 8; break;
        case 17: n = 9; break;
        case 21: n = 7; break;
        case 28: n = 10; break;
        case 30: n = 11; break;
        default: continue;
        }
        income += tariff(n) * Fixed4::fromDouble(animals.number(r, "NR"));
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
