#include "reports/TotalsForms.h"

namespace velmor::reports {

using output::ReportElement;
using output::ValueFormat;
using Kind = ReportElement::Kind;

namespace {

struct Column {
    const char* heading;
    const char* field; // nullptr: the running number
    double width;      // millimetres
    ValueFormat format;
    Qt::Alignment alignment;
    const char* over = nullptr; // a heading shared with the next column (ha / ari pairs)
};

constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;

QList<Column> pairColumns(const char* over, const char* ha, const char* ari, double width)
{
    return {{"ha", ha, width, ValueFormat::Whole, right, over}, {"ari", ari, width, ValueFormat::Decimal4, right, nullptr}};
}

QList<Column> columnsOf(TotalsTable table)
{
    switch (table) {
    case TotalsTable::Population:
        return {{"Nr.crt.", nullptr, 14, ValueFormat::Text, right},
                {"LOCALITATEA", "LOCALIT", 40, ValueFormat::Text, left},
                {"CNP", "CNP", 30, ValueFormat::Text, centre},
                {"NUMELE SI PRENUMELE", "NUMEP", 70, ValueFormat::Text, left},
                {"NASCUT LA", "DATAS", 24, ValueFormat::Text, centre}};
    case TotalsTable::Chapter2:
        return QList<Column>{{"CATEGORIA DE TEREN", "CATEG", 76, ValueFormat::Text, left}, {"Cod", "RAND", 12, ValueFormat::Text, centre}}
            + pairColumns("TOTAL", "AHA", "AARI", 15) + pairColumns("Intravilan", "IHA", "IARI", 15)
            + pairColumns("Extravilan", "EHA", "EARI", 15);
    case TotalsTable::Chapter3:
        return {{"Categoria", "CATEG", 120, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"Suprafata (ha)", "D1", 44, ValueFormat::Decimal4, right}};
    case TotalsTable::Chapter4:
        return QList<Column>{{"CULTURA", "CATEG", 120, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre}}
            + pairColumns("Suprafata", "HA", "ARI", 22);
    case TotalsTable::Chapter5:
        return {{"SPECIA", "CATEG", 120, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"EFECTIV", "NR", 44, ValueFormat::Whole, right}};
    case TotalsTable::Chapter6:
        return QList<Column>{{"CATEGORIA DE TEREN", "CATEG", 76, ValueFormat::Text, left}, {"Cod", "RAND", 12, ValueFormat::Text, centre}}
            + pairColumns("TOTAL", "AHA", "AARI", 15) + pairColumns("localitatea de domiciliu / sediu", "BHA", "BARI", 15)
            + pairColumns("alte localitati", "CHA", "CARI", 15);
    case TotalsTable::Chapter7:
        return {{"SPECIA", "CATEG", 120, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"CAPETE", "NR", 44, ValueFormat::Whole, right}};
    case TotalsTable::Chapter8:
        return {{"SPECIA", "CATEG", 106, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"Sem. I", "SEM_1", 29, ValueFormat::Whole, right}, {"Sem. II", "SEM_2", 29, ValueFormat::Whole, right}};
    case TotalsTable::Chapter8Net:
        return {{"SPECIA", "CATEG", 120, ValueFormat::Text, left}, {"Sem. I", "SEM_1", 29, ValueFormat::Whole, right},
                {"Sem. II", "SEM_2", 29, ValueFormat::Whole, right}};
    case TotalsTable::Chapter9:
        return {{"DENUMIREA", "CATEG", 120, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"BUCATI", "NR", 44, ValueFormat::Whole, right}};
    case TotalsTable::Chapter10:
        return {{"DENUMIREA CONSTRUCTIEI", "CATEG", 100, ValueFormat::Text, left}, {"Cod", "RAND", 14, ValueFormat::Text, centre},
                {"U.M.", "UM", 20, ValueFormat::Text, centre}, {"TOTAL", "D1", 44, ValueFormat::Decimal2, right}};
    }
    return {};
}

}

QStringList totalsFormTitle(TotalsTable table)
{
    switch (table) {
    case TotalsTable::Population: return {QStringLiteral("EVIDENTA POPULATIEI")};
    case TotalsTable::Chapter2: return {QStringLiteral("CAP 2. TERENURI IN PROPRIETATE.")};
    case TotalsTable::Chapter3: return {QStringLiteral("CAP.3 MODUL DE UTILIZARE A SUPRAFETEI AGRICOLE")};
    case TotalsTable::Chapter4: return {QStringLiteral("CAP 4. SUPRAFATA ARABILA CULTIVATA"), QStringLiteral("PE RAZA LOCALITATII.")};
    case TotalsTable::Chapter5: return {QStringLiteral("CAP 5. POMI FRUCTIFERI (IN LIVEZI SI RAZLETI)")};
    case TotalsTable::Chapter6: return {QStringLiteral("CAP 6. SUPRAFETE AMENAJATE PENTRU IRIGAT")};
    case TotalsTable::Chapter7: return {QStringLiteral("CAP 7. ANIMALE DOMESTICE"), QStringLiteral("SITUATIA LA INCEPUTUL ANULUI")};
    case TotalsTable::Chapter8: return {QStringLiteral("CAP 8. EVOLUTIA EFECTIVELOR DE ANIMALE"), QStringLiteral("IN CURSUL ANULUI")};
    case TotalsTable::Chapter8Net:
        return {QStringLiteral("DINAMICA EFECTIVELOR DE ANIMALE"), QStringLiteral("- diferenta total intrari - total iesiri -")};
    case TotalsTable::Chapter9:
        return {QStringLiteral("CAP 9. UTILAJE, INSTALATII AGRICOLE SI MIJLOACE DE TRANSPORT"),
                QStringLiteral("EXISTENTE LA INCEPUTUL ANULUI")};
    case TotalsTable::Chapter10: return {QStringLiteral("CAP.10 CONSTRUCTII PE RAZA LOCALITATII")};
    }
    return {};
}

output::ReportForm totalsForm(TotalsTable table)
{
    output::ReportForm form;
    const double width = form.bodyWidth();

    // Title: council and commune on the left, the date on the right, then the title lines, the
    // filter (or population) line and the year line, centred.
    form.title.add(output::reportLabel(QStringLiteral("PRIMARIA"), QString(), QRectF(0, 0, width * 0.6, 5), left, 9, true));
    form.title.add(output::reportLabel(QStringLiteral("COMUNA"), QString(), QRectF(0, 5, width * 0.6, 5), left));
    form.title.add(output::reportLabel(QStringLiteral("DATA"), QString(), QRectF(width * 0.6, 0, width * 0.4, 5), right));
    double y = 13;
    const QStringList title = totalsFormTitle(table);
    for (int line = 0; line < title.size(); ++line) {
        const QString name = table == TotalsTable::Population && line == 0 ? QStringLiteral("TITLU") : QString();
        form.title.add(output::reportLabel(name, title[line], QRectF(0, y, width, 7), Qt::AlignHCenter | Qt::AlignTop, 12, true));
        y += 7;
    }
    form.title.add(output::reportLabel(QStringLiteral("FILTRU"), QString(), QRectF(0, y, width, 5), Qt::AlignHCenter | Qt::AlignTop));
    y += 5;
    if (table != TotalsTable::Population) {
        form.title.add(output::reportLabel(QStringLiteral("ANUL"), QString(), QRectF(0, y, width, 5), Qt::AlignHCenter | Qt::AlignTop, 10, true));
        y += 5;
    }
    form.title.height = y + 3;

    // Column header (every page) and the detail row: framed cells, pairs under a shared heading.
    const QList<Column> columns = columnsOf(table);
    double x = 0;
    for (int c = 0; c < columns.size(); ++c) {
        const Column& column = columns[c];
        const bool paired = column.over || (c > 0 && columns[c - 1].over);
        if (column.over) {
            ReportElement over = output::reportText(QString::fromUtf8(column.over), QRectF(x, 0, column.width + columns[c + 1].width, 6),
                                                    centre, 8, true);
            over.frame = true;
            form.columnHeader.add(over);
        }
        ReportElement head = output::reportText(QString::fromUtf8(column.heading),
                                                paired ? QRectF(x, 6, column.width, 6) : QRectF(x, 0, column.width, 12), centre, 8, true);
        head.frame = true;
        form.columnHeader.add(head);
        ReportElement cell = column.field
            ? output::reportField(QString::fromLatin1(column.field), QRectF(x, 0, column.width, 5), column.format, column.alignment)
            : output::reportElement(Kind::RowNumber, QString(), QRectF(x, 0, column.width, 5), ValueFormat::Text, column.alignment);
        cell.frame = true;
        form.detail.add(cell);
        x += column.width;
    }

    if (table == TotalsTable::Population) {
        form.summary.add(output::reportText(QStringLiteral("TOTAL PERSOANE:"), QRectF(0, 2, 40, 5), left, 9, true));
        form.summary.add(output::reportElement(Kind::Count, QString(), QRectF(40, 2, 20, 5), ValueFormat::Text, left));
    }
    ReportElement page = output::reportElement(Kind::PageNumber, QString(), QRectF(0, 2, width, 5), ValueFormat::Text,
                                               Qt::AlignHCenter | Qt::AlignTop);
    page.text = QStringLiteral("Pagina %1 din %2");
    form.pageFooter.add(page);
    return form;
}

namespace {

QHash<QString, QString> formLabels(TotalsTable table, const TotalsFormTexts& texts)
{
    QHash<QString, QString> labels{
        {QStringLiteral("PRIMARIA"), texts.council},
        {QStringLiteral("COMUNA"), texts.commune},
        {QStringLiteral("DATA"), texts.today.toString(QStringLiteral("dd.MM.yyyy"))},
    };
    if (table == TotalsTable::Population) {
        labels.insert(QStringLiteral("TITLU"), QStringLiteral("EVIDENTA POPULATIEI in anul %1").arg(texts.year));
        labels.insert(QStringLiteral("FILTRU"), texts.populationLine);
    } else {
        labels.insert(QStringLiteral("FILTRU"), texts.filter);
        labels.insert(QStringLiteral("ANUL"), Totals::yearLine(table, texts.year));
    }
    return labels;
}

}

output::ReportDocument totalsChartDocument(TotalsTable table, output::ReportDocument::Drawing chart, const TotalsFormTexts& texts)
{
    output::ReportForm form = totalsForm(table);
    form.columnHeader = {};
    form.detail = {};
    form.summary = {};
    form.summary.add(output::reportElement(Kind::Picture, QStringLiteral("GRAFIC"), QRectF(0, 4, form.bodyWidth(), 170)));
    output::ReportDocument document(std::move(form), engine::ResultSet{}, formLabels(table, texts));
    document.setDrawing(QStringLiteral("GRAFIC"), std::move(chart));
    return document;
}

output::ReportDocument totalsDocument(TotalsTable table, engine::ResultSet rows, const TotalsFormTexts& texts)
{
    return output::ReportDocument(totalsForm(table), std::move(rows), formLabels(table, texts));
}

}
