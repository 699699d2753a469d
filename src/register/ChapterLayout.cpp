#include "register/ChapterLayout.h"

#include "data/ChapterCatalogue.h"

#include <cmath>
#include <map>
#include <stdexcept>

namespace velmor {

namespace {

using Kind = ChapterColumn::Kind;

ChapterColumn hectares(const QString& field, bool editable)
{
    return {field, Kind::Hectares, 4, 0, 4, 0, 9999, editable};
}

ChapterColumn ares(const QString& field, int typedDecimals, bool editable)
{
    return {field, Kind::Ares, 6, 2, 2, typedDecimals, typedDecimals == 2 ? 99.99 : 99.9, editable};
}

ChapterColumn count(const QString& field, int width, int typedDigits)
{
    return {field, Kind::Count, width, 0, typedDigits, 0, std::pow(10.0, typedDigits) - 1, true};
}

ChapterGridColumn shown(const ChapterColumn& c, const QString& heading, const QString& group, int width)
{
    return {c.field, heading, group, width, c.editable, false, c.kind};
}

void addPair(ChapterLayout& l, const QString& pair, int typedDecimals, bool editable)
{
    l.columns << hectares(ChapterLayout::haField(pair), editable) << ares(ChapterLayout::ariField(pair), typedDecimals, editable);
    l.areaPairs << pair;
}

void showPair(ChapterLayout& l, const QString& pair, const QString& group, bool computed = false)
{
    const bool editable = !computed && l.column(ChapterLayout::haField(pair)) && l.column(ChapterLayout::haField(pair))->editable;
    l.gridColumns << ChapterGridColumn {ChapterLayout::haField(pair), QStringLiteral("ha"), group, 7, editable, computed, Kind::Hectares}
                  << ChapterGridColumn {ChapterLayout::ariField(pair), QStringLiteral("ari"), group, 7, editable, computed, Kind::Ares};
}

QList<int> tenths(std::initializer_list<int> codes)
{
    QList<int> out;
    for (int c : codes)
        out << c * 10;
    return out;
}

void fixedColumns(ChapterLayout& l, const QString& nameHeading, const QString& codeHeading = QStringLiteral("Cod"))
{
    l.nameHeading = nameHeading;
    l.gridColumns << ChapterGridColumn {QStringLiteral("CATEG"), nameHeading, QString(), 40, false, false, Kind::Text}
                  << ChapterGridColumn {QStringLiteral("RAND"), codeHeading, QString(), 5, false, false, Kind::Decimal};
}

std::map<int, ChapterLayout> build()
{
    std::map<int, ChapterLayout> all;
    const QString total = QStringLiteral("TOTAL");
    const QString domicile = QStringLiteral("Situata in :\nloc. domiciliu/sediu");
    const QString elsewhere = QStringLiteral("Situata in :\nalte localitati");

    ChapterLayout l2;
    l2.chapter = 2;
    l2.title = QStringLiteral("2.TERENURI IN PROPRIETATE");
    addPair(l2, QStringLiteral("A"), 2, false);
    addPair(l2, QStringLiteral("B"), 2, true);
    addPair(l2, QStringLiteral("C"), 2, true);
    addPair(l2, QStringLiteral("I"), 2, true);
    l2.computedCodes = tenths({8, 12});
    fixedColumns(l2, QStringLiteral("CATEGORIA DE TEREN"));
    showPair(l2, QStringLiteral("T"), total, true);
    showPair(l2, QStringLiteral("B"), domicile);
    showPair(l2, QStringLiteral("C"), elsewhere);
    showPair(l2, QStringLiteral("I"), QStringLiteral("intravilan"));
    showPair(l2, QStringLiteral("E"), QStringLiteral("extravilan"), true);
    all[2] = l2;

    ChapterLayout l3;
    l3.chapter = 3;
    l3.title = QStringLiteral("3. MODUL DE UTILIZARE A SUPRAFETEI AGRICOLE DIN LOCALITATE");
    l3.columns << hectares(QStringLiteral("HA"), true) << ares(QStringLiteral("ARI"), 2, true);
    l3.areaPairs << QString();
    l3.computedCodes = tenths({1, 2, 8, 15});
    fixedColumns(l3, QStringLiteral("CATEGORIA"));
    showPair(l3, QString(), QStringLiteral("SUPRAFATA"));
    all[3] = l3;

    ChapterLayout l4;
    l4.chapter = 4;
    l4.title = QStringLiteral("4.SUPRAFATA ARABILA CULTIVATA PE RAZA LOCALITATII");
    l4.columns << hectares(QStringLiteral("HA"), true) << ares(QStringLiteral("ARI"), 1, true);
    l4.areaPairs << QString();
    l4.computedCodes = tenths({21, 33, 35});
    fixedColumns(l4, QStringLiteral("CULTURA"));
    showPair(l4, QString(), QStringLiteral("SUPRAFATA"));
    all[4] = l4;

    ChapterLayout l5;
    l5.chapter = 5;
    l5.title = QStringLiteral("5.POMI FRUCTIFERI PE RAZA LOCALITATII");
    l5.columns << count(QStringLiteral("NR"), 7, 7);
    l5.computedCodes = tenths({1});
    fixedColumns(l5, QStringLiteral("SPECIA"));
    l5.gridColumns << shown(l5.columns[0], QStringLiteral("EFECTIV"), QString(), 10);
    all[5] = l5;

    ChapterLayout l6;
    l6.chapter = 6;
    l6.title = QStringLiteral("6.SUPRAFETE AMENAJATE PENTRU IRIGAT");
    addPair(l6, QStringLiteral("A"), 1, false);
    addPair(l6, QStringLiteral("B"), 1, true);
    addPair(l6, QStringLiteral("C"), 1, true);
    l6.computedCodes = tenths({1, 15});
    fixedColumns(l6, QStringLiteral("CATEGORIA DE TEREN"));
    showPair(l6, QStringLiteral("A"), total);
    showPair(l6, QStringLiteral("B"), domicile);
    showPair(l6, QStringLiteral("C"), elsewhere);
    all[6] = l6;

    ChapterLayout l7;
    l7.chapter = 7;
    l7.title = QStringLiteral("7.ANIMALE DOMESTICE - SITUATIA LA INCEPUTUL ANULUI");
    l7.columns << count(QStringLiteral("NR"), 7, 6);
    l7.computedCodes = tenths({1});
    fixedColumns(l7, QStringLiteral("SPECIA"));
    l7.gridColumns << shown(l7.columns[0], QStringLiteral("CAPETE"), QString(), 10);
    all[7] = l7;

    ChapterLayout l8;
    l8.chapter = 8;
    l8.title = QStringLiteral("8.EVOLUTIA EFECTIVELOR DE ANIMALE IN CURSUL ANULUI");
    l8.columns << count(QStringLiteral("SEM_1"), 6, 6) << count(QStringLiteral("SEM_2"), 6, 6);
    fixedColumns(l8, QStringLiteral("SPECIA"));
    l8.gridColumns << shown(l8.columns[0], QStringLiteral("Sem. I"), QString(), 9)
                   << shown(l8.columns[1], QStringLiteral("Sem. II"), QString(), 9);
    all[8] = l8;

    ChapterLayout l9;
    l9.chapter = 9;
    l9.title = QStringLiteral("9.UTILAJE, INSTALATII AGRICOLE SI DE TRANSPORT");
    l9.columns << count(QStringLiteral("NR"), 7, 6);
    fixedColumns(l9, QStringLiteral("DENUMIREA"));
    l9.gridColumns << shown(l9.columns[0], QStringLiteral("BUCATI"), QString(), 10);
    all[9] = l9;

    ChapterLayout l10;
    l10.chapter = 10;
    l10.title = QStringLiteral("10.CONSTRUCTII PE RAZA LOCALITATII");
    l10.columns << ChapterColumn {QStringLiteral("DETALII"), Kind::Decimal, 8, 2, 5, 2, 99999.99, true}
                << ChapterColumn {QStringLiteral("UM"), Kind::Text, 2, 0, 2, 0, 0, false}
                << ChapterColumn {QStringLiteral("OBS"), Kind::Text, 40, 0, 40, 0, 0, true};
    l10.gridColumns << ChapterGridColumn {QStringLiteral("NUME"), QStringLiteral("DENUMIREA CONSTRUCTIEI"), QString(), 34, false, true, Kind::Text}
                    << ChapterGridColumn {QStringLiteral("RAND"), QStringLiteral("Cod"), QString(), 5, false, false, Kind::Decimal}
                    << ChapterGridColumn {QStringLiteral("UM"), QStringLiteral("U.M."), QString(), 5, false, false, Kind::Text}
                    << shown(l10.columns[0], QStringLiteral("Detalii"), QString(), 12)
                    << shown(l10.columns[2], QStringLiteral("Observatii"), QString(), 40);
    all[10] = l10;

    ChapterLayout l11;
    l11.chapter = 11;
    l11.title = QStringLiteral("11.MENTIUNI SPECIALE");
    l11.columns << ChapterColumn {QStringLiteral("MENTIUNI"), Kind::Text, 0, 0, 0, 0, 0, true};
    all[11] = l11;

    for (auto& [n, layout] : all)
        layout.tableFile = QStringLiteral("CAP%1.dbf").arg(n);
    return all;
}

}

bool ChapterColumn::fits(double value) const
{
    if (kind == Kind::Text)
        return true;
    return QString::number(value, 'f', decimals).size() <= width;
}

const ChapterLayout& ChapterLayout::of(int chapter)
{
    static const std::map<int, ChapterLayout> all = build();
    const auto it = all.find(chapter);
    if (it == all.end())
        throw std::invalid_argument("chapter outside 2..11");
    return it->second;
}

int ChapterLayout::rowCount() const
{
    return data::chapterRowCount(chapter);
}

QString ChapterLayout::caption(const QString& field) const
{
    for (const ChapterGridColumn& c : gridColumns) {
        if (c.field != field)
            continue;
        QString text = c.group.isEmpty() ? c.heading : c.group + QLatin1Char(' ') + c.heading;
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text.simplified();
    }
    // Chapter 2 stores its total as the A pair and shows it as the computed T pair.
    if (chapter == 2 && field.startsWith(QLatin1Char('A')))
        return caption(QLatin1Char('T') + field.mid(1));
    return field;
}

const ChapterColumn* ChapterLayout::column(const QString& field) const
{
    for (const ChapterColumn& c : columns) {
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QStringList ChapterLayout::insertColumns() const
{
    QStringList names {QStringLiteral("ANUL"), QStringLiteral("CODID")};
    if (chapter == 11) {
        return names;
    }
    names << QStringLiteral("RAND");
    if (hasCategory())
        names << QStringLiteral("CATEG");
    for (const ChapterColumn& c : columns)
        names << c.field;
    return names;
}

QString constructionRowName(int code)
{
    if (code >= 1 && code <= 12) {
        switch ((code - 1) % 3) {
        case 0:
            return QStringLiteral("Suprafata construita");
        case 1:
            return QStringLiteral("Cod *) material constructie");
        default:
            return QStringLiteral("Anul darii in folosinta");
        }
    }
    static const char* const annexes[] = {"Grajduri", "Patule", "Magazii, hambare pentru cereale", "Sura, fanar",
                                          "Remize, soproane", "Garaje", "Cladiri Anexe"};
    if (code >= 13 && code <= 19)
        return QString::fromLatin1(annexes[code - 13]);
    return QString();
}

QString constructionHouse(int code)
{
    if (code < 1 || code > 12)
        return QString();
    return QString(QChar(QLatin1Char('a').unicode() + (code - 1) / 3));
}

}
